#include "core/xafs/xafs_reading_model.h"

#include <cmath>
#include <functional>
#include <string>
#include <system_error>
#include <utility>

#include "core/workspace/number_text.h"
#include "core/workspace/storage_texts.h"
#include "core/xafs/selective_import.h"
#include "core/xafs/xafs_texts.h"

namespace zephalo::core::xafs {

namespace {

// The success texts name the work space by its Windows path; the text shown
// names the real folder.
constexpr std::string_view kWorkspaceToken = "C:\\ZEPHALO_WORK_SPACE";

constexpr text::Text kOpening = core::xafs::texts::kOpeningText;
constexpr text::Text kOneDone = core::xafs::texts::kOneDoneText;
constexpr text::Text kFirstDone = core::xafs::texts::kFirstDoneText;
constexpr text::Text kSecondDone = core::xafs::texts::kSecondDoneText;
constexpr text::Text kGeneralDone = core::xafs::texts::kGeneralDoneText;
constexpr text::Text kFirstMissing = core::xafs::texts::kFirstMissingText;

// Normalising by a maximum of 0 or below has no meaning; `what` names the
// component and its file.
std::optional<Report> maximumRefusal(double maximum, const std::string& what) {
    if (maximum > 0.0) return std::nullopt;
    return Report::refused(text::fill(core::xafs::texts::kMaximumRefusalPart1, {what}) +
                           std::string(kWorkspaceUnchanged));
}

// Where a record's component was read, for a message.
struct Origin {
    std::string file;
    int line = 0;
};
using OriginOf = std::function<Origin(std::size_t record, bool secondComponent)>;

// Dividing a component by its largest value must give finite numbers for
// every record the grid may take.
std::optional<Report> normalisingRefusal(const Workspace& workspace,
                                         std::span<const XafsPoint> records, const GridScale& scale,
                                         const OriginOf& originOf) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        const bool aBad = !std::isfinite(records[i].a / scale.amax);
        if (aBad || !std::isfinite(records[i].b / scale.bmax)) {
            const Origin origin = originOf(i, !aBad);
            return Report::refusedUnchanged(
                workspace.refuse(Status::failure(core::texts::nonFiniteInputText(
                    origin.file, origin.line, aBad ? core::texts::kNormalisedA : core::texts::kNormalisedB))));
        }
    }
    return std::nullopt;
}

}  // namespace

XafsReadingModel::XafsReadingModel(Workspace workspace) : m_workspace(std::move(workspace)) {}

std::string_view XafsReadingModel::openingText() {
    return kOpening;
}

std::optional<Report> XafsReadingModel::workspaceRefusal() const {
    std::error_code ec;
    if (std::filesystem::is_directory(m_workspace.directory(), ec)) return std::nullopt;
    return Report::refused(core::xafs::texts::kWorkspaceRefusalPart1 + m_workspace.directoryText() +
                           core::xafs::texts::kWorkspaceRefusalPart2);
}

std::string XafsReadingModel::inWorkspace(std::string_view text) const {
    std::string result(text);
    if (const auto at = result.find(kWorkspaceToken); at != std::string::npos) {
        result.replace(at, kWorkspaceToken.size(), m_workspace.directoryText());
    }
    return result;
}

Report XafsReadingModel::importOneComponent(const std::filesystem::path& file) const {
    if (auto refusal = workspaceRefusal()) return *refusal;
    PairSpectrum source;
    std::vector<int> lines;
    if (auto status = readWien2kFile(file, source, &lines); !status)
        return Report::refusedUnchanged(status);
    SelectiveXafsTable records;
    records.reserve(source.size());
    for (const auto& p : source) records.push_back({p.energy, p.intensity, p.intensity});
    const GridScale scale = gridScaleOf(records);
    if (auto refusal = maximumRefusal(
            scale.amax, core::xafs::texts::kImportOneComponentText + pathText(file) + " "))
        return *refusal;
    if (auto refusal = normalisingRefusal(m_workspace, records, scale, [&](std::size_t i, bool) {
            return Origin{pathText(file), lines[i]};
        })) {
        return *refusal;
    }
    const auto table = resampleOnGrid(records, records.size(), scale);
    if (auto status = m_workspace.write(files::kSelectiveOrg, table); !status) {
        return Report::refused(status);
    }
    return Report::success(inWorkspace(kOneDone));
}

Report XafsReadingModel::importFirstOfTwo(const std::filesystem::path& file) const {
    if (auto refusal = workspaceRefusal()) return *refusal;
    PairSpectrum source;
    if (auto status = readWien2kFile(file, source); !status)
        return Report::refusedUnchanged(status);
    double maximum = 0.0;
    for (const auto& p : source) maximum = std::max(maximum, p.intensity);
    if (auto refusal = maximumRefusal(
            maximum, core::xafs::texts::kImportFirstOfTwoText + pathText(file) + " ")) {
        return *refusal;
    }
    // The first component is kept raw; the second step grids and normalises.
    if (auto status = m_workspace.write(files::kSelectiveFirstRaw, source); !status) {
        return Report::refused(status);
    }
    return Report::success(inWorkspace(kFirstDone));
}

