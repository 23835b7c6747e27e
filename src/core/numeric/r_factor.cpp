#include "numeric/r_factor.h"

#include <algorithm>
#include <cmath>

namespace zephalo::core::numeric {

std::optional<double> rFactor(std::span<const QuadPoint> calculated,
                              std::span<const PairPoint> measured) {
    const std::size_t lines = std::min(calculated.size(), measured.size());
    double difference = 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < lines; ++i) {
        difference += std::fabs(calculated[i].total - measured[i].intensity);
        sum += measured[i].intensity;
    }
    if (sum == 0.0) return std::nullopt;
    const double r = 100.0 * difference / sum;
    if (!std::isfinite(r)) return std::nullopt;
    return r;
}

}  // namespace zephalo::core::numeric
