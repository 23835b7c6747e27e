#include "tools/profile_fit.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/tools_texts.h"

namespace zephalo::core::tools {

// The programme in GLPK's form. Its dual, with u_j ∈ [−1, 1] per row and
// v_k ∈ [−S, S] per second difference, reads
//     maximise  Σ_j u_j (c_j − Σ_i l_i A_ji) − Σ_k v_k Σ_i l_i D_ki
//     subject to g_i = Σ_j A_ji u_j + Σ_k D_ki v_k ≤ 0 for every variable i,
// and the multiplier of g_i ≤ 0 is d_i − l_i (the change above its bound).
struct ProfileFit::Programme {
    glp_prob* lp = glp_create_prob();
    ~Programme() { glp_delete_prob(lp); }
};

ProfileFit::ProfileFit() = default;
ProfileFit::~ProfileFit() = default;

Status ProfileFit::prepare(const FitProblem& problem) {
    m_lp.reset();
    m_solved = false;
    m_smoothing = -1.0;
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
    m_problem = problem;
    m_differences.clear();
    for (std::size_t i = 0; i + 2 < n; ++i) {
        if (!problem.runStart[i + 1] && !problem.runStart[i + 2]) m_differences.push_back(i);
    }
    const std::size_t k = m_differences.size();

    m_lp = std::make_unique<Programme>();
    glp_prob* lp = m_lp->lp;
    glp_set_obj_dir(lp, GLP_MAX);
    glp_add_rows(lp, static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) {
        glp_set_row_bnds(lp, static_cast<int>(i + 1), GLP_UP, 0.0, 0.0);
    }
    glp_add_cols(lp, static_cast<int>(m + k));
    for (std::size_t j = 0; j < m; ++j) {
        glp_set_col_bnds(lp, static_cast<int>(j + 1), GLP_DB, -1.0, 1.0);
    }
    // The matrix: A transposed, then three entries per second difference.
    std::vector<int> rowIndex{0}, columnIndex{0};
    std::vector<double> value{0.0};
    const std::size_t entries = n * m + 3 * k;
    rowIndex.reserve(entries + 1);
    columnIndex.reserve(entries + 1);
    value.reserve(entries + 1);
    for (std::size_t j = 0; j < m; ++j) {
        for (std::size_t i = 0; i < n; ++i) {
            const double a = problem.response[j * n + i];
            if (a == 0.0) continue;
            rowIndex.push_back(static_cast<int>(i + 1));
            columnIndex.push_back(static_cast<int>(j + 1));
            value.push_back(a);
        }
    }
    for (std::size_t d = 0; d < k; ++d) {
        const int column = static_cast<int>(m + d + 1);
        const int first = static_cast<int>(m_differences[d] + 1);
        for (int t = 0; t < 3; ++t) {
            rowIndex.push_back(first + t);
            columnIndex.push_back(column);
            value.push_back(t == 1 ? -2.0 : 1.0);
        }
    }
    glp_load_matrix(lp, static_cast<int>(value.size() - 1), rowIndex.data(), columnIndex.data(),
                    value.data());
    setObjective();
    // The smoothing columns' costs depend on the bounds alone.
    const auto& l = m_problem.lower;
    for (std::size_t d = 0; d < k; ++d) {
        const std::size_t i = m_differences[d];
        glp_set_obj_coef(lp, static_cast<int>(m + d + 1), -(l[i] - 2 * l[i + 1] + l[i + 2]));
    }
    return {};
}

void ProfileFit::setObjective() {
    const std::size_t n = m_problem.variables;
    const std::size_t m = m_problem.rows();
    glp_prob* lp = m_lp->lp;
    for (std::size_t j = 0; j < m; ++j) {
        double cost = m_problem.residual[j];
        const double* row = m_problem.response.data() + j * n;
        for (std::size_t i = 0; i < n; ++i) cost -= m_problem.lower[i] * row[i];
        glp_set_obj_coef(lp, static_cast<int>(j + 1), cost);
    }
}

void ProfileFit::setResidual(std::span<const double> residual) {
    if (!m_lp || residual.size() != m_problem.residual.size()) return;
    m_problem.residual.assign(residual.begin(), residual.end());
    setObjective();
}

void ProfileFit::setSmoothing(double smoothing) {
    const int m = static_cast<int>(m_problem.rows());
    for (std::size_t d = 0; d < m_differences.size(); ++d) {
        const int column = m + static_cast<int>(d) + 1;
        if (smoothing > 0.0) {
            glp_set_col_bnds(m_lp->lp, column, GLP_DB, -smoothing, smoothing);
        } else {
            glp_set_col_bnds(m_lp->lp, column, GLP_FX, 0.0, 0.0);
        }
    }
    m_smoothing = smoothing;
}

Status ProfileFit::solve(double smoothing, std::vector<double>& change) {
    change.clear();
    if (!m_lp) return Status::failure(std::string(texts::kFitEmptyProblem));
    if (!(smoothing >= 0.0) || !std::isfinite(smoothing)) {
        return Status::failure(std::string(texts::kFitBadSmoothing));
    }
    glp_prob* lp = m_lp->lp;
    if (smoothing != m_smoothing) setSmoothing(smoothing);
    if (!m_solved) {
        // Every column at the bound its cost favours: dual feasible, so the
        // dual simplex starts at once.
        glp_std_basis(lp);
        const int columns = glp_get_num_cols(lp);
        for (int c = 1; c <= columns; ++c) {
            if (glp_get_col_type(lp, c) == GLP_FX) continue;
            glp_set_col_stat(lp, c, glp_get_obj_coef(lp, c) > 0.0 ? GLP_NU : GLP_NL);
        }
    }
    glp_smcp parameters;
    glp_init_smcp(&parameters);
    parameters.msg_lev = GLP_MSG_OFF;
    parameters.meth = GLP_DUALP;
    int code = glp_simplex(lp, &parameters);
    if (code != 0 || glp_get_status(lp) != GLP_OPT) {
        // A basis the last problem left may have gone singular: once more
        // from the start.
        glp_std_basis(lp);
        parameters.meth = GLP_PRIMAL;
        code = glp_simplex(lp, &parameters);
    }
    if (code != 0 || glp_get_status(lp) != GLP_OPT) {
        m_solved = false;
        return Status::failure(std::string(texts::kFitNoSolution));
    }
    m_solved = true;
    const std::size_t n = m_problem.variables;
    change.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        change[i] =
            m_problem.lower[i] + std::max(0.0, glp_get_row_dual(lp, static_cast<int>(i + 1)));
    }
    return {};
}

double ProfileFit::misfit(std::span<const double> change) const {
    const std::size_t n = m_problem.variables;
    double sum = 0.0;
    for (std::size_t j = 0; j < m_problem.rows(); ++j) {
        const double* row = m_problem.response.data() + j * n;
        double t = -m_problem.residual[j];
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

}  // namespace zephalo::core::tools
