#pragma once

// Texts of the plot panels' zoom.
namespace zephalo::gui::texts {

// The context-menu item that returns a zoomed panel to the full view.
inline constexpr const char* kFullViewAction = "全体表示";

}  // namespace zephalo::gui::texts
