#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/status.h"

// Texts of the storage layer: reading a file, the work space's lock, the
// commit of a step and the numbers it refuses to write. Each function joins
// fixed sentences around the values it names.
namespace zephalo::core::texts {

// Another process holds the work space's lock after the wait.
inline std::string busyText(std::string_view folder) {
    return "　ほかのZEPHALOが作業用のディレクトリ " + std::string(folder) +
           " で作業中です。\r\n　その作業が終わってからやり直して下さい。" +
           std::string(kWorkspaceUnchanged);
}

inline std::string lockFailedText(std::string_view lockFile) {
    return "　ロックファイル " + std::string(lockFile) +
           " を開けませんでした。\r\n　作業用のディレクトリの書き込み権限を確認して下さい。" +
           std::string(kWorkspaceUnchanged);
}

// The journal of an interrupted commit could not be completed.
inline std::string recoveryFailedText(std::string_view journal) {
    return "　中断した書き込みの記録 " + std::string(journal) +
           " を完了できませんでした。\r\n　作業用のディレクトリの書き込み権限を確認して下さい。" +
           std::string(kWorkspaceUnchanged);
}

// Why a rename of a commit failed.
inline constexpr std::string_view kReasonFolder = "同じ名前のフォルダーがあります";
inline constexpr std::string_view kReasonDenied = "書き込みが許可されていません";
inline constexpr std::string_view kReasonFull = "ディスクの空きが足りません";
inline constexpr std::string_view kReasonBusy = "ほかのプログラムがそのファイルを開いています";
inline std::string systemReasonText(std::string_view message) {
    return "システムのエラーです（" + std::string(message) + "）";
}

// A rename of a commit failed; what it had renamed is taken back.
inline std::string renameFailedText(std::string_view file, std::string_view reason) {
    return "　ファイル " + std::string(file) + " を書き換えられませんでした：" +
           std::string(reason) + "。";
}

// Taking a failed commit back failed as well; the next opener finishes it.
inline std::string takeBackPendingText() {
    return "\r\n　書き換えの途中のファイルは、次にこの作業用のディレクトリを開く処理が"
           "すべて書き換え前か書き換え後にそろえます。";
}

// What the opener of a step found of an interrupted commit.
inline std::string recoveredForwardText() {
    return "　前回中断した書き込みを最後まで行い、そのときのファイルをすべて書き換え後にそろえまし"
           "た"
           "。\r\n";
}
inline std::string recoveredBackText() {
    return "　前回中断した書き込みを取り消し、そのときのファイルをすべて書き換え前に戻しました。"
           "\r\n";
}

// A refused step that wrote, by the operation's design, these files first.
inline std::string keptOnRefusalText(const std::vector<std::string>& files) {
    std::string list;
    for (const auto& f : files) list += (list.empty() ? "" : "、") + f;
    return "\r\n　ただし、次のファイルはこの処理で書き換えました：" + list + "。";
}

// --- The history of the steps ---------------------------------------------------

inline std::string nothingToUndoText() {
    return "　取り消せる手順がありません（履歴はワークスペース作成から始まります）。" +
           std::string(kWorkspaceUnchanged);
}
inline std::string nothingToRedoText() {
    return "　やり直せる手順がありません。" + std::string(kWorkspaceUnchanged);
}
inline std::string undoneText(std::string_view title, std::string_view files) {
    return "　「" + std::string(title) + "」を取り消しました。\r\n　戻したファイル：" +
           std::string(files);
}
inline std::string redoneText(std::string_view title, std::string_view files) {
    return "　「" + std::string(title) + "」をやり直しました。\r\n　書き換えたファイル：" +
           std::string(files);
}
inline std::string historyUnreadableText(std::string_view file) {
    return "　履歴のファイル " + std::string(file) +
           " を読めないため、取り消しもやり直しもできません。";
}
inline std::string historyFolderText(std::string_view folder) {
    return "　履歴のフォルダー " + std::string(folder) +
           " を開けないため、この処理を履歴に残せません。\r\n"
           "　それがフォルダーであること（リンクやファイルでないこと）を確認して下さい。" +
           std::string(kWorkspaceUnchanged);
}
// One line of `history`: when, what, which files; an undone step marked.
inline std::string historyLineText(std::string_view when, std::string_view title,
                                   std::string_view files, bool undone) {
    return std::string(when) + "  " + std::string(title) + "  （" + std::string(files) + "）" +
           (undone ? "  [取り消し済み]" : "");
}
inline constexpr std::string_view kHistoryEmpty = "　履歴はまだありません。";
// `history --script` refuses.
inline std::string scriptWithoutCommandText(std::size_t number, std::string_view title) {
    return "　" + std::to_string(number) + "番目の手順「" + std::string(title) +
           "」にはコマンドラインの記録がないため、再現するスクリプトを書けません。";
}
inline std::string scriptWithoutStartText() {
    return "　履歴がワークスペース作成までさかのぼれない（上限の200手順か256MiBを超えた古い手順は"
           "削除されます）ため、再現するスクリプトを書けません。";
}

// A work-space file that is a symbolic link is never opened through.
inline std::string linkText(std::string_view file) {
    return "　" + std::string(file) +
           " はシンボリックリンクなので、作業用のディレクトリのファイルとして開きません。";
}

// Typed text quoted back in a refusal: 「text」, cut after 40 bytes (on a
// character boundary) with "..." added.
inline std::string quotedText(std::string_view text) {
    constexpr std::size_t kQuotedLength = 40;
    if (text.size() <= kQuotedLength) return "「" + std::string(text) + "」";
    std::size_t cut = kQuotedLength;
    // Back to the first byte of a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "「" + std::string(text.substr(0, cut)) + "...」";
}

// An edit box whose text is not one whole number.
inline std::string boxNotNumberText(std::string_view box, std::string_view text) {
    return "　ボックス「" + std::string(box) + "」の値" + quotedText(text) +
           "は数値として読めません。\r\n　数値だけを入力してから、もう一度ボタンを押して下さい。" +
           std::string(kWorkspaceUnchanged);
}

// Another desktop program has the work space open.
inline std::string otherDesktopText(std::string_view folder, std::string_view host,
                                    std::string_view process, std::string_view since) {
    return "　ほかのZEPHALO（ホスト " + std::string(host) + "、プロセス " + std::string(process) +
           "、" + std::string(since) + " から）が作業用のディレクトリ\r\n" + std::string(folder) +
           " を開いています。\r\n　両方で同じファイルを書き換えると、一方の表示が古くなり"
           "ます。\r\n各ウィンドウはボタンを押す前にファイルの変化を確かめ、変わって\r\n"
           "いればそう伝えて表示し直します。";
}

inline std::string outOfMemoryText() {
    return "　メモリが足りないため、処理を中止しました。";
}

inline std::string cannotOpenText(std::string_view file) {
    return "　ファイル " + std::string(file) + " を開けませんでした。";
}

inline std::string cannotReadText(std::string_view file) {
    return "　ファイル " + std::string(file) + " を読めませんでした。";
}

inline std::string cannotWriteText(std::string_view file) {
    return "　ファイル " + std::string(file) + " に書き込めませんでした。";
}

inline std::string folderText(std::string_view file) {
    return "　" + std::string(file) + " はフォルダーなので、ファイルとして開けません。";
}

inline std::string notRegularText(std::string_view file) {
    return "　" + std::string(file) +
           " は通常のファイルではない（FIFO、デバイスなど）ので、読み込めません。";
}

inline std::string tooLargeText(std::string_view file, std::uintmax_t size, std::uintmax_t limit) {
    return "　ファイル " + std::string(file) + " の大きさは" + std::to_string(size) +
           "バイトあり、読み込める上限の" + std::to_string(limit) + "バイトを超えています。";
}

// A record that holds a value which is not finite is never written.
inline std::string nonFiniteRecordText(std::string_view file, std::size_t line,
                                       std::string_view quantity, std::string_view value) {
    return "　ワークスペースのファイル " + std::string(file) + " の" + std::to_string(line) +
           "行目の" + std::string(quantity) + "が有限の数値ではない（" + std::string(value) +
           "）ため、書き込めません。";
}

// A value read from `file` (line `line`) becomes infinite or undefined in
// `quantity`.
inline std::string nonFiniteInputText(std::string_view file, int line, std::string_view quantity) {
    return "　ファイル " + std::string(file) + " の" + std::to_string(line) + "行目の値から求めた" +
           std::string(quantity) + "が有限の数値になりません。\r\n　値の大きさを確認して下さい。";
}

// Quantities named in the texts above.
inline constexpr std::string_view kEnergy = "エネルギー";
inline constexpr std::string_view kExcitationEnergy = "励起エネルギー";
inline constexpr std::string_view kIntensity = "強度";
inline constexpr std::string_view kComponentA = "成分A";
inline constexpr std::string_view kComponentB = "成分B";
inline constexpr std::string_view kTotal = "強度（合計）";
inline constexpr std::string_view kComponent1 = "成分1";
inline constexpr std::string_view kComponent2 = "成分2";
inline constexpr std::string_view kXMin = "Xの最小値";
inline constexpr std::string_view kXMax = "Xの最大値";
inline constexpr std::string_view kYMin = "Yの最小値";
inline constexpr std::string_view kYMax = "Yの最大値";
inline constexpr std::string_view kLifetimeWidth = "内殻正孔の寿命幅";
inline constexpr std::string_view kCoreEnergy = "内殻エネルギー";
inline constexpr std::string_view kGridStart = "発光エネルギーの始点";
inline constexpr std::string_view kGridEnd = "発光エネルギーの終点";
inline constexpr std::string_view kGridStep = "発光エネルギーの刻み幅";
inline constexpr std::string_view kAbsorptionFactor = "吸収補正因子";
inline constexpr std::string_view kScalingFactor = "スケーリング因子";
inline constexpr std::string_view kLineWidth = "線幅";
inline constexpr std::string_view kLinePosition = "ピーク位置";
inline constexpr std::string_view kLineAmplitude = "振幅";
inline constexpr std::string_view kValue = "値";
// An intensity times a display factor, as recorded in `file`.
inline std::string scaledIntensityText(std::string_view factor, std::string_view file) {
    return "強度の" + std::string(factor) + "倍（" + std::string(file) + "）";
}
// A component of the selective XAFS divided by its largest value.
inline constexpr std::string_view kNormalisedA = "規格化した成分Aの強度";
inline constexpr std::string_view kNormalisedB = "規格化した成分Bの強度";

}  // namespace zephalo::core::texts
