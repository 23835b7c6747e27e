#pragma once

#include "core/text/text.h"

// Captions of the two XAFS dialogs: the conventional XAFS of the absorption
// correction and the reading of the selective XAFS calculations.
namespace zephalo::gui::xafs::captions {

using ::zephalo::core::text::Text;

// Conventional XAFS; the history names the steps of the read and confirm buttons.
inline constexpr Text kRead = Text("XAFS（吸収補正用）の読込");
inline constexpr Text kConfirm = Text("XAFS情報の確認");
inline constexpr Text kClear = Text("XAFSスペクトルのクリア");
inline constexpr Text kDone = Text("XAFS情報・設定完了！");
inline constexpr Text kChooseEdge = Text("吸収端を選択して下さい");
inline constexpr Text kCoreEnergy = Text("内殻エネルギー(eV)");
// The repaint button and its hint, both kept hidden.
inline constexpr Text kRepaint = Text("画面回復");
inline constexpr Text kRepaintHint = Text("画面が異常になったら押して下さい");

// Reading the selective XAFS calculations: title, buttons, groups and the
// file dialog's filters, each shown without its pattern list.
inline constexpr Text kReadingTitle = Text("XAFS計算読込");
inline constexpr Text kOneComponent = Text("XAFS１成分データ読込");
inline constexpr Text kTwoGroup = Text("2成分");
inline constexpr Text kFirstOfTwo = Text("XAFS2成分データ読込（1/2）");
inline constexpr Text kSecondOfTwo = Text("XAFS2成分データ読込（2/2）");
inline constexpr Text kGeneralGroup = Text("一般データ");
inline constexpr Text kGeneral = Text("一般のX-Y1-Y2データ読込");
inline constexpr Text kCalculationFilter =
    Text("計算結果(*.xspec);(*.xspecup);(*.xspecdn) (*.xspec *.xspecup *.xspecdn)");
inline constexpr Text kDataFilter = Text("データ(*.DAT) (*.DAT *.dat)");
inline constexpr Text kAllFilter = Text("全て(*.*) (*)");

}  // namespace zephalo::gui::xafs::captions
