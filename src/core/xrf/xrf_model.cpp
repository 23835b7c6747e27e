#include "core/xrf/xrf_model.h"

#include <algorithm>
#include <cmath>

#include "core/numeric/display_factors.h"
#include "core/plot/plot_texts.h"
#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"
#include "core/xrf/emission_model.h"
#include "core/xrf/xrf_texts.h"

namespace zephalo::core::xrf {

namespace {

using numeric::kDisplayFactor;

// Significant digits of the boxes and messages.
constexpr int kWidthDigits = 6;
constexpr int kPositionDigits = 10;
constexpr int kAmplitudeDigits = 10;
constexpr int kExcitationDigits = 6;
constexpr int kPickedDigits = 5;
constexpr int kRFactorDigits = 4;

std::string fileText(const Workspace& workspace, std::string_view name) {
    return pathText(workspace.path(name));
}

// The measured spectrum, refused when it is missing or unreadable.
Status readMeasured(const Workspace& workspace, PairSpectrum& measured) {
    if (!workspace.exists(files::kExperimentEmission)) {
        return Status::failure(
            core::xrf::texts::kReadMeasuredPart1 + fileText(workspace, files::kExperimentEmission) +
            core::xrf::texts::kReadMeasuredPart2 + core::xrf::texts::kReadMeasuredPart3);
    }
    return workspace.read(files::kExperimentEmission, measured);
}

// A one-line record or value that the work-space creation seeds.
template <typename Value>
Status readSeeded(const Workspace& workspace, std::string_view name, Value& out) {
    if (!workspace.exists(name)) {
        return Status::failure(core::xrf::texts::kReadSeededPart1 + fileText(workspace, name) +
                               core::xrf::texts::kReadSeededPart2 +
                               core::xrf::texts::kReadSeededPart3);
    }
    return workspace.read(name, out);
}

// Measured data the load cannot use: too few points or a range of zero width.
Status checkMeasured(const Workspace& workspace, const PairSpectrum& measured,
                     const MinMaxRecord& range) {
    const std::string file = fileText(workspace, files::kExperimentEmission);
    const std::string reimport = core::xrf::texts::kCheckMeasuredPart1;
    if (measured.empty()) {
        return Status::failure(core::xrf::texts::kCheckMeasuredPart2 + file +
                               core::xrf::texts::kCheckMeasuredPart3 + reimport);
    }
    if (measured.size() < 2) {
        return Status::failure(core::xrf::texts::kCheckMeasuredPart4 + file +
                               core::xrf::texts::kCheckMeasuredPart5 +
                               core::xrf::texts::kCheckMeasuredPart6 + reimport);
    }
    if (!(range.xmax > range.xmin)) {
        return Status::failure(core::xrf::texts::kCheckMeasuredPart7 + file +
                               core::xrf::texts::kCheckMeasuredPart8 + formatDigits(range.xmin, 6) +
                               core::xrf::texts::kCheckMeasuredPart9 + reimport);
    }
    if (!(range.ymax > range.ymin)) {
        return Status::failure(core::xrf::texts::kCheckMeasuredPart10 + file +
                               core::xrf::texts::kCheckMeasuredPart11 +
                               core::xrf::texts::kCheckMeasuredPart12 + reimport);
    }
    return {};
}

plot::DisplayRange panelRange(const MinMaxRecord& range) {
    // The extremes file holds intensities in display units, as the panel
    // takes them.
    return {range.xmin, range.xmax, range.ymin, range.ymax};
}

}  // namespace

XrfModel::XrfModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report XrfModel::load() {
    PairSpectrum measured;
    double excitation = 0.0;
    FinalStateFunction stored;
    CalculationParameters parameters;
    if (auto status = readMeasured(m_workspace, measured); !status) {
        return Report::refused(status);
    }
    const MinMaxRecord range = minMaxOf(measured, kDisplayFactor);
    if (auto status = checkMeasured(m_workspace, measured, range); !status) {
        return Report::refused(status);
    }
    for (const Status& status : {readSeeded(m_workspace, files::kEmissionExcitation, excitation),
                                 readSeeded(m_workspace, files::kFinalState, stored),
                                 readSeeded(m_workspace, files::kParameters, parameters)}) {
        if (!status) return Report::refused(status);
    }

    // The model grid follows the measurement, so that its energies coincide
    // with the measured ones for the R factor.
    parameters.gridStart = range.xmin;
    parameters.gridEnd = range.xmax;
    parameters.gridStep = std::fabs(measured[1].energy - measured[0].energy);
    if (auto status = m_workspace.write(files::kParameters, parameters); !status) {
        return Report::refused(status);
    }
    if (auto status = m_workspace.write(files::kEmissionMinMax, range); !status) {
        return Report::refused(status);
    }

    discardModel();
    m_rFactor.reset();
    m_range = range;
    for (std::size_t i = 0; i < kLineCount; ++i) {
        m_boxes.lines[i] = {formatDigits(stored.position[i], kPositionDigits),
                            formatDigits(stored.amplitude[i], kAmplitudeDigits),
                            formatDigits(stored.width[i], kWidthDigits)};
    }
    m_boxes.excitation = formatDigits(excitation, kExcitationDigits);
    m_twoComponents = stored.twoComponents();

    m_measured = plot::projectCurve(measured, &PairPoint::energy, &PairPoint::intensity,
                                    panelRange(range), plot::Pen::Red);
    m_measured.name = plot::texts::kMeasured;
    m_measuredData = measured;

    return Report::success(std::string(texts::kLoadedHead) + m_boxes.excitation +
                           std::string(texts::kLoadedTail));
}

Report XrfModel::confirm(const XrfBoxes& typed, bool twoComponents) {
    FinalStateFunction function;
    function.mode = twoComponents ? 1 : 0;
    std::string unreadable;
    const auto take = [&](std::size_t line, std::string_view caption, const std::string& text,
                          double& out) {
        if (const auto value = parseBoxNumber(text)) {
            out = *value;
            return;
        }
        unreadable += core::xrf::texts::kConfirmPart1 + std::string(kLineNames[line]) +
                      core::xrf::texts::kConfirmPart2 + std::string(caption) +
                      core::xrf::texts::kConfirmPart3 + core::texts::quotedText(text) +
                      core::xrf::texts::kConfirmPart4;
    };
    for (std::size_t i = 0; i < kLineCount; ++i) {
        take(i, texts::kPositionCaption, typed.lines[i].position, function.position[i]);
        take(i, texts::kAmplitudeCaption, typed.lines[i].amplitude, function.amplitude[i]);
        take(i, texts::kWidthCaption, typed.lines[i].width, function.width[i]);
    }
    if (!unreadable.empty()) {
        return Report::refused(unreadable + core::xrf::texts::kConfirmPart5);
    }
    m_boxes.lines = typed.lines;
    return Report::from(m_workspace.write(files::kFinalStateTemp, function),
                        std::string(texts::kConfirmedText));
}

Report XrfModel::fit(std::string_view excitationText) {
    // A new press replaces the drawn model, also when it refuses.
    discardModel();
    m_rFactor.reset();
    const auto excitation = parseBoxNumber(excitationText);
    if (!excitation) {
        return Report::refused(
            core::xrf::texts::kFitPart1 + std::string(texts::kExcitationCaption) +
            core::xrf::texts::kFitPart2 + core::texts::quotedText(excitationText) +
            core::xrf::texts::kFitPart3 + core::xrf::texts::kFitPart4);
    }
    m_boxes.excitation = std::string(excitationText);
    MinMaxRecord range;
    if (auto status = readRange(range); !status) return Report::refused(status);
    if (auto status = EvaluateEmissionModel(m_workspace, *excitation); !status) {
        return Report::refused(status);
    }
    QuadSpectrum scaled;
    if (auto status = NormalizeEmissionModel(m_workspace, scaled); !status) {
        return Report::refused(status);
    }

    const plot::DisplayRange panel = panelRange(range);
    const auto energy = &QuadPoint::energy;
    m_total = plot::projectCurve(scaled, energy, &QuadPoint::total, panel, plot::Pen::Blue);
    m_comp1 =
        plot::projectCurve(scaled, energy, &QuadPoint::comp1, panel, plot::Pen::SkyBlueDotted);
    m_comp2 =
        plot::projectCurve(scaled, energy, &QuadPoint::comp2, panel, plot::Pen::SkyBlueDotted);
    m_total.name = plot::texts::kModelTotal;
    m_comp1.name = plot::texts::kModelComp1;
    m_comp2.name = plot::texts::kModelComp2;
    m_modelData = std::move(scaled);
    return Report::success(std::string(texts::kFittedText));
}

void XrfModel::redraw() {
    discardModel();
    m_rFactor.reset();
    if (m_measured.size() == 0) return;
    m_measured = plot::Curve{};
    PairSpectrum measured;
    MinMaxRecord range;
    if (!readMeasured(m_workspace, measured) || !readRange(range)) return;
    m_range = range;
    m_measured = plot::projectCurve(measured, &PairPoint::energy, &PairPoint::intensity,
                                    panelRange(range), plot::Pen::Red);
    m_measuredData = measured;
}

std::optional<Report> XrfModel::click(double logicalX, double logicalY, std::size_t selectedLine) {
    if (!plot::pickAccepted(logicalX, logicalY)) return std::nullopt;
    MinMaxRecord range;
    if (auto status = readRange(range); !status) return Report::refused(status);
    const double energy = plot::pickedEnergy(logicalX, range.xmin, range.xmax);
    m_boxes.lines[std::min(selectedLine, kLineCount - 1)].position =
        formatDigits(energy, kPickedDigits);
    return Report::success(std::string(texts::kPositionSetText));
}

Report XrfModel::rFactor() {
    PairSpectrum measured;
    QuadSpectrum model;
    if (auto status = readMeasured(m_workspace, measured); !status) {
        return Report::refused(status);
    }
    if (auto status = m_workspace.read(files::kEmissionModel, model); !status) {
        return Report::refused(status);
    }

    // Pairs by exact energy: both files hold the energies as the same
    // 6-digit text, since the model grid starts at the smallest measured
    // energy and steps by the measured spacing.
    PairSpectrum calculated;
    std::vector<double> observed;
    for (const auto& point : measured) {
        const auto match = std::find_if(model.begin(), model.end(), [&](const QuadPoint& q) {
            return q.energy == point.energy;
        });
        if (match == model.end()) continue;
        calculated.push_back({point.energy, match->total});
        observed.push_back(point.intensity);
    }
    const std::size_t pairs = calculated.size();
    if (pairs < 2) {
        return Report::refused(core::xrf::texts::kRFactorPart1 + std::to_string(pairs) +
                               core::xrf::texts::kRFactorPart2);
    }
    // The last pair does not enter the sums.
    calculated.resize(pairs - 1);
    double difference = 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < calculated.size(); ++i) {
        difference += std::fabs(calculated[i].intensity - observed[i]);
        sum += observed[i];
    }
    if (sum == 0.0) {
        return Report::refused(core::xrf::texts::kRFactorPart3 + std::to_string(calculated.size()) +
                               core::xrf::texts::kRFactorPart4 + core::xrf::texts::kRFactorPart5);
    }
    if (auto status = m_workspace.write(files::kEmissionForRFactor, calculated); !status) {
        return Report::refused(status);
    }
    const double r = 100.0 * difference / sum;
    if (auto status = m_workspace.write(files::kXrfRFactor, r); !status) {
        return Report::refused(status);
    }
    m_rFactor = r;
    return Report::success(std::string(texts::kRFactorHead) + formatDigits(r, kRFactorDigits) +
                           std::string(texts::kRFactorTail));
}

