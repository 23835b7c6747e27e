#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/tools/tools_texts.h"
#include "core/workspace/records.h"
#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// Neighbour averaging "Average" (the workbench's "隣接平均"): a triangular
// weighted average of 5, 9 or 15 points over an energy range of the working
// copy SelectiveXAFS_for_RIXS_Temp.DAT, written back to the same file.
namespace zephalo::core::tools {

// The items of "隣接データ数", in list order, and the half width of the
// kernel each selects.
inline constexpr std::array<text::Text, 3> kAverageItems{
    core::tools::texts::kAverageFivePoints, core::tools::texts::kAverageNinePoints,
    core::tools::texts::kAverageFifteenPoints};
inline constexpr std::array<int, 3> kAverageHalfWidths{2, 4, 7};

// The index range an average covers: `first` is the last index with
// E <= start, `last` the first index with E >= end.
struct AverageRange {
    std::size_t first = 0;
    std::size_t last = 0;
};

// The index search over the energies in file order. nullopt when no point
// lies at or below `start` or none at or above `end`.
std::optional<AverageRange> averageRange(std::span<const XafsPoint> points, double start,
                                         double end);

// The records with Y1 and Y2 at indices range.first … range.last replaced by
// the triangular average of half width `halfWidth` (weights h+1−d) over the
// values as given; the window is cut at the first and last record of the
// whole data, not at the range, and divided by the weights actually in it.
// Energies and the records outside the range are returned unchanged.
SelectiveXafsTable averageNeighbours(std::span<const XafsPoint> points, AverageRange range,
                                     int halfWidth);

// The dialog's boxes and list as typed and chosen.
struct AverageBoxes {
    std::string start;        // "平均開始エネルギー" (eV)
    std::string end;          // "平均終了エネルギー" (eV)
    std::optional<int> item;  // "隣接データ数": 0, 1, 2; nullopt when none is chosen

    bool operator==(const AverageBoxes&) const = default;
};

// Progress of a run: called with the index about to be averaged, within
// range.first … range.last (the progress bar's range).
using AverageProgress = std::function<void(std::size_t index, AverageRange range)>;

class AverageModel {
public:
    explicit AverageModel(Workspace workspace);

    // Dialog initialisation: the boxes from XAFS_MinMax.DAT (smallest and
    // largest energy, 10 significant digits), no item chosen, and the opening
    // message.
    Report open();
    // "平均開始": averages the working copy with the boxes and item given and
    // rewrites it. Refuses with the error message and no file changed when no
    // item is chosen, the range leaves the selective XAFS or selects fewer
    // than two points.
    Report run(const AverageBoxes& typed, const AverageProgress& progress = {});

    // The boxes after open() (and as last given to run()).
    const AverageBoxes& boxes() const { return m_boxes; }

private:
    Workspace m_workspace;
    AverageBoxes m_boxes;
};

// The zephalo-cli arguments that redo "平均開始" with the boxes and list item
// as chosen; empty when no item is chosen (the step refuses then).
std::vector<std::string> replayCommand(const AverageBoxes& typed);

}  // namespace zephalo::core::tools
