#include "core/numeric/emission_grid.h"

#include <string>

#include "core/numeric/input_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::numeric {

Status emissionGrid(double start, double end, double step, std::vector<double>& energies) {
    energies.clear();
    if (!(step > 0.0)) {
        return Status::failure(core::numeric::kEmissionGridPart1 + formatNumber(step) +
                               core::numeric::kEmissionGridPart2 + std::string(files::kParameters) +
                               core::numeric::kEmissionGridPart3);
    }
    double energy = start;
    while (energy <= end) {
        if (energies.size() == kMaxGridPoints) {
            energies.clear();
            return Status::failure(
                core::numeric::kEmissionGridPart4 + std::to_string(kMaxGridPoints) +
                core::numeric::kEmissionGridPart5 + formatNumber(start) +
                core::numeric::kEmissionGridPart6 + formatNumber(end) +
                core::numeric::kEmissionGridPart7 + formatNumber(step) +
                core::numeric::kEmissionGridPart8 + std::string(files::kParameters) +
                core::numeric::kEmissionGridPart9);
        }
        energies.push_back(energy);
        energy += step;
    }
    return {};
}

}  // namespace zephalo::core::numeric
