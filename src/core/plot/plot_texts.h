#pragma once

#include <string>
#include <string_view>
#include "core/text/text.h"

// Texts of the saved panel data: column labels, curve names and the refusal
// of a data text that does not read back.
namespace zephalo::core::plot::texts {

using ::zephalo::core::text::Text;

inline constexpr Text kEnergyColumn = Text("エネルギー(eV)");
inline constexpr Text kIntensityColumn = Text("強度");

// Axis titles of the panels: the energy axis is kEnergyColumn.
inline constexpr Text kIntensityAxis = Text("強度（任意単位）");
inline constexpr Text kNormalisedAxis = Text("吸収（規格化）");

// Curve names, one per drawn curve.
inline constexpr Text kNormalisedXafs = Text("XAFS（規格化）");
inline constexpr Text kMeasured = Text("実験値");
inline constexpr Text kModelTotal = Text("計算値（全体）");
inline constexpr Text kModelComp1 = Text("計算値（成分1）");
inline constexpr Text kModelComp2 = Text("計算値（成分2）");
inline constexpr Text kSelectiveA = Text("選択的XAFS A");
inline constexpr Text kSelectiveB = Text("選択的XAFS B");
inline constexpr Text kCorrectionPeak = Text("補正用ピーク");
// The calculated total following the correction peak while it is dragged.
inline constexpr Text kLiveTotal = Text("補正用ピークを加えた計算値");
inline constexpr Text kCoreEnergyMarker = Text("内殻エネルギー");

// After a figure or a panel's data is written.
inline std::string savedText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) + Text(" に保存しました。");
}

// zephalo-cli without its figure program beside it.
inline std::string noFigureProgramText(std::string_view program) {
    return Text("　図を描くプログラム ") + std::string(program) + Text(" を起動できませんでした。");
}

inline std::string badSeriesLineText(std::string_view file, int line) {
    return text::fill(
        Text("　ファイル {} の{}行目は、エネルギーと強度の2つの数値になっていません。"),
        {file, std::to_string(line)});
}

}  // namespace zephalo::core::plot::texts
