#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli_runner.h"
#include "test_support.h"

// The one-line explanations a new user meets instead of a tool's abort: the
// desktop program started without a display, and the set-up script run by a
// user who is neither root nor has sudo.
namespace zephalo::test {
namespace {

struct Outcome {
    int exitCode = -1;
    std::string err;
    std::string out;
};

Outcome runShell(const std::string& command, const TempDir& scratch) {
    const auto outFile = scratch.path() / "run.out";
    const auto errFile = scratch.path() / "run.err";
    const std::string line = command + " >" + shellQuoted(outFile.string()) + " 2>" +
                             shellQuoted(errFile.string()) + " </dev/null";
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(errFile), readFile(outFile)};
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

TEST(StartUpMessages, NoDisplayIsOneLineNamingBothWaysToRun) {
    TempDir scratch;
    // An empty environment, and one whose display variables are empty.
    for (const std::string environment :
         {"env -i", "env -i DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM= HOME=/tmp"}) {
        const auto run = runShell(environment + " " + shellQuoted(ZEPHALO_GUI), scratch);
        EXPECT_EQ(run.exitCode, 1) << environment;
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("xvfb-run"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("reinstall"), std::string::npos) << run.err;
    }
}

// The version needs no display: it is printed before any window could open.
TEST(StartUpMessages, VersionIsPrintedWithoutADisplay) {
    TempDir scratch;
    const auto run = runShell("env -i " + shellQuoted(ZEPHALO_GUI) + " --version", scratch);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "zephalo " ZEPHALO_VERSION "\n");
    EXPECT_EQ(run.err, "");
}

// A non-root user (a fake id) without sudo on the PATH, and every package
// missing (a fake dpkg-query): setup.sh stops with one line naming what to
// install instead of "sudo: command not found".
TEST(StartUpMessages, SetUpWithoutSudoSaysWhatToRunAsRoot) {
    TempDir scratch;
    const auto bin = scratch.path() / "bin";
    std::filesystem::create_directories(bin);
    auto script = [&](const char* name, const char* body) {
        const auto path = bin / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    };
    script("id", "echo 1000");
    script("dpkg-query", "exit 1");
    for (const char* tool : {"bash", "grep"}) {
        for (const char* folder : {"/usr/bin/", "/bin/"}) {
            const std::filesystem::path real = std::string(folder) + tool;
            if (!std::filesystem::exists(real)) continue;
            std::filesystem::create_symlink(real, bin / tool);
            break;
        }
    }
    ASSERT_FALSE(std::filesystem::exists(bin / "sudo"));
    const std::string setup =
        (std::filesystem::path(ZEPHALO_SOURCE_DIR) / "scripts" / "setup.sh").string();
    const auto run = runShell("env -i PATH=" + shellQuoted(bin.string()) + " " +
                                  shellQuoted((bin / "bash").string()) + " " + shellQuoted(setup),
                              scratch);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("root"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("apt-get install"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("qt6-translations-l10n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("command not found"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace zephalo::test
