#include "core/tools/profile_fit.h"

#ifdef ZEPHALO_HAVE_CLP
#include <Clp_C_Interface.h>

#include <Eigen/Cholesky>
#include <Eigen/Core>
#endif

#include <algorithm>
#include <cmath>
#include <string>

#include "core/tools/tools_texts.h"

namespace zephalo::core::tools {

double ProfileFit::misfit(std::span<const double> change) const {
    if (!m_problem) return 0.0;
    const std::size_t n = m_problem->variables;
    double sum = 0.0;
    for (std::size_t j = 0; j < m_problem->rows(); ++j) {
        const double* row = m_problem->response.data() + j * n;
        double t = -m_residual[j];
#pragma omp simd reduction(+ : t)
        for (std::size_t i = 0; i < n; ++i) t += row[i] * change[i];
        sum += std::fabs(t);
    }
    return sum;
}

double ProfileFit::roughness(std::span<const double> change) const {
    double sum = 0.0;
    for (const std::size_t i : m_differences) {
        sum += std::fabs(change[i] - 2 * change[i + 1] + change[i + 2]);
    }
    return sum;
}

#ifdef ZEPHALO_HAVE_CLP

namespace {
// What CLP takes as no bound.
constexpr double kInfinite = 1e30;
// CLP's column states for a column held at a bound.
constexpr int kAtUpperBound = 2;
constexpr int kAtLowerBound = 3;
// A held residual column is let go when its reduced cost lies on the wrong
// side of its bound by more than this.
constexpr double kReducedCostTolerance = 1e-9;
// A column of the working set at a bound is held again when its reduced cost
// keeps it there by more than this, during the first kHoldingRounds rounds.
constexpr double kHoldingMargin = 1e-6;
constexpr int kHoldingRounds = 50;
// The ceiling on each change, in multiples of the problem's own scale: the
// largest intensity plus the change that explains the largest residual by
// the strongest response alone.
constexpr double kCeilingScale = 1e3;
// The start: a least-squares fit over at most this many rows, with a penalty
// on second differences of this weight times the mean diagonal of AᵀA.
constexpr std::size_t kStartRows = 4096;
// The first working set holds half as many residual columns as there are
// variables (at least kSmallestRelease); the columns settled at a bound are
// held again down to kKeptWorkingSet per variable. Small working sets make
// each simplex iteration cheaper by more than they add rounds.
constexpr std::size_t kKeptWorkingSet = 1;
// Columns let go at a time: at most one per variable, and at least this many.
constexpr std::size_t kSmallestRelease = 16;
// New residuals: this many rows per variable, the closest to their fit at
// the last optimum, join the working set.
constexpr std::size_t kResignedReleased = 2;
constexpr double kStartSmoothing = 1e-2;

// The misfit per row at a start for the sifting: the change that minimises
// the sum of squares of the misfit (over evenly spread rows) plus a small
// penalty on second differences, raised to its bounds. Most rows' misfits
// keep their sign from this change to the optimum, and the rows it fits
// closest are the likeliest to end between their bounds; it decides only
// where the simplex starts, never where it ends.
std::vector<double> startingMisfit(const FitProblem& problem,
                                   const std::vector<std::size_t>& differences) {
    using Rows = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const auto n = static_cast<Eigen::Index>(problem.variables);
    const auto m = static_cast<Eigen::Index>(problem.rows());
    const Eigen::Map<const Rows> a(problem.response.data(), m, n);
    const Eigen::Map<const Eigen::VectorXd> r(problem.residual.data(), m);
    const Eigen::Index stride =
        std::max<Eigen::Index>(1, m / static_cast<Eigen::Index>(kStartRows));
    const Eigen::Index used = (m + stride - 1) / stride;
    const Eigen::Map<const Rows, 0, Eigen::OuterStride<>> sample(problem.response.data(), used, n,
                                                                 Eigen::OuterStride<>(stride * n));
    const Eigen::Map<const Eigen::VectorXd, 0, Eigen::InnerStride<>> sampled(
        problem.residual.data(), used, Eigen::InnerStride<>(stride));
    Eigen::MatrixXd normal = Eigen::MatrixXd::Zero(n, n);
    normal.selfadjointView<Eigen::Lower>().rankUpdate(sample.transpose());
    const double mean = normal.diagonal().mean();
    const double weight = kStartSmoothing * mean;
    constexpr double second[3] = {1.0, -2.0, 1.0};
    for (const std::size_t first : differences) {
        for (Eigen::Index p = 0; p < 3; ++p) {
            for (Eigen::Index q = 0; q <= p; ++q) {
                const auto i = static_cast<Eigen::Index>(first);
                normal(i + p, i + q) += weight * second[p] * second[q];
            }
        }
    }
    normal.diagonal().array() += 1e-9 * mean;
    Eigen::VectorXd change =
        normal.selfadjointView<Eigen::Lower>().ldlt().solve(sample.transpose() * sampled);
    if (!change.allFinite()) change.setZero();
    for (Eigen::Index i = 0; i < n; ++i) {
        change[i] = std::max(change[i], problem.lower[static_cast<std::size_t>(i)]);
    }
    const Eigen::VectorXd misfit = r - a * change;
    return {misfit.data(), misfit.data() + m};
}
}  // namespace

// The programme in CLP's form. Its dual, with u_j ∈ [−1, 1] per residual
// row, v_k ∈ [−S, S] per second difference and w_i ≥ 0 per variable, reads
//     maximise  Σ_j u_j (c_j − Σ_i l_i A_ji) − Σ_k v_k Σ_i l_i D_ki − U Σ_i w_i
//     subject to g_i = Σ_j A_ji u_j + Σ_k D_ki v_k − w_i ≤ 0 for every variable i,
// and the multiplier of g_i ≤ 0 is d_i − l_i (the change above its bound,
// at most the ceiling U, which the columns w_i keep every restricted
// programme feasible with).
//
// At the optimum nearly every u_j sits at ±1, the sign of row j's misfit,
// and only about as many as there are variables lie between. So the
// programme is solved by sifting: the residual columns are held at the sign
// of their residual and left out of CLP's model (their part moves into the
// rows' bounds), except a working set; after each solve, the held columns
// whose reduced costs say they should move join the working set, until none
// does. The last optimum is then the whole programme's. The simplex prices
// only the working set, a few times the window's size, instead of every
// measured point of every spectrum.
struct ProfileFit::Programme {
    Clp_Simplex* model = Clp_newModel();
    // Model columns: the n ceiling columns, the k smoothing columns, then the
    // residual rows in `residualColumns` order.
    std::vector<std::size_t> residualColumns;
    std::vector<double> lower, upper;  // per model column
    std::vector<double> rowUpper;      // per variable: minus the held columns' part
    ~Programme() { Clp_deleteModel(model); }
};

ProfileFit::ProfileFit() = default;
ProfileFit::~ProfileFit() = default;

bool ProfileFit::available() {
    return true;
}

Status ProfileFit::prepare(const FitProblem& problem) {
    return prepare(std::make_shared<const FitProblem>(problem));
}

Status ProfileFit::prepare(std::shared_ptr<const FitProblem> shared) {
    const FitProblem& problem = *shared;
    m_lp.reset();
    m_solved = false;
    m_bound = 0.0;
    const std::size_t n = problem.variables;
    const std::size_t m = problem.rows();
    if (n == 0 || m == 0 || problem.response.size() != n * m || problem.residual.size() != m ||
        problem.lower.size() != n || problem.runStart.size() != n) {
        return Status::failure(std::string(texts::kFitEmptyProblem));
    }
    const auto finite = [](double x) { return std::isfinite(x); };
    if (!std::all_of(problem.response.begin(), problem.response.end(), finite) ||
        !std::all_of(problem.residual.begin(), problem.residual.end(), finite) ||
        !std::all_of(problem.lower.begin(), problem.lower.end(), finite)) {
        return Status::failure(std::string(texts::kFitNotFinite));
    }
    m_problem = std::move(shared);
    m_residual = problem.residual;
    m_differences.clear();
    for (std::size_t i = 0; i + 2 < n; ++i) {
        if (!problem.runStart[i + 1] && !problem.runStart[i + 2]) m_differences.push_back(i);
    }
    const std::size_t k = m_differences.size();
    costOfResiduals();

    double largestLower = 0.0, largestResponse = 0.0, largestResidual = 0.0;
    for (double l : problem.lower) largestLower = std::max(largestLower, std::fabs(l));
    for (double a : problem.response) largestResponse = std::max(largestResponse, std::fabs(a));
    for (double r : problem.residual) largestResidual = std::max(largestResidual, std::fabs(r));
    m_ceiling = kCeilingScale *
                (largestLower + (largestResponse > 0.0 ? largestResidual / largestResponse : 1.0));
    if (!(m_ceiling > 0.0)) m_ceiling = kCeilingScale;

    // Every residual column is held at the sign of its row's misfit at the
    // start, except the smallest n/2.
    const std::vector<double> misfit = startingMisfit(problem, m_differences);
    m_held.resize(m);
    for (std::size_t j = 0; j < m; ++j) m_held[j] = misfit[j] < 0.0 ? -1 : 1;
    std::vector<std::size_t> order(m);
    for (std::size_t j = 0; j < m; ++j) order[j] = j;
    const auto free = static_cast<std::ptrdiff_t>(std::min(m, std::max(n / 2, kSmallestRelease)));
    std::partial_sort(
        order.begin(), order.begin() + free, order.end(),
        [&](std::size_t a, std::size_t b) { return std::fabs(misfit[a]) < std::fabs(misfit[b]); });
    m_lp = std::make_unique<Programme>();
    Programme& lp = *m_lp;
    for (std::ptrdiff_t t = 0; t < free; ++t) {
        m_held[order[static_cast<std::size_t>(t)]] = 0;
        lp.residualColumns.push_back(order[static_cast<std::size_t>(t)]);
    }
    lp.rowUpper.assign(n, 0.0);
    for (std::size_t j = 0; j < m; ++j) {
        if (m_held[j] == 0) continue;
        const double* row = problem.response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) lp.rowUpper[i] -= m_held[j] * row[i];
    }
    // The ceilings, the smoothing columns (their bounds come with S), the
    // working set.
    lp.lower.assign(n + k, 0.0);
    lp.upper.assign(n, kInfinite);
    lp.upper.resize(n + k, 0.0);
    lp.lower.resize(n + k + lp.residualColumns.size(), -1.0);
    lp.upper.resize(n + k + lp.residualColumns.size(), 1.0);
    load();
    return {};
}

