#include <QAction>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include <algorithm>

#include "core/plot/projection.h"
#include "gui/plot/plot_panel.h"
#include "test_support.h"

using zephalo::core::plot::Curve;
using zephalo::core::plot::Pen;
using zephalo::gui::PlotPanel;

// A panel whose logical square (inside its axes) is exactly 220 x 220
// pixels, so one logical unit is one pixel: logical (x, y) lies at pixel
// area.topLeft() + (110 + x, 110 - y) of the widget.
class PlotPanelTest : public QObject {
    Q_OBJECT

    QPoint m_origin;  // the pixel of logical (0, 0)

    QPoint pixelOf(int x, int y) const { return m_origin + QPoint(x, -y); }
    static bool isColour(QRgb pixel, QColor colour) { return QColor(pixel) == colour; }
    // The colour at a logical point, allowing one pixel of rounding.
    bool near(const QImage& image, int x, int y, QColor colour) const {
        const QPoint at = pixelOf(x, y);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (isColour(image.pixel(at.x() + dx, at.y() + dy), colour)) return true;
        return false;
    }
    // Pixels of `colour` in the column of logical x within the square.
    int countInColumn(const QImage& image, int x, QColor colour) const {
        int n = 0;
        for (int y = -110; y < 110; ++y)
            if (isColour(image.pixel(pixelOf(x, y)), colour)) ++n;
        return n;
    }

    const QColor kWhite{255, 255, 255};
    const QColor kBoxGrey{230, 230, 230};
    const QColor kGridGrey{100, 100, 100};
    const QColor kRed{255, 0, 0};
    const QColor kSkyBlue{0, 200, 255};

    // The axes take the same room at any size: the panel grows by what
    // they take until its square is 220 x 220.
    std::unique_ptr<PlotPanel> makePanel(std::vector<Curve> curves = {}) {
        auto panel = std::make_unique<PlotPanel>();
        panel->setCurves(std::move(curves));
        panel->setFixedSize(400, 400);
        panel->setFixedSize(QSize(620, 620) - panel->plotArea().size());
        panel->show();
        const QRect area = panel->plotArea();
        m_origin = area.topLeft() + QPoint(110, 110);
        return panel;
    }

private slots:
    void emptyPanelShowsBoxAndDottedGrid() {
        auto panel = makePanel();
        QCOMPARE(panel->plotArea().size(), QSize(220, 220));
        const QImage image = panel->grab().toImage();
        // White margin outside the box, light grey inside.
        QVERIFY(isColour(image.pixel(pixelOf(-105, 105)), kWhite));
        QVERIFY(isColour(image.pixel(pixelOf(105, -105)), kWhite));
        QVERIFY(isColour(image.pixel(pixelOf(25, 25)), kBoxGrey));
        QVERIFY(isColour(image.pixel(pixelOf(-75, -80)), kBoxGrey));
        // Black outline on all four sides.
        QVERIFY(near(image, -100, 25, Qt::black));
        QVERIFY(near(image, 100, -25, Qt::black));
        QVERIFY(near(image, 25, 100, Qt::black));
        QVERIFY(near(image, -25, -100, Qt::black));
        // Each grid line is dotted: grey dots with box-grey gaps along it.
        for (int at : {-50, 0, 50}) {
            int dots = 0, gaps = 0;
            for (int x = -95; x <= 95; ++x) {
                const QRgb p = image.pixel(pixelOf(x, at));
                dots += isColour(p, kGridGrey);
                gaps += isColour(p, kBoxGrey);
            }
            QVERIFY2(dots > 30 && gaps > 30, qPrintable(QString("row %1").arg(at)));
            QVERIFY(countInColumn(image, at, kGridGrey) > 30);
        }
        // Nothing is drawn between the grid lines.
        QCOMPARE(countInColumn(image, 25, kGridGrey), 0);
    }

