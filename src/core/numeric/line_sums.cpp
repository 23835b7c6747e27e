#include "core/numeric/line_sums.h"

#include <algorithm>

#include "core/numeric/kernel_clones.h"

namespace zephalo::core::numeric {

namespace {

// Below this squared half width the product of four denominators could
// underflow (and a zero width may meet a zero detuning), so each line is
// divided on its own.
constexpr double kSmallestProductHalfWidth2 = 1e-60;

ZEPHALO_KERNEL_CLONES
void sumsByProduct(const double* __restrict e, const double* __restrict weightAB,
                   const double* __restrict weightCD, std::size_t n, const double* centre,
                   const double* halfWidth2, double* out) {
    const double tA = centre[0], tB = centre[1], tC = centre[2], tD = centre[3];
    const double wA = halfWidth2[0], wB = halfWidth2[1], wC = halfWidth2[2], wD = halfWidth2[3];
    double sA = 0.0, sB = 0.0, sC = 0.0, sD = 0.0;
    // One division for the four lines: 1/dA = dB·dC·dD / (dA·dB·dC·dD).
#pragma omp simd reduction(+ : sA, sB, sC, sD)
    for (std::size_t k = 0; k < n; ++k) {
        const double ek = e[k];
        const double dA = (ek - tA) * (ek - tA) + wA;
        const double dB = (ek - tB) * (ek - tB) + wB;
        const double dC = (ek - tC) * (ek - tC) + wC;
        const double dD = (ek - tD) * (ek - tD) + wD;
        const double dAB = dA * dB;
        const double dCD = dC * dD;
        const double inverse = 1.0 / (dAB * dCD);
        const double qAB = weightAB[k] * (inverse * dCD);
        const double qCD = weightCD[k] * (inverse * dAB);
        sA += qAB * dB;
        sB += qAB * dA;
        sC += qCD * dD;
        sD += qCD * dC;
    }
    out[0] = sA;
    out[1] = sB;
    out[2] = sC;
    out[3] = sD;
}

ZEPHALO_KERNEL_CLONES
void sumsByLine(const double* __restrict e, const double* __restrict weightAB,
                const double* __restrict weightCD, std::size_t n, const double* centre,
                const double* halfWidth2, double* out) {
    for (std::size_t x = 0; x < 4; ++x) {
        const double* weight = x < 2 ? weightAB : weightCD;
        const double t = centre[x];
        const double w = halfWidth2[x];
        double s = 0.0;
#pragma omp simd reduction(+ : s)
        for (std::size_t k = 0; k < n; ++k) s += weight[k] / ((e[k] - t) * (e[k] - t) + w);
        out[x] = s;
    }
}

}  // namespace

std::array<double, 4> lineSums(const double* e, const double* weightAB, const double* weightCD,
                               std::size_t n, const std::array<double, 4>& centre,
                               const std::array<double, 4>& halfWidth2) {
    std::array<double, 4> sums{};
    if (*std::min_element(halfWidth2.begin(), halfWidth2.end()) >= kSmallestProductHalfWidth2) {
        sumsByProduct(e, weightAB, weightCD, n, centre.data(), halfWidth2.data(), sums.data());
    } else {
        sumsByLine(e, weightAB, weightCD, n, centre.data(), halfWidth2.data(), sums.data());
    }
    return sums;
}

}  // namespace zephalo::core::numeric
