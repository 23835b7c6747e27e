#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

#include "core/text/catalogue.h"

// A user-visible text of a texts or captions header: its Japanese source,
// shown in the process's language wherever it becomes a string. Written as
// `Text("...")` so that scripts/update-translations.sh extracts it.
namespace zephalo::core::text {

class Text {
public:
    constexpr explicit Text(std::string_view source) : m_source(source) {}

    // The Japanese source, for what is stored (step names) and for the catalogue.
    constexpr std::string_view source() const { return m_source; }
    std::string_view view() const { return tr(m_source); }
    operator std::string_view() const { return view(); }
    operator std::string() const { return std::string(view()); }
    // Zero-terminated: both the catalogue's strings and the sources are.
    const char* c_str() const { return view().data(); }
    const char* data() const { return view().data(); }
    std::size_t size() const { return view().size(); }
    bool empty() const { return m_source.empty(); }
    friend bool operator==(const Text& a, std::string_view b) { return a.view() == b; }

private:
    std::string_view m_source;
};

inline std::string operator+(const Text& a, std::string_view b) {
    return std::string(a.view()).append(b);
}
inline std::string operator+(std::string a, const Text& b) {
    return a.append(b.view());
}
inline std::string operator+(const Text& a, const Text& b) {
    return std::string(a.view()).append(b.view());
}
inline std::string operator+(const char* a, const Text& b) {
    return std::string(a).append(b.view());
}
inline std::string operator+(const Text& a, const char* b) {
    return std::string(a.view()).append(b);
}
inline std::string operator+(const Text& a, char b) {
    return std::string(a.view()) + b;
}
inline std::string& operator+=(std::string& a, const Text& b) {
    return a.append(b.view());
}
// `pattern` in the process's language with each "{}" replaced by the next of
// `values`, for a sentence whose words go round the values differently in
// each language.
std::string fill(const Text& pattern, std::initializer_list<std::string_view> values);

inline std::ostream& operator<<(std::ostream& out, const Text& text) {
    return out << text.view();
}

}  // namespace zephalo::core::text