Report XrfModel::store() {
    if (!m_workspace.exists(files::kFinalStateTemp)) {
        return Report::refused(core::xrf::texts::kStorePart1 +
                               fileText(m_workspace, files::kFinalStateTemp) +
                               core::xrf::texts::kStorePart2 + core::xrf::texts::kStorePart3);
    }
    FinalStateFunction function;
    if (auto status = m_workspace.read(files::kFinalStateTemp, function); !status) {
        return Report::refused(status);
    }
    return Report::from(m_workspace.write(files::kFinalState, function),
                        std::string(texts::kStoredText));
}

std::vector<plot::Curve> XrfModel::curves(bool twoComponentsChecked) const {
    std::vector<plot::Curve> out;
    if (hasModel()) {
        if (twoComponentsChecked) {
            out.push_back(m_comp1);
            out.push_back(m_comp2);
        }
        out.push_back(m_total);
    }
    if (hasMeasurement()) out.push_back(m_measured);
    return out;
}

std::vector<plot::Series> XrfModel::series(bool twoComponentsChecked) const {
    namespace names = plot::texts;
    std::vector<plot::Series> out;
    const auto energy = &QuadPoint::energy;
    if (hasModel()) {
        if (twoComponentsChecked) {
            out.push_back(
                plot::seriesOf(m_modelData, energy, &QuadPoint::comp1, names::kModelComp1));
            out.push_back(
                plot::seriesOf(m_modelData, energy, &QuadPoint::comp2, names::kModelComp2));
        }
        out.push_back(plot::seriesOf(m_modelData, energy, &QuadPoint::total, names::kModelTotal));
    }
    if (hasMeasurement()) {
        out.push_back(plot::seriesOf(m_measuredData, &PairPoint::energy, &PairPoint::intensity,
                                     names::kMeasured));
    }
    return out;
}

