// The results text as the user reads it: number formatting, the consistency
// thresholds and warnings, and the lines of a whole evaluation in order.
#include "TestSupport.h"

#include "evaluate/Evaluation.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsText.h"

#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using ResultsText::Consistency;
using ResultsText::Judgements;

Q_DECLARE_METATYPE(ResultsText::Consistency)
Q_DECLARE_METATYPE(ResultsText::Judgements)

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);
const QLocale english(QLocale::English, QLocale::UnitedStates);

const QString criteriaFirst = u"При сравнении критериев по степени важности, Ваши ответы противоречивы! (ОС="_s;
const QString criteriaSecond = u"При сравнении критериев по степени важности, Ваши ответы очень противоречивы!(ОС="_s;
const QString alternativesFirst = u"При сравнении альтернатив, Ваши ответы протеворечивы! (ОС="_s;
const QString alternativesSecond = u"При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС="_s;
const QString adviceFirst = u"Для получения более точных результатов, возможно, следует пересмотреть ответы."_s;
const QString adviceSecond = u"Для получения правильных результатов необходимо пересмотреть ответы."_s;
const QString attention = u"Внимание!"_s;
const QString heading = u"Альтернативы имеют следующие приоритеты :"_s;

// Three criteria stored -3, -2, -3 (ratio about 0.2213); under each criterion
// three alternatives stored -2, 1, -2 (index about 0.1087, weights about 0.4126,
// 0.3275, 0.2599), under the first criterion with the first and the last
// alternative swapped, so that the last one wins overall.
ProblemData bothWarningsProblem()
{
    ProblemData p(3, 3);
    p.setCritJudgement(0, 1, -3);
    p.setCritJudgement(0, 2, -2);
    p.setCritJudgement(1, 2, -3);
    p.setAltJudgement(0, 1, 0, 2);
    p.setAltJudgement(0, 2, 0, 1);
    p.setAltJudgement(1, 2, 0, 2);
    for (int q = 1; q < 3; ++q) {
        p.setAltJudgement(0, 1, q, -2);
        p.setAltJudgement(0, 2, q, 1);
        p.setAltJudgement(1, 2, q, -2);
    }
    p.setAltName(0, u"Вклад «Надёжный»"_s);
    p.setAltName(1, u"Вклад «Доходный»"_s);
    p.setAltName(2, u"Вклад «Гибкий»"_s);
    return p;
}

} // namespace

