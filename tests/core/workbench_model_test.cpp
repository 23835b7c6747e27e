#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/rixs/workbench_model.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/number_text.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::test {
namespace {

using core::MinMaxRecord;
using core::PairSpectrum;
using core::QuadSpectrum;
using core::Report;
using core::SelectiveXafsTable;
using core::Workspace;
using core::plot::Pen;
using core::rixs::DisplayMode;
using core::rixs::PeakSign;
using core::rixs::WorkbenchBoxes;
using core::rixs::WorkbenchModel;
namespace texts = core::rixs::texts;

constexpr const char* kReading = "SelectiveXAFS_for_Reading.DAT";
constexpr const char* kWork = "SelectiveXAFS_for_RIXS_Temp.DAT";
constexpr const char* kWork2 = "SelectiveXAFS_for_RIXS_Temp2.DAT";
constexpr const char* kLorentz = "XAFSLorentz_Temp.DAT";
constexpr const char* kPublished = "SelectiveXAFS_for_RIXS.DAT";
constexpr const char* kWhole = "XAFS_MinMax.DAT";
constexpr const char* kWindow = "TempXAFS_MinMax.DAT";
constexpr const char* kParameters = "RIXS_Calculation_Parameters.DAT";
constexpr const char* kFinalState = "RIXS_Calculation_Lorentz.DAT";
constexpr const char* kCalculated = "Calculated_RIXS.DAT";

// The hand-made spectrum: 61 points from 7000 to 7006 eV on a 0.1 eV grid,
// A rising 0.2 -> 0.8 and B falling 0.9 -> 0.3 (0.01 per point). Scaled
// extremes over both components: Smin = 2000 (A at 7000), Smax = 9000 (B at
// 7000). In the window 7001..7002 (points 10..20): 3000 (A) to 8000 (B).
SelectiveXafsTable handSpectrum() {
    SelectiveXafsTable out;
    for (int i = 0; i <= 60; ++i) out.push_back({7000.0 + 0.1 * i, 0.2 + 0.01 * i, 0.9 - 0.01 * i});
    return out;
}

// Index of the grid point at 7003 eV, the centre of the test peaks.
constexpr std::size_t kCentre = 30;

SelectiveXafsTable readTable(const Workspace& ws, const char* name) {
    SelectiveXafsTable out;
    EXPECT_TRUE(ws.read(name, out).ok()) << name;
    return out;
}

class WorkbenchTest : public ::testing::Test {
protected:
    void SetUp() override { writeWorkspace(1); }
    void writeWorkspace(int mode) {
        writeFile(dir / kReading, core::formatRecords(handSpectrum()));
        writeFile(dir / kParameters, "1.25\t7120\t7020\t7065\t0.1\t1.5\t7.9e-09\n");
        writeFile(dir / kFinalState, std::to_string(mode) +
                                         "\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75"
                                         "\t0.305\t0.15\t0.105\n");
        writeFile(dir / kWork, "7000\t1\t1\n");  // the creation's seed
        writeFile(dir / kCalculated, "7000\t1\t1\n");
    }
    std::string read(const char* name) const { return readFile(dir / name); }
    bool exists(const char* name) const { return std::filesystem::exists(dir / name); }

    // Loads and shows the window typed into the range boxes.
    WorkbenchBoxes loadAndShow(const char* from, const char* to) {
        EXPECT_TRUE(model.load({}).done);
        WorkbenchBoxes boxes = model.boxes();
        boxes.rangeMin = from;
        boxes.rangeMax = to;
        EXPECT_TRUE(model.changeDisplay(boxes).done);
        return model.boxes();
    }
    // Peak at 7003 eV with amplitude 1.0 and width 3.0 (the reset values).
    WorkbenchBoxes showCentredPeak(DisplayMode mode, PeakSign sign) {
        WorkbenchBoxes boxes = loadAndShow("7000", "7006");
        boxes.peakCentre = "7003";
        boxes.mode = mode;
        boxes.sign = sign;
        EXPECT_TRUE(model.showPeak(boxes).done);
        return boxes;
    }

