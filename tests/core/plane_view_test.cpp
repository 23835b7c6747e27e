#include "core/rixs/plane_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/rixs/plane_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

// The RIXS map's view of a plane, on planes small enough to work by hand.
namespace zephalo::test {
namespace {

using core::rixs::PlaneAxis;
using core::rixs::PlaneCell;
using core::rixs::PlaneView;
using core::rixs::RixsPlane;
namespace texts = core::rixs::texts;

// ω = 10, 11, 12 eV over Ω = 20, 21 eV.
RixsPlane smallPlane() {
    return RixsPlane{{10, 11, 12}, {20, 21}, {1, 2, 3, 4, 5, 6}};
}

PlaneView viewOf(RixsPlane plane, PlaneAxis axis = PlaneAxis::Emission) {
    PlaneView view;
    view.setPlane(std::move(plane));
    view.setAxis(axis);
    return view;
}

// The image row by row, blanks as NaN.
void expectImage(const core::rixs::PlaneImage& image, std::size_t columns,
                 const std::vector<double>& values) {
    ASSERT_EQ(image.columns, columns);
    ASSERT_EQ(image.values.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::isnan(values[i])) {
            EXPECT_TRUE(std::isnan(image.values[i])) << i;
        } else {
            EXPECT_TRUE(near(image.values[i], values[i], 1e-12)) << i;
        }
    }
}

TEST(PlaneView, ImageOverEmissionIsThePlaneItself) {
    const auto image = viewOf(smallPlane()).image();
    EXPECT_EQ(image.rows, 2u);
    EXPECT_EQ(image.xFirst, 10.0);
    EXPECT_EQ(image.xLast, 12.0);
    EXPECT_EQ(image.yFirst, 20.0);
    EXPECT_EQ(image.yLast, 21.0);
    expectImage(image, 3, {1, 2, 3, 4, 5, 6});
}

TEST(PlaneView, ImageOverTransferReadsEachRowBetweenItsEmissionEnergies) {
    const double blank = std::nan("");
    // Ω − ω from 20 − 12 = 8 to 21 − 10 = 11 eV in the emission step; the
    // row at Ω = 20 has no ω = 9, the row at Ω = 21 no ω = 13.
    const auto image = viewOf(smallPlane(), PlaneAxis::Transfer).image();
    EXPECT_EQ(image.xFirst, 8.0);
    EXPECT_EQ(image.xLast, 11.0);
    expectImage(image, 4, {3, 2, 1, blank, blank, 6, 5, 4});

    // Between two emission energies the value is interpolated linearly:
    // ω = 10, 12 eV, so Ω − ω = 10 eV at Ω = 21 eV reads ω = 11 eV halfway.
    const auto coarse =
        viewOf(RixsPlane{{10, 12}, {20, 21}, {1, 3, 4, 8}}, PlaneAxis::Transfer).image();
    EXPECT_EQ(coarse.xFirst, 8.0);
    EXPECT_EQ(coarse.xLast, 12.0);
    expectImage(coarse, 3, {3, 1, blank, blank, 6, blank});
}

TEST(PlaneView, ImageOfOneRowSpansOneElectronVolt) {
    const auto image = viewOf(RixsPlane{{10, 11}, {20}, {1, 2}}).image();
    EXPECT_EQ(image.yFirst, 19.5);
    EXPECT_EQ(image.yLast, 20.5);
    EXPECT_EQ(viewOf(RixsPlane{}).image().values.size(), 0u);
}

struct CellCase {
    std::string name;
    PlaneAxis axis;
    double x;
    double omega;
    std::optional<PlaneCell> expected;
};
void PrintTo(const CellCase& c, std::ostream* out) {
    *out << c.name;
}

class CellUnderCursor : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellUnderCursor, IsTheNearestCellWithinHalfAStep) {
    const auto& c = GetParam();
    EXPECT_EQ(viewOf(smallPlane(), c.axis).cellAt(c.x, c.omega), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellUnderCursor,
    ::testing::Values(
        CellCase{"first cell", PlaneAxis::Emission, 10.4, 20.4, PlaneCell{0, 0}},
        CellCase{"last cell", PlaneAxis::Emission, 11.6, 20.6, PlaneCell{1, 2}},
        CellCase{"just inside below", PlaneAxis::Emission, 9.6, 20, PlaneCell{0, 0}},
        CellCase{"past the last emission", PlaneAxis::Emission, 12.6, 20, std::nullopt},
        CellCase{"below the first emission", PlaneAxis::Emission, 9.4, 20, std::nullopt},
        CellCase{"past the last excitation", PlaneAxis::Emission, 10, 21.6, std::nullopt},
        // In energy transfer ω is Ω of the row minus x.
        CellCase{"transfer", PlaneAxis::Transfer, 9, 21, PlaneCell{1, 2}},
        CellCase{"transfer lower row", PlaneAxis::Transfer, 9, 20.2, PlaneCell{0, 1}},
        CellCase{"transfer outside", PlaneAxis::Transfer, 7.4, 20, std::nullopt}),
    [](const auto& c) { return caseName(c.param.name); });

TEST(PlaneView, CutStartsInTheMiddleFollowsAndIsFixedByAClick) {
    PlaneView view = viewOf(smallPlane());
    EXPECT_EQ(view.cut(), (PlaneCell{1, 1}));
    EXPECT_FALSE(view.fixed());
    EXPECT_TRUE(view.follow(10, 20));
    EXPECT_EQ(view.cut(), (PlaneCell{0, 0}));
    EXPECT_FALSE(view.follow(30, 20));
    EXPECT_EQ(view.cut(), (PlaneCell{0, 0}));

    EXPECT_TRUE(view.fix(12, 21));
    EXPECT_TRUE(view.fixed());
    EXPECT_FALSE(view.follow(10, 20));
    EXPECT_FALSE(view.fix(50, 50));
    EXPECT_EQ(view.cut(), (PlaneCell{1, 2}));
    EXPECT_TRUE(view.fixed());
    view.release();
    EXPECT_TRUE(view.follow(10, 20));
    EXPECT_EQ(view.cut(), (PlaneCell{0, 0}));

    // A new plane frees the cut and centres it again.
    view.fix(12, 21);
    view.setPlane(RixsPlane{{1, 2, 3, 4}, {5, 6, 7}, std::vector<double>(12, 1.0)});
    EXPECT_EQ(view.cut(), (PlaneCell{1, 2}));
    EXPECT_FALSE(view.fixed());
    view.setPlane(RixsPlane{});
    EXPECT_EQ(view.cut(), std::nullopt);
    EXPECT_TRUE(view.spectrumCut().x.empty());
    EXPECT_TRUE(view.cursorText().empty());
    EXPECT_TRUE(view.spectrumCutSeries().empty());
    EXPECT_TRUE(view.excitationCutSeries().empty());
}

TEST(PlaneView, CutsAndTheCursorTextGoThroughTheCutCell) {
    PlaneView view = viewOf(smallPlane());
    const std::string cursor =
        std::string(texts::kCursorOmega) + "21" + std::string(texts::kCursorEmission) + "11" +
        std::string(texts::kCursorTransfer) + "10" + std::string(texts::kCursorIntensity) + "5";
    EXPECT_EQ(view.cursorText(), cursor);
    EXPECT_EQ(view.spectrumCut().x, (std::vector<double>{10, 11, 12}));
    EXPECT_EQ(view.spectrumCut().y, (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(view.excitationCut().x, (std::vector<double>{20, 21}));
    EXPECT_EQ(view.excitationCut().y, (std::vector<double>{2, 5}));

    view.setAxis(PlaneAxis::Transfer);
    EXPECT_EQ(view.spectrumCut().x, (std::vector<double>{11, 10, 9}));
    EXPECT_EQ(view.spectrumCut().y, (std::vector<double>{4, 5, 6}));
    view.fix(9, 21);
    EXPECT_EQ(view.cursorText(),
              std::string(texts::kCursorOmega) + "21" + std::string(texts::kCursorEmission) + "12" +
                  std::string(texts::kCursorTransfer) + "9" + std::string(texts::kCursorIntensity) +
                  "6" + std::string(texts::kCursorFixed));
}

TEST(PlaneView, SavedSeriesNameTheirEnergyAndAxis) {
    PlaneView view = viewOf(smallPlane(), PlaneAxis::Transfer);
    const auto plane = view.planeSeries();
    ASSERT_EQ(plane.size(), 2u);
    EXPECT_EQ(plane[1].name,
              std::string(texts::kSeriesOmegaHead) + "21" + std::string(texts::kUnitEv));
    // The plane is saved over ω whatever the axis shows.
    EXPECT_EQ(plane[1].xLabel, texts::kEmissionAxis);
    EXPECT_EQ(plane[1].x, (std::vector<double>{10, 11, 12}));
    EXPECT_EQ(plane[1].y, (std::vector<double>{4, 5, 6}));

    const auto spectrum = view.spectrumCutSeries();
    ASSERT_EQ(spectrum.size(), 1u);
    EXPECT_EQ(spectrum[0].xLabel, texts::kTransferAxis);
    EXPECT_EQ(spectrum[0].x, (std::vector<double>{11, 10, 9}));
    const auto excitation = view.excitationCutSeries();
    ASSERT_EQ(excitation.size(), 1u);
    EXPECT_EQ(excitation[0].name,
              std::string(texts::kSeriesEmissionHead) + "11" + std::string(texts::kUnitEv));
    EXPECT_EQ(excitation[0].xLabel, texts::kExcitationAxis);
    EXPECT_EQ(excitation[0].yLabel, texts::kIntensityAxis);
    EXPECT_EQ(excitation[0].y, (std::vector<double>{2, 5}));
}

struct RangeCase {
    std::string name;
    std::optional<double> measured;
    std::optional<std::string> selective;  // SelectiveXAFS_for_RIXS.DAT
    double from;
    double to;
};
void PrintTo(const RangeCase& c, std::ostream* out) {
    *out << c.name;
}

class DefaultRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(DefaultRange, OpensAroundTheMeasurementElseOverTheSelectiveXafs) {
    const auto& c = GetParam();
    TempDir dir;
    core::Workspace workspace(dir.path());
    if (c.selective) writeFile(workspace.path(core::files::kSelectiveForRixs), *c.selective);
    const auto range = core::rixs::defaultPlaneRange(workspace, c.measured);
    EXPECT_EQ(range.from, c.from);
    EXPECT_EQ(range.to, c.to);
    EXPECT_EQ(range.step, 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultRange,
    ::testing::Values(RangeCase{"measured", 7114.4, "7100.3\t1\t1\n7139.6\t1\t1\n", 7099, 7129},
                      RangeCase{"selective span", std::nullopt,
                                "7100.3\t1\t1\n7120\t1\t1\n7139.6\t1\t1\n", 7100, 7140},
                      RangeCase{"one point", std::nullopt, "7120\t1\t1\n", 7100, 7150},
                      RangeCase{"no file", std::nullopt, std::nullopt, 7100, 7150},
                      RangeCase{"unreadable", std::nullopt, "7100\tabc\n", 7100, 7150}),
    [](const auto& c) { return caseName(c.param.name); });

}  // namespace
}  // namespace zephalo::test
