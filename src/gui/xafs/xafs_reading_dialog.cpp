#include "xafs/xafs_reading_dialog.h"

namespace zephalo::gui {

CXAFSReading::CXAFSReading(const core::Workspace& /*workspace*/, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("XAFS計算読込"));
    setModal(true);
}

}  // namespace zephalo::gui
