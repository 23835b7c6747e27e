#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/rixs/workbench_model.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

// The workbench's RIXS half: computation and theory panel, comparison with
// the measured spectrum, energy shift and the two saves.
namespace zephalo::test {
namespace {

using core::MinMaxRecord;
using core::PairSpectrum;
using core::QuadSpectrum;
using core::Report;
using core::SelectiveXafsTable;
using core::Workspace;
using core::rixs::WorkbenchBoxes;
using core::rixs::WorkbenchModel;
namespace files = core::files;
namespace texts = core::rixs::texts;

// Points on a grid: energies start + step * i, intensities from `value(i)`.
template <class Value>
PairSpectrum pairs(double start, double step, int count, Value value) {
    PairSpectrum out;
    for (int i = 0; i < count; ++i) out.push_back({start + step * i, value(i)});
    return out;
}
template <class Value>
QuadSpectrum quads(double start, double step, int count, Value value) {
    QuadSpectrum out;
    for (int i = 0; i < count; ++i) {
        const double v = value(i);
        out.push_back({start + step * i, v, 0.6 * v, 0.4 * v});
    }
    return out;
}

// A work space ready for the computation: a two-component selective XAFS on
// 7100..7120 eV, an absorption-correction XAFS, the seeded parameters (grid
// 7020..7065 eV in 0.1 eV steps) and final-state function.
class WorkbenchRixsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ws.write(files::kParameters, core::CalculationParameters{}));
        ASSERT_TRUE(ws.write(files::kFinalState, core::FinalStateFunction{}));
        SelectiveXafsTable xafs;
        for (int k = 0; k <= 40; ++k) {
            xafs.push_back({7100.0 + 0.5 * k, 0.2 + 0.02 * k, 0.5 - 0.01 * k});
        }
        ASSERT_TRUE(ws.write(files::kSelectiveForRixs, xafs));
        ASSERT_TRUE(
            ws.write(files::kConvXafsNorm, PairSpectrum{{7090, 0.1}, {7110, 0.5}, {7130, 1.0}}));
        boxes.excitation = "7112";
        boxes.scaling = "7.9e-09";
        boxes.absorption = "1";
    }
    std::string text(std::string_view name) const { return readFile(ws.path(name)); }
    template <class Table>
    Table table(std::string_view name) const {
        Table out;
        EXPECT_TRUE(ws.read(name, out)) << name;
        return out;
    }
    MinMaxRecord record(std::string_view name) const {
        MinMaxRecord out;
        EXPECT_TRUE(ws.read(name, out)) << name;
        return out;
    }
    void writeExperiment(const PairSpectrum& points) {
        ASSERT_TRUE(ws.write(files::kRixsExperiment, points));
        ASSERT_TRUE(ws.write(files::kRixsExperimentMinMax, core::minMaxOf(points, 20000.0)));
    }

    TempDir dir;
    Workspace ws{dir.path()};
    WorkbenchModel model{ws};
    WorkbenchBoxes boxes;
};

// --- RIXS計算実行 -----------------------------------------------------------

TEST_F(WorkbenchRixsTest, ExcitationOutsideTheAcceptedRangeRunsAt7150WithTheWarning) {
    boxes.excitation = "7150";
    ASSERT_TRUE(model.compute(boxes).done);
    const std::string at7150 = text(files::kCalculatedRixs);
    struct Case {
        const char* typed;
        bool accepted;
    };
    for (const Case& c :
         {Case{"1000", true}, Case{"20000", true}, Case{" 7114 ", true}, Case{"999.99", false},
          Case{"20000.01", false}, Case{"", false}, Case{"  ", false}}) {
        boxes.excitation = c.typed;
        const Report report = model.compute(boxes);
        ASSERT_TRUE(report.done) << c.typed << ": " << report.text;
        // The RIXS map marks the measured Ω by the same rule.
        EXPECT_EQ(WorkbenchModel::measuredExcitation(boxes).has_value(), c.accepted) << c.typed;
        if (c.accepted) {
            // The text exactly as typed names the energy used.
            EXPECT_TRUE(
                contains(report.text, std::string("用いた励起エネルギーは") + c.typed + "eVです。"))
                << c.typed;
            EXPECT_NE(text(files::kCalculatedRixs), at7150) << c.typed;
        } else {
            EXPECT_TRUE(contains(report.text, "デフォルト値7150eVで計算しました")) << c.typed;
            EXPECT_EQ(text(files::kCalculatedRixs), at7150) << c.typed;
            EXPECT_EQ(model.boxes().excitation, c.typed);
        }
    }
}

