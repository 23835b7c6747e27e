#include "core/tools/peak_optimisation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "core/numeric/helper_thread.h"
#include "core/numeric/input_texts.h"
#include "core/numeric/line_factors.h"
#include "core/numeric/r_factor.h"
#include "core/numeric/row_sums.h"
#include "core/rixs/rixs_core.h"
#include "core/tools/tools_texts.h"
#include "core/tools/trial_profile.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"

// The greedy search in memory: the fast path and the exact core that decides
// where the fast path cannot be sure.
namespace zephalo::core::tools {

namespace {

// Half a unit in the sixth significant digit, relative to the value, and a
// little more for the rounding of the sums themselves.
constexpr double kRoundingBound = 5.0e-6 * (1.0 + 1.0e-3);
// Safety on the closer estimate of the rounding.
constexpr double kMargin = 1.0e-3;
// Relative size of what the floating-point sums of the two paths may differ
// by, far above what they do.
constexpr double kSumBound = 1.0e-10;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// The full core in memory on a profile that is already as written: its
// spectrum unrounded, and the R factor of its totals as Calculated_RIXS.DAT
// would hold them.
class ExactCore {
public:
    ExactCore(rixs::RixsInput input, std::span<const PairPoint> measured, std::string selective)
        : m_input(std::move(input)), m_measured(measured), m_selectiveText(std::move(selective)) {}

    Status run(std::span<const XafsPoint> profile, QuadSpectrum& spectrum, double& r) {
        m_input.selective = profile;
        if (auto s = rixs::calculateRixsSpectrum(m_input, spectrum); !s) return s;
        m_rounded.resize(spectrum.size());
        for (std::size_t j = 0; j < spectrum.size(); ++j) {
            const QuadPoint& p = spectrum[j];
            if (!std::isfinite(p.total) || !std::isfinite(p.comp1) || !std::isfinite(p.comp2)) {
                return Status::failure(numeric::nonFiniteResultText(
                    core::texts::kTotal, formatNumber(p.energy),
                    formatNumber(m_input.parameters.scalingFactor), m_selectiveText));
            }
            m_rounded[j] = QuadPoint{p.energy, asWritten(p.total), 0.0, 0.0};
        }
        const auto value = numeric::rFactor(m_rounded, m_measured);
        if (!value) return refusedWith(std::string(texts::kNoMeasuredIntensityLine));
        r = *value;
        return {};
    }

    // Component totals of a unit response: lines A+B (first column) and C+D
    // (second column) separately.
    Status response(std::span<const XafsPoint> profile, QuadSpectrum& spectrum) {
        rixs::RixsInput split = m_input;
        split.lines.mode = 1;
        split.selective = profile;
        return rixs::calculateRixsSpectrum(split, spectrum);
    }

