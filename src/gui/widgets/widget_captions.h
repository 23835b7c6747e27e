#pragma once

#include <string_view>

// The captions every dialog shares.
namespace zephalo::gui::widgets::captions {

inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";

// Undo and redo of the work space's steps; a button adds the step's title
// after the join.
inline constexpr std::string_view kUndo = "元に戻す";
inline constexpr std::string_view kRedo = "やり直す";
inline constexpr std::string_view kTitleJoin = "：";

// A window whose work-space files changed under it before a button acted.
inline constexpr std::string_view kChangedOutside =
    "　作業用のディレクトリのファイルが、このウィンドウの外（ほかの\r\n"
    "ZEPHALO、zephalo-cli、元に戻す・やり直すなど）で変更されていました。\r\n"
    "　ボタンの操作は行わず、ファイルから表示し直しました。表示を\r\n"
    "確かめてから、もう一度ボタンを押して下さい。";

}  // namespace zephalo::gui::widgets::captions
