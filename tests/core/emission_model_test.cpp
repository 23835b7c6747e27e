#include "core/xrf/emission_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "core/numeric/line_factors.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core::xrf {
namespace {

using test::near;

// The seeds of a new work space, on a coarse 1 eV emission grid so that the
// literal model stays quick.
EmissionModelInput seedInput() {
    EmissionModelInput input;
    input.parameters.gridStep = 1.0;
    input.excitation = 7200.0;
    return input;
}

// The model in absolute energies, summed in long double: an independent
// reading of the definition. g_i = (c − 15) + 0.1·i; weights 1, 4, 2, ..., 2.
long double referenceIntensity(const EmissionModelInput& in, double energy, std::size_t line) {
    const auto& p = in.parameters;
    const auto& f = in.lines;
    const long double x = in.excitation;
    const long double pA = f.position[line & 2u];
    const long double pX = f.position[line];
    const long double factor = (line % 2 == 0) ? pX : 2 * pX - pA;
    const long double halfGamma = p.lifetimeWidth / 2.0L;
    const long double halfWidth = f.width[line] / 2.0L;
    long double sum = 0;
    for (int i = 0; i <= 2000; ++i) {
        const long double g = (p.coreEnergy - 15.0L) + 0.1L * i;
        const long double weight = i == 0 ? 1 : (i % 2 ? 4 : 2);
        const long double absorption =
            (energy / x) * g / ((g - x) * (g - x) + halfGamma * halfGamma);
        const long double detuning = g - x + energy - pX;
        sum += weight * absorption * factor * f.amplitude[line] /
               (detuning * detuning + halfWidth * halfWidth);
    }
    return sum / 30 / (1 + p.absorptionFactor);
}

TEST(EmissionModel, MatchesTheDefinitionInAbsoluteEnergies) {
    EmissionModelInput input = seedInput();
    input.parameters.absorptionFactor = 0.5;
    input.parameters.scalingFactor = 2.0;
    for (int mode : {1, 0}) {
        input.lines.mode = mode;
        QuadSpectrum out;
        ASSERT_TRUE(evaluateEmission(input, out));
        ASSERT_EQ(out.size(), 46u);
        for (const QuadPoint& point : out) {
            long double lines[4];
            for (std::size_t l = 0; l < 4; ++l)
                lines[l] = referenceIntensity(input, point.energy, l);
            const long double first = 2 * (lines[0] + lines[1]);
            const long double second = 2 * (lines[2] + lines[3]);
            const double total = static_cast<double>(first + second);
            EXPECT_TRUE(near(point.total, total, 1e-9));
            EXPECT_TRUE(near(point.comp1, mode == 1 ? static_cast<double>(first) : total, 1e-9));
            EXPECT_TRUE(near(point.comp2, mode == 1 ? static_cast<double>(second) : 0.0, 1e-9));
        }
    }
}

TEST(EmissionModel, ComponentsAddUpAndOneComponentModeFillsOnlyTheFirst) {
    EmissionModelInput input = seedInput();
    QuadSpectrum two;
    ASSERT_TRUE(evaluateEmission(input, two));
    input.lines.mode = 0;
    QuadSpectrum one;
    ASSERT_TRUE(evaluateEmission(input, one));
    ASSERT_EQ(one.size(), two.size());
    for (std::size_t n = 0; n < two.size(); ++n) {
        EXPECT_TRUE(near(two[n].total, two[n].comp1 + two[n].comp2, 1e-15));
        EXPECT_GT(two[n].comp2, 0.0);
        EXPECT_EQ(one[n].comp1, one[n].total);
        EXPECT_EQ(one[n].comp2, 0.0);
        EXPECT_TRUE(near(one[n].total, two[n].total, 1e-14));
    }
}

TEST(EmissionModel, LineFactorsFollowThePartnerLine) {
    FinalStateFunction lines;
    lines.position = {7045.0, 7056.0, 7058.8, 7060.1};
    const auto f = numeric::lineFactors(lines, 7120.0);
    EXPECT_TRUE(near(f[0], 7045.0, 1e-15));
    EXPECT_TRUE(near(f[1], 2 * 7056.0 - 7045.0, 1e-13));
    EXPECT_TRUE(near(f[2], 7058.8, 1e-15));
    EXPECT_TRUE(near(f[3], 2 * 7060.1 - 7058.8, 1e-13));

    // Only line B carries intensity: moving A leaves B's Lorentzian where it is
    // and rescales the whole spectrum by B's new factor.
    EmissionModelInput input = seedInput();
    input.lines.amplitude = {0.0, 0.305, 0.0, 0.0};
    QuadSpectrum before;
    ASSERT_TRUE(evaluateEmission(input, before));
    input.lines.position[0] = 7040.0;
    QuadSpectrum after;
    ASSERT_TRUE(evaluateEmission(input, after));
    const double ratio = (2 * 7056.0 - 7040.0) / (2 * 7056.0 - 7045.0);
    for (std::size_t n = 0; n < before.size(); ++n) {
        EXPECT_TRUE(near(after[n].total, before[n].total * ratio, 1e-12));
    }
}

TEST(EmissionModel, GridEnds) {
    EmissionModelInput input = seedInput();
    QuadSpectrum out;
    input.parameters.gridEnd = input.parameters.gridStart;
    ASSERT_TRUE(evaluateEmission(input, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].energy, input.parameters.gridStart);

    input.parameters.gridEnd = input.parameters.gridStart - 1.0;
    ASSERT_TRUE(evaluateEmission(input, out));
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(evaluateEmissionLiteral(input, out));
    EXPECT_TRUE(out.empty());
}

// Fast path against the literal one on random final-state functions,
// excitation energies and grids, in both modes.
TEST(EmissionModel, FastPathAgreesWithLiteralOnRandomInputs) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 12; ++trial) {
        EmissionModelInput input;
        auto& p = input.parameters;
        p.lifetimeWidth = 0.5 + 3 * unit(random);
        p.coreEnergy = 5000 + 4000 * unit(random);
        p.gridStart = p.coreEnergy - 110 + 20 * unit(random);
        p.gridEnd = p.gridStart + 20 + 40 * unit(random);
        p.gridStep = 0.05 + 0.4 * unit(random);
        p.absorptionFactor = 2 * unit(random);
        p.scalingFactor = 1e-8 + unit(random);
        input.lines.mode = trial % 2;
        for (std::size_t l = 0; l < 4; ++l) {
            input.lines.width[l] = 0.3 + 9 * unit(random);
            input.lines.position[l] = p.gridStart + (p.gridEnd - p.gridStart) * unit(random);
            input.lines.amplitude[l] = 0.01 + unit(random);
        }
        input.excitation = p.coreEnergy + 200 * unit(random) - 20;
        QuadSpectrum literal, fast;
        ASSERT_TRUE(evaluateEmissionLiteral(input, literal));
        ASSERT_TRUE(evaluateEmission(input, fast));
        ASSERT_EQ(fast.size(), literal.size());
        for (std::size_t n = 0; n < fast.size(); ++n) {
            EXPECT_EQ(fast[n].energy, literal[n].energy);
            EXPECT_TRUE(near(fast[n].total, literal[n].total, 1e-12)) << "trial " << trial;
            EXPECT_TRUE(near(fast[n].comp1, literal[n].comp1, 1e-12)) << "trial " << trial;
            EXPECT_TRUE(near(fast[n].comp2, literal[n].comp2, 1e-12)) << "trial " << trial;
        }
    }
}

