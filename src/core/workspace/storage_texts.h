#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/text.h"
#include "core/workspace/status.h"

// Texts of the storage layer: reading a file, the work space's lock, the
// commit of a step and the numbers it refuses to write. Each function joins
// fixed sentences around the values it names.
namespace zephalo::core::texts {

using ::zephalo::core::text::Text;

// Another process holds the work space's lock after the wait.
inline std::string busyText(std::string_view folder) {
    return Text("　ほかのZEPHALOが作業用のディレクトリ ") + std::string(folder) +
           Text(" で作業中です。\r\n　その作業が終わってからやり直して下さい。") +
           std::string(kWorkspaceUnchanged);
}

inline std::string lockFailedText(std::string_view lockFile) {
    return Text("　ロックファイル ") + std::string(lockFile) +
           Text(" を開けませんでした。\r\n　作業用のディレクトリの書き込み権限を確認して下さい。") +
           std::string(kWorkspaceUnchanged);
}

// The journal of an interrupted commit could not be completed.
inline std::string recoveryFailedText(std::string_view journal) {
    return Text("　中断した書き込みの記録 ") + std::string(journal) +
           Text(
               " を完了できませんでした。\r\n　作業用のディレクトリの書き込み権限を確認して下さい"
               "。") +
           std::string(kWorkspaceUnchanged);
}

// Why a rename of a commit failed.
inline constexpr Text kReasonFolder = Text("同じ名前のフォルダーがあります");
inline constexpr Text kReasonDenied = Text("書き込みが許可されていません");
inline constexpr Text kReasonFull = Text("ディスクの空きが足りません");
inline constexpr Text kReasonBusy = Text("ほかのプログラムがそのファイルを開いています");
inline std::string systemReasonText(std::string_view message) {
    return Text("システムのエラーです（") + std::string(message) + Text("）");
}

// A rename of a commit failed; what it had renamed is taken back.
inline std::string renameFailedText(std::string_view file, std::string_view reason) {
    return Text("　ファイル ") + std::string(file) + Text(" を書き換えられませんでした：") +
           std::string(reason) + Text("。");
}

// Taking a failed commit back failed as well; the next opener finishes it.
inline std::string takeBackPendingText() {
    return Text(
        "\r\n　書き換えの途中のファイルは、次にこの作業用のディレクトリを開く処理が"
        "すべて書き換え前か書き換え後にそろえます。");
}

// What the opener of a step found of an interrupted commit.
inline std::string recoveredForwardText() {
    return Text(
        "　前回中断した書き込みを最後まで行い、そのときのファイルをすべて書き換え後にそろえまし"
        "た"
        "。\r\n");
}
inline std::string recoveredBackText() {
    return Text(
        "　前回中断した書き込みを取り消し、そのときのファイルをすべて書き換え前に戻しました。"
        "\r\n");
}

// A refused step that wrote, by the operation's design, these files first.
inline std::string keptOnRefusalText(const std::vector<std::string>& files) {
    std::string list;
    for (const auto& f : files)
        list += (list.empty() ? std::string() : std::string(Text("、"))) + f;
    return Text("\r\n　ただし、次のファイルはこの処理で書き換えました：") + list + Text("。");
}

// --- The history of the steps ---------------------------------------------------

inline std::string nothingToUndoText() {
    return Text("　取り消せる手順がありません（履歴はワークスペース作成から始まります）。") +
           std::string(kWorkspaceUnchanged);
}
inline std::string nothingToRedoText() {
    return Text("　やり直せる手順がありません。") + std::string(kWorkspaceUnchanged);
}
inline std::string undoneText(std::string_view title, std::string_view files) {
    return Text("　「") + std::string(title) + Text("」を取り消しました。\r\n　戻したファイル：") +
           std::string(files);
}
inline std::string redoneText(std::string_view title, std::string_view files) {
    return Text("　「") + std::string(title) +
           Text("」をやり直しました。\r\n　書き換えたファイル：") + std::string(files);
}
inline std::string historyUnreadableText(std::string_view file) {
    return Text("　履歴のファイル ") + std::string(file) +
           Text(" を読めないため、取り消しもやり直しもできません。");
}
inline std::string historyFolderText(std::string_view folder) {
    return Text("　履歴のフォルダー ") + std::string(folder) +
           Text(
               " を開けないため、この処理を履歴に残せません。\r\n"
               "　それがフォルダーであること（リンクやファイルでないこと）を確認して下さい。") +
           std::string(kWorkspaceUnchanged);
}
// One line of `history`: when, what, which files; an undone step marked.
inline std::string historyLineText(std::string_view when, std::string_view title,
                                   std::string_view files, bool undone) {
    return std::string(when) + "  " + std::string(title) + Text("  （") + std::string(files) +
           Text("）") + (undone ? std::string(Text("  [取り消し済み]")) : std::string());
}
inline constexpr Text kHistoryEmpty = Text("　履歴はまだありません。");
// `history --script` refuses.
inline std::string scriptWithoutCommandText(std::size_t number, std::string_view title) {
    return text::fill(
        Text("　{}番目の手順「{}"
             "」にはコマンドラインの記録がないため、再現するスクリプトを書けません。"),
        {std::to_string(number), title});
}
inline std::string scriptWithoutStartText() {
    return Text(
        "　履歴がワークスペース作成までさかのぼれない（上限の200手順か256MiBを超えた古い手順は"
        "削除されます）ため、再現するスクリプトを書けません。");
}

// A work-space file that is a symbolic link is never opened through.
inline std::string linkText(std::string_view file) {
    return text::fill(
        Text("　{} はシンボリックリンクなので、作業用のディレクトリのファイルとして開きません。"),
        {file});
}

// Typed text quoted back in a refusal: 「text」, cut after 40 bytes (on a
// character boundary) with "..." added.
inline std::string quotedText(std::string_view text) {
    constexpr std::size_t kQuotedLength = 40;
    if (text.size() <= kQuotedLength) return Text("「") + std::string(text) + Text("」");
    std::size_t cut = kQuotedLength;
    // Back to the first byte of a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return Text("「") + std::string(text.substr(0, cut)) + Text("...」");
}

// An edit box whose text is not one whole number.
inline std::string boxNotNumberText(std::string_view box, std::string_view text) {
    return Text("　ボックス「") + std::string(box) + Text("」の値") + quotedText(text) +
           Text(
               "は数値として読めません。\r\n　数値だけを入力してから、もう一度ボタンを押して下さい"
               "。") +
           std::string(kWorkspaceUnchanged);
}

// Another desktop program has the work space open.
inline std::string otherDesktopText(std::string_view folder, std::string_view host,
                                    std::string_view process, std::string_view since) {
    return Text("　ほかのZEPHALO（ホスト ") + std::string(host) + Text("、プロセス ") +
           std::string(process) + Text("、") + std::string(since) +
           Text(" から）が作業用のディレクトリ\r\n") + std::string(folder) +
           Text(
               " を開いています。\r\n　両方で同じファイルを書き換えると、一方の表示が古くなり"
               "ます。\r\n各ウィンドウはボタンを押す前にファイルの変化を確かめ、変わって\r\n"
               "いればそう伝えて表示し直します。");
}

inline std::string outOfMemoryText() {
    return Text("　メモリが足りないため、処理を中止しました。");
}

inline std::string cannotOpenText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) + Text(" を開けませんでした。");
}

