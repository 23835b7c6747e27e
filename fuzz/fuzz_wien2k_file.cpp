// A WIEN2k spectrum: four header words, then pairs of energy and intensity.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/xafs/selective_import.h"
#include "fuzz_support.h"

using namespace zephalo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz::inputFile("case.xspec", fuzz::textOf(data, size));
    core::PairSpectrum out;
    std::vector<int> lines;
    const auto status = core::xafs::readWien2kFile(file, out, &lines);
    fuzz::checkRefusal(status);
    if (!status) return 0;
    fuzz::check(out.size() <= core::kMaxPoints, "more points than the capacity");
    for (const auto& p : out) {
        fuzz::check(std::isfinite(p.energy) && std::isfinite(p.intensity),
                    "a point that is not finite");
    }
    fuzz::check(lines.size() == out.size(), "a point without its line");
    fuzz::check(std::is_sorted(lines.begin(), lines.end()), "lines out of order");
    return 0;
}
