#include <string>

#include "core/plot/projection.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "core/xafs/conv_xafs_model.h"
#include "test_support.h"

namespace zephalo::core::xafs {
namespace {

constexpr int kFe = 7;
constexpr int kCo = 8;

class ConvXafs : public ::testing::Test {
protected:
    test::TempDir dir;
    Workspace ws{dir.path()};
    ConvXafsModel model{ws};

    void SetUp() override {
        // Parameters as seeded, a conventional XAFS with maximum 2.5 and an
        // edge-relative selective XAFS.
        ASSERT_TRUE(ws.write(files::kParameters, CalculationParameters{}).ok());
        ASSERT_TRUE(ws.write(files::kConventionalXafs,
                             PairSpectrum{{7000, 0.5}, {7050, 1.0}, {7100, 2.5}, {7200, 2.0}})
                        .ok());
        ASSERT_TRUE(ws.write(files::kSelectiveOrg,
                             SelectiveXafsTable{{-10.0, 0.1, 0.2}, {-9.9, 0.5, 1}, {5.0, 1, 0.5}})
                        .ok());
    }
    CalculationParameters parameters() const {
        CalculationParameters p;
        p.coreEnergy = -1;
        EXPECT_TRUE(ws.readParameters(p).ok());
        return p;
    }
    std::string fileText(std::string_view name) const { return test::readFile(ws.path(name)); }
};

TEST_F(ConvXafs, ReadNormalisesToExactlyOne) {
    const auto report = model.read();
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text.substr(0, 30),
              std::string("　XAFSスペクトル(吸収補正用)を読み込み、最大値\r\nを１").substr(0, 30));
    EXPECT_EQ(fileText(files::kConvXafsMinMaxOrg), "7000\t7200\t0.5\t2.5\n");
    EXPECT_EQ(fileText(files::kConvXafsMinMax), "7000\t7200\t0.2\t1\n");
    EXPECT_EQ(fileText(files::kConvXafsNorm), "7000\t0.2\n7050\t0.4\n7100\t1\n7200\t0.8\n");

    // Projection by hand: X = -100 + trunc(4 trunc(50 (E - 7000)) / 200),
    // Y = -95 + trunc((trunc(10000 y) - 2000) 180 / 8000).
    const auto& curve = model.curve();
    ASSERT_EQ(curve.size(), 4u);
    EXPECT_EQ(curve.x, (std::vector<int>{-100, -50, 0, 100}));
    EXPECT_EQ(curve.y, (std::vector<int>{-95, -50, 85, 40}));
    EXPECT_EQ(curve.pen, plot::Pen::Red);
    EXPECT_EQ(curve.windowLow, -94);
    EXPECT_EQ(curve.windowHigh, 94);
    ASSERT_TRUE(model.shownRange().has_value());
    EXPECT_EQ(model.shownRange()->xmin, 7000.0);
    EXPECT_EQ(model.shownRange()->xmax, 7200.0);

