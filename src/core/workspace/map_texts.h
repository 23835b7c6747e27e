#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include "core/text/text.h"

// Texts of reading and importing a measured RIXS map. Each function joins
// fixed sentences around the values it names; `file` is the file's path and
// `where` a place in it ("3行目", "データセット /entry/data の要素(2, 7)").
namespace zephalo::core::texts {

using ::zephalo::core::text::Text;

inline std::string lineText(std::size_t line) {
    return text::fill(Text("{}行目"), {std::to_string(line)});
}

inline std::string lineValueText(std::size_t line, std::size_t index) {
    return text::fill(Text("{}行目の{}番目の値"), {std::to_string(line), std::to_string(index)});
}

inline std::string datasetElementText(std::string_view dataset, std::size_t index) {
    return text::fill(Text("データセット {} の{}番目の値"), {dataset, std::to_string(index)});
}

inline std::string datasetCellText(std::string_view dataset, std::size_t row, std::size_t column) {
    return Text("データセット ") + std::string(dataset) + Text(" の要素(") + std::to_string(row) +
           ", " + std::to_string(column) + ")";
}

inline std::string mapNoDataText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) +
           Text(" に測定RIXSマップのデータがありません。");
}

// Neither a matrix (its first line the count of emission energies, then the
// energies) nor triplets.
inline std::string mapLayoutText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) +
           Text(
               " の1行目は、発光エネルギーの点数Nと、続くN個の発光エネルギーにして下さい"
               "（行列の形式）。\r\n　または、どの行も励起エネルギー、発光エネルギー、強度の"
               "3つの値にして下さい（3列の形式）。");
}

inline std::string mapRaggedRowText(std::string_view file, std::size_t line, std::size_t values,
                                    std::size_t columns) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + lineText(line) + Text("の値は") +
           std::to_string(values) + Text("個あり、行列の1行（励起エネルギーと") +
           std::to_string(columns) + Text("点の強度）の") + std::to_string(columns + 1) +
           Text("個と合いません。");
}

inline std::string mapTripletText(std::string_view file, std::size_t line, std::size_t values) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + lineText(line) + Text("の値は") +
           std::to_string(values) +
           Text(
               "個あり、3個（励起エネルギー、発光エネルギー、強度）では"
               "ありません。");
}

inline std::string mapTooManyExcitationsText(std::string_view file, std::size_t count,
                                             std::size_t limit) {
    return Text("　ファイル ") + std::string(file) + Text(" の励起エネルギーは") +
           std::to_string(count) + Text("点あり、上限の") + std::to_string(limit) +
           Text("点を超えています。");
}

inline std::string mapTooManyPointsText(std::string_view file, std::string_view omega,
                                        std::size_t count, std::size_t limit) {
    return Text("　ファイル ") + std::string(file) + Text(" の励起エネルギー") +
           std::string(omega) + Text("eVのスペクトルは") + std::to_string(count) +
           Text("点あり、上限の") + std::to_string(limit) + Text("点を超えています。");
}

inline std::string mapTooFewPointsText(std::string_view file, std::string_view omega,
                                       std::string_view where) {
    return Text("　ファイル ") + std::string(file) + Text(" の励起エネルギー") +
           std::string(omega) + Text("eVのスペクトル（") + std::string(where) +
           Text(
               "）には発光エネルギーが1点しかありません。\r\n"
               "　どの励起エネルギーにも2点以上の発光エネルギーが必要です。");
}

inline std::string mapSameExcitationText(std::string_view file, std::string_view first,
                                         std::string_view second, std::string_view omega) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + std::string(first) + Text("と") +
           std::string(second) + Text("は、同じ励起エネルギー") + std::string(omega) +
           Text("eVのスペクトルです。");
}

inline std::string mapSameEmissionText(std::string_view file, std::string_view first,
                                       std::string_view second, std::string_view omega,
                                       std::string_view energy) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + std::string(first) + Text("と") +
           std::string(second) + Text("は、励起エネルギー") + std::string(omega) +
           Text("eVで同じ発光エネルギー") + std::string(energy) + Text("eVの値です。");
}

