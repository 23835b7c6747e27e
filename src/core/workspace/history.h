#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workspace/status.h"
#include "workspace/workspace.h"

// The work space's history: every committed step keeps the contents its files
// had before, in the same commit, so that the step can be undone and redone
// byte for byte. Undo and redo are steps themselves (lock, journal, recovery).
namespace zephalo::core {

// One step of the history, oldest first.
struct HistoryEntry {
    std::string when;  // local time, "YYYY-MM-DD HH:MM:SS"
    StepDescription description;
    std::vector<std::string> files;  // the work-space files it changed
    bool undone = false;             // on the redo branch
};

// Undoes the last step that is not undone; refuses (changing nothing) when
// there is none.
Report undoStep(const Workspace& workspace);
// Redoes the step undone last; refuses when there is none.
Report redoStep(const Workspace& workspace);

// The titles of what undo and redo would take back or bring again; nullopt
// when there is nothing (for the desktop's menu captions).
std::optional<std::string> undoTitle(const Workspace& workspace);
std::optional<std::string> redoTitle(const Workspace& workspace);

}  // namespace zephalo::core
