#include "tools/optimise_literal.h"

namespace zephalo::core::tools {

Status searchPeaksLiteral(const Workspace&, const OptimiseInputs&, const OptimiseSettings&,
                          const SearchHooks&, SearchResult&) {
    return {};
}

}  // namespace zephalo::core::tools
