#include "core/numeric/r_factor.h"

#include <algorithm>
#include <cmath>

namespace zephalo::core::numeric {

std::optional<double> rFactor(std::span<const QuadPoint> calculated,
                              std::span<const PairPoint> measured) {
    const std::size_t lines = std::min(calculated.size(), measured.size());
    RFactorSums sums;
    for (std::size_t i = 0; i < lines; ++i) sums.add(calculated[i].total, measured[i].intensity);
    return sums.percent();
}

std::optional<double> RFactorSums::percent() const {
    if (measured == 0.0) return std::nullopt;
    const double r = 100.0 * difference / measured;
    if (!std::isfinite(r)) return std::nullopt;
    return r;
}

}  // namespace zephalo::core::numeric
