#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>

// A tiny fork-join for the kernels: the loop over the emission energies runs
// on this thread and one helper when the work is large enough to pay for
// starting a thread (about 200 000 term evaluations and more).
namespace zephalo::core::numeric {

inline constexpr std::size_t kParallelWorkThreshold = 200000;
// Work handed out at a time, in term evaluations: small enough that a helper
// which starts late (the machine is busy) still gets its share, large enough
// that handing out costs nothing.
inline constexpr std::size_t kChunkWork = 40000;

// Calls body(begin, end) over consecutive ranges covering [0, count) exactly
// once. Both threads take the next range from a shared counter, so neither
// waits for the other beyond the last range. `body` must write only to
// per-index outputs.
template <typename Body>
void splitInTwo(std::size_t count, std::size_t workPerIndex, Body&& body) {
    const bool worthIt = count >= 2 && count * workPerIndex >= kParallelWorkThreshold &&
                         std::thread::hardware_concurrency() >= 2;
    if (!worthIt) {
        body(std::size_t{0}, count);
        return;
    }
    const std::size_t chunk =
        std::max<std::size_t>(1, kChunkWork / std::max<std::size_t>(1, workPerIndex));
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (;;) {
            const std::size_t begin = next.fetch_add(chunk);
            if (begin >= count) return;
            body(begin, std::min(count, begin + chunk));
        }
    };
    std::thread helper;
    try {
        helper = std::thread(work);
    } catch (const std::system_error&) {
        // No thread to be had: this thread takes every range.
    }
    work();
    if (helper.joinable()) helper.join();
}

}  // namespace zephalo::core::numeric
