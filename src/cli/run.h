#pragma once

#include <iosfwd>

// The whole of zephalo-cli behind one call, so that its entry point needs
// none of the command-line parser's headers.
namespace zephalo::cli {

// Runs zephalo-cli with the given arguments and returns its exit status.
int run(int argc, char** argv);
// The same, printing to `out` what goes to standard output and to `err` what
// goes to standard error (a terminal's progress line excepted).
int run(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zephalo::cli
