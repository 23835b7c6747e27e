#include "core/workspace/measured_map.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <numeric>
#include <optional>
#include <span>
#include <utility>

#include "core/workspace/file_names.h"
#include "core/workspace/hdf5_datasets.h"
#include "core/workspace/map_texts.h"
#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"
#include "core/workspace/workspace_setup.h"

namespace zephalo::core {

namespace {

// One point of a map being read, with its place in the source: `a` and `b`
// are what the reader's Place turns into words (a line; a row and a column).
struct Entry {
    double omega;
    double energy;
    double intensity;
    std::size_t a;
    std::size_t b;
};
using Place = std::function<std::string(std::size_t a, std::size_t b)>;

// Two indices of a value that occurs twice, if any.
std::optional<std::pair<std::size_t, std::size_t>> repeated(std::span<const double> values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t i, std::size_t j) { return values[i] < values[j]; });
    for (std::size_t k = 1; k < order.size(); ++k) {
        if (values[order[k - 1]] == values[order[k]]) return std::pair{order[k - 1], order[k]};
    }
    return std::nullopt;
}

// Sorts the points by Ω and ω, groups them by Ω and checks every spectrum as
// a single measured spectrum is checked.
Status buildMap(std::vector<Entry>& entries, std::string_view label, const Place& place,
                MeasuredMap& out) {
    if (entries.empty()) return Status::failure(texts::mapNoDataText(label));
    const auto before = [](const Entry& x, const Entry& y) {
        return x.omega < y.omega || (x.omega == y.omega && x.energy < y.energy);
    };
    if (!std::is_sorted(entries.begin(), entries.end(), before)) {
        std::stable_sort(entries.begin(), entries.end(), before);
    }
    std::size_t groups = 1;
    for (std::size_t k = 1; k < entries.size(); ++k) {
        if (entries[k].omega != entries[k - 1].omega) ++groups;
    }
    if (groups > kMaxMapExcitations) {
        return Status::failure(texts::mapTooManyExcitationsText(label, groups, kMaxMapExcitations));
    }
    MeasuredMap map;
    map.reserve(groups);
    for (std::size_t begin = 0; begin < entries.size();) {
        const double omega = entries[begin].omega;
        std::size_t end = begin + 1;
        while (end < entries.size() && entries[end].omega == omega) ++end;
        const std::size_t count = end - begin;
        if (count > kMaxPoints) {
            return Status::failure(
                texts::mapTooManyPointsText(label, formatNumber(omega), count, kMaxPoints));
        }
        if (count < 2) {
            return Status::failure(texts::mapTooFewPointsText(
                label, formatNumber(omega), place(entries[begin].a, entries[begin].b)));
        }
        MeasuredSpectrum spectrum{omega, {}};
        spectrum.points.reserve(count);
        for (std::size_t k = begin; k < end; ++k) {
            const Entry& e = entries[k];
            if (k > begin && e.energy == entries[k - 1].energy) {
                return Status::failure(texts::mapSameEmissionText(
                    label, place(entries[k - 1].a, entries[k - 1].b), place(e.a, e.b),
                    formatNumber(omega), formatNumber(e.energy)));
            }
            // Its extremes are shown at the measured spectrum's display scale.
            if (!std::isfinite(e.intensity * kRixsExperimentScale)) {
                return Status::failure(texts::mapNonFiniteText(
                    label, place(e.a, e.b),
                    texts::scaledIntensityText(formatNumber(kRixsExperimentScale),
                                               files::kRixsExperimentMinMax)));
            }
            spectrum.points.push_back({e.energy, e.intensity});
        }
        map.push_back(std::move(spectrum));
        begin = end;
    }
    out = std::move(map);
    return {};
}

