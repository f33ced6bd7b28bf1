#include "evaluate/LiveConsistency.h"

#include "evaluate/Analysis.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ProblemMatrices.h"
#include "evaluate/RandomIndex.h"
#include "evaluate/ResultsText.h"

using namespace Qt::Literals::StringLiterals;

namespace LiveConsistency {

double ratioOf(const ProblemData& problem, int criterion)
{
    if (criterion >= problem.critTotal())
        return 0.0; // a page the screens show by its name where the file's count has no such criterion
    const JudgementMatrix a = ProblemMatrices::of(problem, criterion);
    return RandomIndex::consistencyRatio(MatrixPriorities::of(a).consistencyIndex, a.order());
}

QString label(double ratio, const QLocale& locale)
{
    QString verdict;
    switch (ResultsText::consistencyOf(ratio)) {
    case ResultsText::Consistency::Acceptable:
        verdict = u"хорошо"_s;
        break;
    case ResultsText::Consistency::Questionable:
        verdict = u"ответы немного противоречивы"_s;
        break;
    case ResultsText::Consistency::Contradictory:
        verdict = u"ответы противоречивы"_s;
        break;
    }
    return u"Согласованность ответов по этой матрице: ОС "_s + NumberFormat::fixedPoint(100.0 * ratio, 0, 1, locale) +
           u"% — "_s + verdict;
}

int suggestedJudgement(const ProblemData& problem, int criterion, int i, int j)
{
    return Analysis::suggestedJudgement(ProblemMatrices::of(problem, criterion), i, j);
}

} // namespace LiveConsistency
