#include "evaluate/AnalysisText.h"

#include "evaluate/AnalysisResult.h"
#include "evaluate/NumberFormat.h"

using namespace Qt::Literals::StringLiterals;

namespace AnalysisText {

namespace {

QString quoted(const QString& name)
{
    return u'«' + name + u'»';
}

} // namespace

QString MatrixTitle(const AnalysisResult& analysis, const AnalysisMatrix& matrix)
{
    if (matrix.isCriteria())
        return u"Критерии"_s;
    return u"Альтернативы по критерию "_s + quoted(analysis.critNames.at(matrix.criterion));
}

QString Percent(double value, const QLocale& locale)
{
    return NumberFormat::fixed(100.0 * value, locale).trimmed() + u'%';
}

QStringList ConsistencyCells(const AnalysisMatrix& matrix, const QLocale& locale)
{
    return {NumberFormat::fixedPoint(matrix.lambda, 0, 3, locale),
            NumberFormat::fixedPoint(matrix.consistencyIndex, 0, 3, locale),
            NumberFormat::hundredfold(matrix.consistencyRatio, locale).trimmed() + u'%',
            matrix.inconsistent ? u"противоречивы"_s : u"согласованы"_s};
}

QString SensitivityLine(const AnalysisResult& analysis, int k, const QLocale& locale)
{
    const CriterionSensitivity& s = analysis.sensitivity.at(std::size_t(k));
    const QString criterion = quoted(analysis.critNames.at(k));
    if (!s.canVary)
        return u"Критерий "_s + criterion + u" единственный: его вес всегда 100%, и лучший выбор от него не зависит."_s;
    if (analysis.winner < 0)
        return u"Альтернатив нет, выбирать не из чего."_s;
    const QString best = quoted(analysis.altNames.at(analysis.winner));
    if (analysis.altTotal == 1)
        return u"Альтернатива "_s + best + u" единственная и остаётся лучшим выбором при любом весе критерия "_s +
               criterion + u'.';
    if (s.winnerBelow < 0 && s.winnerAbove < 0)
        return u"При любом весе критерия "_s + criterion + u" лучшим выбором остаётся "_s + best + u'.';

    QString text = best + u" остаётся лучшим выбором, пока вес критерия "_s + criterion + u" от "_s +
                   Percent(s.low, locale) + u" до "_s + Percent(s.high, locale) + u" (сейчас "_s +
                   Percent(s.weight, locale) + u")."_s;
    // At an end that is not included the new best choice already wins the tie.
    if (s.winnerBelow >= 0) {
        text += u" Если вес станет "_s + (s.lowIncluded ? u"меньше "_s : QString()) + Percent(s.low, locale) +
                (s.lowIncluded ? QString() : u" или меньше"_s) + u", лучшим выбором станет "_s +
                quoted(analysis.altNames.at(s.winnerBelow)) + u'.';
    }
    if (s.winnerAbove >= 0) {
        text += u" Если вес станет "_s + (s.highIncluded ? u"больше "_s : QString()) + Percent(s.high, locale) +
                (s.highIncluded ? QString() : u" или больше"_s) + u", лучшим выбором станет "_s +
                quoted(analysis.altNames.at(s.winnerAbove)) + u'.';
    }
    return text;
}

QString SmallestChangeLine(const AnalysisResult& analysis, const QLocale& locale)
{
    if (!analysis.smallestChange) {
        if (analysis.winner < 0)
            return u"Альтернатив нет, выбирать не из чего."_s;
        if (analysis.altTotal == 1)
            return u"Альтернатива единственная: лучший выбор не может измениться."_s;
        if (analysis.critTotal == 0)
            return u"Критериев нет: менять нечего."_s;
        if (analysis.critTotal == 1)
            return u"Критерий единственный: его вес нельзя изменить, и лучший выбор не изменится."_s;
        return u"Никакое изменение веса одного критерия не меняет лучший выбор."_s;
    }
    const WinnerChange& c = *analysis.smallestChange;
    const CriterionSensitivity& s = analysis.sensitivity.at(std::size_t(c.criterion));
    return u"Меньше всего нужно, чтобы изменить лучший выбор, весу критерия "_s +
           quoted(analysis.critNames.at(c.criterion)) + u": если он изменится с "_s + Percent(s.weight, locale) +
           u" до "_s + Percent(c.newWeight, locale) + u", лучшим выбором станет "_s +
           quoted(analysis.altNames.at(c.newWinner)) + u'.';
}

} // namespace AnalysisText
