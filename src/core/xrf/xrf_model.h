#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot/projection.h"
#include "core/plot/series.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The XRF step: the measured fluorescence spectrum, the four Lorentzian lines
// A-D of the final-state function typed by hand, the emission model drawn over
// the measurement, its R factor, and storing the final-state function.
namespace zephalo::core::xrf {

inline constexpr std::size_t kLineCount = 4;
// Row labels of the parameter grid, in record order.
inline constexpr std::array<std::string_view, kLineCount> kLineNames{"A", "B", "C", "D"};

// Box texts of one line, as typed.
struct LineBoxes {
    std::string position;
    std::string amplitude;
    std::string width;
};

// The edit boxes of the dialog.
struct XrfBoxes {
    std::array<LineBoxes, kLineCount> lines;
    std::string excitation;
};

// State and button operations of the dialog "蛍光X線による設定". Every
// operation reads and writes the work-space files itself; the state kept here
// is only what the dialog shows.
class XrfModel {
public:
    explicit XrfModel(Workspace workspace);

    // "蛍光X線の読込": reads the measured spectrum, its excitation energy, the
    // stored final-state function and the parameters; rewrites the emission
    // grid (parameters 3-5) from the measurement and records its extremes;
    // fills the boxes and radios and projects the measurement.
    Report load();
    // "ローレンツ関数設定確認": writes the twelve typed line parameters and the
    // component mode to the temporary final-state record.
    Report confirm(const XrfBoxes& typed, bool twoComponents);
    // "ローレンツ関数でフィット": evaluates the emission model at the typed
    // excitation energy, scales it to the measured maximum and projects it.
    Report fit(std::string_view excitationText);
    // Left click on the plot in logical units: the picked energy becomes the
    // selected line's position (5 digits). Nothing happens (nullopt) outside
    // the accepted square.
    std::optional<Report> click(double logicalX, double logicalY, std::size_t selectedLine);
    // "R因子計算": pairs the measurement with the last fitted model at equal
    // energies and compares them.
    Report rFactor();
    // The measured curve drawn anew from the files, writing nothing (after
    // they changed outside the dialog); the fitted model and its R factor
    // are dropped until the next fit.
    void redraw();
    // "設定完了": stores the last confirmed record as the final-state function.
    Report store();

    // Box texts as load filled them and a click changed them.
    const XrfBoxes& boxes() const { return m_boxes; }
    // Component mode that load read from the stored final-state function.
    bool twoComponents() const { return m_twoComponents; }
    // Extremes of the loaded measurement (energy range of the panel).
    const std::optional<MinMaxRecord>& range() const { return m_range; }
    // The last R factor in percent, when one was computed.
    const std::optional<double>& lastRFactor() const { return m_rFactor; }

    bool hasMeasurement() const { return m_measured.size() > 0; }
    bool hasModel() const { return m_total.size() > 0; }
    // Curves in drawing order: the two components (sky-blue dotted) only when
    // "2成分(A+BとC+D)" is checked and a model exists, then the model total
    // (blue), then the measurement (red).
    std::vector<plot::Curve> curves(bool twoComponentsChecked) const;
    // The same curves in energy and intensity, as read and scaled.
    std::vector<plot::Series> series(bool twoComponentsChecked) const;

private:
    // Reads the extremes file; refuses when it is missing or degenerate.
    Status readRange(MinMaxRecord& range) const;
    void discardModel();

    Workspace m_workspace;
    XrfBoxes m_boxes;
    bool m_twoComponents = true;
    std::optional<MinMaxRecord> m_range;
    std::optional<double> m_rFactor;
    plot::Curve m_measured;
    plot::Curve m_total;
    plot::Curve m_comp1;
    plot::Curve m_comp2;
    // The spectra behind the curves.
    PairSpectrum m_measuredData;
    QuadSpectrum m_modelData;
};

// The zephalo-cli arguments that redo one button's step of the dialog on the
// same files, from the boxes and radio as typed (the history's command).
enum class XrfButton { Load, Confirm, Fit, RFactor, Store };
std::vector<std::string> replayCommand(XrfButton button, const XrfBoxes& typed, bool twoComponents);

}  // namespace zephalo::core::xrf
