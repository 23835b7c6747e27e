#include "core/workspace/step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <future>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/workspace/commit.h"
#include "core/workspace/file_names.h"
#include "core/workspace/history.h"
#include "core/workspace/os_files.h"
#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// Names in the folder, the lock file left out.
std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = pathText(e.path().filename());
        if (name != kLockFileName && name != kHistoryFolderName) names.insert(name);
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

// A refusal is all or nothing, except for the files an operation writes
// first by design, which it keeps and names.
TEST_F(StepTest, ARefusingOperationKeepsOnlyWhatItWritesFirstAndSaysSo) {
    put("A.DAT", "old a\n");
    const Report discarded = runStep(ws, [&] {
        EXPECT_TRUE(ws.writeText("A.DAT", "new a\n"));
        EXPECT_TRUE(ws.writeText("B.DAT", "new b\n"));
        return Report::refusedUnchanged(Status::failure("no"));
    });
    EXPECT_FALSE(discarded.done);
    EXPECT_TRUE(discarded.text.ends_with(kWorkspaceUnchanged));
    EXPECT_EQ(onDisk("A.DAT"), "old a\n");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"A.DAT"});

    const Report kept = runStep(ws, [&] {
        EXPECT_TRUE(ws.writeText("A.DAT", "new a\n"));
        EXPECT_TRUE(ws.writeText("BACKUP.DAT", "backup\n"));
        ws.keepIfRefused("BACKUP.DAT");
        return Report::refusedUnchanged(Status::failure("no"));
    });
    EXPECT_FALSE(kept.done);
    EXPECT_FALSE(kept.text.ends_with(kWorkspaceUnchanged)) << kept.text;
    EXPECT_NE(kept.text.find("BACKUP.DAT"), std::string::npos) << kept.text;
    EXPECT_EQ(onDisk("A.DAT"), "old a\n");
    EXPECT_EQ(onDisk("BACKUP.DAT"), "backup\n");
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

// The operation that makes the folder runs again under the lock, on what a
// step that came in meanwhile wrote: nothing it writes is lost to that step.
TEST_F(StepTest, AStepThatMakesTheFolderRunsAgainUnderTheLock) {
    const Workspace fresh{dir.path() / "new"};
    int runs = 0;
    bool sawOther = false;
    const Report report = runStep(fresh, [&] {
        ++runs;
        if (auto status = fresh.ensureDirectory(); !status) return Report::refused(status);
        if (runs == 1) {
            // Another process's step, between the folder and the lock.
            const Workspace other{fresh.directory()};
            std::thread([&] {
                runStep(other, [&] { return Report::from(other.writeText("O.DAT", "o\n"), ""); });
            }).join();
        }
        sawOther = fresh.exists("O.DAT");
        return Report::from(fresh.writeText("A.DAT", "seed\n"), "created");
    });
    EXPECT_TRUE(report.done) << report.text;
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(sawOther);
    EXPECT_EQ(test::readFile(fresh.path("A.DAT")), "seed\n");
    EXPECT_EQ(test::readFile(fresh.path("O.DAT")), "o\n");
}

// The folder is held from the lock to the commit: moved away in the middle of
// a step, it still receives the step's files, and a new folder of the old
// name receives nothing; where the system forbids moving a folder held open
// (Windows), the move is refused until the step ends.
TEST_F(StepTest, AFolderMovedDuringTheStepStillReceivesItsFiles) {
    const Workspace space{dir.path() / "ws"};
    ASSERT_TRUE(space.ensureDirectory());
    std::error_code refused;
    const Report report = runStep(space, [&] {
        std::filesystem::rename(dir.path() / "ws", dir.path() / "moved", refused);
        if (!refused) std::filesystem::create_directory(dir.path() / "ws");
        return Report::from(space.writeText("A.DAT", "a\n"), "done");
    });
    EXPECT_TRUE(report.done) << report.text;
    if (refused) {
        EXPECT_EQ(test::readFile(dir.path() / "ws" / "A.DAT"), "a\n");
        std::filesystem::rename(dir.path() / "ws", dir.path() / "moved");
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "moved" / "A.DAT"));
        return;
    }
    EXPECT_EQ(test::readFile(dir.path() / "moved" / "A.DAT"), "a\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "ws" / "A.DAT"));
}

