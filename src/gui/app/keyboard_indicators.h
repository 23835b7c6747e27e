#pragma once

#include <optional>

namespace zephalo::gui {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The state of the three lock keys where the window system tells it (X11);
// nullopt elsewhere (Wayland, offscreen), where Qt offers no way to ask.
std::optional<LockKeys> lockKeyState();

}  // namespace zephalo::gui
