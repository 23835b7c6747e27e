#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"

namespace zephalo::test {

// A work space prepared by hand with everything the RIXS computation needs:
// the seeded parameters and final state, a smooth two-component selective
// XAFS of 301 points around 7120 eV (published and as the working copy), a
// three-point absorption spectrum and a two-point measurement.
inline void prepareRixsWorkspace(const core::Workspace& workspace) {
    namespace files = core::files;
    ASSERT_TRUE(workspace.write(files::kParameters, core::CalculationParameters{}));
    ASSERT_TRUE(workspace.write(files::kFinalState, core::FinalStateFunction{}));
    core::SelectiveXafsTable xafs;
    for (int k = 0; k < 301; ++k) {
        const double u = -10 + 0.1 * k;
        xafs.push_back({7120 + u, 0.5 + 0.3 * std::atan(u), 0.4 + 0.2 * std::atan(u / 2)});
    }
    ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, xafs));
    ASSERT_TRUE(workspace.write(files::kSelectiveWork, xafs));
    ASSERT_TRUE(workspace.write(files::kConvXafsNorm,
                                core::PairSpectrum{{7100, 0.1}, {7120, 0.5}, {7140, 1.0}}));
    ASSERT_TRUE(
        workspace.write(files::kRixsExperiment, core::PairSpectrum{{7050, 0.5}, {7051, 1.0}}));
}

}  // namespace zephalo::test
