#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "core/rixs/rixs_core.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The RIXS plane: the calculated spectrum at many excitation energies Ω at
// once, held in memory, with the same numbers as one spectrum at each Ω.
namespace zephalo::core::rixs {

// Largest number of excitation energies of one plane.
inline constexpr std::size_t kMaxPlaneRows = 5000;

// Total intensities over excitation energy (rows) and emission energy
// (columns).
struct RixsPlane {
    std::vector<double> emission;    // ω of every column (eV)
    std::vector<double> excitation;  // Ω of every row (eV)
    std::vector<double> total;       // row by row: total[row * emission.size() + column]

    double at(std::size_t row, std::size_t column) const {
        return total[row * emission.size() + column];
    }
    std::span<const double> row(std::size_t index) const {
        return std::span<const double>(total).subspan(index * emission.size(), emission.size());
    }
};

// How a caller follows and stops a long plane. `progress` is called after
// each finished row with the number of rows done and the number of rows, from
// a computing thread, never by two threads at once. When `stop` is requested
// the remaining rows are skipped and the calculation refuses with the
// stopped text.
struct PlaneHooks {
    std::function<void(std::size_t done, std::size_t rows)> progress;
    std::stop_token stop;
};

// The excitation energies from, from + step, … up to `to` inclusive within
// rounding (from + i·step, not a running sum). Refuses from ≥ to, a step that
// is not positive, values that are not finite, and more than kMaxPlaneRows
// energies; `out` is then empty.
Status planeExcitations(double from, double to, double step, std::vector<double>& out);

// Refuses the first excitation energy outside the compute operation's range
// (1000 … 20000 eV, which it would replace by its default instead).
Status checkPlaneRange(std::span<const double> excitations);

// The plane over `excitations` from inputs in memory: the factors that do
// not depend on Ω are prepared once, and the rows are shared between the two
// cores. Refuses what the core refuses at any of the energies, and a result
// that is not finite.
Status calculateRixsPlane(const RixsInput& input, std::span<const double> excitations,
                          RixsPlane& out, const PlaneHooks& hooks = {});

// The plane from the published selective XAFS and the stored parameters and
// final-state function, refusing as "RIXS計算実行" refuses (missing inputs)
// and every Ω outside 1000 … 20000 eV (no replacement by the default
// excitation energy). Writes no work-space file.
Status computeRixsPlane(const Workspace& workspace, std::span<const double> excitations,
                        RixsPlane& out, const PlaneHooks& hooks = {});

// The plane as a rectangular text matrix: a first line of the number of
// emission energies and the energies, then per row Ω and the totals; TAB
// separated, 6 significant digits, line ends "\n". It reads back as a
// measured map.
std::string formatPlane(const RixsPlane& plane);

}  // namespace zephalo::core::rixs
