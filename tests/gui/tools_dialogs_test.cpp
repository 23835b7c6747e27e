#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <cmath>
#include <string>

#include "core/rixs/rixs_core.h"
#include "core/tools/average_model.h"
#include "core/tools/peak_optimisation.h"
#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/step.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/tools/average_dialog.h"
#include "gui/tools/fit_dialog.h"
#include "gui/tools/optim_dialog.h"
#include "gui_test_support.h"
#include "test_support.h"

using zephalo::core::Workspace;
using zephalo::gui::CAverage;
using zephalo::gui::COptim;
using zephalo::gui::CRIXSXAFS;
using zephalo::gui::fromQt;
using zephalo::gui::toQt;
using zephalo::test::buttonByCaption;
using zephalo::test::childByText;
using zephalo::test::DialogFixture;
using zephalo::test::panelText;
using zephalo::test::press;
using zephalo::test::readFile;
using zephalo::test::TempDir;
using zephalo::test::writeFile;
namespace texts = zephalo::core::tools::texts;

namespace {

QString number(double value) {
    return QString::number(value, 'g', 6);
}

// A selective XAFS from 7100 eV in `step` eV steps up to 7140 eV, a white
// line in A and a weaker, later one in B, as the working copy and as the RIXS
// core's input, with its energy range.
void prepareSelective(const TempDir& dir, double step) {
    std::string spectrum;
    for (int i = 0; 7100.0 + step * i <= 7140.0 + 1e-9; ++i) {
        const double e = 7100.0 + step * i;
        const double a = 0.2 + 0.8 / (1.0 + std::pow((e - 7115.0) / 2.0, 2));
        const double b = 0.1 + 0.5 / (1.0 + std::pow((e - 7125.0) / 3.0, 2));
        spectrum += (number(e) + "\t" + number(a) + "\t" + number(b) + "\n").toStdString();
    }
    writeFile(dir / "SelectiveXAFS_for_RIXS_Temp.DAT", spectrum);
    writeFile(dir / "SelectiveXAFS_for_RIXS.DAT", spectrum);
    writeFile(dir / "XAFS_MinMax.DAT", "7100\t7140\t0.1\t1\n");
}

// Everything the optimisation reads: the RIXS core's inputs with an emission
// grid of 7040 .. 7065 eV in 0.5 eV steps, and as the measured spectrum the
// calculated one with a ripple of a tenth, so that the R factor is near 6 %.
void prepareOptimisation(const TempDir& dir) {
    prepareSelective(dir, 0.5);
    writeFile(dir / "RIXS_Calculation_Parameters.DAT", "1.25\t7114\t7040\t7065\t0.5\t1.5\t2e-08\n");
    writeFile(dir / "RIXS_Calculation_Lorentz.DAT",
              "1\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n");
    writeFile(dir / "ConvXAFS_Norm_Spectrum.DAT", "7000\t0.1\n7100\t0.5\n7200\t1\n");
    const Workspace workspace(dir.path());
    QVERIFY(zephalo::core::rixs::calculateRixs(workspace, 7114.0).ok());
    zephalo::core::QuadSpectrum calculated;
    QVERIFY(workspace.read(zephalo::core::files::kCalculatedRixs, calculated).ok());
    QCOMPARE(calculated.size(), std::size_t{51});
    std::string measured;
    for (const auto& line : calculated) {
        const double ripple = 1.0 + 0.1 * std::sin(line.energy);
        measured += (number(line.energy) + "\t" + number(line.total * ripple) + "\n").toStdString();
    }
    writeFile(dir / "RIXSEXP.DAT", measured);
}

QLineEdit* box(const QWidget& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QStringList groupTitles(const QWidget& dialog) {
    QStringList titles;
    for (auto* group : dialog.findChildren<QGroupBox*>()) titles << group->title();
    return titles;
}

QStringList itemsOf(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
}

// The optimisation settings that differ from the dialog's defaults.
struct OptimiseCase {
    const char* start;
    const char* end;
    const char* step;
    const char* heightStep;
    int passItem;
};

void typeSettings(const COptim& dialog, const OptimiseCase& settings) {
    box(dialog, "editStart")->setText(QString::fromLatin1(settings.start));
    box(dialog, "editEnd")->setText(QString::fromLatin1(settings.end));
    box(dialog, "editStep")->setText(QString::fromLatin1(settings.step));
    box(dialog, "editHeightStep")->setText(QString::fromLatin1(settings.heightStep));
    box(dialog, "editOmega")->setText(QStringLiteral("7114"));
    dialog.findChild<QComboBox*>()->setCurrentIndex(settings.passItem);
}

QString firstLine(const std::string& text) {
    return toQt(text).section(QStringLiteral("\r\n"), 0, 0);
}

}  // namespace

class ToolsDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void averageOpensAndRewritesTheWorkingCopy();
    void optimOpensWithItsSettings();
    void optimRunsOnAWorkerToTheEnd();
    void optimStopsBetweenPositions_data();
    void optimStopsBetweenPositions();
    void fitRunsOnAWorkerAsOneStep();
    void workbenchOpensEachTool_data();
    void workbenchOpensEachTool();
};

