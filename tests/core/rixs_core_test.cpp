#include "core/rixs/rixs_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include "core/numeric/emission_grid.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core::rixs {
namespace {

using test::near;

// A selective XAFS around the default edge: both components smooth and
// positive, on a uniform grid.
SelectiveXafsTable smoothXafs(double start, double step, std::size_t count) {
    SelectiveXafsTable table(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double e = start + step * static_cast<double>(k);
        const double u = e - 7120.0;
        table[k] = {e, 0.6 + 0.4 * std::atan(u / 2) / 3.14159 + 0.5 / (1 + (u - 6) * (u - 6)),
                    0.5 + 0.4 * std::atan(u / 3) / 3.14159 + 0.3 / (1 + (u - 2) * (u - 2) / 4)};
    }
    return table;
}

// The RIXS definition read in absolute energies, for one line, summed in long
// double: G = (ω/Ω)·E_k / ((E_k − Ω)² + (Γ/2)²), detuning E_k − Ω + ω − p_X,
// factor p_A, 2p_B − p_A, p_C, 2p_D − p_C; weights 1, 4, 2, 4, ...; h from the
// first two energies.
long double referenceLine(const RixsInput& in, double w, std::size_t x, double multiplier) {
    const auto& p = in.parameters;
    const auto& f = in.lines;
    const long double omega = in.omega;
    const long double partner = f.position[x & 2u];
    const long double factor = (x % 2 == 0) ? f.position[x] : 2.0L * f.position[x] - partner;
    const long double halfGamma = p.lifetimeWidth / 2.0L;
    const long double halfWidth = f.width[x] / 2.0L;
    long double sum = 0;
    for (std::size_t k = 0; k < in.selective.size(); ++k) {
        const long double e = in.selective[k].energy;
        const long double weight = k == 0 ? 1 : (k % 2 ? 4 : 2);
        const long double g = (w / omega) * e / ((e - omega) * (e - omega) + halfGamma * halfGamma);
        const long double detuning = e - omega + w - f.position[x];
        const long double line =
            f.amplitude[x] * factor / (halfWidth * halfWidth + detuning * detuning);
        sum += weight * g * line * (x < 2 ? in.selective[k].a : in.selective[k].b);
    }
    const long double h = static_cast<long double>(in.selective[1].energy) - in.selective[0].energy;
    return h / 3 * sum * multiplier;
}

// Four points on a non-uniform grid (h = 1 from the first two, then 2 and
// 0.5), one emission energy: small enough to check by hand.
struct TinyCase : ::testing::Test {
    SelectiveXafsTable xafs{
        {7118, 0.5, 0.2}, {7119, 1.0, 0.3}, {7121, 0.8, 0.4}, {7121.5, 0.6, 0.1}};
    PairSpectrum absorption{{7100, 0.2}, {7125, 0.9}, {7140, 1.0}};
    RixsInput input;
    void SetUp() override {
        input.selective = xafs;
        input.absorption = absorption;
        input.parameters.gridStart = 7050;
        input.parameters.gridEnd = 7050;
        input.parameters.absorptionFactor = 0.5;
        input.parameters.scalingFactor = 2.0;
        input.omega = 7124.8;
    }
};

TEST_F(TinyCase, MatchesTheDefinitionForEveryFlag) {
    // Ω = 7124.8 is less than 0.5 eV above 7125: segment (7125, 7140),
    // μ = 0.9 + (−0.2)·0.1/15.
    const double mu = 0.9 - 0.2 * 0.1 / 15;
    EXPECT_TRUE(near(absorptionAt(absorption, input.omega), mu, 1e-14));
    const double multiplier = 1 / (0.5 * mu + 1);
    long double lines[4];
    for (std::size_t x = 0; x < 4; ++x) lines[x] = referenceLine(input, 7050, x, multiplier);
    for (int flag : {1, 0, 2}) {
        input.lines.mode = flag;
        for (bool literal : {true, false}) {
            QuadSpectrum out;
            ASSERT_TRUE(literal ? calculateRixsLiteral(input, out)
                                : calculateRixsSpectrum(input, out));
            ASSERT_EQ(out.size(), 1u);
            EXPECT_EQ(out[0].energy, 7050.0);
            const double first = static_cast<double>(2 * (lines[0] + lines[1]));
            const double second = static_cast<double>(2 * (lines[2] + lines[3]));
            if (flag == 1) {
                EXPECT_TRUE(near(out[0].comp1, first, 1e-10));
                EXPECT_TRUE(near(out[0].comp2, second, 1e-10));
            } else {
                EXPECT_TRUE(near(out[0].comp1, first + second, 1e-10));
                EXPECT_EQ(out[0].comp2, 0.0);
            }
            EXPECT_TRUE(near(out[0].total, first + second, 1e-10));
        }
    }
}

TEST_F(TinyCase, MovingLineAChangesLineBsFactor) {
    input.lines.amplitude = {0.0, 0.305, 0.0, 0.0};
    QuadSpectrum before, after;
    ASSERT_TRUE(calculateRixsSpectrum(input, before));
    input.lines.position[0] = 7040.0;
    ASSERT_TRUE(calculateRixsSpectrum(input, after));
    EXPECT_TRUE(near(after[0].total,
                     before[0].total * (2 * 7056.0 - 7040.0) / (2 * 7056.0 - 7045.0), 1e-12));
}

TEST_F(TinyCase, CoreEnergyCancelsOut) {
    input.parameters.gridEnd = 7064;
    QuadSpectrum a, b;
    ASSERT_TRUE(calculateRixsSpectrum(input, a));
    input.parameters.coreEnergy = 7000.0;
    ASSERT_TRUE(calculateRixsSpectrum(input, b));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t j = 0; j < a.size(); ++j) {
        EXPECT_TRUE(near(b[j].total, a[j].total, 1e-10));
        EXPECT_TRUE(near(b[j].comp2, a[j].comp2, 1e-10));
    }
}

