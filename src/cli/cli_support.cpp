#include "cli/cli_support.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "workspace/number_text.h"
#include "workspace/records.h"
#include "workspace/step.h"

namespace zephalo::cli {

core::Workspace Context::workspace() const {
    if (!workspaceOption.empty()) return core::Workspace(core::pathFromText(workspaceOption));
    return core::Workspace(core::Workspace::defaultDirectory());
}

std::string terminalText(std::string_view panelText) {
    std::string out;
    out.reserve(panelText.size() + 1);
    for (std::size_t i = 0; i < panelText.size(); ++i) {
        if (panelText[i] == '\r' && i + 1 < panelText.size() && panelText[i + 1] == '\n') continue;
        out += panelText[i];
    }
    if (out.empty() || out.back() != '\n') out += '\n';
    return out;
}

void Context::show(const core::Report& report) {
    if (report.done) {
        std::cout << terminalText(report.text) << std::flush;
    } else {
        std::cerr << terminalText(report.text) << std::flush;
        exitCode = kExitRefused;
    }
}

void Context::step(const std::function<core::Report(const core::Workspace&)>& operation) {
    const core::Workspace workspace = this->workspace();
    const core::Report report = core::runStep(workspace, [&] { return operation(workspace); });
    if (report.done && report.text.empty()) return;
    show(report);
}

void Context::showFigure(std::string_view name, double value) {
    std::cout << name << '=' << core::formatNumber(value) << '\n' << std::flush;
}

ProgressLine::ProgressLine() : m_shown(isatty(STDERR_FILENO) != 0) {}

ProgressLine::~ProgressLine() {
    if (m_width > 0) std::cerr << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
}

void ProgressLine::show(const std::string& text) {
    if (!m_shown) return;
    m_width = std::max(m_width, text.size());
    std::cerr << '\r' << text << std::flush;
}

const CLI::Validator& numberText() {
    static const CLI::Validator validator(
        [](std::string& text) -> std::string {
            return core::parseNumber(text) ? std::string() : "not a number: " + text;
        },
        "NUMBER");
    return validator;
}

double numberOf(const std::string& text) {
    return core::parseNumber(text).value_or(0.0);
}

int run(int argc, char** argv, const FigureWriters& figures) {
    CLI::App app{"ZEPHALO: RIXS spectra from selective XAFS, headless front end", "zephalo-cli"};
    app.require_subcommand(1);
    Context context;
    context.arguments = argv;
    app.add_option("--workspace", context.workspaceOption,
                   "work-space folder (default: $ZEPHALO_WORK_SPACE, else ~/ZEPHALO_WORK_SPACE)");
    auto* import = app.add_subcommand("import", "bring a measured or calculated spectrum in");
    import->require_subcommand(1);
    addWorkspaceCommands(app, *import, context);
    addXafsCommands(app, *import, context);
    addXrfCommands(app, context);
    addWorkbenchCommands(app, context);
    addToolsCommands(app, context);
    addRixsCommands(app, context);
    addFigureCommand(app, context, figures);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        std::cerr
            << "usage: zephalo-cli [--workspace DIR] COMMAND [ARGS...]  (--help for the list)\n";
        return kExitUsage;
    }
    return context.exitCode;
}

}  // namespace zephalo::cli
