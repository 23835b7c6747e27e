#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The message texts of the RIXS map ("RIXSマップ") and of zephalo-cli plane.
namespace zephalo::core::rixs::texts {

// A range of excitation energies that cannot be a map.
inline constexpr std::string_view kPlaneNotNumbers =
    "　RIXSマップの励起エネルギーの範囲と刻みには数値を入力して下さい。";
inline constexpr std::string_view kPlaneReversed =
    "　RIXSマップの励起エネルギーの範囲で、始めが終わり以上になっています。\r\n"
    "　始めを終わりより小さくして下さい。";
inline constexpr std::string_view kPlaneStepNotPositive =
    "　RIXSマップの励起エネルギーの刻みが0以下です。\r\n　正の値を入力して下さい。";
// Head, middle and tail around the count of energies and the largest count.
inline constexpr std::string_view kPlaneTooManyHead = "　RIXSマップの励起エネルギーが";
inline constexpr std::string_view kPlaneTooManyMiddle = "点になり、上限の";
inline constexpr std::string_view kPlaneTooManyTail =
    "点を超えます。\r\n　範囲を狭めるか、刻みを大きくして下さい。";
// Head, then Ω, the lowest and the highest accepted energy between the parts.
inline constexpr std::string_view kPlaneOutsideHead = "　励起エネルギー";
inline constexpr std::string_view kPlaneOutsideMiddle = "eVは、RIXSマップで計算できる範囲（";
inline constexpr std::string_view kPlaneOutsideBetween = "～";
inline constexpr std::string_view kPlaneOutsideTail =
    "eV）の外にあります。\r\n　範囲を入力し直して下さい。";
// A map stopped by the user.
inline constexpr std::string_view kPlaneStopped = "　RIXSマップの計算を中断しました。";
// Where a map written to a file was stopped.
inline std::string planeStoppedWhereText(std::size_t done, std::size_t rows,
                                         std::string_view file) {
    return "\r\n　励起エネルギー" + std::to_string(rows) + "点のうち" + std::to_string(done) +
           "点を計算したところでした。ファイル " + std::string(file) + " は書いていません。";
}
// Axis titles of the map and its cuts, and the intensity's.
inline constexpr std::string_view kEmissionAxis = "発光エネルギー ω (eV)";
inline constexpr std::string_view kTransferAxis = "エネルギー移動 Ω−ω (eV)";
inline constexpr std::string_view kExcitationAxis = "励起エネルギー Ω (eV)";
inline constexpr std::string_view kIntensityAxis = "強度";
inline constexpr std::string_view kUnitEv = " eV";
// The names of the saved data blocks: the Ω of a map row or a spectrum cut,
// the ω of an excitation cut (each followed by its value and kUnitEv).
inline constexpr std::string_view kSeriesOmegaHead = "Ω=";
inline constexpr std::string_view kSeriesEmissionHead = "ω=";
// The name of the cut along Ω−ω = const in energy transfer: its Ω−ω.
inline constexpr std::string_view kSeriesTransferHead = "Ω−ω=";
// Titles of the cut over Ω: at one ω, or along the cursor line Ω−ω = const.
inline constexpr std::string_view kExcitationCutTitle = "ω一定の断面（強度の励起エネルギー依存）";
inline constexpr std::string_view kTransferCutTitle = "Ω−ω一定の断面（強度の励起エネルギー依存）";
// The value under the cursor: Ω, ω, Ω−ω and the intensity between the parts.
inline constexpr std::string_view kCursorOmega = "Ω=";
inline constexpr std::string_view kCursorEmission = " eV, ω=";
inline constexpr std::string_view kCursorTransfer = " eV, Ω−ω=";
inline constexpr std::string_view kCursorIntensity = " eV, 強度=";
inline constexpr std::string_view kCursorFixed = "（固定）";

// After the map was written: head and tail around the path.
inline constexpr std::string_view kPlaneSavedHead = "　RIXSマップ（計算値）を";

// --- The measured map against the calculation (compare-map) ---------------

// Advice after the missing-file sentence of the measured map.
inline constexpr std::string_view kMapMissingHint =
    "　まず測定RIXSマップを導入して下さい（「測定マップ読込」）。";
inline constexpr std::string_view kMapNoCommonEnergy =
    "　測定RIXSマップと計算値に共通の発光エネルギー（差0.0001eV未満）が\r\n"
    "ありません。\r\n　発光エネルギーの範囲と刻みを確認して下さい。";
inline std::string mapGridTooLongText(std::size_t count, std::size_t limit) {
    return "　計算する発光エネルギーは" + std::to_string(count) + "点あり、比較できる上限の" +
           std::to_string(limit) + "点を超えています。";
}
inline std::string mapSpectrumTooLongText(std::string_view omega, std::size_t count,
                                          std::size_t limit) {
    return "　測定RIXSマップの励起エネルギー" + std::string(omega) + "eVのスペクトルは" +
           std::to_string(count) + "点あり、比較できる上限の" + std::to_string(limit) +
           "点を超えています。";
}
// After the comparison: head, the count of excitation energies, the tail.
inline constexpr std::string_view kMapComparedHead = "　測定RIXSマップの励起エネルギー";
inline constexpr std::string_view kMapComparedTail =
    "点で計算したRIXSスペクトルと比較しました。\r\n"
    "　励起エネルギーごとのR因子（%）と全体のR因子です。";

}  // namespace zephalo::core::rixs::texts
