#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "core/xrf/xrf_model.h"
#include "test_support.h"

namespace zephalo::test {
namespace {

using core::Workspace;
using core::plot::Pen;
using core::xrf::XrfBoxes;
using core::xrf::XrfModel;

constexpr const char* kParameters = "RIXS_Calculation_Parameters.DAT";
constexpr const char* kFinalState = "RIXS_Calculation_Lorentz.DAT";
constexpr const char* kFinalStateTemp = "RIXS_Calculation_Lorentz_Temp.DAT";
constexpr const char* kExcitation = "Emission_Exc_Energy.DAT";
constexpr const char* kMeasured = "Exp_Non_Resonant_Emission.DAT";
constexpr const char* kMinMax = "Emission_MinMax.DAT";
constexpr const char* kModel = "Non_Resonant_Emission.DAT";
constexpr const char* kForRFactor = "Non_Resonant_Emission_for_RFactor.DAT";
constexpr const char* kRFactor = "R_Factor_XRF.DAT";

constexpr const char* kParameterText = "1.25\t7114\t7020\t7065\t0.1\t0.8\t7.9e-09\n";

// A small work space as creation, the edge step and the fluorescence import
// leave it. The measured energies are unsorted on purpose: the grid start and
// end are the extremes, the step the spacing of the first two points.
class XrfModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir / kParameters, kParameterText);
        writeFinalState(1);
        writeFile(dir / kExcitation, "7214");  // the edge step writes no line end
        writeFile(dir / kMeasured, "7045.5\t0.2\n7045.2\t0.5\n7046\t1\n7044.1\t0.1\n");
    }
    void writeFinalState(int mode) {
        writeFile(dir / kFinalState, std::to_string(mode) +
                                         "\t1.234567891\t5.78\t1.9\t1.07\t7045.123456789\t7056\t"
                                         "7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n");
    }
    std::string read(const char* name) const { return readFile(dir / name); }
    bool exists(const char* name) const { return std::filesystem::exists(dir / name); }

    TempDir dir;
    Workspace ws{dir.path()};
};

std::string loadedText(const std::string& excitation) {
    return "　蛍光X線スペクトルを読み込みました。\r\n　これを測定した励起エネルギーは" +
           excitation +
           "eVに初期\r\n設定されています。\r\n　励起エネルギーを修正後、「設定確認」して、\r\n"
           "試しに「フィット」してみて下さい。\r\n　計算結果が大きく食い違っていたらA～Dの４つの\r"
           "\n"
           "ローレンツ関数のパラメーターを調節して、あわせ\r\nこんでみて下さい。\r\n"
           "　ローレンツ関数のピーク位置は、ラジオボタンでロー\r\nレンツ関数を選択し、画面上で"
           "マウスをクリックしても\r\n設定できます。";
}

TEST_F(XrfModelTest, LoadRewritesTheGridFromTheMeasurementOnly) {
    XrfModel model(ws);
    const auto report = model.load();
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text, loadedText("7214"));

    // Values 3-5: smallest energy, largest energy, |x1 - x0|; 1, 2, 6, 7 as read.
    EXPECT_EQ(read(kParameters), "1.25\t7114\t7044.1\t7046\t0.3\t0.8\t7.9e-09\n");
    EXPECT_EQ(read(kMinMax), "7044.1\t7046\t1000\t10000\n");

    // Positions and amplitudes with 10 digits, widths and excitation with 6.
    const XrfBoxes& boxes = model.boxes();
    EXPECT_EQ(boxes.lines[0].position, "7045.123457");
    EXPECT_EQ(boxes.lines[0].width, "1.23457");
    EXPECT_EQ(boxes.lines[0].amplitude, "0.75");
    EXPECT_EQ(boxes.lines[3].position, "7060.1");
    EXPECT_EQ(boxes.lines[3].amplitude, "0.105");
    EXPECT_EQ(boxes.lines[3].width, "1.07");
    EXPECT_EQ(boxes.excitation, "7214");
    ASSERT_TRUE(model.range());
    EXPECT_EQ(model.range()->xmin, 7044.1);

    // The measurement, projected with the energy quantised to 1/50 eV first:
    // 7045.5 - 7044.1 is 69.99.../50 in doubles, so q = 69 and X = -100 + trunc(4 * 69 / 1.9)
    // = 45; likewise 7045.2 -> 13 and even the maximum 7046 -> q = 94 -> 97. Intensity 1
    // (the maximum) lies at Y = 85, 0.1 (the minimum) at Y = -95.
    const auto curves = model.curves(true);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_EQ(curves[0].pen, Pen::Red);
    EXPECT_EQ(curves[0].x, (std::vector<int>{45, 13, 97, -100}));
    EXPECT_EQ(curves[0].y[2], 85);
    EXPECT_EQ(curves[0].y[3], -95);
}

