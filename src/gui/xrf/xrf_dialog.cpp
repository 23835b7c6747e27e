#include "gui/xrf/xrf_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/workspace/number_text.h"
#include "core/xrf/xrf_texts.h"
#include "gui/plot/plot_export.h"
#include "gui/plot/plot_panel.h"
#include "gui/widgets/button_step.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"
#include "gui/widgets/wait_cursor.h"
#include "gui/xrf/xrf_captions.h"

namespace zephalo::gui {

namespace {

namespace texts = core::xrf::texts;
namespace captions = xrf::captions;
using core::xrf::kLineCount;
using core::xrf::kLineNames;
using core::xrf::XrfButton;

QLabel* heading(QWidget* parent, std::string_view caption) {
    auto* label = new QLabel(toQt(caption), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Every guidance line as the texts break them.
QStringList guidanceTexts() {
    QStringList all;
    for (std::string_view text : {texts::kLoadedTail, texts::kConfirmedText, texts::kFittedText,
                                  texts::kPositionSetText, texts::kStoredText}) {
        all << toQt(text);
    }
    return all;
}

}  // namespace

CXRF::CXRF(const core::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_model(workspace) {
    setWindowTitle(toQt(captions::kTitle));
    setModal(true);

    m_buttonLoad = button(this, captions::kLoad, QStringLiteral("buttonLoad"));
    m_buttonConfirm = button(this, captions::kConfirm, QStringLiteral("buttonConfirm"));
    m_buttonFit = button(this, captions::kFit, QStringLiteral("buttonFit"));
    m_buttonRFactor = button(this, captions::kRFactor, QStringLiteral("buttonRFactor"));
    m_buttonStore = button(this, captions::kStore, QStringLiteral("buttonStore"));

    m_editExcitation = numberBox(this, QStringLiteral("editExcitation"), 10);
    auto* excitationLabel = new QLabel(toQt(texts::kExcitationCaption), this);
    excitationLabel->setBuddy(m_editExcitation);
    auto* excitationRow = new QHBoxLayout;
    excitationRow->addWidget(excitationLabel);
    excitationRow->addWidget(m_editExcitation);
    excitationRow->addStretch();

    auto* actionRow = new QHBoxLayout;
    actionRow->addWidget(m_buttonConfirm);
    actionRow->addWidget(m_buttonFit);
    actionRow->addStretch();

    m_editMessage = new MessagePanel(this, 9);
    m_editMessage->setMinimumWidth(widestLine(*m_editMessage, guidanceTexts()));

    auto* left = new QVBoxLayout;
    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(m_buttonLoad);
    loadRow->addStretch();
    left->addLayout(loadRow);
    left->addWidget(buildParameters());
    left->addLayout(excitationRow);
    left->addLayout(actionRow);
    left->addWidget(m_editMessage, 1);

    auto* finishRow = new QHBoxLayout;
    finishRow->addStretch();
    finishRow->addWidget(m_buttonRFactor);
    finishRow->addWidget(m_buttonStore);
    auto* right = new QVBoxLayout;
    right->addWidget(buildPlot(), 1);
    right->addLayout(finishRow);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 0);
    columns->addSpacing(8);
    columns->addLayout(right, 1);

    // Kept for the user who knows it; the panel repaints by itself.
    auto* repaint = button(this, captions::kRepaint, QStringLiteral("buttonRepaint"));
    auto* repaintNote = new QLabel(toQt(captions::kRepaintHint), this);
    repaint->hide();
    repaintNote->hide();

    auto* closeBox = closeButtons(this);
    m_steps = new StepControls(this, m_workspace, m_editMessage, [this] { redrawFromFiles(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(repaint);
    bottom->addWidget(repaintNote);
    bottom->addStretch();
    bottom->addWidget(m_steps->undoButton());
    bottom->addWidget(m_steps->redoButton());
    bottom->addWidget(closeBox);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    connect(m_buttonLoad, &QPushButton::clicked, this, &CXRF::onLoad);
    connect(m_buttonConfirm, &QPushButton::clicked, this, &CXRF::onConfirm);
    connect(m_buttonFit, &QPushButton::clicked, this, &CXRF::onFit);
    connect(m_buttonRFactor, &QPushButton::clicked, this, &CXRF::onRFactor);
    connect(m_buttonStore, &QPushButton::clicked, this, &CXRF::onStore);
    connect(repaint, &QPushButton::clicked, this, &CXRF::refreshPlot);
    connect(m_plot, &PlotPanel::picked, this, &CXRF::onPicked);
    attachExport(m_plot, [this] { return m_model.series(m_radioTwoComponents->isChecked()); });
    // The components are drawn only while "2成分(A+BとC+D)" is checked.
    connect(m_radioTwoComponents, &QRadioButton::toggled, this, &CXRF::refreshPlot);
}

QWidget* CXRF::buildParameters() {
    auto* group = new QGroupBox(toQt(captions::kParameters), this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addWidget(heading(group, texts::kPositionCaption), 0, 1);
    grid->addWidget(heading(group, texts::kAmplitudeCaption), 0, 2);
    grid->addWidget(heading(group, texts::kWidthCaption), 0, 3);
    for (std::size_t i = 0; i < kLineCount; ++i) {
        const int row = static_cast<int>(i) + 1;
        const QString name = toQt(kLineNames[i]);
        grid->addWidget(heading(group, kLineNames[i]), row, 0);
        m_editPosition[i] = numberBox(group, QStringLiteral("editPosition") + name, 12);
        m_editAmplitude[i] = numberBox(group, QStringLiteral("editAmplitude") + name, 11);
        m_editWidth[i] = numberBox(group, QStringLiteral("editWidth") + name, 8);
        grid->addWidget(m_editPosition[i], row, 1);
        grid->addWidget(m_editAmplitude[i], row, 2);
        grid->addWidget(m_editWidth[i], row, 3);
    }

    // Both unchecked until the stored mode is loaded.
    m_radioOneComponent = new QRadioButton(toQt(captions::kOneComponent), group);
    m_radioTwoComponents = new QRadioButton(toQt(captions::kTwoComponents), group);
    m_radioOneComponent->setObjectName(QStringLiteral("radioOneComponent"));
    m_radioTwoComponents->setObjectName(QStringLiteral("radioTwoComponents"));
    auto* modes = new QButtonGroup(group);
    modes->addButton(m_radioOneComponent);
    modes->addButton(m_radioTwoComponents);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(m_radioOneComponent);
    modeRow->addSpacing(16);
    modeRow->addWidget(m_radioTwoComponents);
    modeRow->addStretch();

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(grid);
    layout->addSpacing(4);
    layout->addLayout(modeRow);
    return group;
}

QWidget* CXRF::buildPlot() {
    auto* area = new QWidget(this);
    m_plot = new PlotPanel(area);
    m_plot->setObjectName(QStringLiteral("plotPanel"));
    m_plot->setMinimumSize(380, 340);
    m_plot->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto* selection = new QGroupBox(toQt(captions::kLineChoice), area);
    auto* lines = new QButtonGroup(selection);
    auto* lineRow = new QHBoxLayout(selection);
    for (std::size_t i = 0; i < kLineCount; ++i) {
        m_radioLine[i] = new QRadioButton(toQt(kLineNames[i]), selection);
        m_radioLine[i]->setObjectName(QStringLiteral("radioLine") + toQt(kLineNames[i]));
        lines->addButton(m_radioLine[i]);
        lineRow->addWidget(m_radioLine[i]);
    }
    lineRow->addStretch();

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot, 1);
    layout->addWidget(selection);
    return area;
}

void CXRF::describe(const core::text::Text& caption, core::xrf::XrfButton which,
                    const core::xrf::XrfBoxes& typed) const {
    m_workspace.describeStep(
        {std::string(caption.source()),
         core::xrf::replayCommand(which, typed, m_radioTwoComponents->isChecked())});
}

void CXRF::showReport(const core::Report& report) {
    m_steps->drawn();
    m_editMessage->setText(report.text);
}

void CXRF::redrawFromFiles() {
    m_model.redraw();
    refreshPlot();
}

std::size_t CXRF::selectedLine() const {
    for (std::size_t i = 0; i + 1 < kLineCount; ++i) {
        if (m_radioLine[i]->isChecked()) return i;
    }
    return kLineCount - 1;
}

void CXRF::onLoad() {
    if (m_steps->changedOutside()) return;
    m_editMessage->setText(texts::kLoadingText);
    const core::Report report = core::runStep(m_workspace, [this] {
        describe(captions::kLoad, XrfButton::Load, {});
        return m_model.load();
    });
    showReport(report);
    if (!report.done) return;
    const auto& boxes = m_model.boxes();
    for (std::size_t i = 0; i < kLineCount; ++i) {
        m_editPosition[i]->setText(toQt(boxes.lines[i].position));
        m_editAmplitude[i]->setText(toQt(boxes.lines[i].amplitude));
        m_editWidth[i]->setText(toQt(boxes.lines[i].width));
    }
    m_editExcitation->setText(toQt(boxes.excitation));
    (m_model.twoComponents() ? m_radioTwoComponents : m_radioOneComponent)->setChecked(true);
    m_radioLine[0]->setChecked(true);
    refreshPlot();
}

void CXRF::onConfirm() {
    if (m_steps->changedOutside()) return;
    core::xrf::XrfBoxes typed;
    for (std::size_t i = 0; i < kLineCount; ++i) {
        typed.lines[i] = {fromQt(m_editPosition[i]->text()), fromQt(m_editAmplitude[i]->text()),
                          fromQt(m_editWidth[i]->text())};
    }
    showReport(core::runStep(m_workspace, [&] {
        describe(captions::kConfirm, XrfButton::Confirm, typed);
        return m_model.confirm(typed, m_radioTwoComponents->isChecked());
    }));
}

void CXRF::onFit() {
    if (m_steps->changedOutside()) return;
    if (!m_model.hasMeasurement()) return m_editMessage->setText(texts::kLoadFirstText);
    m_editMessage->setText({});
    {
        const WaitCursor wait;
        showReport(core::runStep(m_workspace, [this] {
            core::xrf::XrfBoxes typed;
            typed.excitation = fromQt(m_editExcitation->text());
            describe(captions::kFit, XrfButton::Fit, typed);
            return m_model.fit(fromQt(m_editExcitation->text()));
        }));
    }
    refreshPlot();
}

void CXRF::onPicked(double logicalX, double logicalY) {
    if (m_steps->changedOutside()) return;
    const std::size_t line = selectedLine();
    const auto report =
        runClickStep(m_workspace, [&] { return m_model.click(logicalX, logicalY, line); });
    if (!report) return;
    if (report->done) m_editPosition[line]->setText(toQt(m_model.boxes().lines[line].position));
    showReport(*report);
}

void CXRF::onRFactor() {
    if (m_steps->changedOutside()) return;
    if (!m_model.hasMeasurement()) return m_editMessage->setText(texts::kLoadFirstText);
    showReport(core::runStep(m_workspace, [this] {
        describe(captions::kRFactor, XrfButton::RFactor, {});
        return m_model.rFactor();
    }));
}

void CXRF::onStore() {
    if (m_steps->changedOutside()) return;
    showReport(core::runStep(m_workspace, [this] {
        describe(captions::kStore, XrfButton::Store, {});
        return m_model.store();
    }));
}

void CXRF::refreshPlot() {
    m_plot->setCurves(m_model.curves(m_radioTwoComponents->isChecked()));
}

}  // namespace zephalo::gui
