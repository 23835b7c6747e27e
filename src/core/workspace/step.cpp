#include "core/workspace/step.h"

#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/workspace/commit.h"
#include "core/workspace/history.h"
#include "core/workspace/os_files.h"
#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

// Takes the work space's lock in the folder held open, polling until `wait`
// has passed.
Status takeLock(const Workspace& workspace, const os::Folder& folder,
                std::chrono::milliseconds wait, os::FileLock& lock) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        bool opened = false;
        if (folder.tryLock(kLockFileName, lock, opened)) return {};
        if (!opened) {
            const std::string file = pathText(workspace.path(kLockFileName));
            return Status::failure(folder.kind(kLockFileName) == os::EntryKind::Link
                                       ? texts::linkText(file) + std::string(kWorkspaceUnchanged)
                                       : texts::lockFailedText(file));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Status::failure(texts::busyText(workspace.directoryText()));
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

// The lock, then the end of an interrupted commit; `note` says what the
// opener did about it.
Status openStep(const Workspace& workspace, const os::Folder& folder,
                std::chrono::milliseconds wait, os::FileLock& lock, os::Folder& history,
                std::string& note) {
    if (auto status = takeLock(workspace, folder, wait, lock); !status) return status;
    history.openInside(folder, kHistoryFolderName, false);
    Recovered recovered = Recovered::Nothing;
    if (auto status = recoverFolder(folder, history.isOpen() ? &history : nullptr, recovered);
        !status)
        return status;
    note = recovered == Recovered::Completed    ? texts::recoveredForwardText()
           : recovered == Recovered::RolledBack ? texts::recoveredBackText()
                                                : std::string();
    return {};
}

// Runs the operation with the writes staged; the staging is closed however it
// ends.
Report runStaged(StepStaging& staging, const os::Folder& folder,
                 const std::function<Report()>& operation) {
    staging = StepStaging{};
    staging.open = true;
    staging.folder = folder.isOpen() ? &folder : nullptr;
    Report report;
    try {
        report = operation();
    } catch (const std::bad_alloc&) {
        staging.refusal = Status::failure(texts::outOfMemoryText());
    } catch (...) {
        staging = StepStaging{};
        throw;
    }
    staging.open = false;
    return report;
}

// The staged files whose text differs from the disk's; on a refusal only
// those the operation keeps by design.
std::vector<StagedFile> changedFiles(const os::Folder& folder, StepStaging& done, bool refused) {
    std::vector<StagedFile> files;
    for (auto& [name, text] : done.files) {
        if (refused && !done.keptOnRefusal.contains(name)) continue;
        std::string old;
        if (folder.kind(name) == os::EntryKind::File && readFolderFile(folder, name, old) &&
            old == text)
            continue;
        files.push_back({name, std::move(text)});
    }
    if (!refused) {
        for (const auto& name : done.removed) {
            if (folder.kind(name) != os::EntryKind::Missing) files.push_back({name, {}, true});
        }
    }
    return files;
}

// A refusal that still wrote the files an operation writes first, saying so
// instead of "nothing changed".
std::string keptText(std::string text, const std::vector<StagedFile>& files) {
    if (text.ends_with(kWorkspaceUnchanged)) text.resize(text.size() - kWorkspaceUnchanged.size());
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.name);
    return text + texts::keptOnRefusalText(names);
}

}  // namespace

Report runStep(const Workspace& workspace, const std::function<Report()>& operation,
               std::chrono::milliseconds wait) {
    StepStaging& staging = workspace.staging();
    if (staging.open) return operation();

    os::Folder folder;
    os::Folder history;
    os::FileLock lock;
    std::string note;
    if (folder.open(workspace.directory())) {
        if (auto status = openStep(workspace, folder, wait, lock, history, note); !status)
            return Report::refused(status);
    }
    Report report = runStaged(staging, folder, operation);
    if (!folder.isOpen() && folder.open(workspace.directory())) {
        // The operation made the folder: it runs again, now under the lock
        // and on what another step may have written there meanwhile.
        if (auto status = openStep(workspace, folder, wait, lock, history, note); !status)
            return Report::refused(status);
        report = runStaged(staging, folder, operation);
    }
    StepStaging done = std::exchange(staging, StepStaging{});
    report.text = note + report.text;
    if (!done.refusal)
        return Report::refused(note + done.refusal.error() + std::string(kWorkspaceUnchanged));
    if (!folder.isOpen()) return report;
    std::vector<StagedFile> files = changedFiles(folder, done, !report.done);
    if (files.empty()) return report;
    if (!report.done) report.text = keptText(std::move(report.text), files);
    if (!history.isOpen() && !history.openInside(folder, kHistoryFolderName, true)) {
        return Report::refused(note + texts::historyFolderText(pathText(
                                          folder.path() / pathFromText(kHistoryFolderName))));
    }
    if (done.historyStep) {
        for (auto& [name, text] : done.historyFiles)
            files.push_back({name, text.value_or(std::string()), !text.has_value(), true});
    } else if (auto status = recordStep(folder, history, done.description, !report.done, files);
               !status) {
        return Report::refused(note + status.error() + std::string(kWorkspaceUnchanged));
    }
    if (auto status = commitFiles(folder, &history, files); !status) {
        return Report::refused(note + status.error());
    }
    return report;
}

}  // namespace zephalo::core
