#pragma once

#include "core/text/text.h"

// The texts of the XAFS dialogs: the conventional XAFS and the selective XAFS
// import, word for word.
namespace zephalo::core::xafs::texts {

using ::zephalo::core::text::Text;

// A quoted token's end and the opening of the line number that follows it.
inline constexpr Text kTokenThenLine = Text("」（");
inline constexpr Text kClosingBracket = Text("）");

// conv_xafs_model.cpp
inline constexpr Text kCoreEnergyBoxText = Text("内殻エネルギー(eV)");
inline constexpr Text kReadDoneText = Text(
    "　XAFSスペクトル(吸収補正用)"
    "を読み込み、最大値\r\nを１に規格化しました。「吸収端を選択」して「確認」\r\nして下さい。\r\n　"
    "必要ならマウスを画面上でクリックするか、上の\r\nエディットボックスへ直接入力して、内殻エネルギ"
    "ー\r\nを修正し、「確認」して下さい。\r\n　内殻エネルギー値を初期化したい時は「クリア」した\r\n"
    "後、再度「読込」して下さい。");
inline constexpr Text kOpenedText = Text(
    "　まず「XAFS（吸収補正用）の読込」を押して、吸収補正用の\r\nXAFSスペクトルを読み込んで下さい"
    "。");
inline constexpr Text kClearedText = Text(
    "　XAFSスペクトルをクリアし、内殻エネルギーを初期化\r\nしました。再度XAFSを「読込」み、「吸収端"
    "を選択」\r\nして下さい。");
inline constexpr Text kDoneText = Text(
    "　シミュレーションに必要なXAFS関連のパラメーターが\r\n設定されました。\r\n　「蛍光X線による設"
    "定」に進んで下さい。 ");
inline constexpr Text kConfirmTextPart1 = Text("　吸収端は ");
inline constexpr Text kConfirmTextPart2 = Text(" に設定されました。\r\n");
inline constexpr Text kConfirmTextPart3 = Text("　内殻エネルギーは");
inline constexpr Text kConfirmTextPart4 = Text("eV、寿命幅は");
inline constexpr Text kConfirmTextPart5 = Text(
    "eVです。\r\n　よろしいですか？\r\n　必要なら内殻エネルギーを再修正後、再度\r\n「確認」"
    "して下さい。「クリア」後に再度「読込」むと、\r\n初期設定に復帰できます。\r\n　問題なけ"
    "れば、「設定完了」して下さい。\r\n");
inline constexpr Text kReadPart1 = Text("　エラー！！\r\n　");
inline constexpr Text kReadPart2 =
    Text(" にデータがありません。\r\n　「通常XAFS実験値読込」で読み込み直して下さい。");
inline constexpr Text kReadPart3 = Text("　エラー！！\r\n　");
inline constexpr Text kReadPart4 = Text(
    " の吸収が全点で0以下のため、\r\n規格化できません。\r\n　通常XAFSの"
    "実験値を読み込み直して下さい。");
inline constexpr Text kReadPart5 = Text("　エラー！！\r\n　");
inline constexpr Text kReadPart6 = Text(
    " のエネルギーまたは吸収が全点で同じため、\r\nスペクトルを描けません"
    "。通常XAFSの実験値を読み込み直して下さい。");
inline constexpr Text kPickPart1 = Text("　内殻エネルギーが");
inline constexpr Text kPickPart2 = Text("eVに修正されました。\r\n「確認」して下さい。");
inline constexpr Text kConfirmPart1 = Text("　エラー！！\r\n　");
inline constexpr Text kConfirmPart2 = Text(" のデータが");
inline constexpr Text kConfirmPart3 = Text(
    "点しかないため、エネルギーが吸収端からの\r\n相対値か絶対値か判定できません（2点以上必"
    "要です）。\r\n　「選択的XAFS計算値読込」で選択的XAFSを導入し直して\r\n下さい。");

// selective_import.cpp
inline constexpr Text kLineText = Text("{}行目");
inline constexpr Text kWien2kHintText =
    Text("\r\n　WIEN2kの計算ファイル（4語のヘッダーの後にエネルギーと強度の組）を選んで下さい。");
inline constexpr Text kReadWien2kFilePart1 = Text("　ファイル ");
inline constexpr Text kReadWien2kFilePart2 = Text(" には4語のヘッダーの後にデータがありません（");
inline constexpr Text kReadWien2kFilePart3 = Text("語だけです）。");
inline constexpr Text kReadWien2kFilePart4 = Text("　ファイル ");
inline constexpr Text kReadWien2kFilePart5 =
    Text(" のヘッダーが4語ではありません。\r\n　5語目の「");
inline constexpr Text kReadWien2kFilePart6 = Text("）が数値ではありません。");
inline constexpr Text kReadWien2kFilePart7 = Text("　ファイル ");
inline constexpr Text kReadWien2kFilePart8 =
    Text(" のヘッダーが4語ではありません。\r\n　4語目の「");
inline constexpr Text kReadWien2kFilePart9 =
    Text("）はデータの数値で、ヘッダーとして読み飛ばされてしまいます。");
inline constexpr Text kReadWien2kFilePart10 = Text("　ファイル ");
inline constexpr Text kReadWien2kFilePart11 = Text(" の");
inline constexpr Text kReadWien2kFilePart12 = Text("に数値として読めない文字列「");
inline constexpr Text kReadWien2kFilePart13 = Text("」があります。");
inline constexpr Text kReadWien2kFilePart14 = Text("　ファイル ");
inline constexpr Text kReadWien2kFilePart15 = Text(" のデータの数値の個数（");
inline constexpr Text kReadWien2kFilePart16 = Text("個）が偶数ではありません。");
inline constexpr Text kReadWien2kFilePart17 = Text("のエネルギーと強度の組が欠けています。");
inline constexpr Text kReadWien2kFilePart18 = Text("　ファイル ");
inline constexpr Text kReadWien2kFilePart19 = Text(" のデータは");
inline constexpr Text kReadWien2kFilePart20 = Text("点あり、上限の");
inline constexpr Text kReadWien2kFilePart21 = Text("点を超えています。");
inline constexpr Text kReadGeneralFilePart1 = Text("　ファイル ");
inline constexpr Text kReadGeneralFilePart2 =
    Text(" にはデータ（エネルギー、Y1、Y2の組）がありません。");

// xafs_reading_model.cpp
inline constexpr Text kOpeningText = Text(
    "WIEN2kの計算ファイルを1成分か2成分を選択して\r\n読み込んで下さい。\r\n　xが励起エネルギー、yが"
    "2成分それぞれの強度\r\n（1成分の場合は2成分の値が同じ）という形式の\r\nファイルも読み込めます"
    "。");
inline constexpr Text kOneDoneText = Text(
    "C:\\ZEPHALO_WORK_SPACE "
    "に1成分の「選択的\r\nXAFSスペクトル（計算値）」を導入しました。\r\n　「OK」で終了し次のステッ"
    "プに進んで下さい。");
inline constexpr Text kFirstDoneText = Text(
    "C:\\ZEPHALO_WORK_SPACE "
    "に2成分の「選択的\r\nXAFSスペクトル（計算値）」の1成分目を導入\r\nしました。\r\n　2成分目を導"
    "入して下さい。");
inline constexpr Text kSecondDoneText = Text(
    "C:\\ZEPHALO_WORK_SPACE "
    "に2成分の「選択的\r\nXAFSスペクトル（計算値）」の2成分目を導入\r\nしました。\r\n　「OK」で終了"
    "し次のステップに進んで下さい。");
inline constexpr Text kGeneralDoneText = Text(
    "C:\\ZEPHALO_WORK_SPACE "
    "に「選択的\r\nXAFSスペクトル（一般データ）」を導入しました。\r\n　「OK」で終了し次のステップに"
    "進んで下さい。");
inline constexpr Text kFirstMissingText =
    Text("エラー！！\r\n　まず上のボタンで1成分目を導入して下さい！");
inline constexpr Text kMaximumRefusalPart1 =
    Text("　{}の強度が全点で0以下のため、規格化できません。");
inline constexpr Text kWorkspaceRefusalPart1 = Text("　エラー！！\r\n　作業用のディレクトリ ");
inline constexpr Text kWorkspaceRefusalPart2 =
    Text(" がありません。\r\n　まず「ワークスペース作成」をして下さい。");
inline constexpr Text kImportOneComponentText = Text("ファイル ");
inline constexpr Text kImportFirstOfTwoText = Text("1成分目のファイル ");
inline constexpr Text kImportSecondOfTwoPart1 = Text("　1成分目（");
inline constexpr Text kImportSecondOfTwoPart2 = Text("）と2成分目のファイル ");
inline constexpr Text kImportSecondOfTwoPart3 =
    Text(" に共通のエネルギー（差0.0001 eV未満）がありません。");
inline constexpr Text kImportSecondOfTwoPart4 = Text("共通のエネルギーでの1成分目（");
inline constexpr Text kMaximumRefusalPart2 = Text("共通のエネルギーでの2成分目のファイル ");
inline constexpr Text kImportGeneralPart1 = Text("ファイル ");
inline constexpr Text kImportGeneralPart2 = Text(" のY1");
inline constexpr Text kImportGeneralPart3 = Text("ファイル ");
inline constexpr Text kImportGeneralPart4 = Text(" のY2");
inline constexpr Text kImportGeneralPart5 = Text("　ファイル ");
inline constexpr Text kImportGeneralPart6 = Text(
    " のエネルギーから0.1 "
    "eV刻みの点が1点も得られませんでした。\r\n　最後の行は使われないため"
    "、2行以上のデータが必要です。");

}  // namespace zephalo::core::xafs::texts
