#pragma once

#include <cstddef>
#include <filesystem>
#include <span>

#include "core/workspace/records.h"
#include "core/workspace/status.h"

// The calculated selective XAFS on its way into the work space: reading the
// source files, pairing two components, and taking the records that lie on
// the 0.1 eV grid, each component divided by its own maximum.
namespace zephalo::core::xafs {

inline constexpr double kGridStep = 0.1;           // eV between output energies
inline constexpr double kGridTolerance = 0.002;    // eV, strictly less matches
inline constexpr double kMergeTolerance = 0.0001;  // eV, strictly less matches
// Energies typed with four decimals differ by 0.0001 only up to the rounding
// of doubles (5.1235 - 5.1234 < 0.0001 in binary); such pairs must not merge,
// so the comparison allows for that rounding.
inline constexpr double kRoundingSlack = 1.0e-9;
inline constexpr double kMinimumScanStart = 1.0e7;
inline constexpr std::size_t kWien2kHeaderWords = 4;

// A WIEN2k spectrum file (*.xspec, *.xspecup, *.xspecdn): four header words,
// then pairs of energy and intensity. The header must be exactly four words,
// every later word a number, and the pairs complete and at most kMaxPoints;
// otherwise the file is refused with a text that names it and what was found.
// `lines`, when given, receives the line of each pair's energy.
Status readWien2kFile(const std::filesystem::path& file, PairSpectrum& out,
                      std::vector<int>* lines = nullptr);

// A general file of triples (energy, Y1, Y2) without header; '#' lines are
// comments. At most kMaxPoints records.
Status readGeneralFile(const std::filesystem::path& file, SelectiveXafsTable& out,
                       std::vector<int>* lines = nullptr);

// The start of the grid and the divisors of the two components: the
// smallest energy (scan from 1e7) and each component's largest value (scan
// from 0).
struct GridScale {
    double xmin = kMinimumScanStart;
    double amax = 0.0;
    double bmax = 0.0;
};
GridScale gridScaleOf(std::span<const XafsPoint> records);

// For j = 0 .. n-1 the grid energy t = xmin + 0.1 j takes the first of the
// first `searched` records (file order) with |t - E| < 0.002 and writes it
// with its own energy and both components divided by their maxima; a grid
// energy without such a record is left out.
SelectiveXafsTable resampleOnGrid(std::span<const XafsPoint> records, std::size_t searched,
                                  const GridScale& scale);

// Pairs the components in second-component order: a second-component record
// takes the intensity of the last first-component record within 0.0001 eV
// and becomes (E2, I1, I2); a record without a partner is dropped.
// `sources`, when given, receives for each merged record the indices of its
// first- and second-component records.
struct MergeSource {
    std::size_t first = 0;
    std::size_t second = 0;
};
SelectiveXafsTable mergeComponents(std::span<const PairPoint> first,
                                   std::span<const PairPoint> second,
                                   std::vector<MergeSource>* sources = nullptr);

}  // namespace zephalo::core::xafs