TEST_F(WorkbenchRixsTest, TheoryPanelPutsTheLargestTotalAt85OnAHundredthEvGrid) {
    ASSERT_TRUE(model.compute(boxes).done);
    const auto points = table<QuadSpectrum>(files::kCalculatedRixs);
    ASSERT_EQ(points.size(), 450u);
    const auto curves = model.theoryCurves(true);
    ASSERT_EQ(curves.size(), 3u);  // component 1, component 2, total
    EXPECT_EQ(curves[0].pen, core::plot::Pen::SkyBlueDotted);
    EXPECT_EQ(curves[2].pen, core::plot::Pen::Blue);
    ASSERT_EQ(model.theoryCurves(false).size(), 1u);
    const auto& total = curves[2];
    ASSERT_EQ(total.size(), points.size());

    // Independent evaluation of the panel rule: X = -100 + trunc(2 a / Δω)
    // with a = trunc(100 (ω - ωmin)); T = trunc(30000 total q), q = 1000 / M,
    // Y = -95 + trunc(180 (T - m q) / (M q - m q)).
    double largest = 0.0, smallest = 1e8;
    for (const auto& p : points) {
        largest = std::max(largest, 30000.0 * p.total);
        smallest = std::min(smallest, 30000.0 * p.total);
    }
    const double q = 1000.0 / largest;
    const double span = points.back().energy - points.front().energy;
    int top = -1000;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const double a = std::trunc(100.0 * (points[k].energy - points.front().energy));
        EXPECT_EQ(total.x[k], -100 + static_cast<int>(std::trunc(2.0 * a / span))) << k;
        const double t = std::trunc(30000.0 * points[k].total * q);
        EXPECT_EQ(total.y[k], -95 + static_cast<int>(std::trunc(180.0 * (t - smallest * q) /
                                                                (1000.0 - smallest * q))))
            << k;
        top = std::max(top, total.y[k]);
    }
    EXPECT_EQ(total.x.front(), -100);
    EXPECT_EQ(top, 85);
}

TEST_F(WorkbenchRixsTest, FactorBoxesAreStoredAndAnEmptyScalingDrawsNoCurve) {
    struct Case {
        const char* scaling;
        const char* absorption;
        const char* storedTail;  // parameters 6 and 7 as written
        bool drawn;
    };
    for (const Case& c :
         {Case{"6.8e-09", "0.5", "\t0.5\t6.8e-09\n", true}, Case{"", "2", "\t2\t0\n", false},
          Case{" 1e-8 ", "", "\t0\t1e-08\n", true}}) {
        boxes.scaling = c.scaling;
        boxes.absorption = c.absorption;
        const Report report = model.compute(boxes);
        ASSERT_TRUE(report.done) << report.text;
        const std::string parameters = text(files::kParameters);
        EXPECT_EQ(parameters.substr(parameters.size() - std::string(c.storedTail).size()),
                  c.storedTail);
        EXPECT_EQ(contains(report.text, texts::kNoTheoryZero), !c.drawn) << c.scaling;
        const auto curves = model.theoryCurves(false);
        ASSERT_EQ(curves.size(), 1u);
        EXPECT_EQ(curves[0].size() > 0, c.drawn) << c.scaling;
    }
    // Scaling 0: the core's spectrum is zero everywhere and still written.
    boxes.scaling = "";
    ASSERT_TRUE(model.compute(boxes).done);
    for (const auto& p : table<QuadSpectrum>(files::kCalculatedRixs)) EXPECT_EQ(p.total, 0.0);
}

