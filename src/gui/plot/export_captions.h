#pragma once

#include <string_view>
#include "core/text/text.h"

// Captions and texts of saving a panel: the context-menu actions and the
// sentence after a save.
namespace zephalo::gui::plot::captions {

using ::zephalo::core::text::Text;

inline constexpr Text kSaveImage = Text("画像として保存…");
inline constexpr Text kSaveData = Text("データとして保存…");

}  // namespace zephalo::gui::plot::captions
