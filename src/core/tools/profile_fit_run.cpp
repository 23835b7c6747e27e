#include "core/tools/profile_fit_run.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <random>
#include <thread>
#include <utility>

#include "core/numeric/memory_advice.h"
#include "core/numeric/r_factor.h"
#include "core/rixs/rixs_compute.h"
#include "core/rixs/rixs_core.h"
#include "core/rixs/spectrum_pairing.h"
#include "core/tools/profile_fit.h"
#include "core/tools/tools_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::tools {

namespace {

// The smoothing weights the noise rule tries first (S = 10^k), and the
// halvings of the bracket in log S after.
constexpr int kLowestPower = -3;
constexpr int kHighestPower = 8;
constexpr int kBisections = 8;
// The band's quantiles: the central 90 %.
constexpr double kBandLow = 0.05;
constexpr double kBandHigh = 0.95;

Status refuse(std::string_view line) {
    return Status::failure(std::string(texts::kFitErrorText) + std::string(line));
}

// One measured spectrum with the calculation at its Ω.
struct Measured {
    double omega = 0.0;
    const PairSpectrum* points = nullptr;
    rixs::PointPairs pairs;
    QuadSpectrum current;  // the working copy's spectrum, unrounded
};

// Which intensity a variable is: point i of the working copy, in column A,
// B, or both (one component carries the same value in both).
struct Variable {
    std::size_t point = 0;
    int column = 2;  // 0: A, 1: B, 2: both
};

// The calculated spectrum of `profile` at Ω as Calculated_RIXS.DAT would
// hold it, paired with `measured` as the comparison pairs them, into `sums`.
Status addComparison(rixs::RixsInput input, std::span<const XafsPoint> profile, double omega,
                     const PairSpectrum& measured, numeric::RFactorSums& sums) {
    input.selective = profile;
    input.omega = omega;
    QuadSpectrum spectrum;
    if (auto s = rixs::calculateRixsSpectrum(input, spectrum); !s) return s;
    std::vector<double> grid(spectrum.size()), energies(measured.size());
    for (std::size_t j = 0; j < grid.size(); ++j) grid[j] = storedValue(spectrum[j].energy);
    for (std::size_t k = 0; k < energies.size(); ++k) energies[k] = measured[k].energy;
    const rixs::PointPairs pairs = rixs::comparedPairs(energies, grid);
    for (std::size_t k = 0; k < pairs.measured.size(); ++k) {
        sums.add(storedValue(spectrum[pairs.calculated[k]].total),
                 measured[pairs.measured[k]].intensity);
    }
    return {};
}

// The fit and everything it is built from.
class FitRun {
public:
    FitRun(const FitInputs& inputs, const FitSettings& settings,
           const std::function<void(const FitProgress&)>& progress, std::stop_token stop)
        : m_in(inputs), m_settings(settings), m_progress(progress), m_stop(std::move(stop)) {
        m_input.absorption = m_in.absorption;
        m_input.parameters = m_in.parameters;
        m_input.lines = m_in.lines;
        m_input.selective = m_in.profile;
    }

    FitOutcome run() {
        numeric::reuseFreedMemory();
        FitOutcome outcome;
        if (auto s = checkFitSettings(m_settings); !s) return refused(outcome, s);
        if (auto s = chooseVariables(); !s) return refused(outcome, s);
        if (auto s = buildProblem(); !s) return refused(outcome, s);
        if (auto s = m_fit.prepare(m_problem); !s) return refused(outcome, refuse(s.error()));
        m_total = (m_settings.smoothing ? 1 : (kHighestPower - kLowestPower + 2) + kBisections) +
                  m_settings.band;
        std::vector<double> change;
        if (auto s = chooseSmoothing(outcome, change); !s) return refused(outcome, s);
        if (m_cancelled) return stopped(outcome);
        outcome.fitted = profileWith(change);
        if (m_settings.band > 0) {
            if (auto s = makeBand(change, outcome); !s) return refused(outcome, s);
            if (m_cancelled) return stopped(outcome);
        }
        return finish(outcome);
    }

private:
    FitOutcome& refused(FitOutcome& outcome, const Status& status) {
        outcome.report = Report::refusedUnchanged(status);
        return outcome;
    }

