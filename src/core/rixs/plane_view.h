#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/plot/series.h"
#include "core/rixs/rixs_plane.h"
#include "core/workspace/workspace.h"

// The RIXS map as a view of a computed plane: the colour image over emission
// energy ω or energy transfer Ω − ω, the cell under a point of it, the two
// cuts through that cell (the spectrum at one Ω, the intensity at one ω over
// Ω), the text under the cursor and what saving each panel writes. The map
// window draws what this gives.
namespace zephalo::core::rixs {

enum class PlaneAxis { Emission, Transfer };

// A row (Ω) and column (ω) of the plane.
struct PlaneCell {
    std::size_t row = 0;
    std::size_t column = 0;
    bool operator==(const PlaneCell&) const = default;
};

// The colour image: `rows` × `columns` values row by row (NaN where the row
// has no value), over x from xFirst to xLast (the current axis) and Ω from
// yFirst to yLast, the first and last cell centres.
struct PlaneImage {
    std::size_t rows = 0;
    std::size_t columns = 0;
    double xFirst = 0.0;
    double xLast = 1.0;
    double yFirst = 0.0;
    double yLast = 1.0;
    std::vector<double> values;

    double at(std::size_t row, std::size_t column) const { return values[row * columns + column]; }
};

// A cut as drawn: positions and intensities.
struct PlaneCut {
    std::vector<double> x;
    std::vector<double> y;
};

// The excitation range the map's boxes open with.
struct PlaneRange {
    double from = 0.0;
    double to = 0.0;
    double step = 0.0;
};

class PlaneView {
public:
    // A new plane: the cut through its middle, following the cursor.
    void setPlane(RixsPlane plane);
    const RixsPlane& plane() const { return m_plane; }
    bool empty() const { return m_plane.total.empty(); }

    void setAxis(PlaneAxis axis) { m_axis = axis; }
    PlaneAxis axis() const { return m_axis; }

    // The image in the current axis. In energy transfer the columns step by
    // the mean emission step, each row read between its emission energies
    // (linearly) and blank outside them.
    PlaneImage image() const;
    // The cell nearest to (x in the current axis, Ω); nullopt more than half
    // a step outside the plane.
    std::optional<PlaneCell> cellAt(double x, double omega) const;

    std::optional<PlaneCell> cut() const { return m_cut; }
    bool fixed() const { return m_fixed; }
    // The cursor at (x, Ω): the cut follows it unless fixed. True when the
    // cut moved to a cell.
    bool follow(double x, double omega);
    // A click at (x, Ω): the cut fixed on the cell there. False (and nothing
    // changed) when no cell is there.
    bool fix(double x, double omega);
    // The cut follows the cursor again.
    void release() { m_fixed = false; }

    // The cuts through the cut cell as drawn: the row over ω (or Ω − ω), the
    // column over Ω; empty without a cut.
    PlaneCut spectrumCut() const;
    PlaneCut excitationCut() const;
    // Ω, ω, Ω − ω and the intensity of the cut cell, marked when fixed;
    // empty without a cut.
    std::string cursorText() const;

    // What saving a panel writes, in eV and intensity: the plane as one
    // block per Ω over ω, and each cut as drawn.
    std::vector<plot::Series> planeSeries() const;
    std::vector<plot::Series> spectrumCutSeries() const;
    std::vector<plot::Series> excitationCutSeries() const;

private:
    bool validCut() const;

    RixsPlane m_plane;
    PlaneAxis m_axis = PlaneAxis::Emission;
    std::optional<PlaneCell> m_cut;
    bool m_fixed = false;
};

// The range the boxes open with: 15 eV on either side of the measured
// excitation energy (rounded) when given; else the published selective
// XAFS's span (outward to whole eV) when it holds two points or more; else
// 7100 … 7150 eV. The step is 0.1 eV. Reads only.
PlaneRange defaultPlaneRange(const Workspace& workspace, std::optional<double> measuredOmega);

}  // namespace zephalo::core::rixs