class XrfModeTest : public XrfModelTest, public ::testing::WithParamInterface<int> {};

TEST_P(XrfModeTest, LoadSetsTheComponentRadioFromTheStoredMode) {
    writeFinalState(GetParam());
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    EXPECT_EQ(model.twoComponents(), GetParam() == 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, XrfModeTest, ::testing::Values(0, 1, 2),
                         [](const auto& c) { return "mode" + std::to_string(c.param); });

struct LoadRefusal {
    const char* name;
    const char* file;         // the file to change
    const char* content;      // nullptr: remove it
    const char* messagePart;  // a part of the refusal
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const LoadRefusal& c, std::ostream* out) {
    *out << c.name;
}

class XrfLoadRefusalTest : public XrfModelTest,
                           public ::testing::WithParamInterface<LoadRefusal> {};

TEST_P(XrfLoadRefusalTest, RefusesAndChangesNothing) {
    const auto& c = GetParam();
    if (c.content)
        writeFile(dir / c.file, c.content);
    else
        std::filesystem::remove(dir / c.file);
    XrfModel model(ws);
    const auto report = model.load();
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(c.messagePart), std::string::npos) << report.text;
    EXPECT_EQ(report.text.rfind("　", 0), 0u);
    EXPECT_EQ(read(kParameters), kParameterText);
    EXPECT_FALSE(exists(kMinMax));
    EXPECT_FALSE(model.hasMeasurement());
    EXPECT_FALSE(model.range());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XrfLoadRefusalTest,
    ::testing::Values(
        LoadRefusal{"MissingSpectrum", kMeasured, nullptr, "がありません。"},
        LoadRefusal{"EmptySpectrum", kMeasured, "", "データがありません。"},
        LoadRefusal{"OnePoint", kMeasured, "7045\t1\n", "1点しかありません"},
        LoadRefusal{"SameEnergies", kMeasured, "7045\t0.5\n7045\t1\n", "エネルギーが全て 7045 eV"},
        LoadRefusal{"SameIntensities", kMeasured, "7045\t1\n7046\t1\n", "強度が全て同じ値"},
        LoadRefusal{"TextInSpectrum", kMeasured, "7045\t1\n7046\tx\n", "「x」"},
        LoadRefusal{"MissingExcitation", kExcitation, nullptr,
                    "Emission_Exc_Energy.DAT がありません"},
        LoadRefusal{"MissingFinalState", kFinalState, nullptr,
                    "RIXS_Calculation_Lorentz.DAT がありません"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(XrfModelTest, ConfirmWritesTheTypedValuesInRecordOrder) {
    XrfModel model(ws);
    XrfBoxes boxes;
    // A box holds one number; blanks around it do not count.
    boxes.lines[0] = {" 7050.5 ", "1", "2.5"};
    boxes.lines[1] = {"7051", "+0.5", "3"};
    boxes.lines[2] = {"7052", "0.25", "4e0"};
    boxes.lines[3] = {"7053", "-0.125", "5."};
    const auto report = model.confirm(boxes, false);
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(
        report.text,
        "　ローレンツ関数のパラメーターを確認しました。\r\n　「ローレンツ関数でフィット」を試みて"
        "下さい。\r\n　問題があれば、「蛍光X線の読込」をし直して\r\n下さい。以前の設定を回復できま"
        "す。");
    EXPECT_EQ(read(kFinalStateTemp),
              "0\t2.5\t3\t4\t5\t7050.5\t7051\t7052\t7053\t1\t0.5\t0.25\t-0.125\n");
    ASSERT_TRUE(model.confirm(boxes, true).done);
    EXPECT_EQ(read(kFinalStateTemp).substr(0, 2), "1\t");
}

TEST_F(XrfModelTest, ConfirmRefusesBoxesWithoutANumberAndNamesThem) {
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    XrfBoxes boxes = model.boxes();
    boxes.lines[0].position = "abc";
    boxes.lines[2].width = "";
    boxes.lines[3].amplitude = "inf";
    boxes.lines[1].width = "1x2";
    const auto report = model.confirm(boxes, true);
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("「Aのピーク位置」の値「abc」"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("「Cの線幅」の値「」"), std::string::npos);
    EXPECT_NE(report.text.find("「Dの振幅」の値「inf」"), std::string::npos);
    EXPECT_NE(report.text.find("「Bの線幅」の値「1x2」"), std::string::npos);
    EXPECT_FALSE(exists(kFinalStateTemp));
}

TEST_F(XrfModelTest, ConfirmThenStoreWithoutAFitStoresTheConfirmedValues) {
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    XrfBoxes boxes = model.boxes();
    boxes.lines[1].position = "7057.21";
    boxes.lines[2].width = "6.38";
    ASSERT_TRUE(model.confirm(boxes, false).done);
    const auto report = model.store();
    ASSERT_TRUE(report.done);
    EXPECT_EQ(report.text,
              "　これで「終状態関数」が作成できました。\r\n　「OK」をクリックしてこの画面を閉じ、"
              "「RIXSシミュレー\r\nション」を行って下さい。");
    EXPECT_EQ(read(kFinalState),
              "0\t1.23457\t5.78\t6.38\t1.07\t7045.12\t7057.21\t7058.8\t7060.1\t0.75\t0.305\t0.15\t"
              "0.105\n");
    EXPECT_EQ(read(kFinalState), read(kFinalStateTemp));
}

TEST_F(XrfModelTest, StoreWithoutAConfirmedRecordRefuses) {
    const std::string before = read(kFinalState);
    XrfModel model(ws);
    const auto report = model.store();
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("「ローレンツ関数設定確認」"), std::string::npos);
    EXPECT_EQ(read(kFinalState), before);
}

struct ClickCase {
    int x;
    int y;
    const char* position;  // nullptr: the click is ignored
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const ClickCase& c, std::ostream* out) {
    *out << "(" << c.x << ", " << c.y << ")";
}

class XrfClickTest : public XrfModelTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(XrfClickTest, PicksTheSelectedLinesPositionInsideTheSquareOnly) {
    // Range 7040 .. 7070: X = 0 is the centre 7055, each logical unit 0.15 eV.
    writeFile(dir / kMeasured, "7040\t0.5\n7040.5\t1\n7070\t0.2\n");
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    const XrfBoxes before = model.boxes();
    const auto& c = GetParam();
    const auto report = model.click(c.x, c.y, 1);
    if (!c.position) {
        EXPECT_FALSE(report);
        EXPECT_EQ(model.boxes().lines[1].position, before.lines[1].position);
        return;
    }
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->done);
    EXPECT_EQ(
        report->text,
        "　ローレンツ関数のピーク位置を修正しました。\r\n　これでよければ、「ローレンツ関数設定"
        "確認」\r\nボタンを押して下さい。ラジオボタンを選択すれば、他の\r\nローレンツ関数の"
        "ピーク位置を修正できます。");
    EXPECT_EQ(model.boxes().lines[1].position, c.position);
    EXPECT_EQ(model.boxes().lines[0].position, before.lines[0].position);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, XrfClickTest,
    ::testing::Values(ClickCase{0, 0, "7055"}, ClickCase{-96, 0, "7040.6"},
                      ClickCase{96, 100, "7069.4"},
                      ClickCase{33, -100, "7059.9"},  // 7059.95 is 7059.9499... as a double
                      ClickCase{-97, 0, nullptr}, ClickCase{97, 0, nullptr},
                      ClickCase{0, 101, nullptr}, ClickCase{0, -101, nullptr}),
    [](const auto& c) {
        return "x" + test::caseName(double(c.param.x)) + "_y" + test::caseName(double(c.param.y));
    });

TEST_F(XrfModelTest, ClickBeforeAnyLoadRefusesWithoutTheRange) {
    XrfModel model(ws);
    const auto report = model.click(0, 0, 0);
    ASSERT_TRUE(report);
    EXPECT_FALSE(report->done);
    EXPECT_NE(report->text.find("Emission_MinMax.DAT がありません"), std::string::npos);
    EXPECT_EQ(model.boxes().lines[0].position, "");
}

// R factor of four measured points against a model sharing three energies:
// pairs at 7000, 7000.5, 7001; the first two count:
// R = 100 (|0.4 - 0.5| + |1.1 - 1.0|) / (0.5 + 1.0) = 13.333...
TEST_F(XrfModelTest, RFactorByHandOnASmallCase) {
    writeFile(dir / kMeasured, "7000\t0.5\n7000.5\t1\n7001\t0.25\n7001.5\t0.8\n");
    writeFile(dir / kModel,
              "6999\t9\t9\t0\n7000\t0.4\t0.4\t0\n7000.5\t1.1\t1\t0.1\n7001\t0.3\t0."
              "3\t0\n7002\t1\t1\t0\n");
    XrfModel model(ws);
    const auto report = model.rFactor();
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text, "　R因子を計算しました。　R因子は 13.33 (%)です。");
    ASSERT_TRUE(model.lastRFactor());
    EXPECT_TRUE(near(*model.lastRFactor(), 40.0 / 3.0, 1e-12));
    EXPECT_EQ(read(kForRFactor), "7000\t0.4\n7000.5\t1.1\n");
    EXPECT_EQ(read(kRFactor), "13.3333\n");
}

