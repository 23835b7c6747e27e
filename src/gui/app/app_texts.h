#pragma once

#include <string_view>

// Texts of the program's start-up and About box.
namespace zephalo::gui::texts {

// Printed on the terminal when the program finds no display to open.
inline constexpr const char* kNoDisplay =
    "zephalo: 画面(ディスプレイ)が見つかりません。デスクトップから起動するか、"
    "xvfb-run zephalo で、スクリプトからは QT_QPA_PLATFORM=offscreen を付けて実行して下さい。";

// The About box's licence line.
inline constexpr const char* kLicenceLine =
    "GNU General Public License version 3 or later (GPL-3.0-or-later)";

// The main form's first button, as the history names its step.
inline constexpr std::string_view kCreateCaption = "ワークスペース作成";

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

}  // namespace zephalo::gui::texts
