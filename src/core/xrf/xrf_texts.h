#pragma once

#include <string_view>

// The guidance texts of the dialog "蛍光X線による設定", word for word.
namespace zephalo::core::xrf::texts {

// Captions of the boxes, also used to name a box in a refusal.
inline constexpr std::string_view kPositionCaption = "ピーク位置";
inline constexpr std::string_view kAmplitudeCaption = "振幅";
inline constexpr std::string_view kWidthCaption = "線幅";
inline constexpr std::string_view kExcitationCaption = "励起エネルギー(eV)";

// Shown while the spectrum is being read.
inline constexpr std::string_view kLoadingText = "　蛍光X線スペクトルを\r\n読み込んでいます";
// After loading: head and tail around the excitation energy text.
inline constexpr std::string_view kLoadedHead =
    "　蛍光X線スペクトルを読み込みました。\r\n　これを測定した励起エネルギーは";
inline constexpr std::string_view kLoadedTail =
    "eVに初期\r\n設定されています。\r\n　励起エネルギーを修正後、「設定確認」して、\r\n試しに「フィ"
    "ット」してみて下さい。\r\n　計算結果が大きく食い違っていたらA～Dの４つの\r\nローレンツ関数のパ"
    "ラメーターを調節して、あわせ\r\nこんでみて下さい。\r\n　ローレンツ関数のピーク位置は、ラジオボ"
    "タンでロー\r\nレンツ関数を選択し、画面上でマウスをクリックしても\r\n設定できます。";
inline constexpr std::string_view kConfirmedText =
    "　ローレンツ関数のパラメーターを確認しました。\r\n　「ローレンツ関数でフィット」を試みて下さい"
    "。\r\n　問題があれば、「蛍光X線の読込」をし直して\r\n下さい。以前の設定を回復できます。";
inline constexpr std::string_view kFittedText =
    "　ローレンツ関数を計算しました。これでよければ、\r\n「設定完了」をクリックして下さい。\r\n　「"
    "R因子」を計算する事もできます。（R因子の目安\r\nは5%以下）\r\n  "
    "問題があれば、再度パラメーターを調整して下さい。";
inline constexpr std::string_view kPositionSetText =
    "　ローレンツ関数のピーク位置を修正しました。\r\n　これでよければ、「ローレンツ関数設定確認」\r"
    "\nボタンを押して下さい。ラジオボタンを選択すれば、他の\r\nローレンツ関数のピーク位置を修正でき"
    "ます。";
// A fit or an R factor asked for before the spectrum was loaded.
inline constexpr std::string_view kLoadFirstText =
    "　まだ蛍光X線スペクトルが読み込まれていません。\r\n　先に「蛍光X線の読込」をクリックして"
    "下さい。";
// The R factor message: head, the value with 4 digits, tail.
inline constexpr std::string_view kRFactorHead = "　R因子を計算しました。　R因子は ";
inline constexpr std::string_view kRFactorTail = " (%)です。";
inline constexpr std::string_view kStoredText =
    "　これで「終状態関数」が作成できました。\r\n　「OK」をクリックしてこの画面を閉じ、「RIXSシミュ"
    "レー\r\nション」を行って下さい。";

}  // namespace zephalo::core::xrf::texts
