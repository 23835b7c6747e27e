#include "plot/plot_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

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

}  // namespace

PlotPanel::PlotPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setMinimumSize(120, 120);
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

void PlotPanel::showCursor(int logicalX) {
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

void PlotPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    const QRect area = contentsRect();
    const QPoint at = event->position().toPoint() - area.topLeft();
    const auto logical = core::plot::logicalFromPixel(at.x(), at.y(), area.width(), area.height());
    if (!core::plot::pickAccepted(logical.x, logical.y)) return;
    showCursor(logical.x);
    emit picked(logical.x, logical.y);
}

}  // namespace zephalo::gui
