#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The English texts, looked up by their Japanese source in a compiled GNU
// gettext catalogue (.mo) that the build embeds in the program.
//
// The programs read the catalogue themselves instead of calling gettext():
// the C library's lookup follows setlocale() and needs the locale generated
// on the system, and a changed LC_NUMERIC would change the numbers written
// to the work-space files; MinGW has no libintl either. The .mo format is
// small: a header, two tables of (length, offset) sorted by source text, and
// the strings, each ending with a zero byte.
namespace zephalo::core::text {

class Catalogue {
public:
    // An empty catalogue when `bytes` is not a well-formed .mo file.
    explicit Catalogue(std::span<const std::byte> bytes);

    // The translation of `source`, if the catalogue has one (zero-terminated).
    std::optional<std::string_view> find(std::string_view source) const;
    std::size_t size() const { return m_count; }

private:
    std::string_view entry(std::uint32_t table, std::uint32_t index) const;
    std::uint32_t word(std::size_t offset) const;

    std::span<const std::byte> m_bytes;
    bool m_swapped = false;
    std::uint32_t m_count = 0;
    std::uint32_t m_sources = 0;
    std::uint32_t m_translations = 0;
};

// The catalogue built into the program (po/en.po).
const Catalogue& englishCatalogue();

// `source` in the process's language: the English translation when English
// is chosen and the catalogue has one, else `source` itself.
std::string_view tr(std::string_view source);

}  // namespace zephalo::core::text
