#include "tools/optimise_model.h"

namespace zephalo::core::tools {

OptimiseModel::OptimiseModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report OptimiseModel::open() {
    return Report::success({});
}

OptimiseOutcome OptimiseModel::run(const OptimiseBoxes& typed, const OptimiseObserver&,
                                   std::stop_token) {
    m_boxes = typed;
    return {};
}

}  // namespace zephalo::core::tools
