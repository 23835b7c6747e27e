#include <string>
#include <vector>

#include "cli_runner.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"

namespace zephalo::test {
namespace {

namespace files = core::files;

// A work space ready for the workbench: every gate file, a two-component
// selective XAFS on absolute energies (7100..7120 eV at 0.5 eV).
class WorkbenchCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workspace.write(files::kParameters, core::CalculationParameters{}));
        ASSERT_TRUE(workspace.write(files::kFinalState, core::FinalStateFunction{}));
        core::SelectiveXafsTable xafs;
        for (int k = 0; k <= 40; ++k) {
            const double e = 7100.0 + 0.5 * k;
            xafs.push_back({e, 0.2 + 0.02 * k, 0.5 - 0.01 * k});
        }
        ASSERT_TRUE(workspace.write(files::kSelectiveAbsolute, xafs));
        ASSERT_TRUE(workspace.write(files::kSelectiveWork, core::SelectiveXafsTable{{7000, 1, 1}}));
        ASSERT_TRUE(workspace.write(files::kConvXafsNorm,
                                    core::PairSpectrum{{7090, 0.1}, {7110, 0.5}, {7130, 1.0}}));
        ASSERT_TRUE(
            workspace.write(files::kRixsExperiment, core::PairSpectrum{{7050, 0.5}, {7051, 1.0}}));
    }
    CliRun cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--workspace", space.path().string()});
        return runCli(arguments, scratch);
    }
    core::SelectiveXafsTable table(std::string_view name) const {
        core::SelectiveXafsTable out;
        EXPECT_TRUE(workspace.read(name, out));
        return out;
    }

    TempDir scratch;
    TempDir space;
    core::Workspace workspace{space.path()};
};

TEST_F(WorkbenchCliTest, LoadDisplayPeakFinishThenComputeUsesThePublishedSpectrum) {
    for (const auto& step : std::vector<std::vector<std::string>>{
             {"load-selective"},
             {"display", "--from", "7105", "--to", "7115", "--mode", "A"},
             {"peak", "--centre", "7110", "--amplitude", "0.5", "--width", "2", "--mode", "A"},
             {"finish"},
             {"compute", "--omega", "7112"}}) {
        const auto run = cli(step);
        ASSERT_EQ(run.exitCode, 0) << step.front() << ": " << run.err;
    }
    const auto loaded = table(files::kSelectiveAbsolute);
    const auto published = table(files::kSelectiveForRixs);
    ASSERT_EQ(published.size(), loaded.size());
    // Mode A: the peak A / W² went into component A at its centre only.
    EXPECT_TRUE(near(published[20].a, loaded[20].a + 0.5 / 4.0, 1e-5));
    EXPECT_TRUE(near(published[20].b, loaded[20].b, 1e-6));
    EXPECT_EQ(readFile(workspace.path(files::kSelectiveForRixs)),
              readFile(workspace.path(files::kSelectiveWork)));
    // finish without range options keeps the window that display stored.
    core::MinMaxRecord window;
    ASSERT_TRUE(workspace.read(files::kTempXafsMinMax, window));
    EXPECT_EQ(window.xmin, 7105.0);
    EXPECT_EQ(window.xmax, 7115.0);
}

TEST_F(WorkbenchCliTest, RefusesBehindTheGateAndRejectsMalformedOptions) {
    std::filesystem::remove(workspace.path(files::kRixsExperiment));
    const auto gated = cli({"load-selective"});
    EXPECT_EQ(gated.exitCode, 1);
    EXPECT_NE(gated.err.find("「素材入力」ボタンで全ての素材を読み込み"), std::string::npos);
    EXPECT_FALSE(workspace.exists(files::kTempXafsMinMax));

    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"display", "--from", "7105"},
             {"display", "--from", "7105", "--to", "7115", "--mode", "C"},
             {"peak", "--centre", "7110eV"},
             {"finish", "--from", "x"}}) {
        EXPECT_EQ(cli(arguments).exitCode, 2) << arguments.front();
    }
}

TEST_F(WorkbenchCliTest, CompareShiftAndSavesRunTheirButtons) {
    const std::string saved = (scratch.path() / "saved.DAT").string();
    struct Step {
        std::vector<std::string> arguments;
        int exitCode;
        std::string_view lastLine;  // what the output's last line starts with
    };
    const std::vector<Step> steps{
        {{"load-selective"}, 0, ""},
        {{"finish"}, 0, ""},
        {{"compute", "--omega", "7112"}, 0, ""},
        {{"compare"}, 0, "R="},
        {{"compare", "--with", (scratch.path() / "missing.dat").string()}, 1, ""},
        {{"shift", "-2.5"}, 0, ""},
        {{"shift", "--", "-0.5"}, 0, ""},
        {{"shift", "1e"}, 2, ""},
        {{"save-rixs", saved}, 0, ""},
        {{"save-xafs"}, 2, ""},
    };
    for (const auto& step : steps) {
        const auto run = cli(step.arguments);
        ASSERT_EQ(run.exitCode, step.exitCode)
            << step.arguments.front() << " " << step.arguments.back() << ": " << run.err;
        if (step.lastLine.empty()) continue;
        const std::string out = run.out.substr(0, run.out.find_last_not_of('\n') + 1);
        EXPECT_EQ(out.substr(out.rfind('\n') + 1, step.lastLine.size()), step.lastLine) << out;
    }
    // Both shifts add up on the working copy.
    const auto work = table(files::kSelectiveWork);
    const auto published = table(files::kSelectiveForRixs);
    ASSERT_EQ(work.size(), published.size());
    EXPECT_TRUE(near(work.front().energy, published.front().energy - 3.0, 1e-9));
    EXPECT_EQ(readFile(saved), readFile(workspace.path(files::kCalculatedRixs)));
}

}  // namespace
}  // namespace zephalo::test
