#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"

// The demo's whole story, as the README's command-line block tells it: every
// command of the block, run as written on data/demo, succeeds in order, and
// the figures that data/demo/README.md states come out: the fluorescence fit,
// the misfit of the shipped selective XAFS, and the optimisation that finds
// the pre-edge peak the shipped file lacks.
namespace zephalo::test {
namespace {

constexpr std::string_view kCli = "build/src/zephalo-cli";

// The figures of data/demo/README.md.
constexpr double kXrfR = 2.02;           // after the README's xrf fit, percent
constexpr double kMisfitR = 7.08;        // compare with the shipped selective XAFS
constexpr double kOptimisedR = 1.46;     // after the optimisation
constexpr double kFittedR = 1.27;        // after the fit over the whole pre-edge
constexpr double kMissingPeak = 7110.5;  // the peak the measurement has and the file lacks (eV)

// The command lines of the README's block, the leading path dropped and a
// trailing comment removed.
std::vector<std::string> readmeCommands() {
    std::ifstream readme(std::filesystem::path(ZEPHALO_SOURCE_DIR) / "README.md");
    std::vector<std::string> commands;
    for (std::string line; std::getline(readme, line);) {
        const std::string head = "    " + std::string(kCli) + " ";
        if (line.rfind(head, 0) != 0) continue;
        line = line.substr(head.size());
        if (const auto comment = line.find("  #"); comment != std::string::npos) {
            line.resize(comment);
        }
        commands.push_back(line);
    }
    return commands;
}

// Words as the shell splits them: blanks separate, double quotes group.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) result.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) result.push_back(word);
    return result;
}

// The value of the last "R=" line, or -1.
double lastR(const std::string& out) {
    const auto at = out.rfind("R=");
    return at == std::string::npos ? -1.0 : std::atof(out.c_str() + at + 2);
}

// Where the working copy lies most above the published selective XAFS: the
// energy and, in `a`, by how much.
core::XafsPoint largestAddition(const std::filesystem::path& folder) {
    core::Workspace workspace(folder);
    core::SelectiveXafsTable working, published;
    EXPECT_TRUE(workspace.read(core::files::kSelectiveWork, working));
    EXPECT_TRUE(workspace.read(core::files::kSelectiveForRixs, published));
    EXPECT_EQ(working.size(), published.size());
    core::XafsPoint most{0.0, -1e300, 0.0};
    for (std::size_t i = 0; i < std::min(working.size(), published.size()); ++i) {
        const double added = working[i].a - published[i].a;
        if (added > most.a) most = {working[i].energy, added, 0.0};
    }
    return most;
}

TEST(DemoStory, TheReadmeBlockRunsAndGivesTheDemoFigures) {
    const auto commands = readmeCommands();
    ASSERT_GE(commands.size(), 10u);
    EXPECT_EQ(words(commands.front()).front(), "create");
    EXPECT_EQ(words(commands[commands.size() - 4]).front(), "compare");
    EXPECT_EQ(words(commands[commands.size() - 3]).front(), "fit");
    EXPECT_EQ(words(commands.back()).front(), "optimise");

    TempDir space;
    TempDir scratch;
    std::vector<double> rFactors;      // of xrf, compare, fit and optimise, in order
    std::optional<double> fittedPeak;  // where the fit added most (eV)
    for (const std::string& command : commands) {
        std::vector<std::string> arguments{"--workspace", space.path().string()};
        for (std::string word : words(command)) {
            if (word.rfind("data/demo/", 0) == 0)
                word = (std::filesystem::path(ZEPHALO_SOURCE_DIR) / word).string();
            arguments.push_back(word);
        }
        const CliRun run = runCli(arguments, scratch);
        ASSERT_EQ(run.exitCode, 0) << command << "\n" << run.err;
        const std::string name = words(command).front();
        if (name == "xrf" || name == "compare" || name == "fit" || name == "optimise") {
            rFactors.push_back(lastR(run.out));
        }
        if (name == "fit") fittedPeak = largestAddition(space.path()).energy;
    }
    ASSERT_EQ(rFactors.size(), 4u);
    EXPECT_TRUE(near(rFactors[0], kXrfR, 0.0, 0.01)) << rFactors[0];
    EXPECT_LT(rFactors[0], 5.0);  // the guide the fit's own message gives
    EXPECT_TRUE(near(rFactors[1], kMisfitR, 0.0, 0.01)) << rFactors[1];
    EXPECT_TRUE(near(rFactors[3], kOptimisedR, 0.0, 0.01)) << rFactors[3];
    EXPECT_LT(rFactors[3], rFactors[1] / 3);
    // The fit, over the whole selective XAFS below 7134 eV with the smoothing
    // its noise rule chooses, beats the optimisation and finds the same peak.
    EXPECT_TRUE(near(rFactors[2], kFittedR, 0.0, 0.01)) << rFactors[2];
    EXPECT_LT(rFactors[2], rFactors[3]);
    ASSERT_TRUE(fittedPeak);
    EXPECT_TRUE(near(*fittedPeak, kMissingPeak, 0.0, 1.5)) << *fittedPeak;

    // The optimisation's additions to the working copy peak at the missing
    // pre-edge peak, within the 1 eV step of its grid.
    const core::XafsPoint most = largestAddition(space.path());
    EXPECT_TRUE(near(most.energy, kMissingPeak, 0.0, 1.0)) << most.energy;
    EXPECT_GT(most.a, 0.1);
}

// The work-space files of a folder (.DAT), name to bytes.
std::map<std::string, std::string> datFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (e.path().extension() == ".DAT")
            files[e.path().filename().string()] = readFile(e.path());
    }
    return files;
}

