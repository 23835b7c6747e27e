#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <charconv>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_support.h"
#include "cli/cli_texts.h"
#include "core/plot/figure_format.h"
#include "core/plot/plot_texts.h"
#include "core/rixs/rixs_plane.h"
#include "core/rixs/workbench_model.h"
#include "core/workspace/gates.h"
#include "core/workspace/records.h"

namespace zephalo::cli {

namespace {

using core::rixs::Panel;

struct FigureOptions {
    std::string panel;
    std::string out;
    std::string size;
    std::string from;
    std::string to;
    std::string step;
};

const std::map<std::string, Panel> kPanels{
    {"xafs", Panel::Xafs}, {"theory", Panel::Theory}, {"experiment", Panel::Experiment}};

// "WxH" read strictly, each side within the bounds; nullopt otherwise.
std::optional<std::pair<int, int>> sizeOf(const std::string& text) {
    const auto cross = text.find('x');
    if (cross == std::string::npos) return std::nullopt;
    int width = 0;
    int height = 0;
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(text.data(), text.data() + cross, width);
    const auto second = std::from_chars(text.data() + cross + 1, end, height);
    if (first.ec != std::errc() || first.ptr != text.data() + cross || second.ec != std::errc() ||
        second.ptr != end) {
        return std::nullopt;
    }
    for (int side : {width, height}) {
        if (side < core::plot::kSmallestFigureSide || side > core::plot::kLargestFigureSide) {
            return std::nullopt;
        }
    }
    return std::pair(width, height);
}

const CLI::Validator& sizeText() {
    static const CLI::Validator validator(
        [](std::string& text) -> std::string {
            return sizeOf(text) ? std::string()
                                : "not WIDTHxHEIGHT, each from 100 to 10000 pixels: " + text;
        },
        "WxH");
    return validator;
}

const CLI::Validator& figureName() {
    static const CLI::Validator validator(
        [](std::string& text) -> std::string {
            return core::plot::figureFormatOf(core::pathFromText(text))
                       ? std::string()
                       : "the file's suffix names no figure format (png, svg, pdf): " + text;
        },
        "FILE");
    return validator;
}

// The program that draws figures, beside this one.
std::filesystem::path figureProgram() {
#ifdef _WIN32
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / "zephalo-figure.exe";
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "zephalo-figure";
#endif
}

// Runs the figure program on this program's arguments and waits for it: its
// exit status, or 1 when it cannot be started. It writes to this process's
// standard output and error.
int handOn(char** arguments, std::ostream& err) {
    const std::filesystem::path program = figureProgram();
#ifdef _WIN32
    const auto status = _spawnv(_P_WAIT, program.string().c_str(), arguments);
    if (status >= 0) return static_cast<int>(status);
#else
    std::cout.flush();
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) == 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0) {
            if (errno != EINTR) return kExitRefused;
        }
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return kExitRefused;
    }
#endif
    err << core::plot::texts::noFigureProgramText(core::pathText(program)) << '\n';
    return kExitRefused;
}

core::Report writeFigure(const core::Workspace& workspace, const FigureOptions& options,
                         const FigureWriters& figures) {
    if (auto refusal = core::checkGate(workspace, core::Step::Rixs)) {
        return core::Report::refused(*refusal);
    }
    const auto [width, height] =
        options.size.empty() ? std::pair(core::plot::kFigureWidth, core::plot::kFigureHeight)
                             : *sizeOf(options.size);
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(core::pathFromText(options.out), error);
    if (error) full = core::pathFromText(options.out);

    core::Status written;
    if (options.panel == "map") {
        std::vector<double> excitations;
        if (auto status = core::rixs::planeExcitations(numberOf(options.from), numberOf(options.to),
                                                       numberOf(options.step), excitations);
            !status) {
            return core::Report::refused(status);
        }
        core::rixs::RixsPlane plane;
        if (auto status = core::rixs::computeRixsPlane(workspace, excitations, plane); !status) {
            return core::Report::refused(status);
        }
        written = figures.map(plane, std::nullopt, full, width, height);
    } else {
        core::plot::Picture picture;
        if (auto status = core::rixs::storedPicture(workspace, kPanels.at(options.panel), picture);
            !status) {
            return core::Report::refused(status);
        }
        written = figures.panel(picture, full, width, height);
    }
    if (!written) return core::Report::refused(written);
    return core::Report::success(core::plot::texts::savedText(core::pathText(full)));
}

}  // namespace

void addFigureCommand(CLI::App& app, Context& context, const FigureWriters& figures) {
    auto options = std::make_shared<FigureOptions>();
    auto* command = app.add_subcommand("figure", texts::kFigureHelp);
    command->add_option("PANEL", options->panel, "xafs, theory, experiment or map")
        ->required()
        ->check(CLI::IsMember({"xafs", "theory", "experiment", "map"}));
    command->add_option("--out", options->out, "file to write (.png, .svg or .pdf)")
        ->required()
        ->check(figureName());
    command->add_option("--size", options->size, "WIDTHxHEIGHT in pixels (default 1600x1200)")
        ->check(sizeText());
    command->add_option("--from", options->from, "map: first excitation energy (eV)")
        ->check(numberText());
    command->add_option("--to", options->to, "map: last excitation energy (eV), inclusive")
        ->check(numberText());
    command->add_option("--step", options->step, "map: excitation energy step (eV)")
        ->check(numberText());
    command->callback([&context, options, figures] {
        const bool map = options->panel == "map";
        for (const auto* option : {&options->from, &options->to, &options->step}) {
            // The range belongs to the map alone, and the map needs all of it.
            if (option->empty() == map) {
                throw CLI::ValidationError("--from/--to/--step",
                                           map ? "the map needs --from, --to and --step"
                                               : "only the map takes --from, --to and --step");
            }
        }
        if (!figures.panel || !figures.map) {
            context.exitCode = handOn(context.programArguments, context.err);
            return;
        }
        context.step([&](const core::Workspace& workspace) {
            return writeFigure(workspace, *options, figures);
        });
    });
}

}  // namespace zephalo::cli
