#pragma once

#include <string_view>
#include "core/text/text.h"

// The captions of the measured RIXS map: its import from the workbench and
// its comparison in the map window.
namespace zephalo::gui::rixs::captions {

using ::zephalo::core::text::Text;

// The workbench button beside "RIXSマップ" and its file dialog.
inline constexpr Text kImportMapButton = Text("測定マップ読込");
inline constexpr Text kImportMapTitle = Text("測定RIXSマップの読込");
inline constexpr Text kMapFilesFilter = Text("測定マップ(*.DAT *.dat *.txt *.h5 *.hdf5 *.nxs)");
// The three dataset paths an HDF5 map needs, asked one after another.
inline constexpr Text kHdf5Title = Text("HDF5のデータセット");
inline constexpr Text kHdf5Intensity = Text("強度（2次元）のデータセットのパス:");
inline constexpr Text kHdf5Excitation = Text("励起エネルギー（1次元）のデータセットのパス:");
inline constexpr Text kHdf5Emission = Text("発光エネルギー（1次元）のデータセットのパス:");
inline constexpr std::string_view kHdf5DefaultIntensity = "/entry/data";
inline constexpr std::string_view kHdf5DefaultExcitation = "/entry/omega";
inline constexpr std::string_view kHdf5DefaultEmission = "/entry/omega_out";

// The map window's comparison with the measured map.
inline constexpr Text kCompareMeasured = Text("測定マップと比較");
inline constexpr Text kMeasuredMapTitle = Text("測定値");
inline constexpr Text kCalculatedMapTitle = Text("計算値");
inline constexpr Text kDifferenceMapTitle = Text("差（測定値−計算値）");
inline constexpr Text kRFactorTitle = Text("励起エネルギーごとのR因子");
inline constexpr Text kRFactorAxis = Text("R因子 (%)");
inline constexpr Text kMeasuredSeries = Text("測定値");
inline constexpr Text kCalculatedSeries = Text("計算値");
inline constexpr Text kRFactorSeries = Text("R因子(%)");
// After the comparison: head before the total R factor, and its tail.
inline constexpr Text kComparedTotalHead = Text("\r\n　全体のR因子は ");
inline constexpr Text kComparedTotalTail = Text(" (%) です。");

}  // namespace zephalo::gui::rixs::captions
