#pragma once

#include <string_view>
#include "core/text/text.h"

#include "core/rixs/plane_texts.h"

// The captions and texts of the RIXS map window.
namespace zephalo::gui::rixs::captions {

using ::zephalo::core::text::Text;

// The workbench button that opens the window.
inline constexpr Text kMapButton = Text("RIXSマップ");
inline constexpr Text kMapTitle = Text("RIXSマップ");

inline constexpr Text kFrom = Text("励起エネルギー 始め(eV)");
inline constexpr Text kTo = Text("終わり(eV)");
inline constexpr Text kStep = Text("刻み(eV)");
inline constexpr Text kComputeMap = Text("マップ計算");
inline constexpr Text kStop = Text("中止");
inline constexpr Text kAxisEmission = Text("発光エネルギー ω");
inline constexpr Text kAxisTransfer = Text("エネルギー移動 Ω−ω");

// Axis titles, shared with what saving writes.
using core::rixs::texts::kEmissionAxis;
using core::rixs::texts::kExcitationAxis;
using core::rixs::texts::kExcitationCutTitle;
using core::rixs::texts::kIntensityAxis;
using core::rixs::texts::kTransferAxis;
using core::rixs::texts::kUnitEv;
inline constexpr Text kSpectrumCutTitle = Text("Ω一定の断面（RIXSスペクトル）");
// The mark of the measured RIXS spectrum: head before its Ω.
inline constexpr Text kMeasuredHead = Text("実験値 Ω=");
// Messages.
inline constexpr Text kRunning = Text("　RIXSマップを計算しています。");
inline constexpr Text kDoneHead = Text("　RIXSマップを計算しました（励起エネルギー");
inline constexpr Text kDoneMiddle = Text("点 × 発光エネルギー");
inline constexpr Text kDoneTail =
    Text("点）。\r\n　マップ上をクリックすると断面を固定し、もう一度クリックすると解除します。");

}  // namespace zephalo::gui::rixs::captions
