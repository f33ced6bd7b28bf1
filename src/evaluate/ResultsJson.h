#pragma once

#include <QByteArray>

struct EvaluationResult;
class ProblemData;

/// The results of an evaluation as JSON for other programs: every field, the
/// names of the alternatives, doubles with all 17 significant digits.
namespace ResultsJson {

/// UTF-8 JSON text: an object with CritTotal, AltTotal, AltNames, CritPriority,
/// AltLocalPriority ([alternative][criterion]), AltConsistencyIndex, AltPriority,
/// CritConsistencyRatio, AltConsistencyRatio and BestChoice (-1 without alternatives),
/// then the decision analysis:
/// - Weights: [{Name, Weight}] per criterion;
/// - Matrices: [{Criterion (-1 for the criteria), Order, Lambda, CI, CR}], the criteria first;
/// - Revisit: [{Matrix (index into Matrices), Key, Step, Present, Suggested, E}];
/// - Sensitivity: [{Criterion, Weight, Low, High, WinnerBelow, WinnerAbove}] (-1: nobody takes over);
/// - SmallestChange: {Criterion, NewWeight, NewWinner}, or null when no weight can change the best choice.
QByteArray toJson(const ProblemData& problem, const EvaluationResult& result);

/// A double with 17 significant digits, trailing zeros kept, so that it reads
/// back as the same double in any JSON reader; independent of every locale.
/// Not a number and the infinities, which JSON cannot hold, become null.
QByteArray number(double value);

} // namespace ResultsJson
