#include "evaluate/Evaluation.h"

#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/ProblemData.h"
#include "evaluate/RandomIndex.h"
#include "evaluate/ResultsText.h"
#include "storage/ProblemKeys.h"

using namespace Qt::Literals::StringLiterals;

namespace Evaluation {

void EvaluateCriteria(const ProblemData& problem, EvaluationResult& result, const QLocale& locale)
{
    const int n = result.CritTotal;
    const JudgementMatrix a =
        JudgementMatrix::fromStored(n, [&problem](int i, int j) { return problem.critJudgement(i, j); });
    MatrixPriorities priorities = MatrixPriorities::of(a);
    result.CritPriority = std::move(priorities.weights);
    result.CritConsistencyRatio = RandomIndex::consistencyRatio(priorities.consistencyIndex, n);
    result.Memo = ResultsText::warningLines(ResultsText::Judgements::Criteria, result.CritConsistencyRatio, locale);
}

void EvaluateAlternatives(const ProblemData& problem, EvaluationResult& result)
{
    const int n = result.CritTotal;
    const int m = result.AltTotal;
    result.AltLocalPriority.assign(std::size_t(m), std::vector<double>(std::size_t(n), 0.0));
    result.AltConsistencyIndex.assign(std::size_t(n), 0.0);
    for (int q = 0; q < n; ++q) {
        const JudgementMatrix a =
            JudgementMatrix::fromStored(m, [&problem, q](int i, int j) { return problem.altJudgement(i, j, q); });
        const MatrixPriorities priorities = MatrixPriorities::of(a);
        for (int i = 0; i < m; ++i)
            result.AltLocalPriority[std::size_t(i)][std::size_t(q)] = priorities.weights[std::size_t(i)];
        result.AltConsistencyIndex[std::size_t(q)] = priorities.consistencyIndex;
    }
}

int bestChoice(const std::vector<double>& priorities, int count)
{
    const auto priority = [&](int i) { return i < int(priorities.size()) ? priorities[std::size_t(i)] : 0.0; };
    if (count < 1)
        return -1;
    int best = 0;
    for (int i = 1; i < count; ++i) {
        // Only a strictly higher priority takes over.
        if (priority(i) > priority(best))
            best = i;
    }
    return best;
}

void describe(EvaluationResult& result, const QStringList& altNames, const QLocale& locale)
{
    const int m = result.AltTotal;
    result.Memo = ResultsText::warningLines(ResultsText::Judgements::Criteria, result.CritConsistencyRatio, locale);
    result.Memo += ResultsText::warningLines(ResultsText::Judgements::Alternatives, result.AltConsistencyRatio, locale);
    result.Memo.append(ResultsText::heading());
    result.Memo.append(QString());
    result.Bars.clear();
    result.Bars.reserve(m);
    const auto name = [&altNames](int i) {
        return i >= 0 && i < altNames.size() ? altNames.at(i) : ProblemKeys::UnknownName.toString();
    };
    for (int i = 0; i < m; ++i) {
        const double priority = std::size_t(i) < result.AltPriority.size() ? result.AltPriority[std::size_t(i)] : 0.0;
        result.Memo.append(ResultsText::priorityLine(name(i), priority, locale));
        result.Bars.append(ResultBar{100.0 * priority, QString::number(i + 1)});
    }
    // Without alternatives there is no best choice: the index is -1 and the line
    // keeps its place with "?", the mark the program shows for any alternative it
    // cannot name, so the text has the same shape for every problem.
    result.Memo.append(QString());
    result.Memo.append(ResultsText::bestChoiceLine(name(result.BestChoice)));
    result.Memo.append(QString());
}

EvaluationResult EvaluateProblem(const ProblemData& problem, const QLocale& locale)
{
    EvaluationResult result;
    const int n = problem.critTotal();
    const int m = problem.altTotal();
    result.CritTotal = n;
    result.AltTotal = m;
    result.CritPriority.assign(std::size_t(n), 0.0);
    result.AltPriority.assign(std::size_t(m), 0.0);

    EvaluateCriteria(problem, result, locale);
    EvaluateAlternatives(problem, result);
    synthesise(result);
    describe(result, problem.altNames(), locale);
    return result;
}

void synthesise(EvaluationResult& result)
{
    const int n = result.CritTotal;
    const int m = result.AltTotal;
    // Global priorities summed in criterion order; with no criteria every one stays 0.
    result.AltPriority.assign(std::size_t(m), 0.0);
    for (int i = 0; i < m; ++i) {
        double sum = 0.0;
        for (int q = 0; q < n; ++q)
            sum += result.CritPriority[std::size_t(q)] * result.AltLocalPriority[std::size_t(i)][std::size_t(q)];
        result.AltPriority[std::size_t(i)] = sum;
    }

    // One ratio for all alternative judgements: the indices weighted by the
    // criteria priorities, over the random index of the alternatives' order.
    double aggregatedIndex = 0.0;
    for (int q = 0; q < n; ++q)
        aggregatedIndex += result.AltConsistencyIndex[std::size_t(q)] * result.CritPriority[std::size_t(q)];
    result.AltConsistencyRatio = RandomIndex::consistencyRatio(aggregatedIndex, m);
    result.BestChoice = bestChoice(result.AltPriority, m);
}

} // namespace Evaluation
