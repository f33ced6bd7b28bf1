// The comparison scale: positions and stored values, the ratio and the sentences shown for them, and the
// numeric comparison of the dialog's two fields.
#include "compare/Scale.h"

#include <QLocale>
#include <QTest>

#include <climits>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using Scale::PairKind;

Q_DECLARE_METATYPE(Scale::PairKind)

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);
const QLocale english(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestScale final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each position of the bar, the value it stores and the ratio the dialog appends.
    void testPositions()
    {
        const int values[] = {-9, -8, -7, -6, -5, -4, -3, -2, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        const char* ratios[] = {"9/1", "8/1", "7/1", "6/1", "5/1", "4/1", "3/1", "2/1", "1/1",
                                "1/2", "1/3", "1/4", "1/5", "1/6", "1/7", "1/8", "1/9"};
        for (int p = -8; p <= 8; ++p) {
            const QString ratio = QString::fromLatin1(ratios[p + 8]);
            QCOMPARE(QList<int>({Scale::PositionToJudgement(p), Scale::JudgementToPosition(values[p + 8])}),
                     QList<int>({values[p + 8], p}));
            QCOMPARE(Scale::ratioTag(p) + Scale::aDigit(p) + u'/' + Scale::bDigit(p), u"  ["_s + ratio + u']' + ratio);
        }
    }

    // A stored value off the scale shows as "equal" and goes back to the file as 1; a position off the bar
    // stores 1 and is shown as the nearest end.
    void testOffTheScale()
    {
        for (const int v : {0, -1, 10, -10, 12, INT_MIN, INT_MAX})
            QVERIFY2(Scale::JudgementToPosition(v) == 0, qPrintable(QString::number(v)));
        for (const int p : {9, -9, INT_MAX, INT_MIN})
            QVERIFY2(Scale::PositionToJudgement(p) == 1, qPrintable(QString::number(p)));
        QCOMPARE(Scale::ratioTag(9), u"  [1/9]"_s);
        QCOMPARE(Scale::ratioTag(INT_MAX), u"  [1/9]"_s);
        QCOMPARE(Scale::ratioTag(-100), u"  [9/1]"_s);
        QCOMPARE(Scale::ratioTag(INT_MIN), u"  [9/1]"_s);
    }

    // The sentences of criteria; those of alternatives say "лучше" for "важнее" and "одинаково
    // предпочтительны" for "одинаково важны". The names are any text, "?" and empty ones too.
    void testSentence_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("sentence"); // of the pair Цена (A) and Качество (B)
        const std::pair<int, QString> rows[] = {{-8, u"Цена очень намного важнее, чем Качество"_s},
                                                {7, u"Качество очень намного или значительно важнее, чем Цена"_s},
                                                {-6, u"Цена значительно важнее, чем Качество"_s},
                                                {5, u"Качество значительно или существенно важнее, чем Цена"_s},
                                                {-4, u"Цена существенно важнее, чем Качество"_s},
                                                {3, u"Качество существенно или немного важнее, чем Цена"_s},
                                                {-2, u"Цена немного важнее, чем Качество"_s},
                                                {2, u"Качество немного важнее, чем Цена"_s},
                                                {1, u"Качество немного важнее, чем Цена или они одинаково важны"_s},
                                                {-1, u"Цена немного важнее, чем Качество или они одинаково важны"_s},
                                                {0, u"Цена и Качество одинаково важны"_s},
                                                {9, u"Качество очень намного важнее, чем Цена"_s},
                                                {INT_MIN, u"Цена очень намного важнее, чем Качество"_s}};
        for (const auto& [p, sentence] : rows)
            QTest::addRow("%d", p) << p << sentence;
    }
    void testSentence()
    {
        QFETCH(int, position);
        QFETCH(QString, sentence);
        const QString alternatives = QString(sentence)
                                         .replace(u"важнее"_s, u"лучше"_s)
                                         .replace(u"одинаково важны"_s, u"одинаково предпочтительны"_s);
        for (const auto& [kind, text] :
             {std::pair{PairKind::Criteria, sentence}, {PairKind::Alternatives, alternatives}}) {
            QCOMPARE(Scale::sentence(kind, u"Цена"_s, u"Качество"_s, position), text);
            QCOMPARE(Scale::dialogSentence(kind, u"Цена"_s, u"Качество"_s, position), text + Scale::ratioTag(position));
            QCOMPARE(Scale::sentence(kind, QString(), u"?"_s, position),
                     QString(text).replace(u"Цена"_s, QString()).replace(u"Качество"_s, u"?"_s));
        }
    }

    // The phrases of a stored value, cut after 255 characters; the dialog shows the same pair whole.
    void testPhrase()
    {
        const PairKind c = PairKind::Criteria, a = PairKind::Alternatives;
        const QString x = u"A"_s, y = u"B"_s, b100(100, u'к'), d125(125, u'д'), d126(126, u'д'), d127(127, u'д');
        const QString same = u" одинаково предпочтительны"_s; // " и " and this are 3 and 26 characters
        const std::tuple<PairKind, QString, QString, int, QString> rows[] = {
            {c, x, y, 2, u"B немного важнее, чем A или они одинаково важны"_s},
            {c, x, y, 12, u"A и B одинаково важны"_s},
            {a, x, y, -5, u"A существенно лучше, чем B"_s},
            {a, x, y, -10, u"A и B одинаково предпочтительны"_s},
            {c, QString(200, u'ц'), b100, -9, QString(200, u'ц') + u" очень намного важнее, чем "_s + b100},
            {a, d125, b100, 1, d125 + u" и "_s + b100 + same},
            {a, d126, b100, 1, d126 + u" и "_s + b100 + same},
            {a, d127, b100, 1, d127 + u" и "_s + b100 + same}};
        for (const auto& [kind, nameA, nameB, value, sentence] : rows) {
            const QString phrase = kind == PairKind::Criteria ? Scale::CriteriaPhrase(nameA, nameB, value)
                                                              : Scale::AlternativesPhrase(nameA, nameB, value);
            QCOMPARE(phrase, sentence.left(255));
            const int p = Scale::JudgementToPosition(value);
            QCOMPARE(Scale::dialogSentence(kind, nameA, nameB, p), sentence + Scale::ratioTag(p));
        }
    }

    // d is the whole percentage by which the larger value exceeds the smaller; the steps begin at d = 3, 11,
    // 21, 36, 51, 76, 101 and 151. A negative position prefers A.
    void testNumericToPosition()
    {
        // Each step from both sides, either way round, signs ignored; typed decimals that binary numbers only
        // approximate (computed naively each would land one step low); tiny products, huge percentages and
        // numbers that are none.
        using limits = std::numeric_limits<double>;
        const double inf = limits::infinity(), nan = limits::quiet_NaN(), max = limits::max(),
                     min = limits::denorm_min();
        const std::tuple<double, double, int> rows[] = {
            {42.5, 42.5, 0},   {100, 102, 0},     {102, 100, 0},     {100, 103, 1},         {103, 100, -1},
            {100, 110, 1},     {111, 100, -2},    {100, 120, 2},     {100, 121, 3},         {135, 100, -3},
            {100, 136, 4},     {100, 150, 4},     {151, 100, -5},    {100, 175, 5},         {100, 176, 6},
            {200, 100, -6},    {100, 201, 7},     {100, 250, 7},     {100, 250.9999999, 7}, {251, 100, -8},
            {100, 1000, 8},    {-50, 100, 6},     {-103, -100, -1},  {0.05, 0.0515, 1},     {0.05, 0.0555, 2},
            {0.01, 0.0121, 3}, {0.15, 0.204, 4},  {0.09, 0.1359, 5}, {0.05, 0.088, 6},      {0.01, 0.0201, 7},
            {0.251, 0.1, -8},  {0.07, 0.1757, 8}, {1e-9, 1e-6, 8},   {1e-7, 1e-7, 0},       {1, 1e16, 8},
            {0, 100, 99},      {100, 0, 99},      {1e-9, 1e-9, 99},  {1, 1e17, 99},         {inf, 1, 99},
            {1, -inf, 99},     {nan, 1, 99},      {min, max, 99}};
        for (const auto& [a, b, p] : rows) // 99: the bar does not move
            QVERIFY2(Scale::NumericToPosition(a, b).value_or(99) == p,
                     qPrintable(u"%1 vs %2"_s.arg(a, 0, 'g', 10).arg(b, 0, 'g', 10)));
    }

    void testParseDecimal()
    {
        const std::tuple<QLocale, QString, double> rows[] = {
            {russian, u"1,5"_s, 1.5},  {russian, u" 2,5 "_s, 2.5},     {russian, u"1,5E3"_s, 1500.0},
            {russian, u"1.5"_s, -1},   {russian, u"1\u00a0500"_s, -1}, {russian, u"1 500"_s, -1},
            {russian, QString(), -1},  {russian, u"   "_s, -1},        {russian, u"12abc"_s, -1},
            {russian, u","_s, -1},     {russian, u"inf"_s, -1},        {russian, u"nan"_s, -1},
            {russian, u"1E400"_s, -1}, {QLocale::c(), u"1.5"_s, 1.5},  {QLocale::c(), u"1,5"_s, -1},
            {english, u"1,500"_s, -1}, {english, u"1500.5"_s, 1500.5}};
        for (const auto& [locale, text, value] : rows) { // -1: not a number
            QCOMPARE(Scale::parseDecimal(text, locale).value_or(-1.0), value);
            QCOMPARE(Scale::parseDecimal(u'-' + text.trimmed(), locale).value_or(1.0), -value);
        }
    }

    // The dialog's two value fields: a typed "," or "." becomes the locale's separator; the bar moves only when
    // both fields hold a usable number, A's first.
    void testValueFields()
    {
        QCOMPARE(Scale::numericTextsToPosition(u"103"_s, u"100"_s, russian), -1);
        QCOMPARE(Scale::numericTextsToPosition(u"0,1"_s, u"0,251"_s, russian), 8);
        QVERIFY(!Scale::numericTextsToPosition(u"100"_s, u"1.5"_s, russian) &&
                !Scale::numericTextsToPosition(u"100"_s, u"0"_s, russian));
        QCOMPARE(Scale::filterDecimalKey(u"."_s, russian) + Scale::filterDecimalKey(u","_s, russian) +
                     Scale::filterDecimalKey(u","_s, QLocale::c()) + Scale::filterDecimalKey(u"."_s, QLocale::c()),
                 u",,.."_s);
        for (const QString& other : {u"5"_s, u"-"_s, u"ю"_s, QString()})
            QCOMPARE(Scale::filterDecimalKey(other, russian), other);
    }
};

QTEST_GUILESS_MAIN(TestScale)
#include "test_scale.moc"
