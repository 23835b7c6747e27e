#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/status.h"

// How the files of a step reach the disk: each under a unique temporary name,
// flushed, then renamed over its target; a journal of the renames makes a
// commit of several files complete or absent after a kill.
namespace zephalo::core {

// Files of the storage layer itself in the work-space folder.
inline constexpr std::string_view kLockFileName = "ZEPHALO.lock";
inline constexpr std::string_view kJournalName = "ZEPHALO.journal";

// Writes `content` to a new file next to `target`, named
// "<target name>.<process id>-<counter>.tmp" and created exclusively, and
// flushes it to the disk.
Status writeTemporary(const std::filesystem::path& target, std::string_view content,
                      std::filesystem::path& temporary);

// True for the names writeTemporary makes.
bool isTemporaryName(std::string_view name);

struct StagedFile {
    std::string name;  // file name in the folder
    std::string text;
};

// Writes every file to a temporary, records the renames in the journal when
// there is more than one, renames, and removes the journal. A failure before
// the renames leaves every file as it was.
Status commitFiles(const std::filesystem::path& folder, const std::vector<StagedFile>& files);

// For the opener of a step, under the lock: completes the renames of a
// complete journal, discards an incomplete one, then removes the temporaries
// of steps that were killed. Fails only when the journal cannot be removed.
Status recoverFolder(const std::filesystem::path& folder);

}  // namespace zephalo::core