TEST_F(WorkbenchRixsTest, WithAnExperimentShownTheComparisonMessageReplacesTheComputation) {
    ASSERT_TRUE(model.compute(boxes).done);
    ASSERT_TRUE(model.clearRixs(boxes).done);
    writeExperiment(pairs(7030.0, 0.1, 301, [](int i) { return 0.001 * (1 + i % 7); }));
    ASSERT_TRUE(model.compareWithExperiment(boxes).done);
    EXPECT_FALSE(model.shownRFactor());  // no calculation shown

    struct Case {
        const char* name;
        const char* excitation;
        bool removeInput;
        bool done;
    };
    for (const Case& c :
         {Case{"accepted", "7112", false, true}, Case{"warning", "500", false, true},
          Case{"missing input", "7112", true, false}}) {
        if (c.removeInput) std::filesystem::remove(ws.path(files::kSelectiveForRixs));
        boxes.excitation = c.excitation;
        const Report report = model.compute(boxes);
        EXPECT_EQ(report.done, c.done) << c.name;
        EXPECT_EQ(report.text, texts::kComparedText) << c.name;
        EXPECT_TRUE(model.shownRFactor()) << c.name;
        EXPECT_EQ(model.experimentCurves(false).size(), 2u) << c.name;
    }
    // The missing input left the last calculation in the theory panel.
    EXPECT_GT(model.theoryCurves(false).at(0).size(), 0u);
}

// --- 実験値と比較 -----------------------------------------------------------

// The pairing itself is pinned in energy_alignment_test.cpp; here the files
// it rewrites, the frame and the message.
TEST_F(WorkbenchRixsTest, AlignmentRewritesBothSpectraAndTheFrame) {
    const auto flat = [](int i) { return 0.01 + 0.001 * i; };
    struct Case {
        const char* name;
        PairSpectrum measured;
        QuadSpectrum calculated;
        std::size_t measuredAfter;
        std::size_t calculatedAfter;
        double firstCalculatedEnergy;  // after the alignment (0: none)
        bool shared = true;            // whether any energy matches
    };
    const std::vector<Case> cases{
        // 0.1 eV experiment against the default grid: the calculation shrinks
        // to 7030..7060 in the experiment's order.
        {"0.1 eV experiment", pairs(7030.0, 0.1, 301, flat), quads(7020.0, 0.1, 450, flat), 301,
         301, 7030.0},
        // Energies 0.0002 eV apart never match, nor do disjoint ranges, nor
        // anything against the seed before a calculation: refused, both
        // files as they were.
        {"0.0002 eV apart", pairs(7.0, 0.1, 30, flat), quads(7.0002, 0.1, 20, flat), 30, 20, 7.0002,
         false},
        {"no common energy", pairs(7100.0, 0.1, 10, flat), quads(7020.0, 0.1, 20, flat), 10, 20,
         7020.0, false},
        {"before a calculation", pairs(7100.0, 0.1, 10, flat), QuadSpectrum{}, 10, 0, 0.0, false},
    };
    for (const Case& c : cases) {
        writeExperiment(c.measured);
        ASSERT_TRUE(ws.write(files::kCalculatedRixs, c.calculated));
        const std::string frameBefore = text(files::kRixsExperimentMinMax);
        const std::string measuredBefore = text(files::kRixsExperiment);
        const std::string calculatedBefore = text(files::kCalculatedRixs);
        for (const bool other : {false, true}) {
            const Report report =
                other ? model.compareWithOther(boxes, ws.path(files::kRixsExperiment))
                      : model.compareWithExperiment(boxes);
            EXPECT_EQ(report.done, c.shared) << c.name << ": " << report.text;
            EXPECT_EQ(contains(report.text, texts::kNoCommonEnergyRefused), !c.shared) << c.name;
            if (c.shared) break;
            // Refused: every file as it was, the measured spectrum kept.
            EXPECT_EQ(text(files::kRixsExperiment), measuredBefore) << c.name;
            EXPECT_EQ(text(files::kCalculatedRixs), calculatedBefore) << c.name;
            EXPECT_EQ(text(files::kRixsExperimentMinMax), frameBefore) << c.name;
        }
        // The redraw, which rewrites nothing, says when nothing pairs.
        EXPECT_EQ(contains(model.compareCalculated(boxes).text, texts::kNoCommonEnergy), !c.shared)
            << c.name;
        const auto measured = table<PairSpectrum>(files::kRixsExperiment);
        const auto calculated = table<QuadSpectrum>(files::kCalculatedRixs);
        EXPECT_EQ(measured.size(), c.measuredAfter) << c.name;
        EXPECT_EQ(calculated.size(), c.calculatedAfter) << c.name;
        if (!calculated.empty()) {
            EXPECT_TRUE(near(calculated.front().energy, c.firstCalculatedEnergy, 1e-9)) << c.name;
        }
        if (!c.shared) continue;
        // Where both stay, they pair energy by energy.
        for (std::size_t i = 0; measured.size() == calculated.size() && i < measured.size(); ++i) {
            EXPECT_TRUE(near(measured[i].energy, calculated[i].energy, 0, 1e-4)) << c.name << i;
        }
        // The frame is that of the experiment as rewritten.
        const MinMaxRecord frame = record(files::kRixsExperimentMinMax);
        const MinMaxRecord expected = core::minMaxOf(measured, 20000.0);
        EXPECT_TRUE(near(frame.xmin, expected.xmin, 1e-6)) << c.name;
        EXPECT_TRUE(near(frame.ymax, expected.ymax, 1e-6)) << c.name;
    }
}

