#include "workspace/records.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "workspace/number_text.h"

namespace zephalo::core {

// --- Extremes -------------------------------------------------------------

void MinMaxScan::addX(double x) {
    if (x < m_record.xmin) m_record.xmin = x;
    if (x > m_record.xmax) m_record.xmax = x;
}

void MinMaxScan::addY(double y) {
    if (y < m_record.ymin) m_record.ymin = y;
    if (y > m_record.ymax) m_record.ymax = y;
}

MinMaxRecord minMaxOf(std::span<const PairPoint> points, double yFactor) {
    MinMaxScan scan;
    for (const auto& p : points) {
        scan.addX(p.energy);
        scan.addY(p.intensity * yFactor);
    }
    return scan.record();
}

MinMaxRecord minMaxOf(std::span<const XafsPoint> points, double yFactor) {
    MinMaxScan scan;
    for (const auto& p : points) {
        scan.addX(p.energy);
        scan.addY(p.a * yFactor);
        scan.addY(p.b * yFactor);
    }
    return scan.record();
}

// --- Formatting -----------------------------------------------------------

std::string formatRecord(std::initializer_list<double> values) {
    std::string line;
    for (double v : values) {
        if (!line.empty()) line += '\t';
        line += formatNumber(v);
    }
    line += '\n';
    return line;
}

std::string formatRecords(std::span<const PairPoint> points) {
    std::string text;
    text.reserve(points.size() * 20);
    for (const auto& p : points) text += formatRecord({p.energy, p.intensity});
    return text;
}

std::string formatRecords(std::span<const XafsPoint> points) {
    std::string text;
    text.reserve(points.size() * 28);
    for (const auto& p : points) text += formatRecord({p.energy, p.a, p.b});
    return text;
}

std::string formatRecords(std::span<const QuadPoint> points) {
    std::string text;
    text.reserve(points.size() * 40);
    for (const auto& p : points) text += formatRecord({p.energy, p.total, p.comp1, p.comp2});
    return text;
}

std::string formatRecord(const MinMaxRecord& r) {
    return formatRecord({r.xmin, r.xmax, r.ymin, r.ymax});
}

std::string formatRecord(const CalculationParameters& p) {
    return formatRecord({p.lifetimeWidth, p.coreEnergy, p.gridStart, p.gridEnd, p.gridStep,
                         p.absorptionFactor, p.scalingFactor});
}

std::string formatRecord(const FinalStateFunction& f) {
    // The mode is an integer field; the twelve line parameters follow.
    std::string line = std::to_string(f.mode);
    for (const auto* group : {&f.width, &f.position, &f.amplitude}) {
        for (double v : *group) {
            line += '\t';
            line += formatNumber(v);
        }
    }
    line += '\n';
    return line;
}

// --- Reading --------------------------------------------------------------

std::string pathText(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::filesystem::path pathFromText(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string shortened(std::string_view token) {
    constexpr std::size_t kShown = 40;
    if (token.size() <= kShown) return std::string(token);
    return std::string(token.substr(0, kShown)) + "...";
}

}  // namespace

Status parseNumberText(std::string_view text, std::string_view fileLabel, NumberText& out) {
    out.values.clear();
    out.lines.clear();
    int line = 1;
    std::size_t i = 0;
    bool lineStart = true;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = true;
            ++i;
            continue;
        }
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (lineStart && c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            continue;
        }
        lineStart = false;
        std::size_t end = i;
        while (end < text.size() && text[end] != '\n' && !isBlank(text[end])) ++end;
        const std::string_view token = text.substr(i, end - i);
        const auto value = parseNumber(token);
        if (!value) {
            return Status::failure("　ファイル " + std::string(fileLabel) + " の" +
                                   std::to_string(line) + "行目に数値として読めない文字列「" +
                                   shortened(token) + "」があります。");
        }
        out.values.push_back(*value);
        out.lines.push_back(line);
        i = end;
    }
    return {};
}

Status readTextFile(const std::filesystem::path& file, std::string& out) {
    // A folder opens as a stream on some systems and then reads as empty.
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        return Status::failure("　" + pathText(file) +
                               " はフォルダーなので、ファイルとして開けません。");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return Status::failure("　ファイル " + pathText(file) + " を開けませんでした。");
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return Status::failure("　ファイル " + pathText(file) + " を読めませんでした。");
    out = std::move(content).str();
    return {};
}

Status writeTextFileAtomic(const std::filesystem::path& file, std::string_view content) {
    const auto failed = [&] {
        return Status::failure("　ファイル " + pathText(file) + " に書き込めませんでした。");
    };
    std::filesystem::path temporary = file;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return failed();
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return failed();
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return failed();
    }
    return {};
}

Status readRecordFile(const std::filesystem::path& file, std::size_t columns, std::size_t capacity,
                      std::vector<double>& values) {
    std::string text;
    if (auto status = readTextFile(file, text); !status) return status;
    NumberText numbers;
    const std::string label = pathText(file);
    if (auto status = parseNumberText(text, label, numbers); !status) return status;
    if (numbers.values.size() % columns != 0) {
        return Status::failure("　ファイル " + label + " の数値の個数（" +
                               std::to_string(numbers.values.size()) + "個）が" +
                               std::to_string(columns) + "の倍数ではありません。\r\n　" +
                               std::to_string(numbers.lines.back()) + "行目の組が欠けています。");
    }
    const std::size_t records = numbers.values.size() / columns;
    if (records > capacity) {
        return Status::failure("　ファイル " + label + " のデータは" + std::to_string(records) +
                               "点あり、上限の" + std::to_string(capacity) + "点を超えています。");
    }
    values = std::move(numbers.values);
    return {};
}

Status readPairFile(const std::filesystem::path& file, PairSpectrum& out, std::size_t capacity) {
    std::vector<double> values;
    if (auto status = readRecordFile(file, 2, capacity, values); !status) return status;
    out.clear();
    out.reserve(values.size() / 2);
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        out.push_back({values[i], values[i + 1]});
    return {};
}

}  // namespace zephalo::core
