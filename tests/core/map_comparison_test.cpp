#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "core/rixs/map_comparison.h"
#include "core/rixs/rixs_compute.h"
#include "core/rixs/workbench_model.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "rixs_fixture.h"
#include "test_support.h"

// The measured map against the calculation, Ω by Ω: each R factor is the one
// the workbench's own comparison gives for that Ω's spectrum.
namespace zephalo::test {
namespace {

namespace files = core::files;
using core::MeasuredMap;
using core::PairSpectrum;

// A spectrum on a grid, stored as the work space holds it.
PairSpectrum measuredOn(double start, double step, int count, double phase) {
    PairSpectrum out;
    for (int k = 0; k < count; ++k) {
        const double w = start + step * k;
        const double value = 2e-4 * (1.2 + std::sin(0.05 * w + phase));
        out.push_back({core::storedValue(w), core::storedValue(value)});
    }
    return out;
}

// The measured energies against the default 450-point calculation grid
// (7020 … 7064.9 eV in 0.1 eV steps).
MeasuredMap testMap() {
    return {
        {7112, measuredOn(7030, 0.1, 301, 0.0)},    // inside, coarser: the calculation reduced
        {7115, measuredOn(7020, 0.05, 900, 0.7)},   // finer and longer: the measurement reduced
        {7118, measuredOn(7030.05, 0.1, 50, 1.1)},  // between the grid points: nothing pairs
        {7120, measuredOn(7000, 0.5, 201, 2.0)},    // wider: reduced on both sides
    };
}

std::map<std::string, std::string> filesOf(const std::filesystem::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        out[entry.path().filename().string()] = readFile(entry.path());
    }
    return out;
}

class MapComparisonTest : public ::testing::Test {
protected:
    void SetUp() override { prepareRixsWorkspace(ws); }

    // "RIXS計算実行" at Ω with the stored factors, then "実験値と比較" with
    // `spectrum` as RIXSEXP.DAT, as two commands would run them; the R
    // factor shown, and the whole calculated spectrum before the reduction.
    std::optional<double> singleComparison(double omega, const PairSpectrum& spectrum,
                                           core::QuadSpectrum& calculated) {
        core::rixs::WorkbenchBoxes boxes;
        EXPECT_TRUE(core::rixs::storedBoxes(ws, boxes));
        boxes.excitation = core::formatNumber(omega);
        EXPECT_TRUE(core::rixs::WorkbenchModel(ws).compute(boxes).done);
        EXPECT_TRUE(core::rixs::readCalculatedRixs(ws, calculated));
        EXPECT_TRUE(ws.write(files::kRixsExperiment, spectrum));
        core::rixs::WorkbenchModel model(ws);
        // Where no energy pairs, the comparison refuses and shows no R factor.
        if (!model.compareWithExperiment(boxes).done) return std::nullopt;
        EXPECT_TRUE(model.compareCalculated(model.boxes()).done);
        return model.shownRFactor();
    }

    TempDir dir;
    core::Workspace ws{dir.path()};
};

TEST_F(MapComparisonTest, EachRIsTheSingleComparisonsAndTheTotalPoolsEveryPair) {
    const MeasuredMap map = testMap();
    ASSERT_TRUE(ws.write(files::kRixsExperimentMap, map));
    const auto before = filesOf(dir.path());
    core::rixs::MapComparison comparison;
    const core::Status status = core::rixs::compareMeasuredMap(ws, comparison);
    ASSERT_TRUE(status) << status.error();
    EXPECT_EQ(filesOf(dir.path()), before) << "the comparison rewrites nothing";
    ASSERT_EQ(comparison.r.size(), map.size());
    ASSERT_EQ(comparison.calculated.excitation.size(), map.size());

    // Independently: every measured point paired with the grid point at its
    // energy, over all Ω.
    double difference = 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < map.size(); ++i) {
        core::QuadSpectrum calculated;
        const auto single = singleComparison(map[i].excitation, map[i].points, calculated);
        ASSERT_EQ(comparison.r[i].has_value(), single.has_value()) << map[i].excitation;
        if (single) {
            EXPECT_EQ(core::formatNumber(*comparison.r[i]), core::formatNumber(*single));
            EXPECT_TRUE(near(*comparison.r[i], *single, 1e-12));
        }
        for (const auto& m : map[i].points) {
            for (const auto& c : calculated) {
                if (std::fabs(c.energy - m.energy) >= 1e-4) continue;
                difference += std::fabs(c.total - m.intensity);
                sum += m.intensity;
                break;
            }
        }
    }
    EXPECT_FALSE(comparison.r[2].has_value()) << "nothing pairs between the grid points";

    // The drawn planes: the measured value and measured − calculated in the
    // column of its energy, nothing in the others.
    const auto measured = core::rixs::measuredOnGrid(comparison);
    const auto differences = core::rixs::differenceOnGrid(comparison);
    const auto& plane = comparison.calculated;
    ASSERT_EQ(plane.emission.size(), 450u);
    const std::size_t column = 300;  // 7050 eV
    ASSERT_TRUE(near(plane.emission[column], 7050.0, 0, 1e-6));
    const double atFirst = map[0].points[200].intensity;  // 7030 + 0.1·200
    EXPECT_TRUE(near(measured.at(0, column), atFirst, 1e-15));
    EXPECT_TRUE(near(differences.at(0, column), atFirst - core::storedValue(plane.at(0, column)),
                     1e-15, 1e-20));
    EXPECT_TRUE(std::isnan(measured.at(0, 10)));  // 7021 eV: below the measured 7030 eV
    EXPECT_TRUE(std::isnan(differences.at(2, column)));
    ASSERT_TRUE(comparison.total.has_value());
    EXPECT_TRUE(near(*comparison.total, 100.0 * difference / sum, 1e-12));
}

TEST_F(MapComparisonTest, RefusesWithoutAMapOrACommonEnergy) {
    core::rixs::MapComparison comparison;
    auto status = core::rixs::compareMeasuredMap(ws, comparison);
    ASSERT_FALSE(status);
    EXPECT_NE(status.error().find(files::kRixsExperimentMap), std::string::npos);

    ASSERT_TRUE(ws.write(files::kRixsExperimentMap,
                         MeasuredMap{{7112, measuredOn(7030.05, 0.1, 20, 0.0)}}));
    status = core::rixs::compareMeasuredMap(ws, comparison);
    ASSERT_FALSE(status);
    EXPECT_NE(status.error().find("共通の発光エネルギー"), std::string::npos) << status.error();

    // More points than the comparison reduces, as "実験値と比較" refuses them.
    ASSERT_TRUE(ws.write(files::kRixsExperimentMap,
                         MeasuredMap{{7112, measuredOn(7000, 0.01, 4001, 0.0)}}));
    status = core::rixs::compareMeasuredMap(ws, comparison);
    ASSERT_FALSE(status);
    EXPECT_NE(status.error().find("4001点"), std::string::npos) << status.error();
}

}  // namespace
}  // namespace zephalo::test
