#include "compare/Scale.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace Scale {

namespace {

struct GradeWords
{
    QString criteriaLink;
    QString alternativesLink;
    QString criteriaClosing;
    QString alternativesClosing;
};

// Indexed by grade |p|. Grades 1 and 2 share their link; only grade 1 admits in its closing that the two may be
// equal, because position 1 is the first step away from "equal".
const std::array<GradeWords, 9>& gradeWords()
{
    static const std::array<GradeWords, 9> words{{
        {u" и "_s, u" и "_s, u" одинаково важны"_s, u" одинаково предпочтительны"_s},
        {u" немного важнее, чем "_s, u" немного лучше, чем "_s, u" или они одинаково важны"_s,
         u" или они одинаково предпочтительны"_s},
        {u" немного важнее, чем "_s, u" немного лучше, чем "_s, {}, {}},
        {u" существенно или немного важнее, чем "_s, u" существенно или немного лучше, чем "_s, {}, {}},
        {u" существенно важнее, чем "_s, u" существенно лучше, чем "_s, {}, {}},
        {u" значительно или существенно важнее, чем "_s, u" значительно или существенно лучше, чем "_s, {}, {}},
        {u" значительно важнее, чем "_s, u" значительно лучше, чем "_s, {}, {}},
        {u" очень намного или значительно важнее, чем "_s, u" очень намного или значительно лучше, чем "_s, {}, {}},
        {u" очень намного важнее, чем "_s, u" очень намного лучше, чем "_s, {}, {}},
    }};
    return words;
}

int onBar(int p)
{
    return std::clamp(p, MinPosition, MaxPosition);
}

} // namespace

int PositionToJudgement(int p)
{
    if (p >= -8 && p <= -1)
        return p - 1;
    if (p >= 1 && p <= 8)
        return p + 1;
    return 1;
}

int JudgementToPosition(int v)
{
    if (v >= -9 && v <= -2)
        return v + 1;
    if (v >= 2 && v <= 9)
        return v - 1;
    return 0;
}

QString aDigit(int p)
{
    const int q = onBar(p);
    return QString::number(q < 0 ? 1 - q : 1);
}

QString bDigit(int p)
{
    const int q = onBar(p);
    return QString::number(q > 0 ? 1 + q : 1);
}

QString ratioTag(int p)
{
    return u"  ["_s + aDigit(p) + u'/' + bDigit(p) + u']';
}

QString sentence(PairKind kind, const QString& nameA, const QString& nameB, int p)
{
    const int q = onBar(p);
    const GradeWords& words = gradeWords()[static_cast<std::size_t>(std::abs(q))];
    const bool criteria = kind == PairKind::Criteria;
    const QString& link = criteria ? words.criteriaLink : words.alternativesLink;
    const QString& closing = criteria ? words.criteriaClosing : words.alternativesClosing;
    // The preferred element is always named first; at 0 that is A.
    const QString& first = q > 0 ? nameB : nameA;
    const QString& second = q > 0 ? nameA : nameB;
    return first + link + second + closing;
}

QString dialogSentence(PairKind kind, const QString& nameA, const QString& nameB, int p)
{
    return sentence(kind, nameA, nameB, p) + ratioTag(p);
}

// Names reach the compact screen through code page 1251, so every character is one UTF-16 unit and the cut never
// splits a surrogate pair.
QString CriteriaPhrase(const QString& nameA, const QString& nameB, int v)
{
    return sentence(PairKind::Criteria, nameA, nameB, JudgementToPosition(v)).left(MaxPhraseLength);
}

QString AlternativesPhrase(const QString& nameA, const QString& nameB, int v)
{
    return sentence(PairKind::Alternatives, nameA, nameB, JudgementToPosition(v)).left(MaxPhraseLength);
}

std::optional<int> NumericToPosition(double a, double b)
{
    const long double x = std::fabs(static_cast<long double>(a));
    const long double y = std::fabs(static_cast<long double>(b));
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    if (x * y < 1e-16L)
        return std::nullopt;

    const long double lo = std::min(x, y);
    const long double hi = std::max(x, y);
    const long double percent = ((hi - lo) / lo) * 100.0L;
    // The whole percent is a 64-bit integer; a larger one is the overflow that leaves the bar alone.
    constexpr long double wholeLimit = 9223372036854775808.0L; // 2^63
    if (!(percent < wholeLimit))
        return std::nullopt;
    long double whole = std::trunc(percent);
    // 0,251 / 0,1 comes out a hair below 2,51 in binary; without the tolerance 251 vs 100 and 0,251 vs 0,1 would
    // fall on different steps.
    constexpr long double tolerance = 1e-9L;
    if (percent - whole >= 1.0L - tolerance)
        whole += 1.0L;

    // First whole percent of steps 1 to 8.
    constexpr std::array<long double, 8> stepStarts{3, 11, 21, 36, 51, 76, 101, 151};
    const auto k = static_cast<int>(
        std::count_if(stepStarts.begin(), stepStarts.end(), [whole](long double start) { return whole >= start; }));
    return x >= y ? -k : k;
}

std::optional<double> parseDecimal(const QString& text, const QLocale& locale)
{
    // Grouping would turn "1,500" into 1500 under a "." locale; the fields take plain numbers only.
    QLocale strict = locale;
    strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> numericTextsToPosition(const QString& textA, const QString& textB, const QLocale& locale)
{
    const std::optional<double> a = parseDecimal(textA, locale);
    const std::optional<double> b = parseDecimal(textB, locale);
    if (!a || !b)
        return std::nullopt;
    return NumericToPosition(*a, *b);
}

QString filterDecimalKey(const QString& typed, const QLocale& locale)
{
    if (typed == u"," || typed == u".")
        return locale.decimalPoint();
    return typed;
}

} // namespace Scale