    const rixs::RixsInput& input() const { return m_input; }

private:
    rixs::RixsInput m_input;
    std::span<const PairPoint> m_measured;
    std::string m_selectiveText;
    QuadSpectrum m_rounded;
};

// Whether every factor of the core is positive, so that the spectrum of |Y|
// bounds what any change of Y does to the spectrum. Otherwise every trial is
// decided by the full core.
bool positiveKernel(const rixs::RixsInput& input, std::span<const XafsPoint> profile) {
    const CalculationParameters& p = input.parameters;
    if (!(input.omega > 0.0) || !(p.gridStart > 0.0) || !(p.scalingFactor > 0.0)) return false;
    const auto factor = numeric::lineFactors(input.lines, p.coreEnergy);
    for (std::size_t x = 0; x < 4; ++x) {
        if (!(input.lines.amplitude[x] * factor[x] > 0.0)) return false;
    }
    const double mu = rixs::absorptionAt(input.absorption, input.omega);
    if (!(p.absorptionFactor * mu + 1 > 0.0)) return false;
    return std::all_of(profile.begin(), profile.end(),
                       [](const XafsPoint& point) { return point.energy > 0.0; });
}

// The working profile and what the fast path knows of it, per paired line.
struct Working {
    SelectiveXafsTable profile;
    // Its spectrum's totals, unrounded: the core's own, or the linear
    // estimate of an accepted trial, within `drift` of the exact sums of the
    // core's terms.
    std::vector<double> totals;
    std::vector<double> drift;
    double driftSum = 0.0;
    double r = 0.0;  // its exact R factor
    // At least the spectrum of |Y| (the exact sums), and its sum.
    std::vector<double> magnitude;
    double absSum = 0.0;
    // Per point, the largest half unit a trial value of each column can be
    // rounded by, and per line the spectrum of each column's half units.
    std::vector<double> pointUnits1, pointUnits2;
    std::vector<double> halfUnits1, halfUnits2;
    int estimatedAdoptions = 0;  // since the totals were last the core's own
    std::size_t version = 0;     // counts the profiles adopted
};

// Relative error of a single-precision response element, with room for the
// double-precision factors it was made from.
constexpr double kFloatBound = 0x1p-23;
// Below this a single-precision response element (relative to its row's
// scale) may be subnormal: its absolute error.
constexpr double kFloatFloor = 0x1p-149;
// Trials accepted by their linear estimate before the working totals are
// taken from the core again, so that the drift stays small.
constexpr int kEstimatedAdoptions = 32;
// Totals are estimated only while every one is bounded this far from
// overflowing.
constexpr double kLargestTotal = 1e300;

// The fast search: the spectrum of a trial is the working profile's plus
// the height times the unit responses of its columns, plus what the
// rounding of the trial's values as written changes, through the response
// matrix of the core. A trial whose R factor so bounded could come below
// R_best gets its totals estimated; when every estimate lies farther from a
// 6-digit rounding boundary than the estimate can err, the totals as
// Calculated_RIXS.DAT would hold them are certain and so is the R factor.
// Otherwise the full core decides on the profile as written.
class FastSearch {
public:
    FastSearch(const OptimiseInputs& inputs, const OptimiseSettings& settings, ExactCore& core)
        : m_inputs(inputs), m_settings(settings), m_core(core), m_grid(optimiseGrid(settings)) {}

