#pragma once

#include <functional>

#include "workspace/status.h"
#include "workspace/workspace.h"

// One button's operation as a step on the work space: it holds the work
// space's lock from its first read to its last write, and the files it writes
// change together when it ends, or not at all. Both front ends run every
// operation that reads or writes the work space through here.
namespace zephalo::core {

// Opens the step (waiting a few seconds for another process's step to end,
// then refusing with a text that says so), runs `operation`, and commits the
// files it wrote. A write the storage layer refused (a number that is not
// finite, a failed disk write) discards every file of the step and the
// operation's refusal is returned.
Report runStep(const Workspace& workspace, const std::function<Report()>& operation);

}  // namespace zephalo::core
