#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QtTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "core/rixs/live_correction.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/history.h"
#include "core/workspace/number_text.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace_setup.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/tools/average_dialog.h"
#include "gui/tools/optim_dialog.h"
#include "gui/widgets/widget_captions.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xafs/xafs_reading_dialog.h"
#include "gui/xrf/xrf_dialog.h"
#include "gui_test_support.h"
#include "test_support.h"

using zephalo::core::Workspace;
using zephalo::gui::CRIXSXAFS;
using zephalo::gui::FileChoice;
using zephalo::gui::PlotPanel;
using zephalo::test::buttonByCaption;
using zephalo::test::childByText;
using zephalo::test::DialogFixture;
using zephalo::test::panelText;
using zephalo::test::pixelAt;
using zephalo::test::pixelsNear;
using zephalo::test::pixelsOf;
using zephalo::test::press;
using zephalo::test::readFile;
using zephalo::test::TempDir;
using zephalo::test::writeFile;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kPink(255, 128, 255);

// A work space ready for the workbench: a selective XAFS on absolute
// energies from 7100 to 7140 eV (0.5 eV grid) with a white line in A and a
// weaker, later one in B, and the final-state function stored in `mode`.
void prepare(const TempDir& dir, int mode) {
    writeFile(dir / "RIXS_Calculation_Parameters.DAT", "1.25\t7114\t7020\t7065\t0.1\t1.5\t2e-08\n");
    writeFile(
        dir / "RIXS_Calculation_Lorentz.DAT",
        std::to_string(mode) +
            "\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n");
    std::string spectrum;
    for (int i = 0; i <= 80; ++i) {
        const double e = 7100.0 + 0.5 * i;
        const double a = 0.2 + 0.8 / (1.0 + std::pow((e - 7115.0) / 2.0, 2));
        const double b = 0.1 + 0.5 / (1.0 + std::pow((e - 7125.0) / 3.0, 2));
        spectrum += QString::number(e, 'g', 6).toStdString() + "\t" +
                    QString::number(a, 'g', 6).toStdString() + "\t" +
                    QString::number(b, 'g', 6).toStdString() + "\n";
    }
    writeFile(dir / "SelectiveXAFS_for_Reading.DAT", spectrum);
}

// The absorption spectrum the RIXS calculation needs beside the published
// selective XAFS.
void prepareForRixs(const TempDir& dir) {
    prepare(dir, 1);
    writeFile(dir / "ConvXAFS_Norm_Spectrum.DAT", "7100\t0.1\n7120\t0.6\n7140\t1\n");
}

// A measured spectrum 1.2 times the calculated total on every fifth point
// of the calculation from 7030 to 7060 eV: its R factor is 100 * 0.2 / 1.2.
void writeMeasuredFromCalculation(const TempDir& dir) {
    std::istringstream calculated(readFile(dir / "Calculated_RIXS.DAT"));
    std::string measured;
    double energy = 0;
    double total = 0;
    double component = 0;
    for (int line = 0; calculated >> energy >> total >> component >> component; ++line) {
        if (energy < 7030 - 1e-6 || energy > 7060 + 1e-6 || line % 5 != 0) continue;
        measured += QString::number(energy, 'g', 6).toStdString() + "\t" +
                    QString::number(1.2 * total, 'g', 6).toStdString() + "\n";
    }
    writeFile(dir / "RIXSEXP.DAT", measured);
}

QLineEdit* box(const QWidget& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QRadioButton* radio(const QWidget& dialog, const char* caption) {
    return childByText<QRadioButton>(dialog, QString::fromUtf8(caption));
}

// The message panel shows its whole text: no line wrapped, nothing to scroll.
bool messageFitsWhole(const QWidget& dialog) {
    auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("messagePanel"));
    return text->verticalScrollBar()->maximum() == 0 &&
           text->document()->lineCount() == text->document()->blockCount();
}

PlotPanel& xafsPanel(const QWidget& dialog) {
    return *dialog.findChild<PlotPanel*>(QStringLiteral("panelXafs"));
}

