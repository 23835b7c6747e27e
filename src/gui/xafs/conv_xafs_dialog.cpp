#include "xafs/conv_xafs_dialog.h"

namespace zephalo::gui {

CConvXAFS::CConvXAFS(const core::Workspace& /*workspace*/, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Conventional XAFS"));
    setModal(true);
}

}  // namespace zephalo::gui
