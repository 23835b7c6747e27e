#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/rixs/live_correction.h"
#include "core/rixs/rixs_core.h"
#include "core/tools/peak_optimisation.h"
#include "core/tools/profile_fit_run.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "test_inputs.h"

// The fit of the selective XAFS: one spectrum of 2001 emission points with
// a 450-point profile and a 40 eV window (given S, and S by the noise rule),
// a band of 100 refits, and twenty excitation energies of a measured map.
namespace {

using namespace zephalo::core;
using zephalo::bench::absorptionSpectrum;
using zephalo::bench::selectiveXafs;

constexpr double kCore = 7120.0;
constexpr double kOmega = 7125.0;

// A work space in a temporary folder: a one-component 450-point selective
// XAFS (0.1 eV from 7105 eV) as the working copy, an emission grid of 2001
// points, and a measurement computed from the profile with a missing peak
// and 1 % noise; with `mapSpectra`, a measured map as well.
class FitSpace {
public:
    explicit FitSpace(int mapSpectra = 0) {
        m_dir = std::filesystem::temp_directory_path() /
                ("zephalo-fit-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        const Workspace workspace(m_dir);
        SelectiveXafsTable profile = selectiveXafs(kCore - 15.0, 0.1, 450, kCore);
        for (XafsPoint& p : profile) p = {storedValue(p.energy), storedValue(p.a), 0.0};
        for (XafsPoint& p : profile) p.b = p.a;
        const auto absorption = absorptionSpectrum(kCore - 100.0, 0.25, 1600, kCore);
        CalculationParameters parameters;
        parameters.gridStart = 7020.0;
        parameters.gridEnd = 7080.0;
        parameters.gridStep = 0.03;
        FinalStateFunction lines;
        (void)workspace.write(files::kParameters, parameters);
        (void)workspace.write(files::kFinalState, lines);
        (void)workspace.write(files::kConvXafsNorm, absorption);
        (void)workspace.write(files::kSelectiveForRixs, profile);
        (void)workspace.write(files::kSelectiveWork, profile);
        SelectiveXafsTable target = profile;
        for (XafsPoint& p : target) {
            p.a += tools::trialPeak(p.energy, 7116.5, 0.3, 1.0);
            p.b = p.a;
        }
        std::mt19937 random(1);
        std::normal_distribution<double> noise(0.0, 0.01);
        auto measure = [&](double omega) {
            rixs::RixsInput input{target, absorption, parameters, lines, omega};
            QuadSpectrum spectrum;
            (void)rixs::calculateRixsSpectrum(input, spectrum);
            PairSpectrum measured;
            for (const QuadPoint& q : spectrum) {
                measured.push_back(
                    {storedValue(q.energy), storedValue(q.total * (1 + noise(random)))});
            }
            return measured;
        };
        (void)workspace.write(files::kRixsExperiment, measure(kOmega));
        MeasuredMap map;
        for (int i = 0; i < mapSpectra; ++i) {
            const double omega = kOmega - 10.0 + i;
            map.push_back({omega, measure(omega)});
        }
        if (mapSpectra > 0) (void)workspace.write(files::kRixsExperimentMap, map);
    }
    ~FitSpace() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    FitSpace(const FitSpace&) = delete;
    FitSpace& operator=(const FitSpace&) = delete;

    Workspace workspace() const { return Workspace(m_dir); }

private:
    std::filesystem::path m_dir;
};

// One fit as a step whose files are dropped, so that every run starts alike.
void fit(benchmark::State& state, int mapSpectra, std::optional<double> smoothing,
         std::size_t band) {
    const FitSpace space(mapSpectra);
    const Workspace workspace = space.workspace();
    tools::FitSettings settings;
    settings.omega = kOmega;
    settings.from = 7106.0;
    settings.to = 7146.0;
    settings.smoothing = smoothing;
    settings.band = band;
    tools::FitOutcome outcome;
    for (auto _ : state) {
        (void)runStep(workspace, [&] {
            outcome = tools::fitWorkingCopy(workspace, settings);
            return Report::refused("");
        });
        if (!outcome.report.done) state.SkipWithError(outcome.report.text.c_str());
    }
    state.counters["R"] = outcome.rFactor.value_or(-1.0);
    state.counters["S"] = outcome.smoothing;
}

void BM_FitOneSpectrumGivenS(benchmark::State& state) {
    fit(state, 0, 1.0, 0);
}
BENCHMARK(BM_FitOneSpectrumGivenS)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FitOneSpectrumNoiseRule(benchmark::State& state) {
    fit(state, 0, std::nullopt, 0);
}
BENCHMARK(BM_FitOneSpectrumNoiseRule)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FitBand100(benchmark::State& state) {
    fit(state, 0, 1.0, 100);
}
BENCHMARK(BM_FitBand100)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_FitMapTwenty(benchmark::State& state) {
    fit(state, 20, 1.0, 0);
}
BENCHMARK(BM_FitMapTwenty)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// One live update: the correction peak moved, the totals and R follow.
void BM_LiveCorrectionUpdate(benchmark::State& state) {
    const FitSpace space;
    rixs::LiveCorrection live;
    if (!live.prepare(space.workspace(), kOmega)) state.SkipWithError("prepare");
    rixs::LivePeak peak{7116.0, 0.3, 1.0, true, true, false};
    double r = 0.0;
    for (auto _ : state) {
        peak.centre += 0.01;
        r = live.update(peak).value_or(-1.0);
        benchmark::DoNotOptimize(r);
    }
    state.counters["R"] = r;
}
BENCHMARK(BM_LiveCorrectionUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
