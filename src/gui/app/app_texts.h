#pragma once

#include <string_view>

// Texts of the program's start-up and About box.
namespace zephalo::gui::texts {

// Printed on the terminal when the program finds no display to open.
inline constexpr const char* kNoDisplay =
    "zephalo: 画面(ディスプレイ)が見つかりません。デスクトップから起動するか、"
    "xvfb-run zephalo で、スクリプトからは QT_QPA_PLATFORM=offscreen を付けて実行して下さい。";

// The mark beside each button of the main form: its step's work is in the
// work space, or not yet; and the mark's hint.
inline constexpr const char* kStepDone = "済";
inline constexpr const char* kStepNotYet = "未";
inline constexpr const char* kStepMarkHint =
    "作業フォルダーのファイルから判定した、このボタンの処理の実行状況";

// The About box's licence line.
inline constexpr const char* kLicenceLine =
    "GNU General Public License version 3 or later (GPL-3.0-or-later)";

// The main form's first button, as the history names its step.
inline constexpr std::string_view kCreateCaption = "ワークスペース作成";

}  // namespace zephalo::gui::texts
