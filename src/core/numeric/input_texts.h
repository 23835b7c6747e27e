#pragma once

#include <string>
#include <string_view>

#include "workspace/workspace.h"

// Refusal texts that the kernels' file wrappers share.
namespace zephalo::core::numeric {

// "　ファイル <path> がありません。\r\n" followed by `hint` (one or more full
// lines of advice, each starting with a full-width space).
inline std::string missingInputText(const Workspace& workspace, std::string_view fileName,
                                    std::string_view hint) {
    return "　ファイル " + pathText(workspace.path(fileName)) + " がありません。\r\n" +
           std::string(hint);
}

}  // namespace zephalo::core::numeric
