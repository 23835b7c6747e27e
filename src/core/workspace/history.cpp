#include "workspace/history.h"

// Until the work space keeps its history, undo and redo say that they cannot
// take anything back and change nothing; the desktop greys its buttons out.
namespace zephalo::core {

namespace {

constexpr std::string_view kNoHistoryText =
    "　このワークスペースには、まだ元に戻せる操作の記録がありません。";

}  // namespace

Report undoStep(const Workspace&) {
    return Report::refused(std::string(kNoHistoryText) + std::string(kWorkspaceUnchanged));
}

Report redoStep(const Workspace&) {
    return Report::refused(std::string(kNoHistoryText) + std::string(kWorkspaceUnchanged));
}

std::optional<std::string> undoTitle(const Workspace&) {
    return std::nullopt;
}

std::optional<std::string> redoTitle(const Workspace&) {
    return std::nullopt;
}

}  // namespace zephalo::core
