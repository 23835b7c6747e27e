#pragma once

#include "core/text/text.h"

namespace zephalo::core {

// Ends a refusal that left every work-space file as it was.
inline constexpr text::Text kWorkspaceUnchanged =
    text::Text("\r\n　ワークスペースのファイルは何も変更していません。");

}  // namespace zephalo::core
