#include "core/workspace/fingerprint.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>
#include <vector>

#include "core/workspace/os_files.h"

namespace zephalo::core {

namespace {

// FNV-1a, 64 bit: small and stable across runs and platforms.
constexpr std::uint64_t kOffset = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

void mix(std::uint64_t& hash, std::string_view bytes) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kPrime;
    }
    // A separator, so that ("ab", "c") and ("a", "bc") differ.
    hash ^= 0xFFu;
    hash *= kPrime;
}

bool isDataFile(const std::filesystem::path& path) {
    std::string extension = os::textOf(path.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".DAT";
}

// Larger than any work-space file the readers take.
constexpr std::uintmax_t kReadLimit = 64u * 1024u * 1024u;

}  // namespace

std::uint64_t workspaceFingerprint(const Workspace& workspace) {
    std::error_code error;
    std::vector<std::filesystem::path> names;
    for (std::filesystem::directory_iterator it(workspace.directory(), error), end;
         !error && it != end; it.increment(error)) {
        if (isDataFile(it->path())) names.push_back(it->path());
    }
    if (names.empty()) return 0;
    std::sort(names.begin(), names.end());
    std::uint64_t hash = kOffset;
    for (const auto& name : names) {
        mix(hash, os::textOf(name.filename()));
        std::string content;
        std::uintmax_t size = 0;
        // An unreadable file counts by its name alone; a later read says why.
        if (os::readRegularFile(name, kReadLimit, content, size) == os::ReadResult::Done) {
            mix(hash, content);
        }
    }
    return hash;
}

}  // namespace zephalo::core
