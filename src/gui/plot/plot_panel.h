#pragma once

#include <QFrame>
#include <functional>
#include <optional>
#include <vector>

#include "plot/projection.h"

namespace zephalo::gui {

// A framed panel that draws the box, the grid and the projected curves of
// its dialog in the 220 x 220 logical system, and reports accepted left
// clicks. It holds no data of its own beyond what the dialog hands it.
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

    // Draws the dotted cursor at logical X on the next paint only; the paint
    // after that removes it again.
    void showCursor(int logicalX);
    // Takes back a cursor not yet painted, for a click its dialog ignored.
    void cancelCursor();

    QSize sizeHint() const override { return {280, 280}; }

signals:
    // A left click inside the accepted square, in logical units.
    void picked(int logicalX, int logicalY);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<core::plot::Curve> m_curves;
    CurveSource m_source;
    std::optional<int> m_cursorX;
};

}  // namespace zephalo::gui
