#include "core/tools/average_model.h"

#include <algorithm>

#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::tools {

namespace {

// Significant digits of the range boxes.
constexpr int kBoxDigits = 10;

}  // namespace

std::optional<AverageRange> averageRange(std::span<const XafsPoint> points, double start,
                                         double end) {
    std::optional<std::size_t> first;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].energy <= start) first = i;
        if (points[i].energy >= end) {
            if (!first) return std::nullopt;
            return AverageRange{*first, i};
        }
    }
    return std::nullopt;
}

SelectiveXafsTable averageNeighbours(std::span<const XafsPoint> points, AverageRange range,
                                     int halfWidth) {
    SelectiveXafsTable out(points.begin(), points.end());
    if (points.empty()) return out;
    const auto h = static_cast<std::ptrdiff_t>(halfWidth);
    const auto lastIndex = static_cast<std::ptrdiff_t>(points.size()) - 1;
    const auto to = std::min(static_cast<std::ptrdiff_t>(range.last), lastIndex);
    for (auto f = static_cast<std::ptrdiff_t>(range.first); f <= to; ++f) {
        double a = 0.0;
        double b = 0.0;
        double weights = 0.0;
        for (auto i = std::max<std::ptrdiff_t>(0, f - h); i <= std::min(lastIndex, f + h); ++i) {
            const auto weight = static_cast<double>(h + 1 - (i > f ? i - f : f - i));
            a += weight * points[static_cast<std::size_t>(i)].a;
            b += weight * points[static_cast<std::size_t>(i)].b;
            weights += weight;
        }
        out[static_cast<std::size_t>(f)].a = a / weights;
        out[static_cast<std::size_t>(f)].b = b / weights;
    }
    return out;
}

AverageModel::AverageModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

Report AverageModel::open() {
    MinMaxRecord range;
    if (auto status = m_workspace.read(files::kXafsMinMax, range); !status) {
        return Report::refused(status);
    }
    m_boxes = AverageBoxes{formatDigits(range.xmin, kBoxDigits),
                           formatDigits(range.xmax, kBoxDigits), std::nullopt};
    return Report::success(std::string(texts::kAverageOpenText));
}

Report AverageModel::run(const AverageBoxes& typed, const AverageProgress& progress) {
    m_boxes = typed;
    double start = 0.0;
    double end = 0.0;
    if (auto status = readBoxes({{texts::kAverageStartBox, typed.start, start},
                                 {texts::kAverageEndBox, typed.end, end}});
        !status) {
        return Report::refused(status);
    }
    SelectiveXafsTable points;
    if (auto status = m_workspace.read(files::kSelectiveWork, points); !status) {
        return Report::refusedUnchanged(status);
    }
    MinMaxRecord limits;
    if (auto status = m_workspace.read(files::kXafsMinMax, limits); !status) {
        return Report::refusedUnchanged(status);
    }
    const auto range = averageRange(points, start, end);
    const bool itemChosen =
        typed.item && *typed.item >= 0 && *typed.item < static_cast<int>(kAverageItems.size());
    if (!itemChosen || limits.xmin > start || limits.xmax < end || !range ||
        range->first >= range->last) {
        return Report::refused(std::string(texts::kAverageErrorText));
    }
    const auto item = static_cast<std::size_t>(*typed.item);
    if (progress) {
        for (std::size_t f = range->first; f <= range->last; ++f) progress(f, *range);
    }
    const auto averaged = averageNeighbours(points, *range, kAverageHalfWidths[item]);
    if (auto status = m_workspace.write(files::kSelectiveWork, averaged); !status) {
        return Report::refused(status);
    }
    return Report::success(texts::averageDoneText(typed.start, typed.end, kAverageItems[item],
                                                  range->first, range->last));
}

std::vector<std::string> replayCommand(const AverageBoxes& typed) {
    // zephalo-cli average --points for each list item.
    constexpr std::array<const char*, 3> kPoints{"5", "9", "15"};
    if (!typed.item || *typed.item < 0 || *typed.item >= static_cast<int>(kPoints.size())) {
        return {};
    }
    return {"average",
            "--from",
            boxArgument(typed.start),
            "--to",
            boxArgument(typed.end),
            "--points",
            kPoints[static_cast<std::size_t>(*typed.item)]};
}

}  // namespace zephalo::core::tools