// Every measured energy has a model point (m = n = 3): the first n - 1 = 2
// pairs count, so the last calculated value 100 does not:
// R = 100 (0.1 + 0.05) / (1 + 0.5) = 10.
TEST_F(XrfModelTest, RFactorWithAllEnergiesPairedUsesTheFirstNMinusOne) {
    writeFile(dir / kMeasured, "7000\t1\n7000.1\t0.5\n7000.2\t0.25\n");
    writeFile(dir / kModel,
              "6999.9\t5\t5\t0\n7000\t0.9\t0.9\t0\n7000.1\t0.55\t0.55\t0\n"
              "7000.2\t100\t100\t0\n7000.1\t7\t7\t0\n");
    XrfModel model(ws);
    const auto report = model.rFactor();
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text, "　R因子を計算しました。　R因子は 10 (%)です。");
    EXPECT_EQ(read(kForRFactor), "7000\t0.9\n7000.1\t0.55\n");
}

struct RFactorRefusal {
    const char* name;
    const char* measured;  // nullptr: no measured file
    const char* model;
    const char* messagePart;
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const RFactorRefusal& c, std::ostream* out) {
    *out << c.name;
}

class XrfRFactorRefusalTest : public XrfModelTest,
                              public ::testing::WithParamInterface<RFactorRefusal> {};

