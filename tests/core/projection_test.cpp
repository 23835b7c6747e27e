#include <cstdlib>
#include <tuple>
#include <vector>

#include "core/plot/projection.h"
#include "core/workspace/records.h"
#include "test_support.h"

namespace zephalo::core::plot {
namespace {

using test::near;

// Hand-worked: X = -100 + trunc(4 * trunc((x - xmin) * 50) / (xmax - xmin)).
class ProjectX : public ::testing::TestWithParam<std::tuple<double, int>> {};
TEST_P(ProjectX, OnASpanOf200eV) {
    const auto [x, expected] = GetParam();
    EXPECT_EQ(projectX(x, 7000, 7200), expected) << x;
}
INSTANTIATE_TEST_SUITE_P(Values, ProjectX,
                         ::testing::Values(std::tuple{7000.0, -100}, std::tuple{7200.0, 100},
                                           std::tuple{7100.0, 0},
                                           std::tuple{7050.01, -50},   // qx = 2500
                                           std::tuple{7000.49, -100},  // qx = 24 -> 96/200
                                           std::tuple{7000.5, -100},   // qx = 25 -> 0.5
                                           std::tuple{7001.0, -99},    // qx = 50 -> 1
                                           std::tuple{6999.99, -100},  // qx truncates to 0
                                           std::tuple{6990.0, -110}));

// Hand-worked: Y = -95 - trunc((trunc(y * 10000) - 10000 ymin) * -180 / (10000 (ymax - ymin))).
class ProjectY : public ::testing::TestWithParam<std::tuple<double, double, double, int>> {};
TEST_P(ProjectY, FromMinusNinetyFiveToEightyFive) {
    const auto [y, ymin, ymax, expected] = GetParam();
    EXPECT_EQ(projectY(y, ymin, ymax), expected) << y;
}
INSTANTIATE_TEST_SUITE_P(
    Values, ProjectY,
    ::testing::Values(std::tuple{0.0, 0.0, 1.0, -95}, std::tuple{1.0, 0.0, 1.0, 85},
                      std::tuple{0.5, 0.0, 1.0, -5}, std::tuple{0.5, 0.25, 0.75, -5},
                      std::tuple{0.33333, 0.0, 1.0, -36},  // -59.994 -> -59
                      std::tuple{0.00005, 0.0, 1.0, -95},  // qy = 0
                      std::tuple{2.0, 0.0, 1.0, 265}, std::tuple{-0.5, 0.0, 1.0, -185}));

// Panels with pre-scaled ranges and other quanta, worked by hand:
// X = -100 - trunc(trunc((x - xmin) n) 200 / (xmax - xmin) / (-n)),
// Y = -95 - trunc((trunc(f y s) - smin) (-180) / (smax - smin)).
struct AxesCase {
    double x, xmin, xmax;
    double y, smin, smax;
    Axes axes;
    int expectedX, expectedY;
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const AxesCase& c, std::ostream* out) {
    *out << c.x << " in " << c.xmin << ".." << c.xmax << ", " << c.y << " in " << c.smin << ".."
         << c.smax;
}
class ProjectDisplayUnits : public ::testing::TestWithParam<AxesCase> {};
TEST_P(ProjectDisplayUnits, TakesTheScaledRangeAsItStands) {
    const auto& c = GetParam();
    EXPECT_EQ(projectX(c.x, c.xmin, c.xmax, c.axes), c.expectedX);
    EXPECT_EQ(projectDisplayY(c.y, c.smin, c.smax, c.axes), c.expectedY);
    const std::vector<PairPoint> one{{c.x, c.y}};
    const Curve curve =
        projectCurve(one, &PairPoint::energy, &PairPoint::intensity,
                     DisplayRange{c.xmin, c.xmax, c.smin, c.smax}, Pen::Blue, -95, 95, c.axes);
    EXPECT_EQ(curve.x[0], c.expectedX);
    EXPECT_EQ(curve.y[0], c.expectedY);
}
INSTANTIATE_TEST_SUITE_P(
    Values, ProjectDisplayUnits,
    ::testing::Values(
        // Selective XAFS panel: qy = 500, (500 - 100) 180 / 900 = 80.
        AxesCase{7100.0, 7000.0, 7200.0, 0.05, 100.0, 1000.0, Axes{}, 0, -15},
        // A window of 2.7 eV: qx = 75, 75 200 / 2.7 / 50 = 111.1; (3000 - 2000) 180 / 3000.
        AxesCase{5459.5, 5458.0, 5460.7, 0.3, 2000.0, 5000.0, Axes{}, 11, -35},
        // 1/100 eV with 30000 q: a = 5050, 2 a / 100 = 101; T = trunc(30000 0.02 0.5) = 300,
        // (300 - 100) 180 / 900 = 40.
        AxesCase{7050.5, 7000.0, 7100.0, 0.02, 100.0, 1000.0, Axes{100.0, 30000.0, 0.5}, 1, -55},
        // 20000 q with q = 1000 / 4000: K = trunc(20000 0.1 0.25) = 500, (500 - 0) 180 / 1000.
        AxesCase{7000.0, 7000.0, 7100.0, 0.1, 0.0, 1000.0, Axes{100.0, 20000.0, 0.25}, -100, -5}),
    [](const auto& c) {
        return "x" + test::caseName(c.param.x) + "_of_" + test::caseName(c.param.xmin) + "_to_" +
               test::caseName(c.param.xmax);
    });

TEST(Projection, DataUnitsAndDisplayUnitsAgreeForTheDefaultAxes) {
    // The data-unit entry scales the range by the display factor itself.
    for (double y : {0.0, 0.1, 0.25, 0.5, 0.77, 1.0, 1.3}) {
        EXPECT_EQ(projectY(y, 0.1, 0.9), projectDisplayY(y, 1000.0, 9000.0)) << y;
        EXPECT_EQ(projectY(y, 0.0, 2.0, Axes{100.0, 20000.0, 1.0}),
                  projectDisplayY(y, 0.0, 40000.0, Axes{100.0, 20000.0, 1.0}))
            << y;
    }
}

TEST(Projection, DegenerateRangesAndWildPointsStayFinite) {
    // No crash and a value far outside the window, so nothing is joined.
    EXPECT_GT(std::abs(projectX(7100, 7000, 7000)), 1000);
    EXPECT_EQ(projectX(7000, 7000, 7000), -100);
    EXPECT_GT(projectY(1e300, 0, 1), 1000);
    EXPECT_LT(projectY(-1e300, 0, 1), -1000);
}

TEST(Projection, CurveJoiningRule) {
    const PairSpectrum points{{7010, 0.5}, {7050, 0.5}, {7100, 2.0},
                              {7150, 0.5}, {7160, 0.5}, {7200, 0.5}};
    Curve curve = projectCurve(points, &PairPoint::energy, &PairPoint::intensity,
                               {7000, 7200, 0, 1}, Pen::Red, -95, 95);
    ASSERT_EQ(curve.size(), 6u);
    EXPECT_EQ(curve.x, (std::vector<int>{-90, -50, 0, 50, 60, 100}));
    EXPECT_EQ(curve.y[2], 265);
    EXPECT_EQ(curve.pen, Pen::Red);
    EXPECT_TRUE(curve.joined(1));
    EXPECT_FALSE(curve.joined(2));  // the segment into a point above the window
    EXPECT_FALSE(curve.joined(3));  // and the segment out of it
    EXPECT_TRUE(curve.joined(4));
    EXPECT_FALSE(curve.joined(5));  // X = 100 is outside [-97, 97]
    curve.breaks = {0, 0, 0, 0, 1, 0};
    EXPECT_FALSE(curve.joined(4));
    curve.windowHigh = 300;
    EXPECT_TRUE(curve.joined(2));
    EXPECT_TRUE(curve.joined(3));

    // The first point at xmin (X = -100) is never joined to the second.
    const PairSpectrum edge{{7000, 0.5}, {7050, 0.5}};
    EXPECT_FALSE(projectCurve(edge, &PairPoint::energy, &PairPoint::intensity, {7000, 7200, 0, 1},
                              Pen::Black)
                     .joined(1));
}

TEST(Picking, AcceptanceSquare) {
    const std::tuple<int, int, bool> cases[] = {
        {0, 0, true},     {-96, 0, true},  {96, 0, true},     {-97, 0, false},
        {97, 0, false},   {0, 100, true},  {0, -100, true},   {0, 101, false},
        {0, -101, false}, {96, 100, true}, {-110, 110, false}};
    for (const auto& [x, y, accepted] : cases)
        EXPECT_EQ(pickAccepted(x, y), accepted) << x << "," << y;
}

TEST(Picking, EnergyOfAPick) {
    EXPECT_TRUE(near(pickedEnergy(0, 7000, 7200), 7100, 0, 1e-9));
    EXPECT_TRUE(near(pickedEnergy(-100, 7000, 7200), 7000, 0, 1e-9));
    EXPECT_TRUE(near(pickedEnergy(96, 7000, 7200), 7196, 0, 1e-9));
    EXPECT_TRUE(near(pickedEnergy(-50, 7100, 7140), 7110, 0, 1e-9));
}

TEST(Picking, PixelsMapThroughThePanelsOwnRectangle) {
    const auto centre = logicalFromPixel(110, 110, 220, 220);
    EXPECT_EQ(centre.x, 0);
    EXPECT_EQ(centre.y, 0);
    const auto corner = logicalFromPixel(0, 0, 220, 220);
    EXPECT_EQ(corner.x, -110);
    EXPECT_EQ(corner.y, 110);
    // A 440 x 110 panel: 2 pixels per unit across, half a pixel per unit down.
    const auto wide = logicalFromPixel(420, 100, 440, 110);
    EXPECT_EQ(wide.x, 100);  // (420 - 220) / 2
    EXPECT_EQ(wide.y, -90);  // (55 - 100) * 2
    const auto none = logicalFromPixel(3, 3, 0, 0);
    EXPECT_EQ(none.x, 0);
}

}  // namespace
}  // namespace zephalo::core::plot