TEST(EmissionModel, ScalingPutsTheLargestTotalOnTheMeasuredMaximum) {
    QuadSpectrum spectrum{{7000, 2.0, 1.5, 0.5}, {7001, 4.0, 1.0, 3.0}, {7002, -1.0, -1.0, 0.0}};
    ASSERT_TRUE(scaleEmission(spectrum, 9000.0));
    EXPECT_TRUE(near(spectrum[1].total, 0.9, 1e-15));
    EXPECT_TRUE(near(spectrum[0].total, 0.45, 1e-15));
    EXPECT_TRUE(near(spectrum[1].comp2, 0.675, 1e-15));
    EXPECT_TRUE(near(spectrum[2].total, -0.225, 1e-15));
    for (const auto& point : spectrum) {
        EXPECT_TRUE(near(point.total, point.comp1 + point.comp2, 1e-15));
    }
    QuadSpectrum empty;
    EXPECT_TRUE(scaleEmission(empty, 10000.0));
}

TEST(EmissionModel, RefusesUnusableInputs) {
    QuadSpectrum out{{1, 2, 3, 4}};
    EmissionModelInput input = seedInput();
    input.excitation = 0.0;
    Status status = evaluateEmission(input, out);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("励起エネルギー"), std::string::npos);
    EXPECT_FALSE(evaluateEmissionLiteral(input, out));

    for (double step : {0.0, -0.1}) {
        input = seedInput();
        input.parameters.gridStep = step;
        status = evaluateEmission(input, out);
        EXPECT_FALSE(status);
        EXPECT_NE(status.error().find("RIXS_Calculation_Parameters.DAT"), std::string::npos);
    }
    input = seedInput();
    input.parameters.absorptionFactor = -1.0;
    status = evaluateEmission(input, out);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("吸収補正因子"), std::string::npos);

    input = seedInput();
    // A step of 1/128 eV keeps the running sum exact: 5000 points fit, 5001 do not.
    input.parameters.gridStep = 1.0 / 128;
    input.parameters.gridEnd = 7020.0 + 4999.0 / 128;
    EXPECT_TRUE(evaluateEmission(input, out));
    EXPECT_EQ(out.size(), 5000u);
    input.parameters.gridEnd += 1.0 / 128;
    status = evaluateEmission(input, out);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("5000"), std::string::npos);

    QuadSpectrum zero{{7000, 0.0, 0.0, 0.0}, {7001, -1.0, -1.0, 0.0}};
    status = scaleEmission(zero, 10000.0);
    EXPECT_FALSE(status);
    EXPECT_EQ(zero[1].total, -1.0);
}

