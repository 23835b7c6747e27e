#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/workspace/workspace.h"
#include "gui/app/about_dialog.h"
#include "gui/app/main_frame.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/rixs/rixs_map_window.h"
#include "gui/tools/average_dialog.h"
#include "gui/tools/optim_dialog.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xafs/xafs_reading_dialog.h"
#include "gui/xrf/xrf_dialog.h"

using namespace zephalo;

Q_DECLARE_METATYPE(std::function<QWidget*(const zephalo::core::Workspace&)>)

// Every window of the program fits a 1366 x 768 laptop screen: its smallest
// size leaves room for the window's title bar and the desktop's panel.
class WindowSizesTest : public QObject {
    Q_OBJECT

    // Title bar and a desktop panel together.
    static constexpr int kDecorations = 68;
    static constexpr QSize kScreen{1366, 768};

    QTemporaryDir m_dir;

private slots:
    void minimumSizeFitsALaptop_data() {
        QTest::addColumn<std::function<QWidget*(const core::Workspace&)>>("make");
        using Make = std::function<QWidget*(const core::Workspace&)>;
        QTest::newRow("main") << Make([](const auto& ws) { return new gui::CMainFrame(ws); });
        QTest::newRow("about") << Make([](const auto&) { return new gui::CAboutDlg(); });
        QTest::newRow("selective")
            << Make([](const auto& ws) { return new gui::CXAFSReading(ws); });
        QTest::newRow("edge") << Make([](const auto& ws) { return new gui::CConvXAFS(ws); });
        QTest::newRow("xrf") << Make([](const auto& ws) { return new gui::CXRF(ws); });
        QTest::newRow("workbench") << Make([](const auto& ws) { return new gui::CRIXSXAFS(ws); });
        QTest::newRow("average") << Make([](const auto& ws) { return new gui::CAverage(ws); });
        QTest::newRow("optimise") << Make([](const auto& ws) { return new gui::COptim(ws); });
        QTest::newRow("map") << Make(
            [](const auto& ws) { return new gui::RixsMapWindow(ws, std::nullopt); });
        // The map with the measured map, the difference and R per Ω under it.
        QTest::newRow("map comparison") << Make([](const auto& ws) {
            auto* window = new gui::RixsMapWindow(ws, std::nullopt);
            window->findChild<QWidget*>(QStringLiteral("comparisonRow"))->show();
            return window;
        });
    }
    void minimumSizeFitsALaptop() {
        QFETCH(std::function<QWidget*(const core::Workspace&)>, make);
        const core::Workspace workspace(m_dir.path().toStdString());
        std::unique_ptr<QWidget> window(make(workspace));
        window->show();
        QCoreApplication::processEvents();
        const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
        const QString shown =
            QStringLiteral("%1 x %2").arg(smallest.width()).arg(smallest.height());
        QVERIFY2(smallest.width() <= kScreen.width(), qPrintable(shown));
        QVERIFY2(smallest.height() <= kScreen.height() - kDecorations, qPrintable(shown));
        // It opens no larger than the laptop's screen either.
        QVERIFY2(window->height() <= kScreen.height() - kDecorations,
                 qPrintable(QString::number(window->height())));
        QVERIFY(window->width() <= kScreen.width());
    }
};

QTEST_MAIN(WindowSizesTest)
#include "window_sizes_test.moc"
