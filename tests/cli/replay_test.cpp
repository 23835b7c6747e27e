#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "core/rixs/workbench_commands.h"
#include "core/rixs/workbench_model.h"
#include "core/tools/average_model.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "core/xafs/conv_xafs_model.h"
#include "core/xafs/edge_table.h"
#include "core/xrf/xrf_model.h"

// The desktop's steps, each named for the history with the command that
// redoes it, replayed through zephalo-cli in a fresh folder: the .DAT files
// come out byte for byte the same.
namespace zephalo::test {
namespace {

using core::Report;
using core::rixs::WorkbenchBoxes;
using core::rixs::WorkbenchButton;
using core::rixs::WorkbenchModel;

std::string demo(const char* name) {
    return (std::filesystem::path(ZEPHALO_SOURCE_DIR) / "data" / "demo" / name).string();
}

std::map<std::string, std::string> datFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".DAT") {
            out[entry.path().filename().string()] = readFile(entry.path());
        }
    }
    return out;
}

class Replay : public ::testing::Test {
protected:
    TempDir desktopFolder;
    TempDir replayFolder;
    TempDir scratch;
    core::Workspace desktop{desktopFolder.path()};
    std::vector<std::vector<std::string>> recorded;

    void cli(const std::filesystem::path& folder, const std::vector<std::string>& command) {
        std::vector<std::string> arguments{"--workspace", folder.string()};
        arguments.insert(arguments.end(), command.begin(), command.end());
        const CliRun run = runCli(arguments, scratch);
        ASSERT_EQ(run.exitCode, 0) << command.front() << "\n" << run.err;
    }

    // One desktop button: its operation as a step that names itself.
    void press(const std::vector<std::string>& command, const std::function<Report()>& operation) {
        const Report report = core::runStep(desktop, [&] {
            desktop.describeStep({"", command});
            return operation();
        });
        ASSERT_TRUE(report.done) << command.front() << ": " << report.text;
        ASSERT_FALSE(command.empty());
        recorded.push_back(command);
    }
};

TEST_F(Replay, TheDesktopsStepsReplayedGiveTheSameFiles) {
    // The same start in both folders.
    for (const auto* folder : {&desktopFolder, &replayFolder}) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"create"},
              {"import", "conv-xafs", demo("Fe2O3_ConvXAFS.DAT")},
              {"import", "xrf", demo("Fe2O3_XRF_Kbeta.DAT")},
              {"import", "rixs", demo("Fe2O3_RIXS_7114eV.DAT")},
              {"import", "selective", demo("Fe2O3.xspec")}}) {
            cli(folder->path(), command);
        }
    }

    // Conventional XAFS: read, then confirm the Fe K edge with an empty box.
    core::xafs::ConvXafsModel conv(desktop);
    press(core::xafs::replayReadCommand(), [&] { return conv.read(); });
    const int edge = *core::xafs::edgeIndexOf("Fe K-edge");
    press(core::xafs::replayConfirmCommand("", edge), [&] { return conv.confirm("", edge); });

    // XRF: load, confirm typed lines (one box padded with blanks), fit, R
    // factor, store.
    core::xrf::XrfModel xrf(desktop);
    using core::xrf::XrfButton;
    press(core::xrf::replayCommand(XrfButton::Load, {}, false), [&] { return xrf.load(); });
    core::xrf::XrfBoxes lines = xrf.boxes();
    lines.lines[0] = {" 7046 ", "0.967", "12"};
    lines.lines[1] = {"7054.1", "0.447", "7.07"};
    press(core::xrf::replayCommand(XrfButton::Confirm, lines, true),
          [&] { return xrf.confirm(lines, true); });
    press(core::xrf::replayCommand(XrfButton::Fit, lines, true),
          [&] { return xrf.fit(lines.excitation); });
    press(core::xrf::replayCommand(XrfButton::RFactor, lines, true), [&] { return xrf.rFactor(); });
    press(core::xrf::replayCommand(XrfButton::Store, lines, true), [&] { return xrf.store(); });

    // Workbench: every file-writing button once, boxes as a user leaves them.
    WorkbenchModel bench(desktop);
    WorkbenchBoxes boxes;
    const auto button = [&](WorkbenchButton which,
                            Report (WorkbenchModel::*operation)(const WorkbenchBoxes&)) {
        press(core::rixs::replayCommand(which, boxes), [&] { return (bench.*operation)(boxes); });
        boxes = bench.boxes();
    };
    button(WorkbenchButton::Load, &WorkbenchModel::load);
    boxes.rangeMin = "7105";
    boxes.rangeMax = "7135";
    button(WorkbenchButton::ChangeDisplay, &WorkbenchModel::changeDisplay);
    boxes.peakCentre = "7110.5";
    boxes.peakAmplitude = "0.2";
    boxes.peakWidth = "1.5";
    button(WorkbenchButton::ShowPeak, &WorkbenchModel::showPeak);
    button(WorkbenchButton::Apply, &WorkbenchModel::applyCorrection);
    button(WorkbenchButton::Store, &WorkbenchModel::storeCorrection);
    button(WorkbenchButton::Refresh, &WorkbenchModel::refresh);
    boxes.shift = "-0.5";
    button(WorkbenchButton::Shift, &WorkbenchModel::shift);
    boxes.rangeMin = "";  // an empty box reads as 0
    button(WorkbenchButton::Finish, &WorkbenchModel::finish);
    boxes.excitation = "7114";
    button(WorkbenchButton::Compute, &WorkbenchModel::compute);
    button(WorkbenchButton::Compare, &WorkbenchModel::compareWithExperiment);

    // Neighbour averaging over part of the working copy.
    core::tools::AverageModel average(desktop);
    const core::tools::AverageBoxes averaged{"7110", "7120", 0};
    press(core::tools::replayCommand(averaged), [&] { return average.run(averaged); });

    for (const auto& command : recorded) cli(replayFolder.path(), command);
    const auto expected = datFiles(desktopFolder.path());
    const auto replayed = datFiles(replayFolder.path());
    ASSERT_EQ(replayed.size(), expected.size());
    for (const auto& [name, text] : expected) {
        ASSERT_TRUE(replayed.count(name)) << name;
        EXPECT_EQ(replayed.at(name), text) << name;
    }
}

}  // namespace
}  // namespace zephalo::test
