#pragma once

#include <string_view>

// The captions and texts of the RIXS map window.
namespace zephalo::gui::rixs::captions {

// The workbench button that opens the window.
inline constexpr std::string_view kMapButton = "RIXSマップ";
inline constexpr std::string_view kMapTitle = "RIXSマップ";

inline constexpr std::string_view kFrom = "励起エネルギー 始め(eV)";
inline constexpr std::string_view kTo = "終わり(eV)";
inline constexpr std::string_view kStep = "刻み(eV)";
inline constexpr std::string_view kComputeMap = "マップ計算";
inline constexpr std::string_view kStop = "中止";
inline constexpr std::string_view kAxisEmission = "発光エネルギー ω";
inline constexpr std::string_view kAxisTransfer = "エネルギー移動 Ω−ω";

// Axis titles.
inline constexpr std::string_view kEmissionAxis = "発光エネルギー ω (eV)";
inline constexpr std::string_view kTransferAxis = "エネルギー移動 Ω−ω (eV)";
inline constexpr std::string_view kExcitationAxis = "励起エネルギー Ω (eV)";
inline constexpr std::string_view kIntensityAxis = "強度";
inline constexpr std::string_view kSpectrumCutTitle = "Ω一定の断面（RIXSスペクトル）";
inline constexpr std::string_view kExcitationCutTitle = "ω一定の断面（強度の励起エネルギー依存）";
// The same cut in energy-transfer mode: along the cursor line Ω−ω = const.
inline constexpr std::string_view kTransferCutTitle = "Ω−ω一定の断面（強度の励起エネルギー依存）";
// The name of that cut's saved data: its Ω−ω, then kUnitEv.
inline constexpr std::string_view kSeriesTransferHead = "Ω−ω=";
// The mark of the measured RIXS spectrum: head before its Ω.
inline constexpr std::string_view kMeasuredHead = "実験値 Ω=";
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

// Messages.
inline constexpr std::string_view kRunning = "　RIXSマップを計算しています。";
inline constexpr std::string_view kDoneHead = "　RIXSマップを計算しました（励起エネルギー";
inline constexpr std::string_view kDoneMiddle = "点 × 発光エネルギー";
inline constexpr std::string_view kDoneTail =
    "点）。\r\n　マップ上をクリックすると断面を固定し、もう一度クリックすると解除します。";

}  // namespace zephalo::gui::rixs::captions