// Over the README's chain: undo takes every step back to the bytes before it,
// down to the creation and no further; redo brings each again; and the
// history's script rebuilds the same bytes in a fresh folder.
TEST(DemoStory, EveryStepUndoesRedoesAndTheHistoryScriptReplaysIt) {
    TempDir space;
    TempDir scratch;
    const std::string ws = space.path().string();
    std::vector<std::map<std::string, std::string>> states;  // after each changing step
    for (const std::string& command : readmeCommands()) {
        std::vector<std::string> arguments{"--workspace", ws};
        for (std::string word : words(command)) {
            if (word.rfind("data/demo/", 0) == 0)
                word = (std::filesystem::path(ZEPHALO_SOURCE_DIR) / word).string();
            arguments.push_back(word);
        }
        ASSERT_EQ(runCli(arguments, scratch).exitCode, 0) << command;
        auto files = datFiles(space.path());
        if (states.empty() || files != states.back()) states.push_back(std::move(files));
    }
    ASSERT_GE(states.size(), 10u);
    const auto inSpace = [&](std::string command) {
        return runCli({"--workspace", ws, std::move(command)}, scratch);
    };
    const CliRun history = inSpace("history");
    EXPECT_EQ(history.exitCode, 0);
    EXPECT_EQ(std::count(history.out.begin(), history.out.end(), '\n'),
              static_cast<long>(states.size()));

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        const CliRun undo = inSpace("undo");
        ASSERT_EQ(undo.exitCode, 0) << undo.err;
        ASSERT_EQ(datFiles(space.path()), states[i - 1]) << "undo back to step " << i - 1;
    }
    const CliRun pastCreate = inSpace("undo");
    EXPECT_EQ(pastCreate.exitCode, 1);
    EXPECT_EQ(pastCreate.out, "");
    EXPECT_EQ(datFiles(space.path()), states.front());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_EQ(inSpace("redo").exitCode, 0);
        ASSERT_EQ(datFiles(space.path()), states[i]) << "redo of step " << i;
    }
    EXPECT_EQ(inSpace("redo").exitCode, 1);

    const CliRun written = runCli({"--workspace", ws, "history", "--script"}, scratch);
    ASSERT_EQ(written.exitCode, 0) << written.err;
    writeFile(scratch / "replay.sh", written.out);
    const auto fresh = scratch / "fresh";
    const std::string replay = "ZEPHALO_CLI=" + shellQuoted(ZEPHALO_CLI) + " bash " +
                               shellQuoted((scratch / "replay.sh").string()) + " " +
                               shellQuoted(fresh.string()) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(replay.c_str()), 0) << written.out;
    EXPECT_EQ(datFiles(fresh), states.back());
}

// Whether UTF-8 `text` holds a kana, a kanji or a full-width character.
bool holdsJapanese(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xe0 ? 2 : c < 0xf0 ? 3 : 4;
        char32_t point = length == 1 ? c : c & (0x3f >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
        if ((point >= 0x3000 && point <= 0x30ff) || (point >= 0x3400 && point <= 0x9fff) ||
            (point >= 0xff00 && point <= 0xffef))
            return true;
        i += length;
    }
    return false;
}

// ZEPHALO_LANG for the programs this test starts, unset again after.
class LanguageVariable {
public:
    explicit LanguageVariable(const char* code) { setenv("ZEPHALO_LANG", code, 1); }
    ~LanguageVariable() { unsetenv("ZEPHALO_LANG"); }
};

// The README's chain with refusals and usage errors around it, in both
// languages: the same exit codes and the same work-space bytes; English
// prints no Japanese, Japanese prints its own texts.
TEST(DemoStory, EnglishAndJapaneseLeaveTheSameFilesAndExitCodes) {
    std::vector<std::string> commands{"--help", "load-selective", "undo"};
    for (const std::string& command : readmeCommands()) commands.push_back(command);
    for (const char* extra : {"compute --omega 7114eV", "xrf --excitation abc --button fit",
                              "edge --edge Q", "history", "undo", "redo", "import xrf missing.DAT"})
        commands.push_back(extra);

    struct Outcome {
        std::vector<int> exitCodes;
        std::vector<std::string> printed;
        std::map<std::string, std::string> files;
    };
    const auto runAll = [&](const char* code) {
        LanguageVariable language(code);
        TempDir space;
        TempDir scratch;
        Outcome outcome;
        for (const std::string& command : commands) {
            std::vector<std::string> arguments{"--workspace", space.path().string()};
            for (std::string word : words(command)) {
                if (word.rfind("data/demo/", 0) == 0)
                    word = (std::filesystem::path(ZEPHALO_SOURCE_DIR) / word).string();
                arguments.push_back(word);
            }
            const CliRun run = runCli(arguments, scratch);
            outcome.exitCodes.push_back(run.exitCode);
            outcome.printed.push_back(run.out + run.err);
        }
        outcome.files = datFiles(space.path());
        return outcome;
    };
    const Outcome japanese = runAll("ja");
    const Outcome english = runAll("en");
    EXPECT_EQ(english.exitCodes, japanese.exitCodes);
    EXPECT_EQ(english.files, japanese.files);
    EXPECT_GE(english.files.size(), 10u);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_FALSE(holdsJapanese(english.printed[i])) << commands[i] << ":\n"
                                                        << english.printed[i];
    }
    // The refusals and the steps' messages do change language.
    EXPECT_TRUE(holdsJapanese(japanese.printed[1])) << japanese.printed[1];
    EXPECT_NE(english.printed[1], japanese.printed[1]);
    EXPECT_NE(std::count(japanese.exitCodes.begin(), japanese.exitCodes.end(), 0),
              static_cast<long>(commands.size()));
}

}  // namespace
}  // namespace zephalo::test
