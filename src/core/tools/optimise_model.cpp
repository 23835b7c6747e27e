#include "core/tools/optimise_model.h"

#include <array>
#include <charconv>
#include <utility>

#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/history.h"
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

// The command line's option for each box, in the order a replayed command
// gives them.
constexpr std::array<std::pair<std::string_view, std::string OptimiseBoxes::*>, 8> kBoxOptions{{
    {"--omega", &OptimiseBoxes::omega},
    {"--from", &OptimiseBoxes::start},
    {"--to", &OptimiseBoxes::end},
    {"--step", &OptimiseBoxes::step},
    {"--height", &OptimiseBoxes::height},
    {"--width", &OptimiseBoxes::width},
    {"--limit", &OptimiseBoxes::limit},
    {"--height-step", &OptimiseBoxes::heightStep},
}};
constexpr std::string_view kPassesOption = "--passes";

// The boxes an "optimise" command gives over `boxes`: "--name value" and
// "--name=value" alike; nullopt for another command.
std::optional<OptimiseBoxes> boxesOfCommand(const std::vector<std::string>& command,
                                            OptimiseBoxes boxes) {
    if (command.empty() || command.front() != "optimise") return std::nullopt;
    for (std::size_t i = 1; i < command.size(); ++i) {
        std::string_view word = command[i];
        std::string value;
        if (const auto equals = word.find('='); equals != std::string_view::npos) {
            value = std::string(word.substr(equals + 1));
            word = word.substr(0, equals);
        } else if (i + 1 < command.size()) {
            value = command[++i];
        }
        for (const auto& [option, box] : kBoxOptions) {
            if (word == option) boxes.*box = value;
        }
        int passes = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), passes);
        if (word == kPassesOption && error == std::errc{} && end == value.data() + value.size() &&
            passes >= 1 && passes <= static_cast<int>(kPassItems.size())) {
            boxes.passes = passes - 1;
        }
    }
    return boxes;
}

}  // namespace

OptimiseModel::OptimiseModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report OptimiseModel::open(std::string_view excitation) {
    MinMaxRecord range;
    if (auto status = m_workspace.read(files::kXafsMinMax, range); !status) {
        return Report::refused(status);
    }
    m_range = range;
    m_boxes = OptimiseBoxes{};
    m_boxes.start = formatDigits(range.xmin, kBoxDigits);
    m_boxes.end = formatDigits(range.xmax, kBoxDigits);
    if (const auto omega = parseTypedNumber(excitation); omega && *omega > 0.0) {
        m_boxes.omega = std::string(excitation);
    }
    return Report::success(std::string(texts::kOptimiseOpenText));
}

Report OptimiseModel::openAsLastTime(std::string_view excitation) {
    Report report = open(excitation);
    std::vector<HistoryEntry> steps;
    if (!report.done || !readHistory(m_workspace, steps)) return report;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        auto last = boxesOfCommand(step->description.command, m_boxes);
        if (!last) continue;
        if (m_boxes.omega != OptimiseBoxes{}.omega) last->omega = m_boxes.omega;
        const auto start = parseTypedNumber(last->start);
        const auto end = parseTypedNumber(last->end);
        if (!start || !end || *start < m_range.xmin || *end > m_range.xmax) {
            last->start = m_boxes.start;
            last->end = m_boxes.end;
        }
        m_boxes = *last;
        break;
    }
    return report;
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
    outcome.rStart = result.rStart;
    outcome.cancelled = result.cancelled;
    if (result.cancelled) {
        const OptimiseGrid grid = optimiseGrid(settings);
        const double energy = grid.positions[result.stoppedAt.position];
        outcome.report = Report::success(
            texts::optimiseStoppedText(result.stoppedAt.pass, formatDigits(energy, kBoxDigits)));
        return outcome;
    }
    const auto item = kPassItems[static_cast<std::size_t>(settings.passes - 1)];
    outcome.report =
        Report::success(texts::optimiseDoneText(typed.start, typed.end, item) +
                        texts::rFactorChangeLine(formatDigits(result.rStart, kRFactorDigits),
                                                 formatDigits(result.rBest, kRFactorDigits)));
    return outcome;
}

std::vector<std::string> replayCommand(const OptimiseBoxes& typed) {
    std::vector<std::string> command{"optimise"};
    for (const auto& [option, box] : kBoxOptions) {
        command.insert(command.end(), {std::string(option), boxArgument(typed.*box)});
    }
    if (typed.passes) {
        command.insert(command.end(),
                       {std::string(kPassesOption), std::to_string(*typed.passes + 1)});
    }
    return command;
}

std::string optimiseClosedText(const std::optional<std::string>& stoppedText,
                               std::optional<double> finalR) {
    std::string text = stoppedText ? texts::optimiseClosedAfterStopText(*stoppedText)
                                   : std::string(texts::kOptimiseClosedText);
    return text + (finalR ? texts::optimiseClosedRLine(formatDigits(*finalR, kRFactorDigits))
                          : std::string(texts::kOptimiseClosedHowTo));
}

}  // namespace zephalo::core::tools
