#include "rixs/rixs_compute.h"

#include "numeric/input_texts.h"
#include "rixs/rixs_core.h"
#include "workspace/file_names.h"
#include "workspace/number_text.h"

namespace zephalo::core::rixs {

namespace {

constexpr int kFactorDigits = 6;

std::string shownText(std::string_view excitationText) {
    return "　計算したRIXSスペクトルを表示しました。\r\n　用いた励起エネルギーは" +
           std::string(excitationText) +
           "eVです。「実験値読込」し、この\r\n「計算値と比較」して下さい。\r\n　必要なら「RIXSの保"
           "存」をして下さい。\r\n　スペクトル形状が異常な時は、「スケーリング因子」を調整して下\r"
           "\nさい。";
}

constexpr std::string_view kExcitationWarning =
    "　励起エネルギーが異常です。\r\n　安全のため、デフォルト値7150eVで計算しました。\r\n　励起エネ"
    "ルギーを再入力して下さい。";

constexpr std::string_view kMissingInputs =
    "!!!エラー!!!"
    "\r\n　RIXS計算に必要なファイルがそろっていません。\r\n　「修正終了」しましたか？\r\n　「修正終"
    "了」ボタンを押さないとRIXSは計算できません。\r\n　また「XAFSの読込」をスキップしてもRIXS計算は"
    "できません。\r\n　確認してやり直して下さい。";

}  // namespace

Status storedFactorTexts(const Workspace& workspace, FactorTexts& out) {
    CalculationParameters parameters;
    if (auto status = workspace.readParameters(parameters); !status) return status;
    out.absorption = formatDigits(parameters.absorptionFactor, kFactorDigits);
    out.scaling = formatDigits(parameters.scalingFactor, kFactorDigits);
    return {};
}

Report computeRixs(const Workspace& workspace, std::string_view excitationText,
                   std::string_view scalingText, std::string_view absorptionText) {
    if (!workspace.exists(files::kParameters)) {
        return Report::refused(numeric::missingInputText(workspace, files::kParameters,
                                                         "　「ワークスペース作成」をして下さい。"));
    }
    CalculationParameters parameters;
    if (auto status = workspace.readParameters(parameters); !status) {
        return Report::refused(status);
    }
    parameters.absorptionFactor = parseTyped(absorptionText);
    parameters.scalingFactor = parseTyped(scalingText);
    if (auto status = workspace.write(files::kParameters, parameters); !status) {
        return Report::refused(status);
    }

    double omega = parseTyped(excitationText);
    std::string message;
    if (omega >= kLowestExcitation && omega <= kHighestExcitation) {
        message = shownText(excitationText);
    } else {
        omega = kDefaultExcitation;
        message = std::string(kExcitationWarning);
    }

    if (!workspace.exists(files::kSelectiveForRixs) || !workspace.exists(files::kConvXafsNorm)) {
        return Report::refused(std::string(kMissingInputs));
    }
    if (auto status = calculateRixs(workspace, omega); !status) {
        return Report::refused(status);
    }
    return Report::success(std::move(message));
}

}  // namespace zephalo::core::rixs
