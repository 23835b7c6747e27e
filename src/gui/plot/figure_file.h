#pragma once

#include <QSize>
#include <filesystem>
#include <functional>
#include <string>

#include "core/plot/figure_format.h"
#include "core/workspace/status.h"

class QFont;
class QCPPainter;
class QRect;

// Figures: a plot drawn at a chosen size into a PNG picture or an SVG or PDF
// page, the type scaled with it.
namespace zephalo::gui {

// Draws a plot within `bounds` with `font` (the layout a figure scales). The
// painter is QCustomPlot's kind, so that its plots can draw on it as well.
using FigurePainter = std::function<void(QCPPainter&, const QRect& bounds, const QFont& font)>;

// The file bytes of a figure of `size` pixels.
std::string figureBytes(core::plot::FigureFormat format, QSize size, const FigurePainter& paint,
                        const QString& title);

// The figure written to `file` whole or not at all; a failure names the file.
core::Status writeFigure(const std::filesystem::path& file, core::plot::FigureFormat format,
                         QSize size, const FigurePainter& paint, const QString& title);

}  // namespace zephalo::gui
