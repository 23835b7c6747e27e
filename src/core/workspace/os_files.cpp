#include "core/workspace/os_files.h"

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
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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

Folder::~Folder() {
    close();
}

Folder::Folder(Folder&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_handle(std::exchange(other.m_handle, -1)),
      m_open(std::exchange(other.m_open, false)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_handle = std::exchange(other.m_handle, -1);
        m_open = std::exchange(other.m_open, false);
    }
    return *this;
}

bool Folder::isOpen() const {
    return m_open;
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
    return adopt(reinterpret_cast<std::intptr_t>(h));
}

bool FileLock::adopt(std::intptr_t handle) {
    HANDLE h = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED at{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        CloseHandle(h);
        return false;
    }
    m_handle = handle;
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

namespace {

std::filesystem::path inFolder(const std::filesystem::path& folder, std::string_view name) {
    return folder / pathOf(name);
}

std::error_code lastError() {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

}  // namespace

// Holds the folder at `path` open without sharing its deletion: while the
// handle lives nobody can move, rename or remove the folder, so that its
// path keeps naming the folder first opened.
bool Folder::hold(const std::filesystem::path& path, bool throughLinks) {
    HANDLE h = CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (throughLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (!throughLinks && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))) {
        CloseHandle(h);
        return false;
    }
    m_path = path;
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_open = true;
    return true;
}

bool Folder::open(const std::filesystem::path& path) {
    close();
    return hold(path, true);
}

bool Folder::openInside(const Folder& parent, std::string_view name, bool create) {
    close();
    const auto path = inFolder(parent.m_path, name);
    if (create && parent.kind(name) == EntryKind::Missing) CreateDirectoryW(path.c_str(), nullptr);
    return hold(path, false);
}

void Folder::close() {
    if (m_handle != -1) CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
    m_open = false;
}

EntryKind Folder::kind(std::string_view name) const {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(inFolder(m_path, name), ec);
    if (ec || status.type() == std::filesystem::file_type::not_found) return EntryKind::Missing;
    if (std::filesystem::is_symlink(status)) return EntryKind::Link;
    // A junction or another reparse point counts as a link as well.
    const DWORD attributes = GetFileAttributesW(inFolder(m_path, name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return EntryKind::Link;
    if (std::filesystem::is_directory(status)) return EntryKind::Folder;
    if (std::filesystem::is_regular_file(status)) return EntryKind::File;
    return EntryKind::Other;
}

ReadResult Folder::read(std::string_view name, std::uintmax_t limit, std::string& out,
                        std::uintmax_t& size) const {
    if (kind(name) == EntryKind::Link) return ReadResult::Link;
    return readRegularFile(inFolder(m_path, name), limit, out, size);
}

bool Folder::writeNew(std::string_view name, std::string_view content, bool& existed) const {
    return writeNewFile(inFolder(m_path, name), content, existed);
}

std::error_code Folder::rename(std::string_view from, const Folder& target,
                               std::string_view to) const {
    if (MoveFileExW(inFolder(m_path, from).c_str(), inFolder(target.m_path, to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    // Windows says "access denied" for a folder in the way; say what it is.
    if (GetLastError() == ERROR_ACCESS_DENIED && target.kind(to) == EntryKind::Folder)
        return std::make_error_code(std::errc::is_a_directory);
    return lastError();
}

std::error_code Folder::link(std::string_view from, std::string_view to) const {
    if (CreateHardLinkW(inFolder(m_path, to).c_str(), inFolder(m_path, from).c_str(), nullptr))
        return {};
    return lastError();
}

std::error_code Folder::remove(std::string_view name) const {
    if (DeleteFileW(inFolder(m_path, name).c_str())) return {};
    return lastError();
}

std::vector<std::string> Folder::names() const {
    std::vector<std::string> out;
    std::error_code ec;
    std::filesystem::directory_iterator entry(m_path, ec);
    for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
        out.push_back(textOf(entry->path().filename()));
    }
    return out;
}

void Folder::sync() const {}

bool Folder::tryLock(std::string_view name, FileLock& lock, bool& opened) const {
    if (kind(name) == EntryKind::Link) {
        opened = false;
        return false;
    }
    return lock.tryLock(inFolder(m_path, name), opened);
}

bool processRuns(long id) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
}

bool writeUnnamedThenLink(const std::filesystem::path&, std::string_view, bool& supported) {
    supported = false;
    return false;
}

#else

bool FileLock::tryLock(const std::filesystem::path& file, bool& opened) {
    release();
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    opened = fd >= 0;
    if (!opened) return false;
    return adopt(fd);
}

bool FileLock::adopt(std::intptr_t handle) {
    const int fd = static_cast<int>(handle);
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

namespace {

// Writes all of `content`, flushes it to the disk and closes `fd`.
bool writeAndClose(int fd, std::string_view content) {
    bool ok = true;
    for (std::size_t done = 0; ok && done < content.size();) {
        const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) done += static_cast<std::size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// readRegularFile on an open descriptor, which it closes.
ReadResult readDescriptor(int fd, std::uintmax_t limit, std::string& out, std::uintmax_t& size) {
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

}  // namespace

bool writeNewFile(const std::filesystem::path& file, std::string_view content, bool& existed) {
    existed = false;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        existed = errno == EEXIST;
        return false;
    }
    const bool ok = writeAndClose(fd, content);
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
    return readDescriptor(fd, limit, out, size);
}

namespace {

std::string nameText(std::string_view name) {
    return std::string(name);
}

std::error_code errnoCode() {
    return std::error_code(errno, std::generic_category());
}

int folderFd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

bool Folder::open(const std::filesystem::path& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    m_path = path;
    m_handle = fd;
    m_open = true;
    return true;
}

bool Folder::openInside(const Folder& parent, std::string_view name, bool create) {
    close();
    const std::string n = nameText(name);
    if (create) ::mkdirat(folderFd(parent.m_handle), n.c_str(), 0777);
    const int fd = ::openat(folderFd(parent.m_handle), n.c_str(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    m_path = parent.m_path / pathOf(name);
    m_handle = fd;
    m_open = true;
    return true;
}

void Folder::close() {
    if (m_handle >= 0) ::close(folderFd(m_handle));
    m_handle = -1;
    m_open = false;
}

EntryKind Folder::kind(std::string_view name) const {
    struct stat info {};
    if (::fstatat(folderFd(m_handle), nameText(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Missing;
    if (S_ISLNK(info.st_mode)) return EntryKind::Link;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (S_ISREG(info.st_mode)) return EntryKind::File;
    return EntryKind::Other;
}

ReadResult Folder::read(std::string_view name, std::uintmax_t limit, std::string& out,
                        std::uintmax_t& size) const {
    const int fd = ::openat(folderFd(m_handle), nameText(name).c_str(),
                            O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? ReadResult::Link : ReadResult::CannotOpen;
    return readDescriptor(fd, limit, out, size);
}

bool Folder::writeNew(std::string_view name, std::string_view content, bool& existed) const {
    existed = false;
    const std::string n = nameText(name);
    const int fd = ::openat(folderFd(m_handle), n.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        existed = errno == EEXIST;
        return false;
    }
    const bool ok = writeAndClose(fd, content);
    if (!ok) ::unlinkat(folderFd(m_handle), n.c_str(), 0);
    return ok;
}

std::error_code Folder::rename(std::string_view from, const Folder& target,
                               std::string_view to) const {
    if (::renameat(folderFd(m_handle), nameText(from).c_str(), folderFd(target.m_handle),
                   nameText(to).c_str()) == 0)
        return {};
    return errnoCode();
}

std::error_code Folder::link(std::string_view from, std::string_view to) const {
    if (::linkat(folderFd(m_handle), nameText(from).c_str(), folderFd(m_handle),
                 nameText(to).c_str(), 0) == 0)
        return {};
    return errnoCode();
}

std::error_code Folder::remove(std::string_view name) const {
    if (::unlinkat(folderFd(m_handle), nameText(name).c_str(), 0) == 0) return {};
    return errnoCode();
}

std::vector<std::string> Folder::names() const {
    std::vector<std::string> out;
    const int fd = ::openat(folderFd(m_handle), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return out;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return out;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") out.emplace_back(name);
    }
    ::closedir(dir);
    return out;
}

void Folder::sync() const {
    if (m_handle >= 0) ::fsync(folderFd(m_handle));
}

bool Folder::tryLock(std::string_view name, FileLock& lock, bool& opened) const {
    lock.release();
    const int fd = ::openat(folderFd(m_handle), nameText(name).c_str(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    opened = fd >= 0;
    if (!opened) return false;
    return lock.adopt(fd);
}

bool processRuns(long id) {
    return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
}

bool writeUnnamedThenLink(const std::filesystem::path& temporary, std::string_view content,
                          bool& supported) {
    supported = false;
#ifdef O_TMPFILE
    const auto folder =
        temporary.parent_path().empty() ? std::filesystem::path(".") : temporary.parent_path();
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    supported = true;
    bool ok = true;
    for (std::size_t done = 0; ok && done < content.size();) {
        const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) done += static_cast<std::size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    // The unnamed file gets its name only now, complete.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    ok =
        ok && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0;
    ::close(fd);
    return ok;
#else
    (void)temporary;
    (void)content;
    return false;
#endif
}

#endif

}  // namespace zephalo::core::os