Status XrfModel::readRange(MinMaxRecord& range) const {
    if (!m_workspace.exists(files::kEmissionMinMax)) {
        return Status::failure(core::xrf::texts::kReadRangePart1 +
                               fileText(m_workspace, files::kEmissionMinMax) +
                               core::xrf::texts::kReadRangePart2);
    }
    if (auto status = m_workspace.read(files::kEmissionMinMax, range); !status) return status;
    if (!(range.xmax > range.xmin) || !(range.ymax > range.ymin)) {
        return Status::failure(
            core::xrf::texts::kReadRangePart3 + fileText(m_workspace, files::kEmissionMinMax) +
            core::xrf::texts::kReadRangePart4 + core::xrf::texts::kReadRangePart5);
    }
    return {};
}

void XrfModel::discardModel() {
    m_total = {};
    m_comp1 = {};
    m_comp2 = {};
}

std::vector<std::string> replayCommand(XrfButton button, const XrfBoxes& typed,
                                       bool twoComponents) {
    std::vector<std::string> command{"xrf", "--button"};
    switch (button) {
        case XrfButton::Load:
            command.push_back("load");
            break;
        case XrfButton::Confirm:
            command.insert(command.end(), {"confirm", "--mode", twoComponents ? "1" : "0"});
            for (std::size_t i = 0; i < kLineCount; ++i) {
                command.push_back("--" + std::string(kLineNames[i]));
                command.push_back(boxArgument(typed.lines[i].position) + "," +
                                  boxArgument(typed.lines[i].amplitude) + "," +
                                  boxArgument(typed.lines[i].width));
            }
            break;
        case XrfButton::Fit:
            command.insert(command.end(), {"fit", "--excitation", boxArgument(typed.excitation)});
            break;
        case XrfButton::RFactor:
            command.push_back("rfactor");
            break;
        case XrfButton::Store:
            command.push_back("store");
            break;
    }
    return command;
}

}  // namespace zephalo::core::xrf
