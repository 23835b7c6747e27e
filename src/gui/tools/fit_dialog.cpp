#include "gui/tools/fit_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "core/tools/profile_fit_run.h"
#include "core/tools/tools_texts.h"
#include "core/workspace/step.h"
#include "gui/tools/tools_captions.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"
#include "gui/widgets/wait_cursor.h"

namespace zephalo::gui {

namespace {

namespace captions = tools::captions;
namespace texts = core::tools::texts;

}  // namespace

CFit::CFit(const core::Workspace& workspace, const QString& omega, QWidget* parent)
    : QDialog(parent),
      m_workspace(workspace.directory()),
      m_worker(
          this, [this](std::size_t done, std::size_t total) { showProgress(done, total); },
          [this](const core::Report& report) { finish(report); }) {
    setWindowTitle(toQt(captions::kFitTitle));
    setModal(true);

    m_settings = new QWidget(this);
    m_editOmega = numberBox(m_settings, QStringLiteral("editOmega"), 10);
    m_editFrom = numberBox(m_settings, QStringLiteral("editFrom"), 10);
    m_editTo = numberBox(m_settings, QStringLiteral("editTo"), 10);
    m_editSmoothing = numberBox(m_settings, QStringLiteral("editSmoothing"), 10);
    m_editBand = numberBox(m_settings, QStringLiteral("editBand"), 6);
    m_editOmega->setText(omega);
    m_editBand->setText(QStringLiteral("0"));
    auto* grid = new QGridLayout(m_settings);
    grid->setContentsMargins(0, 0, 0, 0);
    const std::pair<std::string_view, QLineEdit*> rows[] = {
        {texts::kFitOmegaBox, m_editOmega}, {texts::kFitFromBox, m_editFrom},
        {texts::kFitToBox, m_editTo},       {texts::kFitSmoothingBox, m_editSmoothing},
        {texts::kFitBandBox, m_editBand},
    };
    int row = 0;
    for (const auto& [caption, box] : rows) {
        grid->addWidget(label(m_settings, caption, box), row, 0);
        grid->addWidget(box, row, 1);
        if (row < 3) grid->addWidget(label(m_settings, captions::kUnitEv), row, 2);
        ++row;
    }

    m_buttonRun = button(this, captions::kFitRun, QStringLiteral("buttonRun"));
    m_buttonStop = button(this, texts::kOptimiseStopCaption, QStringLiteral("buttonStop"));
    m_buttonStop->setEnabled(false);
    m_progress = progressBar(this);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_buttonRun);
    progressRow->addWidget(m_buttonStop);
    progressRow->addWidget(m_progress, 1);

    m_editMessage = new MessagePanel(this, 6);
    m_editMessage->setMinimumWidth(widestLine(*m_editMessage, {toQt(texts::kFitOpenText)}));
    m_editMessage->setText(texts::kFitOpenText);

    m_steps = new StepControls(this, m_workspace, m_editMessage, [] {});
    auto* closeBox = closeButtons(this);
    m_buttonOk = closeBox->findChild<QPushButton*>(QStringLiteral("buttonOk"));
    m_buttonCancel = closeBox->findChild<QPushButton*>(QStringLiteral("buttonCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_settings);
    layout->addLayout(progressRow);
    layout->addWidget(m_editMessage, 1);
    layout->addLayout(closeRow(m_steps->undoButton(), m_steps->redoButton(), closeBox));

    connect(m_buttonRun, &QPushButton::clicked, this, &CFit::onRun);
    connect(m_buttonStop, &QPushButton::clicked, this, [this] {
        m_worker.requestStop();
        m_buttonStop->setEnabled(false);
    });
}

CFit::~CFit() = default;

void CFit::reject() {
    if (!running()) {
        QDialog::reject();
        return;
    }
    m_closeWhenEnded = true;
    m_worker.requestStop();
}

void CFit::onRun() {
    if (m_steps->changedOutside()) return;
    core::tools::FitSettings settings;
    if (auto status = core::tools::fitSettingsOf(
            fromQt(m_editOmega->text()), fromQt(m_editFrom->text()), fromQt(m_editTo->text()),
            fromQt(m_editSmoothing->text()), fromQt(m_editBand->text()), settings);
        !status) {
        m_editMessage->setText(status.error());
        return;
    }
    setRunning(true);
    m_busy = std::make_unique<WaitCursor>(Qt::BusyCursor);
    m_worker.start(
        m_workspace, [this, settings](std::stop_token stop, const StepWorker::Progress& progress) {
            auto outcome = core::tools::fitWorkingCopy(
                m_workspace, settings,
                [&progress](const core::tools::FitProgress& at) { progress(at.done, at.total); },
                std::move(stop));
            m_workspace.describeStep(
                {std::string(captions::kFitRun.source()), core::tools::fitCommand(settings)});
            return outcome.report;
        });
}

void CFit::setRunning(bool running) {
    m_settings->setEnabled(!running);
    m_buttonRun->setEnabled(!running);
    m_buttonOk->setEnabled(!running);
    m_buttonCancel->setEnabled(!running);
    m_buttonStop->setEnabled(running);
    m_steps->setEnabled(!running);
    (running ? m_buttonStop : m_buttonRun)->setFocus();
}

void CFit::showProgress(std::size_t done, std::size_t total) {
    if (m_editMessage->text() != texts::kFitRunningText) {
        m_editMessage->setText(texts::kFitRunningText);
    }
    const int last = total > 0 ? static_cast<int>(total) : 1;
    if (m_progress->maximum() != last) m_progress->setRange(0, last);
    m_progress->setValue(static_cast<int>(done));
}

void CFit::finish(const core::Report& report) {
    m_busy.reset();
    setRunning(false);
    m_steps->drawn();
    m_editMessage->setText(report.text);
    emit runEnded();
    if (std::exchange(m_closeWhenEnded, false)) QDialog::reject();
}

}  // namespace zephalo::gui
