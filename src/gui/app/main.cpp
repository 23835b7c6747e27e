#include <QApplication>
#include <QTranslator>
#include <cstdio>

#include "app/app_texts.h"
#include "app/main_frame.h"
#include "app/resources.h"
#include "app/start_up.h"
#include "workspace/workspace.h"

// The desktop program: one main window over the work space, which
// ZEPHALO_WORK_SPACE may move.
int main(int argc, char** argv) {
    // Without a display Qt would abort with advice to reinstall it.
    if (!zephalo::gui::displayAvailable(argc, argv)) {
        std::fprintf(stderr, "%s\n", zephalo::gui::texts::kNoDisplay);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHALO"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setWindowIcon(zephalo::gui::applicationIcon());
    QTranslator qtJapanese;
    zephalo::gui::installQtJapanese(qtJapanese);

    zephalo::gui::CMainFrame frame(
        zephalo::core::Workspace(zephalo::core::Workspace::defaultDirectory()));
    frame.show();
    return app.exec();
}
