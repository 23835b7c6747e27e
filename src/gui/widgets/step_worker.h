#pragma once

#include <QObject>
#include <atomic>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <thread>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// A long button of the desktop program as one step on the work space, run on
// a worker thread so that the window keeps painting: the step holds the work
// space's lock for the whole operation and commits its files when it ends,
// also when it was stopped.
namespace zephalo::gui {

class StepWorker {
public:
    // The worker's progress: `done` of `total`, reported from the worker.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;
    // The operation, on the worker: it checks `stop` where it may end early.
    using Work = std::function<core::Report(std::stop_token stop, const Progress& progress)>;

    // `context` receives every call back on its own (user-interface) thread:
    // `shown` with the latest progress (at most one call pending, so a fast
    // operation does not flood the event queue) and `ended` with the report,
    // after which the worker has finished.
    StepWorker(QObject* context, Progress shown, std::function<void(const core::Report&)> ended);
    // Stops a running operation and waits for it.
    ~StepWorker();
    StepWorker(const StepWorker&) = delete;
    StepWorker& operator=(const StepWorker&) = delete;

    bool running() const { return m_thread.joinable(); }
    // Starts `work` as a step on `workspace`; nothing while one runs.
    void start(const core::Workspace& workspace, Work work);
    // Asks the running operation to stop.
    void requestStop() { m_thread.request_stop(); }
    // Stops a running operation and waits for it, without its `ended`.
    void stopAndWait();

private:
    void showLatest();
    void finish(const core::Report& report);

    QObject* m_context;
    Progress m_shown;
    std::function<void(const core::Report&)> m_ended;
    std::atomic<std::size_t> m_done{0};
    std::atomic<std::size_t> m_total{0};
    std::atomic<bool> m_posted{false};
    std::jthread m_thread;
};

}  // namespace zephalo::gui
