#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The message texts of the refinement tools "Average" and "Optimization",
// word for word, and the sentences around the values they name.
namespace zephalo::core::tools::texts {

// --- Neighbour averaging ----------------------------------------------------

// The edit boxes as refusals name them.
inline constexpr std::string_view kAverageStartBox = "平均開始エネルギー";
inline constexpr std::string_view kAverageEndBox = "平均終了エネルギー";

// When the dialog opens.
inline constexpr std::string_view kAverageOpenText =
    "平均する隣接データ数を指定し、必要なら、\r\n"
    "平均操作を行うエネルギー範囲を変更して\r\n"
    "「平均開始」して下さい。";
// Any refused input of "平均開始".
inline constexpr std::string_view kAverageErrorText = "エラー!! 入力を確認して下さい。";
// The workbench's message after the dialog closes.
inline constexpr std::string_view kAverageClosedText =
    "隣接平均操作を行いました。\r\n「表示変更」をクリックすれば結果が確認できます。";

// After "平均開始": the boxes as typed, the item's text and the index range.
inline std::string averageDoneText(std::string_view start, std::string_view end,
                                   std::string_view item, std::size_t first, std::size_t last) {
    return std::string(start) + "eVから" + std::string(end) + "eVまでの" + std::string(item) +
           "が終了\r\nしました。\r\n使用した配列は、i=" + std::to_string(first) + "から" +
           std::to_string(last) + "までです。";
}

// --- Peak optimisation ------------------------------------------------------

// The edit boxes as refusals name them.
inline constexpr std::string_view kOptimiseStartBox = "最適化開始エネルギー";
inline constexpr std::string_view kOptimiseEndBox = "最適化終了エネルギー";
inline constexpr std::string_view kOptimiseStepBox = "最適化ステップエネルギー";
inline constexpr std::string_view kPeakHeightBox = "ピーク高さ";
inline constexpr std::string_view kPeakWidthBox = "ピーク幅";
inline constexpr std::string_view kHeightLimitBox = "ピーク高さの変動上限";
inline constexpr std::string_view kHeightStepBox = "ピーク高さの変動ステップ";
inline constexpr std::string_view kOmegaBox = "RIXS測定時の励起エネルギー";

// When the dialog opens.
inline constexpr std::string_view kOptimiseOpenText =
    "設定条件を確認し、必要なら、パラメーターを変更して\r\n「最適化」して下さい。";
// Any refused setting or input of "最適化".
inline constexpr std::string_view kOptimiseErrorText =
    "エラー!! 設定条件（最適化回数、励起エネルギー、\r\n"
    "最適化エネルギーの範囲...）を確認して下さい。";
// While the run goes on.
inline constexpr std::string_view kOptimiseRunningText = "最適化計算中...";
// The workbench's message after the dialog closes.
inline constexpr std::string_view kOptimiseClosedText =
    "最適化操作を行いました。\r\n「表示変更」をクリックすれば結果が確認できます。";
// The caption of the stop button.
inline constexpr std::string_view kOptimiseStopCaption = "中止";

// After a complete run: the boxes as typed and the pass item's text.
inline std::string optimiseDoneText(std::string_view start, std::string_view end,
                                    std::string_view passItem) {
    return std::string(start) + "eVから" + std::string(end) + "eVまで" + std::string(passItem) +
           "、最適化を行いました。\r\n";
}

// After a complete run, the R factor before and after it (percent).
inline std::string rFactorChangeLine(std::string_view before, std::string_view after) {
    return "　R因子は " + std::string(before) + " % から " + std::string(after) +
           " % になりました。\r\n";
}

// Added to kOptimiseClosedText: the final R factor of the dialog's run, or
// without a run, where the workbench shows it.
inline std::string optimiseClosedRLine(std::string_view rFactor) {
    return "\r\n　最適化後のR因子は " + std::string(rFactor) +
           " % "
           "です。「修正終了！」「RIXS計算実行」\r\n「実験値と比較」で「R因子(%)」に表示されます。";
}
inline constexpr std::string_view kOptimiseClosedHowTo =
    "\r\n　新しいR因子は「修正終了！」「RIXS計算実行」\r\n「実験値と比較」で「R因子(%)"
    "」に表示されます。";

// After "中止": the pass and the energy of the first position not tried.
inline std::string optimiseStoppedText(int pass, std::string_view energy) {
    return "最適化を中止しました。\r\n" + std::to_string(pass) + "回目の" + std::string(energy) +
           "eVの手前まで試したピークの結果を、作業用のXAFS\r\n"
           "（SelectiveXAFS_for_RIXS_Temp.DAT）に残しました。\r\n";
}

// The workbench's message after the dialog closed when its last run was
// stopped: the stop's own account, then where to see the result.
inline std::string optimiseClosedAfterStopText(std::string_view stoppedText) {
    return std::string(stoppedText) + "「表示変更」をクリックすれば残した結果が確認できます。";
}

// A line added to kOptimiseErrorText saying which input was refused.
inline std::string emptySelectiveLine(std::string_view file) {
    return "\r\n　" + std::string(file) + " に選択的XAFSのデータがありません。";
}
inline std::string tooManyPointsLine(std::string_view file, std::size_t count, std::size_t limit) {
    return "\r\n　" + std::string(file) + " の点数" + std::to_string(count) + "が上限の" +
           std::to_string(limit) + "点を超えています。";
}
inline std::string tooManyGridLinesLine(std::size_t count, std::size_t limit) {
    return "\r\n　計算するRIXSスペクトルの発光エネルギーの点数" + std::to_string(count) +
           "が上限の" + std::to_string(limit) + "点を超えています。";
}
inline std::string tooManyTrialsLine(std::size_t limit) {
    return "\r\n　試すエネルギーかピーク高さの数が上限の" + std::to_string(limit) +
           "を超えています。";
}
inline std::string tooManyPositionsLine(std::size_t count, std::size_t limit) {
    return "\r\n　試すエネルギーの数" + std::to_string(count) + "が上限の" + std::to_string(limit) +
           "を超えています。";
}
inline std::string tooManyTrialCountLine(std::size_t positions, std::size_t heights, int passes,
                                         std::size_t trials, std::size_t limit) {
    return "\r\n　試すピークの数（エネルギー" + std::to_string(positions) + "×高さ" +
           std::to_string(heights) + "×" + std::to_string(passes) + "回＝" +
           std::to_string(trials) + "）が上限の" + std::to_string(limit) +
           "を超えています。\r\n　範囲を狭めるか、ステップを大きくして下さい。";
}
inline constexpr std::string_view kNoMeasuredIntensityLine =
    "\r\n　RIXSEXP.DAT の強度の合計が0のため、R因子を計算できません。";
inline constexpr std::string_view kNonFinitePeakLine =
    "\r\n　ピークの値が有限の数値になりません。ピーク幅とピーク高さを確認して下さい。";

// --- Fit ------------------------------------------------------------------

// The fit dialog's boxes as refusals name them.
inline constexpr std::string_view kFitOmegaBox = "RIXS測定時の励起エネルギー";
inline constexpr std::string_view kFitFromBox = "フィット開始エネルギー";
inline constexpr std::string_view kFitToBox = "フィット終了エネルギー";
inline constexpr std::string_view kFitSmoothingBox = "平滑化の重み";
inline constexpr std::string_view kFitBandBox = "帯の再フィット回数";
// When the dialog opens.
inline constexpr std::string_view kFitOpenText =
    "範囲、平滑化の重み（空欄なら測定値の雑音から自動）、帯の再フィット回数を\r\n"
    "確認して「フィット」して下さい。";
// The workbench's message after the dialog closes.
inline constexpr std::string_view kFitClosedText =
    "フィット操作を行いました。\r\n「表示変更」をクリックすれば結果が確認できます。";

// Refusals of the fit: the head, then one line saying which input.
inline constexpr std::string_view kFitErrorText =
    "エラー!! "
    "フィットの条件（励起エネルギー、エネルギーの範囲、\r\n平滑化の重み、帯の回数）を確認して下さい"
    "。";
inline std::string fitWindowLine(std::string_view from, std::string_view to, std::string_view low,
                                 std::string_view high) {
    return "\r\n　範囲" + std::string(from) + "～" + std::string(to) + "eVが作業用の選択的XAFS（" +
           std::string(low) + "～" + std::string(high) + "eV）の中にありません。";
}
inline std::string fitExcitationLine(std::string_view omega, std::string_view low,
                                     std::string_view high) {
    return "\r\n　励起エネルギー" + std::string(omega) + "eVが" + std::string(low) + "～" +
           std::string(high) + "eVの範囲外です。";
}
inline constexpr std::string_view kFitNoMeasuredLine =
    "\r\n　RIXSEXP.DAT に測定スペクトルがありません。「RIXS実験値読込」をして下さい。";
inline constexpr std::string_view kFitNoSelectiveLine =
    "\r\n　作業用の選択的XAFS（SelectiveXAFS_for_RIXS_Temp.DAT）がありません。"
    "\r\n　「選択的XAFS読込」をして下さい。";
inline constexpr std::string_view kFitNoPairsLine =
    "\r\n　測定スペクトルと計算するRIXSスペクトルに共通の発光エネルギーがありません。";
inline constexpr std::string_view kFitSmoothingLine =
    "\r\n　平滑化の重みは0以上の有限の数にして下さい。";
inline std::string fitBandLine(std::size_t limit) {
    return "\r\n　帯の再フィット回数は0から" + std::to_string(limit) + "までにして下さい。";
}
// What the programme itself may refuse.
inline constexpr std::string_view kFitEmptyProblem = "\r\n　フィットする強度か測定点がありません。";
inline constexpr std::string_view kFitNotFinite = "\r\n　応答か測定値が有限の数値になりません。";
inline constexpr std::string_view kFitBadSmoothing =
    "\r\n　平滑化の重みは0以上の有限の数にして下さい。";
inline constexpr std::string_view kFitNoSolution = "\r\n　線形計画法の解が求まりませんでした。";
// A build without the linear-programme solver, refusing every fit.
inline constexpr std::string_view kFitNoSolverText =
    "このZEPHALOには線形計画法のソルバー（COIN-OR CLP）が組み込まれていないため、\r\n"
    "フィットできません。ピークを一つずつ試す「最適化」は使えます。";

// After a fit: the window, the smoothing weight and how it was chosen.
inline std::string fitDoneText(std::string_view from, std::string_view to,
                               std::string_view smoothing) {
    return std::string(from) + "eVから" + std::string(to) +
           "eVまで、作業用のXAFSを測定値にフィットしました。\r\n平滑化の重み S=" +
           std::string(smoothing) + "\r\n";
}
inline std::string fitRFactorLine(std::string_view r) {
    return "フィットしたXAFSのR因子（「実験値と比較」で表示される値）は " + std::string(r) +
           " %です。\r\n";
}
inline std::string fitAutomaticLine(std::string_view noiseR) {
    return "（Sは、測定値の雑音から見積もったR因子" + std::string(noiseR) +
           "%にフィットのR因子が届く最大の値です。）\r\n";
}
inline std::string fitMapLine(std::size_t count, std::string_view total) {
    return "測定マップの" + std::to_string(count) + "個の励起エネルギーも使いました（全体のR因子 " +
           std::string(total) + "%）。\r\n";
}
inline std::string fitBandDoneLine(std::size_t refits) {
    return std::to_string(refits) +
           "回の再フィット（測定値を揺らしたもの）から、各エネルギーの90%の帯を\r\n"
           "SelectiveXAFS_Fit_Band_A.DAT と SelectiveXAFS_Fit_Band_B.DAT に書きました。\r\n";
}
inline constexpr std::string_view kFitClosingText =
    "「表示変更」をクリックすれば結果が確認できます。";
// After "中止".
inline constexpr std::string_view kFitStoppedText =
    "フィットを中止しました。作業用のXAFSは元のままです。";
// While it runs.
inline constexpr std::string_view kFitRunningText = "フィット計算中...";

}  // namespace zephalo::core::tools::texts
