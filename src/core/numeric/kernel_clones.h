#pragma once

// On x86-64 ELF targets a kernel marked with this is also compiled for
// AVX2+FMA and AVX-512 and the best version is picked at load time; elsewhere
// the baseline is used.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define ZEPHALO_KERNEL_CLONES \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define ZEPHALO_KERNEL_CLONES
#endif
