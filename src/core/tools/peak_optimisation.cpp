#include "tools/peak_optimisation.h"

namespace zephalo::core::tools {

OptimiseGrid optimiseGrid(const OptimiseSettings&) {
    return {};
}

Status readOptimiseInputs(const Workspace&, OptimiseInputs&) {
    return {};
}

std::optional<std::string> checkOptimiseSettings(const OptimiseSettings&, const MinMaxRecord&) {
    return std::nullopt;
}

Status searchPeaks(const Workspace&, const OptimiseInputs&, const OptimiseSettings&,
                   const SearchHooks&, SearchResult&) {
    return {};
}

}  // namespace zephalo::core::tools
