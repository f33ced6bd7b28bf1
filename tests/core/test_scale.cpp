#include "compare/Scale.h"

#include <QLocale>
#include <QTest>

#include <climits>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using Scale::PairKind;

Q_DECLARE_METATYPE(Scale::PairKind)

namespace {

QLocale russian()
{
    return QLocale(QLocale::Russian, QLocale::Russia);
}
QLocale english()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace

class TestScale final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testPositionRoundTrip_data();
    void testPositionRoundTrip();
    void testUnusableStoredValue_data();
    void testUnusableStoredValue();
    void testPositionOffBarStoresEqual_data();
    void testPositionOffBarStoresEqual();
    void testDigitsAndTag_data();
    void testDigitsAndTag();
    void testSentence_data();
    void testSentence();
    void testDialogSentence_data();
    void testDialogSentence();
    void testPhraseOfStoredValue_data();
    void testPhraseOfStoredValue();
    void testPhraseCut_data();
    void testPhraseCut();
    void testNumericToPosition_data();
    void testNumericToPosition();
    void testParseDecimal_data();
    void testParseDecimal();
    void testNumericTexts_data();
    void testNumericTexts();
    void testFilterDecimalKey_data();
    void testFilterDecimalKey();
};

void TestScale::testPositionRoundTrip_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("value");
    const int values[] = {-9, -8, -7, -6, -5, -4, -3, -2, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int p = -8; p <= 8; ++p)
        QTest::addRow("p=%d", p) << p << values[p + 8];
}

void TestScale::testPositionRoundTrip()
{
    QFETCH(int, position);
    QFETCH(int, value);
    QCOMPARE(Scale::PositionToJudgement(position), value);
    QCOMPARE(Scale::JudgementToPosition(value), position);
}

void TestScale::testUnusableStoredValue_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("0") << 0;
    QTest::newRow("-1") << -1;
    QTest::newRow("1") << 1;
    QTest::newRow("10") << 10;
    QTest::newRow("-10") << -10;
    QTest::newRow("12") << 12;
    QTest::newRow("INT_MIN") << INT_MIN;
    QTest::newRow("INT_MAX") << INT_MAX;
}

void TestScale::testUnusableStoredValue()
{
    QFETCH(int, value);
    const int p = Scale::JudgementToPosition(value);
    QCOMPARE(p, 0);
    QCOMPARE(Scale::ratioTag(p), u"  [1/1]"_s);
    QCOMPARE(Scale::aDigit(p), u"1"_s);
    QCOMPARE(Scale::bDigit(p), u"1"_s);
    // Shown at rest, it goes back to the file as a proper "equal".
    QCOMPARE(Scale::PositionToJudgement(p), 1);
}

void TestScale::testPositionOffBarStoresEqual_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("9") << 9;
    QTest::newRow("-9") << -9;
    QTest::newRow("INT_MAX") << INT_MAX;
    QTest::newRow("INT_MIN") << INT_MIN;
}

void TestScale::testPositionOffBarStoresEqual()
{
    QFETCH(int, position);
    QCOMPARE(Scale::PositionToJudgement(position), 1);
}