    ASSERT_EQ(model.edgeList().size(), 43u);
    ASSERT_TRUE(model.read().done);
    EXPECT_EQ(model.edgeList().size(), 43u);
    EXPECT_EQ(model.edgeList()[kFe], "Fe K-edge");
}

TEST_F(ConvXafs, FeThenCoKeepsTheBoxEnergy) {
    ASSERT_TRUE(model.read().done);
    const auto first = model.confirm("", kFe);
    ASSERT_TRUE(first.done) << first.text;
    EXPECT_EQ(
        first.text,
        "　吸収端は Fe K-edge に設定されました。\r\n　内殻エネルギーは7114eV、寿命幅は1.25eVです。"
        "\r\n　よろしいですか？\r\n　必要なら内殻エネルギーを再修正後、再度\r\n「確認」して下さい。"
        "「クリア」後に再度「読込」むと、\r\n初期設定に復帰できます。\r\n"
        "　問題なければ、「設定完了」して下さい。\r\n");
    EXPECT_EQ(parameters().lifetimeWidth, 1.25);
    EXPECT_EQ(parameters().coreEnergy, 7114.0);
    EXPECT_EQ(fileText(files::kEmissionExcitation), "7214");
    EXPECT_EQ(fileText(files::kParameters), "1.25\t7114\t7020\t7065\t0.1\t1\t7.9e-09\n");
    EXPECT_EQ(model.boxText(), "7114");

    const auto second = model.confirm(model.boxText(), kCo);
    ASSERT_TRUE(second.done);
    EXPECT_NE(second.text.find("Co K-edge"), std::string::npos);
    EXPECT_NE(second.text.find("寿命幅は1.33eV"), std::string::npos);
    EXPECT_EQ(parameters().lifetimeWidth, 1.33);
    EXPECT_EQ(parameters().coreEnergy, 7114.0);
    EXPECT_EQ(fileText(files::kEmissionExcitation), "7214");
}

TEST_F(ConvXafs, ConfirmWithoutEdgeKeepsTheFileValues) {
    CalculationParameters stored;
    stored.lifetimeWidth = 2.345678912;
    stored.coreEnergy = 7001.5;
    ASSERT_TRUE(ws.write(files::kParameters, stored).ok());
    const auto report = model.confirm("", -1);
    ASSERT_TRUE(report.done);
    EXPECT_EQ(report.text.substr(0, report.text.find("\r\n")), "　吸収端は  に設定されました。");
    EXPECT_NE(report.text.find("内殻エネルギーは7001.5eV、寿命幅は2.34568eV"), std::string::npos);
    EXPECT_EQ(parameters().lifetimeWidth, 2.34568);  // the file holds 6 digits, so does the text
    EXPECT_EQ(parameters().coreEnergy, 7001.5);
    EXPECT_EQ(model.boxText(), "7001.5");
}

TEST_F(ConvXafs, TypedTextMustBeOneNumberAndIsShownAsTyped) {
    const auto report = model.confirm("7120.5", kFe);
    EXPECT_NE(report.text.find("内殻エネルギーは7120.5eV"), std::string::npos);
    EXPECT_EQ(parameters().coreEnergy, 7120.5);
    EXPECT_EQ(parameters().lifetimeWidth, 1.25);
    EXPECT_EQ(fileText(files::kEmissionExcitation), "7220.5");
    // Text that is not one number is refused by the box's name; nothing is
    // written.
    for (const char* typed : {"7120.5 eV", "7l14", "edge"}) {
        const auto refused = model.confirm(typed, kFe);
        EXPECT_FALSE(refused.done) << typed;
        EXPECT_NE(
            refused.text.find("ボックス「内殻エネルギー(eV)」の値「" + std::string(typed) + "」"),
            std::string::npos)
            << refused.text;
        EXPECT_EQ(parameters().coreEnergy, 7120.5) << typed;
        EXPECT_EQ(fileText(files::kEmissionExcitation), "7220.5") << typed;
    }
}

struct ShiftCase {
    double secondEnergy;
    bool shifted;
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const ShiftCase& c, std::ostream* out) {
    *out << c.secondEnergy << (c.shifted ? " shifted" : " absolute");
}
class SelectiveShift : public ConvXafs, public ::testing::WithParamInterface<ShiftCase> {};

TEST_P(SelectiveShift, RelativeEnergiesGetTheCoreEnergy) {
    const auto [second, shifted] = GetParam();
    const SelectiveXafsTable org{{second - 0.1, 0.1, 0.2}, {second, 0.5, 1}, {second + 5, 1, 0.5}};
    ASSERT_TRUE(ws.write(files::kSelectiveOrg, org).ok());
    ASSERT_TRUE(model.confirm("", kFe).done);
    SelectiveXafsTable absolute;
    ASSERT_TRUE(ws.read(files::kSelectiveAbsolute, absolute).ok());
    ASSERT_EQ(absolute.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const double expected = org[i].energy + (shifted ? 7114.0 : 0.0);
        EXPECT_TRUE(test::near(absolute[i].energy, expected, 1e-6)) << i;
        EXPECT_EQ(absolute[i].a, org[i].a);
        EXPECT_EQ(absolute[i].b, org[i].b);
    }
}

INSTANTIATE_TEST_SUITE_P(Energies, SelectiveShift,
                         ::testing::Values(ShiftCase{-9.9, true}, ShiftCase{999.9, true},
                                           ShiftCase{1000.0, false}, ShiftCase{7105.0, false}),
                         [](const auto& c) {
                             return "second_" + test::caseName(c.param.secondEnergy) +
                                    (c.param.shifted ? "_shifted" : "_absolute");
                         });

TEST_F(ConvXafs, PickWritesTheEnergyUnderTheClick) {
    // Before any read there is no range: the click is ignored.
    EXPECT_FALSE(model.canPick());
    EXPECT_FALSE(model.pick(0, 0).has_value());
    EXPECT_EQ(parameters().coreEnergy, 7120.0);

    ASSERT_TRUE(model.read().done);
    EXPECT_FALSE(model.pick(97, 0).has_value());
    EXPECT_FALSE(model.pick(0, -101).has_value());
    EXPECT_EQ(parameters().coreEnergy, 7120.0);

    const auto report = model.pick(0, 10);
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text, "　内殻エネルギーが7100eVに修正されました。\r\n「確認」して下さい。");
    EXPECT_EQ(parameters().coreEnergy, 7100.0);
    EXPECT_EQ(parameters().lifetimeWidth, 1.25);
    EXPECT_EQ(model.boxText(), "7100");
    // 7000 + 200 (-96 + 100) / 200 = 7004
    ASSERT_TRUE(model.pick(-96, 100).has_value());
    EXPECT_EQ(model.boxText(), "7004");
    // The box now wins over the table at the next confirm.
    ASSERT_TRUE(model.confirm(model.boxText(), kCo).done);
    EXPECT_EQ(parameters().coreEnergy, 7004.0);
    EXPECT_EQ(parameters().lifetimeWidth, 1.33);
}

