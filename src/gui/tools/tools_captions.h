#pragma once

#include <string_view>
#include "core/text/text.h"

// Captions of the refinement tools "Average" and "Optimization", word for
// word: window titles, group boxes, labels and buttons. The list items and
// the stop button's caption come with the tools' models.
namespace zephalo::gui::tools::captions {

using ::zephalo::core::text::Text;

inline constexpr std::string_view kUnitEv = "eV";

// Neighbour averaging.
inline constexpr std::string_view kAverageTitle = "Average";
inline constexpr Text kAverageRangeGroup = Text("エネルギー範囲");
inline constexpr Text kAverageStart = Text("平均開始エネルギー");
inline constexpr Text kAverageEnd = Text("平均終了エネルギー");
inline constexpr Text kAverageItems = Text("隣接データ数");
inline constexpr Text kAverageRun = Text("平均開始");

// Peak optimisation.
inline constexpr std::string_view kOptimiseTitle = "Optimization";
inline constexpr Text kEnergyGroup = Text("エネルギー設定");
inline constexpr Text kPeakGroup = Text("ピークパラメーター設定");
inline constexpr Text kOptimiseStart = Text("最適化開始エネルギー");
inline constexpr Text kOptimiseEnd = Text("最適化終了エネルギー");
inline constexpr Text kOptimiseStep = Text("最適化ステップエネルギー");
inline constexpr Text kPeakHeight = Text("ピーク高さ");
inline constexpr Text kPeakWidth = Text("ピーク幅");
inline constexpr Text kHeightLimit = Text("ピーク高さの変動上限");
inline constexpr Text kHeightStep = Text("ピーク高さの変動ステップ");
inline constexpr Text kMeasuredExcitation = Text("RIXS測定時の励起エネルギー");
inline constexpr Text kPasses = Text("最適化回数");
inline constexpr Text kComponents = Text("選択的XAFSの成分数");
inline constexpr Text kFinalRFactor = Text("最終R因子");
inline constexpr Text kOptimiseRun = Text("最適化");

// The fit.
inline constexpr Text kFitTitle = Text("フィット");
inline constexpr Text kFitRun = Text("フィット");

}  // namespace zephalo::gui::tools::captions
