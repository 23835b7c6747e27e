#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "core/rixs/rixs_core.h"
#include "core/tools/peak_optimisation.h"
#include "core/tools/trial_profile.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

// The small work space the optimisation's and the fit's tests share.
namespace zephalo::core::tools {

// A small work space: a selective XAFS of `points` points at 0.5 eV from
// 7110 eV, a 25-line emission grid, and a measurement made from the profile
// with two extra peaks (so that some trials help).
struct OptimiseSpace {
    test::TempDir dir;
    Workspace workspace{dir.path()};
    SelectiveXafsTable published;
    PairSpectrum absorption{{7100, 0.2}, {7120, 0.6}, {7140, 1.0}};
    CalculationParameters parameters;
    FinalStateFunction lines;

    // `value` draws an intensity (before it is written); by default 0.3 … 0.8.
    OptimiseSpace(std::mt19937& random, int components, int mode, std::size_t points = 40,
                  double (*value)(std::mt19937&) = nullptr) {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        auto draw = [&] { return asWritten(value ? value(random) : 0.3 + 0.5 * unit(random)); };
        published.resize(points);
        for (std::size_t i = 0; i < points; ++i) {
            const double e = 7110.0 + 0.5 * static_cast<double>(i);
            const double a = draw();
            published[i] = {e, a, components == 2 ? draw() : a};
        }
        parameters.gridStart = 7050;
        parameters.gridEnd = 7062;
        parameters.gridStep = 0.5;
        parameters.scalingFactor = 1e-3;
        lines.mode = mode;
        put(files::kParameters, formatRecord(parameters));
        put(files::kFinalState, formatRecord(lines));
        put(files::kConvXafsNorm, formatRecords(absorption));
        put(files::kSelectiveForRixs, formatRecords(published));
        put(files::kSelectiveWork, formatRecords(published));
        put(files::kXafsMinMax, formatRecord(minMaxOf(published, 10000.0)));
        // The measurement: the core on the profile with two peaks.
        SelectiveXafsTable target = published;
        for (XafsPoint& p : target) {
            p.a += trialPeak(p.energy, 7115.0 + 5 * unit(random), 0.05, 1.0);
            p.b += trialPeak(p.energy, 7118.0 + 3 * unit(random), 0.04, 1.0);
        }
        measure(target);
    }

    void put(std::string_view name, const std::string& text) const {
        test::writeFile(dir / std::string(name), text);
    }

    // The totals the core computes for `profile` at Ω, as Calculated_RIXS.DAT
    // would hold them.
    PairSpectrum measuredAt(const SelectiveXafsTable& profile, double omega) const {
        rixs::RixsInput input{profile, absorption, parameters, lines, omega};
        QuadSpectrum spectrum;
        EXPECT_TRUE(rixs::calculateRixsSpectrum(input, spectrum));
        PairSpectrum measured;
        for (const QuadPoint& p : spectrum) measured.push_back({p.energy, asWritten(p.total)});
        return measured;
    }

    // RIXSEXP.DAT: the measurement of `profile` at 7125 eV.
    void measure(const SelectiveXafsTable& profile) const {
        put(files::kRixsExperiment, formatRecords(measuredAt(profile, 7125.0)));
    }

    std::string text(std::string_view name) const {
        return test::readFile(dir / std::string(name));
    }
    bool has(std::string_view name) const {
        return std::filesystem::exists(dir / std::string(name));
    }
    void copyTo(const OptimiseSpace& other) const {
        // Removed first: MinGW's copy_file refuses to overwrite.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const auto target = other.dir / entry.path().filename().string();
            std::filesystem::remove(target);
            std::filesystem::copy_file(entry.path(), target);
        }
    }
};

inline OptimiseSettings smallSettings(int passes) {
    OptimiseSettings s;
    s.start = 7112;
    s.end = 7124;
    s.step = 2;
    s.height = 0.02;
    s.limit = 0.02;
    s.heightStep = 0.01;
    s.width = 1.0;
    s.omega = 7125;
    s.passes = passes;
    return s;
}

using Search = Status (*)(const Workspace&, const OptimiseInputs&, const OptimiseSettings&,
                          const SearchHooks&, SearchResult&);

// One run as a step: inputs, then the search.
inline Status runSearch(Search search, const Workspace& workspace, const OptimiseSettings& settings,
                        SearchResult& result, const SearchHooks& hooks = {}) {
    Status status;
    const Report report = runStep(workspace, [&] {
        OptimiseInputs inputs;
        status = readInputsAndBackUp(workspace, inputs);
        if (status) status = search(workspace, inputs, settings, hooks, result);
        return Report::from(status, "");
    });
    return report.done ? status : Status::failure(report.text);
}

}  // namespace zephalo::core::tools
