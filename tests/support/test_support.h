#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// Shared helpers of the test suites: one tolerant number comparison and a
// temporary work space per test.
namespace zephalo::test {

// |actual - expected| <= abs + rel * |expected|, with a readable failure.
inline ::testing::AssertionResult near(double actual, double expected, double rel,
                                       double abs = 0.0) {
    const double allowed = abs + rel * std::fabs(expected);
    if (std::fabs(actual - expected) <= allowed) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "actual " << actual << " vs expected " << expected << " (difference "
           << std::fabs(actual - expected) << ", allowed " << allowed << ")";
}

// Whether `text` holds `part`.
inline bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A parameterised case's name from any text: letters and digits kept, every
// other run of characters one underscore ("Fe K-edge" -> "Fe_K_edge"), a
// leading minus as "minus"; "empty" when nothing is left.
inline std::string caseName(std::string_view text) {
    std::string name;
    if (!text.empty() && text.front() == '-') name = "minus";
    for (char c : text) {
        const bool kept =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (kept) {
            name += c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name.empty() ? "empty" : name;
}

// A number as a case name: -9.9 -> "minus9_9".
inline std::string caseName(double value) {
    std::ostringstream text;
    text << value;
    return caseName(text.str());
}

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("zephalo-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of a text, each without its "\n".
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// `actual` against the golden file tests/data/`name`: the same number of
// lines and every line equal. To regenerate the golden files on purpose
// after a deliberate change of output, run the tests with
// ZEPHALO_REGENERATE_GOLDEN=1 and review the difference before committing.
inline ::testing::AssertionResult matchesGolden(const std::string& actual,
                                                const std::string& name) {
    const std::filesystem::path file = std::filesystem::path(ZEPHALO_TEST_DATA_DIR) / name;
    if (std::getenv("ZEPHALO_REGENERATE_GOLDEN")) writeFile(file, actual);
    if (!std::filesystem::exists(file)) {
        return ::testing::AssertionFailure() << file << " is missing";
    }
    const auto expected = linesOf(readFile(file));
    const auto got = linesOf(actual);
    if (got.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << name << ": " << got.size() << " lines, golden " << expected.size();
    }
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] != expected[i]) {
            return ::testing::AssertionFailure() << name << " line " << i + 1 << ": \"" << got[i]
                                                 << "\", golden \"" << expected[i] << "\"";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace zephalo::test