TEST_F(WorkbenchRixsTest, AlignmentTakesTheFirstMatchInFileOrder) {
    writeExperiment(PairSpectrum{{7020.0, 0.5}, {7020.1, 0.6}, {7020.0, 0.9}, {7020.1, 0.7}});
    ASSERT_TRUE(ws.write(files::kCalculatedRixs, quads(7020.1, -0.1, 2, [](int) { return 1.0; })));
    ASSERT_TRUE(model.compareWithExperiment(boxes).done);
    // Calculated order (7020.1, 7020.0), first measured match of each.
    const auto measured = table<PairSpectrum>(files::kRixsExperiment);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_TRUE(near(measured[0].intensity, 0.6, 1e-9));
    EXPECT_TRUE(near(measured[1].intensity, 0.5, 1e-9));
}

TEST_F(WorkbenchRixsTest, RefusalsAndUndrawableSpectraLeaveWhatThePartsLeave) {
    struct Case {
        const char* name;
        PairSpectrum measured;
        int calculatedPoints;
        bool done;
        std::string_view sentence;
    };
    const auto one = [](int) { return 1.0; };
    const std::string_view tooMany = texts::kTooManyPoints;
    const std::vector<Case> cases{
        {"more than 4000", pairs(7020.0, 0.01, 4001, one), 10, false,
         tooMany.substr(tooMany.find("{}") + 2)},
        {"empty experiment", PairSpectrum{}, 10, true, texts::kNoExperimentEmpty},
        {"maximum 0", pairs(7020.0, 0.1, 5, [](int) { return 0.0; }), 3, true,
         texts::kNoExperimentEmpty},
    };
    for (const Case& c : cases) {
        writeExperiment(c.measured);
        ASSERT_TRUE(ws.write(files::kCalculatedRixs, quads(7020.0, 0.1, c.calculatedPoints, one)));
        const std::string measuredBefore = text(files::kRixsExperiment);
        const std::string calculatedBefore = text(files::kCalculatedRixs);
        const Report report = model.compareWithExperiment(boxes);
        EXPECT_EQ(report.done, c.done) << c.name;
        EXPECT_TRUE(contains(report.text, c.sentence)) << c.name << ": " << report.text;
        if (!c.done) {
            EXPECT_EQ(text(files::kRixsExperiment), measuredBefore) << c.name;
            EXPECT_EQ(text(files::kCalculatedRixs), calculatedBefore) << c.name;
        } else {
            const auto curves = model.experimentCurves(false);
            ASSERT_EQ(curves.size(), 1u) << c.name;
            EXPECT_EQ(curves[0].size(), 0u) << c.name;
        }
    }
}

