#pragma once

#include <cstdint>
#include <vector>

// The plot panels' logical system: a 220 x 220 square centred on the panel,
// y pointing up, a box from -100 to 100 and curves projected into it once
// when a spectrum is loaded.
namespace zephalo::core::plot {

inline constexpr int kLogicalExtent = 220;
inline constexpr int kBoxHalf = 100;
// Points whose X lies outside this band are never joined to their neighbours.
inline constexpr int kJoinLimit = 97;

// Ranges of one curve's axes, in data units.
struct Range {
    double xmin = 0.0;
    double xmax = 1.0;
    double ymin = 0.0;
    double ymax = 1.0;
};

// Pens of the panels, 1 pixel wide.
enum class Pen : std::uint8_t { Black, Red, Blue, Pink, SkyBlueDotted, GreyDotted };

// A curve in logical units. A break mark of 1 means the point is not joined
// to the one before it. The vertical window is the band of Y in which a point
// may be joined.
struct Curve {
    std::vector<int> x;
    std::vector<int> y;
    std::vector<std::uint8_t> breaks;  // empty: no break marks
    Pen pen = Pen::Black;
    int windowLow = -95;
    int windowHigh = 95;

    std::size_t size() const { return x.size(); }
    // Whether point i lies in [-97, 97] horizontally and in the vertical window.
    bool inside(std::size_t i) const;
    // Whether the segment from point i - 1 to point i is drawn: both points
    // inside and no break mark on point i. The first point is only moved to.
    bool joined(std::size_t i) const;
};

// Data to logical units. X runs from -100 at xmin to +100 at xmax in steps of
// 1/50 eV; Y from -95 at ymin to +85 at ymax, intensities taken in 1/10000
// units. Every quotient is truncated toward zero.
int projectX(double x, double xmin, double xmax);
int projectY(double y, double ymin, double ymax);

// A whole curve from spectrum records, taking x and y through two members:
// projectCurve(points, &PairPoint::energy, &PairPoint::intensity, range, pen).
template <class Point>
Curve projectCurve(const std::vector<Point>& points, double Point::*x, double Point::*y,
                   const Range& range, Pen pen, int windowLow = -95, int windowHigh = 95) {
    Curve curve;
    curve.pen = pen;
    curve.windowLow = windowLow;
    curve.windowHigh = windowHigh;
    curve.x.reserve(points.size());
    curve.y.reserve(points.size());
    for (const Point& point : points) {
        curve.x.push_back(projectX(point.*x, range.xmin, range.xmax));
        curve.y.push_back(projectY(point.*y, range.ymin, range.ymax));
    }
    return curve;
}

// A click in logical units is accepted within -96..96 (X) and -100..100 (Y).
bool pickAccepted(int logicalX, int logicalY);

// The energy under logical X on an axis spanning xmin..xmax.
double pickedEnergy(int logicalX, double xmin, double xmax);

// A pixel of a w x h panel in logical units, by the panel's own mapping
// (origin at (w/2, h/2) with integer division, y up).
struct LogicalPoint {
    int x = 0;
    int y = 0;
};
LogicalPoint logicalFromPixel(int px, int py, int width, int height);

}  // namespace zephalo::core::plot
