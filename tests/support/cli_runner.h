#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "process_runner.h"
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
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// Arguments after the executable; --workspace is the caller's business.
inline CliRun runCli(const std::vector<std::string>& arguments, const TempDir& scratch) {
    const auto outFile = scratch.path() / "cli.out";
    const auto errFile = scratch.path() / "cli.err";
    CliRun run;
    {
        CliProcess process(arguments, outFile, errFile);
        const ChildEnd end = process.wait(std::chrono::minutes(10));
        run.exitCode = end.exited ? end.exitCode : -1;
    }
    run.out = readFile(outFile);
    run.err = readFile(errFile);
    return run;
}

}  // namespace zephalo::test
