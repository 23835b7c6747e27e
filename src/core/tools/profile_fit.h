#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "core/workspace/status.h"

// The least-absolute-deviation fit of a change of the selective XAFS to the
// measured RIXS spectra: the calculated totals are linear in the profile's
// intensities, so the R factor of a changed profile is a sum of absolute
// values of affine functions of the change, and its minimum under bounds is
// a linear programme.
namespace zephalo::core::tools {

// One fit: minimise over the change d (d_i ≥ lower_i)
//     Σ_j |Σ_i response[j·n + i]·d_i − residual_j|  +  S · Σ_k |d_{k−1} − 2d_k + d_{k+1}|,
// where the second sum runs over the inner points of each run of
// neighbouring variables. Rows and residuals come scaled so that the first
// sum is the R factor in percent.
struct FitProblem {
    std::size_t variables = 0;     // n
    std::vector<double> response;  // rows × n, row-major
    std::vector<double> residual;  // per row: measured − current calculated, scaled
    std::vector<double> lower;     // per variable: the smallest change allowed
    // Variables k with runStart[k] true begin a run of neighbouring points
    // (a component's window); the first variable always does.
    std::vector<bool> runStart;

    std::size_t rows() const { return variables ? response.size() / variables : 0; }
};

// The programme is solved in its dual form (n rows: one per variable; one
// bounded column per residual row and per second difference), so that the
// simplex basis stays as small as the window whatever the number of measured
// points, and by sifting, so that the simplex prices about as many residual
// columns as there are variables (see profile_fit.cpp). CLP keeps the basis
// between solves: a new smoothing weight or new residuals start from the
// last optimum. Each change stays below a ceiling a thousand times the
// problem's own scale. A build without CLP has the class but refuses every
// programme.
class ProfileFit {
public:
    // Whether this build has the solver; without it prepare and solve
    // refuse with kFitNoSolverText.
    static bool available();

    ProfileFit();
    ~ProfileFit();
    ProfileFit(const ProfileFit&) = delete;
    ProfileFit& operator=(const ProfileFit&) = delete;

    // Builds the programme; refuses a problem without variables or rows,
    // or with a value that is not finite.
    Status prepare(const FitProblem& problem);
    // The same for a problem shared with other fits (its rows are not copied).
    Status prepare(std::shared_ptr<const FitProblem> problem);
    // A copy of another fit's programme at its last optimum, for fits of the
    // same rows on new residuals; refuses a fit not solved.
    Status prepare(const ProfileFit& solved);
    // New residuals for the same rows (a resampled measurement); after a
    // solve, the next one starts at the last optimum.
    void setResidual(std::span<const double> residual);
    // The optimal change for smoothing weight S ≥ 0 into `change`.
    Status solve(double smoothing, std::vector<double>& change);

    // The two terms of the objective for a change.
    double misfit(std::span<const double> change) const;
    double roughness(std::span<const double> change) const;

    std::size_t variables() const { return m_problem ? m_problem->variables : 0; }

private:
    void load();
    void boundSmoothing(double bound);
    void costOfResiduals();
    double reducedCost(std::size_t row) const;
    void release(const std::vector<std::size_t>& released);
    void hold();

    struct Programme;
    std::unique_ptr<Programme> m_lp;
    std::shared_ptr<const FitProblem> m_problem;
    std::vector<double> m_residual;  // the problem's, or the last setResidual's
    // Second differences as (first variable of the triple) per difference.
    std::vector<std::size_t> m_differences;
    // Per residual row: its column's cost, and the bound (−1 or +1) it is
    // held at outside the working set, 0 inside.
    std::vector<double> m_cost;
    std::vector<signed char> m_held;
    std::vector<double> m_price;  // per variable: the last optimum's d − l
    double m_ceiling = 0.0;
    double m_bound = 0.0;  // the smoothing columns' bound in the model
    bool m_solved = false;
};

}  // namespace zephalo::core::tools
