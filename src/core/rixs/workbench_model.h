#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/plot/projection.h"
#include "core/plot/series.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The RIXS workbench "RIXSシミュレーション": the selective XAFS loaded into a
// working copy, shown in a chosen window and mode, reshaped by Lorentzian
// peaks and published for the RIXS calculation; the calculated and measured
// RIXS spectra beside it. One method per button; each takes the boxes and
// radios as the user left them and returns the message-panel text. The model
// owns the curves of all three panels.
namespace zephalo::core::rixs {

// The "表示モード" radios; None when no radio is checked (drawn and applied
// as "A").
enum class DisplayMode { None, A, B, AB };
// The "加算" / "減算" radios; None when neither is checked (taken as "加算").
enum class PeakSign { None, Add, Subtract };

// Edit boxes and radios of the workbench, as typed and checked.
struct WorkbenchBoxes {
    std::string rangeMin;       // "表示範囲" from (eV)
    std::string rangeMax;       // "表示範囲" to (eV)
    std::string peakCentre;     // "中心エネルギー"
    std::string peakAmplitude;  // "振幅"
    std::string peakWidth;      // "幅"
    std::string excitation;     // "励起エネルギー(eV)"
    std::string scaling;        // "スケーリング因子"
    std::string absorption;     // "吸収補正因子"
    std::string shift;          // "エネルギーシフト（±eV）"
    DisplayMode mode = DisplayMode::None;
    PeakSign sign = PeakSign::None;

    bool operator==(const WorkbenchBoxes&) const = default;
};

// The lowest and highest energy of a panel (eV).
using EnergySpan = std::pair<double, double>;

class WorkbenchModel {
public:
    explicit WorkbenchModel(Workspace workspace);

    // "選択的XAFS読込": the absolute-energy selective XAFS becomes the working
    // copy; both range files, the range, factor and shift boxes and the mode
    // radio are set from it.
    Report load(const WorkbenchBoxes& typed);
    // "XAFSのクリア": every curve of the three panels is dropped; no file.
    Report clear(const WorkbenchBoxes& typed);
    // "表示変更": the working copy in the window of the range boxes; resets
    // the peak amplitude and width boxes and checks "加算".
    Report changeDisplay(const WorkbenchBoxes& typed);
    // A click on the selective XAFS panel in logical units. nullopt when it
    // is ignored (outside the accepted square, or no spectrum loaded yet);
    // otherwise the picked energy is in the centre and excitation boxes.
    std::optional<Report> pick(double logicalX, double logicalY, const WorkbenchBoxes& typed);
    // "補正用ピーク表示": samples the correction Lorentzian on the working
    // copy's energies and draws it.
    Report showPeak(const WorkbenchBoxes& typed);
    // "XAFS修正": the sampled peak added to or subtracted from the working
    // copy into SelectiveXAFS_for_RIXS_Temp2.DAT.
    Report applyCorrection(const WorkbenchBoxes& typed);
    // "修正の一時保存": the last correction becomes the working copy.
    Report storeCorrection(const WorkbenchBoxes& typed);
    // "さらに修正": the working copy redrawn in the window of the range boxes.
    Report refresh(const WorkbenchBoxes& typed);
    // "修正終了！": as refresh, and the working copy is published as
    // SelectiveXAFS_for_RIXS.DAT for the RIXS calculation.
    Report finish(const WorkbenchBoxes& typed);

    // "シフト実行": every energy of the working copy moves by the shift box;
    // the shifted copy is stored before the stored window is checked. A
    // window that fails the check draws nothing and leaves the message as it
    // was (the report is done, with the previous message text).
    Report shift(const WorkbenchBoxes& typed);
    // "修正したXAFSの保存": SelectiveXAFS_for_RIXS.DAT written to the path the
    // save dialog chose. A path that cannot be written is named in the
    // refusal and the remembered path stays.
    Report saveXafs(const WorkbenchBoxes& typed, const std::filesystem::path& chosen);

