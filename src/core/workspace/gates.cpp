#include "core/workspace/gates.h"
#include "core/workspace/storage_texts.h"

namespace zephalo::core {

namespace {

constexpr text::Text kMaterialsMissing = core::texts::kMaterialsMissingText;

}  // namespace

const Gate& gateOf(Step step) {
    static const Gate convXafs{{files::kConventionalXafs, files::kSelectiveOrg,
                                files::kExperimentEmission, files::kParameters},
                               core::texts::kGateOfPart1,
                               kMaterialsMissing};
    static const Gate xrf{{files::kExperimentEmission, files::kParameters},
                          core::texts::kGateOfPart2,
                          kMaterialsMissing};
    static const Gate rixs{
        {files::kRixsExperiment, files::kConvXafsNorm, files::kSelectiveWork, files::kParameters},
        core::texts::kGateOfPart3,
        core::texts::kGateOfPart4};
    switch (step) {
        case Step::ConvXafs:
            return convXafs;
        case Step::Xrf:
            return xrf;
        case Step::Rixs:
            break;
    }
    return rixs;
}

bool buttonDone(const Workspace& workspace, FormButton button) {
    switch (button) {
        case FormButton::CreateWorkspace:
            return workspace.exists(files::kParameters);
        case FormButton::ImportConvXafs:
            return workspace.exists(files::kConventionalXafs);
        case FormButton::ImportXrf:
            return workspace.exists(files::kExperimentEmission);
        case FormButton::ImportRixs:
            return workspace.exists(files::kRixsExperiment);
        case FormButton::ImportSelective:
            return workspace.exists(files::kSelectiveOrg);
        case FormButton::ConvXafs:
            return workspace.exists(files::kSelectiveAbsolute);
        case FormButton::Xrf:
            return workspace.exists(files::kFinalStateTemp);
        case FormButton::Rixs:
            break;
    }
    return workspace.exists(files::kSelectiveForRixs);
}

std::optional<std::string> checkGate(const Workspace& workspace, Step step) {
    const Gate& gate = gateOf(step);
    for (auto file : gate.files) {
        if (!workspace.exists(file)) return std::string(gate.errorText);
    }
    return std::nullopt;
}

}  // namespace zephalo::core
