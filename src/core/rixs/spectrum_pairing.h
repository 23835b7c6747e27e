#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "core/rixs/energy_alignment.h"

// How the comparison with experiment pairs a measured and a calculated
// spectrum: both are reduced to their common energies, and the reduced
// spectra are paired line by line.
namespace zephalo::core::rixs {

// Points per spectrum the comparison reduces.
inline constexpr std::size_t kMaxAlignedPoints = 4000;

// One reduction as "実験値と比較" makes it, on the energies of the two
// spectra: the longer one (the calculation when both are as long) keeps, in
// the other's order, the first of its points (in its own order) at the
// energy of each point of the other; the other stays whole. A match at energy
// 0 counts as none. `measured` and `calculated` are the points' indices
// into the energy spans, in the order the spectra hold them, and are reduced
// in place.
void reduceToCommon(std::span<const double> measuredEnergy, std::vector<std::size_t>& measured,
                    std::span<const double> calculatedEnergy, std::vector<std::size_t>& calculated);

// The pairs whose R factor the comparison reports: the two whole spectra
// reduced, written, read back and reduced again, then paired by position.
// Returns the indices into the two spans, pair by pair.
struct PointPairs {
    std::vector<std::size_t> measured;
    std::vector<std::size_t> calculated;
};
PointPairs comparedPairs(std::span<const double> measuredEnergy,
                         std::span<const double> calculatedEnergy);

}  // namespace zephalo::core::rixs
