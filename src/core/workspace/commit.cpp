#include "workspace/commit.h"

#include <atomic>
#include <system_error>

#include "workspace/os_files.h"
#include "workspace/records.h"
#include "workspace/storage_texts.h"

namespace zephalo::core {

namespace {

constexpr std::string_view kTemporaryEnd = ".tmp";
// Last line of a journal whose renames were all recorded.
constexpr std::string_view kJournalEnd = "end";

struct Rename {
    std::string temporary;
    std::string target;
};

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A plain name inside the folder: no separator, no "." or "..".
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

void removeQuietly(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

// Renames every temporary that still exists over its target; one that cannot
// be renamed is removed. The first failure is returned.
Status applyRenames(const std::filesystem::path& folder, const std::vector<Rename>& renames) {
    Status first;
    for (const auto& r : renames) {
        const auto temporary = folder / pathFromText(r.temporary);
        std::error_code ec;
        if (!std::filesystem::exists(temporary, ec)) continue;
        std::filesystem::rename(temporary, folder / pathFromText(r.target), ec);
        if (ec) {
            removeQuietly(temporary);
            if (first) first = Status::failure(texts::cannotWriteText(r.target));
        }
    }
    os::syncFolder(folder);
    return first;
}

std::string journalText(const std::vector<Rename>& renames) {
    std::string text;
    for (const auto& r : renames) text += r.temporary + '\t' + r.target + '\n';
    text += kJournalEnd;
    text += '\n';
    return text;
}

// The renames of a journal; false when it is incomplete or not one.
bool parseJournal(std::string_view text, std::vector<Rename>& renames) {
    renames.clear();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return false;  // cut off
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line == kJournalEnd) return text.empty();
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return false;
        Rename r{std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))};
        if (!isTemporaryName(r.temporary) || !isPlainName(r.temporary) || !isPlainName(r.target))
            return false;
        renames.push_back(std::move(r));
    }
    return false;
}

}  // namespace

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
    static std::atomic<unsigned long> counter{0};
    const std::string stem = pathText(target.filename()) + '.' + std::to_string(os::processId());
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = target.parent_path() / pathFromText(stem + '-' + std::to_string(counter++) +
                                                        std::string(kTemporaryEnd));
        bool existed = false;
        if (os::writeNewFile(temporary, content, existed)) return {};
        if (!existed) break;
    }
    return Status::failure(texts::cannotWriteText(pathText(target)));
}

Status commitFiles(const std::filesystem::path& folder, const std::vector<StagedFile>& files) {
    std::vector<Rename> renames;
    const auto discard = [&](const Status& status) {
        for (const auto& r : renames) removeQuietly(folder / pathFromText(r.temporary));
        return status;
    };
    for (const auto& file : files) {
        std::filesystem::path temporary;
        if (auto status = writeTemporary(folder / pathFromText(file.name), file.text, temporary);
            !status) {
            return discard(status);
        }
        renames.push_back({pathText(temporary.filename()), file.name});
    }
    const auto journal = folder / pathFromText(kJournalName);
    if (renames.size() > 1) {
        if (auto status = writeTextFileAtomic(journal, journalText(renames)); !status)
            return discard(status);
    }
    Status status = applyRenames(folder, renames);
    if (renames.size() > 1) {
        std::error_code ec;
        std::filesystem::remove(journal, ec);
        os::syncFolder(folder);
    }
    return status;
}

Status recoverFolder(const std::filesystem::path& folder) {
    const auto journal = folder / pathFromText(kJournalName);
    std::error_code ec;
    if (std::filesystem::exists(journal, ec)) {
        std::string text;
        std::vector<Rename> renames;
        if (readTextFile(journal, text) && parseJournal(text, renames)) {
            // A failed rename there has lost only its own file's new text.
            (void)applyRenames(folder, renames);
        }
        std::filesystem::remove(journal, ec);
        if (ec) return Status::failure(texts::recoveryFailedText(pathText(journal)));
        os::syncFolder(folder);
    }
    std::filesystem::directory_iterator entry(folder, ec);
    for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
        std::error_code kind;
        if (isTemporaryName(pathText(entry->path().filename())) && !entry->is_directory(kind)) {
            removeQuietly(entry->path());
        }
    }
    return {};
}

}  // namespace zephalo::core