std::optional<Report> XafsReadingModel::secondStepRefusal() const {
    if (auto refusal = workspaceRefusal()) return refusal;
    if (m_workspace.exists(files::kSelectiveFirstRaw)) return std::nullopt;
    return Report::refused(std::string(kFirstMissing));
}

Report XafsReadingModel::importSecondOfTwo(const std::filesystem::path& file) const {
    if (auto refusal = secondStepRefusal()) return *refusal;
    PairSpectrum first;
    if (auto status = m_workspace.read(files::kSelectiveFirstRaw, first); !status) {
        return Report::refusedUnchanged(status);
    }
    PairSpectrum second;
    std::vector<int> secondLines;
    if (auto status = readWien2kFile(file, second, &secondLines); !status)
        return Report::refusedUnchanged(status);
    std::vector<MergeSource> sources;
    const auto merged = mergeComponents(first, second, &sources);
    if (merged.empty()) {
        return Report::refused(
            core::xafs::texts::kImportSecondOfTwoPart1 + std::string(files::kSelectiveFirstRaw) +
            core::xafs::texts::kImportSecondOfTwoPart2 + pathText(file) +
            core::xafs::texts::kImportSecondOfTwoPart3 + std::string(kWorkspaceUnchanged));
    }
    const GridScale mergedScale = gridScaleOf(merged);
    if (auto refusal = maximumRefusal(mergedScale.amax, core::xafs::texts::kImportSecondOfTwoPart4 +
                                                            std::string(files::kSelectiveFirstRaw) +
                                                            core::xafs::texts::kClosingBracket)) {
        return *refusal;
    }
    if (auto refusal = maximumRefusal(
            mergedScale.bmax, core::xafs::texts::kMaximumRefusalPart2 + pathText(file) + " ")) {
        return *refusal;
    }
    // The pairs pass through the work-space file, so the grid works on the
    // values at work-space precision (6 significant digits).
    if (auto status = m_workspace.write(files::kSelectiveMergedRaw, merged); !status) {
        return Report::refused(status);
    }
    SelectiveXafsTable records;
    if (auto status = m_workspace.read(files::kSelectiveMergedRaw, records); !status) {
        return Report::refused(status);
    }
    const GridScale scale = gridScaleOf(records);
    // The first component's file holds one pair a line.
    const OriginOf originOf = [&](std::size_t i, bool secondComponent) {
        if (secondComponent) return Origin{pathText(file), secondLines[sources[i].second]};
        return Origin{pathText(m_workspace.path(files::kSelectiveFirstRaw)),
                      static_cast<int>(sources[i].first) + 1};
    };
    if (auto refusal = normalisingRefusal(m_workspace, records, scale, originOf)) return *refusal;
    const auto table = resampleOnGrid(records, records.size(), scale);
    if (auto status = m_workspace.write(files::kSelectiveOrg, table); !status) {
        return Report::refused(status);
    }
    return Report::success(inWorkspace(kSecondDone));
}

Report XafsReadingModel::importGeneral(const std::filesystem::path& file) const {
    if (auto refusal = workspaceRefusal()) return *refusal;
    SelectiveXafsTable records;
    std::vector<int> lines;
    if (auto status = readGeneralFile(file, records, &lines); !status)
        return Report::refusedUnchanged(status);
    const GridScale scale = gridScaleOf(records);
    if (auto refusal =
            maximumRefusal(scale.amax, core::xafs::texts::kImportGeneralPart1 + pathText(file) +
                                           core::xafs::texts::kImportGeneralPart2)) {
        return *refusal;
    }
    if (auto refusal =
            maximumRefusal(scale.bmax, core::xafs::texts::kImportGeneralPart3 + pathText(file) +
                                           core::xafs::texts::kImportGeneralPart4)) {
        return *refusal;
    }
    if (auto refusal = normalisingRefusal(m_workspace, records, scale, [&](std::size_t i, bool) {
            return Origin{pathText(file), lines[i]};
        })) {
        return *refusal;
    }
    // The last record is never searched.
    const auto table = resampleOnGrid(records, records.size() - 1, scale);
    if (table.empty()) {
        return Report::refused(core::xafs::texts::kImportGeneralPart5 + pathText(file) +
                               core::xafs::texts::kImportGeneralPart6 +
                               std::string(kWorkspaceUnchanged));
    }
    if (auto status = m_workspace.write(files::kSelectiveOrg, table); !status) {
        return Report::refused(status);
    }
    return Report::success(inWorkspace(kGeneralDone));
}

}  // namespace zephalo::core::xafs
