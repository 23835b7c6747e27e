#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/tools/peak_optimisation.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// Peak optimisation "Optimization" (the workbench's "最適化"): Lorentzian
// peaks tried at every energy of a grid and every height of a range, each
// kept when it lowers the R factor of the calculated against the measured
// RIXS spectrum.
namespace zephalo::core::tools {

// The dialog's edit boxes and list as typed and chosen.
struct OptimiseBoxes {
    std::string start;                 // "最適化開始エネルギー" (eV)
    std::string end;                   // "最適化終了エネルギー" (eV)
    std::string step = "1.0";          // "最適化ステップエネルギー" (eV)
    std::string height = "0.05";       // "ピーク高さ"
    std::string width = "1.0";         // "ピーク幅"
    std::string limit = "0.05";        // "ピーク高さの変動上限"
    std::string heightStep = "0.005";  // "ピーク高さの変動ステップ"
    std::string omega = "0.0";         // "RIXS測定時の励起エネルギー" (eV)
    std::optional<int> passes;         // "最適化回数": item 0, 1, 2; nullopt when none

    bool operator==(const OptimiseBoxes&) const = default;
};

// What the dialog shows after each pass.
struct PassResult {
    int pass = 0;               // 1-based
    int components = 1;         // 1 or 2
    double rFactor = 0.0;       // R_best after the pass (percent)
    std::string componentText;  // "選択的XAFSの成分数"
    std::string rFactorText;    // "最終R因子" (6 significant digits)
};

// Called on the thread that runs the optimisation: `progress` before each
// position (the progress bar), `passDone` after each pass. The GUI marshals
// them to its own thread.
struct OptimiseObserver {
    std::function<void(const OptimiseProgress&)> progress;
    std::function<void(const PassResult&)> passDone;
};

// The outcome of "最適化".
struct OptimiseOutcome {
    Report report;                   // the message-panel text
    std::vector<PassResult> passes;  // the passes completed
    std::optional<double> rFactor;   // final R_best, when the run computed one
    std::optional<double> rStart;    // the R factor before the run, likewise
    bool cancelled = false;          // stopped between positions
};

class OptimiseModel {
public:
    explicit OptimiseModel(Workspace workspace);

    // Dialog initialisation: start and end from XAFS_MinMax.DAT (10
    // significant digits), the other boxes at their defaults, no pass count
    // chosen, the opening message. `excitation` is the workbench's
    // excitation box: the measured spectrum's Ω when it holds a positive
    // number, which then opens in "RIXS測定時の励起エネルギー".
    Report open(std::string_view excitation = {});
    // The dialog's initialisation: as `open`, then every box as the last
    // "最適化" this work space's history holds (run from the desktop or the
    // command line), except the excitation energy the workbench gives and a
    // window no longer inside the selective XAFS.
    Report openAsLastTime(std::string_view excitation = {});
    // "最適化": the run on the boxes given. Runs as part of the caller's step
    // (runStep); may run on a worker thread. `stop` is checked between
    // positions: the working copy then holds the last accepted trial,
    // SelectiveXAFS_for_RIXS.DAT is restored and the message says where the
    // run stopped.
    OptimiseOutcome run(const OptimiseBoxes& typed, const OptimiseObserver& observer = {},
                        std::stop_token stop = {});

    const OptimiseBoxes& boxes() const { return m_boxes; }

private:
    Workspace m_workspace;
    MinMaxRecord m_range;
    OptimiseBoxes m_boxes;
};

// The zephalo-cli arguments that redo "最適化" run to its end with the boxes
// and list item as chosen.
std::vector<std::string> replayCommand(const OptimiseBoxes& typed);

// What the workbench says once the dialog has closed: the stop's own
// account of what was kept when the last run was stopped, else that the
// optimisation was done; then the final R factor of the last run that kept
// its result, or where the workbench shows the new one.
std::string optimiseClosedText(const std::optional<std::string>& stoppedText,
                               std::optional<double> finalR);

}  // namespace zephalo::core::tools
