#include "core/plot/axes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/plot/plot_texts.h"
#include "core/plot/projection.h"

namespace zephalo::core::plot {

Frame frameOf(const Range& range) {
    return {range.xmin, range.xmax, range.ymin, range.ymax, texts::kIntensityAxis};
}

Frame frameOf(const DisplayRange& range, const Axes& axes) {
    // The projection multiplies a value by factor and scale before comparing
    // it with smin and smax.
    const double units = axes.intensityFactor * axes.intensityScale;
    return {range.xmin, range.xmax, range.smin / units, range.smax / units, texts::kIntensityAxis};
}

double energyAt(const Frame& frame, double logicalX) {
    return pickedEnergy(logicalX, frame.xLow, frame.xHigh);
}

double logicalXOf(const Frame& frame, double energy) {
    return -kBoxHalf + 2.0 * kBoxHalf * (energy - frame.xLow) / (frame.xHigh - frame.xLow);
}

double intensityAt(const Frame& frame, double logicalY) {
    return frame.yLow +
           (frame.yHigh - frame.yLow) * (logicalY - kCurveBottom) / (kCurveTop - kCurveBottom);
}

double logicalYOf(const Frame& frame, double intensity) {
    return kCurveBottom +
           (kCurveTop - kCurveBottom) * (intensity - frame.yLow) / (frame.yHigh - frame.yLow);
}

Ticks niceTicks(double low, double high, int most) {
    if (low > high) std::swap(low, high);
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span) || most < 1) return {};
    const double rough = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (double mantissa : {1.0, 2.0, 2.5, 5.0}) {
        if (mantissa * power >= rough) {
            step = mantissa * power;
            break;
        }
    }
    Ticks ticks;
    ticks.step = step;
    // Multiples of the step, so that labels are exact round numbers; a
    // hair of slack keeps an end that is itself round.
    const double slack = step * 1e-9;
    for (double k = std::ceil((low - slack) / step); k * step <= high + slack; k += 1.0) {
        ticks.values.push_back(k * step);
        if (static_cast<int>(ticks.values.size()) > most + 1) break;
    }
    return ticks;
}

std::string tickLabel(double value, double step) {
    if (!std::isfinite(value)) return {};
    if (std::fabs(value) < std::fabs(step) * 1e-6) return "0";
    std::array<char, 64> buffer{};
    const double magnitude = std::max(std::fabs(value), std::fabs(step));
    std::to_chars_result result;
    if (magnitude >= 1e6 || std::fabs(step) < 1e-4) {
        // Three significant digits of the step's size are enough to tell
        // neighbours apart.
        const int digits = std::clamp(
            static_cast<int>(std::ceil(std::log10(std::fabs(value) / std::fabs(step)))) + 1, 1, 15);
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::scientific, digits - 1);
    } else {
        // 2.5 times a power of ten needs one decimal more than its power.
        int decimals = static_cast<int>(std::ceil(-std::log10(std::fabs(step)) - 1e-9));
        const double scaled = std::fabs(step) * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) > 1e-6) ++decimals;
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::fixed, std::max(decimals, 0));
    }
    return std::string(buffer.data(), result.ptr);
}

}  // namespace zephalo::core::plot
