#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include "core/numeric/r_factor.h"
#include "core/plot/plot_texts.h"
#include "core/plot/projection.h"
#include "core/rixs/live_correction.h"
#include "core/rixs/workbench_model.h"
#include "core/tools/profile_fit.h"
#include "core/tools/profile_fit_run.h"
#include "core/tools/tools_texts.h"
#include "optimise_space.h"
#include "test_support.h"

namespace zephalo::core::tools {
namespace {

using test::near;

// The fit as a step of its own.
FitOutcome runFit(const Workspace& workspace, const FitSettings& settings,
                  std::stop_token stop = {},
                  const std::function<void(const FitProgress&)>& progress = {}) {
    FitOutcome outcome;
    (void)runStep(workspace, [&] {
        outcome = fitWorkingCopy(workspace, settings, progress, stop);
        return outcome.report;
    });
    return outcome;
}

// Every file of the work space by name, to see what a run changed.
std::map<std::string, std::string> filesOf(const OptimiseSpace& space) {
    std::map<std::string, std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(space.dir.path())) {
        if (entry.path().extension() != ".DAT") continue;  // the lock and the history
        out[entry.path().filename().string()] = test::readFile(entry.path());
    }
    return out;
}

SelectiveXafsTable working(const OptimiseSpace& space) {
    SelectiveXafsTable table;
    EXPECT_TRUE(space.workspace.read(files::kSelectiveWork, table));
    return table;
}

FitSettings windowSettings(double from, double to, std::optional<double> smoothing = 0.0) {
    FitSettings s;
    s.omega = 7125;
    s.from = from;
    s.to = to;
    s.smoothing = smoothing;
    return s;
}

// The tests that solve programmes, skipped in a build without the solver
// (FitWithoutSolver checks that build's refusal).
class SolverNeeded : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ProfileFit::available()) GTEST_SKIP() << "this build has no linear-programme solver";
    }
};
class ProfileFitKernel : public SolverNeeded {};
class FitWorkspace : public SolverNeeded {};

// --- The programme on hand-worked problems ------------------------------------

struct KernelCase {
    const char* name;
    std::vector<double> response;  // rows × variables
    std::vector<double> residual;
    std::vector<double> lower;
    double smoothing;
    std::vector<double> expected;
};

TEST_F(ProfileFitKernel, SolvesHandWorkedProblems) {
    const KernelCase cases[] = {
        // One variable against three rows: the median of the residuals.
        {"median", {1, 1, 1}, {1, 2, 10}, {-5}, 0.0, {2}},
        // The median lies below the bound: the bound holds.
        {"bound", {1, 1, 1}, {-3, -4, -5}, {-1}, 0.0, {-1}},
        // Rows weighted 1 and 3: the weighted median.
        {"weighted", {1, 3}, {1, 6}, {-5}, 0.0, {2}},
        // Three variables each seen by one row, exactly fitted without
        // smoothing.
        {"exact", {1, 0, 0, 0, 1, 0, 0, 0, 1}, {0, 1, 0}, {-5, -5, -5}, 0.0, {0, 1, 0}},
        // A heavy smoothing weight makes the change a straight line: the
        // middle is lifted to the mean of its neighbours (0) at the cost of
        // one misfit, since the second difference costs more.
        {"smooth", {1, 0, 0, 0, 1, 0, 0, 0, 1}, {0, 1, 0}, {-5, -5, -5}, 10.0, {0, 0, 0}},
    };
    for (const KernelCase& c : cases) {
        FitProblem problem;
        problem.variables = c.lower.size();
        problem.response = c.response;
        problem.residual = c.residual;
        problem.lower = c.lower;
        problem.runStart.assign(problem.variables, false);
        problem.runStart[0] = true;
        ProfileFit fit;
        ASSERT_TRUE(fit.prepare(problem)) << c.name;
        std::vector<double> change;
        ASSERT_TRUE(fit.solve(c.smoothing, change)) << c.name;
        ASSERT_EQ(change.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < change.size(); ++i) {
            EXPECT_TRUE(near(change[i], c.expected[i], 1e-9, 1e-9)) << c.name << " " << i;
        }
    }
}

