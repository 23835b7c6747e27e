#include <array>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_support.h"
#include "workspace/gates.h"
#include "workspace/number_text.h"
#include "xrf/xrf_model.h"

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

// The dialog's buttons in the order the guidance texts suggest; stops at the
// first refusal.
void runXrf(const XrfOptions& options, Context& context) {
    const core::Workspace workspace = context.workspace();
    if (auto gate = core::checkGate(workspace, core::Step::Xrf)) {
        context.show(core::Report::refused(*gate));
        return;
    }
    core::xrf::XrfModel model(workspace);
    const auto done = [&](const core::Report& report) {
        context.show(report);
        return report.done;
    };
    if (!done(model.load())) return;

    core::xrf::XrfBoxes boxes = model.boxes();
    bool twoComponents = model.twoComponents();
    if (!options.excitation.empty()) boxes.excitation = options.excitation;
    if (options.mode >= 0) twoComponents = options.mode == 1;
    for (std::size_t i = 0; i < kLineCount; ++i) {
        if (options.lines[i].empty()) continue;
        if (auto typed = lineBoxes(options.lines[i])) boxes.lines[i] = *typed;
    }
    if (!done(model.confirm(boxes, twoComponents))) return;
    if (!done(model.fit(boxes.excitation))) return;
    if (options.rFactor) {
        if (!done(model.rFactor())) return;
        context.showFigure("R", *model.lastRFactor());
    }
    if (options.store) done(model.store());
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
    xrf->callback([options, &context] { runXrf(*options, context); });
}

}  // namespace zephalo::cli
