#include "plot/projection.h"

#include <cmath>

namespace zephalo::core::plot {

bool Curve::joined(std::size_t i) const {
    if (x[i] < -kJoinLimit || x[i] > kJoinLimit) return false;
    if (y[i] < windowLow || y[i] > windowHigh) return false;
    return breaks.empty() || breaks[i] == 0;
}

int projectX(double x, double xmin, double xmax) {
    const auto qx = static_cast<long long>(std::trunc((x - xmin) * 50.0));
    return -100 - static_cast<int>(std::trunc(static_cast<double>(qx * 200) / (xmax - xmin) / -50.0));
}

int projectY(double y, double ymin, double ymax) {
    const auto qy = static_cast<long long>(std::trunc(y * 10000.0));
    return -95 - static_cast<int>(std::trunc((static_cast<double>(qy) - 10000.0 * ymin) * -180.0 /
                                             (10000.0 * (ymax - ymin))));
}

Curve projectCurve(std::span<const double> x, std::span<const double> y, const Range& range,
                   Pen pen, int windowLow, int windowHigh) {
    Curve curve;
    curve.pen = pen;
    curve.windowLow = windowLow;
    curve.windowHigh = windowHigh;
    const std::size_t n = std::min(x.size(), y.size());
    curve.x.reserve(n);
    curve.y.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        curve.x.push_back(projectX(x[i], range.xmin, range.xmax));
        curve.y.push_back(projectY(y[i], range.ymin, range.ymax));
    }
    return curve;
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
