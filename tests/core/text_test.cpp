#include <cstdint>
#include <string>
#include <vector>

#include "core/text/catalogue.h"
#include "core/text/language.h"
#include "core/text/text.h"
#include "core/workspace/storage_texts.h"
#include "test_support.h"

// The texts in two languages: the .mo reader, the choice of language and the
// lookup with its fallback to the Japanese source.
namespace zephalo::test {
namespace {

using core::text::Catalogue;
using core::text::Language;
using core::text::Text;

// A .mo file as msgfmt writes it (sorted sources, then the strings), in
// either byte order.
std::vector<std::byte> moFile(const std::vector<std::pair<std::string, std::string>>& entries,
                              bool bigEndian) {
    std::vector<std::byte> bytes;
    const auto word = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            const int shift = bigEndian ? 8 * (3 - i) : 8 * i;
            bytes[at + i] = std::byte((value >> shift) & 0xff);
        }
    };
    const std::uint32_t n = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t sources = 28, translations = sources + 8 * n;
    bytes.resize(translations + 8 * n);
    word(0, 0x950412de);
    word(4, 0);
    word(8, n);
    word(12, sources);
    word(16, translations);
    word(20, 0);
    word(24, 0);
    const auto append = [&](std::size_t slot, const std::string& s) {
        word(slot, static_cast<std::uint32_t>(s.size()));
        word(slot + 4, static_cast<std::uint32_t>(bytes.size()));
        for (char c : s) bytes.push_back(std::byte(static_cast<unsigned char>(c)));
        bytes.push_back(std::byte{0});
    };
    for (std::uint32_t i = 0; i < n; ++i) append(sources + 8 * i, entries[i].first);
    for (std::uint32_t i = 0; i < n; ++i) append(translations + 8 * i, entries[i].second);
    return bytes;
}

const std::vector<std::pair<std::string, std::string>> kEntries{
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"ピーク位置", "Peak position"},
    {"振幅", "Amplitude"},
    {"線幅", "Line width"},
};

TEST(Catalogue, FindsEveryEntryInBothByteOrdersAndNothingElse) {
    for (const bool bigEndian : {false, true}) {
        const auto bytes = moFile(kEntries, bigEndian);
        const Catalogue catalogue(bytes);
        ASSERT_EQ(catalogue.size(), kEntries.size()) << bigEndian;
        for (const auto& [source, english] : kEntries) {
            const auto found = catalogue.find(source);
            ASSERT_TRUE(found) << source;
            EXPECT_EQ(*found, english);
            EXPECT_EQ(found->data()[found->size()], '\0');  // usable as a C string
        }
        EXPECT_FALSE(catalogue.find("幅"));         // a prefix of no entry
        EXPECT_FALSE(catalogue.find("振幅 "));      // an entry plus a byte
        EXPECT_FALSE(catalogue.find("未翻訳"));     // after every entry
        EXPECT_FALSE(catalogue.find("Amplitude"));  // translations are not sources
    }
}

TEST(Catalogue, MalformedFilesGiveAnEmptyCatalogue) {
    const auto good = moFile(kEntries, false);
    auto badMagic = good;
    badMagic[0] = std::byte{0};
    auto shortTable = good;
    shortTable[8] = std::byte{0xff};  // a count beyond the file
    auto strayOffset = good;
    strayOffset[28 + 8 + 4] = std::byte{0xf0};  // a string outside the file
    auto unterminated = good;
    unterminated.back() = std::byte{'x'};
    const std::vector<std::byte> truncated(good.begin(), good.begin() + 20);
    const std::vector<const std::vector<std::byte>*> malformed{&badMagic, &shortTable, &strayOffset,
                                                               &unterminated, &truncated};
    for (const auto* bytes : malformed) {
        const Catalogue catalogue(*bytes);
        EXPECT_EQ(catalogue.size(), 0u);
        EXPECT_FALSE(catalogue.find("振幅"));
    }
}

// Sets the process's language for one test and restores it after.
class LanguageTest : public ::testing::Test {
protected:
    ~LanguageTest() override { core::text::setLanguage(m_saved); }

private:
    Language m_saved = core::text::language();
};

