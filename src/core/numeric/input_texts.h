#pragma once

#include <string>
#include <string_view>

#include "core/text/text.h"
#include "core/workspace/workspace.h"

// Refusal texts that the kernels' file wrappers share.
namespace zephalo::core::numeric {

using ::zephalo::core::text::Text;

// "　ファイル <path> がありません。\r\n" followed by `hint` (one or more full
// lines of advice, each starting with a full-width space).
inline std::string missingInputText(const Workspace& workspace, std::string_view fileName,
                                    std::string_view hint) {
    return Text("　ファイル ") + pathText(workspace.path(fileName)) + Text(" がありません。\r\n") +
           std::string(hint);
}

// A calculated value that is not finite: `quantity` at the emission energy
// `energy` (eV), with the scaling factor and the selective XAFS file that
// feed it.
inline std::string nonFiniteResultText(std::string_view quantity, std::string_view energy,
                                       std::string_view scaling, std::string_view selectiveFile) {
    return Text("　計算したRIXSスペクトルの発光エネルギー") + std::string(energy) +
           Text(" eVでの") + std::string(quantity) +
           Text("が有限の数値になりません。\r\n　スケーリング因子（") + std::string(scaling) +
           Text("）と選択的XAFS（") + std::string(selectiveFile) +
           Text("）の値の大きさを確認して下さい。");
}

// emission_grid.cpp
inline constexpr Text kEmissionGridPart1 = Text("　発光エネルギーの刻み幅が");
inline constexpr Text kEmissionGridPart2 = Text("eVです。\r\n　");
inline constexpr Text kEmissionGridPart3 = Text(
    " の5番目の値（刻み幅）は正の値でなければ計算できません。\r\n"
    "　「蛍光X線の読込」をやり直して下さい。");
inline constexpr Text kEmissionGridPart4 = Text("　発光エネルギーの点数が上限の");
inline constexpr Text kEmissionGridPart5 = Text("点を超えます（");
inline constexpr Text kEmissionGridPart6 = Text("eVから");
inline constexpr Text kEmissionGridPart7 = Text("eVまで");
inline constexpr Text kEmissionGridPart8 = Text("eV刻み）。\r\n　");
inline constexpr Text kEmissionGridPart9 =
    Text(" の発光エネルギーの範囲と刻み幅を確認して下さい。");

}  // namespace zephalo::core::numeric
