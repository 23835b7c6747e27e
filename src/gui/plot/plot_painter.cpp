#include "gui/plot/plot_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <string_view>
#include <vector>

#include "core/plot/plot_texts.h"

namespace zephalo::gui {

namespace {

using core::plot::Frame;
using core::plot::Pen;
using core::plot::Picture;
using core::plot::Ticks;

// Curves are drawn antialiased this wide (in layout pixels, so twice as many
// device pixels at a scale factor of 2); box, grid, axes and cursor are
// crisp one-pixel lines.
constexpr double kCurveWidth = 1.5;
// Logical half-width of the panel's square.
constexpr double kHalfExtent = core::plot::kLogicalExtent / 2.0;
// Pixels per tick on the energy and the intensity axis at most.
constexpr int kPixelsPerEnergyTick = 70;
constexpr int kPixelsPerIntensityTick = 40;
// The length of a legend's line sample in type heights.
constexpr double kSampleLength = 1.6;

const QColor kAxisColour(60, 60, 60);

QPen qtPen(Pen pen, double width = 1.0) {
    QPen result;
    result.setWidthF(width);
    result.setCapStyle(Qt::FlatCap);
    switch (pen) {
        case Pen::Black:
            result.setColor(QColor(0, 0, 0));
            break;
        case Pen::Red:
            result.setColor(QColor(255, 0, 0));
            break;
        case Pen::Blue:
            result.setColor(QColor(0, 0, 255));
            break;
        case Pen::Pink:
            result.setColor(QColor(255, 128, 255));
            break;
        case Pen::SkyBlueDotted:
            result.setColor(QColor(0, 200, 255));
            result.setStyle(Qt::DotLine);
            break;
        case Pen::GreyDotted:
            result.setColor(QColor(100, 100, 100));
            result.setStyle(Qt::DotLine);
            break;
    }
    return result;
}

// A band: the area between its two edges over the points inside the panel,
// shaded in a light tone of its pen's colour.
void fillBand(QPainter& painter, const core::plot::Curve& band, const QTransform& mapping) {
    QPolygonF upper, lower;
    for (std::size_t i = 0; i < band.size() && i < band.lower.size(); ++i) {
        if (band.x[i] < -97 || band.x[i] > 97) continue;
        upper << mapping.map(
            QPointF(band.x[i], std::clamp(band.y[i], band.windowLow, band.windowHigh)));
        lower.prepend(mapping.map(
            QPointF(band.x[i], std::clamp(band.lower[i], band.windowLow, band.windowHigh))));
    }
    if (upper.size() < 2) return;
    QColor shade = qtPen(band.pen).color();
    shade.setAlpha(60);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawPolygon(upper + lower);
    painter.restore();
}

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The curves the legend names: those with points and a name, each name once.
std::vector<const core::plot::Curve*> legendEntries(const Picture& picture) {
    std::vector<const core::plot::Curve*> entries;
    for (const auto& curve : picture.curves) {
        if (curve.size() == 0 || curve.name.empty()) continue;
        const bool seen = std::any_of(entries.begin(), entries.end(),
                                      [&](const auto* entry) { return entry->name == curve.name; });
        if (!seen) entries.push_back(&curve);
    }
    return entries;
}

// Where each legend entry starts, flowing in rows across `width`.
std::vector<QPoint> legendPlaces(const QFontMetrics& metrics, const Picture& picture, int width) {
    std::vector<QPoint> places;
    const int sample = static_cast<int>(metrics.height() * kSampleLength);
    const int gap = metrics.height();
    int x = 0;
    int row = 0;
    for (const auto* entry : legendEntries(picture)) {
        const int entryWidth =
            sample + metrics.height() / 3 + metrics.horizontalAdvance(qt(entry->name));
        if (x > 0 && x + entryWidth > width) {
            x = 0;
            ++row;
        }
        places.emplace_back(x, row);
        x += entryWidth + gap;
    }
    return places;
}

int legendRows(const std::vector<QPoint>& places) {
    return places.empty() ? 0 : places.back().y() + 1;
}

QFont titleFont(const QFont& font) {
    QFont result = font;
    result.setBold(true);
    return result;
}

// The visible logical span of one axis: centre -/+ half the square / zoom.
std::pair<double, double> visible(double centre, double zoom) {
    return {centre - kHalfExtent / zoom, centre + kHalfExtent / zoom};
}

// The widest label of an axis at its full view, for the layout.
int widestLabel(const QFontMetrics& metrics, const Ticks& ticks) {
    int widest = 0;
    for (double value : ticks.values) {
        widest = std::max(widest,
                          metrics.horizontalAdvance(qt(core::plot::tickLabel(value, ticks.step))));
    }
    return widest;
}

}  // namespace

PlotLayout layoutPlot(const QRect& bounds, const QFont& font, const Picture& picture, bool titled) {
    PlotLayout layout;
    layout.bounds = bounds;
    layout.font = font;
    layout.titled = titled && !picture.title.empty();
    const QFontMetrics metrics(font);
    const int line = metrics.height();
    const int pad = std::max(2, line / 4);
    const int tick = std::max(3, line / 3);

    int top = bounds.top() + pad;
    if (layout.titled) top += QFontMetrics(titleFont(font)).height() + pad;
    layout.legendTop = top;
    const int rows = legendRows(legendPlaces(metrics, picture, bounds.width() - 2 * pad));
    if (rows > 0) top += rows * line + pad;
    top += line / 2;  // the top intensity label reaches above the square

    // Room for the labels as the full view shows them, and a digit more for
    // the finer labels of a zoom.
    int yLabels = metrics.horizontalAdvance(QStringLiteral("0.00"));
    int xLabels = metrics.horizontalAdvance(QStringLiteral("0000"));
    if (const auto frame = picture.frame()) {
        yLabels = std::max(
            yLabels, widestLabel(metrics, core::plot::niceTicks(frame->yLow, frame->yHigh, 5)));
        xLabels = std::max(
            xLabels, widestLabel(metrics, core::plot::niceTicks(frame->xLow, frame->xHigh, 5)));
    }
    yLabels += metrics.horizontalAdvance(QLatin1Char('0'));
    const int left = bounds.left() + pad + line + pad + yLabels + tick;
    const int bottom = bounds.bottom() - (tick + line + pad / 2 + line + pad);
    const int right = bounds.right() - std::max(pad, xLabels / 2 + pad);
    layout.area =
        QRect(QPoint(left, top), QPoint(std::max(left + 9, right), std::max(top + 9, bottom)));
    return layout;
}

QTransform logicalToPixel(const QRect& area, const PlotView& view) {
    const double extent = core::plot::kLogicalExtent;
    QTransform mapping;
    // The integer middle of the area, as the click mapping has it; the half
    // pixel puts whole logical units on pixel centres.
    mapping.translate(area.left() + area.width() / 2 + 0.5, area.top() + area.height() / 2 + 0.5);
    mapping.scale(area.width() / extent * view.zoom, -area.height() / extent * view.zoom);
    mapping.translate(-view.centre.x(), -view.centre.y());
    return mapping;
}

Ticks energyTicks(const Frame& frame, const QRect& area, const PlotView& view) {
    const auto [low, high] = visible(view.centre.x(), view.zoom);
    return core::plot::niceTicks(core::plot::energyAt(frame, low),
                                 core::plot::energyAt(frame, high),
                                 std::max(2, area.width() / kPixelsPerEnergyTick));
}

Ticks intensityTicks(const Frame& frame, const QRect& area, const PlotView& view) {
    const auto [low, high] = visible(view.centre.y(), view.zoom);
    return core::plot::niceTicks(core::plot::intensityAt(frame, low),
                                 core::plot::intensityAt(frame, high),
                                 std::max(2, area.height() / kPixelsPerIntensityTick));
}

void paintPlot(QPainter& painter, const PlotLayout& layout, const Picture& picture,
               const PlotView& view) {
    painter.save();
    painter.fillRect(layout.bounds, Qt::white);
    painter.setFont(layout.font);
    const QFontMetrics metrics(layout.font);
    const int line = metrics.height();
    const int pad = std::max(2, line / 4);
    const int tick = std::max(3, line / 3);
    const QRect& area = layout.area;
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (layout.titled) {
        painter.setFont(titleFont(layout.font));
        painter.setPen(Qt::black);
        painter.drawText(QRect(layout.bounds.left(), layout.bounds.top() + pad,
                               layout.bounds.width(), QFontMetrics(painter.font()).height()),
                         Qt::AlignCenter, qt(picture.title));
        painter.setFont(layout.font);
    }

    // The legend: a line sample in the curve's pen and its name.
    const auto entries = legendEntries(picture);
    const auto places = legendPlaces(metrics, picture, layout.bounds.width() - 2 * pad);
    const int sample = static_cast<int>(line * kSampleLength);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int x = layout.bounds.left() + pad + places[k].x();
        const int y = layout.legendTop + places[k].y() * line;
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(qtPen(entries[k]->pen, kCurveWidth));
        painter.drawLine(QLineF(x, y + line / 2.0, x + sample, y + line / 2.0));
        painter.setPen(Qt::black);
        painter.drawText(QRect(x + sample + line / 3, y, layout.bounds.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, qt(entries[k]->name));
    }

    // The logical square as it has always been drawn.
    const QTransform mapping = logicalToPixel(area, view);
    const auto at = [&](double x, double y) { return mapping.map(QPointF(x, y)); };
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF box(at(-core::plot::kBoxHalf, core::plot::kBoxHalf),
                     at(core::plot::kBoxHalf, -core::plot::kBoxHalf));
    painter.fillRect(box, QColor(230, 230, 230));
    painter.setPen(qtPen(Pen::Black));
    painter.drawRect(box);
    painter.setPen(qtPen(Pen::GreyDotted));
    for (int grid : {-50, 0, 50}) {
        painter.drawLine(at(-100, grid), at(100, grid));
        painter.drawLine(at(grid, -100), at(grid, 100));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const auto& curve : picture.curves) {
        if (!curve.lower.empty()) {
            fillBand(painter, curve, mapping);
            continue;
        }
        painter.setPen(qtPen(curve.pen, kCurveWidth));
        // Runs of joined points as one line each, so that a dotted pen's
        // pattern runs on along the curve.
        QPolygonF run;
        const auto flush = [&] {
            if (run.size() > 1) painter.drawPolyline(run);
            run.clear();
        };
        for (std::size_t i = 1; i < curve.size(); ++i) {
            if (!curve.joined(i)) {
                flush();
                continue;
            }
            if (run.isEmpty()) run << at(curve.x[i - 1], curve.y[i - 1]);
            run << at(curve.x[i], curve.y[i]);
        }
        flush();
    }
    if (view.cursorX) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(qtPen(Pen::SkyBlueDotted));
        painter.drawLine(at(*view.cursorX, -95), at(*view.cursorX, 95));
    }
    painter.restore();

