#include "rixs/rixs_core.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "numeric/emission_grid.h"
#include "numeric/fork_join.h"
#include "numeric/input_texts.h"
#include "numeric/line_factors.h"
#include "numeric/line_sums.h"
#include "numeric/row_sums.h"
#include "workspace/file_names.h"
#include "workspace/number_text.h"
#include "workspace/storage_texts.h"

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

// What both kernels refuse; `grid` receives the emission energies.
Status checkInput(const RixsInput& input, std::vector<double>& grid, double& multiplier) {
    grid.clear();
    if (input.omega == 0.0 || !std::isfinite(input.omega)) {
        return Status::failure("　励起エネルギーが" + formatNumber(input.omega) +
                               "eVではRIXSを計算できません。\r\n"
                               "　「励起エネルギー(eV)」に正しい値を入力して下さい。");
    }
    if (input.selective.size() < 2) {
        return Status::failure("　" + std::string(files::kSelectiveForRixs) + " の選択的XAFSが" +
                               std::to_string(input.selective.size()) +
                               "点しかありません。\r\n"
                               "　積分の刻み幅を最初の2点から決めるため、2点以上が必要です。\r\n"
                               "　「修正終了」をやり直して下さい。");
    }
    if (input.selective.size() > kMaxSelectivePoints) {
        return Status::failure("　" + std::string(files::kSelectiveForRixs) + " の選択的XAFSが" +
                               std::to_string(input.selective.size()) + "点あり、上限の" +
                               std::to_string(kMaxSelectivePoints) + "点を超えています。");
    }
    if (input.absorption.size() > kMaxAbsorptionPoints) {
        return Status::failure("　" + std::string(files::kConvXafsNorm) + " のXAFSが" +
                               std::to_string(input.absorption.size()) + "点あり、上限の" +
                               std::to_string(kMaxAbsorptionPoints) + "点を超えています。");
    }
    const CalculationParameters& p = input.parameters;
    // f_abs = 1/(α·μ(Ω) + 1); an infinite or undefined value would fill the
    // whole spectrum with inf or nan.
    const double mu = absorptionAt(input.absorption, input.omega);
    if (!std::isfinite(mu)) {
        return Status::failure("　" + std::string(files::kConvXafsNorm) +
                               " に同じエネルギーの点が続いているため、励起エネルギーでの吸収を"
                               "\r\n求められません。\r\n　吸収補正用のXAFSを確認して下さい。");
    }
    multiplier = 1 / (p.absorptionFactor * mu + 1);
    if (!std::isfinite(multiplier)) {
        return Status::failure("　吸収補正因子" + formatNumber(p.absorptionFactor) +
                               "では、励起エネルギーでの吸収" + formatNumber(mu) +
                               "に対する補正の分母\r\n（吸収補正因子×吸収＋1）が0になります。\r\n"
                               "　「吸収補正因子」を見直して下さい。");
    }
    return numeric::emissionGrid(p.gridStart, p.gridEnd, p.gridStep, grid);
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

namespace {

// What the production kernel computes once per call: everything that does
// not depend on the emission energy or on the selective XAFS intensities.
struct KernelFactors {
    std::vector<double> grid;            // emission energies
    double multiplier = 1.0;             // f_abs
    double h = 0.0;                      // integration step
    std::array<double, 4> d{};           // final-state energies
    std::array<double, 4> halfWidth2{};  // (w_X/2)²
    std::array<double, 4> strength{};    // a_X·F_X
    std::vector<double> e;               // e_k
    std::vector<double> resonance;       // c_k·G_k/r
};

Status kernelFactors(const RixsInput& input, KernelFactors& out) {
    if (auto status = checkInput(input, out.grid, out.multiplier); !status) return status;
    const CalculationParameters& p = input.parameters;
    const FinalStateFunction& f = input.lines;
    const auto xafs = input.selective;
    const std::size_t n = xafs.size();
    const double omega = input.omega;
    const double core = p.coreEnergy;
    out.h = xafs[1].energy - xafs[0].energy;
    out.d = numeric::finalStateEnergies(f, core);
    const auto factor = numeric::lineFactors(f, core);
    out.e.resize(n);
    out.resonance.resize(n);
    const double halfGamma = p.lifetimeWidth / 2;
    for (std::size_t k = 0; k < n; ++k) {
        out.e[k] = xafs[k].energy - core;
        const double toEdge = out.e[k] - (omega - core);
        out.resonance[k] = numeric::simpsonWeight(k) *
                           ((out.e[k] + core) / (toEdge * toEdge + halfGamma * halfGamma));
    }
    for (std::size_t x = 0; x < 4; ++x) {
        const double halfWidth = f.width[x] / 2;
        out.halfWidth2[x] = halfWidth * halfWidth;
        out.strength[x] = f.amplitude[x] * factor[x];
    }
    return {};
}

}  // namespace

Status calculateRixsSpectrum(const RixsInput& input, QuadSpectrum& out) {
    out.clear();
    KernelFactors k;
    if (auto status = kernelFactors(input, k); !status) return status;
    const CalculationParameters& p = input.parameters;
    const FinalStateFunction& f = input.lines;
    const auto xafs = input.selective;
    const std::size_t n = xafs.size();
    const double omega = input.omega;

    // The weighted resonance factor (without r) times each component.
    std::vector<double> first(n), second(n);
    for (std::size_t i = 0; i < n; ++i) {
        first[i] = k.resonance[i] * xafs[i].a;
        second[i] = k.resonance[i] * xafs[i].b;
    }
    out.resize(k.grid.size());
    auto evaluateRange = [&](std::size_t begin, std::size_t end) {
        for (std::size_t j = begin; j < end; ++j) {
            const double w = k.grid[j];
            std::array<double, 4> centre{};
            for (std::size_t x = 0; x < 4; ++x) centre[x] = (omega - w) - k.d[x];
            const auto sums =
                numeric::lineSums(k.e.data(), first.data(), second.data(), n, centre, k.halfWidth2);
            const double r = w / omega;
            std::array<double, 4> intensity{};
            for (std::size_t x = 0; x < 4; ++x) {
                intensity[x] = (k.h / 3) * (sums[x] * r * k.strength[x]) * k.multiplier;
            }
            out[j] = combine(w, intensity, f.twoComponents(), p.scalingFactor);
        }
    };
    numeric::splitInTwo(k.grid.size(), 4 * n, evaluateRange);
    return {};
}

bool rixsResponse(const RixsInput& input, std::size_t rows, std::span<const double> probes,
                  RixsResponse& out) {
    out = RixsResponse{};
    KernelFactors k;
    if (!kernelFactors(input, k)) return false;
    const std::size_t n = input.selective.size();
    const double omega = input.omega;
    const double scaling = input.parameters.scalingFactor;
    out.points = n;
    out.rows = std::min(rows, k.grid.size());
    out.scale.assign(out.rows, 1.0);
    out.values.assign(out.rows * 2 * n, 0.0f);
    const std::size_t probeCount = probes.size() / n;
    out.probeFirst.assign(probeCount * out.rows, 0.0);
    out.probeSecond.assign(probeCount * out.rows, 0.0);
    std::vector<double> row(2 * n);
    for (std::size_t j = 0; j < out.rows; ++j) {
        const double w = k.grid[j];
        std::array<double, 4> centre{};
        for (std::size_t x = 0; x < 4; ++x) centre[x] = (omega - w) - k.d[x];
        const double common = (k.h / 3) * (w / omega) * k.multiplier * scaling;
        double largest = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            std::array<double, 4> line{};
            for (std::size_t x = 0; x < 4; ++x) {
                const double detuning = k.e[i] - centre[x];
                line[x] = k.strength[x] / (detuning * detuning + k.halfWidth2[x]);
            }
            row[i] = common * k.resonance[i] * (line[0] + line[1]);
            row[n + i] = common * k.resonance[i] * (line[2] + line[3]);
            largest = std::max({largest, std::fabs(row[i]), std::fabs(row[n + i])});
        }
        if (!std::isfinite(largest)) {
            out = RixsResponse{};
            return false;
        }
        numeric::probeSums(row.data(), row.data() + n, n, probes.data(), probeCount, out.rows,
                           out.probeFirst.data() + j, out.probeSecond.data() + j);
        // A power of two, so that the division below is exact.
        if (largest > 0.0) out.scale[j] = std::ldexp(1.0, std::ilogb(largest) + 1);
        float* values = out.values.data() + j * 2 * n;
        for (std::size_t i = 0; i < 2 * n; ++i) {
            values[i] = static_cast<float>(row[i] / out.scale[j]);
        }
    }
    return true;
}

