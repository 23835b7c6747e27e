#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plot/series.h"
#include "core/workspace/records.h"
#include "test_support.h"

namespace zephalo::core::plot {
namespace {

using test::near;

Series make(std::string name, std::vector<double> x, std::vector<double> y) {
    return {std::move(name), std::string(energyLabel()), std::string(intensityLabel()),
            std::move(x), std::move(y)};
}

// Curves a panel may hand out: one curve, curves on different energy grids,
// a curve without points, values that need the exponent form or lose digits.
struct RoundTripCase {
    const char* label;
    std::vector<Series> series;
};

class SeriesRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SeriesRoundTrip, ReadsBackToTheCurvesToSixDigits) {
    const auto& written = GetParam().series;
    const std::string text = formatSeries(written);
    std::vector<Series> read;
    const Status status = parseSeries(text, "out.txt", read);
    ASSERT_TRUE(status) << status.error();
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t k = 0; k < written.size(); ++k) {
        EXPECT_EQ(read[k].name, written[k].name);
        EXPECT_EQ(read[k].xLabel, written[k].xLabel);
        EXPECT_EQ(read[k].yLabel, written[k].yLabel);
        ASSERT_EQ(read[k].x.size(), written[k].x.size());
        ASSERT_EQ(read[k].y.size(), written[k].y.size());
        for (std::size_t i = 0; i < written[k].x.size(); ++i) {
            EXPECT_TRUE(near(read[k].x[i], written[k].x[i], 5e-6)) << k << " " << i;
            EXPECT_TRUE(near(read[k].y[i], written[k].y[i], 5e-6)) << k << " " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SeriesRoundTrip,
    ::testing::Values(RoundTripCase{"one", {make("実験値", {7040, 7040.5, 7041}, {0.1, 0.75, 1})}},
                      RoundTripCase{"grids",
                                    {make("計算値（全体）", {7020, 7020.1, 7020.2, 7020.3},
                                          {1e-9, 2e-9, 4e-9, 1e-9}),
                                     make("実験値", {7019.87, 7021.13}, {-3.5, 1234567})}},
                      RoundTripCase{"emptyFirst",
                                    {make("補正用ピーク", {}, {}),
                                     make("選択的XAFS A", {7100.123456}, {0.305})}},
                      RoundTripCase{"none", {}}),
    [](const auto& param) { return std::string(param.param.label); });

// The layout the comment of formatSeries promises, for a reader of the file:
// a named block per curve, its own header line, TAB-separated numbers in the
// work-space format, one blank line between blocks.
TEST(SeriesText, IsOneHeadedBlockPerCurve) {
    const std::vector<Series> series{make("A", {7000, 7000.25}, {0.5, 7.9e-9}),
                                     make("B", {6999.99999}, {1e6})};
    const std::string columns = std::string(energyLabel()) + '\t' + std::string(intensityLabel());
    EXPECT_EQ(formatSeries(series), "# A\n" + columns + "\n7000\t0.5\n7000.25\t7.9e-09\n\n# B\n" +
                                        columns + "\n7000\t1e+06\n");
}

TEST(SeriesText, ReadsWindowsLineEnds) {
    std::vector<Series> read;
    ASSERT_TRUE(parseSeries("# A\r\nE\tI\r\n1\t2\r\n\r\n# B\r\nE\tI\r\n3\t4\r\n", "f", read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].name, "B");
    EXPECT_EQ(read[1].yLabel, "I");
    ASSERT_EQ(read[1].x.size(), 1u);
    EXPECT_TRUE(near(read[1].y[0], 4.0, 0.0));
}

// Texts that are not the layout: refused with the file and the line.
struct BadCase {
    const char* label;
    const char* text;
    int line;
};
class SeriesRefusal : public ::testing::TestWithParam<BadCase> {};

TEST_P(SeriesRefusal, NamesTheFileAndTheLine) {
    std::vector<Series> read{make("kept", {1}, {2})};
    const Status status = parseSeries(GetParam().text, "panel.txt", read);
    ASSERT_FALSE(status);
    EXPECT_NE(status.error().find("panel.txt"), std::string::npos) << status.error();
    EXPECT_NE(status.error().find(std::to_string(GetParam().line) + "行目"), std::string::npos)
        << status.error();
    ASSERT_EQ(read.size(), 1u);  // the output is left as it was
    EXPECT_EQ(read[0].name, "kept");
}

INSTANTIATE_TEST_SUITE_P(Cases, SeriesRefusal,
                         ::testing::Values(BadCase{"noName", "E\tI\n1\t2\n", 1},
                                           BadCase{"oneNumber", "# A\nE\tI\n1\t2\n3\n", 4},
                                           BadCase{"word", "# A\nE\tI\n1\tabc\n", 3},
                                           BadCase{"notFinite", "# A\nE\tI\n1\tnan\n", 3},
                                           BadCase{"headerWithoutTab", "# A\nEnergy\n1\t2\n", 2},
                                           BadCase{"nameAmongPoints", "# A\nE\tI\n1\t2\n# B\n", 4},
                                           BadCase{"secondBlockWithoutName",
                                                   "# A\nE\tI\n1\t2\n\nE\tI\n", 5}),
                         [](const auto& param) { return std::string(param.param.label); });

// The series of a spectrum are its records, member by member.
TEST(SeriesOf, TakesTheNamedMembers) {
    const QuadSpectrum points{{7050, 3, 1, 2}, {7050.5, 6, 2, 4}};
    const Series s = seriesOf(points, &QuadPoint::energy, &QuadPoint::comp2, "c2");
    EXPECT_EQ(s.name, "c2");
    EXPECT_EQ(s.xLabel, energyLabel());
    ASSERT_EQ(s.x.size(), 2u);
    EXPECT_TRUE(near(s.x[1], 7050.5, 0.0));
    EXPECT_TRUE(near(s.y[0], 2.0, 0.0));
    EXPECT_TRUE(near(s.y[1], 4.0, 0.0));
}

}  // namespace
}  // namespace zephalo::core::plot
