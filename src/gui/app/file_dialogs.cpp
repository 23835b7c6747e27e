#include "app/file_dialogs.h"

#include <QFileDialog>

#include "app/message_panel.h"
#include "workspace/workspace.h"

namespace zephalo::gui {

QString fileDialogFolder() {
    return toQt(core::pathText(core::Workspace::preparedDataFolder()));
}

std::optional<std::filesystem::path> chooseDataFile(QWidget* parent, FileChoice choice) {
    QFileDialog dialog(parent);
    if (choice == FileChoice::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, true);  // no renaming or deleting in it
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    dialog.setNameFilters({toQt(kDataFilesFilter), toQt(kAllFilesFilter)});
    dialog.setDefaultSuffix(QStringLiteral("DAT"));
    dialog.setDirectory(fileDialogFolder());
    if (choice == FileChoice::Open) dialog.selectFile(QStringLiteral("*.DAT"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return core::pathFromText(fromQt(dialog.selectedFiles().constFirst()));
}

}  // namespace zephalo::gui
