#pragma once

#include <optional>
#include <string>

#include "core/workspace/os_files.h"
#include "core/workspace/workspace.h"

// The desktop program's claim on a work space for as long as it runs: a lock
// that the system drops when the process ends, beside a note of who holds it
// (host, process, since when). Only desktop programs look at it; the command
// line and every step ignore it, so a script is never blocked by an open
// window.
namespace zephalo::core {

// Files of the claim in the work-space folder.
inline constexpr std::string_view kDesktopLockName = "ZEPHALO.desktop.lock";
inline constexpr std::string_view kDesktopNoteName = "ZEPHALO.desktop";

class DesktopClaim {
public:
    // Claims the work space when nobody holds it (or does nothing before
    // the folder exists). Returns the message that another desktop program
    // has it open, naming it, when one does.
    std::optional<std::string> claim(const Workspace& workspace);
    bool held() const { return m_lock.locked(); }

private:
    os::FileLock m_lock;
};

}  // namespace zephalo::core
