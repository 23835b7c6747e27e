#pragma once

#include <array>
#include <cstddef>

// The inner loop shared by the emission model and the RIXS core: for one
// emission energy, the four final-state Lorentzian sums over the intermediate
// points.
namespace zephalo::core::numeric {

// Simpson-type weight of intermediate point k: 1, 4, 2, 4, 2, ... The last
// point keeps its inner weight rather than the closing 1, in both kernels.
inline double simpsonWeight(std::size_t k) {
    return k == 0 ? 1.0 : (k % 2 == 1 ? 4.0 : 2.0);
}

// S_X = Σ_k weight_X[k] / ((e[k] − centre[X])² + halfWidth2[X]) for the four
// lines X = A, B, C, D, where lines A and B take `weightAB` and C and D take
// `weightCD` (the same pointer may be passed twice). Each sum runs over
// k = 0 … n−1; the partial sums are vectorised, which changes the rounding of
// a sum of like-signed terms by a few units in the last place at most.
std::array<double, 4> lineSums(const double* e, const double* weightAB, const double* weightCD,
                               std::size_t n, const std::array<double, 4>& centre,
                               const std::array<double, 4>& halfWidth2);

}  // namespace zephalo::core::numeric
