#include "core/numeric/memory_advice.h"

#include <cstdint>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zephalo::core::numeric {

namespace {
// Blocks up to this size come from the heap, not from their own mapping...
constexpr int kMappedFrom = 32 << 20;
// ...and the heap keeps up to this much free memory at its top.
constexpr int kKeptFree = 256 << 20;
constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
}  // namespace

void reuseFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kMappedFrom);
    mallopt(M_TRIM_THRESHOLD, kKeptFree);
#endif
}

void adviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (begin + bytes) & ~(kHugePage - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

}  // namespace zephalo::core::numeric
