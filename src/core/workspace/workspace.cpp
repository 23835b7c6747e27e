#include "workspace/workspace.h"

#include <cstdlib>
#include <system_error>

#include "workspace/number_text.h"

namespace zephalo::core {

namespace {

std::filesystem::path homeFolder() {
#ifdef _WIN32
    if (const char* profile = std::getenv("USERPROFILE"); profile && *profile) return profile;
    return "C:\\";
#else
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    return "/";
#endif
}

}  // namespace

Workspace::Workspace(std::filesystem::path directory) : m_directory(std::move(directory)) {}

std::filesystem::path Workspace::defaultDirectory() {
    if (const char* overridden = std::getenv("ZEPHALO_WORK_SPACE"); overridden && *overridden) {
        return pathFromText(overridden);
    }
#ifdef _WIN32
    return "C:\\ZEPHALO_WORK_SPACE";
#else
    return homeFolder() / "ZEPHALO_WORK_SPACE";
#endif
}

std::filesystem::path Workspace::dataFolder() {
#ifdef _WIN32
    const std::filesystem::path preferred = "c:\\ZEPHALO";
#else
    const std::filesystem::path preferred = homeFolder() / "ZEPHALO";
#endif
    std::error_code ec;
    if (std::filesystem::is_directory(preferred, ec)) return preferred;
    return homeFolder();
}

std::string Workspace::directoryText() const {
    return pathText(m_directory);
}

std::filesystem::path Workspace::path(std::string_view fileName) const {
    return m_directory / pathFromText(fileName);
}

bool Workspace::exists(std::string_view fileName) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path(fileName), ec);
}

Status Workspace::ensureDirectory() const {
    std::error_code ec;
    if (std::filesystem::is_directory(m_directory, ec)) return {};
    if (std::filesystem::exists(m_directory, ec)) {
        return Status::failure("　" + directoryText() +
                               " はファイルなので、作業用のディレクトリとして使えません。\r\n"
                               "　別の場所を ZEPHALO_WORK_SPACE で指定して下さい。");
    }
    std::filesystem::create_directories(m_directory, ec);
    if (ec || !std::filesystem::is_directory(m_directory, ec)) {
        return Status::failure(
            "　作業用のディレクトリ " + directoryText() +
            " を作成できませんでした。\r\n　親フォルダーの書き込み権限を確認して下さい。");
    }
    return {};
}

Status Workspace::readValues(std::string_view fileName, std::size_t columns, std::size_t capacity,
                             std::vector<double>& values, bool& found) const {
    found = exists(fileName);
    if (!found) {
        values.clear();
        return {};
    }
    return readRecordFile(path(fileName), columns, capacity, values);
}

Status Workspace::readOneLine(std::string_view fileName, std::size_t count,
                              std::vector<double>& values, bool& found) const {
    found = exists(fileName);
    if (!found) return {};
    std::string text;
    if (auto status = readTextFile(path(fileName), text); !status) return status;
    NumberText numbers;
    if (auto status = parseNumberText(text, pathText(path(fileName)), numbers); !status) {
        return status;
    }
    if (numbers.values.size() < count) {
        return Status::failure("　ファイル " + pathText(path(fileName)) + " の数値が" +
                               std::to_string(count) + "個に足りません。");
    }
    values.assign(numbers.values.begin(), numbers.values.begin() + static_cast<long>(count));
    return {};
}

Status Workspace::read(std::string_view fileName, PairSpectrum& out, std::size_t capacity) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readValues(fileName, 2, capacity, v, found); !status) return status;
    out.clear();
    out.reserve(v.size() / 2);
    for (std::size_t i = 0; i < v.size(); i += 2) out.push_back({v[i], v[i + 1]});
    return {};
}

Status Workspace::read(std::string_view fileName, SelectiveXafsTable& out,
                       std::size_t capacity) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readValues(fileName, 3, capacity, v, found); !status) return status;
    out.clear();
    out.reserve(v.size() / 3);
    for (std::size_t i = 0; i < v.size(); i += 3) out.push_back({v[i], v[i + 1], v[i + 2]});
    return {};
}

Status Workspace::read(std::string_view fileName, QuadSpectrum& out, std::size_t capacity) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readValues(fileName, 4, capacity, v, found); !status) return status;
    out.clear();
    out.reserve(v.size() / 4);
    for (std::size_t i = 0; i < v.size(); i += 4)
        out.push_back({v[i], v[i + 1], v[i + 2], v[i + 3]});
    return {};
}

Status Workspace::read(std::string_view fileName, MinMaxRecord& out) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readOneLine(fileName, 4, v, found); !status || !found) return status;
    out = {v[0], v[1], v[2], v[3]};
    return {};
}

Status Workspace::read(std::string_view fileName, CalculationParameters& out) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readOneLine(fileName, 7, v, found); !status || !found) return status;
    out = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
    return {};
}

Status Workspace::read(std::string_view fileName, FinalStateFunction& out) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readOneLine(fileName, 13, v, found); !status || !found) return status;
    // Mode 1 means two components; any other value, even one beyond the range
    // of an integer, one component.
    out.mode = (v[0] >= -1e9 && v[0] <= 1e9) ? static_cast<int>(v[0]) : 0;
    for (std::size_t i = 0; i < 4; ++i) {
        out.width[i] = v[1 + i];
        out.position[i] = v[5 + i];
        out.amplitude[i] = v[9 + i];
    }
    return {};
}

Status Workspace::read(std::string_view fileName, double& out) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readOneLine(fileName, 1, v, found); !status || !found) return status;
    out = v[0];
    return {};
}

Status Workspace::writeText(std::string_view fileName, std::string_view text) const {
    return writeTextFileAtomic(path(fileName), text);
}

Status Workspace::write(std::string_view fileName, const PairSpectrum& points) const {
    return writeText(fileName, formatRecords(points));
}
Status Workspace::write(std::string_view fileName, const SelectiveXafsTable& points) const {
    return writeText(fileName, formatRecords(points));
}
Status Workspace::write(std::string_view fileName, const QuadSpectrum& points) const {
    return writeText(fileName, formatRecords(points));
}
Status Workspace::write(std::string_view fileName, const MinMaxRecord& record) const {
    return writeText(fileName, formatRecord(record));
}
Status Workspace::write(std::string_view fileName, const CalculationParameters& parameters) const {
    return writeText(fileName, formatRecord(parameters));
}
Status Workspace::write(std::string_view fileName, const FinalStateFunction& function) const {
    return writeText(fileName, formatRecord(function));
}
Status Workspace::write(std::string_view fileName, double value, bool lineEnd) const {
    std::string text = formatNumber(value);
    if (lineEnd) text += '\n';
    return writeText(fileName, text);
}

}  // namespace zephalo::core
