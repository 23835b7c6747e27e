#pragma once

#include <QDialog>

namespace zephalo::gui {

// The modal About box: "バージョン情報 ZEPHALO", the application icon, the
// version line and an "OK" button.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace zephalo::gui
