#pragma once

#include <optional>
#include <vector>

#include "core/plot/axes.h"
#include "core/rixs/rixs_core.h"
#include "core/rixs/spectrum_pairing.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The correction peak followed live: how the calculated RIXS spectrum at Ω
// and its R factor against the measured spectrum change while the peak's
// centre, amplitude or width change, computed in memory through the
// response rows (the totals are linear in the selective XAFS). Writes
// nothing.
namespace zephalo::core::rixs {

// Which columns the peak goes into, and with which sign ("加算", "減算").
struct LivePeak {
    double centre = 0.0;     // E0 (eV)
    double amplitude = 0.0;  // A: the value at E0 is A / W²
    double width = 1.0;      // W, half width at half maximum (eV)
    bool first = true;       // component A
    bool second = true;      // component B
    bool subtract = false;
};

class LiveCorrection {
public:
    // Reads the working copy, RIXSEXP.DAT and the core's other inputs and
    // prepares the spectrum of the working copy at Ω with its response rows;
    // refuses what the core refuses and a measured spectrum that shares no
    // energy with the calculation. The working copy is kept once read, so
    // that the peak can follow even when the spectrum cannot.
    Status prepare(const Workspace& workspace, double omega);
    // Whether update can compute the spectrum (the last prepare succeeded).
    bool ready() const { return m_response.rows > 0 && !m_base.empty(); }

    // The totals on the emission grid with `peak` applied to the working
    // copy, and the R factor (percent) of the pairs the comparison takes;
    // nullopt when the measured pairs sum to 0.
    std::optional<double> update(const LivePeak& peak);

    // The peak at the working copy's energies, unsigned, as "補正用ピーク表示"
    // samples it.
    std::vector<double> peakValues(const LivePeak& peak) const;
    std::vector<double> workingEnergies() const;

    const std::vector<double>& totals() const { return m_totals; }
    const std::vector<double>& energies() const { return m_energies; }

private:
    SelectiveXafsTable m_working;
    PairSpectrum m_measured;
    PointPairs m_pairs;
    RixsResponse m_response;
    std::vector<double> m_base;      // the working copy's totals
    std::vector<double> m_energies;  // the emission grid as written
    std::vector<double> m_peak;      // per point, then the sums per row
    std::vector<double> m_totals;
};

// The peak moved by its grip on a panel drawn on `frame`: the centre under
// the cursor and the top (A / W²) at the cursor's height, never below 0.
LivePeak peakAtGrip(LivePeak peak, const plot::Frame& frame, double logicalX, double logicalY);
// The wheel on the grip: each notch up multiplies the amplitude by 1.25.
LivePeak peakTurned(LivePeak peak, double notches);

}  // namespace zephalo::core::rixs
