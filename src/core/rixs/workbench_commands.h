#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/rixs/workbench_model.h"

// The zephalo-cli arguments (after the global options) that redo a workbench
// button's step on the same files, from the boxes and radios as typed: what
// the desktop writes into the work space's history for each button.
namespace zephalo::core::rixs {

enum class WorkbenchButton {
    Load,           // "選択的XAFS読込"
    ChangeDisplay,  // "表示変更"
    ShowPeak,       // "補正用ピーク表示"
    Apply,          // "XAFS修正"
    Store,          // "修正の一時保存"
    Refresh,        // "さらに修正"
    Finish,         // "修正終了！"
    Shift,          // "シフト実行"
    Compute,        // "RIXS計算実行"
    Compare,        // "実験値と比較"
};

std::vector<std::string> replayCommand(WorkbenchButton button, const WorkbenchBoxes& typed);
// "別の実験値と比較" with the chosen file.
std::vector<std::string> compareWithCommand(const std::filesystem::path& chosen);

}  // namespace zephalo::core::rixs
