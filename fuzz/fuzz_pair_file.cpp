// A measured spectrum chosen by the user: pairs of energy and intensity. A
// leading UTF-8 byte-order mark reads as if it were not there.
#include <cmath>
#include <string>

#include "core/workspace/records.h"
#include "fuzz_support.h"

using namespace zephalo;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kCapacity = 64;

bool samePoints(const core::PairSpectrum& a, const core::PairSpectrum& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].energy != b[i].energy || a[i].intensity != b[i].intensity) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = fuzz::textOf(data, size);
    const auto file = fuzz::inputFile("measured.DAT", text);
    const core::PairSpectrum before{{1.0, 2.0}};
    core::PairSpectrum out = before;
    const auto status = core::readPairFile(file, out, kCapacity);
    fuzz::checkRefusal(status);
    if (status) {
        fuzz::check(out.size() <= kCapacity, "more points than the capacity");
        for (const auto& p : out) {
            fuzz::check(std::isfinite(p.energy) && std::isfinite(p.intensity),
                        "a point that is not finite");
        }
    }
    if (!text.starts_with(kByteOrderMark)) {
        const auto marked =
            fuzz::inputFile("marked.DAT", std::string(kByteOrderMark) + std::string(text));
        core::PairSpectrum markedOut = before;
        const auto markedStatus = core::readPairFile(marked, markedOut, kCapacity);
        fuzz::check(markedStatus.ok() == status.ok() && (!status || samePoints(out, markedOut)),
                    "a byte-order mark changes the reading");
    }
    return 0;
}