TEST_F(TinyCase, OutsideTheAbsorptionXafsTheMultiplierIsOneOverAlphaPlusOne) {
    input.omega = 7139.6;  // only the last point (no successor) lies within 0.5 eV
    EXPECT_EQ(absorptionAt(absorption, input.omega), 1.0);
    QuadSpectrum corrected, plain;
    ASSERT_TRUE(calculateRixsSpectrum(input, corrected));
    input.parameters.absorptionFactor = 0.0;
    ASSERT_TRUE(calculateRixsSpectrum(input, plain));
    EXPECT_TRUE(near(corrected[0].total, plain[0].total / 1.5, 1e-14));
}

// The first-segment rule over a table of cases.
struct AbsorptionCase {
    const char* name;
    PairSpectrum points;
    double omega;
    double expected;
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const AbsorptionCase& c, std::ostream* out) {
    *out << c.name;
}
class AbsorptionRule : public ::testing::TestWithParam<AbsorptionCase> {};
TEST_P(AbsorptionRule, PicksTheFirstSegment) {
    EXPECT_TRUE(near(absorptionAt(GetParam().points, GetParam().omega), GetParam().expected, 1e-10))
        << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, AbsorptionRule,
    ::testing::Values(
        AbsorptionCase{"empty", {}, 7100, 1.0},
        AbsorptionCase{"one point", {{7100, 0.3}}, 7100, 1.0},
        AbsorptionCase{"below the first point", {{7100, 0.2}, {7110, 0.7}}, 7090, -0.3},
        AbsorptionCase{"within the first segment", {{7100, 0.2}, {7110, 0.7}}, 7100.4, 0.22},
        // A grid finer than 0.5 eV: the first point less than 0.5 eV below Ω
        // starts a segment (7100.2, 7100.4) that lies wholly below Ω.
        AbsorptionCase{"fine grid extrapolates",
                       {{7100, 0.1}, {7100.2, 0.2}, {7100.4, 0.4}, {7100.6, 0.5}},
                       7100.6,
                       0.6},
        AbsorptionCase{"above all but the last", {{7100, 0.2}, {7110, 0.7}}, 7110, 1.0}),
    [](const auto& c) { return test::caseName(c.param.name); });

