#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/rixs/rixs_compute.h"
#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "core/workspace/workspace_setup.h"
#include "core/xafs/selective_import.h"
#include "core/xafs/xafs_reading_model.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

using test::contains;

// Every file of a folder with its text; the lock file left out.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = pathText(e.path().filename());
        if (name != "ZEPHALO.lock" && name != "ZEPHALO.history")
            files[name] = test::readFile(e.path());
    }
    return files;
}

// --- Reading: kinds of file, size, encodings --------------------------------------

class Reading : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path file(const std::string& name, const std::string& text) const {
        test::writeFile(dir / name, text);
        return dir / name;
    }
};

TEST_F(Reading, OnlyRegularFilesAreReadAndNothingBlocks) {
    struct Case {
        std::filesystem::path path;
        std::string expected;
    };
#ifdef _WIN32
    const Case devices[] = {{"NUL", "　NUL は通常のファイルではない"}};
#else
    const auto fifo = dir / "pipe.DAT";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Case devices[] = {
        {fifo, "　" + pathText(fifo) + " は通常のファイルではない"},  // no writer: would block
        {"/dev/zero", "　/dev/zero は通常のファイルではない"},
    };
#endif
    std::vector<Case> cases(std::begin(devices), std::end(devices));
    cases.insert(cases.end(),
                 {
                     {dir.path(), "　" + pathText(dir.path()) + " はフォルダーなので"},
                     {dir / "missing.DAT",
                      "　ファイル " + pathText(dir / "missing.DAT") + " を開けませんでした。"},
                 });
    for (const auto& c : cases) {
        std::string text;
        const Status status = readTextFile(c.path, text);
        EXPECT_FALSE(status) << c.path;
        EXPECT_TRUE(status.error().starts_with(c.expected)) << status.error();
        PairSpectrum points;
        EXPECT_FALSE(readPairFile(c.path, points)) << c.path;
    }
}

TEST_F(Reading, AFileAboveTheLimitIsRefusedWithItsSize) {
    const std::string atLimit(kMaxFileBytes, '\n');
    std::string text;
    EXPECT_TRUE(readTextFile(file("limit.DAT", atLimit), text));
    EXPECT_EQ(text.size(), kMaxFileBytes);

    const auto large = file("large.DAT", atLimit + "7");
    const Status status = readTextFile(large, text);
    ASSERT_FALSE(status);
    EXPECT_TRUE(contains(status.error(), std::to_string(kMaxFileBytes + 1) + "バイト"))
        << status.error();
    EXPECT_TRUE(contains(status.error(), pathText(large)));

#ifdef __linux__
    // A file whose reported size is 0 is still read whole.
    ASSERT_TRUE(readTextFile("/proc/self/status", text));
    EXPECT_TRUE(text.starts_with("Name:")) << text;
#endif
}

TEST_F(Reading, LineEndsOfEveryKindAndAByteOrderMark) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<PairPoint> points;  // empty: refused
        std::string refusal;            // part of the refusal
    };
    const Case cases[] = {
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "7020.0 1\n7021 2\n",
         {{7020, 1}, {7021, 2}},
         ""},
        {"CR only", "7020 1\r7021 2\r", {{7020, 1}, {7021, 2}}, ""},
        {"CR only, comment", "# header\r7020 1\r# more\r7021 2", {{7020, 1}, {7021, 2}}, ""},
        {"CR only, line number", "7020 1\r7021 2\rx 3\r", {}, "3行目に数値として読めない"},
        {"CR LF is one line end", "7020 1\r\n7021 2\r\nx 3\r\n", {}, "3行目に数値として読めない"},
        {"mixed", "7020 1\n7021 2\r7022 3\r\n7023 x\n", {}, "4行目に数値として読めない"},
        {"mark in the middle",
         "7020 1\n\xEF\xBB\xBF"
         "7021 2\n",
         {},
         "「\\xef\\xbb\\xbf7021」"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PairSpectrum points;
        const Status status = readPairFile(file("pairs.DAT", c.text), points);
        if (c.points.empty()) {
            ASSERT_FALSE(status);
            EXPECT_TRUE(contains(status.error(), c.refusal)) << status.error();
            continue;
        }
        ASSERT_TRUE(status) << status.error();
        ASSERT_EQ(points.size(), c.points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_TRUE(test::near(points[i].energy, c.points[i].energy, 0));
            EXPECT_TRUE(test::near(points[i].intensity, c.points[i].intensity, 0));
        }
    }
}

