// The work space under processes that run at once or die part-way: two
// writers, a child killed at random moments, and inputs that would write
// infinities, block or exhaust memory. Every file set afterwards is one that
// a whole step (or none) produces.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <set>

#include "cli_runner.h"
#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"
#include "process_runner.h"

namespace zephalo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The work space's lock file: its presence and content are not part of a
// file set.
constexpr const char* kLockFile = "ZEPHALO.lock";

const fs::path& demoFolder() {
    static const fs::path folder = fs::path(ZEPHALO_SOURCE_DIR) / "data" / "demo";
    return folder;
}

FileSet withoutLock(FileSet files) {
    files.erase(kLockFile);
    return files;
}

FileSet withoutHistory(FileSet files) {
    files.erase(kLockFile);
    std::erase_if(files, [](const auto& file) {
        return file.first.rfind(std::string(kHistoryFolder) + "/", 0) == 0;
    });
    return files;
}

// A readable difference between a file set and the ones it should equal.
std::string describe(const FileSet& actual, const std::vector<const FileSet*>& expected) {
    std::string text;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        text += "\n against state " + std::to_string(i) + ":";
        std::set<std::string> names;
        for (const auto& [name, content] : actual) names.insert(name);
        for (const auto& [name, content] : *expected[i]) names.insert(name);
        for (const auto& name : names) {
            const auto a = actual.find(name);
            const auto e = expected[i]->find(name);
            if (a == actual.end())
                text += " missing " + name + ";";
            else if (e == expected[i]->end())
                text += " extra " + name + ";";
            else if (a->second != e->second)
                text += " " + name + " differs (" + std::to_string(a->second.size()) + " vs " +
                        std::to_string(e->second.size()) + " bytes);";
        }
    }
    return text;
}

::testing::AssertionResult equalsOneOf(const FileSet& actual,
                                       const std::vector<const FileSet*>& expected) {
    for (const auto* state : expected) {
        if (actual == *state) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "file set equals none of the expected states" << describe(actual, expected);
}

// Names in `actual` that neither state holds: temporaries and journals.
std::vector<std::string> strayNames(const FileSet& actual, const FileSet& before,
                                    const FileSet& after) {
    std::vector<std::string> stray;
    for (const auto& [name, content] : actual) {
        if (name != kLockFile && !before.count(name) && !after.count(name)) stray.push_back(name);
    }
    return stray;
}

// The demo chain of the README, recorded once as file sets: after the
// imports, after the edge step (with the selective XAFS copied to the
// workbench's file), and after the stored fluorescence fit.
struct DemoStates {
    FileSet imported;
    FileSet edged;
    FileSet fitted;
    std::string error;  // empty when every command of the chain did its work
};

const DemoStates& demoStates() {
    static const DemoStates states = [] {
        DemoStates s;
        TempDir scratch;
        const std::string ws = (scratch / "ws").string();
        auto step = [&](std::vector<std::string> arguments) {
            arguments.insert(arguments.begin(), {"--workspace", ws});
            const auto run = runCli(arguments, scratch);
            if (run.exitCode != 0 && s.error.empty())
                s.error = arguments[2] + " exited " + std::to_string(run.exitCode) + ": " + run.err;
        };
        step({"create"});
        step({"import", "conv-xafs", (demoFolder() / "Fe2O3_ConvXAFS.DAT").string()});
        step({"import", "xrf", (demoFolder() / "Fe2O3_XRF_Kbeta.DAT").string()});
        step({"import", "rixs", (demoFolder() / "Fe2O3_RIXS_7114eV.DAT").string()});
        step({"import", "selective", (demoFolder() / "Fe2O3.xspec").string()});
        s.imported = withoutLock(fileSetOf(ws));
        step({"edge", "--edge", "Fe K-edge"});
        // The workbench writes the finished selective XAFS; here the edge
        // step's absolute selective XAFS is copied in its place.
        std::error_code copied;
        fs::copy_file(fs::path(ws) / std::string(core::files::kSelectiveAbsolute),
                      fs::path(ws) / std::string(core::files::kSelectiveForRixs), copied);
        if (copied && s.error.empty()) s.error = "copy of the selective XAFS: " + copied.message();
        s.edged = withoutLock(fileSetOf(ws));
        step({"xrf", "--A", "7045,0.75,8.12", "--rfactor", "--store"});
        s.fitted = withoutLock(fileSetOf(ws));
        return s;
    }();
    return states;
}

// Measured RIXS spectra of 10 and 5000 points, on the demo's energy range.
std::string rixsText(int points) {
    std::string text = "# " + std::to_string(points) + " points\n";
    for (int i = 0; i < points; ++i) {
        const double e = 7020.0 + 55.0 * i / points;
        const double y = 0.001 + 0.003 / (1.0 + (e - 7058.0) * (e - 7058.0));
        text += std::to_string(e) + "\t" + std::to_string(y) + "\n";
    }
    return text;
}

class StorageProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        const auto& states = demoStates();
        ASSERT_EQ(states.error, "") << "the demo chain failed";
        writeFile(scratch / "small.DAT", rixsText(10));
        writeFile(scratch / "large.DAT", rixsText(5000));
        writeFile(scratch / "bad.DAT", "7050 0.1\n7051 abc\n");
    }
    // Arguments with "@small" and "@large" replaced by the measured files.
    std::vector<std::string> withInputs(std::vector<std::string> arguments) const {
        for (auto& a : arguments) {
            if (a == "@small" || a == "@large") a = (scratch / (a.substr(1) + ".DAT")).string();
        }
        return arguments;
    }
    std::vector<std::string> inSpace(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--workspace", ws.string()});
        return arguments;
    }
    CliProcess start(const std::vector<std::string>& arguments, const std::string& tag) const {
        return CliProcess(inSpace(arguments), scratch / (tag + ".out"), scratch / (tag + ".err"));
    }
    std::string errorText(const std::string& tag) const {
        return readFile(scratch / (tag + ".err"));
    }
    // The file set a command leaves when it runs alone on `from`.
    FileSet serialResult(const FileSet& from, const std::vector<std::string>& arguments) {
        restoreFileSet(ws, from);
        const auto run = runCli(inSpace(arguments), scratch);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return withoutLock(fileSetOf(ws));
    }
    FileSet current() const { return fileSetOf(ws); }

    TempDir scratch;
    fs::path ws = scratch / "ws";
};

