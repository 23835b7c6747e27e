#pragma once

#include <optional>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

class QWidget;

namespace zephalo::gui {

// "測定マップ読込": a measured RIXS map chosen in a file dialog (for an HDF5
// file the three dataset paths are asked as well) and imported as one step.
// The report for the message panel; nullopt when the user cancels.
std::optional<core::Report> importMeasuredMap(QWidget* parent, const core::Workspace& workspace);

}  // namespace zephalo::gui
