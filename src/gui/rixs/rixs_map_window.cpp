#include "rixs/rixs_map_window.h"

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
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "app/message_panel.h"
#include "plot/plot_export.h"
#include "rixs/map_captions.h"
#include "rixs/plane_texts.h"
#include "workspace/file_names.h"
#include "workspace/number_text.h"
#include "workspace/records.h"
#include "workspace/step.h"

namespace zephalo::gui {

namespace {

namespace captions = rixs::captions;

// Digits of the range boxes and of the values under the cursor.
constexpr int kBoxDigits = 6;
constexpr int kCursorDigits = 6;
// The range the boxes open with: this far on either side of the measured
// excitation energy, at this step; without one, the selective XAFS span.
constexpr double kHalfSpan = 15.0;
constexpr double kDefaultStep = 0.1;
constexpr double kFallbackFrom = 7100.0;
constexpr double kFallbackTo = 7150.0;

QLineEdit* rangeBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10);
    return box;
}

QPushButton* plainButton(QWidget* parent, std::string_view caption, const QString& name) {
    auto* button = new QPushButton(toQt(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QCustomPlot* cutPlot(QWidget* parent, const QString& name, std::string_view title) {
    auto* plot = new QCustomPlot(parent);
    plot->setObjectName(name);
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0, new QCPTextElement(plot, toQt(title)));
    plot->addGraph();
    plot->graph(0)->setPen(QPen(QColor(20, 60, 160), 1.5));
    plot->yAxis->setLabel(toQt(captions::kIntensityAxis));
    plot->setMinimumSize(360, 220);
    return plot;
}

// Index of the nearest of `count` values start, start + step, …; nullopt when
// `value` lies more than half a step outside.
std::optional<std::size_t> nearestIndex(double value, double start, double step,
                                        std::size_t count) {
    if (count == 0) return std::nullopt;
    if (count == 1 || step == 0) {
        return std::optional<std::size_t>(std::size_t{0});
    }
    const double index = std::round((value - start) / step);
    if (!(index >= 0 && index <= static_cast<double>(count - 1))) return std::nullopt;
    return static_cast<std::size_t>(index);
}

double meanStep(const std::vector<double>& values) {
    return values.size() < 2
               ? 1.0
               : (values.back() - values.front()) / static_cast<double>(values.size() - 1);
}

QCPRange spanOf(const std::vector<double>& values) {
    if (values.empty()) return QCPRange(0, 1);
    if (values.size() == 1) return QCPRange(values.front() - 0.5, values.front() + 0.5);
    return QCPRange(values.front(), values.back());
}

}  // namespace

RixsMapWindow::RixsMapWindow(const core::Workspace& workspace, std::optional<double> measuredOmega,
                             QWidget* parent)
    : QDialog(parent), m_workspace(workspace.directory()), m_measuredOmega(measuredOmega) {
    setWindowTitle(toQt(captions::kMapTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    m_editFrom = rangeBox(this, QStringLiteral("editFrom"));
    m_editTo = rangeBox(this, QStringLiteral("editTo"));
    m_editStep = rangeBox(this, QStringLiteral("editStep"));
    m_buttonCompute = plainButton(this, captions::kComputeMap, QStringLiteral("buttonComputeMap"));
    m_buttonStop = plainButton(this, captions::kStop, QStringLiteral("buttonStop"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    connect(m_buttonCompute, &QPushButton::clicked, this, &RixsMapWindow::startCompute);
    connect(m_buttonStop, &QPushButton::clicked, this, [this] {
        m_stop = true;
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
            [this](bool on) { setAxis(on ? Axis::Transfer : Axis::Emission); });
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
    attachExport(m_map, [this] { return planeSeries(); });
    attachExport(m_spectrumCut, [this] { return spectrumCutSeries(); });
    attachExport(m_excitationCut, [this] { return excitationCutSeries(); });

    m_message = new MessagePanel(this, 3);
    m_message->setFixedHeight(m_message->fontMetrics().lineSpacing() * 6);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rangeRow);
    layout->addLayout(axisRow);
    layout->addLayout(plots, 1);
    layout->addWidget(m_message);
    // As large as is useful, within the screen and its window frame.
    const QSize wanted(1280, 760);
    const QSize room = screen() ? screen()->availableGeometry().size() - QSize(40, 60) : wanted;
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));

    // The boxes open around the measured excitation energy, else over the
    // published selective XAFS.
    double from = kFallbackFrom;
    double to = kFallbackTo;
    core::SelectiveXafsTable selective;
    if (m_measuredOmega) {
        from = std::round(*m_measuredOmega - kHalfSpan);
        to = std::round(*m_measuredOmega + kHalfSpan);
    } else if (m_workspace.exists(core::files::kSelectiveForRixs) &&
               m_workspace.read(core::files::kSelectiveForRixs, selective).ok() &&
               selective.size() >= 2) {
        from = std::floor(selective.front().energy);
        to = std::ceil(selective.back().energy);
    }
    m_editFrom->setText(toQt(core::formatDigits(from, kBoxDigits)));
    m_editTo->setText(toQt(core::formatDigits(to, kBoxDigits)));
    m_editStep->setText(toQt(core::formatDigits(kDefaultStep, kBoxDigits)));
    setAxis(Axis::Emission);
    setRunning(false);
}

RixsMapWindow::~RixsMapWindow() {
    stopWorker();
}

void RixsMapWindow::buildMapPlot() {
    m_map = new QCustomPlot(this);
    m_map->setObjectName(QStringLiteral("plotMap"));
    m_map->setMinimumSize(480, 420);
    m_map->setMouseTracking(true);
    m_map->installEventFilter(this);
    m_map->yAxis->setLabel(toQt(captions::kExcitationAxis));
    m_colorMap = new QCPColorMap(m_map->xAxis, m_map->yAxis);
    m_colorMap->setInterpolate(false);
    m_colorScale = new QCPColorScale(m_map);
    m_colorScale->setType(QCPAxis::atRight);
    m_colorScale->axis()->setLabel(toQt(captions::kIntensityAxis));
    m_map->plotLayout()->addElement(0, 1, m_colorScale);
    m_colorMap->setColorScale(m_colorScale);
    QCPColorGradient gradient(QCPColorGradient::gpJet);
    gradient.setNanHandling(QCPColorGradient::nhTransparent);
    m_colorMap->setGradient(gradient);
    // The colour scale keeps the height of the map.
    auto* margins = new QCPMarginGroup(m_map);
    m_map->axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    m_colorScale->setMarginGroup(QCP::msBottom | QCP::msTop, margins);

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
                                      core::formatDigits(*m_measuredOmega, kCursorDigits) +
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
    m_rows = excitations.size();
    m_rowsDone = 0;
    m_stop = false;
    m_progressPosted = false;
    m_progress->setRange(0, static_cast<int>(m_rows));
    m_progress->setValue(0);
    m_message->setText(captions::kRunning);
    setRunning(true);
    m_worker = std::jthread([this, excitations = std::move(excitations)] {
        core::rixs::PlaneHooks hooks;
        hooks.stop = &m_stop;
        hooks.progress = [this](std::size_t done, std::size_t) {
            m_rowsDone = done;
            // One post at a time: a fast plane does not flood the event queue.
            if (!m_progressPosted.exchange(true)) {
                QMetaObject::invokeMethod(
                    this, [this] { showProgress(); }, Qt::QueuedConnection);
            }
        };
        core::rixs::RixsPlane plane;
        core::Status status;
        // Reads only; the step holds the work space's lock while it reads.
        const core::Report report = core::runStep(m_workspace, [&] {
            status = core::rixs::computeRixsPlane(m_workspace, excitations, plane, hooks);
            return core::Report::from(status, std::string());
        });
        if (status && !report.done) status = core::Status::failure(report.text);
        QMetaObject::invokeMethod(
            this, [this, status, plane] { finish(status, plane); }, Qt::QueuedConnection);
    });
}

void RixsMapWindow::setRunning(bool running) {
    m_editFrom->setEnabled(!running);
    m_editTo->setEnabled(!running);
    m_editStep->setEnabled(!running);
    m_buttonCompute->setEnabled(!running);
    m_buttonStop->setEnabled(running);
}

void RixsMapWindow::showProgress() {
    m_progressPosted = false;
    m_progress->setValue(static_cast<int>(m_rowsDone.load()));
}

void RixsMapWindow::finish(core::Status status, core::rixs::RixsPlane plane) {
    if (m_worker.joinable()) m_worker.join();
    setRunning(false);
    if (!status) {
        m_message->setText(status.error());
        m_progress->setValue(static_cast<int>(m_rowsDone.load()));
        emit computeEnded();
        return;
    }
    m_progress->setValue(static_cast<int>(m_rows));
    m_plane = std::move(plane);
    m_cut.reset();
    m_cutFixed = false;
    m_message->setText(std::string(captions::kDoneHead) +
                       std::to_string(m_plane.excitation.size()) +
                       std::string(captions::kDoneMiddle) +
                       std::to_string(m_plane.emission.size()) + std::string(captions::kDoneTail));
    drawMap();
    // The cuts start through the middle of the map.
    if (!m_plane.excitation.empty() && !m_plane.emission.empty()) {
        m_cut = std::make_pair(m_plane.excitation.size() / 2, m_plane.emission.size() / 2);
        drawCuts();
    }
    emit computeEnded();
}

void RixsMapWindow::stopWorker() {
    m_stop = true;
    if (m_worker.joinable()) m_worker.join();
}

void RixsMapWindow::closeEvent(QCloseEvent* event) {
    stopWorker();
    QDialog::closeEvent(event);
}

void RixsMapWindow::setAxis(Axis axis) {
    m_axis = axis;
    const auto title = axis == Axis::Emission ? captions::kEmissionAxis : captions::kTransferAxis;
    m_map->xAxis->setLabel(toQt(title));
    m_spectrumCut->xAxis->setLabel(toQt(title));
    if (auto* heading =
            qobject_cast<QCPTextElement*>(m_excitationCut->plotLayout()->element(0, 0))) {
        heading->setText(toQt(axis == Axis::Emission ? captions::kExcitationCutTitle
                                                     : captions::kTransferCutTitle));
    }
    m_crossX->setVisible(false);
    m_crossY->setVisible(false);
    drawMap();
    drawCuts();
}

void RixsMapWindow::drawMap() {
    QCPColorMapData* cells = m_colorMap->data();
    const std::size_t rows = m_plane.excitation.size();
    const std::size_t columns = m_plane.emission.size();
    if (rows == 0 || columns == 0) {
        cells->clear();
        m_map->replot();
        return;
    }
    const QCPRange omegaRange = spanOf(m_plane.excitation);
    if (m_axis == Axis::Emission) {
        cells->setSize(static_cast<int>(columns), static_cast<int>(rows));
        cells->setRange(spanOf(m_plane.emission), omegaRange);
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < columns; ++c) {
                cells->setCell(static_cast<int>(c), static_cast<int>(r), m_plane.at(r, c));
            }
        }
    } else {
        // Energy transfer Ω − ω on a grid of the emission step; each row is
        // read between its emission energies, blank outside them.
        const double dw = meanStep(m_plane.emission);
        const double w0 = m_plane.emission.front();
        const double lowest = m_plane.excitation.front() - m_plane.emission.back();
        const double highest = m_plane.excitation.back() - w0;
        const auto count =
            static_cast<std::size_t>(std::lround((highest - lowest) / dw)) + std::size_t{1};
        cells->setSize(static_cast<int>(count), static_cast<int>(rows));
        cells->setRange(QCPRange(lowest, lowest + dw * static_cast<double>(count - 1)), omegaRange);
        for (std::size_t r = 0; r < rows; ++r) {
            const auto row = m_plane.row(r);
            for (std::size_t t = 0; t < count; ++t) {
                const double w = m_plane.excitation[r] - (lowest + dw * static_cast<double>(t));
                const double at = (w - w0) / dw;
                double value = std::numeric_limits<double>::quiet_NaN();
                if (at >= 0 && at <= static_cast<double>(columns - 1)) {
                    const auto left = std::min(static_cast<std::size_t>(at), columns - 1);
                    const auto right = std::min(left + 1, columns - 1);
                    const double part = at - static_cast<double>(left);
                    value = row[left] + (row[right] - row[left]) * part;
                }
                cells->setCell(static_cast<int>(t), static_cast<int>(r), value);
            }
        }
    }
    m_colorMap->rescaleDataRange(true);
    m_map->rescaleAxes();
    m_map->replot();
}

std::optional<std::pair<std::size_t, std::size_t>> RixsMapWindow::cellAt(double x,
                                                                         double omega) const {
    const auto row = nearestIndex(omega, m_plane.excitation.empty() ? 0 : m_plane.excitation[0],
                                  meanStep(m_plane.excitation), m_plane.excitation.size());
    if (!row || m_plane.emission.empty()) return std::nullopt;
    const double w = m_axis == Axis::Emission ? x : m_plane.excitation[*row] - x;
    const auto column = nearestIndex(w, m_plane.emission.front(), meanStep(m_plane.emission),
                                     m_plane.emission.size());
    if (!column) return std::nullopt;
    return std::make_pair(*row, *column);
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
    m_spectrumCut->graph(0)->data()->clear();
    m_excitationCut->graph(0)->data()->clear();
    if (m_cut && m_cut->first < m_plane.excitation.size() &&
        m_cut->second < m_plane.emission.size()) {
        const auto [row, column] = *m_cut;
        const double omega = m_plane.excitation[row];
        QVector<double> x;
        QVector<double> y;
        for (std::size_t c = 0; c < m_plane.emission.size(); ++c) {
            const double w = m_plane.emission[c];
            x.push_back(m_axis == Axis::Emission ? w : omega - w);
            y.push_back(m_plane.at(row, c));
        }
        m_spectrumCut->graph(0)->setData(x, y);
        x.clear();
        y.clear();
        for (std::size_t r = 0; r < m_plane.excitation.size(); ++r) {
            x.push_back(m_plane.excitation[r]);
            y.push_back(m_plane.at(r, column));
        }
        if (m_axis == Axis::Transfer) {
            // Along the cursor line: the same Ω − ω at every Ω.
            const auto cut = core::rixs::transferCut(m_plane, m_cutTransfer);
            for (std::size_t r = 0; r < cut.size(); ++r) y[static_cast<qsizetype>(r)] = cut[r];
        }
        m_excitationCut->graph(0)->setData(x, y);
        const double w = m_plane.emission[column];
        m_cursorLabel->setText(toQt(
            std::string(captions::kCursorOmega) + core::formatDigits(omega, kCursorDigits) +
            std::string(captions::kCursorEmission) + core::formatDigits(w, kCursorDigits) +
            std::string(captions::kCursorTransfer) + core::formatDigits(omega - w, kCursorDigits) +
            std::string(captions::kCursorIntensity) +
            core::formatDigits(m_plane.at(row, column), kCursorDigits) +
            std::string(m_cutFixed ? captions::kCursorFixed : std::string_view())));
    }
    for (QCustomPlot* plot : {m_spectrumCut, m_excitationCut}) {
        plot->rescaleAxes();
        plot->replot(QCustomPlot::rpQueuedReplot);
    }
}

namespace {

core::plot::Series namedSeries(std::string_view head, double value, std::string_view xLabel) {
    return core::plot::Series{std::string(head) + core::formatDigits(value, kCursorDigits) +
                                  std::string(captions::kUnitEv),
                              std::string(xLabel),
                              std::string(captions::kIntensityAxis),
                              {},
                              {}};
}

}  // namespace

std::vector<core::plot::Series> RixsMapWindow::planeSeries() const {
    std::vector<core::plot::Series> series;
    for (std::size_t r = 0; r < m_plane.excitation.size(); ++r) {
        auto& block = series.emplace_back(namedSeries(
            captions::kSeriesOmegaHead, m_plane.excitation[r], captions::kEmissionAxis));
        block.x = m_plane.emission;
        const auto row = m_plane.row(r);
        block.y.assign(row.begin(), row.end());
    }
    return series;
}

std::vector<core::plot::Series> RixsMapWindow::spectrumCutSeries() const {
    if (!m_cut || m_cut->first >= m_plane.excitation.size()) return {};
    const std::size_t row = m_cut->first;
    const double omega = m_plane.excitation[row];
    const bool transfer = m_axis == Axis::Transfer;
    auto series = namedSeries(captions::kSeriesOmegaHead, omega,
                              transfer ? captions::kTransferAxis : captions::kEmissionAxis);
    for (std::size_t c = 0; c < m_plane.emission.size(); ++c) {
        series.x.push_back(transfer ? omega - m_plane.emission[c] : m_plane.emission[c]);
        series.y.push_back(m_plane.at(row, c));
    }
    return {series};
}

std::vector<core::plot::Series> RixsMapWindow::excitationCutSeries() const {
    if (!m_cut || m_cut->second >= m_plane.emission.size()) return {};
    if (m_axis == Axis::Transfer) {
        auto series =
            namedSeries(captions::kSeriesTransferHead, m_cutTransfer, captions::kExcitationAxis);
        const auto cut = core::rixs::transferCut(m_plane, m_cutTransfer);
        for (std::size_t r = 0; r < cut.size(); ++r) {
            if (!std::isfinite(cut[r])) continue;  // outside the row: no point drawn
            series.x.push_back(m_plane.excitation[r]);
            series.y.push_back(cut[r]);
        }
        return {series};
    }
    const std::size_t column = m_cut->second;
    auto series = namedSeries(captions::kSeriesEmissionHead, m_plane.emission[column],
                              captions::kExcitationAxis);
    series.x = m_plane.excitation;
    for (std::size_t r = 0; r < m_plane.excitation.size(); ++r) {
        series.y.push_back(m_plane.at(r, column));
    }
    return {series};
}

void RixsMapWindow::mouseMoved(QMouseEvent* event) {
    if (m_plane.total.empty() || m_cutFixed) return;
    if (!m_map->axisRect()->rect().contains(event->position().toPoint())) return;
    const double x = m_map->xAxis->pixelToCoord(event->position().x());
    const double omega = m_map->yAxis->pixelToCoord(event->position().y());
    moveCrosshair(x, omega);
    if (auto cell = cellAt(x, omega)) {
        m_cut = cell;
        m_cutTransfer = x;
        drawCuts();
    }
}

void RixsMapWindow::mouseClicked(QMouseEvent* event) {
    if (m_plane.total.empty() || event->button() != Qt::LeftButton) return;
    if (m_cutFixed) {
        // The cuts follow the cursor again.
        m_cutFixed = false;
        mouseMoved(event);
        return;
    }
    if (!m_map->axisRect()->rect().contains(event->position().toPoint())) return;
    const double x = m_map->xAxis->pixelToCoord(event->position().x());
    const double omega = m_map->yAxis->pixelToCoord(event->position().y());
    const auto cell = cellAt(x, omega);
    if (!cell) return;
    moveCrosshair(x, omega);
    m_cut = cell;
    m_cutTransfer = x;
    m_cutFixed = true;
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
