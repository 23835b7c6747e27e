#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>

#include "core/plot/projection.h"
#include "core/rixs/rixs_plane.h"
#include "core/workspace/status.h"

// The whole of zephalo-cli behind one call, so that its entry point needs
// none of the command-line parser's headers.
namespace zephalo::cli {

// Figures need a drawing library that the commands do not link: the program
// hands in the writers (file, width and height in pixels).
struct FigureWriters {
    std::function<core::Status(const core::plot::Picture&, const std::filesystem::path&, int, int)>
        panel;
    std::function<core::Status(const core::rixs::RixsPlane&, std::optional<double>,
                               const std::filesystem::path&, int, int)>
        map;
};

// Runs zephalo-cli with the given arguments and returns its exit status.
int run(int argc, char** argv, const FigureWriters& figures = {});
// The same, printing to `out` what goes to standard output and to `err` what
// goes to standard error (a terminal's progress line excepted).
int run(int argc, char** argv, std::ostream& out, std::ostream& err,
        const FigureWriters& figures = {});

}  // namespace zephalo::cli
