#include "core/rixs/rixs_core.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/numeric/emission_grid.h"
#include "core/numeric/fork_join.h"
#include "core/numeric/input_texts.h"
#include "core/numeric/line_factors.h"
#include "core/numeric/line_sums.h"
#include "core/numeric/row_sums.h"
#include "core/rixs/rixs_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core::rixs {

namespace {

// A segment is chosen once Ω lies less than this far above its first point.
constexpr double kSegmentReach = 0.5;

QuadPoint combine(double energy, const std::array<double, 4>& intensity, bool twoComponents,
                  double scaling) {
    QuadPoint point{energy, 0.0, 0.0, 0.0};
    if (twoComponents) {
        point.comp1 = (intensity[1] + intensity[0]) * scaling;
        point.comp2 = (intensity[3] + intensity[2]) * scaling;
    } else {
        point.comp1 = (((intensity[1] + intensity[0]) + intensity[2]) + intensity[3]) * scaling;
        point.comp2 = 0.0;
    }
    point.total = point.comp1 + point.comp2;
    return point;
}

// What depends on Ω and is refused: Ω itself, and an absorption correction
// that is not finite there. `multiplier` receives f_abs.
Status checkExcitation(const RixsInput& input, double omega, double& multiplier) {
    if (omega == 0.0 || !std::isfinite(omega)) {
        return Status::failure(core::rixs::texts::kCheckExcitationPart1 + formatNumber(omega) +
                               core::rixs::texts::kCheckExcitationPart2);
    }
    const CalculationParameters& p = input.parameters;
    // f_abs = 1/(α·μ(Ω) + 1); an infinite or undefined value would fill the
    // whole spectrum with inf or nan.
    const double mu = absorptionAt(input.absorption, omega);
    if (!std::isfinite(mu)) {
        return Status::failure(
            text::fill(core::rixs::texts::kCheckExcitationPart3, {files::kConvXafsNorm}));
    }
    multiplier = 1 / (p.absorptionFactor * mu + 1);
    if (!std::isfinite(multiplier)) {
        return Status::failure(core::rixs::texts::kCheckExcitationPart4 +
                               formatNumber(p.absorptionFactor) +
                               core::rixs::texts::kCheckExcitationPart5 + formatNumber(mu) +
                               core::rixs::texts::kCheckExcitationPart6);
    }
    return {};
}

// What does not depend on Ω and is refused; `grid` receives the emission
// energies.
Status checkShared(const RixsInput& input, std::vector<double>& grid) {
    grid.clear();
    if (input.selective.size() < 2) {
        return Status::failure(
            text::fill(core::rixs::texts::kCheckSharedPart1, {files::kSelectiveForRixs}) +
            std::to_string(input.selective.size()) + core::rixs::texts::kCheckSharedPart2);
    }
    if (input.selective.size() > kMaxSelectivePoints) {
        return Status::failure(
            text::fill(core::rixs::texts::kCheckSharedPart3, {files::kSelectiveForRixs}) +
            std::to_string(input.selective.size()) + core::rixs::texts::kCheckSharedPart4 +
            std::to_string(kMaxSelectivePoints) + core::rixs::texts::kCheckSharedPart5);
    }
    if (input.absorption.size() > kMaxAbsorptionPoints) {
        return Status::failure(
            text::fill(core::rixs::texts::kCheckSharedPart6, {files::kConvXafsNorm}) +
            std::to_string(input.absorption.size()) + core::rixs::texts::kCheckSharedPart7 +
            std::to_string(kMaxAbsorptionPoints) + core::rixs::texts::kCheckSharedPart8);
    }
    const CalculationParameters& p = input.parameters;
    return numeric::emissionGrid(p.gridStart, p.gridEnd, p.gridStep, grid);
}

// What both kernels refuse at the input's own Ω.
Status checkInput(const RixsInput& input, std::vector<double>& grid, double& multiplier) {
    grid.clear();
    if (auto status = checkExcitation(input, input.omega, multiplier); !status) return status;
    return checkShared(input, grid);
}

}  // namespace

double absorptionAt(std::span<const PairPoint> absorption, double omega) {
    for (std::size_t m = 0; m + 1 < absorption.size(); ++m) {
        const PairPoint& a = absorption[m];
        const PairPoint& b = absorption[m + 1];
        if (omega - a.energy < kSegmentReach) {
            return a.intensity +
                   (omega - a.energy) * (b.intensity - a.intensity) / (b.energy - a.energy);
        }
    }
    return 1.0;
}

