#include "gui/tools/optim_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
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
using core::tools::kPassItems;
using core::tools::OptimiseBoxes;
using core::tools::OptimiseProgress;
using core::tools::PassResult;

// The messages of the dialog, those around values with long ones.
QStringList messageTexts() {
    const std::string error(texts::kOptimiseErrorText);
    return {toQt(texts::kOptimiseOpenText),
            toQt(error + texts::tooManyPointsLine(core::files::kSelectiveForRixs, 20000, 2000)),
            toQt(error + std::string(texts::kNonFinitePeakLine)),
            toQt(texts::optimiseStoppedText(3, "7199.5")),
            toQt(texts::optimiseDoneText("7100.000000", "7200.000000", kPassItems.back()) +
                 texts::rFactorChangeLine("10.0000", "1.00000"))};
}

// A settings box under its caption, with the unit after it when it has one.
void addSetting(QGridLayout* grid, int column, std::string_view caption, QLineEdit* box,
                bool inEv) {
    auto* parent = grid->parentWidget();
    grid->addWidget(label(parent, caption, box), 0, 2 * column, 1, 2);
    grid->addWidget(box, 1, 2 * column);
    if (inEv) grid->addWidget(label(parent, captions::kUnitEv), 1, 2 * column + 1);
}

QLineEdit* resultBox(QWidget* parent, const QString& name) {
    auto* box = numberBox(parent, name, 10);
    box->setReadOnly(true);
    return box;
}

}  // namespace

