#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/cli_texts.h"
#include "core/rixs/map_comparison.h"
#include "core/rixs/plane_texts.h"
#include "core/rixs/rixs_plane.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/gates.h"
#include "core/workspace/number_text.h"
#include "core/workspace/records.h"

namespace zephalo::cli {

namespace {

struct PlaneOptions {
    std::string from;
    std::string to;
    std::string step;
    std::string out;
};

core::Report writePlane(const core::Workspace& workspace, const PlaneOptions& options,
                        const Interruption& interruption) {
    namespace texts = core::rixs::texts;
    if (auto refusal = core::checkGate(workspace, core::Step::Rixs)) {
        return core::Report::refused(*refusal);
    }
    std::vector<double> excitations;
    if (auto status = core::rixs::planeExcitations(numberOf(options.from), numberOf(options.to),
                                                   numberOf(options.step), excitations);
        !status) {
        return core::Report::refused(status);
    }
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(core::pathFromText(options.out), error);
    if (error) full = core::pathFromText(options.out);
    const std::string shown = core::pathText(full);

    core::rixs::RixsPlane plane;
    {
        // "rows done/rows" while the plane is computed.
        ProgressLine line;
        core::rixs::PlaneHooks hooks;
        std::size_t rowsDone = 0;
        hooks.progress = [&line, &rowsDone](std::size_t done, std::size_t rows) {
            rowsDone = done;
            line.show(std::to_string(done) + "/" + std::to_string(rows));
        };
        hooks.stop = interruption.token();
        const core::Status computed =
            core::rixs::computeRixsPlane(workspace, excitations, plane, hooks);
        if (!computed && interruption.happened()) {
            return core::Report::refused(
                computed.error() +
                texts::planeStoppedWhereText(rowsDone, excitations.size(), shown));
        }
        if (!computed) return core::Report::refused(computed);
    }

    if (auto status = core::writeTextFileAtomic(full, core::rixs::formatPlane(plane)); !status) {
        return core::Report::refused(std::string(texts::kSaveFailedHead) + shown +
                                     std::string(texts::kSaveFailedTail) + status.error());
    }
    return core::Report::success(std::string(texts::kPlaneSavedHead) + shown +
                                 std::string(texts::kSavedTail));
}

// compare-map: the message, then R(Ω) per excitation energy and the total R;
// an R that is not defined (nothing paired there) reads "-".
core::Report compareMap(const core::Workspace& workspace, Context& context) {
    namespace texts = core::rixs::texts;
    if (auto refusal = core::checkGate(workspace, core::Step::Rixs)) {
        return core::Report::refused(*refusal);
    }
    core::rixs::MapComparison comparison;
    {
        ProgressLine line;
        core::rixs::PlaneHooks hooks;
        if (line.shown()) {
            hooks.progress = [&line](std::size_t done, std::size_t rows) {
                line.show(std::to_string(done) + "/" + std::to_string(rows));
            };
        }
        if (auto status = core::rixs::compareMeasuredMap(workspace, comparison, hooks); !status) {
            return core::Report::refused(status);
        }
    }
    context.show(core::Report::success(std::string(texts::kMapComparedHead) +
                                       std::to_string(comparison.measured.size()) +
                                       std::string(texts::kMapComparedTail)));
    const auto figure = [&context](const std::string& name, const std::optional<double>& r) {
        if (r) {
            context.showFigure(name, *r);
        } else {
            context.showFigure(name, "-");
        }
    };
    for (std::size_t i = 0; i < comparison.measured.size(); ++i) {
        figure("R(" + core::formatNumber(comparison.measured[i].excitation) + ")", comparison.r[i]);
    }
    figure("R", comparison.total);
    return core::Report::success({});
}

}  // namespace

void addRixsCommands(CLI::App& app, Context& context) {
    auto plane = std::make_shared<PlaneOptions>();
    auto* planeCommand = app.add_subcommand("plane", texts::kPlaneHelp);
    planeCommand->add_option("--from", plane->from, "first excitation energy (eV)")
        ->required()
        ->check(numberText());
    planeCommand->add_option("--to", plane->to, "last excitation energy (eV), inclusive")
        ->required()
        ->check(numberText());
    planeCommand->add_option("--step", plane->step, "excitation energy step (eV)")
        ->required()
        ->check(numberText());
    context.fileOption(planeCommand->add_option("--out", plane->out, "file to write"))->required();
    planeCommand->callback([&context, plane] {
        const Interruption interruption;
        context.step([&](const core::Workspace& workspace) {
            return writePlane(workspace, *plane, interruption);
        });
        if (interruption.happened()) context.exitCode = kExitInterrupted;
    });

    app.add_subcommand(
           "compare-map",
           "the calculated RIXS at the measured map's excitation energies against "
           "the map: R(Ω) per excitation energy (\"-\" where nothing pairs), then the total "
           "R; rewrites nothing")
        ->callback([&context] {
            context.step(
                [&](const core::Workspace& workspace) { return compareMap(workspace, context); });
        });
}

}  // namespace zephalo::cli