// --- Work-space operations ---------------------------------------------------

class EmissionModelFiles : public ::testing::Test {
protected:
    void SetUp() override {
        CalculationParameters parameters;
        parameters.gridStep = 0.5;
        ASSERT_TRUE(workspace.write(files::kParameters, parameters));
        ASSERT_TRUE(workspace.write(files::kFinalStateTemp, FinalStateFunction{}));
        ASSERT_TRUE(workspace.write(files::kEmissionMinMax, MinMaxRecord{7020, 7065, 12, 8000}));
    }
    test::TempDir dir;
    Workspace workspace{dir.path()};
};

TEST_F(EmissionModelFiles, EvaluatesThenScalesToTheMeasuredMaximum) {
    ASSERT_TRUE(EvaluateEmissionModel(workspace, 7200.0));
    QuadSpectrum written;
    ASSERT_TRUE(workspace.read(files::kEmissionModel, written));
    ASSERT_EQ(written.size(), 91u);
    for (const auto& point : written) {
        EXPECT_TRUE(near(point.total, point.comp1 + point.comp2, 1e-5));
    }

    QuadSpectrum scaled;
    ASSERT_TRUE(NormalizeEmissionModel(workspace, scaled));
    ASSERT_EQ(scaled.size(), 91u);
    const auto largest = std::max_element(scaled.begin(), scaled.end(),
                                          [](auto& a, auto& b) { return a.total < b.total; });
    EXPECT_TRUE(near(largest->total, 0.8, 1e-15));
    for (const auto& point : scaled) {
        EXPECT_TRUE(near(point.total, point.comp1 + point.comp2, 1e-5));
    }
    QuadSpectrum reread;
    ASSERT_TRUE(workspace.read(files::kEmissionModel, reread));
    ASSERT_EQ(reread.size(), 91u);
    EXPECT_TRUE(near(reread[5].comp2, scaled[5].comp2, 1e-5));
}

TEST_F(EmissionModelFiles, EmptyGridWritesAnEmptyFile) {
    CalculationParameters parameters;
    parameters.gridStart = 7070;
    ASSERT_TRUE(workspace.write(files::kParameters, parameters));
    ASSERT_TRUE(EvaluateEmissionModel(workspace, 7200.0));
    EXPECT_TRUE(workspace.exists(files::kEmissionModel));
    EXPECT_EQ(test::readFile(workspace.path(files::kEmissionModel)), "");
}

TEST_F(EmissionModelFiles, RefusalsLeaveThePreviousSpectrum) {
    const std::string previous = "7000\t1\t1\t1\n";
    test::writeFile(workspace.path(files::kEmissionModel), previous);

    EXPECT_FALSE(EvaluateEmissionModel(workspace, 0.0));
    std::filesystem::remove(workspace.path(files::kFinalStateTemp));
    Status status = EvaluateEmissionModel(workspace, 7200.0);
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("RIXS_Calculation_Lorentz_Temp.DAT"), std::string::npos);
    std::filesystem::remove(workspace.path(files::kParameters));
    status = EvaluateEmissionModel(workspace, 7200.0);
    EXPECT_NE(status.error().find("RIXS_Calculation_Parameters.DAT"), std::string::npos);
    EXPECT_EQ(test::readFile(workspace.path(files::kEmissionModel)), previous);

    const std::string zero = "7000\t0\t0\t0\n7001\t0\t0\t0\n";
    test::writeFile(workspace.path(files::kEmissionModel), zero);
    QuadSpectrum scaled{{1, 1, 1, 1}};
    EXPECT_FALSE(NormalizeEmissionModel(workspace, scaled));
    EXPECT_EQ(scaled.size(), 1u);
    EXPECT_EQ(test::readFile(workspace.path(files::kEmissionModel)), zero);

    std::filesystem::remove(workspace.path(files::kEmissionMinMax));
    status = NormalizeEmissionModel(workspace, scaled);
    EXPECT_NE(status.error().find("Emission_MinMax.DAT"), std::string::npos);
}

}  // namespace
}  // namespace zephalo::core::xrf
