#pragma once

#include <cstddef>
#include <span>

#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The four-Lorentzian emission model: the calculated non-resonant emission
// (XRF) spectrum of the final-state function, and its scaling to the measured
// maximum.
namespace zephalo::core::xrf {

// Points of the fixed intermediate-energy grid: −15 eV to +185 eV around the
// edge in steps of 0.1 eV.
inline constexpr std::size_t kIntermediatePoints = 2001;

// Everything one evaluation depends on.
struct EmissionModelInput {
    CalculationParameters parameters;
    FinalStateFunction lines;
    double excitation = 0.0;  // eV
};

// --- Kernels (no file access) ----------------------------------------------

// The model written the way it is defined: loop over the emission energies,
// then over the intermediate grid, every term evaluated in full. The test
// oracle and the benchmark baseline.
Status evaluateEmissionLiteral(const EmissionModelInput& input, QuadSpectrum& out);

// The production path: the same numbers (within 1e-12 relative) with
// everything that does not depend on the emission energy hoisted, vectorised
// inner loops and both cores for large grids.
Status evaluateEmission(const EmissionModelInput& input, QuadSpectrum& out);

// Scales the three intensity columns by ymax / M, M being the largest
// 10000·Total (start value 0, replaced only when strictly greater). Refuses an
// all-zero (or nowhere positive) model, leaving `spectrum` unchanged. An empty
// spectrum has nothing to scale and is accepted.
Status scaleEmission(std::span<QuadPoint> spectrum, double ymax);

// --- Work-space operations ---------------------------------------------------

// Evaluates the model at excitation energy `excitation` (eV) from the
// parameter file and the last confirmed final-state record, and writes
// Non_Resonant_Emission.DAT. Refuses (with a message, writing nothing) when
// the inputs cannot be used.
Status EvaluateEmissionModel(const Workspace& workspace, double excitation);

// Scales Non_Resonant_Emission.DAT so that its largest total equals the
// measured maximum (Emission_MinMax.DAT's Ymax / 10000), rewrites it and
// returns the scaled spectrum.
Status NormalizeEmissionModel(const Workspace& workspace, QuadSpectrum& scaled);

}  // namespace zephalo::core::xrf
