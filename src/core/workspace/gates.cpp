#include "core/workspace/gates.h"

namespace zephalo::core {

namespace {

constexpr std::string_view kMaterialsMissing =
    " エラー!!\r\n　まず["
    "ワークスペース作成」後、「素材入力」ボタン\r\nで全ての素材を読み込んで下さい。";

}  // namespace

const Gate& gateOf(Step step) {
    static const Gate convXafs{{files::kConventionalXafs, files::kSelectiveOrg,
                                files::kExperimentEmission, files::kParameters},
                               "通常XAFSによるパラメーター設定が終了しました。",
                               kMaterialsMissing};
    static const Gate xrf{{files::kExperimentEmission, files::kParameters},
                          "蛍光X線によるパラメーター設定が終了しました。",
                          kMaterialsMissing};
    static const Gate rixs{
        {files::kRixsExperiment, files::kConvXafsNorm, files::kSelectiveWork, files::kParameters},
        "RIXSシミュレーションが終了しました。",
        " エラー!!"
        "\r\n　「素材入力」ボタンで全ての素材を読み込み、\r\n「XAFSの読込」と「蛍光X線による設定」"
        "をしないと、\r\n正しいシミュレーションはできません。"};
    switch (step) {
        case Step::ConvXafs:
            return convXafs;
        case Step::Xrf:
            return xrf;
        case Step::Rixs:
            break;
    }
    return rixs;
}

std::optional<std::string> checkGate(const Workspace& workspace, Step step) {
    const Gate& gate = gateOf(step);
    for (auto file : gate.files) {
        if (!workspace.exists(file)) return std::string(gate.errorText);
    }
    return std::nullopt;
}

}  // namespace zephalo::core
