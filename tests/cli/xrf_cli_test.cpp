#include <cmath>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace zephalo::test {
namespace {

constexpr const char* kParameterText = "1.25\t7114\t7020\t7065\t0.1\t1\t7.9e-09\n";
constexpr const char* kSeededFinalState =
    "1\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n";

// A work space after creation, the edge step and the fluorescence import: a
// Kβ-like spectrum on a 0.25 eV grid, normalised to 1.
class XrfCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir / "RIXS_Calculation_Parameters.DAT", kParameterText);
        writeFile(dir / "RIXS_Calculation_Lorentz.DAT", kSeededFinalState);
        writeFile(dir / "Emission_Exc_Energy.DAT", "7214");
        writeFile(dir / "Non_Resonant_Emission.DAT", "7000\t1\t1\t1\n");
        std::string spectrum;
        for (int i = 0; i <= 120; ++i) {
            const double e = 7040.0 + 0.25 * i;
            const double y = (615.0 / (1.0 + std::pow((e - 7058.36) / 0.985, 2)) +
                              107.0 / (1.0 + std::pow((e - 7046.9) / 7.085, 2))) /
                             622.0;
            spectrum += std::to_string(e) + "\t" + std::to_string(y) + "\n";
        }
        writeFile(dir / "Exp_Non_Resonant_Emission.DAT", spectrum);
    }
    CliRun xrf(std::vector<std::string> options) {
        options.insert(options.begin(), {"--workspace", dir.path().string(), "xrf"});
        return runCli(options, scratch);
    }
    std::string read(const char* name) const { return readFile(dir / name); }

    TempDir dir;
    TempDir scratch;
};

TEST_F(XrfCliTest, FitsTheTypedLinesPrintsTheRFactorAndStores) {
    const auto run = xrf({"--mode", "0", "--A", "7058.36,615,1.97", "--B", "7057.21,448,3.12",
                          "--C", "7054.75,141,6.38", "--D", "7046.9,107,14.17", "--excitation",
                          "7250", "--rfactor", "--store"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // The panel texts in button order, one sentence or paragraph a line (the
    // panel's breaks inside words joined), then the figure line.
    EXPECT_EQ(run.out.rfind("　蛍光X線スペクトルを読み込みました。\n"
                            "　これを測定した励起エネルギーは7214eVに初期設定されています。\n"
                            "　励起エネルギーを修正後、「設定確認」して、試しに「フィット」"
                            "してみて下さい。\n"
                            "　計算結果が大きく食い違っていたらA～Dの４つのローレンツ関数の"
                            "パラメーターを調節して、あわせこんでみて下さい。\n"
                            "　ローレンツ関数のピーク位置は、ラジオボタンでローレンツ関数を選択し、"
                            "画面上でマウスをクリックしても設定できます。\n",
                            0),
              0u)
        << run.out;
    for (const char* part :
         {"　ローレンツ関数のパラメーターを確認しました。\n",
          "　ローレンツ関数を計算しました。これでよければ、「設定完了」をクリックして下さい。\n"
          "　「R因子」を計算する事もできます。（R因子の目安は5%以下）\n"
          "  問題があれば、再度パラメーターを調整して下さい。\n",
          "　R因子を計算しました。　R因子は ", "　これで「終状態関数」が作成できました。\n"}) {
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
    }
    const std::string rLine = "R=" + read("R_Factor_XRF.DAT");
    EXPECT_NE(run.out.find(rLine), std::string::npos) << run.out;

    // Mode, widths, positions, amplitudes: the record order of the final state.
    const std::string stored =
        "0\t1.97\t3.12\t6.38\t14.17\t7058.36\t7057.21\t7054.75\t7046.9\t615\t448\t141\t107\n";
    EXPECT_EQ(read("RIXS_Calculation_Lorentz.DAT"), stored);
    EXPECT_EQ(read("RIXS_Calculation_Lorentz_Temp.DAT"), stored);
    EXPECT_EQ(read("RIXS_Calculation_Parameters.DAT"),
              "1.25\t7114\t7040\t7070\t0.25\t1\t7.9e-09\n");
}

TEST_F(XrfCliTest, WithoutOptionsFitsTheStoredLinesAndStoresNothing) {
    const auto run = xrf({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.find("R="), std::string::npos);
    EXPECT_EQ(read("RIXS_Calculation_Lorentz_Temp.DAT"), kSeededFinalState);
    EXPECT_EQ(read("RIXS_Calculation_Lorentz.DAT"), kSeededFinalState);
    EXPECT_NE(read("Non_Resonant_Emission.DAT"), "7000\t1\t1\t1\n");
}

TEST_F(XrfCliTest, RefusalsExitOneWithThePanelTextOnStandardError) {
    // The model refuses an excitation energy of 0 after load and confirm did
    // their work: the command is one step, so nothing of theirs is printed
    // or kept.
    const auto zero = xrf({"--excitation", "0", "--store"});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_NE(zero.err.find("励起エネルギーが0eV"), std::string::npos) << zero.err;
    EXPECT_EQ(zero.out, "");
    EXPECT_EQ(read("Non_Resonant_Emission.DAT"), "7000\t1\t1\t1\n");
    EXPECT_EQ(read("RIXS_Calculation_Lorentz.DAT"), kSeededFinalState);

    // The gate: no fluorescence spectrum imported.
    std::filesystem::remove(dir / "Exp_Non_Resonant_Emission.DAT");
    const auto gated = xrf({});
    EXPECT_EQ(gated.exitCode, 1);
    EXPECT_EQ(
        gated.err,
        " エラー!!\n　まず[ワークスペース作成」後、「素材入力」ボタンで全ての素材を読み込んで"
        "下さい。\n");
    EXPECT_EQ(gated.out, "");
}

TEST_F(XrfCliTest, MalformedOptionsAreUsageErrorsAndTouchNothing) {
    for (const std::vector<std::string>& options :
         std::vector<std::vector<std::string>>{{"--A", "7058,1"},
                                               {"--B", "7058,1,2,3"},
                                               {"--C", "7058,abc,2"},
                                               {"--D", "7058,,2"},
                                               {"--A", "7058;1;2"},
                                               {"--excitation", "72o0"},
                                               {"--mode", "2"},
                                               {"--mode", "one"}}) {
        const auto run = xrf(options);
        EXPECT_EQ(run.exitCode, 2) << options[0] << " " << options[1];
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "Emission_MinMax.DAT"));
    EXPECT_EQ(read("RIXS_Calculation_Parameters.DAT"), kParameterText);
}

}  // namespace
}  // namespace zephalo::test
