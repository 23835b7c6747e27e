#include <sys/wait.h>

#include "cli_runner.h"

namespace zephalo::test {
namespace {

TEST(CliUsage, HelpAndUsageErrors) {
    TempDir scratch;
    const auto help = runCli({"--help"}, scratch);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("import"), std::string::npos);

    const auto unknown = runCli({"no-such-command"}, scratch);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("usage:"), std::string::npos);

    const auto none = runCli({}, scratch);
    EXPECT_EQ(none.exitCode, 2);
}

}  // namespace
}  // namespace zephalo::test
