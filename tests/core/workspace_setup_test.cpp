#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "core/workspace/workspace_setup.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

using test::near;

// Every file of a folder with its content.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        files[e.path().filename().string()] = test::readFile(e.path());
    }
    return files;
}

const std::string kCreated = "を作成しました。(以前使用時の結果は保護され\r\nています)";

// The seed contents, byte for byte, as the later steps expect them.
const std::map<std::string, std::string> kSeeds{
    {"RIXS_Calculation_Parameters.DAT", "1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n"},
    {"RIXS_Calculation_Lorentz.DAT",
     "1\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n"},
    {"Emission_Exc_Energy.DAT", "7200\n"},
    {"Non_Resonant_Emission.DAT", "7000\t1\t1\t1\n"},
    {"SelectiveXAFS_for_RIXS_Temp.DAT", "7000\t1\t1\n"},
    {"Calculated_RIXS.DAT", "7000\t1\t1\n"},
};

TEST(CreateWorkspace, WritesTheSeedsByteForByte) {
    test::TempDir dir;
    Workspace ws(dir / "nested" / "ZEPHALO_WORK_SPACE");
    const Report report = createWorkspace(ws);
    EXPECT_TRUE(report.done);
    EXPECT_EQ(report.text, "作業用のディレクトリ　" + ws.directory().string() + "\r\n" + kCreated);
    EXPECT_EQ(snapshot(ws.directory()), kSeeds);
    ASSERT_EQ(seedFiles().size(), 6u);
    EXPECT_EQ(seedFiles().front().file, files::kParameters);
    EXPECT_EQ(seedFiles().back().file, files::kCalculatedRixs);
}

TEST(CreateWorkspace, NeverOverwritesAndRestoresOnlyWhatIsMissing) {
    test::TempDir dir;
    Workspace ws(dir.path());
    ASSERT_TRUE(createWorkspace(ws).done);
    // Results of an earlier run.
    test::writeFile(ws.path(files::kFinalState),
                    "0\t1\t1\t1\t1\t7050\t7051\t7052\t7053\t1\t1\t1\t1\n");
    test::writeFile(ws.path(files::kEmissionExcitation), "7212");
    test::writeFile(ws.path(files::kRixsExperiment), "7050\t0.001\n");
    std::filesystem::remove(ws.path(files::kParameters));
    auto before = snapshot(ws.directory());

    const Report again = createWorkspace(ws);
    EXPECT_TRUE(again.done);
    EXPECT_NE(again.text.find(kCreated), std::string::npos);
    auto after = snapshot(ws.directory());
    EXPECT_EQ(after[std::string(files::kParameters)], kSeeds.at("RIXS_Calculation_Parameters.DAT"));
    after.erase(std::string(files::kParameters));
    EXPECT_EQ(after, before);
    EXPECT_EQ(createWorkspace(ws).text, again.text);
}

TEST(CreateWorkspace, ADirectoryThatCannotBeMadeIsReportedNotSucceeded) {
    test::TempDir dir;
    test::writeFile(dir / "plain-file", "x");
    for (const auto& target : {dir / "plain-file", dir / "plain-file" / "ZEPHALO_WORK_SPACE"}) {
        const Report report = createWorkspace(Workspace(target));
        EXPECT_FALSE(report.done);
        EXPECT_NE(report.text.find(target.string()), std::string::npos) << report.text;
        EXPECT_EQ(report.text.find("作成しました"), std::string::npos);
    }
}

#ifndef _WIN32
// A read-only folder bars new entries only on POSIX systems (on Windows the
// attribute does not apply to folders).
// Root writes into read-only folders, so as root the check runs in a child
// process that has given up its rights (user "nobody").
bool asUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(CreateWorkspace, AReadOnlyParentFolderIsReported) {
    test::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec |
                                                 std::filesystem::perms::others_exec);
    const Workspace ws(dir / "ZEPHALO_WORK_SPACE");
    EXPECT_TRUE(asUnprivileged([&] {
        const Report report = createWorkspace(ws);
        return !report.done && report.text.find(ws.directory().string()) != std::string::npos &&
               report.text.find("作成できませんでした") != std::string::npos &&
               report.text.find("作成しました") == std::string::npos;
    }));
    EXPECT_FALSE(std::filesystem::exists(ws.directory()));
}
#endif

// A seed that cannot be written (here a folder holds its name, which blocks
// even root) stops the creation with its path.
TEST(CreateWorkspace, ASeedThatCannotBeWrittenIsReported) {
    test::TempDir dir;
    Workspace ws(dir.path());
    std::filesystem::create_directory(ws.path(files::kEmissionExcitation));
    const Report report = createWorkspace(ws);
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(ws.path(files::kEmissionExcitation).string()), std::string::npos);
    EXPECT_EQ(report.text.find("作成しました"), std::string::npos);
    // The seeds before it in the order are in place.
    EXPECT_TRUE(ws.exists(files::kParameters));
    EXPECT_TRUE(ws.exists(files::kFinalState));
}

// --- Imports -------------------------------------------------------------

