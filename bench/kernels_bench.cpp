#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>

#include "core/rixs/rixs_core.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "core/xrf/emission_model.h"
#include "test_inputs.h"

// The two numerical kernels, literal reference and production path side by
// side, on generated spectra shaped like a K edge.
namespace {

using namespace zephalo::core;
using zephalo::bench::absorptionSpectrum;
using zephalo::bench::selectiveXafs;

constexpr double kCore = 7120.0;

// The RIXS core on `selectivePoints` selective XAFS points (0.1 eV apart from
// 15 eV below the edge); `emissionPoints` 0 keeps the default work-space grid
// (7020-7065 eV at 0.1 eV, 450 points), else a 0.01 eV grid of that many points.
template <bool Literal>
void rixsCore(benchmark::State& state, std::size_t selectivePoints, std::size_t emissionPoints) {
    const auto xafs = selectiveXafs(kCore - 15.0, 0.1, selectivePoints, kCore);
    const auto absorption = absorptionSpectrum(kCore - 100.0, 0.25, 1600, kCore);
    rixs::RixsInput input;
    input.selective = xafs;
    input.absorption = absorption;
    input.omega = 7130.0;
    if (emissionPoints > 0) {
        input.parameters.gridStart = 7000.0;
        input.parameters.gridStep = 0.01;
        input.parameters.gridEnd = 7000.0 + (static_cast<double>(emissionPoints) - 0.5) * 0.01;
    }
    QuadSpectrum out;
    for (auto _ : state) {
        const Status status = Literal ? rixs::calculateRixsLiteral(input, out)
                                      : rixs::calculateRixsSpectrum(input, out);
        benchmark::DoNotOptimize(status.ok());
    }
    state.counters["points"] = static_cast<double>(out.size());
}
void BM_RixsLiteral_450x2001(benchmark::State& state) {
    rixsCore<true>(state, 2001, 0);
}
void BM_RixsFast_450x2001(benchmark::State& state) {
    rixsCore<false>(state, 2001, 0);
}
BENCHMARK(BM_RixsLiteral_450x2001)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RixsFast_450x2001)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RixsLiteral_5000x5000(benchmark::State& state) {
    rixsCore<true>(state, 5000, 5000);
}
void BM_RixsFast_5000x5000(benchmark::State& state) {
    rixsCore<false>(state, 5000, 5000);
}
BENCHMARK(BM_RixsLiteral_5000x5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_RixsFast_5000x5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One whole call as the workbench and the optimizer make it: read the four
// work-space files, compute the default grid, write Calculated_RIXS.DAT.
void BM_RixsFileToFile_450x2001(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("zephalo-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const Workspace workspace(folder);
    bool ready =
        workspace.write(files::kParameters, CalculationParameters{}).ok() &&
        workspace.write(files::kFinalState, FinalStateFunction{}).ok() &&
        workspace.write(files::kSelectiveForRixs, selectiveXafs(kCore - 15.0, 0.1, 2001, kCore))
            .ok() &&
        workspace.write(files::kConvXafsNorm, absorptionSpectrum(kCore - 100.0, 0.25, 1600, kCore))
            .ok();
    for (auto _ : state) {
        if (!ready) break;
        ready = rixs::calculateRixs(workspace, 7130.0).ok();
    }
    if (!ready) state.SkipWithError("the work-space files could not be used");
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_RixsFileToFile_450x2001)->Unit(benchmark::kMillisecond)->UseRealTime();

template <bool Literal>
void emission5000(benchmark::State& state) {
    xrf::EmissionModelInput input;
    input.excitation = 7220.0;
    input.parameters.gridStart = 7000.0;
    input.parameters.gridStep = 0.01;
    input.parameters.gridEnd = 7000.0 + 4999.5 * 0.01;
    QuadSpectrum out;
    for (auto _ : state) {
        const Status status =
            Literal ? xrf::evaluateEmissionLiteral(input, out) : xrf::evaluateEmission(input, out);
        benchmark::DoNotOptimize(status.ok());
    }
    state.counters["points"] = static_cast<double>(out.size());
}
void BM_EmissionLiteral_5000(benchmark::State& state) {
    emission5000<true>(state);
}
void BM_EmissionFast_5000(benchmark::State& state) {
    emission5000<false>(state);
}
BENCHMARK(BM_EmissionLiteral_5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EmissionFast_5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