// Many more rows than variables: most residual columns are held at a bound
// and let go as the solve needs them. The result must still be the
// optimum: no feasible step in any of many directions lowers the
// objective, for a given S and after new residuals.
TEST_F(ProfileFitKernel, ManyRowsGiveTheOptimumOfTheWholeProgramme) {
    std::mt19937 random(41);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::size_t n = 4, m = 400;
    FitProblem problem;
    problem.variables = n;
    problem.lower.assign(n, -0.6);
    problem.runStart = {true, false, false, false};
    const double truth[n] = {0.5, 1.2, -0.4, 0.3};
    for (std::size_t j = 0; j < m; ++j) {
        double value = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            problem.response.push_back(unit(random));
            value += problem.response.back() * truth[i];
        }
        // Noise with outliers, as a measurement with spikes gives.
        const double noise = (unit(random) - 0.5) * 0.1 + (j % 37 == 0 ? 3.0 : 0.0);
        problem.residual.push_back(value + noise);
    }
    ProfileFit fit;
    ASSERT_TRUE(fit.prepare(problem));
    const auto objective = [&](const std::vector<double>& d, double s) {
        return fit.misfit(d) + s * fit.roughness(d);
    };
    const auto expectOptimal = [&](double s, const char* what, ProfileFit* solver = nullptr) {
        std::vector<double> change;
        ASSERT_TRUE((solver ? *solver : fit).solve(s, change)) << what;
        const double best = objective(change, s);
        for (int trial = 0; trial < 2000; ++trial) {
            std::vector<double> step = change;
            const double length = 1e-4 * std::pow(10.0, 3.0 * unit(random));
            for (std::size_t i = 0; i < n; ++i) {
                step[i] = std::max(problem.lower[i], step[i] + length * (unit(random) - 0.5));
            }
            ASSERT_GE(objective(step, s), best - 1e-9 * (1 + best)) << what << " trial " << trial;
        }
    };
    expectOptimal(0.0, "S = 0");
    expectOptimal(2.0, "S = 2");
    // A copy of the solved programme on other residuals (as the band's
    // refits are) leaves the original as it was.
    std::vector<double> resampled = problem.residual;
    for (double& r : resampled) r += (unit(random) - 0.5) * 0.5;
    ProfileFit copy;
    ASSERT_TRUE(copy.prepare(fit));
    copy.setResidual(resampled);
    std::vector<double> original;
    ASSERT_TRUE(fit.solve(2.0, original));
    fit.setResidual(resampled);
    expectOptimal(2.0, "new residuals");
    expectOptimal(2.0, "new residuals on a copy", &copy);
    fit.setResidual(problem.residual);
    std::vector<double> again;
    ASSERT_TRUE(fit.solve(2.0, again));
    EXPECT_NEAR(objective(again, 2.0), objective(original, 2.0), 1e-9);
    ProfileFit unsolved, fromUnsolved;
    ASSERT_TRUE(unsolved.prepare(problem));
    EXPECT_FALSE(fromUnsolved.prepare(unsolved));
}

TEST_F(ProfileFitKernel, RefusesEmptyAndNonFiniteProblems) {
    ProfileFit fit;
    FitProblem empty;
    EXPECT_FALSE(fit.prepare(empty));
    FitProblem nan{1, {std::nan("")}, {1.0}, {0.0}, {true}};
    EXPECT_FALSE(fit.prepare(nan));
    FitProblem good{1, {1.0}, {1.0}, {-1.0}, {true}};
    ASSERT_TRUE(fit.prepare(good));
    std::vector<double> change;
    EXPECT_FALSE(fit.solve(-1.0, change));
    EXPECT_TRUE(change.empty());
}

// --- The dialog's boxes -------------------------------------------------------