// A rename that fails in the middle of a commit (here a folder where a file
// goes) takes back the renames done: every file as it was, and a refusal
// naming the file and why.
TEST_F(StepTest, ARenameFailingMidCommitTakesTheCommitBack) {
    put("A.DAT", "old a\n");
    put("C.DAT", "old c\n");
    std::filesystem::create_directory(ws.path("B.DAT"));
    const Report report = runStep(ws, [&] {
        EXPECT_TRUE(ws.writeText("A.DAT", "new a\n"));
        EXPECT_TRUE(ws.writeText("B.DAT", "new b\n"));
        EXPECT_TRUE(ws.writeText("C.DAT", "new c\n"));
        return Report::success("done");
    });
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(pathText(ws.path("B.DAT"))), std::string::npos) << report.text;
    EXPECT_NE(report.text.find(texts::kReasonFolder), std::string::npos) << report.text;
    EXPECT_TRUE(report.text.ends_with(kWorkspaceUnchanged)) << report.text;
    EXPECT_EQ(onDisk("A.DAT"), "old a\n");
    EXPECT_EQ(onDisk("C.DAT"), "old c\n");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"A.DAT", "B.DAT", "C.DAT"}));
}

// --- Links -------------------------------------------------------------------------

// No link in the work space is followed: a link is refused, naming it, and
// nothing is created or read outside the folder.
TEST_F(StepTest, LinksInTheWorkspaceAreNeverFollowed) {
    test::TempDir outside;
    std::error_code made;
    std::filesystem::create_symlink(outside.path(), dir.path() / "probe", made);
    if (made) GTEST_SKIP() << "no symbolic links here: " << made.message();
    test::writeFile(outside / "secret.txt", "secret-token 1 2\n");
    struct Case {
        const char* name;
        std::string link;    // name in the work space
        std::string target;  // outside
        std::string refusal;
    };
    const Case cases[] = {
        {"lock", std::string(kLockFileName), "lock-made-outside",
         texts::linkText(pathText(ws.path(kLockFileName)))},
        {"file", "A.DAT", "secret.txt", texts::linkText(pathText(ws.path("A.DAT")))},
        {"history", std::string(kHistoryFolderName), ".", "ZEPHALO.history"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
        std::filesystem::create_symlink(outside / c.target, ws.path(c.link));
        const Report report = runStep(ws, [&] {
            PairSpectrum points;
            if (auto status = ws.read("A.DAT", points); !status) return Report::refused(status);
            return Report::from(ws.writeText("B.DAT", "b\n"), "done");
        });
        EXPECT_FALSE(report.done);
        EXPECT_NE(report.text.find(c.refusal), std::string::npos) << report.text;
        EXPECT_EQ(report.text.find("secret-token"), std::string::npos) << report.text;
        EXPECT_FALSE(std::filesystem::exists(ws.path("B.DAT")));
        EXPECT_FALSE(std::filesystem::exists(outside / "lock-made-outside"));
        EXPECT_FALSE(std::filesystem::exists(outside / "B.DAT"));
        EXPECT_EQ(test::readFile(outside / "secret.txt"), "secret-token 1 2\n");
    }
    // A link written over is replaced by the file; its target stays.
    std::filesystem::remove_all(dir.path());
    std::filesystem::create_directory(dir.path());
    std::filesystem::create_symlink(outside / "secret.txt", ws.path("A.DAT"));
    EXPECT_TRUE(runStep(ws, [&] { return Report::from(ws.writeText("A.DAT", "a\n"), ""); }).done);
    EXPECT_FALSE(std::filesystem::is_symlink(ws.path("A.DAT")));
    EXPECT_EQ(onDisk("A.DAT"), "a\n");
    EXPECT_EQ(test::readFile(outside / "secret.txt"), "secret-token 1 2\n");
}

// Saving beside a user's file: the temporaries that a killed save of the same
// name left go at the next save there; others' files and running processes'
// temporaries stay.
TEST(SavedFiles, ADeadSavesTemporaryGoesAtTheNextSave) {
    test::TempDir folder;
    const std::string live = "saved.DAT." + std::to_string(os::processId()) + "-7.tmp";
    const std::vector<std::string> kept{live, "other.DAT.999999999-0.tmp", "saved.DAT.x-0.tmp"};
    test::writeFile(folder / "saved.DAT.999999999-3.tmp", "half");
    for (const auto& name : kept) test::writeFile(folder / name, "keep");
    ASSERT_TRUE(writeTextFileAtomic(folder / "saved.DAT", "whole\n"));
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
        names.insert(e.path().filename().string());
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert("saved.DAT");
    EXPECT_EQ(names, expected);
    EXPECT_EQ(test::readFile(folder / "saved.DAT"), "whole\n");
}

// --- Recovery ------------------------------------------------------------------

struct RecoveryCase {
    const char* name;
    std::string journal;  // "" = no journal
    std::vector<std::pair<std::string, std::string>> temporaries;
    std::string expectedA;
    std::string expectedB;
    std::string note = {};  // what the opener says first
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
    EXPECT_EQ(report.text, c.note);
    EXPECT_EQ(onDisk("A.DAT"), c.expectedA);
    EXPECT_EQ(onDisk("B.DAT"), c.expectedB);
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"A.DAT", "B.DAT", "notes.tmp"}));
}