TEST_F(LanguageTest, TextsFollowTheLanguageAndFallBackToTheSource) {
    const Text known = core::texts::kHistoryEmpty;
    const Text unknown("この文はカタログにありません");
    const auto english = core::text::englishCatalogue().find(known.source());
    ASSERT_TRUE(english) << "the built-in catalogue lacks " << known.source();

    core::text::setLanguage(Language::Japanese);
    EXPECT_EQ(known.view(), known.source());
    EXPECT_EQ(std::string(known), std::string(known.source()));

    core::text::setLanguage(Language::English);
    EXPECT_EQ(known.view(), *english);
    EXPECT_NE(known.view(), known.source());
    EXPECT_EQ(unknown.view(), unknown.source());
    EXPECT_EQ(core::text::tr(""), "");
    // Joined texts take each part in the chosen language.
    EXPECT_EQ(known + std::string("/x") + known,
              std::string(*english) + "/x" + std::string(*english));
}

TEST_F(LanguageTest, FillPutsTheValuesInTheTranslatedSlots) {
    core::text::setLanguage(Language::Japanese);
    const Text pattern("　{}番目の手順「{}」");
    EXPECT_EQ(core::text::fill(pattern, {"3", "create"}), "　3番目の手順「create」");
    EXPECT_EQ(core::text::fill(pattern, {"3"}), "　3番目の手順「{}」");
    EXPECT_EQ(core::text::fill(pattern, {"{}", "x", "unused"}), "　{}番目の手順「x」");
    // The catalogue's pattern may order the words round the values its own way.
    const Text linePattern("{}行目");
    const auto english = core::text::englishCatalogue().find(linePattern.source());
    ASSERT_TRUE(english);
    core::text::setLanguage(Language::English);
    const std::string line = core::text::fill(linePattern, {"12"});
    EXPECT_TRUE(contains(line, "12"));
    EXPECT_EQ(line.size(), english->size());
}

struct LanguageCase {
    const char* name;
    core::text::LanguageSources sources;
    Language expected;
};

class LanguageChoice : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageChoice, FromTheEnvironment) {
    EXPECT_EQ(core::text::languageFrom(GetParam().sources), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, LanguageChoice,
    ::testing::Values(
        LanguageCase{"nothing_set", {}, Language::Japanese},
        LanguageCase{"japanese_locale", {"", "", "", "ja_JP.UTF-8", ""}, Language::Japanese},
        LanguageCase{"english_locale", {"", "", "", "en_GB.UTF-8", ""}, Language::English},
        LanguageCase{"other_locale_is_english", {"", "", "", "de_DE.UTF-8", ""}, Language::English},
        LanguageCase{"c_locale_keeps_japanese", {"", "", "", "C.UTF-8", ""}, Language::Japanese},
        LanguageCase{"posix_keeps_japanese", {"", "", "", "POSIX", ""}, Language::Japanese},
        LanguageCase{"lc_all_first",
                     {"", "ja_JP.UTF-8", "en_US.UTF-8", "en_US.UTF-8", ""},
                     Language::Japanese},
        LanguageCase{"lc_messages_before_lang",
                     {"", "", "en_US.UTF-8", "ja_JP.UTF-8", ""},
                     Language::English},
        LanguageCase{
            "zephalo_lang_overrides", {"en", "ja_JP.UTF-8", "", "", "ja"}, Language::English},
        LanguageCase{"zephalo_lang_ja", {"ja", "en_US.UTF-8", "", "", ""}, Language::Japanese},
        LanguageCase{
            "unknown_zephalo_lang_ignored", {"fr", "", "", "en_US.UTF-8", ""}, Language::English},
        LanguageCase{"system_when_no_variable", {"", "", "", "", "en"}, Language::English},
        LanguageCase{"variable_before_system", {"", "", "", "ja_JP", "en"}, Language::Japanese},
        LanguageCase{"c_locale_before_system", {"", "C", "", "", "en"}, Language::Japanese}),
    [](const ::testing::TestParamInfo<LanguageCase>& test) {
        return std::string(test.param.name);
    });

}  // namespace
}  // namespace zephalo::test
