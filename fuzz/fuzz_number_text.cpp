// The number text of every file: numbers in order, each with its line.
#include <cmath>

#include "fuzz_support.h"
#include "workspace/records.h"

using namespace zephalo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    core::NumberText numbers;
    const auto status = core::parseNumberText(fuzz::textOf(data, size), "fuzz.DAT", numbers);
    fuzz::checkRefusal(status);
    if (!status) return 0;
    fuzz::check(numbers.values.size() == numbers.lines.size(), "a value without its line");
    int previous = 1;
    for (std::size_t i = 0; i < numbers.values.size(); ++i) {
        fuzz::check(std::isfinite(numbers.values[i]), "a number that is not finite");
        fuzz::check(numbers.lines[i] >= previous, "line numbers out of order");
        previous = numbers.lines[i];
    }
    return 0;
}
