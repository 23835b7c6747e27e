#include <benchmark/benchmark.h>

#include "core/xafs/selective_import.h"

// The grid and the pairing search record by record (first or last match in
// file order); this keeps an eye on the cost at the full 5000 records.
namespace {

using zephalo::core::PairSpectrum;
using zephalo::core::SelectiveXafsTable;

SelectiveXafsTable tenthGrid(int n) {
    SelectiveXafsTable records;
    for (int i = 0; i < n; ++i) records.push_back({-10.0 + 0.1 * i, 1.0 + i % 17, 2.0 + i % 5});
    return records;
}

void BM_ResampleOnGrid(benchmark::State& state) {
    const auto records = tenthGrid(static_cast<int>(state.range(0)));
    const auto scale = zephalo::core::xafs::gridScaleOf(records);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            zephalo::core::xafs::resampleOnGrid(records, records.size(), scale));
    }
}
BENCHMARK(BM_ResampleOnGrid)->Arg(400)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_MergeComponents(benchmark::State& state) {
    PairSpectrum first;
    PairSpectrum second;
    for (const auto& r : tenthGrid(static_cast<int>(state.range(0)))) {
        first.push_back({r.energy, r.a});
        second.push_back({r.energy, r.b});
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(zephalo::core::xafs::mergeComponents(first, second));
    }
}
BENCHMARK(BM_MergeComponents)->Arg(400)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
