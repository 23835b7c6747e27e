#pragma once

#include <cstddef>

// Products of a single-precision matrix with a double-precision vector.
namespace zephalo::core::numeric {

// out[i] = Σ_c vector[c] · matrix[i·stride + first + c] over c < count, for
// i < rows, accumulated in double precision.
void rowSums(const float* matrix, std::size_t rows, std::size_t stride, std::size_t first,
             std::size_t count, const double* vector, double* out);

}  // namespace zephalo::core::numeric
