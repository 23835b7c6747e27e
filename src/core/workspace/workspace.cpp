#include "core/workspace/workspace.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <span>
#include <system_error>
#include <utility>

#include "core/workspace/commit.h"
#include "core/workspace/number_text.h"
#include "core/workspace/os_files.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core {

namespace {

// A folder an environment variable names; empty when it is unset. On
// Windows read as UTF-16: the narrow environment cannot name every folder.
std::filesystem::path environmentFolder(const char* name) {
#ifdef _WIN32
    const wchar_t* value = _wgetenv(std::filesystem::path(name).c_str());
#else
    const char* value = std::getenv(name);
#endif
    return value ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path homeFolder() {
#ifdef _WIN32
    if (auto profile = environmentFolder("USERPROFILE"); !profile.empty()) return profile;
    return "C:\\";
#else
    if (auto home = environmentFolder("HOME"); !home.empty()) return home;
    return "/";
#endif
}

// Where the user keeps measured data and saved results.
std::filesystem::path preferredDataFolder() {
#ifdef _WIN32
    return "c:\\ZEPHALO";
#else
    return homeFolder() / "ZEPHALO";
#endif
}

}  // namespace

Workspace::Workspace(std::filesystem::path directory)
    : m_directory(std::move(directory)), m_staging(std::make_shared<StepStaging>()) {}

std::filesystem::path Workspace::defaultDirectory() {
    if (auto overridden = environmentFolder("ZEPHALO_WORK_SPACE"); !overridden.empty()) {
        return overridden;
    }
#ifdef _WIN32
    return "C:\\ZEPHALO_WORK_SPACE";
#else
    return homeFolder() / "ZEPHALO_WORK_SPACE";
#endif
}

std::filesystem::path Workspace::dataFolder() {
    std::error_code ec;
    if (std::filesystem::is_directory(preferredDataFolder(), ec)) return preferredDataFolder();
    return homeFolder();
}

std::filesystem::path Workspace::preparedDataFolder() {
    std::error_code ec;
    std::filesystem::create_directories(preferredDataFolder(), ec);
    return dataFolder();
}

bool Workspace::seedDataFolder(const std::filesystem::path& demoFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = preferredDataFolder();
    if (fs::exists(fs::symlink_status(folder, ec)) || !fs::is_directory(demoFolder, ec)) {
        return false;
    }
    // Copied beside the data folder first and renamed into place whole, so a
    // failed copy never leaves a half-filled folder that would stop the next try.
    fs::path staging = folder;
    staging += ".new-" + std::to_string(os::processId());
    fs::remove_all(staging, ec);
    bool copied = fs::create_directories(staging, ec);
    for (const auto& entry : fs::directory_iterator(demoFolder, ec)) {
        const auto extension = entry.path().extension();
        if (!copied || (extension != ".DAT" && extension != ".xspec")) continue;
        if (!entry.is_regular_file(ec)) continue;
        copied = fs::copy_file(entry.path(), staging / entry.path().filename(), ec);
    }
    if (copied && !ec) fs::rename(staging, folder, ec);
    if (!copied || ec) {
        fs::remove_all(staging, ec);
        return false;
    }
    return true;
}

std::string Workspace::directoryText() const {
    return pathText(m_directory);
}

std::filesystem::path Workspace::path(std::string_view fileName) const {
    return m_directory / pathFromText(fileName);
}

namespace {

// The folder a step holds, or `own` opened now; nullptr when there is none.
const os::Folder* heldFolder(const StepStaging& staging, const std::filesystem::path& directory,
                             os::Folder& own) {
    if (staging.open && staging.folder && staging.folder->isOpen()) return staging.folder;
    return own.open(directory) ? &own : nullptr;
}

}  // namespace

bool Workspace::exists(std::string_view fileName) const {
    if (m_staging->open && m_staging->files.contains(fileName)) return true;
    os::Folder own;
    const os::Folder* folder = heldFolder(*m_staging, m_directory, own);
    if (!folder) return false;
    const os::EntryKind kind = folder->kind(fileName);
    // A link counts, so that reading it is refused with a message.
    return kind == os::EntryKind::File || kind == os::EntryKind::Link;
}

Status Workspace::ensureDirectory() const {
    std::error_code ec;
    if (std::filesystem::is_directory(m_directory, ec)) return {};
    if (std::filesystem::exists(m_directory, ec)) {
        return Status::failure(text::fill(core::texts::kEnsureDirectoryPart1, {directoryText()}));
    }
    std::filesystem::create_directories(m_directory, ec);
    if (ec || !std::filesystem::is_directory(m_directory, ec)) {
        return Status::failure(core::texts::kEnsureDirectoryPart2 + directoryText() +
                               core::texts::kEnsureDirectoryPart3);
    }
    return {};
}

namespace {

// One value of a record shape: where it lives and what a message calls it.
template <class Record>
struct Field {
    double Record::*member;
    text::Text quantity;
};

constexpr std::array<Field<PairPoint>, 2> kPairFields{{
    {&PairPoint::energy, texts::kEnergy},
    {&PairPoint::intensity, texts::kIntensity},
}};
constexpr std::array<Field<XafsPoint>, 3> kXafsFields{{
    {&XafsPoint::energy, texts::kEnergy},
    {&XafsPoint::a, texts::kComponentA},
    {&XafsPoint::b, texts::kComponentB},
}};
constexpr std::array<Field<QuadPoint>, 4> kQuadFields{{
    {&QuadPoint::energy, texts::kEnergy},
    {&QuadPoint::total, texts::kTotal},
    {&QuadPoint::comp1, texts::kComponent1},
    {&QuadPoint::comp2, texts::kComponent2},
}};
constexpr std::array<Field<MinMaxRecord>, 4> kMinMaxFields{{
    {&MinMaxRecord::xmin, texts::kXMin},
    {&MinMaxRecord::xmax, texts::kXMax},
    {&MinMaxRecord::ymin, texts::kYMin},
    {&MinMaxRecord::ymax, texts::kYMax},
}};
constexpr std::array<Field<CalculationParameters>, 7> kParameterFields{{
    {&CalculationParameters::lifetimeWidth, texts::kLifetimeWidth},
    {&CalculationParameters::coreEnergy, texts::kCoreEnergy},
    {&CalculationParameters::gridStart, texts::kGridStart},
    {&CalculationParameters::gridEnd, texts::kGridEnd},
    {&CalculationParameters::gridStep, texts::kGridStep},
    {&CalculationParameters::absorptionFactor, texts::kAbsorptionFactor},
    {&CalculationParameters::scalingFactor, texts::kScalingFactor},
}};

Status nonFinite(const Workspace& workspace, std::string_view fileName, std::size_t line,
                 std::string_view quantity, double value) {
    return Status::failure(texts::nonFiniteRecordText(pathText(workspace.path(fileName)), line,
                                                      quantity, formatNumber(value)));
}

// Refuses the first value that is not finite, naming its line (one record a
// line) and quantity.
template <class Record, class Fields>
Status checkFinite(const Workspace& workspace, std::string_view fileName,
                   std::span<const Record> records, const Fields& fields) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        for (const auto& field : fields) {
            const double value = records[i].*field.member;
            if (!std::isfinite(value))
                return nonFinite(workspace, fileName, i + 1, field.quantity, value);
        }
    }
    return {};
}

}  // namespace