class TestResultsText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void testFixed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("fixed");
        QTest::newRow("zero, ru") << 0.0 << russian << u"0,00"_s;
        QTest::newRow("zero, en") << 0.0 << english << u"0.00"_s;
        QTest::newRow("rounds up, ru") << 100.0 * 5 / 12 << russian << u"41,67"_s;
        QTest::newRow("rounds down, en") << 100.0 * 7 / 12 << english << u"58.33"_s;
        QTest::newRow("ratio 12.5 as percent, ru") << 1250.0 << russian << u"1250,00"_s;
        QTest::newRow("ratio 12.5 as percent, en") << 1250.0 << english << u"1250.00"_s;
        QTest::newRow("no grouping of millions, de")
            << 1234567.891 << QLocale(QLocale::German, QLocale::Germany) << u"1234567,89"_s;
        QTest::newRow("no grouping, fr") << 98765.4321 << QLocale(QLocale::French, QLocale::France) << u"98765,43"_s;
        QTest::newRow("C locale") << 613.0268 << QLocale::c() << u"613.03"_s;
        QTest::newRow("one digit") << 0.5 << russian << u"0,50"_s;
        QTest::newRow("negative") << -3.14159 << english << u"-3.14"_s;
    }
    void testFixed()
    {
        QFETCH(double, value);
        QFETCH(QLocale, locale);
        QFETCH(QString, fixed);
        QCOMPARE(NumberFormat::fixed(value, locale), fixed);
        QCOMPARE(NumberFormat::spacedFixed(value, locale), u' ' + fixed);
    }

    void testWidth_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("padded left") << 3.14159 << 8 << 2 << u"    3,14"_s;
        QTest::newRow("wider than width") << 12345.678 << 4 << 2 << u"12345,68"_s;
        QTest::newRow("no decimals, no separator") << 2.5e3 << 6 << 0 << u"  2500"_s;
        QTest::newRow("three decimals") << 0.1234 << 0 << 3 << u"0,123"_s;
    }
    void testWidth()
    {
        QFETCH(double, value);
        QFETCH(int, width);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(NumberFormat::fixedPoint(value, width, decimals, russian), expected);
    }

    // The chart's marks: "##0.## %", optional decimals dropped when they are zero.
    void testPercentMark_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("mark");
        QTest::newRow("whole, ru") << 50.0 << russian << u"50 %"_s;
        QTest::newRow("a third, ru") << 100.0 / 3 << russian << u"33,33 %"_s;
        QTest::newRow("a third, en") << 100.0 / 3 << english << u"33.33 %"_s;
        QTest::newRow("one decimal kept") << 28.1 << russian << u"28,1 %"_s;
        QTest::newRow("rounds to whole") << 29.9999 << russian << u"30 %"_s;
        QTest::newRow("below one keeps the zero") << 0.5 << russian << u"0,5 %"_s;
        QTest::newRow("zero") << 0.0 << russian << u"0 %"_s;
        QTest::newRow("tiny negative is zero") << -0.001 << russian << u"0 %"_s;
        QTest::newRow("hundred") << 100.0 << english << u"100 %"_s;
        QTest::newRow("trailing zero of tens kept") << 10.0 << russian << u"10 %"_s;
    }
    void testPercentMark()
    {
        QFETCH(double, percent);
        QFETCH(QLocale, locale);
        QFETCH(QString, mark);
        QCOMPARE(NumberFormat::percentMark(percent, locale), mark);
    }

    // Without a locale the helper takes the user's.
    void testDefaultLocale()
    {
        QLocale::setDefault(russian);
        QCOMPARE(NumberFormat::fixed(41.6666), u"41,67"_s);
        QCOMPARE(ResultsText::priorityLine(u"А"_s, 0.25), u"А 25,00%"_s);
        QLocale::setDefault(english);
        QCOMPARE(NumberFormat::spacedFixed(41.6666), u" 41.67"_s);
        QCOMPARE(ResultsText::priorityLine(u"А"_s, 0.25), u"А 25.00%"_s);
    }

    // A priority stored just below a half of a hundredth: the screen shows what
    // the report prints (the hundredfold taken exactly), not the double product,
    // which rounds up.
    void testHundredfoldLikeTheReport()
    {
        QVERIFY(100.0 * 0.61515 >= 61.515); // the double product lands on the half
        QCOMPARE(ResultsText::priorityLine(u"А"_s, 0.61515, russian), u"А 61,51%"_s);
        QCOMPARE(ResultsText::warningLine(ResultsText::Judgements::Criteria, ResultsText::Consistency::Questionable,
                                          0.14445, russian)
                     .right(7),
                 u"14,44%)"_s);
    }

    // The limits are the real numbers 0.1 and 0.2: the double nearest each of
    // them already lies above it.
    void testThresholds_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<Consistency>("expected");
        QTest::newRow("0") << 0.0 << Consistency::Acceptable;
        QTest::newRow("tiny negative") << -1e-17 << Consistency::Acceptable;
        QTest::newRow("0.05") << 0.05 << Consistency::Acceptable;
        QTest::newRow("just below 0.1") << std::nextafter(0.1, 0.0) << Consistency::Acceptable;
        QTest::newRow("0.1") << 0.1 << Consistency::Questionable;
        QTest::newRow("just above 0.1") << std::nextafter(0.1, 1.0) << Consistency::Questionable;
        QTest::newRow("0.15") << 0.15 << Consistency::Questionable;
        QTest::newRow("just below 0.2") << std::nextafter(0.2, 0.0) << Consistency::Questionable;
        QTest::newRow("0.2") << 0.2 << Consistency::Contradictory;
        QTest::newRow("just above 0.2") << std::nextafter(0.2, 1.0) << Consistency::Contradictory;
        QTest::newRow("6.13") << 6.13 << Consistency::Contradictory;
    }
    void testThresholds()
    {
        QFETCH(double, ratio);
        QFETCH(Consistency, expected);
        QCOMPARE(ResultsText::consistencyOf(ratio), expected);
        const QStringList lines = ResultsText::warningLines(Judgements::Criteria, ratio, russian);
        QCOMPARE(lines.isEmpty(), expected == Consistency::Acceptable);
    }

    void testWarningLines_data()
    {
        QTest::addColumn<Judgements>("judgements");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("criteria, first form")
            << Judgements::Criteria << 0.1534 << russian
            << QStringList{attention, criteriaFirst + u"15,34%)"_s, adviceFirst, QString()};
        QTest::newRow("criteria, second form")
            << Judgements::Criteria << 6.130268 << russian
            << QStringList{attention, criteriaSecond + u"613,03%)"_s, adviceSecond, QString()};
        QTest::newRow("alternatives, first form")
            << Judgements::Alternatives << 0.1874 << english
            << QStringList{attention, alternativesFirst + u"18.74%)"_s, adviceFirst, QString()};
        QTest::newRow("alternatives, second form")
            << Judgements::Alternatives << 0.2213 << russian
            << QStringList{attention, alternativesSecond + u"22,13%)"_s, adviceSecond, QString()};
        QTest::newRow("at 0.1 exactly") << Judgements::Criteria << 0.1 << russian
                                        << QStringList{attention, criteriaFirst + u"10,00%)"_s, adviceFirst, QString()};
        QTest::newRow("at 0.2 exactly") << Judgements::Alternatives << 0.2 << russian
                                        << QStringList{attention, alternativesSecond + u"20,00%)"_s, adviceSecond,
                                                       QString()};
        QTest::newRow("none at 0.0999") << Judgements::Criteria << 0.0999 << russian << QStringList{};
    }
    void testWarningLines()
    {
        QFETCH(Judgements, judgements);
        QFETCH(double, ratio);
        QFETCH(QLocale, locale);
        QFETCH(QStringList, expected);
        QCOMPARE(ResultsText::warningLines(judgements, ratio, locale), expected);
    }

    void testWholeTextWithBothWarnings()
    {
        const EvaluationResult r = Evaluation::EvaluateProblem(bothWarningsProblem(), russian);
        const QStringList expected{
            attention,
            criteriaSecond + u"22,13%)"_s,
            adviceSecond,
            QString(),
            attention,
            alternativesFirst + u"18,74%)"_s,
            adviceFirst,
            QString(),
            heading,
            QString(),
            u"Вклад «Надёжный» 33,02%"_s,
            u"Вклад «Доходный» 32,75%"_s,
            u"Вклад «Гибкий» 34,23%"_s,
            QString(),
            u"Лучший выбор - Вклад «Гибкий»"_s,
            QString(),
        };
        QCOMPARE(r.Memo.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QCOMPARE(r.Memo.at(i), expected.at(i));
        QCOMPARE(r.BestChoice, 2);
    }

    void testSampleProblemText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("ru") << russian << u"Квартира в центре 41,67%"_s << u"Дом за городом 58,33%"_s;
        QTest::newRow("en") << english << u"Квартира в центре 41.67%"_s << u"Дом за городом 58.33%"_s;
    }
    void testSampleProblemText()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, first);
        QFETCH(QString, second);
        ProblemData p(2, 2);
        p.setAltName(0, u"Квартира в центре"_s);
        p.setAltName(1, u"Дом за городом"_s);
        p.setCritJudgement(0, 1, -3);
        p.setAltJudgement(0, 1, 0, 1);
        p.setAltJudgement(0, 1, 1, 5);
        const EvaluationResult r = Evaluation::EvaluateProblem(p, locale);
        QCOMPARE(r.Memo, (QStringList{heading, QString(), first, second, QString(), u"Лучший выбор - Дом за городом"_s,
                                      QString()}));
        QCOMPARE(r.Bars.size(), 2);
        QCOMPARE(r.Bars[0].label, u"1"_s);
        QCOMPARE(r.Bars[1].label, u"2"_s);
        QVERIFY(std::abs(r.Bars[0].value - 100.0 * 5 / 12) < 1e-12);
        QVERIFY(std::abs(r.Bars[1].value - 100.0 * 7 / 12) < 1e-12);
    }

    // Bars follow the file order, labelled from "1"; their values are the
    // priorities in percent, summing to 100.
    void testBars_data()
    {
        QTest::addColumn<int>("m");
        QTest::newRow("3") << 3;
        QTest::newRow("9") << 9;
        QTest::newRow("11") << 11;
    }
    void testBars()
    {
        QFETCH(int, m);
        ProblemData p(2, m);
        for (int j = 1; j < m; ++j)
            p.setAltJudgement(0, j, 0, j % 8 + 2); // every later one beats the first
        const EvaluationResult r = Evaluation::EvaluateProblem(p, russian);
        QCOMPARE(r.Bars.size(), m);
        double sum = 0;
        for (int i = 0; i < m; ++i) {
            QCOMPARE(r.Bars[i].label, QString::number(i + 1));
            QCOMPARE(r.Bars[i].value, 100.0 * r.AltPriority[std::size_t(i)]);
            sum += r.Bars[i].value;
        }
        QVERIFY(std::abs(sum - 100.0) < 1e-11);
    }

    // Problems the screens would refuse keep the shape of the text.
    void testDegenerateText_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing at all") << 0 << 0
                                        << QStringList{heading, QString(), QString(), u"Лучший выбор - ?"_s, QString()};
        QTest::newRow("alternatives without criteria")
            << 0 << 2
            << QStringList{heading, QString(), u"? 0,00%"_s, u"? 0,00%"_s, QString(), u"Лучший выбор - ?"_s, QString()};
        QTest::newRow("one of each")
            << 1 << 1 << QStringList{heading, QString(), u"? 100,00%"_s, QString(), u"Лучший выбор - ?"_s, QString()};
    }
    void testDegenerateText()
    {
        QFETCH(int, n);
        QFETCH(int, m);
        QFETCH(QStringList, expected);
        QCOMPARE(Evaluation::EvaluateProblem(ProblemData(n, m), russian).Memo, expected);
    }
};

QTEST_GUILESS_MAIN(TestResultsText)
#include "test_results_text.moc"
