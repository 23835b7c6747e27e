#pragma once

#include <QDialog>
#include <cstddef>
#include <memory>
#include <string>

#include "core/workspace/workspace.h"
#include "gui/widgets/step_worker.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zephalo::gui {

class MessagePanel;
class StepControls;
class WaitCursor;

// The modal dialog "フィット": the working copy's intensities inside a window
// fitted to the measured RIXS spectra, with a smoothing weight (blank: chosen
// from the measured noise) and a band of refits. The fit runs on a worker
// thread as one step; "中止" stops it and leaves the work space as it was.
class CFit : public QDialog {
    Q_OBJECT
public:
    // `omega` fills "RIXS測定時の励起エネルギー" (the workbench's excitation box).
    explicit CFit(const core::Workspace& workspace, const QString& omega = {},
                  QWidget* parent = nullptr);
    ~CFit() override;

    bool running() const { return m_worker.running(); }

public slots:
    void reject() override;

signals:
    // A run has ended (done, refused or stopped) and its message is shown.
    void runEnded();

private:
    void onRun();
    void setRunning(bool running);
    void showProgress(std::size_t done, std::size_t total);
    void finish(const core::Report& report);

    core::Workspace m_workspace;
    QLineEdit* m_editOmega = nullptr;
    QLineEdit* m_editFrom = nullptr;
    QLineEdit* m_editTo = nullptr;
    QLineEdit* m_editSmoothing = nullptr;
    QLineEdit* m_editBand = nullptr;
    QProgressBar* m_progress = nullptr;
    MessagePanel* m_editMessage = nullptr;
    StepControls* m_steps = nullptr;
    QWidget* m_settings = nullptr;
    QPushButton* m_buttonRun = nullptr;
    QPushButton* m_buttonStop = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;
    std::unique_ptr<WaitCursor> m_busy;
    bool m_closeWhenEnded = false;

    // Last member: stops and joins the run before anything it uses goes away.
    StepWorker m_worker;
};

}  // namespace zephalo::gui
