#include "core/text/text.h"

namespace zephalo::core::text {

std::string fill(const Text& pattern, std::initializer_list<std::string_view> values) {
    constexpr std::string_view kSlot = "{}";
    std::string_view rest = pattern.view();
    std::string out;
    for (std::string_view value : values) {
        const auto at = rest.find(kSlot);
        if (at == std::string_view::npos) break;
        out.append(rest.substr(0, at)).append(value);
        rest.remove_prefix(at + kSlot.size());
    }
    return out.append(rest);
}

}  // namespace zephalo::core::text
