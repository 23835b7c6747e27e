#include "workspace/step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <future>
#include <limits>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "workspace/commit.h"
#include "workspace/file_names.h"
#include "workspace/os_files.h"
#include "workspace/workspace.h"

namespace zephalo::core {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// Names in the folder, the lock file left out.
std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = pathText(e.path().filename());
        if (name != kLockFileName) names.insert(name);
    }
    return names;
}

class StepTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Workspace ws{dir.path()};

    std::string onDisk(std::string_view name) const { return test::readFile(ws.path(name)); }
    void put(std::string_view name, const std::string& text) const {
        test::writeFile(ws.path(name), text);
    }
};

TEST_F(StepTest, FilesOfAStepReachTheDiskOnlyWhenItEnds) {
    put("A.DAT", "old a\n");
    put("B.DAT", "old b\n");
    const Report report = runStep(ws, [&] {
        EXPECT_TRUE(ws.writeText("A.DAT", "new a\n"));
        EXPECT_TRUE(ws.write("B.DAT", PairSpectrum{{7000, 1}}));
        EXPECT_TRUE(ws.write("C.DAT", 2.5));
        // Staged, not written: the disk still holds the old texts.
        EXPECT_EQ(onDisk("A.DAT"), "old a\n");
        EXPECT_EQ(onDisk("B.DAT"), "old b\n");
        EXPECT_FALSE(std::filesystem::exists(ws.path("C.DAT")));
        return Report::success("done");
    });
    EXPECT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text, "done");
    EXPECT_EQ(onDisk("A.DAT"), "new a\n");
    EXPECT_EQ(onDisk("B.DAT"), "7000\t1\n");
    EXPECT_EQ(onDisk("C.DAT"), "2.5\n");
    // No temporary and no journal stays behind.
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"A.DAT", "B.DAT", "C.DAT"}));
}

TEST_F(StepTest, ARefusedWriteDiscardsEveryFileOfTheStep) {
    struct Case {
        const char* name;
        std::function<Status(const Workspace&)> badWrite;
        std::string named;  // quantity the refusal names
    };
    const Case cases[] = {
        {"pair",
         [](const Workspace& w) {
             return w.write("X.DAT", PairSpectrum{{1, 2}, {3, kInf}});
         },
         "2行目の強度"},
        {"xafs",
         [](const Workspace& w) {
             return w.write("X.DAT", SelectiveXafsTable{{1, 2, kNan}});
         },
         "1行目の成分B"},
        {"quad",
         [](const Workspace& w) {
             return w.write("X.DAT", QuadSpectrum{{-kInf, 1, 1, 1}});
         },
         "1行目のエネルギー"},
        {"minmax",
         [](const Workspace& w) {
             return w.write("X.DAT", MinMaxRecord{0, 1, 0, kInf});
         },
         "1行目のYの最大値"},
        {"parameters",
         [](const Workspace& w) {
             CalculationParameters p;
             p.scalingFactor = kInf;
             return w.write("X.DAT", p);
         },
         "1行目のスケーリング因子"},
        {"final state",
         [](const Workspace& w) {
             FinalStateFunction f;
             f.amplitude[2] = kNan;
             return w.write("X.DAT", f);
         },
         "1行目の振幅C"},
        {"value", [](const Workspace& w) { return w.write("X.DAT", -kInf); }, "1行目の値"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put("A.DAT", "old a\n");
        const Report report = runStep(ws, [&] {
            EXPECT_TRUE(ws.writeText("A.DAT", "new a\n"));
            const Status refused = c.badWrite(ws);
            EXPECT_FALSE(refused);
            // The operation goes on and even claims success: the step still refuses.
            EXPECT_TRUE(ws.writeText("B.DAT", "new b\n"));
            return Report::success("claimed");
        });
        EXPECT_FALSE(report.done);
        EXPECT_NE(report.text.find(pathText(ws.path("X.DAT"))), std::string::npos) << report.text;
        EXPECT_NE(report.text.find(c.named), std::string::npos) << report.text;
        EXPECT_TRUE(report.text.ends_with(kWorkspaceUnchanged)) << report.text;
        EXPECT_EQ(onDisk("A.DAT"), "old a\n");
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"A.DAT"});
    }
}