// A text map, matrix or triplets (see readMeasuredMap).
// `stored`: the work space's own triplets, already rounded.
Status readTextMap(std::string_view text, std::string_view label, bool stored, MeasuredMap& out) {
    NumberText numbers;
    if (auto status = parseNumberText(text, label, numbers); !status) return status;
    if (numbers.values.empty()) return Status::failure(texts::mapNoDataText(label));
    auto& values = numbers.values;
    if (!stored) {
        for (double& v : values) v = storedValue(v);
    }
    // Each line as the range [first, last) of its values.
    std::vector<std::pair<std::size_t, std::size_t>> lines;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i == 0 || numbers.lines[i] != numbers.lines[i - 1]) lines.emplace_back(i, i);
        lines.back().second = i + 1;
    }
    const auto lineOf = [&](std::size_t row) {
        return static_cast<std::size_t>(numbers.lines[lines[row].first]);
    };
    const auto sizeOf = [&](std::size_t row) { return lines[row].second - lines[row].first; };
    const Place onLine = [](std::size_t line, std::size_t) { return texts::lineText(line); };

    std::vector<Entry> entries;
    // A line of three values that cannot be a matrix's first line (two
    // emission energies counted by a leading 2) starts a triplet file.
    if (stored || (sizeOf(0) == 3 && values[0] != 2.0)) {
        entries.reserve(values.size() / 3);
        for (std::size_t row = 0; row < lines.size(); ++row) {
            if (sizeOf(row) != 3) {
                return Status::failure(texts::mapTripletText(label, lineOf(row), sizeOf(row)));
            }
            const double* v = values.data() + lines[row].first;
            entries.push_back({v[0], v[1], v[2], lineOf(row), 0});
        }
        return buildMap(entries, label, onLine, out);
    }

    const std::size_t columns = sizeOf(0) - 1;
    if (values[0] != static_cast<double>(columns) || columns == 0) {
        return Status::failure(texts::mapLayoutText(label));
    }
    const std::span<const double> emission(values.data() + 1, columns);
    if (auto twice = repeated(emission)) {
        return Status::failure(
            texts::mapSameAxisEmissionText(label, texts::lineValueText(lineOf(0), twice->first + 2),
                                           texts::lineValueText(lineOf(0), twice->second + 2),
                                           formatNumber(emission[twice->first])));
    }
    std::vector<double> omegas;
    for (std::size_t row = 1; row < lines.size(); ++row) {
        if (sizeOf(row) != columns + 1) {
            return Status::failure(
                texts::mapRaggedRowText(label, lineOf(row), sizeOf(row), columns));
        }
        omegas.push_back(values[lines[row].first]);
    }
    if (auto twice = repeated(omegas)) {
        return Status::failure(texts::mapSameExcitationText(
            label, texts::lineText(lineOf(twice->first + 1)),
            texts::lineText(lineOf(twice->second + 1)), formatNumber(omegas[twice->first])));
    }
    entries.reserve(omegas.size() * columns);
    for (std::size_t row = 1; row < lines.size(); ++row) {
        const double* v = values.data() + lines[row].first;
        for (std::size_t j = 0; j < columns; ++j) {
            entries.push_back({v[0], emission[j], v[1 + j], lineOf(row), j});
        }
    }
    return buildMap(entries, label, onLine, out);
}

// A 1-D axis: rank 1, or rank 2 with one extent 1.
std::optional<std::size_t> axisLength(const std::vector<std::size_t>& dims) {
    if (dims.size() == 1) return dims[0];
    if (dims.size() == 2 && (dims[0] == 1 || dims[1] == 1)) return dims[0] * dims[1];
    return std::nullopt;
}

Status readHdf5Map(const std::filesystem::path& file, const Hdf5MapPaths& paths, MeasuredMap& out) {
    const std::string label = pathText(file);
    hdf5::Reader reader;
    if (auto status = reader.open(file); !status) return status;
    if (paths.intensity.empty() || paths.excitation.empty() || paths.emission.empty()) {
        return Status::failure(texts::hdf5PathsNeededText(label));
    }

    std::vector<double> axes[2];
    const std::string* axisNames[2] = {&paths.excitation, &paths.emission};
    for (int i = 0; i < 2; ++i) {
        std::vector<std::size_t> dims;
        if (auto status = reader.shape(*axisNames[i], dims); !status) return status;
        const auto length = axisLength(dims);
        if (!length) {
            return Status::failure(
                texts::hdf5RankText(label, *axisNames[i], static_cast<int>(dims.size()), 1));
        }
        if (i == 0 && *length > kMaxMapExcitations) {
            return Status::failure(
                texts::mapTooManyExcitationsText(label, *length, kMaxMapExcitations));
        }
        if (auto status = reader.read(*axisNames[i], axes[i]); !status) return status;
        for (std::size_t k = 0; k < axes[i].size(); ++k) {
            if (!std::isfinite(axes[i][k])) {
                return Status::failure(
                    texts::hdf5NotFiniteText(label, texts::datasetElementText(*axisNames[i], k)));
            }
            axes[i][k] = storedValue(axes[i][k]);
        }
    }
    const auto& omegas = axes[0];
    const auto& emission = axes[1];
    if (!omegas.empty() && emission.size() > kMaxPoints) {
        return Status::failure(texts::mapTooManyPointsText(label, formatNumber(omegas.front()),
                                                           emission.size(), kMaxPoints));
    }
    std::vector<std::size_t> dims;
    if (auto status = reader.shape(paths.intensity, dims); !status) return status;
    if (dims.size() != 2) {
        return Status::failure(
            texts::hdf5RankText(label, paths.intensity, static_cast<int>(dims.size()), 2));
    }
    // Rows are excitation energies, unless only the transposed shape fits.
    const bool transposed = !(dims[0] == omegas.size() && dims[1] == emission.size());
    if (transposed && !(dims[0] == emission.size() && dims[1] == omegas.size())) {
        return Status::failure(texts::hdf5ShapeText(label, paths.intensity, dims[0], dims[1],
                                                    omegas.size(), emission.size()));
    }
    std::vector<double> intensity;
    if (auto status = reader.read(paths.intensity, intensity); !status) return status;
    const auto cell = [&](std::size_t i, std::size_t j) {
        return transposed ? j * omegas.size() + i : i * emission.size() + j;
    };
    const Place place = [&](std::size_t i, std::size_t j) {
        return transposed ? texts::datasetCellText(paths.intensity, j, i)
                          : texts::datasetCellText(paths.intensity, i, j);
    };
    if (auto twice = repeated(omegas)) {
        return Status::failure(texts::mapSameExcitationText(
            label, texts::datasetElementText(paths.excitation, twice->first),
            texts::datasetElementText(paths.excitation, twice->second),
            formatNumber(omegas[twice->first])));
    }
    if (auto twice = repeated(emission)) {
        return Status::failure(texts::mapSameAxisEmissionText(
            label, texts::datasetElementText(paths.emission, twice->first),
            texts::datasetElementText(paths.emission, twice->second),
            formatNumber(emission[twice->first])));
    }
    std::vector<Entry> entries;
    entries.reserve(intensity.size());
    for (std::size_t i = 0; i < omegas.size(); ++i) {
        for (std::size_t j = 0; j < emission.size(); ++j) {
            const double value = intensity[cell(i, j)];
            if (!std::isfinite(value)) {
                return Status::failure(texts::hdf5NotFiniteText(label, place(i, j)));
            }
            entries.push_back({omegas[i], emission[j], storedValue(value), i, j});
        }
    }
    return buildMap(entries, label, place, out);
}

}  // namespace

