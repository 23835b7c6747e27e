#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/tools/tools_texts.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The peak optimisation as a computation on the work space: the trial grid,
// the inputs a run reads, and the greedy search. optimise_model.h is the
// dialog around it; optimise_literal.h the same search done file by file.
namespace zephalo::core::tools {

// Items of "最適化回数", in list order (item i runs i + 1 passes).
inline constexpr std::array<text::Text, 3> kPassItems{core::tools::texts::kOnePass,
                                                      core::tools::texts::kTwoPasses,
                                                      core::tools::texts::kThreePasses};

// Capacities of a run: selective XAFS points, calculated and measured lines.
inline constexpr std::size_t kMaxOptimiseSelective = 2000;
inline constexpr std::size_t kMaxOptimiseLines = 4000;
// Largest number of positions or heights a run accepts.
inline constexpr std::size_t kMaxOptimiseGrid = 1000000;
// Largest number of positions (the response rows held in memory grow with
// them) and of trials, positions × heights × passes, of one run: the largest
// run ends within minutes.
inline constexpr std::size_t kMaxOptimisePositions = 5000;
inline constexpr std::size_t kMaxOptimiseTrials = 200000;

// The numbers of the dialog's boxes.
struct OptimiseSettings {
    double start = 0.0;         // first trial energy (eV)
    double end = 0.0;           // never tried itself
    double step = 1.0;          // energy step (eV)
    double height = 0.05;       // H
    double width = 1.0;         // half width w of a trial peak (eV)
    double limit = 0.05;        // L
    double heightStep = 0.005;  // s_h
    double omega = 0.0;         // excitation energy of the measurement (eV)
    int passes = 0;             // 1 … 3; 0 when none is chosen
};

// Trial energies E_k = start + k·step, k < trunc((end − start)/step), and
// heights A_h = (H − L) + h·s_h, h < trunc(2L/s_h); a count below 1 gives
// none.
struct OptimiseGrid {
    std::vector<double> positions;
    std::vector<double> heights;
};
OptimiseGrid optimiseGrid(const OptimiseSettings& settings);

// The trial peak's value at energy x: A / (w² + (x − E)²).
inline double trialPeak(double x, double centre, double height, double width) {
    return height / (width * width + (x - centre) * (x - centre));
}

// Where a run is: pass (1-based) of passes, position index k of positions.
struct OptimiseProgress {
    int pass = 1;
    int passes = 1;
    std::size_t position = 0;
    std::size_t positions = 0;
};

// Everything a run reads, after its checks.
struct OptimiseInputs {
    SelectiveXafsTable published;  // SelectiveXAFS_for_RIXS.DAT before the run
    SelectiveXafsTable working;    // SelectiveXAFS_for_RIXS_Temp.DAT
    PairSpectrum measured;         // RIXSEXP.DAT
    MinMaxRecord range;            // XAFS_MinMax.DAT
    int components = 1;
};

// Steps 1–3 of a run: reads the inputs and writes the backup
// SelectiveXAFS_for_RIXS_Saving.DAT. Refuses before writing anything when the
// published profile is empty or a file holds more than its capacity (the
// error message and a line naming the limit), or the emission grid of the
// parameters exceeds kMaxOptimiseLines.
Status readInputsAndBackUp(const Workspace& workspace, OptimiseInputs& out);

// Step 5: the error message when a setting is refused, else nullopt.
std::optional<std::string> checkOptimiseSettings(const OptimiseSettings& settings,
                                                 const MinMaxRecord& range);

// Per-pass and per-position callbacks of the search.
struct SearchHooks {
    std::function<void(const OptimiseProgress&)> progress;  // before each position
    std::function<void(int pass, double rBest)> passDone;   // after each pass
    std::stop_token stop;                                   // checked between positions
};

// The result of a search.
struct SearchResult {
    double rStart = 0.0;  // of SelectiveXAFS_for_RIXS.DAT before the search
    double rBest = 0.0;
    bool cancelled = false;
    OptimiseProgress stoppedAt;         // the position that was not started, when cancelled
    std::size_t exactEvaluations = 0;   // trials decided by the full core
    std::size_t linearEvaluations = 0;  // trials decided by their estimated totals
    std::size_t trials = 0;
    std::size_t accepted = 0;  // trials that lowered R_best
};

// The greedy search (steps 6–9) after readInputsAndBackUp and the settings
// check: leaves the working copy, SelectiveXAFS_for_RIXS.DAT (restored from
// the backup) and Calculated_RIXS.DAT (the last trial's spectrum) as the
// file-by-file procedure does, with no file written per trial.
Status searchPeaks(const Workspace& workspace, const OptimiseInputs& inputs,
                   const OptimiseSettings& settings, const SearchHooks& hooks,
                   SearchResult& result);

}  // namespace zephalo::core::tools
