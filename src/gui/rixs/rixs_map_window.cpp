#include "gui/rixs/rixs_map_window.h"

#include <qcustomplot.h>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "core/rixs/plane_texts.h"
#include "core/workspace/number_text.h"
#include "gui/plot/map_plot.h"
#include "gui/plot/plot_export.h"
#include "gui/rixs/map_captions.h"
#include "gui/rixs/measured_map_captions.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"
#include "gui/widgets/step_controls.h"

namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;

using core::rixs::PlaneAxis;

// Digits of the range boxes and of the measured excitation energy's mark.
constexpr int kBoxDigits = 6;
constexpr int kMarkDigits = 6;

QLineEdit* rangeBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10);
    return box;
}

QCustomPlot* cutPlot(QWidget* parent, const QString& name, std::string_view title) {
    auto* plot = new QCustomPlot(parent);
    plot->setObjectName(name);
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0, new QCPTextElement(plot, toQt(title)));
    plot->addGraph();
    plot->graph(0)->setPen(QPen(QColor(20, 60, 160), 1.5));
    plot->yAxis->setLabel(toQt(captions::kIntensityAxis));
    plot->setMinimumSize(300, 140);
    return plot;
}

}  // namespace

RixsMapWindow::RixsMapWindow(const core::Workspace& workspace, std::optional<double> measuredOmega,
                             QWidget* parent)
    : QDialog(parent),
      m_workspace(workspace.directory()),
      m_measuredOmega(measuredOmega),
      m_panels(this),
      m_worker(
          this, [this](std::size_t done, std::size_t rows) { showProgress(done, rows); },
          [this](const core::Report& report) { finish(report); }) {
    enterMovesOn(this);
    setWindowTitle(toQt(captions::kMapTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    m_editFrom = rangeBox(this, QStringLiteral("editFrom"));
    m_editTo = rangeBox(this, QStringLiteral("editTo"));
    m_editStep = rangeBox(this, QStringLiteral("editStep"));
    m_buttonCompute = button(this, captions::kComputeMap, QStringLiteral("buttonComputeMap"));
    m_buttonStop = button(this, captions::kStop, QStringLiteral("buttonStop"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    connect(m_buttonCompute, &QPushButton::clicked, this, &RixsMapWindow::startCompute);
    m_buttonCompare =
        button(this, captions::kCompareMeasured, QStringLiteral("buttonCompareMeasured"));
    connect(m_buttonCompare, &QPushButton::clicked, this, &RixsMapWindow::startCompare);
    connect(m_buttonStop, &QPushButton::clicked, this, [this] {
        m_worker.requestStop();
        m_buttonStop->setEnabled(false);
    });

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(toQt(captions::kFrom), this));
    rangeRow->addWidget(m_editFrom);
    rangeRow->addWidget(new QLabel(toQt(captions::kTo), this));
    rangeRow->addWidget(m_editTo);
    rangeRow->addWidget(new QLabel(toQt(captions::kStep), this));
    rangeRow->addWidget(m_editStep);
    rangeRow->addWidget(m_buttonCompute);
    rangeRow->addWidget(m_buttonStop);
    rangeRow->addWidget(m_buttonCompare);
    rangeRow->addWidget(m_progress, 1);

    m_radioEmission = new QRadioButton(toQt(captions::kAxisEmission), this);
    m_radioEmission->setObjectName(QStringLiteral("radioEmission"));
    m_radioTransfer = new QRadioButton(toQt(captions::kAxisTransfer), this);
    m_radioTransfer->setObjectName(QStringLiteral("radioTransfer"));
    m_radioEmission->setChecked(true);
    auto* axes = new QButtonGroup(this);
    axes->addButton(m_radioEmission);
    axes->addButton(m_radioTransfer);
    connect(m_radioTransfer, &QRadioButton::toggled, this,
            [this](bool on) { setAxis(on ? PlaneAxis::Transfer : PlaneAxis::Emission); });
    m_cursorLabel = new QLabel(this);
    m_cursorLabel->setObjectName(QStringLiteral("cursorValue"));
    auto* axisRow = new QHBoxLayout;
    axisRow->addWidget(m_radioEmission);
    axisRow->addWidget(m_radioTransfer);
    axisRow->addSpacing(24);
    axisRow->addWidget(m_cursorLabel, 1);

    buildMapPlot();
    m_spectrumCut = cutPlot(this, QStringLiteral("plotSpectrumCut"), captions::kSpectrumCutTitle);
    m_excitationCut =
        cutPlot(this, QStringLiteral("plotExcitationCut"), captions::kExcitationCutTitle);
    m_excitationCut->xAxis->setLabel(toQt(captions::kExcitationAxis));
    auto* cuts = new QVBoxLayout;
    cuts->addWidget(m_spectrumCut, 1);
    cuts->addWidget(m_excitationCut, 1);
    auto* plots = new QHBoxLayout;
    plots->addWidget(m_map, 3);
    plots->addLayout(cuts, 2);
    attachExport(m_map, [this] { return m_view.planeSeries(); });
    // The cuts save the measured points after the calculated curve.
    attachExport(m_spectrumCut, [this] {
        auto series = m_view.spectrumCutSeries();
        for (auto& s : m_panels.spectrumCutSeries()) series.push_back(std::move(s));
        return series;
    });
    attachExport(m_excitationCut, [this] {
        auto series = m_view.excitationCutSeries();
        for (auto& s : m_panels.excitationCutSeries()) series.push_back(std::move(s));
        return series;
    });
    attachExport(m_panels.measuredPlot(), [this] { return m_panels.measuredSeries(); });
    attachExport(m_panels.differencePlot(), [this] { return m_panels.differenceSeries(); });
    attachExport(m_panels.rPlot(), [this] { return m_panels.rSeries(); });
    // The measured map and the difference beside each other under the
    // calculated map and its cuts, with the R factor per Ω.
    m_comparisonRow = new QWidget(this);
    m_comparisonRow->setObjectName(QStringLiteral("comparisonRow"));
    auto* comparison = new QHBoxLayout(m_comparisonRow);
    comparison->setContentsMargins(0, 0, 0, 0);
    comparison->addWidget(m_panels.measuredPlot(), 1);
    comparison->addWidget(m_panels.differencePlot(), 1);
    comparison->addWidget(m_panels.rPlot(), 1);

    m_message = new MessagePanel(this, 3);
    m_message->setFixedHeight(m_message->fontMetrics().lineSpacing() * 6);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rangeRow);
    layout->addLayout(axisRow);
    layout->addLayout(plots, 1);
    layout->addWidget(m_comparisonRow, 1);
    layout->addWidget(m_message);
    // The boxes open around the measured excitation energy, else over the
    // published selective XAFS.
    const core::rixs::PlaneRange range =
        core::rixs::defaultPlaneRange(m_workspace, m_measuredOmega);
    m_editFrom->setText(toQt(core::formatDigits(range.from, kBoxDigits)));
    m_editTo->setText(toQt(core::formatDigits(range.to, kBoxDigits)));
    m_editStep->setText(toQt(core::formatDigits(range.step, kBoxDigits)));
    setAxis(PlaneAxis::Emission);
    setRunning(false);
    showComparison(false);
    // As large as is useful, within a 1366 x 768 laptop's screen or this
    // one, less a title bar and a desktop panel.
    const QSize wanted(1280, 700);
    const QSize room = screen() ? screen()->availableGeometry().size() - QSize(40, 68) : wanted;
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

// The worker is the last member: its destructor stops the computation and
// waits for it before anything it uses goes away.
RixsMapWindow::~RixsMapWindow() = default;

void RixsMapWindow::buildMapPlot() {
    m_map = new QCustomPlot(this);
    m_map->setObjectName(QStringLiteral("plotMap"));
    m_map->setMinimumSize(400, 280);
    m_map->setMouseTracking(true);
    m_map->installEventFilter(this);
    m_map->yAxis->setLabel(toQt(captions::kExcitationAxis));
    m_colorMap = addColourMap(m_map, 0, m_colorScale);

    auto crossLine = [this] {
        auto* line = new QCPItemStraightLine(m_map);
        line->setPen(QPen(Qt::white, 1, Qt::DotLine));
        line->setVisible(false);
        return line;
    };
    m_crossX = crossLine();
    m_crossY = crossLine();

    m_measuredLine = new QCPItemStraightLine(m_map);
    // Magenta stands out on every colour of the scale and on the blank.
    const QColor measuredColour(230, 0, 230);
    m_measuredLine->setPen(QPen(measuredColour, 1.5, Qt::DashLine));
    m_measuredLabel = new QCPItemText(m_map);
    m_measuredLabel->setColor(Qt::white);
    m_measuredLabel->setBrush(measuredColour);
    m_measuredLabel->setPadding(QMargins(3, 1, 3, 1));
    m_measuredLabel->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_measuredLabel->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    m_measuredLabel->position->setTypeY(QCPItemPosition::ptPlotCoords);
    const bool marked = m_measuredOmega.has_value();
    m_measuredLine->setVisible(marked);
    m_measuredLabel->setVisible(marked);
    if (marked) {
        m_measuredLine->point1->setCoords(0, *m_measuredOmega);
        m_measuredLine->point2->setCoords(1, *m_measuredOmega);
        m_measuredLabel->position->setCoords(0.02, *m_measuredOmega);
        m_measuredLabel->setText(toQt(std::string(captions::kMeasuredHead) +
                                      core::formatDigits(*m_measuredOmega, kMarkDigits) +
                                      std::string(captions::kUnitEv)));
    }
}

void RixsMapWindow::startCompute() {
    if (running()) return;
    const auto from = core::parseTypedNumber(fromQt(m_editFrom->text()));
    const auto to = core::parseTypedNumber(fromQt(m_editTo->text()));
    const auto step = core::parseTypedNumber(fromQt(m_editStep->text()));
    std::vector<double> excitations;
    if (!from || !to || !step) {
        m_message->setText(core::rixs::texts::kPlaneNotNumbers);
        emit computeEnded();
        return;
    }
    if (auto status = core::rixs::planeExcitations(*from, *to, *step, excitations); !status) {
        m_message->setText(status.error());
        emit computeEnded();
        return;
    }
    m_progress->setRange(0, static_cast<int>(excitations.size()));
    m_progress->setValue(0);
    m_message->setText(captions::kRunning);
    setRunning(true);
    // The whole computation is one step: the work space's lock is held while
    // the plane is read and computed.
    m_worker.start(m_workspace, [this, excitations = std::move(excitations)](
                                    std::stop_token stop, const StepWorker::Progress& progress) {
        core::rixs::PlaneHooks hooks;
        hooks.stop = std::move(stop);
        hooks.progress = progress;
        m_computed = core::rixs::RixsPlane{};
        const core::Status status =
            core::rixs::computeRixsPlane(m_workspace, excitations, m_computed, hooks);
        return core::Report::from(status, std::string());
    });
}

void RixsMapWindow::startCompare() {
    if (running()) return;
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_message->setText(captions::kRunning);
    m_comparing = true;
    setRunning(true);
    m_worker.start(m_workspace, [this](std::stop_token stop, const StepWorker::Progress& progress) {
        core::rixs::PlaneHooks hooks;
        hooks.stop = std::move(stop);
        hooks.progress = progress;
        m_compared = core::rixs::MapComparison{};
        const core::Status status = core::rixs::compareMeasuredMap(m_workspace, m_compared, hooks);
        return core::Report::from(status, std::string());
    });
}

void RixsMapWindow::showComparison(bool shown) {
    m_comparisonRow->setVisible(shown);
}

void RixsMapWindow::setRunning(bool running) {
    m_editFrom->setEnabled(!running);
    m_editTo->setEnabled(!running);
    m_editStep->setEnabled(!running);
    m_buttonCompute->setEnabled(!running);
    m_buttonStop->setEnabled(running);
    m_buttonCompare->setEnabled(!running);
}

void RixsMapWindow::showProgress(std::size_t done, std::size_t rows) {
    if (m_progress->maximum() != static_cast<int>(rows)) {
        m_progress->setRange(0, static_cast<int>(rows));
    }
    m_progress->setValue(static_cast<int>(done));
}

void RixsMapWindow::finish(const core::Report& report) {
    setRunning(false);
    const bool compared = std::exchange(m_comparing, false);
    if (!report.done) {
        m_message->setText(report.text);
        emit computeEnded();
        return;
    }
    m_progress->setValue(m_progress->maximum());
    if (compared) {
        // The calculated map at the measured excitation energies, the
        // measured one and their difference beside it.
        m_view.setPlane(m_compared.calculated);
        const std::size_t count = m_compared.measured.size();
        const auto total = m_compared.total;
        m_panels.setComparison(std::exchange(m_compared, {}));
        std::string text = std::string(core::rixs::texts::kMapComparedHead) +
                           std::to_string(count) + std::string(core::rixs::texts::kMapComparedTail);
        if (total) {
            text += std::string(captions::kComparedTotalHead) + core::formatNumber(*total) +
                    std::string(captions::kComparedTotalTail);
        }
        m_message->setText(text);
        showComparison(true);
    } else {
        m_view.setPlane(std::exchange(m_computed, {}));
        // A plane of its own range leaves the measured map behind.
        m_panels.setComparison({});
        showComparison(false);
        const auto& plane = m_view.plane();
        m_message->setText(
            std::string(captions::kDoneHead) + std::to_string(plane.excitation.size()) +
            std::string(captions::kDoneMiddle) + std::to_string(plane.emission.size()) +
            std::string(captions::kDoneTail));
    }
    drawMap();
    drawCuts();
    emit computeEnded();
}

void RixsMapWindow::closeEvent(QCloseEvent* event) {
    m_worker.stopAndWait();
    QDialog::closeEvent(event);
}

void RixsMapWindow::setAxis(PlaneAxis axis) {
    m_view.setAxis(axis);
    m_panels.setAxis(axis);
    const auto title =
        axis == PlaneAxis::Emission ? captions::kEmissionAxis : captions::kTransferAxis;
    m_map->xAxis->setLabel(toQt(title));
    m_spectrumCut->xAxis->setLabel(toQt(title));
    if (auto* heading =
            qobject_cast<QCPTextElement*>(m_excitationCut->plotLayout()->element(0, 0))) {
        heading->setText(toQt(m_view.excitationCutTitle()));
    }
    m_crossX->setVisible(false);
    m_crossY->setVisible(false);
    drawMap();
    drawCuts();
}

void RixsMapWindow::drawMap() {
    QCPColorMapData* cells = m_colorMap->data();
    const core::rixs::PlaneImage image = m_view.image();
    if (image.rows == 0 || image.columns == 0) {
        cells->clear();
        m_map->replot();
        return;
    }
    cells->setSize(static_cast<int>(image.columns), static_cast<int>(image.rows));
    cells->setRange(QCPRange(image.xFirst, image.xLast), QCPRange(image.yFirst, image.yLast));
    for (std::size_t r = 0; r < image.rows; ++r) {
        for (std::size_t c = 0; c < image.columns; ++c) {
            cells->setCell(static_cast<int>(c), static_cast<int>(r), image.at(r, c));
        }
    }
    m_colorMap->rescaleDataRange(true);
    if (!m_panels.empty()) {
        // The measured map on the calculated one's colour scale.
        QCPRange range = m_colorMap->dataRange();
        range.expand(m_panels.measuredRange());
        m_colorMap->setDataRange(range);
        m_panels.draw(range);
    }
    m_map->rescaleAxes();
    m_map->replot();
}

void RixsMapWindow::moveCrosshair(double x, double omega) {
    m_crossX->point1->setCoords(x, 0);
    m_crossX->point2->setCoords(x, 1);
    m_crossY->point1->setCoords(0, omega);
    m_crossY->point2->setCoords(1, omega);
    m_crossX->setVisible(true);
    m_crossY->setVisible(true);
    m_map->replot(QCustomPlot::rpQueuedReplot);
}

void RixsMapWindow::drawCuts() {
    const auto show = [](QCustomPlot* plot, const core::rixs::PlaneCut& cut) {
        plot->graph(0)->setData(QVector<double>(cut.x.begin(), cut.x.end()),
                                QVector<double>(cut.y.begin(), cut.y.end()));
        plot->rescaleAxes();
        plot->replot(QCustomPlot::rpQueuedReplot);
    };
    show(m_spectrumCut, m_view.spectrumCut());
    show(m_excitationCut, m_view.excitationCut());
    m_panels.drawCuts(m_spectrumCut, m_excitationCut);
    if (m_view.cut()) m_cursorLabel->setText(toQt(m_view.cursorText()));
}

std::optional<std::pair<double, double>> RixsMapWindow::mapPoint(QMouseEvent* event) const {
    if (!m_map->axisRect()->rect().contains(event->position().toPoint())) return std::nullopt;
    return std::make_pair(m_map->xAxis->pixelToCoord(event->position().x()),
                          m_map->yAxis->pixelToCoord(event->position().y()));
}

void RixsMapWindow::mouseMoved(QMouseEvent* event) {
    if (m_view.empty() || m_view.fixed()) return;
    const auto point = mapPoint(event);
    if (!point) return;
    moveCrosshair(point->first, point->second);
    m_panels.follow(point->first, point->second);
    if (m_view.follow(point->first, point->second)) drawCuts();
}

void RixsMapWindow::mouseClicked(QMouseEvent* event) {
    if (m_view.empty() || event->button() != Qt::LeftButton) return;
    if (m_view.fixed()) {
        // The cuts follow the cursor again.
        m_view.release();
        m_panels.release();
        mouseMoved(event);
        return;
    }
    const auto point = mapPoint(event);
    if (!point || !m_view.fix(point->first, point->second)) return;
    m_panels.fix(point->first, point->second);
    moveCrosshair(point->first, point->second);
    drawCuts();
}

bool RixsMapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_map) {
        if (event->type() == QEvent::MouseMove) {
            mouseMoved(static_cast<QMouseEvent*>(event));
        } else if (event->type() == QEvent::MouseButtonPress) {
            mouseClicked(static_cast<QMouseEvent*>(event));
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zephalo::gui
