#include <cstdio>
#include <string>
#include <vector>

#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "core/xafs/selective_import.h"
#include "core/xafs/xafs_reading_model.h"
#include "test_support.h"

namespace zephalo::core::xafs {
namespace {

// Text of a WIEN2k spectrum: a four-word header line, then one pair a line.
std::string wien2k(const std::vector<PairPoint>& points,
                   const std::string& header = "# ENERGY XAS TOTAL") {
    std::string text = header + "\n";
    char line[64];
    for (const auto& p : points) {
        std::snprintf(line, sizeof line, "%10.4f %14.8f\n", p.energy, p.intensity);
        text += line;
    }
    return text;
}

// n points from `start` in steps of `step`, intensity 1 + i mod 7.
std::vector<PairPoint> ramp(int n, double start, double step) {
    std::vector<PairPoint> points;
    for (int i = 0; i < n; ++i) points.push_back({start + step * i, 1.0 + i % 7});
    return points;
}

class SelectiveImport : public ::testing::Test {
protected:
    test::TempDir dir;
    Workspace ws{dir.path() / "ws"};
    XafsReadingModel model{ws};

    void SetUp() override { ASSERT_TRUE(ws.ensureDirectory().ok()); }

    std::filesystem::path source(const std::string& name, const std::string& text) {
        const auto file = dir.path() / name;
        test::writeFile(file, text);
        return file;
    }
    SelectiveXafsTable imported() {
        SelectiveXafsTable table;
        EXPECT_TRUE(ws.read(files::kSelectiveOrg, table).ok());
        return table;
    }
};

TEST_F(SelectiveImport, OneComponentOnATenthGridKeepsEveryEnergy) {
    // -10.0 ... 30.0 eV, largest intensity 7 (i = 6, 13, ...).
    const auto points = ramp(401, -10.0, 0.1);
    const auto report = model.importOneComponent(source("fe.xspec", wien2k(points)));
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text,
              ws.directoryText() +
                  " に1成分の「選択的\r\nXAFSスペクトル（計算値）」を導入しました。\r\n"
                  "　「OK」で終了し次のステップに進んで下さい。");
    const auto table = imported();
    ASSERT_EQ(table.size(), 401u);
    double amax = 0.0;
    double bmax = 0.0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_TRUE(test::near(table[i].energy, -10.0 + 0.1 * static_cast<double>(i), 0, 1e-9));
        EXPECT_TRUE(test::near(table[i].a, points[i].intensity / 7.0, 1e-6));
        EXPECT_EQ(table[i].a, table[i].b);
        amax = std::max(amax, table[i].a);
        bmax = std::max(bmax, table[i].b);
    }
    EXPECT_EQ(amax, 1.0);
    EXPECT_EQ(bmax, 1.0);
}

TEST_F(SelectiveImport, CoarserSourceKeepsPointsUpToTheGridLength) {
    // 201 points 0.2 eV apart: the grid of 201 tenths reaches 20 eV, which
    // holds source points 0..100.
    const auto points = ramp(201, 0.0, 0.2);
    ASSERT_TRUE(model.importOneComponent(source("c.xspec", wien2k(points))).done);
    const auto table = imported();
    ASSERT_EQ(table.size(), 101u);
    EXPECT_TRUE(test::near(table.front().energy, 0.0, 0, 1e-12));
    EXPECT_TRUE(test::near(table.back().energy, 20.0, 0, 1e-9));
}

TEST(GridResampling, FirstRecordWithinToleranceWinsWithItsOwnEnergy) {
    // Two records near 0.1 eV: 0.1015 comes first in file order.
    const SelectiveXafsTable records{
        {0.0, 1, 1}, {0.1015, 2, 2}, {0.1, 3, 3}, {0.2, 4, 8}, {0.3021, 5, 5}};
    const auto scale = gridScaleOf(records);
    EXPECT_EQ(scale.xmin, 0.0);
    EXPECT_EQ(scale.amax, 5.0);
    EXPECT_EQ(scale.bmax, 8.0);
    const auto out = resampleOnGrid(records, records.size(), scale);
    // 0.3021 misses 0.3 by 0.0021: no point there; t = 0.4 has none either.
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[1].energy, 0.1015);
    EXPECT_TRUE(test::near(out[1].a, 2.0 / 5.0, 1e-15));
    EXPECT_TRUE(test::near(out[1].b, 2.0 / 8.0, 1e-15));
    EXPECT_TRUE(test::near(out[2].b, 1.0, 1e-15));
}

