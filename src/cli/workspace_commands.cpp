#include "cli/cli_support.h"

namespace zephalo::cli {

void addWorkspaceCommands(CLI::App& /*app*/, CLI::App& /*import*/, Context& /*context*/) {}

}  // namespace zephalo::cli
