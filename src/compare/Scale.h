#pragma once

#include <QString>

#include <optional>

class QLocale;

/// The nine-grade comparison scale: track-bar positions, stored judgement values, and the words shown for them.
///
/// A position runs from -8 (the first element of the pair, A, strongly preferred) through 0 (equal) to 8 (the
/// second element, B, strongly preferred). The stored value is -9..-2, 1 or 2..9; anything else reads as equal.
/// Every function here is pure, so both comparison screens share one set of rules.
namespace Scale {

inline constexpr int MinPosition = -8;
inline constexpr int MaxPosition = 8;

/// Which words a sentence uses: criteria are "важнее", alternatives are "лучше".
enum class PairKind { Criteria, Alternatives };

/// The judgement value stored for a track-bar position; a position off the bar stores 1 (equal).
int PositionToJudgement(int p);
/// The track-bar position showing a stored value; 1, 0, -1 and every value off the scale show as 0.
int JudgementToPosition(int v);

// The functions below describe a position on the bar. A position beyond -8..8 cannot come from the bar; if one is
// passed anyway it is treated as the nearest end of the bar, the way the bar itself would show it.

/// The A side of the ratio A : B, "9" at -8 down to "1" from 0 on.
QString aDigit(int p);
/// The B side of the ratio A : B, "1" up to 0, then "2" .. "9".
QString bDigit(int p);
/// The ratio as the dialog appends it, two blanks first: "  [9/1]" .. "  [1/1]" .. "  [1/9]".
QString ratioTag(int p);

/// The sentence of a pair at position p, the preferred element named first. Not cut: names of up to 255
/// characters give a longer sentence, and the dialog shows it whole.
QString sentence(PairKind kind, const QString& nameA, const QString& nameB, int p);
/// The dialog's full text: the sentence followed by the ratio tag.
QString dialogSentence(PairKind kind, const QString& nameA, const QString& nameB, int p);

/// Longest text a compact-screen row shows; longer sentences are cut after this many characters.
inline constexpr int MaxPhraseLength = 255;

/// The criteria sentence for a stored value v, without ratio tag, cut to 255 characters.
QString CriteriaPhrase(const QString& nameA, const QString& nameB, int v);
/// The alternatives sentence for a stored value v, without ratio tag, cut to 255 characters.
QString AlternativesPhrase(const QString& nameA, const QString& nameB, int v);

/// The position proposed by comparing two measured values a (of A) and b (of B); the larger one is preferred.
///
/// Signs are ignored. Nothing is proposed (the bar stays where it is) when a x b is below 1E-16, when a value
/// is infinite or not a number, or when the percentage by which the larger exceeds the smaller has a whole part
/// beyond the 64-bit integer range. The percentage is whole-numbered after a tolerance of 1E-9 per cent, so that
/// typed decimals such as 0,1 and 0,251, which binary numbers only approximate, land on the step of 100 and 251.
std::optional<int> NumericToPosition(double a, double b);

/// A decimal number typed with the locale's decimal separator; nothing when the text is empty, not a number,
/// infinite or uses digit grouping. Blanks around the number are allowed.
std::optional<double> parseDecimal(const QString& text, const QLocale& locale);

/// The numeric comparison of the dialog's two fields: both parsed by parseDecimal, then compared by
/// NumericToPosition. Nothing when either field does not hold a usable number.
std::optional<int> numericTextsToPosition(const QString& textA, const QString& textB, const QLocale& locale);

/// The key filter of the first value field: a typed "," or "." becomes the locale's decimal separator, so
/// either key works on any keyboard; every other text passes unchanged.
QString filterDecimalKey(const QString& typed, const QLocale& locale);

} // namespace Scale
