#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The first operations of the main form: creating the work space with its
// seed files, and bringing the three measured spectra in. Each returns the
// text of the message panel.
namespace zephalo::core {

// A seed: a work-space file written with default content when it is missing.
struct Seed {
    std::string_view file;
    std::string text;
};

// The seed files in the order they are written, with their exact content
// ("1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n" for the parameters).
std::span<const Seed> seedFiles();

// Creates the directory when it is missing and writes every seed that does
// not exist yet; existing files are never changed. Refuses, naming the path,
// when the directory cannot be created or a seed cannot be written.
Report createWorkspace(const Workspace& workspace);

// Intensities of the measured RIXS spectrum are recorded in EXP_MinMax.DAT
// multiplied by this display factor.
inline constexpr double kRixsExperimentScale = 20000.0;

// The three imports of a measured spectrum: pairs of energy and intensity
// read from `chosen`. A file that cannot be opened, holds a token that is not
// a number, ends in half a pair or has more than kMaxPoints points is refused
// and nothing is written.
//
// RIXS: writes EXP_MinMax.DAT (intensity x 20000) and RIXSEXP.DAT.
Report importRixsExperiment(const Workspace& workspace, const std::filesystem::path& chosen);
// Conventional XAFS: writes Conventional_XAFS.DAT.
Report importConventionalXafs(const Workspace& workspace, const std::filesystem::path& chosen);
// A measured RIXS map (see readMeasuredMap), HDF5 with `paths`: writes
// RIXSEXP_Map.DAT; RIXSEXP.DAT stays the single measured spectrum.
Report importRixsMap(const Workspace& workspace, const std::filesystem::path& chosen,
                     const Hdf5MapPaths& paths);
// Fluorescence: writes Exp_Non_Resonant_Emission.DAT with every intensity
// divided by the largest one; refused when that is 0 or negative.
Report importFluorescence(const Workspace& workspace, const std::filesystem::path& chosen);

}  // namespace zephalo::core
