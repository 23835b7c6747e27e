#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tools/average_model.h"
#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core::tools {
namespace {

using test::near;

// n points from 7000 eV in steps of 1 eV with the given intensities.
SelectiveXafsTable table(const std::vector<double>& a, const std::vector<double>& b) {
    SelectiveXafsTable points(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        points[i] = {7000.0 + static_cast<double>(i), a[i], b[i]};
    }
    return points;
}

// A work space with the working copy and its XAFS_MinMax.DAT.
struct AverageSpace {
    test::TempDir dir;
    Workspace workspace{dir.path()};

    explicit AverageSpace(const SelectiveXafsTable& points) {
        EXPECT_TRUE(workspace.write(files::kSelectiveWork, points));
        EXPECT_TRUE(workspace.write(files::kXafsMinMax, minMaxOf(points, 10000.0)));
    }
    std::string working() const { return test::readFile(dir / std::string(files::kSelectiveWork)); }
    SelectiveXafsTable read() const {
        SelectiveXafsTable points;
        EXPECT_TRUE(workspace.read(files::kSelectiveWork, points));
        return points;
    }
};

// --- The kernel ---------------------------------------------------------------

// A unit spike at distance d from the first point, all else 0: the average at
// the spike is (h + 1) / divisor.
struct DivisorCase {
    int item;
    std::size_t distance;
    double divisor;
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const DivisorCase& c, std::ostream* out) {
    *out << "kernel " << c.item << ", distance " << c.distance;
}

class Divisors : public ::testing::TestWithParam<DivisorCase> {};

TEST_P(Divisors, AtTheEndsOfTheData) {
    const auto [item, distance, divisor] = GetParam();
    const int h = kAverageHalfWidths[static_cast<std::size_t>(item)];
    std::vector<double> spike(20, 0.0);
    spike[distance] = 1.0;
    std::vector<double> mirrored(spike.rbegin(), spike.rend());
    const auto points = table(spike, mirrored);
    const auto out = averageNeighbours(points, {0, 19}, h);
    EXPECT_TRUE(near(out[distance].a, (h + 1) / divisor, 1e-14));
    // The same divisor at the same distance from the last point.
    EXPECT_TRUE(near(out[19 - distance].b, (h + 1) / divisor, 1e-14));
}

INSTANTIATE_TEST_SUITE_P(AllKernels, Divisors,
                         ::testing::Values(DivisorCase{0, 0, 6}, DivisorCase{0, 1, 8},
                                           DivisorCase{0, 2, 9}, DivisorCase{1, 0, 15},
                                           DivisorCase{1, 1, 19}, DivisorCase{1, 2, 22},
                                           DivisorCase{1, 3, 24}, DivisorCase{1, 4, 25},
                                           DivisorCase{2, 0, 36}, DivisorCase{2, 1, 43},
                                           DivisorCase{2, 2, 49}, DivisorCase{2, 3, 54},
                                           DivisorCase{2, 4, 58}, DivisorCase{2, 5, 61},
                                           DivisorCase{2, 6, 63}, DivisorCase{2, 7, 64}),
                         [](const auto& c) {
                             return "kernel" + std::to_string(c.param.item) + "_distance" +
                                    std::to_string(c.param.distance);
                         });

TEST(AverageKernel, ConstantStaysAndEnergiesStayForEveryKernelAndSize) {
    for (const int h : kAverageHalfWidths) {
        for (const std::size_t n : {1u, 3u, 8u, 40u}) {  // also fewer points than the window
            const auto points = table(std::vector<double>(n, 0.37), std::vector<double>(n, 2.5));
            const auto out = averageNeighbours(points, {0, n - 1}, h);
            ASSERT_EQ(out.size(), n);
            for (std::size_t i = 0; i < n; ++i) {
                EXPECT_TRUE(near(out[i].a, 0.37, 1e-15)) << "h " << h << " n " << n;
                EXPECT_TRUE(near(out[i].b, 2.5, 1e-15));
                EXPECT_TRUE(near(out[i].energy, points[i].energy, 0.0));
            }
        }
    }
}

TEST(AverageKernel, MiddleRangeUsesValuesAsReadAndLeavesTheRestAlone) {
    // Y = i²: the 5-point average at f inside is f² + 2·(1·1 + 2·4)/9... computed
    // directly from the weights 1 2 3 2 1 over the unaveraged values.
    std::vector<double> square(30);
    for (std::size_t i = 0; i < square.size(); ++i) square[i] = static_cast<double>(i * i);
    const auto points = table(square, square);
    const auto out = averageNeighbours(points, {10, 14}, 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i < 10 || i > 14) {
            EXPECT_TRUE(near(out[i].a, square[i], 0.0)) << i;
            continue;
        }
        const double expected = (square[i - 2] + 2 * square[i - 1] + 3 * square[i] +
                                 2 * square[i + 1] + square[i + 2]) /
                                9;
        EXPECT_TRUE(near(out[i].a, expected, 1e-14)) << i;
        EXPECT_TRUE(near(out[i].b, expected, 1e-14)) << i;
    }
}

