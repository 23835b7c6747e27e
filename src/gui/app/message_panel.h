#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace zephalo::gui {

// The read-only, multi-line message panel captioned
// "ZEPHALOからのメッセージ" that the main form and every step dialog carry.
// Each operation replaces its whole text.
class MessagePanel : public QWidget {
    Q_OBJECT
public:
    explicit MessagePanel(QWidget* parent = nullptr, int visibleLines = 6);

    // Replaces the text; "\r\n" line ends are shown as line breaks.
    void setText(std::string_view text);
    // The text exactly as last set.
    const std::string& text() const { return m_text; }

private:
    QPlainTextEdit* m_edit = nullptr;
    std::string m_text;
};

// A work-space number or message text as a QString (both are UTF-8).
QString toQt(std::string_view text);
std::string fromQt(const QString& text);

}  // namespace zephalo::gui
