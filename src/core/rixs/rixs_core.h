#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

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

// The production path split into what does not depend on the excitation
// energy, prepared once (e_k, the emission grid, the line constants), and one
// spectrum at one Ω. One spectrum and the plane over many Ω share it.
class FastKernel {
public:
    // The factors of one excitation energy: f_abs and the weighted resonance
    // factor times each component. One per thread.
    struct Excitation {
        double omega = 0.0;
        double multiplier = 1.0;
        std::vector<double> resonance;  // c_k·G_k/r
        std::vector<double> first;
        std::vector<double> second;
    };

    // Refuses what the core refuses whatever Ω is (the spans of `input` must
    // outlive the kernel; input.omega is not used).
    Status prepare(const RixsInput& input);
    const std::vector<double>& grid() const { return m_grid; }
    // Term evaluations per emission energy, for the thread split.
    std::size_t workPerPoint() const { return 4 * m_e.size(); }
    // Refuses what the core refuses at Ω; fills `at`.
    Status begin(double omega, Excitation& at) const;
    // Grid points [begin, end) of the spectrum at `at` into out[begin … end).
    void evaluate(const Excitation& at, std::size_t begin, std::size_t end, QuadPoint* out) const;

private:
    // The response rows are derivatives of this kernel's own sums.
    friend bool rixsResponse(const RixsInput& input, std::size_t rows,
                             std::span<const double> probes, RixsResponse& out);

    RixsInput m_input;
    std::vector<double> m_grid;
    std::vector<double> m_e;
    std::array<double, 4> m_d{};
    std::array<double, 4> m_halfWidth2{};
    std::array<double, 4> m_strength{};
    double m_h = 0.0;
};

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

// The storage behind a RixsInput read from the work space.
struct RixsInputFiles {
    SelectiveXafsTable selective;
    PairSpectrum absorption;
};

// Reads the four inputs of the core (refusing a missing or unreadable one the
// way calculateRixs does) into `files` and `input` (input.omega untouched).
Status readRixsInputs(const Workspace& workspace, RixsInputFiles& files, RixsInput& input);

// The refusal for a calculated point whose total or components are not
// finite, or nothing when all three are.
// `scaling` and `selectiveFile` are named in the message.
std::optional<Status> nonFiniteRefusal(const QuadPoint& point, double scaling,
                                       std::string_view selectiveFile);

}  // namespace zephalo::core::rixs
