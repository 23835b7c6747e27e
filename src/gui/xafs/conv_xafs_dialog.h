#pragma once

#include <QDialog>

#include "core/workspace/workspace.h"
#include "core/xafs/conv_xafs_model.h"

class QComboBox;
class QLineEdit;

namespace zephalo::gui {

class MessagePanel;
class StepControls;
class PlotPanel;
class PlotRangeLabels;

// "Conventional XAFS": normalises the measured absorption-correction
// spectrum and plots it, takes the edge from the list, a click on the plot
// or the typed core energy, and fixes the edge parameters on confirm.
class CConvXAFS : public QDialog {
    Q_OBJECT
public:
    explicit CConvXAFS(const core::Workspace& workspace, QWidget* parent = nullptr);

private:
    void onRead();
    void onClear();
    void onPicked(double logicalX, double logicalY);
    void onConfirm();
    void onDone();
    // Curve, energy range and click acceptance as the model now has them.
    void showPlot();

    core::Workspace m_workspace;  // each button runs as one step on it
    core::xafs::ConvXafsModel m_model;
    PlotPanel* m_plot = nullptr;
    PlotRangeLabels* m_rangeLabels = nullptr;
    QComboBox* m_edgeList = nullptr;
    QLineEdit* m_coreEnergy = nullptr;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
};

}  // namespace zephalo::gui
