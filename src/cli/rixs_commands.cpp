#include "cli/cli_support.h"

namespace zephalo::cli {

void addRixsCommands(CLI::App& /*app*/, Context& /*context*/) {}

}  // namespace zephalo::cli
