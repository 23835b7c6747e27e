#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include "core/text/text.h"

// The message texts of the RIXS map ("RIXSマップ") and of zephalo-cli plane.
namespace zephalo::core::rixs::texts {

using ::zephalo::core::text::Text;

// A range of excitation energies that cannot be a map.
inline constexpr Text kPlaneNotNumbers =
    Text("　RIXSマップの励起エネルギーの範囲と刻みには数値を入力して下さい。");
inline constexpr Text kPlaneReversed = Text(
    "　RIXSマップの励起エネルギーの範囲で、始めが終わり以上になっています。\r\n"
    "　始めを終わりより小さくして下さい。");
inline constexpr Text kPlaneStepNotPositive =
    Text("　RIXSマップの励起エネルギーの刻みが0以下です。\r\n　正の値を入力して下さい。");
// Head, middle and tail around the count of energies and the largest count.
inline constexpr Text kPlaneTooManyHead = Text("　RIXSマップの励起エネルギーが");
inline constexpr Text kPlaneTooManyMiddle = Text("点になり、上限の");
inline constexpr Text kPlaneTooManyTail =
    Text("点を超えます。\r\n　範囲を狭めるか、刻みを大きくして下さい。");
// Head, then Ω, the lowest and the highest accepted energy between the parts.
inline constexpr Text kPlaneOutsideHead = Text("　励起エネルギー");
inline constexpr Text kPlaneOutsideMiddle = Text("eVは、RIXSマップで計算できる範囲（");
inline constexpr Text kPlaneOutsideBetween = Text("～");
inline constexpr Text kPlaneOutsideTail =
    Text("eV）の外にあります。\r\n　範囲を入力し直して下さい。");
// A map stopped by the user.
inline constexpr Text kPlaneStopped = Text("　RIXSマップの計算を中断しました。");
// Where a map written to a file was stopped.
inline std::string planeStoppedWhereText(std::size_t done, std::size_t rows,
                                         std::string_view file) {
    return text::fill(Text("\r\n　励起エネルギー{}点のうち{}点を計算したところでした。ファイル {} "
                           "は書いていません。"),
                      {std::to_string(rows), std::to_string(done), file});
}
// Axis titles of the map and its cuts, and the intensity's.
inline constexpr Text kEmissionAxis = Text("発光エネルギー ω (eV)");
inline constexpr Text kTransferAxis = Text("エネルギー移動 Ω−ω (eV)");
inline constexpr Text kExcitationAxis = Text("励起エネルギー Ω (eV)");
inline constexpr Text kIntensityAxis = Text("強度");
inline constexpr std::string_view kUnitEv = " eV";
// The names of the saved data blocks: the Ω of a map row or a spectrum cut,
// the ω of an excitation cut (each followed by its value and kUnitEv).
inline constexpr std::string_view kSeriesOmegaHead = "Ω=";
inline constexpr std::string_view kSeriesEmissionHead = "ω=";
// The name of the cut along Ω−ω = const in energy transfer: its Ω−ω.
inline constexpr std::string_view kSeriesTransferHead = "Ω−ω=";
// Titles of the cut over Ω: at one ω, or along the cursor line Ω−ω = const.
inline constexpr Text kExcitationCutTitle = Text("ω一定の断面（強度の励起エネルギー依存）");
inline constexpr Text kTransferCutTitle = Text("Ω−ω一定の断面（強度の励起エネルギー依存）");
// The value under the cursor: Ω, ω, Ω−ω and the intensity between the parts.
inline constexpr std::string_view kCursorOmega = "Ω=";
inline constexpr std::string_view kCursorEmission = " eV, ω=";
inline constexpr std::string_view kCursorTransfer = " eV, Ω−ω=";
inline constexpr Text kCursorIntensity = Text(" eV, 強度=");
inline constexpr Text kCursorFixed = Text("（固定）");

// After the map was written: head and tail around the path.
inline constexpr Text kPlaneSavedHead = Text("　RIXSマップ（計算値）を");

// --- The measured map against the calculation (compare-map) ---------------

// Advice after the missing-file sentence of the measured map.
inline constexpr Text kMapMissingHint =
    Text("　まず測定RIXSマップを導入して下さい（「測定マップ読込」）。");
inline constexpr Text kMapNoCommonEnergy = Text(
    "　測定RIXSマップと計算値に共通の発光エネルギー（差0.0001eV未満）が\r\n"
    "ありません。\r\n　発光エネルギーの範囲と刻みを確認して下さい。");
inline std::string mapGridTooLongText(std::size_t count, std::size_t limit) {
    return Text("　計算する発光エネルギーは") + std::to_string(count) +
           Text("点あり、比較できる上限の") + std::to_string(limit) + Text("点を超えています。");
}
inline std::string mapSpectrumTooLongText(std::string_view omega, std::size_t count,
                                          std::size_t limit) {
    return Text("　測定RIXSマップの励起エネルギー") + std::string(omega) +
           Text("eVのスペクトルは") + std::to_string(count) + Text("点あり、比較できる上限の") +
           std::to_string(limit) + Text("点を超えています。");
}
// After the comparison: head, the count of excitation energies, the tail.
inline constexpr Text kMapComparedHead = Text("　測定RIXSマップの励起エネルギー");
inline constexpr Text kMapComparedTail = Text(
    "点で計算したRIXSスペクトルと比較しました。\r\n"
    "　励起エネルギーごとのR因子（%）と全体のR因子です。");

}  // namespace zephalo::core::rixs::texts
