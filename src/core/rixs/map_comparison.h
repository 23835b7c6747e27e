#pragma once

#include <optional>
#include <vector>

#include "core/rixs/rixs_plane.h"
#include "core/rixs/spectrum_pairing.h"
#include "core/workspace/measured_map.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The measured RIXS map against the RIXS spectra calculated at its excitation
// energies, Ω by Ω, with the R factor of the single-spectrum comparison.
namespace zephalo::core::rixs {

struct MapComparison {
    MeasuredMap measured;
    RixsPlane calculated;  // row i at measured[i].excitation
    // Per Ω, the R factor (percent) that "実験値と比較" gives with that Ω's
    // spectrum as the measured one and the calculation at that Ω; nullopt
    // when no point pairs there or the paired intensities sum to 0.
    std::vector<std::optional<double>> r;
    // 100 · Σ|T − I| / Σ I over every pair of every Ω.
    std::optional<double> total;
    // Per Ω, the paired points: indices into measured[i].points and columns
    // of the plane.
    std::vector<PointPairs> pairs;
};

// Planes on the calculated plane's cells, NaN where no measured point is
// paired: the measured intensities, and measured minus calculated (as the
// R factor takes them).
RixsPlane measuredOnGrid(const MapComparison& comparison);
RixsPlane differenceOnGrid(const MapComparison& comparison);

// Compares a map with a plane computed at its excitation energies. The
// calculated values enter as Calculated_RIXS.DAT would hold them (six
// significant digits). Refuses a spectrum of more than 4000 points on either
// side (as the comparison does) and a map that pairs no point at all.
Status compareMapWithPlane(MeasuredMap map, RixsPlane plane, MapComparison& out);

// RIXSEXP_Map.DAT against the plane from the published selective XAFS and
// the stored parameters (refused as the plane refuses, and without a
// measured map). Writes no file.
Status compareMeasuredMap(const Workspace& workspace, MapComparison& out,
                          const PlaneHooks& hooks = {});

}  // namespace zephalo::core::rixs
