#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include "core/rixs/rixs_core.h"
#include "core/tools/optimise_literal.h"
#include "core/tools/optimise_model.h"
#include "core/tools/tools_texts.h"
#include "core/tools/trial_profile.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "optimise_space.h"
#include "test_support.h"

namespace zephalo::core::tools {
namespace {

using test::near;

// The files a run may change.
const std::string_view kRunFiles[] = {files::kSelectiveWork, files::kSelectiveForRixs,
                                      files::kSelectiveSaving, files::kCalculatedRixs};

// --- The trial grid -------------------------------------------------------------

TEST(OptimiseGrid, DefaultsGiveTwentyHeightsAndHundredPositions) {
    OptimiseSettings s;
    s.start = 7100;
    s.end = 7200;
    const OptimiseGrid grid = optimiseGrid(s);
    ASSERT_EQ(grid.heights.size(), 20u);
    for (std::size_t h = 0; h < 20; ++h) {
        EXPECT_TRUE(near(grid.heights[h], 0.005 * static_cast<double>(h), 1e-12, 1e-15)) << h;
    }
    ASSERT_EQ(grid.positions.size(), 100u);
    EXPECT_TRUE(near(grid.positions.front(), 7100, 0.0));
    EXPECT_TRUE(near(grid.positions.back(), 7199, 0.0));
}

TEST(OptimiseGrid, CountsTruncateAndNeverReachTheEnd) {
    struct Case {
        double start, end, step, limit, heightStep;
        std::size_t positions, heights;
    };
    const Case cases[] = {
        {7100, 7102.9, 1, 0.05, 0.03, 2, 3},   // 2.9 → 2 positions; 0.1/0.03 → 3 heights
        {7100, 7100.5, 1, 0.05, 0.2, 0, 0},    // less than one step of each
        {7100, 7110, -1, 0.05, -0.005, 0, 0},  // negative counts give none
    };
    for (const Case& c : cases) {
        OptimiseSettings s;
        s.start = c.start;
        s.end = c.end;
        s.step = c.step;
        s.limit = c.limit;
        s.heightStep = c.heightStep;
        const OptimiseGrid grid = optimiseGrid(s);
        EXPECT_EQ(grid.positions.size(), c.positions) << c.end;
        EXPECT_EQ(grid.heights.size(), c.heights) << c.heightStep;
    }
}

// --- Refusals ---------------------------------------------------------------------

TEST(OptimiseSettingsCheck, RefusesEachMissingOrOutOfRangeSetting) {
    const MinMaxRecord range{7100, 7200, 0, 10000};
    OptimiseSettings good = smallSettings(1);
    good.start = 7100;
    good.end = 7200;
    ASSERT_FALSE(checkOptimiseSettings(good, range));
    const std::vector<std::pair<const char*, void (*)(OptimiseSettings&)>> faults{
        {"no passes", [](OptimiseSettings& s) { s.passes = 0; }},
        {"omega 0", [](OptimiseSettings& s) { s.omega = 0; }},
        {"start below", [](OptimiseSettings& s) { s.start = 7099.9; }},
        {"end above", [](OptimiseSettings& s) { s.end = 7200.1; }},
        {"end before start", [](OptimiseSettings& s) { s.end = 7150, s.start = 7160; }},
        {"step 0", [](OptimiseSettings& s) { s.step = 0; }},
        {"width 0", [](OptimiseSettings& s) { s.width = 0; }},
        {"height step 0", [](OptimiseSettings& s) { s.heightStep = 0; }},
        {"grid too large", [](OptimiseSettings& s) { s.step = 1e-6; }},
    };
    for (const auto& [name, fault] : faults) {
        OptimiseSettings s = good;
        fault(s);
        const auto error = checkOptimiseSettings(s, range);
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->rfind(texts::kOptimiseErrorText, 0), 0u) << name;
    }
}

// Runs that could not end within minutes, or whose response rows would not
// fit in memory, are refused with their count and the largest allowed.
TEST(OptimiseSettingsCheck, RefusesTooManyPositionsOrTrialsNamingBoth) {
    const MinMaxRecord range{7100, 7200, 0, 10000};
    struct Case {
        const char* name;
        double step;
        double heightStep;
        int passes;
        bool positions;  // refused for the positions, else for the trials
    };
    const Case cases[] = {
        {"positions", 0.01, 0.01, 1, true},
        {"trials", 1.0, 0.00001, 1, false},
        {"trials by the passes", 0.05, 0.0004, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OptimiseSettings s = smallSettings(c.passes);
        s.start = 7100;
        s.end = 7200;
        s.step = c.step;
        s.heightStep = c.heightStep;
        const OptimiseGrid grid = optimiseGrid(s);
        const auto error = checkOptimiseSettings(s, range);
        ASSERT_TRUE(error);
        if (c.positions) {
            EXPECT_NE(error->find(std::to_string(grid.positions.size())), std::string::npos)
                << *error;
            EXPECT_NE(error->find(std::to_string(kMaxOptimisePositions)), std::string::npos);
        } else {
            const std::size_t trials =
                grid.positions.size() * grid.heights.size() * static_cast<std::size_t>(c.passes);
            EXPECT_GT(trials, kMaxOptimiseTrials);
            EXPECT_NE(error->find("＝" + std::to_string(trials)), std::string::npos) << *error;
            EXPECT_NE(error->find(std::to_string(kMaxOptimiseTrials)), std::string::npos);
        }
    }
    // The largest run allowed passes.
    OptimiseSettings largest = smallSettings(1);
    largest.start = 7100;
    largest.end = 7200;
    largest.step = 0.05;          // 2000 positions
    largest.heightStep = 0.0004;  // 100 heights
    EXPECT_FALSE(checkOptimiseSettings(largest, range));
}

TEST(OptimiseInputsCheck, RefusesBeyondTheLimitsBeforeWritingAnything) {
    std::mt19937 random(7);
    struct Case {
        const char* name;
        std::string_view needle;  // part of the added line
        void (*spoil)(OptimiseSpace&);
    };
    const Case cases[] = {
        {"empty selective", "データがありません",
         [](OptimiseSpace& s) { test::writeFile(s.dir / "SelectiveXAFS_for_RIXS.DAT", ""); }},
        {"2001 selective points", "2000点",
         [](OptimiseSpace& s) {
             SelectiveXafsTable many(2001);
             for (std::size_t i = 0; i < many.size(); ++i) many[i] = {7000.0 + i * 0.1, 1, 1};
             ASSERT_TRUE(s.workspace.write(files::kSelectiveForRixs, many));
         }},
        {"4001 measured lines", "4000点",
         [](OptimiseSpace& s) {
             ASSERT_TRUE(s.workspace.write(files::kRixsExperiment, PairSpectrum(4001, {7000, 1})));
         }},
        {"4001 grid lines", "発光エネルギーの点数4001",
         [](OptimiseSpace& s) {
             CalculationParameters p;
             p.gridStart = 7000;
             p.gridEnd = 7400.05;
             p.gridStep = 0.1;
             ASSERT_TRUE(s.workspace.write(files::kParameters, p));
         }},
    };
    for (const Case& c : cases) {
        OptimiseSpace space(random, 1, 1);
        c.spoil(space);
        std::vector<std::string> before;
        for (auto name : kRunFiles) before.push_back(space.text(name));
        OptimiseModel model(space.workspace);
        OptimiseBoxes boxes;
        boxes.start = "7112", boxes.end = "7124", boxes.omega = "7125", boxes.passes = 0;
        const OptimiseOutcome outcome = model.run(boxes);
        EXPECT_FALSE(outcome.report.done) << c.name;
        EXPECT_EQ(outcome.report.text.rfind(texts::kOptimiseErrorText, 0), 0u) << c.name;
        EXPECT_NE(outcome.report.text.find(c.needle), std::string::npos) << outcome.report.text;
        EXPECT_FALSE(space.has(files::kSelectiveSaving)) << c.name;
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(space.text(kRunFiles[i]), before[i]) << c.name;
        }
    }
}

TEST(OptimiseModelRun, RefusedSettingWritesOnlyTheBackup) {
    std::mt19937 random(3);
    OptimiseSpace space(random, 2, 1);
    const std::string working = space.text(files::kSelectiveWork);
    OptimiseModel model(space.workspace);
    ASSERT_TRUE(model.open().done);
    OptimiseBoxes boxes = model.boxes();  // Ω "0.0", no pass count
    boxes.passes = 0;
    const OptimiseOutcome outcome = model.run(boxes);
    EXPECT_FALSE(outcome.report.done);
    EXPECT_EQ(outcome.report.text, texts::kOptimiseErrorText);
    EXPECT_EQ(space.text(files::kSelectiveSaving), space.text(files::kSelectiveForRixs));
    EXPECT_EQ(space.text(files::kSelectiveWork), working);
    EXPECT_FALSE(space.has(files::kCalculatedRixs));
}

// --- Acceptance ----------------------------------------------------------------------

// Only zero-height trials: H = 0.005, L = 0.005, s_h = 0.01 gives A = 0 alone.
OptimiseSettings zeroHeightSettings() {
    OptimiseSettings s = smallSettings(2);
    s.height = 0.005;
    s.limit = 0.005;
    s.heightStep = 0.01;
    return s;
}

TEST(OptimiseAcceptance, ZeroHeightTrialFollowsWhetherTheTwoFilesAgree) {
    for (const Search search : {&searchPeaks, &searchPeaksLiteral}) {
        for (const bool workingBetter : {false, true}) {
            std::mt19937 random(11);
            OptimiseSpace space(random, 2, 1);
            SelectiveXafsTable working = space.published;
            if (workingBetter) {  // the working copy carries the measurement's peaks
                for (XafsPoint& p : working) p.a = asWritten(p.a * 1.02);
                test::writeFile(space.dir / std::string(files::kSelectiveWork),
                                formatRecords(working));
            }
            const std::string before = space.text(files::kSelectiveWork);
            SearchResult result;
            ASSERT_TRUE(runSearch(search, space.workspace, zeroHeightSettings(), result));
            EXPECT_EQ(result.trials, 2u * 6u * 2u);  // 2 passes, 6 positions, 2 steps
            EXPECT_EQ(space.text(files::kSelectiveWork), before);
            // Calculated_RIXS.DAT: the last trial, the working copy itself.
            const std::string calculated = space.text(files::kCalculatedRixs);
            ASSERT_TRUE(runStep(space.workspace, [&] {
                            EXPECT_TRUE(space.workspace.write(files::kSelectiveForRixs, working));
                            EXPECT_TRUE(rixs::calculateRixs(space.workspace, 7125));
                            return Report::success("");
                        }).done);
            EXPECT_EQ(space.text(files::kCalculatedRixs), calculated);
        }
    }
}

TEST(OptimiseAcceptance, NothingImprovesAPerfectFit) {
    for (const Search search : {&searchPeaks, &searchPeaksLiteral}) {
        std::mt19937 random(5);
        OptimiseSpace space(random, 1, 0);
        space.measure(space.published);  // R = 0 for the profile as it is
        const std::string before = space.text(files::kSelectiveWork);
        SearchResult result;
        ASSERT_TRUE(runSearch(search, space.workspace, smallSettings(1), result));
        EXPECT_TRUE(near(result.rBest, 0.0, 0.0, 1e-12));
        EXPECT_EQ(space.text(files::kSelectiveWork), before);
        EXPECT_EQ(space.text(files::kSelectiveForRixs), space.text(files::kSelectiveSaving));
    }
}

// --- Fast against literal ------------------------------------------------------------

TEST(OptimiseFastAgainstLiteral, SameFilesAndRFactorOnRandomCases) {
    std::mt19937 random(2024);
    std::size_t accepted = 0;
    for (int round = 0; round < 5; ++round) {
        const int components = 1 + round % 2;
        const int mode = round % 3 == 2 ? 0 : 1;
        OptimiseSpace fast(random, components, mode, 30 + static_cast<std::size_t>(round) * 3);
        OptimiseSpace literal(random, 1, 1);
        fast.copyTo(literal);
        OptimiseSettings settings = smallSettings(1 + round % 3);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        settings.height = 0.01 + 0.03 * unit(random);
        settings.limit = 0.02 + 0.02 * unit(random);
        settings.width = 0.5 + unit(random);
        settings.step = round % 2 == 0 ? 1.5 : 2.5;
        SearchResult fastResult, literalResult;
        ASSERT_TRUE(runSearch(&searchPeaks, fast.workspace, settings, fastResult));
        ASSERT_TRUE(runSearch(&searchPeaksLiteral, literal.workspace, settings, literalResult));
        EXPECT_TRUE(near(fastResult.rBest, literalResult.rBest, 0.0)) << "round " << round;
        EXPECT_EQ(fastResult.trials, literalResult.trials);
        EXPECT_EQ(fastResult.accepted, literalResult.accepted);
        EXPECT_LT(fastResult.exactEvaluations, literalResult.exactEvaluations);
        for (auto name : kRunFiles) {
            EXPECT_EQ(fast.text(name), literal.text(name)) << name << " round " << round;
        }
        if (fast.text(files::kSelectiveWork) != fast.text(files::kSelectiveForRixs)) ++accepted;
    }
    EXPECT_GE(accepted, 3u);  // the cases exercise acceptance, not only rejection
}

// Profiles whose values as written round on either side of a power of ten,
// or change sign: the trials' totals are decided by their estimates, and the
// runs still equal the file-by-file ones.
double nearPowersOfTen(std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double powers[] = {0.01, 0.1, 1.0};
    return powers[random() % 3] * (1.0 + 2e-5 * (unit(random) - 0.5));
}
double mixedSigns(std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    return unit(random) - 0.3;
}
double smallValues(std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    return 1e-4 * unit(random);
}

TEST(OptimiseFastAgainstLiteral, SameFilesForProfilesNearPowersOfTenOrOfBothSigns) {
    struct Case {
        double (*value)(std::mt19937&);
        int components;
        int mode;
        double height;  // of the trial peaks
    };
    const Case cases[] = {
        {nearPowersOfTen, 1, 1, 0.001}, {nearPowersOfTen, 2, 1, 0.02},
        {mixedSigns, 2, 1, 0.02},       {mixedSigns, 1, 0, 0.01},
        {smallValues, 2, 1, 1e-5},      {nearPowersOfTen, 2, 0, 1e-4},
    };
    std::mt19937 random(4242);
    std::size_t linear = 0;
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        const Case& k = cases[c];
        OptimiseSpace fast(random, k.components, k.mode, 36, k.value);
        OptimiseSpace literal(random, 1, 1);
        fast.copyTo(literal);
        OptimiseSettings settings = smallSettings(2);
        settings.height = k.height;
        settings.limit = k.height;
        settings.heightStep = k.height / 2;
        settings.step = 1.5;
        SearchResult fastResult, literalResult;
        ASSERT_TRUE(runSearch(&searchPeaks, fast.workspace, settings, fastResult));
        ASSERT_TRUE(runSearch(&searchPeaksLiteral, literal.workspace, settings, literalResult));
        EXPECT_TRUE(near(fastResult.rBest, literalResult.rBest, 0.0)) << "case " << c;
        EXPECT_EQ(fastResult.accepted, literalResult.accepted) << "case " << c;
        for (auto name : kRunFiles) {
            EXPECT_EQ(fast.text(name), literal.text(name)) << name << " case " << c;
        }
        linear += fastResult.linearEvaluations;
    }
    EXPECT_GT(linear, 0u);  // the estimates decided trials, not only the core
}