// Whether the panel's energy axis is labelled over low … high: at least two
// ticks, none outside the range and the margin around it, spanning most of it.
bool ticksSpan(const PlotPanel& panel, double low, double high) {
    const auto ticks = panel.energyTicks().values;
    const double margin = (high - low) / 10;
    return ticks.size() >= 2 && ticks.front() >= low - margin && ticks.back() <= high + margin &&
           ticks.back() - ticks.front() >= (high - low) / 2;
}

PlotPanel& namedPanel(const QWidget& dialog, const char* name) {
    return *dialog.findChild<PlotPanel*>(QString::fromLatin1(name));
}

// Every .DAT file of the work space with its text, to tell that nothing
// changed.
std::map<std::string, std::string> datFiles(const TempDir& dir) {
    std::map<std::string, std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().extension() == ".DAT") {
            out[entry.path().filename().string()] = readFile(entry.path());
        }
    }
    return out;
}

// Loads, finishes and computes at 7114 eV.
void computeOnPrepared(const CRIXSXAFS& dialog) {
    press(dialog, QStringLiteral("選択的XAFS読込"));
    press(dialog, QStringLiteral("修正終了！"));
    box(dialog, "editExcitation")->setText(QStringLiteral("7114"));
    press(dialog, QStringLiteral("RIXS計算実行"));
}

const char* const kEnabledButtons[] = {
    "選択的XAFS読込", "XAFSのクリア",     "表示変更",   "補正用ピーク表示",
    "XAFS修正",       "修正の一時保存",   "さらに修正", "修正終了！",
    "RIXS計算実行",   "RIXSのクリア",     "RIXSの保存", "実験値と比較",
    "クリア",         "別の実験値と比較", "シフト実行", "修正したXAFSの保存",
    "最適化",         "隣接平均",         "OK",         "キャンセル"};

}  // namespace

class RixsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithEveryControl();
    void loadChecksTheModeAndPaintsItsComponents_data();
    void loadChecksTheModeAndPaintsItsComponents();
    void clickSetsCentreAndExcitation();
    void peakShownThenGoneWithDisplayChange();
    void computeAndCompareDrawTheirCurvesAndTheRFactor();
    void draggedPeakMovesTheSpectrumAndRWritingOnlyAtTheEnd();
    void savesWriteTheChosenFileOrNothing_data();
    void savesWriteTheChosenFileOrNothing();
    void enterNeverClosesADialog_data();
    void enterNeverClosesADialog();
    void boxThatIsNoNumberIsRefusedByName_data();
    void boxThatIsNoNumberIsRefusedByName();
    void filesChangedOutsideAreRedrawnBeforeAButtonActs();
    void ctrlZUndoesAndCtrlShiftZRedoesTheLastStep();
};