TEST(FitBoxes, ReadStrictlyWithBlankDefaults) {
    FitSettings s;
    ASSERT_TRUE(fitSettingsOf("7114", " ", "", "", "", s));
    EXPECT_EQ(s.omega, 7114.0);
    EXPECT_FALSE(s.from || s.to || s.smoothing);
    EXPECT_EQ(s.band, 0u);
    ASSERT_TRUE(fitSettingsOf("7114", "7100", "7120.5", "2.5", "10", s));
    EXPECT_EQ(*s.from, 7100.0);
    EXPECT_EQ(*s.to, 7120.5);
    EXPECT_EQ(*s.smoothing, 2.5);
    EXPECT_EQ(s.band, 10u);
    const struct {
        const char* omega;
        const char* smoothing;
        const char* band;
        std::string_view named;
    } refused[] = {{"7l14", "", "", texts::kFitOmegaBox},
                   {"7114", "2x", "", texts::kFitSmoothingBox},
                   {"7114", "", "1.5", "帯の再フィット回数は"},
                   {"7114", "", "-1", "帯の再フィット回数は"},
                   {"7114", "", "1001", "帯の再フィット回数は"}};
    for (const auto& c : refused) {
        const Status status = fitSettingsOf(c.omega, "", "", c.smoothing, c.band, s);
        EXPECT_FALSE(status) << c.omega << c.smoothing << c.band;
        EXPECT_TRUE(test::contains(status.error(), c.named)) << status.error();
    }
}

// --- The noise rule -------------------------------------------------------------

TEST(FitNoise, EstimatesTheMeanAbsoluteNoiseOfASmoothSpectrum) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (const double sigma : {0.5, 2.0}) {
        PairSpectrum spectrum;
        double absNoise = 0.0, sum = 0.0;
        for (int p = 0; p < 20000; ++p) {
            const double e = 7020 + 0.01 * p;
            const double clean = 100 + 30 * std::sin(e / 5);
            const double n = sigma * noise(random);
            spectrum.push_back({e, clean + n});
            absNoise += std::fabs(n);
            sum += clean + n;
        }
        const std::vector<bool> used(spectrum.size(), true);
        const double estimate = noiseRFactor({&spectrum}, {used});
        EXPECT_TRUE(near(estimate, 100 * absNoise / sum, 0.03, 0.0)) << sigma;
    }
    // No noise on a straight line: nothing.
    PairSpectrum line{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    EXPECT_TRUE(near(noiseRFactor({&line}, {{true, true, true, true}}), 0.0, 0.0, 1e-12));
}

// --- The fit on work spaces -------------------------------------------------------

// With S = 0 every profile the greedy optimisation reaches by peaks inside
// the window lies in the fit's feasible set (up to the peaks' far tails), so
// the fit's R factor is never above the optimisation's.
TEST_F(FitWorkspace, NeverAboveTheGreedyOptimisation) {
    std::mt19937 random(2026);
    for (int round = 0; round < 6; ++round) {
        const int components = 1 + round % 2;
        const int mode = round / 2 % 2;
        OptimiseSpace greedy(random, components, mode);
        OptimiseSpace fitted(random, 1, 1);
        greedy.copyTo(fitted);
        const OptimiseSettings settings = smallSettings(3);
        SearchResult result;
        ASSERT_TRUE(runSearch(&searchPeaks, greedy.workspace, settings, result));
        const FitOutcome outcome =
            runFit(fitted.workspace, windowSettings(settings.start, settings.end));
        ASSERT_TRUE(outcome.report.done) << outcome.report.text;
        ASSERT_TRUE(outcome.rFactor);
        EXPECT_LE(*outcome.rFactor, result.rBest * (1 + 1e-9)) << round;
    }
}

