#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/status.h"

// The curves of a panel in physical units (energies in eV, intensities as
// the spectrum holds them), for saving what a panel draws as data.
namespace zephalo::core::plot {

struct Series {
    std::string name;
    std::string xLabel;
    std::string yLabel;
    std::vector<double> x;
    std::vector<double> y;
};

// A series from spectrum records, taking x and y through two members:
// seriesOf(points, &PairPoint::energy, &PairPoint::intensity, name).
template <class Point>
Series seriesOf(const std::vector<Point>& points, double Point::*x, double Point::*y,
                std::string_view name);

// The data text of a panel. One block per series, blocks separated by one
// blank line; a block is a comment line "# <name>", a header line
// "<xLabel> TAB <yLabel>", then one line "x TAB y" per point, numbers in the
// work-space format (6 significant digits, locale-free). Each block carries
// its own energies, so curves on different grids read back as they are.
std::string formatSeries(std::span<const Series> series);

// The text above read back; a line that is not two numbers where points are
// expected stops the reading with a message naming `fileLabel` and the line.
Status parseSeries(std::string_view text, std::string_view fileLabel, std::vector<Series>& out);

// Column labels of the series the models hand out.
std::string_view energyLabel();
std::string_view intensityLabel();

template <class Point>
Series seriesOf(const std::vector<Point>& points, double Point::*x, double Point::*y,
                std::string_view name) {
    Series series{
        std::string(name), std::string(energyLabel()), std::string(intensityLabel()), {}, {}};
    series.x.reserve(points.size());
    series.y.reserve(points.size());
    for (const Point& point : points) {
        series.x.push_back(point.*x);
        series.y.push_back(point.*y);
    }
    return series;
}

}  // namespace zephalo::core::plot
