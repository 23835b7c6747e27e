#include "core/tools/trial_profile.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/numeric/r_factor.h"
#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::tools {

namespace {

// Significant digits of a number in a work-space file.
constexpr int kWrittenDigits = 6;

// Exact powers of ten, 10^0 … 10^22.
constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Values rounded without the text lie in [1e-15, 1e15); kDecimalPowers[k +
// kDecimalOffset] is 10^k (nearest double) for k = −16 … 16.
constexpr double kSmallestScaled = 1e-15;
constexpr double kLargestScaled = 1e15;
constexpr int kDecimalOffset = 16;
constexpr std::array<double, 33> kDecimalPowers{
    1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6,
    1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,   1e2,  1e3,  1e4,  1e5,
    1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13, 1e14, 1e15, 1e16};
// The scaled values rounded without the text: six whole digits, not within
// one unit of 100000 or 1000000, and not this close to a half.
constexpr double kLowestScaled = 100001.0;
constexpr double kHighestScaled = 999999.0;
constexpr double kTieReach = 0.5 - 1e-6;

// formatNumber and the readers' parse, with the string in between.
double asText(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::general, kWrittenDigits);
    double read = value;
    std::from_chars(buffer, end.ptr, read, std::chars_format::general);
    return read;
}

}  // namespace

// Half a unit in the sixth significant digit of any number of magnitude up
// to |value| (a little above, so that a value just under a power of ten
// counts with the larger unit).
double halfUnitAbove(double value) {
    const double magnitude = std::fabs(value) * (1.0 + 1.0e-9);
    if (!(magnitude > 0.0)) return 0.0;
    return 0.5 * std::pow(10.0, std::floor(std::log10(magnitude)) - (kWrittenDigits - 1));
}

Status refusedWith(const std::string& line) {
    return Status::failure(std::string(texts::kOptimiseErrorText) + line);
}

TrialColumns trialColumns(int components, int step) {
    if (components != 2) return {true, true};
    return step == 0 ? TrialColumns{true, false} : TrialColumns{true, true};
}

double asWritten(double value) {
    // Scaled so that the six digits stand before the point: one rounding
    // (with an exact power of ten) from the exact scaled value, which then
    // rounds to the same whole number unless it lies next to a half or its
    // leading digits are 100000 or 999999 (a power of ten may be near, or the
    // exponent estimate off by one). Those go through the text.
    const double magnitude = std::fabs(value);
    if (!(magnitude >= kSmallestScaled && magnitude < kLargestScaled)) return asText(value);
    // The decimal exponent from the binary one (log10 2 ≈ 78913 / 2^18),
    // one up where the next power is reached.
    const int binary = static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> 52) - 1023;
    int exponent = (binary * 78913) >> 18;
    if (magnitude >= kDecimalPowers[static_cast<std::size_t>(exponent + 1 + kDecimalOffset)]) {
        ++exponent;
    }
    const int shift = (kWrittenDigits - 1) - exponent;
    const double scaled = shift >= 0 ? magnitude * kPowersOfTen[static_cast<std::size_t>(shift)]
                                     : magnitude / kPowersOfTen[static_cast<std::size_t>(-shift)];
    if (!(scaled >= kLowestScaled && scaled < kHighestScaled)) return asText(value);
    // Round to nearest (ties to even) by the width of a double's mantissa.
    const double whole = (scaled + 0x1p52) - 0x1p52;
    if (std::fabs(scaled - whole) > kTieReach) return asText(value);
    const double rounded = shift >= 0 ? whole / kPowersOfTen[static_cast<std::size_t>(shift)]
                                      : whole * kPowersOfTen[static_cast<std::size_t>(-shift)];
    return std::copysign(rounded, value);
}

SelectiveXafsTable trialProfile(std::span<const XafsPoint> base, double centre, double height,
                                double width, TrialColumns columns) {
    SelectiveXafsTable trial(base.begin(), base.end());
    for (XafsPoint& point : trial) {
        const double peak = trialPeak(point.energy, centre, height, width);
        if (columns.first) point.a = asWritten(point.a + peak);
        if (columns.second) point.b = asWritten(point.b + peak);
    }
    return trial;
}

Status restorePublished(const Workspace& workspace) {
    SelectiveXafsTable saved;
    if (auto status = workspace.read(files::kSelectiveSaving, saved, kMaxPoints); !status) {
        return status;
    }
    return workspace.write(files::kSelectiveForRixs, saved);
}

Status rFactorOfCalculated(const Workspace& workspace, std::span<const PairPoint> measured,
                           double& r) {
    QuadSpectrum calculated;
    if (auto status = workspace.read(files::kCalculatedRixs, calculated, kMaxOptimiseLines);
        !status) {
        return status;
    }
    const auto value = numeric::rFactor(calculated, measured);
    if (!value) return refusedWith(std::string(texts::kNoMeasuredIntensityLine));
    r = *value;
    return {};
}

}  // namespace zephalo::core::tools
