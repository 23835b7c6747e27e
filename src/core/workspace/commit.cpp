#include "core/workspace/commit.h"

#include <algorithm>
#include <atomic>
#include <system_error>

#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core {

namespace {

constexpr std::string_view kTemporaryEnd = ".tmp";
// Last line of a journal whose parts were all recorded.
constexpr std::string_view kJournalEnd = "end";
// Added after kJournalEnd when the commit is being taken back.
constexpr std::string_view kJournalBack = "back";

// One part of a commit. Names are plain names of the part's folder.
struct Part {
    std::string temporary;  // the new content; empty: the target is removed
    std::string target;
    std::string backup;  // second name of the replaced file; empty: there was none
    bool history = false;
};

std::atomic<unsigned long> g_counter{0};

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string temporaryName(std::string_view target) {
    return std::string(target) + '.' + std::to_string(os::processId()) + '-' +
           std::to_string(g_counter++) + std::string(kTemporaryEnd);
}

// The process id inside a temporary name.
long processOf(std::string_view name) {
    name.remove_suffix(kTemporaryEnd.size());
    const std::string_view id = name.substr(name.rfind('.') + 1);
    try {
        return std::stol(std::string(id.substr(0, id.find('-'))));
    } catch (...) {
        return 0;
    }
}

// Writes a new temporary of `target` into `folder`; its name goes to `name`.
Status writeTemporaryIn(const os::Folder& folder, std::string_view target, std::string_view content,
                        std::string& name) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = temporaryName(target);
        bool existed = false;
        if (folder.writeNew(name, content, existed)) return {};
        if (!existed) break;
    }
    return Status::failure(texts::cannotWriteText(pathText(folder.path() / pathFromText(target))));
}

// Why a rename failed, for the message.
std::string reasonOf(const std::error_code& ec) {
    using std::errc;
    for (errc folder : {errc::is_a_directory, errc::directory_not_empty, errc::file_exists}) {
        if (ec == folder) return std::string(texts::kReasonFolder);
    }
    for (errc denied :
         {errc::permission_denied, errc::operation_not_permitted, errc::read_only_file_system}) {
        if (ec == denied) return std::string(texts::kReasonDenied);
    }
    for (errc full : {errc::no_space_on_device, errc::file_too_large}) {
        if (ec == full) return std::string(texts::kReasonFull);
    }
    for (errc busy : {errc::device_or_resource_busy, errc::text_file_busy}) {
        if (ec == busy) return std::string(texts::kReasonBusy);
    }
#ifdef _WIN32
    constexpr int kSharingViolation = 32;
    if (ec.category() == std::system_category() && ec.value() == kSharingViolation)
        return std::string(texts::kReasonBusy);
#endif
    return texts::systemReasonText(ec.message());
}

class Commit {
public:
    Commit(const os::Folder& folder, const os::Folder* history)
        : m_folder(folder), m_history(history) {}

    const os::Folder& folderOf(const Part& p) const { return p.history ? *m_history : m_folder; }

    std::string placeText(const Part& p) const {
        return pathText(folderOf(p).path() / pathFromText(p.target));
    }

    // Forward: every temporary still there renamed over its target, every
    // removal done. The first failure stops it.
    Status forward(const std::vector<Part>& parts) const {
        for (const auto& p : parts) {
            const os::Folder& f = folderOf(p);
            if (p.temporary.empty()) {
                if (f.kind(p.target) != os::EntryKind::Missing) {
                    if (auto ec = f.remove(p.target))
                        return Status::failure(texts::renameFailedText(placeText(p), reasonOf(ec)));
                }
                continue;
            }
            if (f.kind(p.temporary) == os::EntryKind::Missing) continue;  // renamed before
            if (auto ec = f.rename(p.temporary, f, p.target))
                return Status::failure(texts::renameFailedText(placeText(p), reasonOf(ec)));
        }
        return {};
    }

    // Back: every replaced file returned from its second name, every file
    // that was new and already renamed into place removed.
    bool back(const std::vector<Part>& parts) const {
        bool ok = true;
        for (const auto& p : parts) {
            const os::Folder& f = folderOf(p);
            if (!p.backup.empty()) {
                if (f.kind(p.backup) == os::EntryKind::Missing) continue;  // returned before
                ok = !f.rename(p.backup, f, p.target) && ok;
            } else if (!p.temporary.empty() && f.kind(p.temporary) == os::EntryKind::Missing &&
                       f.kind(p.target) == os::EntryKind::File) {
                ok = !f.remove(p.target) && ok;
            }
        }
        return ok;
    }

    // The temporaries and second names that remain.
    void clean(const std::vector<Part>& parts) const {
        for (const auto& p : parts) {
            const os::Folder& f = folderOf(p);
            if (!p.temporary.empty()) (void)f.remove(p.temporary);
            if (!p.backup.empty()) (void)f.remove(p.backup);
        }
        sync();
    }