void ToolsDialogsTest::averageOpensAndRewritesTheWorkingCopy() {
    TempDir dir;
    prepareSelective(dir, 0.5);
    const std::string before = readFile(dir / "SelectiveXAFS_for_RIXS_Temp.DAT");
    CAverage dialog{Workspace(dir.path())};
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Average"));
    QVERIFY(groupTitles(dialog).contains(QStringLiteral("エネルギー範囲")));
    for (const char* caption : {"平均開始エネルギー", "平均終了エネルギー", "隣接データ数"}) {
        QVERIFY2(childByText<QLabel>(dialog, QString::fromUtf8(caption)), caption);
    }
    for (const char* caption : {"平均開始", "OK", "キャンセル"}) {
        QVERIFY2(buttonByCaption(dialog, QString::fromUtf8(caption)), caption);
    }
    QVERIFY(dialog.findChild<QProgressBar*>());
    auto* items = dialog.findChild<QComboBox*>();
    QCOMPARE(itemsOf(*items), (QStringList{QStringLiteral("5点平均"), QStringLiteral("9点平均"),
                                           QStringLiteral("15点平均")}));
    QCOMPARE(items->currentIndex(), -1);
    QCOMPARE(box(dialog, "editStart")->text(), QStringLiteral("7100"));
    QCOMPARE(box(dialog, "editEnd")->text(), QStringLiteral("7140"));
    QCOMPARE(panelText(dialog), toQt(texts::kAverageOpenText));

    // No item chosen: refused, the file as it was.
    press(dialog, QStringLiteral("平均開始"));
    QCOMPARE(panelText(dialog), toQt(texts::kAverageErrorText));
    QCOMPARE(readFile(dir / "SelectiveXAFS_for_RIXS_Temp.DAT"), before);

    // The whole range with "9点平均": the file rewritten, the bar at its end.
    items->setCurrentIndex(1);
    press(dialog, QStringLiteral("平均開始"));
    QCOMPARE(panelText(dialog), toQt(texts::averageDoneText("7100", "7140", "9点平均", 0, 80)));
    QVERIFY(readFile(dir / "SelectiveXAFS_for_RIXS_Temp.DAT") != before);
    auto* progress = dialog.findChild<QProgressBar*>();
    QCOMPARE(progress->maximum(), 80);
    QCOMPARE(progress->value(), 80);

    press(dialog, QStringLiteral("キャンセル"));
    QVERIFY(!dialog.isVisible());
}

