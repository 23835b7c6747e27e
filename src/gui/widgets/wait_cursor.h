#pragma once

#include <QApplication>

namespace zephalo::gui {

// Keeps an application-wide cursor up for the lifetime of the guard: the
// wait cursor while an operation holds the user-interface thread, the busy
// cursor while a run goes on elsewhere and the window still answers.
class WaitCursor {
public:
    explicit WaitCursor(Qt::CursorShape shape = Qt::WaitCursor) {
        QApplication::setOverrideCursor(shape);
    }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace zephalo::gui
