#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/measured_map.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The fit "フィット" as a work-space operation: the working copy's
// intensities inside a window fitted to the measured RIXS spectrum at Ω (and
// to every spectrum of a measured map the work space holds), with an
// optional uncertainty band from refits on resampled measurements.
namespace zephalo::core::tools {

// Largest number of refits of a band.
inline constexpr std::size_t kMaxFitBand = 1000;
// The seed of the band's resampling, so that a band can be made again.
inline constexpr unsigned long long kFitBandSeed = 20261208;

struct FitSettings {
    double omega = 0.0;               // excitation energy of RIXSEXP.DAT (eV)
    std::optional<double> from, to;   // the window; default the working copy's ends
    std::optional<double> smoothing;  // S; default chosen from the measured noise
    std::size_t band = 0;             // refits for the band; 0 for none
};

// Where a run is: `done` of `total` programmes solved (the smoothing search
// and the band's refits).
struct FitProgress {
    std::size_t done = 0;
    std::size_t total = 0;
};

struct FitOutcome {
    Report report;
    std::optional<double> rFactor;  // of the fitted working copy at Ω, as the comparison shows it
    double smoothing = 0.0;         // S used
    bool automatic = false;         // S chosen by the noise rule
    double noiseR = 0.0;            // the R factor the noise alone gives (percent)
    bool cancelled = false;
    SelectiveXafsTable fitted;        // the working copy written
    SelectiveXafsTable bandA, bandB;  // energy, lower, upper (with a band)
};

// The noise rule's target: the R factor (percent) that the counting noise
// of the measured intensities alone gives, estimated from each point's
// distance to the mean of its two neighbours (for independent noise of
// spread σ that distance has spread σ·√1.5). `spectra` are measured spectra
// in energy order; only points with `used` true count.
double noiseRFactor(const std::vector<const PairSpectrum*>& spectra,
                    const std::vector<std::vector<bool>>& used);

// What a fit works on, held in memory.
struct FitInputs {
    SelectiveXafsTable profile;  // the intensities fitted
    std::string profileFile;     // where the profile came from, for messages
    PairSpectrum measured;       // the measured spectrum at the fit's Ω
    MeasuredMap map;             // more measured spectra, each at its own Ω
    PairSpectrum absorption;     // absorption-correction XAFS
    CalculationParameters parameters;
    FinalStateFunction lines;
};

// Refuses an Ω outside 1000..20000 eV, a negative or non-finite S, a band
// over kMaxFitBand.
Status checkFitSettings(const FitSettings& settings);

// The fit of `inputs.profile` without any file: the outcome holds the
// fitted profile, the band and the message "フィット" would show, or the
// refusal (as fitWorkingCopy's, past reading the files).
FitOutcome fitProfile(const FitInputs& inputs, const FitSettings& settings,
                      const std::function<void(const FitProgress&)>& progress = {},
                      std::stop_token stop = {});

// "フィット": refuses (writing nothing) an Ω outside 1000..20000 eV, a window
// not inside the working copy's energies or holding no point, a missing
// working copy or measured spectrum, a spectrum that shares no emission
// energy with the calculation, a negative or non-finite S, a band over
// kMaxFitBand. Otherwise writes the fitted working copy and the band,
// SelectiveXAFS_Fit_Band_A.DAT and _B.DAT (empty without one), within the
// caller's step.
// `progress` is called on the running thread after each programme solved;
// `stop` is checked between them: a stopped run writes nothing.
FitOutcome fitWorkingCopy(const Workspace& workspace, const FitSettings& settings,
                          const std::function<void(const FitProgress&)>& progress = {},
                          std::stop_token stop = {});

// The dialog's boxes as typed: Ω, the window ends, S, the band's refits.
// Blank window and S boxes mean the defaults, a blank band box none; text
// that is not a whole number is refused naming its box, as is a band that
// is not a count up to kMaxFitBand.
Status fitSettingsOf(std::string_view omega, std::string_view from, std::string_view to,
                     std::string_view smoothing, std::string_view band, FitSettings& out);

// The zephalo-cli arguments that redo a fit.
std::vector<std::string> fitCommand(const FitSettings& settings);

}  // namespace zephalo::core::tools
