#include "core/text/language.h"

#include <atomic>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zephalo::core::text {

namespace {

bool saysNothing(std::string_view locale) {
    return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

Language fromLocale(std::string_view locale) {
    return locale.starts_with("ja") ? Language::Japanese : Language::English;
}

std::string_view variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

// The user's interface language as a locale name ("ja", "en"), on Windows
// only; elsewhere the locale variables are the user's choice.
std::string_view systemLocale() {
#ifdef _WIN32
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? "ja" : "en";
#else
    return {};
#endif
}

constexpr int kUnset = -1;
std::atomic<int> g_language{kUnset};

}  // namespace

Language languageFrom(const LanguageSources& sources) {
    Language chosen = Language::Japanese;
    if (parseLanguage(sources.zephaloLang, chosen)) return chosen;
    for (std::string_view locale : {sources.lcAll, sources.lcMessages, sources.lang}) {
        if (locale.empty()) continue;
        return saysNothing(locale) ? Language::Japanese : fromLocale(locale);
    }
    if (!sources.system.empty()) return fromLocale(sources.system);
    return Language::Japanese;
}

bool parseLanguage(std::string_view code, Language& out) {
    if (code == "ja") {
        out = Language::Japanese;
        return true;
    }
    if (code == "en") {
        out = Language::English;
        return true;
    }
    return false;
}

std::string_view languageCode(Language language) {
    return language == Language::English ? "en" : "ja";
}

Language environmentLanguage() {
    return languageFrom({variable("ZEPHALO_LANG"), variable("LC_ALL"), variable("LC_MESSAGES"),
                         variable("LANG"), systemLocale()});
}

Language language() {
    int value = g_language.load();
    if (value == kUnset) {
        int expected = kUnset;
        g_language.compare_exchange_strong(expected, static_cast<int>(environmentLanguage()));
        value = g_language.load();
    }
    return static_cast<Language>(value);
}

void setLanguage(Language language) {
    g_language.store(static_cast<int>(language));
}

}  // namespace zephalo::core::text