TEST_F(StepTest, OutsideAStepAWriteOfAnInfinityIsRefusedAndNothingWritten) {
    const Status status = ws.write("X.DAT", PairSpectrum{{kNan, 1}});
    EXPECT_FALSE(status);
    EXPECT_NE(status.error().find("1行目のエネルギー"), std::string::npos) << status.error();
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(StepTest, ARefusingOperationStillCommitsWhatItWrote) {
    const Report report = runStep(ws, [&] {
        EXPECT_TRUE(ws.writeText("A.DAT", "kept\n"));
        return Report::refused("no");
    });
    EXPECT_FALSE(report.done);
    EXPECT_EQ(report.text, "no");
    EXPECT_EQ(onDisk("A.DAT"), "kept\n");
}

TEST_F(StepTest, AFileWrittenTwiceIsWrittenOnceWithTheLastText) {
    const Report report = runStep(ws, [&] {
        EXPECT_TRUE(ws.writeText("A.DAT", "first\n"));
        EXPECT_TRUE(ws.writeText("A.DAT", "second\n"));
        return Report::success("");
    });
    EXPECT_TRUE(report.done);
    EXPECT_EQ(onDisk("A.DAT"), "second\n");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"A.DAT"});
}

TEST_F(StepTest, ReadsAndCopiesOfTheWorkspaceSeeTheStagedTexts) {
    put(files::kParameters, "1\t2\t3\t4\t5\t6\t7\n");
    const Workspace copy = ws;  // as a model holds it
    runStep(ws, [&] {
        EXPECT_FALSE(copy.exists("NEW.DAT"));
        EXPECT_TRUE(copy.write("NEW.DAT", QuadSpectrum{{7000, 4, 3, 1}, {7001, 2, 1, 1}}));
        EXPECT_TRUE(ws.exists("NEW.DAT"));
        QuadSpectrum quad;
        EXPECT_TRUE(ws.read("NEW.DAT", quad));
        EXPECT_EQ(quad.size(), 2u);
        EXPECT_TRUE(test::near(quad[1].total, 2.0, 0));

        CalculationParameters p;
        EXPECT_TRUE(ws.readParameters(p));
        EXPECT_TRUE(test::near(p.scalingFactor, 7.0, 0));
        p.scalingFactor = 9.5;
        EXPECT_TRUE(copy.write(files::kParameters, p));
        CalculationParameters again;
        EXPECT_TRUE(ws.readParameters(again));
        EXPECT_TRUE(test::near(again.scalingFactor, 9.5, 0));

        FinalStateFunction f;
        f.position[3] = 7061.5;
        EXPECT_TRUE(copy.write("F.DAT", f));
        FinalStateFunction g;
        g.position[3] = 0;
        EXPECT_TRUE(ws.read("F.DAT", g));
        EXPECT_TRUE(test::near(g.position[3], 7061.5, 0));
        return Report::success("");
    });
    CalculationParameters stored;
    EXPECT_TRUE(ws.readParameters(stored));
    EXPECT_TRUE(test::near(stored.scalingFactor, 9.5, 0));
}

TEST_F(StepTest, ALockedWorkspaceRefusesAfterTheWaitWithoutRunningTheOperation) {
    os::FileLock other;  // another process's step, as far as flock can tell
    bool opened = false;
    ASSERT_TRUE(other.tryLock(ws.path(kLockFileName), opened));
    bool ran = false;
    const Report refused = runStep(
        ws,
        [&] {
            ran = true;
            return ws.writeText("A.DAT", "x\n") ? Report::success("") : Report::refused("");
        },
        std::chrono::milliseconds(100));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(refused.done);
    EXPECT_NE(refused.text.find("ほかのZEPHALO"), std::string::npos) << refused.text;
    EXPECT_NE(refused.text.find(ws.directoryText()), std::string::npos) << refused.text;
    EXPECT_TRUE(refused.text.ends_with(kWorkspaceUnchanged));
    EXPECT_FALSE(std::filesystem::exists(ws.path("A.DAT")));

    other.release();
    const Report later = runStep(
        ws,
        [&] { return ws.writeText("A.DAT", "x\n") ? Report::success("ok") : Report::refused(""); },
        std::chrono::milliseconds(100));
    EXPECT_TRUE(later.done) << later.text;
    EXPECT_EQ(onDisk("A.DAT"), "x\n");
}

TEST_F(StepTest, AWaitingStepRunsOnceTheFirstEndsAndSeesItsFiles) {
    // Two work-space objects, as two processes have them.
    const Workspace first{dir.path()};
    std::promise<void> inside;
    std::promise<void> finish;
    std::thread holder([&] {
        runStep(first, [&] {
            EXPECT_TRUE(first.writeText("A.DAT", "from the first\n"));
            inside.set_value();
            finish.get_future().wait();
            return Report::success("");
        });
    });
    inside.get_future().wait();
    std::string seen;
    std::thread waiter([&] {
        const Report report = runStep(ws, [&] {
            seen = test::readFile(ws.path("A.DAT"));
            return Report::success("");
        });
        EXPECT_TRUE(report.done) << report.text;
    });
    finish.set_value();
    holder.join();
    waiter.join();
    EXPECT_EQ(seen, "from the first\n");
}

