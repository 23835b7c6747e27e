#include "gui/rixs/map_comparison_panels.h"

#include <qcustomplot.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/rixs/plane_texts.h"
#include "core/workspace/number_text.h"
#include "gui/rixs/map_captions.h"
#include "gui/rixs/measured_map_captions.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;
namespace texts = core::rixs::texts;
using core::rixs::PlaneCut;
using core::rixs::PlaneImage;

// The measured values are drawn in red over the calculated blue lines.
const QColor kMeasuredColour(200, 30, 30);

QCustomPlot* mapPlot(QWidget* parent, const QString& name, std::string_view title,
                     QCPColorGradient gradient, QCPColorMap*& map) {
    auto* plot = new QCustomPlot(parent);
    plot->setObjectName(name);
    plot->setMinimumSize(320, 300);
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0, new QCPTextElement(plot, toQt(title)));
    plot->yAxis->setLabel(toQt(captions::kExcitationAxis));
    map = new QCPColorMap(plot->xAxis, plot->yAxis);
    map->setInterpolate(false);
    auto* scale = new QCPColorScale(plot);
    scale->setType(QCPAxis::atRight);
    plot->plotLayout()->addElement(1, 1, scale);
    map->setColorScale(scale);
    gradient.setNanHandling(QCPColorGradient::nhTransparent);
    map->setGradient(gradient);
    auto* margins = new QCPMarginGroup(plot);
    plot->axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    scale->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    return plot;
}

void fill(QCPColorMap* map, const PlaneImage& image) {
    QCPColorMapData* cells = map->data();
    if (image.rows == 0 || image.columns == 0) {
        cells->clear();
        return;
    }
    cells->setSize(static_cast<int>(image.columns), static_cast<int>(image.rows));
    cells->setRange(QCPRange(image.xFirst, image.xLast), QCPRange(image.yFirst, image.yLast));
    for (std::size_t r = 0; r < image.rows; ++r) {
        for (std::size_t c = 0; c < image.columns; ++c) {
            cells->setCell(static_cast<int>(c), static_cast<int>(r), image.at(r, c));
        }
    }
}

// The largest |value| of an image, so that the difference's scale is
// symmetric about 0 (white).
double largestMagnitude(const PlaneImage& image) {
    double largest = 0.0;
    for (double v : image.values) {
        if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
    }
    return largest > 0.0 ? largest : 1.0;
}

void showPoints(QCustomPlot* plot, const PlaneCut& cut) {
    while (plot->graphCount() < 2) {
        auto* graph = plot->addGraph();
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setScatterStyle(
            QCPScatterStyle(QCPScatterStyle::ssDisc, kMeasuredColour, kMeasuredColour, 4));
    }
    const PlaneCut finite = finitePart(cut);
    plot->graph(1)->setData(QVector<double>(finite.x.begin(), finite.x.end()),
                            QVector<double>(finite.y.begin(), finite.y.end()));
    plot->rescaleAxes();
    plot->replot(QCustomPlot::rpQueuedReplot);
}

core::plot::Series named(std::string_view head, double omega, std::string_view xLabel,
                         std::string_view yLabel) {
    core::plot::Series series;
    series.name = std::string(head) + core::formatNumber(omega) + std::string(texts::kUnitEv);
    series.xLabel = std::string(xLabel);
    series.yLabel = std::string(yLabel);
    return series;
}

}  // namespace

PlaneCut finitePart(const PlaneCut& cut) {
    PlaneCut out;
    for (std::size_t i = 0; i < cut.x.size() && i < cut.y.size(); ++i) {
        if (!std::isfinite(cut.y[i])) continue;
        out.x.push_back(cut.x[i]);
        out.y.push_back(cut.y[i]);
    }
    return out;
}

MapComparisonPanels::MapComparisonPanels(QWidget* parent) {
    m_measuredPlot = mapPlot(parent, QStringLiteral("plotMeasuredMap"), captions::kMeasuredMapTitle,
                             QCPColorGradient(QCPColorGradient::gpJet), m_measuredMap);
    m_differencePlot =
        mapPlot(parent, QStringLiteral("plotDifferenceMap"), captions::kDifferenceMapTitle,
                QCPColorGradient(QCPColorGradient::gpPolar), m_differenceMap);
    m_rPlot = new QCustomPlot(parent);
    m_rPlot->setObjectName(QStringLiteral("plotRFactor"));
    m_rPlot->setMinimumSize(300, 200);
    m_rPlot->plotLayout()->insertRow(0);
    m_rPlot->plotLayout()->addElement(0, 0,
                                      new QCPTextElement(m_rPlot, toQt(captions::kRFactorTitle)));
    m_rPlot->xAxis->setLabel(toQt(captions::kExcitationAxis));
    m_rPlot->yAxis->setLabel(toQt(captions::kRFactorAxis));
    auto* graph = m_rPlot->addGraph();
    graph->setPen(QPen(kMeasuredColour, 1.5));
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 5));
}

