#pragma once

#include <QFont>
#include <QPointF>
#include <QRect>
#include <QTransform>
#include <optional>

#include "core/plot/axes.h"
#include "core/plot/projection.h"

class QPainter;

// Painting a panel's picture: the logical square with its box, grid and
// curves as they have always been drawn, and around it the axes with tick
// labels, their titles and a legend naming each curve. One routine for the
// window and for figures, so that a figure is the panel as drawn.
namespace zephalo::gui {

// Which part of the logical square is shown: zoom 1 is the full view, the
// logical point `centre` sits in the middle; the cursor line, when set.
struct PlotView {
    double zoom = 1.0;
    QPointF centre;
    std::optional<double> cursorX;
};

// Where the parts of a panel lie within its bounds. The logical square
// spans `area`; the layout depends on the bounds, the font and the picture
// (its legend and its frame), never on the view, so that zooming never
// moves the square.
struct PlotLayout {
    QRect bounds;
    QRect area;
    QFont font;
    bool titled = false;  // the picture's title above the legend (figures)
    int legendTop = 0;
};

PlotLayout layoutPlot(const QRect& bounds, const QFont& font, const core::plot::Picture& picture,
                      bool titled = false);

// Logical units to pixels of `area` at a view: the 220 x 220 square over the
// area, origin at its integer middle, y up; whole logical units fall on
// pixel centres.
QTransform logicalToPixel(const QRect& area, const PlotView& view);

// The ticks an axis shows at a view (none without a frame).
core::plot::Ticks energyTicks(const core::plot::Frame& frame, const QRect& area,
                              const PlotView& view);
core::plot::Ticks intensityTicks(const core::plot::Frame& frame, const QRect& area,
                                 const PlotView& view);

void paintPlot(QPainter& painter, const PlotLayout& layout, const core::plot::Picture& picture,
               const PlotView& view);

// The width of the layout a figure is drawn in: a figure of any size is this
// picture scaled, so that its type keeps its proportion.
inline constexpr int kFigureLayoutWidth = 640;
// The type size of figures in layout pixels.
inline constexpr int kFigureFontPixels = 13;

}  // namespace zephalo::gui
