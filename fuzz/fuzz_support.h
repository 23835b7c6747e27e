#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

// Shared by the fuzz targets: the input as text, a private folder for the
// readers that take a path, and the checks every reader's outcome must pass.
namespace zephalo::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Stops the run with a message; libFuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what) {
    if (!condition) fail(what);
}

// A folder of this process under the temporary folder, removed at exit.
class PrivateFolder {
public:
    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zephalo-fuzz-XXXXXX");
        if (!mkdtemp(pattern.data())) fail("cannot create the private folder");
        m_path = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline const std::filesystem::path& privateFolder() {
    static const PrivateFolder folder;
    return folder.path();
}

// Writes the input whole into `name` in the private folder.
inline std::filesystem::path inputFile(std::string_view name, std::string_view content) {
    const auto file = privateFolder() / name;
    // A new file rather than a truncated one: the file system then need not
    // flush the old content on close, which would slow every run.
    ::unlink(file.c_str());
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) fail("cannot write the input file");
    if (!content.empty() && std::fwrite(content.data(), 1, content.size(), out) != content.size())
        fail("short write of the input file");
    std::fclose(out);
    return file;
}

// A message shown to the user: valid UTF-8 without control bytes other than
// TAB and the line ends, so that no raw byte of the input reaches the panel.
inline bool isReadableText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7f) return false;
            ++i;
            continue;
        }
        if ((c & 0xe0) == 0xc0)
            length = 2, code = c & 0x1f;
        else if ((c & 0xf0) == 0xe0)
            length = 3, code = c & 0x0f;
        else if ((c & 0xf8) == 0xf0)
            length = 4, code = c & 0x07;
        else
            return false;
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
        i += length;
    }
    return true;
}

// A refusal carries a readable, non-empty message.
template <typename StatusLike>
void checkRefusal(const StatusLike& status) {
    if (status) return;
    check(!status.error().empty(), "a refusal without a message");
    check(isReadableText(status.error()), "a message with raw bytes of the input");
}

}  // namespace zephalo::fuzz