    FitOutcome& stopped(FitOutcome& outcome) {
        outcome.cancelled = true;
        outcome.report = Report::refused(std::string(texts::kFitStoppedText));
        return outcome;
    }

    // The window: inside the profile's energies, holding a point; one
    // variable per point inside it and component.
    Status chooseVariables() {
        const FitSettings& s = m_settings;
        if (m_in.profile.empty()) return refuse(texts::kFitNoSelectiveLine);
        if (m_in.measured.empty()) return refuse(texts::kFitNoMeasuredLine);
        const auto [low, high] = std::minmax_element(
            m_in.profile.begin(), m_in.profile.end(),
            [](const XafsPoint& a, const XafsPoint& b) { return a.energy < b.energy; });
        m_from = s.from.value_or(low->energy);
        m_to = s.to.value_or(high->energy);
        const bool inside = m_from >= low->energy && m_to <= high->energy && m_from <= m_to;
        const bool any =
            std::any_of(m_in.profile.begin(), m_in.profile.end(),
                        [&](const XafsPoint& p) { return p.energy >= m_from && p.energy <= m_to; });
        if (!inside || !any) {
            return refuse(texts::fitWindowLine(formatNumber(m_from), formatNumber(m_to),
                                               formatNumber(low->energy),
                                               formatNumber(high->energy)));
        }
        const bool two = std::any_of(m_in.profile.begin(), m_in.profile.end(),
                                     [](const XafsPoint& p) { return p.a != p.b; });
        for (int column : two ? std::vector<int>{0, 1} : std::vector<int>{2}) {
            for (std::size_t i = 0; i < m_in.profile.size(); ++i) {
                const double e = m_in.profile[i].energy;
                if (e >= m_from && e <= m_to) m_variables.push_back({i, column});
            }
        }
        return {};
    }

    // The spectra, their pairs and responses, and the rows of the programme.
    Status buildProblem() {
        std::vector<std::pair<double, const PairSpectrum*>> spectra{
            {m_settings.omega, &m_in.measured}};
        for (const MeasuredSpectrum& s : m_in.map) spectra.push_back({s.excitation, &s.points});
        for (const auto& [omega, points] : spectra) {
            Measured m;
            m.omega = omega;
            m.points = points;
            rixs::RixsInput input = m_input;
            input.omega = omega;
            if (auto s = rixs::calculateRixsSpectrum(input, m.current); !s) {
                return refuse("\r\n" + s.error());
            }
            for (const QuadPoint& p : m.current) {
                if (auto refusal = rixs::nonFiniteRefusal(p, input.parameters.scalingFactor,
                                                          m_in.profileFile)) {
                    return refuse("\r\n" + refusal->error());
                }
            }
            std::vector<double> grid(m.current.size()), energies(points->size());
            for (std::size_t j = 0; j < grid.size(); ++j)
                grid[j] = storedValue(m.current[j].energy);
            for (std::size_t k = 0; k < energies.size(); ++k) energies[k] = (*points)[k].energy;
            m.pairs = rixs::comparedPairs(energies, grid);
            m_spectra.push_back(std::move(m));
        }
        if (m_spectra.front().pairs.measured.empty()) return refuse(texts::kFitNoPairsLine);

        const std::size_t n = m_variables.size();
        const std::size_t points = m_in.profile.size();
        double measuredSum = 0.0;
        for (const Measured& m : m_spectra) {
            for (std::size_t k = 0; k < m.pairs.measured.size(); ++k) {
                measuredSum += (*m.points)[m.pairs.measured[k]].intensity;
            }
        }
        if (!(measuredSum > 0.0)) {
            return refuse(texts::kNoMeasuredIntensityLine);
        }
        m_scale = 100.0 / measuredSum;
        m_problem->variables = n;
        m_problem->lower.resize(n);
        m_problem->runStart.assign(n, false);
        for (std::size_t v = 0; v < n; ++v) {
            const XafsPoint& p = m_in.profile[m_variables[v].point];
            m_problem->lower[v] = -(m_variables[v].column == 1 ? p.b : p.a);
            m_problem->runStart[v] = v == 0 || m_variables[v].column != m_variables[v - 1].column;
        }
        // The rows, spectrum after spectrum, each spectrum's response made
        // and dropped in turn, the even spectra here and the odd ones on a
        // second thread.
        std::vector<std::size_t> offset{0};
        for (const Measured& m : m_spectra) {
            offset.push_back(offset.back() + m.pairs.measured.size());
        }
        m_problem->response.reserve(offset.back() * n);
        numeric::adviseHugePages(m_problem->response.data(), offset.back() * n * sizeof(double));
        m_problem->response.resize(offset.back() * n);
        m_problem->residual.resize(offset.back());
        std::atomic<bool> finite = true;
        const auto rowsOf = [&](std::size_t first) {
            rixs::RixsResponse response;
            for (std::size_t s = first; s < m_spectra.size() && finite; s += 2) {
                const Measured& m = m_spectra[s];
                rixs::RixsInput input = m_input;
                input.omega = m.omega;
                if (!rixs::rixsResponse(input, m.current.size(), {}, response)) {
                    finite = false;
                    return;
                }
                double* row = m_problem->response.data() + offset[s] * n;
                for (std::size_t k = 0; k < m.pairs.measured.size(); ++k, row += n) {
                    const std::size_t q = m.pairs.calculated[k];
                    const float* values = response.values.data() + q * 2 * points;
                    const double scale = response.scale[q] * m_scale;
                    for (std::size_t v = 0; v < n; ++v) {
                        const Variable& var = m_variables[v];
                        double a = 0.0;
                        if (var.column != 1) a += values[var.point];
                        if (var.column != 0) a += values[points + var.point];
                        row[v] = scale * a;
                    }
                    const double measured = (*m.points)[m.pairs.measured[k]].intensity;
                    m_problem->residual[offset[s] + k] = (measured - m.current[q].total) * m_scale;
                }
            }
        };
        {
            std::jthread second;
            if (m_spectra.size() > 1) second = std::jthread(rowsOf, 1);
            rowsOf(0);
        }
        if (!finite) return refuse(texts::kFitNotFinite);
        return {};
    }

