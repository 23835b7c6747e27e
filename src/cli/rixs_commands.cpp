#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "rixs/rixs_compute.h"
#include "workspace/gates.h"

namespace zephalo::cli {

void addRixsCommands(CLI::App& app, Context& context) {
    struct ComputeOptions {
        std::string omega;
        std::string scaling;
        std::string absorption;
    };
    auto options = std::make_shared<ComputeOptions>();
    auto* compute = app.add_subcommand(
        "compute", "workbench RIXS計算実行: store the factors, compute Calculated_RIXS.DAT");
    compute->add_option("--omega", options->omega, "excitation energy (eV)")
        ->required()
        ->check(numberText());
    compute->add_option("--scaling", options->scaling, "scaling factor (default: the stored one)")
        ->check(numberText());
    compute
        ->add_option("--absorption", options->absorption,
                     "absorption-correction factor (default: the stored one)")
        ->check(numberText());
    compute->callback([&context, options] {
        context.step([&](const core::Workspace& workspace) {
            if (auto refusal = core::checkGate(workspace, core::Step::Rixs)) {
                return core::Report::refused(*refusal);
            }
            // The factor boxes as the workbench's loading fills them, unless given.
            core::rixs::FactorTexts boxes;
            if (options->scaling.empty() || options->absorption.empty()) {
                if (auto status = core::rixs::storedFactorTexts(workspace, boxes); !status) {
                    return core::Report::refused(status);
                }
            }
            if (!options->scaling.empty()) boxes.scaling = options->scaling;
            if (!options->absorption.empty()) boxes.absorption = options->absorption;
            return core::rixs::computeRixs(workspace, options->omega, boxes.scaling,
                                           boxes.absorption);
        });
    });
}

}  // namespace zephalo::cli
