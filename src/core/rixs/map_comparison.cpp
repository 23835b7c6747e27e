#include "core/rixs/map_comparison.h"

#include <limits>
#include <utility>

#include "core/numeric/input_texts.h"
#include "core/numeric/r_factor.h"
#include "core/rixs/plane_texts.h"
#include "core/rixs/spectrum_pairing.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::rixs {

Status compareMapWithPlane(MeasuredMap map, RixsPlane plane, MapComparison& out) {
    out = {};
    if (plane.emission.size() > kMaxAlignedPoints) {
        return Status::failure(texts::mapGridTooLongText(plane.emission.size(), kMaxAlignedPoints));
    }
    std::vector<double> grid(plane.emission.size());
    for (std::size_t j = 0; j < grid.size(); ++j) grid[j] = storedValue(plane.emission[j]);

    MapComparison result;
    result.r.reserve(map.size());
    numeric::RFactorSums all;
    std::size_t pairCount = 0;
    std::vector<double> energies;
    for (std::size_t i = 0; i < map.size(); ++i) {
        const PairSpectrum& points = map[i].points;
        if (points.size() > kMaxAlignedPoints) {
            return Status::failure(texts::mapSpectrumTooLongText(formatNumber(map[i].excitation),
                                                                 points.size(), kMaxAlignedPoints));
        }
        energies.resize(points.size());
        for (std::size_t k = 0; k < points.size(); ++k) energies[k] = points[k].energy;
        const PointPairs pairs = comparedPairs(energies, grid);
        const auto row = plane.row(i);
        numeric::RFactorSums sums;
        for (std::size_t k = 0; k < pairs.measured.size(); ++k) {
            const double calculated = storedValue(row[pairs.calculated[k]]);
            const double measured = points[pairs.measured[k]].intensity;
            sums.add(calculated, measured);
            all.add(calculated, measured);
        }
        pairCount += pairs.measured.size();
        result.r.push_back(sums.percent());
        result.pairs.push_back(std::move(pairs));
    }
    if (pairCount == 0) return Status::failure(std::string(texts::kMapNoCommonEnergy));
    result.total = all.percent();
    result.measured = std::move(map);
    result.calculated = std::move(plane);
    out = std::move(result);
    return {};
}

namespace {

template <class Value>
RixsPlane onGrid(const MapComparison& comparison, const Value& value) {
    RixsPlane out;
    out.emission = comparison.calculated.emission;
    out.excitation = comparison.calculated.excitation;
    out.total.assign(out.emission.size() * out.excitation.size(),
                     std::numeric_limits<double>::quiet_NaN());
    for (std::size_t i = 0; i < comparison.pairs.size(); ++i) {
        const PointPairs& pairs = comparison.pairs[i];
        for (std::size_t k = 0; k < pairs.measured.size(); ++k) {
            const std::size_t column = pairs.calculated[k];
            const double measured = comparison.measured[i].points[pairs.measured[k]].intensity;
            out.total[i * out.emission.size() + column] =
                value(measured, comparison.calculated.at(i, column));
        }
    }
    return out;
}

}  // namespace

RixsPlane measuredOnGrid(const MapComparison& comparison) {
    return onGrid(comparison, [](double measured, double) { return measured; });
}

RixsPlane differenceOnGrid(const MapComparison& comparison) {
    return onGrid(comparison, [](double measured, double calculated) {
        return measured - storedValue(calculated);
    });
}

Status compareMeasuredMap(const Workspace& workspace, MapComparison& out, const PlaneHooks& hooks) {
    out = {};
    if (!workspace.exists(files::kRixsExperimentMap)) {
        return Status::failure(numeric::missingInputText(workspace, files::kRixsExperimentMap,
                                                         texts::kMapMissingHint));
    }
    MeasuredMap map;
    if (auto status = workspace.read(files::kRixsExperimentMap, map); !status) return status;
    std::vector<double> excitations;
    excitations.reserve(map.size());
    for (const auto& spectrum : map) excitations.push_back(spectrum.excitation);
    RixsPlane plane;
    if (auto status = computeRixsPlane(workspace, excitations, plane, hooks); !status) {
        return status;
    }
    return compareMapWithPlane(std::move(map), std::move(plane), out);
}

}  // namespace zephalo::core::rixs
