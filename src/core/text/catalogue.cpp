#include "core/text/catalogue.h"

#include "core/text/language.h"

namespace zephalo::core::text {

// The generated source holding po/en.po compiled by msgfmt.
extern const unsigned char kEnglishMo[];
extern const std::size_t kEnglishMoSize;

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr std::size_t kHeaderSize = 28;

}  // namespace

std::uint32_t Catalogue::word(std::size_t offset) const {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const int shift = m_swapped ? 8 * (3 - i) : 8 * i;
        value |= std::to_integer<std::uint32_t>(m_bytes[offset + i]) << shift;
    }
    return value;
}

Catalogue::Catalogue(std::span<const std::byte> bytes) : m_bytes(bytes) {
    if (bytes.size() < kHeaderSize) return;
    if (word(0) == kMagicSwapped) m_swapped = true;
    if (word(0) != kMagic) return;
    const std::uint32_t count = word(8);
    const std::uint32_t sources = word(12);
    const std::uint32_t translations = word(16);
    const auto fits = [&](std::uint64_t table) {
        return table + std::uint64_t{count} * 8 <= bytes.size();
    };
    if (!fits(sources) || !fits(translations)) return;
    m_sources = sources;
    m_translations = translations;
    m_count = count;
    // Every string must lie inside the file and end with a zero byte.
    for (std::uint32_t i = 0; i < count; ++i) {
        for (const std::uint32_t table : {sources, translations}) {
            const std::uint64_t length = word(table + 8 * i);
            const std::uint64_t offset = word(table + 8 * i + 4);
            if (offset + length >= bytes.size() || bytes[offset + length] != std::byte{0}) {
                m_count = 0;
                return;
            }
        }
    }
}

std::string_view Catalogue::entry(std::uint32_t table, std::uint32_t index) const {
    const std::uint32_t length = word(table + 8 * index);
    const std::uint32_t offset = word(table + 8 * index + 4);
    return {reinterpret_cast<const char*>(m_bytes.data()) + offset, length};
}

std::optional<std::string_view> Catalogue::find(std::string_view source) const {
    // The sources are sorted bytewise, as std::string_view compares.
    std::uint32_t low = 0;
    std::uint32_t high = m_count;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const int order = entry(m_sources, middle).compare(source);
        if (order == 0) return entry(m_translations, middle);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return std::nullopt;
}

const Catalogue& englishCatalogue() {
    static const Catalogue catalogue(
        std::span(reinterpret_cast<const std::byte*>(kEnglishMo), kEnglishMoSize));
    return catalogue;
}

std::string_view tr(std::string_view source) {
    if (source.empty() || language() != Language::English) return source;
    return englishCatalogue().find(source).value_or(source);
}

}  // namespace zephalo::core::text
