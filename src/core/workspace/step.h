#pragma once

#include <chrono>
#include <functional>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// One button's operation as a step on the work space: it holds the work
// space's lock from its first read to its last write, and the files it writes
// change together when it ends, or not at all. Both front ends run every
// operation that reads or writes the work space through here.
namespace zephalo::core {

// How long a step waits for another process's step to end.
inline constexpr std::chrono::milliseconds kStepWait{5000};

// Opens the step (waiting up to `wait` for another process's step to end,
// then refusing with a text that says so, without running `operation`),
// completes or discards an interrupted commit of a killed process, runs
// `operation`, and commits the files it wrote, also when it refused. A write
// the storage layer refused (a number that is not finite, a failed disk
// write) discards every file of the step and that refusal is returned.
// A step opened inside a step of the same work space joins it. Before the
// work-space folder exists the step runs without the lock.
Report runStep(const Workspace& workspace, const std::function<Report()>& operation,
               std::chrono::milliseconds wait = kStepWait);

}  // namespace zephalo::core
