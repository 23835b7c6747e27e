#include "core/workspace/history.h"

#include <ctime>
#include <utility>

#include "core/workspace/commit.h"
#include "core/workspace/os_files.h"
#include "core/workspace/records.h"
#include "core/workspace/step.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core {

namespace {

// The list of steps inside the history folder; the kept contents lie beside
// it, one file per content ("<step>-<file>.before", "<step>-<file>.after").
constexpr std::string_view kManifestName = "steps";
constexpr std::string_view kManifestHead = "ZEPHALO history 1";

struct FileChange {
    std::string name;
    std::string before;  // kept content's file; empty: the file did not exist
    std::string after;   // empty: the step removed it
};

struct Entry {
    unsigned long id = 0;
    bool undone = false;
    bool origin = false;   // the step that created the work space's files
    bool refused = false;  // refused, yet kept what its operation writes first
    std::string when;
    std::uintmax_t bytes = 0;  // of its kept contents
    StepDescription description;
    std::vector<FileChange> files;
};

struct History {
    unsigned long next = 1;
    std::vector<Entry> entries;
};

// Fields are TAB-separated; a TAB, a line end or '%' inside one is written
// as %XX.
std::string encode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '%') {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xfu];
        } else {
            out += c;
        }
    }
    return out;
}

bool decode(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        unsigned value = 0;
        for (std::size_t k = 1; k <= 2; ++k) {
            const char h = text[i + k];
            value <<= 4;
            if (h >= '0' && h <= '9')
                value += static_cast<unsigned>(h - '0');
            else if (h >= 'A' && h <= 'F')
                value += static_cast<unsigned>(h - 'A' + 10);
            else
                return false;
        }
        out += static_cast<char>(value);
        i += 2;
    }
    return true;
}

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

bool number(std::string_view text, std::uintmax_t& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    out = 0;
    for (const char c : text) out = out * 10 + static_cast<std::uintmax_t>(c - '0');
    return true;
}

// A kept content's name: a plain name ending ".before" or ".after".
bool isBlobName(std::string_view name) {
    return name.empty() ||
           (isPlainName(name) && (name.ends_with(".before") || name.ends_with(".after")));
}

std::string formatManifest(const History& h) {
    std::string text = std::string(kManifestHead) + '\n';
    text += "next\t" + std::to_string(h.next) + '\n';
    for (const auto& e : h.entries) {
        std::string flags =
            std::string(e.undone ? "u" : "") + (e.origin ? "o" : "") + (e.refused ? "r" : "");
        if (flags.empty()) flags = "-";
        text += "step\t" + std::to_string(e.id) + '\t' + flags + '\t' + encode(e.when) + '\t' +
                std::to_string(e.bytes) + '\t' + encode(e.description.title);
        for (const auto& word : e.description.command) text += '\t' + encode(word);
        text += '\n';
        for (const auto& f : e.files)
            text += "file\t" + f.name + '\t' + f.before + '\t' + f.after + '\n';
    }
    return text;
}

bool parseManifest(std::string_view text, History& h) {
    h = History{};
    bool head = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return false;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (!head) {
            if (line != kManifestHead) return false;
            head = true;
            continue;
        }
        const auto fields = split(line);
        std::uintmax_t value = 0;
        if (fields[0] == "next" && fields.size() == 2 && number(fields[1], value)) {
            h.next = static_cast<unsigned long>(value);
        } else if (fields[0] == "step" && fields.size() >= 6 && number(fields[1], value)) {
            Entry e;
            e.id = static_cast<unsigned long>(value);
            e.undone = fields[2].find('u') != std::string_view::npos;
            e.origin = fields[2].find('o') != std::string_view::npos;
            e.refused = fields[2].find('r') != std::string_view::npos;
            if (!decode(fields[3], e.when) || !number(fields[4], e.bytes) ||
                !decode(fields[5], e.description.title))
                return false;
            for (std::size_t i = 6; i < fields.size(); ++i) {
                std::string word;
                if (!decode(fields[i], word)) return false;
                e.description.command.push_back(std::move(word));
            }
            h.entries.push_back(std::move(e));
        } else if (fields[0] == "file" && fields.size() == 4 && !h.entries.empty() &&
                   isPlainName(fields[1]) && isBlobName(fields[2]) && isBlobName(fields[3])) {
            h.entries.back().files.push_back(
                {std::string(fields[1]), std::string(fields[2]), std::string(fields[3])});
        } else {
            return false;
        }
    }
    return head;
}

enum class Loaded { Missing, Done, Unreadable };

