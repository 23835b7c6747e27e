// The number text of every file: numbers in order, each with its line.
// CR-only line ends read as line feeds do.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/workspace/records.h"
#include "fuzz_support.h"

using namespace zephalo;

namespace {

bool sameReading(const core::Status& status, const core::NumberText& numbers,
                 const core::Status& otherStatus, const core::NumberText& other) {
    if (status.ok() != otherStatus.ok()) return false;
    return !status || (numbers.values == other.values && numbers.lines == other.lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = fuzz::textOf(data, size);
    core::NumberText numbers;
    const auto status = core::parseNumberText(text, "fuzz.DAT", numbers);
    fuzz::checkRefusal(status);
    if (status) {
        fuzz::check(numbers.values.size() == numbers.lines.size(), "a value without its line");
        int previous = 1;
        for (std::size_t i = 0; i < numbers.values.size(); ++i) {
            fuzz::check(std::isfinite(numbers.values[i]), "a number that is not finite");
            fuzz::check(numbers.lines[i] >= previous, "line numbers out of order");
            previous = numbers.lines[i];
        }
    }
    if (text.find('\r') == std::string_view::npos) {
        std::string crOnly(text);
        std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
        core::NumberText cr;
        const auto crStatus = core::parseNumberText(crOnly, "fuzz.DAT", cr);
        fuzz::check(sameReading(status, numbers, crStatus, cr),
                    "CR-only line ends change the reading");
    }
    return 0;
}