class Imports : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(createWorkspace(m_ws).done); }
    std::filesystem::path chosen(const std::string& text) {
        const auto file = m_input / "measured.DAT";
        test::writeFile(file, text);
        return file;
    }

    test::TempDir m_dir;
    test::TempDir m_input;
    Workspace m_ws{m_dir.path()};
};

TEST_F(Imports, RixsRecordsItsExtremesAndKeepsItsIntensities) {
    const Report report =
        importRixsExperiment(m_ws, chosen("7050 0.002\n7051 0.004\n7052 0.001\n7053 0.003\n"));
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text,
              m_ws.directory().string() + " に「RIXS実験スペク\r\nトル」を導入しました。");
    MinMaxRecord extremes;
    ASSERT_TRUE(m_ws.read(files::kRixsExperimentMinMax, extremes).ok());
    EXPECT_EQ(extremes.xmin, 7050);
    EXPECT_EQ(extremes.xmax, 7053);
    EXPECT_TRUE(near(extremes.ymin, 20, 1e-12));
    EXPECT_TRUE(near(extremes.ymax, 80, 1e-12));
    EXPECT_EQ(test::readFile(m_ws.path(files::kRixsExperiment)),
              "7050\t0.002\n7051\t0.004\n7052\t0.001\n7053\t0.003\n");
}

TEST_F(Imports, AnEmptyRixsFileGivesTheStartValues) {
    ASSERT_TRUE(importRixsExperiment(m_ws, chosen("")).done);
    EXPECT_EQ(test::readFile(m_ws.path(files::kRixsExperimentMinMax)), "1e+08\t0\t1e+08\t0\n");
    EXPECT_EQ(test::readFile(m_ws.path(files::kRixsExperiment)), "");
}

TEST_F(Imports, ConventionalXafsIsStoredAtSixDigitsAndReplacedWhole) {
    ASSERT_TRUE(
        importConventionalXafs(m_ws, chosen("7000 0.1\n7100 0.5\n7112.3456 1.2345678\n")).done);
    EXPECT_EQ(test::readFile(m_ws.path(files::kConventionalXafs)),
              "7000\t0.1\n7100\t0.5\n7112.35\t1.23457\n");
    const Report report = importConventionalXafs(m_ws, chosen("# second scan\n7001 0.2\n"));
    EXPECT_EQ(report.text,
              m_ws.directory().string() + " に「通常XAFS実験\r\nスペクトル」を導入しました。");
    EXPECT_EQ(test::readFile(m_ws.path(files::kConventionalXafs)), "7001\t0.2\n");
}

TEST_F(Imports, FluorescenceIsNormalisedToItsMaximum) {
    const Report report =
        importFluorescence(m_ws, chosen("7040 25\n7050 250\n7060 -5\n7070 125\n"));
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_EQ(report.text,
              m_ws.directory().string() + " に「蛍光X線実験\r\nスペクトル」を導入しました。");
    PairSpectrum stored;
    ASSERT_TRUE(m_ws.read(files::kExperimentEmission, stored).ok());
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[1].intensity, 1.0);  // exactly
    EXPECT_TRUE(near(stored[0].intensity, 0.1, 1e-12));
    EXPECT_TRUE(near(stored[2].intensity, -0.02, 1e-12));
    EXPECT_TRUE(near(stored[3].intensity, 0.5, 1e-12));
}

TEST_F(Imports, FluorescenceWithoutAPositiveMaximumIsRefused) {
    const auto before = snapshot(m_ws.directory());
    for (const char* text : {"7040 0\n7050 0\n", "7040 -3\n7050 -1\n", "", "# header only\n"}) {
        const Report report = importFluorescence(m_ws, chosen(text));
        EXPECT_FALSE(report.done) << text;
        EXPECT_NE(report.text.find("measured.DAT"), std::string::npos) << report.text;
        EXPECT_NE(report.text.find("何も変更していません"), std::string::npos);
    }
    EXPECT_EQ(snapshot(m_ws.directory()), before);
}

// Bad input to any import: refused with the file (and line), nothing written.
struct BadInput {
    const char* name;
    std::string text;
    bool exists;  // false: the chosen file does not exist
    std::string mentions;
};
// Printed by its name in the test list, not as a byte dump.
inline void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name;
}

using ImportFunction = Report (*)(const Workspace&, const std::filesystem::path&);

class ImportRefusals : public ::testing::TestWithParam<std::tuple<ImportFunction, BadInput>> {};

TEST_P(ImportRefusals, NothingIsWritten) {
    const auto& [operation, bad] = GetParam();
    test::TempDir dir;
    test::TempDir input;
    Workspace ws(dir.path());
    ASSERT_TRUE(createWorkspace(ws).done);
    // An earlier import of every kind, which must survive.
    test::writeFile(input / "good.DAT", "7050 1\n7051 2\n");
    ASSERT_TRUE(importRixsExperiment(ws, input / "good.DAT").done);
    ASSERT_TRUE(importConventionalXafs(ws, input / "good.DAT").done);
    ASSERT_TRUE(importFluorescence(ws, input / "good.DAT").done);
    const auto before = snapshot(ws.directory());

    const auto file = input / "bad.DAT";
    if (bad.exists) test::writeFile(file, bad.text);
    const Report report = operation(ws, file);
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(file.string()), std::string::npos) << report.text;
    EXPECT_NE(report.text.find(bad.mentions), std::string::npos) << report.text;
    EXPECT_EQ(report.text.find("導入しました"), std::string::npos);
    EXPECT_EQ(snapshot(ws.directory()), before);
}

