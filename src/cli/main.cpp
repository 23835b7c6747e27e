#include "cli/cli_support.h"

int main(int argc, char** argv) {
    return zephalo::cli::run(argc, argv);
}
