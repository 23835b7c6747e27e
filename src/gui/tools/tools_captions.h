#pragma once

#include <string_view>

// Captions of the refinement tools "Average" and "Optimization", word for
// word: window titles, group boxes, labels and buttons. The list items and
// the stop button's caption come with the tools' models.
namespace zephalo::gui::tools::captions {

inline constexpr std::string_view kUnitEv = "eV";

// Neighbour averaging.
inline constexpr std::string_view kAverageTitle = "Average";
inline constexpr std::string_view kAverageRangeGroup = "エネルギー範囲";
inline constexpr std::string_view kAverageStart = "平均開始エネルギー";
inline constexpr std::string_view kAverageEnd = "平均終了エネルギー";
inline constexpr std::string_view kAverageItems = "隣接データ数";
inline constexpr std::string_view kAverageRun = "平均開始";

// Peak optimisation.
inline constexpr std::string_view kOptimiseTitle = "Optimization";
inline constexpr std::string_view kEnergyGroup = "エネルギー設定";
inline constexpr std::string_view kPeakGroup = "ピークパラメーター設定";
inline constexpr std::string_view kOptimiseStart = "最適化開始エネルギー";
inline constexpr std::string_view kOptimiseEnd = "最適化終了エネルギー";
inline constexpr std::string_view kOptimiseStep = "最適化ステップエネルギー";
inline constexpr std::string_view kPeakHeight = "ピーク高さ";
inline constexpr std::string_view kPeakWidth = "ピーク幅";
inline constexpr std::string_view kHeightLimit = "ピーク高さの変動上限";
inline constexpr std::string_view kHeightStep = "ピーク高さの変動ステップ";
inline constexpr std::string_view kMeasuredExcitation = "RIXS測定時の励起エネルギー";
inline constexpr std::string_view kPasses = "最適化回数";
inline constexpr std::string_view kComponents = "選択的XAFSの成分数";
inline constexpr std::string_view kFinalRFactor = "最終R因子";
inline constexpr std::string_view kOptimiseRun = "最適化";

// The fit.
inline constexpr std::string_view kFitTitle = "フィット";
inline constexpr std::string_view kFitRun = "フィット";

}  // namespace zephalo::gui::tools::captions
