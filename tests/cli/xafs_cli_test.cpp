#include <cmath>
#include <string>

#include "cli_runner.h"

namespace zephalo::test {
namespace {

class XafsCli : public ::testing::Test {
protected:
    TempDir scratch;
    std::filesystem::path ws = scratch / "ws";

    void SetUp() override { std::filesystem::create_directories(ws); }

    CliRun cli(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--workspace", ws.string()});
        return runCli(arguments, scratch);
    }
    std::filesystem::path source(const std::string& name, const std::string& text) {
        writeFile(scratch / name, text);
        return scratch / name;
    }
    std::string wsFile(const std::string& name) const { return readFile(ws / name); }
    // Nothing written: the folder holds no file but the lock file of the steps.
    bool nothingWritten() const {
        for (const auto& e : std::filesystem::directory_iterator(ws)) {
            if (e.path().filename() != "ZEPHALO.lock") return false;
        }
        return true;
    }
    // Number of lines of a work-space file.
    std::size_t lines(const std::string& name) const {
        const auto text = wsFile(name);
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    // The files the conventional XAFS step needs: an edge-like absorption
    // step (arctan) from 7050 to 7250 eV in 1 eV steps, peaking at 1.6.
    void prepareEdgeStep() {
        std::string xafs;
        for (int e = 7050; e <= 7250; ++e) {
            const double mu = 0.2 + (std::atan((e - 7114.0) / 3.0) / M_PI + 0.5) +
                              (e > 7120 && e < 7140 ? 0.4 : 0.0);
            xafs += std::to_string(e) + "\t" + std::to_string(mu) + "\n";
        }
        writeFile(ws / "Conventional_XAFS.DAT", xafs);
        writeFile(ws / "Exp_Non_Resonant_Emission.DAT", "7040\t0.1\n7058\t1\n");
        writeFile(ws / "RIXS_Calculation_Parameters.DAT",
                  "1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n");
        writeFile(ws / "SelectiveXAFS_for_Reading_Org.DAT", "-1\t0.5\t0.5\n-0.9\t1\t1\n");
    }
};

std::string wien2k(double start, int n) {
    std::string text = "# ENERGY XAS TOTAL\n";
    for (int i = 0; i < n; ++i) {
        text += std::to_string(start + 0.1 * i) + "   " + std::to_string(1.0 + (i % 4)) + "\n";
    }
    return text;
}

TEST_F(XafsCli, SelectiveImports) {
    auto run = cli({"import", "selective", source("one.xspec", wien2k(-5, 101)).string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ws.string() +
                           " に1成分の「選択的XAFSスペクトル（計算値）」を導入しました。\n"
                           "　「OK」で終了し次のステップに進んで下さい。\n");
    EXPECT_EQ(lines("SelectiveXAFS_for_Reading_Org.DAT"), 101u);

    run = cli({"import", "selective-general",
               source("g.dat", "# E Y1 Y2\n0 1 2\n0.1 2 1\n0.2 1 1\n").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(wsFile("SelectiveXAFS_for_Reading_Org.DAT"), "0\t0.5\t1\n0.1\t1\t0.5\n");
}

TEST_F(XafsCli, TwoComponentsInTwoSteps) {
    auto run = cli({"import", "selective-second", source("dn.xspecdn", wien2k(0, 10)).string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "エラー！！\n　まず上のボタンで1成分目を導入して下さい！\n");
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(std::filesystem::exists(ws / "SelectiveXAFS_for_Reading_Org.DAT"));

    run = cli({"import", "selective-first", source("up.xspecup", wien2k(0, 10)).string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("の1成分目を導入しました。\n　2成分目を導入して下さい。\n"),
              std::string::npos);
    run = cli({"import", "selective-second", source("dn.xspecdn", wien2k(0.5, 10)).string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lines("SelectiveXAFS_for_Reading_Org_Tmp.DAT"), 5u);
    EXPECT_EQ(lines("SelectiveXAFS_for_Reading_Org.DAT"), 5u);
}

TEST_F(XafsCli, BadSelectiveFileIsRefusedAndNamed) {
    const auto bad = source("bad.xspec", "# ENERGY XAS\n0.0 1\n0.1 2\n");
    const auto run = cli({"import", "selective", bad.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(bad.string() + " のヘッダーが4語ではありません"), std::string::npos)
        << run.err;
    EXPECT_TRUE(nothingWritten());
    EXPECT_EQ(cli({"import", "selective"}).exitCode, 2);
}

TEST_F(XafsCli, EdgeNeedsTheMaterials) {
    const auto run = cli({"edge", "--edge", "Fe K-edge"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              " エラー!!\n　まず["
              "ワークスペース作成」後、「素材入力」ボタンで全ての素材を読み込んで下さい。\n");
    EXPECT_TRUE(nothingWritten());
}

TEST_F(XafsCli, EdgeFromTableThenTypedEnergy) {
    prepareEdgeStep();
    auto run = cli({"edge", "--edge", "Fe K-edge"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        run.out.substr(0, run.out.find('\n', run.out.find('\n') + 1)),
        "　吸収端は Fe K-edge に設定されました。\n　内殻エネルギーは7114eV、寿命幅は1.25eVです。");
    EXPECT_EQ(wsFile("RIXS_Calculation_Parameters.DAT"),
              "1.25\t7114\t7020\t7065\t0.1\t1\t7.9e-09\n");
    EXPECT_EQ(wsFile("Emission_Exc_Energy.DAT"), "7214");
    EXPECT_EQ(wsFile("SelectiveXAFS_for_Reading.DAT"), "7113\t0.5\t0.5\n7113.1\t1\t1\n");
    EXPECT_EQ(lines("ConvXAFS_Norm_Spectrum.DAT"), 201u);
    EXPECT_EQ(wsFile("ConvXAFS_MinMax.DAT").substr(0, 10), "7050\t7250\t");

    // A fresh dialog each run: the index selects Co, the typed energy wins.
    run = cli({"edge", "--edge", "8", "--core-energy", "7110.5"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("内殻エネルギーは7110.5eV、寿命幅は1.33eV"), std::string::npos);
    EXPECT_EQ(wsFile("RIXS_Calculation_Parameters.DAT"),
              "1.33\t7110.5\t7020\t7065\t0.1\t1\t7.9e-09\n");
    EXPECT_EQ(wsFile("Emission_Exc_Energy.DAT"), "7210.5");

    // No edge: width and energy stay as stored.
    run = cli({"edge"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "　吸収端は  に設定されました。");
    EXPECT_EQ(wsFile("RIXS_Calculation_Parameters.DAT"),
              "1.33\t7110.5\t7020\t7065\t0.1\t1\t7.9e-09\n");
}

TEST_F(XafsCli, EdgeUsageErrors) {
    prepareEdgeStep();
    const auto before = wsFile("RIXS_Calculation_Parameters.DAT");
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"edge", "--edge", "Fe K edge"},
                                               {"edge", "--edge", "43"},
                                               {"edge", "--edge", "-1"},
                                               {"edge", "--core-energy", "7114eV"}}) {
        const auto run = cli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.back();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(wsFile("RIXS_Calculation_Parameters.DAT"), before);
    EXPECT_FALSE(std::filesystem::exists(ws / "Emission_Exc_Energy.DAT"));
}

TEST_F(XafsCli, EdgeStopsWhenTheReadIsRefused) {
    prepareEdgeStep();
    writeFile(ws / "Conventional_XAFS.DAT", "7000\t-0.5\n7100\t0\n");
    const auto run = cli({"edge", "--edge", "Fe K-edge"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("全点で0以下のため、規格化できません"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(ws / "ConvXAFS_MinMax.DAT"));
    EXPECT_FALSE(std::filesystem::exists(ws / "Emission_Exc_Energy.DAT"));
}

TEST_F(XafsCli, EdgeRefusesASelectiveXafsOfOneRecord) {
    prepareEdgeStep();
    writeFile(ws / "SelectiveXAFS_for_Reading_Org.DAT", "-1\t0.5\t0.5\n");
    const auto run = cli({"edge", "--edge", "Fe K-edge"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("1点しかない"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(ws / "Emission_Exc_Energy.DAT"));
}

}  // namespace
}  // namespace zephalo::test
