#include "workspace/step.h"

namespace zephalo::core {

Report runStep(const Workspace& /*workspace*/, const std::function<Report()>& operation) {
    return operation();
}

}  // namespace zephalo::core