std::string tooMany() {
    std::string text;
    for (int i = 0; i < 5001; ++i) text += "7000 1\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    EveryImport, ImportRefusals,
    ::testing::Combine(::testing::Values(&importRixsExperiment, &importConventionalXafs,
                                         &importFluorescence),
                       ::testing::Values(BadInput{"Missing", "", false, "開けません"},
                                         BadInput{"BadToken", "7000 1\n7001 0.5O\n", true,
                                                  "2行目に数値として読めない文字列「0.5O」"},
                                         BadInput{"HalfPair", "7000 1\n7001 2\n7002\n", true,
                                                  "3行目の組が欠けています"},
                                         BadInput{"TooMany", tooMany(), true, "上限の5000点"})),
    [](const auto& param) {
        const ImportFunction f = std::get<0>(param.param);
        const std::string kind = f == &importRixsExperiment     ? "Rixs"
                                 : f == &importConventionalXafs ? "ConvXafs"
                                                                : "Fluorescence";
        return kind + std::get<1>(param.param).name;
    });

TEST(ImportsWithoutWorkspace, AreRefusedWithTheFolder) {
    test::TempDir dir;
    test::writeFile(dir / "good.DAT", "7050 1\n");
    const Workspace ws(dir / "ZEPHALO_WORK_SPACE");
    const Report report = importRixsExperiment(ws, dir / "good.DAT");
    EXPECT_FALSE(report.done);
    EXPECT_NE(report.text.find(ws.directory().string() + " がありません"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(ws.directory()));
}

#ifndef _WIN32
// File dialogs start in ~/ZEPHALO: the home folder while it is missing, the
// folder itself once it has been prepared, and the home folder again when a
// plain file of that name blocks it.
TEST(DataFolder, IsPreparedInTheHomeFolder) {
    test::TempDir home;
    const char* previous = std::getenv("HOME");
    const std::string kept = previous ? previous : "";
    ::setenv("HOME", home.path().c_str(), 1);

    EXPECT_EQ(Workspace::dataFolder(), home.path());
    EXPECT_EQ(Workspace::preparedDataFolder(), home.path() / "ZEPHALO");
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "ZEPHALO"));
    EXPECT_EQ(Workspace::dataFolder(), home.path() / "ZEPHALO");

    std::filesystem::remove(home.path() / "ZEPHALO");
    test::writeFile(home.path() / "ZEPHALO", "not a folder\n");
    EXPECT_EQ(Workspace::preparedDataFolder(), home.path());

    if (previous) {
        ::setenv("HOME", kept.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

// HOME pointed at a fresh folder for one test.
class FreshHome : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* previous = std::getenv("HOME")) m_kept = previous;
        ::setenv("HOME", home.path().c_str(), 1);
    }
    void TearDown() override {
        if (m_kept) {
            ::setenv("HOME", m_kept->c_str(), 1);
        } else {
            ::unsetenv("HOME");
        }
    }
    test::TempDir home;
    test::TempDir demo;

private:
    std::optional<std::string> m_kept;
};

// The first start copies the demo's measurements (not its notes or folders)
// into a new ~/ZEPHALO; later starts, or a ~/ZEPHALO the user made, keep
// what is there.
TEST_F(FreshHome, TheFirstStartSeedsTheDataFolderOnce) {
    test::writeFile(demo / "Fe_RIXS.DAT", "7050\t0.1\n");
    test::writeFile(demo / "Fe.xspec", "Energy\n0 1\n");
    test::writeFile(demo / "README.md", "notes\n");
    std::filesystem::create_directory(demo / "more");
    const auto data = home.path() / "ZEPHALO";

    EXPECT_FALSE(Workspace::seedDataFolder(demo / "missing"));
    EXPECT_FALSE(std::filesystem::exists(data));

    ASSERT_TRUE(Workspace::seedDataFolder(demo.path()));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(data))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Fe.xspec", "Fe_RIXS.DAT"}));
    EXPECT_EQ(test::readFile(data / "Fe_RIXS.DAT"), "7050\t0.1\n");
    // Nothing of the copy is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}), 1);

    test::writeFile(data / "Fe_RIXS.DAT", "edited\n");
    EXPECT_FALSE(Workspace::seedDataFolder(demo.path()));
    EXPECT_EQ(test::readFile(data / "Fe_RIXS.DAT"), "edited\n");

    std::filesystem::remove_all(data);
    std::filesystem::create_directory(data);
    EXPECT_FALSE(Workspace::seedDataFolder(demo.path()));
    EXPECT_TRUE(std::filesystem::is_empty(data));
}
#endif

}  // namespace
}  // namespace zephalo::core