TEST(EmissionGrid, DefaultGridEndsOneStepBelowItsEnd) {
    std::vector<double> grid;
    ASSERT_TRUE(numeric::emissionGrid(7020, 7065, 0.1, grid));
    ASSERT_EQ(grid.size(), 450u);
    EXPECT_TRUE(near(grid.back(), 7064.9, 1e-9));
    // The running sum, not 7020 + n·0.1.
    double sum = 7020;
    for (int n = 0; n < 449; ++n) sum += 0.1;
    EXPECT_EQ(grid.back(), sum);
    ASSERT_TRUE(numeric::emissionGrid(7065, 7020, 0.1, grid));
    EXPECT_TRUE(grid.empty());
}

// Random selective XAFS (uniform and not), final-state functions, factors and
// excitation energies: the production path against the literal one. From
// trial 16 on the components change sign (a subtracted correction peak can do
// that); a value near a zero crossing is then a cancelled sum, and the two
// paths agree to 1e-13 of the spectrum's largest value rather than 1e-12 of
// the value itself.
TEST(RixsCore, FastPathAgreesWithLiteralOnRandomInputs) {
    std::mt19937 random(424242);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double worst = 0.0;
    for (int trial = 0; trial < 24; ++trial) {
        const bool mixedSigns = trial >= 16;
        const std::size_t n = 2 + static_cast<std::size_t>(600 * unit(random));
        SelectiveXafsTable xafs(n);
        double e = 7100 + 10 * unit(random);
        for (std::size_t k = 0; k < n; ++k) {
            const double shift = mixedSigns ? 0.4 : 0.0;
            xafs[k] = {e, unit(random) - shift, unit(random) - shift};
            e += trial % 3 == 0 ? 0.05 + 0.5 * unit(random) : 0.1;
        }
        PairSpectrum absorption;
        for (int m = 0; m < 300; ++m) absorption.push_back({7050 + 0.7 * m, unit(random)});
        RixsInput input;
        input.selective = xafs;
        input.absorption = absorption;
        auto& p = input.parameters;
        p.lifetimeWidth = 0.3 + 3 * unit(random);
        p.coreEnergy = 7110 + 20 * unit(random);
        p.gridStart = 7010 + 20 * unit(random);
        p.gridEnd = p.gridStart + 60 * unit(random);
        p.gridStep = 0.05 + 0.5 * unit(random);
        p.absorptionFactor = 2 * unit(random);
        p.scalingFactor = 1e-9 + unit(random);
        input.lines.mode = trial % 3;
        for (std::size_t x = 0; x < 4; ++x) {
            input.lines.width[x] = 0.2 + 9 * unit(random);
            input.lines.position[x] = 7030 + 40 * unit(random);
            input.lines.amplitude[x] = 0.01 + unit(random);
        }
        input.omega = 7100 + 60 * unit(random);
        QuadSpectrum literal, fast;
        ASSERT_TRUE(calculateRixsLiteral(input, literal));
        ASSERT_TRUE(calculateRixsSpectrum(input, fast));
        ASSERT_EQ(fast.size(), literal.size());
        double largest = 0.0;
        for (const auto& point : literal) {
            largest = std::max({largest, std::fabs(point.comp1), std::fabs(point.comp2)});
        }
        const double floor = mixedSigns ? 1e-13 * largest : 0.0;
        for (std::size_t j = 0; j < fast.size(); ++j) {
            EXPECT_EQ(fast[j].energy, literal[j].energy);
            const double pairs[3][2] = {{fast[j].total, literal[j].total},
                                        {fast[j].comp1, literal[j].comp1},
                                        {fast[j].comp2, literal[j].comp2}};
            for (const auto& pair : pairs) {
                EXPECT_TRUE(near(pair[0], pair[1], 1e-12, floor))
                    << "trial " << trial << " point " << j;
                if (!mixedSigns && pair[1] != 0) {
                    worst = std::max(worst, std::fabs(pair[0] / pair[1] - 1));
                }
            }
        }
    }
    std::ostringstream text;
    text << worst;
    RecordProperty("worst_relative_difference", text.str());
}

