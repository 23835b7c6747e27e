#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>

#include "core/workspace/records.h"

// Generated spectra for the benchmarks, shaped like a transition-metal K edge.
namespace zephalo::bench {

// Two selective XAFS components on a uniform grid: an edge step, a white
// line and damped oscillations above the edge, normalised near 1.
inline core::SelectiveXafsTable selectiveXafs(double start, double step, std::size_t count,
                                              double edge) {
    core::SelectiveXafsTable table(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double e = start + step * static_cast<double>(k);
        const double u = e - edge;
        const double stepShape = 0.5 + std::atan(u / 1.5) / std::numbers::pi;
        const double wiggle = u > 0 ? 0.08 * std::sin(u / 6.0) * std::exp(-u / 80.0) : 0.0;
        const double whiteA = 0.6 / (1.0 + (u - 8.0) * (u - 8.0) / 9.0);
        const double whiteB = 0.4 / (1.0 + (u - 3.0) * (u - 3.0) / 4.0);
        table[k] = {e, 0.5 * stepShape + whiteA + wiggle, 0.6 * stepShape + whiteB - wiggle};
    }
    return table;
}

// A normalised conventional XAFS (absorption-correction spectrum).
inline core::PairSpectrum absorptionSpectrum(double start, double step, std::size_t count,
                                             double edge) {
    core::PairSpectrum points(count);
    for (std::size_t m = 0; m < count; ++m) {
        const double e = start + step * static_cast<double>(m);
        const double u = e - edge;
        points[m] = {e, 0.1 + 0.8 * (0.5 + std::atan(u / 2.0) / std::numbers::pi) +
                            0.1 / (1.0 + (u - 10.0) * (u - 10.0) / 16.0)};
    }
    return points;
}

}  // namespace zephalo::bench