bool isHdf5File(const std::filesystem::path& file) {
    return hdf5::isHdf5(file);
}

Status readMeasuredMap(const std::filesystem::path& file, const Hdf5MapPaths& paths,
                       MeasuredMap& out) {
    if (isHdf5File(file)) return readHdf5Map(file, paths, out);
    std::string text;
    if (auto status = readTextFile(file, text, kMaxMapFileBytes); !status) return status;
    if (paths.any()) return Status::failure(texts::notHdf5Text(pathText(file)));
    return readTextMap(text, pathText(file), false, out);
}

std::string formatMeasuredMap(const MeasuredMap& map) {
    std::string text;
    text.reserve(pointCount(map) * 28);
    for (const auto& spectrum : map) {
        const std::string omega = formatNumber(spectrum.excitation) + '\t';
        for (const auto& p : spectrum.points) {
            text += omega;
            text += formatNumber(p.energy);
            text += '\t';
            text += formatNumber(p.intensity);
            text += '\n';
        }
    }
    return text;
}

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The work space's own form as written: lines of three numbers, Ω and ω
// ascending, every spectrum within the limits. Read without the general
// reader's bookkeeping, for a map of many points; nullopt for any other
// text, which the general reader then reads or refuses with its message.
std::optional<MeasuredMap> readAsWritten(std::string_view text) {
    MeasuredMap map;
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t lastSize = 0;
    while (p < end) {
        double v[3];
        for (double& value : v) {
            while (p < end && isSpace(*p)) ++p;
            const auto [next, error] = std::from_chars(p, end, value);
            if (error != std::errc() || next == p || !std::isfinite(value)) return std::nullopt;
            p = next;
        }
        while (p < end && isSpace(*p)) ++p;
        if (p < end && *p++ != '\n') return std::nullopt;
        if (map.empty() || v[0] != map.back().excitation) {
            if (!map.empty() && (v[0] < map.back().excitation || map.back().points.size() < 2)) {
                return std::nullopt;
            }
            if (map.size() == kMaxMapExcitations) return std::nullopt;
            if (!map.empty()) lastSize = map.back().points.size();
            map.push_back({v[0], {}});
            map.back().points.reserve(lastSize);
        } else if (!(v[1] > map.back().points.back().energy) ||
                   map.back().points.size() == kMaxPoints) {
            return std::nullopt;
        }
        if (!std::isfinite(v[2] * kRixsExperimentScale)) return std::nullopt;
        map.back().points.push_back({v[1], v[2]});
    }
    if (map.empty() || map.back().points.size() < 2) return std::nullopt;
    return map;
}

}  // namespace

Status parseMeasuredMap(std::string_view text, std::string_view label, MeasuredMap& out) {
    if (auto map = readAsWritten(text)) {
        out = std::move(*map);
        return {};
    }
    return readTextMap(text, label, true, out);
}

std::size_t pointCount(const MeasuredMap& map) {
    std::size_t count = 0;
    for (const auto& spectrum : map) count += spectrum.points.size();
    return count;
}

}  // namespace zephalo::core