void RixsDialogTest::opensWithEveryControl() {
    DialogFixture<CRIXSXAFS> opened([&](const TempDir& dir) { prepare(dir, 1); });
    QVERIFY(opened.open());
    CRIXSXAFS& dialog = opened.dialog();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("RIXSシミュレーション"));

    for (const char* caption : kEnabledButtons) {
        auto* button = buttonByCaption(dialog, QString::fromUtf8(caption));
        QVERIFY2(button && button->isVisible() && button->isEnabled(), caption);
    }
    for (const char* caption : {"画面回復", "計算値と比較"}) {
        auto* button = buttonByCaption(dialog, QString::fromUtf8(caption));
        QVERIFY2(button && button->isHidden(), caption);
    }
    auto* hint = childByText<QLabel>(dialog, QStringLiteral("画面が異常になったら押して下さい"));
    QVERIFY(hint && hint->isHidden());
    for (const char* text :
         {"選択的XAFS", "RIXS理論値", "RIXS実験値", "eV～", "eV", "表示モード", "中心エネルギー",
          "振幅", "幅", "励起エネルギー(eV)", "スケーリング因子", "吸収補正因子", "R因子(%)",
          "ZEPHALOからのメッセージ"}) {
        QVERIFY2(childByText<QLabel>(dialog, QString::fromUtf8(text)), text);
    }
    QStringList groups;
    for (auto* group : dialog.findChildren<QGroupBox*>()) groups << group->title();
    for (const char* title :
         {"表示範囲", "ピークの加減", "エネルギーシフト（±eV）", "最適化と平均"})
        QVERIFY2(groups.contains(QString::fromUtf8(title)), title);

    // Nothing checked, every box empty, every panel empty.
    for (const char* caption : {"A", "B", "A&B", "加算", "減算"}) {
        QVERIFY2(radio(dialog, caption) && !radio(dialog, caption)->isChecked(), caption);
    }
    for (auto* edit : dialog.findChildren<QLineEdit*>()) QVERIFY(edit->text().isEmpty());
    QVERIFY(box(dialog, "editRFactor")->isReadOnly());
    const auto panels = dialog.findChildren<PlotPanel*>();
    QCOMPARE(panels.size(), 3);
    for (auto* panel : panels) QCOMPARE(pixelsOf(*panel, kRed) + pixelsOf(*panel, kBlue), 0);

    // Large enough to read at the default size, and growing with the dialog.
    const QSize shown = xafsPanel(dialog).contentsRect().size();
    QVERIFY2(shown.width() >= 260 && shown.height() >= 260,
             qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
    dialog.resize(dialog.size() + QSize(200, 150));
    QTest::qWait(1);
    QVERIFY(xafsPanel(dialog).contentsRect().width() > shown.width());

    press(dialog, QStringLiteral("OK"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void RixsDialogTest::loadChecksTheModeAndPaintsItsComponents_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("blue");
    QTest::newRow("two components") << 1 << QStringLiteral("A&B") << true;
    QTest::newRow("one component") << 0 << QStringLiteral("A") << false;
}

void RixsDialogTest::loadChecksTheModeAndPaintsItsComponents() {
    QFETCH(int, mode);
    QFETCH(QString, checked);
    QFETCH(bool, blue);
    DialogFixture<CRIXSXAFS> opened([&](const TempDir& dir) { prepare(dir, mode); });
    QVERIFY(opened.open());
    CRIXSXAFS& dialog = opened.dialog();
    press(dialog, QStringLiteral("選択的XAFS読込"));

    QVERIFY(panelText(dialog).startsWith(
        QStringLiteral("　選択的XAFSスペクトル（理論値）を読み込みました。")));
    QCOMPARE(box(dialog, "editRangeMin")->text(), QStringLiteral("7100"));
    QCOMPARE(box(dialog, "editRangeMax")->text(), QStringLiteral("7140"));
    QCOMPARE(box(dialog, "editAbsorption")->text(), QStringLiteral("1.5"));
    QCOMPARE(box(dialog, "editScaling")->text(), QStringLiteral("2e-08"));
    QCOMPARE(box(dialog, "editShift")->text(), QStringLiteral("0"));
    QVERIFY(childByText<QRadioButton>(dialog, checked)->isChecked());
    PlotPanel& panel = xafsPanel(dialog);
    QVERIFY(ticksSpan(panel, 7100, 7140));
    QVERIFY(pixelsOf(panel, kRed) > 100);
    QCOMPARE(pixelsOf(panel, kBlue) > 100, blue);

    // The nine lines of the loading text fit the message panel whole.
    QVERIFY(messageFitsWhole(dialog));

    // The mode is read at every paint: another radio alone changes the picture.
    QTest::mouseClick(radio(dialog, "B"), Qt::LeftButton);
    QCOMPARE(pixelsOf(panel, kRed), 0);
    QVERIFY(pixelsOf(panel, kBlue) > 100);

    press(dialog, QStringLiteral("XAFSのクリア"));
    QCOMPARE(pixelsOf(panel, kBlue), 0);
    QCOMPARE(panelText(dialog), QStringLiteral("　XAFSスペクトルをクリアしました。"));
}

void RixsDialogTest::clickSetsCentreAndExcitation() {
    DialogFixture<CRIXSXAFS> opened([&](const TempDir& dir) { prepare(dir, 1); });
    QVERIFY(opened.open());
    CRIXSXAFS& dialog = opened.dialog();
    PlotPanel& panel = xafsPanel(dialog);

    // Before any load there is no window to map the click to.
    QTest::mouseClick(&panel, Qt::LeftButton, {}, pixelAt(panel, 0, 0));
    QVERIFY(box(dialog, "editPeakCentre")->text().isEmpty());
    QVERIFY(panelText(dialog).isEmpty());

    press(dialog, QStringLiteral("選択的XAFS読込"));
    // Logical X = 50 lies three quarters into 7100 .. 7140 eV.
    QTest::mouseClick(&panel, Qt::LeftButton, {}, pixelAt(panel, 50, 0));
    const QString centre = box(dialog, "editPeakCentre")->text();
    QCOMPARE(box(dialog, "editExcitation")->text(), centre);
    QVERIFY2(std::fabs(centre.toDouble() - 7130.0) < 1e-9, qPrintable(centre));
    QVERIFY(panelText(dialog).startsWith(QStringLiteral("　エネルギーが") + centre +
                                         QStringLiteral("eVに設定されました。")));

    // Outside -96 .. 96 the click changes nothing.
    const QString before = panelText(dialog);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, pixelAt(panel, 98, 0));
    QCOMPARE(box(dialog, "editPeakCentre")->text(), centre);
    QCOMPARE(panelText(dialog), before);
}

void RixsDialogTest::peakShownThenGoneWithDisplayChange() {
    DialogFixture<CRIXSXAFS> opened([&](const TempDir& dir) { prepare(dir, 1); });
    QVERIFY(opened.open());
    CRIXSXAFS& dialog = opened.dialog();
    const TempDir& dir = opened.dir();
    PlotPanel& panel = xafsPanel(dialog);
    press(dialog, QStringLiteral("選択的XAFS読込"));
    QTest::mouseClick(&panel, Qt::LeftButton, {}, pixelAt(panel, 0, 0));
    box(dialog, "editPeakAmplitude")->setText(QStringLiteral("2"));
    box(dialog, "editPeakWidth")->setText(QStringLiteral("2"));
    QTest::mouseClick(radio(dialog, "減算"), Qt::LeftButton);

    press(dialog, QStringLiteral("補正用ピーク表示"));
    QVERIFY(panelText(dialog).startsWith(QStringLiteral("　XAFS補正用のローレンツ関数を表示")));
    QVERIFY(messageFitsWhole(dialog));
    QVERIFY(pixelsOf(panel, kPink) > 20);
    QVERIFY(QFile::exists(QString::fromStdString((dir / "XAFSLorentz_Temp.DAT").string())));

    // A narrower window: the peak goes, the peak boxes and sign are reset.
    box(dialog, "editRangeMin")->setText(QStringLiteral("7110"));
    box(dialog, "editRangeMax")->setText(QStringLiteral("7130"));
    press(dialog, QStringLiteral("表示変更"));
    QVERIFY(panelText(dialog).startsWith(QStringLiteral("　表示を変更しました。")));
    QCOMPARE(pixelsOf(panel, kPink), 0);
    QVERIFY(pixelsOf(panel, kRed) > 100);
    QCOMPARE(box(dialog, "editPeakAmplitude")->text(), QStringLiteral("1.0"));
    QCOMPARE(box(dialog, "editPeakWidth")->text(), QStringLiteral("3.0"));
    QVERIFY(radio(dialog, "加算")->isChecked());
    QVERIFY(!radio(dialog, "減算")->isChecked());
    QVERIFY(ticksSpan(panel, 7110, 7130));

    // A reversed window is refused and leaves the panel empty.
    box(dialog, "editRangeMin")->setText(QStringLiteral("7130"));
    box(dialog, "editRangeMax")->setText(QStringLiteral("7110"));
    press(dialog, QStringLiteral("表示変更"));
    QVERIFY(panelText(dialog).startsWith(QStringLiteral("　入力が間違っています!")));
    QCOMPARE(pixelsOf(panel, kRed) + pixelsOf(panel, kBlue), 0);

    // "修正終了！" publishes the working copy for the RIXS calculation.
    box(dialog, "editRangeMin")->setText(QStringLiteral("7100"));
    box(dialog, "editRangeMax")->setText(QStringLiteral("7140"));
    press(dialog, QStringLiteral("修正終了！"));
    QVERIFY(pixelsOf(panel, kRed) > 100);
    QVERIFY(QFile::exists(QString::fromStdString((dir / "SelectiveXAFS_for_RIXS.DAT").string())));
}

void RixsDialogTest::computeAndCompareDrawTheirCurvesAndTheRFactor() {
    DialogFixture<CRIXSXAFS> opened([&](const TempDir& dir) { prepareForRixs(dir); });
    QVERIFY(opened.open());
    CRIXSXAFS& dialog = opened.dialog();
    const TempDir& dir = opened.dir();
    PlotPanel& theory = namedPanel(dialog, "panelTheory");
    PlotPanel& experiment = namedPanel(dialog, "panelExperiment");

    // Typing in the excitation box asks for the computation.
    QTest::keyClicks(box(dialog, "editExcitation"), QStringLiteral("7"));
    QVERIFY(panelText(dialog).startsWith(QStringLiteral("　励起エネルギー(eV)を入力後")));

    computeOnPrepared(dialog);
    QVERIFY2(
        panelText(dialog).startsWith(QStringLiteral("　計算したRIXSスペクトルを表示しました。")),
        qPrintable(panelText(dialog)));
    QVERIFY(pixelsOf(theory, kBlue) > 100);
    QVERIFY(ticksSpan(theory, 7020, 7065));
    QCOMPARE(pixelsOf(experiment, kBlue) + pixelsOf(experiment, kRed), 0);
    QVERIFY(box(dialog, "editRFactor")->text().isEmpty());

    // Written behind the window's back: the first press only redraws and
    // says so; the second compares.
    writeMeasuredFromCalculation(dir);
    press(dialog, QStringLiteral("実験値と比較"));
    QCOMPARE(panelText(dialog),
             zephalo::gui::toQt(zephalo::gui::widgets::captions::kChangedOutside));
    press(dialog, QStringLiteral("実験値と比較"));
    QVERIFY2(panelText(dialog).startsWith(QStringLiteral("　実験スペクトル（と計算スペクトル）を")),
             qPrintable(panelText(dialog)));
    QVERIFY(pixelsOf(experiment, kRed) > 100);
    QVERIFY(pixelsNear(experiment, kBlue) > 100);
    // The energies of the measured spectrum on its panel's axis.
    QVERIFY(ticksSpan(experiment, 7030, 7060));
    const QString shown = box(dialog, "editRFactor")->text();
    QVERIFY2(std::fabs(shown.toDouble() - 100.0 * 0.2 / 1.2) < 1e-3, qPrintable(shown));
    // Six significant digits.
    QCOMPARE(shown.size(), 7);

    // Without the calculation the experiment stays alone and no R factor.
    press(dialog, QStringLiteral("RIXSのクリア"));
    QCOMPARE(pixelsOf(theory, kBlue), 0);
    QCOMPARE(pixelsOf(experiment, kBlue), 0);
    QVERIFY(pixelsOf(experiment, kRed) > 100);
    QVERIFY(box(dialog, "editRFactor")->text().isEmpty());
    press(dialog, QStringLiteral("クリア"));
    QCOMPARE(pixelsOf(experiment, kRed), 0);

    // Another measured file, chosen in an open dialog, is compared with a
    // new calculation. It lives outside the work space: a new file there
    // is a change outside the window, which only redraws.
    const TempDir elsewhere;
    const std::filesystem::path other = elsewhere / "other.DAT";
    std::filesystem::copy_file(dir / "RIXSEXP.DAT", other);
    std::optional<FileChoice> asked;
    dialog.setFileChooser([&](FileChoice choice) -> std::optional<std::filesystem::path> {
        asked = choice;
        return other;
    });
    press(dialog, QStringLiteral("RIXS計算実行"));
    press(dialog, QStringLiteral("別の実験値と比較"));
    QVERIFY(asked == FileChoice::Open);
    QVERIFY(pixelsOf(experiment, kRed) > 100);
    QVERIFY(pixelsNear(experiment, kBlue) > 100);
    QVERIFY(!box(dialog, "editRFactor")->text().isEmpty());
}

void RixsDialogTest::draggedPeakMovesTheSpectrumAndRWritingOnlyAtTheEnd() {
    DialogFixture<CRIXSXAFS> opened([&](const TempDir& dir) { prepareForRixs(dir); });
    QVERIFY(opened.open());
    CRIXSXAFS& dialog = opened.dialog();
    const TempDir& dir = opened.dir();
    PlotPanel& panel = xafsPanel(dialog);
    PlotPanel& theory = namedPanel(dialog, "panelTheory");
    computeOnPrepared(dialog);
    writeMeasuredFromCalculation(dir);
    press(dialog, QStringLiteral("実験値と比較"));  // redraws: changed outside
    press(dialog, QStringLiteral("実験値と比較"));
    const QString rBefore = box(dialog, "editRFactor")->text();
    QVERIFY(!rBefore.isEmpty());
    // A peak at 7112 eV: logical X -40 on 7100 .. 7140 eV.
    box(dialog, "editPeakCentre")->setText(QStringLiteral("7112"));
    box(dialog, "editPeakAmplitude")->setText(QStringLiteral("0.3"));
    box(dialog, "editPeakWidth")->setText(QStringLiteral("1.5"));
    press(dialog, QStringLiteral("補正用ピーク表示"));
    const int pinkBefore = pixelsOf(theory, kPink);
    const auto before = datFiles(dir);

    QTest::mousePress(&panel, Qt::LeftButton, {}, pixelAt(panel, -40, 0));
    QTest::mouseMove(&panel, pixelAt(panel, -30, 20));
    QTest::mouseMove(&panel, pixelAt(panel, -20, 40));
    // The centre follows the cursor; R is the core's for the peak in the
    // boxes, and the calculated spectrum follows in the peak's colour.
    const double centre = box(dialog, "editPeakCentre")->text().toDouble();
    QVERIFY2(std::fabs(centre - 7116.0) < 0.3, qPrintable(box(dialog, "editPeakCentre")->text()));
    zephalo::core::rixs::LiveCorrection live;
    QVERIFY(live.prepare(Workspace(dir.path()), 7114.0));
    const auto r = live.update({centre, box(dialog, "editPeakAmplitude")->text().toDouble(), 1.5,
                                true, radio(dialog, "A&B")->isChecked(), false});
    QVERIFY(r);
    QCOMPARE(box(dialog, "editRFactor")->text(),
             zephalo::gui::toQt(zephalo::core::formatDigits(*r, 6)));
    QVERIFY(box(dialog, "editRFactor")->text() != rBefore);
    QVERIFY(pixelsOf(theory, kPink) > pinkBefore + 50);
    QVERIFY(datFiles(dir) == before);

    // The end of the drag records the peak as "補正用ピーク表示"; the live
    // R factor stays until the next step.
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, pixelAt(panel, -20, 40));
    auto after = datFiles(dir);
    QVERIFY(after.at("XAFSLorentz_Temp.DAT") != before.at("XAFSLorentz_Temp.DAT"));
    after.erase("XAFSLorentz_Temp.DAT");
    auto unchanged = before;
    unchanged.erase("XAFSLorentz_Temp.DAT");
    QVERIFY(after == unchanged);
    QCOMPARE(box(dialog, "editRFactor")->text(),
             zephalo::gui::toQt(zephalo::core::formatDigits(*r, 6)));
    press(dialog, QStringLiteral("XAFS修正"));
    QCOMPARE(pixelsOf(theory, kPink), 0);
}

