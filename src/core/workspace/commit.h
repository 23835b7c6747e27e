#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/os_files.h"
#include "core/workspace/status.h"

// How the files of a step reach the disk: each under a unique temporary name,
// flushed, then renamed over its target; a journal of the renames, with a
// second name kept for every file it replaces, brings a commit of several
// files to all of it or none of it, after a kill as after a rename that fails.
namespace zephalo::core {

// Files of the storage layer itself in the work-space folder.
inline constexpr std::string_view kLockFileName = "ZEPHALO.lock";
inline constexpr std::string_view kJournalName = "ZEPHALO.journal";
// The folder inside the work space that keeps the history of the steps.
inline constexpr std::string_view kHistoryFolderName = "ZEPHALO.history";

// Writes `content` to a new file next to `target`, named
// "<target name>.<process id>-<counter>.tmp", and flushes it to the disk;
// where the system allows, the file has no name until it is complete. The
// temporaries of that target name left by processes that no longer run are
// removed first.
Status writeTemporary(const std::filesystem::path& target, std::string_view content,
                      std::filesystem::path& temporary);

// True for the names writeTemporary makes.
bool isTemporaryName(std::string_view name);

// A plain file name of one folder: not empty, not "." or "..", no separator,
// no drive colon, no control character (a NUL byte included).
bool isPlainName(std::string_view name);

struct StagedFile {
    std::string name;      // file name in its folder
    std::string text;      // the new content
    bool remove = false;   // the file is removed instead
    bool history = false;  // in the history folder rather than the work space
};

// Writes every file to a temporary, keeps a second name of every file it
// replaces or removes, records the whole commit in the journal when it has
// more than one part, renames, and removes the journal and the second names.
// When a rename fails, the renames done are taken back and the refusal names
// the file and the reason; every file is then as it was. `history` is the
// history folder (needed only when a file is in it).
Status commitFiles(const os::Folder& folder, const os::Folder* history,
                   const std::vector<StagedFile>& files);

// What the opener of a step found of an interrupted commit.
enum class Recovered { Nothing, Completed, RolledBack };

// For the opener of a step, under the lock: completes a complete journal (or
// takes it back when a rename fails again or it was being taken back),
// discards an incomplete one, then removes the temporaries of steps that were
// killed. Fails only when the journal cannot be brought to an end.
Status recoverFolder(const os::Folder& folder, const os::Folder* history, Recovered& recovered);

}  // namespace zephalo::core
