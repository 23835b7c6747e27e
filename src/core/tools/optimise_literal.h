#pragma once

#include "core/tools/peak_optimisation.h"

// The peak optimisation done the way it is defined, file by file: every trial
// profile written to SelectiveXAFS_for_RIXS.DAT, the core run on it and
// Calculated_RIXS.DAT read back for the R factor. The test oracle and the
// benchmark baseline of searchPeaks.
namespace zephalo::core::tools {

Status searchPeaksLiteral(const Workspace& workspace, const OptimiseInputs& inputs,
                          const OptimiseSettings& settings, const SearchHooks& hooks,
                          SearchResult& result);

}  // namespace zephalo::core::tools
