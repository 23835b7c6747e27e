#include "core/xafs/selective_import.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/number_text.h"

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
    return std::to_string(line) + "行目";
}

constexpr std::string_view kWien2kHint =
    "\r\n　WIEN2kの計算ファイル（4語のヘッダーの後にエネルギーと強度の組）を選んで下さい。";

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
        return Status::failure(
            "　ファイル " + label + " には4語のヘッダーの後にデータがありません（" +
            std::to_string(words.size()) + "語だけです）。" + std::string(kWien2kHint));
    }
    const Word& fifth = words[kWien2kHeaderWords];
    if (!parseNumber(fifth.text)) {
        return Status::failure("　ファイル " + label +
                               " のヘッダーが4語ではありません。\r\n　5語目の「" +
                               echoedToken(fifth.text) + "」（" + lineText(fifth.line) +
                               "）が数値ではありません。" + std::string(kWien2kHint));
    }
    if (headerEndsEarly(words)) {
        const Word& fourth = words[kWien2kHeaderWords - 1];
        return Status::failure("　ファイル " + label +
                               " のヘッダーが4語ではありません。\r\n　4語目の「" +
                               echoedToken(fourth.text) + "」（" + lineText(fourth.line) +
                               "）はデータの数値で、ヘッダーとして読み飛ばされてしまいます。" +
                               std::string(kWien2kHint));
    }
    std::vector<double> values;
    values.reserve(words.size() - kWien2kHeaderWords);
    for (std::size_t i = kWien2kHeaderWords; i < words.size(); ++i) {
        const auto value = parseNumber(words[i].text);
        if (!value) {
            return Status::failure("　ファイル " + label + " の" + lineText(words[i].line) +
                                   "に数値として読めない文字列「" + echoedToken(words[i].text) +
                                   "」があります。");
        }
        values.push_back(*value);
    }
    if (values.size() % 2 != 0) {
        return Status::failure("　ファイル " + label + " のデータの数値の個数（" +
                               std::to_string(values.size()) + "個）が偶数ではありません。" +
                               lineText(words.back().line) +
                               "のエネルギーと強度の組が欠けています。");
    }
    const std::size_t pairs = values.size() / 2;
    if (pairs > kMaxPoints) {
        return Status::failure("　ファイル " + label + " のデータは" + std::to_string(pairs) +
                               "点あり、上限の" + std::to_string(kMaxPoints) +
                               "点を超えています。");
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
        return Status::failure("　ファイル " + pathText(file) +
                               " にはデータ（エネルギー、Y1、Y2の組）がありません。");
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