// A zoomed panel reports fractional logical X; the energy follows the same
// formula between whole units (range 7000..7200 here: 1 unit = 1 eV; the
// parameter file keeps six significant digits).
TEST_F(ConvXafs, FractionalPickLandsBetweenWholeUnits) {
    ASSERT_TRUE(model.read().done);
    const struct {
        double x;
        double energy;
    } cases[] = {{14.0, 7114.0}, {13.5, 7113.5}, {-95.75, 7004.25}, {95.75, 7195.75}};
    for (const auto& [x, energy] : cases) {
        ASSERT_TRUE(model.pick(x, 0.5).has_value()) << x;
        EXPECT_TRUE(test::near(parameters().coreEnergy, energy, 1e-9)) << x;
    }
    EXPECT_FALSE(model.pick(96.125, 0).has_value());
}

TEST_F(ConvXafs, ClearResetsTheBoxFromTheSelectedEdge) {
    ASSERT_TRUE(model.read().done);
    const auto report = model.clear("7004", kCo);
    EXPECT_EQ(
        report.text,
        "　XAFSスペクトルをクリアし、内殻エネルギーを初期化\r\nしました。再度XAFSを「読込」み、"
        "「吸収端を選択」\r\nして下さい。");
    EXPECT_EQ(model.boxText(), "7709");
    EXPECT_EQ(model.curve().size(), 0u);
    EXPECT_FALSE(model.shownRange().has_value());
    EXPECT_EQ(model.edgeList().size(), 43u);

    model.clear("7004", -1);
    EXPECT_EQ(model.boxText(), "7004");
    model.clear("", kFe);
    EXPECT_EQ(model.boxText(), "");
}

TEST_F(ConvXafs, DoneOnlyTalks) {
    const auto report = model.done();
    EXPECT_TRUE(report.done);
    EXPECT_EQ(report.text,
              "　シミュレーションに必要なXAFS関連のパラメーターが\r\n設定されました。\r\n"
              "　「蛍光X線による設定」に進んで下さい。 ");
}

TEST_F(ConvXafs, RefusalsWriteNothing) {
    const auto before = fileText(files::kParameters);

    ASSERT_TRUE(ws.write(files::kConventionalXafs, PairSpectrum{{7000, -1}, {7100, 0}}).ok());
    auto report = model.read();
    EXPECT_FALSE(report.done);
    EXPECT_NE(
        report.text.find("Conventional_XAFS.DAT の吸収が全点で0以下のため、\r\n規格化できません。"),
        std::string::npos)
        << report.text;
    ASSERT_TRUE(ws.write(files::kConventionalXafs, PairSpectrum{}).ok());
    EXPECT_NE(model.read().text.find("Conventional_XAFS.DAT にデータがありません"),
              std::string::npos);
    ASSERT_TRUE(ws.write(files::kConventionalXafs, PairSpectrum{{7000, 1}}).ok());
    EXPECT_FALSE(model.read().done);
    ASSERT_TRUE(ws.write(files::kConventionalXafs, PairSpectrum{{7000, 1}, {7100, 1}}).ok());
    EXPECT_FALSE(model.read().done);
    EXPECT_FALSE(ws.exists(files::kConvXafsMinMax));
    EXPECT_FALSE(ws.exists(files::kConvXafsMinMaxOrg));
    EXPECT_FALSE(ws.exists(files::kConvXafsNorm));
    EXPECT_EQ(model.edgeList().size(), 0u);

    ASSERT_TRUE(ws.write(files::kSelectiveOrg, SelectiveXafsTable{{-10, 1, 1}}).ok());
    report = model.confirm("", kFe);
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("SelectiveXAFS_for_Reading_Org.DAT のデータが1点しかない"),
              std::string::npos)
        << report.text;
    EXPECT_EQ(fileText(files::kParameters), before);
    EXPECT_FALSE(ws.exists(files::kEmissionExcitation));
    EXPECT_FALSE(ws.exists(files::kSelectiveAbsolute));
    EXPECT_EQ(model.boxText(), "");
}

}  // namespace
}  // namespace zephalo::core::xafs
