#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

/// The lines of the results text: consistency warnings, the priority of each
/// alternative and the best choice. The results screen and the reports share
/// these texts and thresholds.
namespace ResultsText {

/// How far a consistency ratio allows the judgements to be trusted.
enum class Consistency {
    Acceptable,   // ratio <= 0.1: no warning
    Questionable, // 0.1 < ratio < 0.2: the first form of the warning
    Contradictory // ratio >= 0.2: the second form
};

/// Which judgements a consistency ratio belongs to.
enum class Judgements { Criteria, Alternatives };

Consistency consistencyOf(double ratio);

/// The start of the warning line, up to and including "(ОС="; empty for Acceptable.
QString warningPrefix(Judgements judgements, Consistency consistency);

/// The line that follows the warning line; empty for Acceptable.
QString advice(Consistency consistency);

/// The warning line: its prefix, 100 x ratio as "%4.2f", then "%)". Empty for Acceptable.
QString warningLine(Judgements judgements, Consistency consistency, double ratio, const QLocale& locale = QLocale());

/// "Внимание!", the warning line, the advice and an empty line; nothing when the ratio is acceptable.
QStringList warningLines(Judgements judgements, double ratio, const QLocale& locale = QLocale());

/// "Альтернативы имеют следующие приоритеты :"
QString heading();

/// name, 100 x priority as " %4.2f", then "%".
QString priorityLine(const QString& name, double priority, const QLocale& locale = QLocale());

/// "Лучший выбор - " + name
QString bestChoiceLine(const QString& name);

} // namespace ResultsText
