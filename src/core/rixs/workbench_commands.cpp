#include "core/rixs/workbench_commands.h"

#include "core/workspace/number_text.h"
#include "core/workspace/records.h"

namespace zephalo::core::rixs {

namespace {

// A display-mode radio as zephalo-cli names it; none checked acts as "A".
const char* modeArgument(DisplayMode mode) {
    return mode == DisplayMode::B ? "B" : mode == DisplayMode::AB ? "AB" : "A";
}

}  // namespace

std::vector<std::string> replayCommand(WorkbenchButton button, const WorkbenchBoxes& typed) {
    const auto range = [&](const char* command) -> std::vector<std::string> {
        return {command, "--from", boxArgument(typed.rangeMin), "--to",
                boxArgument(typed.rangeMax)};
    };
    switch (button) {
        case WorkbenchButton::Load:
            return {"load-selective"};
        case WorkbenchButton::ChangeDisplay:
            return range("display");
        case WorkbenchButton::ShowPeak:
            return {"peak-step",   "show",
                    "--centre",    boxArgument(typed.peakCentre),
                    "--amplitude", boxArgument(typed.peakAmplitude),
                    "--width",     boxArgument(typed.peakWidth)};
        case WorkbenchButton::Apply: {
            std::vector<std::string> command{"peak-step", "apply", "--mode",
                                             modeArgument(typed.mode)};
            if (typed.sign == PeakSign::Subtract) command.push_back("--subtract");
            return command;
        }
        case WorkbenchButton::Store:
            return {"peak-step", "store"};
        case WorkbenchButton::Refresh:
            return range("refresh");
        case WorkbenchButton::Finish:
            return range("finish");
        case WorkbenchButton::Shift:
            // "--" lets a negative shift through as the value.
            return {"shift", "--", boxArgument(typed.shift)};
        case WorkbenchButton::Compute:
            return {"compute",
                    "--omega",
                    boxArgument(typed.excitation),
                    "--scaling",
                    boxArgument(typed.scaling),
                    "--absorption",
                    boxArgument(typed.absorption)};
        case WorkbenchButton::Compare:
            return {"compare"};
    }
    return {};
}

std::vector<std::string> compareWithCommand(const std::filesystem::path& chosen) {
    std::error_code error;
    const auto full = std::filesystem::absolute(chosen, error);
    return {"compare", "--with", pathText(error ? chosen : full)};
}

}  // namespace zephalo::core::rixs
