#include "core/plot/projection.h"

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

// The one vertical rule of every panel: a display-unit value `offset` maps to
// -95 and `offset + span` to +85.
int verticalPosition(double y, double offset, double span, const Axes& axes) {
    const long long qy = truncated(axes.intensityFactor * y * axes.intensityScale);
    return static_cast<int>(-95 - truncated((static_cast<double>(qy) - offset) * -180.0 / span));
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

int projectX(double x, double xmin, double xmax, const Axes& axes) {
    const long long qx = truncated((x - xmin) * axes.energySteps);
    return static_cast<int>(
        -100 - truncated(static_cast<double>(qx * 200) / (xmax - xmin) / -axes.energySteps));
}

int projectY(double y, double ymin, double ymax, const Axes& axes) {
    const double factor = axes.intensityFactor * axes.intensityScale;
    return verticalPosition(y, factor * ymin, factor * (ymax - ymin), axes);
}

int projectDisplayY(double y, double smin, double smax, const Axes& axes) {
    return verticalPosition(y, smin, smax - smin, axes);
}

std::optional<Frame> Picture::frame() const {
    for (const Curve& curve : curves) {
        if (curve.frame && curve.size() > 0) return curve.frame;
    }
    return std::nullopt;
}

bool Picture::empty() const {
    return std::all_of(curves.begin(), curves.end(),
                       [](const Curve& curve) { return curve.size() == 0; });
}

Curve curveLike(const Curve& like, std::span<const double> x, std::span<const double> y) {
    Curve out = like;
    out.x.clear();
    out.y.clear();
    out.breaks.clear();
    out.lower.clear();
    if (!like.frame) return out;
    const std::size_t n = std::min(x.size(), y.size());
    // A point far off the panel (or not a number) stays off it without
    // overflowing.
    const auto whole = [](double logical) {
        constexpr double kFar = 1e6;
        return static_cast<int>(
            std::lround(std::isnan(logical) ? kFar : std::clamp(logical, -kFar, kFar)));
    };
    for (std::size_t i = 0; i < n; ++i) {
        out.x.push_back(whole(logicalXOf(*like.frame, x[i])));
        out.y.push_back(whole(logicalYOf(*like.frame, y[i])));
    }
    return out;
}

bool pickAccepted(double logicalX, double logicalY) {
    return logicalX >= -96 && logicalX <= 96 && logicalY >= -100 && logicalY <= 100;
}

double pickedEnergy(double logicalX, double xmin, double xmax) {
    return xmin + (xmax - xmin) * (logicalX + 100) / 200.0;
}

LogicalPoint logicalFromPixel(int px, int py, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const double x = static_cast<double>(px - width / 2) * kLogicalExtent / width;
    const double y = static_cast<double>(height / 2 - py) * kLogicalExtent / height;
    return {static_cast<int>(std::trunc(x)), static_cast<int>(std::trunc(y))};
}

}  // namespace zephalo::core::plot
