#include "gui/app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/app_texts.h"
#include "gui/app/resources.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(toQt(texts::kAboutTitle));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("ZEPHALO, Version " ZEPHALO_VERSION), this);
    auto* licence = new QLabel(QString::fromUtf8(texts::kLicenceLine), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    auto* lines = new QVBoxLayout;
    lines->addWidget(version);
    lines->addWidget(licence);
    row->addLayout(lines, 1);
    row->addSpacing(12);
    row->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zephalo::gui