Status Workspace::readText(std::string_view fileName, std::string& text, bool& found,
                           std::uintmax_t maxBytes) const {
    if (m_staging->open) {
        if (const auto staged = m_staging->files.find(fileName); staged != m_staging->files.end()) {
            found = true;
            text = staged->second;
            return {};
        }
    }
    os::Folder own;
    const os::Folder* folder = heldFolder(*m_staging, m_directory, own);
    const os::EntryKind kind = folder ? folder->kind(fileName) : os::EntryKind::Missing;
    found = kind == os::EntryKind::File || kind == os::EntryKind::Link;
    if (!found) return {};
    return readFolderFile(*folder, fileName, text, maxBytes);
}

template <class Table, class Fields>
Status Workspace::readTable(std::string_view fileName, Table& out, std::size_t capacity,
                            const Fields& fields) const {
    std::string text;
    bool found = false;
    if (auto status = readText(fileName, text, found); !status) return status;
    std::vector<double> v;
    if (found) {
        if (auto status = parseRecords(text, pathText(path(fileName)), fields.size(), capacity, v);
            !status) {
            return status;
        }
    }
    out.assign(v.size() / fields.size(), {});
    for (std::size_t i = 0; i < v.size(); ++i) {
        out[i / fields.size()].*fields[i % fields.size()].member = v[i];
    }
    return {};
}

template <class Record, class Fields>
Status Workspace::readRecord(std::string_view fileName, Record& out, const Fields& fields) const {
    std::vector<double> v;
    bool found = false;
    if (auto status = readOneLine(fileName, fields.size(), v, found); !status || !found)
        return status;
    for (std::size_t i = 0; i < fields.size(); ++i) out.*fields[i].member = v[i];
    return {};
}

Status Workspace::readOneLine(std::string_view fileName, std::size_t count,
                              std::vector<double>& values, bool& found) const {
    std::string text;
    if (auto status = readText(fileName, text, found); !status || !found) return status;
    NumberText numbers;
    if (auto status = parseNumberText(text, pathText(path(fileName)), numbers); !status) {
        return status;
    }
    if (numbers.values.size() < count) {
        return Status::failure(core::texts::kReadOneLinePart1 + pathText(path(fileName)) +
                               core::texts::kReadOneLinePart2 + std::to_string(count) +
                               core::texts::kReadOneLinePart3);
    }
    values.assign(numbers.values.begin(), numbers.values.begin() + static_cast<long>(count));
    return {};
}

Status Workspace::read(std::string_view fileName, PairSpectrum& out, std::size_t capacity) const {
    return readTable(fileName, out, capacity, kPairFields);
}