    Status prepare() {
        double r = 0.0;
        if (auto s = m_core.run(m_inputs.working, m_spectrum, r); !s) return s;
        m_lines = std::min(m_spectrum.size(), m_inputs.measured.size());
        for (std::size_t j = 0; j < m_lines; ++j) m_measuredSum += m_inputs.measured[j].intensity;
        m_bounded = positiveKernel(m_core.input(), m_inputs.working) && m_measuredSum > 0.0;
        // What the core's sums may err by, relative to the sums of the
        // magnitudes of their terms: a rounding per term and per addition,
        // and a few for the factors, doubled.
        m_gamma = 2.0 * static_cast<double>(m_inputs.working.size() + 64) * kEpsilon;
        for (const double height : m_grid.heights) {
            m_peakMax =
                std::max(m_peakMax, std::fabs(trialPeak(0.0, 0.0, height, m_settings.width)));
        }
        if (auto s = adoptExact(m_inputs.working, r); !s) return s;
        if (m_grid.heights.empty()) return {};
        // The unit peak at each position: the probes of the responses.
        const std::size_t positions = m_grid.positions.size();
        const std::size_t n = m_work.profile.size();
        std::vector<double> peaks(positions * n);
        for (std::size_t k = 0; k < positions; ++k) {
            for (std::size_t i = 0; i < n; ++i) {
                const double value =
                    trialPeak(m_work.profile[i].energy, m_grid.positions[k], 1.0, m_settings.width);
                if (!std::isfinite(value)) {
                    return refusedWith(std::string(texts::kNonFinitePeakLine));
                }
                peaks[k * n + i] = value;
            }
        }
        m_linear = m_bounded &&
                   rixs::rixsResponse(m_core.input(), m_spectrum.size(), peaks, m_matrix) &&
                   m_matrix.rows == m_spectrum.size();
        m_response1.assign(positions * m_lines, 0.0);
        m_response2.assign(positions * m_lines, 0.0);
        m_responseSum1.assign(positions, 0.0);
        m_responseSum2.assign(positions, 0.0);
        SelectiveXafsTable unit = m_work.profile;
        for (std::size_t k = 0; k < positions; ++k) {
            if (!m_linear) {  // the responses by the core
                for (std::size_t i = 0; i < n; ++i) unit[i].a = unit[i].b = peaks[k * n + i];
                if (auto s = m_core.response(unit, m_spectrum); !s) return s;
            }
            for (std::size_t j = 0; j < m_lines; ++j) {
                const std::size_t at = k * m_matrix.rows + j;
                const double first = m_linear ? m_matrix.probeFirst[at] : m_spectrum[j].comp1;
                const double second = m_linear ? m_matrix.probeSecond[at] : m_spectrum[j].comp2;
                m_response1[k * m_lines + j] = first;
                m_response2[k * m_lines + j] = second;
                m_responseSum1[k] += std::fabs(first);
                m_responseSum2[k] += std::fabs(second);
            }
        }
        // The largest sum of a row's responses: with the largest trial value
        // it bounds every total, paired or not.
        const std::size_t stride = 2 * m_matrix.points;
        for (std::size_t j = 0; j < m_matrix.rows; ++j) {
            double sum = 0.0;
            for (std::size_t i = 0; i < stride; ++i) {
                sum += std::fabs(static_cast<double>(m_matrix.values[j * stride + i]));
            }
            m_largestRowSum = std::max(m_largestRowSum, (sum + 1.0) * m_matrix.scale[j]);
        }
        m_rho.assign(2 * n, 0.0);
        m_sums1.assign(m_lines, 0.0);
        m_sums2.assign(m_lines, 0.0);
        m_estimate.assign(m_lines, 0.0);
        m_estimateDrift.assign(m_lines, 0.0);
        m_change.assign(m_lines, 0.0);
        m_rounded.assign(m_lines, QuadPoint{});
        return {};
    }

    Status run(const SearchHooks& hooks, SearchResult& result) {
        double& rBest = result.rBest;
        const std::size_t positions = m_grid.positions.size();
        const std::size_t heights = m_grid.heights.size();
        const int steps = trialsPerHeight(m_inputs.components);
        for (int pass = 1; pass <= m_settings.passes; ++pass) {
            for (std::size_t k = 0; k < positions; ++k) {
                const OptimiseProgress where{pass, m_settings.passes, k, positions};
                if (hooks.stop.stop_requested()) {
                    result.cancelled = true;
                    result.stoppedAt = where;
                    return {};
                }
                if (hooks.progress) hooks.progress(where);
                const double centre = m_grid.positions[k];
                for (std::size_t hi = 0; hi < heights; ++hi) {
                    const double height = m_grid.heights[hi];
                    // The working copy as this height's trials read it, kept
                    // only once a first-column trial has replaced it.
                    std::optional<SelectiveXafsTable> before;
                    for (int step = 0; step < steps; ++step) {
                        ++result.trials;
                        const TrialColumns columns = trialColumns(m_inputs.components, step);
                        const bool lastOfPosition = hi + 1 == heights && step + 1 == steps;
                        const SelectiveXafsTable& base = before ? *before : m_work.profile;
                        if (height == 0.0) {
                            // The trial is the working copy itself.
                            if (m_work.r < rBest) {
                                rBest = m_work.r;
                                ++result.accepted;
                                m_changed = true;
                            }
                            if (lastOfPosition) m_lastTrial = base;
                            continue;
                        }
                        const bool firstTaken = before.has_value();
                        const double c1 = columns.first && !firstTaken ? 1.0 : 0.0;
                        const double c2 = columns.second ? 1.0 : 0.0;
                        if (!couldImprove(k, height, c1, c2, rBest)) {
                            if (lastOfPosition) {
                                m_lastTrial =
                                    trialProfile(base, centre, height, m_settings.width, columns);
                            }
                            continue;
                        }
                        SelectiveXafsTable trial =
                            trialProfile(base, centre, height, m_settings.width, columns);
                        if (lastOfPosition) m_lastTrial = trial;
                        double r = 0.0;
                        const bool estimated = m_linear && linearR(trial, k, height, c1, c2, r);
                        if (estimated) {
                            ++result.linearEvaluations;
                        } else {
                            ++result.exactEvaluations;
                            if (auto s = m_core.run(trial, m_spectrum, r); !s) return s;
                        }
                        if (!(r < rBest)) continue;
                        rBest = r;
                        ++result.accepted;
                        if (step + 1 < steps) before = m_work.profile;
                        if (auto s = estimated ? adoptEstimate(std::move(trial), r)
                                               : adoptExact(std::move(trial), r);
                            !s) {
                            return s;
                        }
                        m_changed = true;
                    }
                }
            }
            if (hooks.passDone) hooks.passDone(pass, rBest);
        }
        return {};
    }