// --- 計算値と比較: frame, skip flags and R factor ---------------------------

TEST_F(WorkbenchRixsTest, RedrawPutsTheCalculationOnTheExperimentsScale) {
    writeExperiment(pairs(7020.0, 1.0, 5, [](int i) { return 0.1 * (i + 1); }));
    const double totals[] = {0.1, 0.9, 0.2, 0.3, 0.4};
    ASSERT_TRUE(
        ws.write(files::kCalculatedRixs, quads(7020.0, 1.0, 5, [&](int i) { return totals[i]; })));
    const Report report = model.compareCalculated(boxes);
    ASSERT_TRUE(report.done);
    EXPECT_EQ(report.text, texts::kComparedText);
    const auto curves = model.experimentCurves(true);
    ASSERT_EQ(curves.size(), 4u);  // comp1, comp2, total, measured
    const auto& total = curves[2];
    const auto& measured = curves[3];
    EXPECT_EQ(measured.pen, core::plot::Pen::Red);
    // J_lo = 2000, J_hi = 10000, q = 0.1: measured from -95 to 85 in 45s;
    // the total 0.9 (K = 1800) lands at -95 + trunc(180 * 1600 / 800) = 265.
    EXPECT_EQ(measured.x, (std::vector<int>{-100, -50, 0, 50, 100}));
    EXPECT_EQ(measured.y, (std::vector<int>{-95, -50, -5, 40, 85}));
    EXPECT_EQ(total.y, (std::vector<int>{-95, 265, -50, -5, 40}));
    // Only the segment leaving the off-scale point is flagged.
    EXPECT_EQ(total.breaks, (std::vector<std::uint8_t>{0, 0, 1, 0, 0}));
    EXPECT_EQ(curves[0].breaks, total.breaks);
    // R = 100 (0 + 0.7 + 0.1 + 0.1 + 0.1) / 1.5.
    ASSERT_TRUE(model.shownRFactor());
    EXPECT_TRUE(near(*model.shownRFactor(), 100.0 / 1.5, 1e-9));

    ASSERT_TRUE(model.clearComparison(boxes).done);
    EXPECT_TRUE(model.experimentCurves(true).empty());
    EXPECT_FALSE(model.shownRFactor());
}

// The data the panels save: the spectra in eV and intensity as read, in
// drawing order, not the panel units above.
TEST_F(WorkbenchRixsTest, PanelSeriesAreTheSpectraInPhysicalUnits) {
    const PairSpectrum measured = pairs(7020.0, 1.0, 5, [](int i) { return 0.1 * (i + 1); });
    writeExperiment(measured);
    const double totals[] = {0.1, 0.9, 0.2, 0.3, 0.4};
    ASSERT_TRUE(
        ws.write(files::kCalculatedRixs, quads(7020.0, 1.0, 5, [&](int i) { return totals[i]; })));
    ASSERT_TRUE(model.compareCalculated(boxes).done);
    const auto series = model.experimentSeries(true);
    ASSERT_EQ(series.size(), 4u);  // comp1, comp2, total, measured
    const double shares[] = {0.6, 0.4, 1.0};
    for (std::size_t k = 0; k < 3; ++k) {
        ASSERT_EQ(series[k].y.size(), 5u);
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_TRUE(near(series[k].x[i], 7020.0 + double(i), 1e-12));
            EXPECT_TRUE(near(series[k].y[i], shares[k] * totals[i], 1e-6)) << k << " " << i;
        }
    }
    ASSERT_EQ(series[3].y.size(), measured.size());
    for (std::size_t i = 0; i < measured.size(); ++i)
        EXPECT_TRUE(near(series[3].y[i], measured[i].intensity, 1e-12));
    EXPECT_EQ(model.experimentSeries(false).size(), 2u);

    // The theory panel after a computation: the calculated file, point by point.
    ASSERT_TRUE(model.compute(boxes).done);
    const auto calculated = table<QuadSpectrum>(files::kCalculatedRixs);
    const auto theory = model.theorySeries(false);
    ASSERT_EQ(theory.size(), 1u);
    ASSERT_EQ(theory[0].y.size(), calculated.size());
    for (std::size_t i = 0; i < calculated.size(); i += 50) {
        EXPECT_TRUE(near(theory[0].x[i], calculated[i].energy, 1e-6));
        EXPECT_TRUE(near(theory[0].y[i], calculated[i].total, 5e-6)) << i;
    }
    ASSERT_TRUE(model.clearRixs(boxes).done);
    EXPECT_TRUE(model.theorySeries(true).empty());
    ASSERT_TRUE(model.clearComparison(boxes).done);
    EXPECT_TRUE(model.experimentSeries(true).empty());
}

