#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <system_error>
#include <thread>

// A second thread kept for many short jobs in a row (tens of microseconds
// each), where starting a thread per job would cost as much as the job.
namespace zephalo::core::numeric {

class HelperThread {
public:
    // Without a second core or a thread to be had, every job runs here.
    HelperThread() {
        if (std::thread::hardware_concurrency() < 2) return;
        try {
            m_thread = std::thread([this] { serve(); });
        } catch (const std::system_error&) {
        }
    }
    ~HelperThread() {
        if (!m_thread.joinable()) return;
        m_stop.store(true, std::memory_order_relaxed);
        publish(m_posted, m_posted.load(std::memory_order_relaxed) + 1);
        m_thread.join();
    }
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    // Calls body(0) on this thread and body(1) on the helper (or here after
    // body(0) when there is none); returns when both have returned. `body`
    // must write only to what its part owns.
    template <typename Body>
    void both(Body& body) {
        if (!m_thread.joinable()) {
            body(0);
            body(1);
            return;
        }
        m_context = &body;
        m_call = [](void* context, int part) { (*static_cast<Body*>(context))(part); };
        const unsigned job = m_posted.load(std::memory_order_relaxed) + 1;
        publish(m_posted, job);
        body(0);
        await(m_done, job);
    }

private:
    // Spins this many rounds before blocking: about as long as the gap
    // between two jobs of a busy caller.
    static constexpr int kSpins = 4000;

    static void pause() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    // Returns once `value` holds `wanted` (values only grow). Blocks on a
    // condition variable, not on std::atomic::wait, whose fallback for
    // systems without futexes (MinGW's) can miss a wake-up and leave both
    // threads asleep.
    void await(std::atomic<unsigned>& value, unsigned wanted) {
        for (int i = 0; i < kSpins; ++i) {
            if (value.load(std::memory_order_acquire) == wanted) return;
            pause();
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return value.load(std::memory_order_acquire) == wanted; });
    }

    // Sets `value` under the mutex, so that a waiter between its test and
    // its sleep cannot miss it.
    void publish(std::atomic<unsigned>& value, unsigned now) {
        {
            const std::lock_guard lock(m_mutex);
            value.store(now, std::memory_order_release);
        }
        m_changed.notify_all();
    }

    void serve() {
        unsigned done = 0;
        for (;;) {
            await(m_posted, done + 1);
            if (m_stop.load(std::memory_order_relaxed)) return;
            ++done;
            m_call(m_context, 1);
            publish(m_done, done);
        }
    }

    std::atomic<unsigned> m_posted{0};
    std::atomic<unsigned> m_done{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    void* m_context = nullptr;
    void (*m_call)(void*, int) = nullptr;
    std::thread m_thread;
};

}  // namespace zephalo::core::numeric