Status ProfileFit::prepare(const ProfileFit& solved) {
    m_lp.reset();
    m_solved = false;
    if (!solved.m_solved) return Status::failure(std::string(texts::kFitEmptyProblem));
    m_problem = solved.m_problem;
    m_residual = solved.m_residual;
    m_differences = solved.m_differences;
    m_cost = solved.m_cost;
    m_held = solved.m_held;
    m_price = solved.m_price;
    m_ceiling = solved.m_ceiling;
    m_bound = solved.m_bound;
    m_lp = std::make_unique<Programme>();
    const Programme& from = *solved.m_lp;
    m_lp->residualColumns = from.residualColumns;
    m_lp->lower = from.lower;
    m_lp->upper = from.upper;
    m_lp->rowUpper = from.rowUpper;
    load();
    Clp_copyinStatus(m_lp->model, Clp_statusArray(from.model));
    Clp_setColSolution(m_lp->model, Clp_getColSolution(from.model));
    m_solved = true;
    return {};
}

// CLP's model of the working set, column by column: the ceilings, three
// entries per second difference, then A transposed for the working set.
void ProfileFit::load() {
    Programme& lp = *m_lp;
    const std::size_t n = m_problem->variables;
    const std::size_t k = m_differences.size();
    std::vector<CoinBigIndex> start{0};
    std::vector<int> index;
    std::vector<double> value;
    std::vector<double> cost;
    for (std::size_t i = 0; i < n; ++i) {
        index.push_back(static_cast<int>(i));
        value.push_back(-1.0);
        start.push_back(static_cast<CoinBigIndex>(index.size()));
        cost.push_back(-m_ceiling);
    }
    // The smoothing columns' costs depend on the bounds alone.
    const auto& l = m_problem->lower;
    for (const std::size_t first : m_differences) {
        for (std::size_t t = 0; t < 3; ++t) {
            index.push_back(static_cast<int>(first + t));
            value.push_back(t == 1 ? -2.0 : 1.0);
        }
        start.push_back(static_cast<CoinBigIndex>(index.size()));
        cost.push_back(-(l[first] - 2 * l[first + 1] + l[first + 2]));
    }
    for (const std::size_t j : lp.residualColumns) {
        const double* row = m_problem->response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) {
            if (row[i] == 0.0) continue;
            index.push_back(static_cast<int>(i));
            value.push_back(row[i]);
        }
        start.push_back(static_cast<CoinBigIndex>(index.size()));
        cost.push_back(m_cost[j]);
    }
    const std::vector<double> rowLower(n, -kInfinite);
    Clp_setLogLevel(lp.model, 0);
    // The rows come scaled to percent of the measured sum already; CLP's own
    // scaling makes every pricing pass over the dense columns slower.
    Clp_scaling(lp.model, 0);
    Clp_loadProblem(lp.model, static_cast<int>(n + k + lp.residualColumns.size()),
                    static_cast<int>(n), start.data(), index.data(), value.data(), lp.lower.data(),
                    lp.upper.data(), cost.data(), rowLower.data(), lp.rowUpper.data());
    Clp_setOptimizationDirection(lp.model, -1.0);
}

