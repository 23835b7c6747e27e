#include "core/workspace/os_files.h"

// Paths as text and back, for messages, listings and names: never throwing,
// any name round-trips.

#include <string>

namespace zephalo::core::os {

#ifdef _WIN32

namespace {

// Bytes that are not UTF-8 travel as U+DC80..U+DCFF.
constexpr char32_t kByteEscape = 0xDC00;

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character that starts at text[i] and its length; 0 when the bytes
// there are not UTF-8 (a lone surrogate counts as a character, an escaped
// byte does not).
std::size_t utf8At(std::string_view text, std::size_t i, char32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(i);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    if (length == 0 || i + length > text.size()) return 0;
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF) return 0;
    if (c >= kByteEscape + 0x80 && c <= kByteEscape + 0xFF) return 0;
    return length;
}

}  // namespace

std::string textOf(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char16_t>(wide[i]);
        const char32_t next = i + 1 < wide.size() ? static_cast<char16_t>(wide[i + 1]) : 0;
        if (c >= 0xD800 && c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        }
        if (c >= kByteEscape + 0x80 && c <= kByteEscape + 0xFF) {
            out += static_cast<char>(c - kByteEscape);
        } else {
            appendUtf8(c, out);
        }
    }
    return out;
}

std::filesystem::path pathOf(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = utf8At(text, i, c);
        if (length == 0) {
            c = kByteEscape + static_cast<unsigned char>(text[i]);
            i += 1;
        } else {
            i += length;
        }
        if (c >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    return std::filesystem::path(std::move(wide));
}

#else

std::string textOf(const std::filesystem::path& path) {
    return path.native();
}

std::filesystem::path pathOf(std::string_view text) {
    return std::filesystem::path(std::string(text));
}

#endif

}  // namespace zephalo::core::os