TEST_P(XrfRFactorRefusalTest, RefusesWithoutWritingItsFiles) {
    const auto& c = GetParam();
    if (c.measured)
        writeFile(dir / kMeasured, c.measured);
    else
        std::filesystem::remove(dir / kMeasured);
    writeFile(dir / kModel, c.model);
    XrfModel model(ws);
    const auto report = model.rFactor();
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(c.messagePart), std::string::npos) << report.text;
    EXPECT_FALSE(exists(kForRFactor));
    EXPECT_FALSE(exists(kRFactor));
    EXPECT_FALSE(model.lastRFactor());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XrfRFactorRefusalTest,
    ::testing::Values(
        // The seeded placeholder model shares no energy with the measurement.
        RFactorRefusal{"NoPair", "7045\t1\n7046\t0.5\n", "7000\t1\t1\t1\n", "一致する点が0点"},
        RFactorRefusal{"OnePair", "7045\t1\n7046\t0.5\n", "7046\t1\t1\t0\n", "一致する点が1点"},
        RFactorRefusal{"ZeroIntensity", "7045\t0\n7046\t1\n", "7045\t1\t1\t0\n7046\t1\t1\t0\n",
                       "合計が0"},
        RFactorRefusal{"NoMeasurement", nullptr, "7045\t1\t1\t0\n", "蛍光X線実験値読込"}),
    [](const auto& param) { return std::string(param.param.name); });

// A measured spectrum on a uniform 0.5 eV grid from a Kβ-like pair of lines,
// normalised to a maximum of 1.
std::string kbetaLikeSpectrum(double from, double to, double step) {
    std::string text;
    std::vector<std::pair<double, double>> points;
    double largest = 0.0;
    for (double e = from; e <= to + 1e-9; e += step) {
        const double y = 615.0 / (1.0 + std::pow((e - 7058.36) / 0.985, 2)) +
                         107.0 / (1.0 + std::pow((e - 7046.9) / 7.085, 2));
        points.emplace_back(e, y);
        largest = std::max(largest, y);
    }
    for (const auto& [e, y] : points) {
        text += core::formatNumber(e) + "\t" + core::formatNumber(y / largest) + "\n";
    }
    return text;
}

