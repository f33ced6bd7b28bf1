#include "evaluate/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace NumberFormat {

namespace {

QString withSeparator(QString text, int width, const QLocale& locale)
{
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0)
        text.replace(point, 1, locale.decimalPoint());
    if (text.size() < width)
        text.prepend(QString(width - text.size(), u' '));
    return text;
}

} // namespace

QString fixedPoint(double value, int width, int decimals, const QLocale& locale)
{
    // The digits come from the C locale, which never groups and always writes
    // ASCII digits and "-"; only the separator is the user's. A locale's own
    // toString() would group thousands (12.5 as a ratio of 1250 must not read
    // "1 250,00") and may bring its own digits or minus sign.
    // Infinity and not-a-number have no point to replace.
    return withSeparator(QString::number(value, 'f', decimals), width, locale);
}

QString fixed(double value, const QLocale& locale)
{
    return fixedPoint(value, 4, 2, locale);
}

QString spacedFixed(double value, const QLocale& locale)
{
    return u' ' + fixed(value, locale);
}

QString hundredfold(double fraction, const QLocale& locale)
{
    // A double times 100 needs at most 60 significant bits, so the extended
    // product is exact wherever long double has a 64-bit mantissa or more.
    const long double product = 100.0L * static_cast<long double>(fraction);
    std::array<char, 128> digits{};
    const std::to_chars_result r = std::isfinite(product) ? std::to_chars(digits.data(), digits.data() + digits.size(),
                                                                          product, std::chars_format::fixed, 2)
                                                          : std::to_chars_result{nullptr, std::errc::value_too_large};
    if (r.ec != std::errc())
        return fixed(100.0 * fraction, locale); // too large for the buffer, infinite or not a number
    return withSeparator(QString::fromLatin1(digits.data(), r.ptr - digits.data()), 4, locale);
}

QString spacedHundredfold(double fraction, const QLocale& locale)
{
    return u' ' + hundredfold(fraction, locale);
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
