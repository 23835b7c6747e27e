#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "core/plot/projection.h"
#include "core/text/language.h"
#include "core/workspace/history.h"
#include "core/xrf/xrf_texts.h"
#include "gui/plot/plot_panel.h"
#include "gui/widgets/message_panel.h"
#include "gui/xrf/xrf_dialog.h"
#include "gui_test_support.h"
#include "test_support.h"

using zephalo::core::Workspace;
using zephalo::core::plot::Pen;
using zephalo::gui::CXRF;
using zephalo::gui::MessagePanel;
using zephalo::gui::PlotPanel;
using zephalo::test::buttonByCaption;
using zephalo::test::childByText;
using zephalo::test::colourCount;
using zephalo::test::DialogFixture;
using zephalo::test::panelText;
using zephalo::test::pixelAt;
using zephalo::test::readFile;
using zephalo::test::TempDir;
using zephalo::test::writeFile;

namespace {

constexpr const char* kParameterText = "1.25\t7114\t7020\t7065\t0.1\t1\t7.9e-09\n";

// A work space ready for the XRF step: a Kβ-like spectrum from 7040 to 7070 eV
// on a 0.5 eV grid, normalised to 1, and the stored final state in `mode`.
void prepare(const TempDir& dir, int mode) {
    writeFile(dir / "RIXS_Calculation_Parameters.DAT", kParameterText);
    writeFile(
        dir / "RIXS_Calculation_Lorentz.DAT",
        std::to_string(mode) +
            "\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n");
    writeFile(dir / "Emission_Exc_Energy.DAT", "7214");
    writeFile(dir / "Non_Resonant_Emission.DAT", "7000\t1\t1\t1\n");
    std::string spectrum;
    for (int i = 0; i <= 60; ++i) {
        const double e = 7040.0 + 0.5 * i;
        const double y = (615.0 / (1.0 + std::pow((e - 7058.36) / 0.985, 2)) +
                          107.0 / (1.0 + std::pow((e - 7046.9) / 7.085, 2))) /
                         622.0;
        spectrum += QString::number(e, 'g', 6).toStdString() + "\t" +
                    QString::number(std::min(y, 1.0), 'g', 6).toStdString() + "\n";
    }
    writeFile(dir / "Exp_Non_Resonant_Emission.DAT", spectrum);
}

QLineEdit* box(const CXRF& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

std::string message(const CXRF& dialog) {
    return panelText(dialog).toStdString();
}

void press(const CXRF& dialog, const char* caption) {
    zephalo::test::press(dialog, QString::fromUtf8(caption));
}

QRadioButton* radioOf(const CXRF& dialog, const QString& caption) {
    return childByText<QRadioButton>(dialog, caption);
}

}  // namespace

class XrfDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensEmpty();
    void loadSetsTheRadiosAndSelectsA_data();
    void loadSetsTheRadiosAndSelectsA();
    void fitDrawsComponentsOnlyWhileTwoComponentsAreChecked();
    void clickSetsTheSelectedLinesPosition();
    void confirmThenStoreWithoutAFit();
    void refusalsAreShownInThePanel();
    void fitBeforeLoadAsksForTheLoadAndMessagesFit();
    void englishLeavesTheSameFiles();
};

void XrfDialogTest::opensEmpty() {
    TempDir dir;
    prepare(dir, 1);
    CXRF dialog{Workspace(dir.path())};
    QCOMPARE(dialog.windowTitle(), QStringLiteral("蛍光X線による設定"));
    for (const char* caption :
         {"蛍光X線の読込", "ローレンツ関数設定確認", "ローレンツ関数でフィット", "R因子計算",
          "設定完了", "画面回復", "OK", "キャンセル"}) {
        QVERIFY2(buttonByCaption(dialog, QString::fromUtf8(caption)), caption);
    }
    QVERIFY(buttonByCaption(dialog, QStringLiteral("画面回復"))->isHidden());
    QCOMPARE(box(dialog, "editPositionA")->text(), QString());
    QVERIFY(!radioOf(dialog, QStringLiteral("1成分"))->isChecked());
    QVERIFY(!radioOf(dialog, QStringLiteral("2成分(A+BとC+D)"))->isChecked());
    QVERIFY(dialog.findChild<PlotPanel*>()->curves().empty());
    QCOMPARE(message(dialog), std::string());
}

