#pragma once

#include <cstddef>

// Advice to the C library and the kernel on how this process uses memory,
// where the default costs time: the fit's solver allocates and frees blocks
// of megabytes thousands of times, and the fit's rows of a measured map take
// hundreds of megabytes at once. Without the advice (other C libraries,
// other systems) nothing changes but speed.
namespace zephalo::core::numeric {

// Freed blocks stay with the process for the next allocation instead of
// going back to the system and coming back as fresh zeroed pages. Process
// wide; calling it again changes nothing.
void reuseFreedMemory();

// The pages of [data, data + bytes), not touched yet, come as huge pages
// where the system offers them: a few hundred page faults instead of tens of
// thousands.
void adviseHugePages(void* data, std::size_t bytes);

}  // namespace zephalo::core::numeric
