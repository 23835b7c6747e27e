#pragma once

#include <qcustomplot.h>
#include <optional>
#include <vector>

#include "core/plot/series.h"
#include "core/rixs/map_comparison.h"
#include "core/rixs/plane_view.h"

class QCPColorMap;
class QCPColorScale;
class QCustomPlot;
class QWidget;

namespace zephalo::gui {

// The map window's half for a measured map: the measured map and its
// difference from the calculation as colour images on the calculated map's
// axes, the measured cuts over the calculated ones, and the R factor per
// excitation energy. The window hands the cursor and the axis on.
class MapComparisonPanels {
public:
    explicit MapComparisonPanels(QWidget* parent);

    QCustomPlot* measuredPlot() const { return m_measuredPlot; }
    QCustomPlot* differencePlot() const { return m_differencePlot; }
    QCustomPlot* rPlot() const { return m_rPlot; }

    // A new comparison; the panels show it at the next draw.
    void setComparison(core::rixs::MapComparison comparison);
    bool empty() const { return m_comparison.measured.empty(); }
    const core::rixs::MapComparison& comparison() const { return m_comparison; }
    // The image of the difference as drawn (measured − calculated).
    core::rixs::PlaneImage differenceImage() const { return m_difference.image(); }

    // The smallest and largest measured intensity.
    QCPRange measuredRange() const;

    void setAxis(core::rixs::PlaneAxis axis);
    // The cursor or the click the calculated map's view took.
    void follow(double x, double omega) { m_measured.follow(x, omega); }
    void fix(double x, double omega) { m_measured.fix(x, omega); }
    void release() { m_measured.release(); }

    // Draws both maps; the measured one on the colour range the calculated
    // one shows, `calculated`.
    void draw(const QCPRange& calculated);
    // The measured cuts as points over the calculated cuts (the cut plots'
    // second graph).
    void drawCuts(QCustomPlot* spectrumCut, QCustomPlot* excitationCut) const;

    // What saving each panel writes: the measured spectra as measured, the
    // differences where the two pair, the R factors; and the measured cuts.
    std::vector<core::plot::Series> measuredSeries() const;
    std::vector<core::plot::Series> differenceSeries() const;
    std::vector<core::plot::Series> rSeries() const;
    std::vector<core::plot::Series> spectrumCutSeries() const;
    std::vector<core::plot::Series> excitationCutSeries() const;

private:
    core::rixs::MapComparison m_comparison;
    core::rixs::PlaneView m_measured;
    core::rixs::PlaneView m_difference;

    QCustomPlot* m_measuredPlot = nullptr;
    QCPColorMap* m_measuredMap = nullptr;
    QCustomPlot* m_differencePlot = nullptr;
    QCPColorMap* m_differenceMap = nullptr;
    QCustomPlot* m_rPlot = nullptr;
};

// The finite values of a cut, for drawing and saving.
core::rixs::PlaneCut finitePart(const core::rixs::PlaneCut& cut);

}  // namespace zephalo::gui
