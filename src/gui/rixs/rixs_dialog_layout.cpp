#include "gui/rixs/rixs_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "gui/plot/plot_export.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/map_captions.h"
#include "gui/rixs/measured_map_captions.h"
#include "gui/rixs/workbench_captions.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"

// The workbench's widgets and layout.
namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;
using core::rixs::DisplayMode;
using core::rixs::PeakSign;
using core::rixs::WorkbenchBoxes;
using core::rixs::WorkbenchButton;
using core::rixs::WorkbenchModel;

namespace texts = core::rixs::texts;

// Every whole message of the workbench, a head and tail joined around the
// longest value they take.
QStringList messageTexts() {
    QStringList result;
    for (std::string_view text :
         {texts::kLoadedText,           texts::kClearedText,           texts::kDisplayChangedText,
          texts::kWindowRejectedText,   texts::kPeakShownText,         texts::kCorrectedText,
          texts::kStoredText,           texts::kRefreshedText,         texts::kFinishedText,
          texts::kPeakNotFinite,        texts::kShiftedText,           texts::kExcitationHint,
          texts::kRixsClearedText,      texts::kComparisonClearedText, texts::kComparedText,
          texts::kExperimentShownText,  texts::kOtherExperimentText,   texts::kExcitationWarning,
          texts::kMissingComputeInputs, texts::kNoCommonEnergyRefused}) {
        result << toQt(text);
    }
    const std::string energy = "7130.5";
    const std::string file(core::files::kSelectiveWork2);
    result << toQt(std::string(texts::kPickedHead) + energy + std::string(texts::kPickedTail))
           << toQt(std::string(texts::kComputedHead) + energy + std::string(texts::kComputedTail))
           << toQt(std::string(texts::kNotFiniteHead) + file + std::string(texts::kNotFiniteTail))
           << toQt(std::string(texts::kNoCorrectionHead) + file +
                   std::string(texts::kNoCorrectionTail));
    return result;
}

// Sentences an operation adds after its message when a curve is not drawn.
QStringList addedSentences() {
    QStringList result;
    for (std::string_view text :
         {texts::kNoCurveEnergyWindow, texts::kNoCurveFlat, texts::kNoPeakCurveFlat,
          texts::kNoTheoryEmpty, texts::kNoTheoryZero, texts::kNoTheoryFlat,
          texts::kNoTheoryOneEnergy, texts::kNoExperimentEmpty, texts::kNoExperimentFrame,
          texts::kNoCommonEnergy}) {
        result << toQt(text);
    }
    return result;
}

QStringList linesOf(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}

// Lines of the longest message with the longest sentence added to it.
int mostLines() {
    qsizetype most = 0;
    for (const QString& text : messageTexts()) most = std::max(most, linesOf(text).size());
    qsizetype added = 0;
    for (const QString& text : addedSentences()) added = std::max(added, linesOf(text).size() - 1);
    return static_cast<int>(most + added);
}

QRadioButton* radio(QWidget* parent, std::string_view caption, const QString& name,
                    QButtonGroup* group) {
    auto* result = new QRadioButton(shownCaption(caption), parent);
    result->setObjectName(name);
    group->addButton(result);
    return result;
}

PlotPanel* panel(QWidget* parent, const QString& name, int side) {
    auto* result = new PlotPanel(parent);
    result->setObjectName(name);
    result->setMinimumSize(side, side);
    result->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return result;
}

QLabel* heading(QWidget* parent, std::string_view caption) {
    auto* result = label(parent, caption);
    result->setAlignment(Qt::AlignCenter);
    QFont font = result->font();
    font.setBold(true);
    result->setFont(font);
    return result;
}

// The selective XAFS panel is the one the user clicks in and reads most.
constexpr int kXafsPanelSide = 260;
constexpr int kRixsPanelSide = 230;
// The widest row of buttons under a RIXS panel: all five under the
// calculation's panel in Japanese.
constexpr int kButtonRowWidth = 460;
// Inner margins of the one-row groups of the bottom row.
constexpr QMargins kGroupRowMargins(8, 4, 8, 6);

}  // namespace

