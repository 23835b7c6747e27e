#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/run.h"
#include "workspace/status.h"
#include "workspace/workspace.h"

// Shared plumbing of zephalo-cli: the work space chosen on the command line,
// the exit status, and printing an operation's message-panel text.
namespace zephalo::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

class Context {
public:
    std::string workspaceOption;  // --workspace DIR; empty: the default rule
    int exitCode = kExitDone;
    char** arguments = nullptr;  // the program's own, for handing a command on

    core::Workspace workspace() const;

    // Prints a report: its text on standard output when the operation did its
    // work, on standard error (exit status 1) when it refused.
    void show(const core::Report& report);
    // Prints a figure line "R=<value>" (six significant digits).
    void showFigure(std::string_view name, double value);

    // Runs `operation` on the work space as one step (its lock held, its files
    // committed together) and shows the report it returns, or the step's own
    // refusal. A done report without text prints nothing.
    void step(const std::function<core::Report(const core::Workspace&)>& operation);
};

// The message-panel text as terminal lines: every "\r\n" becomes a line end,
// and the text ends with one.
std::string terminalText(std::string_view panelText);

// A progress line on standard error for a long command, rewritten in place;
// shown only when standard error is a terminal, and erased when it goes.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool shown() const { return m_shown; }
    void show(const std::string& text);

private:
    bool m_shown = false;
    std::size_t m_width = 0;
};

// Validator for numbers read strictly (the whole argument must be a number).
const CLI::Validator& numberText();
// The value of an argument that passed numberText().
double numberOf(const std::string& text);

// Command groups, one per subsystem; each adds its subcommands.
void addWorkspaceCommands(CLI::App& app, CLI::App& import, Context& context);
void addXafsCommands(CLI::App& app, CLI::App& import, Context& context);
void addXrfCommands(CLI::App& app, Context& context);
void addRixsCommands(CLI::App& app, Context& context);
void addWorkbenchCommands(CLI::App& app, Context& context);
void addToolsCommands(CLI::App& app, Context& context);
void addFigureCommand(CLI::App& app, Context& context, const FigureWriters& figures);

}  // namespace zephalo::cli
