#include "workspace/step.h"

#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "workspace/commit.h"
#include "workspace/os_files.h"
#include "workspace/storage_texts.h"

namespace zephalo::core {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

// Takes the work space's lock, polling until `wait` has passed.
Status takeLock(const Workspace& workspace, std::chrono::milliseconds wait, os::FileLock& lock) {
    const auto file = workspace.path(kLockFileName);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        bool opened = false;
        if (lock.tryLock(file, opened)) return {};
        if (!opened) return Status::failure(texts::lockFailedText(pathText(file)));
        if (std::chrono::steady_clock::now() >= deadline) {
            return Status::failure(texts::busyText(workspace.directoryText()));
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

// Runs the operation with the writes staged; the staging is closed however it
// ends.
Report runStaged(StepStaging& staging, const std::function<Report()>& operation) {
    staging = StepStaging{};
    staging.open = true;
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

}  // namespace

Report runStep(const Workspace& workspace, const std::function<Report()>& operation,
               std::chrono::milliseconds wait) {
    StepStaging& staging = workspace.staging();
    if (staging.open) return operation();

    os::FileLock lock;
    std::error_code ec;
    if (std::filesystem::is_directory(workspace.directory(), ec)) {
        if (auto status = takeLock(workspace, wait, lock); !status) {
            return Report::refused(status);
        }
        if (auto status = recoverFolder(workspace.directory()); !status) {
            return Report::refused(status);
        }
    }
    Report report = runStaged(staging, operation);
    StepStaging done = std::exchange(staging, StepStaging{});
    if (!done.refusal)
        return Report::refused(done.refusal.error() + std::string(kWorkspaceUnchanged));
    std::vector<StagedFile> files;
    files.reserve(done.files.size());
    for (auto& [name, text] : done.files) files.push_back({name, std::move(text)});
    if (files.empty()) return report;
    if (auto status = commitFiles(workspace.directory(), files); !status) {
        return Report::refused(status);
    }
    return report;
}

}  // namespace zephalo::core
