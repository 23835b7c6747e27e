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
}

}  // namespace zephalo::cli
