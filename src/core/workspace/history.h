#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The work space's history: every committed step keeps the contents its files
// had before, in the same commit, so that the step can be undone and redone
// byte for byte. Undo and redo are steps themselves (lock, journal, recovery).
namespace zephalo::core {

// The history keeps the last kHistorySteps steps and at most kHistoryBytes of
// kept contents; the oldest steps go first.
inline constexpr std::size_t kHistorySteps = 200;
inline constexpr std::uintmax_t kHistoryBytes = std::uintmax_t{256} << 20;

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

// Every step of the history, oldest first; the step that created the work
// space comes first while the history still reaches back to it. Refuses a
// history that cannot be read.
Status readHistory(const Workspace& workspace, std::vector<HistoryEntry>& entries);

// A bash script of zephalo-cli commands that rebuilds the work space in a
// fresh folder (its first argument, else ZEPHALO_WORK_SPACE): every step
// that is not undone, in order. Refuses, naming the step, when a step has no
// command, and when the history no longer reaches back to the creation.
Status historyScript(const Workspace& workspace, std::string& script);

// For runStep: adds to `files` (the step's changed work-space files) what the
// history keeps of the step: the contents before and after, and the new list
// of steps, in `history` (the history folder, open). `refused` marks a step
// that refused yet kept files its operation writes first.
struct StagedFile;
namespace os {
class Folder;
}
Status recordStep(const os::Folder& folder, const os::Folder& history,
                  const StepDescription& description, bool refused, std::vector<StagedFile>& files);

}  // namespace zephalo::core