void MapComparisonPanels::setComparison(core::rixs::MapComparison comparison) {
    m_comparison = std::move(comparison);
    m_measured.setPlane(core::rixs::measuredOnGrid(m_comparison));
    m_difference.setPlane(core::rixs::differenceOnGrid(m_comparison));
    std::vector<double> omega, r;
    for (std::size_t i = 0; i < m_comparison.r.size(); ++i) {
        if (!m_comparison.r[i]) continue;
        omega.push_back(m_comparison.measured[i].excitation);
        r.push_back(*m_comparison.r[i]);
    }
    m_rPlot->graph(0)->setData(QVector<double>(omega.begin(), omega.end()),
                               QVector<double>(r.begin(), r.end()));
    m_rPlot->rescaleAxes();
    m_rPlot->yAxis->setRangeLower(0.0);
    m_rPlot->replot();
}

QCPRange MapComparisonPanels::measuredRange() const {
    QCPRange range(0.0, 0.0);
    bool any = false;
    for (const auto& spectrum : m_comparison.measured) {
        for (const auto& p : spectrum.points) {
            if (!any) range = QCPRange(p.intensity, p.intensity);
            range.expand(p.intensity);
            any = true;
        }
    }
    return range;
}

void MapComparisonPanels::setAxis(core::rixs::PlaneAxis axis) {
    m_measured.setAxis(axis);
    m_difference.setAxis(axis);
    const auto title =
        axis == core::rixs::PlaneAxis::Emission ? captions::kEmissionAxis : captions::kTransferAxis;
    m_measuredPlot->xAxis->setLabel(toQt(title));
    m_differencePlot->xAxis->setLabel(toQt(title));
}

void MapComparisonPanels::draw(const QCPRange& calculated) {
    fill(m_measuredMap, m_measured.image());
    m_measuredMap->setDataRange(calculated);
    const PlaneImage difference = m_difference.image();
    fill(m_differenceMap, difference);
    const double largest = largestMagnitude(difference);
    m_differenceMap->setDataRange(QCPRange(-largest, largest));
    for (QCustomPlot* plot : {m_measuredPlot, m_differencePlot}) {
        plot->rescaleAxes();
        plot->replot();
    }
}

void MapComparisonPanels::drawCuts(QCustomPlot* spectrumCut, QCustomPlot* excitationCut) const {
    if (empty()) return;
    showPoints(spectrumCut, m_measured.spectrumCut());
    showPoints(excitationCut, m_measured.excitationCut());
}

std::vector<core::plot::Series> MapComparisonPanels::measuredSeries() const {
    std::vector<core::plot::Series> out;
    for (const auto& spectrum : m_comparison.measured) {
        auto& block = out.emplace_back(named(texts::kSeriesOmegaHead, spectrum.excitation,
                                             texts::kEmissionAxis, texts::kIntensityAxis));
        for (const auto& p : spectrum.points) {
            block.x.push_back(p.energy);
            block.y.push_back(p.intensity);
        }
    }
    return out;
}

std::vector<core::plot::Series> MapComparisonPanels::differenceSeries() const {
    std::vector<core::plot::Series> out;
    const auto& plane = m_difference.plane();
    for (std::size_t r = 0; r < plane.excitation.size(); ++r) {
        auto& block = out.emplace_back(named(texts::kSeriesOmegaHead, plane.excitation[r],
                                             texts::kEmissionAxis, captions::kDifferenceMapTitle));
        for (std::size_t c = 0; c < plane.emission.size(); ++c) {
            if (!std::isfinite(plane.at(r, c))) continue;
            block.x.push_back(plane.emission[c]);
            block.y.push_back(plane.at(r, c));
        }
    }
    return out;
}

std::vector<core::plot::Series> MapComparisonPanels::rSeries() const {
    core::plot::Series series;
    series.name = std::string(captions::kRFactorSeries);
    series.xLabel = std::string(texts::kExcitationAxis);
    series.yLabel = std::string(captions::kRFactorSeries);
    for (std::size_t i = 0; i < m_comparison.r.size(); ++i) {
        if (!m_comparison.r[i]) continue;
        series.x.push_back(m_comparison.measured[i].excitation);
        series.y.push_back(*m_comparison.r[i]);
    }
    return {series};
}

std::vector<core::plot::Series> MapComparisonPanels::spectrumCutSeries() const {
    if (empty() || !m_measured.cut()) return {};
    const PlaneCut cut = finitePart(m_measured.spectrumCut());
    const bool transfer = m_measured.axis() == core::rixs::PlaneAxis::Transfer;
    core::plot::Series series;
    series.name = std::string(captions::kMeasuredSeries) + " " +
                  std::string(texts::kSeriesOmegaHead) +
                  core::formatNumber(m_measured.plane().excitation[m_measured.cut()->row]) +
                  std::string(texts::kUnitEv);
    series.xLabel = std::string(transfer ? texts::kTransferAxis : texts::kEmissionAxis);
    series.yLabel = std::string(texts::kIntensityAxis);
    series.x = cut.x;
    series.y = cut.y;
    return {series};
}

std::vector<core::plot::Series> MapComparisonPanels::excitationCutSeries() const {
    if (empty() || !m_measured.cut()) return {};
    const PlaneCut cut = finitePart(m_measured.excitationCut());
    core::plot::Series series;
    series.name = std::string(captions::kMeasuredSeries) + " " +
                  std::string(texts::kSeriesEmissionHead) +
                  core::formatNumber(m_measured.plane().emission[m_measured.cut()->column]) +
                  std::string(texts::kUnitEv);
    series.xLabel = std::string(texts::kExcitationAxis);
    series.yLabel = std::string(texts::kIntensityAxis);
    series.x = cut.x;
    series.y = cut.y;
    return {series};
}

}  // namespace zephalo::gui
