#pragma once

#include "core/text/text.h"

// The texts of the RIXS calculation's refusals, word for word.
namespace zephalo::core::rixs::texts {

using ::zephalo::core::text::Text;

// rixs_core.cpp
inline constexpr Text kCheckExcitationPart1 = Text("　励起エネルギーが");
inline constexpr Text kCheckExcitationPart2 = Text(
    "eVではRIXSを計算できません。\r\n"
    "　「励起エネルギー(eV)」に正しい値を入力して下さい。");
inline constexpr Text kCheckExcitationPart3 = Text(
    "　{} に同じエネルギーの点が続いているため、励起エネルギーでの吸収を"
    "\r\n求められません。\r\n　吸収補正用のXAFSを確認して下さい。");
inline constexpr Text kCheckExcitationPart4 = Text("　吸収補正因子");
inline constexpr Text kCheckExcitationPart5 = Text("では、励起エネルギーでの吸収");
inline constexpr Text kCheckExcitationPart6 = Text(
    "に対する補正の分母\r\n（吸収補正因子×吸収＋1）が0になります。\r\n"
    "　「吸収補正因子」を見直して下さい。");
inline constexpr Text kCheckSharedPart1 = Text("　{} の選択的XAFSが");
inline constexpr Text kCheckSharedPart2 = Text(
    "点しかありません。\r\n"
    "　積分の刻み幅を最初の2点から決めるため、2点以上が必要です。\r\n"
    "　「修正終了」をやり直して下さい。");
inline constexpr Text kCheckSharedPart3 = Text("　{} の選択的XAFSが");
inline constexpr Text kCheckSharedPart4 = Text("点あり、上限の");
inline constexpr Text kCheckSharedPart5 = Text("点を超えています。");
inline constexpr Text kCheckSharedPart6 = Text("　{} のXAFSが");
inline constexpr Text kCheckSharedPart7 = Text("点あり、上限の");
inline constexpr Text kCheckSharedPart8 = Text("点を超えています。");
inline constexpr Text kReadRixsInputsPart1 =
    Text("　「修正終了」ボタンを押してからRIXS計算をして下さい。");
inline constexpr Text kReadRixsInputsPart2 =
    Text("　「XAFSの読込」（吸収補正用）をしてからRIXS計算をして下さい。");
inline constexpr Text kReadRixsInputsPart3 = Text("　「ワークスペース作成」をして下さい。");
inline constexpr Text kReadRixsInputsPart4 = Text("　「ワークスペース作成」をして下さい。");

// rixs_compute.cpp
inline constexpr Text kComputeRixsText = Text("　「ワークスペース作成」をして下さい。");

}  // namespace zephalo::core::rixs::texts
