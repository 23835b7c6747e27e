#include "core/rixs/rixs_compute.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/rixs/rixs_core.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core::rixs {
namespace {

using test::near;

const std::string kWarning =
    "　励起エネルギーが異常です。\r\n　安全のため、デフォルト値7150eVで計算しました。\r\n"
    "　励起エネルギーを再入力して下さい。";

std::string shown(const std::string& typed) {
    return "　計算したRIXSスペクトルを表示しました。\r\n　用いた励起エネルギーは" + typed +
           "eVです。「実験値読込」し、この\r\n「計算値と比較」して下さい。\r\n"
           "　必要なら「RIXSの保存」をして下さい。\r\n"
           "　スペクトル形状が異常な時は、「スケーリング因子」を調整して下\r\nさい。";
}

class ComputeOperation : public ::testing::Test {
protected:
    void SetUp() override {
        // A core energy with more digits than the rewritten file keeps.
        test::writeFile(workspace.path(files::kParameters),
                        "1.25\t7112.123456\t7020\t7065\t1\t1\t7.9e-09\n");
        ASSERT_TRUE(workspace.write(files::kFinalState, FinalStateFunction{}));
        SelectiveXafsTable xafs;
        for (int k = 0; k < 201; ++k) {
            const double u = -5 + 0.1 * k;
            xafs.push_back({7112 + u, 0.5 + 0.1 * u / (1 + std::fabs(u)), 0.4});
        }
        ASSERT_TRUE(workspace.write(files::kSelectiveForRixs, xafs));
        ASSERT_TRUE(workspace.write(files::kConvXafsNorm, PairSpectrum{{7100, 0.1}, {7200, 1.0}}));
    }
    QuadSpectrum result() const {
        QuadSpectrum out;
        EXPECT_TRUE(workspace.read(files::kCalculatedRixs, out));
        return out;
    }
    test::TempDir dir;
    Workspace workspace{dir.path()};
};

TEST_F(ComputeOperation, StoresTheFactorsAndComputesAtTheTypedEnergy) {
    const Report report = computeRixs(workspace, "7130.5", "2e-8", " 0.5 ");
    EXPECT_TRUE(report.done);
    EXPECT_EQ(report.text, shown("7130.5"));
    EXPECT_EQ(test::readFile(workspace.path(files::kParameters)),
              "1.25\t7112.12\t7020\t7065\t1\t0.5\t2e-08\n");
    const QuadSpectrum computed = result();
    ASSERT_EQ(computed.size(), 46u);
    ASSERT_TRUE(calculateRixs(workspace, 7130.5));
    EXPECT_EQ(test::readFile(workspace.path(files::kCalculatedRixs)), formatRecords(computed));
}

// Ω is accepted from 1000 to 20000 eV inclusive; anything else (empty text
// reads as 0) runs at 7150 eV with the warning.
struct ExcitationCase {
    const char* typed;
    bool accepted;
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const ExcitationCase& c, std::ostream* out) {
    *out << '"' << c.typed << (c.accepted ? "\" accepted" : "\" falls back");
}
class ExcitationRange : public ComputeOperation,
                        public ::testing::WithParamInterface<ExcitationCase> {};
TEST_P(ExcitationRange, AcceptsOrFallsBackTo7150) {
    const Report report = computeRixs(workspace, GetParam().typed, "1", "0");
    EXPECT_TRUE(report.done);
    EXPECT_EQ(report.text, GetParam().accepted ? shown(GetParam().typed) : kWarning);
    const QuadSpectrum computed = result();
    ASSERT_TRUE(
        calculateRixs(workspace, GetParam().accepted ? parseTyped(GetParam().typed) : 7150));
    const QuadSpectrum expected = result();
    ASSERT_EQ(expected.size(), computed.size());
    for (std::size_t j = 0; j < computed.size(); ++j) {
        EXPECT_TRUE(near(computed[j].total, expected[j].total, 1e-12));
    }
}
INSTANTIATE_TEST_SUITE_P(
    Boundaries, ExcitationRange,
    ::testing::Values(ExcitationCase{"1000", true}, ExcitationCase{"20000", true},
                      ExcitationCase{"999.999", false}, ExcitationCase{"20000.01", false},
                      ExcitationCase{"", false}, ExcitationCase{"2e4", true}),
    [](const auto& c) {
        return test::caseName(c.param.typed) + (c.param.accepted ? "_accepted" : "_falls_back");
    });

// A box that is not one number refuses before anything is written, naming
// the box.
TEST_F(ComputeOperation, ABoxThatIsNoNumberRefusesAndWritesNothing) {
    const std::string parameters = test::readFile(workspace.path(files::kParameters));
    const struct {
        const char *excitation, *scaling, *absorption, *box;
    } cases[] = {{"7l14", "1", "0", "励起エネルギー(eV)"},
                 {"7114", "1x2", "0", "スケーリング因子"},
                 {"7114", "1", "0.5abc", "吸収補正因子"}};
    for (const auto& c : cases) {
        const Report report = computeRixs(workspace, c.excitation, c.scaling, c.absorption);
        EXPECT_FALSE(report.done) << c.box;
        EXPECT_NE(report.text.find(std::string("ボックス「") + c.box + "」"), std::string::npos)
            << report.text;
        EXPECT_EQ(test::readFile(workspace.path(files::kParameters)), parameters) << c.box;
        EXPECT_FALSE(workspace.exists(files::kCalculatedRixs)) << c.box;
    }
}

TEST_F(ComputeOperation, EmptyScalingBoxGivesAZeroSpectrum) {
    EXPECT_TRUE(computeRixs(workspace, "7130", "", "1").done);
    for (const QuadPoint& point : result()) EXPECT_EQ(point.total, 0.0);
}

TEST_F(ComputeOperation, MissingInputsRefuseAfterStoringTheFactors) {
    const std::string missing =
        "!!!エラー!!!\r\n　RIXS計算に必要なファイルがそろっていません。\r\n"
        "　「修正終了」しましたか？\r\n　「修正終了」ボタンを押さないとRIXSは計算できません。\r\n"
        "　また「XAFSの読込」をスキップしてもRIXS計算はできません。\r\n　確認してやり直して下さい"
        "。";
    test::writeFile(workspace.path(files::kCalculatedRixs), "7000\t1\t1\n");
    for (auto name : {files::kSelectiveForRixs, files::kConvXafsNorm}) {
        const std::string content = test::readFile(workspace.path(name));
        std::filesystem::remove(workspace.path(name));
        const Report report = computeRixs(workspace, "50", "3", "0.25");
        EXPECT_FALSE(report.done);
        EXPECT_EQ(report.text, missing);
        test::writeFile(workspace.path(name), content);
    }
    EXPECT_EQ(test::readFile(workspace.path(files::kCalculatedRixs)), "7000\t1\t1\n");
    EXPECT_EQ(test::readFile(workspace.path(files::kParameters)),
              "1.25\t7112.12\t7020\t7065\t1\t0.25\t3\n");

    // A refusal of the core itself reaches the panel as it is.
    test::writeFile(workspace.path(files::kSelectiveForRixs), "7100\t1\t1\n");
    const Report single = computeRixs(workspace, "7130", "1", "1");
    EXPECT_FALSE(single.done);
    EXPECT_NE(single.text.find("2点以上"), std::string::npos);

    std::filesystem::remove(workspace.path(files::kParameters));
    const Report noParameters = computeRixs(workspace, "7130", "1", "1");
    EXPECT_FALSE(noParameters.done);
    EXPECT_NE(noParameters.text.find("RIXS_Calculation_Parameters.DAT"), std::string::npos);
    EXPECT_FALSE(workspace.exists(files::kParameters));
}

}  // namespace
}  // namespace zephalo::core::rixs
