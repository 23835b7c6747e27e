#include "gui/app/resources.h"

#include <QDir>

// The resources live in a static library; registering them explicitly keeps
// the linker from dropping them. Q_INIT_RESOURCE must be used outside any
// namespace.
static void registerResources() {
    Q_INIT_RESOURCE(zephalo);
}

namespace zephalo::gui {

namespace {

void ensureRegistered() {
    static const bool registered = [] {
        registerResources();
        return true;
    }();
    (void)registered;
}

}  // namespace

QIcon applicationIcon() {
    ensureRegistered();
    return QIcon(QStringLiteral(":/zephalo/icon.png"));
}

QPixmap formPicture() {
    ensureRegistered();
    return QPixmap(QStringLiteral(":/zephalo/picture.png"));
}

}  // namespace zephalo::gui
