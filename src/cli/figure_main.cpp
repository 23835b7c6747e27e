#include "cli/run.h"
#include "gui/plot/figure_command.h"

// zephalo-cli with figure writers: the program zephalo-cli runs for its
// figure command.
int main(int argc, char** argv) {
    return zephalo::cli::run(argc, argv,
                             {zephalo::gui::writePanelFigure, zephalo::gui::writeMapFigure});
}
