#include "gui/rixs/rixs_dialog.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

#include "core/tools/tools_texts.h"
#include "core/workspace/number_text.h"
#include "core/workspace/step.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/measured_map_import.h"
#include "gui/rixs/rixs_map_window.h"
#include "gui/rixs/workbench_captions.h"
#include "gui/tools/average_dialog.h"
#include "gui/tools/fit_dialog.h"
#include "gui/tools/optim_dialog.h"
#include "gui/widgets/button_step.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"

// What the workbench's buttons do: each runs the model's operation as one
// step and shows what it left.
namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;
using core::rixs::DisplayMode;
using core::rixs::PeakSign;
using core::rixs::WorkbenchBoxes;
using core::rixs::WorkbenchButton;

// The R factor as the box shows it.
constexpr int kRFactorDigits = 6;

// Checks `chosen` alone, or no radio of the group at all.
void checkOnly(QButtonGroup* group, QRadioButton* chosen) {
    group->setExclusive(false);
    for (auto* member : group->buttons()) member->setChecked(member == chosen);
    group->setExclusive(true);
}

}  // namespace

CRIXSXAFS::CommandOf CRIXSXAFS::replay(core::rixs::WorkbenchButton button) {
    return
        [button](const WorkbenchBoxes& typed) { return core::rixs::replayCommand(button, typed); };
}

QPushButton* CRIXSXAFS::addButton(core::text::Text caption, const QString& name,
                                  Operation operation, CommandOf command) {
    auto* result = button(this, caption, name);
    connect(result, &QPushButton::clicked, this, [this, caption, operation, command] {
        run(caption, command,
            [this, operation](const WorkbenchBoxes& typed) { return (m_model.*operation)(typed); });
    });
    return result;
}

QPushButton* CRIXSXAFS::addFileButton(core::text::Text caption, const QString& name,
                                      FileChoice choice, FileOperation operation, bool replayable) {
    auto* result = button(this, caption, name);
    connect(result, &QPushButton::clicked, this, [this, caption, choice, operation, replayable] {
        const auto chosen = m_chooseFile(choice);
        if (!chosen) return;  // cancelled: nothing read, nothing written, text kept
        CommandOf command;
        if (replayable) {
            command = [&](const WorkbenchBoxes&) {
                return core::rixs::compareWithCommand(*chosen);
            };
        }
        run(caption, command,
            [&](const WorkbenchBoxes& typed) { return (m_model.*operation)(typed, *chosen); });
    });
    return result;
}

void CRIXSXAFS::run(core::text::Text caption, const CommandOf& command,
                    const std::function<core::Report(const WorkbenchBoxes&)>& operation) {
    if (m_steps->changedOutside()) return;
    m_live.reset();
    const WorkbenchBoxes typed = typedBoxes();
    bool ran = false;
    const core::Report report = core::runStep(m_workspace, [&] {
        ran = true;
        m_workspace.describeStep(
            {std::string(caption.source()), command ? command(typed) : std::vector<std::string>{}});
        return operation(typed);
    });
    m_steps->drawn();
    m_editMessage->setText(report.text);
    // A step refused before it started leaves the boxes as the user typed them.
    if (ran) showBoxes(m_model.boxes());
    repaintPanels();
}

void CRIXSXAFS::redrawFromFiles() {
    m_live.reset();
    m_model.redraw(typedBoxes());
    showBoxes(m_model.boxes());
    repaintPanels();
}

void CRIXSXAFS::onCompute() {
    run(captions::kCompute, replay(WorkbenchButton::Compute),
        [this](const WorkbenchBoxes& typed) { return m_model.compute(typed); });
}

