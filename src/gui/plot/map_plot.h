#pragma once

#include <optional>
#include <string_view>

#include "core/rixs/rixs_plane.h"

class QCustomPlot;
class QCPColorMap;
class QCPColorScale;
class QCPItemStraightLine;
class QCPItemText;

namespace zephalo::gui {

// Colour cells on `plot`'s axes (jet, a blank cell transparent) with their
// colour scale at the right of layout row `row`, the scale as tall as the map.
QCPColorMap* addColourMap(QCustomPlot* plot, int row, QCPColorScale*& scale);

// A QCustomPlot set up as the RIXS map: the plane as colour cells over
// emission (x) and excitation energy (y) with a colour scale, titled, and a
// dashed line at the measured spectrum's excitation energy.
class MapPlot {
public:
    explicit MapPlot(QCustomPlot* plot);

    void show(const core::rixs::RixsPlane& plane, std::optional<double> measured);
    std::string_view title() const;

private:
    QCustomPlot* m_plot = nullptr;
    QCPColorMap* m_cells = nullptr;
    QCPColorScale* m_scale = nullptr;
    QCPItemStraightLine* m_measuredLine = nullptr;
    QCPItemText* m_measuredLabel = nullptr;
};

}  // namespace zephalo::gui