// The response rows give each total as the sum of the intensities times
// their responses, for either flag and profiles of either sign, and the rows
// asked for only.
TEST(RixsCore, ResponseRowsGiveTheTotalsOfAnyProfile) {
    std::mt19937 random(77);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto grid = smoothXafs(7105, 0.1, 301);
    const PairSpectrum absorption{{7100, 0.2}, {7125, 0.9}, {7140, 1.0}};
    struct Case {
        int mode;
        double shift;      // subtracted from the random intensities
        std::size_t rows;  // asked for: beyond the grid, all
    };
    const Case cases[] = {{1, 0.0, 1000}, {0, 0.0, 1000}, {1, 0.5, 1000}, {2, 0.5, 100}};
    for (const Case& c : cases) {
        RixsInput input;
        input.selective = grid;
        input.absorption = absorption;
        input.parameters.absorptionFactor = 0.7;
        input.parameters.scalingFactor = 3e-4;
        input.lines.mode = c.mode;
        input.omega = 7128.5;
        // Two probes: a smooth peak and random intensities.
        std::vector<double> probes;
        for (const XafsPoint& p : grid)
            probes.push_back(1.0 / (1.0 + (p.energy - 7125) * (p.energy - 7125)));
        for (std::size_t k = 0; k < grid.size(); ++k) probes.push_back(unit(random));
        RixsResponse response;
        ASSERT_TRUE(rixsResponse(input, c.rows, probes, response));
        SelectiveXafsTable profile = grid;
        for (XafsPoint& p : profile) p = {p.energy, unit(random) - c.shift, unit(random) - c.shift};
        // Each probe in both columns, its lines A+B and C+D apart.
        for (std::size_t q = 0; q < 2; ++q) {
            SelectiveXafsTable probe = grid;
            for (std::size_t k = 0; k < grid.size(); ++k) {
                probe[k].a = probe[k].b = probes[q * grid.size() + k];
            }
            RixsInput split = input;
            split.selective = probe;
            split.lines.mode = 1;
            QuadSpectrum apart;
            ASSERT_TRUE(calculateRixsSpectrum(split, apart));
            for (std::size_t j = 0; j < response.rows; ++j) {
                EXPECT_TRUE(
                    near(response.probeFirst[q * response.rows + j], apart[j].comp1, 1e-12));
                EXPECT_TRUE(
                    near(response.probeSecond[q * response.rows + j], apart[j].comp2, 1e-12));
            }
        }
        input.selective = profile;
        QuadSpectrum spectrum;
        ASSERT_TRUE(calculateRixsSpectrum(input, spectrum));
        ASSERT_EQ(response.rows, std::min(c.rows, spectrum.size()));
        ASSERT_EQ(response.points, grid.size());
        const std::size_t n = grid.size();
        for (std::size_t j = 0; j < response.rows; ++j) {
            const float* row = response.values.data() + j * 2 * n;
            double sum = 0.0;
            double magnitude = 0.0;
            for (std::size_t k = 0; k < n; ++k) {
                const double terms[2] = {profile[k].a * row[k], profile[k].b * row[n + k]};
                sum += terms[0] + terms[1];
                magnitude += std::fabs(terms[0]) + std::fabs(terms[1]);
                EXPECT_LE(std::fabs(row[k]), 1.0f);
            }
            EXPECT_TRUE(near(sum * response.scale[j], spectrum[j].total, 0.0,
                             1e-6 * magnitude * response.scale[j]))
                << "mode " << c.mode << " row " << j;
        }
    }
    // What the spectrum refuses, the response refuses.
    RixsInput input;
    input.selective = grid;
    input.omega = 0.0;
    RixsResponse response;
    EXPECT_FALSE(rixsResponse(input, 10, {}, response));
    EXPECT_EQ(response.rows, 0u);
}

