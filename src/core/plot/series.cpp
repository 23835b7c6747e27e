#include "core/plot/series.h"

#include <algorithm>

#include "core/plot/plot_texts.h"
#include "core/workspace/number_text.h"
#include "core/workspace/records.h"

namespace zephalo::core::plot {

std::string_view energyLabel() {
    return texts::kEnergyColumn;
}

std::string_view intensityLabel() {
    return texts::kIntensityColumn;
}

std::string formatSeries(std::span<const Series> series) {
    std::string text;
    for (const Series& s : series) {
        if (!text.empty()) text += '\n';
        text += "# " + s.name + '\n' + s.xLabel + '\t' + s.yLabel + '\n';
        const std::size_t n = std::min(s.x.size(), s.y.size());
        for (std::size_t i = 0; i < n; ++i) text += formatRecord({s.x[i], s.y[i]});
    }
    return text;
}

namespace {

// The lines of a text without their ends (LF, CR LF or a lone CR).
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

Status parseSeries(std::string_view text, std::string_view fileLabel, std::vector<Series>& out) {
    std::vector<Series> result;
    // Within a block: before the header line (true) or among the points.
    bool expectHeader = true;
    const auto lines = linesOf(text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string_view line = lines[k];
        const int number = static_cast<int>(k) + 1;
        if (line.empty()) {
            expectHeader = true;
            continue;
        }
        if (line.starts_with('#')) {
            if (!expectHeader) return Status::failure(texts::badSeriesLineText(fileLabel, number));
            result.push_back({});
            result.back().name = std::string(line.substr(line.starts_with("# ") ? 2 : 1));
            continue;
        }
        const std::size_t tab = line.find('\t');
        const std::string_view left = line.substr(0, tab);
        const std::string_view right =
            tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
        if (expectHeader) {
            if (result.empty() || !result.back().xLabel.empty() || tab == std::string_view::npos) {
                return Status::failure(texts::badSeriesLineText(fileLabel, number));
            }
            result.back().xLabel = std::string(left);
            result.back().yLabel = std::string(right);
            expectHeader = false;
            continue;
        }
        const auto x = parseNumber(left);
        const auto y = parseNumber(right);
        if (tab == std::string_view::npos || !x || !y) {
            return Status::failure(texts::badSeriesLineText(fileLabel, number));
        }
        result.back().x.push_back(*x);
        result.back().y.push_back(*y);
    }
    out = std::move(result);
    return {};
}

}  // namespace zephalo::core::plot
