#pragma once

#include <string>
#include <string_view>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The workbench's "RIXS計算実行" operation without its drawing: store the
// factor boxes in the parameters, validate the excitation energy, run the RIXS
// core. The workbench dialog and zephalo-cli call the same code.
namespace zephalo::core::rixs {

// Excitation energies accepted by the compute operation (inclusive), and the
// one used instead of any other.
inline constexpr double kLowestExcitation = 1000.0;
inline constexpr double kHighestExcitation = 20000.0;
inline constexpr double kDefaultExcitation = 7150.0;
inline bool excitationAccepted(double omega) {
    return omega >= kLowestExcitation && omega <= kHighestExcitation;
}

// "RIXS計算実行" on box texts (read by readBox: a box that is not a number
// refuses before anything is written, an empty one reads as 0):
// 1. parameters 6 and 7 of RIXS_Calculation_Parameters.DAT are replaced by the
//    absorption and scaling texts and the file is rewritten;
// 2. Ω = the excitation text when it lies in 1000..20000 eV, else 7150 eV with
//    the warning text;
// 3. without SelectiveXAFS_for_RIXS.DAT or ConvXAFS_Norm_Spectrum.DAT the
//    operation refuses with the missing-file text (the parameters are already
//    rewritten, as in the workbench);
// 4. the core runs; its refusal is returned as is.
// The report text is the message-panel text.
Report computeRixs(const Workspace& workspace, std::string_view excitationText,
                   std::string_view scalingText, std::string_view absorptionText);

}  // namespace zephalo::core::rixs