TEST_F(WorkbenchRixsTest, RFactorAfterAComputationPairsTheCommonEnergies) {
    ASSERT_TRUE(model.compute(boxes).done);
    const auto full = table<QuadSpectrum>(files::kCalculatedRixs);
    writeExperiment(pairs(7030.0, 0.1, 101, [](int i) { return 1e-4 * (1 + i % 5); }));
    ASSERT_TRUE(model.compareWithExperiment(boxes).done);
    ASSERT_TRUE(model.shownRFactor());
    const double aligned = *model.shownRFactor();
    // Recomputing on the whole grid shows the same figure: the 101 grid
    // points from 7030 eV pair with the measured ones.
    ASSERT_TRUE(model.compute(boxes).done);
    ASSERT_EQ(table<QuadSpectrum>(files::kCalculatedRixs).size(), full.size());
    ASSERT_TRUE(model.shownRFactor());
    EXPECT_TRUE(near(*model.shownRFactor(), aligned, 1e-12));
    double difference = 0.0, sum = 0.0;
    const auto measured = table<PairSpectrum>(files::kRixsExperiment);
    for (std::size_t i = 0; i < measured.size(); ++i) {
        difference += std::fabs(full[100 + i].total - measured[i].intensity);
        sum += measured[i].intensity;
    }
    EXPECT_TRUE(near(aligned, 100.0 * difference / sum, 1e-5));

    ASSERT_TRUE(model.clearRixs(boxes).done);
    EXPECT_TRUE(model.theoryCurves(true).empty());
    EXPECT_FALSE(model.shownRFactor());
    EXPECT_EQ(model.experimentCurves(false).size(), 1u);  // the measurement stays
}

