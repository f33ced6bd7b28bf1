#pragma once

#include <QLocale>
#include <QString>

/// The one place where a number becomes text for the user: fixed-point with two
/// decimals, the decimal separator of the user's locale, never digit grouping.
/// The screens, the results text and the reports all go through it.
namespace NumberFormat {

/// As "%4.2f": two decimals, padded with blanks on the left to at least four characters.
QString fixed(double value, const QLocale& locale = QLocale());

/// As " %4.2f": a blank, then fixed(value).
QString spacedFixed(double value, const QLocale& locale = QLocale());

/// Fixed-point with the given number of decimals, padded on the left with blanks
/// to at least width characters, the locale's decimal separator, no grouping.
QString fixedPoint(double value, int width, int decimals, const QLocale& locale = QLocale());

/// As "%4.2f" of 100 x fraction, the product taken at extended precision: a
/// fraction stored just below a half of a hundredth rounds down, as its true
/// value does, where a double product could round up.
QString hundredfold(double fraction, const QLocale& locale = QLocale());

/// As " %4.2f" of 100 x fraction: a blank, then hundredfold(fraction).
QString spacedHundredfold(double fraction, const QLocale& locale = QLocale());

/// A share in per cent as the chart marks it ("##0.## %"): at most two
/// decimals, trailing zeros and a bare separator dropped, then " %":
/// 50 %, 33,33 %, 0,5 %.
QString percentMark(double percent, const QLocale& locale = QLocale());

} // namespace NumberFormat