CRIXSXAFS::CRIXSXAFS(const core::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_model(workspace) {
    m_chooseFile = [this](FileChoice choice) { return chooseDataFile(this, choice); };
    setWindowTitle(toQt(captions::kTitle));
    setModal(true);

    m_editMessage = new MessagePanel(this, mostLines());
    m_editMessage->setMinimumWidth(widestLine(*m_editMessage, messageTexts() + addedSentences()));
    m_steps = new StepControls(this, m_workspace, m_editMessage, [this] { redrawFromFiles(); });

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildXafsColumn(), 5);
    columns->addSpacing(8);
    columns->addWidget(buildRixsColumn(), 8);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buildBottomRow());

    // Every panel draws what the model holds at the moment it paints: the
    // selective XAFS in the mode now checked, the RIXS spectra with the flag
    // now stored.
    // A dragged correction peak adds its live curves.
    m_xafsPanel->setCurveSource([this] { return xafsShown(); });
    m_theoryPanel->setCurveSource([this] { return theoryShown(); });
    m_experimentPanel->setCurveSource([this] { return experimentShown(); });
    connect(m_xafsPanel, &PlotPanel::picked, this, &CRIXSXAFS::onPicked);
    connectLive();
    attachExport(m_xafsPanel, [this] { return m_model.xafsSeries(checkedMode()); });
    attachExport(m_theoryPanel, [this] { return m_model.theorySeries(m_model.twoComponents()); });
    attachExport(m_experimentPanel,
                 [this] { return m_model.experimentSeries(m_model.twoComponents()); });
    // The user's own typing only: the workbench's changes to the box send no hint.
    connect(m_editExcitation, &QLineEdit::textEdited, this, [this] {
        run(core::text::Text(std::string_view()), {},
            [this](const WorkbenchBoxes& typed) { return m_model.excitationEdited(typed); });
    });
}

QWidget* CRIXSXAFS::buildXafsColumn() {
    auto* column = new QWidget(this);
    m_xafsPanel = panel(column, QStringLiteral("panelXafs"), kXafsPanelSide);
    m_xafsPanel->setTitle(captions::kXafsPanel);

    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(addButton(captions::kLoad, QStringLiteral("buttonLoad"),
                                 &WorkbenchModel::load, replay(WorkbenchButton::Load)));
    loadRow->addWidget(
        addButton(captions::kClear, QStringLiteral("buttonClear"), &WorkbenchModel::clear));

    auto* range = new QGroupBox(toQt(captions::kRangeGroup), column);
    m_editRangeMin = numberBox(range, QStringLiteral("editRangeMin"), 8);
    m_editRangeMax = numberBox(range, QStringLiteral("editRangeMax"), 8);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(m_editRangeMin, 1);
    rangeRow->addWidget(label(range, captions::kRangeFrom));
    rangeRow->addWidget(m_editRangeMax, 1);
    rangeRow->addWidget(label(range, captions::kRangeTo));
    m_modes = new QButtonGroup(range);
    m_radioModeA = radio(range, captions::kModeA, QStringLiteral("radioModeA"), m_modes);
    m_radioModeB = radio(range, captions::kModeB, QStringLiteral("radioModeB"), m_modes);
    m_radioModeAB = radio(range, captions::kModeAB, QStringLiteral("radioModeAB"), m_modes);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(label(range, captions::kModeHeading));
    modeRow->addWidget(m_radioModeA);
    modeRow->addWidget(m_radioModeB);
    modeRow->addWidget(m_radioModeAB);
    modeRow->addStretch(1);
    modeRow->addWidget(addButton(captions::kChangeDisplay, QStringLiteral("buttonChangeDisplay"),
                                 &WorkbenchModel::changeDisplay,
                                 replay(WorkbenchButton::ChangeDisplay)));
    auto* rangeLayout = new QVBoxLayout(range);
    rangeLayout->addLayout(rangeRow);
    rangeLayout->addLayout(modeRow);

    auto* peak = new QGroupBox(toQt(captions::kPeakGroup), column);
    m_editPeakCentre = numberBox(peak, QStringLiteral("editPeakCentre"), 8);
    m_editPeakAmplitude = numberBox(peak, QStringLiteral("editPeakAmplitude"), 5);
    m_editPeakWidth = numberBox(peak, QStringLiteral("editPeakWidth"), 5);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(label(peak, captions::kPeakCentre, m_editPeakCentre));
    boxes->addWidget(m_editPeakCentre, 2);
    boxes->addWidget(label(peak, captions::kPeakAmplitude, m_editPeakAmplitude));
    boxes->addWidget(m_editPeakAmplitude, 1);
    boxes->addWidget(label(peak, captions::kPeakWidth, m_editPeakWidth));
    boxes->addWidget(m_editPeakWidth, 1);
    m_signs = new QButtonGroup(peak);
    m_radioAdd = radio(peak, captions::kAdd, QStringLiteral("radioAdd"), m_signs);
    m_radioSubtract = radio(peak, captions::kSubtract, QStringLiteral("radioSubtract"), m_signs);
    auto* signRow = new QHBoxLayout;
    signRow->addWidget(m_radioAdd);
    signRow->addWidget(m_radioSubtract);
    signRow->addStretch(1);
    auto* actions = new QGridLayout;
    actions->addWidget(addButton(captions::kShowPeak, QStringLiteral("buttonShowPeak"),
                                 &WorkbenchModel::showPeak, replay(WorkbenchButton::ShowPeak)),
                       0, 0);
    actions->addWidget(addButton(captions::kApply, QStringLiteral("buttonApply"),
                                 &WorkbenchModel::applyCorrection, replay(WorkbenchButton::Apply)),
                       0, 1);
    actions->addWidget(addButton(captions::kStore, QStringLiteral("buttonStore"),
                                 &WorkbenchModel::storeCorrection, replay(WorkbenchButton::Store)),
                       1, 0);
    actions->addWidget(addButton(captions::kRefresh, QStringLiteral("buttonRefresh"),
                                 &WorkbenchModel::refresh, replay(WorkbenchButton::Refresh)),
                       1, 1);
    auto* peakLayout = new QVBoxLayout(peak);
    peakLayout->addLayout(boxes);
    peakLayout->addLayout(signRow);
    peakLayout->addLayout(actions);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading(column, captions::kXafsPanel));
    layout->addWidget(m_xafsPanel, 1);
    layout->addLayout(loadRow);
    layout->addWidget(range);
    layout->addWidget(peak);
    return column;
}