// A value as written is the value formatNumber writes, read back: around
// powers of ten, at and next to the halves of the sixth digit, of either
// sign, and over the whole range of magnitudes.
TEST(TrialValues, AsWrittenIsTheWrittenTextReadBack) {
    std::vector<double> values = {0.0,       1e-300,    3e-16,    7e15,     1e20,
                                  1.7e308,   100000.5,  100001.5, 999999.5, 123456.5,
                                  1234565.0, 1234575.0, 0.5,      1.0,      2.5e-7};
    for (int k = -16; k <= 16; ++k) {
        const double power = std::pow(10.0, k);
        for (const double factor : {1.0, 1.0 - 5e-7, 1.0 - 4.9e-7, 1.0 - 5.1e-7, 1.0 + 5e-6,
                                    1.0 + 4.9e-6, 1.0 + 1e-5, 0.9999995, 1.000005}) {
            const double v = power * factor;
            values.insert(values.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, 1e300)});
        }
    }
    std::mt19937 random(8);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 20000; ++i) {
        const int exponent = static_cast<int>(random() % 33) - 16;
        const double digits = std::floor(100000.0 + 900000.0 * unit(random));
        const double scale = std::pow(10.0, exponent - 5);
        // Random values, and values a hair from a half of the last digit.
        values.push_back(digits * scale * (1.0 + unit(random) * 1e-5));
        values.push_back((digits + 0.5) * scale * (1.0 + (unit(random) - 0.5) * 1e-12));
    }
    std::size_t compared = 0;
    for (const double magnitude : values) {
        for (const double v : {magnitude, -magnitude}) {
            const auto read = parseNumber(formatNumber(v));
            if (!read) continue;  // beyond what a file can hold
            ++compared;
            ASSERT_TRUE(near(asWritten(v), *read, 0.0)) << formatDigits(v, 17);
        }
    }
    EXPECT_GT(compared, 80000u);
}