void TestScale::testDigitsAndTag_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("aDigit");
    QTest::addColumn<QString>("bDigit");
    QTest::addColumn<QString>("tag");
    QTest::newRow("-8") << -8 << u"9"_s << u"1"_s << u"  [9/1]"_s;
    QTest::newRow("-7") << -7 << u"8"_s << u"1"_s << u"  [8/1]"_s;
    QTest::newRow("-6") << -6 << u"7"_s << u"1"_s << u"  [7/1]"_s;
    QTest::newRow("-5") << -5 << u"6"_s << u"1"_s << u"  [6/1]"_s;
    QTest::newRow("-4") << -4 << u"5"_s << u"1"_s << u"  [5/1]"_s;
    QTest::newRow("-3") << -3 << u"4"_s << u"1"_s << u"  [4/1]"_s;
    QTest::newRow("-2") << -2 << u"3"_s << u"1"_s << u"  [3/1]"_s;
    QTest::newRow("-1") << -1 << u"2"_s << u"1"_s << u"  [2/1]"_s;
    QTest::newRow("0") << 0 << u"1"_s << u"1"_s << u"  [1/1]"_s;
    QTest::newRow("1") << 1 << u"1"_s << u"2"_s << u"  [1/2]"_s;
    QTest::newRow("2") << 2 << u"1"_s << u"3"_s << u"  [1/3]"_s;
    QTest::newRow("3") << 3 << u"1"_s << u"4"_s << u"  [1/4]"_s;
    QTest::newRow("4") << 4 << u"1"_s << u"5"_s << u"  [1/5]"_s;
    QTest::newRow("5") << 5 << u"1"_s << u"6"_s << u"  [1/6]"_s;
    QTest::newRow("6") << 6 << u"1"_s << u"7"_s << u"  [1/7]"_s;
    QTest::newRow("7") << 7 << u"1"_s << u"8"_s << u"  [1/8]"_s;
    QTest::newRow("8") << 8 << u"1"_s << u"9"_s << u"  [1/9]"_s;
    // Off the bar: shown as the nearest end.
    QTest::newRow("9 clamps to 8") << 9 << u"1"_s << u"9"_s << u"  [1/9]"_s;
    QTest::newRow("-100 clamps to -8") << -100 << u"9"_s << u"1"_s << u"  [9/1]"_s;
    QTest::newRow("INT_MAX clamps to 8") << INT_MAX << u"1"_s << u"9"_s << u"  [1/9]"_s;
    QTest::newRow("INT_MIN clamps to -8") << INT_MIN << u"9"_s << u"1"_s << u"  [9/1]"_s;
}

void TestScale::testDigitsAndTag()
{
    QFETCH(int, position);
    QFETCH(QString, aDigit);
    QFETCH(QString, bDigit);
    QFETCH(QString, tag);
    QCOMPARE(Scale::aDigit(position), aDigit);
    QCOMPARE(Scale::bDigit(position), bDigit);
    QCOMPARE(Scale::ratioTag(position), tag);
}

void TestScale::testSentence_data()
{
    QTest::addColumn<PairKind>("kind");
    QTest::addColumn<QString>("nameA");
    QTest::addColumn<QString>("nameB");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("sentence");

    const QString price = u"Цена"_s;
    const QString quality = u"Качество"_s;
    const auto crit = [&](const char* row, int p, const QString& sentence) {
        QTest::newRow(row) << PairKind::Criteria << price << quality << p << sentence;
    };
    crit("criteria -8", -8, u"Цена очень намного важнее, чем Качество"_s);
    crit("criteria 8", 8, u"Качество очень намного важнее, чем Цена"_s);
    crit("criteria -7", -7, u"Цена очень намного или значительно важнее, чем Качество"_s);
    crit("criteria 6", 6, u"Качество значительно важнее, чем Цена"_s);
    crit("criteria -5", -5, u"Цена значительно или существенно важнее, чем Качество"_s);
    crit("criteria 4", 4, u"Качество существенно важнее, чем Цена"_s);
    crit("criteria -3", -3, u"Цена существенно или немного важнее, чем Качество"_s);
    crit("criteria 2", 2, u"Качество немного важнее, чем Цена"_s);
    crit("criteria -2", -2, u"Цена немного важнее, чем Качество"_s);
    crit("criteria -1", -1, u"Цена немного важнее, чем Качество или они одинаково важны"_s);
    crit("criteria 1", 1, u"Качество немного важнее, чем Цена или они одинаково важны"_s);
    crit("criteria 0", 0, u"Цена и Качество одинаково важны"_s);
    crit("criteria 9 clamps to 8", 9, u"Качество очень намного важнее, чем Цена"_s);
    crit("criteria INT_MIN clamps to -8", INT_MIN, u"Цена очень намного важнее, чем Качество"_s);

    const QString house = u"Дом"_s;
    const QString flat = u"Квартира"_s;
    const auto alt = [&](const char* row, int p, const QString& sentence) {
        QTest::newRow(row) << PairKind::Alternatives << house << flat << p << sentence;
    };
    alt("alternatives 8", 8, u"Квартира очень намного лучше, чем Дом"_s);
    alt("alternatives -8", -8, u"Дом очень намного лучше, чем Квартира"_s);
    alt("alternatives 7", 7, u"Квартира очень намного или значительно лучше, чем Дом"_s);
    alt("alternatives -6", -6, u"Дом значительно лучше, чем Квартира"_s);
    alt("alternatives 5", 5, u"Квартира значительно или существенно лучше, чем Дом"_s);
    alt("alternatives -4", -4, u"Дом существенно лучше, чем Квартира"_s);
    alt("alternatives 3", 3, u"Квартира существенно или немного лучше, чем Дом"_s);
    alt("alternatives -2", -2, u"Дом немного лучше, чем Квартира"_s);
    alt("alternatives -1", -1, u"Дом немного лучше, чем Квартира или они одинаково предпочтительны"_s);
    alt("alternatives 1", 1, u"Квартира немного лучше, чем Дом или они одинаково предпочтительны"_s);
    alt("alternatives 0", 0, u"Дом и Квартира одинаково предпочтительны"_s);

    QTest::newRow("missing names") << PairKind::Criteria << u"?"_s << u"?"_s << 3
                                   << u"? существенно или немного важнее, чем ?"_s;
    QTest::newRow("empty names") << PairKind::Alternatives << QString() << QString() << 0
                                 << u" и  одинаково предпочтительны"_s;
}

