#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/numeric/fork_join.h"
#include "core/numeric/helper_thread.h"

namespace zephalo::core::numeric {
namespace {

// Many short jobs in a row, some after a pause long enough for the helper to
// fall asleep and some where one part is slow: each part runs once per job
// and the caller goes on only when both have. A missed wake-up would leave
// both threads asleep here.
TEST(HelperThread, RunsBothPartsOfEveryJobOnce) {
    HelperThread helper;
    std::array<long, 2> runs{};
    for (int job = 0; job < 20000; ++job) {
        auto body = [&](int part) {
            ++runs[static_cast<std::size_t>(part)];
            if (part == 1 && job % 2003 == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        };
        if (job % 1009 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
        helper.both(body);
        ASSERT_EQ(runs[0], job + 1);
        ASSERT_EQ(runs[1], job + 1);
    }
}

TEST(ForkJoin, CoversEveryIndexOnce) {
    for (const std::size_t count : {std::size_t{1}, std::size_t{7}, std::size_t{100003}}) {
        std::vector<std::atomic<int>> seen(count);
        splitInTwo(count, 10, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) seen[i].fetch_add(1);
        });
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(seen[i].load(), 1) << count << " " << i;
    }
}

}  // namespace
}  // namespace zephalo::core::numeric