void RixsDialogTest::savesWriteTheChosenFileOrNothing_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("head");
    QTest::addColumn<bool>("chosen");
    for (const bool chosen : {true, false}) {
        const char* tag = chosen ? "chosen" : "cancelled";
        QTest::addRow("RIXS %s", tag)
            << QStringLiteral("RIXSの保存") << QStringLiteral("Calculated_RIXS.DAT")
            << QStringLiteral("　RIXSスペクトル（計算値）を") << chosen;
        QTest::addRow("XAFS %s", tag)
            << QStringLiteral("修正したXAFSの保存") << QStringLiteral("SelectiveXAFS_for_RIXS.DAT")
            << QStringLiteral("　修正した選択的XAFSスペクトルを") << chosen;
    }
}

void RixsDialogTest::savesWriteTheChosenFileOrNothing() {
    QFETCH(QString, caption);
    QFETCH(QString, source);
    QFETCH(QString, head);
    QFETCH(bool, chosen);
    TempDir dir;
    prepareForRixs(dir);
    CRIXSXAFS dialog{Workspace(dir.path())};
    const std::filesystem::path target = dir / "saved.DAT";
    std::optional<FileChoice> asked;
    dialog.setFileChooser([&](FileChoice choice) -> std::optional<std::filesystem::path> {
        asked = choice;
        if (!chosen) return std::nullopt;
        return target;
    });
    computeOnPrepared(dialog);
    const QString before = panelText(dialog);

    press(dialog, caption);
    QVERIFY(asked == FileChoice::Save);
    QCOMPARE(std::filesystem::exists(target), chosen);
    if (chosen) {
        QCOMPARE(readFile(target), readFile(dir / source.toStdString()));
        QCOMPARE(panelText(dialog), head + QString::fromStdString(target.string()) +
                                        QStringLiteral("というファイル\r\nとして保存しました。"));
    } else {
        QCOMPARE(panelText(dialog), before);
    }
}