void TestScale::testSentence()
{
    QFETCH(PairKind, kind);
    QFETCH(QString, nameA);
    QFETCH(QString, nameB);
    QFETCH(int, position);
    QFETCH(QString, sentence);
    QCOMPARE(Scale::sentence(kind, nameA, nameB, position), sentence);
}

void TestScale::testDialogSentence_data()
{
    QTest::addColumn<PairKind>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("price over quality, strongest")
        << PairKind::Criteria << -8 << u"Цена очень намного важнее, чем Качество  [9/1]"_s;
    QTest::newRow("quality slightly over price")
        << PairKind::Criteria << 1 << u"Качество немного важнее, чем Цена или они одинаково важны  [1/2]"_s;
    QTest::newRow("alternatives equal") << PairKind::Alternatives << 0
                                        << u"Цена и Качество одинаково предпочтительны  [1/1]"_s;
    QTest::newRow("alternatives, B strongly")
        << PairKind::Alternatives << 7 << u"Качество очень намного или значительно лучше, чем Цена  [1/8]"_s;
}

void TestScale::testDialogSentence()
{
    QFETCH(PairKind, kind);
    QFETCH(int, position);
    QFETCH(QString, text);
    QCOMPARE(Scale::dialogSentence(kind, u"Цена"_s, u"Качество"_s, position), text);
}

void TestScale::testPhraseOfStoredValue_data()
{
    QTest::addColumn<PairKind>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("criteria -9") << PairKind::Criteria << -9 << u"A очень намного важнее, чем B"_s;
    QTest::newRow("criteria -2") << PairKind::Criteria << -2 << u"A немного важнее, чем B или они одинаково важны"_s;
    QTest::newRow("criteria 2") << PairKind::Criteria << 2 << u"B немного важнее, чем A или они одинаково важны"_s;
    QTest::newRow("criteria 3") << PairKind::Criteria << 3 << u"B немного важнее, чем A"_s;
    QTest::newRow("criteria 1") << PairKind::Criteria << 1 << u"A и B одинаково важны"_s;
    QTest::newRow("criteria 0") << PairKind::Criteria << 0 << u"A и B одинаково важны"_s;
    QTest::newRow("criteria -1") << PairKind::Criteria << -1 << u"A и B одинаково важны"_s;
    QTest::newRow("criteria 12") << PairKind::Criteria << 12 << u"A и B одинаково важны"_s;
    QTest::newRow("alternatives 9") << PairKind::Alternatives << 9 << u"B очень намного лучше, чем A"_s;
    QTest::newRow("alternatives -5") << PairKind::Alternatives << -5 << u"A существенно лучше, чем B"_s;
    QTest::newRow("alternatives 6") << PairKind::Alternatives << 6 << u"B значительно или существенно лучше, чем A"_s;
    QTest::newRow("alternatives 10") << PairKind::Alternatives << 10 << u"A и B одинаково предпочтительны"_s;
    QTest::newRow("alternatives -10") << PairKind::Alternatives << -10 << u"A и B одинаково предпочтительны"_s;
}

