#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

#include "gui/plot/plot_panel.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui_test_support.h"

using zephalo::core::Workspace;
using zephalo::gui::CConvXAFS;
using zephalo::gui::PlotPanel;
using zephalo::test::buttonByCaption;
using zephalo::test::childByText;
using zephalo::test::panelText;
using zephalo::test::pixelAt;
using zephalo::test::pixelsOf;

namespace {

// A left click at logical (0, 0), the centre of the panel's client area.
void clickCentre(PlotPanel& plot) {
    QTest::mouseClick(&plot, Qt::LeftButton, {}, pixelAt(plot, 0, 0));
}

int redPixels(PlotPanel& plot) {
    return pixelsOf(plot, QColor(255, 0, 0));
}

}  // namespace

class ConvXafsDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Workspace> m_ws;

    void write(const char* name, const QByteArray& text) {
        QFile file(m_dir->filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray read(const char* name) {
        QFile file(m_dir->filePath(QString::fromUtf8(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_ws = std::make_unique<Workspace>(m_dir->path().toStdString());
        write("RIXS_Calculation_Parameters.DAT", "1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n");
        write("Conventional_XAFS.DAT", "7000\t0.5\n7050\t1\n7100\t2.5\n7150\t2.2\n7200\t2\n");
        write("SelectiveXAFS_for_Reading_Org.DAT", "-1\t0.5\t0.5\n-0.9\t1\t1\n");
    }

    void opensEmpty() {
        CConvXAFS dialog(*m_ws);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Conventional XAFS"));
        for (const char* caption : {"XAFS（吸収補正用）の読込", "XAFSスペクトルのクリア",
                                    "XAFS情報の確認", "XAFS情報・設定完了！", "OK", "キャンセル"}) {
            QVERIFY2(buttonByCaption(dialog, QString::fromUtf8(caption)), caption);
        }
        QVERIFY(childByText<QLabel>(dialog, QStringLiteral("吸収端を選択して下さい")));
        QVERIFY(childByText<QLabel>(dialog, QStringLiteral("内殻エネルギー(eV)")));
        auto* repaint = buttonByCaption(dialog, QStringLiteral("画面回復"));
        QVERIFY(repaint && repaint->isHidden());
        auto* hint =
            childByText<QLabel>(dialog, QStringLiteral("画面が異常になったら押して下さい"));
        QVERIFY(hint && hint->isHidden());
        QCOMPARE(dialog.findChild<QComboBox*>()->count(), 0);
        QVERIFY(dialog.findChild<QLineEdit*>()->text().isEmpty());
        QVERIFY(dialog.findChild<PlotPanel*>()->curves().empty());
    }

    void readSelectConfirmPick() {
        CConvXAFS dialog(*m_ws);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto& plot = *dialog.findChild<PlotPanel*>();
        auto& edges = *dialog.findChild<QComboBox*>();
        auto& box = *dialog.findChild<QLineEdit*>();

        // A click before any read is ignored.
        clickCentre(plot);
        QVERIFY(panelText(dialog).isEmpty());
        QCOMPARE(read("RIXS_Calculation_Parameters.DAT"),
                 QByteArray("1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n"));

        auto* readButton = buttonByCaption(dialog, QStringLiteral("XAFS（吸収補正用）の読込"));
        QTest::mouseClick(readButton, Qt::LeftButton);
        QVERIFY(
            panelText(dialog).startsWith(QStringLiteral("　XAFSスペクトル(吸収補正用)を読み込み")));
        QTest::mouseClick(readButton, Qt::LeftButton);
        QCOMPARE(edges.count(), 43);
        QCOMPARE(edges.currentIndex(), -1);
        QCOMPARE(edges.itemText(7), QStringLiteral("Fe K-edge"));
        QCOMPARE(plot.curves().size(), std::size_t{1});
        QVERIFY(childByText<QLabel>(dialog, QStringLiteral("7000 eV")));
        QVERIFY(childByText<QLabel>(dialog, QStringLiteral("7200 eV")));
        QVERIFY(redPixels(plot) > 0);
        QCOMPARE(read("ConvXAFS_MinMax.DAT"), QByteArray("7000\t7200\t0.2\t1\n"));

        auto* confirm = buttonByCaption(dialog, QStringLiteral("XAFS情報の確認"));
        edges.setCurrentIndex(7);
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(box.text(), QStringLiteral("7114"));
        QVERIFY(panelText(dialog).startsWith(
            QStringLiteral("　吸収端は Fe K-edge に設定されました。\r\n　内殻エネルギーは7114eV")));
        QCOMPARE(read("Emission_Exc_Energy.DAT"), QByteArray("7214"));

        edges.setCurrentIndex(8);
        QTest::mouseClick(confirm, Qt::LeftButton);
        QCOMPARE(read("RIXS_Calculation_Parameters.DAT"),
                 QByteArray("1.33\t7114\t7020\t7065\t0.1\t1\t7.9e-09\n"));

        clickCentre(plot);
        QCOMPARE(box.text(), QStringLiteral("7100"));
        QCOMPARE(
            panelText(dialog),
            QStringLiteral("　内殻エネルギーが7100eVに修正されました。\r\n「確認」して下さい。"));
        QCOMPARE(read("RIXS_Calculation_Parameters.DAT"),
                 QByteArray("1.33\t7100\t7020\t7065\t0.1\t1\t7.9e-09\n"));

        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFSスペクトルのクリア")),
                          Qt::LeftButton);
        QCOMPARE(box.text(), QStringLiteral("7709"));  // the selected edge, Co
        QVERIFY(plot.curves().empty());
        QCOMPARE(redPixels(plot), 0);
        QVERIFY(!childByText<QLabel>(dialog, QStringLiteral("7000 eV")));
        QCOMPARE(edges.count(), 43);

        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFS情報・設定完了！")),
                          Qt::LeftButton);
        QCOMPARE(panelText(dialog),
                 QStringLiteral(
                     "　シミュレーションに必要なXAFS関連のパラメーターが\r\n設定されました。\r\n"
                     "　「蛍光X線による設定」に進んで下さい。 "));
    }

    // On the demo's conventional XAFS (6911.8 to 8084.2 eV) a full-view click
    // lands only on energies about 5.9 eV apart; zoomed in fully the dialog
    // picks 7114 eV (the box shows five significant digits).
    void zoomedClickPicksBetweenTheFullViewsSteps() {
        QFile demo(QStringLiteral(ZEPHALO_SOURCE_DIR "/data/demo/Fe2O3_ConvXAFS.DAT"));
        QVERIFY(demo.open(QIODevice::ReadOnly));
        write("Conventional_XAFS.DAT", demo.readAll());
        CConvXAFS dialog(*m_ws);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto& plot = *dialog.findChild<PlotPanel*>();
        auto& box = *dialog.findChild<QLineEdit*>();
        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFS（吸収補正用）の読込")),
                          Qt::LeftButton);
        const QList<QByteArray> range = read("ConvXAFS_MinMax.DAT").split('\t');
        const double xmin = range.at(0).toDouble();
        const double xmax = range.at(1).toDouble();
        QVERIFY(xmax - xmin > 5 * 200);
        const double target = (7114 - xmin) * 200 / (xmax - xmin) - 100;  // logical X

        // Full view: the pixels around 7114 eV pick whole logical units only.
        for (int x = int(target) - 1; x <= int(target) + 2; ++x) {
            QTest::mouseClick(&plot, Qt::LeftButton, {}, pixelAt(plot, x, 0));
            QVERIFY(box.text() != QStringLiteral("7114"));
        }

        const QPoint near = pixelAt(plot, int(target), 0);
        plot.zoomAbout(QPointF(near), PlotPanel::kMaxZoom);
        QPoint best = near;
        for (int dx = -20; dx <= 20; ++dx) {
            const QPoint at = near + QPoint(dx, 0);
            if (std::fabs(plot.logicalAt(QPointF(at)).x() - target) <
                std::fabs(plot.logicalAt(QPointF(best)).x() - target)) {
                best = at;
            }
        }
        QTest::mouseClick(&plot, Qt::LeftButton, {}, best);
        QCOMPARE(box.text(), QStringLiteral("7114"));
    }

    void typedEnergyWinsAndClearKeepsItWithoutEdge() {
        CConvXAFS dialog(*m_ws);
        auto& box = *dialog.findChild<QLineEdit*>();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        box.setFocus();
        QTest::keyClicks(&box, QStringLiteral("7111.5"));
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(dialog.isVisible());  // Enter does not close the dialog
        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFS情報の確認")),
                          Qt::LeftButton);
        QVERIFY(panelText(dialog).startsWith(QStringLiteral(
            "　吸収端は  に設定されました。\r\n　内殻エネルギーは7111.5eV、寿命幅は1.25eV")));
        QCOMPARE(read("Emission_Exc_Energy.DAT"), QByteArray("7211.5"));
        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFSスペクトルのクリア")),
                          Qt::LeftButton);
        QCOMPARE(box.text(), QStringLiteral("7111.5"));
    }

    void refusalIsShown() {
        write("Conventional_XAFS.DAT", "7000\t0\n7100\t-1\n");
        CConvXAFS dialog(*m_ws);
        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFS（吸収補正用）の読込")),
                          Qt::LeftButton);
        QVERIFY(
            panelText(dialog).contains(QStringLiteral("全点で0以下のため、\r\n規格化できません")));
        QCOMPARE(dialog.findChild<QComboBox*>()->count(), 0);
        QVERIFY(!m_ws->exists("ConvXAFS_MinMax.DAT"));
    }
};

QTEST_MAIN(ConvXafsDialogTest)
#include "conv_xafs_dialog_test.moc"
