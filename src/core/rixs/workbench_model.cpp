#include "rixs/workbench_model.h"

#include <cmath>
#include <utility>

#include "numeric/display_factors.h"
#include "numeric/r_factor.h"
#include "plot/plot_texts.h"
#include "rixs/rixs_compute.h"
#include "rixs/workbench_texts.h"
#include "workspace/file_names.h"
#include "workspace/number_text.h"
#include "workspace/storage_texts.h"
#include "workspace/workspace_setup.h"

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

}  // namespace

WorkbenchModel::WorkbenchModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

void WorkbenchModel::discardAll() {
    m_xafsA.reset();
    m_xafsB.reset();
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
    return finished(Report::success(std::string(texts::kLoadedText) + std::string(why)));
}

Report WorkbenchModel::clear(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    discardAll();
    return finished(Report::success(std::string(texts::kClearedText)));
}

Report WorkbenchModel::changeDisplay(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    m_xafsA.reset();
    m_xafsB.reset();
    m_peak.reset();
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    MinMaxRecord window;
    window.xmin = parseTyped(typed.rangeMin);
    window.xmax = parseTyped(typed.rangeMax);
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

    const double centre = parseTyped(typed.peakCentre);
    const double amplitude = parseTyped(typed.peakAmplitude);
    const double width = parseTyped(typed.peakWidth);
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
    discardAll();
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveWork, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    const MinMaxRecord whole = scanRanges(records, nullptr);
    // The window of the range boxes, unchecked, over the whole spectrum's
    // intensity range.
    MinMaxRecord window = whole;
    window.xmin = parseTyped(typed.rangeMin);
    window.xmax = parseTyped(typed.rangeMax);
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
        if (checked == DisplayMode::B || checked == DisplayMode::AB) out.push_back(*m_xafsB);
        if (checked != DisplayMode::B) out.push_back(*m_xafsA);
    }
    if (m_peak) out.push_back(*m_peak);
    return out;
}

std::vector<plot::Curve> WorkbenchModel::theoryCurves(bool twoComponents) const {
    std::vector<plot::Curve> out;
    if (!m_calculated) return out;
    if (twoComponents) {
        out.push_back(m_calculated->comp1);
        out.push_back(m_calculated->comp2);
    }
    out.push_back(m_calculated->total);
    return out;
}

std::vector<plot::Curve> WorkbenchModel::experimentCurves(bool twoComponents) const {
    std::vector<plot::Curve> out;
    if (m_compared) {
        if (twoComponents) {
            out.push_back(m_compared->comp1);
            out.push_back(m_compared->comp2);
        }
        out.push_back(m_compared->total);
    }
    if (m_experiment) out.push_back(*m_experiment);
    return out;
}

namespace {

// A calculated spectrum as series: the components first when they are drawn.
void appendRixs(std::vector<plot::Series>& out, const QuadSpectrum& points, bool twoComponents) {
    namespace names = plot::texts;
    const auto energy = &QuadPoint::energy;
    if (twoComponents) {
        out.push_back(plot::seriesOf(points, energy, &QuadPoint::comp1, names::kModelComp1));
        out.push_back(plot::seriesOf(points, energy, &QuadPoint::comp2, names::kModelComp2));
    }
    out.push_back(plot::seriesOf(points, energy, &QuadPoint::total, names::kModelTotal));
}

bool drawn(const std::optional<plot::Curve>& curve) {
    return curve && curve->size() > 0;
}

}  // namespace

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

std::vector<plot::Series> WorkbenchModel::theorySeries(bool twoComponents) const {
    std::vector<plot::Series> out;
    if (m_calculated && m_calculated->total.size() > 0)
        appendRixs(out, m_calculatedData, twoComponents);
    return out;
}

