#include "workspace/os_files.h"

#include <algorithm>
#include <system_error>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX  // MinGW's C++ library defines it already
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zephalo::core::os {

namespace {

// Reads through `readSome(buffer, count)` (bytes read, 0 at the end, -1 on
// failure) at most limit + 1 bytes; the buffer starts at the reported `size`
// (at most `limit`) and grows only when the file grew.
template <class ReadSome>
ReadResult readBounded(std::uintmax_t limit, std::uintmax_t& size, std::string& out,
                       ReadSome readSome) {
    out.resize(static_cast<std::size_t>(size) + 1);
    std::size_t total = 0;
    for (;;) {
        if (total == out.size()) {
            if (out.size() > limit) break;
            out.resize(
                static_cast<std::size_t>(std::min<std::uintmax_t>(2 * out.size(), limit + 1)));
        }
        const long long got = readSome(out.data() + total, out.size() - total);
        if (got < 0) return ReadResult::ReadFailed;
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    out.resize(total);
    if (total <= limit) return ReadResult::Done;
    size = total;
    return ReadResult::TooLarge;
}

}  // namespace

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept : m_handle(std::exchange(other.m_handle, kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, kNone);
    }
    return *this;
}

#ifdef _WIN32

bool FileLock::tryLock(const std::filesystem::path& file, bool& opened) {
    release();
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    opened = h != INVALID_HANDLE_VALUE;
    if (!opened) return false;
    OVERLAPPED at{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        CloseHandle(h);
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(h);
    return true;
}

void FileLock::release() {
    if (m_handle == kNone) return;
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));  // also ends the lock
    m_handle = kNone;
}

bool writeNewFile(const std::filesystem::path& file, std::string_view content, bool& existed) {
    existed = false;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        existed = GetLastError() == ERROR_FILE_EXISTS;
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < content.size();) {
        DWORD written = 0;
        const auto chunk =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1 << 20));
        ok = WriteFile(h, content.data() + done, chunk, &written, nullptr) && written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (!ok) DeleteFileW(file.c_str());
    return ok;
}

void syncFolder(const std::filesystem::path&) {}

long processId() {
    return static_cast<long>(GetCurrentProcessId());
}

ReadResult readRegularFile(const std::filesystem::path& file, std::uintmax_t limit,
                           std::string& out, std::uintmax_t& size) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return ReadResult::Folder;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return ReadResult::CannotOpen;
    ReadResult result = ReadResult::Done;
    LARGE_INTEGER reported{};
    if (GetFileType(h) != FILE_TYPE_DISK) {
        result = ReadResult::NotRegular;
    } else if (!GetFileSizeEx(h, &reported)) {
        result = ReadResult::ReadFailed;
    } else if ((size = static_cast<std::uintmax_t>(reported.QuadPart)) > limit) {
        result = ReadResult::TooLarge;
    } else {
        result = readBounded(limit, size, out, [&](char* buffer, std::size_t count) -> long long {
            DWORD got = 0;
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1 << 20));
            return ReadFile(h, buffer, chunk, &got, nullptr) ? static_cast<long long>(got) : -1LL;
        });
    }
    CloseHandle(h);
    return result;
}

#else

bool FileLock::tryLock(const std::filesystem::path& file, bool& opened) {
    release();
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    opened = fd >= 0;
    if (!opened) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_handle = fd;
    return true;
}

void FileLock::release() {
    if (m_handle == kNone) return;
    ::close(static_cast<int>(m_handle));  // also ends the lock
    m_handle = kNone;
}

bool writeNewFile(const std::filesystem::path& file, std::string_view content, bool& existed) {
    existed = false;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        existed = errno == EEXIST;
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < content.size();) {
        const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) done += static_cast<std::size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(file.c_str());
    return ok;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

long processId() {
    return static_cast<long>(::getpid());
}

ReadResult readRegularFile(const std::filesystem::path& file, std::uintmax_t limit,
                           std::string& out, std::uintmax_t& size) {
    // Non-blocking: opening a FIFO without a writer returns at once.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return ReadResult::CannotOpen;
    ReadResult result = ReadResult::Done;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result = ReadResult::ReadFailed;
    } else if (S_ISDIR(info.st_mode)) {
        result = ReadResult::Folder;
    } else if (!S_ISREG(info.st_mode)) {
        result = ReadResult::NotRegular;
    } else if ((size = static_cast<std::uintmax_t>(info.st_size)) > limit) {
        result = ReadResult::TooLarge;
    } else {
        result = readBounded(limit, size, out, [&](char* buffer, std::size_t count) -> long long {
            for (;;) {
                const ssize_t got = ::read(fd, buffer, count);
                if (got >= 0 || errno != EINTR) return got;
            }
        });
    }
    ::close(fd);
    return result;
}

#endif

}  // namespace zephalo::core::os