void TestScale::testPhraseOfStoredValue()
{
    QFETCH(PairKind, kind);
    QFETCH(int, value);
    QFETCH(QString, phrase);
    const QString a = u"A"_s;
    const QString b = u"B"_s;
    QCOMPARE(kind == PairKind::Criteria ? Scale::CriteriaPhrase(a, b, value) : Scale::AlternativesPhrase(a, b, value),
             phrase);
}

void TestScale::testPhraseCut_data()
{
    QTest::addColumn<PairKind>("kind");
    QTest::addColumn<QString>("nameA");
    QTest::addColumn<QString>("nameB");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("fullSentence");
    QTest::addColumn<int>("phraseLength");

    const QString a200(200, u'ц');
    const QString b100(100, u'к');
    QTest::newRow("criteria, 327 characters")
        << PairKind::Criteria << a200 << b100 << -9 << a200 + u" очень намного важнее, чем "_s + b100 << 255;

    const QString a255(255, u'а');
    const QString b255(255, u'б');
    QTest::newRow("longest names, B preferred")
        << PairKind::Criteria << a255 << b255 << 2
        << b255 + u" немного важнее, чем "_s + a255 + u" или они одинаково важны"_s << 255;

    // " и " and " одинаково предпочтительны" are 3 and 26 characters.
    const QString a126(126, u'д');
    QTest::newRow("alternatives, exactly 255") << PairKind::Alternatives << a126 << b100 << 1
                                               << a126 + u" и "_s + b100 + u" одинаково предпочтительны"_s << 255;
    const QString a127(127, u'д');
    QTest::newRow("alternatives, 256") << PairKind::Alternatives << a127 << b100 << 1
                                       << a127 + u" и "_s + b100 + u" одинаково предпочтительны"_s << 255;
    const QString a125(125, u'д');
    QTest::newRow("alternatives, 254") << PairKind::Alternatives << a125 << b100 << 1
                                       << a125 + u" и "_s + b100 + u" одинаково предпочтительны"_s << 254;
}

void TestScale::testPhraseCut()
{
    QFETCH(PairKind, kind);
    QFETCH(QString, nameA);
    QFETCH(QString, nameB);
    QFETCH(int, value);
    QFETCH(QString, fullSentence);
    QFETCH(int, phraseLength);

    const QString phrase = kind == PairKind::Criteria ? Scale::CriteriaPhrase(nameA, nameB, value)
                                                      : Scale::AlternativesPhrase(nameA, nameB, value);
    QCOMPARE(phrase.size(), phraseLength);
    QVERIFY(fullSentence.startsWith(phrase));

    // The dialog shows the same pair whole, tag included.
    const int p = Scale::JudgementToPosition(value);
    const QString dialog = Scale::dialogSentence(kind, nameA, nameB, p);
    QCOMPARE(dialog, fullSentence + Scale::ratioTag(p));
}

