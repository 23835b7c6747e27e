#include "app/message_panel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zephalo::gui {

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

MessagePanel::MessagePanel(QWidget* parent, int visibleLines) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* caption = new QLabel(QStringLiteral("ZEPHALOからのメッセージ"), this);
    m_edit = new QPlainTextEdit(this);
    m_edit->setReadOnly(true);
    m_edit->setObjectName(QStringLiteral("messagePanel"));
    const int lineHeight = QFontMetrics(m_edit->font()).lineSpacing();
    m_edit->setMinimumHeight(lineHeight * visibleLines + 12);
    caption->setBuddy(m_edit);
    layout->addWidget(caption);
    layout->addWidget(m_edit);
}

void MessagePanel::setText(std::string_view text) {
    m_text = std::string(text);
    QString shown = toQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_edit->setPlainText(shown);
}

}  // namespace zephalo::gui
