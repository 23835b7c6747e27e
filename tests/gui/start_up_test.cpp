#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>
#include <vector>

#include "gui/app/start_up.h"

using zephalo::gui::displayAvailable;

// What the program checks before QApplication exists, and Qt's own Japanese
// texts it loads once it does.
class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void displayFromEnvironmentOrArguments_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("available");
        QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << QStringList()
                                 << false;
        QTest::newRow("X11") << QByteArray(":0") << QByteArray() << QByteArray() << QStringList()
                             << true;
        QTest::newRow("Wayland") << QByteArray() << QByteArray("wayland-0") << QByteArray()
                                 << QStringList() << true;
        QTest::newRow("offscreen")
            << QByteArray() << QByteArray() << QByteArray("offscreen") << QStringList() << true;
        QTest::newRow("-platform") << QByteArray() << QByteArray() << QByteArray()
                                   << QStringList{"-platform", "offscreen"} << true;
        QTest::newRow("other argument")
            << QByteArray() << QByteArray() << QByteArray() << QStringList{"offscreen"} << false;
    }

    void displayFromEnvironmentOrArguments() {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, platform);
        QFETCH(QStringList, arguments);
        QFETCH(bool, available);
        const QByteArray savedPlatform = qgetenv("QT_QPA_PLATFORM");
        // Empty counts as unset, as for a shell's "DISPLAY=".
        qputenv("DISPLAY", display);
        qputenv("WAYLAND_DISPLAY", wayland);
        qputenv("QT_QPA_PLATFORM", platform);
        std::vector<QByteArray> words{"zephalo"};
        for (const QString& a : arguments) words.push_back(a.toUtf8());
        std::vector<const char*> argv;
        for (const auto& w : words) argv.push_back(w.constData());
        const bool found = displayAvailable(int(argv.size()), argv.data());
        qputenv("QT_QPA_PLATFORM", savedPlatform);
        QCOMPARE(found, available);
    }

    // Qt's file dialogs and message boxes read their buttons through these
    // contexts; with the translation installed they are Japanese.
    void qtDialogsSpeakJapanese() {
        QTranslator translator;
        QVERIFY2(zephalo::gui::installQtJapanese(translator),
                 "Qt's Japanese translation (qt6-translations-l10n) is missing");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("キャンセル"));
        QVERIFY(
            QCoreApplication::translate("QFileDialog", "&Open").contains(QStringLiteral("開く")));
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
