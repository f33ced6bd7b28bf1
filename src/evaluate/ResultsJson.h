#pragma once

#include <QByteArray>

struct EvaluationResult;
class ProblemData;

/// The results of an evaluation as JSON for other programs: every field, the
/// names of the alternatives, doubles with all 17 significant digits.
namespace ResultsJson {

/// UTF-8 JSON text: an object with CritTotal, AltTotal, AltNames, CritPriority,
/// AltLocalPriority ([alternative][criterion]), AltConsistencyIndex, AltPriority,
/// CritConsistencyRatio, AltConsistencyRatio and BestChoice (-1 without alternatives).
QByteArray toJson(const ProblemData& problem, const EvaluationResult& result);

/// A double with 17 significant digits, trailing zeros kept, so that it reads
/// back as the same double in any JSON reader; independent of every locale.
/// Not a number and the infinities, which JSON cannot hold, become null.
QByteArray number(double value);

} // namespace ResultsJson
