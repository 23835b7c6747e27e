#pragma once

#include <QDialog>

#include "core/tools/average_model.h"
#include "core/workspace/workspace.h"

class QComboBox;
class QLineEdit;
class QProgressBar;

namespace zephalo::gui {

class MessagePanel;
class StepControls;

// The modal dialog "Average": the working copy of the selective XAFS
// smoothed over the energy range in the two boxes with the triangular
// average chosen in "隣接データ数". Each press of "平均開始" averages the file
// as the previous press left it; the workbench shows the result after its own
// display refresh.
class CAverage : public QDialog {
    Q_OBJECT
public:
    explicit CAverage(const core::Workspace& workspace, QWidget* parent = nullptr);

private:
    void onRun();

    core::Workspace m_workspace;  // each button runs as one step on it
    core::tools::AverageModel m_model;

    QLineEdit* m_editStart = nullptr;
    QLineEdit* m_editEnd = nullptr;
    QComboBox* m_comboItems = nullptr;
    QProgressBar* m_progress = nullptr;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
};

}  // namespace zephalo::gui
