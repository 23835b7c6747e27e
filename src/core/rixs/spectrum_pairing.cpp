#include "core/rixs/spectrum_pairing.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace zephalo::core::rixs {

namespace {

bool sameEnergy(double a, double b) {
    return std::fabs(a - b) < kMatchTolerance;
}

// The points of a list sorted by energy, to find the first one (in the
// list's order) at an energy without scanning the whole list.
class EnergyIndex {
public:
    EnergyIndex(std::span<const double> energy, const std::vector<std::size_t>& list)
        : m_energy(energy), m_list(list), m_order(list.size()) {
        std::iota(m_order.begin(), m_order.end(), std::size_t{0});
        bool ascending = true;
        for (std::size_t p = 1; p < list.size() && ascending; ++p) ascending = at(p - 1) <= at(p);
        if (!ascending) {
            std::stable_sort(m_order.begin(), m_order.end(),
                             [&](std::size_t x, std::size_t y) { return at(x) < at(y); });
        }
    }

    // The first position whose energy matches `energy`.
    std::optional<std::size_t> first(double energy) const {
        // Twice the tolerance: every match lies inside, whatever the rounding.
        const double low = energy - 2 * kMatchTolerance;
        const double high = energy + 2 * kMatchTolerance;
        auto it = std::lower_bound(m_order.begin(), m_order.end(), low,
                                   [&](std::size_t p, double value) { return at(p) < value; });
        std::optional<std::size_t> best;
        for (; it != m_order.end() && at(*it) <= high; ++it) {
            if (sameEnergy(at(*it), energy) && (!best || *it < *best)) best = *it;
        }
        return best;
    }

private:
    double at(std::size_t position) const { return m_energy[m_list[position]]; }

    std::span<const double> m_energy;
    const std::vector<std::size_t>& m_list;
    std::vector<std::size_t> m_order;
};

// The longer list keeps, in the shorter's order, its first point at the energy
// of each point of the shorter one.
void keepMatches(std::span<const double> shortEnergy, const std::vector<std::size_t>& shortList,
                 std::span<const double> longEnergy, std::vector<std::size_t>& longList) {
    const EnergyIndex index(longEnergy, longList);
    std::vector<std::size_t> kept;
    kept.reserve(shortList.size());
    for (const std::size_t point : shortList) {
        const auto match = index.first(shortEnergy[point]);
        if (match && longEnergy[longList[*match]] != 0.0) kept.push_back(longList[*match]);
    }
    longList = std::move(kept);
}

}  // namespace

void reduceToCommon(std::span<const double> measuredEnergy, std::vector<std::size_t>& measured,
                    std::span<const double> calculatedEnergy,
                    std::vector<std::size_t>& calculated) {
    if (calculated.size() < measured.size()) {
        keepMatches(calculatedEnergy, calculated, measuredEnergy, measured);
    } else {
        keepMatches(measuredEnergy, measured, calculatedEnergy, calculated);
    }
}

PointPairs comparedPairs(std::span<const double> measuredEnergy,
                         std::span<const double> calculatedEnergy) {
    PointPairs pairs;
    pairs.measured.resize(measuredEnergy.size());
    pairs.calculated.resize(calculatedEnergy.size());
    std::iota(pairs.measured.begin(), pairs.measured.end(), std::size_t{0});
    std::iota(pairs.calculated.begin(), pairs.calculated.end(), std::size_t{0});
    // The comparison reduces both files, and its redraw reduces what it
    // reads back once more before pairing the lines.
    for (int pass = 0; pass < 2; ++pass) {
        reduceToCommon(measuredEnergy, pairs.measured, calculatedEnergy, pairs.calculated);
    }
    const std::size_t lines = std::min(pairs.measured.size(), pairs.calculated.size());
    pairs.measured.resize(lines);
    pairs.calculated.resize(lines);
    return pairs;
}

}  // namespace zephalo::core::rixs