    // Solves at S; false (and m_cancelled) when asked to stop first.
    bool step() {
        if (m_stop.stop_requested()) {
            m_cancelled = true;
            return false;
        }
        return true;
    }
    void solved() {
        ++m_done;
        if (m_progress) m_progress({m_done, std::max(m_done, m_total)});
    }

    Status solveAt(double smoothing, std::vector<double>& change, double& misfit) {
        if (auto s = m_fit.solve(smoothing, change); !s) return refuse(s.error());
        solved();
        misfit = m_fit.misfit(change);
        return {};
    }

    // S as given, or the largest S whose fit still reaches the R factor of
    // the measured noise (the discrepancy principle), searched over powers
    // of ten and then halved in log S.
    Status chooseSmoothing(FitOutcome& outcome, std::vector<double>& change) {
        double misfit = 0.0;
        if (m_settings.smoothing) {
            if (!step()) return {};
            outcome.smoothing = *m_settings.smoothing;
            return solveAt(outcome.smoothing, change, misfit);
        }
        outcome.automatic = true;
        std::vector<const PairSpectrum*> spectra;
        std::vector<std::vector<bool>> used;
        for (const Measured& m : m_spectra) {
            spectra.push_back(m.points);
            std::vector<bool>& u = used.emplace_back(m.points->size(), false);
            for (const std::size_t p : m.pairs.measured) u[p] = true;
        }
        const double target = noiseRFactor(spectra, used);
        outcome.noiseR = target;
        if (!step()) return {};
        if (auto s = solveAt(0.0, change, misfit); !s) return s;
        outcome.smoothing = 0.0;
        if (misfit >= target) return {};
        std::vector<double> trial;
        double low = 0.0, high = 0.0;
        for (int power = kLowestPower; power <= kHighestPower; ++power) {
            if (!step()) return {};
            const double s = std::pow(10.0, power);
            if (auto r = solveAt(s, trial, misfit); !r) return r;
            if (misfit > target) {
                high = s;
                break;
            }
            low = s;
            change = trial;
        }
        outcome.smoothing = low;
        if (high == 0.0) return {};  // even the smoothest change stays under the noise
        double lowLog = low > 0.0 ? std::log10(low) : kLowestPower - 1.0;
        double highLog = std::log10(high);
        for (int b = 0; b < kBisections; ++b) {
            if (!step()) return {};
            const double middle = (lowLog + highLog) / 2;
            const double s = std::pow(10.0, middle);
            if (auto r = solveAt(s, trial, misfit); !r) return r;
            if (misfit > target) {
                highLog = middle;
            } else {
                lowLog = middle;
                outcome.smoothing = s;
                change = trial;
            }
        }
        return {};
    }