QWidget* CRIXSXAFS::buildRixsColumn() {
    auto* column = new QWidget(this);
    m_theoryPanel = panel(column, QStringLiteral("panelTheory"), kRixsPanelSide);
    m_experimentPanel = panel(column, QStringLiteral("panelExperiment"), kRixsPanelSide);
    m_theoryPanel->setTitle(captions::kTheoryPanel);
    m_experimentPanel->setTitle(captions::kExperimentPanel);

    m_editExcitation = numberBox(column, QStringLiteral("editExcitation"), 8);
    auto* excitationRow = new QHBoxLayout;
    excitationRow->addWidget(label(column, captions::kExcitation, m_editExcitation));
    excitationRow->addWidget(m_editExcitation, 1);
    auto* compute = button(column, captions::kCompute, QStringLiteral("buttonCompute"));
    connect(compute, &QPushButton::clicked, this, &CRIXSXAFS::onCompute);
    auto* map = button(column, captions::kMapButton, QStringLiteral("buttonMap"));
    connect(map, &QPushButton::clicked, this, &CRIXSXAFS::onMap);
    auto* importMap =
        button(column, captions::kImportMapButton, QStringLiteral("buttonImportMeasuredMap"));
    connect(importMap, &QPushButton::clicked, this, &CRIXSXAFS::onImportMap);
    // The longer English captions take two rows, keeping the window within
    // a laptop's screen.
    auto* computeRow = rowsWithin(
        kButtonRowWidth, {compute, map, importMap,
                          addButton(captions::kClearRixs, QStringLiteral("buttonClearRixs"),
                                    &WorkbenchModel::clearRixs),
                          addFileButton(captions::kSaveRixs, QStringLiteral("buttonSaveRixs"),
                                        FileChoice::Save, &WorkbenchModel::saveRixs)});
    auto* theory = new QVBoxLayout;
    theory->addLayout(excitationRow);
    theory->addLayout(computeRow);
    // Undo and redo under them, where a long step title has room: the
    // bottom row is full.
    theory->addLayout(rowsWithin(kButtonRowWidth, {m_steps->undoButton(), m_steps->redoButton()}));

    m_editScaling = numberBox(column, QStringLiteral("editScaling"), 10);
    m_editAbsorption = numberBox(column, QStringLiteral("editAbsorption"), 10);
    auto* factors = new QGridLayout;
    factors->addWidget(label(column, captions::kScaling, m_editScaling), 0, 0);
    factors->addWidget(m_editScaling, 0, 1);
    factors->addWidget(label(column, captions::kAbsorption, m_editAbsorption), 1, 0);
    factors->addWidget(m_editAbsorption, 1, 1);
    // Read only: the R factor of the pair the experiment panel shows.
    m_editRFactor = numberBox(column, QStringLiteral("editRFactor"), 10);
    m_editRFactor->setReadOnly(true);
    factors->addWidget(label(column, captions::kRFactor, m_editRFactor), 2, 0);
    factors->addWidget(m_editRFactor, 2, 1);
    factors->setColumnStretch(1, 1);
    auto* compareRow = rowsWithin(
        kButtonRowWidth,
        {addButton(captions::kCompare, QStringLiteral("buttonCompare"),
                   &WorkbenchModel::compareWithExperiment, replay(WorkbenchButton::Compare)),
         addButton(captions::kClearExperiment, QStringLiteral("buttonClearExperiment"),
                   &WorkbenchModel::clearComparison),
         addFileButton(captions::kCompareAnother, QStringLiteral("buttonCompareAnother"),
                       FileChoice::Open, &WorkbenchModel::compareWithOther, true)});
    // The computation and comparison operations run it themselves; the
    // user never sees it.
    auto* redraw = addButton(captions::kRedrawComparison, QStringLiteral("buttonRedraw"),
                             &WorkbenchModel::compareCalculated);
    redraw->hide();
    compareRow->addWidget(redraw);
    auto* experiment = new QVBoxLayout;
    experiment->addLayout(factors);
    experiment->addLayout(compareRow);

    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(heading(column, captions::kTheoryPanel), 0, 0);
    grid->addWidget(heading(column, captions::kExperimentPanel), 0, 1);
    grid->addWidget(m_theoryPanel, 1, 0);
    grid->addWidget(m_experimentPanel, 1, 1);
    grid->addLayout(theory, 3, 0, Qt::AlignTop);
    grid->addLayout(experiment, 3, 1, Qt::AlignTop);
    grid->addWidget(m_editMessage, 4, 0, 1, 2);
    grid->setRowStretch(1, 1);
    return column;
}

