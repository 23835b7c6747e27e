#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "core/workspace/status_texts.h"

namespace zephalo::core {

// The outcome of an operation that may refuse: empty error text means it did
// its work. The error text is written for the message panel.
class [[nodiscard]] Status {
public:
    Status() = default;
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return m_error.empty(); }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return m_error; }

private:
    explicit Status(std::string message) : m_error(std::move(message)) {
        if (m_error.empty()) m_error = "error";
    }
    std::string m_error;
};

}  // namespace zephalo::core

namespace zephalo::core {

// What a button operation tells the user: the message-panel text, and whether
// the operation did its work (false: it refused, and changed no file beyond
// what its text says).
struct Report {
    std::string text;
    bool done = true;

    static Report success(std::string message) { return {std::move(message), true}; }
    static Report refused(std::string message) { return {std::move(message), false}; }
    static Report refused(const Status& status) { return refused(status.error()); }
    // A refusal that changed no work-space file, saying so.
    static Report refusedUnchanged(const Status& status) {
        return refused(status.error() + std::string(kWorkspaceUnchanged));
    }
    static Report from(const Status& status, std::string successText) {
        return status ? success(std::move(successText)) : refused(status.error());
    }
};

}  // namespace zephalo::core
