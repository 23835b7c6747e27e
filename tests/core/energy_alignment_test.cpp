#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/rixs/energy_alignment.h"
#include "test_support.h"

// The comparison's pairing of measured and calculated spectra, worked by hand
// on short spectra.
namespace zephalo::test {
namespace {

using core::PairSpectrum;
using core::QuadSpectrum;
using core::rixs::alignEnergies;

struct AlignmentCase {
    std::string name;
    std::vector<double> measured;    // energies; intensities are 10 * index + 1
    std::vector<double> calculated;  // energies; totals are 100 * index + 1
    std::vector<double> measuredAfter;
    std::vector<double> calculatedAfter;
    bool matched;
};
void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << c.name;
}

PairSpectrum measuredOf(const std::vector<double>& energies) {
    PairSpectrum out;
    for (std::size_t i = 0; i < energies.size(); ++i) out.push_back({energies[i], 10.0 * i + 1});
    return out;
}
QuadSpectrum calculatedOf(const std::vector<double>& energies) {
    QuadSpectrum out;
    for (std::size_t i = 0; i < energies.size(); ++i) {
        const double total = 100.0 * i + 1;
        out.push_back({energies[i], total, 0.75 * total, 0.25 * total});
    }
    return out;
}

class EnergyAlignment : public ::testing::TestWithParam<AlignmentCase> {};

TEST_P(EnergyAlignment, KeepsTheLongerSpectrumsCommonEnergiesInTheOthersOrder) {
    const AlignmentCase& c = GetParam();
    const PairSpectrum measured = measuredOf(c.measured);
    const QuadSpectrum calculated = calculatedOf(c.calculated);
    const auto aligned = alignEnergies(measured, calculated);
    EXPECT_EQ(aligned.matched, c.matched);
    ASSERT_EQ(aligned.measured.size(), c.measuredAfter.size());
    ASSERT_EQ(aligned.calculated.size(), c.calculatedAfter.size());
    // Every kept point is a whole point of its own input, not a copy of the
    // other spectrum's energy.
    for (std::size_t i = 0; i < c.measuredAfter.size(); ++i) {
        EXPECT_EQ(aligned.measured[i].energy, c.measuredAfter[i]) << i;
        bool found = false;
        for (const auto& m : measured)
            found = found || (m.energy == aligned.measured[i].energy &&
                              m.intensity == aligned.measured[i].intensity);
        EXPECT_TRUE(found) << i;
    }
    for (std::size_t i = 0; i < c.calculatedAfter.size(); ++i) {
        EXPECT_EQ(aligned.calculated[i].energy, c.calculatedAfter[i]) << i;
        bool found = false;
        for (const auto& p : calculated)
            found = found || (p.energy == aligned.calculated[i].energy &&
                              p.total == aligned.calculated[i].total &&
                              p.comp2 == aligned.calculated[i].comp2);
        EXPECT_TRUE(found) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnergyAlignment,
    ::testing::Values(
        // The longer measurement keeps the points at the calculation's
        // energies, in the calculation's order.
        AlignmentCase{"measurement longer", {1, 2, 3, 4, 5}, {4, 2}, {4, 2}, {4, 2}, true},
        // Equal lengths: the calculation is the one reduced.
        AlignmentCase{"equal lengths", {1, 2, 3}, {3, 9, 1}, {1, 2, 3}, {1, 3}, true},
        // 0.00005 eV apart matches, 0.00015 eV apart does not.
        AlignmentCase{"tolerance",
                      {7000.00005, 7001.00015},
                      {7000, 7001, 7002},
                      {7000.00005, 7001.00015},
                      {7000},
                      true},
        // The first match in file order wins when several are close.
        AlignmentCase{
            "first match", {5.00002}, {4.99995, 5.00003, 5.00002}, {5.00002}, {4.99995}, true},
        // A match at energy 0 is dropped.
        AlignmentCase{"energy 0", {0, 1, 2}, {0, 1}, {1}, {0, 1}, true},
        // Nothing in common: the reduced spectrum is empty.
        AlignmentCase{"nothing common", {7100, 7101}, {7000, 7001, 7002}, {7100, 7101}, {}, false},
        AlignmentCase{"empty calculation", {7100, 7101}, {}, {}, {}, false},
        AlignmentCase{"both empty", {}, {}, {}, {}, false}),
    [](const auto& c) { return caseName(c.param.name); });

}  // namespace
}  // namespace zephalo::test
