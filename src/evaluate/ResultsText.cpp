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

QString warningLine(Judgements judgements, Consistency consistency, double ratio, const QLocale& locale)
{
    QString prefix;
    switch (consistency) {
    case Consistency::Acceptable:
        return {};
    case Consistency::Questionable:
        prefix = judgements == Judgements::Criteria
                     ? u"При сравнении критериев по степени важности, Ваши ответы противоречивы! (ОС="_s
                     : u"При сравнении альтернатив, Ваши ответы протеворечивы! (ОС="_s;
        break;
    case Consistency::Contradictory:
        prefix = judgements == Judgements::Criteria
                     ? u"При сравнении критериев по степени важности, Ваши ответы очень противоречивы!(ОС="_s
                     : u"При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС="_s;
        break;
    }
    return prefix + NumberFormat::fixed(100.0 * ratio, locale) + u"%)"_s;
}

QStringList warningLines(Judgements judgements, double ratio, const QLocale& locale)
{
    const Consistency consistency = consistencyOf(ratio);
    if (consistency == Consistency::Acceptable)
        return {};
    const QString advice = consistency == Consistency::Questionable
                               ? u"Для получения более точных результатов, возможно, следует пересмотреть ответы."_s
                               : u"Для получения правильных результатов необходимо пересмотреть ответы."_s;
    return {u"Внимание!"_s, warningLine(judgements, consistency, ratio, locale), advice, QString()};
}

QString heading()
{
    return u"Альтернативы имеют следующие приоритеты :"_s;
}

QString priorityLine(const QString& name, double priority, const QLocale& locale)
{
    return name + NumberFormat::spacedFixed(100.0 * priority, locale) + u'%';
}

QString bestChoiceLine(const QString& name)
{
    return u"Лучший выбор - "_s + name;
}

} // namespace ResultsText
