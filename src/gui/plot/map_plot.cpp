#include "gui/plot/map_plot.h"

#include <qcustomplot.h>
#include <string>

#include "core/workspace/number_text.h"
#include "gui/rixs/map_captions.h"

namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;

// Digits of the measured energy's mark.
constexpr int kMarkDigits = 6;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QCPRange spanOf(const std::vector<double>& values) {
    if (values.empty()) return QCPRange(0, 1);
    if (values.size() == 1) return QCPRange(values.front() - 0.5, values.front() + 0.5);
    return QCPRange(values.front(), values.back());
}

}  // namespace

QCPColorMap* addColourMap(QCustomPlot* plot, int row, QCPColorScale*& scale) {
    auto* cells = new QCPColorMap(plot->xAxis, plot->yAxis);
    cells->setInterpolate(false);
    scale = new QCPColorScale(plot);
    scale->setType(QCPAxis::atRight);
    scale->axis()->setLabel(qt(captions::kIntensityAxis));
    plot->plotLayout()->addElement(row, 1, scale);
    cells->setColorScale(scale);
    QCPColorGradient gradient(QCPColorGradient::gpJet);
    gradient.setNanHandling(QCPColorGradient::nhTransparent);
    cells->setGradient(gradient);
    auto* margins = new QCPMarginGroup(plot);
    plot->axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    scale->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    return cells;
}

MapPlot::MapPlot(QCustomPlot* plot) : m_plot(plot) {
    m_plot->plotLayout()->insertRow(0);
    m_plot->plotLayout()->addElement(0, 0, new QCPTextElement(m_plot, qt(title())));
    m_plot->xAxis->setLabel(qt(captions::kEmissionAxis));
    m_plot->yAxis->setLabel(qt(captions::kExcitationAxis));
    m_cells = addColourMap(m_plot, 1, m_scale);

    // Magenta stands out on every colour of the scale and on the blank.
    const QColor measuredColour(230, 0, 230);
    m_measuredLine = new QCPItemStraightLine(m_plot);
    m_measuredLine->setPen(QPen(measuredColour, 1.5, Qt::DashLine));
    m_measuredLabel = new QCPItemText(m_plot);
    m_measuredLabel->setColor(Qt::white);
    m_measuredLabel->setBrush(measuredColour);
    m_measuredLabel->setPadding(QMargins(3, 1, 3, 1));
    m_measuredLabel->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_measuredLabel->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    m_measuredLabel->position->setTypeY(QCPItemPosition::ptPlotCoords);
}

std::string_view MapPlot::title() const {
    return captions::kMapTitle;
}

void MapPlot::show(const core::rixs::RixsPlane& plane, std::optional<double> measured) {
    const int columns = static_cast<int>(plane.emission.size());
    const int rows = static_cast<int>(plane.excitation.size());
    m_cells->data()->setSize(columns, rows);
    m_cells->data()->setRange(spanOf(plane.emission), spanOf(plane.excitation));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            m_cells->data()->setCell(column, row, plane.at(row, column));
        }
    }
    m_cells->rescaleDataRange(true);
    m_plot->rescaleAxes();
    const bool marked = measured.has_value();
    m_measuredLine->setVisible(marked);
    m_measuredLabel->setVisible(marked);
    if (marked) {
        m_measuredLine->point1->setCoords(0, *measured);
        m_measuredLine->point2->setCoords(1, *measured);
        m_measuredLabel->position->setCoords(0.02, *measured);
        m_measuredLabel->setText(qt(std::string(captions::kMeasuredHead) +
                                    core::formatDigits(*measured, kMarkDigits) +
                                    std::string(captions::kUnitEv)));
    }
    m_plot->replot();
}

}  // namespace zephalo::gui