    // The panels drawn anew from the work-space files, writing nothing
    // (after the files changed outside the window): the working copy in the
    // stored window (the range boxes show it), the calculated spectrum, and
    // the measured one with the comparison redraw; each only where it was
    // shown. The correction peak is dropped.
    void redraw(const WorkbenchBoxes& typed);
    // "励起エネルギー(eV)" edited: the hint to press "RIXS計算実行".
    Report excitationEdited(const WorkbenchBoxes& typed);
    // "RIXS計算実行": the factor boxes stored, the RIXS core run at the
    // excitation box's energy (7150 eV when outside 1000..20000), the result
    // drawn in the theory panel (no curve, and a sentence saying why, when
    // the largest total is not above 0 or all points share one energy);
    // with a measured spectrum shown, the
    // comparison redraw follows and its message replaces the computation's.
    Report compute(const WorkbenchBoxes& typed);
    // "RIXSのクリア": the calculated curves of both RIXS panels are dropped.
    Report clearRixs(const WorkbenchBoxes& typed);
    // "RIXSの保存": Calculated_RIXS.DAT written to the path the save dialog
    // chose. A path that cannot be written is named in the refusal and the
    // remembered path stays.
    Report saveRixs(const WorkbenchBoxes& typed, const std::filesystem::path& chosen);

    // "実験値と比較": RIXSEXP.DAT and Calculated_RIXS.DAT reduced to their
    // common energies and rewritten, EXP_MinMax.DAT from the reduced
    // experiment, the experiment drawn; with a calculation shown, the
    // comparison redraw follows. More than 4000 points in either spectrum
    // is refused with nothing rewritten, and so is a pair that shares no
    // energy (the reduction would empty one of the two files).
    Report compareWithExperiment(const WorkbenchBoxes& typed);
    // "別の実験値と比較": as compareWithExperiment with the chosen file as the
    // measured spectrum (it becomes RIXSEXP.DAT, reduced); EXP_MinMax.DAT and
    // the drawn experiment come from the whole chosen file.
    Report compareWithOther(const WorkbenchBoxes& typed, const std::filesystem::path& chosen);
    // The hidden "計算値と比較": both RIXS spectra of the work space drawn in
    // the experiment panel on the frame of EXP_MinMax.DAT, and the R factor
    // of the pair taken. Writes no file.
    Report compareCalculated(const WorkbenchBoxes& typed);
    // "クリア": the experiment panel is emptied.
    Report clearComparison(const WorkbenchBoxes& typed);

    // The R factor (percent) of the calculated against the measured spectrum
    // after the last comparison redraw, the two paired on their common
    // energies; nullopt when nothing is compared (or the measured spectrum
    // sums to 0).
    std::optional<double> shownRFactor() const { return m_rFactor; }
    // The path of the last successful save of either kind; empty before.
    const std::filesystem::path& savePath() const { return m_savePath; }

    // The boxes and radios after the last operation: what it was given, with
    // the changes it made.
    const WorkbenchBoxes& boxes() const { return m_boxes; }

    // Curves of the selective XAFS panel in drawing order for the checked
    // mode radio: component B (blue) under A (red) in "A&B", each over its
    // fit band when the last fit made one, then the correction peak (pink)
    // when shown.
    std::vector<plot::Curve> xafsCurves(DisplayMode checked) const;
    // Curves of the theory ("RIXS理論値") and experiment ("RIXS実験値")
    // panels in drawing order; `twoComponents` is the flag of the stored
    // final-state function.
    std::vector<plot::Curve> theoryCurves(bool twoComponents) const;
    std::vector<plot::Curve> experimentCurves(bool twoComponents) const;
    // The curves of each panel in energy and intensity, as the spectra were
    // read (the selective XAFS, the peak, the calculated and the measured
    // RIXS), in the same order and under the same conditions.
    std::vector<plot::Series> xafsSeries(DisplayMode checked) const;
    std::vector<plot::Series> theorySeries(bool twoComponents) const;
    std::vector<plot::Series> experimentSeries(bool twoComponents) const;

    // Whether a spectrum is drawn in the selective XAFS panel.
    bool hasXafs() const;

    // The three panels as the work space's files draw them, reading only:
    // the working copy in the stored window, the stored calculation, and,
    // once a comparison has recorded the measured spectrum's frame, the
    // measured spectrum with the calculation on it.
    void showStored();

