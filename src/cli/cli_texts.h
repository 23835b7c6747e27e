#pragma once

// The command line's help texts: each names the desktop button the command
// stands for, so that a user can find it in the window.
namespace zephalo::cli::texts {

inline constexpr const char* kPlaneHelp =
    "workbench RIXSマップ: the RIXS spectrum at every excitation energy, to FILE";
inline constexpr const char* kAverageHelp =
    "workbench 隣接平均: triangular average of the working copy over a range";
inline constexpr const char* kFitHelp =
    "workbench フィット: the working copy fitted to the measured spectra";
inline constexpr const char* kOptimiseHelp =
    "workbench 最適化: Lorentzian peaks kept where they lower the R factor";
inline constexpr const char* kLoadSelectiveHelp =
    "workbench 選択的XAFS読込: the selective XAFS becomes the working copy";
inline constexpr const char* kDisplayHelp = "workbench 表示変更: show the working copy in a window";
inline constexpr const char* kPeakHelp =
    "workbench 補正用ピーク表示, XAFS修正, 修正の一時保存: add or subtract a Lorentzian peak";
inline constexpr const char* kSubtractHelp = "減算 instead of 加算";
inline constexpr const char* kPeakStepHelp =
    "workbench 補正用ピーク表示 (show), XAFS修正 (apply) or 修正の一時保存 (store) alone";
inline constexpr const char* kSubtractApplyHelp = "減算 instead of 加算, for apply";
inline constexpr const char* kRefreshHelp =
    "workbench さらに修正: redraw the working copy in a window";
inline constexpr const char* kFinishHelp =
    "workbench 修正終了！: publish the working copy as SelectiveXAFS_for_RIXS.DAT";
inline constexpr const char* kShiftHelp = "workbench シフト実行: move the working copy by DELTA eV";
inline constexpr const char* kCompareHelp =
    "workbench 実験値と比較 (別の実験値と比較 with --with), then 計算値と比較; prints R";
inline constexpr const char* kSaveRixsHelp = "workbench RIXSの保存: Calculated_RIXS.DAT to FILE";
inline constexpr const char* kSaveXafsHelp =
    "workbench 修正したXAFSの保存: SelectiveXAFS_for_RIXS.DAT to FILE";
inline constexpr const char* kComputeHelp =
    "workbench RIXS計算実行: store the factors, compute Calculated_RIXS.DAT";
inline constexpr const char* kSelectiveHelp =
    "one-component WIEN2k selective XAFS (XAFS１成分データ読込)";
inline constexpr const char* kSelectiveFirstHelp =
    "first component of two (XAFS2成分データ読込（1/2）)";
inline constexpr const char* kSelectiveSecondHelp =
    "second component of two, and the pairing (XAFS2成分データ読込（2/2）)";
inline constexpr const char* kSelectiveGeneralHelp =
    "general energy, Y1, Y2 file (一般のX-Y1-Y2データ読込)";
inline constexpr const char* kEdgeReadOnlyHelp =
    "only XAFS（吸収補正用）の読込: normalise the conventional XAFS";
inline constexpr const char* kXrfButtonHelp =
    "run one button alone, as the dialog did: load (蛍光X線の読込), confirm "
    "(ローレンツ関数設定確認, with --mode and --A..--D), fit (ローレンツ関数で"
    "フィット, with --excitation), rfactor (R因子計算) or store (設定完了)";
inline constexpr const char* kFigureHelp =
    "a panel's figure with its axes, as 画像として保存… writes it, to FILE";

}  // namespace zephalo::cli::texts