void RixsDialogTest::enterNeverClosesADialog_data() {
    QTest::addColumn<int>("which");
    int which = 0;
    for (const char* name :
         {"workbench", "xrf", "conventional xafs", "selective import", "average", "optimise"}) {
        QTest::newRow(name) << which++;
    }
}

void RixsDialogTest::enterNeverClosesADialog() {
    QFETCH(int, which);
    TempDir dir;
    prepare(dir, 1);
    const Workspace ws(dir.path());
    std::unique_ptr<QDialog> dialog;
    switch (which) {
        case 0:
            dialog = std::make_unique<CRIXSXAFS>(ws);
            break;
        case 1:
            dialog = std::make_unique<zephalo::gui::CXRF>(ws);
            break;
        case 2:
            dialog = std::make_unique<zephalo::gui::CConvXAFS>(ws);
            break;
        case 3:
            dialog = std::make_unique<zephalo::gui::CXAFSReading>(ws);
            break;
        case 4:
            dialog = std::make_unique<zephalo::gui::CAverage>(ws);
            break;
        default:
            dialog = std::make_unique<zephalo::gui::COptim>(ws);
            break;
    }
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    // Enter in a box, and on a focused button (OK included): the dialog
    // stays open and the focus moves on.
    QList<QWidget*> targets;
    for (auto* edit : dialog->findChildren<QLineEdit*>()) {
        if (edit->isVisible() && edit->isEnabled()) targets << edit;
    }
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("OK")) targets << button;
    }
    QVERIFY(!targets.isEmpty());
    for (QWidget* target : targets) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY2(dialog->isVisible(), qPrintable(target->objectName()));
        QCOMPARE(dialog->result(), 0);
    }
    auto* first = targets.front();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(dialog->focusWidget() != first);
}

