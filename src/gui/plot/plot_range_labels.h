#pragma once

#include <QWidget>

class QLabel;

namespace zephalo::gui {

class PlotPanel;

// The energies at the two ends of a panel's horizontal axis, shown under the
// left and right edges of its box, so that the user knows what the plot spans.
class PlotRangeLabels : public QWidget {
    Q_OBJECT
public:
    explicit PlotRangeLabels(PlotPanel* panel, QWidget* parent = nullptr);

    void setRange(double xmin, double xmax);
    void clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PlotPanel* m_panel = nullptr;
    QLabel* m_low = nullptr;
    QLabel* m_high = nullptr;
};

}  // namespace zephalo::gui
