#include "core/rixs/rixs_plane.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

#include "core/numeric/fork_join.h"
#include "core/rixs/plane_texts.h"
#include "core/rixs/rixs_compute.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::rixs {

namespace {

// The last energy may pass `to` by this fraction of a step (rounding).
constexpr double kRangeSlack = 1e-9;

bool stopped(const PlaneHooks& hooks) {
    return hooks.stop.stop_requested();
}

// Runs the rows over both cores; the first refusal (lowest row) wins.
Status planeRows(const FastKernel& kernel, std::span<const double> excitations, RixsPlane& out,
                 const PlaneHooks& hooks,
                 const std::function<std::optional<Status>(const QuadPoint&)>& refuseValue) {
    const std::size_t columns = kernel.grid().size();
    std::mutex guard;  // the refusal, the count of rows done and the progress hook
    std::optional<std::pair<std::size_t, Status>> refusal;
    std::size_t done = 0;
    auto refuse = [&](std::size_t row, Status status) {
        const std::lock_guard lock(guard);
        if (!refusal || row < refusal->first) refusal.emplace(row, std::move(status));
    };
    auto rows = [&](std::size_t begin, std::size_t end) {
        FastKernel::Excitation at;
        std::vector<QuadPoint> points(columns);
        for (std::size_t i = begin; i < end; ++i) {
            if (stopped(hooks)) return;
            if (auto status = kernel.begin(excitations[i], at); !status) {
                refuse(i, std::move(status));
                return;
            }
            kernel.evaluate(at, 0, columns, points.data());
            double* row = out.total.data() + i * columns;
            for (std::size_t j = 0; j < columns; ++j) {
                if (auto bad = refuseValue(points[j])) {
                    refuse(i, std::move(*bad));
                    return;
                }
                row[j] = points[j].total;
            }
            const std::lock_guard lock(guard);
            ++done;
            if (hooks.progress) hooks.progress(done, excitations.size());
        }
    };
    numeric::splitInTwo(excitations.size(),
                        kernel.workPerPoint() * std::max<std::size_t>(1, columns), rows);
    if (refusal) return refusal->second;
    if (stopped(hooks)) return Status::failure(std::string(texts::kPlaneStopped));
    return {};
}

Status planeOver(const RixsInput& input, std::span<const double> excitations, RixsPlane& out,
                 const PlaneHooks& hooks,
                 const std::function<std::optional<Status>(const QuadPoint&)>& refuseValue) {
    out = {};
    FastKernel kernel;
    if (auto status = kernel.prepare(input); !status) return status;
    RixsPlane plane;
    plane.emission = kernel.grid();
    plane.excitation.assign(excitations.begin(), excitations.end());
    plane.total.assign(plane.emission.size() * plane.excitation.size(), 0.0);
    if (auto status = planeRows(kernel, excitations, plane, hooks, refuseValue); !status) {
        return status;
    }
    out = std::move(plane);
    return {};
}

}  // namespace

Status planeExcitations(double from, double to, double step, std::vector<double>& out) {
    out.clear();
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step)) {
        return Status::failure(std::string(texts::kPlaneNotNumbers));
    }
    if (from >= to) return Status::failure(std::string(texts::kPlaneReversed));
    if (step <= 0) return Status::failure(std::string(texts::kPlaneStepNotPositive));
    const double intervals = std::floor((to - from) / step + kRangeSlack);
    if (!(intervals + 1 <= static_cast<double>(kMaxPlaneRows))) {
        return Status::failure(std::string(texts::kPlaneTooManyHead) + formatNumber(intervals + 1) +
                               std::string(texts::kPlaneTooManyMiddle) +
                               std::to_string(kMaxPlaneRows) +
                               std::string(texts::kPlaneTooManyTail));
    }
    const auto count = static_cast<std::size_t>(intervals) + 1;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out.push_back(from + static_cast<double>(i) * step);
    return {};
}

Status checkPlaneRange(std::span<const double> excitations) {
    for (const double omega : excitations) {
        if (excitationAccepted(omega)) continue;
        return Status::failure(
            std::string(texts::kPlaneOutsideHead) + formatNumber(omega) +
            std::string(texts::kPlaneOutsideMiddle) + formatNumber(kLowestExcitation) +
            std::string(texts::kPlaneOutsideBetween) + formatNumber(kHighestExcitation) +
            std::string(texts::kPlaneOutsideTail));
    }
    return {};
}

Status calculateRixsPlane(const RixsInput& input, std::span<const double> excitations,
                          RixsPlane& out, const PlaneHooks& hooks) {
    return planeOver(input, excitations, out, hooks, [&](const QuadPoint& point) {
        return nonFiniteRefusal(point, input.parameters.scalingFactor, files::kSelectiveForRixs);
    });
}

Status computeRixsPlane(const Workspace& workspace, std::span<const double> excitations,
                        RixsPlane& out, const PlaneHooks& hooks) {
    out = {};
    if (auto status = checkPlaneRange(excitations); !status) return status;
    if (!workspace.exists(files::kSelectiveForRixs) || !workspace.exists(files::kConvXafsNorm)) {
        return Status::failure(std::string(texts::kMissingComputeInputs));
    }
    RixsInputFiles storage;
    RixsInput input;
    if (auto status = readRixsInputs(workspace, storage, input); !status) return status;
    const std::string selectiveFile = pathText(workspace.path(files::kSelectiveForRixs));
    return planeOver(input, excitations, out, hooks, [&](const QuadPoint& point) {
        return nonFiniteRefusal(point, input.parameters.scalingFactor, selectiveFile);
    });
}

std::string formatPlane(const RixsPlane& plane) {
    std::string text;
    auto line = [&text](double head, std::span<const double> values) {
        text += formatNumber(head);
        for (const double value : values) {
            text += '\t';
            text += formatNumber(value);
        }
        text += '\n';
    };
    // The corner cell counts the columns, so that the text is a rectangular
    // matrix that matrix readers take as is (gnuplot's "nonuniform matrix").
    line(static_cast<double>(plane.emission.size()), plane.emission);
    for (std::size_t i = 0; i < plane.excitation.size(); ++i) {
        line(plane.excitation[i], plane.row(i));
    }
    return text;
}

}  // namespace zephalo::core::rixs
