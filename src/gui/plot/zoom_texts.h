#pragma once

#include "core/text/text.h"
// Texts of the plot panels' zoom.
namespace zephalo::gui::texts {

using ::zephalo::core::text::Text;

// The context-menu item that returns a zoomed panel to the full view.
inline constexpr Text kFullViewAction = Text("全体表示");

}  // namespace zephalo::gui::texts
