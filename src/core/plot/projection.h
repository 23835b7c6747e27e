#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/numeric/display_factors.h"
#include "core/plot/axes.h"

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

// Ranges of one curve with the intensities already in display units (the
// values of a range file, or scaled bounds a panel computed itself): the
// projection takes them as they are.
struct DisplayRange {
    double xmin = 0.0;
    double xmax = 1.0;
    double smin = 0.0;
    double smax = 1.0;
};

// How a panel quantises its data: energies in steps of 1/energySteps eV,
// intensities multiplied by the display factor and then by a scale of the
// panel's own (1 for the XAFS and emission panels) before truncation.
struct Axes {
    double energySteps = 50.0;
    double intensityFactor = numeric::kDisplayFactor;
    double intensityScale = 1.0;
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
    // What the panel's legend calls the curve.
    std::string_view name;
    // The energies and intensities of the logical square, for the axes.
    std::optional<Frame> frame;
    // A band: its lower edge under y, point by point; the area between the
    // two is shaded in the pen's colour instead of a line drawn. Empty for a
    // line.
    std::vector<int> lower;

    std::size_t size() const { return x.size(); }
    // Whether point i lies in [-97, 97] horizontally and in the vertical window.
    bool inside(std::size_t i) const;
    // Whether the segment from point i - 1 to point i is drawn: both points
    // inside and no break mark on point i. The first point is only moved to.
    bool joined(std::size_t i) const;
};

// What one panel draws: its heading and its curves in drawing order.
struct Picture {
    std::string_view title;
    std::vector<Curve> curves;
    // The frame of the first curve that has one; nullopt when none has.
    std::optional<Frame> frame() const;
    // Whether any curve has a point.
    bool empty() const;
};

// Data to logical units. X runs from -100 at xmin to +100 at xmax, energies
// first quantised to 1/energySteps eV; Y from -95 at ymin to +85 at ymax,
// intensities taken in display units. Every quotient is truncated toward zero:
//   X = -100 - trunc(trunc((x - xmin) n) 200 / (xmax - xmin) / (-n))
//   Y = -95 - trunc((trunc(f y s) - smin) (-180) / (smax - smin))
// with n steps per eV, display factor f and scale s. projectY takes ymin and
// ymax in data units (smin = f ymin, smax - smin = f (ymax - ymin));
// projectDisplayY takes smin and smax in display units as they are.
int projectX(double x, double xmin, double xmax, const Axes& axes = {});
int projectY(double y, double ymin, double ymax, const Axes& axes = {});
int projectDisplayY(double y, double smin, double smax, const Axes& axes = {});

// A whole curve from spectrum records, taking x and y through two members:
// projectCurve(points, &PairPoint::energy, &PairPoint::intensity, range, pen).
template <class Point, class Ranges = Range>
Curve projectCurve(const std::vector<Point>& points, double Point::*x, double Point::*y,
                   const Ranges& range, Pen pen, int windowLow = -95, int windowHigh = 95,
                   const Axes& axes = {}) {
    Curve curve;
    curve.pen = pen;
    curve.windowLow = windowLow;
    curve.windowHigh = windowHigh;
    if constexpr (std::is_same_v<Ranges, DisplayRange>) {
        curve.frame = frameOf(range, axes);
    } else {
        curve.frame = frameOf(range);
    }
    curve.x.reserve(points.size());
    curve.y.reserve(points.size());
    for (const Point& point : points) {
        curve.x.push_back(projectX(point.*x, range.xmin, range.xmax, axes));
        if constexpr (std::is_same_v<Ranges, DisplayRange>) {
            curve.y.push_back(projectDisplayY(point.*y, range.smin, range.smax, axes));
        } else {
            curve.y.push_back(projectY(point.*y, range.ymin, range.ymax, axes));
        }
    }
    return curve;
}

// A curve like `like` (its pen, window, name and frame) through the points
// (x[i], y[i]) in data units, projected on like's frame and rounded to whole
// logical units; without a frame, like without points.
Curve curveLike(const Curve& like, std::span<const double> x, std::span<const double> y);

// A click in logical units is accepted within -96..96 (X) and -100..100 (Y).
// At the full view a click lands on whole logical units; a zoomed panel
// reports the fractional position under the cursor.
bool pickAccepted(double logicalX, double logicalY);

// The energy under logical X on an axis spanning xmin..xmax.
double pickedEnergy(double logicalX, double xmin, double xmax);

// A pixel of a w x h panel in logical units, by the panel's own mapping
// (origin at (w/2, h/2) with integer division, y up).
struct LogicalPoint {
    int x = 0;
    int y = 0;
};
LogicalPoint logicalFromPixel(int px, int py, int width, int height);

}  // namespace zephalo::core::plot
