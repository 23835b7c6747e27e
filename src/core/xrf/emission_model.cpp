#include "core/xrf/emission_model.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/numeric/display_factors.h"
#include "core/numeric/emission_grid.h"
#include "core/numeric/fork_join.h"
#include "core/numeric/input_texts.h"
#include "core/numeric/line_factors.h"
#include "core/numeric/line_sums.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/xrf/xrf_texts.h"

namespace zephalo::core::xrf {

namespace {

// The intermediate grid is fixed: 15 eV below the edge, steps of 0.1 eV.
constexpr double kGridBelowEdge = 15.0;
constexpr double kGridStep = 0.1;
// Simpson's rule on a 0.1 eV step: h/3, the double nearest to 1/30.
constexpr double kSimpsonFactor = 1.0 / 30.0;
using numeric::kDisplayFactor;

// What both paths refuse besides the grid: r = E/x needs x ≠ 0, and every
// line is divided by 1 + κ.
Status checkInput(const EmissionModelInput& input) {
    const double x = input.excitation;
    if (x == 0.0 || !std::isfinite(x)) {
        return Status::failure(core::xrf::texts::kCheckInputPart1 + formatNumber(x) +
                               core::xrf::texts::kCheckInputPart2);
    }
    if (1 + input.parameters.absorptionFactor == 0.0) {
        return Status::failure(
            text::fill(core::xrf::texts::kCheckInputPart3, {files::kParameters}));
    }
    return {};
}

// Intermediate energies relative to the edge: ε_i = ((c − 15) + 0.1·i) − c.
std::array<double, kIntermediatePoints> intermediateGrid(double coreEnergy) {
    std::array<double, kIntermediatePoints> eps{};
    for (std::size_t i = 0; i < kIntermediatePoints; ++i) {
        const double g = (coreEnergy - kGridBelowEdge) + kGridStep * static_cast<double>(i);
        eps[i] = g - coreEnergy;
    }
    return eps;
}

// Adds the point of one emission energy from the four line intensities.
QuadPoint combine(double energy, const std::array<double, 4>& intensity, bool twoComponents,
                  double sigma) {
    QuadPoint point{energy, 0.0, 0.0, 0.0};
    if (twoComponents) {
        point.comp1 = sigma * (intensity[0] + intensity[1]);
        point.comp2 = sigma * (intensity[2] + intensity[3]);
        point.total = point.comp1 + point.comp2;
    } else {
        point.total = sigma * (((intensity[0] + intensity[1]) + intensity[2]) + intensity[3]);
        point.comp1 = point.total;
        point.comp2 = 0.0;
    }
    return point;
}

}  // namespace

Status evaluateEmissionLiteral(const EmissionModelInput& input, QuadSpectrum& out) {
    out.clear();
    const CalculationParameters& p = input.parameters;
    const FinalStateFunction& f = input.lines;
    const double x = input.excitation;
    if (auto status = checkInput(input); !status) return status;
    std::vector<double> grid;  // only to refuse what the loop below cannot do
    if (auto status = numeric::emissionGrid(p.gridStart, p.gridEnd, p.gridStep, grid); !status) {
        return status;
    }

    const double gamma = p.lifetimeWidth;
    const double c = p.coreEnergy;
    const auto d = numeric::finalStateEnergies(f, c);
    const auto factor = numeric::lineFactors(f, c);
    const auto eps = intermediateGrid(c);
    std::array<double, kIntermediatePoints> rhoAB{};
    std::array<double, kIntermediatePoints> rhoCD{};
    rhoAB.fill(1.0);
    rhoCD.fill(1.0);

    double energy = p.gridStart;
    while (energy <= p.gridEnd) {
        const double r = energy / x;
        std::array<double, 4> sum{};
        for (std::size_t i = 0; i < kIntermediatePoints; ++i) {
            const double toEdge = eps[i] - (x - c);
            const double absorption =
                (eps[i] + c) * r / (toEdge * toEdge + (gamma / 2) * (gamma / 2));
            for (std::size_t line = 0; line < 4; ++line) {
                const double detuning = eps[i] - ((x - energy) - d[line]);
                const double halfWidth = f.width[line] / 2;
                const double final = factor[line] * f.amplitude[line] /
                                     (detuning * detuning + halfWidth * halfWidth);
                const double rho = line < 2 ? rhoAB[i] : rhoCD[i];
                sum[line] += numeric::simpsonWeight(i) * absorption * final * rho;
            }
        }
        std::array<double, 4> intensity{};
        for (std::size_t line = 0; line < 4; ++line) {
            intensity[line] = sum[line] * kSimpsonFactor / (1 + p.absorptionFactor);
        }
        out.push_back(combine(energy, intensity, f.twoComponents(), p.scalingFactor));
        energy += p.gridStep;
    }
    return {};
}

Status evaluateEmission(const EmissionModelInput& input, QuadSpectrum& out) {
    out.clear();
    const CalculationParameters& p = input.parameters;
    const FinalStateFunction& f = input.lines;
    const double x = input.excitation;
    if (auto status = checkInput(input); !status) return status;
    std::vector<double> energies;
    if (auto status = numeric::emissionGrid(p.gridStart, p.gridEnd, p.gridStep, energies);
        !status) {
        return status;
    }

    const double c = p.coreEnergy;
    const auto d = numeric::finalStateEnergies(f, c);
    const auto factor = numeric::lineFactors(f, c);
    const auto eps = intermediateGrid(c);

    // The absorption term without r, times the Simpson weight: the same for
    // every emission energy. The flat weights ρ = 1 drop out exactly.
    alignas(64) std::array<double, kIntermediatePoints> weighted{};
    const double halfGamma = p.lifetimeWidth / 2;
    for (std::size_t i = 0; i < kIntermediatePoints; ++i) {
        const double toEdge = eps[i] - (x - c);
        weighted[i] =
            numeric::simpsonWeight(i) * ((eps[i] + c) / (toEdge * toEdge + halfGamma * halfGamma));
    }
    std::array<double, 4> halfWidth2{};
    std::array<double, 4> strength{};
    for (std::size_t line = 0; line < 4; ++line) {
        const double halfWidth = f.width[line] / 2;
        halfWidth2[line] = halfWidth * halfWidth;
        strength[line] = factor[line] * f.amplitude[line];
    }
    const double absorptionDivisor = 1 + p.absorptionFactor;

    out.resize(energies.size());
    auto evaluateRange = [&](std::size_t begin, std::size_t end) {
        for (std::size_t n = begin; n < end; ++n) {
            const double energy = energies[n];
            std::array<double, 4> centre{};
            for (std::size_t line = 0; line < 4; ++line) centre[line] = (x - energy) - d[line];
            const auto sums = numeric::lineSums(eps.data(), weighted.data(), weighted.data(),
                                                kIntermediatePoints, centre, halfWidth2);
            const double r = energy / x;
            std::array<double, 4> intensity{};
            for (std::size_t line = 0; line < 4; ++line) {
                intensity[line] =
                    sums[line] * r * strength[line] * kSimpsonFactor / absorptionDivisor;
            }
            out[n] = combine(energy, intensity, f.twoComponents(), p.scalingFactor);
        }
    };
    numeric::splitInTwo(energies.size(), 4 * kIntermediatePoints, evaluateRange);
    return {};
}

Status scaleEmission(std::span<QuadPoint> spectrum, double ymax) {
    double largest = 0.0;
    for (const QuadPoint& point : spectrum) {
        if (kDisplayFactor * point.total > largest) largest = kDisplayFactor * point.total;
    }
    if (spectrum.empty()) return {};
    if (!(largest > 0.0) || !std::isfinite(largest)) {
        return Status::failure(core::xrf::texts::kScaleEmissionPart1 +
                               formatNumber(largest / kDisplayFactor) +
                               core::xrf::texts::kScaleEmissionPart2);
    }
    for (QuadPoint& point : spectrum) {
        point.total = ymax * point.total / largest;
        point.comp1 = ymax * point.comp1 / largest;
        point.comp2 = ymax * point.comp2 / largest;
    }
    return {};
}

Status EvaluateEmissionModel(const Workspace& workspace, double excitation) {
    if (!workspace.exists(files::kParameters)) {
        return Status::failure(numeric::missingInputText(
            workspace, files::kParameters, core::xrf::texts::kEvaluateEmissionModelPart1));
    }
    if (!workspace.exists(files::kFinalStateTemp)) {
        return Status::failure(numeric::missingInputText(
            workspace, files::kFinalStateTemp, core::xrf::texts::kEvaluateEmissionModelPart2));
    }
    EmissionModelInput input;
    input.excitation = excitation;
    if (auto status = workspace.readParameters(input.parameters); !status) return status;
    if (auto status = workspace.read(files::kFinalStateTemp, input.lines); !status) return status;
    QuadSpectrum spectrum;
    if (auto status = evaluateEmission(input, spectrum); !status) return status;
    return workspace.write(files::kEmissionModel, spectrum);
}

Status NormalizeEmissionModel(const Workspace& workspace, QuadSpectrum& scaled) {
    if (!workspace.exists(files::kEmissionMinMax)) {
        return Status::failure(numeric::missingInputText(
            workspace, files::kEmissionMinMax, core::xrf::texts::kNormalizeEmissionModelPart1));
    }
    if (!workspace.exists(files::kEmissionModel)) {
        return Status::failure(numeric::missingInputText(
            workspace, files::kEmissionModel, core::xrf::texts::kNormalizeEmissionModelPart2));
    }
    MinMaxRecord measured;
    if (auto status = workspace.read(files::kEmissionMinMax, measured); !status) return status;
    QuadSpectrum spectrum;
    if (auto status = workspace.read(files::kEmissionModel, spectrum); !status) return status;
    if (auto status = scaleEmission(spectrum, measured.ymax); !status) return status;
    if (auto status = workspace.write(files::kEmissionModel, spectrum); !status) return status;
    scaled = std::move(spectrum);
    return {};
}

}  // namespace zephalo::core::xrf
