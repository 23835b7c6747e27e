#include "xafs/xafs_reading_dialog.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/dialog_widgets.h"
#include "widgets/file_dialogs.h"
#include "widgets/message_panel.h"
#include "workspace/records.h"
#include "workspace/step.h"

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
    layout->addWidget(buttons);

    using Model = core::xafs::XafsReadingModel;
    connect(oneComponent, &QPushButton::clicked, this,
            [this] { runImport(&Model::importOneComponent); });
    connect(firstOfTwo, &QPushButton::clicked, this,
            [this] { runImport(&Model::importFirstOfTwo); });
    connect(secondOfTwo, &QPushButton::clicked, this, &CXAFSReading::onSecondOfTwo);
    connect(general, &QPushButton::clicked, this, [this] { runImport(&Model::importGeneral); });
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

void CXAFSReading::runImport(Import import) {
    if (const auto refusal = m_model.workspaceRefusal()) {
        m_editMessage->setText(refusal->text);
        return;
    }
    const QString chosen = m_chooseFile();
    if (chosen.isEmpty()) return;  // cancelled: nothing read, the message stays
    const auto file = core::pathFromText(fromQt(chosen));
    m_editMessage->setText(
        core::runStep(m_workspace, [&] { return (m_model.*import)(file); }).text);
}

void CXAFSReading::onSecondOfTwo() {
    // Without the first component no file is asked for.
    if (const auto refusal = m_model.secondStepRefusal()) {
        m_editMessage->setText(refusal->text);
        return;
    }
    runImport(&core::xafs::XafsReadingModel::importSecondOfTwo);
}

}  // namespace zephalo::gui
