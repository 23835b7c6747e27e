#include "core/rixs/workbench_model.h"

#include <cmath>
#include <utility>

#include "core/numeric/display_factors.h"
#include "core/plot/plot_texts.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"
#include "core/workspace/workspace_setup.h"

namespace zephalo::core::rixs {

namespace {

using numeric::kDisplayFactor;

// Significant digits of the range and factor boxes, and of a picked energy.
constexpr int kBoxDigits = 6;
constexpr int kPickedDigits = 5;

// Box texts that "表示変更" restores, and the shift loading shows.
constexpr std::string_view kDefaultAmplitude = "1.0";
constexpr std::string_view kDefaultWidth = "3.0";
constexpr std::string_view kDefaultShift = "0";

// The correction peak is joined only between -90 and 95 vertically.
constexpr int kPeakWindowLow = -90;
constexpr int kPeakWindowHigh = 95;

// Energies over every record; scaled intensities (both components) over the
// records inside [window->xmin, window->xmax] when a window is given, over
// all records otherwise. `start` holds the running extremes to widen.
MinMaxRecord scanRanges(const SelectiveXafsTable& records, const MinMaxRecord* window,
                        MinMaxRecord start = {}) {
    MinMaxRecord out = start;
    MinMaxScan energies;
    for (const auto& r : records) energies.addX(r.energy);
    out.xmin = energies.record().xmin;
    out.xmax = energies.record().xmax;
    for (const auto& r : records) {
        if (window && !(r.energy >= window->xmin && r.energy <= window->xmax)) continue;
        for (double s : {kDisplayFactor * r.a, kDisplayFactor * r.b}) {
            if (s < out.ymin) out.ymin = s;
            if (s > out.ymax) out.ymax = s;
        }
    }
    return out;
}

bool drawn(const std::optional<plot::Curve>& curve) {
    return curve && curve->size() > 0;
}

bool finite(const MinMaxRecord& r) {
    return std::isfinite(r.xmin) && std::isfinite(r.xmax) && std::isfinite(r.ymin) &&
           std::isfinite(r.ymax);
}

bool finite(const SelectiveXafsTable& records) {
    for (const auto& r : records) {
        if (!std::isfinite(r.energy) || !std::isfinite(r.a) || !std::isfinite(r.b)) return false;
    }
    return true;
}

Report notFinite(const Workspace& workspace, std::string_view fileName) {
    return Report::refused(std::string(texts::kNotFiniteHead) + pathText(workspace.path(fileName)) +
                           std::string(texts::kNotFiniteTail) + std::string(kWorkspaceUnchanged));
}

DisplayMode loadedMode(const Workspace& workspace, Status& status) {
    // A work space without a final-state function shows component A.
    if (!workspace.exists(files::kFinalState)) return DisplayMode::A;
    FinalStateFunction function;
    status = workspace.read(files::kFinalState, function);
    return function.twoComponents() ? DisplayMode::AB : DisplayMode::A;
}

// The factor boxes as loading shows them; left as they are without a
// parameter file.
Status readFactorBoxes(const Workspace& workspace, WorkbenchBoxes& boxes) {
    if (!workspace.exists(files::kParameters)) return {};
    CalculationParameters parameters;
    if (auto status = workspace.read(files::kParameters, parameters); !status) return status;
    boxes.absorption = formatDigits(parameters.absorptionFactor, kBoxDigits);
    boxes.scaling = formatDigits(parameters.scalingFactor, kBoxDigits);
    return {};
}

// Whether the working copy holds corrections that loading `fresh` would
// replace unpublished: it differs from what loading writes, from the
// creation's seed and from what "修正終了！" last published. An unreadable
// file counts as different.
bool holdsUnpublishedCorrections(const Workspace& workspace, const SelectiveXafsTable& fresh) {
    if (!workspace.exists(files::kSelectiveWork)) return false;
    SelectiveXafsTable working;
    if (!workspace.read(files::kSelectiveWork, working)) return true;
    const std::string text = formatRecords(working);
    if (text == formatRecords(fresh)) return false;
    // The creation's seed holds no work.
    for (const Seed& seed : seedFiles()) {
        if (seed.file == files::kSelectiveWork && seed.text == text) return false;
    }
    SelectiveXafsTable published;
    return !workspace.exists(files::kSelectiveForRixs) ||
           !workspace.read(files::kSelectiveForRixs, published) || text != formatRecords(published);
}

// The range boxes into the window's energies (an empty box reads as 0).
Status readRangeBoxes(const WorkbenchBoxes& typed, MinMaxRecord& window) {
    return readBoxes({{texts::kRangeMinBox, typed.rangeMin, window.xmin},
                      {texts::kRangeMaxBox, typed.rangeMax, window.xmax}});
}

}  // namespace

WorkbenchModel::WorkbenchModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

void WorkbenchModel::discardAll() {
    m_xafsA.reset();
    m_xafsB.reset();
    m_bandA.reset();
    m_bandB.reset();
    m_peak.reset();
    m_calculated.reset();
    m_compared.reset();
    m_experiment.reset();
    m_rFactor.reset();
}

std::string_view WorkbenchModel::projectXafs(const SelectiveXafsTable& records,
                                             const MinMaxRecord& window) {
    m_xafsA = plot::Curve{};
    m_xafsB = plot::Curve{};
    m_xafsA->pen = plot::Pen::Red;
    m_xafsB->pen = plot::Pen::Blue;
    if (records.empty()) return {};
    // The transform divides by both spans: a window of zero width or a range
    // without extent has no positions, and the panel stays empty.
    if (!(window.xmax != window.xmin) || !finite(window)) return texts::kNoCurveEnergyWindow;
    if (!(window.ymax > window.ymin)) return texts::kNoCurveFlat;
    const plot::DisplayRange range{window.xmin, window.xmax, window.ymin, window.ymax};
    m_xafsA = plot::projectCurve(records, &XafsPoint::energy, &XafsPoint::a, range, plot::Pen::Red);
    m_xafsB =
        plot::projectCurve(records, &XafsPoint::energy, &XafsPoint::b, range, plot::Pen::Blue);
    m_xafsA->name = plot::texts::kSelectiveA;
    m_xafsB->name = plot::texts::kSelectiveB;
    m_xafsData = records;
    // The fit's band (energy, lower, upper), when the last fit made one.
    m_bandA.reset();
    m_bandB.reset();
    const auto band = [&](std::string_view file, plot::Pen pen) -> std::optional<plot::Curve> {
        SelectiveXafsTable edges;
        if (!m_workspace.read(file, edges) || edges.empty()) return std::nullopt;
        plot::Curve curve =
            plot::projectCurve(edges, &XafsPoint::energy, &XafsPoint::b, range, pen);
        curve.lower = plot::projectCurve(edges, &XafsPoint::energy, &XafsPoint::a, range, pen).y;
        return curve;
    };
    m_bandA = band(files::kFitBandA, plot::Pen::Red);
    m_bandB = band(files::kFitBandB, plot::Pen::Blue);
    return {};
}

Report WorkbenchModel::finished(Report report) {
    m_message = report.text;
    return report;
}

Report WorkbenchModel::load(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    discardAll();
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveAbsolute, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    Status modeStatus;
    const DisplayMode mode = loadedMode(m_workspace, modeStatus);
    if (!modeStatus) return finished(Report::refusedUnchanged(modeStatus));
    WorkbenchBoxes boxes = typed;
    if (auto status = readFactorBoxes(m_workspace, boxes); !status) {
        return finished(Report::refusedUnchanged(status));
    }

    const bool dropsCorrections = holdsUnpublishedCorrections(m_workspace, records);
    const MinMaxRecord ranges = scanRanges(records, nullptr);
    if (!finite(ranges)) return finished(notFinite(m_workspace, files::kXafsMinMax));
    for (auto name : {files::kXafsMinMax, files::kTempXafsMinMax}) {
        if (auto status = m_workspace.write(name, ranges); !status) {
            return finished(Report::refused(status));
        }
    }
    if (auto status = m_workspace.write(files::kSelectiveWork, records); !status) {
        return finished(Report::refused(status));
    }

    boxes.mode = mode;
    boxes.rangeMin = formatDigits(ranges.xmin, kBoxDigits);
    boxes.rangeMax = formatDigits(ranges.xmax, kBoxDigits);
    boxes.shift = std::string(kDefaultShift);
    m_boxes = boxes;
    const auto why = projectXafs(records, ranges);
    std::string text = std::string(texts::kLoadedText) + std::string(why);
    if (dropsCorrections) text += texts::kUnpublishedReplaced;
    return finished(Report::success(std::move(text)));
}

Report WorkbenchModel::clear(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    discardAll();
    return finished(Report::success(std::string(texts::kClearedText)));
}

Report WorkbenchModel::changeDisplay(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    MinMaxRecord window;
    window.xmin = 0.0;
    window.xmax = 0.0;
    if (auto status = readRangeBoxes(typed, window); !status) {
        return finished(Report::refused(status));
    }
    m_xafsA.reset();
    m_xafsB.reset();
    m_peak.reset();
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    const MinMaxRecord energies = scanRanges(records, nullptr);
    if (!(window.xmin < window.xmax && window.xmin >= energies.xmin &&
          window.xmax <= energies.xmax)) {
        return finished(Report::refused(std::string(texts::kWindowRejectedText)));
    }
    const MinMaxRecord scaled = scanRanges(records, &window);
    window.ymin = scaled.ymin;
    window.ymax = scaled.ymax;
    if (!finite(window)) return finished(notFinite(m_workspace, files::kTempXafsMinMax));
    if (auto status = m_workspace.write(files::kTempXafsMinMax, window); !status) {
        return finished(Report::refused(status));
    }
    m_boxes.peakAmplitude = std::string(kDefaultAmplitude);
    m_boxes.peakWidth = std::string(kDefaultWidth);
    m_boxes.sign = PeakSign::Add;
    const auto why = projectXafs(records, window);
    return finished(Report::success(std::string(texts::kDisplayChangedText) + std::string(why)));
}

std::optional<Report> WorkbenchModel::pick(double logicalX, double logicalY,
                                           const WorkbenchBoxes& typed) {
    m_boxes = typed;
    if (!plot::pickAccepted(logicalX, logicalY)) return std::nullopt;
    // Before the first load there is no shown range: the file is missing or
    // still holds the scan's start values.
    if (!m_workspace.exists(files::kTempXafsMinMax)) return std::nullopt;
    MinMaxRecord window;
    if (auto status = m_workspace.read(files::kTempXafsMinMax, window); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    const MinMaxRecord start;
    if (window.xmin == start.xmin && window.xmax == start.xmax) return std::nullopt;
    const double energy = plot::pickedEnergy(logicalX, window.xmin, window.xmax);
    if (!std::isfinite(energy)) return std::nullopt;
    const std::string text = formatDigits(energy, kPickedDigits);
    m_boxes.peakCentre = text;
    m_boxes.excitation = text;
    return finished(
        Report::success(std::string(texts::kPickedHead) + text + std::string(texts::kPickedTail)));
}

Report WorkbenchModel::showPeak(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    double centre = 0.0;
    double amplitude = 0.0;
    double width = 0.0;
    if (auto status = readBoxes({{texts::kPeakCentreBox, typed.peakCentre, centre},
                                 {texts::kPeakAmplitudeBox, typed.peakAmplitude, amplitude},
                                 {texts::kPeakWidthBox, typed.peakWidth, width}});
        !status) {
        return finished(Report::refused(status));
    }
    m_peak.reset();
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    MinMaxRecord window;
    MinMaxRecord whole;
    for (auto [name, record] :
         {std::pair{files::kTempXafsMinMax, &window}, std::pair{files::kXafsMinMax, &whole}}) {
        if (auto status = m_workspace.read(name, *record); !status) {
            return finished(Report::refusedUnchanged(status));
        }
    }
    // A stored window that is reversed or leaves the spectrum shows nothing
    // and leaves the message as it was.
    if (!(window.xmin < window.xmax && whole.xmin <= window.xmin && window.xmax <= whole.xmax)) {
        return Report::refused(m_message);
    }
    const MinMaxRecord widened = scanRanges(records, &window, window);

    PairSpectrum peak;
    peak.reserve(records.size());
    for (const auto& r : records) {
        // L(E) = A / ((E - E0)^2 + W^2), W the half width at half maximum.
        const double value =
            amplitude / ((r.energy - centre) * (r.energy - centre) + width * width);
        if (!std::isfinite(value)) {
            return finished(Report::refused(std::string(texts::kPeakNotFinite) +
                                            std::string(kWorkspaceUnchanged)));
        }
        peak.push_back({r.energy, value});
    }
    if (auto status = m_workspace.write(files::kCorrectionLorentz, peak); !status) {
        return finished(Report::refused(status));
    }

    std::string text(texts::kPeakShownText);
    if (!peak.empty() && !(widened.ymax > widened.ymin)) {
        text += texts::kNoPeakCurveFlat;
        return finished(Report::success(text));
    }
    m_peak =
        plot::projectCurve(peak, &PairPoint::energy, &PairPoint::intensity,
                           plot::DisplayRange{window.xmin, window.xmax, widened.ymin, widened.ymax},
                           plot::Pen::Pink, kPeakWindowLow, kPeakWindowHigh);
    m_peak->name = plot::texts::kCorrectionPeak;
    // The segment that leaves a point above the scaled range is not drawn,
    // so an off-scale peak shows a gap instead of a flattened top.
    m_peakData = peak;
    m_peak->breaks.assign(peak.size(), 0);
    for (std::size_t i = 1; i < peak.size(); ++i) {
        if (std::trunc(kDisplayFactor * peak[i - 1].intensity) > widened.ymax) {
            m_peak->breaks[i] = 1;
        }
    }
    return finished(Report::success(text));
}

Report WorkbenchModel::applyCorrection(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    discardAll();
    SelectiveXafsTable records;
    PairSpectrum peak;
    MinMaxRecord window;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    if (auto status = m_workspace.read(files::kCorrectionLorentz, peak); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    if (auto status = m_workspace.read(files::kTempXafsMinMax, window); !status) {
        return finished(Report::refusedUnchanged(status));
    }

    const bool toA = typed.mode != DisplayMode::B;
    const bool toB = typed.mode == DisplayMode::B || typed.mode == DisplayMode::AB;
    const double sign = typed.sign == PeakSign::Subtract ? -1.0 : 1.0;
    // The peak was sampled at the working copy's energies; a record without
    // a sampled value stays as it is.
    for (std::size_t i = 0; i < records.size() && i < peak.size(); ++i) {
        records[i].energy = peak[i].energy;
        if (toA) records[i].a += sign * peak[i].intensity;
        if (toB) records[i].b += sign * peak[i].intensity;
    }
    const MinMaxRecord scaled = scanRanges(records, &window);
    window.ymin = scaled.ymin;
    window.ymax = scaled.ymax;
    if (!finite(records)) return finished(notFinite(m_workspace, files::kSelectiveWork2));
    if (auto status = m_workspace.write(files::kSelectiveWork2, records); !status) {
        return finished(Report::refused(status));
    }
    const auto why = projectXafs(records, window);
    return finished(Report::success(std::string(texts::kCorrectedText) + std::string(why)));
}

Report WorkbenchModel::storeCorrection(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    m_peak.reset();
    // Without a correction there is nothing to store; the working copy stays.
    if (!m_workspace.exists(files::kSelectiveWork2)) {
        return finished(Report::refused(std::string(texts::kNoCorrectionHead) +
                                        pathText(m_workspace.path(files::kSelectiveWork2)) +
                                        std::string(texts::kNoCorrectionTail) +
                                        std::string(kWorkspaceUnchanged)));
    }
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveWork2, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    if (auto status = m_workspace.write(files::kSelectiveWork, records); !status) {
        return finished(Report::refused(status));
    }
    return finished(Report::success(std::string(texts::kStoredText)));
}

Report WorkbenchModel::refreshTo(std::string_view target, std::string_view message,
                                 const WorkbenchBoxes& typed) {
    m_boxes = typed;
    MinMaxRecord typedWindow;
    typedWindow.xmin = 0.0;
    typedWindow.xmax = 0.0;
    if (auto status = readRangeBoxes(typed, typedWindow); !status) {
        return finished(Report::refused(status));
    }
    discardAll();
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    const MinMaxRecord whole = scanRanges(records, nullptr);
    // The window of the range boxes, unchecked, over the whole spectrum's
    // intensity range.
    MinMaxRecord window = whole;
    window.xmin = typedWindow.xmin;
    window.xmax = typedWindow.xmax;
    if (!finite(whole)) return finished(notFinite(m_workspace, files::kXafsMinMax));
    if (auto status = m_workspace.write(files::kXafsMinMax, whole); !status) {
        return finished(Report::refused(status));
    }
    if (auto status = m_workspace.write(files::kTempXafsMinMax, window); !status) {
        return finished(Report::refused(status));
    }
    if (auto status = m_workspace.write(target, records); !status) {
        return finished(Report::refused(status));
    }
    const auto why = projectXafs(records, window);
    return finished(Report::success(std::string(message) + std::string(why)));
}

Report WorkbenchModel::refresh(const WorkbenchBoxes& typed) {
    return refreshTo(files::kSelectiveWork, texts::kRefreshedText, typed);
}

Report WorkbenchModel::finish(const WorkbenchBoxes& typed) {
    return refreshTo(files::kSelectiveForRixs, texts::kFinishedText, typed);
}

std::vector<plot::Curve> WorkbenchModel::xafsCurves(DisplayMode checked) const {
    std::vector<plot::Curve> out;
    if (m_xafsA && m_xafsB) {
        const bool showB = checked == DisplayMode::B || checked == DisplayMode::AB;
        const bool showA = checked != DisplayMode::B;
        if (showB && m_bandB) out.push_back(*m_bandB);
        if (showA && m_bandA) out.push_back(*m_bandA);
        if (showB) out.push_back(*m_xafsB);
        if (showA) out.push_back(*m_xafsA);
    }
    if (m_peak) out.push_back(*m_peak);
    return out;
}

std::vector<plot::Series> WorkbenchModel::xafsSeries(DisplayMode checked) const {
    namespace names = plot::texts;
    std::vector<plot::Series> out;
    const auto energy = &XafsPoint::energy;
    if (drawn(m_xafsA) && drawn(m_xafsB)) {
        if (checked == DisplayMode::B || checked == DisplayMode::AB)
            out.push_back(plot::seriesOf(m_xafsData, energy, &XafsPoint::b, names::kSelectiveB));
        if (checked != DisplayMode::B)
            out.push_back(plot::seriesOf(m_xafsData, energy, &XafsPoint::a, names::kSelectiveA));
    }
    if (drawn(m_peak)) {
        out.push_back(plot::seriesOf(m_peakData, &PairPoint::energy, &PairPoint::intensity,
                                     names::kCorrectionPeak));
    }
    return out;
}

bool WorkbenchModel::hasXafs() const {
    return m_xafsA && m_xafsA->size() > 0;
}

std::optional<EnergySpan> WorkbenchModel::xafsSpan() const {
    MinMaxRecord window;
    if (!hasXafs() || !m_workspace.read(files::kTempXafsMinMax, window)) return std::nullopt;
    return EnergySpan{window.xmin, window.xmax};
}

bool WorkbenchModel::twoComponents() const {
    FinalStateFunction function;
    function.mode = 0;
    return m_workspace.read(files::kFinalState, function).ok() && function.twoComponents();
}

void WorkbenchModel::showStored() {
    discardAll();
    SelectiveXafsTable records;
    MinMaxRecord window;
    if (m_workspace.read(files::kSelectiveWork, records) &&
        m_workspace.read(files::kTempXafsMinMax, window)) {
        projectXafs(records, window);
    }
    redrawRixs(true, m_workspace.exists(files::kRixsExperimentMinMax));
}

Status storedPicture(const Workspace& workspace, Panel panel, plot::Picture& out) {
    WorkbenchModel model(workspace);
    model.showStored();
    const bool two = model.twoComponents();
    plot::Picture picture;
    switch (panel) {
        case Panel::Xafs: {
            Status modeStatus;
            const DisplayMode mode = loadedMode(workspace, modeStatus);
            picture = {texts::kXafsPanelTitle, model.xafsCurves(mode)};
            break;
        }
        case Panel::Theory:
            picture = {texts::kTheoryPanelTitle, model.theoryCurves(two)};
            break;
        case Panel::Experiment:
            picture = {texts::kExperimentPanelTitle, model.experimentCurves(two)};
            break;
    }
    if (picture.empty()) {
        return Status::failure(std::string(texts::kEmptyPanelHead) + std::string(picture.title) +
                               std::string(texts::kEmptyPanelTail));
    }
    out = std::move(picture);
    return {};
}

Status storedBoxes(const Workspace& workspace, WorkbenchBoxes& out) {
    WorkbenchBoxes boxes;
    MinMaxRecord window;
    if (auto status = workspace.read(files::kTempXafsMinMax, window); !status) return status;
    if (auto status = readFactorBoxes(workspace, boxes); !status) return status;
    Status modeStatus;
    boxes.mode = loadedMode(workspace, modeStatus);
    if (!modeStatus) return modeStatus;
    boxes.rangeMin = formatDigits(window.xmin, kBoxDigits);
    boxes.rangeMax = formatDigits(window.xmax, kBoxDigits);
    boxes.peakAmplitude = std::string(kDefaultAmplitude);
    boxes.peakWidth = std::string(kDefaultWidth);
    boxes.sign = PeakSign::Add;
    boxes.shift = std::string(kDefaultShift);
    out = std::move(boxes);
    return {};
}

Report WorkbenchModel::shift(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    double delta = 0.0;
    if (auto status = readBox(texts::kShiftBox, typed.shift, delta); !status) {
        return finished(Report::refused(status));
    }
    discardAll();
    SelectiveXafsTable records;
    MinMaxRecord window;
    MinMaxRecord whole;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    for (auto [name, record] :
         {std::pair{files::kTempXafsMinMax, &window}, std::pair{files::kXafsMinMax, &whole}}) {
        if (auto status = m_workspace.read(name, *record); !status) {
            return finished(Report::refusedUnchanged(status));
        }
    }
    for (auto& r : records) r.energy += delta;
    if (!finite(records)) return finished(notFinite(m_workspace, files::kSelectiveWork));
    if (auto status = m_workspace.write(files::kSelectiveWork, records); !status) {
        return finished(Report::refused(status));
    }
    // The shift is stored; a stored window that is reversed or leaves the
    // spectrum before the shift draws nothing and writes no message.
    if (!(window.xmin < window.xmax && whole.xmin <= window.xmin && window.xmax <= whole.xmax)) {
        return Report::success(m_message);
    }
    const MinMaxRecord widened = scanRanges(records, &window, window);
    window.ymin = widened.ymin;
    window.ymax = widened.ymax;
    const auto why = projectXafs(records, window);
    return finished(Report::success(std::string(texts::kShiftedText) + std::string(why)));
}

void WorkbenchModel::redraw(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    const bool xafs = m_xafsA.has_value();
    const bool theory = m_calculated.has_value();
    const bool experiment = m_experiment.has_value();
    discardAll();
    SelectiveXafsTable records;
    MinMaxRecord window;
    if (xafs && m_workspace.read(files::kSelectiveWork, records) &&
        m_workspace.read(files::kTempXafsMinMax, window)) {
        projectXafs(records, window);
        m_boxes.rangeMin = formatDigits(window.xmin, kBoxDigits);
        m_boxes.rangeMax = formatDigits(window.xmax, kBoxDigits);
    }
    redrawRixs(theory, experiment);
}

}  // namespace zephalo::core::rixs
