#include "plot/projection.h"

#include <algorithm>
#include <cmath>

namespace zephalo::core::plot {

namespace {

// Truncation toward zero into an integer. Values far outside the panel (a
// degenerate range, a wild data point) saturate instead of overflowing; they
// are outside every window either way.
long long truncated(double value) {
    constexpr double kLimit = 1.0e9;
    if (std::isnan(value)) return 0;
    return static_cast<long long>(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

}  // namespace

bool Curve::inside(std::size_t i) const {
    return x[i] >= -kJoinLimit && x[i] <= kJoinLimit && y[i] >= windowLow && y[i] <= windowHigh;
}

bool Curve::joined(std::size_t i) const {
    if (i == 0 || i >= size()) return false;
    // A point outside the window breaks the line on both sides: neither the
    // segment into it nor the segment out of it is drawn.
    if (!inside(i) || !inside(i - 1)) return false;
    return i >= breaks.size() || breaks[i] == 0;
}

int projectX(double x, double xmin, double xmax) {
    const long long qx = truncated((x - xmin) * 50.0);
    return static_cast<int>(-100 -
                            truncated(static_cast<double>(qx * 200) / (xmax - xmin) / -50.0));
}

int projectY(double y, double ymin, double ymax) {
    const long long qy = truncated(y * 10000.0);
    return static_cast<int>(-95 - truncated((static_cast<double>(qy) - 10000.0 * ymin) * -180.0 /
                                            (10000.0 * (ymax - ymin))));
}

bool pickAccepted(int logicalX, int logicalY) {
    return logicalX >= -96 && logicalX <= 96 && logicalY >= -100 && logicalY <= 100;
}

double pickedEnergy(int logicalX, double xmin, double xmax) {
    return xmin + (xmax - xmin) * (logicalX + 100) / 200.0;
}

LogicalPoint logicalFromPixel(int px, int py, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const double x = static_cast<double>(px - width / 2) * kLogicalExtent / width;
    const double y = static_cast<double>(height / 2 - py) * kLogicalExtent / height;
    return {static_cast<int>(std::trunc(x)), static_cast<int>(std::trunc(y))};
}

}  // namespace zephalo::core::plot