TEST(OptimiseCancel, StopsBetweenPositionsWithTheFilesOfTheLiteralRun) {
    for (const std::size_t stopBefore : {0u, 3u}) {
        std::mt19937 random(99);
        OptimiseSpace fast(random, 2, 1);
        OptimiseSpace literal(random, 1, 1);
        fast.copyTo(literal);
        const OptimiseSettings settings = smallSettings(2);
        SearchResult fastResult, literalResult;
        for (auto [search, space, result] :
             {std::tuple{&searchPeaks, &fast, &fastResult},
              std::tuple{&searchPeaksLiteral, &literal, &literalResult}}) {
            std::stop_source source;
            SearchHooks hooks;
            hooks.stop = source.get_token();
            hooks.progress = [&](const OptimiseProgress& where) {
                if (where.pass == 2 && where.position + 1 == stopBefore) source.request_stop();
            };
            if (stopBefore == 0) source.request_stop();
            ASSERT_TRUE(runSearch(search, space->workspace, settings, *result, hooks));
            EXPECT_TRUE(result->cancelled);
        }
        EXPECT_EQ(fastResult.stoppedAt.pass, stopBefore == 0 ? 1 : 2);
        EXPECT_EQ(fastResult.stoppedAt.position, stopBefore);
        EXPECT_TRUE(near(fastResult.rBest, literalResult.rBest, 0.0));
        EXPECT_EQ(fast.text(files::kSelectiveWork), literal.text(files::kSelectiveWork));
        EXPECT_EQ(fast.text(files::kSelectiveForRixs), fast.text(files::kSelectiveSaving));
        EXPECT_EQ(fast.text(files::kSelectiveForRixs), formatRecords(fast.published));
        if (stopBefore > 0) {
            EXPECT_EQ(fast.text(files::kCalculatedRixs), literal.text(files::kCalculatedRixs));
        }
    }
}

