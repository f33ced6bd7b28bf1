#pragma once

#include "evaluate/AnalysisResult.h"

#include <vector>

class JudgementMatrix;
class ProblemData;
struct EvaluationResult;

/// The decision analysis behind a result: pure functions over a problem and its evaluation, exact from the
/// judgements (no sampling), never NaN.
namespace Analysis {

/// The whole analysis. result must be Evaluation::EvaluateProblem(problem): the analysis reads the same
/// matrices and numbers as the results screen.
AnalysisResult analyse(const ProblemData& problem, const EvaluationResult& result);

/// The stored judgement value whose ratio a[i][j] lies nearest to ratio (how many times element i
/// outweighs element j), nearest in log space: -9..-2 when i is preferred, 1 for equal, 2..9 when j is.
/// Not a positive finite number reads as 1. A ratio at the midpoint of two grades (sqrt 2, sqrt 20, ...) is
/// decided by its last bits: for the ratio the rest of a matrix agrees on, suggestedJudgement decides exactly.
int nearestJudgement(double ratio);

/// The stored value nearest to agreeingRatio(a, ..., i, j), decided in exact arithmetic: at a midpoint
/// between two grades the milder one, and the same answer (mirrored) whatever the order of the elements.
int suggestedJudgement(const JudgementMatrix& a, int i, int j);

/// The ratio of elements i and j that the other judgements of the matrix imply: w[i] / w[j] of the
/// priorities computed with the pair (i, j) left out. For an order below 3 there is no other judgement and
/// the ratio is w[i] / w[j] of the whole matrix.
double agreeingRatio(const JudgementMatrix& a, const std::vector<double>& weights, int i, int j);

/// Up to three judgements of the matrix that disagree most with weights, worst first, ties in step order.
/// Keys, steps and sentences are left empty.
QList<RevisitJudgement> worstJudgements(const JudgementMatrix& a, const std::vector<double>& weights);

/// The index of a pair in the comparison step list: every criteria pair (i, then j ascending), then every
/// alternatives pair grouped by criterion. criterion -1 means a criteria pair.
int stepIndex(int critTotal, int altTotal, int criterion, int i, int j);

/// The interval around the present weight of criterion k in which the alternative best stays best.
/// weights sum to 1, localPriorities is [alternative][criterion]; best -1 means no alternative.
CriterionSensitivity sensitivityOf(const std::vector<double>& weights,
                                   const std::vector<std::vector<double>>& localPriorities, int best, int k);

} // namespace Analysis
