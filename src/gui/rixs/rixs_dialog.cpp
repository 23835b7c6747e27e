#include "rixs/rixs_dialog.h"

namespace zephalo::gui {

CRIXSXAFS::CRIXSXAFS(const core::Workspace& /*workspace*/, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("RIXSシミュレーション"));
    setModal(true);
}

}  // namespace zephalo::gui