std::vector<std::vector<double>> records(const std::string& text, std::size_t columns) {
    std::vector<std::vector<double>> out;
    std::istringstream in(text);
    std::vector<double> record(columns);
    while (true) {
        for (auto& v : record) in >> v;
        if (!in) break;
        out.push_back(record);
    }
    return out;
}

TEST_F(XrfModelTest, FitDrawsTheScaledModelOnTheMeasuredGrid) {
    writeFile(dir / kMeasured, kbetaLikeSpectrum(7040, 7070, 0.5));
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    ASSERT_TRUE(model.confirm(model.boxes(), true).done);
    const auto report = model.fit(model.boxes().excitation);
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(
        report.text,
        "　ローレンツ関数を計算しました。これでよければ、\r\n「設定完了」をクリックして下さい。"
        "\r\n　「R因子」を計算する事もできます。（R因子の目安\r\nは5%以下）\r\n"
        "  問題があれば、再度パラメーターを調整して下さい。");

    // The model grid is the measured one, its largest total the measured maximum 1,
    // and the two components add up to the total.
    const auto measured = records(read(kMeasured), 2);
    const auto scaled = records(read(kModel), 4);
    ASSERT_EQ(scaled.size(), measured.size());
    double largest = 0.0;
    for (std::size_t i = 0; i < scaled.size(); ++i) {
        EXPECT_EQ(scaled[i][0], measured[i][0]);
        EXPECT_TRUE(near(scaled[i][1], scaled[i][2] + scaled[i][3], 1e-5));
        largest = std::max(largest, scaled[i][1]);
    }
    EXPECT_TRUE(near(largest, 1.0, 1e-6));

    // Components only while "2成分(A+BとC+D)" is checked; the total peaks at the top
    // of the panel (Y = 85), like the measurement.
    const auto both = model.curves(true);
    ASSERT_EQ(both.size(), 4u);
    EXPECT_EQ(both[0].pen, Pen::SkyBlueDotted);
    EXPECT_EQ(both[1].pen, Pen::SkyBlueDotted);
    EXPECT_EQ(both[2].pen, Pen::Blue);
    EXPECT_EQ(both[3].pen, Pen::Red);
    EXPECT_EQ(both[2].size(), measured.size());
    EXPECT_EQ(*std::max_element(both[2].y.begin(), both[2].y.end()), 85);
    const auto totalOnly = model.curves(false);
    ASSERT_EQ(totalOnly.size(), 2u);
    EXPECT_EQ(totalOnly[0].pen, Pen::Blue);
    EXPECT_EQ(totalOnly[1].pen, Pen::Red);

    // Every measured energy has a model point: m = n, and the sums run over the
    // first n - 1 points (reference: the same sums over the files, by position).
    ASSERT_TRUE(model.rFactor().done);
    const auto used = records(read(kForRFactor), 2);
    ASSERT_EQ(used.size(), measured.size() - 1);
    double difference = 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < measured.size(); ++i) {
        EXPECT_EQ(used[i][0], measured[i][0]);
        difference += std::fabs(scaled[i][1] - measured[i][1]);
        sum += measured[i][1];
    }
    EXPECT_TRUE(near(*model.lastRFactor(), 100.0 * difference / sum, 1e-12));

    // Loading again discards the model and the R factor.
    ASSERT_TRUE(model.load().done);
    EXPECT_EQ(model.curves(true).size(), 1u);
    EXPECT_FALSE(model.lastRFactor());
}

TEST_F(XrfModelTest, ARefusedReloadKeepsWhatIsShown) {
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    const std::string parameters = read(kParameters);
    const std::string range = read(kMinMax);
    // More points than a spectrum may hold.
    std::string tooMany;
    for (int i = 0; i <= 5000; ++i) tooMany += std::to_string(7000 + i) + "\t1\n";
    writeFile(dir / kMeasured, tooMany);
    const auto report = model.load();
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("5001点"), std::string::npos) << report.text;
    EXPECT_TRUE(model.hasMeasurement());
    EXPECT_EQ(model.range()->xmax, 7046.0);
    EXPECT_EQ(read(kParameters), parameters);
    EXPECT_EQ(read(kMinMax), range);
}

struct FitRefusal {
    const char* name;
    const char* excitation;
    const char* parameters;  // nullptr: as loaded
    bool confirmed;
    bool loaded;
    const char* messagePart;
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const FitRefusal& c, std::ostream* out) {
    *out << c.name;
}

class XrfFitRefusalTest : public XrfModelTest, public ::testing::WithParamInterface<FitRefusal> {};