std::vector<plot::Series> WorkbenchModel::experimentSeries(bool twoComponents) const {
    std::vector<plot::Series> out;
    if (m_compared && m_compared->total.size() > 0) appendRixs(out, m_comparedData, twoComponents);
    if (drawn(m_experiment)) {
        out.push_back(plot::seriesOf(m_experimentData, &PairPoint::energy, &PairPoint::intensity,
                                     plot::texts::kMeasured));
    }
    return out;
}

void WorkbenchModel::showStored() {
    discardAll();
    SelectiveXafsTable records;
    MinMaxRecord window;
    if (m_workspace.read(files::kSelectiveWork, records) &&
        m_workspace.read(files::kTempXafsMinMax, window)) {
        projectXafs(records, window);
    }
    QuadSpectrum points;
    if (readCalculatedRixs(m_workspace, points)) projectTheory(points);
    if (m_workspace.exists(files::kRixsExperimentMinMax)) compareCalculated(m_boxes);
}

bool storedTwoComponents(const Workspace& workspace) {
    FinalStateFunction function;
    function.mode = 0;
    return workspace.read(files::kFinalState, function).ok() && function.twoComponents();
}

Status storedPicture(const Workspace& workspace, Panel panel, plot::Picture& out) {
    WorkbenchModel model(workspace);
    model.showStored();
    const bool two = storedTwoComponents(workspace);
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

bool WorkbenchModel::hasXafs() const {
    return m_xafsA && m_xafsA->size() > 0;
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

Status readCalculatedRixs(const Workspace& workspace, QuadSpectrum& out) {
    QuadSpectrum spectrum;
    const Status status = workspace.read(files::kCalculatedRixs, spectrum);
    if (!status) {
        // The seed: one record of three values, which the four-value reader
        // never completes.
        SelectiveXafsTable seed;
        if (workspace.read(files::kCalculatedRixs, seed) && seed.size() == 1) {
            out.clear();
            return {};
        }
        return status;
    }
    out = std::move(spectrum);
    return {};
}

}  // namespace zephalo::core::rixs

namespace zephalo::core::rixs {

namespace {

// Both RIXS panels quantise energies to 1/100 eV and put the largest value
// of their frame at 1000.
constexpr double kRixsEnergySteps = 100.0;
constexpr double kRixsPanelTop = 1000.0;
// Energies closer than this match in the comparison (strictly).
constexpr double kMatchTolerance = 0.0001;
// Points per spectrum the comparison reduces.
constexpr std::size_t kMaxAlignedPoints = 4000;

// The two spectra reduced to their common energies: the longer one (the
// calculation when both are as long) keeps the points that match the other's,
// in the other's order; the other stays whole. The first match in file order wins; a match at
// energy 0 counts as none.
struct Aligned {
    PairSpectrum measured;
    QuadSpectrum calculated;
    bool matched = false;  // whether the reduced spectrum kept any point
};

bool sameEnergy(double a, double b) {
    return std::fabs(a - b) < kMatchTolerance;
}

Aligned align(const PairSpectrum& measured, const QuadSpectrum& calculated) {
    Aligned out;
    if (calculated.size() < measured.size()) {
        out.calculated = calculated;
        for (const auto& c : calculated) {
            for (const auto& m : measured) {
                if (!sameEnergy(m.energy, c.energy)) continue;
                if (m.energy != 0.0) out.measured.push_back(m);
                break;
            }
        }
        out.matched = !out.measured.empty();
    } else {
        out.measured = measured;
        for (const auto& m : measured) {
            for (const auto& c : calculated) {
                if (!sameEnergy(m.energy, c.energy)) continue;
                if (c.energy != 0.0) out.calculated.push_back(c);
                break;
            }
        }
        out.matched = !out.calculated.empty();
    }
    return out;
}

// A calculated curve group in panel units.
template <class Ranges>
WorkbenchModel::RixsCurves projectRixs(const QuadSpectrum& points, const Ranges& range,
                                       const plot::Axes& axes) {
    WorkbenchModel::RixsCurves curves{
        plot::projectCurve(points, &QuadPoint::energy, &QuadPoint::total, range, plot::Pen::Blue,
                           -95, 95, axes),
        plot::projectCurve(points, &QuadPoint::energy, &QuadPoint::comp1, range,
                           plot::Pen::SkyBlueDotted, -95, 95, axes),
        plot::projectCurve(points, &QuadPoint::energy, &QuadPoint::comp2, range,
                           plot::Pen::SkyBlueDotted, -95, 95, axes)};
    curves.total.name = plot::texts::kModelTotal;
    curves.comp1.name = plot::texts::kModelComp1;
    curves.comp2.name = plot::texts::kModelComp2;
    return curves;
}

WorkbenchModel::RixsCurves emptyRixs() {
    return projectRixs(QuadSpectrum{}, plot::DisplayRange{}, plot::Axes{});
}

// The experiment panel's frame: EXP_MinMax.DAT with q = 1000 / J_hi.
struct ExperimentFrame {
    plot::DisplayRange range;
    plot::Axes axes;
};

// The frame of a range record, or the sentence saying why it has none.
std::string_view experimentFrame(const MinMaxRecord& record, ExperimentFrame& out) {
    if (!(record.ymax > 0.0) || !std::isfinite(record.ymax)) return texts::kNoExperimentEmpty;
    const double q = kRixsPanelTop / record.ymax;
    out.range = {record.xmin, record.xmax, record.ymin * q, record.ymax * q};
    out.axes = {kRixsEnergySteps, kRixsExperimentScale, q};
    if (!(record.xmax > record.xmin) || !(out.range.smax > out.range.smin) ||
        !std::isfinite(out.range.smin) || !std::isfinite(record.xmin)) {
        return texts::kNoExperimentFrame;
    }
    return {};
}

std::string savedPathText(const std::filesystem::path& chosen, std::filesystem::path& full) {
    std::error_code error;
    full = std::filesystem::absolute(chosen, error);
    if (error) full = chosen;
    return pathText(full);
}

}  // namespace

std::string_view WorkbenchModel::projectTheory(const QuadSpectrum& points) {
    m_calculated = emptyRixs();
    if (points.empty()) return texts::kNoTheoryEmpty;
    MinMaxScan energies;
    double largest = 0.0;
    double smallest = 1.0e8;
    for (const auto& p : points) {
        energies.addX(p.energy);
        const double scaled = numeric::kCalculatedDisplayFactor * p.total;
        if (scaled > largest) largest = scaled;
        if (scaled < smallest) smallest = scaled;
    }
    if (!(largest > 0.0) || !std::isfinite(largest)) return texts::kNoTheoryZero;
    const double q = kRixsPanelTop / largest;
    const plot::DisplayRange range{energies.record().xmin, energies.record().xmax, smallest * q,
                                   largest * q};
    if (!(range.xmax > range.xmin)) return texts::kNoTheoryOneEnergy;
    if (!(range.smax > range.smin)) return texts::kNoTheoryFlat;
    m_calculated = projectRixs(points, range,
                               plot::Axes{kRixsEnergySteps, numeric::kCalculatedDisplayFactor, q});
    m_calculatedData = points;
    return {};
}

std::string_view WorkbenchModel::projectExperiment(const PairSpectrum& points,
                                                   const MinMaxRecord& frameRecord) {
    m_experiment = plot::Curve{};
    m_experiment->pen = plot::Pen::Red;
    ExperimentFrame frame;
    if (points.empty()) return texts::kNoExperimentEmpty;
    if (auto why = experimentFrame(frameRecord, frame); !why.empty()) return why;
    m_experiment = plot::projectCurve(points, &PairPoint::energy, &PairPoint::intensity,
                                      frame.range, plot::Pen::Red, -95, 95, frame.axes);
    m_experiment->name = plot::texts::kMeasured;
    m_experimentData = points;
    return {};
}

Report WorkbenchModel::shift(const WorkbenchBoxes& typed) {
    m_boxes = typed;
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
    const double delta = parseTyped(typed.shift);
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

Report WorkbenchModel::saveTo(const std::filesystem::path& chosen, std::string_view text,
                              std::string_view head) {
    std::filesystem::path full;
    const std::string shown = savedPathText(chosen, full);
    if (auto status = writeTextFileAtomic(full, text); !status) {
        return finished(Report::refused(std::string(texts::kSaveFailedHead) + shown +
                                        std::string(texts::kSaveFailedTail) + status.error()));
    }
    m_savePath = full;
    return finished(Report::success(std::string(head) + shown + std::string(texts::kSavedTail)));
}

Report WorkbenchModel::saveXafs(const WorkbenchBoxes& typed, const std::filesystem::path& chosen) {
    m_boxes = typed;
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveForRixs, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    return saveTo(chosen, formatRecords(records), texts::kXafsSavedHead);
}

Report WorkbenchModel::saveRixs(const WorkbenchBoxes& typed, const std::filesystem::path& chosen) {
    m_boxes = typed;
    QuadSpectrum points;
    if (auto status = readCalculatedRixs(m_workspace, points); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    return saveTo(chosen, formatRecords(points), texts::kRixsSavedHead);
}

Report WorkbenchModel::excitationEdited(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    return finished(Report::success(std::string(texts::kExcitationHint)));
}

Report WorkbenchModel::compute(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    Report report = computeRixs(m_workspace, typed.excitation, typed.scaling, typed.absorption);
    if (report.done) {
        m_calculated.reset();
        m_compared.reset();
        m_peak.reset();
        m_rFactor.reset();
        QuadSpectrum points;
        if (auto status = readCalculatedRixs(m_workspace, points); !status) {
            return finished(Report::refused(status));
        }
        report.text += projectTheory(points);
    }
    finished(report);
    // With a measured spectrum shown, the comparison redraw follows and its
    // message replaces this one.
    if (!m_experiment) return report;
    Report redrawn = compareCalculated(typed);
    redrawn.done = redrawn.done && report.done;
    return redrawn;
}

Report WorkbenchModel::clearRixs(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    m_calculated.reset();
    m_compared.reset();
    m_rFactor.reset();
    return finished(Report::success(std::string(texts::kRixsClearedText)));
}

Report WorkbenchModel::compareCalculated(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    m_experiment.reset();
    m_compared.reset();
    m_rFactor.reset();
    PairSpectrum measured;
    QuadSpectrum calculated;
    MinMaxRecord frameRecord;
    if (auto status = m_workspace.read(files::kRixsExperiment, measured); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    if (auto status = readCalculatedRixs(m_workspace, calculated); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    if (auto status = m_workspace.read(files::kRixsExperimentMinMax, frameRecord); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    std::string text(texts::kComparedText);
    const auto why = projectExperiment(measured, frameRecord);
    text += why;
    m_compared = emptyRixs();
    ExperimentFrame frame;
    if (why.empty() && experimentFrame(frameRecord, frame).empty()) {
        m_compared = projectRixs(calculated, frame.range, frame.axes);
        m_comparedData = calculated;
        // The segment leaving a point above the measured maximum is not drawn.
        auto& breaks = m_compared->total.breaks;
        breaks.assign(calculated.size(), 0);
        for (std::size_t k = 1; k < calculated.size(); ++k) {
            const double previous = std::trunc(kRixsExperimentScale * calculated[k - 1].total *
                                               frame.axes.intensityScale);
            if (previous > frame.range.smax) breaks[k] = 1;
        }
        m_compared->comp1.breaks = breaks;
        m_compared->comp2.breaks = breaks;
    }
    // The figure a user tunes the factors by: the two spectra paired on their
    // common energies, also after a computation on the whole grid.
    const Aligned pair = align(measured, calculated);
    m_rFactor = numeric::rFactor(pair.calculated, pair.measured);
    // After a reduction that matched nothing one of the two files is empty.
    if ((!measured.empty() || !calculated.empty()) && !pair.matched) {
        text += texts::kNoCommonEnergy;
    }
    return finished(Report::success(std::move(text)));
}

Report WorkbenchModel::compareAligned(const PairSpectrum& measured, const std::string& source,
                                      bool whole, std::string_view message) {
    m_experiment.reset();
    m_compared.reset();
    m_rFactor.reset();
    QuadSpectrum calculated;
    if (auto status = readCalculatedRixs(m_workspace, calculated); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    const std::string calculatedSource = pathText(m_workspace.path(files::kCalculatedRixs));
    for (auto [size, name] :
         {std::pair{measured.size(), &source}, std::pair{calculated.size(), &calculatedSource}}) {
        if (size <= kMaxAlignedPoints) continue;
        return finished(Report::refused(std::string(texts::kTooManyPointsHead) + *name +
                                        std::string(texts::kTooManyPointsTail) +
                                        std::string(kWorkspaceUnchanged)));
    }
    const Aligned pair = align(measured, calculated);
    if (auto status = m_workspace.write(files::kRixsExperiment, pair.measured); !status) {
        return finished(Report::refused(status));
    }
    if (auto status = m_workspace.write(files::kCalculatedRixs, pair.calculated); !status) {
        return finished(Report::refused(status));
    }
    // The frame and the drawn experiment: the whole chosen file, or the
    // reduced experiment as written.
    PairSpectrum shown = measured;
    if (!whole) {
        if (auto status = m_workspace.read(files::kRixsExperiment, shown); !status) {
            return finished(Report::refused(status));
        }
    }
    const MinMaxRecord frameRecord = minMaxOf(shown, kRixsExperimentScale);
    if (auto status = m_workspace.write(files::kRixsExperimentMinMax, frameRecord); !status) {
        return finished(Report::refused(status));
    }
    std::string text(message);
    text += projectExperiment(shown, frameRecord);
    const bool noMatch = !measured.empty() && !pair.matched;
    if (noMatch) text += texts::kNoCommonEnergy;
    finished(Report::success(text));
    if (!m_calculated) return Report::success(std::move(text));
    return compareCalculated(m_boxes);
}

Report WorkbenchModel::compareWithExperiment(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    PairSpectrum measured;
    if (auto status = m_workspace.read(files::kRixsExperiment, measured); !status) {
        m_experiment.reset();
        m_compared.reset();
        m_rFactor.reset();
        return finished(Report::refusedUnchanged(status));
    }
    return compareAligned(measured, pathText(m_workspace.path(files::kRixsExperiment)), false,
                          texts::kExperimentShownText);
}

Report WorkbenchModel::compareWithOther(const WorkbenchBoxes& typed,
                                        const std::filesystem::path& chosen) {
    m_boxes = typed;
    PairSpectrum measured;
    std::vector<int> lines;
    if (auto status = readPairFile(chosen, measured, kMaxPoints, &lines); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    // Its extremes are recorded in EXP_MinMax.DAT times the display factor.
    for (std::size_t i = 0; i < measured.size(); ++i) {
        if (std::isfinite(measured[i].intensity * kRixsExperimentScale)) continue;
        return finished(Report::refusedUnchanged(Status::failure(core::texts::nonFiniteInputText(
            pathText(chosen), lines[i],
            core::texts::scaledIntensityText(formatNumber(kRixsExperimentScale),
                                             files::kRixsExperimentMinMax)))));
    }
    return compareAligned(measured, pathText(chosen), true, texts::kOtherExperimentText);
}

Report WorkbenchModel::clearComparison(const WorkbenchBoxes& typed) {
    m_boxes = typed;
    m_experiment.reset();
    m_compared.reset();
    m_rFactor.reset();
    return finished(Report::success(std::string(texts::kComparisonClearedText)));
}

}  // namespace zephalo::core::rixs
