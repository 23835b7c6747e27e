#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

// Runs the zephalo-cli executable and captures what it printed.
namespace zephalo::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

// Arguments after the executable; --workspace is the caller's business.
inline CliRun runCli(const std::vector<std::string>& arguments, const TempDir& scratch) {
    const auto outFile = scratch.path() / "cli.out";
    const auto errFile = scratch.path() / "cli.err";
    std::string command = shellQuoted(ZEPHALO_CLI);
    for (const auto& a : arguments) command += " " + shellQuoted(a);
    command += " >" + shellQuoted(outFile.string()) + " 2>" + shellQuoted(errFile.string());
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(outFile);
    run.err = readFile(errFile);
    return run;
}

}  // namespace zephalo::test
