#include <gtest/gtest.h>

#include <vector>

#include "core/numeric/r_factor.h"
#include "test_support.h"

namespace zephalo::test {
namespace {

using core::numeric::rFactor;

struct RFactorCase {
    const char* name;
    std::vector<core::QuadPoint> calculated;
    std::vector<core::PairPoint> measured;
    std::optional<double> expected;
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const RFactorCase& c, std::ostream* out) {
    *out << c.name;
}

class RFactorTest : public ::testing::TestWithParam<RFactorCase> {};

TEST_P(RFactorTest, SumsOverTheLinesPresentInBoth) {
    const auto& c = GetParam();
    const auto r = rFactor(c.calculated, c.measured);
    ASSERT_EQ(r.has_value(), c.expected.has_value());
    if (c.expected) {
        EXPECT_TRUE(near(*r, *c.expected, 1e-12));
    }
}

// Hand-worked: |1-2| + |5-4| = 2 over 2 + 4 = 6 gives 33.33 %.
INSTANTIATE_TEST_SUITE_P(
    Cases, RFactorTest,
    ::testing::Values(
        RFactorCase{"Equal", {{7000, 1, 0, 0}, {7001, 2, 0, 0}}, {{7000, 1}, {7001, 2}}, 0.0},
        RFactorCase{
            "ByPosition", {{7000, 1, 0, 0}, {7001, 5, 0, 0}}, {{9, 2}, {9, 4}}, 100.0 * 2.0 / 6.0},
        RFactorCase{"MeasuredShorter",
                    {{7000, 1, 0, 0}, {7001, 5, 0, 0}, {7002, 100, 0, 0}},
                    {{7000, 2}, {7001, 4}},
                    100.0 * 2.0 / 6.0},
        RFactorCase{"CalculatedShorter", {{7000, 3, 0, 0}}, {{7000, 2}, {7001, 4}}, 50.0},
        RFactorCase{"NoMeasuredIntensity", {{7000, 1, 0, 0}}, {{7000, 0}}, std::nullopt},
        RFactorCase{"Empty", {}, {}, std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace zephalo::test
