#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "core/rixs/rixs_core.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "rixs_fixture.h"

namespace zephalo::test {
namespace {

// A work space prepared by hand with everything the workbench needs.
class PlaneCommand : public ::testing::Test {
protected:
    void SetUp() override { prepareRixsWorkspace(workspace); }
    CliRun plane(const std::string& from, const std::string& to, const std::string& step,
                 const std::filesystem::path& out) {
        return runCli({"--workspace", space.path().string(), "plane", "--from", from, "--to", to,
                       "--step", step, "--out", out.string()},
                      scratch);
    }
    TempDir scratch;
    TempDir space;
    core::Workspace workspace{space.path()};
};

std::vector<std::vector<std::string>> cells(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> row;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

TEST_F(PlaneCommand, WritesARectangularMatrixThatImportsAsAMeasuredMap) {
    const auto out = scratch / "map.txt";
    const auto run = plane("7110", "7111", "0.25", out);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = readFile(out);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const auto rows = cells(text);
    ASSERT_EQ(rows.size(), 6u);  // count and ω line, then 7110, 7110.25, … 7111
    // Every line as long: the corner cell counts the emission energies.
    ASSERT_EQ(rows[0].size(), 451u);
    EXPECT_EQ(rows[0][0], "450");
    EXPECT_EQ(rows[0][1], "7020");
    EXPECT_EQ(rows[0][2], "7020.1");
    const char* excitations[] = {"7110", "7110.25", "7110.5", "7110.75", "7111"};
    for (std::size_t i = 0; i < 5; ++i) {
        ASSERT_EQ(rows[i + 1].size(), 451u);
        EXPECT_EQ(rows[i + 1][0], excitations[i]);
    }
    // The row at 7110.5 is the spectrum compute writes there, number for number.
    ASSERT_EQ(
        runCli({"--workspace", space.path().string(), "compute", "--omega", "7110.5"}, scratch)
            .exitCode,
        0);
    const auto computed = cells(readFile(workspace.path(core::files::kCalculatedRixs)));
    ASSERT_EQ(computed.size(), 450u);
    for (std::size_t j = 0; j < computed.size(); ++j) {
        EXPECT_EQ(rows[0][j + 1], computed[j][0]);
        EXPECT_EQ(rows[3][j + 1], computed[j][1]) << j;
    }
    // The plane file is a measured map: Ω, ω and the total of every cell.
    const auto imported =
        runCli({"--workspace", space.path().string(), "import", "rixs-map", out.string()}, scratch);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const auto stored = cells(readFile(workspace.path(core::files::kRixsExperimentMap)));
    ASSERT_EQ(stored.size(), 5u * 450u);
    for (std::size_t k = 0; k < stored.size(); ++k) {
        const std::vector<std::string> expected{rows[k / 450 + 1][0], rows[0][k % 450 + 1],
                                                rows[k / 450 + 1][k % 450 + 1]};
        ASSERT_EQ(stored[k], expected) << k;
    }
}

TEST_F(PlaneCommand, RefusesAndWritesNothing) {
    struct Case {
        const char* from;
        const char* to;
        const char* step;
        const char* says;
    };
    const Case cases[] = {
        {"7120", "7110", "0.5", "始めが終わり以上"}, {"7110", "7110", "0.5", "始めが終わり以上"},
        {"7110", "7120", "0", "刻みが0以下"},        {"7110", "7120", "-1", "刻みが0以下"},
        {"7000", "7500", "0.1", "5001点"},           {"999", "1010", "1", "999eV"},
        {"19995", "20001", "2", "20001eV"},
    };
    const auto out = scratch / "map.txt";
    for (const Case& c : cases) {
        const auto run = plane(c.from, c.to, c.step, out);
        EXPECT_EQ(run.exitCode, 1) << c.from << " " << c.to << " " << c.step;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // Both ends of the accepted excitation energies.
    EXPECT_EQ(plane("1000", "1002", "2", out).exitCode, 0);
    EXPECT_EQ(plane("19990", "20000", "5", out).exitCode, 0);
    std::filesystem::remove(out);
    // A folder that does not exist is named in the refusal.
    const auto unwritable = scratch / "missing" / "map.txt";
    const auto run = plane("7110", "7111", "0.5", unwritable);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(core::pathText(unwritable)), std::string::npos) << run.err;
    // The work space is as it was: no spectrum computed.
    EXPECT_FALSE(workspace.exists(core::files::kCalculatedRixs));
}

TEST_F(PlaneCommand, GatedAndRefusedLikeCompute) {
    for (auto removed : {core::files::kSelectiveForRixs, core::files::kConvXafsNorm}) {
        SetUp();
        std::filesystem::remove(workspace.path(removed));
        const auto run = plane("7110", "7111", "0.5", scratch / "map.txt");
        const auto compute =
            runCli({"--workspace", space.path().string(), "compute", "--omega", "7110"}, scratch);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(compute.exitCode, 1);
        EXPECT_EQ(run.err, compute.err);
        EXPECT_FALSE(std::filesystem::exists(scratch / "map.txt"));
    }
}

}  // namespace
}  // namespace zephalo::test
