#pragma once

#include <string_view>
#include "core/text/text.h"

// Texts of the program's start-up, its main window and About box.
namespace zephalo::gui::texts {

using ::zephalo::core::text::Text;

// Printed on the terminal when the program finds no display to open.
inline constexpr Text kNoDisplay = Text(
    "zephalo: 画面(ディスプレイ)が見つかりません。デスクトップから起動するか、"
    "xvfb-run zephalo で、スクリプトからは QT_QPA_PLATFORM=offscreen を付けて実行して下さい。");

// The mark beside each button of the main form: its step's work is in the
// work space, or not yet; and the mark's hint.
inline constexpr Text kStepDone = Text("済");
inline constexpr Text kStepNotYet = Text("未");
inline constexpr Text kStepMarkHint =
    Text("作業フォルダーのファイルから判定した、このボタンの処理の実行状況");

// The About box's licence line.
inline constexpr const char* kLicenceLine =
    "GNU General Public License version 3 or later (GPL-3.0-or-later)";

// The main form's first button, as the history names its step.
inline constexpr Text kCreateCaption = Text("ワークスペース作成");

// The About box and the action that opens it.
inline constexpr Text kAboutTitle = Text("バージョン情報 ZEPHALO");
inline constexpr Text kAboutAction = Text("バージョン情報 ZEPHALO(&A)...");
inline constexpr Text kAboutHint = Text("バージョン情報");
inline constexpr Text kAboutStatusTip = Text("プログラム情報、バージョン、著作権を表示します。");

// The menus, the tool bar and the status bar of the main window.
inline constexpr Text kViewMenu = Text("表示(&V)");
inline constexpr Text kToolBarTitle = Text("ツール バー");
inline constexpr Text kToolBarAction = Text("ツール バー(&T)");
inline constexpr Text kToolBarTip = Text("ツール バーの表示/非表示を切り替えます。");
inline constexpr Text kStatusBarAction = Text("ステータス バー(&S)");
inline constexpr Text kStatusBarTip = Text("ステータス バーの表示/非表示を切り替えます。");
inline constexpr Text kReady = Text("レディ");
inline constexpr Text kHelpMenu = Text("ヘルプ(&H)");

// The language menu: each language by its own name, untranslated; and what
// the message panel says after a choice, with the language's name.
inline constexpr Text kLanguageMenu = Text("言語(&L)");
inline constexpr std::string_view kJapaneseName = "日本語";
inline constexpr std::string_view kEnglishName = "English";
inline constexpr Text kLanguageChosen =
    Text("　表示の言語を{}にしました。\r\n　次にZEPHALOを起動したときから、この言語で表示します。");

// The main form: its headings and the buttons after the first.
inline constexpr Text kRunFirst = Text("はじめに必ず実行して下さい");
inline constexpr Text kMaterialsGroup = Text("シミュレーションの素材入力");
inline constexpr Text kAsciiNames = Text("ファイル名は必ず半角英数で！");
inline constexpr Text kImportConvXafs = Text("通常XAFS実験値読込");
inline constexpr Text kImportXrf = Text("蛍光X線実験値読込");
inline constexpr Text kImportRixs = Text("RIXS実験値読込");
inline constexpr Text kImportSelective = Text("選択的XAFS計算値読込");
inline constexpr Text kConvXafsStep = Text("XAFS(吸収補正用）読込");
inline constexpr Text kXrfStep = Text("蛍光X線による設定");
inline constexpr Text kRixsStep = Text("RIXSシミュレーション");

}  // namespace zephalo::gui::texts