    TempDir dir;
    Workspace ws{dir.path()};
    WorkbenchModel model{ws};
};

// --- Loading --------------------------------------------------------------

TEST_F(WorkbenchTest, LoadCopiesTheSpectrumRecordsBothRangesAndFillsTheBoxes) {
    const Report report = model.load({});
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text, texts::kLoadedText);
    EXPECT_EQ(read(kWork), read(kReading));
    // Energies over all points, intensities over both components.
    EXPECT_EQ(read(kWhole), "7000\t7006\t2000\t9000\n");
    EXPECT_EQ(read(kWindow), read(kWhole));
    EXPECT_FALSE(exists(kPublished));
    const WorkbenchBoxes& boxes = model.boxes();
    EXPECT_EQ(boxes.rangeMin, "7000");
    EXPECT_EQ(boxes.rangeMax, "7006");
    EXPECT_EQ(boxes.absorption, "1.5");
    EXPECT_EQ(boxes.scaling, "7.9e-09");
    EXPECT_EQ(boxes.shift, "0");
    EXPECT_EQ(boxes.mode, DisplayMode::AB);

    // Whole range: A at 7000 (2000) at the bottom, B at 7000 (9000) at 85;
    // X = -100 + trunc(4 qx / 6) with qx = 50 (E - 7000).
    const auto curves = model.xafsCurves(DisplayMode::A);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_EQ(curves[0].pen, Pen::Red);
    EXPECT_EQ(curves[0].x[0], -100);
    EXPECT_EQ(curves[0].x[30], 0);
    EXPECT_EQ(curves[0].x[60], 100);
    EXPECT_EQ(curves[0].y[0], -95);
    EXPECT_EQ(model.xafsCurves(DisplayMode::B)[0].y[0], 85);
}

// Loading again replaces the working copy: when it held corrections that
// were never published, the message says so and names undo.
TEST_F(WorkbenchTest, LoadSaysWhenItReplacesUnpublishedCorrections) {
    const auto loaded = [&] { return model.load(model.boxes()).text; };
    EXPECT_EQ(loaded(), texts::kLoadedText);  // over the creation's seed
    EXPECT_EQ(loaded(), texts::kLoadedText);  // nothing changed since
    WorkbenchBoxes boxes = showCentredPeak(DisplayMode::A, PeakSign::Add);
    ASSERT_TRUE(model.applyCorrection(boxes).done);
    ASSERT_TRUE(model.storeCorrection(model.boxes()).done);
    EXPECT_EQ(loaded(), std::string(texts::kLoadedText) + std::string(texts::kUnpublishedReplaced));
    EXPECT_EQ(read(kWork), read(kReading));  // replaced all the same
    // Published by "修正終了！" first: nothing is lost.
    boxes = showCentredPeak(DisplayMode::A, PeakSign::Add);
    ASSERT_TRUE(model.applyCorrection(boxes).done);
    ASSERT_TRUE(model.storeCorrection(model.boxes()).done);
    ASSERT_TRUE(model.finish(model.boxes()).done);
    EXPECT_EQ(loaded(), texts::kLoadedText);
}

TEST_F(WorkbenchTest, LoadChecksABForTwoComponentsAndAOtherwise) {
    for (const auto& [flag, expected] :
         {std::pair{1, DisplayMode::AB}, std::pair{0, DisplayMode::A},
          std::pair{2, DisplayMode::A}}) {
        writeWorkspace(flag);
        WorkbenchBoxes typed;
        typed.mode = DisplayMode::B;
        ASSERT_TRUE(model.load(typed).done);
        EXPECT_EQ(model.boxes().mode, expected) << flag;
    }
    std::filesystem::remove(dir / kFinalState);
    ASSERT_TRUE(model.load({}).done);
    EXPECT_EQ(model.boxes().mode, DisplayMode::A);
}

TEST_F(WorkbenchTest, PanelCurvesFollowTheCheckedMode) {
    showCentredPeak(DisplayMode::AB, PeakSign::Add);
    const std::vector<std::pair<DisplayMode, std::vector<Pen>>> cases{
        {DisplayMode::None, {Pen::Red, Pen::Pink}},
        {DisplayMode::A, {Pen::Red, Pen::Pink}},
        {DisplayMode::B, {Pen::Blue, Pen::Pink}},
        {DisplayMode::AB, {Pen::Blue, Pen::Red, Pen::Pink}}};
    for (const auto& [mode, pens] : cases) {
        std::vector<Pen> drawn;
        for (const auto& curve : model.xafsCurves(mode)) drawn.push_back(curve.pen);
        EXPECT_EQ(drawn, pens) << static_cast<int>(mode);
    }
    EXPECT_EQ(model.xafsCurves(DisplayMode::A).back().windowLow, -90);
    EXPECT_TRUE(model.theoryCurves(true).empty());
    EXPECT_TRUE(model.experimentCurves(true).empty());
}

