#include "core/workspace/desktop_claim.h"

#include <chrono>
#include <ctime>
#include <system_error>

#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"

#ifdef _WIN32
#include <cstdlib>
#else
#include <unistd.h>
#endif

namespace zephalo::core {

namespace {

std::string hostName() {
#ifdef _WIN32
    const char* name = std::getenv("COMPUTERNAME");
    return name ? name : "?";
#else
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "?";
    return name;
#endif
}

std::string localTimeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

std::optional<std::string> DesktopClaim::claim(const Workspace& workspace) {
    if (m_lock.locked()) return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_directory(workspace.directory(), error)) return std::nullopt;
    bool opened = false;
    if (m_lock.tryLock(workspace.path(kDesktopLockName), opened)) {
        // The note is a courtesy for the next opener; failing to write it
        // changes nothing for this program.
        (void)writeTextFileAtomic(
            workspace.path(kDesktopNoteName),
            hostName() + "\n" + std::to_string(os::processId()) + "\n" + localTimeNow() + "\n");
        return std::nullopt;
    }
    if (!opened) return std::nullopt;  // a folder without write access: no claim to make
    std::string note;
    std::string host = "?";
    std::string process = "?";
    std::string since = "?";
    if (readTextFile(workspace.path(kDesktopNoteName), note)) {
        std::size_t start = 0;
        for (std::string* field : {&host, &process, &since}) {
            const std::size_t end = note.find('\n', start);
            if (end == std::string::npos) break;
            *field = note.substr(start, end - start);
            start = end + 1;
        }
    }
    return texts::otherDesktopText(workspace.directoryText(), host, process, since);
}

}  // namespace zephalo::core
