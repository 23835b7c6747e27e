#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "core/text/text.h"
#include "core/workspace/desktop_claim.h"
#include "core/workspace/gates.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace zephalo::gui {

class MessagePanel;
class StepControls;

// The main form: the work-space and import buttons, the four step buttons,
// the message panel and the picture frame. It keeps no data of its own; every
// button is one operation on the work-space files.
class CQuarlenView : public QWidget {
    Q_OBJECT
public:
    explicit CQuarlenView(core::Workspace workspace, QWidget* parent = nullptr);

    const core::Workspace& workspace() const { return m_workspace; }
    // The text of the last operation, exactly as the panel received it.
    const std::string& messageText() const;
    void showMessage(std::string_view text);
    // Whether this program holds the work space's desktop claim.
    bool claimsWorkspace() const { return m_claim.held(); }

private:
    void onCreateWorkspace();
    // An import button; `kind` names it for zephalo-cli import.
    void onImport(const core::text::Text& caption, const char* kind,
                  core::Report (*operation)(const core::Workspace&, const std::filesystem::path&));
    void onSelectiveXafs();
    template <class Dialog>
    void onGatedStep(core::Step step);

    // The file-open dialog of the imports; nullopt when the user cancels.
    std::optional<std::filesystem::path> chooseMeasuredFile();
    QPushButton* addButton(const core::text::Text& caption);
    // The button with its done mark after it.
    QHBoxLayout* withMark(QPushButton* button, core::FormButton which);
    // Every mark read again from the work-space files.
    void refreshMarks();

    // Claims the work space for this program, or says who else has it open.
    void claimWorkspace();

    core::Workspace m_workspace;
    core::DesktopClaim m_claim;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
    std::vector<std::pair<core::FormButton, QLabel*>> m_marks;

public:
    // The mark beside a button: kStepDone or kStepNotYet.
    QString markText(core::FormButton which) const;
};

}  // namespace zephalo::gui
