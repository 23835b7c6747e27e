#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "core/plot/plot_texts.h"
#include "core/workspace/number_text.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/rixs/workbench_captions.h"
#include "gui/widgets/dialog_widgets.h"
#include "gui/widgets/message_panel.h"

// The workbench's correction peak under the mouse: dragged or turned on the
// selective XAFS panel, followed by the calculated spectrum, its comparison
// and the R factor, all in memory.
namespace zephalo::gui {

namespace {

using core::plot::Curve;
using core::rixs::DisplayMode;
using core::rixs::PeakSign;
namespace plot = core::plot;
namespace captions = rixs::captions;

// Digits of the peak boxes and the R factor box as the drag fills them.
constexpr int kBoxDigits = 6;
// The wheel's changes are recorded once it has rested this long (ms).
constexpr int kWheelPauseMs = 400;

const Curve* named(const std::vector<Curve>& curves, std::string_view name) {
    const auto found = std::find_if(curves.begin(), curves.end(),
                                    [&](const Curve& c) { return c.name == name && c.frame; });
    return found == curves.end() ? nullptr : &*found;
}

// The live totals drawn like the panel's calculated total (or, without one,
// on the measured spectrum's frame), in the correction's colour.
std::optional<Curve> liveTotals(const std::vector<Curve>& panel,
                                const core::rixs::LiveCorrection& correction) {
    const Curve* like = named(panel, plot::texts::kModelTotal);
    if (!like) like = named(panel, plot::texts::kMeasured);
    if (!like) return std::nullopt;
    Curve out = plot::curveLike(*like, correction.energies(), correction.totals());
    out.pen = plot::Pen::Pink;
    out.name = plot::texts::kLiveTotal;
    return out;
}

}  // namespace

void CRIXSXAFS::connectLive() {
    m_wheelPause = new QTimer(this);
    m_wheelPause->setSingleShot(true);
    m_wheelPause->setInterval(kWheelPauseMs);
    connect(m_wheelPause, &QTimer::timeout, this, &CRIXSXAFS::commitLive);
    connect(m_xafsPanel, &PlotPanel::gripDragged, this, [this](double x, double y) {
        if (!m_live && !startLive()) return;
        m_live->peak = core::rixs::peakAtGrip(m_live->peak, *m_live->peakLike.frame, x, y);
        followLive();
    });
    connect(m_xafsPanel, &PlotPanel::gripTurned, this, [this](double notches) {
        if (!m_live && !startLive()) return;
        m_live->peak = core::rixs::peakTurned(m_live->peak, notches);
        followLive();
        m_wheelPause->start();
    });
    connect(m_xafsPanel, &PlotPanel::gripReleased, this, &CRIXSXAFS::commitLive);
}

std::vector<Curve> CRIXSXAFS::xafsShown() const {
    auto curves = m_model.xafsCurves(checkedMode());
    if (m_live && m_live->peakCurve) {
        std::erase_if(curves,
                      [](const Curve& c) { return c.name == plot::texts::kCorrectionPeak; });
        curves.push_back(*m_live->peakCurve);
    }
    return curves;
}

std::vector<Curve> CRIXSXAFS::theoryShown() const {
    auto curves = m_model.theoryCurves(m_model.twoComponents());
    if (m_live && m_live->theory) curves.push_back(*m_live->theory);
    return curves;
}

std::vector<Curve> CRIXSXAFS::experimentShown() const {
    auto curves = m_model.experimentCurves(m_model.twoComponents());
    if (m_live && m_live->experiment) curves.push_back(*m_live->experiment);
    return curves;
}

// The peak as the boxes give it, on the panel that shows it; the spectrum at
// the excitation box's energy prepared when it can be (otherwise the peak
// alone follows, and the message says why).
bool CRIXSXAFS::startLive() {
    const Curve* shown = named(m_model.xafsCurves(checkedMode()), plot::texts::kCorrectionPeak);
    const auto typed = typedBoxes();
    const auto centre = core::parseTypedNumber(typed.peakCentre);
    const auto amplitude = core::parseTypedNumber(typed.peakAmplitude);
    const auto width = core::parseTypedNumber(typed.peakWidth);
    if (!shown || !centre || !amplitude || !width || *width == 0.0) return false;
    LiveDrag live;
    live.peakLike = *shown;
    live.peak = {*centre,
                 *amplitude,
                 *width,
                 typed.mode != DisplayMode::B,
                 typed.mode == DisplayMode::B || typed.mode == DisplayMode::AB,
                 typed.sign == PeakSign::Subtract};
    core::Status prepared = core::Status::failure(std::string(captions::kLiveNeedsExcitation));
    if (const auto omega = core::parseTypedNumber(typed.excitation)) {
        prepared = live.correction.prepare(m_workspace, *omega);
    }
    if (!prepared) m_editMessage->setText(prepared.error());
    m_live = std::move(live);
    return true;
}

void CRIXSXAFS::followLive() {
    LiveDrag& live = *m_live;
    // The peak as its boxes will read back, so that what the panels show is
    // what "XAFS修正" applies.
    live.peak.centre = core::parseTyped(core::formatDigits(live.peak.centre, kBoxDigits));
    live.peak.amplitude = core::parseTyped(core::formatDigits(live.peak.amplitude, kBoxDigits));
    m_editPeakCentre->setText(toQt(core::formatDigits(live.peak.centre, kBoxDigits)));
    m_editPeakAmplitude->setText(toQt(core::formatDigits(live.peak.amplitude, kBoxDigits)));
    live.peakCurve = plot::curveLike(live.peakLike, live.correction.workingEnergies(),
                                     live.correction.peakValues(live.peak));
    if (live.correction.ready()) {
        live.rFactor = live.correction.update(live.peak);
        live.theory = liveTotals(m_model.theoryCurves(m_model.twoComponents()), live.correction);
        live.experiment =
            liveTotals(m_model.experimentCurves(m_model.twoComponents()), live.correction);
        m_editRFactor->setText(live.rFactor ? toQt(core::formatDigits(*live.rFactor, kBoxDigits))
                                            : QString());
    }
    placeGrip();
    m_xafsPanel->update();
    m_theoryPanel->update();
    m_experimentPanel->update();
}

// The peak recorded as "補正用ピーク表示" records it; the live spectrum and
// R factor stay shown until the next step.
void CRIXSXAFS::commitLive() {
    m_wheelPause->stop();
    if (!m_live) return;
    LiveDrag kept = std::move(*m_live);
    run(captions::kShowPeak, replay(core::rixs::WorkbenchButton::ShowPeak),
        [this](const core::rixs::WorkbenchBoxes& typed) { return m_model.showPeak(typed); });
    const Curve* shown = named(m_model.xafsCurves(checkedMode()), plot::texts::kCorrectionPeak);
    if (!shown) return;
    kept.peakLike = *shown;
    kept.peakCurve.reset();
    if (kept.rFactor) m_editRFactor->setText(toQt(core::formatDigits(*kept.rFactor, kBoxDigits)));
    m_live = std::move(kept);
    placeGrip();
    m_theoryPanel->update();
    m_experimentPanel->update();
}

void CRIXSXAFS::placeGrip() {
    const Curve* shown = named(m_model.xafsCurves(checkedMode()), plot::texts::kCorrectionPeak);
    std::optional<double> centre = m_live ? std::optional(m_live->peak.centre)
                                          : core::parseTypedNumber(m_model.boxes().peakCentre);
    m_xafsPanel->setGrip(shown && centre ? std::optional(plot::logicalXOf(*shown->frame, *centre))
                                         : std::nullopt);
}

}  // namespace zephalo::gui