void CRIXSXAFS::onMap() {
    // The excitation box names the measured spectrum's Ω when it holds one.
    const auto measured = core::rixs::WorkbenchModel::measuredExcitation(typedBoxes());
    auto* window = new RixsMapWindow(m_workspace, measured, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->startCompute();
}

void CRIXSXAFS::onImportMap() {
    if (const auto report = importMeasuredMap(this, m_workspace)) {
        m_editMessage->setText(report->text);
    }
}

void CRIXSXAFS::onPicked(double logicalX, double logicalY) {
    if (m_steps->changedOutside()) {
        m_xafsPanel->cancelCursor();
        return;
    }
    m_live.reset();
    const WorkbenchBoxes typed = typedBoxes();
    const auto report =
        runClickStep(m_workspace, [&] { return m_model.pick(logicalX, logicalY, typed); });
    m_steps->drawn();
    if (!report) {
        // Nothing loaded to map the click to: no cursor, no message.
        m_xafsPanel->cancelCursor();
        return;
    }
    m_editMessage->setText(report->text);
    if (report->done) showBoxes(m_model.boxes());
}

// The refinement tools change only the working copy; the panel shows it
// after "表示変更".
void CRIXSXAFS::onOptimise() {
    if (m_steps->changedOutside()) return;
    COptim dialog(m_workspace, this, fromQt(m_editExcitation->text()));
    dialog.exec();
    m_steps->drawn();
    m_editMessage->setText(dialog.closedText());
}

void CRIXSXAFS::onFit() {
    if (m_steps->changedOutside()) return;
    CFit dialog(m_workspace, m_editExcitation->text(), this);
    dialog.exec();
    m_steps->drawn();
    m_editMessage->setText(core::tools::texts::kFitClosedText);
}

void CRIXSXAFS::onAverage() {
    if (m_steps->changedOutside()) return;
    CAverage dialog(m_workspace, this);
    dialog.exec();
    m_steps->drawn();
    m_editMessage->setText(core::tools::texts::kAverageClosedText);
}

WorkbenchBoxes CRIXSXAFS::typedBoxes() const {
    WorkbenchBoxes boxes;
    boxes.rangeMin = fromQt(m_editRangeMin->text());
    boxes.rangeMax = fromQt(m_editRangeMax->text());
    boxes.peakCentre = fromQt(m_editPeakCentre->text());
    boxes.peakAmplitude = fromQt(m_editPeakAmplitude->text());
    boxes.peakWidth = fromQt(m_editPeakWidth->text());
    boxes.excitation = fromQt(m_editExcitation->text());
    boxes.scaling = fromQt(m_editScaling->text());
    boxes.absorption = fromQt(m_editAbsorption->text());
    boxes.shift = fromQt(m_editShift->text());
    boxes.mode = checkedMode();
    boxes.sign = m_radioAdd->isChecked()        ? PeakSign::Add
                 : m_radioSubtract->isChecked() ? PeakSign::Subtract
                                                : PeakSign::None;
    return boxes;
}

void CRIXSXAFS::showBoxes(const WorkbenchBoxes& boxes) {
    // Only boxes whose text changed are touched. A later hint on the user's
    // own change of the excitation box listens to textEdited, which these
    // programmatic changes do not send.
    const auto show = [](QLineEdit* box, const std::string& text) {
        const QString shown = toQt(text);
        if (box->text() != shown) box->setText(shown);
    };
    show(m_editRangeMin, boxes.rangeMin);
    show(m_editRangeMax, boxes.rangeMax);
    show(m_editPeakCentre, boxes.peakCentre);
    show(m_editPeakAmplitude, boxes.peakAmplitude);
    show(m_editPeakWidth, boxes.peakWidth);
    show(m_editExcitation, boxes.excitation);
    show(m_editScaling, boxes.scaling);
    show(m_editAbsorption, boxes.absorption);
    show(m_editShift, boxes.shift);
    switch (boxes.mode) {
        case DisplayMode::A:
            checkOnly(m_modes, m_radioModeA);
            break;
        case DisplayMode::B:
            checkOnly(m_modes, m_radioModeB);
            break;
        case DisplayMode::AB:
            checkOnly(m_modes, m_radioModeAB);
            break;
        case DisplayMode::None:
            checkOnly(m_modes, nullptr);
            break;
    }
    switch (boxes.sign) {
        case PeakSign::Add:
            checkOnly(m_signs, m_radioAdd);
            break;
        case PeakSign::Subtract:
            checkOnly(m_signs, m_radioSubtract);
            break;
        case PeakSign::None:
            checkOnly(m_signs, nullptr);
            break;
    }
}

DisplayMode CRIXSXAFS::checkedMode() const {
    if (m_radioModeA->isChecked()) return DisplayMode::A;
    if (m_radioModeB->isChecked()) return DisplayMode::B;
    if (m_radioModeAB->isChecked()) return DisplayMode::AB;
    return DisplayMode::None;
}

void CRIXSXAFS::repaintPanels() {
    const std::optional<double> rFactor = m_model.shownRFactor();
    m_editRFactor->setText(rFactor ? toQt(core::formatDigits(*rFactor, kRFactorDigits))
                                   : QString());
    placeGrip();
    m_xafsPanel->update();
    m_theoryPanel->update();
    m_experimentPanel->update();
}

}  // namespace zephalo::gui