TEST(EchoedToken, BytesThatAreNotPrintableUtf8AreEscaped) {
    struct Case {
        std::string token;
        std::string shown;
    };
    const Case cases[] = {
        {"7020.0x", "7020.0x"},
        {std::string("1\0"
                     "2",
                     3),
         "1\\x002"},
        {"\xFF\xFE"
         "7",
         "\\xff\\xfe7"},
        {"数値", "数値"},
        {"\xE6\x95", "\\xe6\\x95"},           // a character cut short
        {"\xC0\xAF", "\\xc0\\xaf"},           // overlong
        {"\xED\xA0\x80", "\\xed\\xa0\\x80"},  // surrogate
        {"a\tb\x7F", "a\\x09b\\x7f"},
        {std::string(45, '9'), std::string(40, '9') + "..."},
        {std::string(41, '\0'),
         [] {
             std::string s;
             for (int i = 0; i < 40; ++i) s += "\\x00";
             return s + "...";
         }()},
    };
    for (const auto& c : cases) EXPECT_EQ(echoedToken(c.token), c.shown);
}

// Path names in messages are escaped as file contents are: a name with bytes
// of another encoding or terminal control characters (ESC, BEL) gives a
// message of printable UTF-8 only, whole.
TEST_F(Reading, PathNamesInMessagesAreEscaped) {
    struct Case {
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"red\x1b[31m.DAT", "red\\x1b[31m.DAT"},
        {"bell\x07.DAT", "bell\\x07.DAT"},
        {"latin1-\xe9t\xe9.DAT", "latin1-\\xe9t\\xe9.DAT"},
        {"測定" + std::string(45, 'x') + ".DAT", "測定" + std::string(45, 'x') + ".DAT"},
        // A lone surrogate (a Windows name may hold one) and a character
        // outside the basic plane.
        {"lone-\xed\xa0\x80.DAT", "lone-\\xed\\xa0\\x80.DAT"},
        {"far-\xf0\x9f\x93\x88.DAT", "far-\xf0\x9f\x93\x88.DAT"},
        {"escaped-\xed\xb3\xa9.DAT", "escaped-\\xed\\xb3\\xa9.DAT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        // Any text names a path and comes back from it byte for byte.
        EXPECT_EQ(textFromPath(pathFromText(c.name)), c.name);
        const auto missing = dir.path() / pathFromText(c.name);
        PairSpectrum points;
        const Status refused = readPairFile(missing, points);
        ASSERT_FALSE(refused);
        EXPECT_NE(refused.error().find(c.shown), std::string::npos) << refused.error();
        // Escaping again changes nothing: only printable UTF-8 is left.
        EXPECT_EQ(escapedText(refused.error()), refused.error());
        // The same for a work space of that name.
        const Workspace space{missing};
        const Report report = importRixsExperiment(space, file("pairs.DAT", "7000 1\n"));
        EXPECT_NE(report.text.find(c.shown), std::string::npos) << report.text;
    }
}

TEST_F(Reading, Wien2kFilesWithCrOnlyLineEnds) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t points;  // 0: refused
        std::string refusal;
    };
    const Case cases[] = {
        {"CR only", "# ENERGY XAS TOTAL\r-1.0 0.5\r-0.9 0.6\r", 2, ""},
        {"CR LF", "# ENERGY XAS TOTAL\r\n-1.0 0.5\r\n-0.9 0.6\r\n", 2, ""},
        {"CR only, short header", "# ENERGY XAS\r-1.0 0.5\r-0.9 0.6\r", 0,
         "4語目の「-1.0」（2行目）"},
        {"CR only, bad word", "# ENERGY XAS TOTAL\r-1.0 0.5\r-0.9 \x01\r", 0,
         "3行目に数値として読めない文字列「\\x01」"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PairSpectrum points;
        std::vector<int> lines;
        const Status status = xafs::readWien2kFile(file("a.xspec", c.text), points, &lines);
        if (c.points == 0) {
            ASSERT_FALSE(status);
            EXPECT_TRUE(contains(status.error(), c.refusal)) << status.error();
            continue;
        }
        ASSERT_TRUE(status) << status.error();
        EXPECT_EQ(points.size(), c.points);
        EXPECT_EQ(lines, (std::vector<int>{2, 3}));
    }
}

// --- Infinities through the operations ------------------------------------------

