#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>

#include "workspace/gates.h"
#include "workspace/status.h"
#include "workspace/workspace.h"

class QPushButton;

namespace zephalo::gui {

class MessagePanel;

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

private:
    void onCreateWorkspace();
    void onImport(core::Report (*operation)(const core::Workspace&, const std::filesystem::path&));
    void onSelectiveXafs();
    template <class Dialog>
    void onGatedStep(core::Step step);

    // The file-open dialog of the imports; nullopt when the user cancels.
    std::optional<std::filesystem::path> chooseMeasuredFile();
    QPushButton* addButton(const QString& caption);

    core::Workspace m_workspace;
    MessagePanel* m_editMessage = nullptr;
};

}  // namespace zephalo::gui