TEST_F(SelectiveImport, GeneralDataNeverTakesItsLastRecord) {
    const auto file =
        source("g.dat", "# energy Y1 Y2\n0.0 1 2\n# middle comment\n0.1 2 4\n0.2 4 8\n");
    const auto report = model.importGeneral(file);
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_NE(report.text.find("XAFSスペクトル（一般データ）」を導入しました。"),
              std::string::npos);
    const auto table = imported();
    ASSERT_EQ(table.size(), 2u);
    // Maxima over all three records: 4 and 8.
    EXPECT_TRUE(test::near(table[1].energy, 0.1, 0, 1e-12));
    EXPECT_TRUE(test::near(table[1].a, 0.5, 1e-12));
    EXPECT_TRUE(test::near(table[1].b, 0.5, 1e-12));
}

TEST(ComponentMerge, ToleranceAndLastPartner) {
    const PairSpectrum first{{0.0, 1}, {1.0, 2}, {5.0, 3}, {5.00005, 4}, {5.1234, 9}};
    const PairSpectrum second{
        {0.0000999, 10}, {1.0001, 20}, {5.00002, 30}, {5.1235, 40}, {6.0, 50}};
    const auto merged = mergeComponents(first, second);
    // 0.0000999 is just under the tolerance; 1.0001 and 5.1235 differ by
    // 0.0001 exactly in decimal; 5.00002 is near two records and takes the
    // later one; 6.0 has no partner.
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].energy, 0.0000999);
    EXPECT_EQ(merged[0].a, 1.0);
    EXPECT_EQ(merged[0].b, 10.0);
    EXPECT_EQ(merged[1].energy, 5.00002);
    EXPECT_EQ(merged[1].a, 4.0);
    EXPECT_EQ(merged[1].b, 30.0);
}

TEST_F(SelectiveImport, TwoComponentsPairAndNormaliseEach) {
    std::vector<PairPoint> up = ramp(41, -2.0, 0.1);
    std::vector<PairPoint> down;
    for (const auto& p : up) down.push_back({p.energy, 3.0 * p.intensity + 0.123456789});
    down.push_back({50.0, 100.0});  // no partner: dropped, and not in the maximum
    ASSERT_TRUE(model.importFirstOfTwo(source("a.xspecup", wien2k(up))).done);
    PairSpectrum kept;
    ASSERT_TRUE(ws.read(files::kSelectiveFirstRaw, kept).ok());
    ASSERT_EQ(kept.size(), up.size());
    EXPECT_EQ(kept[6].intensity, 7.0);  // raw, not normalised

    const auto report = model.importSecondOfTwo(source("a.xspecdn", wien2k(down)));
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_NE(report.text.find("」の2成分目を導入\r\nしました。"), std::string::npos);
    EXPECT_TRUE(ws.exists(files::kSelectiveFirstRaw));
    SelectiveXafsTable merged;
    ASSERT_TRUE(ws.read(files::kSelectiveMergedRaw, merged).ok());
    ASSERT_EQ(merged.size(), 41u);
    EXPECT_EQ(merged[0].b, 3.12346);  // passed through the file at 6 digits
    const auto table = imported();
    ASSERT_EQ(table.size(), 41u);
    const double bmax = 3.0 * 7.0 + 0.123456789;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_TRUE(test::near(table[i].a, up[i].intensity / 7.0, 1e-6));
        EXPECT_TRUE(test::near(table[i].b, down[i].intensity / bmax, 5e-6));
    }
    EXPECT_EQ(table[6].b, 1.0);
}

