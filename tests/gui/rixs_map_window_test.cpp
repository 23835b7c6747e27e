#include <qcustomplot.h>
#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <string>

#include "core/plot/series.h"
#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "gui/plot/export_captions.h"
#include "gui/plot/plot_export.h"
#include "gui/rixs/map_captions.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/rixs/rixs_map_window.h"
#include "gui_test_support.h"
#include "test_support.h"

using zephalo::core::Workspace;
using zephalo::gui::CRIXSXAFS;
using zephalo::gui::ExportFormat;
using zephalo::gui::ExportTarget;
using zephalo::gui::PlotExporter;
using zephalo::gui::RixsMapWindow;
using zephalo::gui::toQt;
using zephalo::test::near;
using zephalo::test::TempDir;
using zephalo::test::writeFile;
namespace captions = zephalo::gui::rixs::captions;

namespace {

// The RIXS core's inputs: a selective XAFS of 7100 .. 7140 eV with a white
// line, the default final-state lines and an emission grid of 7040 .. 7065 eV.
void prepareInputs(const TempDir& dir) {
    std::string spectrum;
    for (int i = 0; i <= 200; ++i) {
        const double e = 7100.0 + 0.2 * i;
        const double a = 0.2 + 0.8 / (1.0 + std::pow((e - 7115.0) / 2.0, 2));
        const double b = 0.1 + 0.5 / (1.0 + std::pow((e - 7125.0) / 3.0, 2));
        spectrum += QStringLiteral("%1\t%2\t%3\n").arg(e).arg(a).arg(b).toStdString();
    }
    writeFile(dir / "SelectiveXAFS_for_RIXS.DAT", spectrum);
    writeFile(dir / "RIXS_Calculation_Parameters.DAT", "1.25\t7114\t7040\t7065\t0.5\t1.5\t2e-08\n");
    writeFile(dir / "RIXS_Calculation_Lorentz.DAT",
              "1\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n");
    writeFile(dir / "ConvXAFS_Norm_Spectrum.DAT", "7000\t0.1\n7100\t0.5\n7200\t1\n");
}

// Distinct colours inside the map's axis rectangle.
int coloursOfMap(QCustomPlot& plot) {
    plot.replot();
    const QImage image = plot.grab().toImage();
    const QRect inside = plot.axisRect()->rect().adjusted(2, 2, -2, -2);
    QSet<QRgb> colours;
    for (int y = inside.top(); y < inside.bottom(); y += 3) {
        for (int x = inside.left(); x < inside.right(); x += 3) {
            if (image.rect().contains(x, y)) colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

// The pixel of the map at (x in the current axis, Ω).
QPoint pixelOf(const QCustomPlot& plot, double x, double omega) {
    return QPoint(static_cast<int>(std::lround(plot.xAxis->coordToPixel(x))),
                  static_cast<int>(std::lround(plot.yAxis->coordToPixel(omega))));
}

}  // namespace

class RixsMapWindowTest : public QObject {
    Q_OBJECT
private slots:
    void workbenchButtonOpensTheMapAtTheTypedExcitation();
    void drawsTheMapAndTheCutsFollowAClick();
    void comparesWithTheMeasuredMapAndDrawsTheDifference();
};

void RixsMapWindowTest::workbenchButtonOpensTheMapAtTheTypedExcitation() {
    TempDir dir;
    prepareInputs(dir);
    CRIXSXAFS dialog{Workspace(dir.path())};
    dialog.findChild<QLineEdit*>(QStringLiteral("editExcitation"))->setText("7114");
    zephalo::test::press(dialog, toQt(captions::kMapButton));
    auto* window = dialog.findChild<RixsMapWindow*>();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    // The range opens around the measured Ω.
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("editFrom"))->text(), "7099");
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("editTo"))->text(), "7129");
    window->close();
}