    // The working copy with a change, as the file will hold it.
    SelectiveXafsTable profileWith(std::span<const double> change) const {
        SelectiveXafsTable out = m_in.profile;
        for (std::size_t v = 0; v < m_variables.size(); ++v) {
            const Variable& var = m_variables[v];
            XafsPoint& p = out[var.point];
            const double value = storedValue(std::max(0.0, -m_problem->lower[v] + change[v]));
            if (var.column != 1) p.a = value;
            if (var.column != 0) p.b = value;
        }
        return out;
    }

    // Refits on measurements resampled around the fit (each residual kept
    // or turned over, by a seed of its own per refit), and per energy the
    // central 90 % of the refitted intensities. Every refit starts from the
    // fit's own optimum, whose exactly fitted rows the resampling leaves as
    // they are, so the band is the same whatever the machine and whichever
    // of the two threads takes which refit.
    Status makeBand(const std::vector<double>& change, FitOutcome& outcome) {
        const std::size_t n = m_variables.size();
        const std::size_t rows = m_problem->rows();
        // Per row: the fit's value and the residual around it.
        std::vector<double> fitted(rows, 0.0), around(rows);
        for (std::size_t j = 0; j < rows; ++j) {
            const double* row = m_problem->response.data() + j * n;
            for (std::size_t i = 0; i < n; ++i) fitted[j] += row[i] * change[i];
            around[j] = m_problem->residual[j] - fitted[j];
        }
        const std::size_t count = m_settings.band;
        std::vector<std::vector<double>> refits(count);
        std::atomic<std::size_t> next{0}, finished{0};
        const auto refitEvery = [&](auto&& afterEach) {
            std::vector<double> resampled(rows);
            ProfileFit fit;
            for (std::size_t b = next++; b < count; b = next++) {
                if (m_stop.stop_requested()) return Status{};
                std::mt19937_64 random(kFitBandSeed + b);
                for (std::size_t j = 0; j < rows; ++j) {
                    resampled[j] = fitted[j] + ((random() >> 63) ? around[j] : -around[j]);
                }
                if (auto s = fit.prepare(m_fit); !s) return refuse(s.error());
                fit.setResidual(resampled);
                if (auto s = fit.solve(outcome.smoothing, refits[b]); !s) return refuse(s.error());
                ++finished;
                afterEach();
            }
            return Status{};
        };
        Status second;
        std::jthread helper;
        if (count > 1) helper = std::jthread([&] { second = refitEvery([] {}); });
        // Progress is told from this thread alone.
        const std::size_t before = m_done;
        Status first = refitEvery([&] {
            m_done = before + finished;
            if (m_progress) m_progress({m_done, std::max(m_done, m_total)});
        });
        if (helper.joinable()) helper.join();
        if (!first) return first;
        if (!second) return second;
        if (m_stop.stop_requested()) {
            m_cancelled = true;
            return {};
        }
        m_done = before + count;
        if (m_progress) m_progress({m_done, std::max(m_done, m_total)});
        std::vector<std::vector<double>> values(n);
        for (const std::vector<double>& refit : refits) {
            for (std::size_t v = 0; v < n; ++v) {
                values[v].push_back(std::max(0.0, -m_problem->lower[v] + refit[v]));
            }
        }
        const auto quantile = [&](std::vector<double>& sorted, double q) {
            return sorted[static_cast<std::size_t>(
                std::lround(q * static_cast<double>(sorted.size() - 1)))];
        };
        for (std::size_t v = 0; v < n; ++v) {
            std::sort(values[v].begin(), values[v].end());
            const XafsPoint point{m_in.profile[m_variables[v].point].energy,
                                  storedValue(quantile(values[v], kBandLow)),
                                  storedValue(quantile(values[v], kBandHigh))};
            if (m_variables[v].column != 1) outcome.bandA.push_back(point);
            if (m_variables[v].column != 0) outcome.bandB.push_back(point);
        }
        return {};
    }

