// A measured spectrum chosen by the user: pairs of energy and intensity.
#include <cmath>

#include "fuzz_support.h"
#include "workspace/records.h"

using namespace zephalo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz::inputFile("measured.DAT", fuzz::textOf(data, size));
    const core::PairSpectrum before{{1.0, 2.0}};
    core::PairSpectrum out = before;
    const auto status = core::readPairFile(file, out, 64);
    fuzz::checkRefusal(status);
    if (!status) return 0;
    fuzz::check(out.size() <= 64, "more points than the capacity");
    for (const auto& p : out) {
        fuzz::check(std::isfinite(p.energy) && std::isfinite(p.intensity),
                    "a point that is not finite");
    }
    return 0;
}