// A measurement made from a profile that differs from the working copy only
// inside the window gives that profile back (a window of three points: the
// responses of closer neighbours are too alike to tell apart), with a
// measured map of three more excitation energies as well (both threads that
// make the rows take some of its spectra).
TEST_F(FitWorkspace, RecoversAKnownProfileFromNoiselessData) {
    for (const auto& [components, withMap] : {std::pair{1, false}, {2, false}, {1, true}}) {
        std::mt19937 random(11 + components);
        OptimiseSpace space(random, components, 1);
        SelectiveXafsTable target = space.published;
        for (XafsPoint& p : target) {
            if (p.energy < 7116 || p.energy > 7117) continue;
            p.a = asWritten(p.a + trialPeak(p.energy, 7117.5, 0.2, 1.0));
            if (components == 2) p.b = asWritten(p.b + trialPeak(p.energy, 7116.5, 0.1, 1.0));
            if (components == 1) p.b = p.a;
        }
        space.measure(target);
        if (withMap) {
            MeasuredMap map;
            for (const double omega : {7120.0, 7122.5, 7128.0}) {
                map.push_back({omega, space.measuredAt(target, omega)});
            }
            ASSERT_TRUE(space.workspace.write(files::kRixsExperimentMap, map));
        }
        const FitOutcome outcome = runFit(space.workspace, windowSettings(7116, 7117));
        ASSERT_TRUE(outcome.report.done) << outcome.report.text;
        EXPECT_LT(*outcome.rFactor, 1e-3) << components << withMap;
        // Two components give twice the unknowns to the same rows: the data
        // are met, but the split between A and B is not determined.
        if (components == 2) continue;
        const SelectiveXafsTable fitted = working(space);
        ASSERT_EQ(fitted.size(), target.size());
        for (std::size_t i = 0; i < fitted.size(); ++i) {
            // The measurement's six digits, through the neighbours' alike
            // responses, leave about 1/100 of the added peak (0.2) open.
            EXPECT_TRUE(near(fitted[i].a, target[i].a, 0.0, 5e-3)) << components << " " << i;
            EXPECT_TRUE(near(fitted[i].b, target[i].b, 0.0, 5e-3)) << components << " " << i;
        }
    }
}

// A measurement far below the calculation pulls the window down to 0 and no
// further; outside the window nothing moves.
TEST_F(FitWorkspace, KeepsTheWindowAndNonNegativity) {
    std::mt19937 random(5);
    OptimiseSpace space(random, 2, 1);
    SelectiveXafsTable low = space.published;
    for (XafsPoint& p : low) {
        p.a *= 0.2;
        p.b *= 0.2;
    }
    space.measure(low);
    const FitOutcome outcome = runFit(space.workspace, windowSettings(7114, 7121));
    ASSERT_TRUE(outcome.report.done) << outcome.report.text;
    const SelectiveXafsTable fitted = working(space);
    std::size_t zeros = 0;
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        const XafsPoint& p = fitted[i];
        if (p.energy < 7114 || p.energy > 7121) {
            EXPECT_EQ(p.a, space.published[i].a) << i;
            EXPECT_EQ(p.b, space.published[i].b) << i;
            continue;
        }
        EXPECT_GE(p.a, 0.0) << i;
        EXPECT_GE(p.b, 0.0) << i;
        zeros += (p.a == 0.0) + (p.b == 0.0);
    }
    EXPECT_GT(zeros, 0u);
}

TEST_F(FitWorkspace, RefusesWithNothingWritten) {
    struct Case {
        const char* name;
        FitSettings settings;
        bool noMeasurement;
        std::string_view line;
    };
    FitSettings below = windowSettings(7100, 7120);
    FitSettings above = windowSettings(7112, 7200);
    FitSettings reversed = windowSettings(7120, 7112);
    FitSettings gap = windowSettings(7112.1, 7112.2);
    FitSettings lowOmega = windowSettings(7112, 7120);
    lowOmega.omega = 500;
    FitSettings highOmega = lowOmega;
    highOmega.omega = 25000;
    FitSettings negative = windowSettings(7112, 7120, -1.0);
    FitSettings band = windowSettings(7112, 7120);
    band.band = kMaxFitBand + 1;
    const Case cases[] = {
        {"below", below, false, "の中にありません"},
        {"above", above, false, "の中にありません"},
        {"reversed", reversed, false, "の中にありません"},
        {"no point", gap, false, "の中にありません"},
        {"low omega", lowOmega, false, "範囲外"},
        {"high omega", highOmega, false, "範囲外"},
        {"negative smoothing", negative, false, texts::kFitSmoothingLine},
        {"band", band, false, "帯の再フィット回数"},
        {"no measurement", windowSettings(7112, 7120), true, texts::kFitNoMeasuredLine},
    };
    for (const Case& c : cases) {
        std::mt19937 random(3);
        OptimiseSpace space(random, 1, 1);
        if (c.noMeasurement) space.put(files::kRixsExperiment, "");
        const auto before = filesOf(space);
        const FitOutcome outcome = runFit(space.workspace, c.settings);
        EXPECT_FALSE(outcome.report.done) << c.name;
        EXPECT_TRUE(test::contains(outcome.report.text, texts::kFitErrorText)) << c.name;
        EXPECT_TRUE(test::contains(outcome.report.text, c.line)) << c.name;
        EXPECT_EQ(filesOf(space), before) << c.name;
    }
}

