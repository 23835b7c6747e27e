#include <string>
#include <vector>

#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

using test::near;

// Every record shape written by its writer reads back with the same count and
// the same values (all chosen with at most six significant digits).
TEST(WorkspaceRecords, EveryShapeRoundTrips) {
    test::TempDir dir;
    Workspace ws(dir.path());

    const PairSpectrum pairs{{7000, 0.001}, {7000.1, 1.5e-7}, {7000.2, -2.25}};
    SelectiveXafsTable table;
    for (std::size_t i = 0; i < kMaxPoints; ++i) table.push_back({-10.0 + 0.1 * i, i * 1e-4, 1.0});
    const QuadSpectrum quad{{7050, 1, 0.5, 0.5}, {7050.1, 2e-12, 1e-12, 1e-12}};
    const MinMaxRecord minMax{7000, 7200, 20, 80};
    const CalculationParameters params{1.5, 7112, 7030, 7070, 0.2, 0.8, 3.5e-10};
    FinalStateFunction lorentz;
    lorentz.mode = 0;
    lorentz.position = {7040, 7050, 7058.36, 7061};

    ASSERT_TRUE(ws.write(files::kRixsExperiment, pairs).ok());
    ASSERT_TRUE(ws.write(files::kSelectiveWork, table).ok());
    ASSERT_TRUE(ws.write(files::kCalculatedRixs, quad).ok());
    ASSERT_TRUE(ws.write(files::kXafsMinMax, minMax).ok());
    ASSERT_TRUE(ws.write(files::kParameters, params).ok());
    ASSERT_TRUE(ws.write(files::kFinalStateTemp, lorentz).ok());
    ASSERT_TRUE(ws.write(files::kEmissionExcitation, 7212.5, false).ok());

    PairSpectrum pairsBack;
    SelectiveXafsTable tableBack;
    QuadSpectrum quadBack;
    MinMaxRecord minMaxBack;
    CalculationParameters paramsBack;
    FinalStateFunction lorentzBack;
    double single = 0;
    ASSERT_TRUE(ws.read(files::kRixsExperiment, pairsBack).ok());
    ASSERT_TRUE(ws.read(files::kSelectiveWork, tableBack).ok());
    ASSERT_TRUE(ws.read(files::kCalculatedRixs, quadBack).ok());
    ASSERT_TRUE(ws.read(files::kXafsMinMax, minMaxBack).ok());
    ASSERT_TRUE(ws.read(files::kParameters, paramsBack).ok());
    ASSERT_TRUE(ws.read(files::kFinalStateTemp, lorentzBack).ok());
    ASSERT_TRUE(ws.read(files::kEmissionExcitation, single).ok());

    ASSERT_EQ(pairsBack.size(), pairs.size());
    EXPECT_EQ(pairsBack[1].intensity, 1.5e-7);
    EXPECT_EQ(pairsBack[2].intensity, -2.25);
    ASSERT_EQ(tableBack.size(), kMaxPoints);
    EXPECT_TRUE(near(tableBack[4999].energy, 489.9, 1e-12));
    EXPECT_TRUE(near(tableBack[4999].a, 0.4999, 1e-12));
    ASSERT_EQ(quadBack.size(), quad.size());
    EXPECT_EQ(quadBack[1].total, 2e-12);
    EXPECT_EQ(minMaxBack.ymax, 80);
    EXPECT_EQ(paramsBack.scalingFactor, 3.5e-10);
    EXPECT_EQ(paramsBack.coreEnergy, 7112);
    EXPECT_EQ(lorentzBack.mode, 0);
    EXPECT_FALSE(lorentzBack.twoComponents());
    EXPECT_EQ(lorentzBack.position[2], 7058.36);
    EXPECT_EQ(single, 7212.5);

    // The line layout: TAB-separated, one record per line, line end after each.
    EXPECT_EQ(test::readFile(ws.path(files::kRixsExperiment)),
              "7000\t0.001\n7000.1\t1.5e-07\n7000.2\t-2.25\n");
    EXPECT_EQ(test::readFile(ws.path(files::kFinalStateTemp)),
              "0\t8.12\t5.78\t1.9\t1.07\t7040\t7050\t7058.36\t7061\t0.75\t0.305\t0.15\t0.105\n");
    EXPECT_EQ(test::readFile(ws.path(files::kEmissionExcitation)), "7212.5");
}

