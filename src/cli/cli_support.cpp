#include "cli/cli_support.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <iostream>

#include "workspace/number_text.h"
#include "workspace/records.h"
#include "workspace/step.h"

namespace zephalo::cli {

core::Workspace Context::workspace() const {
    if (!workspaceOption.empty()) return core::Workspace(core::pathFromText(workspaceOption));
    return core::Workspace(core::Workspace::defaultDirectory());
}

namespace {

constexpr std::string_view kPanelBreak = "\r\n";

bool endsWithAny(std::string_view text, std::initializer_list<std::string_view> ends) {
    return std::any_of(ends.begin(), ends.end(), [&](auto end) { return text.ends_with(end); });
}

// True when `line` ends a sentence: its last mark, closing brackets aside,
// is a full stop, an exclamation or a question mark.
bool endsSentence(std::string_view line) {
    while (endsWithAny(line, {")", "）", "」", "』"})) {
        line.remove_suffix(line.ends_with(")") ? 1 : std::string_view("）").size());
    }
    return endsWithAny(line, {"。", "．", "！", "？", "!", "?", "."});
}

}  // namespace

std::string terminalText(std::string_view panelText) {
    std::string out;
    out.reserve(panelText.size() + 1);
    std::string_view rest = panelText;
    for (auto at = rest.find(kPanelBreak); at != std::string_view::npos;
         at = rest.find(kPanelBreak)) {
        const std::string_view line = rest.substr(0, at);
        rest.remove_prefix(at + kPanelBreak.size());
        out += line;
        const std::string_view written = std::string_view(out).substr(out.rfind('\n') + 1);
        const bool lineEnds = written.empty() || rest.empty() || rest.starts_with(kPanelBreak) ||
                              rest.starts_with("　") || rest.starts_with(' ') ||
                              endsSentence(written);
        if (lineEnds) out += '\n';
    }
    out += rest;
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

namespace {

bool standardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace

ProgressLine::ProgressLine() : m_shown(standardErrorIsTerminal()) {}

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

int run(int argc, char** argv) {
    CLI::App app{"ZEPHALO: RIXS spectra from selective XAFS, headless front end", "zephalo-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "zephalo-cli " ZEPHALO_VERSION);
    // Options are "--name" everywhere: on Windows CLI11 would otherwise take
    // a path such as /data/x.DAT for an option "/data".
    app.allow_windows_style_options(false);
    Context context;
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
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {  // --help or --version
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