// --- The state table: which files each operation writes --------------------

TEST_F(WorkbenchTest, EachOperationWritesExactlyItsFiles) {
    using Operation = std::function<Report(WorkbenchModel&, WorkbenchBoxes&)>;
    struct Row {
        const char* name;
        Operation run;
        std::set<std::string> written;
    };
    const std::vector<Row> table{
        {"load", [](auto& m, auto&) { return m.load({}); }, {kWork, kWhole, kWindow}},
        {"display",
         [](auto& m, auto& b) {
             b.rangeMin = "7001";
             b.rangeMax = "7002";
             return m.changeDisplay(b);
         },
         {kWindow}},
        {"pick", [](auto& m, auto& b) { return *m.pick(0, 0, b); }, {}},
        {"peak", [](auto& m, auto& b) { return m.showPeak(b); }, {kLorentz}},
        {"apply", [](auto& m, auto& b) { return m.applyCorrection(b); }, {kWork2}},
        {"store", [](auto& m, auto& b) { return m.storeCorrection(b); }, {kWork}},
        {"refresh", [](auto& m, auto& b) { return m.refresh(b); }, {kWork, kWhole, kWindow}},
        {"finish", [](auto& m, auto& b) { return m.finish(b); }, {kPublished, kWhole, kWindow}},
        {"clear", [](auto& m, auto& b) { return m.clear(b); }, {}},
    };
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    WorkbenchBoxes boxes;
    for (const auto& row : table) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::last_write_time(entry.path(), old);
        const Report report = row.run(model, boxes);
        ASSERT_TRUE(report.done) << row.name << ": " << report.text;
        boxes = model.boxes();
        std::set<std::string> written;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (std::filesystem::last_write_time(entry.path()) > old + std::chrono::minutes(30))
                written.insert(entry.path().filename().string());
        }
        EXPECT_EQ(written, row.written) << row.name;
    }
    EXPECT_FALSE(model.hasXafs());
}

// --- Display change ---------------------------------------------------------

TEST_F(WorkbenchTest, DisplayChangeTakesTheWindowsRangeAndResetsThePeakBoxes) {
    ASSERT_TRUE(model.load({}).done);
    WorkbenchBoxes typed = model.boxes();
    typed.rangeMin = "7001";
    typed.rangeMax = "7002";
    typed.peakAmplitude = "5";
    typed.peakWidth = "0.5";
    typed.sign = PeakSign::Subtract;
    const Report report = model.changeDisplay(typed);
    ASSERT_TRUE(report.done);
    EXPECT_EQ(report.text, texts::kDisplayChangedText);
    // The intensities inside the window only; XAFS_MinMax.DAT keeps the whole.
    EXPECT_EQ(read(kWindow), "7001\t7002\t3000\t8000\n");
    EXPECT_EQ(read(kWhole), "7000\t7006\t2000\t9000\n");
    EXPECT_EQ(model.boxes().peakAmplitude, "1.0");
    EXPECT_EQ(model.boxes().peakWidth, "3.0");
    EXPECT_EQ(model.boxes().sign, PeakSign::Add);
    // Points outside the window lie beyond the box.
    const auto curve = model.xafsCurves(DisplayMode::A)[0];
    EXPECT_EQ(curve.x[10], -100);
    EXPECT_EQ(curve.x[20], 100);
    EXPECT_LT(curve.x[0], -100);
    EXPECT_GT(curve.x[60], 100);

    // The same window again resets the boxes again.
    typed = model.boxes();
    typed.peakAmplitude = "2";
    typed.sign = PeakSign::None;
    ASSERT_TRUE(model.changeDisplay(typed).done);
    EXPECT_EQ(model.boxes().peakAmplitude, "1.0");
    EXPECT_EQ(model.boxes().sign, PeakSign::Add);
}

