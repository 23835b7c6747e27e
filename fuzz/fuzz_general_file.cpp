// A general file of triples (energy, Y1, Y2) with '#' comments.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/xafs/selective_import.h"
#include "fuzz_support.h"

using namespace zephalo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz::inputFile("general.DAT", fuzz::textOf(data, size));
    core::SelectiveXafsTable out;
    std::vector<int> lines;
    const auto status = core::xafs::readGeneralFile(file, out, &lines);
    fuzz::checkRefusal(status);
    if (!status) return 0;
    fuzz::check(out.size() <= core::kMaxPoints, "more records than the capacity");
    for (const auto& p : out) {
        fuzz::check(std::isfinite(p.energy) && std::isfinite(p.a) && std::isfinite(p.b),
                    "a record that is not finite");
    }
    fuzz::check(lines.size() == out.size(), "a record without its line");
    fuzz::check(std::is_sorted(lines.begin(), lines.end()), "lines out of order");
    return 0;
}
