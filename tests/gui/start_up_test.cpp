#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <vector>

#include "gui/app/start_up.h"

using zephalo::gui::displayAvailable;

Q_DECLARE_METATYPE(zephalo::core::text::Language)

// What the program checks before QApplication exists, the language it
// speaks, and Qt's own texts it loads in that language.
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
    // contexts; they follow the program's language.
    void qtDialogsFollowTheLanguage_data() {
        QTest::addColumn<zephalo::core::text::Language>("language");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("open");
        QTest::newRow("Japanese") << zephalo::core::text::Language::Japanese
                                  << QStringLiteral("キャンセル") << QStringLiteral("開く");
        QTest::newRow("English") << zephalo::core::text::Language::English
                                 << QStringLiteral("Cancel") << QStringLiteral("Open");
    }
    void qtDialogsFollowTheLanguage() {
        QFETCH(zephalo::core::text::Language, language);
        QFETCH(QString, cancel);
        QFETCH(QString, open);
        QTranslator translator;
        const bool installed = zephalo::gui::installQtTranslations(translator, language);
        if (language == zephalo::core::text::Language::Japanese)
            QVERIFY2(installed, "Qt's Japanese translation (qt6-translations-l10n) is missing");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
        QVERIFY(QCoreApplication::translate("QFileDialog", "&Open").contains(open));
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    // ZEPHALO_LANG first, then the language menu's remembered choice, then
    // the locale.
    void desktopLanguageChoice_data() {
        using zephalo::core::text::Language;
        QTest::addColumn<QByteArray>("zephaloLang");
        QTest::addColumn<int>("remembered");  // -1: no choice yet
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<Language>("expected");
        const int ja = int(Language::Japanese), en = int(Language::English);
        QTest::newRow("locale ja")
            << QByteArray() << -1 << QByteArray("ja_JP.UTF-8") << Language::Japanese;
        QTest::newRow("locale en")
            << QByteArray() << -1 << QByteArray("en_GB.UTF-8") << Language::English;
        QTest::newRow("remembered over locale")
            << QByteArray() << en << QByteArray("ja_JP.UTF-8") << Language::English;
        QTest::newRow("remembered ja")
            << QByteArray() << ja << QByteArray("de_DE.UTF-8") << Language::Japanese;
        QTest::newRow("environment over remembered")
            << QByteArray("ja") << en << QByteArray("en_US.UTF-8") << Language::Japanese;
        QTest::newRow("environment en")
            << QByteArray("en") << ja << QByteArray("ja_JP.UTF-8") << Language::English;
        QTest::newRow("unknown environment ignored")
            << QByteArray("fr") << en << QByteArray("ja_JP.UTF-8") << Language::English;
    }
    void desktopLanguageChoice() {
        using zephalo::core::text::Language;
        QFETCH(QByteArray, zephaloLang);
        QFETCH(int, remembered);
        QFETCH(QByteArray, locale);
        QFETCH(Language, expected);
        const QByteArray saved[] = {qgetenv("ZEPHALO_LANG"), qgetenv("LC_ALL")};
        qputenv("ZEPHALO_LANG", zephaloLang);
        qputenv("LC_ALL", locale);
        const auto chosen = zephalo::gui::desktopLanguage(
            remembered < 0 ? std::nullopt : std::optional(Language(remembered)));
        qputenv("ZEPHALO_LANG", saved[0]);
        qputenv("LC_ALL", saved[1]);
        QCOMPARE(chosen, expected);
    }

    // The choice outlives the program: a new settings object reads it back.
    void languageChoiceRemembered() {
        using zephalo::core::text::Language;
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QVERIFY(!zephalo::gui::rememberedLanguage());
        zephalo::gui::rememberLanguage(Language::English);
        QCOMPARE(zephalo::gui::rememberedLanguage(), std::optional(Language::English));
        zephalo::gui::rememberLanguage(Language::Japanese);
        QCOMPARE(zephalo::gui::rememberedLanguage(), std::optional(Language::Japanese));
    }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
