#ifdef ZEPHALO_HAVE_HDF5
#include <H5Cpp.h>
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/workspace/file_names.h"
#include "core/workspace/measured_map.h"
#include "core/workspace/number_text.h"
#include "core/workspace/workspace.h"
#include "core/workspace/workspace_setup.h"
#include "test_support.h"

namespace zephalo::test {
namespace {

using core::MeasuredMap;

enum class Format { Matrix, Triplets, Hdf5 };

// A rectangular map as the three writers below put it into a file.
struct MapGrid {
    std::vector<double> omega{7110, 7111, 7112.5};
    std::vector<double> emission{7050, 7050.5, 7051, 7051.5};
    std::vector<double> intensity;  // row by row: omega × emission
    bool ragged = false;            // one value short, each format its own way

    double& at(std::size_t i, std::size_t j) { return intensity[i * emission.size() + j]; }
};

MapGrid goodSpec() {
    MapGrid grid;
    for (std::size_t i = 0; i < grid.omega.size(); ++i) {
        for (std::size_t j = 0; j < grid.emission.size(); ++j) {
            grid.intensity.push_back(0.001 * static_cast<double>(i + 1) +
                                     0.0001 * static_cast<double>(j));
        }
    }
    return grid;
}

std::string number(double v) {
    if (std::isnan(v)) return "nan";
    return core::formatDigits(v, 12);
}

// N and the emission energies, then Ω and the intensities per line.
std::string matrixText(const MapGrid& grid) {
    std::string text = "# a measured map\n" + std::to_string(grid.emission.size());
    for (double w : grid.emission) text += "\t" + number(w);
    text += "\n";
    for (std::size_t i = 0; i < grid.omega.size(); ++i) {
        text += number(grid.omega[i]);
        const std::size_t columns = grid.emission.size() - (grid.ragged && i == 1 ? 1 : 0);
        for (std::size_t j = 0; j < columns; ++j) {
            text += " " + number(grid.intensity[i * grid.emission.size() + j]);
        }
        text += "\r\n";
    }
    return text;
}

// Ω, ω, intensity per line, emission energy by emission energy (any order).
std::string tripletText(const MapGrid& grid) {
    std::string text;
    for (std::size_t j = 0; j < grid.emission.size(); ++j) {
        for (std::size_t i = 0; i < grid.omega.size(); ++i) {
            text += number(grid.omega[i]) + "\t" + number(grid.emission[j]);
            if (!(grid.ragged && i == 1 && j == 2)) {
                text += "\t" + number(grid.intensity[i * grid.emission.size() + j]);
            }
            text += "\n";
        }
    }
    return text;
}

const core::Hdf5MapPaths kPaths{"/entry/data", "/entry/omega", "/entry/omega_out"};

#ifdef ZEPHALO_HAVE_HDF5
void writeDataset(H5::Group& group, const std::string& name, const std::vector<double>& values,
                  std::vector<hsize_t> dims) {
    H5::DataSpace space(static_cast<int>(dims.size()), dims.data());
    group.createDataSet(name, H5::PredType::NATIVE_DOUBLE, space)
        .write(values.data(), H5::PredType::NATIVE_DOUBLE);
}

// The three datasets of kPaths; ragged: the emission axis one longer than the
// matrix's columns.
void writeHdf5(const std::filesystem::path& file, const MapGrid& grid) {
    H5::H5File h5(file.string(), H5F_ACC_TRUNC);
    H5::Group entry = h5.createGroup("/entry");
    std::vector<double> emission = grid.emission;
    if (grid.ragged) emission.push_back(emission.back() + 1);
    writeDataset(entry, "omega", grid.omega, {grid.omega.size()});
    writeDataset(entry, "omega_out", emission, {emission.size()});
    writeDataset(entry, "data", grid.intensity, {grid.omega.size(), grid.emission.size()});
}
#else
// Built without the library, an HDF5 file is known by its signature alone.
void writeHdf5(const std::filesystem::path& file, const MapGrid&) {
    writeFile(file, "\x89HDF\r\n\x1a\nsuperblock");
}
#endif

MeasuredMap expectedMap(const MapGrid& grid) {
    MeasuredMap map;
    for (std::size_t i = 0; i < grid.omega.size(); ++i) {
        core::MeasuredSpectrum s{grid.omega[i], {}};
        for (std::size_t j = 0; j < grid.emission.size(); ++j) {
            s.points.push_back({grid.emission[j], grid.intensity[i * grid.emission.size() + j]});
        }
        map.push_back(s);
    }
    std::sort(map.begin(), map.end(),
              [](const auto& a, const auto& b) { return a.excitation < b.excitation; });
    return map;
}

void expectSameMap(const MeasuredMap& actual, const MeasuredMap& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_TRUE(near(actual[i].excitation, expected[i].excitation, 1e-12));
        ASSERT_EQ(actual[i].points.size(), expected[i].points.size());
        for (std::size_t k = 0; k < actual[i].points.size(); ++k) {
            EXPECT_TRUE(near(actual[i].points[k].energy, expected[i].points[k].energy, 1e-12));
            EXPECT_TRUE(near(actual[i].points[k].intensity, expected[i].points[k].intensity, 1e-9));
        }
    }
}

struct ReaderCase {
    const char* name;
    Format format;
    std::function<void(MapGrid&)> change;
    // Fragments of the refusal; none: the map is read (and equals the grid).
    std::vector<std::string> says;
};

std::string caseLabel(const ::testing::TestParamInfo<ReaderCase>& info) {
    constexpr const char* kFormats[] = {"Matrix", "Triplets", "Hdf5"};
    return std::string(kFormats[static_cast<int>(info.param.format)]) + "_" + info.param.name;
}

void noChange(MapGrid&) {}
void unsorted(MapGrid& grid) {
    const auto rows = grid.omega.size();
    const auto columns = grid.emission.size();
    std::reverse(grid.omega.begin(), grid.omega.end());
    std::vector<double> flipped;
    for (std::size_t i = rows; i-- > 0;) {
        flipped.insert(flipped.end(), grid.intensity.begin() + static_cast<long>(i * columns),
                       grid.intensity.begin() + static_cast<long>((i + 1) * columns));
    }
    grid.intensity = flipped;
    std::swap(grid.emission[0], grid.emission[3]);
    for (std::size_t i = 0; i < rows; ++i) std::swap(grid.at(i, 0), grid.at(i, 3));
}
void ragged(MapGrid& grid) {
    grid.ragged = true;
}
void notFinite(MapGrid& grid) {
    grid.at(1, 2) = std::numeric_limits<double>::quiet_NaN();
}
void sameOmega(MapGrid& grid) {
    grid.omega[2] = grid.omega[0];
}
void tooMany(MapGrid& grid) {
    grid.omega.clear();
    grid.emission = {7050, 7051};
    grid.intensity.assign(2001 * 2, 0.5);
    for (int i = 0; i < 2001; ++i) grid.omega.push_back(7000 + 0.1 * i);
}
// 1e300 is a number, but not at the display scale of 20000.
void hugeIntensity(MapGrid& grid) {
    grid.at(2, 1) = 1e305;
}

const ReaderCase kReaderCases[] = {
    {"Good", Format::Matrix, noChange, {}},
    {"Good", Format::Triplets, noChange, {}},
    {"Good", Format::Hdf5, noChange, {}},
    {"Unsorted", Format::Matrix, unsorted, {}},
    {"Unsorted", Format::Triplets, unsorted, {}},
    {"Unsorted", Format::Hdf5, unsorted, {}},
    {"Ragged", Format::Matrix, ragged, {"4行目", "5個と合いません"}},
    {"Ragged", Format::Triplets, ragged, {"8行目", "3個（励起エネルギー"}},
    {"Ragged", Format::Hdf5, ragged, {"/entry/data", "3×4", "発光エネルギー5点"}},
    {"NotFinite", Format::Matrix, notFinite, {"4行目", "「nan」"}},
    {"NotFinite", Format::Triplets, notFinite, {"8行目", "「nan」"}},
    {"NotFinite",
     Format::Hdf5,
     notFinite,
     {"/entry/data の要素(1, 2)", "有限の数値ではありません"}},
    {"HugeIntensity", Format::Matrix, hugeIntensity, {"5行目", "強度の20000倍"}},
    {"HugeIntensity", Format::Hdf5, hugeIntensity, {"要素(2, 1)", "強度の20000倍"}},
    {"SameOmega", Format::Matrix, sameOmega, {"3行目と5行目", "同じ励起エネルギー7110eV"}},
    {"SameOmega", Format::Triplets, sameOmega, {"1行目と3行目", "同じ発光エネルギー7050eV"}},
    {"SameOmega", Format::Hdf5, sameOmega, {"/entry/omega の0番目", "2番目", "7110eV"}},
    {"TooMany", Format::Matrix, tooMany, {"2001点", "上限の2000点"}},
    {"TooMany", Format::Triplets, tooMany, {"2001点", "上限の2000点"}},
    {"TooMany", Format::Hdf5, tooMany, {"2001点", "上限の2000点"}},
};

class MapReaders : public ::testing::TestWithParam<ReaderCase> {
protected:
    TempDir dir;
};

TEST_P(MapReaders, ReadOrRefuseNamingTheFileAndThePlace) {
    const ReaderCase& c = GetParam();
    MapGrid grid = goodSpec();
    c.change(grid);
    const auto file = dir / (c.format == Format::Hdf5 ? "map.h5" : "map.txt");
    core::Hdf5MapPaths paths;
    switch (c.format) {
        case Format::Matrix:
            writeFile(file, matrixText(grid));
            break;
        case Format::Triplets:
            writeFile(file, tripletText(grid));
            break;
        case Format::Hdf5:
            writeHdf5(file, grid);
            paths = kPaths;
            break;
    }
    MeasuredMap map{{1.0, {}}};
    const core::Status status = core::readMeasuredMap(file, paths, map);
#ifndef ZEPHALO_HAVE_HDF5
    if (c.format == Format::Hdf5) {
        ASSERT_FALSE(status);
        EXPECT_NE(status.error().find(core::pathText(file) + " はHDF5ファイルですが"),
                  std::string::npos)
            << status.error();
        return;
    }
#endif
    if (c.says.empty()) {
        ASSERT_TRUE(status) << status.error();
        expectSameMap(map, expectedMap(goodSpec()));
        return;
    }
    ASSERT_FALSE(status);
    EXPECT_NE(status.error().find(core::pathText(file)), std::string::npos) << status.error();
    for (const auto& fragment : c.says) {
        EXPECT_NE(status.error().find(fragment), std::string::npos) << status.error();
    }
    ASSERT_EQ(map.size(), 1u) << "a refused map leaves the caller's value";
}

INSTANTIATE_TEST_SUITE_P(AllFormats, MapReaders, ::testing::ValuesIn(kReaderCases), caseLabel);

// Refusals that belong to one layout only.
TEST(MapReaderLayouts, MissingAxesFewPointsAndTransposedHdf5) {
    TempDir dir;
    struct TextCase {
        const char* text;
        const char* says;
    };
    const TextCase cases[] = {
        // The old plane layout, without the corner cell: no count in front.
        {"7050\t7051\t7052\t7053\n7110\t1\t2\t3\t4\n", "発光エネルギーの点数N"},
        {"", "データがありません"},
        {"2\t7050\t7051\n", "データがありません"},
        {"7110 7050 1\n7110 7051 2\n7111 7050 3\n", "7111eVのスペクトル（3行目）"},
        {"3\t7050\t7051\t7050\n7110\t1\t2\t3\n", "1行目の2番目の値と1行目の4番目の値"},
    };
    for (const auto& c : cases) {
        writeFile(dir / "map.txt", c.text);
        MeasuredMap map;
        const auto status = core::readMeasuredMap(dir / "map.txt", {}, map);
        ASSERT_FALSE(status) << c.text;
        EXPECT_NE(status.error().find(c.says), std::string::npos) << status.error();
    }

#ifdef ZEPHALO_HAVE_HDF5
    MapGrid grid = goodSpec();
    writeHdf5(dir / "map.h5", grid);
    MeasuredMap map;
    auto status = core::readMeasuredMap(dir / "map.h5", {}, map);
    EXPECT_NE(status.error().find("--intensity"), std::string::npos) << status.error();
    status = core::readMeasuredMap(dir / "map.h5",
                                   {"/entry/data", "/entry/nothing", "/entry/omega_out"}, map);
    EXPECT_NE(status.error().find("データセット /entry/nothing がありません"), std::string::npos)
        << status.error();
    status = core::readMeasuredMap(dir / "map.txt", kPaths, map);
    EXPECT_NE(status.error().find("HDF5ファイルではない"), std::string::npos) << status.error();

    // A matrix stored emission by excitation reads the same.
    {
        H5::H5File h5((dir / "t.h5").string(), H5F_ACC_TRUNC);
        H5::Group entry = h5.createGroup("/entry");
        writeDataset(entry, "omega", grid.omega, {grid.omega.size()});
        writeDataset(entry, "omega_out", grid.emission, {1, grid.emission.size()});
        std::vector<double> transposed;
        for (std::size_t j = 0; j < grid.emission.size(); ++j) {
            for (std::size_t i = 0; i < grid.omega.size(); ++i) transposed.push_back(grid.at(i, j));
        }
        writeDataset(entry, "data", transposed, {grid.emission.size(), grid.omega.size()});
    }
    status = core::readMeasuredMap(dir / "t.h5", kPaths, map);
    ASSERT_TRUE(status) << status.error();
    expectSameMap(map, expectedMap(grid));
#endif
}

// The import stores the map rounded as the work space holds numbers; a
// refused import leaves the stored map byte for byte.
TEST(MapImport, StoresTheMapOrChangesNothing) {
    TempDir dir;
    const core::Workspace workspace(dir / "ws");
    ASSERT_TRUE(core::createWorkspace(workspace).done);
    MapGrid grid = goodSpec();
    grid.omega[0] = 7110.0000001;  // six significant digits: 7110
    writeFile(dir / "map.txt", matrixText(grid));
    const auto report = core::importRixsMap(workspace, dir / "map.txt", {});
    ASSERT_TRUE(report.done) << report.text;
    EXPECT_NE(report.text.find("励起エネルギー3点、全12点"), std::string::npos) << report.text;
    const std::string stored = readFile(workspace.path(core::files::kRixsExperimentMap));
    EXPECT_EQ(stored.substr(0, stored.find('\n') + 1), "7110\t7050\t0.001\n");
    MeasuredMap back;
    ASSERT_TRUE(workspace.read(core::files::kRixsExperimentMap, back));
    expectSameMap(back, expectedMap(goodSpec()));

    notFinite(grid);
    writeFile(dir / "bad.txt", matrixText(grid));
    const auto refused = core::importRixsMap(workspace, dir / "bad.txt", {});
    EXPECT_FALSE(refused.done);
    EXPECT_NE(refused.text.find("何も変更していません"), std::string::npos) << refused.text;
    EXPECT_EQ(readFile(workspace.path(core::files::kRixsExperimentMap)), stored);
}

}  // namespace
}  // namespace zephalo::test
