#include <algorithm>
#include <cmath>
#include <string>

#include "cli_runner.h"
#include "core/rixs/rixs_core.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "rixs_fixture.h"

namespace zephalo::test {
namespace {

using core::files::kCalculatedRixs;
using core::files::kParameters;

// A work space prepared by hand with everything the workbench needs.
class ComputeCommand : public ::testing::Test {
protected:
    void SetUp() override { prepareRixsWorkspace(workspace); }
    CliRun compute(std::vector<std::string> options) {
        std::vector<std::string> arguments{"--workspace", space.path().string(), "compute"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runCli(arguments, scratch);
    }
    // The literal RIXS core on the work space's files at Ω.
    std::string literalOutput(double omega) const {
        core::SelectiveXafsTable xafs;
        core::PairSpectrum absorption;
        core::rixs::RixsInput input;
        EXPECT_TRUE(workspace.read(core::files::kSelectiveForRixs, xafs));
        EXPECT_TRUE(workspace.read(core::files::kConvXafsNorm, absorption));
        EXPECT_TRUE(workspace.readParameters(input.parameters));
        EXPECT_TRUE(workspace.read(core::files::kFinalState, input.lines));
        input.selective = xafs;
        input.absorption = absorption;
        input.omega = omega;
        core::QuadSpectrum out;
        EXPECT_TRUE(core::rixs::calculateRixsLiteral(input, out));
        return core::formatRecords(out);
    }
    TempDir scratch;
    TempDir space;
    core::Workspace workspace{space.path()};
};

TEST_F(ComputeCommand, ComputesWithTheGivenFactors) {
    const auto run = compute({"--omega", "7130", "--scaling", "2e-8", "--absorption", "0.5"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "　計算したRIXSスペクトルを表示しました。\n　用いた励起エネルギーは7130eVです。"
              "「実験値読込」し、この「計算値と比較」して下さい。\n"
              "　必要なら「RIXSの保存」をして下さい。\n"
              "　スペクトル形状が異常な時は、「スケーリング因子」を調整して下さい。\n");
    EXPECT_EQ(readFile(workspace.path(kParameters)), "1.25\t7120\t7020\t7065\t0.1\t0.5\t2e-08\n");
    const std::string written = readFile(workspace.path(kCalculatedRixs));
    EXPECT_EQ(written, literalOutput(7130));
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 450);
}

TEST_F(ComputeCommand, StoredFactorsAreTheDefaultsAndBadEnergiesRunAt7150) {
    core::CalculationParameters parameters;
    parameters.absorptionFactor = 0.25;
    parameters.scalingFactor = 3e-9;
    ASSERT_TRUE(workspace.write(kParameters, parameters));
    const std::string stored = readFile(workspace.path(kParameters));
    const auto run = compute({"--omega", "25000"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "　励起エネルギーが異常です。\n　安全のため、デフォルト値7150eVで計算しました。\n"
              "　励起エネルギーを再入力して下さい。\n");
    EXPECT_EQ(readFile(workspace.path(kParameters)), stored);
    EXPECT_EQ(readFile(workspace.path(kCalculatedRixs)), literalOutput(7150));
}

TEST_F(ComputeCommand, RefusalsAndUsageErrors) {
    test::writeFile(workspace.path(kCalculatedRixs), "7000\t1\t1\n");
    std::filesystem::remove(workspace.path(core::files::kSelectiveForRixs));
    auto run = compute({"--omega", "7130"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("RIXS計算に必要なファイルがそろっていません。"), std::string::npos);
    EXPECT_EQ(readFile(workspace.path(kCalculatedRixs)), "7000\t1\t1\n");

    // The workbench's gate comes first.
    std::filesystem::remove(workspace.path(core::files::kRixsExperiment));
    run = compute({"--omega", "7130"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("エラー!!"), std::string::npos);

    EXPECT_EQ(compute({"--omega", "71x30"}).exitCode, 2);
    EXPECT_EQ(compute({}).exitCode, 2);
    EXPECT_EQ(compute({"--omega", "7130", "--scaling", "abc"}).exitCode, 2);
}

}  // namespace
}  // namespace zephalo::test