TEST_F(FitWorkspace, StopLeavesTheWorkSpaceAsItWas) {
    for (const bool atOnce : {true, false}) {
        std::mt19937 random(9);
        OptimiseSpace space(random, 1, 1);
        const auto before = filesOf(space);
        std::stop_source stop;
        if (atOnce) stop.request_stop();
        FitSettings settings = windowSettings(7112, 7124, std::nullopt);
        settings.band = 5;
        // Stopped once the first programme is solved.
        const FitOutcome outcome = runFit(space.workspace, settings, stop.get_token(),
                                          [&](const FitProgress&) { stop.request_stop(); });
        EXPECT_TRUE(outcome.cancelled) << atOnce;
        EXPECT_FALSE(outcome.report.done) << atOnce;
        EXPECT_EQ(outcome.report.text, texts::kFitStoppedText) << atOnce;
        EXPECT_EQ(filesOf(space), before) << atOnce;
    }
}

// The band: one row per window energy and component, lower under upper,
// made again byte for byte, and the fit itself as without a band.
TEST_F(FitWorkspace, BandIsWrittenInTheSameStepAndRepeats) {
    std::mt19937 random(21);
    OptimiseSpace space(random, 2, 1);
    OptimiseSpace again(random, 1, 1);
    OptimiseSpace plain(random, 1, 1);
    space.copyTo(again);
    space.copyTo(plain);
    FitSettings settings = windowSettings(7113, 7121, 0.5);
    settings.band = 12;
    std::size_t calls = 0;
    const FitOutcome outcome =
        runFit(space.workspace, settings, {}, [&](const FitProgress& p) { calls = p.done; });
    ASSERT_TRUE(outcome.report.done) << outcome.report.text;
    EXPECT_EQ(calls, 13u);  // the fit and twelve refits
    ASSERT_TRUE(runFit(again.workspace, settings).report.done);
    ASSERT_TRUE(runFit(plain.workspace, windowSettings(7113, 7121, 0.5)).report.done);
    EXPECT_EQ(space.text(files::kSelectiveWork), plain.text(files::kSelectiveWork));
    for (const auto name : {files::kFitBandA, files::kFitBandB}) {
        EXPECT_EQ(space.text(name), again.text(name)) << name;
        SelectiveXafsTable band;
        ASSERT_TRUE(space.workspace.read(name, band));
        ASSERT_EQ(band.size(), 17u) << name;  // 7113 … 7121 eV at 0.5 eV
        for (const XafsPoint& p : band) {
            EXPECT_GE(p.energy, 7113.0);
            EXPECT_LE(p.energy, 7121.0);
            EXPECT_LE(p.a, p.b) << name << " " << p.energy;
            EXPECT_GE(p.a, 0.0);
        }
    }
    EXPECT_EQ(plain.text(files::kFitBandA), "");

    // The workbench shades each band under its component.
    rixs::WorkbenchModel workbench(space.workspace);
    rixs::WorkbenchBoxes boxes;
    boxes.rangeMin = "7110";
    boxes.rangeMax = "7129.5";
    boxes.mode = rixs::DisplayMode::AB;
    ASSERT_TRUE(runStep(space.workspace, [&] { return workbench.changeDisplay(boxes); }).done);
    const auto curves = workbench.xafsCurves(rixs::DisplayMode::AB);
    ASSERT_EQ(curves.size(), 4u);
    for (const std::size_t band : {0u, 1u}) {
        ASSERT_EQ(curves[band].lower.size(), 17u);
        for (std::size_t i = 0; i < 17; ++i) EXPECT_LE(curves[band].lower[i], curves[band].y[i]);
    }
    EXPECT_TRUE(curves[2].lower.empty() && curves[3].lower.empty());
}

