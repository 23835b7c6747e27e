#pragma once

#include <QTranslator>
#include <optional>
#include <string_view>

#include "core/text/language.h"

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

// Loads Qt's own texts (file dialogs, message boxes) in `language` from Qt's
// translations folder into `translator` and installs it. False when Qt's
// translations are not installed; the dialogs stay in English then.
bool installQtTranslations(QTranslator& translator, core::text::Language language);

// The language chosen in the main window's language menu, kept in the
// user's settings for the next start; nullopt before any choice.
std::optional<core::text::Language> rememberedLanguage();
void rememberLanguage(core::text::Language language);

// The desktop's language: ZEPHALO_LANG when it names one, else the
// remembered choice, else the system locale (as the command line reads it).
core::text::Language desktopLanguage(std::optional<core::text::Language> remembered);

}  // namespace zephalo::gui
