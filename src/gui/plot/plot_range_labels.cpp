#include "gui/plot/plot_range_labels.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

#include "core/workspace/number_text.h"
#include "gui/plot/plot_panel.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

PlotRangeLabels::PlotRangeLabels(PlotPanel* panel, QWidget* parent)
    : QWidget(parent), m_panel(panel) {
    m_low = new QLabel(this);
    m_high = new QLabel(this);
    m_low->setObjectName(QStringLiteral("labelRangeLow"));
    m_high->setObjectName(QStringLiteral("labelRangeHigh"));
    m_high->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (auto* label : {m_low, m_high}) {
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        label->setFont(font);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_low);
    row->addStretch(1);
    row->addWidget(m_high);
    m_panel->installEventFilter(this);
}

void PlotRangeLabels::setRange(double xmin, double xmax) {
    m_low->setText(toQt(core::formatNumber(xmin) + " eV"));
    m_high->setText(toQt(core::formatNumber(xmax) + " eV"));
}

void PlotRangeLabels::clear() {
    m_low->clear();
    m_high->clear();
}

bool PlotRangeLabels::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_panel && event->type() == QEvent::Resize) {
        // The box spans logical -100 .. 100 of the panel's 220 units across
        // its client area: the labels start and end under its edges.
        const QRect area = m_panel->contentsRect();
        const int inset =
            area.left() + area.width() * (core::plot::kLogicalExtent / 2 - core::plot::kBoxHalf) /
                              core::plot::kLogicalExtent;
        layout()->setContentsMargins(inset, 0, inset, 0);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zephalo::gui
