#include "cli/cli_support.h"

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <iostream>

#include "core/workspace/number_text.h"
#include "core/workspace/records.h"
#include "core/workspace/step.h"

namespace zephalo::cli {

core::Workspace Context::workspace() const {
    if (workspaceOption) return core::Workspace(core::pathFromText(*workspaceOption));
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

CLI::Option* Context::fileOption(CLI::Option* option) {
    m_fileOptions.push_back(option);
    return option;
}

std::vector<std::string> Context::commandWords() const {
    std::vector<std::string> words;
    const auto valueOf = [&](const CLI::Option* option, const std::string& value) {
        if (std::find(m_fileOptions.begin(), m_fileOptions.end(), option) == m_fileOptions.end())
            return value;
        std::error_code ec;
        const auto full = std::filesystem::absolute(core::pathFromText(value), ec);
        if (ec) return value;
        return core::textFromPath(full.lexically_normal());
    };
    for (const CLI::App* at = root; at && !at->get_subcommands().empty();) {
        at = at->get_subcommands().front();
        words.push_back(at->get_name());
        std::vector<std::string> arguments;
        for (const CLI::Option* option : at->get_options()) {
            if (option->count() == 0 || option->get_lnames() == std::vector<std::string>{"help"})
                continue;
            if (option->get_positional()) {
                for (const auto& value : option->results())
                    arguments.push_back(valueOf(option, value));
            } else if (option->get_expected_max() == 0) {
                words.push_back("--" + option->get_single_name());
            } else {
                for (const auto& value : option->results())
                    words.push_back("--" + option->get_single_name() + "=" +
                                    valueOf(option, value));
            }
        }
        words.insert(words.end(), arguments.begin(), arguments.end());
    }
    return words;
}

void Context::print(std::string_view text) {
    if (m_inStep) {
        m_pending += text;
    } else {
        out << text << std::flush;
    }
}

void Context::show(const core::Report& report) {
    if (report.done) {
        print(terminalText(report.text));
    } else {
        err << terminalText(report.text) << std::flush;
        exitCode = kExitRefused;
    }
}

void Context::step(const std::function<core::Report(const core::Workspace&)>& operation) {
    const core::Workspace workspace = this->workspace();
    m_inStep = true;
    m_pending.clear();
    const core::Report report = core::runStep(workspace, [&] {
        const auto words = commandWords();
        std::string title;
        for (const auto& word : words) title += (title.empty() ? "" : " ") + word;
        workspace.describeStep({title, words});
        return operation(workspace);
    });
    m_inStep = false;
    if (report.done) print(m_pending);
    m_pending.clear();
    if (report.done && report.text.empty()) return;
    show(report);
}

void Context::showFigure(std::string_view name, double value) {
    print(std::string(name) + '=' + core::formatNumber(value) + '\n');
}

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int) {
    g_interrupted.store(true);
}

}  // namespace

Interruption::Interruption() {
    g_interrupted.store(false);
    std::signal(SIGINT, onInterrupt);
    m_watch = std::jthread([this](std::stop_token end) {
        while (!end.stop_requested()) {
            if (g_interrupted.load()) {
                m_source.request_stop();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

Interruption::~Interruption() {
    m_watch.request_stop();
    m_watch.join();
    std::signal(SIGINT, SIG_DFL);
}

const std::atomic<bool>* Interruption::flag() const {
    return &g_interrupted;
}

bool Interruption::happened() const {
    return g_interrupted.load();
}

void Context::showFigure(std::string_view name, std::string_view text) {
    print(std::string(name) + '=' + std::string(text) + '\n');
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

int run(int argc, char** argv, const FigureWriters& figures) {
#ifdef _WIN32
    // Windows hands `argv` over in the ANSI code page, which cannot name
    // every folder: the arguments are read again as UTF-16 and made UTF-8,
    // the text every message and path name here is in, and the console
    // shows that text while the program runs.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 0; wide && i < count; ++i) words.push_back(core::textFromPath(wide[i]));
    LocalFree(wide);
    std::vector<char*> pointers;
    for (auto& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    if (count == argc) argv = pointers.data();
    const UINT codePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    const int status = run(argc, argv, std::cout, std::cerr, figures);
    if (codePage != 0) SetConsoleOutputCP(codePage);
    return status;
#else
    return run(argc, argv, std::cout, std::cerr, figures);
#endif
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err, const FigureWriters& figures) {
    CLI::App app{"ZEPHALO: RIXS spectra from selective XAFS, headless front end", "zephalo-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "zephalo-cli " ZEPHALO_VERSION);
    // Options are "--name" everywhere: on Windows CLI11 would otherwise take
    // a path such as /data/x.DAT for an option "/data".
    app.allow_windows_style_options(false);
    Context context(out, err);
    context.root = &app;
    context.programArguments = argv;
    app.add_option("--workspace", context.workspaceOption,
                   "work-space folder (default: $ZEPHALO_WORK_SPACE, else ~/ZEPHALO_WORK_SPACE)")
        ->check(CLI::Validator(
            [](std::string& text) {
                return text.empty() ? std::string("the work-space folder name is empty")
                                    : std::string();
            },
            "DIR"));
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
    } catch (const CLI::Success& e) {  // --help or --version
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        app.exit(e, out, err);
        err << "usage: zephalo-cli [--workspace DIR] COMMAND [ARGS...]  (--help for the list)\n";
        return kExitUsage;
    }
    return context.exitCode;
}

}  // namespace zephalo::cli