    void sync() const {
        m_folder.sync();
        if (m_history) m_history->sync();
    }

    Status writeJournal(const std::vector<Part>& parts, bool takingBack) const {
        std::string text;
        for (const auto& p : parts) {
            const std::string prefix = p.history ? std::string(kHistoryFolderName) + '/' : "";
            text += (p.temporary.empty() ? "" : prefix + p.temporary) + '\t' + prefix + p.target +
                    '\t' + (p.backup.empty() ? "" : prefix + p.backup) + '\n';
        }
        text += kJournalEnd;
        text += '\n';
        if (takingBack) {
            text += kJournalBack;
            text += '\n';
        }
        std::string temporary;
        if (auto status = writeTemporaryIn(m_folder, kJournalName, text, temporary); !status)
            return status;
        if (m_folder.rename(temporary, m_folder, kJournalName)) {
            (void)m_folder.remove(temporary);
            return Status::failure(
                texts::cannotWriteText(pathText(m_folder.path() / pathFromText(kJournalName))));
        }
        m_folder.sync();
        return {};
    }

    // Takes the parts back, recording that in the journal first so that a
    // kill part-way is taken back by the next opener as well.
    bool takeBack(const std::vector<Part>& parts) const {
        if (!writeJournal(parts, true)) return false;
        if (!back(parts)) return false;
        sync();
        return finish(parts);
    }

    // Ends a commit that is all before or all after: the journal goes first.
    bool finish(const std::vector<Part>& parts) const {
        if (auto ec = m_folder.remove(kJournalName);
            ec && ec != std::errc::no_such_file_or_directory)
            return false;
        m_folder.sync();
        clean(parts);
        return true;
    }

private:
    const os::Folder& m_folder;
    const os::Folder* m_history;
};

// A journal name: a plain name of the work space or of its history folder.
bool parsePlace(std::string_view text, std::string& name, bool& history) {
    const std::string prefix = std::string(kHistoryFolderName) + '/';
    history = text.starts_with(prefix);
    if (history) text.remove_prefix(prefix.size());
    name = std::string(text);
    return isPlainName(text);
}

// A second name or temporary of `target`: "<target>.<digits>-<digits>.tmp".
bool belongsTo(std::string_view temporary, std::string_view target) {
    if (temporary.size() <= target.size() || !temporary.starts_with(target) ||
        temporary[target.size()] != '.')
        return false;
    std::string_view id = temporary.substr(target.size() + 1);
    if (!id.ends_with(kTemporaryEnd)) return false;
    id.remove_suffix(kTemporaryEnd.size());
    const std::size_t dash = id.find('-');
    return dash != std::string_view::npos && isDigits(id.substr(0, dash)) &&
           isDigits(id.substr(dash + 1));
}

// The parts of a journal and whether it was being taken back; false when it
// is incomplete or names anything but the files of a commit.
bool parseJournal(std::string_view text, std::vector<Part>& parts, bool& takingBack) {
    parts.clear();
    takingBack = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return false;  // cut off
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line == kJournalEnd) {
            if (text == std::string(kJournalBack) + '\n') {
                takingBack = true;
                return true;
            }
            return text.empty();
        }
        // "temporary TAB target TAB backup"; a journal of an earlier version
        // has no backup field.
        const std::size_t tab1 = line.find('\t');
        if (tab1 == std::string_view::npos) return false;
        std::size_t tab2 = line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) tab2 = line.size();
        Part p;
        bool targetHistory = false;
        if (!parsePlace(line.substr(tab1 + 1, tab2 - tab1 - 1), p.target, targetHistory))
            return false;
        p.history = targetHistory;
        for (auto [field, out] :
             {std::pair{line.substr(0, tab1), &p.temporary},
              std::pair{line.substr(std::min(tab2 + 1, line.size())), &p.backup}}) {
            if (field.empty()) continue;
            bool history = false;
            if (!parsePlace(field, *out, history) || history != targetHistory ||
                !belongsTo(*out, p.target))
                return false;
        }
        if (p.temporary.empty() && p.backup.empty()) return false;
        parts.push_back(std::move(p));
    }
    return false;
}

void removeStrayTemporaries(const os::Folder& folder) {
    for (const auto& name : folder.names()) {
        if (isTemporaryName(name) && folder.kind(name) != os::EntryKind::Folder)
            (void)folder.remove(name);
    }
}

}  // namespace

bool isPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

bool isTemporaryName(std::string_view name) {
    // "<name>.<digits>-<digits>.tmp"
    if (!name.ends_with(kTemporaryEnd)) return false;
    name.remove_suffix(kTemporaryEnd.size());
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return false;
    const std::string_view id = name.substr(dot + 1);
    const std::size_t dash = id.find('-');
    return dash != std::string_view::npos && isDigits(id.substr(0, dash)) &&
           isDigits(id.substr(dash + 1));
}

