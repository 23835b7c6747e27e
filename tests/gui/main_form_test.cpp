#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <functional>

#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "core/workspace/workspace_setup.h"
#include "gui/app/about_dialog.h"
#include "gui/app/main_frame.h"
#include "gui/app/quarlen_view.h"
#include "gui/app/start_up.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xafs/xafs_reading_dialog.h"
#include "gui/xrf/xrf_dialog.h"
#include "gui_test_support.h"

using namespace zephalo;
using gui::CMainFrame;

namespace {

// Runs `action`; the first modal window that opens meanwhile is handed to
// `handle`, which must close it. Any further modal window (a message box of
// the file dialog, say) is closed and fails the test. Returns whether one
// opened.
bool whileModal(const std::function<void()>& action, const std::function<void(QWidget*)>& handle) {
    QPointer<QWidget> first;
    bool handled = false;
    bool unexpected = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == first) return;
        if (!handled) {
            handled = true;
            first = modal;
            handle(modal);
        } else {
            unexpected = true;
            qWarning("unexpected modal window: %s", qPrintable(modal->windowTitle()));
            modal->close();
        }
    });
    poll.start();
    action();
    QCoreApplication::processEvents();
    poll.stop();
    if (unexpected) QTest::qFail("a second modal window opened", __FILE__, __LINE__);
    return handled;
}

// Chooses `file` in an open file dialog and accepts it.
void chooseIn(QWidget* modal, const QString& file) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(file);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the file
}

