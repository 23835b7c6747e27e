// Whole tokens (files, command line) and typed text (edit boxes).
#include <cmath>

#include "core/workspace/number_text.h"
#include "fuzz_support.h"

using namespace zephalo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = fuzz::textOf(data, size);
    const double typed = core::parseTyped(text);
    const auto strict = core::parseNumber(text);
    if (!strict) return 0;
    fuzz::check(std::isfinite(*strict), "a token read as a number that is not finite");
    // A whole number token is also its own longest leading number.
    fuzz::check(typed == *strict, "typed and strict reading disagree on a number token");
    // What the work space writes reads back as the same six-digit text.
    const std::string written = core::formatNumber(*strict);
    const auto again = core::parseNumber(written);
    fuzz::check(again.has_value(), "a written number that does not read back");
    fuzz::check(core::formatNumber(*again) == written, "a written number that changes on reading");
    const auto exact = core::parseNumber(core::formatDigits(*strict, 17));
    fuzz::check(exact && *exact == *strict, "17 digits do not read back exactly");
    return 0;
}
