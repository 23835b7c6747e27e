#pragma once

#include "core/text/text.h"

// The command line's help texts: each names the desktop button the command
// stands for, so that a user can find it in the window.
namespace zephalo::cli::texts {

using ::zephalo::core::text::Text;

inline constexpr Text kPlaneHelp =
    Text("workbench RIXSマップ: the RIXS spectrum at every excitation energy, to FILE");
inline constexpr Text kAverageHelp =
    Text("workbench 隣接平均: triangular average of the working copy over a range");
inline constexpr Text kFitHelp =
    Text("workbench フィット: the working copy fitted to the measured spectra");
inline constexpr Text kOptimiseHelp =
    Text("workbench 最適化: Lorentzian peaks kept where they lower the R factor");
inline constexpr Text kLoadSelectiveHelp =
    Text("workbench 選択的XAFS読込: the selective XAFS becomes the working copy");
inline constexpr Text kDisplayHelp = Text("workbench 表示変更: show the working copy in a window");
inline constexpr Text kPeakHelp =
    Text("workbench 補正用ピーク表示, XAFS修正, 修正の一時保存: add or subtract a Lorentzian peak");
inline constexpr Text kSubtractHelp = Text("減算 instead of 加算");
inline constexpr Text kPeakStepHelp =
    Text("workbench 補正用ピーク表示 (show), XAFS修正 (apply) or 修正の一時保存 (store) alone");
inline constexpr Text kSubtractApplyHelp = Text("減算 instead of 加算, for apply");
inline constexpr Text kRefreshHelp =
    Text("workbench さらに修正: redraw the working copy in a window");
inline constexpr Text kFinishHelp =
    Text("workbench 修正終了！: publish the working copy as SelectiveXAFS_for_RIXS.DAT");
inline constexpr Text kShiftHelp = Text("workbench シフト実行: move the working copy by DELTA eV");
inline constexpr Text kCompareHelp =
    Text("workbench 実験値と比較 (別の実験値と比較 with --with), then 計算値と比較; prints R");
inline constexpr Text kSaveRixsHelp = Text("workbench RIXSの保存: Calculated_RIXS.DAT to FILE");
inline constexpr Text kSaveXafsHelp =
    Text("workbench 修正したXAFSの保存: SelectiveXAFS_for_RIXS.DAT to FILE");
inline constexpr Text kComputeHelp =
    Text("workbench RIXS計算実行: store the factors, compute Calculated_RIXS.DAT");
inline constexpr Text kSelectiveHelp =
    Text("one-component WIEN2k selective XAFS (XAFS１成分データ読込)");
inline constexpr Text kSelectiveFirstHelp =
    Text("first component of two (XAFS2成分データ読込（1/2）)");
inline constexpr Text kSelectiveSecondHelp =
    Text("second component of two, and the pairing (XAFS2成分データ読込（2/2）)");
inline constexpr Text kSelectiveGeneralHelp =
    Text("general energy, Y1, Y2 file (一般のX-Y1-Y2データ読込)");
inline constexpr Text kEdgeReadOnlyHelp =
    Text("only XAFS（吸収補正用）の読込: normalise the conventional XAFS");
inline constexpr Text kXrfButtonHelp = Text(
    "run one button alone, as the dialog did: load (蛍光X線の読込), confirm "
    "(ローレンツ関数設定確認, with --mode and --A..--D), fit (ローレンツ関数で"
    "フィット, with --excitation), rfactor (R因子計算) or store (設定完了)");
inline constexpr Text kFigureHelp =
    Text("a panel's figure with its axes, as 画像として保存… writes it, to FILE");

}  // namespace zephalo::cli::texts