TEST_P(XrfFitRefusalTest, RefusesWithoutAModelAndKeepsTheModelFile) {
    const auto& c = GetParam();
    writeFile(dir / kModel, "7000\t1\t1\t1\n");
    XrfModel model(ws);
    if (c.loaded) {
        ASSERT_TRUE(model.load().done);
    }
    if (c.confirmed) writeFile(dir / kFinalStateTemp, read(kFinalState));
    if (c.parameters) writeFile(dir / kParameters, c.parameters);
    const auto report = model.fit(c.excitation);
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(c.messagePart), std::string::npos) << report.text;
    EXPECT_FALSE(model.hasModel());
    EXPECT_EQ(read(kModel), "7000\t1\t1\t1\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XrfFitRefusalTest,
    ::testing::Values(
        FitRefusal{"ExcitationNotANumber", "abc", nullptr, true, true,
                   "「励起エネルギー(eV)」の値「abc」"},
        FitRefusal{"ExcitationEmpty", "", nullptr, true, true, "「励起エネルギー(eV)」の値「」"},
        FitRefusal{"ExcitationZero", "0", nullptr, true, true, "励起エネルギーが0eV"},
        FitRefusal{"ZeroStep", "7214", "1.25\t7114\t7044.1\t7046\t0\t0.8\t7.9e-09\n", true, true,
                   "刻み幅が0eV"},
        FitRefusal{"NegativeStep", "7214", "1.25\t7114\t7044.1\t7046\t-0.1\t0.8\t7.9e-09\n", true,
                   true, "刻み幅が-0.1eV"},
        FitRefusal{"NotConfirmed", "7214", nullptr, false, true, "「ローレンツ関数設定確認」"},
        FitRefusal{"NotLoaded", "7214", nullptr, true, false, "Emission_MinMax.DAT がありません"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(XrfModelTest, FirstTwoPointsAtOneEnergyGiveAZeroStepThatTheFitRefuses) {
    writeFile(dir / kMeasured, "7045\t0.5\n7045\t0.6\n7046\t1\n");
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    EXPECT_EQ(read(kParameters), "1.25\t7114\t7045\t7046\t0\t0.8\t7.9e-09\n");
    ASSERT_TRUE(model.confirm(model.boxes(), true).done);
    const auto report = model.fit("7214");
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("刻み幅が0eV"), std::string::npos) << report.text;
}

// The data a panel saves: the measured spectrum and the scaled model in eV
// and intensity, as the files hold them, in drawing order, never panel units.
TEST_F(XrfModelTest, SeriesAreTheDrawnSpectraInPhysicalUnits) {
    writeFile(dir / kMeasured, kbetaLikeSpectrum(7040, 7070, 0.5));
    XrfModel model(ws);
    ASSERT_TRUE(model.load().done);
    const auto measured = records(read(kMeasured), 2);
    const auto measuredOnly = model.series(true);
    ASSERT_EQ(measuredOnly.size(), 1u);
    ASSERT_EQ(measuredOnly[0].x.size(), measured.size());

    ASSERT_TRUE(model.confirm(model.boxes(), true).done);
    ASSERT_TRUE(model.fit(model.boxes().excitation).done);
    const auto scaled = records(read(kModel), 4);
    for (const bool two : {true, false}) {
        const auto series = model.series(two);
        ASSERT_EQ(series.size(), two ? 4u : 2u);
        // Model columns total, comp1, comp2 in the file; components first when drawn.
        const std::vector<std::size_t> columns =
            two ? std::vector<std::size_t>{2, 3, 1} : std::vector<std::size_t>{1};
        for (std::size_t k = 0; k < columns.size(); ++k) {
            ASSERT_EQ(series[k].x.size(), scaled.size());
            for (std::size_t i = 0; i < scaled.size(); ++i) {
                EXPECT_TRUE(near(series[k].x[i], scaled[i][0], 1e-6));
                EXPECT_TRUE(near(series[k].y[i], scaled[i][columns[k]], 5e-6, 1e-12));
            }
        }
        const auto& last = series.back();
        for (std::size_t i = 0; i < measured.size(); ++i) {
            EXPECT_TRUE(near(last.x[i], measured[i][0], 1e-9));
            EXPECT_TRUE(near(last.y[i], measured[i][1], 1e-9));
        }
    }
    ASSERT_TRUE(model.load().done);
    EXPECT_EQ(model.series(true).size(), 1u);
}

}  // namespace
}  // namespace zephalo::test
