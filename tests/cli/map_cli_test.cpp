#include <filesystem>
#include <map>
#include <string>

#include "cli_runner.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "rixs_fixture.h"

// import rixs-map and compare-map end to end; the numbers are the core
// tests' business.
namespace zephalo::test {
namespace {

class MapCommands : public ::testing::Test {
protected:
    void SetUp() override { prepareRixsWorkspace(workspace); }
    CliRun cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--workspace", space.path().string()});
        return runCli(arguments, scratch);
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(space.path())) {
            out[entry.path().filename().string()] = readFile(entry.path());
        }
        return out;
    }
    TempDir scratch;
    TempDir space;
    core::Workspace workspace{space.path()};
};

TEST_F(MapCommands, ImportsTripletsAndPrintsOneRPerExcitationEnergy) {
    std::string triplets;
    for (const char* omega : {"7112", "7110"}) {
        for (int k = 0; k < 5; ++k) {
            triplets += std::string(omega) + "\t" + std::to_string(7050 + k) + "\t0.0" +
                        std::to_string(k + 1) + "\n";
        }
    }
    writeFile(scratch / "map.xyz", triplets);
    const auto imported = cli({"import", "rixs-map", (scratch / "map.xyz").string()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.out.find("励起エネルギー2点、全10点"), std::string::npos) << imported.out;

    const auto before = files();
    const auto compared = cli({"compare-map"});
    ASSERT_EQ(compared.exitCode, 0) << compared.err;
    EXPECT_EQ(files(), before) << "compare-map rewrites nothing";
    // The message, then R(Ω) in ascending Ω, then the total.
    const auto r7110 = compared.out.find("\nR(7110)=");
    const auto r7112 = compared.out.find("\nR(7112)=");
    const auto total = compared.out.find("\nR=");
    ASSERT_NE(r7110, std::string::npos) << compared.out;
    EXPECT_LT(r7110, r7112);
    EXPECT_LT(r7112, total);
    EXPECT_EQ(compared.out.back(), '\n');
}

TEST_F(MapCommands, RefusesAndChangesNothing) {
    writeFile(scratch / "good.txt", "2\t7050\t7051\n7110\t0.1\t0.2\n");
    ASSERT_EQ(cli({"import", "rixs-map", (scratch / "good.txt").string()}).exitCode, 0);
    const auto before = files();
    writeFile(scratch / "nan.txt", "2\t7050\t7051\n7110\t0.1\tnan\n7111\t0.1\t0.2\n");
    struct Case {
        std::vector<std::string> arguments;
        const char* says;
    };
    const Case cases[] = {
        {{"import", "rixs-map", (scratch / "nan.txt").string()}, "2行目"},
        {{"import", "rixs-map", (scratch / "good.txt").string(), "--intensity", "/data"},
         "HDF5ファイルではない"},
        {{"import", "rixs-map", (scratch / "missing.txt").string()}, "missing.txt"},
    };
    for (const auto& c : cases) {
        const auto run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments.back();
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(files(), before);
    }
    // Without a measured map compare-map says which file it needs.
    std::filesystem::remove(workspace.path(core::files::kRixsExperimentMap));
    const auto run = cli({"compare-map"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(core::files::kRixsExperimentMap), std::string::npos) << run.err;
}

}  // namespace
}  // namespace zephalo::test
