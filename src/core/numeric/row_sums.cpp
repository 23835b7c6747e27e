#include "core/numeric/row_sums.h"

#include "core/numeric/kernel_clones.h"

namespace zephalo::core::numeric {

namespace {

// Rows taken together: their sums are independent chains of additions, and
// each vector element is loaded once for all of them.
constexpr std::size_t kRowBlock = 4;

}  // namespace

ZEPHALO_KERNEL_CLONES
void rowSums(const float* matrix, std::size_t rows, std::size_t stride, std::size_t first,
             std::size_t count, const double* vector, double* out) {
    std::size_t i = 0;
    for (; i + kRowBlock <= rows; i += kRowBlock) {
        const float* r0 = matrix + i * stride + first;
        const float* r1 = r0 + stride;
        const float* r2 = r1 + stride;
        const float* r3 = r2 + stride;
        double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
#pragma omp simd reduction(+ : s0, s1, s2, s3)
        for (std::size_t c = 0; c < count; ++c) {
            const double v = vector[c];
            s0 += v * static_cast<double>(r0[c]);
            s1 += v * static_cast<double>(r1[c]);
            s2 += v * static_cast<double>(r2[c]);
            s3 += v * static_cast<double>(r3[c]);
        }
        out[i] = s0;
        out[i + 1] = s1;
        out[i + 2] = s2;
        out[i + 3] = s3;
    }
    for (; i < rows; ++i) {
        const float* row = matrix + i * stride + first;
        double sum = 0.0;
#pragma omp simd reduction(+ : sum)
        for (std::size_t c = 0; c < count; ++c) sum += vector[c] * static_cast<double>(row[c]);
        out[i] = sum;
    }
}

ZEPHALO_KERNEL_CLONES
void probeSums(const double* a, const double* b, std::size_t n, const double* probes,
               std::size_t count, std::size_t stride, double* outA, double* outB) {
    std::size_t q = 0;
    for (; q + 2 <= count; q += 2) {
        const double* p0 = probes + q * n;
        const double* p1 = p0 + n;
        double a0 = 0.0, b0 = 0.0, a1 = 0.0, b1 = 0.0;
#pragma omp simd reduction(+ : a0, b0, a1, b1)
        for (std::size_t c = 0; c < n; ++c) {
            a0 += a[c] * p0[c];
            b0 += b[c] * p0[c];
            a1 += a[c] * p1[c];
            b1 += b[c] * p1[c];
        }
        outA[q * stride] = a0;
        outB[q * stride] = b0;
        outA[(q + 1) * stride] = a1;
        outB[(q + 1) * stride] = b1;
    }
    for (; q < count; ++q) {
        const double* p0 = probes + q * n;
        double a0 = 0.0, b0 = 0.0;
#pragma omp simd reduction(+ : a0, b0)
        for (std::size_t c = 0; c < n; ++c) {
            a0 += a[c] * p0[c];
            b0 += b[c] * p0[c];
        }
        outA[q * stride] = a0;
        outB[q * stride] = b0;
    }
}

}  // namespace zephalo::core::numeric
