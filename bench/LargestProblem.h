#pragma once

// The problem the benchmarks measure: as many criteria and alternatives as asked (9, the most the screens allow,
// unless said otherwise), every pair judged, the judgements spread over the whole scale so that no matrix is
// trivially uniform.

#include "evaluate/ProblemData.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include <QString>

namespace LargestProblem {

constexpr int Largest = 9;

/// Every stored value the scale has, in turn.
inline int judgement(int serial)
{
    static constexpr int scale[] = {-9, -7, -5, -3, -2, 1, 2, 3, 5, 7, 9, 4, -4, 6, -6, 8, -8};
    return scale[serial % 17];
}

/// The problem file, parsed: names "Вариант номер 1", "Критерий номер 1", ..., and the judgements in step
/// order (the criteria's pairs, then the alternatives' pairs criterion by criterion).
inline IniDocument document(int size = Largest)
{
    using namespace ProblemKeys;
    IniDocument doc;
    QList<IniDocument::Entry> alternatives, criteria, judgements;
    for (int i = 0; i < size; ++i) {
        alternatives.append({altKey(i), QStringLiteral("Вариант номер ") + QString::number(i + 1)});
        criteria.append({qualKey(i), QStringLiteral("Критерий номер ") + QString::number(i + 1)});
    }
    alternatives.append({CountKey.toString(), QString::number(size)});
    criteria.append({CountKey.toString(), QString::number(size)});
    doc.replaceSection(AltSection, alternatives);
    doc.replaceSection(QualSection, criteria);
    int serial = 0;
    for (int i = 0; i < size; ++i) {
        for (int j = i + 1; j < size; ++j)
            judgements.append({qualPairKey(i, j), QString::number(judgement(serial++))});
    }
    for (int q = 0; q < size; ++q) {
        for (int i = 0; i < size; ++i) {
            for (int j = i + 1; j < size; ++j)
                judgements.append({altPairKey(i, j, q), QString::number(judgement(serial++))});
        }
    }
    doc.replaceSection(JudgementSection, judgements);
    return doc;
}

/// The same problem as the evaluation reads it.
inline ProblemData problem(int size = Largest)
{
    return ProblemData::load(document(size));
}

} // namespace LargestProblem