Loaded loadHistory(const os::Folder& history, History& h) {
    h = History{};
    if (!history.isOpen() || history.kind(kManifestName) == os::EntryKind::Missing)
        return Loaded::Missing;
    std::string text;
    if (!readFolderFile(history, kManifestName, text) || !parseManifest(text, h))
        return Loaded::Unreadable;
    return Loaded::Done;
}

std::string localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string fileList(const Entry& e) {
    std::string list;
    for (const auto& f : e.files) list += (list.empty() ? "" : ", ") + escapedText(f.name);
    return list;
}

// Removes an entry's kept contents in the commit.
void dropContents(const Entry& e, std::vector<StagedFile>& files) {
    for (const auto& f : e.files) {
        for (const auto* blob : {&f.before, &f.after}) {
            if (!blob->empty()) files.push_back({*blob, {}, true, true});
        }
    }
}

// True when the folder holds nothing but the storage layer's own files: the
// step that writes now starts the work space.
bool startsTheWorkspace(const os::Folder& folder) {
    for (const auto& name : folder.names()) {
        if (name != kLockFileName && name != kJournalName && name != kHistoryFolderName &&
            !isTemporaryName(name))
            return false;
    }
    return true;
}

// The history of the work space, read outside a step.
Status readOutside(const Workspace& workspace, History& h) {
    os::Folder folder;
    os::Folder history;
    if (!folder.open(workspace.directory()) ||
        !history.openInside(folder, kHistoryFolderName, false)) {
        h = History{};
        return {};
    }
    if (loadHistory(history, h) == Loaded::Unreadable) {
        return Status::failure(
            texts::historyUnreadableText(pathText(history.path() / pathFromText(kManifestName))));
    }
    return {};
}

// Undo (`forward` false) or redo inside its step.
Report moveStep(const Workspace& workspace, bool forward) {
    StepStaging& staging = workspace.staging();
    const auto nothing = [&] {
        return Report::refused(forward ? texts::nothingToRedoText() : texts::nothingToUndoText());
    };
    os::Folder history;
    if (!staging.folder || !history.openInside(*staging.folder, kHistoryFolderName, false))
        return nothing();
    History h;
    switch (loadHistory(history, h)) {
        case Loaded::Missing:
            return nothing();
        case Loaded::Unreadable:
            return Report::refusedUnchanged(Status::failure(texts::historyUnreadableText(
                pathText(history.path() / pathFromText(kManifestName)))));
        case Loaded::Done:
            break;
    }
    Entry* entry = nullptr;
    if (forward) {
        for (auto& e : h.entries) {
            if (e.undone) {
                entry = &e;
                break;
            }
        }
    } else {
        for (auto it = h.entries.rbegin(); it != h.entries.rend(); ++it) {
            if (!it->undone) {
                if (!it->origin) entry = &*it;
                break;
            }
        }
    }
    if (!entry) return nothing();
    for (const auto& f : entry->files) {
        const std::string& blob = forward ? f.after : f.before;
        if (blob.empty()) {
            staging.removed.insert(f.name);
            staging.files.erase(f.name);
            continue;
        }
        std::string text;
        if (auto status = readFolderFile(history, blob, text); !status)
            return Report::refusedUnchanged(status);
        if (auto status = workspace.writeText(f.name, text); !status)
            return Report::refusedUnchanged(status);
        staging.removed.erase(f.name);
    }
    entry->undone = !forward;
    staging.historyStep = true;
    staging.historyFiles.insert_or_assign(std::string(kManifestName), formatManifest(h));
    // A button's caption as the history stores it, in Japanese; shown translated.
    const std::string title = escapedText(text::tr(entry->description.title));
    return Report::success(forward ? texts::redoneText(title, fileList(*entry))
                                   : texts::undoneText(title, fileList(*entry)));
}

std::string shellQuoted(std::string_view word) {
    std::string out = "'";
    for (const char c : word) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

}  // namespace