TEST(RixsCore, ZeroWidthLinesStayFinite) {
    const auto xafs = smoothXafs(7105, 0.1, 301);
    RixsInput input;
    input.selective = xafs;
    input.omega = 7130;
    input.lines.width = {0.0, 5.78, 0.0, 1.07};
    input.lines.position = {7045.05, 7056, 7058.85, 7060.1};  // off the detuning grid
    QuadSpectrum literal, fast;
    ASSERT_TRUE(calculateRixsLiteral(input, literal));
    ASSERT_TRUE(calculateRixsSpectrum(input, fast));
    for (std::size_t j = 0; j < fast.size(); ++j) {
        EXPECT_TRUE(near(fast[j].total, literal[j].total, 1e-12));
    }
}

TEST(RixsCore, KernelRefusals) {
    const auto xafs = smoothXafs(7105, 0.1, 5001);
    const PairSpectrum absorption(2001, PairPoint{7100, 0.5});
    struct Case {
        const char* name;
        std::size_t xafsCount;
        std::size_t absorptionCount;
        double omega;
        double step;
        double end;
        const char* mentions;
    };
    const Case cases[] = {
        {"no point", 0, 10, 7130, 0.1, 7065, "2点以上"},
        {"one point", 1, 10, 7130, 0.1, 7065, "2点以上"},
        {"too many selective points", 5001, 10, 7130, 0.1, 7065, "5000"},
        {"too many absorption points", 100, 2001, 7130, 0.1, 7065, "2000"},
        {"zero excitation", 100, 10, 0.0, 0.1, 7065, "励起エネルギー"},
        {"zero step", 100, 10, 7130, 0.0, 7065, "刻み幅"},
        {"negative step", 100, 10, 7130, -0.1, 7065, "刻み幅"},
        {"more than 5000 grid points", 100, 10, 7130, 0.001, 7065, "5000"},
    };
    for (const Case& c : cases) {
        RixsInput input;
        input.selective = std::span(xafs).first(c.xafsCount);
        input.absorption = std::span(absorption).first(c.absorptionCount);
        input.omega = c.omega;
        input.parameters.gridStep = c.step;
        input.parameters.gridEnd = c.end;
        QuadSpectrum out{{1, 2, 3, 4}};
        const Status fast = calculateRixsSpectrum(input, out);
        EXPECT_FALSE(fast) << c.name;
        EXPECT_NE(fast.error().find(c.mentions), std::string::npos)
            << c.name << ": " << fast.error();
        EXPECT_FALSE(calculateRixsLiteral(input, out)) << c.name;
        EXPECT_TRUE(out.empty()) << c.name;
    }
}

TEST(RixsCore, RefusesAnInfiniteAbsorptionCorrection) {
    const auto xafs = smoothXafs(7105, 0.1, 101);
    RixsInput input;
    input.selective = xafs;
    input.omega = 7130;
    input.parameters.absorptionFactor = -1.0;  // μ = 1.0 here: 1/(−1·1 + 1)
    QuadSpectrum out;
    Status status = calculateRixsSpectrum(input, out);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("吸収補正因子"), std::string::npos) << status.error();

    const PairSpectrum repeated{{7120, 0.5}, {7120, 0.6}, {7140, 1.0}};
    input.absorption = repeated;
    input.omega = 7120.2;  // selects the segment between the two 7120 eV points
    input.parameters.absorptionFactor = 1.0;
    status = calculateRixsLiteral(input, out);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("ConvXAFS_Norm_Spectrum.DAT"), std::string::npos);
}

// --- The work-space operation ------------------------------------------------------

class RixsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workspace.write(files::kParameters, CalculationParameters{}));
        ASSERT_TRUE(workspace.write(files::kFinalState, FinalStateFunction{}));
        ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, smoothXafs(7105, 0.1, 401)));
        ASSERT_TRUE(workspace.write(files::kConvXafsNorm,
                                    PairSpectrum{{7100, 0.1}, {7120, 0.6}, {7140, 1.0}}));
    }
    std::string output() const { return test::readFile(workspace.path(files::kCalculatedRixs)); }
    test::TempDir dir;
    Workspace workspace{dir.path()};
};