QLayout* CRIXSXAFS::buildBottomRow() {
    auto* shift = new QGroupBox(toQt(captions::kShiftGroup), this);
    m_editShift = numberBox(shift, QStringLiteral("editShift"), 6);
    auto* shiftLayout = new QHBoxLayout(shift);
    shiftLayout->setContentsMargins(kGroupRowMargins);
    shiftLayout->addWidget(m_editShift);
    shiftLayout->addWidget(addButton(captions::kShift, QStringLiteral("buttonShift"),
                                     &WorkbenchModel::shift, replay(WorkbenchButton::Shift)));

    auto* tools = new QGroupBox(toQt(captions::kToolsGroup), this);
    auto* toolsLayout = new QHBoxLayout(tools);
    toolsLayout->setContentsMargins(kGroupRowMargins);
    auto* optimise = button(tools, captions::kOptimise, QStringLiteral("buttonOptimise"));
    auto* average = button(tools, captions::kAverage, QStringLiteral("buttonAverage"));
    connect(optimise, &QPushButton::clicked, this, &CRIXSXAFS::onOptimise);
    connect(average, &QPushButton::clicked, this, &CRIXSXAFS::onAverage);
    toolsLayout->addWidget(optimise);
    toolsLayout->addWidget(average);
    auto* fit = button(tools, captions::kFit, QStringLiteral("buttonFit"));
    connect(fit, &QPushButton::clicked, this, &CRIXSXAFS::onFit);
    toolsLayout->addWidget(fit);

    // Kept for the user who knows it; the panels repaint by themselves.
    auto* repaint = button(this, captions::kRepaint, QStringLiteral("buttonRepaint"));
    auto* repaintHint = label(this, captions::kRepaintHint);
    repaint->hide();
    repaintHint->hide();
    connect(repaint, &QPushButton::clicked, this, &CRIXSXAFS::repaintPanels);

    auto* closeBox = closeButtons(this);

    // Buttons outside a group stand level with the buttons inside one.
    const auto level = [](QWidget* widget) {
        auto* column = new QVBoxLayout;
        column->addStretch(1);
        column->addWidget(widget);
        column->addSpacing(kGroupRowMargins.bottom() + 1);
        return column;
    };
    auto* row = new QHBoxLayout;
    row->addLayout(level(addButton(captions::kFinish, QStringLiteral("buttonFinish"),
                                   &WorkbenchModel::finish, replay(WorkbenchButton::Finish))));
    row->addSpacing(8);
    row->addWidget(shift);
    row->addLayout(level(addFileButton(captions::kSaveXafs, QStringLiteral("buttonSaveXafs"),
                                       FileChoice::Save, &WorkbenchModel::saveXafs)));
    row->addSpacing(8);
    row->addWidget(tools);
    row->addWidget(repaint);
    row->addWidget(repaintHint);
    row->addStretch(1);
    row->addLayout(level(closeBox));
    return row;
}

}  // namespace zephalo::gui
