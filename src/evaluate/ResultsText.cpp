#include "evaluate/ResultsText.h"

#include "evaluate/NumberFormat.h"

using namespace Qt::Literals::StringLiterals;

namespace ResultsText {

Consistency consistencyOf(double ratio)
{
    // The limits are meant as the real numbers 0.1 and 0.2, with "greater than
    // 0.1" and "at least 0.2". The doubles nearest to 0.1 and 0.2 both lie just
    // above those real numbers, and no double lies between, so in double the
    // conditions are exactly ratio >= 0.1 and ratio >= 0.2. Written this way they
    // hold whatever precision long double has; a ratio equal to the double 0.1
    // must warn.
    if (ratio >= 0.2)
        return Consistency::Contradictory;
    if (ratio >= 0.1)
        return Consistency::Questionable;
    return Consistency::Acceptable;
}

QString warningPrefix(Judgements judgements, Consistency consistency)
{
    const bool criteria = judgements == Judgements::Criteria;
    switch (consistency) {
    case Consistency::Acceptable:
        break;
    case Consistency::Questionable:
        return criteria ? u"При сравнении критериев по степени важности, Ваши ответы противоречивы! (ОС="_s
                        : u"При сравнении альтернатив, Ваши ответы протеворечивы! (ОС="_s;
    case Consistency::Contradictory:
        return criteria ? u"При сравнении критериев по степени важности, Ваши ответы очень противоречивы!(ОС="_s
                        : u"При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС="_s;
    }
    return {};
}

QString advice(Consistency consistency)
{
    switch (consistency) {
    case Consistency::Acceptable:
        break;
    case Consistency::Questionable:
        return u"Для получения более точных результатов, возможно, следует пересмотреть ответы."_s;
    case Consistency::Contradictory:
        return u"Для получения правильных результатов необходимо пересмотреть ответы."_s;
    }
    return {};
}

QString warningLine(Judgements judgements, Consistency consistency, double ratio, const QLocale& locale)
{
    if (consistency == Consistency::Acceptable)
        return {};
    // The hundredfold is taken at extended precision, as in the reports, so the
    // screen and a report never differ in the last digit.
    return warningPrefix(judgements, consistency) + NumberFormat::hundredfold(ratio, locale) + u"%)"_s;
}

QStringList warningLines(Judgements judgements, double ratio, const QLocale& locale)
{
    const Consistency consistency = consistencyOf(ratio);
    if (consistency == Consistency::Acceptable)
        return {};
    return {u"Внимание!"_s, warningLine(judgements, consistency, ratio, locale), advice(consistency), QString()};
}

QString heading()
{
    return u"Альтернативы имеют следующие приоритеты :"_s;
}

QString priorityLine(const QString& name, double priority, const QLocale& locale)
{
    return name + NumberFormat::spacedHundredfold(priority, locale) + u'%';
}

QString bestChoiceLine(const QString& name)
{
    return u"Лучший выбор - "_s + name;
}

} // namespace ResultsText