Status calculateRixsLiteral(const RixsInput& input, QuadSpectrum& out) {
    out.clear();
    std::vector<double> grid;  // only to refuse what the loop below cannot do
    double absorptionMultiplier = 1.0;
    if (auto status = checkInput(input, grid, absorptionMultiplier); !status) return status;

    const CalculationParameters& p = input.parameters;
    const FinalStateFunction& f = input.lines;
    const auto xafs = input.selective;
    const double omega = input.omega;
    const double core = p.coreEnergy;
    const double gamma = p.lifetimeWidth;
    const double h = xafs[1].energy - xafs[0].energy;
    const auto d = numeric::finalStateEnergies(f, core);
    const auto factor = numeric::lineFactors(f, core);

    double w = p.gridStart;
    while (w <= p.gridEnd) {
        const double r = w / omega;
        std::array<double, 4> sum{};
        for (std::size_t k = 0; k < xafs.size(); ++k) {
            const double e = xafs[k].energy - core;
            const double toEdge = e - (omega - core);
            const double resonance = (e + core) * r / (toEdge * toEdge + (gamma / 2) * (gamma / 2));
            std::array<double, 4> term{};
            for (std::size_t x = 0; x < 4; ++x) {
                const double detuning = e - ((omega - w) - d[x]);
                const double halfWidth = f.width[x] / 2;
                const double line =
                    f.amplitude[x] / (halfWidth * halfWidth + detuning * detuning) * factor[x];
                // Lines A and B belong to the first component, C and D to the second.
                term[x] = resonance * line * (x < 2 ? xafs[k].a : xafs[k].b);
            }
            for (std::size_t x = 0; x < 4; ++x) sum[x] += numeric::simpsonWeight(k) * term[x];
        }
        std::array<double, 4> intensity{};
        for (std::size_t x = 0; x < 4; ++x) {
            intensity[x] = (h / 3) * sum[x] * absorptionMultiplier;
        }
        out.push_back(combine(w, intensity, f.twoComponents(), p.scalingFactor));
        w += p.gridStep;
    }
    return {};
}

Status FastKernel::prepare(const RixsInput& input) {
    m_input = input;
    m_e.clear();
    if (auto status = checkShared(input, m_grid); !status) return status;
    const CalculationParameters& p = input.parameters;
    const FinalStateFunction& f = input.lines;
    const auto xafs = input.selective;
    const std::size_t n = xafs.size();
    m_h = xafs[1].energy - xafs[0].energy;
    m_d = numeric::finalStateEnergies(f, p.coreEnergy);
    const auto factor = numeric::lineFactors(f, p.coreEnergy);
    m_e.resize(n);
    for (std::size_t k = 0; k < n; ++k) m_e[k] = xafs[k].energy - p.coreEnergy;
    for (std::size_t x = 0; x < 4; ++x) {
        const double halfWidth = f.width[x] / 2;
        m_halfWidth2[x] = halfWidth * halfWidth;
        m_strength[x] = f.amplitude[x] * factor[x];
    }
    return {};
}

Status FastKernel::begin(double omega, Excitation& at) const {
    at.omega = omega;
    if (auto status = checkExcitation(m_input, omega, at.multiplier); !status) return status;
    // The weighted resonance factor (without r) times each component.
    const std::size_t n = m_e.size();
    const auto xafs = m_input.selective;
    const double core = m_input.parameters.coreEnergy;
    const double halfGamma = m_input.parameters.lifetimeWidth / 2;
    at.resonance.resize(n);
    at.first.resize(n);
    at.second.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double toEdge = m_e[k] - (omega - core);
        at.resonance[k] = numeric::simpsonWeight(k) *
                          ((m_e[k] + core) / (toEdge * toEdge + halfGamma * halfGamma));
        at.first[k] = at.resonance[k] * xafs[k].a;
        at.second[k] = at.resonance[k] * xafs[k].b;
    }
    return {};
}

void FastKernel::evaluate(const Excitation& at, std::size_t begin, std::size_t end,
                          QuadPoint* out) const {
    const double omega = at.omega;
    const bool twoComponents = m_input.lines.twoComponents();
    for (std::size_t j = begin; j < end; ++j) {
        const double w = m_grid[j];
        std::array<double, 4> centre{};
        for (std::size_t x = 0; x < 4; ++x) centre[x] = (omega - w) - m_d[x];
        const auto sums = numeric::lineSums(m_e.data(), at.first.data(), at.second.data(),
                                            m_e.size(), centre, m_halfWidth2);
        const double r = w / omega;
        std::array<double, 4> intensity{};
        for (std::size_t x = 0; x < 4; ++x) {
            intensity[x] = (m_h / 3) * (sums[x] * r * m_strength[x]) * at.multiplier;
        }
        out[j] = combine(w, intensity, twoComponents, m_input.parameters.scalingFactor);
    }
}

Status calculateRixsSpectrum(const RixsInput& input, QuadSpectrum& out) {
    out.clear();
    // Ω is checked first, as the literal kernel does.
    double multiplier = 1.0;
    if (auto status = checkExcitation(input, input.omega, multiplier); !status) return status;
    FastKernel kernel;
    if (auto status = kernel.prepare(input); !status) return status;
    FastKernel::Excitation at;
    if (auto status = kernel.begin(input.omega, at); !status) return status;
    out.resize(kernel.grid().size());
    numeric::splitInTwo(out.size(), kernel.workPerPoint(), [&](std::size_t begin, std::size_t end) {
        kernel.evaluate(at, begin, end, out.data());
    });
    return {};
}

