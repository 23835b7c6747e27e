#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/plot/projection.h"
#include "core/rixs/live_correction.h"
#include "core/rixs/workbench_commands.h"
#include "core/rixs/workbench_model.h"
#include "core/workspace/workspace.h"
#include "gui/widgets/file_dialogs.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zephalo::gui {

class MessagePanel;
class PlotPanel;
class StepControls;

// The modal workbench "RIXSシミュレーション": three panels (selective XAFS,
// calculated RIXS, measured RIXS) with the buttons that load, show and
// correct the selective XAFS and hand it to the RIXS calculation. Every
// button copies the boxes and radios into the workbench model, runs its
// operation as one step on the work space, and shows the model's message,
// boxes and curves.
class CRIXSXAFS : public QDialog {
    Q_OBJECT
public:
    explicit CRIXSXAFS(const core::Workspace& workspace, QWidget* parent = nullptr);

    // Asks the user for a file to open or to save; nullopt when cancelled.
    using FileChooser = std::function<std::optional<std::filesystem::path>(FileChoice)>;
    // Replaces the file dialogs, for tests that must never open one.
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    using Operation =
        core::Report (core::rixs::WorkbenchModel::*)(const core::rixs::WorkbenchBoxes&);
    using FileOperation = core::Report (core::rixs::WorkbenchModel::*)(
        const core::rixs::WorkbenchBoxes&, const std::filesystem::path&);

    QWidget* buildXafsColumn();
    QWidget* buildRixsColumn();
    QLayout* buildBottomRow();
    // The zephalo-cli arguments that redo a button's step from the boxes as
    // typed; empty when no command does.
    using CommandOf = std::function<std::vector<std::string>(const core::rixs::WorkbenchBoxes&)>;
    // The command that redoes `button`.
    static CommandOf replay(core::rixs::WorkbenchButton button);
    QPushButton* addButton(core::text::Text caption, const QString& name, Operation operation,
                           CommandOf command = {});
    // A button that first asks for a file; a cancelled choice does nothing.
    QPushButton* addFileButton(core::text::Text caption, const QString& name, FileChoice choice,
                               FileOperation operation, bool replayable = false);

    // One button: the boxes as typed go to `operation`, run as a step that
    // the history names by `caption` and `command`.
    void run(core::text::Text caption, const CommandOf& command,
             const std::function<core::Report(const core::rixs::WorkbenchBoxes&)>& operation);
    void onCompute();
    void onMap();
    // "測定マップ読込": a measured RIXS map into the work space.
    void onImportMap();
    void onPicked(double logicalX, double logicalY);
    void onOptimise();
    void onFit();
    void onAverage();
    // The boxes and radios as the user left them, and back from the model.
    core::rixs::WorkbenchBoxes typedBoxes() const;
    void showBoxes(const core::rixs::WorkbenchBoxes& boxes);
    core::rixs::DisplayMode checkedMode() const;
    // Repaints the three panels, the energies under them and the R factor.
    void repaintPanels();
    // The panels and boxes drawn anew from the work-space files.
    void redrawFromFiles();

    core::Workspace m_workspace;
    core::rixs::WorkbenchModel m_model;
    FileChooser m_chooseFile;

    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
    QLineEdit* m_editExcitation = nullptr;
    QLineEdit* m_editRangeMin = nullptr;
    QLineEdit* m_editRangeMax = nullptr;
    QLineEdit* m_editPeakCentre = nullptr;
    QLineEdit* m_editPeakAmplitude = nullptr;
    QLineEdit* m_editPeakWidth = nullptr;
    QLineEdit* m_editScaling = nullptr;
    QLineEdit* m_editAbsorption = nullptr;
    QLineEdit* m_editShift = nullptr;
    QLineEdit* m_editRFactor = nullptr;

    QButtonGroup* m_modes = nullptr;
    QRadioButton* m_radioModeA = nullptr;
    QRadioButton* m_radioModeB = nullptr;
    QRadioButton* m_radioModeAB = nullptr;
    QButtonGroup* m_signs = nullptr;
    QRadioButton* m_radioAdd = nullptr;
    QRadioButton* m_radioSubtract = nullptr;

    PlotPanel* m_xafsPanel = nullptr;
    PlotPanel* m_theoryPanel = nullptr;
    PlotPanel* m_experimentPanel = nullptr;

    // --- The correction peak dragged on the selective XAFS panel ---------------
    // While the grip moves, the peak, the calculated spectrum, its comparison
    // and the R factor follow in memory; the end of a drag (or a pause of the
    // wheel) records the peak as "補正用ピーク表示" does, so that "XAFS修正"
    // applies what the panel shows. Any other step drops the live curves.
    struct LiveDrag {
        core::rixs::LiveCorrection correction;
        core::rixs::LivePeak peak;
        core::plot::Curve peakLike;  // the shown peak: frame, pen and name
        std::optional<double> rFactor;
        std::optional<core::plot::Curve> peakCurve, theory, experiment;
    };
    std::vector<core::plot::Curve> xafsShown() const;
    std::vector<core::plot::Curve> theoryShown() const;
    std::vector<core::plot::Curve> experimentShown() const;
    void connectLive();
    bool startLive();
    void followLive();
    void commitLive();
    void placeGrip();
    std::optional<LiveDrag> m_live;
    QTimer* m_wheelPause = nullptr;
};

}  // namespace zephalo::gui
