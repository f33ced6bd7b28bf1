#include "evaluate/ProblemMatrices.h"

#include "evaluate/ProblemData.h"

namespace ProblemMatrices {

JudgementMatrix of(const ProblemData& problem, int criterion)
{
    if (criterion < 0)
        return JudgementMatrix::fromStored(problem.critTotal(),
                                           [&problem](int i, int j) { return problem.critJudgement(i, j); });
    return JudgementMatrix::fromStored(
        problem.altTotal(), [&problem, criterion](int i, int j) { return problem.altJudgement(i, j, criterion); });
}

std::vector<JudgementMatrix> all(const ProblemData& problem)
{
    std::vector<JudgementMatrix> matrices;
    if (problem.critTotal() == 0)
        return matrices;
    matrices.reserve(std::size_t(problem.critTotal()) + 1);
    for (int criterion = -1; criterion < problem.critTotal(); ++criterion)
        matrices.push_back(of(problem, criterion));
    return matrices;
}

} // namespace ProblemMatrices
