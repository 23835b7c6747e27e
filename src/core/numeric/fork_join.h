#pragma once

#include <cstddef>
#include <thread>

// A tiny fork-join for the kernels: a loop over [0, count) is split into two
// halves, the second run on a helper thread, when the work is large enough to
// pay for starting a thread (about 200 000 term evaluations and more).
namespace zephalo::core::numeric {

inline constexpr std::size_t kParallelWorkThreshold = 200000;

// Calls body(begin, end) once for the whole range, or once per half on two
// threads. `body` must only write to disjoint per-index outputs.
template <typename Body>
void splitInTwo(std::size_t count, std::size_t workPerIndex, Body&& body) {
    const bool worthIt = count >= 2 && count * workPerIndex >= kParallelWorkThreshold &&
                         std::thread::hardware_concurrency() >= 2;
    if (!worthIt) {
        body(std::size_t{0}, count);
        return;
    }
    const std::size_t half = count / 2;
    std::thread helper([&body, half, count] { body(half, count); });
    body(std::size_t{0}, half);
    helper.join();
}

}  // namespace zephalo::core::numeric