void ProfileFit::costOfResiduals() {
    const std::size_t n = m_problem->variables;
    const std::size_t m = m_problem->rows();
    m_cost.resize(m);
    for (std::size_t j = 0; j < m; ++j) {
        double cost = m_residual[j];
        const double* row = m_problem->response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) cost -= m_problem->lower[i] * row[i];
        m_cost[j] = cost;
    }
}

double ProfileFit::reducedCost(std::size_t j) const {
    const std::size_t n = m_problem->variables;
    const double* row = m_problem->response.data() + j * n;
    double product = 0.0;
#pragma omp simd reduction(+ : product)
    for (std::size_t i = 0; i < n; ++i) product += row[i] * m_price[i];
    return m_cost[j] - product;
}

// After a solve, every residual column outside the basis goes to the bound
// on the side of its row's misfit under the new residuals at the last
// optimum. The basis then stays dual feasible as far as the costs of its own
// residual columns stay: for a measurement resampled around the fit they do
// (those rows are fitted exactly), and the dual simplex goes on from there.
// The held rows closest to their fit join the working set.
void ProfileFit::setResidual(std::span<const double> residual) {
    if (!m_lp || residual.size() != m_residual.size()) return;
    m_residual.assign(residual.begin(), residual.end());
    costOfResiduals();
    Programme& lp = *m_lp;
    const double* current = Clp_getObjCoefficients(lp.model);
    const std::size_t n = m_problem->variables;
    const std::size_t fixed = n + m_differences.size();
    std::vector<double> cost(current, current + fixed);
    for (const std::size_t j : lp.residualColumns) cost.push_back(m_cost[j]);
    Clp_chgObjCoefficients(lp.model, cost.data());
    if (!m_solved) return;
    // Per held row: how far it lies from its fit (the rows the next optimum
    // is likeliest to turn over are the closest).
    std::vector<std::pair<double, std::size_t>> closest;
    for (std::size_t j = 0; j < m_held.size(); ++j) {
        if (m_held[j] == 0) continue;
        const double misfit = reducedCost(j);
        closest.push_back({std::fabs(misfit), j});
        if (m_held[j] * misfit >= 0.0) continue;
        const double* row = m_problem->response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) lp.rowUpper[i] += 2 * m_held[j] * row[i];
        m_held[j] = static_cast<signed char>(-m_held[j]);
    }
    Clp_chgRowUpper(lp.model, lp.rowUpper.data());
    const int columns = Clp_numberColumns(lp.model);
    std::vector<double> solution(Clp_getColSolution(lp.model),
                                 Clp_getColSolution(lp.model) + columns);
    for (std::size_t t = 0; t < lp.residualColumns.size(); ++t) {
        const int c = static_cast<int>(fixed + t);
        const int status = Clp_getColumnStatus(lp.model, c);
        if (status != kAtUpperBound && status != kAtLowerBound) continue;
        const bool upper = reducedCost(lp.residualColumns[t]) >= 0.0;
        Clp_setColumnStatus(lp.model, c, upper ? kAtUpperBound : kAtLowerBound);
        solution[static_cast<std::size_t>(c)] = upper ? 1.0 : -1.0;
    }
    Clp_setColSolution(lp.model, solution.data());
    const std::size_t count = std::min(closest.size(), kResignedReleased * n);
    std::partial_sort(closest.begin(), closest.begin() + static_cast<std::ptrdiff_t>(count),
                      closest.end());
    std::vector<std::size_t> released(count);
    for (std::size_t q = 0; q < count; ++q) released[q] = closest[q].second;
    release(released);
}