    bool changed() const { return m_changed; }
    const SelectiveXafsTable& working() const { return m_work.profile; }
    const std::optional<SelectiveXafsTable>& lastTrial() const { return m_lastTrial; }

private:
    // False only when the trial's R factor cannot come below R_best.
    bool couldImprove(std::size_t k, double height, double c1, double c2, double rBest) const {
        if (!m_bounded) return true;
        const double* r1 = m_response1.data() + k * m_lines;
        const double* r2 = m_response2.data() + k * m_lines;
        double difference = 0.0;
        double magnitude = 0.0;
        for (std::size_t j = 0; j < m_lines; ++j) {
            const double t = m_work.totals[j] + height * (c1 * r1[j] + c2 * r2[j]);
            difference += std::fabs(t - m_inputs.measured[j].intensity);
            magnitude += std::fabs(t);
        }
        const double estimate = 100.0 * difference / m_measuredSum;
        if (!std::isfinite(estimate)) return true;
        const double changes =
            m_work.absSum + std::fabs(height) * (c1 * m_responseSum1[k] + c2 * m_responseSum2[k]);
        const double floating = kSumBound * changes + m_work.driftSum;
        const double bound =
            100.0 * (kRoundingBound * (changes + magnitude) + floating) / m_measuredSum;
        if (estimate - bound >= rBest) return false;
        // Closer: each total lies within what the rounding of the profile
        // values the trial rounds anew can move it; its value as written is
        // then one of the 6-digit numbers between the rounded ends.
        const double* u1 = m_work.halfUnits1.data();
        const double* u2 = m_work.halfUnits2.data();
        const double lineFloating = kSumBound * changes;
        double lowest = 0.0;
        for (std::size_t j = 0; j < m_lines; ++j) {
            const double t = m_work.totals[j] + height * (c1 * r1[j] + c2 * r2[j]);
            const double reach =
                (c1 * u1[j] + c2 * u2[j]) * (1.0 + kMargin) + lineFloating + m_work.drift[j];
            const double low = asWritten(t - reach);
            const double high = asWritten(t + reach);
            const double measured = m_inputs.measured[j].intensity;
            lowest += measured < low ? low - measured : (measured > high ? measured - high : 0.0);
        }
        return 100.0 * lowest / m_measuredSum * (1.0 - kSumBound) < rBest;
    }

