#include "core/workspace/records.h"

#include <new>
#include <system_error>

#include "core/workspace/commit.h"
#include "core/workspace/number_text.h"
#include "core/workspace/os_files.h"
#include "core/workspace/storage_texts.h"

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

std::filesystem::path pathFromText(std::string_view utf8) {
    return os::pathOf(utf8);
}

std::string textFromPath(const std::filesystem::path& path) {
    return os::textOf(path);
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Length of the printable UTF-8 character at text[i]; 0 when the bytes there
// are a control character, a byte-order mark or not UTF-8 at all.
std::size_t printableLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(i);
    if (lead < 0x80) return (lead >= 0x20 && lead != 0x7f) ? 1 : 0;
    std::size_t length = 0;
    unsigned code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0u) != 0x80u) return 0;
        code = (code << 6) | (byte(i + k) & 0x3fu);
    }
    constexpr unsigned kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || code > 0x10ffff) return 0;
    if (code >= 0xd800 && code <= 0xdfff) return 0;  // surrogates
    if (code <= 0x9f || code == 0xfeff) return 0;    // C1 controls, byte-order mark
    return length;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Appends text[i...] to `out` up to `count` characters, every byte that is
// not printable UTF-8 written as \x00; returns where it stopped.
std::size_t appendEscaped(std::string_view text, std::size_t count, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::size_t i = 0;
    for (std::size_t shown = 0; i < text.size() && shown < count; ++shown) {
        if (const std::size_t length = printableLength(text, i); length > 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            const auto byte = static_cast<unsigned char>(text[i++]);
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xfu];
        }
    }
    return i;
}

}  // namespace

std::string pathText(const std::filesystem::path& path) {
    return escapedText(textFromPath(path));
}

std::string escapedText(std::string_view text) {
    std::string out;
    appendEscaped(text, text.size(), out);
    return out;
}

bool isLineEnd(std::string_view text, std::size_t i) {
    return text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
}

std::string echoedToken(std::string_view token) {
    constexpr std::size_t kShown = 40;  // characters or escaped bytes
    std::string out;
    if (appendEscaped(token, kShown, out) < token.size()) out += "...";
    return out;
}

Status parseNumberText(std::string_view text, std::string_view fileLabel, NumberText& out) {
    out.values.clear();
    out.lines.clear();
    int line = 1;
    std::size_t i = 0;
    bool lineStart = true;
    while (i < text.size()) {
        const char c = text[i];
        if (isLineEnd(text, i)) {
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
            while (i < text.size() && !isLineEnd(text, i)) ++i;
            continue;
        }
        lineStart = false;
        std::size_t end = i;
        while (end < text.size() && text[end] != '\n' && !isBlank(text[end])) ++end;
        const std::string_view token = text.substr(i, end - i);
        const auto value = parseNumber(token);
        if (!value) {
            return Status::failure(core::texts::kParseNumberTextPart1 + std::string(fileLabel) +
                                   core::texts::kParseNumberTextPart2 + std::to_string(line) +
                                   core::texts::kParseNumberTextPart3 + echoedToken(token) +
                                   core::texts::kParseNumberTextPart4);
        }
        out.values.push_back(*value);
        out.lines.push_back(line);
        i = end;
    }
    return {};
}

