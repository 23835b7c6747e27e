#pragma once

#include <string_view>

#include "core/rixs/plane_texts.h"

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

// Axis titles, shared with what saving writes.
using core::rixs::texts::kEmissionAxis;
using core::rixs::texts::kExcitationAxis;
using core::rixs::texts::kIntensityAxis;
using core::rixs::texts::kTransferAxis;
using core::rixs::texts::kUnitEv;
inline constexpr std::string_view kSpectrumCutTitle = "Ω一定の断面（RIXSスペクトル）";
inline constexpr std::string_view kExcitationCutTitle = "ω一定の断面（強度の励起エネルギー依存）";
// The mark of the measured RIXS spectrum: head before its Ω.
inline constexpr std::string_view kMeasuredHead = "実験値 Ω=";
// Messages.
inline constexpr std::string_view kRunning = "　RIXSマップを計算しています。";
inline constexpr std::string_view kDoneHead = "　RIXSマップを計算しました（励起エネルギー";
inline constexpr std::string_view kDoneMiddle = "点 × 発光エネルギー";
inline constexpr std::string_view kDoneTail =
    "点）。\r\n　マップ上をクリックすると断面を固定し、もう一度クリックすると解除します。";

}  // namespace zephalo::gui::rixs::captions