// A missing file reads as empty: spectra lose their points, one-line records
// keep what the caller held.
TEST(WorkspaceRecords, MissingFilesReadAsEmpty) {
    test::TempDir dir;
    Workspace ws(dir.path());
    PairSpectrum pairs{{1, 2}};
    CalculationParameters params;
    params.coreEnergy = 7112;
    double single = 42;
    MinMaxRecord minMax{1, 2, 3, 4};
    EXPECT_TRUE(ws.read(files::kRixsExperiment, pairs).ok());
    EXPECT_TRUE(ws.read(files::kParameters, params).ok());
    EXPECT_TRUE(ws.read(files::kEmissionExcitation, single).ok());
    EXPECT_TRUE(ws.read(files::kXafsMinMax, minMax).ok());
    EXPECT_TRUE(pairs.empty());
    EXPECT_EQ(params.coreEnergy, 7112);
    EXPECT_EQ(single, 42);
    EXPECT_EQ(minMax.ymax, 4);
}

// Mode values other than 1 read as one component, also absurd ones.
TEST(WorkspaceRecords, FinalStateModeOtherThanOneIsOneComponent) {
    test::TempDir dir;
    Workspace ws(dir.path());
    for (const char* mode : {"0", "2", "-1", "1e300"}) {
        ws.writeText(files::kFinalState,
                     std::string(mode) + "\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\n")
            .ok();
        FinalStateFunction f;
        ASSERT_TRUE(ws.read(files::kFinalState, f).ok()) << mode;
        EXPECT_FALSE(f.twoComponents()) << mode;
        EXPECT_EQ(f.amplitude[3], 12);
    }
}

// --- Reading a chosen file of pairs ---------------------------------------

struct PairCase {
    const char* name;
    std::string text;
    int count;                          // -1: refused
    std::vector<std::string> mentions;  // parts of the refusal text
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const PairCase& c, std::ostream* out) {
    *out << c.name;
}

class ChosenPairFile : public ::testing::TestWithParam<PairCase> {};

TEST_P(ChosenPairFile, FollowsTheReaderRules) {
    const auto& c = GetParam();
    test::TempDir dir;
    const auto file = dir / "spectrum.dat";
    test::writeFile(file, c.text);
    PairSpectrum points{{-1, -1}};
    const Status status = readPairFile(file, points);
    if (c.count < 0) {
        ASSERT_FALSE(status.ok());
        EXPECT_NE(status.error().find(file.string()), std::string::npos) << status.error();
        for (const auto& part : c.mentions) {
            EXPECT_NE(status.error().find(part), std::string::npos) << status.error();
        }
        ASSERT_EQ(points.size(), 1u);  // the caller's value is untouched
        return;
    }
    ASSERT_TRUE(status.ok()) << status.error();
    ASSERT_EQ(points.size(), static_cast<std::size_t>(c.count));
    if (c.count > 0) {
        EXPECT_EQ(points.front().energy, 7000);
        EXPECT_TRUE(near(points.back().intensity, 7.9e-9, 1e-15));
    }
}

