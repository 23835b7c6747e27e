#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/workspace.h"

// The workflow gates: the work-space files a step needs before its dialog may
// open, tested in order, with the texts the main form shows.
namespace zephalo::core {

enum class Step { ConvXafs, Xrf, Rixs };

struct Gate {
    std::vector<std::string_view> files;  // test order
    std::string_view successText;         // shown after the dialog closes
    std::string_view errorText;           // shown when a file is missing
};

const Gate& gateOf(Step step);

// nullopt when every file of the step's gate exists, else the gate's error
// text. The test stops at the first missing file.
std::optional<std::string> checkGate(const Workspace& workspace, Step step);

}  // namespace zephalo::core
