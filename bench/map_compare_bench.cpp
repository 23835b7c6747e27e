#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "core/rixs/map_comparison.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "test_inputs.h"

// compare-map: a measured map of 200 excitation energies × 2001 emission
// energies against the plane from a 450-point selective XAFS (goal: under
// 0.2 s on two cores), from the work-space files to the R factors.
namespace {

using namespace zephalo::core;
using zephalo::bench::absorptionSpectrum;
using zephalo::bench::selectiveXafs;

constexpr double kCore = 7120.0;

class MapSpace {
public:
    MapSpace() {
        m_dir = std::filesystem::temp_directory_path() /
                ("zephalo-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        const Workspace workspace(m_dir);
        CalculationParameters parameters;
        parameters.gridStart = 7000.0;  // 7000 … 7200 eV: 2001 emission energies
        parameters.gridEnd = 7200.05;
        MeasuredMap map;
        for (int i = 0; i < 200; ++i) {
            MeasuredSpectrum spectrum{storedValue(7100.0 + 0.25 * i), {}};
            for (int j = 0; j < 2001; ++j) {
                const double w = storedValue(7000.0 + 0.1 * j);
                spectrum.points.push_back({w, storedValue(1e-3 * (1.1 + std::sin(0.3 * w)))});
            }
            map.push_back(std::move(spectrum));
        }
        m_ready =
            workspace.write(files::kParameters, parameters).ok() &&
            workspace.write(files::kFinalState, FinalStateFunction{}).ok() &&
            workspace.write(files::kSelectiveForRixs, selectiveXafs(kCore - 15.0, 0.1, 450, kCore))
                .ok() &&
            workspace
                .write(files::kConvXafsNorm, absorptionSpectrum(kCore - 100.0, 0.25, 1600, kCore))
                .ok() &&
            workspace.write(files::kRixsExperimentMap, map).ok();
    }
    ~MapSpace() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    MapSpace(const MapSpace&) = delete;
    MapSpace& operator=(const MapSpace&) = delete;

    bool ready() const { return m_ready; }
    Workspace workspace() const { return Workspace(m_dir); }

private:
    std::filesystem::path m_dir;
    bool m_ready = false;
};

void BM_CompareMap_200x2001x450(benchmark::State& state) {
    const MapSpace space;
    const Workspace workspace = space.workspace();
    rixs::MapComparison comparison;
    bool ok = space.ready();
    for (auto _ : state) {
        if (!ok) break;
        ok = rixs::compareMeasuredMap(workspace, comparison).ok();
    }
    if (!ok) {
        state.SkipWithError("the comparison refused");
        return;
    }
    state.counters["rows"] = static_cast<double>(comparison.calculated.excitation.size());
    state.counters["columns"] = static_cast<double>(comparison.calculated.emission.size());
}
BENCHMARK(BM_CompareMap_200x2001x450)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts: reading the stored map alone.
void BM_ReadStoredMap_200x2001(benchmark::State& state) {
    const MapSpace space;
    const Workspace workspace = space.workspace();
    MeasuredMap map;
    bool ok = space.ready();
    for (auto _ : state) {
        if (!ok) break;
        ok = workspace.read(files::kRixsExperimentMap, map).ok();
    }
    if (!ok) state.SkipWithError("the map could not be read");
}
BENCHMARK(BM_ReadStoredMap_200x2001)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
