#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "core/rixs/workbench_model.h"
#include "core/workspace/file_names.h"
#include "core/workspace/records.h"
#include "core/workspace/workspace.h"

namespace zephalo::test {
namespace {

// The demo carried through "実験値と比較" once for all cases, so that all
// three workbench panels have curves.
class FigureCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_space = std::make_unique<TempDir>();
        TempDir scratch;
        const std::string demo = std::string(ZEPHALO_SOURCE_DIR) + "/data/demo/";
        const std::vector<std::vector<std::string>> story{
            {"create"},
            {"import", "conv-xafs", demo + "Fe2O3_ConvXAFS.DAT"},
            {"import", "xrf", demo + "Fe2O3_XRF_Kbeta.DAT"},
            {"import", "rixs", demo + "Fe2O3_RIXS_7114eV.DAT"},
            {"import", "selective", demo + "Fe2O3.xspec"},
            {"edge", "--edge", "Fe K-edge"},
            {"xrf", "--A", "7046,0.967,12", "--B", "7054.1,0.447,7.07", "--C", "7057.3,0.271,2.22",
             "--D", "7058.4,0.025,0.427", "--store"},
            {"load-selective"},
            {"finish"},
            {"compute", "--omega", "7114"},
            {"compare"}};
        for (auto arguments : story) {
            arguments.insert(arguments.begin(), {"--workspace", s_space->path().string()});
            const CliRun run = runCli(arguments, scratch);
            ASSERT_EQ(run.exitCode, 0) << arguments[2] << "\n" << run.err;
        }
    }
    static void TearDownTestSuite() { s_space.reset(); }

    CliRun figure(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--workspace", s_space->path().string(), "figure"});
        return runCli(arguments, scratch);
    }

    static std::unique_ptr<TempDir> s_space;
    TempDir scratch;
};
std::unique_ptr<TempDir> FigureCommand::s_space;

// Width and height from a PNG's header chunk, or {0, 0} for no PNG.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    const auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k)
            value = value << 8 | static_cast<unsigned char>(bytes[at + k]);
        return value;
    };
    return {word(16), word(20)};
}

// The texts of an SVG's text elements.
std::vector<std::string> svgTexts(const std::string& svg) {
    std::vector<std::string> texts;
    const std::regex element(R"(<text[^>]*>([^<]*)</text>)");
    for (std::sregex_iterator it(svg.begin(), svg.end(), element), end; it != end; ++it) {
        texts.push_back((*it)[1].str());
    }
    return texts;
}

// The energy span a panel's axis covers: its frame, with the square's
// margin of 10 logical units on either side.
std::pair<double, double> panelEnergies(const core::Workspace& workspace, core::rixs::Panel panel) {
    core::plot::Picture picture;
    EXPECT_TRUE(core::rixs::storedPicture(workspace, panel, picture));
    const auto frame = picture.frame();
    if (!frame) return {0, 0};
    const double margin = (frame->xHigh - frame->xLow) * 10 / 200;
    return {frame->xLow - margin, frame->xHigh + margin};
}

struct PanelCase {
    const char* name;
    core::rixs::Panel panel;
    // Independent of the frame: what the demo's files make the axis span.
    double low;
    double high;
};
class PanelFigure : public FigureCommand, public ::testing::WithParamInterface<PanelCase> {};