Status recordStep(const os::Folder& folder, const os::Folder& history,
                  const StepDescription& description, bool refused,
                  std::vector<StagedFile>& files) {
    History h;
    const Loaded loaded = loadHistory(history, h);
    if (loaded == Loaded::Unreadable) h = History{};  // begins again
    std::vector<StagedFile> kept;
    // A new step ends the redo branch.
    while (!h.entries.empty() && h.entries.back().undone) {
        dropContents(h.entries.back(), kept);
        h.entries.pop_back();
    }
    Entry e;
    e.id = h.next++;
    e.when = localTime();
    e.description = description;
    e.refused = refused;
    e.origin = loaded == Loaded::Missing && startsTheWorkspace(folder);
    for (std::size_t k = 0; k < files.size(); ++k) {
        const StagedFile& file = files[k];
        FileChange change{file.name, {}, {}};
        const std::string stem = std::to_string(e.id) + '-' + std::to_string(k);
        std::string old;
        if (folder.kind(file.name) == os::EntryKind::File &&
            readFolderFile(folder, file.name, old)) {
            change.before = stem + ".before";
            e.bytes += old.size();
            kept.push_back({change.before, std::move(old), false, true});
        }
        if (!file.remove) {
            change.after = stem + ".after";
            e.bytes += file.text.size();
            kept.push_back({change.after, file.text, false, true});
        }
        e.files.push_back(std::move(change));
    }
    h.entries.push_back(std::move(e));
    // The bound: the oldest steps go first, the newest always stays.
    std::uintmax_t total = 0;
    for (const auto& entry : h.entries) total += entry.bytes;
    std::size_t drop = 0;
    while (drop + 1 < h.entries.size() &&
           (h.entries.size() - drop > kHistorySteps || total > kHistoryBytes)) {
        total -= h.entries[drop].bytes;
        dropContents(h.entries[drop], kept);
        ++drop;
    }
    h.entries.erase(h.entries.begin(), h.entries.begin() + static_cast<long>(drop));
    kept.push_back({std::string(kManifestName), formatManifest(h), false, true});
    files.insert(files.end(), std::make_move_iterator(kept.begin()),
                 std::make_move_iterator(kept.end()));
    return {};
}

Report undoStep(const Workspace& workspace) {
    return runStep(workspace, [&] { return moveStep(workspace, false); });
}

Report redoStep(const Workspace& workspace) {
    return runStep(workspace, [&] { return moveStep(workspace, true); });
}

Status readHistory(const Workspace& workspace, std::vector<HistoryEntry>& entries) {
    entries.clear();
    History h;
    if (auto status = readOutside(workspace, h); !status) return status;
    for (const auto& e : h.entries) {
        HistoryEntry out{e.when, e.description, {}, e.undone};
        for (const auto& f : e.files) out.files.push_back(f.name);
        entries.push_back(std::move(out));
    }
    return {};
}

std::optional<std::string> undoTitle(const Workspace& workspace) {
    History h;
    if (!readOutside(workspace, h)) return std::nullopt;
    for (auto it = h.entries.rbegin(); it != h.entries.rend(); ++it) {
        if (!it->undone) {
            if (it->origin) return std::nullopt;
            return it->description.title;
        }
    }
    return std::nullopt;
}

std::optional<std::string> redoTitle(const Workspace& workspace) {
    History h;
    if (!readOutside(workspace, h)) return std::nullopt;
    for (const auto& e : h.entries) {
        if (e.undone) return e.description.title;
    }
    return std::nullopt;
}

Status historyScript(const Workspace& workspace, std::string& script) {
    History h;
    if (auto status = readOutside(workspace, h); !status) return status;
    if (h.entries.empty() || !h.entries.front().origin)
        return Status::failure(texts::scriptWithoutStartText());
    script =
        "#!/usr/bin/env bash\n"
        "# Rebuilds the ZEPHALO work space " +
        escapedText(workspace.directoryText()) +
        " from its input files,\n"
        "# step by step as its history records them.\n"
        "# Usage: bash SCRIPT [WORK_SPACE]  (else $ZEPHALO_WORK_SPACE; a new or empty "
        "folder)\n"
        "# zephalo-cli is taken from PATH unless ZEPHALO_CLI names it.\n"
        "set -euo pipefail\n"
        "ws=\"${1:-${ZEPHALO_WORK_SPACE:-}}\"\n"
        "if [ -z \"$ws\" ]; then\n"
        "  echo \"usage: $0 WORK_SPACE (or set ZEPHALO_WORK_SPACE)\" >&2\n"
        "  exit 2\n"
        "fi\n"
        "if [ -e \"$ws\" ] && [ -n \"$(ls -A \"$ws\")\" ]; then\n"
        "  echo \"$ws is not empty: the steps start from a new work space\" >&2\n"
        "  exit 2\n"
        "fi\n"
        "cli=\"${ZEPHALO_CLI:-zephalo-cli}\"\n";
    std::size_t number = 0;
    for (const auto& e : h.entries) {
        ++number;
        if (e.undone) break;
        if (e.description.command.empty()) {
            script.clear();
            return Status::failure(
                texts::scriptWithoutCommandText(number, escapedText(e.description.title)));
        }
        script += "# " + escapedText(e.when) + "  " + escapedText(e.description.title) + '\n';
        script += "\"$cli\" --workspace \"$ws\"";
        for (const auto& word : e.description.command) script += ' ' + shellQuoted(word);
        // A step that refused yet kept files refuses again the same way.
        script += e.refused ? " || true\n" : "\n";
    }
    return {};
}

}  // namespace zephalo::core
