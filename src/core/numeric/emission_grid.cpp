#include "core/numeric/emission_grid.h"

#include <string>

#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::numeric {

Status emissionGrid(double start, double end, double step, std::vector<double>& energies) {
    energies.clear();
    if (!(step > 0.0)) {
        return Status::failure("　発光エネルギーの刻み幅が" + formatNumber(step) +
                               "eVです。\r\n　" + std::string(files::kParameters) +
                               " の5番目の値（刻み幅）は正の値でなければ計算できません。\r\n"
                               "　「蛍光X線の読込」をやり直して下さい。");
    }
    double energy = start;
    while (energy <= end) {
        if (energies.size() == kMaxGridPoints) {
            energies.clear();
            return Status::failure(
                "　発光エネルギーの点数が上限の" + std::to_string(kMaxGridPoints) +
                "点を超えます（" + formatNumber(start) + "eVから" + formatNumber(end) + "eVまで" +
                formatNumber(step) + "eV刻み）。\r\n　" + std::string(files::kParameters) +
                " の発光エネルギーの範囲と刻み幅を確認して下さい。");
        }
        energies.push_back(energy);
        energy += step;
    }
    return {};
}

}  // namespace zephalo::core::numeric
