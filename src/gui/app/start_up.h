#pragma once

#include <QTranslator>
#include <string_view>

// What the program checks and loads before its window opens.
namespace zephalo::gui {

// Whether Qt can open a window: on Linux a display (DISPLAY or
// WAYLAND_DISPLAY) or a platform chosen by QT_QPA_PLATFORM or "-platform";
// always true elsewhere. Reads the environment and the arguments only, so it
// runs before QApplication exists.
bool displayAvailable(int argc, const char* const* argv);

// Whether the arguments ask only for the version ("--version"), which the
// program prints without opening a window.
bool versionAsked(int argc, const char* const* argv);

// Loads Qt's own Japanese texts (file dialogs, message boxes) from Qt's
// translations folder into `translator` and installs it. False when Qt's
// translations are not installed; the dialogs stay in English then.
bool installQtJapanese(QTranslator& translator);

}  // namespace zephalo::gui
