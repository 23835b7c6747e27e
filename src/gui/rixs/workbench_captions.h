#pragma once

#include <string_view>

#include "core/rixs/workbench_texts.h"

// Captions of the workbench "RIXSシミュレーション", word for word: window
// title, panel headings, group boxes, labels, radios and buttons.
namespace zephalo::gui::rixs::captions {

inline constexpr std::string_view kTitle = "RIXSシミュレーション";

// Headings of the three panels.
inline constexpr core::text::Text kXafsPanel = core::rixs::texts::kXafsPanelTitle;
inline constexpr core::text::Text kTheoryPanel = core::rixs::texts::kTheoryPanelTitle;
inline constexpr core::text::Text kExperimentPanel = core::rixs::texts::kExperimentPanelTitle;

// Selective XAFS: loading, clearing, display window and mode.
inline constexpr std::string_view kLoad = "選択的XAFS読込";
inline constexpr std::string_view kClear = "XAFSのクリア";
inline constexpr std::string_view kRangeGroup = "表示範囲";
inline constexpr std::string_view kRangeFrom = "eV～";
inline constexpr std::string_view kRangeTo = "eV";
inline constexpr std::string_view kModeHeading = "表示モード";
inline constexpr std::string_view kModeA = "A";
inline constexpr std::string_view kModeB = "B";
inline constexpr std::string_view kModeAB = "A&B";
inline constexpr std::string_view kChangeDisplay = "表示変更";

// Correction by Lorentzian peaks.
inline constexpr std::string_view kPeakGroup = "ピークの加減";
inline constexpr std::string_view kPeakCentre = "中心エネルギー";
inline constexpr std::string_view kPeakAmplitude = "振幅";
inline constexpr std::string_view kPeakWidth = "幅";
inline constexpr std::string_view kAdd = "加算";
inline constexpr std::string_view kSubtract = "減算";
inline constexpr std::string_view kShowPeak = "補正用ピーク表示";
// A correction peak dragged without an excitation energy to follow it at.
inline constexpr std::string_view kLiveNeedsExcitation =
    "　補正用ピークを動かしています。\r\n"
    "　「励起エネルギー(eV)」に数値を入れると、RIXSスペクトルとR因子も\r\n"
    "ピークに合わせて動きます。";
inline constexpr std::string_view kApply = "XAFS修正";
inline constexpr std::string_view kStore = "修正の一時保存";
inline constexpr std::string_view kRefresh = "さらに修正";
inline constexpr std::string_view kFinish = "修正終了！";

// Energy shift, saving, refinement tools.
inline constexpr std::string_view kShiftGroup = "エネルギーシフト（±eV）";
inline constexpr std::string_view kShift = "シフト実行";
inline constexpr std::string_view kSaveXafs = "修正したXAFSの保存";
inline constexpr std::string_view kToolsGroup = "最適化と平均";
inline constexpr std::string_view kOptimise = "最適化";
inline constexpr std::string_view kFit = "フィット";
inline constexpr std::string_view kAverage = "隣接平均";

// RIXS computation and comparison.
inline constexpr std::string_view kExcitation = "励起エネルギー(eV)";
inline constexpr std::string_view kCompute = "RIXS計算実行";
inline constexpr std::string_view kClearRixs = "RIXSのクリア";
inline constexpr std::string_view kSaveRixs = "RIXSの保存";
inline constexpr std::string_view kScaling = "スケーリング因子";
inline constexpr std::string_view kAbsorption = "吸収補正因子";
inline constexpr std::string_view kCompare = "実験値と比較";
inline constexpr std::string_view kClearExperiment = "クリア";
inline constexpr std::string_view kCompareAnother = "別の実験値と比較";
inline constexpr std::string_view kRedrawComparison = "計算値と比較";
// The R factor of the compared pair, beside the experiment panel.
inline constexpr std::string_view kRFactor = "R因子(%)";

// The repaint button and its hint, both kept hidden; closing.
inline constexpr std::string_view kRepaint = "画面回復";
inline constexpr std::string_view kRepaintHint = "画面が異常になったら押して下さい";

}  // namespace zephalo::gui::rixs::captions
