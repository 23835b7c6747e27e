#pragma once

#include <QDialog>
#include <array>
#include <cstddef>

#include "core/text/text.h"
#include "core/workspace/workspace.h"
#include "core/xrf/xrf_model.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zephalo::gui {

class MessagePanel;
class StepControls;
class PlotPanel;

// The modal dialog "蛍光X線による設定": the user loads the measured
// fluorescence spectrum, types the four Lorentzian lines A-D of the
// final-state function, fits the emission model over the measurement and
// stores the final-state function. Every button hands its boxes to the XRF
// model and shows what the model returns.
class CXRF : public QDialog {
    Q_OBJECT
public:
    explicit CXRF(const core::Workspace& workspace, QWidget* parent = nullptr);

protected:
private slots:
    void onLoad();
    void onConfirm();
    void onFit();
    void onPicked(double logicalX, double logicalY);
    void onRFactor();
    void onStore();
    void refreshPlot();
    // The plot drawn anew from the work-space files.
    void redrawFromFiles();

private:
    QWidget* buildParameters();
    QWidget* buildPlot();
    void showReport(const core::Report& report);
    // Names the open step for the history: the button's caption as the
    // work space stores it (its Japanese source) and the command that redoes it.
    void describe(const core::text::Text& caption, core::xrf::XrfButton which,
                  const core::xrf::XrfBoxes& typed) const;
    // A if checked, else B if checked, else C if checked, else D.
    std::size_t selectedLine() const;

    core::Workspace m_workspace;  // each button runs as one step on it
    core::xrf::XrfModel m_model;

    QPushButton* m_buttonLoad = nullptr;
    QPushButton* m_buttonConfirm = nullptr;
    QPushButton* m_buttonFit = nullptr;
    QPushButton* m_buttonRFactor = nullptr;
    QPushButton* m_buttonStore = nullptr;
    std::array<QLineEdit*, core::xrf::kLineCount> m_editPosition{};
    std::array<QLineEdit*, core::xrf::kLineCount> m_editAmplitude{};
    std::array<QLineEdit*, core::xrf::kLineCount> m_editWidth{};
    QLineEdit* m_editExcitation = nullptr;
    QRadioButton* m_radioOneComponent = nullptr;
    QRadioButton* m_radioTwoComponents = nullptr;
    std::array<QRadioButton*, core::xrf::kLineCount> m_radioLine{};
    PlotPanel* m_plot = nullptr;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
};

}  // namespace zephalo::gui
