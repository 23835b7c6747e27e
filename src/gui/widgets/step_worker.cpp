#include "gui/widgets/step_worker.h"

#include <QMetaObject>
#include <utility>

#include "core/workspace/step.h"

namespace zephalo::gui {

StepWorker::StepWorker(QObject* context, Progress shown,
                       std::function<void(const core::Report&)> ended)
    : m_context(context), m_shown(std::move(shown)), m_ended(std::move(ended)) {}

StepWorker::~StepWorker() {
    stopAndWait();
}

void StepWorker::start(const core::Workspace& workspace, Work work) {
    if (running()) return;
    m_done = 0;
    m_total = 0;
    m_posted = false;
    m_thread = std::jthread([this, workspace, work = std::move(work)](std::stop_token stop) {
        const Progress progress = [this](std::size_t done, std::size_t total) {
            m_done = done;
            m_total = total;
            if (!m_posted.exchange(true)) {
                QMetaObject::invokeMethod(
                    m_context, [this] { showLatest(); }, Qt::QueuedConnection);
            }
        };
        const core::Report report = core::runStep(workspace, [&] { return work(stop, progress); });
        QMetaObject::invokeMethod(
            m_context, [this, report] { finish(report); }, Qt::QueuedConnection);
    });
}

void StepWorker::stopAndWait() {
    m_thread.request_stop();
    if (m_thread.joinable()) m_thread.join();
}

void StepWorker::showLatest() {
    m_posted = false;
    if (m_shown) m_shown(m_done.load(), m_total.load());
}

void StepWorker::finish(const core::Report& report) {
    // The worker posts this as its last act.
    if (m_thread.joinable()) m_thread.join();
    if (m_ended) m_ended(report);
}

}  // namespace zephalo::gui
