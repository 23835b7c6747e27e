#pragma once

#include <string_view>
#include "core/text/text.h"

// The guidance texts of the dialog "蛍光X線による設定", word for word.
namespace zephalo::core::xrf::texts {

using ::zephalo::core::text::Text;

// Captions of the boxes, also used to name a box in a refusal.
inline constexpr Text kPositionCaption = Text("ピーク位置");
inline constexpr Text kAmplitudeCaption = Text("振幅");
inline constexpr Text kWidthCaption = Text("線幅");
inline constexpr Text kExcitationCaption = Text("励起エネルギー(eV)");

// Shown while the spectrum is being read.
inline constexpr Text kLoadingText = Text("　蛍光X線スペクトルを\r\n読み込んでいます");
// After loading: head and tail around the excitation energy text.
inline constexpr Text kLoadedHead =
    Text("　蛍光X線スペクトルを読み込みました。\r\n　これを測定した励起エネルギーは");
inline constexpr Text kLoadedTail = Text(
    "eVに初期\r\n設定されています。\r\n　励起エネルギーを修正後、「設定確認」して、\r\n試しに「フィ"
    "ット」してみて下さい。\r\n　計算結果が大きく食い違っていたらA～Dの４つの\r\nローレンツ関数のパ"
    "ラメーターを調節して、あわせ\r\nこんでみて下さい。\r\n　ローレンツ関数のピーク位置は、ラジオボ"
    "タンでロー\r\nレンツ関数を選択し、画面上でマウスをクリックしても\r\n設定できます。");
inline constexpr Text kConfirmedText = Text(
    "　ローレンツ関数のパラメーターを確認しました。\r\n　「ローレンツ関数でフィット」を試みて下さい"
    "。\r\n　問題があれば、「蛍光X線の読込」をし直して\r\n下さい。以前の設定を回復できます。");
inline constexpr Text kFittedText = Text(
    "　ローレンツ関数を計算しました。これでよければ、\r\n「設定完了」をクリックして下さい。\r\n　「"
    "R因子」を計算する事もできます。（R因子の目安\r\nは5%以下）\r\n  "
    "問題があれば、再度パラメーターを調整して下さい。");
inline constexpr Text kPositionSetText = Text(
    "　ローレンツ関数のピーク位置を修正しました。\r\n　これでよければ、「ローレンツ関数設定確認」\r"
    "\nボタンを押して下さい。ラジオボタンを選択すれば、他の\r\nローレンツ関数のピーク位置を修正でき"
    "ます。");
// A fit or an R factor asked for before the spectrum was loaded.
inline constexpr Text kLoadFirstText = Text(
    "　まだ蛍光X線スペクトルが読み込まれていません。\r\n　先に「蛍光X線の読込」をクリックして"
    "下さい。");
// The R factor message: head, the value with 4 digits, tail.
inline constexpr Text kRFactorHead = Text("　R因子を計算しました。　R因子は ");
inline constexpr Text kRFactorTail = Text(" (%)です。");
inline constexpr Text kStoredText = Text(
    "　これで「終状態関数」が作成できました。\r\n　「OK」をクリックしてこの画面を閉じ、「RIXSシミュ"
    "レー\r\nション」を行って下さい。");

// xrf_model.cpp
inline constexpr Text kReadMeasuredPart1 = Text("　蛍光X線スペクトルのファイル ");
inline constexpr Text kReadMeasuredPart2 =
    Text(" がありません。\r\n　メイン画面の「蛍光X線実験値読込」で");
inline constexpr Text kReadMeasuredPart3 = Text("読み込んでから、\r\nもう一度操作して下さい。");
inline constexpr Text kReadSeededPart1 = Text("　ファイル ");
inline constexpr Text kReadSeededPart2 =
    Text(" がありません。\r\n　メイン画面の「ワークスペース作成」で");
inline constexpr Text kReadSeededPart3 =
    Text("作り直してから、\r\nもう一度「蛍光X線の読込」をして下さい。");
inline constexpr Text kCheckMeasuredPart1 =
    Text("\r\n　「蛍光X線実験値読込」で正しいスペクトルを読み込んで下さい。");
inline constexpr Text kCheckMeasuredPart2 = Text("　蛍光X線スペクトルのファイル ");
inline constexpr Text kCheckMeasuredPart3 = Text(" にデータがありません。");
inline constexpr Text kCheckMeasuredPart4 = Text("　蛍光X線スペクトル ");
inline constexpr Text kCheckMeasuredPart5 =
    Text(" のデータが1点しかありません。\r\n　エネルギーの間隔を決めるには");
inline constexpr Text kCheckMeasuredPart6 = Text("2点以上必要です。");
inline constexpr Text kCheckMeasuredPart7 = Text("　蛍光X線スペクトル ");
inline constexpr Text kCheckMeasuredPart8 = Text(" のエネルギーが全て ");
inline constexpr Text kCheckMeasuredPart9 =
    Text(" eVで、範囲がありません。\r\n　これでは表示も計算もできません。");
inline constexpr Text kCheckMeasuredPart10 = Text("　蛍光X線スペクトル ");
inline constexpr Text kCheckMeasuredPart11 = Text(" の強度が全て同じ値で、範囲がありません。\r\n");
inline constexpr Text kCheckMeasuredPart12 = Text("　これでは表示も計算もできません。");
inline constexpr Text kConfirmPart1 = Text("　ボックス「");
inline constexpr Text kConfirmPart2 = Text("の");
inline constexpr Text kConfirmPart3 = Text("」の値");
inline constexpr Text kConfirmPart4 = Text("は数値として読めません。\r\n");
inline constexpr Text kConfirmPart5 = Text(
    "　数値を入力してから、もう一度「ローレンツ関数設定確認」を\r\n"
    "押して下さい。");
inline constexpr Text kFitPart1 = Text("　ボックス「");
inline constexpr Text kFitPart2 = Text("」の値");
inline constexpr Text kFitPart3 =
    Text("は数値として読めません。\r\n　数値を入力してから、もう一度");
inline constexpr Text kFitPart4 = Text("「ローレンツ関数でフィット」を\r\n押して下さい。");
inline constexpr Text kRFactorPart1 = Text(
    "　R因子を計算できません。蛍光X線スペクトルと計算値で\r\n"
    "エネルギーが一致する点が");
inline constexpr Text kRFactorPart2 = Text(
    "点しかありません（2点以上必要です）。\r\n"
    "　「蛍光X線の読込」の後、「ローレンツ関数設定確認」と\r\n"
    "「ローレンツ関数でフィット」をしてから計算して下さい。");
inline constexpr Text kRFactorPart3 = Text("　R因子を計算できません。比較する");
inline constexpr Text kRFactorPart4 = Text("点の測定強度の合計が0です。\r\n");
inline constexpr Text kRFactorPart5 =
    Text("　「蛍光X線実験値読込」で正しいスペクトルを読み込んで下さい。");
inline constexpr Text kStorePart1 =
    Text("　ローレンツ関数のパラメーターがまだ確認されていません\r\n（");
inline constexpr Text kStorePart2 =
    Text(" がありません）。\r\n　「ローレンツ関数設定確認」をしてから");
inline constexpr Text kStorePart3 = Text("「設定完了」を\r\n押して下さい。");
inline constexpr Text kReadRangePart1 = Text("　蛍光X線スペクトルの範囲のファイル ");
inline constexpr Text kReadRangePart2 =
    Text(" がありません。\r\n　まず「蛍光X線の読込」をして下さい。");
inline constexpr Text kReadRangePart3 = Text("　蛍光X線スペクトルの範囲のファイル ");
inline constexpr Text kReadRangePart4 = Text(" の最小値と最大値が\r\n同じか逆です。");
inline constexpr Text kReadRangePart5 = Text("　「蛍光X線の読込」をし直して下さい。");

// emission_model.cpp
inline constexpr Text kCheckInputPart1 = Text("　励起エネルギーが");
inline constexpr Text kCheckInputPart2 = Text(
    "eVでは蛍光X線スペクトルを計算できません。\r\n"
    "　「励起エネルギー(eV)」に正しい値を入力して下さい。");
inline constexpr Text kCheckInputPart3 = Text(
    "　{} の吸収補正因子が-1のため、蛍光X線の強度を\r\n"
    "（1＋吸収補正因子）で割れません。\r\n"
    "　RIXS計算の「吸収補正因子」を見直して下さい。");
inline constexpr Text kScaleEmissionPart1 = Text("　計算した蛍光X線スペクトルの最大値が");
inline constexpr Text kScaleEmissionPart2 = Text(
    "のため、実験値の最大値に合わせられません。\r\n"
    "　ローレンツ関数の強度と励起エネルギーを確認し、「ローレンツ関数でフィット」を\r\n"
    "やり直して下さい。");
inline constexpr Text kEvaluateEmissionModelPart1 = Text("　「ワークスペース作成」をして下さい。");
inline constexpr Text kEvaluateEmissionModelPart2 =
    Text("　「ローレンツ関数設定確認」を押してから「ローレンツ関数でフィット」して下さい。");
inline constexpr Text kNormalizeEmissionModelPart1 = Text("　「蛍光X線の読込」をして下さい。");
inline constexpr Text kNormalizeEmissionModelPart2 =
    Text("　「ローレンツ関数でフィット」をやり直して下さい。");

}  // namespace zephalo::core::xrf::texts
