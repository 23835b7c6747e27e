#pragma once

#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/plot/figure_format.h"
#include "gui/widgets/file_dialog_captions.h"

class QWidget;

// The file dialogs of the desktop program: where they start and the data
// files they offer.
namespace zephalo::gui {

enum class FileChoice { Open, Save };

// Where every file dialog starts: ~/ZEPHALO, created when it is missing.
QString fileDialogFolder();

// A data file chosen in a modal dialog: an existing file to open, or a file
// to save (".DAT" added to a name without extension, and the user asked
// before an existing file is replaced). nullopt when the user cancels.
std::optional<std::filesystem::path> chooseDataFile(QWidget* parent, FileChoice choice);

// What a panel is saved as.
enum class ExportFormat { Png, Svg, Pdf, Data };

struct ExportTarget {
    std::filesystem::path path;
    ExportFormat format = ExportFormat::Data;
    // A picture's size in pixels (a vector page's at 96 per inch).
    QSize size{core::plot::kFigureWidth, core::plot::kFigureHeight};
};

// A file to save a panel in: with `image`, a PNG, SVG or PDF picture (the
// format by the chosen filter, or by the name's suffix when it is one of
// theirs) at a size the user then chooses, otherwise its data as text. The
// suffix of the chosen filter is added to a name without extension, and the
// user is asked before an existing file is replaced. nullopt when the user
// cancels either dialog.
std::optional<ExportTarget> chooseExportFile(QWidget* parent, bool image);

// A picture's size in pixels, asked in a small modal dialog that opens at
// 1600 x 1200; nullopt when the user cancels.
std::optional<QSize> chooseFigureSize(QWidget* parent);

}  // namespace zephalo::gui
