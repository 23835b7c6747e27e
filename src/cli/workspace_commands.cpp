#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "core/workspace/history.h"
#include "core/workspace/records.h"
#include "core/workspace/storage_texts.h"
#include "core/workspace/workspace_setup.h"

namespace zephalo::cli {

namespace {

using ImportOperation = core::Report (*)(const core::Workspace&, const std::filesystem::path&);

// `import KIND FILE`: the import button's operation with FILE as the chosen file.
void addImport(CLI::App& import, Context& context, const std::string& kind,
               const std::string& description, ImportOperation operation) {
    auto* command = import.add_subcommand(kind, description);
    auto file = std::make_shared<std::string>();
    context
        .fileOption(command->add_option("FILE", *file,
                                        "the measured spectrum: pairs of energy and intensity"))
        ->required();
    command->callback([&context, file, operation] {
        context.step([&](const core::Workspace& workspace) {
            return operation(workspace, core::pathFromText(*file));
        });
    });
}

}  // namespace

void addWorkspaceCommands(CLI::App& app, CLI::App& import, Context& context) {
    app.add_subcommand("create", "create the work space and write its missing default files")
        ->callback([&context] { context.step(&core::createWorkspace); });
    app.add_subcommand("undo", "undo the last step, byte for byte")->callback([&context] {
        context.step(&core::undoStep);
    });
    app.add_subcommand("redo", "redo the step undone last")->callback([&context] {
        context.step(&core::redoStep);
    });
    auto* history = app.add_subcommand(
        "history", "the steps of the work space: when, what, which files (undone ones marked)");
    auto script = std::make_shared<bool>(false);
    history->add_flag("--script", *script,
                      "a bash script of zephalo-cli commands that rebuilds the work space in a "
                      "fresh folder (its first argument, else $ZEPHALO_WORK_SPACE)");
    history->callback([&context, script] {
        const core::Workspace workspace = context.workspace();
        if (*script) {
            std::string text;
            if (auto status = core::historyScript(workspace, text); !status) {
                context.show(core::Report::refused(status));
                return;
            }
            context.show(core::Report::success(text));
            return;
        }
        std::vector<core::HistoryEntry> entries;
        if (auto status = core::readHistory(workspace, entries); !status) {
            context.show(core::Report::refused(status));
            return;
        }
        std::string lines;
        for (const auto& e : entries) {
            std::string files;
            for (const auto& f : e.files) files += (files.empty() ? "" : ", ") + f;
            lines += core::texts::historyLineText(e.when, core::escapedText(e.description.title),
                                                  core::escapedText(files), e.undone) +
                     '\n';  // a line of its own, never joined like panel text
        }
        context.show(
            core::Report::success(lines.empty() ? std::string(core::texts::kHistoryEmpty) : lines));
    });
    addImport(import, context, "rixs", "import a measured RIXS spectrum",
              &core::importRixsExperiment);
    addImport(import, context, "conv-xafs", "import a measured conventional XAFS",
              &core::importConventionalXafs);
    addImport(import, context, "xrf", "import a measured X-ray fluorescence spectrum",
              &core::importFluorescence);

    auto* map = import.add_subcommand(
        "rixs-map", "import a measured RIXS map: a matrix, triplets, or HDF5 datasets");
    auto file = std::make_shared<std::string>();
    auto paths = std::make_shared<core::Hdf5MapPaths>();
    context
        .fileOption(map->add_option(
            "FILE", *file,
            "the map: a matrix (first line N and the N emission energies, then Ω and "
            "N intensities per line), lines of Ω, ω and intensity, or an HDF5 file"))
        ->required();
    map->add_option("--intensity", paths->intensity, "HDF5: dataset of the intensity matrix");
    map->add_option("--excitation", paths->excitation, "HDF5: dataset of the excitation energies");
    map->add_option("--emission", paths->emission, "HDF5: dataset of the emission energies");
    map->callback([&context, file, paths] {
        context.step([&](const core::Workspace& workspace) {
            return core::importRixsMap(workspace, core::pathFromText(*file), *paths);
        });
    });
}

}  // namespace zephalo::cli