inline std::string cannotReadText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) + Text(" を読めませんでした。");
}

inline std::string cannotWriteText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) + Text(" に書き込めませんでした。");
}

inline std::string folderText(std::string_view file) {
    return text::fill(Text("　{} はフォルダーなので、ファイルとして開けません。"), {file});
}

inline std::string notRegularText(std::string_view file) {
    return text::fill(
        Text("　{} は通常のファイルではない（FIFO、デバイスなど）ので、読み込めません。"), {file});
}

inline std::string tooLargeText(std::string_view file, std::uintmax_t size, std::uintmax_t limit) {
    return Text("　ファイル ") + std::string(file) + Text(" の大きさは") + std::to_string(size) +
           Text("バイトあり、読み込める上限の") + std::to_string(limit) +
           Text("バイトを超えています。");
}

// A record that holds a value which is not finite is never written.
inline std::string nonFiniteRecordText(std::string_view file, std::size_t line,
                                       std::string_view quantity, std::string_view value) {
    return text::fill(
        Text("　ワークスペースのファイル {} の{}行目の{}が有限の数値ではない（{}）ため、"
             "書き込めません。"),
        {file, std::to_string(line), quantity, value});
}

// A value read from `file` (line `line`) becomes infinite or undefined in
// `quantity`.
inline std::string nonFiniteInputText(std::string_view file, int line, std::string_view quantity) {
    return text::fill(Text("　ファイル {} の{}行目の値から求めた{}が有限の数値になりません。\r\n"
                           "　値の大きさを確認して下さい。"),
                      {file, std::to_string(line), quantity});
}

// Quantities named in the texts above.
inline constexpr Text kEnergy = Text("エネルギー");
inline constexpr Text kExcitationEnergy = Text("励起エネルギー");
inline constexpr Text kIntensity = Text("強度");
inline constexpr Text kComponentA = Text("成分A");
inline constexpr Text kComponentB = Text("成分B");
inline constexpr Text kTotal = Text("強度（合計）");
inline constexpr Text kComponent1 = Text("成分1");
inline constexpr Text kComponent2 = Text("成分2");
inline constexpr Text kXMin = Text("Xの最小値");
inline constexpr Text kXMax = Text("Xの最大値");
inline constexpr Text kYMin = Text("Yの最小値");
inline constexpr Text kYMax = Text("Yの最大値");
inline constexpr Text kLifetimeWidth = Text("内殻正孔の寿命幅");
inline constexpr Text kCoreEnergy = Text("内殻エネルギー");
inline constexpr Text kGridStart = Text("発光エネルギーの始点");
inline constexpr Text kGridEnd = Text("発光エネルギーの終点");
inline constexpr Text kGridStep = Text("発光エネルギーの刻み幅");
inline constexpr Text kAbsorptionFactor = Text("吸収補正因子");
inline constexpr Text kScalingFactor = Text("スケーリング因子");
inline constexpr Text kLineWidth = Text("線幅");
inline constexpr Text kLinePosition = Text("ピーク位置");
inline constexpr Text kLineAmplitude = Text("振幅");
inline constexpr Text kValue = Text("値");
// An intensity times a display factor, as recorded in `file`.
inline std::string scaledIntensityText(std::string_view factor, std::string_view file) {
    return Text("強度の") + std::string(factor) + Text("倍（") + std::string(file) + Text("）");
}
// A component of the selective XAFS divided by its largest value.
inline constexpr Text kNormalisedA = Text("規格化した成分Aの強度");
inline constexpr Text kNormalisedB = Text("規格化した成分Bの強度");

