#include <algorithm>
#include <cstdlib>
#include <utility>

#include "cli_runner.h"

namespace zephalo::test {
namespace {

// create, then the three imports of a measured spectrum, as a script would
// run them.
TEST(CliWorkspace, CreateAndImportEndToEnd) {
    TempDir scratch;
    const std::string ws = (scratch / "ws").string();
    const auto created = runCli({"--workspace", ws, "create"}, scratch);
    EXPECT_EQ(created.exitCode, 0) << created.err;
    // One line: the panel's breaks after the path and inside a word are dropped.
    EXPECT_EQ(created.out, "作業用のディレクトリ　" + ws +
                               "を作成しました。(以前使用時の結果は保護されています)\n");
    EXPECT_EQ(readFile(scratch / "ws" / "RIXS_Calculation_Parameters.DAT"),
              "1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n");

    writeFile(scratch / "rixs.DAT", "# measured at 7115 eV\n7050 0.001\n7051 0.004\n");
    const auto rixs =
        runCli({"--workspace", ws, "import", "rixs", (scratch / "rixs.DAT").string()}, scratch);
    EXPECT_EQ(rixs.exitCode, 0) << rixs.err;
    EXPECT_EQ(rixs.out, ws + " に「RIXS実験スペクトル」を導入しました。\n");
    EXPECT_EQ(readFile(scratch / "ws" / "EXP_MinMax.DAT"), "7050\t7051\t20\t80\n");

    writeFile(scratch / "xas.DAT", "7100 0.2\r\n7120 1.4\r\n");
    const auto xafs =
        runCli({"--workspace", ws, "import", "conv-xafs", (scratch / "xas.DAT").string()}, scratch);
    EXPECT_EQ(xafs.exitCode, 0) << xafs.err;
    EXPECT_EQ(readFile(scratch / "ws" / "Conventional_XAFS.DAT"), "7100\t0.2\n7120\t1.4\n");

    writeFile(scratch / "xrf.DAT", "7050 40\n7058 400\n");
    const auto xrf =
        runCli({"--workspace", ws, "import", "xrf", (scratch / "xrf.DAT").string()}, scratch);
    EXPECT_EQ(xrf.exitCode, 0) << xrf.err;
    EXPECT_EQ(xrf.out, ws + " に「蛍光X線実験スペクトル」を導入しました。\n");
    EXPECT_EQ(readFile(scratch / "ws" / "Exp_Non_Resonant_Emission.DAT"), "7050\t0.1\n7058\t1\n");
}

// The demo measurements a new user starts with import as they are.
TEST(CliWorkspace, DemoMeasurementsImport) {
    TempDir scratch;
    const std::string ws = (scratch / "ws").string();
    const std::filesystem::path demo = std::filesystem::path(ZEPHALO_SOURCE_DIR) / "data" / "demo";
    ASSERT_EQ(runCli({"--workspace", ws, "create"}, scratch).exitCode, 0);
    for (const auto& [kind, file] :
         {std::pair{"rixs", "Fe2O3_RIXS_7114eV.DAT"}, std::pair{"conv-xafs", "Fe2O3_ConvXAFS.DAT"},
          std::pair{"xrf", "Fe2O3_XRF_Kbeta.DAT"}}) {
        const auto run =
            runCli({"--workspace", ws, "import", kind, (demo / file).string()}, scratch);
        EXPECT_EQ(run.exitCode, 0) << kind << ": " << run.err;
    }
    // Smallest and largest RIXS intensities of the demo file, 0.00117381 and
    // 0.128029, are recorded x 20000.
    EXPECT_EQ(readFile(scratch / "ws" / "EXP_MinMax.DAT"), "7020\t7074.9\t23.4762\t2560.58\n");
    const std::string xrf = readFile(scratch / "ws" / "Exp_Non_Resonant_Emission.DAT");
    EXPECT_EQ(std::count(xrf.begin(), xrf.end(), '\n'), 551);
    EXPECT_NE(xrf.find("7058.2\t1\n"), std::string::npos);  // the highest count
    const std::string xafs = readFile(scratch / "ws" / "Conventional_XAFS.DAT");
    EXPECT_EQ(std::count(xafs.begin(), xafs.end(), '\n'), 412);
    EXPECT_EQ(xafs.substr(0, xafs.find('\n')), "6911.83\t0.809265");
}

TEST(CliWorkspace, RefusalsGoToStandardErrorAndWriteNothing) {
    TempDir scratch;
    const std::string ws = (scratch / "ws").string();
    ASSERT_EQ(runCli({"--workspace", ws, "create"}, scratch).exitCode, 0);
    writeFile(scratch / "bad.DAT", "7050 1\n7051 x\n");
    const auto bad =
        runCli({"--workspace", ws, "import", "xrf", (scratch / "bad.DAT").string()}, scratch);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find((scratch / "bad.DAT").string() + " の2行目"), std::string::npos)
        << bad.err;
    EXPECT_FALSE(std::filesystem::exists(scratch / "ws" / "Exp_Non_Resonant_Emission.DAT"));

    const auto missing =
        runCli({"--workspace", ws, "import", "rixs", (scratch / "absent.DAT").string()}, scratch);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("開けませんでした"), std::string::npos);

    writeFile(scratch / "blocker", "");
    const auto blocked =
        runCli({"--workspace", (scratch / "blocker" / "ws").string(), "create"}, scratch);
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find((scratch / "blocker" / "ws").string()), std::string::npos);
    EXPECT_EQ(blocked.out, "");
}

TEST(CliWorkspace, UsageErrors) {
    TempDir scratch;
    const auto noFile = runCli({"--workspace", scratch.path().string(), "import", "rixs"}, scratch);
    EXPECT_EQ(noFile.exitCode, 2);
    const auto unknownKind =
        runCli({"--workspace", scratch.path().string(), "import", "neutron", "x.DAT"}, scratch);
    EXPECT_EQ(unknownKind.exitCode, 2);
    EXPECT_NE(unknownKind.err.find("usage:"), std::string::npos);
    // An empty name is no work space, even with a default one at hand.
    ::setenv("ZEPHALO_WORK_SPACE", (scratch / "default").string().c_str(), 1);
    const auto empty = runCli({"--workspace", "", "create"}, scratch);
    ::unsetenv("ZEPHALO_WORK_SPACE");
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_NE(empty.err.find("usage:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(scratch / "default"));
}

// The environment variable chooses the work space; --workspace overrides it.
TEST(CliWorkspace, WorkspaceFromTheEnvironment) {
    TempDir scratch;
    ::setenv("ZEPHALO_WORK_SPACE", (scratch / "from-env").string().c_str(), 1);
    const auto byEnv = runCli({"create"}, scratch);
    const auto byOption =
        runCli({"--workspace", (scratch / "from-option").string(), "create"}, scratch);
    ::unsetenv("ZEPHALO_WORK_SPACE");
    EXPECT_EQ(byEnv.exitCode, 0);
    EXPECT_EQ(byOption.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(scratch / "from-env" / "Calculated_RIXS.DAT"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "from-option" / "Calculated_RIXS.DAT"));
    EXPECT_NE(byOption.out.find("from-option"), std::string::npos);
}

}  // namespace
}  // namespace zephalo::test
