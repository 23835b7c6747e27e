#pragma once

#include <string>
#include <string_view>

#include "core/workspace/workspace.h"

// Refusal texts that the kernels' file wrappers share.
namespace zephalo::core::numeric {

// "　ファイル <path> がありません。\r\n" followed by `hint` (one or more full
// lines of advice, each starting with a full-width space).
inline std::string missingInputText(const Workspace& workspace, std::string_view fileName,
                                    std::string_view hint) {
    return "　ファイル " + pathText(workspace.path(fileName)) + " がありません。\r\n" +
           std::string(hint);
}

// A calculated value that is not finite: `quantity` at the emission energy
// `energy` (eV), with the scaling factor and the selective XAFS file that
// feed it.
inline std::string nonFiniteResultText(std::string_view quantity, std::string_view energy,
                                       std::string_view scaling, std::string_view selectiveFile) {
    return "　計算したRIXSスペクトルの発光エネルギー" + std::string(energy) + " eVでの" +
           std::string(quantity) + "が有限の数値になりません。\r\n　スケーリング因子（" +
           std::string(scaling) + "）と選択的XAFS（" + std::string(selectiveFile) +
           "）の値の大きさを確認して下さい。";
}

}  // namespace zephalo::core::numeric