void RixsMapWindowTest::drawsTheMapAndTheCutsFollowAClick() {
    TempDir dir;
    prepareInputs(dir);
    RixsMapWindow window(Workspace(dir.path()), 7114.0);
    window.findChild<QLineEdit*>(QStringLiteral("editFrom"))->setText("7105");
    window.findChild<QLineEdit*>(QStringLiteral("editTo"))->setText("7125");
    window.findChild<QLineEdit*>(QStringLiteral("editStep"))->setText("0.5");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy ended(&window, &RixsMapWindow::computeEnded);
    window.startCompute();
    QVERIFY(ended.count() == 1 || ended.wait(20000));
    const auto& plane = window.plane();
    QCOMPARE(plane.excitation.size(), std::size_t{41});
    QCOMPARE(plane.emission.size(), std::size_t{51});

    QCustomPlot& map = *window.mapPlot();
    QVERIFY2(coloursOfMap(map) > 20, "the map shows no colour image");

    struct Click {
        bool transfer;
        double omega;
        double emission;
    };
    for (const Click click : {Click{false, 7112.0, 7050.0}, Click{true, 7120.5, 7058.0}}) {
        window
            .findChild<QRadioButton*>(click.transfer ? QStringLiteral("radioTransfer")
                                                     : QStringLiteral("radioEmission"))
            ->setChecked(true);
        map.replot();
        const double x = click.transfer ? click.omega - click.emission : click.emission;
        const QPoint at = pixelOf(map, x, click.omega);
        QTest::mouseMove(&map, at);
        QTest::mouseClick(&map, Qt::LeftButton, Qt::NoModifier, at);
        const auto cut = window.cutPoint();
        QVERIFY(cut);
        const auto [row, column] = *cut;
        QVERIFY(std::fabs(plane.excitation[row] - click.omega) <= 0.25);
        QVERIFY(std::fabs(plane.emission[column] - click.emission) <= 0.25);
        // The spectrum cut is that row over ω (or Ω − ω), the other that column over Ω.
        const auto spectrum = window.spectrumCutPlot()->graph(0)->data();
        const auto excitation = window.excitationCutPlot()->graph(0)->data();
        QCOMPARE(spectrum->size(), static_cast<int>(plane.emission.size()));
        QCOMPARE(excitation->size(), static_cast<int>(plane.excitation.size()));
        for (std::size_t c = 0; c < plane.emission.size(); c += 10) {
            const double expectedX =
                click.transfer ? plane.excitation[row] - plane.emission[c] : plane.emission[c];
            const auto point = spectrum->findBegin(expectedX, false);
            QVERIFY(near(point->key, expectedX, 1e-12));
            QVERIFY(near(point->value, plane.at(row, c), 1e-12));
        }
        for (std::size_t r = 0; r < plane.excitation.size(); r += 8) {
            const auto point = excitation->findBegin(plane.excitation[r], false);
            QVERIFY(near(point->value, plane.at(r, column), 1e-12));
        }
        // Fixed: moving on does not move the cuts; the next click frees them.
        QTest::mouseMove(&map, at + QPoint(40, -40));
        QCOMPARE(window.cutPoint(), cut);
        QTest::mouseClick(&map, Qt::LeftButton, Qt::NoModifier, at + QPoint(40, -40));
        QVERIFY(window.cutPoint() != cut);
    }

    // Every plot offers both saves; the data of a cut reads back to its
    // curve, that of the map to one block per Ω row.
    struct Saved {
        QCustomPlot* plot;
        std::size_t blocks;
    };
    for (const Saved saved :
         {Saved{window.spectrumCutPlot(), 1}, Saved{window.excitationCutPlot(), 1},
          Saved{&map, plane.excitation.size()}}) {
        auto* exporter = saved.plot->findChild<PlotExporter*>();
        QVERIFY(exporter);
        QCOMPARE(saved.plot->contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(saved.plot->actions().contains(exporter->imageAction()));
        QVERIFY(saved.plot->actions().contains(exporter->dataAction()));
        const auto file = dir / (saved.plot->objectName().toStdString() + ".txt");
        exporter->setChooser([file](QWidget*, bool image) {
            return image ? std::nullopt : std::optional(ExportTarget{file, ExportFormat::Data});
        });
        exporter->dataAction()->trigger();
        QFile text(QString::fromStdString(file.string()));
        QVERIFY(text.open(QIODevice::ReadOnly));
        std::vector<zephalo::core::plot::Series> series;
        const auto status =
            zephalo::core::plot::parseSeries(text.readAll().toStdString(), "saved", series);
        QVERIFY2(status.ok(), status.error().c_str());
        QCOMPARE(series.size(), saved.blocks);
        if (saved.plot == &map) {
            for (std::size_t r = 0; r < series.size(); r += 10) {
                QCOMPARE(series[r].x.size(), plane.emission.size());
                for (std::size_t c = 0; c < plane.emission.size(); c += 7) {
                    QVERIFY(near(series[r].x[c], plane.emission[c], 1e-6));
                    QVERIFY(near(series[r].y[c], plane.at(r, c), 1e-5));
                }
            }
            continue;
        }
        const auto curve = saved.plot->graph(0)->data();
        QCOMPARE(static_cast<int>(series[0].x.size()), curve->size());
        // The curve keeps its points sorted by key; the file lists them as computed.
        for (std::size_t i = 0; i < series[0].x.size(); ++i) {
            const auto point = curve->findBegin(series[0].x[i], false);
            QVERIFY(near(series[0].x[i], point->key, 1e-6));
            QVERIFY(near(series[0].y[i], point->value, 1e-5));
        }
    }
}

// The measured map on every other emission energy of the calculation: the
// difference is measured − calculated on the paired cells and blank between.
void RixsMapWindowTest::comparesWithTheMeasuredMapAndDrawsTheDifference() {
    TempDir dir;
    prepareInputs(dir);
    std::string map;
    for (const double omega : {7112.0, 7114.0, 7116.0}) {
        for (int k = 0; k < 25; ++k) {
            map += QStringLiteral("%1\t%2\t%3\n")
                       .arg(omega)
                       .arg(7040 + k)
                       .arg(1e-3 * (1.0 + 0.1 * k))
                       .toStdString();
        }
    }
    writeFile(dir / "RIXSEXP_Map.DAT", map);
    RixsMapWindow window(Workspace(dir.path()), std::nullopt);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy ended(&window, &RixsMapWindow::computeEnded);
    window.startCompare();
    QVERIFY(ended.count() == 1 || ended.wait(20000));

    const auto& panels = window.comparisonPanels();
    QVERIFY(!panels.empty());
    QVERIFY(panels.differencePlot()->isVisible());
    const auto& plane = window.plane();
    QCOMPARE(plane.excitation, (std::vector<double>{7112.0, 7114.0, 7116.0}));
    const auto image = panels.differenceImage();
    QCOMPARE(image.rows, std::size_t{3});
    QCOMPARE(image.columns, std::size_t{51});
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 51; ++c) {
            // Measured at 7040 … 7064 eV in 1 eV steps; the grid runs to 7065 eV.
            if (c % 2 == 1 || c == 50) {
                QVERIFY(std::isnan(image.at(r, c)));
                continue;
            }
            const double measured = 1e-3 * (1.0 + 0.1 * static_cast<double>(c / 2));
            const double calculated = zephalo::core::storedValue(plane.at(r, c));
            QVERIFY(near(image.at(r, c), measured - calculated, 1e-12, 1e-18));
        }
    }
    QVERIFY2(coloursOfMap(*panels.differencePlot()) > 3, "the difference map shows no colours");
    QCOMPARE(panels.rPlot()->graph(0)->data()->size(), 3);
}

QTEST_MAIN(RixsMapWindowTest)
#include "rixs_map_window_test.moc"
