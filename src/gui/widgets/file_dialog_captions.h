#pragma once

#include "core/text/text.h"

// The captions of the desktop program's file dialogs.
namespace zephalo::gui {

using ::zephalo::core::text::Text;

// Filters of the dialogs for data files.
inline constexpr Text kDataFilesFilter = Text("データ(*.DAT)");
inline constexpr Text kAllFilesFilter = Text("全て(*)");
// Filters of the dialog that saves a panel.
inline constexpr Text kPngFilter = Text("PNG画像(*.png)");
inline constexpr Text kSvgFilter = Text("SVG画像(*.svg)");
inline constexpr Text kPdfFilter = Text("PDF文書(*.pdf)");
inline constexpr Text kExportDataFilter = Text("タブ区切りテキスト(*.txt)");
// The picture size dialog after the file dialog.
inline constexpr Text kFigureSizeTitle = Text("画像の大きさ");
inline constexpr Text kFigureWidthLabel = Text("幅（ピクセル）");
inline constexpr Text kFigureHeightLabel = Text("高さ（ピクセル）");

}  // namespace zephalo::gui
