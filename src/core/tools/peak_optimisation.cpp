#include "core/tools/peak_optimisation.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/numeric/emission_grid.h"
#include "core/tools/tools_texts.h"
#include "core/tools/trial_profile.h"
#include "core/workspace/file_names.h"

// The trial grid, the settings check and the inputs of a run.
namespace zephalo::core::tools {

namespace {

// A count of trial steps as the run takes it: trunc(span/step), none below 1.
std::size_t gridCount(double span, double step) {
    const double count = std::trunc(span / step);
    if (!(count >= 1.0)) return 0;
    return count > static_cast<double>(kMaxOptimiseGrid) ? kMaxOptimiseGrid + 1
                                                         : static_cast<std::size_t>(count);
}

}  // namespace

OptimiseGrid optimiseGrid(const OptimiseSettings& settings) {
    OptimiseGrid grid;
    const std::size_t positions = gridCount(settings.end - settings.start, settings.step);
    const std::size_t heights = gridCount(2 * settings.limit, settings.heightStep);
    if (positions > kMaxOptimiseGrid || heights > kMaxOptimiseGrid) return grid;
    grid.positions.reserve(positions);
    for (std::size_t k = 0; k < positions; ++k) {
        grid.positions.push_back(settings.start + static_cast<double>(k) * settings.step);
    }
    grid.heights.reserve(heights);
    for (std::size_t h = 0; h < heights; ++h) {
        grid.heights.push_back((settings.height - settings.limit) +
                               static_cast<double>(h) * settings.heightStep);
    }
    return grid;
}

std::optional<std::string> checkOptimiseSettings(const OptimiseSettings& settings,
                                                 const MinMaxRecord& range) {
    const OptimiseSettings& s = settings;
    if (s.passes < 1 || s.passes > static_cast<int>(kPassItems.size()) || s.omega == 0.0 ||
        s.start < range.xmin || s.end > range.xmax || s.end < s.start || s.step == 0.0 ||
        s.width == 0.0 || s.heightStep == 0.0) {
        return std::string(texts::kOptimiseErrorText);
    }
    const std::size_t positions = gridCount(s.end - s.start, s.step);
    const std::size_t heights = gridCount(2 * s.limit, s.heightStep);
    if (positions > kMaxOptimiseGrid || heights > kMaxOptimiseGrid) {
        return std::string(texts::kOptimiseErrorText) + texts::tooManyTrialsLine(kMaxOptimiseGrid);
    }
    // Memory grows with the positions, time with the trials.
    if (positions > kMaxOptimisePositions) {
        return std::string(texts::kOptimiseErrorText) +
               texts::tooManyPositionsLine(positions, kMaxOptimisePositions);
    }
    const std::size_t trials = positions * heights * static_cast<std::size_t>(s.passes);
    if (trials > kMaxOptimiseTrials) {
        return std::string(texts::kOptimiseErrorText) +
               texts::tooManyTrialCountLine(positions, heights, s.passes, trials,
                                            kMaxOptimiseTrials);
    }
    return std::nullopt;
}

Status readInputsAndBackUp(const Workspace& workspace, OptimiseInputs& out) {
    out = OptimiseInputs{};
    auto withError = [](const Status& status) {
        return Status::failure(std::string(texts::kOptimiseErrorText) + "\r\n" + status.error());
    };
    if (auto s = workspace.read(files::kXafsMinMax, out.range); !s) return withError(s);
    if (auto s = workspace.read(files::kSelectiveForRixs, out.published, kMaxPoints); !s) {
        return withError(s);
    }
    if (out.published.empty()) {
        return refusedWith(
            texts::emptySelectiveLine(pathText(workspace.path(files::kSelectiveForRixs))));
    }
    if (out.published.size() > kMaxOptimiseSelective) {
        return refusedWith(
            texts::tooManyPointsLine(pathText(workspace.path(files::kSelectiveForRixs)),
                                     out.published.size(), kMaxOptimiseSelective));
    }
    if (auto s = workspace.read(files::kSelectiveWork, out.working, kMaxPoints); !s) {
        return withError(s);
    }
    if (out.working.size() > kMaxOptimiseSelective) {
        return refusedWith(texts::tooManyPointsLine(pathText(workspace.path(files::kSelectiveWork)),
                                                    out.working.size(), kMaxOptimiseSelective));
    }
    if (auto s = workspace.read(files::kRixsExperiment, out.measured, kMaxPoints); !s) {
        return withError(s);
    }
    if (out.measured.size() > kMaxOptimiseLines) {
        return refusedWith(
            texts::tooManyPointsLine(pathText(workspace.path(files::kRixsExperiment)),
                                     out.measured.size(), kMaxOptimiseLines));
    }
    CalculationParameters parameters;
    if (auto s = workspace.readParameters(parameters); !s) return withError(s);
    std::vector<double> grid;
    if (auto s = numeric::emissionGrid(parameters.gridStart, parameters.gridEnd,
                                       parameters.gridStep, grid);
        !s) {
        return withError(s);
    }
    if (grid.size() > kMaxOptimiseLines) {
        return refusedWith(texts::tooManyGridLinesLine(grid.size(), kMaxOptimiseLines));
    }
    out.components = std::any_of(out.published.begin(), out.published.end(),
                                 [](const XafsPoint& p) { return p.a != p.b; })
                         ? 2
                         : 1;
    if (auto s = workspace.write(files::kSelectiveSaving, out.published); !s) return s;
    // The backup stays even when the run then refuses.
    workspace.keepIfRefused(files::kSelectiveSaving);
    return {};
}

}  // namespace zephalo::core::tools
