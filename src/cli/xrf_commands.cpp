#include "cli/cli_support.h"

namespace zephalo::cli {

void addXrfCommands(CLI::App& /*app*/, Context& /*context*/) {}

}  // namespace zephalo::cli
