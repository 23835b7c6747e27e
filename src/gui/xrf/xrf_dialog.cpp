#include "xrf/xrf_dialog.h"

namespace zephalo::gui {

CXRF::CXRF(const core::Workspace& /*workspace*/, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("蛍光X線による設定"));
    setModal(true);
}

}  // namespace zephalo::gui
