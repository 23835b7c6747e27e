#include "core/tools/optimise_literal.h"

#include "core/rixs/rixs_core.h"
#include "core/tools/trial_profile.h"
#include "core/workspace/file_names.h"

namespace zephalo::core::tools {

namespace {

// Evaluate: the trial written as the core's input, the core run, its output
// read back and scored; an improvement becomes the working copy.
Status evaluate(const Workspace& workspace, const OptimiseInputs& inputs, double omega,
                const SelectiveXafsTable& trial, double& rBest) {
    if (auto s = workspace.write(files::kSelectiveForRixs, trial); !s) return s;
    if (auto s = rixs::calculateRixs(workspace, omega); !s) return s;
    double r = 0.0;
    if (auto s = rFactorOfCalculated(workspace, inputs.measured, r); !s) return s;
    if (r < rBest) {
        rBest = r;
        return workspace.write(files::kSelectiveWork, trial);
    }
    return {};
}

}  // namespace

Status searchPeaksLiteral(const Workspace& workspace, const OptimiseInputs& inputs,
                          const OptimiseSettings& settings, const SearchHooks& hooks,
                          SearchResult& result) {
    result = SearchResult{};
    const OptimiseGrid grid = optimiseGrid(settings);
    if (auto s = rixs::calculateRixs(workspace, settings.omega); !s) return s;
    if (auto s = rFactorOfCalculated(workspace, inputs.measured, result.rBest); !s) return s;

    const int steps = trialsPerHeight(inputs.components);
    for (int pass = 1; pass <= settings.passes; ++pass) {
        for (std::size_t k = 0; k < grid.positions.size(); ++k) {
            const OptimiseProgress where{pass, settings.passes, k, grid.positions.size()};
            if (hooks.stop.stop_requested()) {
                result.cancelled = true;
                result.stoppedAt = where;
                return restorePublished(workspace);
            }
            if (hooks.progress) hooks.progress(where);
            for (const double height : grid.heights) {
                SelectiveXafsTable working;
                if (auto s = workspace.read(files::kSelectiveWork, working, kMaxPoints); !s) {
                    return s;
                }
                // Each step adds the peak on top of the one before, accepted or not.
                for (int step = 0; step < steps; ++step) {
                    ++result.trials;
                    ++result.exactEvaluations;
                    const TrialColumns columns = trialColumns(inputs.components, step);
                    const SelectiveXafsTable trial =
                        trialProfile(working, grid.positions[k], height, settings.width, columns);
                    const double before = result.rBest;
                    if (auto s = evaluate(workspace, inputs, settings.omega, trial, result.rBest);
                        !s) {
                        return s;
                    }
                    if (result.rBest < before) ++result.accepted;
                }
            }
        }
        if (hooks.passDone) hooks.passDone(pass, result.rBest);
    }
    return restorePublished(workspace);
}

}  // namespace zephalo::core::tools
