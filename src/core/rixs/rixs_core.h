#pragma once

#include "workspace/status.h"
#include "workspace/workspace.h"

// The RIXS calculation core: one calculated RIXS spectrum at one excitation
// energy, from the work-space files, written to Calculated_RIXS.DAT.
namespace zephalo::core::rixs {

// Empties Calculated_RIXS.DAT, reads the inputs and writes the spectrum at
// excitation energy `omega` (eV). Refuses with a message when the inputs
// cannot be used.
Status calculateRixs(const Workspace& workspace, double omega);

}  // namespace zephalo::core::rixs