    // The energy spans under the three panels: the stored window
    // (TempXAFS_MinMax.DAT) while the selective XAFS panel shows a spectrum,
    // the calculated spectrum's energies while the theory panel shows it,
    // the frame (EXP_MinMax.DAT) while the experiment panel shows a curve;
    // nullopt otherwise or when the file cannot be read. Read anew.
    std::optional<EnergySpan> xafsSpan() const;
    std::optional<EnergySpan> theorySpan() const;
    std::optional<EnergySpan> experimentSpan() const;
    // The two-component flag of the stored final-state function, read anew;
    // false when the file is missing or cannot be read.
    bool twoComponents() const;
    // The excitation box as the measured spectrum's Ω that the RIXS map
    // marks: nullopt unless it is a number the computation accepts.
    static std::optional<double> measuredExcitation(const WorkbenchBoxes& typed);

    // A calculated RIXS spectrum in panel units: total and two components.
    struct RixsCurves {
        plot::Curve total;
        plot::Curve comp1;
        plot::Curve comp2;
    };

private:
    // Drops the curves of all three panels.
    void discardAll();
    // Projects the records into the selective XAFS panel; returns the
    // sentence to add when the window or range leaves nothing to draw.
    std::string_view projectXafs(const SelectiveXafsTable& records, const MinMaxRecord& window);
    // "さらに修正" and "修正終了！": they differ in the file they write and
    // their message.
    Report refreshTo(std::string_view target, std::string_view message,
                     const WorkbenchBoxes& typed);
    Report finished(Report report);
    // The theory panel's curves from a calculated spectrum; the experiment
    // panel's measured curve on the frame of a range record. Each returns
    // the sentence to add when nothing can be drawn (the curve is then
    // present and empty).
    std::string_view projectTheory(const QuadSpectrum& points);
    std::string_view projectExperiment(const PairSpectrum& points, const MinMaxRecord& frame);
    // The two RIXS panels of redraw: the calculated spectrum when `theory`,
    // the measured one (compared when both) when `experiment`.
    void redrawRixs(bool theory, bool experiment);
    // "実験値と比較" and "別の実験値と比較" after reading the measured
    // spectrum: reduce, rewrite, record the frame of the reduced (or the
    // `whole` given) spectrum and show it.
    // `source` names the measured spectrum's file.
    Report compareAligned(const PairSpectrum& measured, const std::string& source, bool whole,
                          std::string_view message);
    // Writes a save's text to the chosen path and says so.
    Report saveTo(const std::filesystem::path& chosen, std::string_view text,
                  std::string_view head);

    Workspace m_workspace;
    WorkbenchBoxes m_boxes;
    // The message panel's text after the last operation (an operation that
    // writes no message leaves it).
    std::string m_message;
    // Selective XAFS panel: components A and B (present together), the
    // correction peak.
    std::optional<plot::Curve> m_xafsA;
    std::optional<plot::Curve> m_xafsB;
    std::optional<plot::Curve> m_peak;
    // The fit's uncertainty bands of components A and B, shaded under them.
    std::optional<plot::Curve> m_bandA;
    std::optional<plot::Curve> m_bandB;
    // Theory panel; experiment panel: the calculation on the experiment's
    // scale and the measurement.
    std::optional<RixsCurves> m_calculated;
    std::optional<RixsCurves> m_compared;
    std::optional<plot::Curve> m_experiment;
    std::optional<double> m_rFactor;
    std::filesystem::path m_savePath;
    // The spectra behind the curves above, set where they are projected.
    SelectiveXafsTable m_xafsData;
    PairSpectrum m_peakData;
    QuadSpectrum m_calculatedData;
    QuadSpectrum m_comparedData;
    PairSpectrum m_experimentData;
};

// The boxes as the workbench's loading fills them, read from the work space
// without writing anything: range boxes from TempXAFS_MinMax.DAT, factor
// boxes from the parameters, the mode from the final-state function's flag,
// the peak boxes at their display-change defaults ("1.0", "3.0", "加算").
// For zephalo-cli, which has no dialog to keep them.
Status storedBoxes(const Workspace& workspace, WorkbenchBoxes& out);

// Calculated_RIXS.DAT as the workbench reads it. The seed the work-space
// creation writes (three values, one short of a record) reads as no
// calculated spectrum; any other malformed content is refused.
Status readCalculatedRixs(const Workspace& workspace, QuadSpectrum& out);

// The workbench's panels by name.
enum class Panel { Xafs, Theory, Experiment };

// A panel's picture as showStored draws it, in the mode and with the flag
// the workbench's loading would set; refused, naming the panel, when it has
// nothing to draw.
Status storedPicture(const Workspace& workspace, Panel panel, plot::Picture& out);

}  // namespace zephalo::core::rixs
