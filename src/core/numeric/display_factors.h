#pragma once

// Display scaling: intensities are multiplied by a fixed factor when they are
// projected into a panel and when their extremes are recorded in a range
// file, so that the projection works on integers of a fixed resolution.
namespace zephalo::core::numeric {

// XAFS and emission spectra (XAFS_MinMax.DAT, TempXAFS_MinMax.DAT,
// Emission_MinMax.DAT and their panels).
inline constexpr double kDisplayFactor = 10000.0;
// The measured RIXS spectrum's factor (EXP_MinMax.DAT and the experiment
// panel) is kRixsExperimentScale of workspace/workspace_setup.h, where its
// import records it.

// The calculated RIXS spectrum in the theory panel.
inline constexpr double kCalculatedDisplayFactor = 30000.0;

}  // namespace zephalo::core::numeric
