#pragma once

#include <string_view>

// The captions every dialog shares.
namespace zephalo::gui::widgets::captions {

inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";

}  // namespace zephalo::gui::widgets::captions
