#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "workspace/records.h"
#include "workspace/workspace_setup.h"

namespace zephalo::cli {

namespace {

using ImportOperation = core::Report (*)(const core::Workspace&, const std::filesystem::path&);

// `import KIND FILE`: the import button's operation with FILE as the chosen file.
void addImport(CLI::App& import, Context& context, const std::string& kind,
               const std::string& description, ImportOperation operation) {
    auto* command = import.add_subcommand(kind, description);
    auto file = std::make_shared<std::string>();
    command->add_option("FILE", *file, "the measured spectrum: pairs of energy and intensity")
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
    map->add_option("FILE", *file,
                    "the map: a matrix (first line N and the N emission energies, then Ω and "
                    "N intensities per line), lines of Ω, ω and intensity, or an HDF5 file")
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
