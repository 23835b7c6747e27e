#include <functional>
#include <map>
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/cli_texts.h"
#include "core/rixs/workbench_model.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/gates.h"

namespace zephalo::cli {

namespace {

using core::rixs::DisplayMode;
using core::rixs::PeakSign;
using core::rixs::WorkbenchBoxes;
using core::rixs::WorkbenchModel;

const std::map<std::string, DisplayMode> kModes{
    {"A", DisplayMode::A}, {"B", DisplayMode::B}, {"AB", DisplayMode::AB}};

// Boxes of the workbench that only a dialog would keep; an empty option text
// means the box keeps what the workbench's loading would have put into it.
struct WorkbenchOptions {
    std::string from;
    std::string to;
    std::string mode;
    std::string centre;
    std::string amplitude;
    std::string width;
    bool subtract = false;
    std::string delta;  // "エネルギーシフト（±eV）"
    std::string file;   // the path a file dialog would return
    std::string excitation;
    std::string scaling;
    std::string absorption;
};

// Runs the workbench's buttons in order behind the main form's gate, as one
// step, with the boxes rebuilt from the work space and overwritten by the
// options. Each report is shown as it comes; the first refusal ends the step.
using Done = std::function<bool(const core::Report&)>;
using Buttons = std::function<core::Report(WorkbenchModel&, WorkbenchBoxes&, const Done&)>;

core::Report runWorkbench(const WorkbenchOptions& options, const core::Workspace& workspace,
                          Context& context, const Buttons& buttons) {
    if (auto gate = core::checkGate(workspace, core::Step::Rixs)) {
        return core::Report::refused(*gate);
    }
    WorkbenchBoxes boxes;
    if (auto status = core::rixs::storedBoxes(workspace, boxes); !status) {
        return core::Report::refused(status);
    }
    if (!options.from.empty()) boxes.rangeMin = options.from;
    if (!options.to.empty()) boxes.rangeMax = options.to;
    if (!options.mode.empty()) boxes.mode = kModes.at(options.mode);
    if (!options.centre.empty()) boxes.peakCentre = options.centre;
    if (!options.amplitude.empty()) boxes.peakAmplitude = options.amplitude;
    if (!options.width.empty()) boxes.peakWidth = options.width;
    if (options.subtract) boxes.sign = PeakSign::Subtract;
    if (!options.excitation.empty()) boxes.excitation = options.excitation;
    if (!options.scaling.empty()) boxes.scaling = options.scaling;
    if (!options.absorption.empty()) boxes.absorption = options.absorption;

    WorkbenchModel model(workspace);
    // Shows a done report here; a refusal is returned for the step to show.
    return buttons(model, boxes, [&](const core::Report& report) {
        if (report.done) context.show(report);
        return report.done;
    });
}

// The last button of a command: shown when done, returned to the step when
// refused; the step itself has nothing more to show.
core::Report last(const Done& done, const core::Report& report) {
    return done(report) ? core::Report::success({}) : report;
}

CLI::App* workbenchCommand(CLI::App& app, Context& context, const char* name, std::string_view help,
                           const std::shared_ptr<WorkbenchOptions>& options, Buttons buttons) {
    auto* command = app.add_subcommand(name, std::string(help));
    command->callback([&context, options, buttons = std::move(buttons)] {
        context.step([&](const core::Workspace& workspace) {
            return runWorkbench(*options, workspace, context, buttons);
        });
    });
    return command;
}

void addModeOption(CLI::App& command, WorkbenchOptions& options) {
    command
        .add_option("--mode", options.mode,
                    "display-mode radio A, B or AB (default: as loading checks it)")
        ->check(CLI::IsMember({"A", "B", "AB"}));
}

}  // namespace

void addWorkbenchCommands(CLI::App& app, Context& context) {
    workbenchCommand(app, context, "load-selective", texts::kLoadSelectiveHelp,
                     std::make_shared<WorkbenchOptions>(),
                     [](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
                         return last(done, model.load(boxes));
                     });

    auto display = std::make_shared<WorkbenchOptions>();
    auto* displayCommand =
        workbenchCommand(app, context, "display", texts::kDisplayHelp, display,
                         [](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
                             return last(done, model.changeDisplay(boxes));
                         });
    displayCommand->add_option("--from", display->from, "window start (eV)")
        ->required()
        ->check(numberText());
    displayCommand->add_option("--to", display->to, "window end (eV)")
        ->required()
        ->check(numberText());
    addModeOption(*displayCommand, *display);

    auto peak = std::make_shared<WorkbenchOptions>();
    auto* peakCommand = workbenchCommand(
        app, context, "peak", texts::kPeakHelp, peak,
        [](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
            auto shown = model.showPeak(boxes);
            if (!shown.done && shown.text.empty()) {
                shown.text = core::rixs::texts::kStoredWindowRejected;
            }
            if (!done(shown)) return shown;
            if (auto applied = model.applyCorrection(model.boxes()); !done(applied)) return applied;
            return last(done, model.storeCorrection(model.boxes()));
        });
    peakCommand->add_option("--centre", peak->centre, "peak centre (eV)")
        ->required()
        ->check(numberText());
    peakCommand->add_option("--amplitude", peak->amplitude, "amplitude (default 1.0)")
        ->check(numberText());
    peakCommand->add_option("--width", peak->width, "half width (eV, default 3.0)")
        ->check(numberText());
    peakCommand->add_flag("--subtract", peak->subtract, texts::kSubtractHelp);
    addModeOption(*peakCommand, *peak);

    // The three buttons of `peak` one at a time, as the dialog runs them.
    auto peakStep = std::make_shared<WorkbenchOptions>();
    auto peakButton = std::make_shared<std::string>();
    auto* peakStepCommand = workbenchCommand(
        app, context, "peak-step", texts::kPeakStepHelp, peakStep,
        [peakButton](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
            if (*peakButton == "apply") return last(done, model.applyCorrection(boxes));
            if (*peakButton == "store") return last(done, model.storeCorrection(boxes));
            auto shown = model.showPeak(boxes);
            if (!shown.done && shown.text.empty()) {
                shown.text = core::rixs::texts::kStoredWindowRejected;
            }
            return last(done, shown);
        });
    peakStepCommand->add_option("button", *peakButton, "show, apply or store")
        ->required()
        ->check(CLI::IsMember({"show", "apply", "store"}));
    peakStepCommand->add_option("--centre", peakStep->centre, "peak centre (eV), for show")
        ->check(numberText());
    peakStepCommand->add_option("--amplitude", peakStep->amplitude, "amplitude (default 1.0)")
        ->check(numberText());
    peakStepCommand->add_option("--width", peakStep->width, "half width (eV, default 3.0)")
        ->check(numberText());
    peakStepCommand->add_flag("--subtract", peakStep->subtract, texts::kSubtractApplyHelp);
    addModeOption(*peakStepCommand, *peakStep);

    auto refresh = std::make_shared<WorkbenchOptions>();
    auto* refreshCommand =
        workbenchCommand(app, context, "refresh", texts::kRefreshHelp, refresh,
                         [](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
                             return last(done, model.refresh(boxes));
                         });
    refreshCommand
        ->add_option("--from", refresh->from, "range box start (default: the stored window)")
        ->check(numberText());
    refreshCommand->add_option("--to", refresh->to, "range box end (default: the stored window)")
        ->check(numberText());

    auto finish = std::make_shared<WorkbenchOptions>();
    auto* finishCommand =
        workbenchCommand(app, context, "finish", texts::kFinishHelp, finish,
                         [](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
                             return last(done, model.finish(boxes));
                         });
    finishCommand
        ->add_option("--from", finish->from, "range box start (default: the stored window)")
        ->check(numberText());
    finishCommand->add_option("--to", finish->to, "range box end (default: the stored window)")
        ->check(numberText());

    auto shift = std::make_shared<WorkbenchOptions>();
    auto* shiftCommand =
        workbenchCommand(app, context, "shift", texts::kShiftHelp, shift,
                         [shift](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
                             boxes.shift = shift->delta;
                             auto shifted = model.shift(boxes);
                             if (shifted.done && shifted.text.empty()) {
                                 shifted.text = core::rixs::texts::kShiftNotDrawn;
                             }
                             return last(done, shifted);
                         });
    // CLI11 takes a negative number ("shift -2.5") as this value.
    shiftCommand->add_option("delta", shift->delta, "energy shift (eV, may be negative)")
        ->required()
        ->check(numberText());

    auto compare = std::make_shared<WorkbenchOptions>();
    auto* compareCommand = workbenchCommand(
        app, context, "compare", texts::kCompareHelp, compare,
        [compare, &context](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
            auto aligned = compare->file.empty()
                               ? model.compareWithExperiment(boxes)
                               : model.compareWithOther(boxes, core::pathFromText(compare->file));
            if (!aligned.done) return aligned;
            // As after a computation: the calculation is shown, so the
            // comparison redraw follows.
            auto redrawn = model.compareCalculated(model.boxes());
            if (!done(redrawn)) return redrawn;
            if (auto r = model.shownRFactor()) context.showFigure("R", *r);
            return core::Report::success({});
        });
    context.fileOption(
        compareCommand->add_option("--with", compare->file, "another measured RIXS spectrum"));

    auto saveRixs = std::make_shared<WorkbenchOptions>();
    auto* saveRixsCommand = workbenchCommand(
        app, context, "save-rixs", texts::kSaveRixsHelp, saveRixs,
        [saveRixs](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
            return last(done, model.saveRixs(boxes, core::pathFromText(saveRixs->file)));
        });
    context.fileOption(saveRixsCommand->add_option("file", saveRixs->file, "file to write"))
        ->required();

    auto saveXafs = std::make_shared<WorkbenchOptions>();
    auto* saveXafsCommand = workbenchCommand(
        app, context, "save-xafs", texts::kSaveXafsHelp, saveXafs,
        [saveXafs](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
            return last(done, model.saveXafs(boxes, core::pathFromText(saveXafs->file)));
        });
    context.fileOption(saveXafsCommand->add_option("file", saveXafs->file, "file to write"))
        ->required();

    // The factor boxes as the workbench's loading fills them, unless given.
    auto compute = std::make_shared<WorkbenchOptions>();
    auto* computeCommand =
        workbenchCommand(app, context, "compute", texts::kComputeHelp, compute,
                         [](WorkbenchModel& model, WorkbenchBoxes& boxes, const Done& done) {
                             return last(done, model.compute(boxes));
                         });
    computeCommand->add_option("--omega", compute->excitation, "excitation energy (eV)")
        ->required()
        ->check(numberText());
    computeCommand
        ->add_option("--scaling", compute->scaling, "scaling factor (default: the stored one)")
        ->check(numberText());
    computeCommand
        ->add_option("--absorption", compute->absorption,
                     "absorption-correction factor (default: the stored one)")
        ->check(numberText());
}

}  // namespace zephalo::cli