TEST_F(SelectiveImport, SecondComponentWithoutTheFirstIsRefused) {
    const auto refusal = model.secondStepRefusal();
    ASSERT_TRUE(refusal.has_value());
    EXPECT_FALSE(refusal->done);
    EXPECT_EQ(refusal->text, "エラー！！\r\n　まず上のボタンで1成分目を導入して下さい！");
    const auto report = model.importSecondOfTwo(source("b.xspecdn", wien2k(ramp(5, 0, 0.1))));
    EXPECT_FALSE(report.done);
    EXPECT_EQ(report.text, refusal->text);
    EXPECT_FALSE(ws.exists(files::kSelectiveOrg));
    EXPECT_FALSE(ws.exists(files::kSelectiveMergedRaw));
}

// Bad input: each case is refused with a text naming the file and what was
// found, and no work-space file is written.
struct BadInput {
    const char* name;
    enum Kind { One, First, General } kind;
    std::string text;
    std::vector<std::string> expected;  // pieces of the refusal text
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name;
}

class SelectiveRefusal : public SelectiveImport, public ::testing::WithParamInterface<BadInput> {};

TEST_P(SelectiveRefusal, NothingIsWritten) {
    const BadInput& bad = GetParam();
    const auto file = source(std::string(bad.name) + ".in", bad.text);
    Report report;
    switch (bad.kind) {
        case BadInput::One:
            report = model.importOneComponent(file);
            break;
        case BadInput::First:
            report = model.importFirstOfTwo(file);
            break;
        case BadInput::General:
            report = model.importGeneral(file);
            break;
    }
    EXPECT_FALSE(report.done);
    EXPECT_EQ(report.text.rfind("　", 0), 0u) << report.text;
    for (const auto& piece : bad.expected) {
        EXPECT_NE(report.text.find(piece), std::string::npos) << piece << "\n" << report.text;
    }
    EXPECT_TRUE(std::filesystem::is_empty(ws.directory()));
}

std::string manyPairs(int n) {
    std::string text = "# ENERGY XAS TOTAL\n";
    for (int i = 0; i < n; ++i) text += std::to_string(i * 0.1) + " 1\n";
    return text;
}

