#pragma once

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "gui/widgets/message_panel.h"
#include "gui/widgets/widget_captions.h"

// Widgets the step dialogs build alike.
namespace zephalo::gui {

// A caption as shown on a button or radio: "&" would mark a shortcut key.
inline QString shownCaption(std::string_view caption) {
    return toQt(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

inline QLineEdit* numberBox(QWidget* parent, const QString& name, int characters) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 12);
    return box;
}

inline QLabel* label(QWidget* parent, std::string_view caption, QWidget* buddy = nullptr) {
    auto* result = new QLabel(toQt(caption), parent);
    if (buddy) result->setBuddy(buddy);
    return result;
}

inline QPushButton* button(QWidget* parent, std::string_view caption, const QString& name) {
    auto* result = new QPushButton(shownCaption(caption), parent);
    result->setObjectName(name);
    result->setAutoDefault(false);
    return result;
}

// "OK" and "キャンセル", both closing the dialog (accept and reject).
inline QDialogButtonBox* closeButtons(QDialog* dialog) {
    auto* box = new QDialogButtonBox(dialog);
    box->addButton(toQt(widgets::captions::kOk), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("buttonOk"));
    box->addButton(toQt(widgets::captions::kCancel), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("buttonCancel"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

// A run's progress, without text, empty until the run reports.
inline QProgressBar* progressBar(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("progress"));
    bar->setTextVisible(false);
    bar->setRange(0, 1);
    bar->setValue(0);
    return bar;
}

// A step dialog's last row: undo and redo at the left, `close` ("OK",
// "キャンセル") at the right.
inline QHBoxLayout* closeRow(QWidget* undo, QWidget* redo, QWidget* close) {
    auto* row = new QHBoxLayout;
    row->addWidget(undo);
    row->addWidget(redo);
    row->addStretch(1);
    row->addWidget(close);
    return row;
}

// `widgets` left to right in as few rows as keep each row within `width`
// at the widgets' own sizes: one row for short captions, more for long ones.
inline QVBoxLayout* rowsWithin(int width, const QList<QWidget*>& widgets) {
    constexpr int kGap = 6;  // between two buttons of a row
    auto* rows = new QVBoxLayout;
    QHBoxLayout* row = nullptr;
    int used = 0;
    for (QWidget* widget : widgets) {
        const int needed = widget->sizeHint().width();
        if (row && used + kGap + needed <= width) {
            used += kGap + needed;
        } else {
            row = new QHBoxLayout;
            rows->addLayout(row);
            used = needed;
        }
        row->addWidget(widget);
    }
    return rows;
}

// Wide enough for every line of `texts` as they break them, up to the width
// of 40 Japanese characters: the English texts leave their lines for the
// panel to wrap.
inline int widestLine(const QWidget& panel, const QStringList& texts) {
    constexpr int kMostCharacters = 40;
    const int most = panel.fontMetrics().horizontalAdvance(QString(kMostCharacters, QChar(0x3042)));
    int widest = 0;
    for (const QString& text : texts) {
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            widest = std::max(widest, panel.fontMetrics().horizontalAdvance(line));
        }
    }
    constexpr int kFrameAndScrollBar = 40;
    return std::min(widest, most) + kFrameAndScrollBar;
}

}  // namespace zephalo::gui