void ToolsDialogsTest::optimOpensWithItsSettings() {
    DialogFixture<COptim> opened([&](const TempDir& dir) { prepareSelective(dir, 0.5); });
    QVERIFY(opened.open());
    COptim& dialog = opened.dialog();

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Optimization"));
    const QStringList groups = groupTitles(dialog);
    QVERIFY(groups.contains(QStringLiteral("エネルギー設定")));
    QVERIFY(groups.contains(QStringLiteral("ピークパラメーター設定")));
    const struct {
        const char* caption;
        const char* name;
        const char* initial;
    } settings[] = {
        {"最適化開始エネルギー", "editStart", "7100"},
        {"最適化終了エネルギー", "editEnd", "7140"},
        {"最適化ステップエネルギー", "editStep", "1.0"},
        {"ピーク高さ", "editHeight", "0.05"},
        {"ピーク幅", "editWidth", "1.0"},
        {"ピーク高さの変動上限", "editLimit", "0.05"},
        {"ピーク高さの変動ステップ", "editHeightStep", "0.005"},
        {"RIXS測定時の励起エネルギー", "editOmega", "0.0"},
        {"選択的XAFSの成分数", "editComponents", ""},
        {"最終R因子", "editRFactor", ""},
    };
    for (const auto& setting : settings) {
        auto* label = childByText<QLabel>(dialog, QString::fromUtf8(setting.caption));
        QVERIFY2(label && label->buddy() == box(dialog, setting.name), setting.caption);
        QCOMPARE(box(dialog, setting.name)->text(), QString::fromUtf8(setting.initial));
    }
    QVERIFY(box(dialog, "editRFactor")->isReadOnly());
    QVERIFY(childByText<QLabel>(dialog, QStringLiteral("最適化回数")));
    auto* passes = dialog.findChild<QComboBox*>();
    QCOMPARE(itemsOf(*passes),
             (QStringList{QStringLiteral("1回"), QStringLiteral("2回"), QStringLiteral("3回")}));
    QCOMPARE(passes->currentIndex(), -1);
    QCOMPARE(panelText(dialog), toQt(texts::kOptimiseOpenText));
    QVERIFY(buttonByCaption(dialog, QStringLiteral("最適化"))->isEnabled());
    QVERIFY(!buttonByCaption(dialog, QStringLiteral("中止"))->isEnabled());

    // Nothing chosen in "最適化回数" and Ω at 0: refused at once.
    QSignalSpy ended(&dialog, &COptim::runEnded);
    press(dialog, QStringLiteral("最適化"));
    QVERIFY(ended.count() == 1 || ended.wait(10000));
    QVERIFY(panelText(dialog).startsWith(toQt(texts::kOptimiseErrorText)));
    QVERIFY(!dialog.running());
    QVERIFY(buttonByCaption(dialog, QStringLiteral("OK"))->isEnabled());
}

