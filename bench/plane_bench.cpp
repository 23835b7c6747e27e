#include <benchmark/benchmark.h>

#include <vector>

#include "core/rixs/rixs_plane.h"
#include "test_inputs.h"

// The RIXS plane: 1000 excitation energies over the default 450-point
// emission grid with a 2001-point selective XAFS (goal: under 0.5 s on two
// cores).
namespace {

using namespace zephalo::core;

constexpr double kCore = 7120.0;

void BM_RixsPlane_1000x450x2001(benchmark::State& state) {
    const auto xafs = zephalo::bench::selectiveXafs(kCore - 15.0, 0.1, 2001, kCore);
    const auto absorption = zephalo::bench::absorptionSpectrum(kCore - 100.0, 0.25, 1600, kCore);
    rixs::RixsInput input;
    input.selective = xafs;
    input.absorption = absorption;
    std::vector<double> excitations;
    if (!rixs::planeExcitations(7100.0, 7149.95, 0.05, excitations)) {
        state.SkipWithError("range refused");
        return;
    }
    rixs::RixsPlane plane;
    for (auto _ : state) {
        const Status status = rixs::calculateRixsPlane(input, excitations, plane);
        benchmark::DoNotOptimize(status.ok());
    }
    state.counters["rows"] = static_cast<double>(plane.excitation.size());
    state.counters["columns"] = static_cast<double>(plane.emission.size());
}
BENCHMARK(BM_RixsPlane_1000x450x2001)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
