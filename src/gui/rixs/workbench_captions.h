#pragma once

#include <string_view>
#include "core/text/text.h"

#include "core/rixs/workbench_texts.h"

// Captions of the workbench "RIXSシミュレーション", word for word: window
// title, panel headings, group boxes, labels, radios and buttons.
namespace zephalo::gui::rixs::captions {

using ::zephalo::core::text::Text;

inline constexpr Text kTitle = Text("RIXSシミュレーション");

// Headings of the three panels.
inline constexpr core::text::Text kXafsPanel = core::rixs::texts::kXafsPanelTitle;
inline constexpr core::text::Text kTheoryPanel = core::rixs::texts::kTheoryPanelTitle;
inline constexpr core::text::Text kExperimentPanel = core::rixs::texts::kExperimentPanelTitle;

// Selective XAFS: loading, clearing, display window and mode.
inline constexpr Text kLoad = Text("選択的XAFS読込");
inline constexpr Text kClear = Text("XAFSのクリア");
inline constexpr Text kRangeGroup = Text("表示範囲");
inline constexpr Text kRangeFrom = Text("eV～");
inline constexpr std::string_view kRangeTo = "eV";
inline constexpr Text kModeHeading = Text("表示モード");
inline constexpr std::string_view kModeA = "A";
inline constexpr std::string_view kModeB = "B";
inline constexpr std::string_view kModeAB = "A&B";
inline constexpr Text kChangeDisplay = Text("表示変更");

// Correction by Lorentzian peaks.
inline constexpr Text kPeakGroup = Text("ピークの加減");
inline constexpr Text kPeakCentre = Text("中心エネルギー");
inline constexpr Text kPeakAmplitude = Text("振幅");
inline constexpr Text kPeakWidth = Text("幅");
inline constexpr Text kAdd = Text("加算");
inline constexpr Text kSubtract = Text("減算");
inline constexpr Text kShowPeak = Text("補正用ピーク表示");
// A correction peak dragged without an excitation energy to follow it at.
inline constexpr Text kLiveNeedsExcitation = Text(
    "　補正用ピークを動かしています。\r\n"
    "　「励起エネルギー(eV)」に数値を入れると、RIXSスペクトルとR因子も\r\n"
    "ピークに合わせて動きます。");
inline constexpr Text kApply = Text("XAFS修正");
inline constexpr Text kStore = Text("修正の一時保存");
inline constexpr Text kRefresh = Text("さらに修正");
inline constexpr Text kFinish = Text("修正終了！");

// Energy shift, saving, refinement tools.
inline constexpr Text kShiftGroup = Text("エネルギーシフト（±eV）");
inline constexpr Text kShift = Text("シフト実行");
inline constexpr Text kSaveXafs = Text("修正したXAFSの保存");
inline constexpr Text kToolsGroup = Text("最適化と平均");
inline constexpr Text kOptimise = Text("最適化");
inline constexpr Text kFit = Text("フィット");
inline constexpr Text kAverage = Text("隣接平均");

// RIXS computation and comparison.
inline constexpr Text kExcitation = Text("励起エネルギー(eV)");
inline constexpr Text kCompute = Text("RIXS計算実行");
inline constexpr Text kClearRixs = Text("RIXSのクリア");
inline constexpr Text kSaveRixs = Text("RIXSの保存");
inline constexpr Text kScaling = Text("スケーリング因子");
inline constexpr Text kAbsorption = Text("吸収補正因子");
inline constexpr Text kCompare = Text("実験値と比較");
inline constexpr Text kClearExperiment = Text("クリア");
inline constexpr Text kCompareAnother = Text("別の実験値と比較");
inline constexpr Text kRedrawComparison = Text("計算値と比較");
// The R factor of the compared pair, beside the experiment panel.
inline constexpr Text kRFactor = Text("R因子(%)");

// The repaint button and its hint, both kept hidden; closing.
inline constexpr Text kRepaint = Text("画面回復");
inline constexpr Text kRepaintHint = Text("画面が異常になったら押して下さい");

}  // namespace zephalo::gui::rixs::captions