void ToolsDialogsTest::optimRunsOnAWorkerToTheEnd() {
    DialogFixture<COptim> opened([&](const TempDir& dir) { prepareOptimisation(dir); });
    QVERIFY(opened.open());
    COptim& dialog = opened.dialog();
    typeSettings(dialog, {"7110", "7113", "1", "0.005", 0});

    QSignalSpy ended(&dialog, &COptim::runEnded);
    press(dialog, QStringLiteral("最適化"));
    // The click has returned before the run's end reached this thread.
    QVERIFY(dialog.running());
    QCOMPARE(ended.count(), 0);
    QVERIFY(!buttonByCaption(dialog, QStringLiteral("最適化"))->isEnabled());
    QVERIFY(!buttonByCaption(dialog, QStringLiteral("OK"))->isEnabled());
    QVERIFY(buttonByCaption(dialog, QStringLiteral("中止"))->isEnabled());
    QVERIFY(ended.wait(30000));

    QCOMPARE(box(dialog, "editComponents")->text(), QStringLiteral("2"));
    bool isNumber = false;
    const double r = box(dialog, "editRFactor")->text().toDouble(&isNumber);
    QVERIFY2(isNumber && std::isfinite(r) && r >= 0.0,
             qPrintable(box(dialog, "editRFactor")->text()));
    // The message tells the R factor before the run and after it, as the box.
    const QString message = panelText(dialog);
    QVERIFY(message.startsWith(toQt(texts::optimiseDoneText("7110", "7113", "1回"))));
    const QRegularExpressionMatch change =
        QRegularExpression(QStringLiteral("R因子は (\\S+) % から (\\S+) % になりました"))
            .match(message);
    QVERIFY2(change.hasMatch(), qPrintable(message));
    QCOMPARE(change.captured(2), box(dialog, "editRFactor")->text());
    QVERIFY(change.captured(1).toDouble() >= r);
    QCOMPARE(dialog.findChild<QProgressBar*>()->maximum(), 2);
    QVERIFY(buttonByCaption(dialog, QStringLiteral("最適化"))->isEnabled());
    QVERIFY(!buttonByCaption(dialog, QStringLiteral("中止"))->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // Closed now, the workbench would tell the R factor the run reached.
    QCOMPARE(toQt(dialog.closedText()),
             toQt(std::string(texts::kOptimiseClosedText) +
                  texts::optimiseClosedRLine(fromQt(box(dialog, "editRFactor")->text()))));
}

void ToolsDialogsTest::optimStopsBetweenPositions_data() {
    QTest::addColumn<bool>("byClosing");
    QTest::newRow("中止") << false;
    QTest::newRow("closing the dialog") << true;
}

void ToolsDialogsTest::optimStopsBetweenPositions() {
    QFETCH(bool, byClosing);
    TempDir dir;
    // Three passes of 400 positions and 2000 heights: far longer than the
    // test waits before stopping it.
    prepareOptimisation(dir);
    COptim dialog{Workspace(dir.path())};
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeSettings(dialog, {"7100", "7140", "0.1", "0.0007", 2});  // 170,400 trials: within the bound

    QSignalSpy ended(&dialog, &COptim::runEnded);
    press(dialog, QStringLiteral("最適化"));
    // The bar moves while this thread is free, and the run holds the work
    // space: a step of anyone else is refused meanwhile.
    auto* progress = dialog.findChild<QProgressBar*>();
    QTRY_VERIFY_WITH_TIMEOUT(progress->maximum() == 399, 10000);
    QCOMPARE(panelText(dialog), toQt(texts::kOptimiseRunningText));
    const auto other = zephalo::core::runStep(
        Workspace(dir.path()), [] { return zephalo::core::Report::success("ran"); },
        std::chrono::milliseconds(0));
    QVERIFY(!other.done);
    QCOMPARE(ended.count(), 0);

    if (byClosing) {
        dialog.reject();
    } else {
        press(dialog, QStringLiteral("中止"));
    }
    QVERIFY(ended.count() == 1 || ended.wait(30000));
    QVERIFY2(panelText(dialog).startsWith(firstLine(texts::optimiseStoppedText(1, "7100"))),
             qPrintable(panelText(dialog)));
    // The workbench then says what was kept, either way it was stopped.
    QVERIFY(toQt(dialog.closedText())
                .startsWith(toQt(texts::optimiseClosedAfterStopText(fromQt(panelText(dialog))))));
    // The core's input is restored from the backup.
    QCOMPARE(readFile(dir / "SelectiveXAFS_for_RIXS.DAT"),
             readFile(dir / "SelectiveXAFS_for_RIXS_Saving.DAT"));
    QVERIFY(!dialog.running());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    if (byClosing) {
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        return;
    }
    // Still usable: the settings and buttons back, OK closes.
    QVERIFY(dialog.isVisible());
    QVERIFY(box(dialog, "editStart")->isEnabled());
    QVERIFY(buttonByCaption(dialog, QStringLiteral("最適化"))->isEnabled());
    QVERIFY(!buttonByCaption(dialog, QStringLiteral("中止"))->isEnabled());
    press(dialog, QStringLiteral("OK"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

// The boxes reach the fit, which runs on the worker and writes the working
// copy and the band in one step.
void ToolsDialogsTest::fitRunsOnAWorkerAsOneStep() {
    DialogFixture<zephalo::gui::CFit> opened([&](const TempDir& dir) { prepareOptimisation(dir); });
    QVERIFY(opened.open());
    zephalo::gui::CFit& dialog = opened.dialog();
    const std::string before = readFile(opened.dir() / "SelectiveXAFS_for_RIXS_Temp.DAT");
    box(dialog, "editOmega")->setText(QStringLiteral("7114"));
    box(dialog, "editFrom")->setText(QStringLiteral("7105"));
    box(dialog, "editTo")->setText(QStringLiteral("7125"));
    box(dialog, "editSmoothing")->setText(QStringLiteral("0.1"));
    box(dialog, "editBand")->setText(QStringLiteral("3"));
    QSignalSpy ended(&dialog, &zephalo::gui::CFit::runEnded);
    press(dialog, QStringLiteral("フィット"));
    QVERIFY(ended.count() == 1 || ended.wait(30000));
    QVERIFY2(panelText(dialog).startsWith(toQt(texts::fitDoneText("7105", "7125", "0.1"))),
             qPrintable(panelText(dialog)));
    QCOMPARE(dialog.findChild<QProgressBar*>()->maximum(), 4);
    QVERIFY(readFile(opened.dir() / "SelectiveXAFS_for_RIXS_Temp.DAT") != before);
    QVERIFY(!readFile(opened.dir() / "SelectiveXAFS_Fit_Band_A.DAT").empty());
    QVERIFY(buttonByCaption(dialog, QStringLiteral("OK"))->isEnabled());
    // A box that is not a number is refused before anything runs.
    box(dialog, "editBand")->setText(QStringLiteral("x"));
    press(dialog, QStringLiteral("フィット"));
    QVERIFY(!dialog.running());
    QVERIFY(panelText(dialog).contains(toQt(texts::kFitBandBox)));
}

void ToolsDialogsTest::workbenchOpensEachTool_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("隣接平均") << QStringLiteral("隣接平均") << QStringLiteral("Average")
                              << toQt(texts::kAverageClosedText);
    // Closed without a run: the message says where the new R factor shows.
    QTest::newRow("最適化") << QStringLiteral("最適化") << QStringLiteral("Optimization")
                            << toQt(std::string(texts::kOptimiseClosedText) +
                                    std::string(texts::kOptimiseClosedHowTo));
    QTest::newRow("フィット") << QStringLiteral("フィット") << QStringLiteral("フィット")
                              << toQt(texts::kFitClosedText);
}

void ToolsDialogsTest::workbenchOpensEachTool() {
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(QString, message);
    TempDir dir;
    prepareSelective(dir, 0.5);
    CRIXSXAFS workbench{Workspace(dir.path())};
    workbench.show();
    QVERIFY(QTest::qWaitForWindowExposed(&workbench));

    // The tool opens modally; closing it by either button leaves the
    // workbench's message.
    // The optimisation opens with the workbench's excitation energy.
    workbench.findChild<QLineEdit*>(QStringLiteral("editExcitation"))
        ->setText(QStringLiteral("7114"));
    QString opened;
    QString omega;
    QTimer::singleShot(0, &workbench, [&opened, &omega] {
        if (auto* tool = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = tool->windowTitle();
            if (auto* box = tool->findChild<QLineEdit*>(QStringLiteral("editOmega")))
                omega = box->text();
            tool->reject();
        }
    });
    press(workbench, caption);
    QCOMPARE(opened, title);
    if (caption == QStringLiteral("最適化")) QCOMPARE(omega, QStringLiteral("7114"));
    QCOMPARE(panelText(workbench), message);
}

QTEST_MAIN(ToolsDialogsTest)
#include "tools_dialogs_test.moc"