// --- Two writers ------------------------------------------------------------

struct WriterPair {
    const char* name;
    std::vector<std::string> first;
    std::vector<std::string> second;
};

void PrintTo(const WriterPair& pair, std::ostream* out) {
    *out << pair.name;
}

class TwoWriters : public StorageProcesses, public ::testing::WithParamInterface<WriterPair> {};

// Both commands start together on the same work space, again and again: each
// ends done or refused because the other one was working, and the files are
// those of whichever ran last alone.
TEST_P(TwoWriters, LeaveTheFilesOfOneWholeStep) {
    const auto& pair = GetParam();
    const auto& base = demoStates().fitted;
    const auto first = withInputs(pair.first);
    const auto second = withInputs(pair.second);
    const FileSet afterFirst = withoutHistory(serialResult(base, first));
    const FileSet afterSecond = withoutHistory(serialResult(base, second));
    ASSERT_NE(afterFirst, afterSecond) << "the two commands must leave different files";

    // The refusal's first sentence, naming the work space.
    const std::string busyText = core::texts::busyText(core::pathText(ws));
    const std::string busy = busyText.substr(0, busyText.find('\r'));
    const int rounds = sanitizedRun() ? 6 : 25;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        restoreFileSet(ws, base);
        auto a = start(first, "a");
        auto b = start(second, "b");
        ASSERT_TRUE(a.started() && b.started());
        const ChildEnd endA = a.wait();
        const ChildEnd endB = b.wait();
        // Two steps that both ran are both in the history: the work-space
        // files are those of the one that ran last.
        const FileSet files = withoutHistory(current());
        for (const auto& [end, tag] : {std::pair{endA, "a"}, std::pair{endB, "b"}}) {
            ASSERT_TRUE(end.exited) << tag << " ended by signal " << end.signal;
            if (end.exitCode != 0) {
                EXPECT_EQ(end.exitCode, 1) << tag << ": " << errorText(tag);
                // Refused only because the other one held the work space.
                EXPECT_NE(errorText(tag).find(busy), std::string::npos) << errorText(tag);
            }
        }
        ASSERT_TRUE(endA.exitCode == 0 || endB.exitCode == 0) << "both refused";
        if (endB.exitCode != 0) {
            ASSERT_TRUE(equalsOneOf(files, {&afterFirst}));
        } else if (endA.exitCode != 0) {
            ASSERT_TRUE(equalsOneOf(files, {&afterSecond}));
        } else {
            ASSERT_TRUE(equalsOneOf(files, {&afterFirst, &afterSecond}));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Storage, TwoWriters,
    ::testing::Values(
        WriterPair{"Compute",
                   {"compute", "--omega", "7114", "--scaling", "5e-9"},
                   {"compute", "--omega", "7114", "--scaling", "9e-9"}},
        WriterPair{"ImportRixs", {"import", "rixs", "@small"}, {"import", "rixs", "@large"}}),
    [](const auto& test) { return std::string(test.param.name); });

// --- Killed steps -------------------------------------------------------------

struct KilledStep {
    const char* name;
    std::vector<std::string> arguments;
    const FileSet DemoStates::*before;
};

void PrintTo(const KilledStep& step, std::ostream* out) {
    *out << step.name;
}

class KilledSteps : public StorageProcesses, public ::testing::WithParamInterface<KilledStep> {};

// The step is killed at random moments of its run (fixed seed); the next
// command that opens the work space (an import of a bad file, refused) finds
// the files as they were before the step or as the whole step left them, and
// no temporary file remains.
TEST_P(KilledSteps, LeaveTheStateBeforeOrAfter) {
    const auto& step = GetParam();
    const FileSet& before = demoStates().*step.before;
    const auto arguments = withInputs(step.arguments);
    const auto started = std::chrono::steady_clock::now();
    const FileSet after = serialResult(before, arguments);
    const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    ASSERT_NE(before, after) << "the step must change the work space";

    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::int64_t> moment(0, duration.count() * 5 / 4);
    const int rounds = sanitizedRun() ? 8 : 30;
    for (int round = 0; round < rounds; ++round) {
        restoreFileSet(ws, before);
        const auto delay = std::chrono::microseconds(moment(random));
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " +
                     std::to_string(delay.count()) + " us");
        {
            auto child = start(arguments, "child");
            ASSERT_TRUE(child.started());
            std::this_thread::sleep_for(delay);
            child.killNow();
            child.wait();
        }
        const auto opener =
            runCli(inSpace({"import", "rixs", (scratch / "bad.DAT").string()}), scratch);
        EXPECT_EQ(opener.exitCode, 1) << opener.err;
        const FileSet files = current();
        const auto stray = strayNames(files, before, after);
        EXPECT_TRUE(stray.empty()) << "left behind: " << ::testing::PrintToString(stray);
        ASSERT_TRUE(equalsOneOf(withoutLock(files), {&before, &after}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Storage, KilledSteps,
    ::testing::Values(KilledStep{"Compute",
                                 {"compute", "--omega", "7114", "--scaling", "5e-9"},
                                 &DemoStates::fitted},
                      KilledStep{"Edge", {"edge", "--edge", "Fe K-edge"}, &DemoStates::imported},
                      KilledStep{"XrfStore",
                                 {"xrf", "--A", "7045,0.75,8.12", "--rfactor", "--store"},
                                 &DemoStates::edged},
                      KilledStep{"ImportRixs", {"import", "rixs", "@small"}, &DemoStates::fitted},
                      KilledStep{"Undo", {"undo"}, &DemoStates::fitted}),
    [](const auto& test) { return std::string(test.param.name); });

// --- Creation, saving, refusals ---------------------------------------------------

// Two creations and an import race for a folder that does not exist yet: the
// folder is made, then locked, then written, so every creation that reports
// success leaves every seed.
TEST_F(StorageProcesses, CreationsRacingForANewFolderLeaveEverySeed) {
    const int rounds = sanitizedRun() ? 4 : 12;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        fs::remove_all(ws);
        auto a = start({"create"}, "a");
        auto b = start({"create"}, "b");
        auto c = start(withInputs({"import", "rixs", "@small"}), "c");
        for (auto* child : {&a, &b}) {
            const ChildEnd end = child->wait();
            EXPECT_TRUE(end.exited && end.exitCode == 0) << errorText("a") << errorText("b");
        }
        c.wait();
        for (const char* seed : {"RIXS_Calculation_Parameters.DAT", "RIXS_Calculation_Lorentz.DAT",
                                 "Emission_Exc_Energy.DAT", "Non_Resonant_Emission.DAT",
                                 "SelectiveXAFS_for_RIXS_Temp.DAT", "Calculated_RIXS.DAT"}) {
            EXPECT_TRUE(fs::is_regular_file(ws / seed)) << seed;
        }
        for (const auto& [name, content] : current())
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

// A save beside a user's file killed at random moments: the file is absent or
// whole, and after the next save there nothing but the file remains.
TEST_F(StorageProcesses, AKilledSaveLeavesNothingBesideTheFile) {
    const auto& base = demoStates().fitted;
    restoreFileSet(ws, base);
    ASSERT_EQ(runCli(inSpace({"compute", "--omega", "7114"}), scratch).exitCode, 0);
    const FileSet computed = current();
    const fs::path saves = scratch / "saves";
    fs::create_directories(saves);
    const std::vector<std::string> save{"save-rixs", (saves / "saved.DAT").string()};
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runCli(inSpace(save), scratch).exitCode, 0);
    const std::string whole = readFile(saves / "saved.DAT");
    const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::int64_t> moment(0, duration.count());
    const int rounds = sanitizedRun() ? 6 : 20;
    for (int round = 0; round < rounds; ++round) {
        fs::remove_all(saves);
        fs::create_directories(saves);
        {
            auto child = start(save, "save");
            ASSERT_TRUE(child.started());
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            child.killNow();
            child.wait();
        }
        if (fs::exists(saves / "saved.DAT")) {
            EXPECT_EQ(readFile(saves / "saved.DAT"), whole);
        }
        ASSERT_EQ(runCli(inSpace(save), scratch).exitCode, 0);
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(saves))
            names.push_back(e.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"saved.DAT"}) << "round " << round;
    }
    EXPECT_TRUE(equalsOneOf(current(), {&computed}));
}

// A command whose commit fails (a folder where the fit's R factor goes), and a
// command of several buttons whose last one refuses: no success text and no
// R= on standard output, the reason on standard error, and no file changed.
TEST_F(StorageProcesses, ARefusedStepPrintsNoSuccessAndChangesNothing) {
    struct Case {
        const char* name;
        const FileSet DemoStates::*state;
        std::function<void(const fs::path&)> spoil;
        std::vector<std::string> arguments;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"commit fails",
         &DemoStates::edged,
         [](const fs::path& space) {
             fs::create_directory(space / std::string(core::files::kXrfRFactor));
         },
         {"xrf", "--A", "7045,0.75,8.12", "--rfactor", "--store"},
         std::string(core::texts::kReasonFolder)},
        {"last button refuses",
         &DemoStates::imported,
         [](const fs::path& space) {
             writeFile(space / std::string(core::files::kSelectiveOrg), "7000\t1\t1\n");
         },
         {"edge", "--edge", "Fe K-edge"},
         "1点しかない"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restoreFileSet(ws, demoStates().*c.state);
        c.spoil(ws);
        const FileSet before = withoutLock(current());
        const auto run = runCli(inSpace(c.arguments), scratch);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_TRUE(equalsOneOf(withoutLock(current()), {&before}));
    }
}

// Folder and file names outside ASCII reach the program whole and come back
// whole in its messages (Windows would hand them over in a narrower code page).
TEST_F(StorageProcesses, NamesOutsideAsciiReachTheProgramWhole) {
    const fs::path space = scratch.path() / core::pathFromText("測定 Élan");
    const fs::path measured = scratch.path() / core::pathFromText("スペクトル.DAT");
    writeFile(measured, rixsText(10));
    const std::string spaceText = core::textFromPath(space);
    const auto run = [&](const std::vector<std::string>& words) {
        std::vector<std::string> arguments{"--workspace", spaceText};
        arguments.insert(arguments.end(), words.begin(), words.end());
        return runCli(arguments, scratch);
    };
    ASSERT_EQ(run({"create"}).exitCode, 0);
    const auto imported = run({"import", "rixs", core::textFromPath(measured)});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(readFile(space / std::string(core::files::kRixsExperiment)), "");
    const std::string missing = core::textFromPath(scratch.path() / core::pathFromText("無い.DAT"));
    const auto refused = run({"import", "rixs", missing});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(core::pathText(core::pathFromText(missing))), std::string::npos)
        << refused.err;
}