void XrfDialogTest::loadSetsTheRadiosAndSelectsA_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::newRow("two components") << 1 << QStringLiteral("2成分(A+BとC+D)");
    QTest::newRow("one component") << 0 << QStringLiteral("1成分");
}

void XrfDialogTest::loadSetsTheRadiosAndSelectsA() {
    QFETCH(int, mode);
    QFETCH(QString, checked);
    TempDir dir;
    prepare(dir, mode);
    CXRF dialog{Workspace(dir.path())};
    radioOf(dialog, QStringLiteral("C"))->setChecked(true);
    press(dialog, "蛍光X線の読込");

    QVERIFY(radioOf(dialog, checked)->isChecked());
    QVERIFY(radioOf(dialog, QStringLiteral("A"))->isChecked());
    QVERIFY(!radioOf(dialog, QStringLiteral("C"))->isChecked());
    QCOMPARE(box(dialog, "editPositionD")->text(), QStringLiteral("7060.1"));
    QCOMPARE(box(dialog, "editAmplitudeB")->text(), QStringLiteral("0.305"));
    QCOMPARE(box(dialog, "editWidthA")->text(), QStringLiteral("8.12"));
    QCOMPARE(box(dialog, "editExcitation")->text(), QStringLiteral("7214"));
    QVERIFY(message(dialog).rfind("　蛍光X線スペクトルを読み込みました。\r\n　これを測定した励起"
                                  "エネルギーは7214eVに初期\r\n",
                                  0) == 0);
    // The energy axis labels the spectrum's range, 7040 to 7070 eV.
    const auto ticks = dialog.findChild<PlotPanel*>()->energyTicks().values;
    QVERIFY(ticks.size() >= 2);
    QVERIFY(ticks.front() >= 7035 && ticks.back() <= 7075 && ticks.back() - ticks.front() >= 15);
    const auto& curves = dialog.findChild<PlotPanel*>()->curves();
    QCOMPARE(curves.size(), std::size_t{1});
    QCOMPARE(curves[0].pen, Pen::Red);
    QCOMPARE(readFile(dir / "RIXS_Calculation_Parameters.DAT"),
             std::string("1.25\t7114\t7040\t7070\t0.5\t1\t7.9e-09\n"));
}

void XrfDialogTest::fitDrawsComponentsOnlyWhileTwoComponentsAreChecked() {
    DialogFixture<CXRF> opened([&](const TempDir& dir) { prepare(dir, 1); });
    QVERIFY(opened.open(QSize(900, 600)));
    CXRF& dialog = opened.dialog();
    press(dialog, "蛍光X線の読込");
    press(dialog, "ローレンツ関数設定確認");
    press(dialog, "ローレンツ関数でフィット");
    QVERIFY(message(dialog).rfind("　ローレンツ関数を計算しました。", 0) == 0);
    QVERIFY(!QApplication::overrideCursor());

    auto* panel = dialog.findChild<PlotPanel*>();
    QCOMPARE(panel->curves().size(), std::size_t{4});
    QTest::mouseClick(radioOf(dialog, QStringLiteral("1成分")), Qt::LeftButton);
    QCOMPARE(panel->curves().size(), std::size_t{2});
    QCOMPARE(panel->curves()[0].pen, Pen::Blue);
    const QImage oneComponent = panel->grab().toImage();
    QTest::mouseClick(radioOf(dialog, QStringLiteral("2成分(A+BとC+D)")), Qt::LeftButton);
    QCOMPARE(panel->curves().size(), std::size_t{4});
    const QImage twoComponents = panel->grab().toImage();

    // Red measurement and blue model are painted; the sky-blue components only
    // with "2成分(A+BとC+D)".
    QVERIFY(colourCount(twoComponents, QColor(255, 0, 0)) > 50);
    QVERIFY(colourCount(twoComponents, QColor(0, 0, 255)) > 50);
    QVERIFY(colourCount(twoComponents, QColor(0, 200, 255)) > 20);
    QCOMPARE(colourCount(oneComponent, QColor(0, 200, 255)), 0);

    press(dialog, "R因子計算");
    QVERIFY(message(dialog).rfind("　R因子を計算しました。　R因子は ", 0) == 0);
}

