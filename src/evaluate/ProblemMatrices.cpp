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

} // namespace ProblemMatrices
