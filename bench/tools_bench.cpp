#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/rixs/rixs_core.h"
#include "core/tools/average_model.h"
#include "core/tools/optimise_literal.h"
#include "core/tools/peak_optimisation.h"
#include "core/workspace/file_names.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "test_inputs.h"

// The refinement tools: the peak optimisation with its defaults on a 100 eV
// range (fast search, three passes; the file-by-file procedure, one pass) and
// neighbour averaging of 5000 points.
namespace {

using namespace zephalo::core;
using zephalo::bench::absorptionSpectrum;
using zephalo::bench::selectiveXafs;

constexpr double kCore = 7120.0;
constexpr double kOmega = 7130.0;

// A work space in a temporary folder: a two-component 1000-point selective
// XAFS (0.1 eV from 7105 eV) as both the published profile and the working
// copy, the default 450-point emission grid, and a measurement computed
// from the profile with two extra peaks.
class OptimiseSpace {
public:
    OptimiseSpace() {
        m_dir = std::filesystem::temp_directory_path() /
                ("zephalo-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        const Workspace workspace(m_dir);
        const auto xafs = selectiveXafs(kCore - 15.0, 0.1, 1000, kCore);
        SelectiveXafsTable published = xafs;
        for (XafsPoint& p : published) {  // as a file holds them
            p = {asText(p.energy), asText(p.a), asText(p.b)};
        }
        const auto absorption = absorptionSpectrum(kCore - 100.0, 0.25, 1600, kCore);
        CalculationParameters parameters;
        FinalStateFunction lines;
        (void)workspace.write(files::kParameters, parameters);
        (void)workspace.write(files::kFinalState, lines);
        (void)workspace.write(files::kConvXafsNorm, absorption);
        (void)workspace.write(files::kSelectiveForRixs, published);
        (void)workspace.write(files::kSelectiveWork, published);
        (void)workspace.write(files::kXafsMinMax, minMaxOf(published, 10000.0));
        SelectiveXafsTable target = published;
        for (XafsPoint& p : target) {
            p.a += tools::trialPeak(p.energy, 7131.0, 0.06, 1.0);
            p.b += tools::trialPeak(p.energy, 7142.0, 0.04, 1.5);
        }
        rixs::RixsInput input{target, absorption, parameters, lines, kOmega};
        QuadSpectrum spectrum;
        (void)rixs::calculateRixsSpectrum(input, spectrum);
        PairSpectrum measured;
        for (const QuadPoint& q : spectrum) measured.push_back({q.energy, q.total});
        (void)workspace.write(files::kRixsExperiment, measured);
        for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
            m_original.push_back(entry.path());
            std::filesystem::copy_file(entry.path(), entry.path().string() + ".orig");
        }
    }
    ~OptimiseSpace() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    OptimiseSpace(const OptimiseSpace&) = delete;
    OptimiseSpace& operator=(const OptimiseSpace&) = delete;

    // Puts every file back as it was created.
    void reset() const {
        std::filesystem::remove(m_dir / std::string(files::kSelectiveSaving));
        std::filesystem::remove(m_dir / std::string(files::kCalculatedRixs));
        for (const auto& file : m_original) {
            std::filesystem::copy_file(file.string() + ".orig", file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    Workspace workspace() const { return Workspace(m_dir); }

private:
    static double asText(double value) { return std::stod(formatRecord({value})); }

    std::filesystem::path m_dir;
    std::vector<std::filesystem::path> m_original;
};

// The dialog's defaults on 7105 … 7205 eV at 1 eV: 100 positions, 20 heights.
tools::OptimiseSettings defaults(int passes) {
    tools::OptimiseSettings s;
    s.start = 7105.0;
    s.end = 7205.0;
    s.omega = kOmega;
    s.passes = passes;
    return s;
}

using Search = Status (*)(const Workspace&, const tools::OptimiseInputs&,
                          const tools::OptimiseSettings&, const tools::SearchHooks&,
                          tools::SearchResult&);

// One run; `inStep` stages the files in memory and commits them at the end,
// otherwise every write replaces its file on disk at once.
void optimise(benchmark::State& state, Search search, int passes, bool inStep) {
    const OptimiseSpace space;
    const Workspace workspace = space.workspace();
    tools::SearchResult result;
    for (auto _ : state) {
        state.PauseTiming();
        space.reset();
        state.ResumeTiming();
        auto run = [&] {
            tools::OptimiseInputs inputs;
            Status status = tools::readInputsAndBackUp(workspace, inputs);
            if (status) status = search(workspace, inputs, defaults(passes), {}, result);
            return Report::from(status, "");
        };
        const Report report = inStep ? runStep(workspace, run) : run();
        if (!report.done) state.SkipWithError(report.text.c_str());
    }
    state.counters["trials"] = static_cast<double>(result.trials);
    state.counters["exact"] = static_cast<double>(result.exactEvaluations);
    state.counters["linear"] = static_cast<double>(result.linearEvaluations);
    state.counters["accepted"] = static_cast<double>(result.accepted);
    state.counters["R"] = result.rBest;
}

void BM_OptimiseFast3Passes(benchmark::State& state) {
    optimise(state, &tools::searchPeaks, 3, true);
}
BENCHMARK(BM_OptimiseFast3Passes)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_OptimiseLiteral1Pass(benchmark::State& state) {
    optimise(state, &tools::searchPeaksLiteral, 1, false);
}
BENCHMARK(BM_OptimiseLiteral1Pass)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_AverageNeighbours5000(benchmark::State& state) {
    const auto xafs = selectiveXafs(kCore - 100.0, 0.1, 5000, kCore);
    const int halfWidth = tools::kAverageHalfWidths[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state) {
        auto out = tools::averageNeighbours(xafs, {0, xafs.size() - 1}, halfWidth);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_AverageNeighbours5000)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

// The button with its file reading and writing (outside a step).
void BM_AverageButton5000(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("zephalo-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const Workspace workspace(dir);
    const auto xafs = selectiveXafs(kCore - 100.0, 0.1, 5000, kCore);
    (void)workspace.write(files::kSelectiveWork, xafs);
    (void)workspace.write(files::kXafsMinMax, minMaxOf(xafs, 10000.0));
    tools::AverageModel model(workspace);
    (void)model.open();
    tools::AverageBoxes boxes = model.boxes();
    boxes.item = 2;
    for (auto _ : state) {
        const Report report = model.run(boxes);
        if (!report.done) state.SkipWithError(report.text.c_str());
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_AverageButton5000)->Unit(benchmark::kMillisecond);

}  // namespace
