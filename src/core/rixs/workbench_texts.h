#pragma once

#include <string_view>
#include "core/text/text.h"

// The message texts of the RIXS workbench "RIXSシミュレーション", word for
// word, and the sentences it adds where a curve cannot be drawn or an input
// cannot be used.
namespace zephalo::core::rixs::texts {

using ::zephalo::core::text::Text;

// Headings of the three panels.
inline constexpr Text kXafsPanelTitle = Text("選択的XAFS");
inline constexpr Text kTheoryPanelTitle = Text("RIXS理論値");
inline constexpr Text kExperimentPanelTitle = Text("RIXS実験値");

// A figure of a panel that the work space's files leave empty: head, the
// panel's heading, tail.
inline constexpr Text kEmptyPanelHead = Text("　パネル「");
inline constexpr Text kEmptyPanelTail = Text(
    "」に描く曲線がありません。\r\n先にその曲線を描くステップ（読込、計算、比較）を実行して下さい"
    "。");

// The edit boxes as refusals name them.
inline constexpr Text kRangeMinBox = Text("表示範囲（始め）");
inline constexpr Text kRangeMaxBox = Text("表示範囲（終わり）");
inline constexpr Text kPeakCentreBox = Text("中心エネルギー");
inline constexpr Text kPeakAmplitudeBox = Text("振幅");
inline constexpr Text kPeakWidthBox = Text("幅");
inline constexpr Text kExcitationBox = Text("励起エネルギー(eV)");
inline constexpr Text kScalingBox = Text("スケーリング因子");
inline constexpr Text kAbsorptionBox = Text("吸収補正因子");
inline constexpr Text kShiftBox = Text("エネルギーシフト（±eV）");

// After "選択的XAFS読込".
inline constexpr Text kLoadedText = Text(
    "　選択的XAFSスペクトル（理論値）を読み込みました。\r\n"
    "　表示モードや表示範囲を変え、「表示変更」すれば表示が\r\n"
    "変わります。\r\n"
    "　「表示変更」したモードで、ローレンツ関数を加減し、プロファ\r\n"
    "イルの修正もできます。\r\n"
    "　スペクトル全体を「エネルギーシフト」することもできます。\r\n"
    "  スペクトルの「隣接平均」や、「最適化」も可能です。\r\n"
    "　このままRIXS計算を試行する場合は、「修正終了」し、\r\n"
    "励起エネルギーを入力してから、「RIXS計算実行」して下さい。");
// Added after kLoadedText when loading replaced a working copy whose
// corrections were never published by "修正終了！".
inline constexpr Text kUnpublishedReplaced = Text(
    "\r\n　作業用のXAFS（SelectiveXAFS_for_RIXS_Temp.DAT）にあった、\r\n"
    "「修正終了！」で出力していない修正は、この読込で置き換えました。\r\n"
    "　修正に戻るには「元に戻す」（Ctrl+Z）を押して下さい。");
// After "XAFSのクリア".
inline constexpr Text kClearedText = Text("　XAFSスペクトルをクリアしました。");
// After a successful "表示変更".
inline constexpr Text kDisplayChangedText = Text(
    "　表示を変更しました。\r\n"
    "　ローレンツ関数を加減して、プロファイルの調整ができます。その\r\n"
    "際、画面上でマウスをクリックして、ピーク位置を指定できます。");
// A window of "表示変更" that is empty, reversed or outside the spectrum.
inline constexpr Text kWindowRejectedText = Text(
    "　入力が間違っています!\r\n"
    "　表示範囲の最大値と最小値を確認して下さい。");
// After "補正用ピーク表示".
inline constexpr Text kPeakShownText = Text(
    "　XAFS補正用のローレンツ関数を表示しました。\r\n"
    "　エディットボックスの値を調整し、「加算」か「減算」を選んで、\r\n"
    "「XAFS修正」を押せば、このピーク分が加減されます。");
// After "XAFS修正".
inline constexpr Text kCorrectedText = Text(
    "　ピークを加減しました。\r\n"
    "　さらに修正するには、「一時保存」の後、「さらに修正」して下\r\n"
    "さい。\r\n"
    "　これでよければ「一時保存」の後、「修正終了!」を押して、\r\n"
    "「RIXS計算実行」して下さい。\r\n"
    "　「修正終了」しない限り、RIXSにXAFSの変化は反映されません。\r\n"
    "　最初からやりなおしたければ、「選択的XAFS読込」し直して下\r\n"
    "さい。");
// After "修正の一時保存".
inline constexpr Text kStoredText = Text(
    "　修正したプロファイルを一時保存しました。\r\n"
    "　「さらに修正」か「修正終了!」、あるいは「選択的XAFS読込」\r\n"
    "して下さい。");
// After "さらに修正".
inline constexpr Text kRefreshedText = Text(
    "　修正したXAFSスペクトルを読み込みなおしました。\r\n"
    "　同様の操作でピークを加減し、「XAFS修正」して下さい。");
// After "修正終了！".
inline constexpr Text kFinishedText = Text(
    "　XAFSスペクトルを「RIXS計算実行」用に出力しました。\r\n"
    "　励起エネルギーの値を確認し、必要なら値を変え、「RIXS計算\r\n"
    "実行」して下さい。");
// A click on the selective XAFS panel: head and tail around the picked
// energy (5 significant digits).
inline constexpr Text kPickedHead = Text("　エネルギーが");
inline constexpr Text kPickedTail = Text(
    "eVに設定されました。\r\n"
    "　「補正用ピーク表示」をクリックして、ピークを確認して下さい。\r\n"
    "　このエネルギーは、RIXS計算用の励起エネルギーのデフォルト\r\n"
    "値も与えます。");

// Sentences added to an operation's text when its curve is not drawn.
inline constexpr Text kNoCurveEnergyWindow =
    Text("\r\n　表示範囲の幅が0のため、スペクトルは描いていません。");
inline constexpr Text kNoCurveFlat = Text(
    "\r\n　表示範囲の強度が一定（または範囲内に点がない）ため、\r\n"
    "スペクトルは描いていません。");
inline constexpr Text kNoPeakCurveFlat =
    Text("\r\n　表示範囲の強度が一定のため、ピークは描いていません。");

// "補正用ピーク表示" with a peak that has no finite value at some energy of
// the spectrum (width 0 with the centre on a point).
inline constexpr Text kPeakNotFinite = Text(
    "　補正用ピークの値が有限になりません。\r\n"
    "　「幅」が0で、「中心エネルギー」がスペクトルの点に一致して\r\n"
    "います。「幅」に0以外の値を入れて、もう一度「補正用ピーク表示」\r\n"
    "を押して下さい。");
// Values too large to be written as finite numbers: head and tail around
// the file name.
inline constexpr Text kNotFiniteHead = Text("　計算した値が大きすぎて、ファイル ");
inline constexpr Text kNotFiniteTail =
    Text(" に書けません。\r\n　スペクトルの値と「振幅」「幅」を確認して下さい。");
// "補正用ピーク表示" with a stored window that is reversed or leaves the
// spectrum draws nothing and leaves the panel's text as it was; zephalo-cli,
// which has no earlier text to keep, says why.
inline constexpr Text kStoredWindowRejected = Text(
    "　保存されている表示範囲（TempXAFS_MinMax.DAT）が逆向きか、\r\n"
    "スペクトルの外にあるため、ピークを表示できません。\r\n"
    "　「表示変更」をしてから、もう一度実行して下さい。");
// "修正の一時保存" before any "XAFS修正": head and tail around the file name.
inline constexpr Text kNoCorrectionHead = Text("　修正結果のファイル ");
inline constexpr Text kNoCorrectionTail =
    Text(" がありません。\r\n　「XAFS修正」をしてから「修正の一時保存」を押して下さい。");

// After "シフト実行".
inline constexpr Text kShiftedText = Text("　XAFSスペクトルをエネルギーシフトしました。");
// "シフト実行" whose stored window leaves nothing to draw writes no message;
// zephalo-cli, which has no earlier text to keep, says what happened.
inline constexpr Text kShiftNotDrawn = Text(
    "　エネルギーシフトを保存しました（SelectiveXAFS_for_RIXS_Temp.DAT）。\r\n"
    "　保存されている表示範囲が逆向きか、スペクトルの外にあるため、\r\n"
    "表示はしていません。「表示変更」をして下さい。");
// After "修正したXAFSの保存" and "RIXSの保存": head and tail around the path.
inline constexpr Text kXafsSavedHead = Text("　修正した選択的XAFSスペクトルを");
inline constexpr Text kRixsSavedHead = Text("　RIXSスペクトル（計算値）を");
inline constexpr Text kSavedTail = Text("というファイル\r\nとして保存しました。");
// A save to a path that cannot be written: head and tail around the path,
// followed by the reason.
inline constexpr Text kSaveFailedHead = Text("　ファイル ");
inline constexpr Text kSaveFailedTail = Text(" に保存できませんでした。\r\n");

// After "RIXS計算実行": head and tail around the excitation box's text as
// typed.
inline constexpr Text kComputedHead =
    Text("　計算したRIXSスペクトルを表示しました。\r\n　用いた励起エネルギーは");
inline constexpr Text kComputedTail = Text(
    "eVです。「実験値と比較」で、測定した\r\nRIXSスペクトルと比べて下さい。\r\n"
    "　必要なら「RIXSの保存」をして下さい。\r\n"
    "　スペクトル形状が異常な時は、「スケーリング因子」を調整して下\r\nさい。");
// "RIXS計算実行" with an excitation energy outside 1000..20000 eV.
inline constexpr Text kExcitationWarning = Text(
    "　励起エネルギーが異常です。\r\n"
    "　安全のため、デフォルト値7150eVで計算しました。\r\n"
    "　励起エネルギーを再入力して下さい。");
// "RIXS計算実行" without SelectiveXAFS_for_RIXS.DAT or
// ConvXAFS_Norm_Spectrum.DAT.
inline constexpr Text kMissingComputeInputs = Text(
    "!!!エラー!!!\r\n"
    "　RIXS計算に必要なファイルがそろっていません。\r\n"
    "　「修正終了」しましたか？\r\n"
    "　「修正終了」ボタンを押さないとRIXSは計算できません。\r\n"
    "　また「XAFSの読込」をスキップしてもRIXS計算はできません。\r\n"
    "　確認してやり直して下さい。");
// Any edit of "励起エネルギー(eV)".
inline constexpr Text kExcitationHint =
    Text("　励起エネルギー(eV)を入力後、「RIXS計算実行」ボタンを押し\r\nて下さい。");
// After "RIXSのクリア".
inline constexpr Text kRixsClearedText = Text("　RIXS（理論）スペクトルをクリアしました。");
// Sentences added when the calculated spectrum cannot be drawn.
inline constexpr Text kNoTheoryEmpty =
    Text("\r\n　計算したRIXSスペクトルに点がないため、スペクトルは描いて\r\nいません。");
inline constexpr Text kNoTheoryZero = Text(
    "\r\n　計算したRIXSスペクトルの最大値が0以下（スケーリング因子が0\r\nなど）のため、"
    "スペクトルは描いていません。");
inline constexpr Text kNoTheoryFlat =
    Text("\r\n　計算したRIXSスペクトルの強度が一定のため、スペクトルは描\r\nいていません。");
inline constexpr Text kNoTheoryOneEnergy = Text(
    "\r\n　計算したRIXSスペクトルの点がすべて同じエネルギーのため、\r\nスペクトルは描いていません"
    "。");

// After "クリア" of the experiment panel.
inline constexpr Text kComparisonClearedText = Text("　スペクトルをクリアしました。");
// After the comparison redraw "計算値と比較".
inline constexpr Text kComparedText = Text(
    "　実験スペクトル（と計算スペクトル）を表示しました。\r\n"
    "　低い励起エネルギーのRIXSを用いて「スケーリング因子」を調整\r\n"
    "した後、高いエネルギーのRIXSを用いて「吸収補正因子」を最適\r\n"
    "化するのが得策です。\r\n"
    "　必要なら、形状が一致するまで「XAFS修正」して下さい。\r\n"
    "　必要なら「別の実験値と比較」することもできます。");
// After "実験値と比較" without a calculation shown.
inline constexpr Text kExperimentShownText = Text(
    "　実験スペクトル(と計算スペクトル)を表示しました。\r\n"
    "　低い励起エネルギーのRIXSを用いて「スケーリング因子」を調整\r\n"
    "した後、高いエネルギーのRIXSを用いて「吸収補正因子」を最適\r\n"
    "化するのが得策です。\r\n"
    "　必要なら、形状が一致するまで「XAFS修正」して下さい。\r\n"
    "　別の実験値と比較もできます。");
// After "別の実験値と比較" without a calculation shown.
inline constexpr Text kOtherExperimentText = Text(
    "　別の実験値(RIXSスペクトル)を読み込みました。\r\n"
    "　「実験値と比較」して下さい。");
// Sentences added when the measured spectrum cannot be drawn.
inline constexpr Text kNoExperimentEmpty = Text(
    "\r\n　実験スペクトルに点がないか、その最大値が0以下のため、\r\n"
    "スペクトルは描いていません。");
inline constexpr Text kNoExperimentFrame = Text(
    "\r\n　実験スペクトルの点がすべて同じエネルギーか、強度が一定の\r\n"
    "ため、スペクトルは描いていません。");
// The comparison found no energy shared by the two spectra.
inline constexpr Text kNoCommonEnergy = Text(
    "\r\n　実験値と計算値に共通のエネルギー（差0.0001eV未満）が\r\n"
    "ありません。");
// A comparison refused because the measured and calculated spectra share no
// energy: reducing both would empty one of them.
inline constexpr Text kNoCommonEnergyRefused = Text(
    "　実験値と計算値に共通のエネルギー（差0.0001eV未満）が\r\n"
    "ないため、比較できません。\r\n"
    "　実験値と同じ発光エネルギーの範囲で「RIXS計算実行」して\r\n"
    "から、もう一度比較して下さい（発光エネルギーの範囲は\r\n"
    "「蛍光X線による設定」で読み込んだスペクトルで決まります）。");
// A spectrum too long to be reduced to the common energies, with its file name.
inline constexpr Text kTooManyPoints = Text("　{} の点が4000を超えているため、比較できません。");

// The live correction could not take the response of the calculation.
inline constexpr Text kLiveNotFinite = Text(
    "　RIXSスペクトルの応答が有限の数値になりません。\r\n"
    "　作業用のXAFSと計算条件を確認して下さい。");

}  // namespace zephalo::core::rixs::texts