void TestScale::testNumericToPosition_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<int>("position");

    const auto row = [](const char* name, double a, double b, int p) { QTest::newRow(name) << a << b << true << p; };
    const auto stays = [](const char* name, double a, double b) { QTest::newRow(name) << a << b << false << 0; };

    row("equal", 42.5, 42.5, 0);
    row("100 vs 102: d=2", 100, 102, 0);
    row("102 vs 100: d=2", 102, 100, 0);
    row("100 vs 103: d=3", 100, 103, 1);
    row("103 vs 100: d=3", 103, 100, -1);
    row("100 vs 110: d=10", 100, 110, 1);
    row("110 vs 100: d=10", 110, 100, -1);
    row("100 vs 111: d=11", 100, 111, 2);
    row("111 vs 100: d=11", 111, 100, -2);
    row("100 vs 120: d=20", 100, 120, 2);
    row("100 vs 121: d=21", 100, 121, 3);
    row("121 vs 100: d=21", 121, 100, -3);
    row("100 vs 135: d=35", 100, 135, 3);
    row("100 vs 136: d=36", 100, 136, 4);
    row("136 vs 100: d=36", 136, 100, -4);
    row("100 vs 150: d=50", 100, 150, 4);
    row("100 vs 151: d=51", 100, 151, 5);
    row("151 vs 100: d=51", 151, 100, -5);
    row("100 vs 175: d=75", 100, 175, 5);
    row("100 vs 176: d=76", 100, 176, 6);
    row("176 vs 100: d=76", 176, 100, -6);
    row("100 vs 200: d=100", 100, 200, 6);
    row("100 vs 201: d=101", 100, 201, 7);
    row("201 vs 100: d=101", 201, 100, -7);
    row("100 vs 250: d=150", 100, 250, 7);
    row("250 vs 100: d=150", 250, 100, -7);
    row("100 vs 251: d=151", 100, 251, 8);
    row("251 vs 100: d=151", 251, 100, -8);
    row("100 vs 1000", 100, 1000, 8);
    row("sign ignored", -50, 100, 6);
    row("both negative", -103, -100, -1);
    row("just below 151", 100, 250.9999999, 7);

    // Typed decimals that binary numbers only approximate: computed naively each lands one step low.
    row("0.05 vs 0.0515: d=3", 0.05, 0.0515, 1);
    row("0.05 vs 0.0555: d=11", 0.05, 0.0555, 2);
    row("0.01 vs 0.0121: d=21", 0.01, 0.0121, 3);
    row("0.15 vs 0.204: d=36", 0.15, 0.204, 4);
    row("0.09 vs 0.1359: d=51", 0.09, 0.1359, 5);
    row("0.05 vs 0.088: d=76", 0.05, 0.088, 6);
    row("0.01 vs 0.0201: d=101", 0.01, 0.0201, 7);
    row("0.1 vs 0.251: d=151", 0.1, 0.251, 8);
    row("0.251 vs 0.1: d=151", 0.251, 0.1, -8);
    row("0.07 vs 0.1757: d=151", 0.07, 0.1757, 8);

    row("tiny but product above 1E-16", 1e-9, 1e-6, 8);
    row("product 1E-14", 1e-7, 1e-7, 0);
    row("1 vs 1E16: d=1E18 fits", 1, 1e16, 8);

    stays("zero A", 0, 100);
    stays("zero B", 100, 0);
    stays("both zero", 0, 0);
    stays("product below 1E-16", 1e-9, 1e-9);
    stays("1 vs 1E17: whole percent overflows", 1, 1e17);
    stays("1 vs 1E300", 1, 1e300);
    stays("denormal vs largest", std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max());
    stays("infinite A", std::numeric_limits<double>::infinity(), 1);
    stays("infinite B", 1, -std::numeric_limits<double>::infinity());
    stays("NaN A", std::numeric_limits<double>::quiet_NaN(), 1);
    stays("NaN B", 1, std::numeric_limits<double>::quiet_NaN());
}

void TestScale::testNumericToPosition()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(bool, moves);
    QFETCH(int, position);
    const std::optional<int> result = Scale::NumericToPosition(a, b);
    QCOMPARE(result.has_value(), moves);
    if (moves)
        QCOMPARE(*result, position);
}

