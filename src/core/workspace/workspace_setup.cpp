#include "core/workspace/workspace_setup.h"

#include <array>
#include <cmath>
#include <system_error>

#include "core/workspace/file_names.h"
#include "core/workspace/map_texts.h"
#include "core/workspace/number_text.h"
#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core {

namespace {

constexpr text::Text kCheckPermission = core::texts::kCheckPermissionText;

Report refusedWrite(const Status& status) {
    return Report::refused(status.error() + std::string(kCheckPermission));
}

// The success texts name the real work-space folder where the original
// names its fixed drive path.
std::string importedText(const Workspace& workspace, std::string_view what) {
    return workspace.directoryText() + core::texts::kImportedTextPart1 + std::string(what) +
           core::texts::kImportedTextPart2;
}

Status workspaceReady(const Workspace& workspace) {
    std::error_code ec;
    if (!std::filesystem::is_directory(workspace.directory(), ec)) {
        return Status::failure(core::texts::kWorkspaceReadyPart1 + workspace.directoryText() +
                               core::texts::kWorkspaceReadyPart2);
    }
    return {};
}

// The chosen file as pairs, and the work space ready to take them.
Status readChosen(const Workspace& workspace, const std::filesystem::path& chosen,
                  PairSpectrum& points, std::vector<int>* lines = nullptr) {
    if (auto status = readPairFile(chosen, points, kMaxPoints, lines); !status) return status;
    return workspaceReady(workspace);
}

}  // namespace

std::span<const Seed> seedFiles() {
    static const std::array<Seed, 6> seeds{{
        {files::kParameters, formatRecord(CalculationParameters{})},
        {files::kFinalState, formatRecord(FinalStateFunction{})},
        {files::kEmissionExcitation, formatRecord({7200.0})},
        {files::kEmissionModel, formatRecords(QuadSpectrum{{7000.0, 1.0, 1.0, 1.0}})},
        {files::kSelectiveWork, formatRecords(SelectiveXafsTable{{7000.0, 1.0, 1.0}})},
        // A one-point placeholder of three values, as the gates expect it;
        // the RIXS calculation replaces it with four-column records.
        {files::kCalculatedRixs, formatRecord({7000.0, 1.0, 1.0})},
    }};
    return seeds;
}

Report createWorkspace(const Workspace& workspace) {
    if (auto status = workspace.ensureDirectory(); !status) return Report::refused(status);
    for (const auto& seed : seedFiles()) {
        if (workspace.exists(seed.file)) continue;
        if (auto status = workspace.writeText(seed.file, seed.text); !status) {
            return refusedWrite(status);
        }
    }
    return Report::success(core::texts::kCreateWorkspacePart1 + workspace.directoryText() +
                           core::texts::kCreateWorkspacePart2);
}

Report importRixsExperiment(const Workspace& workspace, const std::filesystem::path& chosen) {
    PairSpectrum points;
    std::vector<int> lines;
    if (auto status = readChosen(workspace, chosen, points, &lines); !status)
        return Report::refusedUnchanged(status);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (std::isfinite(points[i].intensity * kRixsExperimentScale)) continue;
        return Report::refusedUnchanged(Status::failure(
            texts::nonFiniteInputText(pathText(chosen), lines[i],
                                      texts::scaledIntensityText(formatNumber(kRixsExperimentScale),
                                                                 files::kRixsExperimentMinMax))));
    }
    const MinMaxRecord extremes = minMaxOf(points, kRixsExperimentScale);
    if (auto status = workspace.write(files::kRixsExperimentMinMax, extremes); !status) {
        return refusedWrite(status);
    }
    if (auto status = workspace.write(files::kRixsExperiment, points); !status) {
        return refusedWrite(status);
    }
    return Report::success(importedText(workspace, core::texts::kImportRixsExperimentText));
}

Report importRixsMap(const Workspace& workspace, const std::filesystem::path& chosen,
                     const Hdf5MapPaths& paths) {
    MeasuredMap map;
    if (auto status = readMeasuredMap(chosen, paths, map); !status) {
        return Report::refusedUnchanged(status);
    }
    if (auto status = workspaceReady(workspace); !status) return Report::refusedUnchanged(status);
    if (auto status = workspace.write(files::kRixsExperimentMap, map); !status) {
        return refusedWrite(status);
    }
    return Report::success(workspace.directoryText() + std::string(texts::kMapImportedHead) +
                           std::to_string(map.size()) + std::string(texts::kMapImportedMiddle) +
                           std::to_string(pointCount(map)) + std::string(texts::kMapImportedTail));
}

Report importConventionalXafs(const Workspace& workspace, const std::filesystem::path& chosen) {
    PairSpectrum points;
    if (auto status = readChosen(workspace, chosen, points); !status)
        return Report::refusedUnchanged(status);
    if (auto status = workspace.write(files::kConventionalXafs, points); !status) {
        return refusedWrite(status);
    }
    return Report::success(importedText(workspace, core::texts::kImportConventionalXafsText));
}

Report importFluorescence(const Workspace& workspace, const std::filesystem::path& chosen) {
    PairSpectrum points;
    if (auto status = readChosen(workspace, chosen, points); !status)
        return Report::refusedUnchanged(status);
    double largest = 0.0;
    for (const auto& p : points) {
        if (p.intensity > largest) largest = p.intensity;
    }
    if (!(largest > 0.0)) {
        return Report::refusedUnchanged(
            Status::failure(core::texts::kImportFluorescencePart1 + pathText(chosen) +
                            (points.empty() ? std::string(core::texts::kImportFluorescencePart2)
                                            : std::string(core::texts::kImportFluorescencePart3))));
    }
    for (auto& p : points) p.intensity /= largest;
    if (auto status = workspace.write(files::kExperimentEmission, points); !status) {
        return refusedWrite(status);
    }
    return Report::success(importedText(workspace, core::texts::kImportFluorescencePart4));
}

}  // namespace zephalo::core
