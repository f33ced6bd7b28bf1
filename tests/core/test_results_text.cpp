// The results text as the user reads it: number formats, the consistency thresholds and warnings, and the
// lines of a whole evaluation in order.
#include "evaluate/Evaluation.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsText.h"

#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using ResultsText::Consistency;
using ResultsText::Judgements;

Q_DECLARE_METATYPE(ResultsText::Judgements)

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);
const QLocale english(QLocale::English, QLocale::UnitedStates);

const QString heading = u"Альтернативы имеют следующие приоритеты :"_s;
const QString attention = u"Внимание!"_s;
// The warnings of each band for criteria and for alternatives, up to "(ОС=", and the advice under them.
const QString warnings[2][2] = {
    {u"При сравнении критериев по степени важности, Ваши ответы противоречивы! (ОС="_s,
     u"При сравнении критериев по степени важности, Ваши ответы очень противоречивы!(ОС="_s},
    {u"При сравнении альтернатив, Ваши ответы протеворечивы! (ОС="_s,
     u"При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС="_s}};
const QString advice[2] = {u"Для получения более точных результатов, возможно, следует пересмотреть ответы."_s,
                           u"Для получения правильных результатов необходимо пересмотреть ответы."_s};

} // namespace

class TestResultsText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // "fixed" is "%4.2f" (spaced: " %4.2f"), "W.D" fixed-point of width W with D decimals, "mark" the chart's
    // "##0.## %"; the locale's separator, never grouping.
    void testNumberFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const QString& format, double v, const QLocale& l, const QString& t) {
            QTest::newRow(name) << format << v << l << t;
        };
        row("zero, ru", u"fixed"_s, 0.0, russian, u"0,00"_s);
        row("one digit", u"fixed"_s, 0.5, russian, u"0,50"_s);
        row("rounds up, ru", u"fixed"_s, 100.0 * 5 / 12, russian, u"41,67"_s);
        row("rounds down, en", u"fixed"_s, 100.0 * 7 / 12, english, u"58.33"_s);
        row("ratio 12.5 as percent", u"fixed"_s, 1250.0, russian, u"1250,00"_s);
        row("no grouping, de", u"fixed"_s, 1234567.891, QLocale(QLocale::German), u"1234567,89"_s);
        row("C locale", u"fixed"_s, 613.0268, QLocale::c(), u"613.03"_s);
        row("negative", u"fixed"_s, -3.14159, english, u"-3.14"_s);
        row("padded left", u"8.2"_s, 3.14159, russian, u"    3,14"_s);
        row("wider than width", u"4.2"_s, 12345.678, russian, u"12345,68"_s);
        row("no decimals, no separator", u"6.0"_s, 2.5e3, russian, u"  2500"_s);
        row("three decimals", u"0.3"_s, 0.1234, russian, u"0,123"_s);
        row("mark whole", u"mark"_s, 50.0, russian, u"50 %"_s);
        row("mark a third, ru", u"mark"_s, 100.0 / 3, russian, u"33,33 %"_s);
        row("mark a third, en", u"mark"_s, 100.0 / 3, english, u"33.33 %"_s);
        row("mark keeps one decimal", u"mark"_s, 28.1, russian, u"28,1 %"_s);
        row("mark rounds to whole", u"mark"_s, 29.9999, russian, u"30 %"_s);
        row("mark below one keeps the zero", u"mark"_s, 0.5, russian, u"0,5 %"_s);
        row("mark of a tiny negative", u"mark"_s, -0.001, russian, u"0 %"_s);
        row("mark keeps the zero of tens", u"mark"_s, 10.0, russian, u"10 %"_s);
        row("mark hundred", u"mark"_s, 100.0, english, u"100 %"_s);
    }
    void testNumberFormats()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        if (format == u"fixed"_s) {
            QCOMPARE(NumberFormat::fixed(value, locale), text);
            QCOMPARE(NumberFormat::spacedFixed(value, locale), u' ' + text);
        } else if (format == u"mark"_s) {
            QCOMPARE(NumberFormat::percentMark(value, locale), text);
        } else {
            QCOMPARE(NumberFormat::fixedPoint(value, format.section(u'.', 0, 0).toInt(),
                                              format.section(u'.', 1).toInt(), locale),
                     text);
        }
    }

    // Without a locale the helpers take the user's. A priority stored just below a half of a hundredth: the
    // screen shows what the report prints (the hundredfold taken exactly), not the double product.
    void testPriorityLines()
    {
        QLocale::setDefault(russian);
        QCOMPARE(NumberFormat::fixed(41.6666), u"41,67"_s);
        QCOMPARE(ResultsText::priorityLine(u"А"_s, 0.25), u"А 25,00%"_s);
        QLocale::setDefault(english);
        QCOMPARE(NumberFormat::spacedFixed(41.6666), u" 41.67"_s);
        QCOMPARE(ResultsText::priorityLine(u"А"_s, 0.25), u"А 25.00%"_s);
        QVERIFY(100.0 * 0.61515 >= 61.515); // the double product lands on the half
        QCOMPARE(ResultsText::priorityLine(u"А"_s, 0.61515, russian), u"А 61,51%"_s);
        QCOMPARE(ResultsText::warningLines(Judgements::Criteria, 0.14445, russian).value(1).right(7), u"14,44%)"_s);
    }

    // The limits are the real numbers 0.1 and 0.2: the double nearest each of them already lies above it.
    void testWarnings_data()
    {
        QTest::addColumn<Judgements>("judgements");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("band"); // 0 none, 1 the first form, 2 the second
        QTest::addColumn<QString>("number");
        const Judgements c = Judgements::Criteria;
        const Judgements a = Judgements::Alternatives;
        QTest::newRow("0") << c << 0.0 << russian << 0 << QString();
        QTest::newRow("tiny negative") << c << -1e-17 << russian << 0 << QString();
        QTest::newRow("0.0999") << a << 0.0999 << russian << 0 << QString();
        QTest::newRow("just below 0.1") << c << std::nextafter(0.1, 0.0) << russian << 0 << QString();
        QTest::newRow("0.1") << c << 0.1 << russian << 1 << u"10,00"_s;
        QTest::newRow("just above 0.1") << a << std::nextafter(0.1, 1.0) << russian << 1 << u"10,00"_s;
        QTest::newRow("0.1534") << c << 0.1534 << russian << 1 << u"15,34"_s;
        QTest::newRow("0.1874, en") << a << 0.1874 << english << 1 << u"18.74"_s;
        QTest::newRow("just below 0.2") << c << std::nextafter(0.2, 0.0) << russian << 1 << u"20,00"_s;
        QTest::newRow("0.2") << a << 0.2 << russian << 2 << u"20,00"_s;
        QTest::newRow("just above 0.2") << c << std::nextafter(0.2, 1.0) << russian << 2 << u"20,00"_s;
        QTest::newRow("0.2213") << a << 0.2213 << russian << 2 << u"22,13"_s;
        QTest::newRow("6.130268") << c << 6.130268 << russian << 2 << u"613,03"_s;
    }
    void testWarnings()
    {
        QFETCH(Judgements, judgements);
        QFETCH(double, ratio);
        QFETCH(QLocale, locale);
        QFETCH(int, band);
        QFETCH(QString, number);
        QCOMPARE(int(ResultsText::consistencyOf(ratio)), band);
        const QStringList expected =
            band == 0 ? QStringList()
                      : QStringList{attention, warnings[int(judgements)][band - 1] + number + u"%)"_s, advice[band - 1],
                                    QString()};
        QCOMPARE(ResultsText::warningLines(judgements, ratio, locale), expected);
    }

    // Three criteria stored -3, -2, -3 (ratio about 0.2213); under each criterion three alternatives stored -2,
    // 1, -2 (index about 0.1087, weights about 0.4126, 0.3275, 0.2599), under the first criterion with the first
    // and the last alternative swapped, so that the last one wins overall.
    void testWholeTextWithBothWarnings()
    {
        ProblemData p(3, 3);
        p.setCritJudgement(0, 1, -3);
        p.setCritJudgement(0, 2, -2);
        p.setCritJudgement(1, 2, -3);
        for (int q = 0; q < 3; ++q) {
            p.setAltJudgement(0, 1, q, q == 0 ? 2 : -2);
            p.setAltJudgement(1, 2, q, q == 0 ? 2 : -2);
        }
        p.setAltName(0, u"Вклад «Надёжный»"_s);
        p.setAltName(1, u"Вклад «Доходный»"_s);
        p.setAltName(2, u"Вклад «Гибкий»"_s);
        const EvaluationResult r = Evaluation::EvaluateProblem(p, russian);
        QCOMPARE(r.Memo,
                 (QStringList{attention, warnings[0][1] + u"22,13%)"_s, advice[1], QString(), attention,
                              warnings[1][0] + u"18,74%)"_s, advice[0], QString(), heading, QString(),
                              u"Вклад «Надёжный» 33,02%"_s, u"Вклад «Доходный» 32,75%"_s, u"Вклад «Гибкий» 34,23%"_s,
                              QString(), u"Лучший выбор - Вклад «Гибкий»"_s, QString()}));
        QCOMPARE(r.BestChoice, 2);
    }

    // The sample problem: the lines in file order, the bars labelled from "1" with the priorities in per cent.
    void testSampleProblemText()
    {
        ProblemData p(2, 2);
        p.setAltName(0, u"Квартира в центре"_s);
        p.setAltName(1, u"Дом за городом"_s);
        p.setCritJudgement(0, 1, -3);
        p.setAltJudgement(0, 1, 1, 5);
        for (const QLocale& locale : {russian, english}) {
            const QString sep = locale.decimalPoint();
            const EvaluationResult r = Evaluation::EvaluateProblem(p, locale);
            QCOMPARE(r.Memo, (QStringList{heading, QString(), u"Квартира в центре 41"_s + sep + u"67%"_s,
                                          u"Дом за городом 58"_s + sep + u"33%"_s, QString(),
                                          u"Лучший выбор - Дом за городом"_s, QString()}));
        }
        const EvaluationResult r = Evaluation::EvaluateProblem(p, russian);
        QCOMPARE(r.Bars.size(), 2);
        QCOMPARE(r.Bars[0].label + r.Bars[1].label, u"12"_s);
        QVERIFY(std::abs(r.Bars[0].value - 100.0 * 5 / 12) < 1e-12);
        QVERIFY(std::abs(r.Bars[1].value - 100.0 * 7 / 12) < 1e-12);
    }

    // Problems the screens would refuse keep the shape of the text.
    void testDegenerateText()
    {
        const QString none = u"Лучший выбор - ?"_s;
        const auto memo = [](int n, int m) { return Evaluation::EvaluateProblem(ProblemData(n, m), russian).Memo; };
        QCOMPARE(memo(0, 0), (QStringList{heading, QString(), QString(), none, QString()}));
        QCOMPARE(memo(0, 2), (QStringList{heading, QString(), u"? 0,00%"_s, u"? 0,00%"_s, QString(), none, QString()}));
        QCOMPARE(memo(1, 1), (QStringList{heading, QString(), u"? 100,00%"_s, QString(), none, QString()}));
    }
};

QTEST_GUILESS_MAIN(TestResultsText)
#include "test_results_text.moc"
