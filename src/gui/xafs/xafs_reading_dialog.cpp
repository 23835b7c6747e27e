#include "gui/xafs/xafs_reading_dialog.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/workspace/records.h"
#include "core/workspace/step.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/file_dialogs.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"
#include "gui/xafs/xafs_captions.h"

namespace zephalo::gui {

namespace {

namespace captions = xafs::captions;

// The calculation outputs, the work-space style data, everything. Each entry
// is shown without its pattern list, as the captions read.
QStringList fileFilters() {
    return {toQt(captions::kCalculationFilter), toQt(captions::kDataFilter),
            toQt(captions::kAllFilter)};
}

}  // namespace

CXAFSReading::CXAFSReading(const core::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_model(workspace) {
    setWindowTitle(toQt(captions::kReadingTitle));
    setModal(true);
    m_chooseFile = [this] { return chooseWithDialog(); };

    auto* oneComponent = new QPushButton(toQt(captions::kOneComponent), this);

    auto* twoGroup = new QGroupBox(toQt(captions::kTwoGroup), this);
    auto* firstOfTwo = new QPushButton(toQt(captions::kFirstOfTwo), twoGroup);
    auto* secondOfTwo = new QPushButton(toQt(captions::kSecondOfTwo), twoGroup);
    auto* twoLayout = new QVBoxLayout(twoGroup);
    twoLayout->addWidget(firstOfTwo);
    twoLayout->addWidget(secondOfTwo);

    auto* generalGroup = new QGroupBox(toQt(captions::kGeneralGroup), this);
    auto* general = new QPushButton(toQt(captions::kGeneral), generalGroup);
    auto* generalLayout = new QVBoxLayout(generalGroup);
    generalLayout->addWidget(general);

    m_editMessage = new MessagePanel(this, 6);
    m_editMessage->setText(core::xafs::XafsReadingModel::openingText());
    // Wide enough that the guidance lines are not wrapped a second time.
    m_editMessage->setMinimumWidth(
        widestLine(*m_editMessage, {toQt(core::xafs::XafsReadingModel::openingText())}) + 8);

    auto* buttons = closeButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(oneComponent);
    layout->addWidget(twoGroup);
    layout->addWidget(generalGroup);
    layout->addWidget(m_editMessage);
    // The dialog draws nothing from the files: a change outside needs no redraw.
    m_steps = new StepControls(this, m_workspace, m_editMessage, [] {});
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_steps->undoButton());
    bottom->addWidget(m_steps->redoButton());
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    using Model = core::xafs::XafsReadingModel;
    connect(oneComponent, &QPushButton::clicked, this, [this] {
        runImport(captions::kOneComponent, "selective", &Model::importOneComponent);
    });
    connect(firstOfTwo, &QPushButton::clicked, this, [this] {
        runImport(captions::kFirstOfTwo, "selective-first", &Model::importFirstOfTwo);
    });
    connect(secondOfTwo, &QPushButton::clicked, this, &CXAFSReading::onSecondOfTwo);
    connect(general, &QPushButton::clicked, this,
            [this] { runImport(captions::kGeneral, "selective-general", &Model::importGeneral); });
}

QString CXAFSReading::chooseWithDialog() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(fileFilters());
    dialog.setDirectory(fileDialogFolder());
    dialog.selectFile(QStringLiteral("*.*"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

void CXAFSReading::runImport(const core::text::Text& caption, const char* kind, Import import) {
    if (m_steps->changedOutside()) return;
    if (const auto refusal = m_model.workspaceRefusal()) {
        m_editMessage->setText(refusal->text);
        return;
    }
    const QString chosen = m_chooseFile();
    if (chosen.isEmpty()) return;  // cancelled: nothing read, the message stays
    const auto file = core::pathFromText(fromQt(chosen));
    m_editMessage->setText(core::runStep(m_workspace, [&] {
                               m_workspace.describeStep({std::string(caption.source()),
                                                         {"import", kind, absoluteText(file)}});
                               return (m_model.*import)(file);
                           }).text);
    m_steps->drawn();
}

void CXAFSReading::onSecondOfTwo() {
    // Without the first component no file is asked for.
    if (const auto refusal = m_model.secondStepRefusal()) {
        m_editMessage->setText(refusal->text);
        return;
    }
    runImport(captions::kSecondOfTwo, "selective-second",
              &core::xafs::XafsReadingModel::importSecondOfTwo);
}

}  // namespace zephalo::gui