    // A point above the window breaks the curve: the segments into and out of
    // it are missing, the rest is drawn.
    void curveBreaksWhereAPointLeavesTheWindow() {
        auto panel = makePanel();
        Curve curve;
        curve.x = {-90, -20, 0, 20, 90};
        curve.y = {20, 20, 150, 20, 20};
        curve.pen = Pen::Red;
        panel->setCurves({curve});
        const QImage image = panel->grab().toImage();
        QVERIFY(near(image, -60, 20, kRed));
        QVERIFY(near(image, 60, 20, kRed));
        for (int x = -15; x <= 15; ++x) QCOMPARE(countInColumn(image, x, kRed), 0);
        // Without the excursion the curve is one piece.
        curve.y[2] = 20;
        panel->setCurves({curve});
        const QImage joined = panel->grab().toImage();
        QVERIFY(near(joined, 0, 20, kRed));
        panel->clearCurves();
        QCOMPARE(countInColumn(panel->grab().toImage(), -60, kRed), 0);
    }

    void acceptedClickDrawsTheCursorUntilTheNextPaint() {
        auto panel = makePanel();
        QSignalSpy picked(panel.get(), &PlotPanel::picked);
        QTest::mouseClick(panel.get(), Qt::LeftButton, {}, pixelOf(30, 10));
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toInt(), 30);
        QCOMPARE(picked.at(0).at(1).toInt(), 10);
        const QImage withCursor = panel->grab().toImage();
        QVERIFY(countInColumn(withCursor, 30, kSkyBlue) > 30);
        QVERIFY(!isColour(withCursor.pixel(pixelOf(30, 100)), kSkyBlue));  // it ends at 95
        QCOMPARE(countInColumn(panel->grab().toImage(), 30, kSkyBlue), 0);

