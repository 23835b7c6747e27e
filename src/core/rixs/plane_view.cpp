#include "core/rixs/plane_view.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/rixs/plane_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/records.h"

namespace zephalo::core::rixs {

namespace {

// Digits of the values under the cursor and in the saved block names.
constexpr int kCursorDigits = 6;
// The default range: this far on either side of the measured excitation
// energy, at this step; without one, the selective XAFS span or this range.
constexpr double kHalfSpan = 15.0;
constexpr double kDefaultStep = 0.1;
constexpr double kFallbackFrom = 7100.0;
constexpr double kFallbackTo = 7150.0;

// Index of the nearest of `count` values start, start + step, …; nullopt when
// `value` lies more than half a step outside.
std::optional<std::size_t> nearestIndex(double value, double start, double step,
                                        std::size_t count) {
    if (count == 0) return std::nullopt;
    if (count == 1 || step == 0) return std::size_t{0};
    const double index = std::round((value - start) / step);
    if (!(index >= 0 && index <= static_cast<double>(count - 1))) return std::nullopt;
    return static_cast<std::size_t>(index);
}

double meanStep(const std::vector<double>& values) {
    return values.size() < 2
               ? 1.0
               : (values.back() - values.front()) / static_cast<double>(values.size() - 1);
}

// The first and last cell centres of an axis; a single value spans one unit.
std::pair<double, double> spanOf(const std::vector<double>& values) {
    if (values.empty()) return {0.0, 1.0};
    if (values.size() == 1) return {values.front() - 0.5, values.front() + 0.5};
    return {values.front(), values.back()};
}

std::string withUnit(double value) {
    return formatDigits(value, kCursorDigits) + std::string(texts::kUnitEv);
}

plot::Series namedSeries(std::string_view head, double value, std::string_view xLabel) {
    return plot::Series{std::string(head) + withUnit(value),
                        std::string(xLabel),
                        std::string(texts::kIntensityAxis),
                        {},
                        {}};
}

}  // namespace

void PlaneView::setPlane(RixsPlane plane) {
    m_plane = std::move(plane);
    m_fixed = false;
    m_cut.reset();
    if (!m_plane.excitation.empty() && !m_plane.emission.empty()) {
        m_cut = PlaneCell{m_plane.excitation.size() / 2, m_plane.emission.size() / 2};
    }
}

PlaneImage PlaneView::image() const {
    PlaneImage out;
    const std::size_t rows = m_plane.excitation.size();
    const std::size_t columns = m_plane.emission.size();
    if (rows == 0 || columns == 0) return out;
    out.rows = rows;
    std::tie(out.yFirst, out.yLast) = spanOf(m_plane.excitation);
    if (m_axis == PlaneAxis::Emission) {
        out.columns = columns;
        std::tie(out.xFirst, out.xLast) = spanOf(m_plane.emission);
        out.values = m_plane.total;
        return out;
    }
    const double dw = meanStep(m_plane.emission);
    const double w0 = m_plane.emission.front();
    const double lowest = m_plane.excitation.front() - m_plane.emission.back();
    const double highest = m_plane.excitation.back() - w0;
    const auto count =
        static_cast<std::size_t>(std::lround((highest - lowest) / dw)) + std::size_t{1};
    out.columns = count;
    out.xFirst = lowest;
    out.xLast = lowest + dw * static_cast<double>(count - 1);
    out.values.assign(rows * count, std::numeric_limits<double>::quiet_NaN());
    for (std::size_t r = 0; r < rows; ++r) {
        const auto row = m_plane.row(r);
        for (std::size_t t = 0; t < count; ++t) {
            const double w = m_plane.excitation[r] - (lowest + dw * static_cast<double>(t));
            const double at = (w - w0) / dw;
            if (!(at >= 0 && at <= static_cast<double>(columns - 1))) continue;
            const auto left = std::min(static_cast<std::size_t>(at), columns - 1);
            const auto right = std::min(left + 1, columns - 1);
            const double part = at - static_cast<double>(left);
            out.values[r * count + t] = row[left] + (row[right] - row[left]) * part;
        }
    }
    return out;
}

std::optional<PlaneCell> PlaneView::cellAt(double x, double omega) const {
    const auto row = nearestIndex(omega, m_plane.excitation.empty() ? 0 : m_plane.excitation[0],
                                  meanStep(m_plane.excitation), m_plane.excitation.size());
    if (!row || m_plane.emission.empty()) return std::nullopt;
    const double w = m_axis == PlaneAxis::Emission ? x : m_plane.excitation[*row] - x;
    const auto column = nearestIndex(w, m_plane.emission.front(), meanStep(m_plane.emission),
                                     m_plane.emission.size());
    if (!column) return std::nullopt;
    return PlaneCell{*row, *column};
}

bool PlaneView::follow(double x, double omega) {
    if (m_fixed) return false;
    const auto cell = cellAt(x, omega);
    if (!cell) return false;
    m_cut = cell;
    return true;
}

bool PlaneView::fix(double x, double omega) {
    const auto cell = cellAt(x, omega);
    if (!cell) return false;
    m_cut = cell;
    m_fixed = true;
    return true;
}

bool PlaneView::validCut() const {
    return m_cut && m_cut->row < m_plane.excitation.size() &&
           m_cut->column < m_plane.emission.size();
}

PlaneCut PlaneView::spectrumCut() const {
    PlaneCut out;
    if (!validCut()) return out;
    const double omega = m_plane.excitation[m_cut->row];
    for (std::size_t c = 0; c < m_plane.emission.size(); ++c) {
        const double w = m_plane.emission[c];
        out.x.push_back(m_axis == PlaneAxis::Emission ? w : omega - w);
        out.y.push_back(m_plane.at(m_cut->row, c));
    }
    return out;
}

PlaneCut PlaneView::excitationCut() const {
    PlaneCut out;
    if (!validCut()) return out;
    out.x = m_plane.excitation;
    for (std::size_t r = 0; r < m_plane.excitation.size(); ++r) {
        out.y.push_back(m_plane.at(r, m_cut->column));
    }
    return out;
}

std::string PlaneView::cursorText() const {
    if (!validCut()) return {};
    const double omega = m_plane.excitation[m_cut->row];
    const double w = m_plane.emission[m_cut->column];
    return std::string(texts::kCursorOmega) + formatDigits(omega, kCursorDigits) +
           std::string(texts::kCursorEmission) + formatDigits(w, kCursorDigits) +
           std::string(texts::kCursorTransfer) + formatDigits(omega - w, kCursorDigits) +
           std::string(texts::kCursorIntensity) +
           formatDigits(m_plane.at(m_cut->row, m_cut->column), kCursorDigits) +
           std::string(m_fixed ? texts::kCursorFixed : std::string_view());
}

std::vector<plot::Series> PlaneView::planeSeries() const {
    std::vector<plot::Series> series;
    for (std::size_t r = 0; r < m_plane.excitation.size(); ++r) {
        auto& block = series.emplace_back(
            namedSeries(texts::kSeriesOmegaHead, m_plane.excitation[r], texts::kEmissionAxis));
        block.x = m_plane.emission;
        const auto row = m_plane.row(r);
        block.y.assign(row.begin(), row.end());
    }
    return series;
}

std::vector<plot::Series> PlaneView::spectrumCutSeries() const {
    if (!validCut()) return {};
    const bool transfer = m_axis == PlaneAxis::Transfer;
    auto series = namedSeries(texts::kSeriesOmegaHead, m_plane.excitation[m_cut->row],
                              transfer ? texts::kTransferAxis : texts::kEmissionAxis);
    PlaneCut cut = spectrumCut();
    series.x = std::move(cut.x);
    series.y = std::move(cut.y);
    return {series};
}

std::vector<plot::Series> PlaneView::excitationCutSeries() const {
    if (!validCut()) return {};
    auto series = namedSeries(texts::kSeriesEmissionHead, m_plane.emission[m_cut->column],
                              texts::kExcitationAxis);
    PlaneCut cut = excitationCut();
    series.x = std::move(cut.x);
    series.y = std::move(cut.y);
    return {series};
}

PlaneRange defaultPlaneRange(const Workspace& workspace, std::optional<double> measuredOmega) {
    if (measuredOmega) {
        return {std::round(*measuredOmega - kHalfSpan), std::round(*measuredOmega + kHalfSpan),
                kDefaultStep};
    }
    SelectiveXafsTable selective;
    if (workspace.exists(files::kSelectiveForRixs) &&
        workspace.read(files::kSelectiveForRixs, selective).ok() && selective.size() >= 2) {
        return {std::floor(selective.front().energy), std::ceil(selective.back().energy),
                kDefaultStep};
    }
    return {kFallbackFrom, kFallbackTo, kDefaultStep};
}

}  // namespace zephalo::core::rixs
