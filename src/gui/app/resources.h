#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures stored with the program.
namespace zephalo::gui {

// The application icon (window, About box, tool bar).
QIcon applicationIcon();
// The 259 x 98 picture of the main form's picture frame.
QPixmap formPicture();

}  // namespace zephalo::gui