    // The trial's R factor (in `r`) from its estimated totals, when each of
    // them rounds to a certain 6-digit value; false otherwise.
    bool linearR(const SelectiveXafsTable& trial, std::size_t k, double height, double c1,
                 double c2, double& r) {
        const std::size_t n = trial.size();
        const double centre = m_grid.positions[k];
        // What each value of the trial differs by from the working value
        // plus the peak: the rounding of the value as written.
        double rhoSum = 0.0;
        double largestValue = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const XafsPoint& t = trial[i];
            largestValue = std::max({largestValue, std::fabs(t.a), std::fabs(t.b)});
            const XafsPoint& w = m_work.profile[i];
            const double peak = height * trialPeak(t.energy, centre, 1.0, m_settings.width);
            m_rho[i] = c1 != 0.0 ? (t.a - w.a) - peak : 0.0;
            m_rho[n + i] = c2 != 0.0 ? (t.b - w.b) - peak : 0.0;
            rhoSum += std::fabs(m_rho[i]) + std::fabs(m_rho[n + i]);
        }
        if (!(2.0 * largestValue * m_largestRowSum < kLargestTotal)) return false;
        // The first column's sums of a two-component height's second trial
        // are those of its first, when that one was estimated and rejected.
        const FirstColumnKey key{m_work.version, k, height};
        const bool firstSums = c1 != 0.0 && !(m_firstKey && *m_firstKey == key);
        const bool secondSums = c2 != 0.0;
        // Each thread takes its rows, whose responses stay in its cache.
        const std::size_t half = (m_lines / 2) & ~std::size_t{3};
        auto sums = [&](int part) {
            const std::size_t begin = part == 0 ? 0 : half;
            const std::size_t rows = part == 0 ? half : m_lines - half;
            const float* values = m_matrix.values.data() + begin * 2 * n;
            if (firstSums) {
                numeric::rowSums(values, rows, 2 * n, 0, n, m_rho.data(), m_sums1.data() + begin);
            }
            if (secondSums) {
                numeric::rowSums(values, rows, 2 * n, n, n, m_rho.data() + n,
                                 m_sums2.data() + begin);
            }
        };
        m_helper.both(sums);
        if (firstSums) m_firstKey = key;
        const double* r1 = m_response1.data() + k * m_lines;
        const double* r2 = m_response2.data() + k * m_lines;
        const double* u1 = m_work.halfUnits1.data();
        const double* u2 = m_work.halfUnits2.data();
        const double sumError = kFloatBound + 2.0 * static_cast<double>(n) * kEpsilon;
        for (std::size_t j = 0; j < m_lines; ++j) {
            const double peak = std::fabs(height) * (c1 * r1[j] + c2 * r2[j]);
            const double rounding = (c1 * u1[j] + c2 * u2[j]) * (1.0 + kMargin);
            const double sum = (c1 != 0.0 ? m_sums1[j] : 0.0) + (c2 != 0.0 ? m_sums2[j] : 0.0);
            const double estimate =
                m_work.totals[j] + height * (c1 * r1[j] + c2 * r2[j]) + m_matrix.scale[j] * sum;
            // Bound on Σ|ΔY|·response: what the trial changes.
            const double change = peak + rounding;
            // From the exact sums of the trial: the working totals' drift,
            // the peak response's error, the single-precision rounding sums
            // and the arithmetic here.
            const double drift = m_work.drift[j] + m_gamma * (peak + change) + sumError * rounding +
                                 kEpsilon * m_work.magnitude[j] +
                                 kFloatFloor * m_matrix.scale[j] * rhoSum;
            // From the core's output: its own error besides.
            const double bound = drift + m_gamma * (m_work.magnitude[j] + change);
            if (!std::isfinite(estimate + bound)) return false;
            const double low = asWritten(estimate - bound);
            if (low != asWritten(estimate + bound)) return false;
            m_estimate[j] = estimate;
            m_estimateDrift[j] = drift;
            m_change[j] = change;
            m_rounded[j].total = low;
        }
        const auto value = numeric::rFactor(m_rounded, m_inputs.measured);
        if (!value) return false;
        r = *value;
        return true;
    }