void RixsDialogTest::boxThatIsNoNumberIsRefusedByName_data() {
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::newRow("shift") << "editShift"
                           << "シフト実行"
                           << "エネルギーシフト（±eV）";
    QTest::newRow("range") << "editRangeMin"
                           << "表示変更"
                           << "表示範囲（始め）";
    QTest::newRow("finish") << "editRangeMax"
                            << "修正終了！"
                            << "表示範囲（終わり）";
    QTest::newRow("peak width") << "editPeakWidth"
                                << "補正用ピーク表示"
                                << "幅";
    QTest::newRow("excitation") << "editExcitation"
                                << "RIXS計算実行"
                                << "励起エネルギー(eV)";
    QTest::newRow("scaling") << "editScaling"
                             << "RIXS計算実行"
                             << "スケーリング因子";
}

void RixsDialogTest::boxThatIsNoNumberIsRefusedByName() {
    QFETCH(QString, boxName);
    QFETCH(QString, button);
    QFETCH(QString, caption);
    TempDir dir;
    prepareForRixs(dir);
    CRIXSXAFS dialog{Workspace(dir.path())};
    dialog.show();
    press(dialog, QStringLiteral("選択的XAFS読込"));
    press(dialog, QStringLiteral("修正終了！"));
    box(dialog, "editExcitation")->setText(QStringLiteral("7114"));
    box(dialog, "editShift")->setText(QStringLiteral("1"));
    const auto before = datFiles(dir);
    dialog.findChild<QLineEdit*>(boxName)->setText(QStringLiteral("7l14"));
    press(dialog, button);
    const QString text = panelText(dialog);
    QVERIFY2(
        text.contains(QStringLiteral("ボックス「") + caption + QStringLiteral("」の値「7l14」")),
        qPrintable(text));
    QVERIFY(datFiles(dir) == before);
}

