#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot/projection.h"
#include "core/plot/series.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The conventional XAFS step: normalise the measured absorption-correction
// spectrum, fix the edge (table, click or typed energy) in the calculation
// parameters, and move the imported selective XAFS to absolute energies.
// One method per button; each takes what the user typed or chose and
// returns the message-panel text.
namespace zephalo::core::xafs {

// The curve of the panel: red, joined only inside Y -94..94.
inline constexpr int kConvXafsWindow = 94;
// Selective XAFS energies below this (second record) are taken as relative
// to the edge.
inline constexpr double kRelativeEnergyLimit = 1000.0;
// The fluorescence is excited this far above the edge.
inline constexpr double kExcitationAboveEdge = 100.0;
// Significant digits of the core energy in the box and of the lifetime width
// in the confirm message.
inline constexpr int kEnergyDigits = 5;
inline constexpr int kWidthDigits = 10;

class ConvXafsModel {
public:
    explicit ConvXafsModel(Workspace workspace);

    // "XAFS（吸収補正用）の読込": normalise Conventional_XAFS.DAT and project it.
    Report read();
    // "XAFSスペクトルのクリア": drop the curve; reset the box from the edge.
    Report clear(std::string_view boxText, int edgeIndex);
    // A click in the panel, in logical units. nullopt when it is ignored
    // (outside the accepted square, or no range read yet).
    std::optional<Report> pick(double logicalX, double logicalY);
    // "XAFS情報の確認".
    Report confirm(std::string_view boxText, int edgeIndex);
    // The shown curve drawn anew from the normalised spectrum and its range
    // files, writing nothing (after they changed outside the dialog); no
    // curve when they cannot be read.
    void redraw();
    // "XAFS情報・設定完了！".
    Report done() const;

    // Whether a click can be mapped to an energy (a range has been read).
    bool canPick() const;

    // The projected normalised spectrum; empty before a read and after a clear.
    const plot::Curve& curve() const { return m_curve; }
    // The same spectrum in energy and normalised absorption; empty when no
    // curve is shown.
    std::vector<plot::Series> series() const;
    // Energies at the two ends of the panel while a curve is shown.
    const std::optional<plot::Range>& shownRange() const { return m_range; }
    const std::string& boxText() const { return m_boxText; }
    int edgeIndex() const { return m_edgeIndex; }
    // The labels of the edge list: empty until the first read, then the
    // whole table once.
    const std::vector<std::string_view>& edgeList() const { return m_edgeList; }

private:
    Workspace m_workspace;
    plot::Curve m_curve;
    PairSpectrum m_normalised;
    std::optional<plot::Range> m_range;
    std::string m_boxText;
    int m_edgeIndex = -1;
    std::vector<std::string_view> m_edgeList;
};

// The zephalo-cli arguments that redo "XAFS（吸収補正用）の読込" and "XAFS情報の
//確認" (with the box's text and the list's index) on the same files. The
// second reads the spectrum again first, which rewrites the same files from
// the same measurement.
std::vector<std::string> replayReadCommand();
std::vector<std::string> replayConfirmCommand(std::string_view boxText, int edgeIndex);

}  // namespace zephalo::core::xafs
