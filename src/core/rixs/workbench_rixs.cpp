#include "core/rixs/workbench_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numeric/display_factors.h"
#include "core/numeric/r_factor.h"
#include "core/plot/plot_texts.h"
#include "core/rixs/energy_alignment.h"
#include "core/rixs/rixs_compute.h"
#include "core/rixs/spectrum_pairing.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"
#include "core/workspace/workspace_setup.h"

namespace zephalo::core::rixs {

namespace {

// Both RIXS panels quantise energies to 1/100 eV and put the largest value
// of their frame at 1000.
constexpr double kRixsEnergySteps = 100.0;
constexpr double kRixsPanelTop = 1000.0;

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

namespace {

// The chosen file made absolute (as chosen when that fails), and its text.
std::string savedPathText(const std::filesystem::path& chosen, std::filesystem::path& full) {
    std::error_code error;
    full = std::filesystem::absolute(chosen, error);
    if (error) full = chosen;
    return pathText(full);
}

}  // namespace

Report WorkbenchModel::saveRixs(const WorkbenchBoxes& typed, const std::filesystem::path& chosen) {
    m_boxes = typed;
    QuadSpectrum points;
    if (auto status = readCalculatedRixs(m_workspace, points); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    return saveTo(chosen, formatRecords(points), texts::kRixsSavedHead);
}

Report WorkbenchModel::saveXafs(const WorkbenchBoxes& typed, const std::filesystem::path& chosen) {
    m_boxes = typed;
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveForRixs, records); !status) {
        return finished(Report::refusedUnchanged(status));
    }
    return saveTo(chosen, formatRecords(records), texts::kXafsSavedHead);
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

void WorkbenchModel::redrawRixs(bool theory, bool experiment) {
    QuadSpectrum points;
    if (theory && readCalculatedRixs(m_workspace, points)) (void)projectTheory(points);
    PairSpectrum measured;
    MinMaxRecord frame;
    if (experiment && theory) {
        (void)compareCalculated(m_boxes);
    } else if (experiment && m_workspace.read(files::kRixsExperiment, measured) &&
               m_workspace.read(files::kRixsExperimentMinMax, frame)) {
        (void)projectExperiment(measured, frame);
    }
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
    const AlignedSpectra pair = alignEnergies(measured, calculated);
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
        return finished(Report::refused(text::fill(texts::kTooManyPoints, {*name}) +
                                        std::string(kWorkspaceUnchanged)));
    }
    const AlignedSpectra pair = alignEnergies(measured, calculated);
    // Rewriting both to no common energy would lose the measured spectrum.
    if (!measured.empty() && !pair.matched) {
        return finished(Report::refused(std::string(texts::kNoCommonEnergyRefused) +
                                        std::string(kWorkspaceUnchanged)));
    }
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

}  // namespace

std::vector<plot::Series> WorkbenchModel::theorySeries(bool twoComponents) const {
    std::vector<plot::Series> out;
    if (m_calculated && m_calculated->total.size() > 0)
        appendRixs(out, m_calculatedData, twoComponents);
    return out;
}

std::vector<plot::Series> WorkbenchModel::experimentSeries(bool twoComponents) const {
    std::vector<plot::Series> out;
    if (m_compared && m_compared->total.size() > 0) appendRixs(out, m_comparedData, twoComponents);
    if (m_experiment && m_experiment->size() > 0) {
        out.push_back(plot::seriesOf(m_experimentData, &PairPoint::energy, &PairPoint::intensity,
                                     plot::texts::kMeasured));
    }
    return out;
}

std::optional<EnergySpan> WorkbenchModel::theorySpan() const {
    if (!m_calculated || m_calculated->total.size() == 0 || m_calculatedData.empty()) {
        return std::nullopt;
    }
    const auto [low, high] = std::minmax_element(
        m_calculatedData.begin(), m_calculatedData.end(),
        [](const QuadPoint& a, const QuadPoint& b) { return a.energy < b.energy; });
    return EnergySpan{low->energy, high->energy};
}

std::optional<EnergySpan> WorkbenchModel::experimentSpan() const {
    MinMaxRecord frame;
    const auto curves = experimentCurves(false);
    const bool shown = std::any_of(curves.begin(), curves.end(),
                                   [](const plot::Curve& curve) { return curve.size() > 0; });
    if (!shown || !m_workspace.read(files::kRixsExperimentMinMax, frame)) return std::nullopt;
    return EnergySpan{frame.xmin, frame.xmax};
}

std::optional<double> WorkbenchModel::measuredExcitation(const WorkbenchBoxes& typed) {
    const std::optional<double> omega = parseTypedNumber(typed.excitation);
    if (omega && excitationAccepted(*omega)) return omega;
    return std::nullopt;
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