void RixsDialogTest::filesChangedOutsideAreRedrawnBeforeAButtonActs() {
    TempDir dir;
    prepare(dir, 1);
    CRIXSXAFS dialog{Workspace(dir.path())};
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    press(dialog, QStringLiteral("選択的XAFS読込"));
    const int drawn = pixelsOf(xafsPanel(dialog), kRed);
    QVERIFY(drawn > 100);

    // Another program halves the working copy behind the window's back.
    const auto working = dir / "SelectiveXAFS_for_RIXS_Temp.DAT";
    std::istringstream lines(readFile(working));
    std::string halved;
    for (double e = 0, a = 0, b = 0; lines >> e >> a >> b;) {
        halved += QString::number(e, 'g', 6).toStdString() + "\t" +
                  QString::number(a / 2, 'g', 6).toStdString() + "\t" +
                  QString::number(b / 2, 'g', 6).toStdString() + "\n";
    }
    writeFile(working, halved);

    // The next button does not act on it: the window says so and redraws.
    box(dialog, "editShift")->setText(QStringLiteral("1"));
    press(dialog, QStringLiteral("シフト実行"));
    QCOMPARE(panelText(dialog),
             zephalo::gui::toQt(zephalo::gui::widgets::captions::kChangedOutside));
    QCOMPARE(readFile(working), halved);
    QVERIFY(pixelsOf(xafsPanel(dialog), kRed) != drawn);

    // Pressed again, it acts on the files it now shows.
    press(dialog, QStringLiteral("シフト実行"));
    QVERIFY(
        panelText(dialog).startsWith(zephalo::gui::toQt(zephalo::core::rixs::texts::kShiftedText)));
    QVERIFY(readFile(working) != halved);
}

