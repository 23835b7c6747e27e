#pragma once

#include <QDialog>

#include "workspace/workspace.h"

namespace zephalo::gui {

// Placeholder of the step dialog until the step is built.
class CConvXAFS : public QDialog {
    Q_OBJECT
public:
    explicit CConvXAFS(const core::Workspace& workspace, QWidget* parent = nullptr);
};

}  // namespace zephalo::gui