    // `profile` (as written) with its spectrum from the core in m_spectrum
    // becomes the working profile.
    Status adoptExact(SelectiveXafsTable profile, double r) {
        m_work.profile = std::move(profile);
        m_work.r = r;
        ++m_work.version;
        m_work.estimatedAdoptions = 0;
        m_work.totals.resize(m_lines);
        for (std::size_t j = 0; j < m_lines; ++j) m_work.totals[j] = m_spectrum[j].total;
        if (auto s = halfUnitSpectrum(); !s) return s;
        m_work.magnitude.resize(m_lines);
        const bool negative =
            std::any_of(m_work.profile.begin(), m_work.profile.end(),
                        [](const XafsPoint& p) { return p.a < 0.0 || p.b < 0.0; });
        if (!negative) {
            for (std::size_t j = 0; j < m_lines; ++j) {
                m_work.magnitude[j] = std::fabs(m_work.totals[j]);
            }
        } else {
            SelectiveXafsTable magnitude = m_work.profile;
            for (XafsPoint& p : magnitude) {
                p.a = std::fabs(p.a);
                p.b = std::fabs(p.b);
            }
            QuadSpectrum absSpectrum;
            if (auto s = m_core.response(magnitude, absSpectrum); !s) return s;
            for (std::size_t j = 0; j < m_lines; ++j) {
                m_work.magnitude[j] = std::fabs(absSpectrum[j].total);
            }
        }
        m_work.absSum = 0.0;
        m_work.drift.resize(m_lines);
        for (std::size_t j = 0; j < m_lines; ++j) {
            m_work.magnitude[j] *= 1.0 + m_gamma;
            m_work.drift[j] = m_gamma * m_work.magnitude[j];
            m_work.absSum += m_work.magnitude[j];
        }
        m_work.driftSum = m_gamma * m_work.absSum;
        return {};
    }

    // An accepted trial whose totals are the linear estimate of linearR.
    Status adoptEstimate(SelectiveXafsTable profile, double r) {
        if (m_work.estimatedAdoptions + 1 >= kEstimatedAdoptions) {
            double exact = 0.0;
            if (auto s = m_core.run(profile, m_spectrum, exact); !s) return s;
            return adoptExact(std::move(profile), r);
        }
        m_work.profile = std::move(profile);
        m_work.r = r;
        ++m_work.version;
        ++m_work.estimatedAdoptions;
        m_work.absSum = 0.0;
        m_work.driftSum = 0.0;
        for (std::size_t j = 0; j < m_lines; ++j) {
            m_work.totals[j] = m_estimate[j];
            m_work.drift[j] = m_estimateDrift[j];
            m_work.magnitude[j] += m_change[j];
            m_work.absSum += m_work.magnitude[j];
            m_work.driftSum += m_work.drift[j];
        }
        updateHalfUnits();
        return {};
    }

    // Per paired line, the spectrum of each column's largest half unit that
    // a trial value of each profile point can be rounded by.
    Status halfUnitSpectrum() {
        SelectiveXafsTable units = m_work.profile;
        m_work.pointUnits1.resize(units.size());
        m_work.pointUnits2.resize(units.size());
        for (std::size_t i = 0; i < units.size(); ++i) {
            XafsPoint& p = units[i];
            p.a = m_work.pointUnits1[i] = halfUnitAbove(std::fabs(p.a) + m_peakMax);
            p.b = m_work.pointUnits2[i] = halfUnitAbove(std::fabs(p.b) + m_peakMax);
        }
        QuadSpectrum spectrum;
        if (auto s = m_core.response(units, spectrum); !s) return s;
        m_work.halfUnits1.resize(m_lines);
        m_work.halfUnits2.resize(m_lines);
        for (std::size_t j = 0; j < m_lines; ++j) {
            m_work.halfUnits1[j] = std::fabs(spectrum[j].comp1);
            m_work.halfUnits2[j] = std::fabs(spectrum[j].comp2);
        }
        return {};
    }

    // The half-unit spectra after the working profile changed, through the
    // response matrix at the points whose half unit changed (kept upper
    // bounds of the exact spectra).
    void updateHalfUnits() {
        const std::size_t n = m_work.profile.size();
        for (std::size_t i = 0; i < n; ++i) {
            const XafsPoint& p = m_work.profile[i];
            const double unit1 = halfUnitAbove(std::fabs(p.a) + m_peakMax);
            const double unit2 = halfUnitAbove(std::fabs(p.b) + m_peakMax);
            addHalfUnit(i, unit1 - m_work.pointUnits1[i], m_work.halfUnits1);
            addHalfUnit(n + i, unit2 - m_work.pointUnits2[i], m_work.halfUnits2);
            m_work.pointUnits1[i] = unit1;
            m_work.pointUnits2[i] = unit2;
        }
    }

