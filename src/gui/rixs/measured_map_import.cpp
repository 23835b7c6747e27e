#include "gui/rixs/measured_map_import.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <string>
#include <string_view>

#include "core/workspace/measured_map.h"
#include "core/workspace/records.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace_setup.h"
#include "gui/rixs/measured_map_captions.h"
#include "gui/widgets/file_dialogs.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;

// One dataset path; false when the user cancels.
bool askPath(QWidget* parent, std::string_view label, std::string_view proposed, std::string& out) {
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, toQt(captions::kHdf5Title), toQt(label),
                                               QLineEdit::Normal, toQt(proposed), &accepted);
    if (!accepted) return false;
    out = fromQt(text.trimmed());
    return true;
}

}  // namespace

std::optional<core::Report> importMeasuredMap(QWidget* parent, const core::Workspace& workspace) {
    const QString filter =
        toQt(captions::kMapFilesFilter) + QStringLiteral(";;") + toQt(kAllFilesFilter);
    const QString chosen = QFileDialog::getOpenFileName(parent, toQt(captions::kImportMapTitle),
                                                        fileDialogFolder(), filter);
    if (chosen.isEmpty()) return std::nullopt;
    const std::filesystem::path file = core::pathFromText(fromQt(chosen));
    core::Hdf5MapPaths paths;
    if (core::isHdf5File(file)) {
        if (!askPath(parent, captions::kHdf5Intensity, captions::kHdf5DefaultIntensity,
                     paths.intensity) ||
            !askPath(parent, captions::kHdf5Excitation, captions::kHdf5DefaultExcitation,
                     paths.excitation) ||
            !askPath(parent, captions::kHdf5Emission, captions::kHdf5DefaultEmission,
                     paths.emission)) {
            return std::nullopt;
        }
    }
    return core::runStep(workspace, [&] { return core::importRixsMap(workspace, file, paths); });
}

}  // namespace zephalo::gui