// Without --smooth the weight is the largest whose fit still reaches the
// measured noise: the fit's R factor ends near that noise, not below it as
// the exact fit does.
TEST_F(FitWorkspace, AutomaticSmoothingStopsAtTheNoise) {
    std::mt19937 random(17);
    OptimiseSpace space(random, 1, 1);
    OptimiseSpace exact(random, 1, 1);
    // Counting noise of 2 % on the measurement.
    PairSpectrum measured;
    ASSERT_TRUE(space.workspace.read(files::kRixsExperiment, measured));
    std::normal_distribution<double> noise(0.0, 0.02);
    for (PairPoint& p : measured) p.intensity = asWritten(p.intensity * (1 + noise(random)));
    space.put(files::kRixsExperiment, formatRecords(measured));
    space.copyTo(exact);
    const FitOutcome automatic = runFit(space.workspace, windowSettings(7111, 7128, std::nullopt));
    const FitOutcome zero = runFit(exact.workspace, windowSettings(7111, 7128, 0.0));
    ASSERT_TRUE(automatic.report.done) << automatic.report.text;
    ASSERT_TRUE(zero.report.done);
    EXPECT_TRUE(automatic.automatic);
    EXPECT_GT(automatic.noiseR, 0.5);
    EXPECT_LE(*zero.rFactor, *automatic.rFactor);
    EXPECT_LE(*automatic.rFactor, automatic.noiseR * 1.001);
    EXPECT_TRUE(test::contains(automatic.report.text, formatNumber(automatic.smoothing)));
}

// Without the solver every fit is refused before it reads anything, pointing
// to the optimisation, and nothing is written.
TEST(FitWithoutSolver, RefusesEveryFitLeavingTheWorkSpaceAsItWas) {
    if (ProfileFit::available()) GTEST_SKIP() << "this build has the solver";
    FitProblem good{1, {1.0}, {1.0}, {-1.0}, {true}};
    ProfileFit fit;
    const Status prepared = fit.prepare(good);
    ASSERT_FALSE(prepared);
    EXPECT_EQ(prepared.error(), texts::kFitNoSolverText);
    for (const bool badWindow : {false, true}) {
        std::mt19937 random(3);
        OptimiseSpace space(random, 1, 1);
        const auto before = filesOf(space);
        const FitOutcome outcome = runFit(
            space.workspace, badWindow ? windowSettings(7100, 7120) : windowSettings(7112, 7120));
        EXPECT_FALSE(outcome.report.done) << badWindow;
        EXPECT_TRUE(test::contains(outcome.report.text, texts::kFitNoSolverText)) << badWindow;
        EXPECT_TRUE(test::contains(outcome.report.text, "「最適化」")) << badWindow;
        EXPECT_EQ(filesOf(space), before) << badWindow;
    }
}

// --- The correction peak followed live -------------------------------------------

