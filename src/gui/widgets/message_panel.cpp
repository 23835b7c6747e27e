#include "gui/widgets/message_panel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/widgets/widget_captions.h"

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
    auto* caption = new QLabel(toQt(widgets::captions::kMessages), this);
    m_edit = new QPlainTextEdit(this);
    m_edit->setReadOnly(true);
    m_edit->setObjectName(QStringLiteral("messagePanel"));
    // A line of Japanese text (a hiragana "a"), whose fallback font may be
    // taller than the panel font's own line spacing.
    QTextLayout sample(QString(QChar(0x3042)), m_edit->font());
    sample.beginLayout();
    QTextLine sampleLine = sample.createLine();
    sampleLine.setLineWidth(1000);
    sample.endLayout();
    const int lineHeight = std::max(QFontMetrics(m_edit->font()).lineSpacing(),
                                    static_cast<int>(std::ceil(sampleLine.height())));
    m_baseHeight = lineHeight * visibleLines + 12;
    m_edit->setMinimumHeight(m_baseHeight);
    caption->setBuddy(m_edit);
    layout->addWidget(caption);
    layout->addWidget(m_edit);
}

void MessagePanel::setText(std::string_view text) {
    m_text = std::string(text);
    QString shown = toQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_edit->setPlainText(shown);
    fitText();
}

void MessagePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitText();
}

void MessagePanel::fitText() {
    const QFontMetrics metrics(m_edit->font());
    const int margin = static_cast<int>(std::ceil(m_edit->document()->documentMargin()));
    const int frame = 2 * m_edit->frameWidth();
    // The width a line wraps at without a scroll bar; before the first
    // layout the panel's own width hint stands in for the panel's width.
    const int panelWidth = width() > 0 && isVisible() ? width() : sizeHint().width();
    const qreal wrapWidth = std::max(1, panelWidth - frame - 2 * margin);
    QTextOption option = m_edit->document()->defaultTextOption();
    option.setWrapMode(m_edit->wordWrapMode());
    // Heights as laid out: a line of Japanese text in a fallback font is
    // taller than the panel font's own line spacing.
    qreal textHeight = 0;
    for (const QString& line : m_edit->toPlainText().split(QLatin1Char('\n'))) {
        QTextLayout layout(line, m_edit->font());
        layout.setTextOption(option);
        layout.beginLayout();
        qreal lineHeight = metrics.lineSpacing();
        int pieces = 0;
        for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
            piece.setLineWidth(wrapWidth);
            lineHeight = std::max(lineHeight, piece.height());
            textHeight += lineHeight;
            ++pieces;
        }
        layout.endLayout();
        if (pieces == 0) textHeight += lineHeight;
    }
    const int needed = static_cast<int>(std::ceil(textHeight)) + frame + 2 * margin + 4;
    const int height = std::max(m_baseHeight, needed);
    if (m_edit->minimumHeight() != height) m_edit->setMinimumHeight(height);
}

}  // namespace zephalo::gui