    void addHalfUnit(std::size_t column, double change, std::vector<double>& spectrum) const {
        if (change == 0.0) return;
        const double widen = change > 0.0 ? 1.0 + 2.0 * kFloatBound : 1.0 - 2.0 * kFloatBound;
        const std::size_t stride = 2 * m_matrix.points;
        for (std::size_t j = 0; j < m_lines; ++j) {
            const double element =
                m_matrix.scale[j] * static_cast<double>(m_matrix.values[j * stride + column]);
            spectrum[j] = std::max(0.0, spectrum[j] + change * element * widen) +
                          kFloatFloor * m_matrix.scale[j] * std::fabs(change);
        }
    }

    const OptimiseInputs& m_inputs;
    const OptimiseSettings& m_settings;
    ExactCore& m_core;
    OptimiseGrid m_grid;
    QuadSpectrum m_spectrum;  // of the last profile run
    std::size_t m_lines = 0;
    double m_measuredSum = 0.0;
    bool m_bounded = false;
    bool m_linear = false;   // whether linearR may decide trials
    double m_gamma = 0.0;    // relative error of the core's sums
    double m_peakMax = 0.0;  // the largest value a trial peak adds
    double m_largestRowSum = 0.0;
    Working m_work;
    std::vector<double> m_response1, m_response2;
    std::vector<double> m_responseSum1, m_responseSum2;
    rixs::RixsResponse m_matrix;
    numeric::HelperThread m_helper;
    // Scratch of linearR: the roundings, their sums per line and column, and
    // the estimate with its drift and change per line.
    std::vector<double> m_rho, m_sums1, m_sums2, m_estimate, m_estimateDrift, m_change;
    // What the first column's sums were made for.
    struct FirstColumnKey {
        std::size_t version = 0;
        std::size_t position = 0;
        double height = 0.0;
        bool operator==(const FirstColumnKey&) const = default;
    };
    std::optional<FirstColumnKey> m_firstKey;
    QuadSpectrum m_rounded;
    bool m_changed = false;
    std::optional<SelectiveXafsTable> m_lastTrial;
};

}  // namespace

Status searchPeaks(const Workspace& workspace, const OptimiseInputs& inputs,
                   const OptimiseSettings& settings, const SearchHooks& hooks,
                   SearchResult& result) {
    result = SearchResult{};
    // Step 6: R_best of the published profile, by the core as it writes.
    if (auto s = rixs::calculateRixs(workspace, settings.omega); !s) return s;
    if (auto s = rFactorOfCalculated(workspace, inputs.measured, result.rBest); !s) return s;

    rixs::RixsInput input;
    PairSpectrum absorption;
    if (auto s = workspace.read(files::kConvXafsNorm, absorption, rixs::kMaxAbsorptionPoints); !s) {
        return s;
    }
    if (auto s = workspace.readParameters(input.parameters); !s) return s;
    if (auto s = workspace.read(files::kFinalState, input.lines); !s) return s;
    input.absorption = absorption;
    input.omega = settings.omega;
    ExactCore core(input, inputs.measured, pathText(workspace.path(files::kSelectiveForRixs)));

    FastSearch search(inputs, settings, core);
    if (auto s = search.prepare(); !s) return workspace.refuse(s);
    if (auto s = search.run(hooks, result); !s) return workspace.refuse(s);

    if (search.changed()) {
        if (auto s = workspace.write(files::kSelectiveWork, search.working()); !s) return s;
    }
    // Calculated_RIXS.DAT holds the last trial's spectrum, by the core as it writes.
    if (search.lastTrial()) {
        if (auto s = workspace.write(files::kSelectiveForRixs, *search.lastTrial()); !s) return s;
        if (auto s = rixs::calculateRixs(workspace, settings.omega); !s) return s;
    }
    return restorePublished(workspace);
}

}  // namespace zephalo::core::tools