#ifndef _WIN32
// Ctrl+C stops a long optimisation between positions as "中止" does: the
// files are those of a finished step (the working copy kept, the published
// selective XAFS restored) and the message says where it stopped.
TEST_F(StorageProcesses, CtrlCStopsALongOptimisationLikeTheStopButton) {
    restoreFileSet(ws, demoStates().fitted);
    ASSERT_EQ(runCli(inSpace({"load-selective"}), scratch).exitCode, 0);
    ASSERT_EQ(runCli(inSpace({"compute", "--omega", "7114"}), scratch).exitCode, 0);
    const FileSet before = withoutLock(current());
    // 1000 positions of the stored window, 100 heights, 2 passes.
    const double from =
        std::stod(before.at(std::string(core::files::kXafsMinMax)).substr(0, 20)) + 1.0;
    auto child = start(
        {"optimise", "--omega", "7114", "--from", std::to_string(from), "--to",
         std::to_string(from + 20), "--step", "0.02", "--height-step", "0.001", "--passes", "2"},
        "optimise");
    ASSERT_TRUE(child.started());
    std::this_thread::sleep_for(500ms);
    child.interrupt();
    const ChildEnd end = child.wait(30s);
    ASSERT_FALSE(end.timedOut);
    ASSERT_TRUE(end.exited) << "ended by signal " << end.signal;
    EXPECT_EQ(end.exitCode, 130);
    EXPECT_NE(readFile(scratch / "optimise.out").find("最適化を中止しました"), std::string::npos)
        << readFile(scratch / "optimise.out") << errorText("optimise");
    const FileSet after = withoutLock(current());
    EXPECT_EQ(after.at(std::string(core::files::kSelectiveForRixs)),
              before.at(std::string(core::files::kSelectiveForRixs)));
    for (const auto& [name, content] : after) EXPECT_EQ(name.find(".tmp"), std::string::npos);
}
#endif

