#pragma once

#include <cstddef>
#include <vector>

#include "core/workspace/status.h"

// The emission-energy grid shared by the emission model and the RIXS core:
// a running sum from the start while it stays at or below the end.
namespace zephalo::core::numeric {

// Largest number of emission-grid points either kernel holds.
inline constexpr std::size_t kMaxGridPoints = 5000;

// Fills `energies` with start, start + step, (start + step) + step, ... while
// the running sum is <= end. The sum is accumulated, not start + n·step, so
// whether `end` itself is reached depends on rounding (7020..7065 step 0.1
// ends a hair above 7065: 450 points). No points when start > end.
// Refuses a step that is not positive (the sum would never pass the end) and
// a grid of more than kMaxGridPoints points; `energies` is then left empty.
Status emissionGrid(double start, double end, double step, std::vector<double>& energies);

}  // namespace zephalo::core::numeric
