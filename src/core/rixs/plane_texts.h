#pragma once

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
// The value under the cursor: Ω, ω, Ω−ω and the intensity between the parts.
inline constexpr std::string_view kCursorOmega = "Ω=";
inline constexpr std::string_view kCursorEmission = " eV, ω=";
inline constexpr std::string_view kCursorTransfer = " eV, Ω−ω=";
inline constexpr std::string_view kCursorIntensity = " eV, 強度=";
inline constexpr std::string_view kCursorFixed = "（固定）";

// After the map was written: head and tail around the path.
inline constexpr std::string_view kPlaneSavedHead = "　RIXSマップ（計算値）を";

}  // namespace zephalo::core::rixs::texts