COptim::COptim(const core::Workspace& workspace, QWidget* parent, const std::string& excitation)
    : QDialog(parent),
      m_workspace(workspace.directory()),
      m_model(m_workspace),
      m_worker(
          this, [this](std::size_t done, std::size_t total) { showProgress(done, total); },
          [this](const core::Report& report) { finish(report); }) {
    setWindowTitle(toQt(captions::kOptimiseTitle));
    setModal(true);

    m_settings = new QWidget(this);
    auto* energy = new QGroupBox(toQt(captions::kEnergyGroup), m_settings);
    m_editStart = numberBox(energy, QStringLiteral("editStart"), 12);
    m_editEnd = numberBox(energy, QStringLiteral("editEnd"), 12);
    m_editStep = numberBox(energy, QStringLiteral("editStep"), 8);
    auto* energyGrid = new QGridLayout(energy);
    addSetting(energyGrid, 0, captions::kOptimiseStart, m_editStart, true);
    addSetting(energyGrid, 1, captions::kOptimiseEnd, m_editEnd, true);
    addSetting(energyGrid, 2, captions::kOptimiseStep, m_editStep, true);

    auto* peak = new QGroupBox(toQt(captions::kPeakGroup), m_settings);
    m_editHeight = numberBox(peak, QStringLiteral("editHeight"), 8);
    m_editWidth = numberBox(peak, QStringLiteral("editWidth"), 8);
    m_editLimit = numberBox(peak, QStringLiteral("editLimit"), 8);
    m_editHeightStep = numberBox(peak, QStringLiteral("editHeightStep"), 8);
    auto* peakGrid = new QGridLayout(peak);
    addSetting(peakGrid, 0, captions::kPeakHeight, m_editHeight, false);
    addSetting(peakGrid, 1, captions::kPeakWidth, m_editWidth, false);
    addSetting(peakGrid, 2, captions::kHeightLimit, m_editLimit, false);
    addSetting(peakGrid, 3, captions::kHeightStep, m_editHeightStep, false);

    m_editOmega = numberBox(m_settings, QStringLiteral("editOmega"), 10);
    m_comboPasses = new QComboBox(m_settings);
    m_comboPasses->setObjectName(QStringLiteral("comboPasses"));
    for (std::string_view item : kPassItems) m_comboPasses->addItem(toQt(item));
    m_comboPasses->setCurrentIndex(-1);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(label(m_settings, captions::kMeasuredExcitation, m_editOmega));
    runRow->addWidget(m_editOmega);
    runRow->addWidget(label(m_settings, captions::kUnitEv));
    runRow->addSpacing(16);
    runRow->addWidget(label(m_settings, captions::kPasses, m_comboPasses));
    runRow->addWidget(m_comboPasses);
    runRow->addStretch(1);

    auto* settingsLayout = new QVBoxLayout(m_settings);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    settingsLayout->addWidget(energy);
    settingsLayout->addWidget(peak);
    settingsLayout->addLayout(runRow);

    m_buttonRun = button(this, captions::kOptimiseRun, QStringLiteral("buttonRun"));
    m_buttonStop = button(this, texts::kOptimiseStopCaption, QStringLiteral("buttonStop"));
    m_buttonStop->setEnabled(false);
    m_progress = progressBar(this);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_buttonRun);
    progressRow->addWidget(m_buttonStop);
    progressRow->addWidget(m_progress, 1);

    m_editComponents = resultBox(this, QStringLiteral("editComponents"));
    m_editRFactor = resultBox(this, QStringLiteral("editRFactor"));
    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(label(this, captions::kComponents, m_editComponents));
    resultRow->addWidget(m_editComponents);
    resultRow->addSpacing(16);
    resultRow->addWidget(label(this, captions::kFinalRFactor, m_editRFactor));
    resultRow->addWidget(m_editRFactor);
    resultRow->addStretch(1);

    m_editMessage = new MessagePanel(this, 5);
    m_editMessage->setMinimumWidth(widestLine(*m_editMessage, messageTexts()));

    // The dialog draws nothing from the files: a change outside needs no redraw.
    m_steps = new StepControls(this, m_workspace, m_editMessage, [] {});
    auto* closeBox = closeButtons(this);
    m_buttonOk = closeBox->findChild<QPushButton*>(QStringLiteral("buttonOk"));
    m_buttonCancel = closeBox->findChild<QPushButton*>(QStringLiteral("buttonCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_settings);
    layout->addLayout(progressRow);
    layout->addLayout(resultRow);
    layout->addWidget(m_editMessage, 1);
    layout->addLayout(closeRow(m_steps->undoButton(), m_steps->redoButton(), closeBox));

    connect(m_buttonRun, &QPushButton::clicked, this, &COptim::onRun);
    connect(m_buttonStop, &QPushButton::clicked, this, &COptim::onStop);

    const core::Report report =
        core::runStep(m_workspace, [&] { return m_model.openAsLastTime(excitation); });
    const OptimiseBoxes& boxes = m_model.boxes();
    m_editStart->setText(toQt(boxes.start));
    m_editEnd->setText(toQt(boxes.end));
    m_editStep->setText(toQt(boxes.step));
    m_editHeight->setText(toQt(boxes.height));
    m_editWidth->setText(toQt(boxes.width));
    m_editLimit->setText(toQt(boxes.limit));
    m_editHeightStep->setText(toQt(boxes.heightStep));
    m_editOmega->setText(toQt(boxes.omega));
    m_comboPasses->setCurrentIndex(boxes.passes.value_or(-1));
    m_editMessage->setText(report.text);
}

// The worker is the last member: its destructor stops the run and waits for
// it before anything the run uses goes away.
COptim::~COptim() = default;

void COptim::reject() {
    if (!running()) {
        QDialog::reject();
        return;
    }
    // The files are left consistent only at a position's end: close then.
    m_closeWhenEnded = true;
    onStop();
}

std::string COptim::closedText() const {
    return core::tools::optimiseClosedText(m_stoppedText, m_finalR);
}

void COptim::onRun() {
    if (m_steps->changedOutside()) return;
    OptimiseBoxes typed;
    typed.start = fromQt(m_editStart->text());
    typed.end = fromQt(m_editEnd->text());
    typed.step = fromQt(m_editStep->text());
    typed.height = fromQt(m_editHeight->text());
    typed.width = fromQt(m_editWidth->text());
    typed.limit = fromQt(m_editLimit->text());
    typed.heightStep = fromQt(m_editHeightStep->text());
    typed.omega = fromQt(m_editOmega->text());
    if (m_comboPasses->currentIndex() >= 0) typed.passes = m_comboPasses->currentIndex();

    setRunning(true);
    m_busy = std::make_unique<WaitCursor>(Qt::BusyCursor);
    m_runStopped = false;
    m_runR.reset();
    m_worker.start(
        m_workspace, [this, typed](std::stop_token stop, const StepWorker::Progress& progress) {
            core::tools::OptimiseObserver observer;
            observer.progress = [&progress](const OptimiseProgress& at) {
                progress(at.position, at.positions);
            };
            observer.passDone = [this](const PassResult& pass) {
                QMetaObject::invokeMethod(
                    this, [this, pass] { showPass(pass); }, Qt::QueuedConnection);
            };
            auto command = core::tools::replayCommand(typed);
            auto outcome = m_model.run(typed, observer, std::move(stop));
            m_runStopped = outcome.cancelled;
            m_runR = outcome.rFactor;
            // A stopped run kept what it had tried so far: no
            // command redoes exactly that.
            if (m_runStopped) command.clear();
            m_workspace.describeStep({std::string(captions::kOptimiseRun.source()), command});
            return outcome.report;
        });
}

void COptim::onStop() {
    m_worker.requestStop();
    m_buttonStop->setEnabled(false);
}

void COptim::setRunning(bool running) {
    m_settings->setEnabled(!running);
    m_buttonRun->setEnabled(!running);
    m_buttonOk->setEnabled(!running);
    m_buttonCancel->setEnabled(!running);
    m_buttonStop->setEnabled(running);
    m_steps->setEnabled(!running);
    // Focus leaves the buttons that are disabled for the one that answers now.
    (running ? m_buttonStop : m_buttonRun)->setFocus();
}

void COptim::showProgress(std::size_t position, std::size_t positions) {
    if (m_editMessage->text() != texts::kOptimiseRunningText) {
        m_editMessage->setText(texts::kOptimiseRunningText);
    }
    const int last = positions > 0 ? static_cast<int>(positions) - 1 : 0;
    if (m_progress->minimum() != 0 || m_progress->maximum() != last) m_progress->setRange(0, last);
    m_progress->setValue(static_cast<int>(position));
}

void COptim::showPass(const PassResult& pass) {
    m_editComponents->setText(toQt(pass.componentText));
    m_editRFactor->setText(toQt(pass.rFactorText));
}

void COptim::finish(const core::Report& report) {
    m_busy.reset();
    setRunning(false);
    m_steps->drawn();
    // The worker has ended: its flags are ours to read.
    if (report.done && m_runR) m_finalR = m_runR;
    const bool stopped = m_runStopped && report.done;
    m_stoppedText = stopped ? std::optional(report.text) : std::nullopt;
    m_editMessage->setText(report.text);
    emit runEnded();
    if (std::exchange(m_closeWhenEnded, false)) QDialog::reject();
}

}  // namespace zephalo::gui