// --- The dialog's run -------------------------------------------------------------------

TEST(OptimiseModelRun, ReportsEveryPassAndTheMessage) {
    std::mt19937 random(17);
    OptimiseSpace space(random, 2, 1);
    OptimiseModel model(space.workspace);
    ASSERT_TRUE(model.open().done);
    EXPECT_EQ(model.boxes().start, "7110");
    EXPECT_EQ(model.boxes().end, "7129.5");
    EXPECT_EQ(model.boxes().step, "1.0");
    OptimiseBoxes boxes = model.boxes();
    boxes.start = "7112";
    boxes.end = "7124";
    boxes.step = "3";
    boxes.omega = "7125";
    boxes.passes = 1;
    std::vector<OptimiseProgress> progress;
    OptimiseObserver observer;
    observer.progress = [&](const OptimiseProgress& p) { progress.push_back(p); };
    OptimiseOutcome outcome;
    ASSERT_TRUE(runStep(space.workspace,
                        [&] {
                            space.workspace.describeStep({"最適化", replayCommand(boxes)});
                            outcome = model.run(boxes, observer);
                            return outcome.report;
                        })
                    .done)
        << outcome.report.text;
    ASSERT_EQ(outcome.passes.size(), 2u);
    // The R factor before the run, and after it as the box shows it.
    ASSERT_TRUE(outcome.rStart && outcome.rFactor);
    EXPECT_GE(*outcome.rStart, *outcome.rFactor);
    EXPECT_EQ(outcome.report.text, "7112eVから7124eVまで2回、最適化を行いました。\r\n　R因子は " +
                                       formatDigits(*outcome.rStart, 6) + " % から " +
                                       outcome.passes[1].rFactorText + " % になりました。\r\n");
    EXPECT_EQ(outcome.passes[1].componentText, "2");
    EXPECT_LE(outcome.passes[1].rFactor, outcome.passes[0].rFactor);
    ASSERT_TRUE(outcome.rFactor);
    EXPECT_EQ(outcome.passes[1].rFactorText, formatDigits(*outcome.rFactor, 6));
    EXPECT_EQ(progress.size(), 8u);  // 4 positions, 2 passes

    // The dialog opens again with the boxes of that run; the workbench's
    // excitation energy, when it gives one, wins.
    OptimiseModel reopened(space.workspace);
    ASSERT_TRUE(reopened.openAsLastTime().done);
    EXPECT_EQ(reopened.boxes(), boxes);
    ASSERT_TRUE(reopened.openAsLastTime("7126.5").done);
    EXPECT_EQ(reopened.boxes().omega, "7126.5");
    ASSERT_TRUE(reopened.open().done);
    EXPECT_EQ(reopened.boxes().step, "1.0") << "the command line keeps its defaults";
}