Status calculateRixs(const Workspace& workspace, double omega) {
    struct Needed {
        std::string_view name;
        std::string_view hint;
    };
    const Needed needed[] = {
        {files::kSelectiveForRixs, "　「修正終了」ボタンを押してからRIXS計算をして下さい。"},
        {files::kConvXafsNorm, "　「XAFSの読込」（吸収補正用）をしてからRIXS計算をして下さい。"},
        {files::kParameters, "　「ワークスペース作成」をして下さい。"},
        {files::kFinalState, "　「ワークスペース作成」をして下さい。"},
    };
    for (const Needed& file : needed) {
        if (!workspace.exists(file.name)) {
            return Status::failure(numeric::missingInputText(workspace, file.name, file.hint));
        }
    }
    SelectiveXafsTable selective;
    PairSpectrum absorption;
    RixsInput input;
    input.omega = omega;
    if (auto s = workspace.read(files::kSelectiveForRixs, selective, kMaxSelectivePoints); !s) {
        return s;
    }
    if (auto s = workspace.read(files::kConvXafsNorm, absorption, kMaxAbsorptionPoints); !s) {
        return s;
    }
    if (auto s = workspace.readParameters(input.parameters); !s) return s;
    if (auto s = workspace.read(files::kFinalState, input.lines); !s) return s;
    input.selective = selective;
    input.absorption = absorption;

    QuadSpectrum spectrum;
    if (auto status = calculateRixsSpectrum(input, spectrum); !status) return status;
    for (const QuadPoint& point : spectrum) {
        const std::pair<std::string_view, double> values[] = {
            {texts::kTotal, point.total},
            {texts::kComponent1, point.comp1},
            {texts::kComponent2, point.comp2},
        };
        for (const auto& [quantity, value] : values) {
            if (std::isfinite(value)) continue;
            // Refuses the whole step: the factors are not stored either.
            return workspace.refuse(Status::failure(numeric::nonFiniteResultText(
                quantity, formatNumber(point.energy), formatNumber(input.parameters.scalingFactor),
                pathText(workspace.path(files::kSelectiveForRixs)))));
        }
    }
    return workspace.write(files::kCalculatedRixs, spectrum);
}

}  // namespace zephalo::core::rixs
