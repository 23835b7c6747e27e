#pragma once

#include <cstddef>

// Products of a single-precision matrix with a double-precision vector.
namespace zephalo::core::numeric {

// out[i] = Σ_c vector[c] · matrix[i·stride + first + c] over c < count, for
// i < rows, accumulated in double precision.
void rowSums(const float* matrix, std::size_t rows, std::size_t stride, std::size_t first,
             std::size_t count, const double* vector, double* out);

// For q < count: outA[q·stride] = Σ_c a[c] · probes[q·n + c] and
// outB[q·stride] = Σ_c b[c] · probes[q·n + c] over c < n.
void probeSums(const double* a, const double* b, std::size_t n, const double* probes,
               std::size_t count, std::size_t stride, double* outA, double* outB);

}  // namespace zephalo::core::numeric
