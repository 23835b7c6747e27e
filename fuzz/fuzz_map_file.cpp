// A measured RIXS map chosen by the user: a matrix or triplets. Whatever the
// text, the reader ends, and a map it accepts is sorted, finite and within
// its limits.
#include <cmath>
#include <string>

#include "core/workspace/measured_map.h"
#include "fuzz_support.h"

using namespace zephalo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = fuzz::textOf(data, size);
    const auto file = fuzz::inputFile("map.DAT", text);
    core::MeasuredMap map;
    const auto status = core::readMeasuredMap(file, {}, map);
    fuzz::checkRefusal(status);
    if (!status) return 0;
    fuzz::check(!map.empty() && map.size() <= core::kMaxMapExcitations, "map size");
    for (std::size_t i = 0; i < map.size(); ++i) {
        fuzz::check(i == 0 || map[i - 1].excitation < map[i].excitation, "Ω not ascending");
        const auto& points = map[i].points;
        fuzz::check(points.size() >= 2 && points.size() <= core::kMaxPoints, "spectrum size");
        for (std::size_t k = 0; k < points.size(); ++k) {
            fuzz::check(std::isfinite(points[k].energy) && std::isfinite(points[k].intensity),
                        "a point that is not finite");
            fuzz::check(k == 0 || points[k - 1].energy < points[k].energy, "ω not ascending");
        }
    }
    // What the work space stores reads back as the same map.
    core::MeasuredMap back;
    fuzz::check(core::parseMeasuredMap(core::formatMeasuredMap(map), "stored", back).ok() &&
                    back.size() == map.size(),
                "the stored map does not read back");
    return 0;
}
