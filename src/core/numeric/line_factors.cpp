#include "core/numeric/line_factors.h"

namespace zephalo::core::numeric {

std::array<double, 4> finalStateEnergies(const FinalStateFunction& lines, double coreEnergy) {
    std::array<double, 4> d{};
    for (std::size_t x = 0; x < 4; ++x) d[x] = coreEnergy - lines.position[x];
    return d;
}

std::array<double, 4> lineFactors(const FinalStateFunction& lines, double coreEnergy) {
    const auto d = finalStateEnergies(lines, coreEnergy);
    return {(coreEnergy - d[0]) + 0.0, (coreEnergy - d[1]) + (d[0] - d[1]),
            (coreEnergy - d[2]) + 0.0, (coreEnergy - d[3]) + (d[2] - d[3])};
}

}  // namespace zephalo::core::numeric
