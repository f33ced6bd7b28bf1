#pragma once

#include <QLocale>
#include <QString>

class ProblemData;

/// The consistency of the matrix being answered, for the comparison screens to show with every move of a bar,
/// and the answer the other judgements of that matrix suggest.
namespace LiveConsistency {

/// The consistency ratio of one matrix from the present values: criterion -1 for the criteria matrix, 0 .. n-1
/// for the alternatives matrix of that criterion. 0 for an order without a random index (2 and below, above 10)
/// and for a criterion the problem does not have.
double ratioOf(const ProblemData& problem, int criterion);

/// "Согласованность ответов по этой матрице: ОС 4,2% — хорошо": the ratio in per cent with one decimal, then
/// the verdict by the thresholds of the results text's warnings: "хорошо" up to 10 %, "ответы немного
/// противоречивы" below 20 %, "ответы противоречивы" from 20 %.
QString label(double ratio, const QLocale& locale = QLocale());

/// The stored value the other judgements of that matrix agree on for the pair (i, j), i < j, as the analysis
/// suggests it: what the revision dialog offers beside the present answer.
int suggestedJudgement(const ProblemData& problem, int criterion, int i, int j);

} // namespace LiveConsistency