// Holds again the working set's columns that sit at a bound with a reduced
// cost that keeps them there by a wide margin, the widest first, so that the
// working set stays near kKeptWorkingSet · n columns.
void ProfileFit::hold() {
    Programme& lp = *m_lp;
    const std::size_t n = m_problem->variables;
    const std::size_t fixed = n + m_differences.size();
    const std::size_t keep = kKeptWorkingSet * n;
    if (lp.residualColumns.size() <= keep) return;
    const double* reduced = Clp_getReducedCost(lp.model);
    const double* value = Clp_getColSolution(lp.model);
    std::vector<std::pair<double, std::size_t>> settled;  // (−margin, position in the set)
    for (std::size_t t = 0; t < lp.residualColumns.size(); ++t) {
        const std::size_t c = fixed + t;
        const double u = value[c];
        const double margin = u >= 1.0 - 1e-12 ? reduced[c] : u <= -1.0 + 1e-12 ? -reduced[c] : 0.0;
        if (margin > kHoldingMargin) settled.push_back({-margin, t});
    }
    const std::size_t count = std::min(settled.size(), lp.residualColumns.size() - keep);
    if (count == 0) return;
    std::partial_sort(settled.begin(), settled.begin() + static_cast<std::ptrdiff_t>(count),
                      settled.end());
    std::vector<bool> gone(lp.residualColumns.size(), false);
    std::vector<int> which;
    for (std::size_t q = 0; q < count; ++q) {
        const std::size_t t = settled[q].second;
        const std::size_t j = lp.residualColumns[t];
        const signed char sign = value[fixed + t] > 0.0 ? 1 : -1;
        m_held[j] = sign;
        const double* row = m_problem->response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) lp.rowUpper[i] -= sign * row[i];
        gone[t] = true;
        which.push_back(static_cast<int>(fixed + t));
    }
    std::sort(which.begin(), which.end());
    Clp_deleteColumns(lp.model, static_cast<int>(which.size()), which.data());
    Clp_chgRowUpper(lp.model, lp.rowUpper.data());
    std::vector<std::size_t> columns;
    for (std::size_t t = 0; t < lp.residualColumns.size(); ++t) {
        if (!gone[t]) columns.push_back(lp.residualColumns[t]);
    }
    lp.residualColumns = std::move(columns);
    lp.lower.resize(fixed + lp.residualColumns.size());
    lp.upper.resize(fixed + lp.residualColumns.size());
}