bool rixsResponse(const RixsInput& input, std::size_t rows, std::span<const double> probes,
                  RixsResponse& out) {
    out = RixsResponse{};
    // The production kernel's own factors, so that each row is its derivative.
    double multiplier = 1.0;
    if (!checkExcitation(input, input.omega, multiplier)) return false;
    FastKernel kernel;
    FastKernel::Excitation at;
    if (!kernel.prepare(input) || !kernel.begin(input.omega, at)) return false;
    const FastKernel& k = kernel;
    const std::size_t n = input.selective.size();
    const double omega = input.omega;
    const double scaling = input.parameters.scalingFactor;
    out.points = n;
    out.rows = std::min(rows, k.m_grid.size());
    out.scale.assign(out.rows, 1.0);
    out.values.assign(out.rows * 2 * n, 0.0f);
    const std::size_t probeCount = probes.size() / n;
    out.probeFirst.assign(probeCount * out.rows, 0.0);
    out.probeSecond.assign(probeCount * out.rows, 0.0);
    std::vector<double> row(2 * n);
    for (std::size_t j = 0; j < out.rows; ++j) {
        const double w = k.m_grid[j];
        std::array<double, 4> centre{};
        for (std::size_t x = 0; x < 4; ++x) centre[x] = (omega - w) - k.m_d[x];
        const double common = (k.m_h / 3) * (w / omega) * at.multiplier * scaling;
        double largest = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            std::array<double, 4> line{};
            for (std::size_t x = 0; x < 4; ++x) {
                const double detuning = k.m_e[i] - centre[x];
                line[x] = k.m_strength[x] / (detuning * detuning + k.m_halfWidth2[x]);
            }
            row[i] = common * at.resonance[i] * (line[0] + line[1]);
            row[n + i] = common * at.resonance[i] * (line[2] + line[3]);
            largest = std::max({largest, std::fabs(row[i]), std::fabs(row[n + i])});
        }
        if (!std::isfinite(largest)) {
            out = RixsResponse{};
            return false;
        }
        if (probeCount > 0) {
            numeric::probeSums(row.data(), row.data() + n, n, probes.data(), probeCount, out.rows,
                               out.probeFirst.data() + j, out.probeSecond.data() + j);
        }
        // A power of two, so that the division below is exact.
        if (largest > 0.0) out.scale[j] = std::ldexp(1.0, std::ilogb(largest) + 1);
        float* values = out.values.data() + j * 2 * n;
        for (std::size_t i = 0; i < 2 * n; ++i) {
            values[i] = static_cast<float>(row[i] / out.scale[j]);
        }
    }
    return true;
}

Status readRixsInputs(const Workspace& workspace, RixsInputFiles& files, RixsInput& input) {
    struct Needed {
        std::string_view name;
        std::string_view hint;
    };
    const Needed needed[] = {
        {files::kSelectiveForRixs, core::rixs::texts::kReadRixsInputsPart1},
        {files::kConvXafsNorm, core::rixs::texts::kReadRixsInputsPart2},
        {files::kParameters, core::rixs::texts::kReadRixsInputsPart3},
        {files::kFinalState, core::rixs::texts::kReadRixsInputsPart4},
    };
    for (const Needed& file : needed) {
        if (!workspace.exists(file.name)) {
            return Status::failure(numeric::missingInputText(workspace, file.name, file.hint));
        }
    }
    if (auto s = workspace.read(files::kSelectiveForRixs, files.selective, kMaxSelectivePoints);
        !s) {
        return s;
    }
    if (auto s = workspace.read(files::kConvXafsNorm, files.absorption, kMaxAbsorptionPoints); !s) {
        return s;
    }
    if (auto s = workspace.readParameters(input.parameters); !s) return s;
    if (auto s = workspace.read(files::kFinalState, input.lines); !s) return s;
    input.selective = files.selective;
    input.absorption = files.absorption;
    return {};
}

std::optional<Status> nonFiniteRefusal(const QuadPoint& point, double scaling,
                                       std::string_view selectiveFile) {
    const std::pair<std::string_view, double> values[] = {
        {core::texts::kTotal, point.total},
        {core::texts::kComponent1, point.comp1},
        {core::texts::kComponent2, point.comp2},
    };
    for (const auto& [quantity, value] : values) {
        if (std::isfinite(value)) continue;
        return Status::failure(numeric::nonFiniteResultText(quantity, formatNumber(point.energy),
                                                            formatNumber(scaling), selectiveFile));
    }
    return std::nullopt;
}

Status calculateRixs(const Workspace& workspace, double omega) {
    RixsInputFiles storage;
    RixsInput input;
    if (auto status = readRixsInputs(workspace, storage, input); !status) return status;
    input.omega = omega;

    QuadSpectrum spectrum;
    if (auto status = calculateRixsSpectrum(input, spectrum); !status) return status;
    for (const QuadPoint& point : spectrum) {
        // Refuses the whole step: the factors are not stored either.
        if (auto refusal = nonFiniteRefusal(point, input.parameters.scalingFactor,
                                            pathText(workspace.path(files::kSelectiveForRixs)))) {
            return workspace.refuse(*refusal);
        }
    }
    return workspace.write(files::kCalculatedRixs, spectrum);
}

}  // namespace zephalo::core::rixs
