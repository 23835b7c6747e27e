#pragma once

#include <array>

#include "core/workspace/records.h"

// Quantities of the four final-state lines A-D shared by the emission model
// and the RIXS core.
namespace zephalo::core::numeric {

// Final-state energies relative to the core level: d_X = core − p_X.
std::array<double, 4> finalStateEnergies(const FinalStateFunction& lines, double coreEnergy);

// Line energy factors, evaluated the way they are defined:
// F_A = (core − d_A) + 0, F_B = (core − d_B) + (d_A − d_B), and the same for
// C and D. Numerically p_A, 2·p_B − p_A, p_C, 2·p_D − p_C: the second line of
// each pair carries its position moved away from its partner by their distance.
std::array<double, 4> lineFactors(const FinalStateFunction& lines, double coreEnergy);

}  // namespace zephalo::core::numeric
