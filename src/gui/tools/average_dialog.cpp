#include "gui/tools/average_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

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
using core::tools::AverageBoxes;
using core::tools::AverageRange;
using core::tools::kAverageItems;

// The messages of the dialog, the done text with long box texts.
QStringList messageTexts() {
    return {toQt(texts::kAverageOpenText), toQt(texts::kAverageErrorText),
            toQt(texts::averageDoneText("7100.000000", "7199.500000", kAverageItems.back(), 4999,
                                        4999))};
}

}  // namespace

CAverage::CAverage(const core::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_model(workspace) {
    setWindowTitle(toQt(captions::kAverageTitle));
    setModal(true);

    auto* range = new QGroupBox(toQt(captions::kAverageRangeGroup), this);
    m_editStart = numberBox(range, QStringLiteral("editStart"), 12);
    m_editEnd = numberBox(range, QStringLiteral("editEnd"), 12);
    auto* rangeGrid = new QGridLayout(range);
    rangeGrid->addWidget(label(range, captions::kAverageStart, m_editStart), 0, 0);
    rangeGrid->addWidget(m_editStart, 0, 1);
    rangeGrid->addWidget(label(range, captions::kUnitEv), 0, 2);
    rangeGrid->addWidget(label(range, captions::kAverageEnd, m_editEnd), 1, 0);
    rangeGrid->addWidget(m_editEnd, 1, 1);
    rangeGrid->addWidget(label(range, captions::kUnitEv), 1, 2);

    m_comboItems = new QComboBox(this);
    m_comboItems->setObjectName(QStringLiteral("comboItems"));
    for (std::string_view item : kAverageItems) m_comboItems->addItem(toQt(item));
    m_comboItems->setCurrentIndex(-1);
    auto* run = button(this, captions::kAverageRun, QStringLiteral("buttonRun"));
    auto* itemRow = new QHBoxLayout;
    itemRow->addWidget(label(this, captions::kAverageItems, m_comboItems));
    itemRow->addWidget(m_comboItems);
    itemRow->addStretch(1);
    itemRow->addWidget(run);

    m_progress = progressBar(this);

    m_editMessage = new MessagePanel(this, 4);
    m_editMessage->setMinimumWidth(widestLine(*m_editMessage, messageTexts()));

    // The dialog draws nothing from the files: a change outside needs no redraw.
    m_steps = new StepControls(this, m_workspace, m_editMessage, [] {});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(range);
    layout->addLayout(itemRow);
    layout->addWidget(m_progress);
    layout->addWidget(m_editMessage, 1);
    layout->addLayout(closeRow(m_steps->undoButton(), m_steps->redoButton(), closeButtons(this)));

    connect(run, &QPushButton::clicked, this, &CAverage::onRun);

    const core::Report report = core::runStep(m_workspace, [this] { return m_model.open(); });
    m_editStart->setText(toQt(m_model.boxes().start));
    m_editEnd->setText(toQt(m_model.boxes().end));
    m_editMessage->setText(report.text);
}

void CAverage::onRun() {
    if (m_steps->changedOutside()) return;
    AverageBoxes typed;
    typed.start = fromQt(m_editStart->text());
    typed.end = fromQt(m_editEnd->text());
    if (m_comboItems->currentIndex() >= 0) typed.item = m_comboItems->currentIndex();
    const auto progress = [this](std::size_t index, AverageRange range) {
        if (m_progress->minimum() != static_cast<int>(range.first) ||
            m_progress->maximum() != static_cast<int>(range.last)) {
            m_progress->setRange(static_cast<int>(range.first), static_cast<int>(range.last));
        }
        m_progress->setValue(static_cast<int>(index));
    };
    const WaitCursor wait;
    const core::Report report = core::runStep(m_workspace, [&] {
        m_workspace.describeStep(
            {std::string(captions::kAverageRun.source()), core::tools::replayCommand(typed)});
        return m_model.run(typed, progress);
    });
    m_steps->drawn();
    m_editMessage->setText(report.text);
}

}  // namespace zephalo::gui