Status writeTemporary(const std::filesystem::path& target, std::string_view content,
                      std::filesystem::path& temporary) {
    const auto folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    const std::string name = os::textOf(target.filename());
    // A kill of an earlier save of this name may have left its temporary.
    std::error_code ec;
    std::filesystem::directory_iterator entry(folder, ec);
    for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
        const std::string otherName = os::textOf(entry->path().filename());
        if (belongsTo(otherName, name) && !os::processRuns(processOf(otherName))) {
            std::error_code ignored;
            std::filesystem::remove(entry->path(), ignored);
        }
    }
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = folder / pathFromText(temporaryName(name));
        bool supported = false;
        if (os::writeUnnamedThenLink(temporary, content, supported)) return {};
        bool existed = false;
        if (!supported && os::writeNewFile(temporary, content, existed)) return {};
        if (supported) {
            std::error_code ignored;
            if (!std::filesystem::exists(temporary, ignored)) break;
        } else if (!existed) {
            break;
        }
    }
    return Status::failure(texts::cannotWriteText(pathText(target)));
}

Status commitFiles(const os::Folder& folder, const os::Folder* history,
                   const std::vector<StagedFile>& files) {
    const Commit commit(folder, history);
    bool journaled = files.size() > 1;
    for (const auto& file : files) journaled = journaled || file.remove;
    std::vector<Part> parts;
    const auto discard = [&](const Status& status) {
        commit.clean(parts);
        return status;
    };
    for (const auto& file : files) {
        Part p;
        p.target = file.name;
        p.history = file.history;
        const os::Folder& f = commit.folderOf(p);
        if (!file.remove) {
            if (auto status = writeTemporaryIn(f, file.name, file.text, p.temporary); !status)
                return discard(status);
        }
        const os::EntryKind kind = f.kind(file.name);
        if (journaled && (kind == os::EntryKind::File || kind == os::EntryKind::Link)) {
            p.backup = temporaryName(file.name);
            if (f.link(file.name, p.backup)) {
                // No second name on this file system: a copy of the content.
                std::string old;
                std::uintmax_t size = 0;
                bool existed = false;
                if (kind != os::EntryKind::File ||
                    f.read(file.name, kMaxFileBytes * 64, old, size) != os::ReadResult::Done ||
                    !f.writeNew(p.backup, old, existed)) {
                    p.backup.clear();
                    parts.push_back(std::move(p));
                    return discard(
                        Status::failure(texts::cannotWriteText(commit.placeText(parts.back()))));
                }
            }
        } else if (file.remove) {
            continue;  // nothing to remove
        }
        parts.push_back(std::move(p));
    }
    if (parts.empty()) return {};
    if (journaled) {
        if (auto status = commit.writeJournal(parts, false); !status) return discard(status);
    }
    Status status = commit.forward(parts);
    commit.sync();
    if (status) {
        if (journaled && !commit.finish(parts))
            return Status::failure(
                texts::recoveryFailedText(pathText(folder.path() / pathFromText(kJournalName))));
        if (!journaled) commit.clean(parts);
        return {};
    }
    // A rename failed: the renames done are taken back.
    if (!journaled) {
        commit.clean(parts);
        return Status::failure(status.error() + std::string(kWorkspaceUnchanged));
    }
    if (commit.takeBack(parts))
        return Status::failure(status.error() + std::string(kWorkspaceUnchanged));
    return Status::failure(status.error() + texts::takeBackPendingText());
}

Status recoverFolder(const os::Folder& folder, const os::Folder* history, Recovered& recovered) {
    recovered = Recovered::Nothing;
    const Commit commit(folder, history);
    if (folder.kind(kJournalName) != os::EntryKind::Missing) {
        std::string text;
        std::uintmax_t size = 0;
        std::vector<Part> parts;
        bool takingBack = false;
        const bool valid =
            folder.read(kJournalName, kMaxFileBytes, text, size) == os::ReadResult::Done &&
            parseJournal(text, parts, takingBack);
        bool usable = valid;
        for (const auto& p : parts) usable = usable && (!p.history || history);
        const auto failed = [&] {
            return Status::failure(
                texts::recoveryFailedText(pathText(folder.path() / pathFromText(kJournalName))));
        };
        if (!usable) {
            // Cut off before its end (no rename was done) or not a journal.
            if (auto ec = folder.remove(kJournalName);
                ec && ec != std::errc::no_such_file_or_directory)
                return failed();
            folder.sync();
        } else if (!takingBack && commit.forward(parts)) {
            commit.sync();
            if (!commit.finish(parts)) return failed();
            recovered = Recovered::Completed;
        } else {
            if (!commit.takeBack(parts)) return failed();
            recovered = Recovered::RolledBack;
        }
    }
    removeStrayTemporaries(folder);
    if (history) removeStrayTemporaries(*history);
    return {};
}

}  // namespace zephalo::core
