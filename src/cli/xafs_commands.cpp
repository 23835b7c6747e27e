#include "cli/cli_support.h"

namespace zephalo::cli {

void addXafsCommands(CLI::App& /*app*/, CLI::App& /*import*/, Context& /*context*/) {}

}  // namespace zephalo::cli