INSTANTIATE_TEST_SUITE_P(
    Journal, Recovery,
    ::testing::Values(RecoveryCase{"complete",
                                   "A.DAT.11-0.tmp\tA.DAT\t\nB.DAT.11-1.tmp\tB.DAT\t\nend\n",
                                   {{"A.DAT.11-0.tmp", "new a\n"}, {"B.DAT.11-1.tmp", "new b\n"}},
                                   "new a\n",
                                   "new b\n",
                                   texts::recoveredForwardText()},
                      RecoveryCase{"complete, one rename already done",
                                   "A.DAT.11-0.tmp\tA.DAT\nB.DAT.11-1.tmp\tB.DAT\nend\n",
                                   {{"B.DAT.11-1.tmp", "new b\n"}},
                                   "old a\n",
                                   "new b\n",
                                   texts::recoveredForwardText()},
                      RecoveryCase{"being taken back",
                                   "A.DAT.11-0.tmp\tA.DAT\tA.DAT.11-2.tmp\n"
                                   "B.DAT.11-1.tmp\tB.DAT\tB.DAT.11-3.tmp\nend\nback\n",
                                   {{"A.DAT", "new a\n"},
                                    {"A.DAT.11-2.tmp", "old a\n"},
                                    {"B.DAT.11-1.tmp", "new b\n"},
                                    {"B.DAT.11-3.tmp", "old b\n"}},
                                   "old a\n",
                                   "old b\n",
                                   texts::recoveredBackText()},
                      RecoveryCase{"a NUL byte in a name",
                                   std::string("B.DAT\0.1-1.tmp\tA.DAT\t\nend\n", 26),
                                   {},
                                   "old a\n",
                                   "old b\n"},
                      RecoveryCase{"the temporary of another file",
                                   "B.DAT.11-1.tmp\tA.DAT\t\nend\n",
                                   {{"B.DAT.11-1.tmp", "new b\n"}},
                                   "old a\n",
                                   "old b\n"},
                      RecoveryCase{"an absolute name",
                                   "A.DAT.11-0.tmp\t/tmp/A.DAT\t\nend\n",
                                   {{"A.DAT.11-0.tmp", "new a\n"}},
                                   "old a\n",
                                   "old b\n"},
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

namespace zephalo::core {
namespace {

// --- History -----------------------------------------------------------------------

class HistoryTest : public StepTest {
protected:
    // A step that writes `writes` and names itself `title` (its command
    // "cmd title"; none when `command` is false).
    Report step(const std::map<std::string, std::string>& writes, const std::string& title,
                bool command = true) {
        return runStep(ws, [&] {
            ws.describeStep({title, command ? std::vector<std::string>{"cmd", title}
                                            : std::vector<std::string>{}});
            for (const auto& [name, text] : writes) EXPECT_TRUE(ws.writeText(name, text));
            return Report::success("ok");
        });
    }
    // The work-space files with their texts.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        for (const auto& name : namesIn(dir.path())) out[name] = onDisk(name);
        return out;
    }
    std::vector<std::string> titles() const {
        std::vector<HistoryEntry> entries;
        EXPECT_TRUE(readHistory(ws, entries));
        std::vector<std::string> out;
        for (const auto& e : entries) out.push_back(e.description.title + (e.undone ? "*" : ""));
        return out;
    }
};

// Undo takes each step back to the bytes before it (a file it created goes
// again), redo brings the bytes after it; neither goes past the ends, and a
// new step after an undo ends the redo branch.
TEST_F(HistoryTest, UndoAndRedoRestoreEveryStepByteForByte) {
    ASSERT_TRUE(step({{"A.DAT", "a0\n"}, {"B.DAT", "b0\n"}}, "create").done);
    const auto created = files();
    ASSERT_TRUE(step({{"A.DAT", "a1\n"}, {"C.DAT", "c1\n"}, {"B.DAT", "b0\n"}}, "one").done);
    const auto one = files();
    ASSERT_TRUE(step({{"B.DAT", "b2\n"}}, "two").done);
    const auto two = files();
    EXPECT_EQ(titles(), (std::vector<std::string>{"create", "one", "two"}));
    EXPECT_EQ(undoTitle(ws), "two");
    EXPECT_EQ(redoTitle(ws), std::nullopt);

    struct Move {
        bool redo;
        bool done;
        const std::map<std::string, std::string>* files;
    };
    const Move moves[] = {
        {false, true, &one}, {false, true, &created}, {false, false, &created}, {true, true, &one},
        {true, true, &two},  {true, false, &two},     {false, true, &one},
    };
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        SCOPED_TRACE("move " + std::to_string(i));
        const Report report = moves[i].redo ? redoStep(ws) : undoStep(ws);
        EXPECT_EQ(report.done, moves[i].done) << report.text;
        if (!report.done) {
            EXPECT_TRUE(report.text.ends_with(kWorkspaceUnchanged)) << report.text;
        }
        EXPECT_EQ(files(), *moves[i].files);
    }
    EXPECT_EQ(titles(), (std::vector<std::string>{"create", "one", "two*"}));
    EXPECT_EQ(redoTitle(ws), "two");
    ASSERT_TRUE(step({{"D.DAT", "d3\n"}}, "three").done);
    EXPECT_EQ(titles(), (std::vector<std::string>{"create", "one", "three"}));
    EXPECT_FALSE(redoStep(ws).done);
    EXPECT_TRUE(undoStep(ws).done);
    EXPECT_EQ(files(), one);
}

// A step that changes nothing leaves no entry; a refused step leaves one only
// for the files its operation keeps.
TEST_F(HistoryTest, OnlyStepsThatChangeFilesAreRecorded) {
    ASSERT_TRUE(step({{"A.DAT", "a0\n"}}, "create").done);
    ASSERT_TRUE(step({{"A.DAT", "a0\n"}}, "same").done);
    EXPECT_FALSE(runStep(ws, [&] {
                     ws.describeStep({"refused", {"cmd", "refused"}});
                     EXPECT_TRUE(ws.writeText("A.DAT", "lost\n"));
                     return Report::refused("no");
                 }).done);
    EXPECT_EQ(titles(), std::vector<std::string>{"create"});
    EXPECT_EQ(undoTitle(ws), std::nullopt);
}

// The last kHistorySteps steps are kept; once the creation is dropped the
// script can no longer start from it, and a step without a command cannot
// be replayed: both refuse, naming why.
TEST_F(HistoryTest, TheHistoryIsBoundedAndTheScriptRefusesWhatItCannotReplay) {
    ASSERT_TRUE(step({{"A.DAT", "a\n"}}, "create").done);
    ASSERT_TRUE(step({{"A.DAT", "clicked\n"}}, "a button", false).done);
    std::string script;
    const Status noCommand = historyScript(ws, script);
    ASSERT_FALSE(noCommand);
    EXPECT_EQ(noCommand.error(), texts::scriptWithoutCommandText(2, "a button"));
    EXPECT_TRUE(undoStep(ws).done);
    ASSERT_TRUE(historyScript(ws, script));
    EXPECT_NE(script.find("--workspace \"$ws\" 'cmd' 'create'\n"), std::string::npos) << script;
    EXPECT_EQ(script.find("a button"), std::string::npos) << script;

    for (std::size_t i = 0; i < kHistorySteps; ++i)
        ASSERT_TRUE(step({{"A.DAT", std::to_string(i) + "\n"}}, "s" + std::to_string(i)).done);
    const auto kept = titles();
    ASSERT_EQ(kept.size(), kHistorySteps);
    EXPECT_EQ(kept.front(), "s0");
    EXPECT_EQ(kept.back(), "s" + std::to_string(kHistorySteps - 1));
    const Status dropped = historyScript(ws, script);
    ASSERT_FALSE(dropped);
    EXPECT_EQ(dropped.error(), texts::scriptWithoutStartText());
    // The kept contents of dropped steps go with them.
    std::size_t contents = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / std::string(kHistoryFolderName)))
        contents += e.path().extension() == ".before" || e.path().extension() == ".after";
    EXPECT_EQ(contents, 2 * kHistorySteps);
}

}  // namespace
}  // namespace zephalo::core
