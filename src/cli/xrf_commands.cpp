#include <array>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_support.h"
#include "cli/cli_texts.h"
#include "core/workspace/gates.h"
#include "core/workspace/number_text.h"
#include "core/xrf/xrf_model.h"

namespace zephalo::cli {

namespace {

using core::xrf::kLineCount;
using core::xrf::kLineNames;

// Option values of `xrf`; an empty text means the box keeps what loading put
// into it.
struct XrfOptions {
    std::string excitation;
    int mode = -1;
    std::array<std::string, kLineCount> lines;
    bool rFactor = false;
    bool store = false;
    std::string button;  // one button alone, as the dialog ran it
};

// "POS,AMP,WIDTH": exactly three numbers, each read strictly.
std::optional<core::xrf::LineBoxes> lineBoxes(const std::string& text) {
    std::array<std::string, 3> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        const bool last = i + 1 == parts.size();
        if (last != (comma == std::string::npos)) return std::nullopt;
        parts[i] = text.substr(start, last ? std::string::npos : comma - start);
        if (!core::parseNumber(parts[i])) return std::nullopt;
        start = comma + 1;
    }
    return core::xrf::LineBoxes{parts[0], parts[1], parts[2]};
}

const CLI::Validator& lineText() {
    static const CLI::Validator validator(
        [](std::string& text) -> std::string {
            return lineBoxes(text) ? std::string()
                                   : "expected POS,AMP,WIDTH (three numbers): " + text;
        },
        "POS,AMP,WIDTH");
    return validator;
}

// The dialog's buttons in the order the guidance texts suggest, as one step;
// each report is shown as it comes, and the first refusal ends the step.
core::Report runXrf(const XrfOptions& options, const core::Workspace& workspace, Context& context) {
    if (auto gate = core::checkGate(workspace, core::Step::Xrf)) {
        return core::Report::refused(*gate);
    }
    core::xrf::XrfModel model(workspace);
    // Shows a done report here; a refusal is returned for the step to show.
    const auto done = [&](const core::Report& report) {
        if (report.done) context.show(report);
        return report.done;
    };
    const bool alone = !options.button.empty();
    // The last button of the command: shown here when done.
    const auto ended = [&](const core::Report& report) {
        return done(report) ? core::Report::success({}) : report;
    };
    // One button alone takes only the boxes the options give (the dialog's
    // boxes were typed, not loaded).
    if (!alone || options.button == "load") {
        if (auto report = model.load(); !done(report)) return report;
        if (alone) return core::Report::success({});
    }

    core::xrf::XrfBoxes boxes = model.boxes();
    bool twoComponents = model.twoComponents();
    if (!options.excitation.empty()) boxes.excitation = options.excitation;
    if (options.mode >= 0) twoComponents = options.mode == 1;
    for (std::size_t i = 0; i < kLineCount; ++i) {
        if (options.lines[i].empty()) continue;
        if (auto typed = lineBoxes(options.lines[i])) boxes.lines[i] = *typed;
    }
    if (alone && options.button != "confirm") {
        if (options.button == "fit") return ended(model.fit(boxes.excitation));
        if (options.button == "store") return ended(model.store());
        auto report = model.rFactor();
        if (!done(report)) return report;
        context.showFigure("R", *model.lastRFactor());
        return core::Report::success({});
    }
    if (alone) return ended(model.confirm(boxes, twoComponents));
    if (auto report = model.confirm(boxes, twoComponents); !done(report)) return report;
    if (auto report = model.fit(boxes.excitation); !done(report)) return report;
    if (options.rFactor) {
        if (auto report = model.rFactor(); !done(report)) return report;
        context.showFigure("R", *model.lastRFactor());
    }
    if (options.store) {
        if (auto report = model.store(); !done(report)) return report;
    }
    return core::Report::success({});
}

}  // namespace

void addXrfCommands(CLI::App& app, Context& context) {
    auto options = std::make_shared<XrfOptions>();
    auto* xrf = app.add_subcommand(
        "xrf",
        "XRF dialog: load the fluorescence spectrum, confirm and fit the four Lorentzian "
        "lines, optionally compute the R factor and store the final-state function");
    xrf->add_option("--excitation", options->excitation, "excitation energy (eV) of the model")
        ->check(numberText());
    xrf->add_option("--mode", options->mode, "1 = two components (A+B and C+D), 0 = one")
        ->check(CLI::IsMember({0, 1}));
    for (std::size_t i = 0; i < kLineCount; ++i) {
        const std::string name(kLineNames[i]);
        xrf->add_option("--" + name, options->lines[i],
                        "line " + name + ": position (eV), amplitude, full width (eV)")
            ->check(lineText());
    }
    xrf->add_flag("--rfactor", options->rFactor, "compute the R factor and print R=<value>");
    xrf->add_flag("--store", options->store, "store the final-state function");
    xrf->add_option("--button", options->button, texts::kXrfButtonHelp)
        ->check(CLI::IsMember({"load", "confirm", "fit", "rfactor", "store"}));
    xrf->callback([options, &context] {
        context.step(
            [&](const core::Workspace& workspace) { return runXrf(*options, workspace, context); });
    });
}

}  // namespace zephalo::cli
