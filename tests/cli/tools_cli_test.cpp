#include <cmath>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"

namespace zephalo::test {
namespace {

namespace files = core::files;

// A work space prepared by hand with what the workbench and its tools need.
class ToolsCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workspace.write(files::kParameters, core::CalculationParameters{}));
        ASSERT_TRUE(workspace.write(files::kFinalState, core::FinalStateFunction{}));
        core::SelectiveXafsTable xafs;
        for (int k = 0; k < 201; ++k) {
            const double u = -10 + 0.1 * k;
            xafs.push_back({7120 + u, 0.5 + 0.3 * std::atan(u), 0.4 + 0.2 * std::atan(u / 2)});
        }
        ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, xafs));
        ASSERT_TRUE(workspace.write(files::kSelectiveWork, xafs));
        ASSERT_TRUE(workspace.write(files::kXafsMinMax, core::minMaxOf(xafs, 10000.0)));
        ASSERT_TRUE(workspace.write(files::kConvXafsNorm,
                                    core::PairSpectrum{{7100, 0.1}, {7120, 0.5}, {7140, 1.0}}));
        core::PairSpectrum measured;
        for (int j = 0; j < 450; ++j) measured.push_back({7020 + 0.1 * j, 1e-6 * (1 + j % 7)});
        ASSERT_TRUE(workspace.write(files::kRixsExperiment, measured));
    }
    CliRun run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--workspace", space.path().string()});
        return runCli(arguments, scratch);
    }
    std::string text(std::string_view name) const { return readFile(space / std::string(name)); }

    TempDir space;
    TempDir scratch;
    core::Workspace workspace{space.path()};
};

TEST_F(ToolsCommands, AveragePrintsTheMessageAndRewritesTheWorkingCopy) {
    const std::string before = text(files::kSelectiveWork);
    const CliRun result = run({"average", "--from", "7115", "--to", "7125", "--points", "9"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "7115eVから7125eVまでの9点平均が終了しました。\n使用した配列は、i=50から150"
              "までです。\n");
    EXPECT_NE(text(files::kSelectiveWork), before);
}

TEST_F(ToolsCommands, OptimisePrintsTheMessageAndTheRFactorWithoutProgressOffTerminal) {
    const CliRun result = run({"optimise", "--omega", "7125", "--from", "7118", "--to", "7122",
                               "--height-step", "0.025", "--passes", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.rfind("7118eVから7122eVまで2回、最適化を行いました。\nR=", 0), 0u)
        << result.out;
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_EQ(text(files::kSelectiveSaving), text(files::kSelectiveForRixs));
}

TEST_F(ToolsCommands, RefusalsAndUsageErrors) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string_view errorStart;
    };
    const Case cases[] = {
        {{"average", "--from", "7115", "--to", "7125", "--points", "7"}, 2, ""},
        {{"average", "--from", "x", "--to", "7125", "--points", "5"}, 2, ""},
        {{"optimise", "--omega", "7125", "--passes", "4"}, 2, ""},
        {{"average", "--from", "7100", "--to", "7125", "--points", "5"},
         1,
         "エラー!! 入力を確認して下さい。"},
        {{"optimise", "--omega", "0"}, 1, "エラー!! 設定条件"},
    };
    for (const Case& c : cases) {
        const CliRun result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments[0] << " " << result.err;
        EXPECT_EQ(result.err.rfind(c.errorStart, 0), 0u) << result.err;
    }
    std::filesystem::remove(space / std::string(files::kRixsExperiment));
    const CliRun gated = run({"optimise", "--omega", "7125"});
    EXPECT_EQ(gated.exitCode, 1);
    EXPECT_NE(gated.err.find("エラー!!"), std::string::npos) << gated.err;
}

}  // namespace
}  // namespace zephalo::test
