#pragma once

#include <string>
#include <string_view>

// Texts of the saved panel data: column labels, curve names and the refusal
// of a data text that does not read back.
namespace zephalo::core::plot::texts {

inline constexpr std::string_view kEnergyColumn = "エネルギー(eV)";
inline constexpr std::string_view kIntensityColumn = "強度";

// Axis titles of the panels: the energy axis is kEnergyColumn.
inline constexpr std::string_view kIntensityAxis = "強度（任意単位）";
inline constexpr std::string_view kNormalisedAxis = "吸収（規格化）";

// Curve names, one per drawn curve.
inline constexpr std::string_view kNormalisedXafs = "XAFS（規格化）";
inline constexpr std::string_view kMeasured = "実験値";
inline constexpr std::string_view kModelTotal = "計算値（全体）";
inline constexpr std::string_view kModelComp1 = "計算値（成分1）";
inline constexpr std::string_view kModelComp2 = "計算値（成分2）";
inline constexpr std::string_view kSelectiveA = "選択的XAFS A";
inline constexpr std::string_view kSelectiveB = "選択的XAFS B";
inline constexpr std::string_view kCorrectionPeak = "補正用ピーク";
// The calculated total following the correction peak while it is dragged.
inline constexpr std::string_view kLiveTotal = "補正用ピークを加えた計算値";
inline constexpr std::string_view kCoreEnergyMarker = "内殻エネルギー";

// After a figure or a panel's data is written.
inline std::string savedText(std::string_view file) {
    return "　ファイル " + std::string(file) + " に保存しました。";
}

// zephalo-cli without its figure program beside it.
inline std::string noFigureProgramText(std::string_view program) {
    return "　図を描くプログラム " + std::string(program) + " を起動できませんでした。";
}

inline std::string badSeriesLineText(std::string_view file, int line) {
    return "　ファイル " + std::string(file) + " の" + std::to_string(line) +
           "行目は、エネルギーと強度の2つの数値になっていません。";
}

}  // namespace zephalo::core::plot::texts