TEST(OptimiseModelOpen, RecallsTheLastCommandLineRunButNotAWindowOutsideTheProfile) {
    std::mt19937 random(5);
    OptimiseSpace space(random, 1, 1);
    OptimiseModel model(space.workspace);
    ASSERT_TRUE(model.openAsLastTime().done);
    const OptimiseBoxes fresh = model.boxes();
    ASSERT_TRUE(model.open().done);
    EXPECT_EQ(fresh, model.boxes()) << "no optimisation in the history yet";

    // A step of the command line's, recorded with its words; it changes a
    // file so that the history keeps it.
    const auto stepWith = [&](std::vector<std::string> command, std::size_t lines) {
        ASSERT_TRUE(runStep(space.workspace, [&] {
                        space.workspace.describeStep({"optimise", std::move(command)});
                        return Report::from(space.workspace.write(files::kRixsExperiment,
                                                                  PairSpectrum(lines, {7000, 1})),
                                            "");
                    }).done);
    };
    stepWith({"optimise", "--omega=7125", "--from=7112", "--to=7124", "--step=3", "--passes=3",
              "--height-step", "0.01"},
             5);
    ASSERT_TRUE(model.openAsLastTime().done);
    OptimiseBoxes expected = fresh;
    expected.omega = "7125", expected.start = "7112", expected.end = "7124", expected.step = "3";
    expected.heightStep = "0.01", expected.passes = 2;
    EXPECT_EQ(model.boxes(), expected);

    stepWith({"optimise", "--omega=7125", "--from=7000", "--to=7124"}, 6);
    ASSERT_TRUE(model.openAsLastTime().done);
    EXPECT_EQ(model.boxes().start, fresh.start);
    EXPECT_EQ(model.boxes().end, fresh.end);
    EXPECT_EQ(model.boxes().omega, "7125");
}

}  // namespace
}  // namespace zephalo::core::tools
