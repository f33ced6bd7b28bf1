#include "evaluate/Eigenvector.h"

#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ProblemMatrices.h"

#include <algorithm>
#include <cmath>

namespace Eigenvector {

namespace {

// A judgement matrix is positive, so its principal eigenvalue is simple and larger in modulus than any other
// (Perron): the iteration converges, by the factor |λ2 / λ1| per step. For the orders the screens allow that
// takes a few dozen steps; the limit only guards a file made by hand.
constexpr int MaxIterations = 10000;

std::vector<double> product(const JudgementMatrix& a, const std::vector<double>& w)
{
    const int k = a.order();
    std::vector<double> y(std::size_t(k), 0.0);
    for (int i = 0; i < k; ++i) {
        for (int l = 0; l < k; ++l)
            y[std::size_t(i)] += a.at(i, l) * w[std::size_t(l)];
    }
    return y;
}

double sum(const std::vector<double>& v)
{
    double s = 0.0;
    for (const double x : v)
        s += x;
    return s;
}

} // namespace

Principal of(const JudgementMatrix& a)
{
    const int k = a.order();
    Principal p;
    if (k == 0)
        return p;
    p.weights.assign(std::size_t(k), 1.0 / double(k));
    p.converged = false;
    while (!p.converged && p.iterations < MaxIterations) {
        std::vector<double> next = product(a, p.weights);
        const double s = sum(next);
        double change = 0.0;
        for (std::size_t i = 0; i < next.size(); ++i) {
            next[i] /= s;
            change = std::max(change, std::fabs(next[i] - p.weights[i]));
        }
        p.weights = std::move(next);
        ++p.iterations;
        p.converged = change < Tolerance;
    }
    // λ as the program defines it for its own priorities, the sum of the components of a · w. For the
    // eigenvector, a · w = λ w and w sums to 1, so this is the eigenvalue itself.
    p.lambda = sum(product(a, p.weights));
    return p;
}

EigenvectorResult evaluate(const ProblemData& problem, int ownBestChoice)
{
    const int n = problem.critTotal();
    const int m = problem.altTotal();
    EigenvectorResult r;
    r.AltLocalPriority.assign(std::size_t(m), std::vector<double>(std::size_t(n), 0.0));
    r.AltPriority.assign(std::size_t(m), 0.0);
    if (n > 0) {
        const Principal criteria = of(ProblemMatrices::of(problem, -1));
        r.CritPriority = criteria.weights;
        r.Lambda.push_back(criteria.lambda);
        for (int q = 0; q < n; ++q) {
            const Principal alternatives = of(ProblemMatrices::of(problem, q));
            r.Lambda.push_back(alternatives.lambda);
            for (int i = 0; i < m; ++i)
                r.AltLocalPriority[std::size_t(i)][std::size_t(q)] = alternatives.weights[std::size_t(i)];
        }
    }
    for (int i = 0; i < m; ++i) {
        for (int q = 0; q < n; ++q)
            r.AltPriority[std::size_t(i)] +=
                r.CritPriority[std::size_t(q)] * r.AltLocalPriority[std::size_t(i)][std::size_t(q)];
    }
    r.BestChoice = Evaluation::bestChoice(r.AltPriority, m);
    r.SameBestChoice = r.BestChoice == ownBestChoice;
    return r;
}

} // namespace Eigenvector
