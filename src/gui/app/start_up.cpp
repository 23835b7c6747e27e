#include "gui/app/start_up.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
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

bool installQtJapanese(QTranslator& translator) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    if (!translator.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace zephalo::gui
