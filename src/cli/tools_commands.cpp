#include <map>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_support.h"
#include "cli/cli_texts.h"
#include "core/tools/average_model.h"
#include "core/tools/optimise_model.h"
#include "core/tools/profile_fit_run.h"
#include "core/workspace/gates.h"

namespace zephalo::cli {

namespace {

using core::tools::AverageBoxes;
using core::tools::AverageModel;
using core::tools::OptimiseBoxes;
using core::tools::OptimiseModel;

// The list items by the number the command line names.
const std::map<std::string, int> kPointItems{{"5", 0}, {"9", 1}, {"15", 2}};
const std::map<std::string, int> kPassItems{{"1", 0}, {"2", 1}, {"3", 2}};

struct AverageOptions {
    std::string from;
    std::string to;
    std::string points;
};

// Options of optimise; an empty text keeps the box as the dialog opens it.
struct OptimiseOptions {
    std::string omega;
    std::string from;
    std::string to;
    std::string step;
    std::string height;
    std::string width;
    std::string limit;
    std::string heightStep;
    std::string passes = "1";
};

// Options of fit; empty when not given.
struct FitOptions {
    std::string omega;
    std::string from;
    std::string to;
    std::string smooth;
    std::size_t band = 0;
};

std::optional<double> numberIfGiven(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return numberOf(text);
}

void overwrite(std::string& box, const std::string& option) {
    if (!option.empty()) box = option;
}

}  // namespace

void addToolsCommands(CLI::App& app, Context& context) {
    auto average = std::make_shared<AverageOptions>();
    auto* averageCommand = app.add_subcommand("average", texts::kAverageHelp);
    averageCommand->add_option("--from", average->from, "start energy (eV)")
        ->required()
        ->check(numberText());
    averageCommand->add_option("--to", average->to, "end energy (eV)")
        ->required()
        ->check(numberText());
    averageCommand->add_option("--points", average->points, "5, 9 or 15 points")
        ->required()
        ->check(CLI::IsMember({"5", "9", "15"}));
    averageCommand->callback([&context, average] {
        context.step([&](const core::Workspace& workspace) {
            if (auto gate = core::checkGate(workspace, core::Step::Rixs)) {
                return core::Report::refused(*gate);
            }
            AverageModel model(workspace);
            if (auto opened = model.open(); !opened.done) return opened;
            AverageBoxes boxes{average->from, average->to, kPointItems.at(average->points)};
            return model.run(boxes);
        });
    });

    auto optimise = std::make_shared<OptimiseOptions>();
    auto* optimiseCommand = app.add_subcommand("optimise", texts::kOptimiseHelp);
    optimiseCommand
        ->add_option("--omega", optimise->omega, "excitation energy of the measurement (eV)")
        ->required()
        ->check(numberText());
    optimiseCommand->add_option("--from", optimise->from, "start energy (default: the smallest)")
        ->check(numberText());
    optimiseCommand->add_option("--to", optimise->to, "end energy (default: the largest)")
        ->check(numberText());
    optimiseCommand->add_option("--step", optimise->step, "energy step (default 1.0)")
        ->check(numberText());
    optimiseCommand->add_option("--height", optimise->height, "peak height (default 0.05)")
        ->check(numberText());
    optimiseCommand->add_option("--width", optimise->width, "peak half width (default 1.0)")
        ->check(numberText());
    optimiseCommand->add_option("--limit", optimise->limit, "height range (default 0.05)")
        ->check(numberText());
    optimiseCommand
        ->add_option("--height-step", optimise->heightStep, "height step (default 0.005)")
        ->check(numberText());
    optimiseCommand->add_option("--passes", optimise->passes, "1, 2 or 3 (default 1)")
        ->check(CLI::IsMember({"1", "2", "3"}));
    optimiseCommand->callback([&context, optimise] {
        std::optional<double> rFactor;
        const Interruption interruption;
        context.step([&](const core::Workspace& workspace) {
            if (auto gate = core::checkGate(workspace, core::Step::Rixs)) {
                return core::Report::refused(*gate);
            }
            OptimiseModel model(workspace);
            if (auto opened = model.open(); !opened.done) return opened;
            OptimiseBoxes boxes = model.boxes();
            overwrite(boxes.omega, optimise->omega);
            overwrite(boxes.start, optimise->from);
            overwrite(boxes.end, optimise->to);
            overwrite(boxes.step, optimise->step);
            overwrite(boxes.height, optimise->height);
            overwrite(boxes.width, optimise->width);
            overwrite(boxes.limit, optimise->limit);
            overwrite(boxes.heightStep, optimise->heightStep);
            boxes.passes = kPassItems.at(optimise->passes);
            // "pass p/n  position k/N" while the search runs.
            auto outcome = [&] {
                ProgressLine line;
                core::tools::OptimiseObserver observer;
                if (line.shown()) {
                    observer.progress = [&line](const core::tools::OptimiseProgress& where) {
                        line.show(std::to_string(where.pass) + "/" + std::to_string(where.passes) +
                                  "  " + std::to_string(where.position + 1) + "/" +
                                  std::to_string(where.positions));
                    };
                }
                return model.run(boxes, observer, interruption.token());
            }();
            if (outcome.report.done) rFactor = outcome.rFactor;
            return outcome.report;
        });
        if (interruption.happened() && context.exitCode == kExitDone) {
            // Stopped as "中止" stops the dialog: the files kept say so.
            context.exitCode = kExitInterrupted;
        } else if (rFactor && context.exitCode == kExitDone) {
            context.showFigure("R", *rFactor);
        }
    });

    auto fit = std::make_shared<FitOptions>();
    auto* fitCommand = app.add_subcommand("fit", texts::kFitHelp);
    fitCommand->add_option("--omega", fit->omega, "excitation energy of the measurement (eV)")
        ->required()
        ->check(numberText());
    fitCommand->add_option("--from", fit->from, "window start (default: the smallest energy)")
        ->check(numberText());
    fitCommand->add_option("--to", fit->to, "window end (default: the largest energy)")
        ->check(numberText());
    fitCommand
        ->add_option("--smooth", fit->smooth,
                     "smoothing weight S (default: chosen from the measured noise)")
        ->check(numberText());
    fitCommand->add_option("--band", fit->band, "refits for the uncertainty band (default 0)");
    fitCommand->callback([&context, fit] {
        std::optional<double> rFactor;
        const Interruption interruption;
        context.step([&](const core::Workspace& workspace) {
            if (auto gate = core::checkGate(workspace, core::Step::Rixs)) {
                return core::Report::refused(*gate);
            }
            const core::tools::FitSettings settings{numberOf(fit->omega), numberIfGiven(fit->from),
                                                    numberIfGiven(fit->to),
                                                    numberIfGiven(fit->smooth), fit->band};
            ProgressLine line;
            std::function<void(const core::tools::FitProgress&)> progress;
            if (line.shown()) {
                progress = [&line](const core::tools::FitProgress& where) {
                    line.show(std::to_string(where.done) + "/" + std::to_string(where.total));
                };
            }
            auto outcome =
                core::tools::fitWorkingCopy(workspace, settings, progress, interruption.token());
            if (outcome.report.done) rFactor = outcome.rFactor;
            return outcome.report;
        });
        if (interruption.happened() && context.exitCode != kExitDone) {
            context.exitCode = kExitInterrupted;
        } else if (rFactor && context.exitCode == kExitDone) {
            context.showFigure("R", *rFactor);
        }
    });
}

}  // namespace zephalo::cli
