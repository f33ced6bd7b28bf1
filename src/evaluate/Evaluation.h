#pragma once

#include "evaluate/EvaluationResult.h"

#include <QLocale>
#include <QStringList>

#include <vector>

class ProblemData;

/// The Analytic Hierarchy Process over a problem: pure functions, no file and no screen.
namespace Evaluation {

/// The whole evaluation: criteria, alternatives, synthesis, aggregated
/// consistency, best choice, results text and bars. Numbers in the text use the
/// decimal separator of locale. Sound for any counts: nothing NaN or infinite.
EvaluationResult EvaluateProblem(const ProblemData& problem, const QLocale& locale = QLocale());

/// CritPriority and CritConsistencyRatio; the text is replaced by the criteria
/// warning. Expects CritTotal and AltTotal set.
void EvaluateCriteria(const ProblemData& problem, EvaluationResult& result, const QLocale& locale = QLocale());

/// AltLocalPriority and AltConsistencyIndex of every criterion (no random index here).
/// Expects CritTotal and AltTotal set.
void EvaluateAlternatives(const ProblemData& problem, EvaluationResult& result);

/// Replaces the results text and bars with those of result's numbers, as the results screen shows them: the
/// warnings of both consistency ratios, the heading, every alternative's priority (named from altNames, "?"
/// past its end), the best choice. Expects AltTotal, AltPriority, both ratios and BestChoice set.
void describe(EvaluationResult& result, const QStringList& altNames, const QLocale& locale = QLocale());

/// AltPriority (the local priorities weighted by the criteria's and summed in criterion order), the aggregated
/// AltConsistencyRatio and BestChoice. Expects CritTotal, AltTotal, CritPriority, AltLocalPriority and
/// AltConsistencyIndex set, as EvaluateCriteria and EvaluateAlternatives leave them.
void synthesise(EvaluationResult& result);

/// The best choice among positions 0 .. count - 1: the first of the highest
/// priorities, so that a tie goes to the alternative first in the file. A position
/// past the end of priorities has priority 0. -1 when count is below 1.
int bestChoice(const std::vector<double>& priorities, int count);

} // namespace Evaluation
