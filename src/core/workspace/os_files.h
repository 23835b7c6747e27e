#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// The few file operations the storage layer needs beyond the standard
// library, one place for every platform difference: the advisory lock, the
// exclusively created and flushed file, and the bounded read of a regular
// file that never blocks on a FIFO or a device.
namespace zephalo::core::os {

// An exclusive advisory lock on one file (flock on Linux, LockFileEx on
// Windows), released when this object ends or the process dies. Two locks on
// the same file conflict even within one process.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens (creating) `file` and tries once to lock it; false when another
    // holder has it or the file cannot be opened (`opened` tells which).
    bool tryLock(const std::filesystem::path& file, bool& opened);
    bool locked() const { return m_handle != kNone; }
    // Takes an opened lock file (Linux: a descriptor) and tries once to lock
    // it; the handle is closed when the lock is not taken.
    bool adopt(std::intptr_t handle);
    void release();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t m_handle = kNone;
};

// Creates `file` exclusively (it must not exist), writes `content`, flushes it
// to the disk and closes it. `existed` is set when the name was taken.
bool writeNewFile(const std::filesystem::path& file, std::string_view content, bool& existed);

// Flushes a folder's entries (the renames in it) to the disk; best effort.
void syncFolder(const std::filesystem::path& folder);

// A path as UTF-8 text and back, for every path a system can name: on Linux
// the bytes themselves; on Windows the UTF-16 name, where a lone surrogate
// is written as its three bytes and U+DC80..U+DCFF as the single byte below
// them, so that text of other bytes (not UTF-8) comes back as it went in.
// Neither ever throws.
std::string textOf(const std::filesystem::path& path);
std::filesystem::path pathOf(std::string_view text);

// The id of this process, for unique temporary names.
long processId();

enum class ReadResult { Done, CannotOpen, Folder, NotRegular, TooLarge, ReadFailed, Link };

// Reads a regular file of at most `limit` bytes whole. Opening never blocks;
// anything but a regular file is refused at once. `size` receives the size
// the system reported (or the bytes seen, when the file grew while read).
ReadResult readRegularFile(const std::filesystem::path& file, std::uintmax_t limit,
                           std::string& out, std::uintmax_t& size);

// What a name in a folder is, the name itself looked at (a link is a link).
enum class EntryKind { Missing, File, Link, Folder, Other };

// A folder held open for the time of a step: every name is looked up in the
// folder first opened, even when it is moved or another takes its path name,
// and no symbolic link among its files is ever followed (on Linux a
// directory descriptor and the *at calls; on Windows the path, held by a
// handle that forbids moving the folder, and links refused by looking at each
// name first).
class Folder {
public:
    Folder() = default;
    ~Folder();
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    // Opens an existing folder (the path itself may pass through links);
    // false when there is none.
    bool open(const std::filesystem::path& path);
    // Opens the folder `name` inside `parent`, creating it when `create`;
    // false when it is missing, a link or not a folder.
    bool openInside(const Folder& parent, std::string_view name, bool create);
    bool isOpen() const;
    void close();
    // The path the folder was opened by (for messages).
    const std::filesystem::path& path() const { return m_path; }

    EntryKind kind(std::string_view name) const;
    // readRegularFile for a name of the folder; a link is refused as
    // NotRegular without being opened through.
    ReadResult read(std::string_view name, std::uintmax_t limit, std::string& out,
                    std::uintmax_t& size) const;
    // writeNewFile for a name of the folder.
    bool writeNew(std::string_view name, std::string_view content, bool& existed) const;
    // Renames `from` of this folder over `to` of `target` (the same folder or
    // one inside it), replacing it.
    std::error_code rename(std::string_view from, const Folder& target, std::string_view to) const;
    // A second name for a file (a hard link), never following a link.
    std::error_code link(std::string_view from, std::string_view to) const;
    std::error_code remove(std::string_view name) const;
    std::vector<std::string> names() const;
    // Flushes the folder's entries to the disk; best effort.
    void sync() const;
    // FileLock::tryLock on a name of the folder, refusing a link.
    bool tryLock(std::string_view name, FileLock& lock, bool& opened) const;

private:
#ifdef _WIN32
    bool hold(const std::filesystem::path& path, bool throughLinks);
#endif
    std::filesystem::path m_path;
    std::intptr_t m_handle = -1;  // directory descriptor (Linux), folder handle (Windows)
    bool m_open = false;
};

// True while the process `id` runs (a temporary of a dead one may go).
bool processRuns(long id);

// Writes `content` into an unnamed file of `temporary`'s folder, flushes it,
// and only then gives it the name `temporary` (Linux O_TMPFILE): a kill
// before the name exists leaves nothing behind. `supported` is false when the
// system or the file system has no unnamed files (then nothing is done).
bool writeUnnamedThenLink(const std::filesystem::path& temporary, std::string_view content,
                          bool& supported);

}  // namespace zephalo::core::os