void XrfDialogTest::clickSetsTheSelectedLinesPosition() {
    DialogFixture<CXRF> opened([&](const TempDir& dir) { prepare(dir, 1); });
    QVERIFY(opened.open(QSize(900, 600)));
    CXRF& dialog = opened.dialog();
    press(dialog, "蛍光X線の読込");
    QTest::mouseClick(radioOf(dialog, QStringLiteral("C")), Qt::LeftButton);

    // The centre of the panel is X = 0: (7040 + 7070) / 2.
    auto* panel = dialog.findChild<PlotPanel*>();
    QTest::mouseClick(panel, Qt::LeftButton, {}, pixelAt(*panel, 0));
    QCOMPARE(box(dialog, "editPositionC")->text(), QStringLiteral("7055"));
    QCOMPARE(box(dialog, "editPositionA")->text(), QStringLiteral("7045"));
    QVERIFY(message(dialog).rfind("　ローレンツ関数のピーク位置を修正しました。", 0) == 0);

    // Outside -96 .. 96 nothing changes, neither box nor message.
    const std::string before = message(dialog);
    QTest::mouseClick(panel, Qt::LeftButton, {}, pixelAt(*panel, -99));
    QTest::mouseClick(panel, Qt::LeftButton, {}, pixelAt(*panel, 99));
    QCOMPARE(box(dialog, "editPositionC")->text(), QStringLiteral("7055"));
    QCOMPARE(message(dialog), before);
}

void XrfDialogTest::confirmThenStoreWithoutAFit() {
    TempDir dir;
    prepare(dir, 1);
    CXRF dialog{Workspace(dir.path())};
    press(dialog, "蛍光X線の読込");
    box(dialog, "editPositionB")->setText(QStringLiteral("7057.21"));
    box(dialog, "editAmplitudeD")->setText(QStringLiteral("0.2"));
    QTest::mouseClick(radioOf(dialog, QStringLiteral("1成分")), Qt::LeftButton);
    press(dialog, "ローレンツ関数設定確認");
    press(dialog, "設定完了");
    QVERIFY(message(dialog).rfind("　これで「終状態関数」が作成できました。", 0) == 0);
    QCOMPARE(readFile(dir / "RIXS_Calculation_Lorentz.DAT"),
             std::string("0\t8.12\t5.78\t1.9\t1.07\t7045\t7057.21\t7058.8\t7060.1\t0.75\t0.305\t"
                         "0.15\t0.2\n"));
}

void XrfDialogTest::refusalsAreShownInThePanel() {
    TempDir dir;
    prepare(dir, 1);
    CXRF dialog{Workspace(dir.path())};
    press(dialog, "蛍光X線の読込");

    box(dialog, "editWidthB")->setText(QStringLiteral("abc"));
    press(dialog, "ローレンツ関数設定確認");
    QVERIFY(message(dialog).find("「Bの線幅」の値「abc」") != std::string::npos);
    QVERIFY(!QFile::exists(
        QString::fromStdString((dir / "RIXS_Calculation_Lorentz_Temp.DAT").string())));

    box(dialog, "editWidthB")->setText(QStringLiteral("5.78"));
    press(dialog, "ローレンツ関数設定確認");
    box(dialog, "editExcitation")->setText(QStringLiteral("0"));
    press(dialog, "ローレンツ関数でフィット");
    QVERIFY(message(dialog).find("励起エネルギーが0eV") != std::string::npos);
    QVERIFY(dialog.findChild<PlotPanel*>()->curves().size() == 1);
    QVERIFY(!QApplication::overrideCursor());

    // The seeded one-point model shares no energy with the measurement.
    press(dialog, "R因子計算");
    QVERIFY(message(dialog).find("一致する点が0点") != std::string::npos);
    QVERIFY(!QFile::exists(QString::fromStdString((dir / "R_Factor_XRF.DAT").string())));
}

