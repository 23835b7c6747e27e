#pragma once

#include <string_view>

// The language the programs speak: Japanese, the source of every text, or
// English from the catalogue.
namespace zephalo::core::text {

enum class Language { Japanese, English };

// What the environment asks for, first match wins: ZEPHALO_LANG ("ja" or
// "en"), then the locale variables LC_ALL, LC_MESSAGES and LANG (the first
// that is set and not empty). A locale starting with "ja" means Japanese,
// any other means English, except "C", "POSIX" and "C.<charset>": those say
// nothing about the user, so they and an empty environment keep the
// program's own language, Japanese. `system` is the user's interface
// language where the platform has one apart from the variables (Windows); it
// stands in for the locale variables when none is set.
struct LanguageSources {
    std::string_view zephaloLang;
    std::string_view lcAll;
    std::string_view lcMessages;
    std::string_view lang;
    std::string_view system;
};
Language languageFrom(const LanguageSources& sources);

// A value of ZEPHALO_LANG or of the saved choice: "ja" or "en".
bool parseLanguage(std::string_view code, Language& out);
std::string_view languageCode(Language language);

// The language of this process: chosen from the environment at the first
// call, or as set by setLanguage before (a front end's saved choice).
Language language();
void setLanguage(Language language);

// The environment's own choice, as language() makes it without setLanguage.
Language environmentLanguage();

}  // namespace zephalo::core::text