// --- Index search ----------------------------------------------------------------

struct RangeCase {
    double start;
    double end;
    bool found;
    std::size_t first;
    std::size_t last;
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const RangeCase& c, std::ostream* out) {
    *out << c.start << ".." << c.end;
}

class Ranges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Ranges, LowerNeighbourStartsUpperNeighbourEnds) {
    const RangeCase c = GetParam();
    const auto points = table(std::vector<double>(10, 1.0), std::vector<double>(10, 1.0));
    const auto range = averageRange(points, c.start, c.end);
    ASSERT_EQ(range.has_value(), c.found);
    if (!range) return;
    EXPECT_EQ(range->first, c.first);
    EXPECT_EQ(range->last, c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, Ranges,
    ::testing::Values(RangeCase{7000, 7009, true, 0, 9}, RangeCase{7002.5, 7006.2, true, 2, 7},
                      RangeCase{7003, 7003, true, 3, 3}, RangeCase{6999, 7005, false, 0, 0},
                      RangeCase{7002, 7009.5, false, 0, 0}),
    [](const auto& c) {
        return "from_" + test::caseName(c.param.start) + "_to_" + test::caseName(c.param.end);
    });

// --- The button -------------------------------------------------------------------

TEST(AverageModelRun, OpensWithTheRangeOfTheSelectiveXafs) {
    AverageSpace space(table(std::vector<double>(5, 1.0), std::vector<double>(5, 1.0)));
    AverageModel model(space.workspace);
    const Report opened = model.open();
    EXPECT_EQ(opened.text, texts::kAverageOpenText);
    EXPECT_EQ(model.boxes().start, "7000");
    EXPECT_EQ(model.boxes().end, "7004");
    EXPECT_FALSE(model.boxes().item.has_value());
}

struct RefusalCase {
    const char* name;
    std::string start;
    std::string end;
    std::optional<int> item;
    double minMaxEnd;  // XAFS_MinMax.DAT's largest energy
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

class AverageRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(AverageRefusals, GiveTheErrorAndLeaveTheFile) {
    const RefusalCase c = GetParam();
    std::vector<double> values{1, 5, 2, 8, 3, 9, 4};
    AverageSpace space(table(values, values));
    MinMaxRecord range = minMaxOf(space.read(), 10000.0);
    range.xmax = c.minMaxEnd;
    ASSERT_TRUE(space.workspace.write(files::kXafsMinMax, range));
    const std::string before = space.working();
    AverageModel model(space.workspace);
    const Report report = model.run({c.start, c.end, c.item});
    EXPECT_FALSE(report.done);
    EXPECT_EQ(report.text, texts::kAverageErrorText);
    EXPECT_EQ(space.working(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, AverageRefusals,
    ::testing::Values(RefusalCase{"NoItem", "7000", "7006", std::nullopt, 7006},
                      RefusalCase{"StartBelowSpectrum", "6999", "7006", 0, 7006},
                      RefusalCase{"EndAboveSpectrum", "7000", "7007", 1, 7006},
                      RefusalCase{"SamePoint", "7003", "7003", 2, 7006},
                      RefusalCase{"EmptyIsZero", "", "7006", 0, 7006},
                      RefusalCase{"EndNotFound", "7000", "7008", 0, 7010}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(AverageModelRun, RewritesTheRangeAndSaysWhichIndices) {
    std::vector<double> a{1, 5, 2, 8, 3, 9, 4, 6, 0, 7};
    std::vector<double> b{2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
    const auto points = table(a, b);
    AverageSpace space(points);
    AverageModel model(space.workspace);
    std::vector<std::size_t> progress;
    const Report report = model.run({"7002.5", "7005.5", 0},
                                    [&](std::size_t i, AverageRange) { progress.push_back(i); });
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text,
              "7002.5eVから7005.5eVまでの5点平均が終了\r\nしました。\r\n使用した配列は、i=2から6"
              "までです。");
    EXPECT_EQ(progress, (std::vector<std::size_t>{2, 3, 4, 5, 6}));
    const auto out = space.read();
    const auto expected = averageNeighbours(points, {2, 6}, 2);
    ASSERT_EQ(out.size(), expected.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_TRUE(near(out[i].energy, points[i].energy, 0.0));
        EXPECT_TRUE(near(out[i].a, expected[i].a, 1e-5)) << i;  // 6 digits as written
        EXPECT_TRUE(near(out[i].b, 2.0, 1e-12));
    }
    EXPECT_TRUE(near(out[4].a, (2 + 2 * 8 + 3 * 3 + 2 * 9 + 4) / 9.0, 1e-5));
    // Pressing again smooths the result once more.
    ASSERT_TRUE(model.run({"7002.5", "7005.5", 0}).done);
    EXPECT_TRUE(near(space.read()[4].a, averageNeighbours(out, {2, 6}, 2)[4].a, 1e-5));
}

}  // namespace
}  // namespace zephalo::core::tools
