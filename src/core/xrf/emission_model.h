#pragma once

#include "workspace/records.h"
#include "workspace/status.h"
#include "workspace/workspace.h"

// The four-Lorentzian emission model: the calculated non-resonant emission
// (XRF) spectrum of the final-state function, and its scaling to the measured
// maximum.
namespace zephalo::core::xrf {

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
