#pragma once

// The whole of zephalo-cli behind one call, so that its entry point needs
// none of the command-line parser's headers.
namespace zephalo::cli {

// Runs zephalo-cli with the given arguments and returns its exit status.
int run(int argc, char** argv);

}  // namespace zephalo::cli
