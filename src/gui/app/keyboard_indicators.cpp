#include "gui/app/keyboard_indicators.h"

#include <QGuiApplication>

#if defined(ZEPHALO_HAVE_X11) && QT_CONFIG(xcb)
// Kept apart from every other header: Xlib defines macros such as Status.
#include <X11/XKBlib.h>
#define ZEPHALO_LOCK_KEYS_FROM_X11 1
#endif

namespace zephalo::gui {

std::optional<LockKeys> lockKeyState() {
#ifdef ZEPHALO_LOCK_KEYS_FROM_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return std::nullopt;
    Display* display = x11->display();
    const auto lit = [display](const char* name) {
        int on = 0;
        const Atom atom = XInternAtom(display, name, True);
        if (atom == 0) return false;
        return XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on != 0;
    };
    return LockKeys{lit("Caps Lock"), lit("Num Lock"), lit("Scroll Lock")};
#else
    return std::nullopt;
#endif
}

}  // namespace zephalo::gui