std::string manyTriples(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += std::to_string(i * 0.1) + " 1 1\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectiveRefusal,
    ::testing::Values(
        BadInput{"five_word_header",
                 BadInput::One,
                 "# ENERGY XAS TOTAL spin\n0.0 1\n0.1 2\n",
                 {"ヘッダーが4語ではありません", "5語目の「spin」（1行目）", ".in"}},
        BadInput{"three_word_header",
                 BadInput::One,
                 "# ENERGY XAS\n0.0 1\n0.1 2\n",
                 {"ヘッダーが4語ではありません", "4語目の「0.0」（2行目）"}},
        BadInput{"two_word_header",
                 BadInput::First,
                 "# XAS\n0.0 1\n0.1 2\n",
                 {"ヘッダーが4語ではありません", "4語目の「1」（2行目）"}},
        BadInput{"text_among_numbers",
                 BadInput::One,
                 "# ENERGY XAS TOTAL\n0.0 1\n0.1 n/a\n",
                 {"3行目に数値として読めない文字列「n/a」"}},
        BadInput{"half_pair",
                 BadInput::One,
                 "# ENERGY XAS TOTAL\n0.0 1\n0.1\n",
                 {"偶数ではありません", "3行目"}},
        BadInput{"header_only", BadInput::One, "# ENERGY XAS TOTAL\n", {"データがありません"}},
        BadInput{"too_many_pairs", BadInput::One, manyPairs(5001), {"5001点", "上限の5000点"}},
        BadInput{"zero_maximum",
                 BadInput::One,
                 "# ENERGY XAS TOTAL\n0.0 0\n0.1 -2\n",
                 {"zero_maximum.in の強度が全点で0以下のため、規格化できません。"}},
        BadInput{"negative_first",
                 BadInput::First,
                 "# ENERGY XAS TOTAL\n0.0 -1\n0.1 -2\n",
                 {"1成分目のファイル", "negative_first.in の強度が全点で0以下"}},
        BadInput{"general_zero_y2",
                 BadInput::General,
                 "0 1 0\n0.1 2 0\n0.2 3 0\n",
                 {"general_zero_y2.in のY2の強度が全点で0以下"}},
        BadInput{"general_text",
                 BadInput::General,
                 "0 1 1\n0.1 x 1\n",
                 {"2行目に数値として読めない文字列「x」"}},
        BadInput{"general_too_many", BadInput::General, manyTriples(5001), {"上限の5000点"}},
        BadInput{"general_one_record",
                 BadInput::General,
                 "0 1 1\n",
                 {"1点も得られませんでした", "2行以上"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SelectiveImport, ComponentsWithoutCommonEnergiesAreRefused) {
    ASSERT_TRUE(model.importFirstOfTwo(source("a.xspecup", wien2k(ramp(5, 0.0, 0.1)))).done);
    const auto report = model.importSecondOfTwo(source("b.xspecdn", wien2k(ramp(5, 0.05, 0.1))));
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("共通のエネルギー"), std::string::npos) << report.text;
    EXPECT_FALSE(ws.exists(files::kSelectiveOrg));
    EXPECT_FALSE(ws.exists(files::kSelectiveMergedRaw));

    // Common energies, but the second component is 0 on all of them.
    auto zeros = ramp(3, 0.0, 0.1);
    for (auto& p : zeros) p.intensity = 0.0;
    const auto zero = model.importSecondOfTwo(source("z.xspecdn", wien2k(zeros)));
    EXPECT_FALSE(zero.done);
    EXPECT_NE(zero.text.find("共通のエネルギーでの2成分目のファイル " +
                             pathText(dir.path() / "z.xspecdn") + " の強度が全点で0以下"),
              std::string::npos)
        << zero.text;
    EXPECT_FALSE(ws.exists(files::kSelectiveOrg));
}

TEST_F(SelectiveImport, UnreadableFileIsReported) {
    const auto report = model.importOneComponent(dir.path() / "missing.xspec");
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find("missing.xspec を開けませんでした"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(ws.directory()));
}

}  // namespace
}  // namespace zephalo::core::xafs

namespace zephalo::core::xafs {
namespace {

TEST_F(SelectiveImport, WindowsLineEndsAndBlankLinesAreRead) {
    const auto file =
        source("crlf.xspec", "# ENERGY XAS TOTAL\r\n\r\n0.0  2\r\n0.1  4\r\n0.2  1\r\n");
    ASSERT_TRUE(model.importOneComponent(file).done);
    EXPECT_EQ(test::readFile(ws.path(files::kSelectiveOrg)),
              "0\t0.5\t0.5\n0.1\t1\t1\n0.2\t0.25\t0.25\n");
}

TEST(SelectiveImportWithoutWorkspace, EveryImportAsksForTheWorkspaceFirst) {
    test::TempDir dir;
    const Workspace missing(dir.path() / "not-created");
    const XafsReadingModel model(missing);
    const auto file = dir.path() / "one.xspec";
    test::writeFile(file, "# ENERGY XAS TOTAL\n0 1\n0.1 2\n");
    const std::string expected = "　エラー！！\r\n　作業用のディレクトリ " +
                                 missing.directoryText() +
                                 " がありません。\r\n　まず「ワークスペース作成」をして下さい。";
    ASSERT_TRUE(model.workspaceRefusal().has_value());
    EXPECT_EQ(model.secondStepRefusal()->text, expected);
    for (const auto& report : {model.importOneComponent(file), model.importFirstOfTwo(file),
                               model.importSecondOfTwo(file), model.importGeneral(file)}) {
        EXPECT_FALSE(report.done);
        EXPECT_EQ(report.text, expected);
    }
    EXPECT_FALSE(std::filesystem::exists(missing.directory()));
}

}  // namespace
}  // namespace zephalo::core::xafs
