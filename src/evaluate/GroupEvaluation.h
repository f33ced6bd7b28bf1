#pragma once

#include "evaluate/GroupResult.h"

#include <QList>
#include <QStringView>

#include <vector>

class JudgementMatrix;
class ProblemData;
struct Respondent;

/// The joint decision of the user and the respondents: pure functions, no file and no screen.
namespace GroupEvaluation {

/// The name the user goes by among the participants.
inline constexpr QStringView UserName = u"Я";

/// How many disagreements a result names.
constexpr int DisagreementCount = 3;

/// The participants are the user (the judgements of problem) and every respondent, as Respondents::load reads
/// them from the same file (their answers in the step order of problem's counts).
/// For every comparison the group's ratio is the geometric mean of the participants' ratios (no answer, or a
/// value off the scale, is 1). Sound for any counts and any number of respondents: nothing NaN or infinite.
GroupResult evaluate(const ProblemData& problem, const QList<Respondent>& respondents);

/// The numbers of an evaluation of given matrices, exactly as the evaluation of one person's judgements makes
/// them (priorities, λ, CI, the ratios with the random index, synthesis, best choice): criteria of order n,
/// and the alternatives matrix of order altTotal of each of the n criteria. No text, no bars.
EvaluationResult evaluateMatrices(int altTotal, const JudgementMatrix& criteria,
                                  const std::vector<JudgementMatrix>& alternatives);

} // namespace GroupEvaluation
