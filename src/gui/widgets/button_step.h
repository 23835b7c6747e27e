#pragma once

#include <functional>
#include <optional>

#include "core/workspace/step.h"
#include "core/workspace/workspace.h"

// A button of the desktop program as one step on the work space: the lock is
// taken for this button's operation only, never for the whole session.
namespace zephalo::gui {

// A click on a plot that may do nothing (nullopt). The step's own refusal
// (another ZEPHALO at work, a failed commit) replaces the result.
inline std::optional<core::Report> runClickStep(
    const core::Workspace& workspace, const std::function<std::optional<core::Report>()>& click) {
    std::optional<core::Report> result;
    const core::Report step = core::runStep(workspace, [&] {
        result = click();
        return result.value_or(core::Report{});
    });
    if (!step.done) return step;
    return result;
}

}  // namespace zephalo::gui
