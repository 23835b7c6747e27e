#include "gui/plot/plot_panel.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "gui/plot/zoom_texts.h"

namespace zephalo::gui {

namespace {

using core::plot::Pen;

QPen qtPen(Pen pen) {
    QPen result;
    result.setCosmetic(true);
    result.setWidth(1);
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

// A band: the area between its two edges over the points inside the
// panel, shaded in a light tone of its pen's colour.
void fillBand(QPainter& painter, const core::plot::Curve& band) {
    QPolygonF upper, lower;
    for (std::size_t i = 0; i < band.size() && i < band.lower.size(); ++i) {
        if (band.x[i] < -97 || band.x[i] > 97) continue;
        upper << QPointF(band.x[i], std::clamp(band.y[i], band.windowLow, band.windowHigh));
        lower.prepend(
            QPointF(band.x[i], std::clamp(band.lower[i], band.windowLow, band.windowHigh)));
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

}  // namespace

PlotPanel::PlotPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setMinimumSize(120, 120);
    auto* fullView = new QAction(QString::fromUtf8(texts::kFullViewAction), this);
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

void PlotPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect area = contentsRect();
    const int w = area.width();
    const int h = area.height();
    QPainter painter(this);
    painter.fillRect(area, Qt::white);
    if (w <= 0 || h <= 0) return;

    // Logical 220 x 220 square over the client area, origin at its centre
    // (integer halves, as the logical mapping has them), y pointing up.
    QTransform mapping;
    mapping.translate(area.left() + w / 2, area.top() + h / 2);
    mapping.scale(w / double(core::plot::kLogicalExtent), -h / double(core::plot::kLogicalExtent));
    // The zoomed view: the logical centre point in the middle, magnified.
    mapping.scale(m_zoom, m_zoom);
    mapping.translate(-m_centre.x(), -m_centre.y());
    painter.setTransform(mapping);
    painter.setClipRect(QRectF(-110, -110, 220, 220));

    painter.setPen(qtPen(Pen::Black));
    painter.setBrush(QColor(230, 230, 230));
    painter.drawRect(QRectF(-100, -100, 200, 200));
    painter.setBrush(Qt::NoBrush);

    painter.setPen(qtPen(Pen::GreyDotted));
    for (int at : {-50, 0, 50}) {
        painter.drawLine(QLineF(-100, at, 100, at));
        painter.drawLine(QLineF(at, -100, at, 100));
    }

    for (const auto& curve : curves()) {
        if (curve.size() == 0) continue;
        if (!curve.lower.empty()) {
            fillBand(painter, curve);
            continue;
        }
        painter.setPen(qtPen(curve.pen));
        QPointF penAt(curve.x[0], curve.y[0]);
        for (std::size_t i = 1; i < curve.size(); ++i) {
            const QPointF point(curve.x[i], curve.y[i]);
            if (curve.joined(i)) painter.drawLine(penAt, point);
            penAt = point;
        }
    }

    if (m_cursorX) {
        painter.setPen(qtPen(Pen::SkyBlueDotted));
        painter.drawLine(QLineF(*m_cursorX, -95, *m_cursorX, 95));
        m_cursorX.reset();
    }
}

QPointF PlotPanel::offsetFromCentre(QPointF pixel) const {
    const QRect area = contentsRect();
    if (area.width() <= 0 || area.height() <= 0) return {};
    const double extent = core::plot::kLogicalExtent;
    const QPointF at = pixel - QPointF(area.topLeft());
    return {(at.x() - area.width() / 2) * extent / area.width(),
            (area.height() / 2 - at.y()) * extent / area.height()};
}

QPointF PlotPanel::logicalAt(QPointF pixel) const {
    if (m_zoom == 1.0) {
        const QRect area = contentsRect();
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

void PlotPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    if (m_zoom == 1.0) return pickAt(event->position());
    m_pressAt = event->position();
    m_dragging = false;
}

void PlotPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressAt) return QFrame::mouseMoveEvent(event);
    const QPointF moved = event->position() - *m_pressAt;
    if (!m_dragging && moved.manhattanLength() < 4) return;
    m_dragging = true;
    const QRect area = contentsRect();
    if (area.width() <= 0 || area.height() <= 0) return;
    const double extent = core::plot::kLogicalExtent / m_zoom;
    const QPointF shift(moved.x() * extent / area.width(), -moved.y() * extent / area.height());
    m_pressAt = event->position();
    setView(m_zoom, m_centre - shift);
}

void PlotPanel::mouseReleaseEvent(QMouseEvent* event) {
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
    // One notch (120) zooms by 1.25.
    zoomAbout(event->position(), std::pow(1.25, steps / 120.0));
    event->accept();
}

}  // namespace zephalo::gui