TEST_F(RixsFiles, DefaultGridWritesTheLiteralNumbers) {
    ASSERT_TRUE(calculateRixs(workspace, 7130.0));
    // The literal path on the values as the files hold them (six digits).
    SelectiveXafsTable xafs;
    PairSpectrum absorption;
    RixsInput input;
    ASSERT_TRUE(workspace.read(files::kSelectiveForRixs, xafs));
    ASSERT_TRUE(workspace.read(files::kConvXafsNorm, absorption));
    input.selective = xafs;
    input.absorption = absorption;
    input.omega = 7130.0;
    QuadSpectrum literal;
    ASSERT_TRUE(calculateRixsLiteral(input, literal));
    ASSERT_EQ(literal.size(), 450u);
    EXPECT_EQ(output(), formatRecords(literal));
}

TEST_F(RixsFiles, OneComponentFlagGivesAZeroFourthColumn) {
    FinalStateFunction lines;
    lines.mode = 0;
    ASSERT_TRUE(workspace.write(files::kFinalState, lines));
    ASSERT_TRUE(calculateRixs(workspace, 7130.0));
    QuadSpectrum out;
    ASSERT_TRUE(workspace.read(files::kCalculatedRixs, out));
    ASSERT_EQ(out.size(), 450u);
    for (const auto& point : out) {
        EXPECT_EQ(point.comp2, 0.0);
        EXPECT_EQ(point.total, point.comp1);
    }
}

TEST_F(RixsFiles, EmptyGridEmptiesTheOutput) {
    test::writeFile(workspace.path(files::kCalculatedRixs), "7000\t1\t1\n");
    CalculationParameters parameters;
    parameters.gridStart = 7070;
    ASSERT_TRUE(workspace.write(files::kParameters, parameters));
    ASSERT_TRUE(calculateRixs(workspace, 7130.0));
    EXPECT_TRUE(workspace.exists(files::kCalculatedRixs));
    EXPECT_EQ(output(), "");
}

TEST_F(RixsFiles, RefusalsLeaveThePreviousOutput) {
    const std::string previous = "7000\t1\t1\n";
    test::writeFile(workspace.path(files::kCalculatedRixs), previous);

    EXPECT_FALSE(calculateRixs(workspace, 0.0));
    CalculationParameters parameters;
    parameters.gridStep = 0;
    ASSERT_TRUE(workspace.write(files::kParameters, parameters));
    EXPECT_FALSE(calculateRixs(workspace, 7130.0));
    ASSERT_TRUE(workspace.write(files::kParameters, CalculationParameters{}));
    test::writeFile(workspace.path(files::kSelectiveForRixs), "7100\t1\t1\n");
    EXPECT_FALSE(calculateRixs(workspace, 7130.0));
    test::writeFile(workspace.path(files::kSelectiveForRixs), "7100\t1\t1\n7100.1\tx\t1\n");
    EXPECT_FALSE(calculateRixs(workspace, 7130.0));
    ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, smoothXafs(7105, 0.01, 5001)));
    Status status = calculateRixs(workspace, 7130.0);
    EXPECT_NE(status.error().find("5000"), std::string::npos) << status.error();
    ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, smoothXafs(7105, 0.1, 401)));
    ASSERT_TRUE(workspace.write(files::kConvXafsNorm, PairSpectrum(2001, PairPoint{7100, 0.5})));
    status = calculateRixs(workspace, 7130.0);
    EXPECT_NE(status.error().find("2000"), std::string::npos) << status.error();
    for (auto name :
         {files::kSelectiveForRixs, files::kConvXafsNorm, files::kParameters, files::kFinalState}) {
        const std::string content = test::readFile(workspace.path(name));
        std::filesystem::remove(workspace.path(name));
        status = calculateRixs(workspace, 7130.0);
        EXPECT_NE(status.error().find(std::string(name)), std::string::npos) << status.error();
        test::writeFile(workspace.path(name), content);
    }
    EXPECT_EQ(output(), previous);
}

}  // namespace
}  // namespace zephalo::core::rixs