// Lets the held columns `released` join the working set, each at the bound
// it was held at, so that the last basis stays primal feasible.
void ProfileFit::release(const std::vector<std::size_t>& released) {
    Programme& lp = *m_lp;
    const std::size_t n = m_problem->variables;
    std::vector<CoinBigIndex> start{0};
    std::vector<int> index;
    std::vector<double> value, lower, upper, cost;
    for (const std::size_t j : released) {
        const double* row = m_problem->response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) {
            lp.rowUpper[i] += m_held[j] * row[i];
            if (row[i] == 0.0) continue;
            index.push_back(static_cast<int>(i));
            value.push_back(row[i]);
        }
        start.push_back(static_cast<CoinBigIndex>(index.size()));
        lower.push_back(-1.0);
        upper.push_back(1.0);
        cost.push_back(m_cost[j]);
    }
    const int first = Clp_numberColumns(lp.model);
    std::vector<double> solution(Clp_getColSolution(lp.model),
                                 Clp_getColSolution(lp.model) + first);
    Clp_chgRowUpper(lp.model, lp.rowUpper.data());
    Clp_addColumns(lp.model, static_cast<int>(released.size()), lower.data(), upper.data(),
                   cost.data(), start.data(), index.data(), value.data());
    for (std::size_t t = 0; t < released.size(); ++t) {
        const std::size_t j = released[t];
        Clp_setColumnStatus(lp.model, first + static_cast<int>(t),
                            m_held[j] > 0 ? kAtUpperBound : kAtLowerBound);
        solution.push_back(m_held[j]);
        lp.lower.push_back(-1.0);
        lp.upper.push_back(1.0);
        lp.residualColumns.push_back(j);
        m_held[j] = 0;
    }
    Clp_setColSolution(lp.model, solution.data());
}

