#include "core/xafs/conv_xafs_model.h"

#include <utility>

#include "core/plot/plot_texts.h"
#include "core/workspace/number_text.h"
#include "core/xafs/edge_table.h"
#include "core/xafs/xafs_texts.h"

namespace zephalo::core::xafs {

namespace {

// The core-energy box as a refusal names it.
constexpr text::Text kCoreEnergyBox = core::xafs::texts::kCoreEnergyBoxText;

constexpr text::Text kReadDone = core::xafs::texts::kReadDoneText;
constexpr text::Text kOpened = core::xafs::texts::kOpenedText;
constexpr text::Text kCleared = core::xafs::texts::kClearedText;
constexpr text::Text kDone = core::xafs::texts::kDoneText;

std::string confirmText(std::string_view label, std::string_view energyText, double width) {
    return core::xafs::texts::kConfirmTextPart1 + std::string(label) +
           core::xafs::texts::kConfirmTextPart2 + core::xafs::texts::kConfirmTextPart3 +
           std::string(energyText) + core::xafs::texts::kConfirmTextPart4 +
           formatDigits(width, kWidthDigits) + core::xafs::texts::kConfirmTextPart5;
}

}  // namespace

ConvXafsModel::ConvXafsModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report ConvXafsModel::read() {
    PairSpectrum points;
    if (auto status = m_workspace.read(files::kConventionalXafs, points); !status) {
        return Report::refusedUnchanged(status);
    }
    if (points.empty()) {
        return Report::refused(core::xafs::texts::kReadPart1 +
                               std::string(files::kConventionalXafs) +
                               core::xafs::texts::kReadPart2 + std::string(kWorkspaceUnchanged));
    }
    const MinMaxRecord raw = minMaxOf(points, 1.0);
    // A maximum of 0 or below cannot be normalised.
    if (!(raw.ymax > 0.0)) {
        return Report::refused(core::xafs::texts::kReadPart3 +
                               std::string(files::kConventionalXafs) +
                               core::xafs::texts::kReadPart4 + std::string(kWorkspaceUnchanged));
    }
    PairSpectrum normalised = points;
    for (auto& p : normalised) p.intensity /= raw.ymax;
    const MinMaxRecord scaled = minMaxOf(normalised, 1.0);
    // The projection divides by both spans.
    if (!(scaled.xmax > scaled.xmin) || !(scaled.ymax > scaled.ymin)) {
        return Report::refused(core::xafs::texts::kReadPart5 +
                               std::string(files::kConventionalXafs) +
                               core::xafs::texts::kReadPart6 + std::string(kWorkspaceUnchanged));
    }
    if (auto status = m_workspace.write(files::kConvXafsMinMaxOrg, raw); !status) {
        return Report::refused(status);
    }
    if (auto status = m_workspace.write(files::kConvXafsMinMax, scaled); !status) {
        return Report::refused(status);
    }
    if (auto status = m_workspace.write(files::kConvXafsNorm, normalised); !status) {
        return Report::refused(status);
    }

    show(std::move(normalised), scaled);
    if (m_edgeList.empty()) {
        for (const auto& edge : edgeTable()) m_edgeList.push_back(edge.label);
    }
    return Report::success(std::string(kReadDone));
}

Report ConvXafsModel::open() const {
    return Report::success(std::string(kOpened));
}

std::vector<plot::Curve> ConvXafsModel::curves() const {
    std::vector<plot::Curve> out;
    if (m_curve.size() == 0 || !m_range) return out;
    out.push_back(m_curve);
    const auto energy = parseTypedNumber(m_boxText);
    if (!energy) return out;
    // The marker spans the curve's window; outside the energy range it is
    // not joined and draws nothing.
    plot::Curve marker;
    const int x = plot::projectX(*energy, m_range->xmin, m_range->xmax);
    marker.x = {x, x};
    marker.y = {-kConvXafsWindow, kConvXafsWindow};
    marker.pen = plot::Pen::Blue;
    marker.windowLow = -kConvXafsWindow;
    marker.windowHigh = kConvXafsWindow;
    marker.name = plot::texts::kCoreEnergyMarker;
    out.push_back(std::move(marker));
    return out;
}

void ConvXafsModel::redraw() {
    if (m_curve.size() == 0) return;
    m_curve = plot::Curve{};
    m_range.reset();
    PairSpectrum normalised;
    MinMaxRecord scaled;
    if (!m_workspace.read(files::kConvXafsNorm, normalised) ||
        !m_workspace.read(files::kConvXafsMinMax, scaled) || !(scaled.xmax > scaled.xmin) ||
        !(scaled.ymax > scaled.ymin)) {
        return;
    }
    show(std::move(normalised), scaled);
}

void ConvXafsModel::show(PairSpectrum normalised, const MinMaxRecord& scaled) {
    const plot::Range range{scaled.xmin, scaled.xmax, scaled.ymin, scaled.ymax};
    m_curve = plot::projectCurve(normalised, &PairPoint::energy, &PairPoint::intensity, range,
                                 plot::Pen::Red, -kConvXafsWindow, kConvXafsWindow);
    m_curve.name = plot::texts::kNormalisedXafs;
    m_curve.frame->yTitle = plot::texts::kNormalisedAxis;
    m_normalised = std::move(normalised);
    m_range = range;
}

std::vector<plot::Series> ConvXafsModel::series() const {
    if (m_curve.size() == 0) return {};
    return {plot::seriesOf(m_normalised, &PairPoint::energy, &PairPoint::intensity,
                           plot::texts::kNormalisedXafs)};
}

Report ConvXafsModel::clear(std::string_view boxText, int edgeIndex) {
    m_curve = plot::Curve{};
    m_range.reset();
    m_boxText = boxText;
    m_edgeIndex = edgeIndex;
    // Without a selected edge there is no table energy: the box keeps its text.
    if (!m_boxText.empty()) {
        if (const auto edge = edgeAt(edgeIndex)) {
            m_boxText = formatDigits(edge->coreEnergy, kEnergyDigits);
        }
    }
    return Report::success(std::string(kCleared));
}

bool ConvXafsModel::canPick() const {
    return m_workspace.exists(files::kConvXafsMinMax);
}

std::optional<Report> ConvXafsModel::pick(double logicalX, double logicalY) {
    if (!plot::pickAccepted(logicalX, logicalY) || !canPick()) return std::nullopt;
    CalculationParameters parameters;
    if (auto status = m_workspace.readParameters(parameters); !status) {
        return Report::refusedUnchanged(status);
    }
    MinMaxRecord range;
    if (auto status = m_workspace.read(files::kConvXafsMinMax, range); !status) {
        return Report::refusedUnchanged(status);
    }
    const double energy = plot::pickedEnergy(logicalX, range.xmin, range.xmax);
    parameters.coreEnergy = energy;
    if (auto status = m_workspace.write(files::kParameters, parameters); !status) {
        return Report::refused(status);
    }
    m_boxText = formatDigits(energy, kEnergyDigits);
    return Report::success(core::xafs::texts::kPickPart1 + m_boxText +
                           core::xafs::texts::kPickPart2);
}

Report ConvXafsModel::confirm(std::string_view boxText, int edgeIndex) {
    double typedEnergy = 0.0;
    if (auto status = readBox(kCoreEnergyBox, boxText, typedEnergy); !status) {
        return Report::refused(status);
    }
    CalculationParameters parameters;
    if (auto status = m_workspace.readParameters(parameters); !status) {
        return Report::refusedUnchanged(status);
    }
    SelectiveXafsTable selective;
    if (auto status = m_workspace.read(files::kSelectiveOrg, selective); !status) {
        return Report::refusedUnchanged(status);
    }
    // The second energy decides whether the energies are edge-relative.
    if (selective.size() < 2) {
        return Report::refused(core::xafs::texts::kConfirmPart1 +
                               std::string(files::kSelectiveOrg) +
                               core::xafs::texts::kConfirmPart2 + std::to_string(selective.size()) +
                               core::xafs::texts::kConfirmPart3 + std::string(kWorkspaceUnchanged));
    }

    const auto edge = edgeAt(edgeIndex);
    if (edge) {
        parameters.lifetimeWidth = edge->lifetimeWidth;
        parameters.coreEnergy = edge->coreEnergy;
    }
    // Once the box holds anything (a first confirm, a click, typing) it wins
    // over the table.
    std::string box(boxText);
    if (!box.empty()) {
        parameters.coreEnergy = typedEnergy;
    } else {
        box = formatDigits(parameters.coreEnergy, kEnergyDigits);
    }

    if (selective[1].energy < kRelativeEnergyLimit) {
        for (auto& p : selective) p.energy += parameters.coreEnergy;
    }
    if (auto status = m_workspace.write(files::kParameters, parameters); !status) {
        return Report::refused(status);
    }
    if (auto status = m_workspace.write(files::kEmissionExcitation,
                                        parameters.coreEnergy + kExcitationAboveEdge,
                                        /*lineEnd=*/false);
        !status) {
        return Report::refused(status);
    }
    if (auto status = m_workspace.write(files::kSelectiveAbsolute, selective); !status) {
        return Report::refused(status);
    }
    m_boxText = box;
    m_edgeIndex = edgeIndex;
    return Report::success(
        confirmText(edge ? edge->label : std::string_view(), box, parameters.lifetimeWidth));
}

Report ConvXafsModel::done() const {
    return Report::success(std::string(kDone));
}

std::vector<std::string> replayReadCommand() {
    return {"edge", "--read-only"};
}

std::vector<std::string> replayConfirmCommand(std::string_view boxText, int edgeIndex) {
    std::vector<std::string> command{"edge"};
    if (edgeAt(edgeIndex)) command.insert(command.end(), {"--edge", std::to_string(edgeIndex)});
    if (!boxText.empty()) command.insert(command.end(), {"--core-energy", boxArgument(boxText)});
    return command;
}

}  // namespace zephalo::core::xafs
