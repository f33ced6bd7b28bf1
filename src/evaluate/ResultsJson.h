#pragma once

#include <QByteArray>
#include <QJsonObject>

struct EvaluationResult;
struct GroupResult;
class ProblemData;

/// The results of an evaluation as JSON for other programs: every field and the
/// names of the alternatives.
namespace ResultsJson {

/// UTF-8 JSON text (keys in alphabetical order): an object with CritTotal,
/// AltTotal, AltNames, CritPriority, AltLocalPriority ([alternative][criterion]),
/// AltConsistencyIndex, AltPriority, CritConsistencyRatio, AltConsistencyRatio
/// and BestChoice (-1 without alternatives), then the decision analysis:
/// - Weights: [{Name, Weight}] per criterion;
/// - Matrices: [{Criterion (-1 for the criteria), Order, Lambda, CI, CR}], the criteria first;
/// - Revisit: [{Matrix (index into Matrices), Key, Step, Present, Suggested, E}];
/// - Sensitivity: [{Criterion, Weight, Low, High, WinnerBelow, WinnerAbove}] (-1: nobody takes over);
/// - SmallestChange: {Criterion, NewWeight, NewWinner}, or null when no weight can change the best choice;
/// then how sure the choice is:
/// - Robustness: {Draws, BestShare per alternative, Stays} of the draws one grade off, or null for fewer than
///   two alternatives or no criteria;
/// - Eigenvector: {CritPriority, AltLocalPriority, AltPriority, BestChoice, Lambda} by the principal
///   eigenvector, Lambda as Matrices: the criteria matrix first.
/// A double is written in the fewest digits that read back as the same double
/// (QJsonDocument); not a number and the infinities, which JSON cannot hold, become null.
/// With group, the joint decision of the user and the respondents follows as "Group" (groupObject).
QByteArray toJson(const ProblemData& problem, const EvaluationResult& result, const GroupResult* group = nullptr);

/// The joint decision: Participants ("Я" first, then the respondents in section order), the group's
/// CritPriority, AltLocalPriority, AltPriority, BestChoice, CritConsistencyRatio and AltConsistencyRatio,
/// Consensus {Criteria, PerCriterion, Overall} (null where there is no figure) and ParticipantBest (in the
/// order of Participants, 0-based, -1 without alternatives).
QJsonObject groupObject(const GroupResult& group);

} // namespace ResultsJson
