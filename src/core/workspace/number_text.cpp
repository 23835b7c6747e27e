#include "workspace/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace zephalo::core {

std::string formatDigits(double value, int significantDigits) {
    significantDigits = std::clamp(significantDigits, 1, 17);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    return std::string(buffer, result.ptr);
}

std::string formatNumber(double value) {
    return formatDigits(value, 6);
}

double storedValue(double value) {
    return parseNumber(formatNumber(value)).value_or(value);
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// from_chars does not take a leading '+'; atof and stream extraction do.
std::string_view dropPlus(std::string_view text, bool& negativeAfterPlus) {
    negativeAfterPlus = false;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        negativeAfterPlus = !text.empty() && text.front() == '-';
    }
    return text;
}

}  // namespace

std::optional<double> parseNumber(std::string_view token) {
    bool bad = false;
    token = dropPlus(token, bad);
    if (bad || token.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value,
                                           std::chars_format::general);
    if (end != token.data() + token.size()) return std::nullopt;
    if (ec == std::errc::invalid_argument) return std::nullopt;
    // Out-of-range values (1e999) are refused rather than turned into infinity.
    if (ec == std::errc::result_out_of_range) return std::nullopt;
    // "nan" and "inf" are no measured values; a work-space file never holds them.
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> parseTypedNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    bool bad = false;
    text = dropPlus(text, bad);
    if (bad || text.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end == text.data() || !std::isfinite(value)) return std::nullopt;
    return value;
}

double parseTyped(std::string_view text) {
    return parseTypedNumber(text).value_or(0.0);
}

}  // namespace zephalo::core
