#pragma once

#include <span>
#include <string>

#include "core/tools/peak_optimisation.h"
#include "core/workspace/records.h"

// What the optimisation's two paths share: the trial profiles exactly as the
// file-by-file procedure writes them, and the files a run leaves behind.
namespace zephalo::core::tools {

// Which components a trial peak goes into.
struct TrialColumns {
    bool first = true;
    bool second = true;
};

// The columns of a trial: one component takes the peak in both columns;
// two components take it first in A alone (`step` 0), then in both (`step` 1).
TrialColumns trialColumns(int components, int step);

// Number of trials at one (E, A): 1 for one component, 2 for two.
inline int trialsPerHeight(int components) {
    return components == 2 ? 2 : 1;
}

// `base` with the trial peak (centre, height, width) added to the chosen
// columns, each value then rounded to the 6 significant digits a work-space
// file holds, as written and read back.
SelectiveXafsTable trialProfile(std::span<const XafsPoint> base, double centre, double height,
                                double width, TrialColumns columns);

// A value as a work-space file holds it: 6 significant digits.
double asWritten(double value);

// Half a unit in the sixth significant digit of any number of magnitude up
// to |value| (a little above, so that a value just under a power of ten
// counts with the larger unit).
double halfUnitAbove(double value);

// A refused run: the optimisation's error message and one line saying why.
Status refusedWith(const std::string& line);

// Run end: SelectiveXAFS_for_RIXS.DAT rewritten from the backup
// SelectiveXAFS_for_RIXS_Saving.DAT.
Status restorePublished(const Workspace& workspace);

// The R factor of Calculated_RIXS.DAT as the core left it, against the
// measured spectrum; refuses when it cannot be formed.
Status rFactorOfCalculated(const Workspace& workspace, std::span<const PairPoint> measured,
                           double& r);

}  // namespace zephalo::core::tools
