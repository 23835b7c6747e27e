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

// A panel whose client area is exactly 220 x 220 pixels, so one logical unit
// is one pixel: logical (x, y) lies at pixel (111 + x, 111 - y) of the widget
// (one pixel of frame).
class PlotPanelTest : public QObject {
    Q_OBJECT

    static QPoint pixelOf(int x, int y) { return {111 + x, 111 - y}; }
    static bool isColour(QRgb pixel, QColor colour) { return QColor(pixel) == colour; }
    // The colour at a logical point, allowing one pixel of rounding.
    static bool near(const QImage& image, int x, int y, QColor colour) {
        const QPoint at = pixelOf(x, y);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (isColour(image.pixel(at.x() + dx, at.y() + dy), colour)) return true;
        return false;
    }
    static int countInColumn(const QImage& image, int x, QColor colour) {
        int n = 0;
        for (int row = 0; row < image.height(); ++row)
            if (isColour(image.pixel(pixelOf(x, 0).x(), row), colour)) ++n;
        return n;
    }

    const QColor kWhite{255, 255, 255};
    const QColor kBoxGrey{230, 230, 230};
    const QColor kGridGrey{100, 100, 100};
    const QColor kRed{255, 0, 0};
    const QColor kSkyBlue{0, 200, 255};

    std::unique_ptr<PlotPanel> makePanel() {
        auto panel = std::make_unique<PlotPanel>();
        panel->setFixedSize(222, 222);
        panel->show();
        return panel;
    }

private slots:
    void emptyPanelShowsBoxAndDottedGrid() {
        auto panel = makePanel();
        QCOMPARE(panel->contentsRect().size(), QSize(220, 220));
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
            const auto expected =
                zephalo::core::plot::logicalFromPixel(at.x() - 1, at.y() - 1, 220, 220);
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
};

QTEST_MAIN(PlotPanelTest)
#include "plot_panel_test.moc"
