#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "workspace/records.h"
#include "workspace/status.h"
#include "workspace/workspace.h"

// The RIXS calculation core: one calculated RIXS spectrum at one excitation
// energy, from the work-space files, written to Calculated_RIXS.DAT.
namespace zephalo::core::rixs {

// Capacities of the core's inputs.
inline constexpr std::size_t kMaxSelectivePoints = 5000;
inline constexpr std::size_t kMaxAbsorptionPoints = 2000;

// Everything one calculation depends on, in memory.
struct RixsInput {
    std::span<const XafsPoint> selective;   // E_k, Y1_k, Y2_k (at least two points)
    std::span<const PairPoint> absorption;  // absorption-correction XAFS
    CalculationParameters parameters;
    FinalStateFunction lines;
    double omega = 0.0;  // excitation energy (eV)
};

// μ(Ω) of the absorption-correction XAFS by the first-segment rule: the first
// point m that has a successor and lies less than 0.5 eV below Ω (or above it)
// selects the segment (m, m+1), through which μ is interpolated or
// extrapolated linearly. 1.0 when no such point exists.
double absorptionAt(std::span<const PairPoint> absorption, double omega);

// --- Kernels (no file access) ----------------------------------------------

// The core written the way it is defined: loop over the emission grid, then
// over the selective XAFS points, every term evaluated in full. The test
// oracle and the benchmark baseline.
Status calculateRixsLiteral(const RixsInput& input, QuadSpectrum& out);

// The production path: the same numbers (within 1e-12 relative) with the
// resonance factor, the weights and the components hoisted out of the
// emission-energy loop, vectorised inner loops and both cores for large work.
Status calculateRixsSpectrum(const RixsInput& input, QuadSpectrum& out);

// How the totals of the production kernel's spectrum depend on the selective
// XAFS intensities, which they are linear in: row j (emission-grid point j,
// j < rows) holds ∂total_j/∂Y1_k for k < N, then ∂total_j/∂Y2_k, as
// scale[j] · values[j·2N + …]. Each row is scaled by a power of two so that
// its largest element lies in [0.5, 1); the single-precision elements then
// carry a relative error of at most 2^-24 (plus that of the double-precision
// factors) wherever they are normal numbers.
//
// With `probes` (profiles of N intensities each, one after another), also
// each probe's totals through lines A+B and through C+D, as if it stood in
// the first and in the second column: probeFirst[q·rows + j] and
// probeSecond[q·rows + j], in double precision.
struct RixsResponse {
    std::size_t points = 0;     // N
    std::size_t rows = 0;       // emission-grid points covered
    std::vector<double> scale;  // per row
    std::vector<float> values;  // rows × 2N
    std::vector<double> probeFirst, probeSecond;
};
// False (and `out` empty) for what calculateRixsSpectrum refuses and for a
// response that is not finite.
bool rixsResponse(const RixsInput& input, std::size_t rows, std::span<const double> probes,
                  RixsResponse& out);

// --- Work-space operation ------------------------------------------------------

// Reads SelectiveXAFS_for_RIXS.DAT (at most 5000 points),
// ConvXAFS_Norm_Spectrum.DAT (at most 2000), the parameters and the stored
// final-state function, and replaces Calculated_RIXS.DAT with the spectrum at
// excitation energy `omega` (eV); a grid without points leaves it empty.
// Every refusal (Ω = 0, a missing or unreadable input, too many points, fewer
// than two selective XAFS points, a non-positive grid step, more than 5000
// grid points) happens before the output is touched, so the previous
// spectrum stays.
Status calculateRixs(const Workspace& workspace, double omega);

}  // namespace zephalo::core::rixs
