#pragma once

#include <QDialog>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/tools/optimise_model.h"
#include "core/workspace/workspace.h"
#include "gui/widgets/step_worker.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zephalo::gui {

class MessagePanel;
class StepControls;
class WaitCursor;

// The modal dialog "Optimization": Lorentzian peaks tried over an energy grid
// and a range of heights, each kept when it lowers the R factor against the
// measured RIXS spectrum. The run goes on a worker thread, as one step on the
// work space held for the whole run, so the window keeps painting and "中止"
// stops the run between two positions. While it runs, the other buttons wait;
// closing the dialog stops the run and closes once it has ended.
class COptim : public QDialog {
    Q_OBJECT
public:
    explicit COptim(const core::Workspace& workspace, QWidget* parent = nullptr);
    ~COptim() override;

    // Whether a run is going on.
    bool running() const { return m_worker.running(); }
    // What the workbench says once the dialog has closed: the stop's own
    // account of what was kept when the last run was stopped ("中止" or the
    // window closed during the run), else that the optimisation was done.
    std::string closedText() const;

public slots:
    void reject() override;

signals:
    // A run has ended (done, refused or stopped) and its message is shown.
    void runEnded();

private:
    void onRun();
    void onStop();
    void setRunning(bool running);
    // On the user-interface thread, from the worker's posts.
    void showProgress(std::size_t position, std::size_t positions);
    void showPass(const core::tools::PassResult& pass);
    void finish(const core::Report& report);

    // The run's own work space: its step's staging is the worker's alone, so
    // nothing the user-interface thread reads meanwhile touches it.
    core::Workspace m_workspace;
    core::tools::OptimiseModel m_model;

    QLineEdit* m_editStart = nullptr;
    QLineEdit* m_editEnd = nullptr;
    QLineEdit* m_editStep = nullptr;
    QLineEdit* m_editHeight = nullptr;
    QLineEdit* m_editWidth = nullptr;
    QLineEdit* m_editLimit = nullptr;
    QLineEdit* m_editHeightStep = nullptr;
    QLineEdit* m_editOmega = nullptr;
    QComboBox* m_comboPasses = nullptr;
    QProgressBar* m_progress = nullptr;
    QLineEdit* m_editComponents = nullptr;
    QLineEdit* m_editRFactor = nullptr;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
    QPushButton* m_buttonRun = nullptr;
    QPushButton* m_buttonStop = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;
    QWidget* m_settings = nullptr;

    std::unique_ptr<WaitCursor> m_busy;
    bool m_closeWhenEnded = false;
    // The message of the last run when it was stopped.
    std::optional<std::string> m_stoppedText;
    // Set by the worker when its run was stopped; read once it has ended.
    bool m_runStopped = false;

    // Last member: destroyed first, so the run has stopped and joined before
    // anything it uses goes away.
    StepWorker m_worker;
};

}  // namespace zephalo::gui
