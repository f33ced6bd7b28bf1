#include "evaluate/AnalysisText.h"

#include "evaluate/AnalysisResult.h"
#include "evaluate/NumberFormat.h"

using namespace Qt::Literals::StringLiterals;

namespace AnalysisText {

namespace {

// How the weight leaves the interval at one end, the present weight given or not: "вырастет до 40,80%" where
// the new best choice already wins at that point, "превысит 40,80%" where the present one still holds there.
QString rise(const CriterionSensitivity& s, const QString& from, const QLocale& locale)
{
    const QString to = percent(s.high, locale);
    if (from.isEmpty())
        return s.highIncluded ? u"превысит "_s + to : u"вырастет до "_s + to;
    return u"вырастет с "_s + from + (s.highIncluded ? u" до значения больше "_s : u" до "_s) + to;
}

QString fall(const CriterionSensitivity& s, const QString& from, const QLocale& locale)
{
    const QString to = percent(s.low, locale);
    if (from.isEmpty())
        return s.lowIncluded ? u"станет меньше "_s + to : u"снизится до "_s + to;
    return u"снизится с "_s + from + (s.lowIncluded ? u" до значения меньше "_s : u" до "_s) + to;
}

} // namespace

QString quoted(const QString& name)
{
    // Quotes of one kind never nest: a name that has «» of its own keeps them as „“.
    QString inner = name;
    inner.replace(u'«', u'„').replace(u'»', u'“');
    return u'«' + inner + u'»';
}

QString matrixTitle(const AnalysisResult& analysis, const AnalysisMatrix& matrix)
{
    if (matrix.isCriteria())
        return u"Критерии"_s;
    return u"Альтернативы по критерию "_s + quoted(analysis.critNames.at(matrix.criterion));
}

QString percent(double value, const QLocale& locale)
{
    return NumberFormat::fixed(100.0 * value, locale).trimmed() + u'%';
}

QStringList consistencyCells(const AnalysisMatrix& matrix, const QLocale& locale)
{
    return {NumberFormat::fixedPoint(matrix.lambda, 0, 3, locale),
            NumberFormat::fixedPoint(matrix.consistencyIndex, 0, 3, locale),
            NumberFormat::hundredfold(matrix.consistencyRatio, locale).trimmed() + u'%',
            matrix.inconsistent ? u"противоречивы"_s : u"согласованы"_s};
}

QString consistencyLegend()
{
    return u"λ max равен числу элементов, когда ответы полностью согласованы, и растёт с их расхождением. ИС (индекс "
           u"согласованности) — расхождение на один элемент, ОС (отношение согласованности) — ИС по сравнению с "
           u"ответами наугад. ОС выше 10%: ответы противоречивы."_s;
}

QString revisitNote(const AnalysisResult& analysis, const AnalysisMatrix& matrix)
{
    // In a matrix of three every judgement follows from the other two, so all three disagree alike, and one
    // change can bring them into agreement.
    if (matrix.order != 3 || matrix.revisit.isEmpty())
        return {};
    return matrixTitle(analysis, matrix) +
           u": из трёх ответов каждый противоречит двум другим в равной мере, поэтому достаточно изменить любой "
           u"один из них."_s;
}

QString sensitivityLine(const AnalysisResult& analysis, int k, const QLocale& locale)
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

    // At an end that is not included the new best choice already wins the tie.
    const bool below = s.winnerBelow >= 0;
    const bool above = s.winnerAbove >= 0;
    QString range;
    if (below && above && s.lowIncluded && s.highIncluded) {
        range = u"в пределах от "_s + percent(s.low, locale) + u" до "_s + percent(s.high, locale);
    } else {
        if (below)
            range = (s.lowIncluded ? u"не меньше "_s : u"больше "_s) + percent(s.low, locale);
        if (below && above)
            range += u" и "_s;
        if (above)
            range += (s.highIncluded ? u"не больше "_s : u"меньше "_s) + percent(s.high, locale);
    }
    QString text = best + u" остаётся лучшим выбором, пока вес критерия "_s + criterion + u" (сейчас "_s +
                   percent(s.weight, locale) + u") "_s + range + u": если он "_s;
    if (below)
        text += fall(s, QString(), locale) + u", лучшим станет "_s + quoted(analysis.altNames.at(s.winnerBelow));
    if (below && above)
        text += u", а если "_s + rise(s, QString(), locale) + u" — "_s;
    else if (above)
        text += rise(s, QString(), locale) + u", лучшим станет "_s;
    if (above)
        text += quoted(analysis.altNames.at(s.winnerAbove));
    return text + u'.';
}

QString smallestChangeLine(const AnalysisResult& analysis, const QLocale& locale)
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
    const QString from = percent(s.weight, locale);
    return u"Лучший выбор сильнее всего зависит от веса "_s + quoted(analysis.critNames.at(c.criterion)) +
           u": если он "_s + (c.newWeight > s.weight ? rise(s, from, locale) : fall(s, from, locale)) +
           u", лучшим станет "_s + quoted(analysis.altNames.at(c.newWinner)) + u'.';
}

} // namespace AnalysisText
