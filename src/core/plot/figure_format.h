#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string>

// The picture formats a figure is written in, told by the file's suffix.
namespace zephalo::core::plot {

enum class FigureFormat { Png, Svg, Pdf };

// The format of a figure file from its suffix (.png, .svg or .pdf, in any
// case); nullopt for any other name.
inline std::optional<FigureFormat> figureFormatOf(const std::filesystem::path& file) {
    std::string suffix = file.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == ".png") return FigureFormat::Png;
    if (suffix == ".svg") return FigureFormat::Svg;
    if (suffix == ".pdf") return FigureFormat::Pdf;
    return std::nullopt;
}

// A figure's size in pixels unless the user chooses one (for a vector
// format, the size of its page at 96 pixels per inch).
inline constexpr int kFigureWidth = 1600;
inline constexpr int kFigureHeight = 1200;
// The sides a figure may have, in pixels.
inline constexpr int kSmallestFigureSide = 100;
inline constexpr int kLargestFigureSide = 10000;

}  // namespace zephalo::core::plot
