#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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

// The id of this process, for unique temporary names.
long processId();

enum class ReadResult { Done, CannotOpen, Folder, NotRegular, TooLarge, ReadFailed };

// Reads a regular file of at most `limit` bytes whole. Opening never blocks;
// anything but a regular file is refused at once. `size` receives the size
// the system reported (or the bytes seen, when the file grew while read).
ReadResult readRegularFile(const std::filesystem::path& file, std::uintmax_t limit,
                           std::string& out, std::uintmax_t& size);

}  // namespace zephalo::core::os
