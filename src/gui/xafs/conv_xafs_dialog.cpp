#include "gui/xafs/conv_xafs_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/workspace/number_text.h"
#include "gui/plot/plot_export.h"
#include "gui/plot/plot_panel.h"
#include "gui/widgets/button_step.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"
#include "gui/xafs/xafs_captions.h"

namespace zephalo::gui {

namespace captions = xafs::captions;

CConvXAFS::CConvXAFS(const core::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_model(workspace) {
    setWindowTitle(QStringLiteral("Conventional XAFS"));
    setModal(true);

    m_plot = new PlotPanel(this);
    m_plot->setMinimumSize(280, 280);

    auto* read = new QPushButton(toQt(captions::kRead), this);
    auto* clear = new QPushButton(toQt(captions::kClear), this);
    auto* confirm = new QPushButton(toQt(captions::kConfirm), this);
    auto* done = new QPushButton(toQt(captions::kDone), this);

    auto* edgeCaption = new QLabel(toQt(captions::kChooseEdge), this);
    m_edgeList = new QComboBox(this);
    m_edgeList->setMinimumContentsLength(12);
    edgeCaption->setBuddy(m_edgeList);
    auto* energyCaption = new QLabel(toQt(captions::kCoreEnergy), this);
    m_coreEnergy = new QLineEdit(this);
    energyCaption->setBuddy(m_coreEnergy);

    // Kept from the original layout: a repaint button and its hint, both
    // hidden; nothing shows them.
    auto* repaint = new QPushButton(toQt(captions::kRepaint), this);
    auto* repaintHint = new QLabel(toQt(captions::kRepaintHint), this);
    repaint->hide();
    repaintHint->hide();

    m_editMessage = new MessagePanel(this, 8);

    auto* buttons = closeButtons(this);

    auto* plotColumn = new QVBoxLayout;
    plotColumn->addWidget(m_plot, 1);

    auto* controls = new QVBoxLayout;
    controls->addWidget(read);
    controls->addWidget(clear);
    controls->addSpacing(8);
    controls->addWidget(edgeCaption);
    controls->addWidget(m_edgeList);
    controls->addWidget(energyCaption);
    controls->addWidget(m_coreEnergy);
    controls->addSpacing(8);
    controls->addWidget(confirm);
    controls->addWidget(done);
    controls->addWidget(repaint);
    controls->addWidget(repaintHint);
    controls->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(plotColumn, 1);
    top->addLayout(controls);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_editMessage);
    m_steps = new StepControls(this, m_workspace, m_editMessage, [this] {
        m_model.redraw();
        showPlot();
    });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_steps->undoButton());
    bottom->addWidget(m_steps->redoButton());
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(read, &QPushButton::clicked, this, &CConvXAFS::onRead);
    connect(clear, &QPushButton::clicked, this, &CConvXAFS::onClear);
    connect(confirm, &QPushButton::clicked, this, &CConvXAFS::onConfirm);
    connect(done, &QPushButton::clicked, this, &CConvXAFS::onDone);
    connect(repaint, &QPushButton::clicked, m_plot, qOverload<>(&QWidget::update));
    connect(m_plot, &PlotPanel::picked, this, &CConvXAFS::onPicked);
    attachExport(m_plot, [this] { return m_model.series(); });

    m_editMessage->setText(m_model.open().text);
    showPlot();
}

void CConvXAFS::showPlot() {
    m_plot->setCurves(m_model.curves());
    // Before any range exists a click has nothing to map to: the panel then
    // lets clicks pass, so that no cursor is drawn either.
    m_plot->setAttribute(Qt::WA_TransparentForMouseEvents, !m_model.canPick());
}

void CConvXAFS::onRead() {
    if (m_steps->changedOutside()) return;
    const auto report = core::runStep(m_workspace, [this] {
        m_workspace.describeStep(
            {std::string(captions::kRead.source()), core::xafs::replayReadCommand()});
        return m_model.read();
    });
    m_steps->drawn();
    m_editMessage->setText(report.text);
    if (!report.done) return;
    if (m_edgeList->count() == 0) {
        for (const auto label : m_model.edgeList()) m_edgeList->addItem(toQt(label));
        m_edgeList->setCurrentIndex(-1);
    }
    showPlot();
}

void CConvXAFS::onClear() {
    if (m_steps->changedOutside()) return;
    const auto report = core::runStep(m_workspace, [this] {
        return m_model.clear(fromQt(m_coreEnergy->text()), m_edgeList->currentIndex());
    });
    m_steps->drawn();
    m_editMessage->setText(report.text);
    m_coreEnergy->setText(toQt(m_model.boxText()));
    showPlot();
}

void CConvXAFS::onPicked(double logicalX, double logicalY) {
    if (m_steps->changedOutside()) return;
    const auto report = runClickStep(m_workspace, [&] { return m_model.pick(logicalX, logicalY); });
    m_steps->drawn();
    if (!report) return;
    m_editMessage->setText(report->text);
    if (report->done) m_coreEnergy->setText(toQt(m_model.boxText()));
    showPlot();  // the edge marker at the picked energy
}

void CConvXAFS::onConfirm() {
    if (m_steps->changedOutside()) return;
    const auto report = core::runStep(m_workspace, [this] {
        const std::string typed = fromQt(m_coreEnergy->text());
        const int edge = m_edgeList->currentIndex();
        m_workspace.describeStep({std::string(captions::kConfirm.source()),
                                  core::xafs::replayConfirmCommand(typed, edge)});
        return m_model.confirm(typed, edge);
    });
    m_steps->drawn();
    m_editMessage->setText(report.text);
    if (report.done) m_coreEnergy->setText(toQt(m_model.boxText()));
    showPlot();  // the edge marker at the confirmed energy
}

void CConvXAFS::onDone() {
    if (m_steps->changedOutside()) return;
    m_editMessage->setText(core::runStep(m_workspace, [this] { return m_model.done(); }).text);
    m_steps->drawn();
}

}  // namespace zephalo::gui
