#pragma once

#include <CLI/CLI.hpp>
#include <atomic>
#include <functional>
#include <optional>
#include <ostream>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/run.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// Shared plumbing of zephalo-cli: the work space chosen on the command line,
// the exit status, and printing an operation's message-panel text.
namespace zephalo::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
// A long step stopped by Ctrl+C (128 + SIGINT, as shells report it).
inline constexpr int kExitInterrupted = 130;

class Context {
public:
    Context(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream) {}

    std::ostream& out;                           // where done reports and figures go
    std::ostream& err;                           // where refusals and usage errors go
    std::optional<std::string> workspaceOption;  // --workspace DIR; none: the default rule
    int exitCode = kExitDone;
    // The parsed command line, for the history's description of a step.
    const CLI::App* root = nullptr;

    // Marks an option or argument as a file name: the history records it as
    // an absolute path.
    CLI::Option* fileOption(CLI::Option* option);
    // The command's words after the global options as they redo it: each
    // subcommand, its options as "--name=value", flags, then its arguments.
    std::vector<std::string> commandWords() const;

    core::Workspace workspace() const;

    // Prints a report: its text on `out` when the operation did its work, on
    // `err` (exit status 1) when it refused. Inside a step the output waits
    // for the step's end and is dropped when the step refuses, so a refused
    // step prints no success text.
    void show(const core::Report& report);
    // Prints a figure line "R=<value>" (six significant digits), as show().
    void showFigure(std::string_view name, double value);
    // A figure line with a text in place of the number ("R=-").
    void showFigure(std::string_view name, std::string_view text);

    // Runs `operation` on the work space as one step (its lock held, its files
    // committed together, none of them when it refuses) and shows the report
    // it returns, or the step's own refusal. A done report without text
    // prints nothing. The step is described by `command` for the history.
    void step(const std::function<core::Report(const core::Workspace&)>& operation);

private:
    void print(std::string_view text);
    std::vector<const CLI::Option*> m_fileOptions;
    bool m_inStep = false;
    std::string m_pending;  // standard output of the open step
};

// Ctrl+C (SIGINT) during a long step: while one of these lives, the signal
// does not end the process but sets a flag that the step checks between
// positions or rows, the way the dialog's "中止" stops it.
class Interruption {
public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    const std::atomic<bool>* flag() const;
    std::stop_token token() const { return m_source.get_token(); }
    bool happened() const;

private:
    std::stop_source m_source;
    std::jthread m_watch;  // turns the flag into a stop request
};

// The message-panel text as terminal lines, one per sentence or paragraph.
// The panel breaks its lines ("\r\n") both between sentences and, to fit its
// width, inside them. A break stays a line end after a sentence's end (。！？
// and their ASCII forms, closing brackets aside), before an indented line
// (a new paragraph), at a blank line and at the end; any other break is
// inside a sentence and is dropped. The text ends with a line end.
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

}  // namespace zephalo::cli
