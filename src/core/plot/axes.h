#pragma once

#include <string>
#include <string_view>
#include <vector>

// The data behind a panel's logical square: which energy and intensity each
// logical position stands for, and the round values an axis labels.
namespace zephalo::core::plot {

struct Range;
struct DisplayRange;
struct Axes;

// Logical heights of a curve's lowest and highest intensity.
inline constexpr int kCurveBottom = -95;
inline constexpr int kCurveTop = 85;

// Energies at the box's left and right edges (logical X = -100 and +100) and
// intensities at the curve's bottom and top (Y = -95 and +85), in the units
// the spectrum holds; the axis title names those intensity units.
struct Frame {
    double xLow = 0.0;
    double xHigh = 1.0;
    double yLow = 0.0;
    double yHigh = 1.0;
    std::string_view yTitle;
};

// A curve's frame from the ranges it was projected with.
Frame frameOf(const Range& range);
Frame frameOf(const DisplayRange& range, const Axes& axes);

double energyAt(const Frame& frame, double logicalX);
double logicalXOf(const Frame& frame, double energy);
double intensityAt(const Frame& frame, double logicalY);
double logicalYOf(const Frame& frame, double intensity);

// Round values between `low` and `high` (either order), steps of 1, 2, 2.5
// or 5 times a power of ten, at most `most` of them and as many as fit;
// none for a range without extent or not finite.
struct Ticks {
    std::vector<double> values;
    double step = 0.0;
};
Ticks niceTicks(double low, double high, int most);

// A tick value as its label: as many decimals as the step needs (no
// exponent between 1e-4 and 1e6), locale-free, "0" for a value within
// rounding of zero.
std::string tickLabel(double value, double step);

}  // namespace zephalo::core::plot