std::string manyPoints(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += std::to_string(7000 + i) + " 1\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChosenPairFile,
    ::testing::Values(
        PairCase{"LfLineEnds", "7000\t1\n7001\t7.9e-09\n", 2, {}},
        PairCase{"CrLfLineEnds", "7000\t1\r\n7001\t7.9e-09\r\n", 2, {}},
        PairCase{"ThreeDigitExponent", "7000 1E+000\n7001 7.9e-009\n", 2, {}},
        PairCase{"BlanksAndOddLayout", "  7000   1 7001\n\n\t7.9e-9\n", 2, {}},
        PairCase{"LastPairWithoutLineEnd", "7000 1\n7001 7.9e-09", 2, {}},
        PairCase{
            "CommentLines", "# Fe K-edge\n  # beamline header\n7000 1\n#\n7001 7.9e-09\n", 2, {}},
        PairCase{"Empty", "", 0, {}}, PairCase{"OnlyComments", "# nothing measured\n", 0, {}},
        PairCase{"BadToken", "7000 1\n7001 2\n7002 1,5\n", -1, {"3行目", "1,5"}},
        PairCase{"HashInsideALine", "7000 1 # note\n", -1, {"1行目", "#"}},
        PairCase{"NotANumberAtAll", "7000 nan\n", -1, {"1行目", "nan"}},
        PairCase{"HalfPair", "7000 1\n7001 2\n7002\n", -1, {"3行目", "2の倍数"}},
        PairCase{"TooManyPoints", manyPoints(5001), -1, {"5001", "5000"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(WorkspaceRecords, FiveThousandPointsAreTheLimit) {
    test::TempDir dir;
    test::writeFile(dir / "full.dat", manyPoints(5000));
    PairSpectrum points;
    ASSERT_TRUE(readPairFile(dir / "full.dat", points).ok());
    EXPECT_EQ(points.size(), 5000u);
}

TEST(WorkspaceRecords, UnopenableInputsAreRefusedWithTheirPath) {
    test::TempDir dir;
    PairSpectrum points;
    const Status missing = readPairFile(dir / "absent.dat", points);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find((dir / "absent.dat").string()), std::string::npos);
    EXPECT_NE(missing.error().find("開けません"), std::string::npos);
    const Status folder = readPairFile(dir.path(), points);
    ASSERT_FALSE(folder.ok());
    EXPECT_NE(folder.error().find("フォルダー"), std::string::npos);
}

TEST(WorkspaceRecords, AFailedWriteIsReportedAndLeavesTheOldFile) {
    test::TempDir dir;
    Workspace ws(dir.path());
    ASSERT_TRUE(ws.write(files::kRixsExperiment, PairSpectrum{{7000, 1}}).ok());
    // A folder in the way of the target: the rename fails even for root.
    std::filesystem::create_directory(ws.path(files::kConventionalXafs));
    const Status blocked = ws.write(files::kConventionalXafs, PairSpectrum{{7000, 1}});
    ASSERT_FALSE(blocked.ok());
    EXPECT_NE(blocked.error().find(ws.path(files::kConventionalXafs).string()), std::string::npos);
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);

    Workspace nowhere(dir / "no" / "such" / "folder");
    EXPECT_FALSE(nowhere.write(files::kRixsExperiment, PairSpectrum{}).ok());
    EXPECT_EQ(test::readFile(ws.path(files::kRixsExperiment)), "7000\t1\n");
}

TEST(WorkspaceRecords, WorkSpaceFilesInTheWrongShapeAreRefused) {
    test::TempDir dir;
    Workspace ws(dir.path());
    ws.writeText(files::kParameters, "1.25\t7120\t7020\n").ok();
    CalculationParameters params;
    const Status shortRecord = ws.read(files::kParameters, params);
    ASSERT_FALSE(shortRecord.ok());
    EXPECT_NE(shortRecord.error().find("7個"), std::string::npos);
    EXPECT_EQ(params.coreEnergy, 7120);  // untouched default
    ws.writeText(files::kSelectiveWork, "7000\t1\t1\n7000.1\t1\n").ok();
    SelectiveXafsTable table{{1, 2, 3}};
    EXPECT_FALSE(ws.read(files::kSelectiveWork, table).ok());
    EXPECT_EQ(table.size(), 1u);
}

// --- Extremes ---------------------------------------------------------------

TEST(MinMaxScanRules, StartValuesAndStrictComparisons) {
    const MinMaxRecord empty = minMaxOf(PairSpectrum{}, 20000);
    EXPECT_EQ(formatRecord(empty), "1e+08\t0\t1e+08\t0\n");

    // All intensities negative: the maximum stays at its start value 0.
    const MinMaxRecord negative = minMaxOf(PairSpectrum{{7000, -0.5}, {7001, -0.25}}, 10000);
    EXPECT_EQ(negative.ymax, 0);
    EXPECT_EQ(negative.ymin, -5000);

    // Values above 1e8 never become the minimum; energies are not scaled.
    const MinMaxRecord huge = minMaxOf(PairSpectrum{{2e8, 1e5}}, 10000);
    EXPECT_EQ(huge.xmin, 1e8);
    EXPECT_EQ(huge.xmax, 2e8);
    EXPECT_EQ(huge.ymin, 1e8);
    EXPECT_EQ(huge.ymax, 1e9);

    // Both selective components count for Y.
    const MinMaxRecord table =
        minMaxOf(SelectiveXafsTable{{7110, 0.2, 0.9}, {7111, 0.1, 0.5}}, 10000);
    EXPECT_TRUE(near(table.ymin, 1000, 1e-12));
    EXPECT_TRUE(near(table.ymax, 9000, 1e-12));
    EXPECT_EQ(table.xmin, 7110);
    EXPECT_EQ(table.xmax, 7111);
}

}  // namespace
}  // namespace zephalo::core