inline std::string mapSameAxisEmissionText(std::string_view file, std::string_view first,
                                           std::string_view second, std::string_view energy) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + std::string(first) + Text("と") +
           std::string(second) + Text("は、同じ発光エネルギー") + std::string(energy) +
           Text("eVです。");
}

// A value that becomes infinite or undefined in `quantity`.
inline std::string mapNonFiniteText(std::string_view file, std::string_view where,
                                    std::string_view quantity) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + std::string(where) +
           Text("から求めた") + std::string(quantity) +
           Text("が有限の数値になりません。\r\n　値の大きさを確認して下さい。");
}

// --- HDF5 --------------------------------------------------------------------

inline std::string hdf5PathsNeededText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) +
           Text(
               " はHDF5ファイルです。\r\n　強度、励起エネルギー、発光エネルギーのデータセットの"
               "パスを3つとも指定して下さい（--intensity、--excitation、--emission）。");
}

inline std::string notHdf5Text(std::string_view file) {
    return Text("　ファイル ") + std::string(file) +
           Text(" はHDF5ファイルではないので、データセットのパスは使えません。");
}

inline std::string hdf5NotBuiltText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) +
           Text(
               " はHDF5ファイルですが、このZEPHALOはHDF5ファイルを読めません。\r\n"
               "　測定マップを行列か3列（励起エネルギー、発光エネルギー、強度）のテキストで保存して"
               "読み込んで下さい。");
}

inline std::string hdf5CannotOpenText(std::string_view file) {
    return Text("　ファイル ") + std::string(file) +
           Text(" をHDF5ファイルとして開けませんでした。");
}

inline std::string hdf5NoDatasetText(std::string_view file, std::string_view dataset) {
    return Text("　ファイル ") + std::string(file) + Text(" にデータセット ") +
           std::string(dataset) + Text(" がありません。");
}

inline std::string hdf5CannotReadText(std::string_view file, std::string_view dataset) {
    return Text("　ファイル ") + std::string(file) + Text(" のデータセット ") +
           std::string(dataset) + Text(" を読めませんでした。");
}

inline std::string hdf5NotNumbersText(std::string_view file, std::string_view dataset) {
    return Text("　ファイル ") + std::string(file) + Text(" のデータセット ") +
           std::string(dataset) + Text(" は数値のデータではありません。");
}

inline std::string hdf5RankText(std::string_view file, std::string_view dataset, int rank,
                                int expected) {
    return Text("　ファイル ") + std::string(file) + Text(" のデータセット ") +
           std::string(dataset) + Text(" は") + std::to_string(rank) + Text("次元です。") +
           std::to_string(expected) + Text("次元のデータにして下さい。");
}

inline std::string hdf5ShapeText(std::string_view file, std::string_view intensity,
                                 std::size_t rows, std::size_t columns, std::size_t excitations,
                                 std::size_t emissions) {
    return Text("　ファイル ") + std::string(file) + Text(" の強度のデータセット ") +
           std::string(intensity) + Text(" の大きさ") + std::to_string(rows) + "×" +
           std::to_string(columns) + Text("が、励起エネルギー") + std::to_string(excitations) +
           Text("点と発光エネルギー") + std::to_string(emissions) + Text("点の数と合いません。");
}

inline std::string hdf5NotFiniteText(std::string_view file, std::string_view where) {
    return Text("　ファイル ") + std::string(file) + Text(" の") + std::string(where) +
           Text("が有限の数値ではありません。");
}

// After the import: head, the count of excitation energies, the count of
// points, the tail.
inline constexpr Text kMapImportedHead = Text(" に「測定RIXSマップ」（励起エネルギー");
inline constexpr Text kMapImportedMiddle = Text("点、全");
inline constexpr Text kMapImportedTail = Text("点）を導入しました。");

}  // namespace zephalo::core::texts
