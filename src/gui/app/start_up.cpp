#include "gui/app/start_up.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <cstdlib>

namespace zephalo::gui {

namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool displayAvailable(int argc, const char* const* argv) {
#if defined(Q_OS_LINUX)
    if (environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY")) return true;
    if (environmentSet("QT_QPA_PLATFORM")) return true;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") return true;
    }
    return false;
#else
    (void)argc;
    (void)argv;
    return true;
#endif
}

bool versionAsked(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") return true;
    }
    return false;
}

bool installQtTranslations(QTranslator& translator, core::text::Language language) {
    const QLocale locale = language == core::text::Language::Japanese
                               ? QLocale(QLocale::Japanese, QLocale::Japan)
                               : QLocale(QLocale::English, QLocale::UnitedStates);
    if (!translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

namespace {

// The user's settings of the program (~/.config/ZEPHALO/ZEPHALO.conf on Linux).
QSettings settings() {
    return QSettings(QStringLiteral("ZEPHALO"), QStringLiteral("ZEPHALO"));
}

constexpr char kLanguageKey[] = "language";

}  // namespace

std::optional<core::text::Language> rememberedLanguage() {
    const QByteArray code = settings().value(kLanguageKey).toString().toUtf8();
    core::text::Language language = core::text::Language::Japanese;
    if (!core::text::parseLanguage(std::string_view(code.constData(), code.size()), language))
        return std::nullopt;
    return language;
}

void rememberLanguage(core::text::Language language) {
    const std::string_view code = core::text::languageCode(language);
    settings().setValue(kLanguageKey, QString::fromLatin1(code.data(), qsizetype(code.size())));
}

core::text::Language desktopLanguage(std::optional<core::text::Language> remembered) {
    const char* asked = std::getenv("ZEPHALO_LANG");
    core::text::Language language = core::text::Language::Japanese;
    if (asked && core::text::parseLanguage(asked, language)) return language;
    return remembered ? *remembered : core::text::environmentLanguage();
}

}  // namespace zephalo::gui
