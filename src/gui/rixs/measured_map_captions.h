#pragma once

#include <string_view>

// The captions of the measured RIXS map: its import from the workbench and
// its comparison in the map window.
namespace zephalo::gui::rixs::captions {

// The workbench button beside "RIXSマップ" and its file dialog.
inline constexpr std::string_view kImportMapButton = "測定マップ読込";
inline constexpr std::string_view kImportMapTitle = "測定RIXSマップの読込";
inline constexpr std::string_view kMapFilesFilter =
    "測定マップ(*.DAT *.dat *.txt *.h5 *.hdf5 *.nxs)";
// The three dataset paths an HDF5 map needs, asked one after another.
inline constexpr std::string_view kHdf5Title = "HDF5のデータセット";
inline constexpr std::string_view kHdf5Intensity = "強度（2次元）のデータセットのパス:";
inline constexpr std::string_view kHdf5Excitation = "励起エネルギー（1次元）のデータセットのパス:";
inline constexpr std::string_view kHdf5Emission = "発光エネルギー（1次元）のデータセットのパス:";
inline constexpr std::string_view kHdf5DefaultIntensity = "/entry/data";
inline constexpr std::string_view kHdf5DefaultExcitation = "/entry/omega";
inline constexpr std::string_view kHdf5DefaultEmission = "/entry/omega_out";

// The map window's comparison with the measured map.
inline constexpr std::string_view kCompareMeasured = "測定マップと比較";
inline constexpr std::string_view kMeasuredMapTitle = "測定値";
inline constexpr std::string_view kCalculatedMapTitle = "計算値";
inline constexpr std::string_view kDifferenceMapTitle = "差（測定値−計算値）";
inline constexpr std::string_view kRFactorTitle = "励起エネルギーごとのR因子";
inline constexpr std::string_view kRFactorAxis = "R因子 (%)";
inline constexpr std::string_view kMeasuredSeries = "測定値";
inline constexpr std::string_view kCalculatedSeries = "計算値";
inline constexpr std::string_view kRFactorSeries = "R因子(%)";
// After the comparison: head before the total R factor, and its tail.
inline constexpr std::string_view kComparedTotalHead = "\r\n　全体のR因子は ";
inline constexpr std::string_view kComparedTotalTail = " (%) です。";

}  // namespace zephalo::gui::rixs::captions
