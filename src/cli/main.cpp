#include "cli/run.h"

int main(int argc, char** argv) {
    return zephalo::cli::run(argc, argv);
}
