#include <QApplication>

#include "app/main_frame.h"
#include "app/resources.h"
#include "workspace/workspace.h"

// The desktop program: one main window over the work space, which
// ZEPHALO_WORK_SPACE may move.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHALO"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setWindowIcon(zephalo::gui::applicationIcon());

    zephalo::gui::CMainFrame frame(
        zephalo::core::Workspace(zephalo::core::Workspace::defaultDirectory()));
    frame.show();
    return app.exec();
}
