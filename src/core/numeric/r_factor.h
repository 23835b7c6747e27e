#pragma once

#include <cmath>
#include <optional>
#include <span>

#include "core/workspace/records.h"

// How far a calculated RIXS spectrum lies from the measured one.
namespace zephalo::core::numeric {

// R = 100 · Σ|T_i − I_i| / Σ I_i, in percent: T_i the total of calculated
// line i, I_i the intensity of measured line i, lines paired by position
// (the comparison aligns both files on common energies first) over the lines
// present in both. nullopt when Σ I_i is 0 or the result is not finite.
// The two sums of the R factor, to be taken over the pairs of many spectra.
struct RFactorSums {
    double difference = 0.0;  // Σ|T_i − I_i|
    double measured = 0.0;    // Σ I_i

    void add(double calculated, double measuredValue) {
        difference += std::fabs(calculated - measuredValue);
        measured += measuredValue;
    }
    // 100 · difference / measured; nullopt when the measured sum is 0 or the
    // result is not finite.
    std::optional<double> percent() const;
};

std::optional<double> rFactor(std::span<const QuadPoint> calculated,
                              std::span<const PairPoint> measured);

}  // namespace zephalo::core::numeric