// The totals and R factor of a peak applied in memory are those of the full
// core on the corrected working copy.
TEST(LiveCorrection, FollowsTheCoreOnTheCorrectedProfile) {
    std::mt19937 random(31);
    OptimiseSpace space(random, 2, 1);
    rixs::LiveCorrection live;
    ASSERT_TRUE(live.prepare(space.workspace, 7125.0));
    PairSpectrum measured;
    ASSERT_TRUE(space.workspace.read(files::kRixsExperiment, measured));
    const rixs::LivePeak peaks[] = {{7117.0, 0.2, 1.5, true, false, false},
                                    {7121.3, 0.1, 0.8, false, true, false},
                                    {7115.0, 0.05, 3.0, true, true, true},
                                    {7119.0, 0.0, 1.0, true, true, false}};
    for (const rixs::LivePeak& peak : peaks) {
        const std::optional<double> r = live.update(peak);
        ASSERT_TRUE(r);
        SelectiveXafsTable corrected = space.published;
        for (XafsPoint& p : corrected) {
            const double value =
                (peak.subtract ? -1 : 1) * peak.amplitude /
                ((p.energy - peak.centre) * (p.energy - peak.centre) + peak.width * peak.width);
            if (peak.first) p.a += value;
            if (peak.second) p.b += value;
        }
        rixs::RixsInput input{corrected, space.absorption, space.parameters, space.lines, 7125.0};
        QuadSpectrum spectrum;
        ASSERT_TRUE(rixs::calculateRixsSpectrum(input, spectrum));
        ASSERT_EQ(live.totals().size(), spectrum.size());
        for (std::size_t j = 0; j < spectrum.size(); ++j) {
            EXPECT_TRUE(near(live.totals()[j], spectrum[j].total, 1e-6, 1e-9)) << peak.centre << j;
        }
        const auto expected = numeric::rFactor(spectrum, measured);
        EXPECT_TRUE(near(*r, *expected, 1e-6, 1e-9)) << peak.centre;
    }
}

// The grip: the centre under the cursor, the top at its height; the curve
// drawn through the live values lies where the panel's own projection puts
// them.
TEST(LiveCorrection, TheGripMovesThePeakAndItsCurveFollows) {
    std::mt19937 random(37);
    OptimiseSpace space(random, 1, 1);
    rixs::LiveCorrection live;
    ASSERT_TRUE(live.prepare(space.workspace, 7125.0));
    ASSERT_TRUE(live.ready());
    const plot::Range range{7110.0, 7130.0, 0.0, 0.4};
    const plot::Frame frame = plot::frameOf(range);
    rixs::LivePeak peak{7112.0, 0.1, 1.5, true, true, false};
    peak = rixs::peakAtGrip(peak, frame, plot::logicalXOf(frame, 7118.25),
                            plot::logicalYOf(frame, 0.3));
    EXPECT_TRUE(near(peak.centre, 7118.25, 1e-12, 1e-9));
    EXPECT_TRUE(near(peak.amplitude, 0.3 * 1.5 * 1.5, 1e-12, 1e-12));
    EXPECT_EQ(rixs::peakAtGrip(peak, frame, 0.0, -200.0).amplitude, 0.0);
    EXPECT_TRUE(near(rixs::peakTurned(peak, 2).amplitude, peak.amplitude * 1.5625, 1e-12, 0.0));

    const std::vector<double> energies = live.workingEnergies();
    const std::vector<double> values = live.peakValues(peak);
    PairSpectrum sampled;
    for (std::size_t i = 0; i < energies.size(); ++i) sampled.push_back({energies[i], values[i]});
    const auto top = std::max_element(values.begin(), values.end());
    EXPECT_TRUE(near(*top, 0.3, 0.05, 0.0)) << "the top sits near the cursor's height";
    plot::Curve like = plot::projectCurve(sampled, &PairPoint::energy, &PairPoint::intensity, range,
                                          plot::Pen::Pink);
    like.name = plot::texts::kCorrectionPeak;
    const plot::Curve drawn = plot::curveLike(like, energies, values);
    EXPECT_EQ(drawn.pen, plot::Pen::Pink);
    EXPECT_EQ(drawn.name, like.name);
    ASSERT_EQ(drawn.size(), like.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_LE(std::abs(drawn.x[i] - like.x[i]), 1) << i;
        EXPECT_LE(std::abs(drawn.y[i] - like.y[i]), 1) << i;
    }
    like.frame.reset();
    EXPECT_EQ(plot::curveLike(like, energies, values).size(), 0u);
}

}  // namespace
}  // namespace zephalo::core::tools
