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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(6);

    layout->addWidget(new QLabel(toQt(texts::kRunFirst), this));
    auto* create = addButton(texts::kCreateCaption);
    layout->addLayout(withMark(create, core::FormButton::CreateWorkspace));
    connect(create, &QPushButton::clicked, this, &CQuarlenView::onCreateWorkspace);

    auto* group = new QGroupBox(toQt(texts::kMaterialsGroup), this);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->setHorizontalSpacing(6);
    groupLayout->setVerticalSpacing(6);
    groupLayout->addWidget(new QLabel(toQt(texts::kAsciiNames), group), 0, 0, 1, 2);
    auto* convXafs = addButton(texts::kImportConvXafs);
    auto* xrf = addButton(texts::kImportXrf);
    auto* rixs = addButton(texts::kImportRixs);
    auto* selective = addButton(texts::kImportSelective);
    groupLayout->addLayout(withMark(convXafs, core::FormButton::ImportConvXafs), 1, 0);
    groupLayout->addLayout(withMark(xrf, core::FormButton::ImportXrf), 1, 1);
    groupLayout->addLayout(withMark(rixs, core::FormButton::ImportRixs), 2, 0);
    groupLayout->addLayout(withMark(selective, core::FormButton::ImportSelective), 2, 1);
    layout->addWidget(group);
    connect(convXafs, &QPushButton::clicked, this, [this] {
        onImport(texts::kImportConvXafs, "conv-xafs", &core::importConventionalXafs);
    });
    connect(xrf, &QPushButton::clicked, this,
            [this] { onImport(texts::kImportXrf, "xrf", &core::importFluorescence); });
    connect(rixs, &QPushButton::clicked, this,
            [this] { onImport(texts::kImportRixs, "rixs", &core::importRixsExperiment); });
    connect(selective, &QPushButton::clicked, this, &CQuarlenView::onSelectiveXafs);

    auto* convStep = addButton(texts::kConvXafsStep);
    auto* xrfStep = addButton(texts::kXrfStep);
    auto* rixsStep = addButton(texts::kRixsStep);
    layout->addLayout(withMark(convStep, core::FormButton::ConvXafs));
    layout->addLayout(withMark(xrfStep, core::FormButton::Xrf));
    layout->addLayout(withMark(rixsStep, core::FormButton::Rixs));
    connect(convStep, &QPushButton::clicked, this,
            [this] { onGatedStep<CConvXAFS>(core::Step::ConvXafs); });
    connect(xrfStep, &QPushButton::clicked, this, [this] { onGatedStep<CXRF>(core::Step::Xrf); });
    connect(rixsStep, &QPushButton::clicked, this,
            [this] { onGatedStep<CRIXSXAFS>(core::Step::Rixs); });

    // The panel carries its caption "ZEPHALOからのメッセージ" above the text box.
    m_editMessage = new MessagePanel(this, 5);
    // On the panel, not the form: a minimum set on the form would let its
    // layout squeeze the buttons' captions.
    m_editMessage->setMinimumWidth(kFormMinimumWidth - layout->contentsMargins().left() -
                                   layout->contentsMargins().right());
    // The form draws only its done marks from the files.
    m_steps = new StepControls(this, m_workspace, m_editMessage, [this] { refreshMarks(); });
    auto* undoRow = new QHBoxLayout;
    undoRow->addWidget(m_steps->undoButton());
    undoRow->addWidget(m_steps->redoButton());
    layout->addLayout(undoRow);
    layout->addWidget(m_editMessage, 1);
    layout->addWidget(new PictureFrame(this), 0, Qt::AlignHCenter);
    refreshMarks();
    claimWorkspace();
}

void CQuarlenView::claimWorkspace() {
    if (const auto other = m_claim.claim(m_workspace)) m_editMessage->setText(*other);
}

QHBoxLayout* CQuarlenView::withMark(QPushButton* button, core::FormButton which) {
    auto* mark = new QLabel(this);
    mark->setObjectName(QStringLiteral("mark%1").arg(static_cast<int>(which)));
    mark->setToolTip(toQt(texts::kStepMarkHint));
    mark->setAlignment(Qt::AlignCenter);
    mark->setMinimumWidth(mark->fontMetrics().horizontalAdvance(toQt(texts::kStepDone)) * 2);
    m_marks.emplace_back(which, mark);
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(button, 1);
    row->addWidget(mark);
    return row;
}

void CQuarlenView::refreshMarks() {
    for (auto& [which, mark] : m_marks) {
        const bool done = core::buttonDone(m_workspace, which);
        mark->setText(toQt(done ? texts::kStepDone : texts::kStepNotYet));
        mark->setStyleSheet(done ? QStringLiteral("color: #1a7f37; font-weight: bold;")
                                 : QStringLiteral("color: #8c8c8c;"));
    }
}

QString CQuarlenView::markText(core::FormButton which) const {
    for (const auto& [button, mark] : m_marks) {
        if (button == which) return mark->text();
    }
    return {};
}

const std::string& CQuarlenView::messageText() const {
    return m_editMessage->text();
}

void CQuarlenView::showMessage(std::string_view text) {
    m_editMessage->setText(text);
}

QPushButton* CQuarlenView::addButton(const core::text::Text& caption) {
    auto* button = new QPushButton(toQt(caption), this);
    button->setMinimumHeight(kButtonHeight);
    button->setAutoDefault(false);
    return button;
}

void CQuarlenView::onCreateWorkspace() {
    m_editMessage->setText(
        core::runStep(m_workspace, [this] {
            m_workspace.describeStep({std::string(texts::kCreateCaption.source()), {"create"}});
            return core::createWorkspace(m_workspace);
        }).text);
    m_steps->drawn();
    refreshMarks();
    // The folder may exist only now.
    claimWorkspace();
}

void CQuarlenView::onImport(const core::text::Text& caption, const char* kind,
                            core::Report (*operation)(const core::Workspace&,
                                                      const std::filesystem::path&)) {
    const auto chosen = chooseMeasuredFile();
    if (!chosen) return;  // cancelled: nothing read, nothing written, text kept
    m_editMessage->setText(core::runStep(m_workspace, [&] {
                               m_workspace.describeStep({std::string(caption.source()),
                                                         {"import", kind, absoluteText(*chosen)}});
                               return operation(m_workspace, *chosen);
                           }).text);
    m_steps->drawn();
    refreshMarks();
}

std::optional<std::filesystem::path> CQuarlenView::chooseMeasuredFile() {
    return chooseDataFile(this, FileChoice::Open);
}

void CQuarlenView::onSelectiveXafs() {
    // No gate and no message afterwards: the dialog has its own panel.
    CXAFSReading dialog(m_workspace, this);
    dialog.exec();
    m_steps->drawn();
    refreshMarks();
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
    refreshMarks();
}

}  // namespace zephalo::gui