class Infinities : public ::testing::Test {
protected:
    test::TempDir dir;
    Workspace ws{dir.path() / "ws"};

    void SetUp() override {
        ASSERT_TRUE(runStep(ws, [&] { return createWorkspace(ws); }).done);
    }
    std::filesystem::path source(const std::string& name, const std::string& text) const {
        test::writeFile(dir / name, text);
        return dir / name;
    }
};

TEST_F(Infinities, ImportsRefuseAValueThatBecomesInfiniteNamingFileAndLine) {
    using Import = std::function<Report(const std::filesystem::path&)>;
    const xafs::XafsReadingModel model(ws);
    struct Case {
        const char* name;
        std::string text;
        Import import;
        std::string quantity;
        int line;
    };
    const Case cases[] = {
        {"rixs: 20000 x intensity", "# measured\n7020 1\n7021 1e305\n",
         [&](const auto& f) { return importRixsExperiment(ws, f); },
         "強度の20000倍（EXP_MinMax.DAT）", 3},
        {"selective: normalised", "# ENERGY XAS TOTAL\n-1.0 0.5\n-0.9 -1e308\n-0.8 0.25\n",
         [&](const auto& f) { return model.importOneComponent(f); }, "規格化した成分Aの強度", 3},
        {"general: normalised Y2", "7000 1 0.5\n7000.1 1 -1e308\n7000.2 1 0.5\n",
         [&](const auto& f) { return model.importGeneral(f); }, "規格化した成分Bの強度", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = snapshot(ws.directory());
        const auto input = source("input.DAT", c.text);
        const Report report = runStep(ws, [&] { return c.import(input); });
        EXPECT_FALSE(report.done);
        EXPECT_TRUE(contains(
            report.text, "ファイル " + pathText(input) + " の" + std::to_string(c.line) + "行目"))
            << report.text;
        EXPECT_TRUE(contains(report.text, c.quantity)) << report.text;
        EXPECT_TRUE(report.text.ends_with(kWorkspaceUnchanged)) << report.text;
        EXPECT_EQ(snapshot(ws.directory()), before);
    }
}

TEST_F(Infinities, SecondComponentRefusalNamesTheFileOfTheComponent) {
    const xafs::XafsReadingModel model(ws);
    const auto first = source("up.xspec", "# ENERGY XAS TOTAL\n-1.0 0.5\n-0.9 0.25\n");
    ASSERT_TRUE(runStep(ws, [&] { return model.importFirstOfTwo(first); }).done);
    const auto before = snapshot(ws.directory());
    const auto second = source("dn.xspec", "# ENERGY XAS TOTAL\n-1.0 0.5\n-0.9 -1e308\n");
    const Report report = runStep(ws, [&] { return model.importSecondOfTwo(second); });
    EXPECT_FALSE(report.done);
    EXPECT_TRUE(contains(report.text, pathText(second) + " の3行目")) << report.text;
    EXPECT_TRUE(contains(report.text, "規格化した成分Bの強度")) << report.text;
    // The merged pairs it had staged are discarded too.
    EXPECT_EQ(snapshot(ws.directory()), before);
}

TEST_F(Infinities, ComputeRefusesAResultThatIsNotFiniteAndStoresNothing) {
    struct Case {
        const char* name;
        std::string scaling;
        std::string selective;  // SelectiveXAFS_for_RIXS.DAT
    };
    std::string ordinary;
    for (int k = 0; k < 101; ++k) ordinary += formatRecord({7110 + 0.1 * k, 0.5, 0.4});
    const Case cases[] = {
        {"scaling factor", "1e308", ordinary},
        {"selective XAFS", "7.9e-9", ordinary + formatRecord({7120.1, 1e308, 0.4})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeFile(ws.path(files::kSelectiveForRixs), c.selective);
        test::writeFile(ws.path(files::kConvXafsNorm), "7100\t0.1\n7200\t1\n");
        const auto before = snapshot(ws.directory());
        const Report report =
            runStep(ws, [&] { return rixs::computeRixs(ws, "7120", c.scaling, "1"); });
        EXPECT_FALSE(report.done) << report.text;
        EXPECT_TRUE(contains(report.text, "有限の数値になりません")) << report.text;
        EXPECT_TRUE(contains(report.text, pathText(ws.path(files::kSelectiveForRixs))))
            << report.text;
        EXPECT_EQ(snapshot(ws.directory()), before);
    }
}

}  // namespace
}  // namespace zephalo::core
