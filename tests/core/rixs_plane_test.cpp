#include "core/rixs/rixs_plane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <stop_token>
#include <string>
#include <vector>

#include "core/rixs/plane_texts.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core::rixs {
namespace {

using test::near;

// A work space ready for the core: two final-state components, an absorption
// correction with several segments, 801 selective XAFS points.
class PlaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(workspace.path(files::kParameters),
                        "1.25\t7112\t7020\t7065\t0.1\t0.7\t2.5\n");
        ASSERT_TRUE(workspace.write(files::kFinalState, FinalStateFunction{}));  // two components
        SelectiveXafsTable xafs;
        for (int k = 0; k < 801; ++k) {
            const double u = -20 + 0.05 * k;
            xafs.push_back({7112 + u, 0.5 + 0.3 * std::atan(u) + 0.4 / (1 + (u - 3) * (u - 3)),
                            0.4 + 0.2 * std::atan(u / 2)});
        }
        ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, xafs));
        ASSERT_TRUE(workspace.write(
            files::kConvXafsNorm, PairSpectrum{{7100, 0.1}, {7110, 0.3}, {7120, 0.9}, {7200, 1}}));
    }
    test::TempDir dir;
    Workspace workspace{dir.path()};
};

TEST_F(PlaneTest, EveryRowIsTheSpectrumTheCoreWritesAtThatExcitation) {
    std::vector<double> excitations;
    ASSERT_TRUE(planeExcitations(7100, 7130, 0.5, excitations));
    RixsPlane plane;
    std::size_t lastProgress = 0;
    PlaneHooks hooks;
    hooks.progress = [&](std::size_t done, std::size_t rows) {
        EXPECT_EQ(rows, excitations.size());
        EXPECT_EQ(done, lastProgress + 1);
        lastProgress = done;
    };
    ASSERT_TRUE(computeRixsPlane(workspace, excitations, plane, hooks));
    EXPECT_EQ(lastProgress, excitations.size());
    ASSERT_EQ(plane.excitation, excitations);
    ASSERT_EQ(plane.emission.size(), 450u);
    // Rows in different absorption segments, the first and the last.
    for (const std::size_t row :
         {std::size_t{0}, std::size_t{17}, std::size_t{33}, excitations.size() - 1}) {
        ASSERT_TRUE(calculateRixs(workspace, excitations[row]));
        QuadSpectrum written;
        ASSERT_TRUE(workspace.read(files::kCalculatedRixs, written));
        ASSERT_EQ(written.size(), plane.emission.size());
        for (std::size_t j = 0; j < written.size(); ++j) {
            EXPECT_TRUE(near(plane.emission[j], written[j].energy, 1e-6)) << j;
            EXPECT_TRUE(near(plane.at(row, j), written[j].total, 5e-6)) << row << " " << j;
        }
    }
}

// from + i·step up to `to` inclusive within rounding, or a refusal with its
// text; no energies on refusal.
struct RangeCase {
    double from, to, step;
    std::size_t count;         // 0: refused
    std::string_view refusal;  // the start of the text when refused
};
class PlaneRange : public ::testing::TestWithParam<RangeCase> {};
TEST_P(PlaneRange, CountsOrRefuses) {
    const RangeCase& c = GetParam();
    std::vector<double> out{1.0};
    const Status status = planeExcitations(c.from, c.to, c.step, out);
    if (c.count == 0) {
        ASSERT_FALSE(status);
        EXPECT_EQ(status.error().substr(0, c.refusal.size()), c.refusal);
        EXPECT_TRUE(out.empty());
        return;
    }
    ASSERT_TRUE(status) << status.error();
    ASSERT_EQ(out.size(), c.count);
    EXPECT_EQ(out.front(), c.from);
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_TRUE(near(out[i], c.from + static_cast<double>(i) * c.step, 1e-15));
    }
    EXPECT_LE(out.back(), c.to + c.step * 1e-6);
}
INSTANTIATE_TEST_SUITE_P(
    Ranges, PlaneRange,
    ::testing::Values(RangeCase{7105, 7135, 0.1, 301, {}},  // 0.1 is not exact: to still reached
                      RangeCase{0, 1, 0.3, 4, {}}, RangeCase{7100, 7101, 2, 1, {}},
                      RangeCase{1000, 5999, 1, 5000, {}},
                      RangeCase{1000, 6000, 1, 0, texts::kPlaneTooManyHead},
                      RangeCase{1000, 2000, 1e-300, 0, texts::kPlaneTooManyHead},
                      RangeCase{7135, 7105, 0.1, 0, texts::kPlaneReversed},
                      RangeCase{7105, 7105, 0.1, 0, texts::kPlaneReversed},
                      RangeCase{7105, 7135, 0, 0, texts::kPlaneStepNotPositive},
                      RangeCase{7105, 7135, -0.1, 0, texts::kPlaneStepNotPositive},
                      RangeCase{7105, NAN, 0.1, 0, texts::kPlaneNotNumbers}));

TEST_F(PlaneTest, RefusesWithoutComputing) {
    struct Case {
        std::vector<double> excitations;
        const char* removed;  // input file removed first, or nullptr
        std::string_view refusal;
    };
    const Case cases[] = {
        {{7110, 999.5, 7120}, nullptr, texts::kPlaneOutsideHead},
        {{7110, 20000.5}, nullptr, texts::kPlaneOutsideHead},
        {{7110}, files::kSelectiveForRixs.data(), texts::kMissingComputeInputs},
    };
    for (const Case& c : cases) {
        if (c.removed != nullptr) std::filesystem::remove(workspace.path(c.removed));
        RixsPlane plane;
        plane.total = {1.0};
        const Status status = computeRixsPlane(workspace, c.excitations, plane);
        ASSERT_FALSE(status);
        EXPECT_EQ(status.error().substr(0, c.refusal.size()), c.refusal) << status.error();
        EXPECT_TRUE(plane.total.empty());
        EXPECT_FALSE(workspace.exists(files::kCalculatedRixs));
    }
}

TEST_F(PlaneTest, StopSkipsTheRemainingRows) {
    std::vector<double> excitations;
    ASSERT_TRUE(planeExcitations(7100, 7130, 0.1, excitations));
    std::stop_source stop;
    std::size_t rowsSeen = 0;
    PlaneHooks hooks;
    hooks.stop = stop.get_token();
    hooks.progress = [&](std::size_t done, std::size_t) {
        rowsSeen = done;
        if (done == 3) stop.request_stop();
    };
    RixsPlane plane;
    const Status status = computeRixsPlane(workspace, excitations, plane, hooks);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error(), texts::kPlaneStopped);
    EXPECT_LT(rowsSeen, excitations.size());
    EXPECT_TRUE(plane.total.empty());
}

}  // namespace
}  // namespace zephalo::core::rixs
