#include "core/rixs/energy_alignment.h"

#include <cmath>

namespace zephalo::core::rixs {

namespace {

bool sameEnergy(double a, double b) {
    return std::fabs(a - b) < kMatchTolerance;
}

// The points of `longer` that match an energy of `shorter`, in `shorter`'s
// order.
template <class Shorter, class Longer>
Longer kept(const Shorter& shorter, const Longer& longer) {
    Longer out;
    for (const auto& s : shorter) {
        for (const auto& l : longer) {
            if (!sameEnergy(s.energy, l.energy)) continue;
            if (l.energy != 0.0) out.push_back(l);
            break;
        }
    }
    return out;
}

}  // namespace

AlignedSpectra alignEnergies(const PairSpectrum& measured, const QuadSpectrum& calculated) {
    AlignedSpectra out;
    if (calculated.size() < measured.size()) {
        out.calculated = calculated;
        out.measured = kept(calculated, measured);
        out.matched = !out.measured.empty();
    } else {
        out.measured = measured;
        out.calculated = kept(measured, calculated);
        out.matched = !out.calculated.empty();
    }
    return out;
}

}  // namespace zephalo::core::rixs