TEST_F(StepTest, BeforeTheFolderExistsTheStepRunsWithoutALock) {
    const Workspace fresh{dir.path() / "new"};
    const Report report = runStep(fresh, [&] {
        if (auto status = fresh.ensureDirectory(); !status) return Report::refused(status);
        return Report::from(fresh.writeText("A.DAT", "seed\n"), "created");
    });
    EXPECT_TRUE(report.done) << report.text;
    EXPECT_EQ(test::readFile(fresh.path("A.DAT")), "seed\n");
}

// --- Recovery ------------------------------------------------------------------

struct RecoveryCase {
    const char* name;
    std::string journal;  // "" = no journal
    std::vector<std::pair<std::string, std::string>> temporaries;
    std::string expectedA;
    std::string expectedB;
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const RecoveryCase& c, std::ostream* out) {
    *out << c.name;
}

class Recovery : public StepTest, public ::testing::WithParamInterface<RecoveryCase> {};

TEST_P(Recovery, TheNextStepCompletesOrDiscardsAndLeavesNoTemporary) {
    const auto& c = GetParam();
    put("A.DAT", "old a\n");
    put("B.DAT", "old b\n");
    put("notes.tmp", "a user's file\n");
    if (!c.journal.empty()) put(kJournalName, c.journal);
    for (const auto& [name, text] : c.temporaries) put(name, text);

    const Report report = runStep(ws, [] { return Report::success(""); });
    EXPECT_TRUE(report.done) << report.text;
    EXPECT_EQ(onDisk("A.DAT"), c.expectedA);
    EXPECT_EQ(onDisk("B.DAT"), c.expectedB);
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"A.DAT", "B.DAT", "notes.tmp"}));
}

INSTANTIATE_TEST_SUITE_P(
    Journal, Recovery,
    ::testing::Values(RecoveryCase{"complete",
                                   "A.DAT.11-0.tmp\tA.DAT\nB.DAT.11-1.tmp\tB.DAT\nend\n",
                                   {{"A.DAT.11-0.tmp", "new a\n"}, {"B.DAT.11-1.tmp", "new b\n"}},
                                   "new a\n",
                                   "new b\n"},
                      RecoveryCase{"complete, one rename already done",
                                   "A.DAT.11-0.tmp\tA.DAT\nB.DAT.11-1.tmp\tB.DAT\nend\n",
                                   {{"B.DAT.11-1.tmp", "new b\n"}},
                                   "old a\n",
                                   "new b\n"},
                      RecoveryCase{"incomplete",
                                   "A.DAT.11-0.tmp\tA.DAT\nB.DAT.11-1.tmp\tB.D",
                                   {{"A.DAT.11-0.tmp", "new a\n"}, {"B.DAT.11-1.tmp", "new b\n"}},
                                   "old a\n",
                                   "old b\n"},
                      RecoveryCase{"no end marker",
                                   "A.DAT.11-0.tmp\tA.DAT\nB.DAT.11-1.tmp\tB.DAT\n",
                                   {{"A.DAT.11-0.tmp", "new a\n"}, {"B.DAT.11-1.tmp", "new b\n"}},
                                   "old a\n",
                                   "old b\n"},
                      RecoveryCase{"a name outside the folder",
                                   "A.DAT.11-0.tmp\t../A.DAT\nend\n",
                                   {{"A.DAT.11-0.tmp", "new a\n"}},
                                   "old a\n",
                                   "old b\n"},
                      RecoveryCase{
                          "stray temporaries only",
                          "",
                          {{"A.DAT.11-0.tmp", "half"}, {"ZEPHALO.journal.11-2.tmp", "A.DAT"}},
                          "old a\n",
                          "old b\n"}),
    [](const auto& param) {
        std::string name = param.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(TemporaryNames, OnlyTheStorageLayersOwnNamesCount) {
    struct Case {
        const char* name;
        bool temporary;
    };
    const Case cases[] = {
        {"RIXSEXP.DAT.123-4.tmp", true},
        {"ZEPHALO.journal.1-0.tmp", true},
        {"RIXSEXP.DAT", false},
        {"notes.tmp", false},
        {"a.12-.tmp", false},
        {"a.x1-2.tmp", false},
        {".1-2.tmp", false},
        {"RIXSEXP.DAT.part", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isTemporaryName(c.name), c.temporary) << c.name;
}

}  // namespace
}  // namespace zephalo::core
