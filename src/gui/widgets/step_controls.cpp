#include "gui/widgets/step_controls.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

#include "core/workspace/fingerprint.h"
#include "core/workspace/history.h"
#include "core/workspace/records.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/widget_captions.h"

namespace zephalo::gui {

namespace {

class EnterMovesOn : public QObject {
public:
    explicit EnterMovesOn(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Show) {
            // A focused auto-default button presses itself on Enter, and a
            // dialog makes its first one the default: none is either.
            for (auto* pushButton : m_window->findChildren<QPushButton*>()) {
                pushButton->setAutoDefault(false);
                pushButton->setDefault(false);
            }
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                // As Tab does: the window moves the focus to the next box.
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(m_window, &tab);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
};

}  // namespace

std::string absoluteText(const std::filesystem::path& file) {
    std::error_code error;
    const auto full = std::filesystem::absolute(file, error);
    return core::pathText(error ? file : full);
}

void enterMovesOn(QWidget* window) {
    window->installEventFilter(new EnterMovesOn(window));
}

StepControls::StepControls(QWidget* window, const core::Workspace& workspace, MessagePanel* message,
                           std::function<void()> redraw)
    : QObject(window),
      m_window(window),
      // A work space of its own: undo, redo and the titles never join a step
      // the window has open (the optimisation's, on its worker thread).
      m_workspace(workspace.directory()),
      m_message(message),
      m_redraw(std::move(redraw)) {
    m_undo = button(window, widgets::captions::kUndo, QStringLiteral("buttonUndo"));
    m_redo = button(window, widgets::captions::kRedo, QStringLiteral("buttonRedo"));
    connect(m_undo, &QPushButton::clicked, this, &StepControls::undo);
    connect(m_redo, &QPushButton::clicked, this, &StepControls::redo);
    auto* undoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), window);
    auto* redoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), window);
    connect(undoKey, &QShortcut::activated, this, &StepControls::undo);
    connect(redoKey, &QShortcut::activated, this, &StepControls::redo);
    enterMovesOn(window);
    m_fingerprint = core::workspaceFingerprint(m_workspace);
    showTitles();
}

bool StepControls::changedOutside() {
    const std::uint64_t now = core::workspaceFingerprint(m_workspace);
    if (now == m_fingerprint) return false;
    m_fingerprint = now;
    m_redraw();
    if (m_message) m_message->setText(widgets::captions::kChangedOutside);
    showTitles();
    return true;
}

void StepControls::drawn() {
    m_fingerprint = core::workspaceFingerprint(m_workspace);
    showTitles();
}

void StepControls::undo() {
    stepBack(false);
}

void StepControls::redo() {
    stepBack(true);
}

void StepControls::setEnabled(bool enabled) {
    m_enabled = enabled;
    showTitles();
}

void StepControls::stepBack(bool forward) {
    if (!m_enabled) return;
    const core::Report report = forward ? core::redoStep(m_workspace) : core::undoStep(m_workspace);
    m_fingerprint = core::workspaceFingerprint(m_workspace);
    m_redraw();
    if (m_message) m_message->setText(report.text);
    showTitles();
}

void StepControls::showTitles() {
    const auto caption = [](std::string_view head, const std::optional<std::string>& title) {
        std::string text(head);
        // The work space keeps a step's title in Japanese, the source of its
        // translation.
        if (title) text += widgets::captions::kTitleJoin + std::string(core::text::tr(*title));
        return shownCaption(text);
    };
    const auto undoTitle = core::undoTitle(m_workspace);
    const auto redoTitle = core::redoTitle(m_workspace);
    m_undo->setText(caption(widgets::captions::kUndo, undoTitle));
    m_redo->setText(caption(widgets::captions::kRedo, redoTitle));
    m_undo->setEnabled(m_enabled && undoTitle.has_value());
    m_redo->setEnabled(m_enabled && redoTitle.has_value());
}

}  // namespace zephalo::gui
