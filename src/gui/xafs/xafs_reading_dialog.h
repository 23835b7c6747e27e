#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>

#include "core/text/text.h"
#include "core/workspace/workspace.h"
#include "core/xafs/xafs_reading_model.h"

class QPushButton;

namespace zephalo::gui {

class MessagePanel;
class StepControls;

// "XAFS計算読込": brings a calculated selective XAFS (one WIEN2k file, two
// WIEN2k files one per component, or a general three-column file) into the
// work space.
class CXAFSReading : public QDialog {
    Q_OBJECT
public:
    // Asks the user for the file to import; an empty string means cancelled.
    using FileChooser = std::function<QString()>;

    explicit CXAFSReading(const core::Workspace& workspace, QWidget* parent = nullptr);

    // Replaces the file-open dialog (tests supply a path this way).
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    using Import =
        core::Report (core::xafs::XafsReadingModel::*)(const std::filesystem::path&) const;

    QString chooseWithDialog();
    // An import button; `kind` names it for zephalo-cli import.
    void runImport(const core::text::Text& caption, const char* kind, Import import);
    void onSecondOfTwo();

    core::Workspace m_workspace;  // each button runs as one step on it
    core::xafs::XafsReadingModel m_model;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
    FileChooser m_chooseFile;
};

}  // namespace zephalo::gui
