#include "core/xafs/selective_import.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/number_text.h"
#include "core/xafs/xafs_texts.h"

namespace zephalo::core::xafs {

namespace {

struct Word {
    std::string_view text;
    int line = 1;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::vector<Word> wordsOf(std::string_view text) {
    std::vector<Word> words;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isLineEnd(text, i)) ++line;
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isBlank(text[end])) ++end;
        words.push_back({text.substr(i, end - i), line});
        i = end;
    }
    return words;
}

std::string lineText(int line) {
    return text::fill(core::xafs::texts::kLineText, {std::to_string(line)});
}

constexpr text::Text kWien2kHint = core::xafs::texts::kWien2kHintText;

// A header shorter than four words pulls data into the header: the fourth
// word then shares its line with the first data word, or stands on a line
// of numbers only.
bool headerEndsEarly(const std::vector<Word>& words) {
    const Word& last = words[kWien2kHeaderWords - 1];
    if (words.size() > kWien2kHeaderWords && words[kWien2kHeaderWords].line == last.line) {
        return true;
    }
    for (const Word& w : words) {
        if (w.line == last.line && !parseNumber(w.text)) return false;
    }
    return true;
}

}  // namespace

Status readWien2kFile(const std::filesystem::path& file, PairSpectrum& out,
                      std::vector<int>* lines) {
    std::string text;
    if (auto status = readTextFile(file, text); !status) return status;
    const std::string label = pathText(file);
    const std::vector<Word> words = wordsOf(text);
    if (words.size() <= kWien2kHeaderWords) {
        return Status::failure(core::xafs::texts::kReadWien2kFilePart1 + label +
                               core::xafs::texts::kReadWien2kFilePart2 +
                               std::to_string(words.size()) +
                               core::xafs::texts::kReadWien2kFilePart3 + std::string(kWien2kHint));
    }
    const Word& fifth = words[kWien2kHeaderWords];
    if (!parseNumber(fifth.text)) {
        return Status::failure(core::xafs::texts::kReadWien2kFilePart4 + label +
                               core::xafs::texts::kReadWien2kFilePart5 + echoedToken(fifth.text) +
                               core::xafs::texts::kTokenThenLine + lineText(fifth.line) +
                               core::xafs::texts::kReadWien2kFilePart6 + std::string(kWien2kHint));
    }
    if (headerEndsEarly(words)) {
        const Word& fourth = words[kWien2kHeaderWords - 1];
        return Status::failure(core::xafs::texts::kReadWien2kFilePart7 + label +
                               core::xafs::texts::kReadWien2kFilePart8 + echoedToken(fourth.text) +
                               core::xafs::texts::kTokenThenLine + lineText(fourth.line) +
                               core::xafs::texts::kReadWien2kFilePart9 + std::string(kWien2kHint));
    }
    std::vector<double> values;
    values.reserve(words.size() - kWien2kHeaderWords);
    for (std::size_t i = kWien2kHeaderWords; i < words.size(); ++i) {
        const auto value = parseNumber(words[i].text);
        if (!value) {
            return Status::failure(
                core::xafs::texts::kReadWien2kFilePart10 + label +
                core::xafs::texts::kReadWien2kFilePart11 + lineText(words[i].line) +
                core::xafs::texts::kReadWien2kFilePart12 + echoedToken(words[i].text) +
                core::xafs::texts::kReadWien2kFilePart13);
        }
        values.push_back(*value);
    }
    if (values.size() % 2 != 0) {
        return Status::failure(
            core::xafs::texts::kReadWien2kFilePart14 + label +
            core::xafs::texts::kReadWien2kFilePart15 + std::to_string(values.size()) +
            core::xafs::texts::kReadWien2kFilePart16 + lineText(words.back().line) +
            core::xafs::texts::kReadWien2kFilePart17);
    }
    const std::size_t pairs = values.size() / 2;
    if (pairs > kMaxPoints) {
        return Status::failure(core::xafs::texts::kReadWien2kFilePart18 + label +
                               core::xafs::texts::kReadWien2kFilePart19 + std::to_string(pairs) +
                               core::xafs::texts::kReadWien2kFilePart20 +
                               std::to_string(kMaxPoints) +
                               core::xafs::texts::kReadWien2kFilePart21);
    }
    out.clear();
    out.reserve(pairs);
    for (std::size_t i = 0; i < values.size(); i += 2) out.push_back({values[i], values[i + 1]});
    if (lines) {
        lines->clear();
        for (std::size_t i = 0; i < values.size(); i += 2)
            lines->push_back(words[kWien2kHeaderWords + i].line);
    }
    return {};
}

Status readGeneralFile(const std::filesystem::path& file, SelectiveXafsTable& out,
                       std::vector<int>* lines) {
    std::vector<double> values;
    if (auto status = readRecordFile(file, 3, kMaxPoints, values, lines); !status) return status;
    if (values.empty()) {
        return Status::failure(core::xafs::texts::kReadGeneralFilePart1 + pathText(file) +
                               core::xafs::texts::kReadGeneralFilePart2);
    }
    out.clear();
    out.reserve(values.size() / 3);
    for (std::size_t i = 0; i < values.size(); i += 3) {
        out.push_back({values[i], values[i + 1], values[i + 2]});
    }
    return {};
}

GridScale gridScaleOf(std::span<const XafsPoint> records) {
    GridScale scale;
    for (const auto& r : records) {
        if (r.energy < scale.xmin) scale.xmin = r.energy;
        if (r.a > scale.amax) scale.amax = r.a;
        if (r.b > scale.bmax) scale.bmax = r.b;
    }
    return scale;
}

SelectiveXafsTable resampleOnGrid(std::span<const XafsPoint> records, std::size_t searched,
                                  const GridScale& scale) {
    SelectiveXafsTable out;
    const std::size_t n = records.size();
    searched = std::min(searched, n);
    for (std::size_t j = 0; j < n; ++j) {
        const double t = scale.xmin + kGridStep * static_cast<double>(j);
        for (std::size_t i = 0; i < searched; ++i) {
            const auto& r = records[i];
            if (std::fabs(t - r.energy) < kGridTolerance) {
                out.push_back({r.energy, r.a / scale.amax, r.b / scale.bmax});
                break;
            }
        }
    }
    return out;
}

SelectiveXafsTable mergeComponents(std::span<const PairPoint> first,
                                   std::span<const PairPoint> second,
                                   std::vector<MergeSource>* sources) {
    SelectiveXafsTable merged;
    merged.reserve(second.size());
    if (sources) sources->clear();
    for (std::size_t j = 0; j < second.size(); ++j) {
        const PairPoint& p2 = second[j];
        std::optional<std::size_t> partner;
        for (std::size_t i = 0; i < first.size(); ++i) {
            if (std::fabs(p2.energy - first[i].energy) < kMergeTolerance - kRoundingSlack)
                partner = i;
        }
        if (!partner) continue;
        merged.push_back({p2.energy, first[*partner].intensity, p2.intensity});
        if (sources) sources->push_back({*partner, j});
    }
    return merged;
}

}  // namespace zephalo::core::xafs
