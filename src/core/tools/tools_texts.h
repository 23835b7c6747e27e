#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include "core/text/text.h"

// The message texts of the refinement tools "Average" and "Optimization",
// word for word, and the sentences around the values they name.
namespace zephalo::core::tools::texts {

using ::zephalo::core::text::Text;

// --- Neighbour averaging ----------------------------------------------------

// The edit boxes as refusals name them.
inline constexpr Text kAverageStartBox = Text("平均開始エネルギー");
inline constexpr Text kAverageEndBox = Text("平均終了エネルギー");

// When the dialog opens.
inline constexpr Text kAverageOpenText = Text(
    "平均する隣接データ数を指定し、必要なら、\r\n"
    "平均操作を行うエネルギー範囲を変更して\r\n"
    "「平均開始」して下さい。");
// Any refused input of "平均開始".
inline constexpr Text kAverageErrorText = Text("エラー!! 入力を確認して下さい。");
// The workbench's message after the dialog closes.
inline constexpr Text kAverageClosedText =
    Text("隣接平均操作を行いました。\r\n「表示変更」をクリックすれば結果が確認できます。");

// After "平均開始": the boxes as typed, the item's text and the index range.
inline std::string averageDoneText(std::string_view start, std::string_view end,
                                   std::string_view item, std::size_t first, std::size_t last) {
    return std::string(start) + Text("eVから") + std::string(end) + Text("eVまでの") +
           std::string(item) + Text("が終了\r\nしました。\r\n使用した配列は、i=") +
           std::to_string(first) + Text("から") + std::to_string(last) + Text("までです。");
}

// --- Peak optimisation ------------------------------------------------------

// The edit boxes as refusals name them.
inline constexpr Text kOptimiseStartBox = Text("最適化開始エネルギー");
inline constexpr Text kOptimiseEndBox = Text("最適化終了エネルギー");
inline constexpr Text kOptimiseStepBox = Text("最適化ステップエネルギー");
inline constexpr Text kPeakHeightBox = Text("ピーク高さ");
inline constexpr Text kPeakWidthBox = Text("ピーク幅");
inline constexpr Text kHeightLimitBox = Text("ピーク高さの変動上限");
inline constexpr Text kHeightStepBox = Text("ピーク高さの変動ステップ");
inline constexpr Text kOmegaBox = Text("RIXS測定時の励起エネルギー");

// When the dialog opens.
inline constexpr Text kOptimiseOpenText =
    Text("設定条件を確認し、必要なら、パラメーターを変更して\r\n「最適化」して下さい。");
// Any refused setting or input of "最適化".
inline constexpr Text kOptimiseErrorText = Text(
    "エラー!! 設定条件（最適化回数、励起エネルギー、\r\n"
    "最適化エネルギーの範囲...）を確認して下さい。");
// While the run goes on.
inline constexpr Text kOptimiseRunningText = Text("最適化計算中...");
// The workbench's message after the dialog closes.
inline constexpr Text kOptimiseClosedText =
    Text("最適化操作を行いました。\r\n「表示変更」をクリックすれば結果が確認できます。");
// The caption of the stop button.
inline constexpr Text kOptimiseStopCaption = Text("中止");

// After a complete run: the boxes as typed and the pass item's text.
inline std::string optimiseDoneText(std::string_view start, std::string_view end,
                                    std::string_view passItem) {
    return std::string(start) + Text("eVから") + std::string(end) + Text("eVまで") +
           std::string(passItem) + Text("、最適化を行いました。\r\n");
}

// After a complete run, the R factor before and after it (percent).
inline std::string rFactorChangeLine(std::string_view before, std::string_view after) {
    return Text("　R因子は ") + std::string(before) + Text(" % から ") + std::string(after) +
           Text(" % になりました。\r\n");
}

// Added to kOptimiseClosedText: the final R factor of the dialog's run, or
// without a run, where the workbench shows it.
inline std::string optimiseClosedRLine(std::string_view rFactor) {
    return Text("\r\n　最適化後のR因子は ") + std::string(rFactor) +
           Text(
               " % "
               "です。「修正終了！」「RIXS計算実行」\r\n「実験値と比較」で「R因子(%)"
               "」に表示されます。");
}
inline constexpr Text kOptimiseClosedHowTo = Text(
    "\r\n　新しいR因子は「修正終了！」「RIXS計算実行」\r\n「実験値と比較」で「R因子(%)"
    "」に表示されます。");

// After "中止": the pass and the energy of the first position not tried.
inline std::string optimiseStoppedText(int pass, std::string_view energy) {
    return text::fill(
        Text(
            "最適化を中止しました。\r\n{}回目の{}eVの手前まで試したピークの結果を、作業用のXAFS\r\n"
            "（SelectiveXAFS_for_RIXS_Temp.DAT）に残しました。\r\n"),
        {std::to_string(pass), energy});
}

// The workbench's message after the dialog closed when its last run was
// stopped: the stop's own account, then where to see the result.
inline std::string optimiseClosedAfterStopText(std::string_view stoppedText) {
    return std::string(stoppedText) +
           Text("「表示変更」をクリックすれば残した結果が確認できます。");
}

// A line added to kOptimiseErrorText saying which input was refused.
inline std::string emptySelectiveLine(std::string_view file) {
    return Text("\r\n　") + std::string(file) + Text(" に選択的XAFSのデータがありません。");
}
inline std::string tooManyPointsLine(std::string_view file, std::size_t count, std::size_t limit) {
    return Text("\r\n　") + std::string(file) + Text(" の点数") + std::to_string(count) +
           Text("が上限の") + std::to_string(limit) + Text("点を超えています。");
}
inline std::string tooManyGridLinesLine(std::size_t count, std::size_t limit) {
    return Text("\r\n　計算するRIXSスペクトルの発光エネルギーの点数") + std::to_string(count) +
           Text("が上限の") + std::to_string(limit) + Text("点を超えています。");
}
inline std::string tooManyTrialsLine(std::size_t limit) {
    return Text("\r\n　試すエネルギーかピーク高さの数が上限の") + std::to_string(limit) +
           Text("を超えています。");
}
inline std::string tooManyPositionsLine(std::size_t count, std::size_t limit) {
    return Text("\r\n　試すエネルギーの数") + std::to_string(count) + Text("が上限の") +
           std::to_string(limit) + Text("を超えています。");
}
inline std::string tooManyTrialCountLine(std::size_t positions, std::size_t heights, int passes,
                                         std::size_t trials, std::size_t limit) {
    return Text("\r\n　試すピークの数（エネルギー") + std::to_string(positions) + Text("×高さ") +
           std::to_string(heights) + "×" + std::to_string(passes) + Text("回＝") +
           std::to_string(trials) + Text("）が上限の") + std::to_string(limit) +
           Text("を超えています。\r\n　範囲を狭めるか、ステップを大きくして下さい。");
}
inline constexpr Text kNoMeasuredIntensityLine =
    Text("\r\n　RIXSEXP.DAT の強度の合計が0のため、R因子を計算できません。");
inline constexpr Text kNonFinitePeakLine =
    Text("\r\n　ピークの値が有限の数値になりません。ピーク幅とピーク高さを確認して下さい。");

// --- Fit ------------------------------------------------------------------

// The fit dialog's boxes as refusals name them.
inline constexpr Text kFitOmegaBox = Text("RIXS測定時の励起エネルギー");
inline constexpr Text kFitFromBox = Text("フィット開始エネルギー");
inline constexpr Text kFitToBox = Text("フィット終了エネルギー");
inline constexpr Text kFitSmoothingBox = Text("平滑化の重み");
inline constexpr Text kFitBandBox = Text("帯の再フィット回数");
// When the dialog opens.
inline constexpr Text kFitOpenText = Text(
    "範囲、平滑化の重み（空欄なら測定値の雑音から自動）、帯の再フィット回数を\r\n"
    "確認して「フィット」して下さい。");
// The workbench's message after the dialog closes.
inline constexpr Text kFitClosedText =
    Text("フィット操作を行いました。\r\n「表示変更」をクリックすれば結果が確認できます。");

// Refusals of the fit: the head, then one line saying which input.
inline constexpr Text kFitErrorText = Text(
    "エラー!! "
    "フィットの条件（励起エネルギー、エネルギーの範囲、\r\n平滑化の重み、帯の回数）を確認して下さい"
    "。");
inline std::string fitWindowLine(std::string_view from, std::string_view to, std::string_view low,
                                 std::string_view high) {
    return Text("\r\n　範囲") + std::string(from) + Text("～") + std::string(to) +
           Text("eVが作業用の選択的XAFS（") + std::string(low) + Text("～") + std::string(high) +
           Text("eV）の中にありません。");
}
inline std::string fitExcitationLine(std::string_view omega, std::string_view low,
                                     std::string_view high) {
    return Text("\r\n　励起エネルギー") + std::string(omega) + Text("eVが") + std::string(low) +
           Text("～") + std::string(high) + Text("eVの範囲外です。");
}
inline constexpr Text kFitNoMeasuredLine =
    Text("\r\n　RIXSEXP.DAT に測定スペクトルがありません。「RIXS実験値読込」をして下さい。");
inline constexpr Text kFitNoSelectiveLine = Text(
    "\r\n　作業用の選択的XAFS（SelectiveXAFS_for_RIXS_Temp.DAT）がありません。"
    "\r\n　「選択的XAFS読込」をして下さい。");
inline constexpr Text kFitNoPairsLine =
    Text("\r\n　測定スペクトルと計算するRIXSスペクトルに共通の発光エネルギーがありません。");
inline constexpr Text kFitSmoothingLine = Text("\r\n　平滑化の重みは0以上の有限の数にして下さい。");
inline std::string fitBandLine(std::size_t limit) {
    return Text("\r\n　帯の再フィット回数は0から") + std::to_string(limit) +
           Text("までにして下さい。");
}
// What the programme itself may refuse.
inline constexpr Text kFitEmptyProblem = Text("\r\n　フィットする強度か測定点がありません。");
inline constexpr Text kFitNotFinite = Text("\r\n　応答か測定値が有限の数値になりません。");
inline constexpr Text kFitBadSmoothing = Text("\r\n　平滑化の重みは0以上の有限の数にして下さい。");
inline constexpr Text kFitNoSolution = Text("\r\n　線形計画法の解が求まりませんでした。");
// A build without the linear-programme solver, refusing every fit.
inline constexpr Text kFitNoSolverText = Text(
    "このZEPHALOには線形計画法のソルバー（COIN-OR CLP）が組み込まれていないため、\r\n"
    "フィットできません。ピークを一つずつ試す「最適化」は使えます。");

// After a fit: the window, the smoothing weight and how it was chosen.
inline std::string fitDoneText(std::string_view from, std::string_view to,
                               std::string_view smoothing) {
    return std::string(from) + Text("eVから") + std::string(to) +
           Text("eVまで、作業用のXAFSを測定値にフィットしました。\r\n平滑化の重み S=") +
           std::string(smoothing) + "\r\n";
}
inline std::string fitRFactorLine(std::string_view r) {
    return Text("フィットしたXAFSのR因子（「実験値と比較」で表示される値）は ") + std::string(r) +
           Text(" %です。\r\n");
}
inline std::string fitAutomaticLine(std::string_view noiseR) {
    return Text("（Sは、測定値の雑音から見積もったR因子") + std::string(noiseR) +
           Text("%にフィットのR因子が届く最大の値です。）\r\n");
}
inline std::string fitMapLine(std::size_t count, std::string_view total) {
    return Text("測定マップの") + std::to_string(count) +
           Text("個の励起エネルギーも使いました（全体のR因子 ") + std::string(total) +
           Text("%）。\r\n");
}
inline std::string fitBandDoneLine(std::size_t refits) {
    return std::to_string(refits) +
           Text(
               "回の再フィット（測定値を揺らしたもの）から、各エネルギーの90%の帯を\r\n"
               "SelectiveXAFS_Fit_Band_A.DAT と SelectiveXAFS_Fit_Band_B.DAT に書きました。\r\n");
}
inline constexpr Text kFitClosingText = Text("「表示変更」をクリックすれば結果が確認できます。");
// After "中止".
inline constexpr Text kFitStoppedText =
    Text("フィットを中止しました。作業用のXAFSは元のままです。");
// While it runs.
inline constexpr Text kFitRunningText = Text("フィット計算中...");

// The items of "隣接データ数".
inline constexpr Text kAverageFivePoints = Text("5点平均");
inline constexpr Text kAverageNinePoints = Text("9点平均");
inline constexpr Text kAverageFifteenPoints = Text("15点平均");

// The items of "最適化回数".
inline constexpr Text kOnePass = Text("1回");
inline constexpr Text kTwoPasses = Text("2回");
inline constexpr Text kThreePasses = Text("3回");

}  // namespace zephalo::core::tools::texts