Status Workspace::read(std::string_view fileName, SelectiveXafsTable& out,
                       std::size_t capacity) const {
    return readTable(fileName, out, capacity, kXafsFields);
}

Status Workspace::read(std::string_view fileName, QuadSpectrum& out, std::size_t capacity) const {
    return readTable(fileName, out, capacity, kQuadFields);
}

Status Workspace::read(std::string_view fileName, MinMaxRecord& out) const {
    return readRecord(fileName, out, kMinMaxFields);
}

Status Workspace::read(std::string_view fileName, CalculationParameters& out) const {
    return readRecord(fileName, out, kParameterFields);
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

Status Workspace::read(std::string_view fileName, MeasuredMap& out) const {
    std::string text;
    bool found = false;
    if (auto status = readText(fileName, text, found, kMaxMapFileBytes); !status) return status;
    if (!found) {
        out.clear();
        return {};
    }
    return parseMeasuredMap(text, pathText(path(fileName)), out);
}

void Workspace::describeStep(StepDescription description) const {
    if (m_staging->open) m_staging->description = std::move(description);
}

void Workspace::keepIfRefused(std::string_view fileName) const {
    if (m_staging->open) m_staging->keptOnRefusal.emplace(fileName);
}

Status Workspace::refuse(Status status) const {
    if (m_staging->open && m_staging->refusal) m_staging->refusal = status;
    return status;
}

Status Workspace::writeText(std::string_view fileName, std::string_view text) const {
    if (m_staging->open) {
        m_staging->files.insert_or_assign(std::string(fileName), std::string(text));
        return {};
    }
    os::Folder folder;
    if (!folder.open(m_directory))
        return Status::failure(texts::cannotWriteText(pathText(path(fileName))));
    return commitFiles(folder, nullptr, {StagedFile{std::string(fileName), std::string(text)}});
}

Status Workspace::write(std::string_view fileName, const PairSpectrum& points) const {
    if (auto s = checkFinite<PairPoint>(*this, fileName, points, kPairFields); !s) return refuse(s);
    return writeText(fileName, formatRecords(points));
}
Status Workspace::write(std::string_view fileName, const SelectiveXafsTable& points) const {
    if (auto s = checkFinite<XafsPoint>(*this, fileName, points, kXafsFields); !s) return refuse(s);
    return writeText(fileName, formatRecords(points));
}
Status Workspace::write(std::string_view fileName, const QuadSpectrum& points) const {
    if (auto s = checkFinite<QuadPoint>(*this, fileName, points, kQuadFields); !s) return refuse(s);
    return writeText(fileName, formatRecords(points));
}
Status Workspace::write(std::string_view fileName, const MinMaxRecord& record) const {
    if (auto s = checkFinite<MinMaxRecord>(*this, fileName, {&record, 1}, kMinMaxFields); !s)
        return refuse(s);
    return writeText(fileName, formatRecord(record));
}
Status Workspace::write(std::string_view fileName, const CalculationParameters& parameters) const {
    if (auto s =
            checkFinite<CalculationParameters>(*this, fileName, {&parameters, 1}, kParameterFields);
        !s) {
        return refuse(s);
    }
    return writeText(fileName, formatRecord(parameters));
}
Status Workspace::write(std::string_view fileName, const FinalStateFunction& function) const {
    constexpr std::string_view kLines = "ABCD";
    for (std::size_t i = 0; i < 4; ++i) {
        const std::pair<std::string_view, double> values[] = {
            {texts::kLineWidth, function.width[i]},
            {texts::kLinePosition, function.position[i]},
            {texts::kLineAmplitude, function.amplitude[i]},
        };
        for (const auto& [quantity, value] : values) {
            if (!std::isfinite(value)) {
                return refuse(
                    nonFinite(*this, fileName, 1, std::string(quantity) + kLines[i], value));
            }
        }
    }
    return writeText(fileName, formatRecord(function));
}
Status Workspace::write(std::string_view fileName, const MeasuredMap& map) const {
    std::size_t line = 0;
    for (const auto& spectrum : map) {
        for (const auto& p : spectrum.points) {
            ++line;
            const std::pair<std::string_view, double> values[] = {
                {texts::kExcitationEnergy, spectrum.excitation},
                {texts::kEnergy, p.energy},
                {texts::kIntensity, p.intensity},
            };
            for (const auto& [quantity, value] : values) {
                if (!std::isfinite(value)) {
                    return refuse(nonFinite(*this, fileName, line, quantity, value));
                }
            }
        }
    }
    return writeText(fileName, formatMeasuredMap(map));
}

Status Workspace::write(std::string_view fileName, double value, bool lineEnd) const {
    if (!std::isfinite(value)) return refuse(nonFinite(*this, fileName, 1, texts::kValue, value));
    std::string text = formatNumber(value);
    if (lineEnd) text += '\n';
    return writeText(fileName, text);
}

}  // namespace zephalo::core