    // Axes along the square's left and bottom edges, ticks outwards.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kAxisColour, 1.0));
    const double axisX = area.left() - 0.5;
    const double axisY = area.bottom() + 1.5;
    painter.drawLine(QPointF(axisX, area.top() + 0.5), QPointF(axisX, axisY));
    painter.drawLine(QPointF(axisX, axisY), QPointF(area.right() + 0.5, axisY));
    const auto frame = picture.frame();
    if (frame) {
        const Ticks xTicks = energyTicks(*frame, area, view);
        for (double value : xTicks.values) {
            const double x = at(core::plot::logicalXOf(*frame, value), 0).x();
            if (x < area.left() || x > area.right() + 1) continue;
            painter.drawLine(QPointF(x, axisY), QPointF(x, axisY + tick));
            const QString text = qt(core::plot::tickLabel(value, xTicks.step));
            const int width = metrics.horizontalAdvance(text);
            painter.drawText(QRectF(x - width, axisY + tick, 2 * width, line), Qt::AlignCenter,
                             text);
        }
        const Ticks yTicks = intensityTicks(*frame, area, view);
        for (double value : yTicks.values) {
            const double y = at(0, core::plot::logicalYOf(*frame, value)).y();
            if (y < area.top() || y > area.bottom() + 1) continue;
            painter.drawLine(QPointF(axisX - tick, y), QPointF(axisX, y));
            const QString text = qt(core::plot::tickLabel(value, yTicks.step));
            painter.drawText(QRectF(layout.bounds.left(), y - line,
                                    axisX - tick - pad / 2.0 - layout.bounds.left(), 2 * line),
                             Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }

    // Axis titles: energy under the labels, intensity turned along the left edge.
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), axisY + tick + line + pad / 2.0, area.width(), line),
                     Qt::AlignCenter, qt(core::plot::texts::kEnergyColumn));
    const std::string_view yTitle = frame ? frame->yTitle : core::plot::texts::kIntensityAxis;
    painter.save();
    painter.translate(layout.bounds.left() + pad, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2.0 - line * 4, 0, area.height() + line * 8, line),
                     Qt::AlignCenter, qt(yTitle));
    painter.restore();
    painter.restore();
}

}  // namespace zephalo::gui
