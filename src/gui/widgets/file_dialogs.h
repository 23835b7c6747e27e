#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string_view>

class QWidget;

// The file dialogs of the desktop program: where they start and the data
// files they offer.
namespace zephalo::gui {

// Filters of the dialogs for data files.
inline constexpr std::string_view kDataFilesFilter = "データ(*.DAT)";
inline constexpr std::string_view kAllFilesFilter = "全て(*)";
// Filters of the dialog that saves a panel.
inline constexpr std::string_view kPngFilter = "PNG画像(*.png)";
inline constexpr std::string_view kSvgFilter = "SVG画像(*.svg)";
inline constexpr std::string_view kExportDataFilter = "タブ区切りテキスト(*.txt)";

enum class FileChoice { Open, Save };

// Where every file dialog starts: ~/ZEPHALO, created when it is missing.
QString fileDialogFolder();

// A data file chosen in a modal dialog: an existing file to open, or a file
// to save (".DAT" added to a name without extension, and the user asked
// before an existing file is replaced). nullopt when the user cancels.
std::optional<std::filesystem::path> chooseDataFile(QWidget* parent, FileChoice choice);

// What a panel is saved as.
enum class ExportFormat { Png, Svg, Data };

struct ExportTarget {
    std::filesystem::path path;
    ExportFormat format = ExportFormat::Data;
};

// A file to save a panel in: with `image`, a PNG or SVG picture (the format
// by the chosen filter, or by the name's suffix when it is .png or .svg),
// otherwise its data as text. The suffix of the
// chosen filter is added to a name without extension, and the user is asked
// before an existing file is replaced. nullopt when the user cancels.
std::optional<ExportTarget> chooseExportFile(QWidget* parent, bool image);

}  // namespace zephalo::gui