void RixsDialogTest::ctrlZUndoesAndCtrlShiftZRedoesTheLastStep() {
    TempDir dir;
    const Workspace ws(dir.path());
    QVERIFY(zephalo::core::runStep(ws, [&] { return zephalo::core::createWorkspace(ws); }).done);
    prepare(dir, 1);
    CRIXSXAFS dialog{ws};
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto working = dir / "SelectiveXAFS_for_RIXS_Temp.DAT";
    // The work space's creation seeds the working copy; the load replaces it.
    const std::string seeded = zephalo::test::readFile(working);
    press(dialog, QStringLiteral("選択的XAFS読込"));
    const std::string loaded = zephalo::test::readFile(working);
    QVERIFY(loaded != seeded);
    auto* undo = dialog.findChild<QPushButton*>(QStringLiteral("buttonUndo"));
    auto* redo = dialog.findChild<QPushButton*>(QStringLiteral("buttonRedo"));
    QVERIFY(undo->isEnabled() && undo->text().endsWith(QStringLiteral("選択的XAFS読込")));
    QVERIFY(!redo->isEnabled());

    // The keys act on the active window, outside an edit box (which takes
    // them for its own typing).
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    buttonByCaption(dialog, QStringLiteral("選択的XAFS読込"))->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(zephalo::test::readFile(working), seeded);
    // Redrawn from the files: nothing loaded any more.
    QCOMPARE(pixelsOf(xafsPanel(dialog), kRed), 0);
    QVERIFY(redo->isEnabled() && redo->text().endsWith(QStringLiteral("選択的XAFS読込")));

    QTest::keyClick(&dialog, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(zephalo::test::readFile(working), loaded);
    QVERIFY(!redo->isEnabled());
}

QTEST_MAIN(RixsDialogTest)
#include "rixs_dialog_test.moc"
