#pragma once

#include "core/text/text.h"

// Captions of the dialog "蛍光X線による設定": title, buttons, groups and radios.
namespace zephalo::gui::xrf::captions {

using ::zephalo::core::text::Text;

inline constexpr Text kTitle = Text("蛍光X線による設定");
inline constexpr Text kLoad = Text("蛍光X線の読込");
inline constexpr Text kConfirm = Text("ローレンツ関数設定確認");
inline constexpr Text kFit = Text("ローレンツ関数でフィット");
inline constexpr Text kRFactor = Text("R因子計算");
inline constexpr Text kStore = Text("設定完了");
inline constexpr Text kParameters = Text("ローレンツ関数のパラメーター");
inline constexpr Text kOneComponent = Text("1成分");
inline constexpr Text kTwoComponents = Text("2成分(A+BとC+D)");
inline constexpr Text kLineChoice = Text("ローレンツ関数の選択");
// The repaint button and its hint, both kept hidden.
inline constexpr Text kRepaint = Text("画面回復");
inline constexpr Text kRepaintHint = Text("画面が異常になったら押して下さい");

}  // namespace zephalo::gui::xrf::captions
