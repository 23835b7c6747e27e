#include "core/tools/optimise_model.h"

#include <utility>

#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::tools {

namespace {

// Significant digits of the energy boxes and of "最終R因子".
constexpr int kBoxDigits = 10;
constexpr int kRFactorDigits = 6;

// The boxes into settings; an empty box reads as 0.
Status settingsOf(const OptimiseBoxes& boxes, OptimiseSettings& s) {
    s.start = s.end = s.step = s.height = s.width = s.limit = s.heightStep = s.omega = 0.0;
    s.passes = boxes.passes ? *boxes.passes + 1 : 0;
    return readBoxes({{texts::kOptimiseStartBox, boxes.start, s.start},
                      {texts::kOptimiseEndBox, boxes.end, s.end},
                      {texts::kOptimiseStepBox, boxes.step, s.step},
                      {texts::kPeakHeightBox, boxes.height, s.height},
                      {texts::kPeakWidthBox, boxes.width, s.width},
                      {texts::kHeightLimitBox, boxes.limit, s.limit},
                      {texts::kHeightStepBox, boxes.heightStep, s.heightStep},
                      {texts::kOmegaBox, boxes.omega, s.omega}});
}

}  // namespace

OptimiseModel::OptimiseModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report OptimiseModel::open() {
    MinMaxRecord range;
    if (auto status = m_workspace.read(files::kXafsMinMax, range); !status) {
        return Report::refused(status);
    }
    m_boxes = OptimiseBoxes{};
    m_boxes.start = formatDigits(range.xmin, kBoxDigits);
    m_boxes.end = formatDigits(range.xmax, kBoxDigits);
    return Report::success(std::string(texts::kOptimiseOpenText));
}

OptimiseOutcome OptimiseModel::run(const OptimiseBoxes& typed, const OptimiseObserver& observer,
                                   std::stop_token stop) {
    m_boxes = typed;
    OptimiseOutcome outcome;
    OptimiseSettings settings;
    if (auto status = settingsOf(typed, settings); !status) {
        outcome.report = Report::refused(status);
        return outcome;
    }
    OptimiseInputs inputs;
    if (auto status = readInputsAndBackUp(m_workspace, inputs); !status) {
        outcome.report = Report::refusedUnchanged(status);
        return outcome;
    }
    if (auto error = checkOptimiseSettings(settings, inputs.range)) {
        // The backup is written by then, and only the backup.
        outcome.report = Report::refused(*error);
        return outcome;
    }
    SearchHooks hooks;
    hooks.progress = observer.progress;
    hooks.stop = std::move(stop);
    hooks.passDone = [&](int pass, double rBest) {
        PassResult result{pass, inputs.components, rBest, std::to_string(inputs.components),
                          formatDigits(rBest, kRFactorDigits)};
        outcome.passes.push_back(result);
        if (observer.passDone) observer.passDone(result);
    };
    SearchResult result;
    if (auto status = searchPeaks(m_workspace, inputs, settings, hooks, result); !status) {
        outcome.report = Report::refused(status);
        return outcome;
    }
    outcome.rFactor = result.rBest;
    outcome.cancelled = result.cancelled;
    if (result.cancelled) {
        const OptimiseGrid grid = optimiseGrid(settings);
        const double energy = grid.positions[result.stoppedAt.position];
        outcome.report = Report::success(
            texts::optimiseStoppedText(result.stoppedAt.pass, formatDigits(energy, kBoxDigits)));
        return outcome;
    }
    const auto item = kPassItems[static_cast<std::size_t>(settings.passes - 1)];
    outcome.report = Report::success(texts::optimiseDoneText(typed.start, typed.end, item));
    return outcome;
}

std::vector<std::string> replayCommand(const OptimiseBoxes& typed) {
    std::vector<std::string> command{"optimise",
                                     "--omega",
                                     boxArgument(typed.omega),
                                     "--from",
                                     boxArgument(typed.start),
                                     "--to",
                                     boxArgument(typed.end),
                                     "--step",
                                     boxArgument(typed.step),
                                     "--height",
                                     boxArgument(typed.height),
                                     "--width",
                                     boxArgument(typed.width),
                                     "--limit",
                                     boxArgument(typed.limit),
                                     "--height-step",
                                     boxArgument(typed.heightStep)};
    if (typed.passes)
        command.insert(command.end(), {"--passes", std::to_string(*typed.passes + 1)});
    return command;
}

}  // namespace zephalo::core::tools