TEST_F(WorkbenchTest, DisplayChangeRejectsEmptyReversedAndOutsideWindows) {
    struct Case {
        const char* from;
        const char* to;
        bool accepted;
    };
    const Case cases[] = {{"7003", "7003", false},   {"7004", "7002", false},
                          {"6999.9", "7006", false}, {"7000", "7006.1", false},
                          {"", "7006", false},       {"7000", "7006", true},
                          {"7005.9", "7006", true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(model.load({}).done);
        WorkbenchBoxes typed = model.boxes();
        typed.rangeMin = c.from;
        typed.rangeMax = c.to;
        typed.peakAmplitude = "5";
        const std::string before = read(kWindow);
        const Report report = model.changeDisplay(typed);
        EXPECT_EQ(report.done, c.accepted) << c.from << ".." << c.to;
        EXPECT_EQ(model.hasXafs(), c.accepted) << c.from << ".." << c.to;
        if (c.accepted) continue;
        EXPECT_EQ(report.text, texts::kWindowRejectedText);
        EXPECT_EQ(read(kWindow), before);
        EXPECT_EQ(model.boxes().peakAmplitude, "5");
    }
}

// --- Pick ---------------------------------------------------------------------

TEST_F(WorkbenchTest, PickPutsTheEnergyInBothBoxesAndIgnoresOtherClicks) {
    WorkbenchBoxes typed;
    EXPECT_FALSE(model.pick(0, 0, typed).has_value());  // nothing loaded yet
    writeFile(dir / kWindow, "1e+08\t0\t1e+08\t0\n");   // an empty spectrum's window
    EXPECT_FALSE(model.pick(0, 0, typed).has_value());

    typed = loadAndShow("7001", "7002");
    const struct {
        int x, y;
        std::optional<std::string> energy;
    } cases[] = {{0, 0, "7001.5"},
                 {-100 + 20, 50, "7001.1"},
                 {96, -100, "7002"},
                 {97, 0, std::nullopt},
                 {0, 101, std::nullopt}};
    for (const auto& c : cases) {
        const auto report = model.pick(c.x, c.y, typed);
        ASSERT_EQ(report.has_value(), c.energy.has_value()) << c.x << "," << c.y;
        if (!report) continue;
        EXPECT_EQ(model.boxes().peakCentre, *c.energy);
        EXPECT_EQ(model.boxes().excitation, *c.energy);
        EXPECT_EQ(report->text,
                  std::string(texts::kPickedHead) + *c.energy + std::string(texts::kPickedTail));
    }
}

// --- Correction peak and its application -----------------------------------------

TEST_F(WorkbenchTest, ApplyAddsOrSubtractsThePeakInTheCheckedComponents) {
    struct Case {
        DisplayMode mode;
        PeakSign sign;
        double da;  // multiples of the peak added to A and to B
        double db;
    };
    const Case cases[] = {
        {DisplayMode::A, PeakSign::Add, 1, 0},  {DisplayMode::A, PeakSign::Subtract, -1, 0},
        {DisplayMode::B, PeakSign::Add, 0, 1},  {DisplayMode::AB, PeakSign::Subtract, -1, -1},
        {DisplayMode::AB, PeakSign::Add, 1, 1}, {DisplayMode::None, PeakSign::None, 1, 0}};
    const SelectiveXafsTable original = readTable(ws, kReading);
    for (const auto& c : cases) {
        const WorkbenchBoxes boxes = showCentredPeak(c.mode, c.sign);
        const Report report = model.applyCorrection(boxes);
        ASSERT_TRUE(report.done);
        EXPECT_EQ(report.text, texts::kCorrectedText);
        const SelectiveXafsTable corrected = readTable(ws, kWork2);
        ASSERT_EQ(corrected.size(), original.size());
        for (std::size_t i : {std::size_t{0}, kCentre}) {
            const double l = i == kCentre ? 1.0 / 9.0 : 1.0 / 18.0;
            EXPECT_TRUE(near(corrected[i].a, original[i].a + c.da * l, 1e-5))
                << static_cast<int>(c.mode) << " point " << i;
            EXPECT_TRUE(near(corrected[i].b, original[i].b + c.db * l, 1e-5))
                << static_cast<int>(c.mode) << " point " << i;
        }
        // The working copy is not touched and the peak and RIXS panels are gone.
        EXPECT_EQ(read(kWork), read(kReading));
        EXPECT_EQ(model.xafsCurves(DisplayMode::A).size(), 1u);
    }
}

TEST_F(WorkbenchTest, CorrectionsPileUpOnlyWhenStored) {
    const WorkbenchBoxes boxes = showCentredPeak(DisplayMode::A, PeakSign::Add);
    // Nothing to store yet: refused, the working copy stays.
    EXPECT_FALSE(model.storeCorrection(boxes).done);
    EXPECT_EQ(read(kWork), read(kReading));
    ASSERT_TRUE(model.applyCorrection(boxes).done);
    const std::string once = read(kWork2);
    ASSERT_TRUE(model.applyCorrection(boxes).done);
    EXPECT_EQ(read(kWork2), once);

    const Report stored = model.storeCorrection(boxes);
    ASSERT_TRUE(stored.done);
    EXPECT_EQ(stored.text, texts::kStoredText);
    EXPECT_EQ(read(kWork), once);
    ASSERT_TRUE(model.applyCorrection(boxes).done);
    const SelectiveXafsTable twice = readTable(ws, kWork2);
    const SelectiveXafsTable original = readTable(ws, kReading);
    EXPECT_TRUE(near(twice[kCentre].a, original[kCentre].a + 2.0 / 9.0, 1e-5));
    EXPECT_TRUE(near(twice[0].a, original[0].a + 2.0 / 18.0, 1e-5));
    EXPECT_TRUE(near(twice[kCentre].b, original[kCentre].b, 1e-6));
}

TEST_F(WorkbenchTest, ThePeakUsesTheStoredScaleWidenedByTheWorkingCopy) {
    // Window 7001..7002 holds 3000..8000. The peak at 7001.5 (L = 1/9, trunc
    // 1111) on a stored scale 0..20000: -95 + trunc(180 1111 / 20000) = -86;
    // a stored 5000..6000 widens to 3000..8000: -95 + trunc(180 (1111 - 3000) / 5000).
    const struct {
        const char* stored;
        int expected;
    } cases[] = {{"7001\t7002\t0\t20000\n", -86}, {"7001\t7002\t5000\t6000\n", -163}};
    for (const auto& c : cases) {
        WorkbenchBoxes boxes = loadAndShow("7001", "7002");
        writeFile(dir / kWindow, c.stored);
        boxes.peakCentre = "7001.5";
        ASSERT_TRUE(model.showPeak(boxes).done);
        const auto peak = model.xafsCurves(DisplayMode::A).back();
        ASSERT_EQ(peak.pen, Pen::Pink);
        EXPECT_EQ(peak.y[15], c.expected) << c.stored;
        EXPECT_EQ(peak.x[15], 0);
    }
}

TEST_F(WorkbenchTest, AnOffScalePeakIsDrawnWithAGapNotFlattened) {
    // Width 0.2: L = 25 at the centre, far above Smax = 9000 / 10000. The
    // flanks rise through the panel between about 1.0 and 2.2 eV from it.
    WorkbenchBoxes boxes = loadAndShow("7000", "7006");
    boxes.peakCentre = "7003";
    boxes.peakWidth = "0.2";
    ASSERT_TRUE(model.showPeak(boxes).done);
    const auto curves = model.xafsCurves(DisplayMode::A);
    ASSERT_EQ(curves.back().pen, Pen::Pink);
    const auto& peak = curves.back();
    ASSERT_EQ(peak.size(), 61u);
    int left = 0, right = 0;
    for (std::size_t i = 1; i < peak.size(); ++i) {
        if (!peak.joined(i)) continue;
        if (i <= 20)
            ++left;
        else if (i >= 41)
            ++right;
        else
            ADD_FAILURE() << "segment " << i << " joined over the off-scale top";
    }
    EXPECT_GT(left, 3);
    EXPECT_GT(right, 3);
    EXPECT_GT(peak.y[kCentre], 95);
    // The segment leaving an off-scale point carries a break mark.
    EXPECT_EQ(peak.breaks[kCentre + 1], 1);
    EXPECT_EQ(peak.breaks[5], 0);
}

TEST_F(WorkbenchTest, AStoredWindowOutsideTheSpectrumShowsNoPeakAndKeepsTheMessage) {
    WorkbenchBoxes boxes = loadAndShow("7000", "7006");
    boxes.rangeMin = "7004";
    boxes.rangeMax = "7002";
    ASSERT_TRUE(model.refresh(boxes).done);
    EXPECT_EQ(read(kWindow), "7004\t7002\t2000\t9000\n");  // reversed, as typed
    const Report report = model.showPeak(boxes);
    EXPECT_FALSE(report.done);
    EXPECT_EQ(report.text, texts::kRefreshedText);
    EXPECT_FALSE(exists(kLorentz));
    EXPECT_EQ(model.xafsCurves(DisplayMode::A).back().pen, Pen::Red);
}

// --- Refresh and finish -----------------------------------------------------------

TEST_F(WorkbenchTest, FinishAfterLoadPublishesTheSpectrumAtSixDigits) {
    writeFile(dir / kReading,
              "7000\t0.123456789\t0.5\n7000.1\t0.987654321\t1.00000049\n"
              "7000.2\t0.25\t0.75\n");
    ASSERT_TRUE(model.load({}).done);
    const Report report = model.finish(model.boxes());
    ASSERT_TRUE(report.done);
    EXPECT_EQ(report.text, texts::kFinishedText);
    EXPECT_EQ(read(kPublished), "7000\t0.123457\t0.5\n7000.1\t0.987654\t1\n7000.2\t0.25\t0.75\n");
    EXPECT_EQ(read(kWhole), "7000\t7000.2\t1234.57\t10000\n");
    EXPECT_EQ(read(kWindow), read(kWhole));
    EXPECT_TRUE(model.hasXafs());
}

TEST_F(WorkbenchTest, RefreshStoresTheRangeBoxesWithTheWholeIntensityRange) {
    WorkbenchBoxes boxes = loadAndShow("7001", "7002");
    ASSERT_TRUE(model.refresh(boxes).done);
    EXPECT_EQ(read(kWindow), "7001\t7002\t2000\t9000\n");
    EXPECT_EQ(read(kWork), read(kReading));
    // The boxes a front end without a dialog rebuilds: as loading fills them,
    // with the stored window.
    WorkbenchBoxes expected;
    expected.rangeMin = "7001";
    expected.rangeMax = "7002";
    expected.peakAmplitude = "1.0";
    expected.peakWidth = "3.0";
    expected.absorption = "1.5";
    expected.scaling = "7.9e-09";
    expected.shift = "0";
    expected.mode = DisplayMode::AB;
    expected.sign = PeakSign::Add;
    WorkbenchBoxes stored;
    ASSERT_TRUE(core::rixs::storedBoxes(ws, stored).ok());
    EXPECT_EQ(stored, expected);
}

// --- Degenerate and bad input -----------------------------------------------------

TEST_F(WorkbenchTest, DegenerateRangesWriteTheFilesButDrawNothing) {
    struct Case {
        const char* spectrum;
        std::string_view why;
        const char* whole;
    };
    const Case cases[] = {
        {"7000\t0.5\t0.2\n", texts::kNoCurveEnergyWindow, "7000\t7000\t2000\t5000\n"},
        {"7000\t0.5\t0.2\n7000\t0.6\t0.1\n", texts::kNoCurveEnergyWindow,
         "7000\t7000\t1000\t6000\n"},
        {"7000\t0.5\t0.5\n7000.1\t0.5\t0.5\n", texts::kNoCurveFlat, "7000\t7000.1\t5000\t5000\n"},
        {"", "", "1e+08\t0\t1e+08\t0\n"}};
    for (const auto& c : cases) {
        writeFile(dir / kReading, c.spectrum);
        writeFile(dir / kWork, "7000\t1\t1\n");  // the creation's seed: nothing to lose
        const Report report = model.load({});
        ASSERT_TRUE(report.done);
        EXPECT_EQ(report.text, std::string(texts::kLoadedText) + std::string(c.why));
        EXPECT_EQ(read(kWhole), c.whole);
        EXPECT_EQ(read(kWork), c.spectrum);
        EXPECT_FALSE(model.hasXafs());
        EXPECT_TRUE(model.xafsCurves(DisplayMode::AB).empty() ||
                    model.xafsCurves(DisplayMode::AB)[0].size() == 0);
    }
    // Equal range boxes in "さらに修正": files as typed, no curve.
    writeFile(dir / kReading, core::formatRecords(handSpectrum()));
    ASSERT_TRUE(model.load({}).done);
    WorkbenchBoxes boxes = model.boxes();
    boxes.rangeMax = boxes.rangeMin;
    const Report refreshed = model.refresh(boxes);
    ASSERT_TRUE(refreshed.done);
    EXPECT_EQ(refreshed.text,
              std::string(texts::kRefreshedText) + std::string(texts::kNoCurveEnergyWindow));
    EXPECT_EQ(read(kWindow), "7000\t7000\t2000\t9000\n");
    EXPECT_FALSE(model.hasXafs());

    // Width 0 with the centre on a point: refused, no peak file. Off the grid
    // it is a finite, very narrow peak.
    boxes = loadAndShow("7000", "7006");
    boxes.peakCentre = "7003";
    boxes.peakWidth = "0";
    const Report zero = model.showPeak(boxes);
    EXPECT_FALSE(zero.done);
    EXPECT_NE(zero.text.find("「幅」"), std::string::npos) << zero.text;
    EXPECT_FALSE(exists(kLorentz));
    boxes.peakCentre = "7003.05";
    EXPECT_TRUE(model.showPeak(boxes).done);
}

TEST_F(WorkbenchTest, UnreadableRecordFilesAreRefusedWithNothingWritten) {
    struct Case {
        const char* file;
        std::string text;
        std::function<Report(WorkbenchModel&)> run;
        const char* expected;  // part of the refusal
    };
    std::string tooMany;
    for (int i = 0; i < 5001; ++i) tooMany += std::to_string(7000 + i) + "\t0.5\t0.5\n";
    const std::vector<Case> cases{
        {kReading, "7000\t0.5\t0.5\n7000.1\tx\t0.5\n", [](auto& m) { return m.load({}); }, "2行目"},
        {kReading, tooMany, [](auto& m) { return m.load({}); }, "5000"},
        {kWork, "7000\t0.5\t0.5\n7000.1\t0.5\n", [](auto& m) { return m.finish(m.boxes()); },
         kWork},
        {kLorentz, "7000\tnan\n", [](auto& m) { return m.applyCorrection(m.boxes()); }, kLorentz}};
    for (const auto& c : cases) {
        writeWorkspace(1);
        ASSERT_TRUE(model.load({}).done);
        ASSERT_TRUE(model.finish(model.boxes()).done);
        std::map<std::string, std::string> before;
        writeFile(dir / c.file, c.text);
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            before[entry.path().filename().string()] = readFile(entry.path());
        const Report report = c.run(model);
        EXPECT_FALSE(report.done) << c.file;
        EXPECT_NE(report.text.find(c.expected), std::string::npos) << report.text;
        std::map<std::string, std::string> after;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            after[entry.path().filename().string()] = readFile(entry.path());
        EXPECT_EQ(after, before) << c.file;
    }
}

TEST_F(WorkbenchTest, TheCalculatedSeedReadsAsNoSpectrum) {
    const struct {
        const char* text;
        std::optional<std::size_t> records;
    } cases[] = {{"7000\t1\t1\n", 0},
                 {"7000\t1\t0.5\t0.5\n7000.1\t2\t1\t1\n", 2},
                 {"7000\t1\t1\t1\t1\n", std::nullopt},
                 {"7000\t1\t1\n7000.1\t1\t1\n", std::nullopt}};
    for (const auto& c : cases) {
        writeFile(dir / kCalculated, c.text);
        QuadSpectrum spectrum{{1, 2, 3, 4}};
        const auto status = core::rixs::readCalculatedRixs(ws, spectrum);
        ASSERT_EQ(status.ok(), c.records.has_value()) << c.text;
        if (c.records) {
            EXPECT_EQ(spectrum.size(), *c.records) << c.text;
        }
    }
}

// The stored window is under the selective XAFS panel while it shows a
// spectrum; the final-state flag is read anew each time.
TEST_F(WorkbenchTest, XafsSpanAndTheComponentFlagAreReadFromTheWorkSpace) {
    EXPECT_EQ(model.xafsSpan(), std::nullopt);
    ASSERT_TRUE(model.load({}).done);
    EXPECT_EQ(model.xafsSpan(), (core::rixs::EnergySpan{7000, 7006}));
    writeFile(dir / kWindow, "7001\t7002\t3000\t8000\n");
    EXPECT_EQ(model.xafsSpan(), (core::rixs::EnergySpan{7001, 7002}));
    ASSERT_TRUE(model.clear({}).done);
    EXPECT_EQ(model.xafsSpan(), std::nullopt);

    for (int mode : {1, 0}) {
        writeWorkspace(mode);
        EXPECT_EQ(model.twoComponents(), mode == 1);
    }
    std::filesystem::remove(dir / kFinalState);
    EXPECT_FALSE(model.twoComponents());
}

}  // namespace
}  // namespace zephalo::test
