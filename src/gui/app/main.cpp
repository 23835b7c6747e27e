#include <QApplication>
#include <QTranslator>
#include <cstdio>
#include <filesystem>

#include "core/text/language.h"
#include "core/workspace/workspace.h"
#include "gui/app/app_texts.h"
#include "gui/app/main_frame.h"
#include "gui/app/resources.h"
#include "gui/app/start_up.h"

// The desktop program: one main window over the work space, which
// ZEPHALO_WORK_SPACE may move, in the language that ZEPHALO_LANG, the
// language menu's remembered choice or the system locale chooses. An
// installed program gives the user the demo measurements in the data folder
// on its first start.
int main(int argc, char** argv) {
    const auto language = zephalo::gui::desktopLanguage(zephalo::gui::rememberedLanguage());
    zephalo::core::text::setLanguage(language);
    if (zephalo::gui::versionAsked(argc, argv)) {
        std::printf("zephalo %s\n", ZEPHALO_VERSION);
        return 0;
    }
    // Without a display Qt would abort with advice to reinstall it.
    if (!zephalo::gui::displayAvailable(argc, argv)) {
        std::fprintf(stderr, "%s\n", zephalo::gui::texts::kNoDisplay.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHALO"));
    QApplication::setApplicationVersion(QStringLiteral(ZEPHALO_VERSION));
    QApplication::setWindowIcon(zephalo::gui::applicationIcon());
    QTranslator qtTexts;
    zephalo::gui::installQtTranslations(qtTexts, language);
    zephalo::core::Workspace::seedDataFolder(
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()) /
        ZEPHALO_DEMO_FROM_PROGRAM);

    zephalo::gui::CMainFrame frame(
        zephalo::core::Workspace(zephalo::core::Workspace::defaultDirectory()));
    frame.show();
    return app.exec();
}