namespace {

// The outcome of a bounded read as a status naming the file.
Status readStatus(os::ReadResult result, const std::string& label, std::uintmax_t size,
                  std::uintmax_t maxBytes) {
    switch (result) {
        case os::ReadResult::Done:
            return {};
        case os::ReadResult::CannotOpen:
            return Status::failure(texts::cannotOpenText(label));
        case os::ReadResult::Folder:
            return Status::failure(texts::folderText(label));
        case os::ReadResult::NotRegular:
            return Status::failure(texts::notRegularText(label));
        case os::ReadResult::Link:
            return Status::failure(texts::linkText(label));
        case os::ReadResult::TooLarge:
            return Status::failure(texts::tooLargeText(label, size, maxBytes));
        case os::ReadResult::ReadFailed:
            break;
    }
    return Status::failure(texts::cannotReadText(label));
}

template <class Read>
Status readBoundedText(const std::string& label, std::uintmax_t maxBytes, std::string& out,
                       Read read) {
    std::string text;
    std::uintmax_t size = 0;
    os::ReadResult result = os::ReadResult::ReadFailed;
    try {
        result = read(text, size);
    } catch (const std::bad_alloc&) {
        return Status::failure(texts::cannotReadText(label));
    }
    if (auto status = readStatus(result, label, size, maxBytes); !status) return status;
    if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
    out = std::move(text);
    return {};
}

}  // namespace

Status readTextFile(const std::filesystem::path& file, std::string& out, std::uintmax_t maxBytes) {
    return readBoundedText(pathText(file), maxBytes, out,
                           [&](std::string& text, std::uintmax_t& size) {
                               return os::readRegularFile(file, maxBytes, text, size);
                           });
}

Status readFolderFile(const os::Folder& folder, std::string_view name, std::string& out,
                      std::uintmax_t maxBytes) {
    return readBoundedText(pathText(folder.path() / pathFromText(name)), maxBytes, out,
                           [&](std::string& text, std::uintmax_t& size) {
                               return folder.read(name, maxBytes, text, size);
                           });
}

Status writeTextFileAtomic(const std::filesystem::path& file, std::string_view content) {
    // Files of the work space go through Workspace and its step; this is for
    // the files a user saves elsewhere.
    std::filesystem::path temporary;
    if (auto status = writeTemporary(file, content, temporary); !status) return status;
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return Status::failure(texts::cannotWriteText(pathText(file)));
    }
    return {};
}

Status parseRecords(std::string_view text, std::string_view fileLabel, std::size_t columns,
                    std::size_t capacity, std::vector<double>& values, std::vector<int>* lines) {
    NumberText numbers;
    if (auto status = parseNumberText(text, fileLabel, numbers); !status) return status;
    const std::string label(fileLabel);
    if (numbers.values.size() % columns != 0) {
        return Status::failure(
            core::texts::kParseRecordsPart1 + label + core::texts::kParseRecordsPart2 +
            std::to_string(numbers.values.size()) + core::texts::kParseRecordsPart3 +
            std::to_string(columns) + core::texts::kParseRecordsPart4 +
            std::to_string(numbers.lines.back()) + core::texts::kParseRecordsPart5);
    }
    const std::size_t records = numbers.values.size() / columns;
    if (records > capacity) {
        return Status::failure(core::texts::kParseRecordsPart6 + label +
                               core::texts::kParseRecordsPart7 + std::to_string(records) +
                               core::texts::kParseRecordsPart8 + std::to_string(capacity) +
                               core::texts::kParseRecordsPart9);
    }
    if (lines) {
        lines->clear();
        for (std::size_t i = 0; i < numbers.lines.size(); i += columns)
            lines->push_back(numbers.lines[i]);
    }
    values = std::move(numbers.values);
    return {};
}

Status readRecordFile(const std::filesystem::path& file, std::size_t columns, std::size_t capacity,
                      std::vector<double>& values, std::vector<int>* lines) {
    std::string text;
    if (auto status = readTextFile(file, text); !status) return status;
    return parseRecords(text, pathText(file), columns, capacity, values, lines);
}

Status readPairFile(const std::filesystem::path& file, PairSpectrum& out, std::size_t capacity,
                    std::vector<int>* lines) {
    std::vector<double> values;
    if (auto status = readRecordFile(file, 2, capacity, values, lines); !status) return status;
    out.clear();
    out.reserve(values.size() / 2);
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        out.push_back({values[i], values[i + 1]});
    return {};
}

}  // namespace zephalo::core