// Before "蛍光X線の読込" a fit or an R factor asks for the load first; the
// long load message then shows whole in the dialog at its default size.
void XrfDialogTest::fitBeforeLoadAsksForTheLoadAndMessagesFit() {
    TempDir dir;
    prepare(dir, 1);
    CXRF dialog{Workspace(dir.path())};
    const std::string loadFirst(zephalo::core::xrf::texts::kLoadFirstText);
    for (const char* caption : {"ローレンツ関数でフィット", "R因子計算"}) {
        press(dialog, caption);
        QCOMPARE(message(dialog), loadFirst);
        QVERIFY(!QFile::exists(QString::fromStdString((dir / "R_Factor_XRF.DAT").string())));
    }
    press(dialog, "蛍光X線の読込");
    QVERIFY(message(dialog).find("読み込みました") != std::string::npos);
    QCOMPARE(zephalo::test::hiddenMessageLines(dialog), 0);
}

// The same buttons in English leave byte-identical work-space files, and the
// history names the steps in Japanese, which the undo button shows translated.
void XrfDialogTest::englishLeavesTheSameFiles() {
    using zephalo::core::text::Language;
    const auto run = [](const TempDir& dir, Language language) {
        zephalo::core::text::setLanguage(language);
        prepare(dir, 1);
        CXRF dialog{Workspace(dir.path())};
        for (const char* name : {"buttonLoad", "buttonConfirm", "buttonStore"}) {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)),
                              Qt::LeftButton);
        }
        auto* undo = dialog.findChild<QPushButton*>(QStringLiteral("buttonUndo"));
        const QString caption = undo->text();
        // Undone and redone: the panel names the step in the language shown.
        QTest::mouseClick(undo, Qt::LeftButton);
        const QString undone = panelText(dialog);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("buttonRedo")),
                          Qt::LeftButton);
        zephalo::core::text::setLanguage(Language::Japanese);
        return std::pair(caption, undone);
    };
    TempDir japanese, english;
    const auto [japaneseUndo, japaneseUndone] = run(japanese, Language::Japanese);
    QCOMPARE(japaneseUndo, QStringLiteral("元に戻す：ローレンツ関数設定確認"));
    QVERIFY(japaneseUndone.startsWith(
        QStringLiteral("　「ローレンツ関数設定確認」を取り消しました。")));
    const auto [englishUndo, englishUndone] = run(english, Language::English);
    QCOMPARE(englishUndo, QStringLiteral("Undo: Confirm Lorentzians"));
    QVERIFY2(englishUndone.startsWith(QStringLiteral("\"Confirm Lorentzians\" was undone.")),
             qPrintable(englishUndone));
    QCOMPARE(zephalo::core::undoTitle(Workspace(english.path())),
             std::optional<std::string>("ローレンツ関数設定確認"));
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(japanese.path())) {
        if (!entry.is_regular_file()) continue;
        const auto name = entry.path().filename().string();
        QVERIFY2(std::filesystem::exists(english / name), name.c_str());
        QVERIFY2(readFile(entry.path()) == readFile(english / name), name.c_str());
        ++compared;
    }
    QVERIFY(compared >= 5);
}

QTEST_MAIN(XrfDialogTest)
#include "xrf_dialog_test.moc"
