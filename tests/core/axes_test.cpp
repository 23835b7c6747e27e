#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "core/plot/axes.h"
#include "core/plot/projection.h"
#include "test_support.h"

namespace zephalo::core::plot {
namespace {

using test::near;

// Ticks worked by hand: round multiples of 1, 2, 2.5 or 5 times a power of
// ten, at most `most` of them, ends included when they are round.
struct TickCase {
    double low;
    double high;
    int most;
    double step;
    std::vector<double> values;
};
// Names the case in test listings (its bytes would hold heap addresses).
void PrintTo(const TickCase& c, std::ostream* out) {
    *out << c.low << " to " << c.high << ", at most " << c.most;
}
class NiceTicks : public ::testing::TestWithParam<TickCase> {};
TEST_P(NiceTicks, RoundStepsWithinTheRange) {
    const TickCase& c = GetParam();
    const Ticks ticks = niceTicks(c.low, c.high, c.most);
    EXPECT_TRUE(near(ticks.step, c.step, 1e-12, 0.0)) << ticks.step;
    ASSERT_EQ(ticks.values.size(), c.values.size());
    for (std::size_t k = 0; k < c.values.size(); ++k) {
        EXPECT_TRUE(near(ticks.values[k], c.values[k], 1e-12, 1e-15)) << k;
    }
}
INSTANTIATE_TEST_SUITE_P(
    Cases, NiceTicks,
    ::testing::Values(TickCase{7000, 7200, 4, 50, {7000, 7050, 7100, 7150, 7200}},
                      TickCase{7200, 7000, 4, 50, {7000, 7050, 7100, 7150, 7200}},
                      TickCase{7095.3, 7104.9, 4, 2.5, {7097.5, 7100, 7102.5}},
                      TickCase{0, 1, 5, 0.2, {0, 0.2, 0.4, 0.6, 0.8, 1}},
                      TickCase{-0.013, 0.021, 3, 0.02, {0, 0.02}},
                      TickCase{1.2e-5, 9.7e-5, 4, 2.5e-5, {2.5e-5, 5e-5, 7.5e-5}},
                      // No extent, or not finite: no ticks.
                      TickCase{5, 5, 4, 0, {}},
                      TickCase{0, std::numeric_limits<double>::infinity(), 4, 0, {}}));

class TickLabels : public ::testing::TestWithParam<std::tuple<double, double, std::string>> {};
TEST_P(TickLabels, AsManyDecimalsAsTheStepNeeds) {
    const auto [value, step, expected] = GetParam();
    EXPECT_EQ(tickLabel(value, step), expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TickLabels,
    ::testing::Values(std::tuple{7100.0, 50.0, "7100"}, std::tuple{7102.5, 2.5, "7102.5"},
                      std::tuple{0.4, 0.2, "0.4"}, std::tuple{0.25, 0.05, "0.25"},
                      std::tuple{0.075, 0.025, "0.075"}, std::tuple{1e-17, 0.2, "0"},
                      std::tuple{-0.02, 0.02, "-0.02"}, std::tuple{5e-5, 2.5e-5, "5.0e-05"},
                      std::tuple{2e6, 1e6, "2.0e+06"}));

// The frame inverts the projection: a projected point lies at the logical
// position the frame gives its energy and intensity, within the projection's
// truncation (one logical unit).
TEST(Frame, InvertsTheProjectionOfEveryPanelKind) {
    const Range data{7000, 7200, 0.2, 1.0};
    const Frame plain = frameOf(data);
    EXPECT_EQ(logicalXOf(plain, 7100), 0.0);
    EXPECT_TRUE(near(energyAt(plain, 50), 7150, 1e-12));
    EXPECT_TRUE(near(logicalYOf(plain, 1.0), 85, 1e-12));
    EXPECT_TRUE(near(intensityAt(plain, -95), 0.2, 1e-12));

    // Display units with a scale of the panel's own (the RIXS panels).
    const Axes axes{100.0, 30000.0, 1000.0 / (30000.0 * 4e-6)};
    const DisplayRange display{7040, 7070, 30000.0 * 1e-6 * axes.intensityScale,
                               30000.0 * 4e-6 * axes.intensityScale};
    const Frame scaled = frameOf(display, axes);
    EXPECT_TRUE(near(scaled.yLow, 1e-6, 1e-12));
    EXPECT_TRUE(near(scaled.yHigh, 4e-6, 1e-12));
    for (double y : {1e-6, 2.2e-6, 3.9e-6}) {
        const int projected = projectDisplayY(y, display.smin, display.smax, axes);
        EXPECT_LE(std::abs(projected - logicalYOf(scaled, y)), 1.0) << y;
    }
    for (double x : {7040.0, 7051.23, 7069.9}) {
        const int projected = projectX(x, display.xmin, display.xmax, axes);
        EXPECT_LE(std::abs(projected - logicalXOf(scaled, x)), 1.0) << x;
    }

    // A projected curve carries its frame; a picture takes the first drawn one.
    struct Point {
        double e;
        double i;
    };
    const std::vector<Point> points{{7000, 0.2}, {7100, 1.0}, {7200, 0.6}};
    Picture picture{"", {Curve{}, projectCurve(points, &Point::e, &Point::i, data, Pen::Red)}};
    ASSERT_TRUE(picture.frame().has_value());
    EXPECT_EQ(picture.frame()->xHigh, 7200);
    EXPECT_FALSE(picture.empty());
    EXPECT_TRUE(Picture{}.empty());
    EXPECT_FALSE(Picture{}.frame().has_value());
}

}  // namespace
}  // namespace zephalo::core::plot
