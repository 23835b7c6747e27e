#pragma once

#include <string_view>

// Captions and texts of saving a panel: the context-menu actions and the
// sentence after a save.
namespace zephalo::gui::plot::captions {

inline constexpr std::string_view kSaveImage = "画像として保存…";
inline constexpr std::string_view kSaveData = "データとして保存…";

}  // namespace zephalo::gui::plot::captions
