#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <cmath>
#include <optional>

#include "core/plot/projection.h"
#include "core/workspace/workspace.h"
#include "gui/plot/plot_panel.h"
#include "gui/widgets/message_panel.h"
#include "test_support.h"

// Shared helpers of the dialog tests: controls found by their caption, the
// message panel's text, pixels of one colour in a painted panel.
namespace zephalo::test {

// The first child of `root` of type Widget that shows `text` (a button's or
// radio's caption, a label's text), or null. A caption showing "&" holds it
// doubled, since a single one marks a shortcut key.
template <class Widget = QPushButton>
Widget* childByText(const QWidget& root, const QString& text) {
    for (auto* child : root.findChildren<Widget*>()) {
        if (child->text() == text ||
            QString(child->text()).replace(QStringLiteral("&&"), QStringLiteral("&")) == text)
            return child;
    }
    return nullptr;
}

inline QPushButton* buttonByCaption(const QWidget& root, const QString& caption) {
    return childByText<QPushButton>(root, caption);
}

// Clicks the button captioned `caption`; fails the test when there is none.
inline void press(const QWidget& root, const QString& caption) {
    QPushButton* button = buttonByCaption(root, caption);
    QVERIFY2(button, qPrintable(caption));
    QTest::mouseClick(button, Qt::LeftButton);
}

// The whole text of the dialog's message panel, exactly as last set.
inline QString panelText(const QWidget& dialog) {
    const auto* panel = dialog.findChild<gui::MessagePanel*>();
    return panel ? gui::toQt(panel->text()) : QString();
}

// How many pixels of `image` have exactly `colour` (alpha ignored).
// Lines of the message panel of `window` hidden below its bottom edge once
// the window is shown and laid out (0: the whole text is visible).
inline int hiddenMessageLines(QWidget& window) {
    window.show();
    for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
    auto* edit = window.findChild<QPlainTextEdit*>(QStringLiteral("messagePanel"));
    return edit ? edit->verticalScrollBar()->maximum() : -1;
}

inline int colourCount(const QImage& image, QColor colour) {
    const QRgb wanted = colour.rgb() & 0xffffff;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xffffff) == wanted;
    }
    return count;
}

// The same count in the widget as it paints now.
inline int pixelsOf(QWidget& widget, QColor colour) {
    return colourCount(widget.grab().toImage(), colour);
}

// A pixel of the panel that its own mapping puts at logical (x, y), or a
// null point when no pixel maps there.
inline QPoint pixelAt(const gui::PlotPanel& panel, int logicalX, int logicalY = 0) {
    const QRect area = panel.contentsRect();
    int column = -1;
    int row = -1;
    for (int px = 0; px < area.width() && column < 0; ++px) {
        if (core::plot::logicalFromPixel(px, 0, area.width(), area.height()).x == logicalX) {
            column = px;
        }
    }
    for (int py = 0; py < area.height() && row < 0; ++py) {
        if (core::plot::logicalFromPixel(0, py, area.width(), area.height()).y == logicalY) {
            row = py;
        }
    }
    if (column < 0 || row < 0) return {};
    return area.topLeft() + QPoint(column, row);
}

// The opening the dialog tests share: a work space of its own, prepared by
// the test, and the dialog on it. open() shows the dialog and waits until it
// is on screen.
template <class Dialog>
class DialogFixture {
public:
    template <class Prepare>
    explicit DialogFixture(Prepare prepare) {
        prepare(m_dir);
        m_dialog.emplace(core::Workspace(m_dir.path()));
    }
    [[nodiscard]] bool open(QSize size = QSize()) {
        if (size.isValid()) m_dialog->resize(size);
        m_dialog->show();
        return QTest::qWaitForWindowExposed(&*m_dialog);
    }
    Dialog& dialog() { return *m_dialog; }
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
    std::optional<Dialog> m_dialog;
};

}  // namespace zephalo::test
