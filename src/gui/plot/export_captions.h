#pragma once

#include <string>
#include <string_view>

// Captions and texts of saving a panel: the context-menu actions, the save
// dialog's filters and the sentence after a save.
namespace zephalo::gui::plot::captions {

inline constexpr std::string_view kSaveImage = "画像として保存…";
inline constexpr std::string_view kSaveData = "データとして保存…";

inline constexpr std::string_view kPngFilter = "PNG画像(*.png)";
inline constexpr std::string_view kSvgFilter = "SVG画像(*.svg)";
inline constexpr std::string_view kPdfFilter = "PDF文書(*.pdf)";

// The picture size dialog after the file dialog.
inline constexpr std::string_view kSizeTitle = "画像の大きさ";
inline constexpr std::string_view kFigureWidth = "幅（ピクセル）";
inline constexpr std::string_view kFigureHeight = "高さ（ピクセル）";
inline constexpr std::string_view kDataFilter = "タブ区切りテキスト(*.txt)";

}  // namespace zephalo::gui::plot::captions
