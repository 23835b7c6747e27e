#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

class QPushButton;
class QWidget;

namespace zephalo::gui {

class MessagePanel;

// zephalo-cli arguments (after the global options) that redo a button's step.
using Command = std::vector<std::string>;
// A chosen file as an argument: its absolute path.
std::string absoluteText(const std::filesystem::path& file);

// One rule for every dialog: Enter and Return never press a button, so they
// never close the window; they move the focus to the next box.
void enterMovesOn(QWidget* window);

// What every window that runs steps on the work space shares:
// - the Enter rule above;
// - "元に戻す" and "やり直す" (Ctrl+Z, Ctrl+Shift+Z), whose buttons name the
//   step they would take back or bring again;
// - a check before each button that the work-space files are still those
//   the window last drew: when another program, the command line or an
//   undo changed them, the window says so and redraws from the files
//   instead of acting on what it shows.
class StepControls : public QObject {
    Q_OBJECT
public:
    // `redraw` draws the window anew from the work-space files, writing none.
    StepControls(QWidget* window, const core::Workspace& workspace, MessagePanel* message,
                 std::function<void()> redraw);

    QPushButton* undoButton() const { return m_undo; }
    QPushButton* redoButton() const { return m_redo; }

    // Before a button acts: true when the files changed since the window
    // last drew them; the window has then said so and redrawn, and the
    // button must not act.
    bool changedOutside();
    // After the window's own step: the files as they are now are the ones
    // it shows.
    void drawn();

    void undo();
    void redo();
    // Off while the window runs a step of its own (the buttons and keys do
    // nothing then).
    void setEnabled(bool enabled);

private:
    void stepBack(bool forward);
    void showTitles();

    QWidget* m_window;
    core::Workspace m_workspace;
    MessagePanel* m_message;
    std::function<void()> m_redraw;
    std::uint64_t m_fingerprint = 0;
    bool m_enabled = true;
    QPushButton* m_undo = nullptr;
    QPushButton* m_redo = nullptr;
};

}  // namespace zephalo::gui
