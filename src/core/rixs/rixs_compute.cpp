#include "core/rixs/rixs_compute.h"

#include "core/numeric/input_texts.h"
#include "core/rixs/rixs_core.h"
#include "core/rixs/rixs_texts.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::rixs {

namespace {

std::string shownText(std::string_view excitationText) {
    return std::string(texts::kComputedHead) + std::string(excitationText) +
           std::string(texts::kComputedTail);
}

}  // namespace

Report computeRixs(const Workspace& workspace, std::string_view excitationText,
                   std::string_view scalingText, std::string_view absorptionText) {
    if (!workspace.exists(files::kParameters)) {
        return Report::refused(numeric::missingInputText(workspace, files::kParameters,
                                                         core::rixs::texts::kComputeRixsText));
    }
    CalculationParameters parameters;
    if (auto status = workspace.readParameters(parameters); !status) {
        return Report::refused(status);
    }
    double omega = 0.0;
    parameters.absorptionFactor = 0.0;
    parameters.scalingFactor = 0.0;
    if (auto status =
            readBoxes({{texts::kExcitationBox, excitationText, omega},
                       {texts::kScalingBox, scalingText, parameters.scalingFactor},
                       {texts::kAbsorptionBox, absorptionText, parameters.absorptionFactor}});
        !status) {
        return Report::refused(status);
    }
    if (auto status = workspace.write(files::kParameters, parameters); !status) {
        return Report::refused(status);
    }
    // The factors are stored before the computation, which may still refuse.
    workspace.keepIfRefused(files::kParameters);

    std::string message;
    if (excitationAccepted(omega)) {
        message = shownText(excitationText);
    } else {
        omega = kDefaultExcitation;
        message = std::string(texts::kExcitationWarning);
    }

    if (!workspace.exists(files::kSelectiveForRixs) || !workspace.exists(files::kConvXafsNorm)) {
        return Report::refused(std::string(texts::kMissingComputeInputs));
    }
    if (auto status = calculateRixs(workspace, omega); !status) {
        return Report::refused(status);
    }
    return Report::success(std::move(message));
}

}  // namespace zephalo::core::rixs
