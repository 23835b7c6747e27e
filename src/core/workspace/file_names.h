#pragma once

#include <string_view>

// The fixed names of the work-space files. Every module names a file through
// these constants only.
namespace zephalo::core::files {

// Experiment inputs, imported from files the user chooses.
inline constexpr std::string_view kRixsExperiment = "RIXSEXP.DAT";
inline constexpr std::string_view kRixsExperimentMinMax = "EXP_MinMax.DAT";
inline constexpr std::string_view kConventionalXafs = "Conventional_XAFS.DAT";
inline constexpr std::string_view kExperimentEmission = "Exp_Non_Resonant_Emission.DAT";
// The measured RIXS map: excitation energy, emission energy, intensity per line.
inline constexpr std::string_view kRixsExperimentMap = "RIXSEXP_Map.DAT";

// Absorption-correction XAFS and edge.
inline constexpr std::string_view kParameters = "RIXS_Calculation_Parameters.DAT";
inline constexpr std::string_view kConvXafsMinMaxOrg = "ConvXAFS_MinMax_Org.DAT";
inline constexpr std::string_view kConvXafsMinMax = "ConvXAFS_MinMax.DAT";
inline constexpr std::string_view kConvXafsNorm = "ConvXAFS_Norm_Spectrum.DAT";
inline constexpr std::string_view kEmissionExcitation = "Emission_Exc_Energy.DAT";

// Selective XAFS.
inline constexpr std::string_view kSelectiveFirstRaw = "SelectiveXAFS_for_Reading_Org_2_1.DAT";
inline constexpr std::string_view kSelectiveMergedRaw = "SelectiveXAFS_for_Reading_Org_Tmp.DAT";
inline constexpr std::string_view kSelectiveOrg = "SelectiveXAFS_for_Reading_Org.DAT";
inline constexpr std::string_view kSelectiveAbsolute = "SelectiveXAFS_for_Reading.DAT";
inline constexpr std::string_view kSelectiveWork = "SelectiveXAFS_for_RIXS_Temp.DAT";
inline constexpr std::string_view kSelectiveWork2 = "SelectiveXAFS_for_RIXS_Temp2.DAT";
inline constexpr std::string_view kCorrectionLorentz = "XAFSLorentz_Temp.DAT";
inline constexpr std::string_view kSelectiveForRixs = "SelectiveXAFS_for_RIXS.DAT";
inline constexpr std::string_view kSelectiveSaving = "SelectiveXAFS_for_RIXS_Saving.DAT";
// The fit's uncertainty band per component: energy, lower and upper intensity.
inline constexpr std::string_view kFitBandA = "SelectiveXAFS_Fit_Band_A.DAT";
inline constexpr std::string_view kFitBandB = "SelectiveXAFS_Fit_Band_B.DAT";
inline constexpr std::string_view kXafsMinMax = "XAFS_MinMax.DAT";
inline constexpr std::string_view kTempXafsMinMax = "TempXAFS_MinMax.DAT";

// Final-state function.
inline constexpr std::string_view kFinalState = "RIXS_Calculation_Lorentz.DAT";
inline constexpr std::string_view kFinalStateTemp = "RIXS_Calculation_Lorentz_Temp.DAT";
inline constexpr std::string_view kEmissionMinMax = "Emission_MinMax.DAT";
inline constexpr std::string_view kEmissionModel = "Non_Resonant_Emission.DAT";
inline constexpr std::string_view kEmissionForRFactor = "Non_Resonant_Emission_for_RFactor.DAT";
inline constexpr std::string_view kXrfRFactor = "R_Factor_XRF.DAT";

// RIXS result.
inline constexpr std::string_view kCalculatedRixs = "Calculated_RIXS.DAT";

}  // namespace zephalo::core::files
