#include "gui/plot/plot_panel.h"

#include <QAction>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "gui/plot/zoom_texts.h"

namespace zephalo::gui {

PlotPanel::PlotPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setMinimumSize(120, 120);
    const std::string_view caption = texts::kFullViewAction;
    auto* fullView =
        new QAction(QString::fromUtf8(caption.data(), qsizetype(caption.size())), this);
    connect(fullView, &QAction::triggered, this, &PlotPanel::resetZoom);
    addAction(fullView);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PlotPanel::setCurves(std::vector<core::plot::Curve> curves) {
    m_curves = std::move(curves);
    update();
}

void PlotPanel::setCurveSource(CurveSource source) {
    m_source = std::move(source);
    update();
}

void PlotPanel::cancelCursor() {
    m_cursorX.reset();
    update();
}

void PlotPanel::showCursor(double logicalX) {
    m_cursorX = logicalX;
    update();
}

QRect PlotPanel::plotArea() const {
    return layoutPlot(contentsRect(), font(), picture()).area;
}

core::plot::Ticks PlotPanel::energyTicks() const {
    const auto frame = picture().frame();
    return frame ? gui::energyTicks(*frame, plotArea(), view()) : core::plot::Ticks{};
}

core::plot::Ticks PlotPanel::intensityTicks() const {
    const auto frame = picture().frame();
    return frame ? gui::intensityTicks(*frame, plotArea(), view()) : core::plot::Ticks{};
}

void PlotPanel::paintFigure(QPainter& painter, const QRect& bounds, const QFont& font) const {
    const core::plot::Picture shown = picture();
    paintPlot(painter, layoutPlot(bounds, font, shown, true), shown, view());
}

void PlotPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (contentsRect().isEmpty()) return;
    QPainter painter(this);
    const core::plot::Picture shown = picture();
    PlotView now = view();
    now.cursorX = m_cursorX;
    paintPlot(painter, layoutPlot(contentsRect(), font(), shown), shown, now);
    // The cursor is drawn once; the next paint removes it.
    m_cursorX.reset();
}

QPointF PlotPanel::offsetFromCentre(QPointF pixel) const {
    const QRect area = plotArea();
    if (area.width() <= 0 || area.height() <= 0) return {};
    const double extent = core::plot::kLogicalExtent;
    const QPointF at = pixel - QPointF(area.topLeft());
    return {(at.x() - area.width() / 2) * extent / area.width(),
            (area.height() / 2 - at.y()) * extent / area.height()};
}

QPointF PlotPanel::logicalAt(QPointF pixel) const {
    if (m_zoom == 1.0) {
        const QRect area = plotArea();
        const QPoint at = pixel.toPoint() - area.topLeft();
        const auto logical =
            core::plot::logicalFromPixel(at.x(), at.y(), area.width(), area.height());
        return {double(logical.x), double(logical.y)};
    }
    return m_centre + offsetFromCentre(pixel) / m_zoom;
}

void PlotPanel::setView(double zoom, QPointF centre) {
    m_zoom = std::clamp(zoom, 1.0, kMaxZoom);
    // The view stays inside the logical square.
    const double room = core::plot::kLogicalExtent / 2.0 * (1.0 - 1.0 / m_zoom);
    m_centre = QPointF(std::clamp(centre.x(), -room, room), std::clamp(centre.y(), -room, room));
    update();
}

void PlotPanel::zoomAbout(QPointF at, double factor) {
    // The logical point under `at` stays under it.
    const QPointF offset = offsetFromCentre(at);
    const QPointF fixed = m_centre + offset / m_zoom;
    const double zoom = std::clamp(m_zoom * factor, 1.0, kMaxZoom);
    setView(zoom, fixed - offset / zoom);
}

void PlotPanel::resetZoom() {
    m_pressAt.reset();
    m_dragging = false;
    setView(1.0, {});
}

void PlotPanel::pickAt(QPointF pixel) {
    const QPointF logical = logicalAt(pixel);
    if (!core::plot::pickAccepted(logical.x(), logical.y())) return;
    showCursor(logical.x());
    emit picked(logical.x(), logical.y());
}

void PlotPanel::setGrip(std::optional<double> logicalX) {
    m_gripX = logicalX;
    if (!m_gripX) m_gripping = false;
}

bool PlotPanel::onGrip(QPointF pixel) const {
    if (!m_gripX) return false;
    const double x = logicalToPixel(plotArea(), view()).map(QPointF(*m_gripX, 0.0)).x();
    return std::abs(pixel.x() - x) <= kGripPixels;
}

void PlotPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    if (onGrip(event->position())) {
        m_gripping = true;
        return;
    }
    if (m_zoom == 1.0) return pickAt(event->position());
    m_pressAt = event->position();
    m_dragging = false;
}

void PlotPanel::mouseMoveEvent(QMouseEvent* event) {
    if (m_gripping) {
        const QPointF at = m_centre + offsetFromCentre(event->position()) / m_zoom;
        emit gripDragged(at.x(), at.y());
        return;
    }
    if (!m_pressAt) return QFrame::mouseMoveEvent(event);
    const QPointF moved = event->position() - *m_pressAt;
    if (!m_dragging && moved.manhattanLength() < 4) return;
    m_dragging = true;
    const QRect area = plotArea();
    if (area.width() <= 0 || area.height() <= 0) return;
    const double extent = core::plot::kLogicalExtent / m_zoom;
    const QPointF shift(moved.x() * extent / area.width(), -moved.y() * extent / area.height());
    m_pressAt = event->position();
    setView(m_zoom, m_centre - shift);
}

void PlotPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_gripping) {
        m_gripping = false;
        emit gripReleased();
        return;
    }
    if (event->button() != Qt::LeftButton || !m_pressAt) {
        return QFrame::mouseReleaseEvent(event);
    }
    const bool click = !m_dragging;
    m_pressAt.reset();
    m_dragging = false;
    if (click) pickAt(event->position());
}

void PlotPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mouseDoubleClickEvent(event);
    resetZoom();
}

void PlotPanel::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) return QFrame::wheelEvent(event);
    if (onGrip(event->position())) {
        emit gripTurned(steps / 120.0);
        event->accept();
        return;
    }
    // One notch (120) zooms by 1.25.
    zoomAbout(event->position(), std::pow(1.25, steps / 120.0));
    event->accept();
}

}  // namespace zephalo::gui