TEST_F(WorkbenchRixsTest, AnotherExperimentFramesTheWholeChosenFile) {
    const auto chosenPoints = pairs(7025.0, 0.05, 121, [](int i) { return 0.01 * (1 + i); });
    const std::filesystem::path chosen = dir / "other.dat";
    writeFile(chosen, core::formatRecords(chosenPoints));
    const std::string chosenText = readFile(chosen);
    struct Case {
        const char* name;
        bool calculationShown;
        std::size_t drawnPoints;
        std::string_view message;
    };
    for (const Case& c : {Case{"no calculation", false, 121, texts::kOtherExperimentText},
                          Case{"calculation shown", true, 51, texts::kComparedText}}) {
        ASSERT_TRUE(
            ws.write(files::kCalculatedRixs, quads(7020.0, 0.1, 101, [](int) { return 0.5; })));
        if (c.calculationShown) {
            ASSERT_TRUE(model.compute(boxes).done);
            ASSERT_TRUE(
                ws.write(files::kCalculatedRixs, quads(7020.0, 0.1, 101, [](int) { return 0.5; })));
        } else {
            ASSERT_TRUE(model.clearRixs(boxes).done);
        }
        const Report report = model.compareWithOther(boxes, chosen);
        ASSERT_TRUE(report.done) << report.text;
        EXPECT_EQ(report.text, c.message) << c.name;
        // The calculation is shorter: the chosen file's 0.1 eV points from
        // 7025 to 7030 eV become the work space's experiment; the frame is
        // the whole file's.
        EXPECT_EQ(table<PairSpectrum>(files::kRixsExperiment).size(), 51u) << c.name;
        EXPECT_EQ(table<QuadSpectrum>(files::kCalculatedRixs).size(), 101u) << c.name;
        const MinMaxRecord frame = record(files::kRixsExperimentMinMax);
        EXPECT_TRUE(near(frame.xmax, 7031.0, 1e-9)) << c.name;
        EXPECT_TRUE(near(frame.ymax, 20000.0 * 1.21, 1e-9)) << c.name;
        EXPECT_EQ(model.experimentCurves(false).back().size(), c.drawnPoints) << c.name;
        EXPECT_EQ(readFile(chosen), chosenText);
    }
    // An intensity whose display value is not finite is refused on its line.
    writeFile(chosen, "7020 1\n7020.1 1e305\n");
    const std::string before = text(files::kRixsExperiment);
    const Report refused = model.compareWithOther(boxes, chosen);
    EXPECT_FALSE(refused.done);
    EXPECT_TRUE(contains(refused.text, core::pathText(chosen) + " の2行目")) << refused.text;
    EXPECT_EQ(text(files::kRixsExperiment), before);
}

// --- シフト実行 -------------------------------------------------------------

TEST_F(WorkbenchRixsTest, ShiftMovesEveryEnergyAndKeepsTheRangeFiles) {
    const auto work = quads(7000.0, 0.1, 61, [](int i) { return 0.2 + 0.01 * i; });
    SelectiveXafsTable original;
    for (const auto& p : work) original.push_back({p.energy, p.total, p.comp1});
    const MinMaxRecord whole = core::minMaxOf(original, 10000.0);
    struct Case {
        const char* typed;
        double delta;
        MinMaxRecord window;
        bool drawn;
    };
    const MinMaxRecord reversed{7004, 7001, whole.ymin, whole.ymax};
    for (const Case& c : {Case{"2.5", 2.5, whole, true}, Case{"-2.5", -2.5, whole, true},
                          Case{"", 0.0, whole, true}, Case{"1", 1.0, reversed, false}}) {
        ASSERT_TRUE(ws.write(files::kSelectiveWork, original));
        ASSERT_TRUE(ws.write(files::kXafsMinMax, whole));
        ASSERT_TRUE(ws.write(files::kTempXafsMinMax, c.window));
        const std::string wholeText = text(files::kXafsMinMax);
        const std::string windowText = text(files::kTempXafsMinMax);
        ASSERT_TRUE(model.excitationEdited(boxes).done);
        boxes.shift = c.typed;
        const Report report = model.shift(boxes);
        ASSERT_TRUE(report.done) << c.typed;
        EXPECT_EQ(report.text, c.drawn ? texts::kShiftedText : texts::kExcitationHint) << c.typed;
        const auto shifted = table<SelectiveXafsTable>(files::kSelectiveWork);
        ASSERT_EQ(shifted.size(), original.size());
        for (std::size_t i = 0; i < shifted.size(); ++i) {
            EXPECT_TRUE(near(shifted[i].energy, original[i].energy + c.delta, 1e-9)) << c.typed;
            EXPECT_TRUE(near(shifted[i].a, original[i].a, 1e-9)) << c.typed;
            EXPECT_TRUE(near(shifted[i].b, original[i].b, 1e-9)) << c.typed;
        }
        EXPECT_EQ(text(files::kXafsMinMax), wholeText);
        EXPECT_EQ(text(files::kTempXafsMinMax), windowText);
        EXPECT_EQ(model.hasXafs(), c.drawn) << c.typed;
    }
    // +2.5 eV in the unchanged 6 eV window, 50 steps per eV: the first point
    // sits 125 steps in, X = -100 + trunc(125 * 200 / 6 / 50) = -17.
    ASSERT_TRUE(ws.write(files::kSelectiveWork, original));
    ASSERT_TRUE(ws.write(files::kTempXafsMinMax, whole));
    boxes.shift = "2.5";
    ASSERT_TRUE(model.shift(boxes).done);
    EXPECT_EQ(model.xafsCurves(core::rixs::DisplayMode::A).at(0).x.front(), -17);
}