// The smoothing columns' bounds, ±S.
void ProfileFit::boundSmoothing(double bound) {
    if (bound == m_bound) return;
    Programme& lp = *m_lp;
    const std::size_t n = m_problem->variables;
    for (std::size_t d = 0; d < m_differences.size(); ++d) {
        lp.lower[n + d] = -bound;
        lp.upper[n + d] = bound;
    }
    Clp_chgColumnLower(lp.model, lp.lower.data());
    Clp_chgColumnUpper(lp.model, lp.upper.data());
    m_bound = bound;
}

Status ProfileFit::solve(double smoothing, std::vector<double>& change) {
    change.clear();
    if (!m_lp) return Status::failure(std::string(texts::kFitEmptyProblem));
    if (!(smoothing >= 0.0) || !std::isfinite(smoothing)) {
        return Status::failure(std::string(texts::kFitBadSmoothing));
    }
    Programme& lp = *m_lp;
    const std::size_t n = m_problem->variables;
    const std::size_t m = m_problem->rows();
    boundSmoothing(smoothing);
    // New bounds keep the last basis dual feasible, new costs keep it
    // primal feasible, columns let go or held keep it primal feasible; the
    // dual simplex goes on from each faster here (the basis is as small as
    // the window, and it flips the boxed columns). Should it stop short, the
    // primal simplex finishes from where it stood.
    std::vector<std::pair<double, std::size_t>> wrong;
    std::vector<std::size_t> released;
    for (int round = 1;; ++round) {
        Clp_dual(lp.model, 0);
        if (Clp_status(lp.model) != 0) Clp_primal(lp.model, 0);
        if (Clp_status(lp.model) != 0) {
            m_solved = false;
            return Status::failure(std::string(texts::kFitNoSolution));
        }
        // The reduced cost of a held column, c_j − Σ_i A_ji y_i, is the
        // misfit of its row: a column held at +1 belongs there while it is
        // >= 0, one held at −1 while it is <= 0.
        const double* price = Clp_getRowPrice(lp.model);
        m_price.assign(price, price + n);
        wrong.clear();
        for (std::size_t j = 0; j < m; ++j) {
            if (m_held[j] == 0) continue;
            const double off = m_held[j] * reducedCost(j);
            if (off < -kReducedCostTolerance) wrong.push_back({off, j});
        }

        if (wrong.empty()) break;
        // The worst first, at most n at a time.
        const std::size_t count = std::min(wrong.size(), std::max(n, kSmallestRelease));
        std::partial_sort(wrong.begin(), wrong.begin() + static_cast<std::ptrdiff_t>(count),
                          wrong.end());
        released.clear();
        for (std::size_t t = 0; t < count; ++t) released.push_back(wrong[t].second);
        // Holding columns again could in principle go round in circles; after
        // kHoldingRounds the working set only grows, and the loop ends.
        if (round < kHoldingRounds) hold();
        release(released);
    }
    m_solved = true;
    change.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        change[i] = m_problem->lower[i] + std::max(0.0, m_price[i]);
    }
    return {};
}

#else

// Without CLP: no programme, and every fit refused.
struct ProfileFit::Programme {};

ProfileFit::ProfileFit() = default;
ProfileFit::~ProfileFit() = default;

bool ProfileFit::available() {
    return false;
}

Status ProfileFit::prepare(const FitProblem&) {
    return Status::failure(std::string(texts::kFitNoSolverText));
}

Status ProfileFit::prepare(std::shared_ptr<const FitProblem>) {
    return Status::failure(std::string(texts::kFitNoSolverText));
}

Status ProfileFit::prepare(const ProfileFit&) {
    return Status::failure(std::string(texts::kFitNoSolverText));
}

void ProfileFit::setResidual(std::span<const double>) {}

Status ProfileFit::solve(double, std::vector<double>& change) {
    change.clear();
    return Status::failure(std::string(texts::kFitNoSolverText));
}

#endif

}  // namespace zephalo::core::tools
