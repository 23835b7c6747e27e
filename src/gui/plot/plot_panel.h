#pragma once

#include <QFrame>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/plot/projection.h"
#include "gui/plot/plot_painter.h"

class QPainter;

namespace zephalo::gui {

// A framed panel that draws the box, the grid and the projected curves of
// its dialog in the 220 x 220 logical system, with axes, tick labels and a
// legend around it, and reports accepted left clicks inside the square. It
// holds no data of its own beyond what the dialog hands it.
//
// The wheel zooms about the cursor, a left drag pans a zoomed view, and a
// double click or the "全体表示" action returns to the full view. At the full
// view a press picks at once in whole logical units; zoomed in, a click (a
// press and release without a drag) picks at the fractional logical point
// under the cursor. A grip (the workbench's correction peak) takes a left
// press and the wheel within kGripPixels of its line for itself.
class PlotPanel : public QFrame {
    Q_OBJECT
public:
    explicit PlotPanel(QWidget* parent = nullptr);

    using CurveSource = std::function<std::vector<core::plot::Curve>()>;

    // Replaces the curves and repaints.
    void setCurves(std::vector<core::plot::Curve> curves);
    void clearCurves() { setCurves({}); }
    // Asks `source` for the curves at every paint instead, for a panel whose
    // picture follows a radio or a file without any recomputation.
    void setCurveSource(CurveSource source);
    // The curves the next paint draws.
    std::vector<core::plot::Curve> curves() const { return m_source ? m_source() : m_curves; }
    // The heading a figure of the panel carries.
    void setTitle(std::string_view title) { m_title = title; }
    core::plot::Picture picture() const { return {m_title, curves()}; }

    // Where the logical square lies in the widget (the axes around it).
    QRect plotArea() const;
    // The ticks the axes show now (none before a curve with a frame).
    core::plot::Ticks energyTicks() const;
    core::plot::Ticks intensityTicks() const;

    // The panel at the current view, without its cursor, drawn within
    // `bounds` of `painter` with `font`: a figure of what the user sees.
    void paintFigure(QPainter& painter, const QRect& bounds, const QFont& font) const;

    // Draws the dotted cursor at logical X on the next paint only; the paint
    // after that removes it again.
    void showCursor(double logicalX);
    // Takes back a cursor not yet painted, for a click its dialog ignored.
    void cancelCursor();

    QSize sizeHint() const override { return {320, 320}; }

    // The zoom: 1 at the full view, the logical point at the panel's centre.
    double zoom() const { return m_zoom; }
    QPointF viewCentre() const { return m_centre; }
    // Zooms by `factor` keeping the logical point under pixel `at` in place
    // (clamped to 1..kMaxZoom, the view kept inside the logical square).
    void zoomAbout(QPointF at, double factor);
    void resetZoom();
    // The logical point under a pixel of the widget at the current view
    // (whole units at the full view, as the panel has always mapped them).
    QPointF logicalAt(QPointF pixel) const;

    static constexpr double kMaxZoom = 64.0;

    // A grip on the vertical line at logical X, or none: a left press within
    // kGripPixels of it drags the grip (gripDragged with the cursor's
    // fractional logical point at each move, gripReleased at the end)
    // instead of picking or panning, and the wheel there turns it
    // (gripTurned, in notches, up positive) instead of zooming.
    void setGrip(std::optional<double> logicalX);
    static constexpr double kGripPixels = 6.0;

signals:
    // A left click inside the accepted square, in logical units.
    void picked(double logicalX, double logicalY);
    void gripDragged(double logicalX, double logicalY);
    void gripReleased();
    void gripTurned(double notches);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void pickAt(QPointF pixel);
    bool onGrip(QPointF pixel) const;
    // A pixel's logical offset from the panel's centre at the full view.
    QPointF offsetFromCentre(QPointF pixel) const;
    void setView(double zoom, QPointF centre);

    PlotView view() const { return {m_zoom, m_centre, {}}; }

    std::vector<core::plot::Curve> m_curves;
    CurveSource m_source;
    std::string_view m_title;
    std::optional<double> m_cursorX;
    double m_zoom = 1.0;
    QPointF m_centre;
    // A left press on a zoomed view: where it started, and whether it has
    // become a drag.
    std::optional<QPointF> m_pressAt;
    bool m_dragging = false;
    std::optional<double> m_gripX;
    bool m_gripping = false;
};

}  // namespace zephalo::gui