// gates.cpp
inline constexpr Text kMaterialsMissingText = Text(
    " エラー!!\r\n　まず["
    "ワークスペース作成」後、「素材入力」ボタン\r\nで全ての素材を読み込んで下さい。");
inline constexpr Text kGateOfPart1 = Text("通常XAFSによるパラメーター設定が終了しました。");
inline constexpr Text kGateOfPart2 = Text("蛍光X線によるパラメーター設定が終了しました。");
inline constexpr Text kGateOfPart3 = Text("RIXSシミュレーションが終了しました。");
inline constexpr Text kGateOfPart4 = Text(
    " エラー!!"
    "\r\n　「素材入力」ボタンで全ての素材を読み込み、\r\n「XAFSの読込」と「蛍光X線による設定」"
    "をしないと、\r\n正しいシミュレーションはできません。");

// records.cpp
inline constexpr Text kParseNumberTextPart1 = Text("　ファイル ");
inline constexpr Text kParseNumberTextPart2 = Text(" の");
inline constexpr Text kParseNumberTextPart3 = Text("行目に数値として読めない文字列「");
inline constexpr Text kParseNumberTextPart4 = Text("」があります。");
inline constexpr Text kParseRecordsPart1 = Text("　ファイル ");
inline constexpr Text kParseRecordsPart2 = Text(" の数値の個数（");
inline constexpr Text kParseRecordsPart3 = Text("個）が");
inline constexpr Text kParseRecordsPart4 = Text("の倍数ではありません。\r\n　");
inline constexpr Text kParseRecordsPart5 = Text("行目の組が欠けています。");
inline constexpr Text kParseRecordsPart6 = Text("　ファイル ");
inline constexpr Text kParseRecordsPart7 = Text(" のデータは");
inline constexpr Text kParseRecordsPart8 = Text("点あり、上限の");
inline constexpr Text kParseRecordsPart9 = Text("点を超えています。");

// workspace.cpp
inline constexpr Text kEnsureDirectoryPart1 = Text(
    "　{} はファイルなので、作業用のディレクトリとして使えません。\r\n"
    "　別の場所を ZEPHALO_WORK_SPACE で指定して下さい。");
inline constexpr Text kEnsureDirectoryPart2 = Text("　作業用のディレクトリ ");
inline constexpr Text kEnsureDirectoryPart3 =
    Text(" を作成できませんでした。\r\n　親フォルダーの書き込み権限を確認して下さい。");
inline constexpr Text kReadOneLinePart1 = Text("　ファイル ");
inline constexpr Text kReadOneLinePart2 = Text(" の数値が");
inline constexpr Text kReadOneLinePart3 = Text("個に足りません。");

// workspace_setup.cpp
inline constexpr Text kCheckPermissionText =
    Text("\r\n　作業用のディレクトリの書き込み権限を確認して下さい。");
inline constexpr Text kImportedTextPart1 = Text(" に");
inline constexpr Text kImportedTextPart2 = Text("を導入しました。");
inline constexpr Text kWorkspaceReadyPart1 = Text("　作業用のディレクトリ ");
inline constexpr Text kWorkspaceReadyPart2 =
    Text(" がありません。\r\n　まず「ワークスペース作成」を実行して下さい。");
inline constexpr Text kCreateWorkspacePart1 = Text("作業用のディレクトリ　");
inline constexpr Text kCreateWorkspacePart2 =
    Text("\r\nを作成しました。(以前使用時の結果は保護され\r\nています)");
inline constexpr Text kImportRixsExperimentText = Text("「RIXS実験スペク\r\nトル」");
inline constexpr Text kImportConventionalXafsText = Text("「通常XAFS実験\r\nスペクトル」");
inline constexpr Text kImportFluorescencePart1 = Text("　ファイル ");
inline constexpr Text kImportFluorescencePart2 = Text(" に数値のデータがありません。");
inline constexpr Text kImportFluorescencePart3 = Text(
    " の強度の最大値が0以下なので、\r\n"
    "　蛍光X線スペクトルを最大値1に規格化できません。");
inline constexpr Text kImportFluorescencePart4 = Text("「蛍光X線実験\r\nスペクトル」");

}  // namespace zephalo::core::texts
