#include "core/xafs/conv_xafs_model.h"

#include <utility>

#include "core/plot/plot_texts.h"
#include "core/workspace/number_text.h"
#include "core/xafs/edge_table.h"

namespace zephalo::core::xafs {

namespace {

// The core-energy box as a refusal names it.
constexpr std::string_view kCoreEnergyBox = "内殻エネルギー(eV)";

constexpr std::string_view kReadDone =
    "　XAFSスペクトル(吸収補正用)"
    "を読み込み、最大値\r\nを１に規格化しました。「吸収端を選択」して「確認」\r\nして下さい。\r\n　"
    "必要ならマウスを画面上でクリックするか、上の\r\nエディットボックスへ直接入力して、内殻エネルギ"
    "ー\r\nを修正し、「確認」して下さい。\r\n　内殻エネルギー値を初期化したい時は「クリア」した\r\n"
    "後、再度「読込」して下さい。";
constexpr std::string_view kCleared =
    "　XAFSスペクトルをクリアし、内殻エネルギーを初期化\r\nしました。再度XAFSを「読込」み、「吸収端"
    "を選択」\r\nして下さい。";
constexpr std::string_view kDone =
    "　シミュレーションに必要なXAFS関連のパラメーターが\r\n設定されました。\r\n　「蛍光X線による設"
    "定」に進んで下さい。 ";

std::string confirmText(std::string_view label, std::string_view energyText, double width) {
    return "　吸収端は " + std::string(label) + " に設定されました。\r\n" + "　内殻エネルギーは" +
           std::string(energyText) + "eV、寿命幅は" + formatDigits(width, kWidthDigits) +
           "eVです。\r\n　よろしいですか？\r\n　必要なら内殻エネルギーを再修正後、再度\r\n「確認」"
           "して下さい。「クリア」後に再度「読込」むと、\r\n初期設定に復帰できます。\r\n　問題なけ"
           "れば、「設定完了」して下さい。\r\n";
}

}  // namespace

ConvXafsModel::ConvXafsModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report ConvXafsModel::read() {
    PairSpectrum points;
    if (auto status = m_workspace.read(files::kConventionalXafs, points); !status) {
        return Report::refusedUnchanged(status);
    }
    if (points.empty()) {
        return Report::refused(
            "　エラー！！\r\n　" + std::string(files::kConventionalXafs) +
            " にデータがありません。\r\n　「通常XAFS実験値読込」で読み込み直して下さい。" +
            std::string(kWorkspaceUnchanged));
    }
    const MinMaxRecord raw = minMaxOf(points, 1.0);
    // A maximum of 0 or below cannot be normalised.
    if (!(raw.ymax > 0.0)) {
        return Report::refused("　エラー！！\r\n　" + std::string(files::kConventionalXafs) +
                               " の吸収が全点で0以下のため、\r\n規格化できません。\r\n　通常XAFSの"
                               "実験値を読み込み直して下さい。" +
                               std::string(kWorkspaceUnchanged));
    }
    PairSpectrum normalised = points;
    for (auto& p : normalised) p.intensity /= raw.ymax;
    const MinMaxRecord scaled = minMaxOf(normalised, 1.0);
    // The projection divides by both spans.
    if (!(scaled.xmax > scaled.xmin) || !(scaled.ymax > scaled.ymin)) {
        return Report::refused("　エラー！！\r\n　" + std::string(files::kConventionalXafs) +
                               " のエネルギーまたは吸収が全点で同じため、\r\nスペクトルを描けません"
                               "。通常XAFSの実験値を読み込み直して下さい。" +
                               std::string(kWorkspaceUnchanged));
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

    const plot::Range range{scaled.xmin, scaled.xmax, scaled.ymin, scaled.ymax};
    m_curve = plot::projectCurve(normalised, &PairPoint::energy, &PairPoint::intensity, range,
                                 plot::Pen::Red, -kConvXafsWindow, kConvXafsWindow);
    m_normalised = std::move(normalised);
    m_range = range;
    if (m_edgeList.empty()) {
        for (const auto& edge : edgeTable()) m_edgeList.push_back(edge.label);
    }
    return Report::success(std::string(kReadDone));
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
    const plot::Range range{scaled.xmin, scaled.xmax, scaled.ymin, scaled.ymax};
    m_curve = plot::projectCurve(normalised, &PairPoint::energy, &PairPoint::intensity, range,
                                 plot::Pen::Red, -kConvXafsWindow, kConvXafsWindow);
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
    return Report::success("　内殻エネルギーが" + m_boxText +
                           "eVに修正されました。\r\n「確認」して下さい。");
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
        return Report::refused(
            "　エラー！！\r\n　" + std::string(files::kSelectiveOrg) + " のデータが" +
            std::to_string(selective.size()) +
            "点しかないため、エネルギーが吸収端からの\r\n相対値か絶対値か判定できません（2点以上必"
            "要です）。\r\n　「選択的XAFS計算値読込」で選択的XAFSを導入し直して\r\n下さい。" +
            std::string(kWorkspaceUnchanged));
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