// --- Inputs refused at once -------------------------------------------------------

// A step that would write an infinity, an input that is no regular file, and
// one far beyond any measured spectrum: each is refused within a few seconds,
// naming what it refused, and the work space stays as it was.
TEST_F(StorageProcesses, HostileInputsAreRefusedQuicklyAndChangeNothing) {
    const auto& base = demoStates().fitted;
    const fs::path huge = scratch / "huge.DAT";
    writeFile(huge, "7050\t0.1\n");
    fs::resize_file(huge, std::uintmax_t{64} << 20);
    writeFile(scratch / "overflow.DAT", "7050\t0.1\n7051\t1e305\n");
    std::string wien2k = "Energy(eV) Fe-K selective XAS\n";
    for (int i = 0; i < 50; ++i) wien2k += std::to_string(-5.0 + 0.1 * i) + " 0.5\n";
    wien2k += "0.0 -1e308\n";  // line 52
    writeFile(scratch / "negative.xspec", wien2k);

    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        std::string named;  // text the refusal must contain
    };
    std::vector<Case> cases{
        {"scaling that overflows",
         {"compute", "--omega", "7114", "--scaling", "1e308"},
         std::string(core::texts::kScalingFactor)},
        {"intensity whose record overflows",
         {"import", "rixs", (scratch / "overflow.DAT").string()},
         "overflow.DAT の2行目"},
        {"intensity of -1e308",
         {"import", "selective", (scratch / "negative.xspec").string()},
         "negative.xspec の52行目"},
        {"64 MiB file", {"import", "rixs", huge.string()}, "huge.DAT の大きさは67108864バイト"},
    };
#ifdef _WIN32
    cases.push_back({"device", {"import", "rixs", "NUL"}, core::texts::notRegularText("NUL")});
#else
    const fs::path fifo = scratch / "pipe.DAT";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back(
        {"FIFO", {"import", "rixs", fifo.string()}, core::texts::notRegularText(fifo.string())});
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restoreFileSet(ws, base);
        auto child = start(c.arguments, "hostile");
        ASSERT_TRUE(child.started());
        const ChildEnd end = child.wait(5s);
        EXPECT_FALSE(end.timedOut) << "still running after 5 s";
        EXPECT_TRUE(end.exited) << "ended by signal " << end.signal;
        EXPECT_EQ(end.exitCode, 1);
        const std::string err = errorText("hostile");
        EXPECT_NE(err.find(c.named), std::string::npos) << err;
        EXPECT_TRUE(equalsOneOf(withoutLock(current()), {&base}));
    }
}

}  // namespace
}  // namespace zephalo::test
