#include "gui/app/quarlen_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/workspace/step.h"
#include "core/workspace/workspace_setup.h"
#include "gui/app/app_texts.h"
#include "gui/app/resources.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/widgets/file_dialogs.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xafs/xafs_reading_dialog.h"
#include "gui/xrf/xrf_dialog.h"

namespace zephalo::gui {

namespace {

constexpr int kPictureWidth = 259;
constexpr int kPictureHeight = 98;
constexpr int kButtonHeight = 28;
constexpr int kFormMinimumWidth = 360;  // room for a work-space path in the messages

// Decoration at the bottom of the form: the picture at its natural size,
// top-left aligned and clipped to the frame.
class PictureFrame : public QLabel {
public:
    explicit PictureFrame(QWidget* parent) : QLabel(parent) {
        setFixedSize(kPictureWidth, kPictureHeight);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setPixmap(formPicture());
        setObjectName(QStringLiteral("pictureFrame"));
    }
};

}  // namespace

CQuarlenView::CQuarlenView(core::Workspace workspace, QWidget* parent)
    : QWidget(parent), m_workspace(std::move(workspace)) {
    setMinimumWidth(kFormMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(6);

    layout->addWidget(new QLabel(QStringLiteral("はじめに必ず実行して下さい"), this));
    auto* create = addButton(toQt(texts::kCreateCaption));
    layout->addWidget(create);
    connect(create, &QPushButton::clicked, this, &CQuarlenView::onCreateWorkspace);

    auto* group = new QGroupBox(QStringLiteral("シミュレーションの素材入力"), this);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->setHorizontalSpacing(6);
    groupLayout->setVerticalSpacing(6);
    groupLayout->addWidget(new QLabel(QStringLiteral("ファイル名は必ず半角英数で！"), group), 0, 0,
                           1, 2);
    auto* convXafs = addButton(QStringLiteral("通常XAFS実験値読込"));
    auto* xrf = addButton(QStringLiteral("蛍光X線実験値読込"));
    auto* rixs = addButton(QStringLiteral("RIXS実験値読込"));
    auto* selective = addButton(QStringLiteral("選択的XAFS計算値読込"));
    groupLayout->addWidget(convXafs, 1, 0);
    groupLayout->addWidget(xrf, 1, 1);
    groupLayout->addWidget(rixs, 2, 0);
    groupLayout->addWidget(selective, 2, 1);
    layout->addWidget(group);
    connect(convXafs, &QPushButton::clicked, this, [this, convXafs] {
        onImport(convXafs->text(), "conv-xafs", &core::importConventionalXafs);
    });
    connect(xrf, &QPushButton::clicked, this,
            [this, xrf] { onImport(xrf->text(), "xrf", &core::importFluorescence); });
    connect(rixs, &QPushButton::clicked, this,
            [this, rixs] { onImport(rixs->text(), "rixs", &core::importRixsExperiment); });
    connect(selective, &QPushButton::clicked, this, &CQuarlenView::onSelectiveXafs);

    auto* convStep = addButton(QStringLiteral("XAFS(吸収補正用）読込"));
    auto* xrfStep = addButton(QStringLiteral("蛍光X線による設定"));
    auto* rixsStep = addButton(QStringLiteral("RIXSシミュレーション"));
    layout->addWidget(convStep);
    layout->addWidget(xrfStep);
    layout->addWidget(rixsStep);
    connect(convStep, &QPushButton::clicked, this,
            [this] { onGatedStep<CConvXAFS>(core::Step::ConvXafs); });
    connect(xrfStep, &QPushButton::clicked, this, [this] { onGatedStep<CXRF>(core::Step::Xrf); });
    connect(rixsStep, &QPushButton::clicked, this,
            [this] { onGatedStep<CRIXSXAFS>(core::Step::Rixs); });

    // The panel carries its caption "ZEPHALOからのメッセージ" above the text box.
    m_editMessage = new MessagePanel(this, 5);
    // The form draws nothing from the files: a change outside needs no redraw.
    m_steps = new StepControls(this, m_workspace, m_editMessage, [] {});
    auto* undoRow = new QHBoxLayout;
    undoRow->addWidget(m_steps->undoButton());
    undoRow->addWidget(m_steps->redoButton());
    layout->addLayout(undoRow);
    layout->addWidget(m_editMessage, 1);
    layout->addWidget(new PictureFrame(this), 0, Qt::AlignHCenter);
    claimWorkspace();
}

void CQuarlenView::claimWorkspace() {
    if (const auto other = m_claim.claim(m_workspace)) m_editMessage->setText(*other);
}

const std::string& CQuarlenView::messageText() const {
    return m_editMessage->text();
}

QPushButton* CQuarlenView::addButton(const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setMinimumHeight(kButtonHeight);
    button->setAutoDefault(false);
    return button;
}

void CQuarlenView::onCreateWorkspace() {
    m_editMessage->setText(
        core::runStep(m_workspace, [this] {
            m_workspace.describeStep({std::string(texts::kCreateCaption), {"create"}});
            return core::createWorkspace(m_workspace);
        }).text);
    m_steps->drawn();
    // The folder may exist only now.
    claimWorkspace();
}

void CQuarlenView::onImport(const QString& caption, const char* kind,
                            core::Report (*operation)(const core::Workspace&,
                                                      const std::filesystem::path&)) {
    const auto chosen = chooseMeasuredFile();
    if (!chosen) return;  // cancelled: nothing read, nothing written, text kept
    m_editMessage->setText(
        core::runStep(m_workspace, [&] {
            m_workspace.describeStep({fromQt(caption), {"import", kind, absoluteText(*chosen)}});
            return operation(m_workspace, *chosen);
        }).text);
    m_steps->drawn();
}

std::optional<std::filesystem::path> CQuarlenView::chooseMeasuredFile() {
    return chooseDataFile(this, FileChoice::Open);
}

void CQuarlenView::onSelectiveXafs() {
    // No gate and no message afterwards: the dialog has its own panel.
    CXAFSReading dialog(m_workspace, this);
    dialog.exec();
    m_steps->drawn();
}

template <class Dialog>
void CQuarlenView::onGatedStep(core::Step step) {
    // The gate is read as one step; the dialog's buttons are steps of their own.
    const auto gate = core::runStep(m_workspace, [&] {
        const auto error = core::checkGate(m_workspace, step);
        return error ? core::Report::refused(*error) : core::Report{};
    });
    if (!gate.done) {
        m_editMessage->setText(gate.text);
        return;
    }
    {
        Dialog dialog(m_workspace, this);
        dialog.exec();
    }
    m_steps->drawn();
    // Written however the dialog was closed.
    m_editMessage->setText(core::gateOf(step).successText);
}

}  // namespace zephalo::gui