    // The R factor as the comparison will show it, the files, the message.
    FitOutcome& finish(FitOutcome& outcome) {
        numeric::RFactorSums at;
        if (auto s = addComparison(m_input, outcome.fitted, m_settings.omega, m_in.measured, at);
            !s) {
            return refused(outcome, refuse("\r\n" + s.error()));
        }
        outcome.rFactor = at.percent();
        if (!outcome.rFactor) return refused(outcome, refuse(texts::kNoMeasuredIntensityLine));
        std::string text = texts::fitDoneText(formatNumber(m_from), formatNumber(m_to),
                                              formatNumber(outcome.smoothing));
        if (outcome.automatic) text += texts::fitAutomaticLine(formatNumber(outcome.noiseR));
        text += texts::fitRFactorLine(formatDigits(*outcome.rFactor, 6));
        if (!m_in.map.empty()) {
            numeric::RFactorSums all = at;
            for (const MeasuredSpectrum& s : m_in.map) {
                if (auto r = addComparison(m_input, outcome.fitted, s.excitation, s.points, all);
                    !r) {
                    return refused(outcome, refuse("\r\n" + r.error()));
                }
            }
            text += texts::fitMapLine(m_in.map.size(), formatNumber(all.percent().value_or(0.0)));
        }
        if (m_settings.band > 0) text += texts::fitBandDoneLine(m_settings.band);
        text += texts::kFitClosingText;
        outcome.report = Report::success(std::move(text));
        return outcome;
    }

    const FitInputs& m_in;
    FitSettings m_settings;
    const std::function<void(const FitProgress&)>& m_progress;
    std::stop_token m_stop;
    rixs::RixsInput m_input;
    double m_from = 0.0, m_to = 0.0;
    std::vector<Variable> m_variables;
    std::vector<Measured> m_spectra;
    double m_scale = 1.0;
    std::shared_ptr<FitProblem> m_problem = std::make_shared<FitProblem>();
    ProfileFit m_fit;
    std::size_t m_done = 0, m_total = 0;
    bool m_cancelled = false;
};

}  // namespace

double noiseRFactor(const std::vector<const PairSpectrum*>& spectra,
                    const std::vector<std::vector<bool>>& used) {
    double noise = 0.0;
    double measured = 0.0;
    for (std::size_t s = 0; s < spectra.size(); ++s) {
        const PairSpectrum& points = *spectra[s];
        double distance = 0.0;
        std::size_t inner = 0, count = 0;
        for (std::size_t p = 0; p < points.size(); ++p) {
            if (!used[s][p]) continue;
            ++count;
            measured += points[p].intensity;
            if (p == 0 || p + 1 == points.size()) continue;
            distance += std::fabs(points[p].intensity -
                                  (points[p - 1].intensity + points[p + 1].intensity) / 2);
            ++inner;
        }
        if (inner > 0) {
            noise +=
                distance / std::sqrt(1.5) * static_cast<double>(count) / static_cast<double>(inner);
        }
    }
    return measured > 0.0 ? 100.0 * noise / measured : 0.0;
}

Status checkFitSettings(const FitSettings& s) {
    if (!ProfileFit::available()) return Status::failure(std::string(texts::kFitNoSolverText));
    if (!std::isfinite(s.omega) || !rixs::excitationAccepted(s.omega)) {
        return refuse(texts::fitExcitationLine(formatNumber(s.omega),
                                               formatNumber(rixs::kLowestExcitation),
                                               formatNumber(rixs::kHighestExcitation)));
    }
    if (s.smoothing && !(*s.smoothing >= 0.0 && std::isfinite(*s.smoothing))) {
        return refuse(texts::kFitSmoothingLine);
    }
    if (s.band > kMaxFitBand) return refuse(texts::fitBandLine(kMaxFitBand));
    return {};
}

FitOutcome fitProfile(const FitInputs& inputs, const FitSettings& settings,
                      const std::function<void(const FitProgress&)>& progress,
                      std::stop_token stop) {
    FitRun run(inputs, settings, progress, std::move(stop));
    return run.run();
}

