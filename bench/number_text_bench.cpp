#include <benchmark/benchmark.h>

#include "core/workspace/number_text.h"

// Work-space files are written number by number; this keeps an eye on the
// cost of one conversion.
static void BM_FormatNumber(benchmark::State& state) {
    double value = 7058.8;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zephalo::core::formatNumber(value));
        value += 0.1;
    }
}
BENCHMARK(BM_FormatNumber);