        // Outside the accepted square (|X| > 96): ignored.
        QTest::mouseClick(panel.get(), Qt::LeftButton, {}, pixelOf(100, 0));
        QTest::mouseClick(panel.get(), Qt::RightButton, {}, pixelOf(0, 0));
        QCOMPARE(picked.count(), 1);
        QCOMPARE(countInColumn(panel->grab().toImage(), 100, kSkyBlue), 0);
    }

    // At the full view a click picks the whole logical units of the panel's
    // own pixel mapping; zoomed in by 8, neighbouring pixels pick points 1/8
    // apart and the point under the wheel stays under it.
    void zoomedClicksPickFinerPoints() {
        auto panel = makePanel();
        QSignalSpy picked(panel.get(), &PlotPanel::picked);
        const QPoint pixels[] = {pixelOf(14, 0), pixelOf(-57, 33), pixelOf(96, -100)};
        for (const QPoint& at : pixels) {
            QTest::mouseClick(panel.get(), Qt::LeftButton, {}, at);
            const QPoint inArea = at - panel->plotArea().topLeft();
            const auto expected =
                zephalo::core::plot::logicalFromPixel(inArea.x(), inArea.y(), 220, 220);
            QCOMPARE(picked.last().at(0).toDouble(), double(expected.x));
            QCOMPARE(picked.last().at(1).toDouble(), double(expected.y));
        }
        QCOMPARE(picked.count(), 3);

        const QPoint cursor = pixelOf(14, 20);
        QWheelEvent wheel(QPointF(cursor), panel->mapToGlobal(QPointF(cursor)), {}, {0, 120 * 3},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(panel.get(), &wheel);
        QVERIFY(zephalo::test::near(panel->zoom(), 1.953125, 1e-12));
        panel->zoomAbout(QPointF(cursor), 8.0 / panel->zoom());
        QVERIFY(zephalo::test::near(panel->zoom(), 8.0, 1e-12));
        const QPointF fixed = panel->logicalAt(QPointF(cursor));
        QVERIFY(zephalo::test::near(fixed.x(), 14.0, 1e-9));
        QVERIFY(zephalo::test::near(fixed.y(), 20.0, 1e-9));

        picked.clear();
        for (int dx : {0, 1, 2, 5}) {
            QTest::mouseClick(panel.get(), Qt::LeftButton, {}, cursor + QPoint(dx, 0));
            QCOMPARE(picked.count(), 1);
            QVERIFY(zephalo::test::near(picked.last().at(0).toDouble(), 14.0 + dx / 8.0, 1e-9));
            picked.clear();
        }

        // A drag pans without picking: 16 pixels left moves the view 2 units right.
        QTest::mousePress(panel.get(), Qt::LeftButton, {}, cursor);
        QTest::mouseMove(panel.get(), cursor - QPoint(8, 0));
        QTest::mouseMove(panel.get(), cursor - QPoint(16, 0));
        QTest::mouseRelease(panel.get(), Qt::LeftButton, {}, cursor - QPoint(16, 0));
        QCOMPARE(picked.count(), 0);
        QVERIFY(zephalo::test::near(panel->logicalAt(QPointF(cursor)).x(), 16.0, 1e-9));

        // The context-menu action and a double click return to the full view.
        const auto actions = panel->actions();
        QCOMPARE(panel->contextMenuPolicy(), Qt::ActionsContextMenu);
        const auto full = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
            return action->text() == QStringLiteral("全体表示");
        });
        QVERIFY(full != actions.end());
        (*full)->trigger();
        QCOMPARE(panel->zoom(), 1.0);
        panel->zoomAbout(QPointF(cursor), 4.0);
        QTest::mouseDClick(panel.get(), Qt::LeftButton, {}, cursor);
        QCOMPARE(panel->zoom(), 1.0);
        QCOMPARE(panel->viewCentre(), QPointF());
    }

    // The energy axis labels what the square shows: at the full view the
    // range of the curve's frame, zoomed in its visible part in finer steps,
    // each tick drawn under the logical position of its energy.
    void ticksFollowAZoom() {
        struct Point {
            double e;
            double i;
        };
        const std::vector<Point> points{{7000, 0}, {7100, 1}, {7200, 0.5}};
        Curve curve = zephalo::core::plot::projectCurve(
            points, &Point::e, &Point::i, zephalo::core::plot::Range{7000, 7200, 0, 1}, Pen::Red);
        curve.name = "A";
        auto panel = makePanel({curve});
        const QColor axis(60, 60, 60);
        const auto checkTicks = [&](double low, double high, double step) {
            const auto ticks = panel->energyTicks();
            QVERIFY(ticks.values.size() >= 2);
            QVERIFY2(zephalo::test::near(ticks.step, step, 1e-12),
                     qPrintable(QString::number(ticks.step)));
            const QImage image = panel->grab().toImage();
            const int below = panel->plotArea().bottom() + 3;
            for (double value : ticks.values) {
                QVERIFY(value >= low && value <= high);
                // Logical X of the energy, at the zoom about the centre.
                const double logical = (value - 7100) / 200.0 * 200.0 * panel->zoom();
                const int column = pixelOf(static_cast<int>(std::lround(logical)), 0).x();
                QVERIFY2(isColour(image.pixel(column, below), axis) ||
                             isColour(image.pixel(column - 1, below), axis),
                         qPrintable(QString::number(value)));
            }
            QCOMPARE(panel->intensityTicks().values.empty(), false);
        };
        // Full view: logical -110 .. 110 is 6990 .. 7210 eV.
        checkTicks(6990, 7210, 100);
        panel->zoomAbout(QPointF(pixelOf(0, 0)), 8.0);
        // 220 / 8 logical units around 7100 eV: 7086.25 .. 7113.75 eV.
        checkTicks(7086.25, 7113.75, 10);
        panel->resetZoom();
        checkTicks(6990, 7210, 100);
    }
};

QTEST_MAIN(PlotPanelTest)
#include "plot_panel_test.moc"