namespace {

// The fit's inputs from the work space: the working copy, the measured
// spectrum and map, and the calculation's inputs.
Status readFitInputs(const Workspace& workspace, FitInputs& in) {
    const auto read = [](const Status& status) {
        return status ? status : refuse("\r\n" + status.error());
    };
    in.profileFile = pathText(workspace.path(files::kSelectiveWork));
    if (auto r = read(workspace.read(files::kSelectiveWork, in.profile, rixs::kMaxSelectivePoints));
        !r) {
        return r;
    }
    if (in.profile.empty()) return refuse(texts::kFitNoSelectiveLine);
    if (auto r = read(workspace.read(files::kRixsExperiment, in.measured, kMaxPoints)); !r)
        return r;
    if (in.measured.empty()) return refuse(texts::kFitNoMeasuredLine);
    if (workspace.exists(files::kRixsExperimentMap)) {
        if (auto r = read(workspace.read(files::kRixsExperimentMap, in.map)); !r) return r;
    }
    if (auto r =
            read(workspace.read(files::kConvXafsNorm, in.absorption, rixs::kMaxAbsorptionPoints));
        !r) {
        return r;
    }
    if (auto r = read(workspace.readParameters(in.parameters)); !r) return r;
    return read(workspace.read(files::kFinalState, in.lines));
}

}  // namespace

FitOutcome fitWorkingCopy(const Workspace& workspace, const FitSettings& settings,
                          const std::function<void(const FitProgress&)>& progress,
                          std::stop_token stop) {
    FitOutcome outcome;
    FitInputs inputs;
    Status status = checkFitSettings(settings);
    if (status) status = readFitInputs(workspace, inputs);
    if (status) {
        outcome = fitProfile(inputs, settings, progress, std::move(stop));
        if (!outcome.report.done) return outcome;
        // Without a band the band's files are emptied: a band belongs to its fit.
        status = workspace.write(files::kSelectiveWork, outcome.fitted);
        if (status) status = workspace.write(files::kFitBandA, outcome.bandA);
        if (status) status = workspace.write(files::kFitBandB, outcome.bandB);
    }
    if (!status) outcome.report = Report::refusedUnchanged(status);
    return outcome;
}

Status fitSettingsOf(std::string_view omega, std::string_view from, std::string_view to,
                     std::string_view smoothing, std::string_view band, FitSettings& out) {
    out = FitSettings{};
    if (auto s = readBox(texts::kFitOmegaBox, omega, out.omega); !s) return s;
    const auto optional = [](std::string_view box, std::string_view text,
                             std::optional<double>& value) {
        if (isBlankText(text)) return Status{};
        double number = 0.0;
        if (auto s = readBox(box, text, number); !s) return s;
        value = number;
        return Status{};
    };
    if (auto s = optional(texts::kFitFromBox, from, out.from); !s) return s;
    if (auto s = optional(texts::kFitToBox, to, out.to); !s) return s;
    if (auto s = optional(texts::kFitSmoothingBox, smoothing, out.smoothing); !s) return s;
    double refits = 0.0;
    if (auto s = readBox(texts::kFitBandBox, band, refits); !s) return s;
    if (!(refits >= 0.0 && refits <= static_cast<double>(kMaxFitBand)) ||
        refits != std::floor(refits)) {
        return refuse(texts::fitBandLine(kMaxFitBand));
    }
    out.band = static_cast<std::size_t>(refits);
    return {};
}

std::vector<std::string> fitCommand(const FitSettings& settings) {
    std::vector<std::string> command{"fit", "--omega", formatDigits(settings.omega, 17)};
    if (settings.from) command.insert(command.end(), {"--from", formatDigits(*settings.from, 17)});
    if (settings.to) command.insert(command.end(), {"--to", formatDigits(*settings.to, 17)});
    if (settings.smoothing) {
        command.insert(command.end(), {"--smooth", formatDigits(*settings.smoothing, 17)});
    }
    if (settings.band > 0) command.insert(command.end(), {"--band", std::to_string(settings.band)});
    return command;
}

}  // namespace zephalo::core::tools
