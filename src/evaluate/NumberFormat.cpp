#include "evaluate/NumberFormat.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace NumberFormat {

QString fixedPoint(double value, int width, int decimals, const QLocale& locale)
{
    // The digits come from the C locale, which never groups and always writes
    // ASCII digits and "-"; only the separator is the user's. A locale's own
    // toString() would group thousands (12.5 as a ratio of 1250 must not read
    // "1 250,00") and may bring its own digits or minus sign.
    QString text = QString::number(value, 'f', decimals);
    if (std::isfinite(value) && decimals > 0) {
        const qsizetype point = text.indexOf(u'.');
        if (point >= 0)
            text.replace(point, 1, locale.decimalPoint());
    }
    if (text.size() < width)
        text.prepend(QString(width - text.size(), u' '));
    return text;
}

QString fixed(double value, const QLocale& locale)
{
    return fixedPoint(value, 4, 2, locale);
}

QString spacedFixed(double value, const QLocale& locale)
{
    return u' ' + fixed(value, locale);
}

QString percentMark(double percent, const QLocale& locale)
{
    QString text = fixedPoint(percent, 0, 2, locale);
    const QString point = locale.decimalPoint();
    if (std::isfinite(percent) && text.contains(point)) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    // -0,001 rounds to "-0,00", which the digits alone would show as "-0".
    if (text == u"-0"_s)
        text = u"0"_s;
    return text + u" %"_s;
}

} // namespace NumberFormat
