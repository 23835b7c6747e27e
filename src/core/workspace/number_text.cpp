#include "core/workspace/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/workspace/storage_texts.h"

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

bool isBlankText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isBlank);
}

std::optional<double> parseBoxNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return parseNumber(text);
}

std::string boxArgument(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text.empty() ? std::string("0") : std::string(text);
}

Status readBox(std::string_view box, std::string_view text, double& out) {
    if (isBlankText(text)) return {};
    const auto value = parseBoxNumber(text);
    if (!value) return Status::failure(texts::boxNotNumberText(box, text));
    out = *value;
    return {};
}

Status readBoxes(std::initializer_list<BoxField> fields) {
    for (const BoxField& field : fields) {
        if (auto status = readBox(field.box, field.text, field.out); !status) return status;
    }
    return {};
}

}  // namespace zephalo::core