// --- The two saves ----------------------------------------------------------

TEST_F(WorkbenchRixsTest, SavesCopyTheirFileAndNameTheFullPath) {
    // Saving right after "修正終了！" copies what it published.
    ASSERT_TRUE(
        ws.write(files::kSelectiveAbsolute, table<SelectiveXafsTable>(files::kSelectiveForRixs)));
    std::filesystem::remove(ws.path(files::kSelectiveForRixs));
    ASSERT_TRUE(model.load(boxes).done);
    ASSERT_TRUE(model.finish(model.boxes()).done);
    ASSERT_TRUE(model.compute(boxes).done);
    struct Case {
        const char* name;
        std::string_view source;
        std::string_view head;
        bool rixs;
    };
    for (const Case& c : {Case{"rixs", files::kCalculatedRixs, texts::kRixsSavedHead, true},
                          Case{"xafs", files::kSelectiveForRixs, texts::kXafsSavedHead, false}}) {
        const std::filesystem::path chosen = dir / (std::string(c.name) + "_saved.DAT");
        const Report report =
            c.rixs ? model.saveRixs(boxes, chosen) : model.saveXafs(boxes, chosen);
        ASSERT_TRUE(report.done) << report.text;
        EXPECT_EQ(readFile(chosen), text(c.source)) << c.name;
        EXPECT_EQ(report.text,
                  std::string(c.head) + core::pathText(chosen) + std::string(texts::kSavedTail));
        EXPECT_EQ(model.savePath(), chosen);

        // A folder that does not exist: the path is named, the remembered
        // one stays.
        const std::filesystem::path unwritable = dir / "missing" / "x.DAT";
        const Report failed =
            c.rixs ? model.saveRixs(boxes, unwritable) : model.saveXafs(boxes, unwritable);
        EXPECT_FALSE(failed.done);
        EXPECT_TRUE(contains(failed.text, core::pathText(unwritable))) << failed.text;
        EXPECT_EQ(model.savePath(), chosen);
        EXPECT_FALSE(std::filesystem::exists(unwritable));
    }
}

// The energies under the panels: the computed spectrum's as drawn (a later
// comparison reduces the file, not the panel), the frame of the experiment.
TEST_F(WorkbenchRixsTest, PanelSpansFollowWhatIsDrawn) {
    EXPECT_EQ(model.theorySpan(), std::nullopt);
    EXPECT_EQ(model.experimentSpan(), std::nullopt);
    ASSERT_TRUE(model.compute(boxes).done);
    const auto calculated = table<QuadSpectrum>(files::kCalculatedRixs);
    ASSERT_FALSE(calculated.empty());
    const core::rixs::EnergySpan grid{calculated.front().energy, calculated.back().energy};
    EXPECT_EQ(model.theorySpan(), grid);

    writeExperiment(pairs(7030.0, 0.1, 101, [](int i) { return 0.01 + 0.001 * i; }));
    ASSERT_TRUE(model.compareWithExperiment(boxes).done);
    EXPECT_EQ(model.theorySpan(), grid);
    const MinMaxRecord frame = record(files::kRixsExperimentMinMax);
    EXPECT_EQ(model.experimentSpan(), (core::rixs::EnergySpan{frame.xmin, frame.xmax}));

    ASSERT_TRUE(model.clearComparison(boxes).done);
    EXPECT_EQ(model.experimentSpan(), std::nullopt);
    ASSERT_TRUE(model.clearRixs(boxes).done);
    EXPECT_EQ(model.theorySpan(), std::nullopt);
}

}  // namespace
}  // namespace zephalo::test
