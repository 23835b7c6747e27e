#pragma once

#include <cstdint>

#include "core/workspace/workspace.h"

// What a window drew from: a fingerprint of the work-space files, so that a
// window can tell before its next button whether another program, the
// command line or an undo changed them since.
namespace zephalo::core {

// A hash of the names and contents of every .DAT file in the work-space
// folder (0 when there is no folder). Equal fingerprints mean, for all
// practical purposes, that no such file changed in between.
std::uint64_t workspaceFingerprint(const Workspace& workspace);

}  // namespace zephalo::core
