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

namespace zephalo::gui {

namespace {

// The calculation outputs, the work-space style data, everything. Each entry
// is shown without its pattern list, as the captions read.
const QStringList& fileFilters() {
    static const QStringList filters{
        QStringLiteral("計算結果(*.xspec);(*.xspecup);(*.xspecdn) (*.xspec *.xspecup *.xspecdn)"),
        QStringLiteral("データ(*.DAT) (*.DAT *.dat)"),
        QStringLiteral("全て(*.*) (*)"),
    };
    return filters;
}

}  // namespace

CXAFSReading::CXAFSReading(const core::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_model(workspace) {
    setWindowTitle(QStringLiteral("XAFS計算読込"));
    setModal(true);
    m_chooseFile = [this] { return chooseWithDialog(); };

    auto* oneComponent = new QPushButton(QStringLiteral("XAFS１成分データ読込"), this);

    auto* twoGroup = new QGroupBox(QStringLiteral("2成分"), this);
    auto* firstOfTwo = new QPushButton(QStringLiteral("XAFS2成分データ読込（1/2）"), twoGroup);
    auto* secondOfTwo = new QPushButton(QStringLiteral("XAFS2成分データ読込（2/2）"), twoGroup);
    auto* twoLayout = new QVBoxLayout(twoGroup);
    twoLayout->addWidget(firstOfTwo);
    twoLayout->addWidget(secondOfTwo);

    auto* generalGroup = new QGroupBox(QStringLiteral("一般データ"), this);
    auto* general = new QPushButton(QStringLiteral("一般のX-Y1-Y2データ読込"), generalGroup);
    auto* generalLayout = new QVBoxLayout(generalGroup);
    generalLayout->addWidget(general);

    m_editMessage = new MessagePanel(this, 6);
    m_editMessage->setText(core::xafs::XafsReadingModel::openingText());
    // Wide enough that the guidance lines are not wrapped a second time.
    m_editMessage->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral(
                                       "（1成分の場合は2成分の値が同じ）という形式の")) +
                                   48);

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
    connect(oneComponent, &QPushButton::clicked, this, [this, oneComponent] {
        runImport(oneComponent->text(), "selective", &Model::importOneComponent);
    });
    connect(firstOfTwo, &QPushButton::clicked, this, [this, firstOfTwo] {
        runImport(firstOfTwo->text(), "selective-first", &Model::importFirstOfTwo);
    });
    connect(secondOfTwo, &QPushButton::clicked, this,
            [this, secondOfTwo] { onSecondOfTwo(secondOfTwo->text()); });
    connect(general, &QPushButton::clicked, this, [this, general] {
        runImport(general->text(), "selective-general", &Model::importGeneral);
    });
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

void CXAFSReading::runImport(const QString& caption, const char* kind, Import import) {
    if (m_steps->changedOutside()) return;
    if (const auto refusal = m_model.workspaceRefusal()) {
        m_editMessage->setText(refusal->text);
        return;
    }
    const QString chosen = m_chooseFile();
    if (chosen.isEmpty()) return;  // cancelled: nothing read, the message stays
    const auto file = core::pathFromText(fromQt(chosen));
    m_editMessage->setText(
        core::runStep(m_workspace, [&] {
            m_workspace.describeStep({fromQt(caption), {"import", kind, absoluteText(file)}});
            return (m_model.*import)(file);
        }).text);
    m_steps->drawn();
}

void CXAFSReading::onSecondOfTwo(const QString& caption) {
    // Without the first component no file is asked for.
    if (const auto refusal = m_model.secondStepRefusal()) {
        m_editMessage->setText(refusal->text);
        return;
    }
    runImport(caption, "selective-second", &core::xafs::XafsReadingModel::importSecondOfTwo);
}

}  // namespace zephalo::gui
