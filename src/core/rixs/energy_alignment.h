#pragma once

#include "core/workspace/records.h"

// The comparison's pairing of a measured and a calculated RIXS spectrum on
// their common energies.
namespace zephalo::core::rixs {

// Energies closer than this match (strictly).
inline constexpr double kMatchTolerance = 0.0001;

struct AlignedSpectra {
    PairSpectrum measured;
    QuadSpectrum calculated;
    bool matched = false;  // whether the reduced spectrum kept any point
};

// The two spectra reduced to their common energies: the longer one (the
// calculation when both are as long) keeps the points that match the
// other's, in the other's order; the other stays whole. The first match in
// file order wins; a match at energy 0 counts as none.
AlignedSpectra alignEnergies(const PairSpectrum& measured, const QuadSpectrum& calculated);

}  // namespace zephalo::core::rixs
