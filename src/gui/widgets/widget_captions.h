#pragma once

#include <string_view>
#include "core/text/text.h"

// The captions every dialog shares.
namespace zephalo::gui::widgets::captions {

using ::zephalo::core::text::Text;

inline constexpr std::string_view kOk = "OK";
inline constexpr Text kCancel = Text("キャンセル");

// The heading above every message panel.
inline constexpr Text kMessages = Text("ZEPHALOからのメッセージ");

// Undo and redo of the work space's steps; a button adds the step's title
// after the join.
inline constexpr Text kUndo = Text("元に戻す");
inline constexpr Text kRedo = Text("やり直す");
inline constexpr Text kTitleJoin = Text("：");

// A window whose work-space files changed under it before a button acted.
inline constexpr Text kChangedOutside = Text(
    "　作業用のディレクトリのファイルが、このウィンドウの外（ほかの\r\n"
    "ZEPHALO、zephalo-cli、元に戻す・やり直すなど）で変更されていました。\r\n"
    "　ボタンの操作は行わず、ファイルから表示し直しました。表示を\r\n"
    "確かめてから、もう一度ボタンを押して下さい。");

}  // namespace zephalo::gui::widgets::captions