void closeDialog(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

const std::string kMaterials =
    " エラー!!\r\n　まず["
    "ワークスペース作成」後、「素材入力」ボタン\r\nで全ての素材を読み込んで下さい。";
const std::string kRixsMissing =
    " エラー!!"
    "\r\n　「素材入力」ボタンで全ての素材を読み込み、\r\n「XAFSの読込」と「蛍光X線による設定」をし"
    "ないと、\r\n正しいシミュレーションはできません。";

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_ws;
    std::unique_ptr<CMainFrame> m_frame;

    core::Workspace workspace() const { return core::Workspace(m_ws->path().toStdString()); }
    gui::CQuarlenView* form() const { return m_frame->view(); }

    // Every work-space file the steps need, with small plausible content.
    void writeFiles(const QStringList& names) {
        const auto ws = workspace();
        for (const auto& name : names) {
            const std::string file = name.toStdString();
            if (file == core::files::kSelectiveOrg) {
                QVERIFY(ws.write(file,
                                 core::SelectiveXafsTable{{-5, 0.1, 0.1}, {0, 1, 1}, {5, 0.5, 0.5}})
                            .ok());
            } else {
                QVERIFY(
                    ws.write(file, core::PairSpectrum{{7050, 0.2}, {7058, 1}, {7065, 0.3}}).ok());
            }
        }
    }

private slots:
    void initTestCase() {
        // File dialogs start in ~/ZEPHALO; the language choice stays here too.
        qputenv("HOME", m_home.path().toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.path());
        QVERIFY(QDir(m_home.path()).mkdir(QStringLiteral("ZEPHALO")));
    }

    void init() {
        m_ws = std::make_unique<QTemporaryDir>();
        QDir(m_ws->path()).removeRecursively();  // a fresh start has no work space
        m_frame = std::make_unique<CMainFrame>(workspace());
        m_frame->show();
    }

    void cleanup() {
        m_frame.reset();
        m_ws.reset();
    }

    void frameStartsWithHiddenBars() {
        QCOMPARE(m_frame->windowTitle(), QStringLiteral("ZEPHALO"));
        QVERIFY(!m_frame->toolBar()->isVisible());
        QVERIFY(!m_frame->statusBar()->isVisible());
        QVERIFY(!m_frame->toolBarAction()->isChecked());
        QCOMPARE(m_frame->statusBar()->currentMessage(), QStringLiteral("レディ"));
        QCOMPARE(m_frame->toolBar()->actions().size(), 1);
        QCOMPARE(m_frame->toolBar()->actions().first(), m_frame->aboutAction());

        const auto menus = m_frame->menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("表示(&V)"));
        QCOMPARE(menus[1]->text(), QStringLiteral("言語(&L)"));
        QCOMPARE(menus[2]->text(), QStringLiteral("ヘルプ(&H)"));
        const auto viewItems = menus[0]->menu()->actions();
        QCOMPARE(viewItems.size(), 2);
        QCOMPARE(viewItems[0]->text(), QStringLiteral("ツール バー(&T)"));
        QCOMPARE(viewItems[1]->text(), QStringLiteral("ステータス バー(&S)"));
        QCOMPARE(menus[2]->menu()->actions().first()->text(),
                 QStringLiteral("バージョン情報 ZEPHALO(&A)..."));

        m_frame->toolBarAction()->trigger();
        m_frame->statusBarAction()->trigger();
        QVERIFY(m_frame->toolBar()->isVisible());
        QVERIFY(m_frame->statusBar()->isVisible());
        m_frame->statusBarAction()->trigger();
        QVERIFY(!m_frame->statusBar()->isVisible());
    }

    // The language menu names each language in itself and checks the one
    // shown; a choice is remembered for the next start, which the message
    // panel says, while this window keeps its language.
    void languageChoiceTakesEffectAtTheNextStart() {
        auto* japanese = m_frame->findChild<QAction*>(QStringLiteral("languageJapanese"));
        auto* english = m_frame->findChild<QAction*>(QStringLiteral("languageEnglish"));
        QVERIFY(japanese && english);
        QCOMPARE(japanese->text(), QStringLiteral("日本語"));
        QCOMPARE(english->text(), QStringLiteral("English"));
        QVERIFY(japanese->isChecked() && !english->isChecked());

        english->trigger();
        QVERIFY(english->isChecked() && !japanese->isChecked());
        QCOMPARE(gui::rememberedLanguage(), std::optional(core::text::Language::English));
        QCOMPARE(QString::fromStdString(form()->messageText()),
                 QStringLiteral("　表示の言語をEnglishにしました。\r\n"
                                "　次にZEPHALOを起動したときから、この言語で表示します。"));
        QCOMPARE(m_frame->menuBar()->actions().first()->text(), QStringLiteral("表示(&V)"));
        // The next window shows the remembered choice checked.
        CMainFrame next(workspace());
        QVERIFY(next.findChild<QAction*>(QStringLiteral("languageEnglish"))->isChecked());
        gui::rememberLanguage(core::text::Language::Japanese);
    }

    void aboutBoxIsModal() {
        QString title, texts;
        bool hasOk = false;
        const bool opened = whileModal([&] { m_frame->aboutAction()->trigger(); },
                                       [&](QWidget* modal) {
                                           QVERIFY(qobject_cast<gui::CAboutDlg*>(modal));
                                           title = modal->windowTitle();
                                           for (auto* l : modal->findChildren<QLabel*>())
                                               texts += l->text();
                                           auto* ok =
                                               test::buttonByCaption(*modal, QStringLiteral("OK"));
                                           hasOk = ok != nullptr;
                                           if (ok) ok->click();
                                       });
        QVERIFY(opened);
        QCOMPARE(title, QStringLiteral("バージョン情報 ZEPHALO"));
        QVERIFY(texts.contains(QStringLiteral("ZEPHALO, Version 2.0")));
        QVERIFY(texts.contains(QStringLiteral("GPL-3.0-or-later")));
        QVERIFY(hasOk);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The controls from top to bottom, the imports two by two in their group.
    void formControlsInOrder() {
        const QStringList order{QStringLiteral("はじめに必ず実行して下さい"),
                                QStringLiteral("ワークスペース作成"),
                                QStringLiteral("シミュレーションの素材入力"),
                                QStringLiteral("ファイル名は必ず半角英数で！"),
                                QStringLiteral("通常XAFS実験値読込"),
                                QStringLiteral("RIXS実験値読込"),
                                QStringLiteral("XAFS(吸収補正用）読込"),
                                QStringLiteral("蛍光X線による設定"),
                                QStringLiteral("RIXSシミュレーション"),
                                QStringLiteral("ZEPHALOからのメッセージ")};
        QList<QWidget*> found;
        for (const auto& text : order) {
            QWidget* hit = nullptr;
            for (auto* w : form()->findChildren<QWidget*>()) {
                if ((qobject_cast<QLabel*>(w) && qobject_cast<QLabel*>(w)->text() == text) ||
                    (qobject_cast<QPushButton*>(w) &&
                     qobject_cast<QPushButton*>(w)->text() == text) ||
                    (qobject_cast<QGroupBox*>(w) && qobject_cast<QGroupBox*>(w)->title() == text))
                    hit = w;
            }
            QVERIFY2(hit, qPrintable(text));
            found << hit;
        }
        const auto top = [&](QWidget* w) { return w->mapTo(form(), QPoint(0, 0)).y(); };
        for (int i = 1; i < found.size(); ++i) {
            QVERIFY2(top(found[i - 1]) < top(found[i]), qPrintable(order[i]));
        }
        auto* conv = test::buttonByCaption(*form(), QStringLiteral("通常XAFS実験値読込"));
        auto* xrf = test::buttonByCaption(*form(), QStringLiteral("蛍光X線実験値読込"));
        auto* rixs = test::buttonByCaption(*form(), QStringLiteral("RIXS実験値読込"));
        auto* selective = test::buttonByCaption(*form(), QStringLiteral("選択的XAFS計算値読込"));
        QCOMPARE(top(xrf), top(conv));
        QCOMPARE(top(selective), top(rixs));
        QVERIFY(xrf->x() > conv->x());
        QVERIFY(selective->x() > rixs->x());
        auto* group = form()->findChild<QGroupBox*>();
        for (auto* b : {conv, xrf, rixs, selective}) QCOMPARE(b->parentWidget(), group);

        auto* picture = form()->findChild<QLabel*>(QStringLiteral("pictureFrame"));
        QVERIFY(picture);
        QCOMPARE(picture->size(), QSize(259, 98));
        QCOMPARE(picture->pixmap().size(), QSize(259, 98));
        QVERIFY(top(picture) > top(found.last()));
        QCOMPARE(form()->messageText(), std::string());
    }

    void gates_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("dialogClass");

        const QString conv = QStringLiteral("XAFS(吸収補正用）読込");
        const QString xrf = QStringLiteral("蛍光X線による設定");
        const QString rixs = QStringLiteral("RIXSシミュレーション");
        const QString convOk = QStringLiteral("通常XAFSによるパラメーター設定が終了しました。");
        const QString xrfOk = QStringLiteral("蛍光X線によるパラメーター設定が終了しました。");
        const QString rixsOk = QStringLiteral("RIXSシミュレーションが終了しました。");
        const QString materials = QString::fromStdString(kMaterials);
        const QString rixsMissing = QString::fromStdString(kRixsMissing);
        using namespace core::files;
        const auto q = [](std::string_view s) { return QString::fromUtf8(s.data(), s.size()); };
        const QString seeds = QStringLiteral("<seeds>");

        QTest::newRow("conv fresh") << conv << QStringList{} << materials << QString();
        QTest::newRow("conv only its xafs")
            << conv << QStringList{seeds, q(kConventionalXafs)} << materials << QString();
        QTest::newRow("conv no fluorescence")
            << conv << QStringList{seeds, q(kConventionalXafs), q(kSelectiveOrg)} << materials
            << QString();
        QTest::newRow("conv ready")
            << conv
            << QStringList{seeds, q(kConventionalXafs), q(kSelectiveOrg), q(kExperimentEmission)}
            << convOk << QStringLiteral("zephalo::gui::CConvXAFS");
        QTest::newRow("xrf fresh") << xrf << QStringList{} << materials << QString();
        QTest::newRow("xrf seeds only") << xrf << QStringList{seeds} << materials << QString();
        QTest::newRow("xrf no parameters")
            << xrf << QStringList{q(kExperimentEmission)} << materials << QString();
        QTest::newRow("xrf ready") << xrf << QStringList{seeds, q(kExperimentEmission)} << xrfOk
                                   << QStringLiteral("zephalo::gui::CXRF");
        QTest::newRow("rixs fresh") << rixs << QStringList{} << rixsMissing << QString();
        QTest::newRow("rixs seeds only") << rixs << QStringList{seeds} << rixsMissing << QString();
        QTest::newRow("rixs no normalised xafs")
            << rixs << QStringList{seeds, q(kRixsExperiment)} << rixsMissing << QString();
        QTest::newRow("rixs ready")
            << rixs << QStringList{seeds, q(kRixsExperiment), q(kConvXafsNorm)} << rixsOk
            << QStringLiteral("zephalo::gui::CRIXSXAFS");
    }

    // Each gate: the error text and no dialog while a file is missing; the
    // step's dialog and then the success text, however it was closed.
    void gates() {
        QFETCH(QString, caption);
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QFETCH(QString, dialogClass);
        QStringList files = present;
        if (files.removeAll(QStringLiteral("<seeds>")) > 0) {
            QVERIFY(core::createWorkspace(workspace()).done);
        } else if (!files.isEmpty()) {
            QVERIFY(QDir().mkpath(m_ws->path()));
        }
        writeFiles(files);

        QString opened;
        const bool modal = whileModal([&] { test::buttonByCaption(*form(), caption)->click(); },
                                      [&](QWidget* w) {
                                          opened =
                                              QString::fromLatin1(w->metaObject()->className());
                                          closeDialog(w);
                                      });
        QCOMPARE(modal, !dialogClass.isEmpty());
        QCOMPARE(opened, dialogClass);
        QCOMPARE(QString::fromStdString(form()->messageText()), expected);
        // The whole text shows at the default window size.
        QCOMPARE(test::hiddenMessageLines(*m_frame), 0);
    }

    void selectiveImportHasNoGateAndNoMessage() {
        test::buttonByCaption(*form(), QStringLiteral("ワークスペース作成"))->click();
        const std::string before = form()->messageText();
        QString opened;
        QVERIFY(whileModal(
            [&] {
                test::buttonByCaption(*form(), QStringLiteral("選択的XAFS計算値読込"))->click();
            },
            [&](QWidget* w) {
                opened = QString::fromLatin1(w->metaObject()->className());
                closeDialog(w);
            }));
        QCOMPARE(opened, QStringLiteral("zephalo::gui::CXAFSReading"));
        QCOMPARE(form()->messageText(), before);
    }

    void createButtonNamesTheRealFolder() {
        QCOMPARE(form()->markText(core::FormButton::CreateWorkspace), QStringLiteral("未"));
        test::buttonByCaption(*form(), QStringLiteral("ワークスペース作成"))->click();
        QCOMPARE(
            QString::fromStdString(form()->messageText()),
            QStringLiteral("作業用のディレクトリ　") + m_ws->path() +
                QStringLiteral("\r\nを作成しました。(以前使用時の結果は保護され\r\nています)"));
        QVERIFY(workspace().exists(core::files::kCalculatedRixs));
    }

    // A second desktop program on the same work space says at once who has it
    // open; the first keeps its claim.
    void secondDesktopProgramSaysWhoHasTheWorkspace() {
        test::buttonByCaption(*form(), QStringLiteral("ワークスペース作成"))->click();
        QVERIFY(form()->claimsWorkspace());
        CMainFrame second(workspace());
        const QString text = QString::fromStdString(second.view()->messageText());
        QVERIFY2(text.contains(QStringLiteral("ほかのZEPHALO")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("プロセス ") +
                              QString::number(QCoreApplication::applicationPid())));
        QVERIFY(text.contains(m_ws->path()));
        QVERIFY(!second.view()->claimsWorkspace());
        QVERIFY(form()->claimsWorkspace());
    }

    // The import buttons go through the file-open dialog; cancelling it
    // changes nothing.
    void importThroughTheFileDialog() {
        test::buttonByCaption(*form(), QStringLiteral("ワークスペース作成"))->click();
        const QString measured = m_home.path() + QStringLiteral("/ZEPHALO/Fe_RIXS.DAT");
        QFile file(measured);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("7050 0.001\n7051 0.004\n");
        file.close();

        QString startDir, filters;
        QVERIFY(whileModal(
            [&] { test::buttonByCaption(*form(), QStringLiteral("RIXS実験値読込"))->click(); },
            [&](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                QVERIFY(dialog);
                startDir = dialog->directory().absolutePath();
                filters = dialog->nameFilters().join(QStringLiteral("|"));
                chooseIn(dialog, measured);
            }));
        QCOMPARE(startDir, QDir(m_home.path() + QStringLiteral("/ZEPHALO")).absolutePath());
        QCOMPARE(filters, QStringLiteral("データ(*.DAT)|全て(*)"));
        const std::string imported = form()->messageText();
        QCOMPARE(QString::fromStdString(imported),
                 m_ws->path() + QStringLiteral(" に「RIXS実験スペク\r\nトル」を導入しました。"));
        QCOMPARE(test::hiddenMessageLines(*m_frame), 0);
        QVERIFY(workspace().exists(core::files::kRixsExperimentMinMax));
        // The marks follow: created and imported are done, the rest not yet.
        QCOMPARE(form()->markText(core::FormButton::CreateWorkspace), QStringLiteral("済"));
        QCOMPARE(form()->markText(core::FormButton::ImportRixs), QStringLiteral("済"));
        QCOMPARE(form()->markText(core::FormButton::ImportXrf), QStringLiteral("未"));
        QCOMPARE(form()->markText(core::FormButton::Rixs), QStringLiteral("未"));

        // Cancel on the fluorescence import: no file, same text.
        QVERIFY(whileModal(
            [&] { test::buttonByCaption(*form(), QStringLiteral("蛍光X線実験値読込"))->click(); },
            closeDialog));
        QCOMPARE(form()->messageText(), imported);
        QVERIFY(!workspace().exists(core::files::kExperimentEmission));

        // A bad file: the refusal with file and line, nothing written.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("7040 12\n7041 twelve\n");
        file.close();
        QVERIFY(whileModal(
            [&] { test::buttonByCaption(*form(), QStringLiteral("蛍光X線実験値読込"))->click(); },
            [&](QWidget* w) { chooseIn(w, measured); }));
        const QString refusal = QString::fromStdString(form()->messageText());
        QVERIFY2(refusal.contains(measured + QStringLiteral(" の2行目")), qPrintable(refusal));
        QVERIFY(!workspace().exists(core::files::kExperimentEmission));
    }

    // The whole window as the user sees it after "ワークスペース作成": the
    // picture frame shows the stored picture at its top-left corner. With
    // ZEPHALO_SCREENSHOT set the grab is saved there (the README's picture;
    // ZEPHALO_WORK_SPACE then names the folder the message shows).
    void mainWindowPicture() {
        const QString shotFile = qEnvironmentVariable("ZEPHALO_SCREENSHOT");
        if (!shotFile.isEmpty() && qEnvironmentVariableIsSet("ZEPHALO_WORK_SPACE")) {
            m_frame =
                std::make_unique<CMainFrame>(core::Workspace(core::Workspace::defaultDirectory()));
            m_frame->show();
        }
        test::buttonByCaption(*form(), QStringLiteral("ワークスペース作成"))->click();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        const QImage window = m_frame->grab().toImage();
        auto* frame = form()->findChild<QLabel*>(QStringLiteral("pictureFrame"));
        const QPoint at = frame->mapTo(m_frame.get(), QPoint(0, 0)) * window.devicePixelRatio();
        const QImage picture = frame->pixmap().toImage().convertToFormat(window.format());
        QCOMPARE(window.copy(QRect(at, picture.size())), picture);
        if (!shotFile.isEmpty()) QVERIFY(window.save(shotFile));
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
