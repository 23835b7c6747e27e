#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace zephalo::gui {

// The read-only, multi-line message panel captioned
// "ZEPHALOからのメッセージ" that the main form and every step dialog carry.
// Each operation replaces its whole text. A text longer than the panel shows
// makes the panel (and so its window) taller: no message needs scrolling.
class MessagePanel : public QWidget {
    Q_OBJECT
public:
    explicit MessagePanel(QWidget* parent = nullptr, int visibleLines = 6);

    // Replaces the text; "\r\n" line ends are shown as line breaks.
    void setText(std::string_view text);
    // The text exactly as last set.
    const std::string& text() const { return m_text; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Raises the panel's minimum height to every line of the text as it
    // wraps at the panel's width.
    void fitText();

    QPlainTextEdit* m_edit = nullptr;
    int m_baseHeight = 0;
    std::string m_text;
};

// A work-space number or message text as a QString (both are UTF-8).
QString toQt(std::string_view text);
std::string fromQt(const QString& text);

}  // namespace zephalo::gui