// Every energy label lies in the panel's range and the axis is titled in eV;
// at least three energies are labelled.
TEST_P(PanelFigure, SvgTickLabelsLieInTheEnergyRange) {
    const PanelCase& c = GetParam();
    const auto out = scratch / (std::string(c.name) + ".svg");
    const CliRun run = figure({c.name, "--out", out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(out.string()), std::string::npos) << run.out;
    const auto [low, high] = panelEnergies(core::Workspace(s_space->path()), c.panel);
    EXPECT_LE(low, c.low);
    EXPECT_GE(high, c.high);
    const auto texts = svgTexts(readFile(out));
    int energies = 0;
    std::string joined;  // a title may come in runs of one script each
    for (const std::string& text : texts) {
        joined += text;
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || value < 1000) continue;  // intensities are below
        EXPECT_GE(value, low) << text;
        EXPECT_LE(value, high) << text;
        ++energies;
    }
    EXPECT_GE(energies, 3);
    EXPECT_NE(joined.find("(eV)"), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(
    Panels, PanelFigure,
    ::testing::Values(PanelCase{"xafs", core::rixs::Panel::Xafs, 7104, 7144},
                      PanelCase{"theory", core::rixs::Panel::Theory, 7030, 7065},
                      PanelCase{"experiment", core::rixs::Panel::Experiment, 7030, 7065}),
    [](const auto& row) { return std::string(row.param.name); });

// Sizes, formats and refusals, one row each.
struct RunCase {
    const char* name;
    std::vector<std::string> arguments;  // "OUT" stands for the output file
    const char* file;
    int exitCode;
    std::uint32_t width;  // of a PNG written; 0: no PNG
    std::uint32_t height;
    const char* starts;  // the file's first bytes, for other formats
};
class FigureRun : public FigureCommand, public ::testing::WithParamInterface<RunCase> {};

TEST_P(FigureRun, WritesOrRefuses) {
    const RunCase& c = GetParam();
    const auto out = scratch / c.file;
    std::vector<std::string> arguments;
    for (const std::string& word : c.arguments)
        arguments.push_back(word == "OUT" ? out.string() : word);
    const CliRun run = figure(arguments);
    ASSERT_EQ(run.exitCode, c.exitCode) << run.out << run.err;
    if (c.exitCode != 0) {
        EXPECT_FALSE(std::filesystem::exists(out));
        if (c.exitCode == 1) {
            EXPECT_NE(run.err.find(out.string()), std::string::npos) << run.err;
        }
        return;
    }
    const std::string bytes = readFile(out);
    if (c.width > 0) {
        EXPECT_EQ(pngSize(bytes), std::pair(c.width, c.height));
    } else {
        EXPECT_EQ(bytes.rfind(c.starts, 0), 0u) << bytes.substr(0, 16);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Cases, FigureRun,
    ::testing::Values(
        RunCase{"DefaultPng", {"theory", "--out", "OUT"}, "a.png", 0, 1600, 1200, ""},
        RunCase{"SizedPng",
                {"experiment", "--out", "OUT", "--size", "800x600"},
                "b.PNG",
                0,
                800,
                600,
                ""},
        RunCase{"Pdf", {"xafs", "--out", "OUT"}, "c.pdf", 0, 0, 0, "%PDF"},
        RunCase{"Map",
                {"map", "--from", "7110", "--to", "7116", "--step", "2", "--out", "OUT", "--size",
                 "900x700"},
                "map.png",
                0,
                900,
                700,
                ""},
        RunCase{"UnwritableFolder", {"theory", "--out", "OUT"}, "missing/a.png", 1, 0, 0, ""},
        RunCase{"NoFormat", {"theory", "--out", "OUT"}, "a.txt", 2, 0, 0, ""},
        RunCase{"BadSize", {"theory", "--out", "OUT", "--size", "800"}, "a.png", 2, 0, 0, ""},
        RunCase{"MapWithoutRange", {"map", "--out", "OUT"}, "a.png", 2, 0, 0, ""},
        RunCase{
            "RangeWithoutMap", {"theory", "--out", "OUT", "--from", "1"}, "a.png", 2, 0, 0, ""}),
    [](const auto& row) { return std::string(row.param.name); });

// A panel the files leave empty is refused by name, with no file written.
TEST(FigureEmpty, APanelWithoutCurvesIsRefused) {
    TempDir space;
    TempDir scratch;
    ASSERT_EQ(runCli({"--workspace", space.path().string(), "create"}, scratch).exitCode, 0);
    core::Workspace workspace(space.path());
    ASSERT_TRUE(workspace.write(core::files::kRixsExperiment, core::PairSpectrum{{7050, 1}}));
    ASSERT_TRUE(workspace.write(core::files::kConvXafsNorm, core::PairSpectrum{{7100, 1}}));
    const auto out = scratch / "t.svg";
    const CliRun run = runCli(
        {"--workspace", space.path().string(), "figure", "theory", "--out", out.string()}, scratch);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("RIXS理論値"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace zephalo::test