void TestScale::testParseDecimal_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    QTest::newRow("ru comma") << russian() << u"1,5"_s << true << 1.5;
    QTest::newRow("ru tenth") << russian() << u"0,1"_s << true << 0.1;
    QTest::newRow("ru negative") << russian() << u"-50"_s << true << -50.0;
    QTest::newRow("ru blanks around") << russian() << u" 2,5 "_s << true << 2.5;
    QTest::newRow("ru exponent") << russian() << u"1,5E3"_s << true << 1500.0;
    QTest::newRow("ru point") << russian() << u"1.5"_s << false << 0.0;
    QTest::newRow("ru grouped") << russian() << u"1\u00a0500"_s << false << 0.0;
    QTest::newRow("ru blank inside") << russian() << u"1 500"_s << false << 0.0;
    QTest::newRow("ru empty") << russian() << QString() << false << 0.0;
    QTest::newRow("ru blanks only") << russian() << u"   "_s << false << 0.0;
    QTest::newRow("ru letters") << russian() << u"abc"_s << false << 0.0;
    QTest::newRow("ru number then letters") << russian() << u"12abc"_s << false << 0.0;
    QTest::newRow("ru separator only") << russian() << u","_s << false << 0.0;
    QTest::newRow("ru inf") << russian() << u"inf"_s << false << 0.0;
    QTest::newRow("ru nan") << russian() << u"nan"_s << false << 0.0;
    QTest::newRow("ru too large") << russian() << u"1E400"_s << false << 0.0;

    QTest::newRow("C point") << QLocale::c() << u"1.5"_s << true << 1.5;
    QTest::newRow("C negative") << QLocale::c() << u"-0.25"_s << true << -0.25;
    QTest::newRow("C comma") << QLocale::c() << u"1,5"_s << false << 0.0;
    QTest::newRow("C grouped") << QLocale::c() << u"1,500"_s << false << 0.0;
    QTest::newRow("en grouped") << english() << u"1,500"_s << false << 0.0;
    QTest::newRow("en point") << english() << u"1500.5"_s << true << 1500.5;
}

void TestScale::testParseDecimal()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const std::optional<double> parsed = Scale::parseDecimal(text, locale);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestScale::testNumericTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("textA");
    QTest::addColumn<QString>("textB");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<int>("position");

    QTest::newRow("103 and 100") << russian() << u"103"_s << u"100"_s << true << -1;
    QTest::newRow("100 and 103") << russian() << u"100"_s << u"103"_s << true << 1;
    QTest::newRow("-50 and 100") << russian() << u"-50"_s << u"100"_s << true << 6;
    QTest::newRow("equal decimals") << russian() << u"2,5"_s << u"2,5"_s << true << 0;
    QTest::newRow("typed tenths at 151") << russian() << u"0,1"_s << u"0,251"_s << true << 8;
    QTest::newRow("C locale point") << QLocale::c() << u"1.5"_s << u"1"_s << true << -4;
    QTest::newRow("letters in A") << russian() << u"abc"_s << u"100"_s << false << 0;
    QTest::newRow("A empty") << russian() << QString() << u"100"_s << false << 0;
    QTest::newRow("B empty") << russian() << u"100"_s << QString() << false << 0;
    QTest::newRow("zero in A") << russian() << u"0"_s << u"100"_s << false << 0;
    QTest::newRow("zero in B") << russian() << u"100"_s << u"0,0"_s << false << 0;
    QTest::newRow("point under comma locale") << russian() << u"100"_s << u"1.5"_s << false << 0;
}

void TestScale::testNumericTexts()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, textA);
    QFETCH(QString, textB);
    QFETCH(bool, moves);
    QFETCH(int, position);
    const std::optional<int> result = Scale::numericTextsToPosition(textA, textB, locale);
    QCOMPARE(result.has_value(), moves);
    if (moves)
        QCOMPARE(*result, position);
}

void TestScale::testFilterDecimalKey_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entered");
    QTest::newRow("ru point") << russian() << u"."_s << u","_s;
    QTest::newRow("ru comma") << russian() << u","_s << u","_s;
    QTest::newRow("C comma") << QLocale::c() << u","_s << u"."_s;
    QTest::newRow("C point") << QLocale::c() << u"."_s << u"."_s;
    QTest::newRow("digit") << russian() << u"5"_s << u"5"_s;
    QTest::newRow("minus") << russian() << u"-"_s << u"-"_s;
    QTest::newRow("Cyrillic letter") << russian() << u"ю"_s << u"ю"_s;
    QTest::newRow("no text (arrow key)") << russian() << QString() << QString();
}

void TestScale::testFilterDecimalKey()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, entered);
    QCOMPARE(Scale::filterDecimalKey(typed, locale), entered);
}

QTEST_GUILESS_MAIN(TestScale)
#include "test_scale.moc"
