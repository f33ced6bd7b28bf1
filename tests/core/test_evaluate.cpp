// The evaluation: judgement matrices, priority vectors, consistency, synthesis, best choice, the reading of the
// problem file and problems the screens would refuse; then the results text as the user reads it: number
// formats, the consistency thresholds and warnings, and the lines of a whole evaluation in order.
#include "TestSupport.h"

#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/RandomIndex.h"
#include "evaluate/ResultsText.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <cmath>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using ResultsText::Judgements;
using TestSupport::problem;

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

// Each value within tolerance of the expected one, the sizes equal.
bool near(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance = 1e-15)
{
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i)
        same = std::abs(actual[i] - expected[i]) <= tolerance;
    if (!same)
        qWarning() << "actual" << QList<double>(actual.begin(), actual.end());
    return same;
}

double sum(const std::vector<double>& values)
{
    double s = 0.0;
    for (const double v : values)
        s += std::isfinite(v) ? v : 1e9; // whatever is not finite spoils the sum
    return s;
}

// The criteria matrix of n criteria judged as given.
JudgementMatrix criteriaMatrix(int n, const QString& judgements)
{
    const ProblemData p = problem(n, 0, judgements);
    return JudgementMatrix::fromStored(n, [&p](int i, int j) { return p.critJudgement(i, j); });
}

// Every stored value cycles through the whole scale and beyond, so each matrix is full and (for three or more
// elements) inconsistent.
ProblemData busyProblem(int n, int m)
{
    static constexpr int values[] = {-9, 7, -4, 2, 9, -2, 5, -7, 3, 10, 0, -1, 1};
    ProblemData p(n, m);
    int next = 0;
    for (int q = -1; q < p.critTotal(); ++q) {
        const int k = q < 0 ? p.critTotal() : p.altTotal();
        for (int i = 0; i < k; ++i) {
            for (int j = i + 1; j < k; ++j) {
                if (q < 0)
                    p.setCritJudgement(i, j, values[next++ % 13]);
                else
                    p.setAltJudgement(i, j, q, values[next++ % 13]);
            }
        }
    }
    return p;
}

} // namespace

class TestEvaluate final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A stored value fills the pair's two cells; row i says how strongly i dominates.
    void testMatrixCells()
    {
        const std::tuple<int, double, double> rows[] = {
            {-9, 9.0, 1.0 / 9}, {-2, 2.0, 0.5}, {2, 0.5, 2.0},   {9, 1.0 / 9, 9.0},   {1, 1.0, 1.0},      {0, 1.0, 1.0},
            {-1, 1.0, 1.0},     {10, 1.0, 1.0}, {-10, 1.0, 1.0}, {INT_MIN, 1.0, 1.0}, {INT_MAX, 1.0, 1.0}};
        for (const auto& [stored, upper, lower] : rows) {
            const JudgementMatrix a = criteriaMatrix(3, u"Q_0*Q_2="_s + QString::number(stored));
            QVERIFY2(a.at(0, 2) == upper && a.at(2, 0) == lower, qPrintable(QString::number(stored)));
            QVERIFY(a.at(0, 0) == 1.0 && a.at(1, 1) == 1.0 && a.at(2, 2) == 1.0 && a.at(0, 1) == 1.0 &&
                    a.at(2, 1) == 1.0);
        }
    }

    void testMatrixPriorities_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("judgements");
        QTest::addColumn<std::vector<double>>("weights"); // then lambda and the index
        QTest::addColumn<double>("tolerance");
        QTest::newRow("order 0") << 0 << QString() << std::vector<double>{0.0, 0.0} << 0.0;
        QTest::newRow("order 1") << 1 << QString() << std::vector<double>{1.0, 1.0, 0.0} << 0.0;
        QTest::newRow("uniform 4") << 4 << QString() << std::vector<double>{0.25, 0.25, 0.25, 0.25, 4.0, 0.0} << 1e-15;
        QTest::newRow("3:1") << 2 << u"Q_0*Q_1=-3"_s << std::vector<double>{0.75, 0.25, 2.0, 0.0} << 1e-15;
        QTest::newRow("1:5") << 2 << u"Q_0*Q_1=5"_s << std::vector<double>{1.0 / 6, 5.0 / 6, 2.0, 0.0} << 1e-15;
        // a[0][1] = 2, a[1][2] = 2, a[0][2] = 4: weights 4:2:1, lambda = n.
        QTest::newRow("consistent 2 2 4") << 3 << u"Q_0*Q_1=-2 Q_1*Q_2=-2 Q_0*Q_2=-4"_s
                                          << std::vector<double>{4.0 / 7, 2.0 / 7, 1.0 / 7, 3.0, 0.0} << 1e-14;
        // 0 over 1 by 9, 1 over 2 by 9, 2 over 0 by 9: every row product is 1 and every row holds 1, 9 and 1/9,
        // so lambda = 1 + 9 + 1/9.
        QTest::newRow("cyclic nines") << 3 << u"Q_0*Q_1=-9 Q_1*Q_2=-9 Q_0*Q_2=9"_s
                                      << std::vector<double>{1.0 / 3, 1.0 / 3, 1.0 / 3, 1.0 + 9.0 + 1.0 / 9,
                                                             (9.0 + 1.0 / 9 - 2.0) / 2}
                                      << 1e-13;
        QTest::newRow("-2 1 -2") << 3 << u"Q_0*Q_1=-2 Q_0*Q_2=1 Q_1*Q_2=-2"_s
                                 << std::vector<double>{0.4126, 0.3275, 0.2599, 3.2174, 0.1087} << 1e-4;
    }
    void testMatrixPriorities()
    {
        QFETCH(int, order);
        QFETCH(QString, judgements);
        QFETCH(std::vector<double>, weights);
        QFETCH(double, tolerance);
        MatrixPriorities p = MatrixPriorities::of(criteriaMatrix(order, judgements));
        p.weights.insert(p.weights.end(), {p.lambda, p.consistencyIndex});
        QVERIFY(near(p.weights, weights, tolerance));
    }

    void testRandomIndex()
    {
        const double table[] = {0.58, 0.90, 1.12, 1.24, 1.32, 1.41, 1.45, 1.49};
        for (int order = -1; order <= 30; ++order) {
            const std::optional<double> expected =
                order >= 3 && order <= 10 ? std::optional<double>(table[order - 3]) : std::nullopt;
            QCOMPARE(RandomIndex::forOrder(order), expected);
            QCOMPARE(RandomIndex::consistencyRatio(0.29, order), expected ? 0.29 / *expected : 0.0);
        }
    }

    // The sample problem of the file format: criteria 3:1, alternatives equal under the first criterion and 1:5
    // under the second. Then nothing judged: every vector uniform, no ratio, the first alternative best.
    void testSampleAndUniform()
    {
        const EvaluationResult r = Evaluation::EvaluateProblem(problem(2, 2, u"Q_0*Q_1=-3 A_0*A_1&Q_1=5"_s));
        QCOMPARE(r.CritTotal * 10 + r.AltTotal, 22);
        QVERIFY(near(r.CritPriority, {0.75, 0.25}));
        QVERIFY(near(r.AltLocalPriority[0], {0.5, 1.0 / 6}));
        QVERIFY(near(r.AltLocalPriority[1], {0.5, 5.0 / 6}));
        QVERIFY(near(r.AltPriority, {5.0 / 12, 7.0 / 12}));
        QCOMPARE(r.CritConsistencyRatio + r.AltConsistencyRatio, 0.0);
        QCOMPARE(r.BestChoice, 1);
        for (const auto& [n, m] : {std::pair{3, 4}, std::pair{9, 9}}) {
            const EvaluationResult u = Evaluation::EvaluateProblem(ProblemData(n, m));
            QVERIFY(near(u.CritPriority, std::vector<double>(n, 1.0 / n)));
            for (const auto& row : u.AltLocalPriority)
                QVERIFY(near(row, std::vector<double>(n, 1.0 / m)));
            QVERIFY(near(u.AltPriority, std::vector<double>(m, 1.0 / m)));
            QVERIFY(near({u.CritConsistencyRatio, u.AltConsistencyRatio}, {0.0, 0.0}, 1e-14));
            QCOMPARE(u.BestChoice, 0);
        }
    }

    void testCriteriaRatio_data()
    {
        QTest::addColumn<QString>("judgements");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("consistent 2 2 4") << u"Q_0*Q_1=-2 Q_1*Q_2=-2 Q_0*Q_2=-4"_s << 0.0 << 1e-14;
        QTest::newRow("cyclic nines") << u"Q_0*Q_1=-9 Q_1*Q_2=-9 Q_0*Q_2=9"_s << (9.0 + 1.0 / 9 - 2.0) / 2 / 0.58
                                      << 1e-12;
        QTest::newRow("-2 1 -2") << u"Q_0*Q_1=-2 Q_0*Q_2=1 Q_1*Q_2=-2"_s << 0.1874 << 1e-4;
        QTest::newRow("-3 -2 -3") << u"Q_0*Q_1=-3 Q_0*Q_2=-2 Q_1*Q_2=-3"_s << 0.2213 << 1e-4;
    }
    void testCriteriaRatio()
    {
        QFETCH(QString, judgements);
        QFETCH(double, ratio);
        QFETCH(double, tolerance);
        const EvaluationResult r = Evaluation::EvaluateProblem(problem(3, 2, judgements));
        // Two alternatives are always consistent.
        QVERIFY(near({r.CritConsistencyRatio, r.AltConsistencyRatio}, {ratio, 0.0}, tolerance));
    }

    // The alternatives' ratio weighs each criterion's index (here about 0.1087 under one of them) by that
    // criterion's priority and divides by the random index of the alternatives' order.
    void testAlternativesRatioIsWeighted()
    {
        const QString inconsistent = u"A_0*A_1&Q_%1=-2 A_1*A_2&Q_%1=-2 Q_0*Q_1=-3"_s;
        const EvaluationResult a = Evaluation::EvaluateProblem(problem(2, 3, inconsistent.arg(0)));
        const EvaluationResult b = Evaluation::EvaluateProblem(problem(2, 3, inconsistent.arg(1)));
        QVERIFY(near(a.AltConsistencyIndex, {0.1087, 0.0}, 1e-4));
        QVERIFY(near({a.AltConsistencyRatio, b.AltConsistencyRatio, a.CritConsistencyRatio},
                     {0.75 * 0.1087 / 0.58, 0.25 * 0.1087 / 0.58, 0.0}, 1e-3));
    }

    // One criterion, three alternatives; of equal priorities the first wins.
    void testBestChoice_data()
    {
        QTest::addColumn<QString>("judgements");
        QTest::addColumn<int>("best");
        QTest::newRow("all equal: the first") << QString() << 0;
        QTest::newRow("1 and 2 tie above 0") << u"A_0*A_1&Q_0=3 A_0*A_2&Q_0=3"_s << 1;
        QTest::newRow("0 and 2 tie above 1") << u"A_0*A_1&Q_0=-4 A_1*A_2&Q_0=4"_s << 0;
        QTest::newRow("the last one clearly") << u"A_0*A_2&Q_0=7 A_1*A_2&Q_0=7"_s << 2;
        QTest::newRow("the middle one") << u"A_0*A_1&Q_0=5 A_1*A_2&Q_0=-5"_s << 1;
    }
    void testBestChoice()
    {
        QFETCH(QString, judgements);
        QFETCH(int, best);
        const EvaluationResult r = Evaluation::EvaluateProblem(problem(1, 3, judgements));
        QCOMPARE(r.BestChoice, best);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(r.AltPriority[std::size_t(i)] <= r.AltPriority[std::size_t(best)]);
            QVERIFY(i >= best || r.AltPriority[std::size_t(i)] < r.AltPriority[std::size_t(best)]);
        }
    }

    // Whatever the judgements and the counts, even those the screens refuse, the results are finite and sized;
    // the vectors are distributions; a ratio is given only for orders 3 to 10, and there the busy judgements
    // show their contradictions.
    void testBusyProblems_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        for (const auto& [n, m] : {std::pair{0, 0},
                                   {0, 1},
                                   {0, 3},
                                   {1, 0},
                                   {1, 1},
                                   {1, 3},
                                   {3, 0},
                                   {3, 1},
                                   {2, 2},
                                   {5, 5},
                                   {9, 9},
                                   {3, 9},
                                   {9, 3},
                                   {10, 10},
                                   {11, 11},
                                   {30, 30}})
            QTest::addRow("%d x %d", n, m) << n << m;
    }
    void testBusyProblems()
    {
        QFETCH(int, n);
        QFETCH(int, m);
        const EvaluationResult r = Evaluation::EvaluateProblem(busyProblem(n, m));
        QCOMPARE(QList<qsizetype>({r.CritTotal, r.AltTotal, qsizetype(r.CritPriority.size()),
                                   qsizetype(r.AltConsistencyIndex.size()), qsizetype(r.AltPriority.size()),
                                   qsizetype(r.AltLocalPriority.size()), r.Bars.size()}),
                 QList<qsizetype>({n, m, n, n, m, m, m}));
        QVERIFY(
            near({sum(r.CritPriority), sum(r.AltPriority)}, {n > 0 ? 1.0 : 0.0, n > 0 && m > 0 ? 1.0 : 0.0}, 1e-14));
        QVERIFY(sum(r.AltConsistencyIndex) < 1e9);
        for (int q = 0; q < n; ++q) {
            std::vector<double> column;
            for (const auto& row : r.AltLocalPriority)
                column.push_back(row.at(std::size_t(q)));
            QVERIFY(near({sum(column)}, {m > 0 ? 1.0 : 0.0}, 1e-14));
        }
        for (const double w : r.AltPriority)
            QVERIFY(n == 0 ? w == 0.0 : w > 0.0);
        QCOMPARE(r.BestChoice < 0, m == 0);
        QVERIFY(r.BestChoice < m);
        QCOMPARE(r.CritConsistencyRatio > 0.1, n >= 3 && n <= 10);
        QCOMPARE(r.AltConsistencyRatio > 0.1, m >= 3 && m <= 10 && n > 0);
        QVERIFY(r.CritConsistencyRatio >= 0 && r.AltConsistencyRatio >= 0 && r.AltConsistencyRatio < 1e9);
        for (const QString& line : r.Memo)
            QVERIFY2(!line.contains(u"nan"_s, Qt::CaseInsensitive) && !line.contains(u"inf"_s), qPrintable(line));
    }

    // Reading a problem file: counts, names, judgements and their defaults.
    void testLoad()
    {
        const QByteArray bytes = TestSupport::cp1251("[Alt]\r\nA_0=Квартира в центре\r\nA_2=  Дом  \r\nCount=3\r\n"
                                                     "[qual]\r\ncount=3\r\nQ_0=Цена\r\nQ_2=") +
                                 QByteArray(300, 'x') +
                                 "\r\n[QualM]\r\nQ_0*Q_1=-3\r\nQ_0*Q_2=abc\r\nQ_2*Q_1=7\r\nQ_1*Q_2=12\r\n"
                                 "A_0*A_1&Q_0=5\r\na_1*a_2&q_2=-9\r\nA_0*A_2&Q_3=4\r\n";
        const ProblemData p = ProblemData::load(IniDocument::fromBytes(bytes));
        QCOMPARE(p.critTotal() * 10 + p.altTotal(), 33);
        QCOMPARE(p.altNames(), (QStringList{u"Квартира в центре"_s, u"?"_s, u"Дом"_s}));
        QCOMPARE(p.critNames(), (QStringList{u"Цена"_s, u"?"_s, QString(255, u'x')}));
        // Text reads as 1, 12 as stored (it weighs as equal), only i < j in a key counts.
        QCOMPARE(
            (QList<int>{p.critJudgement(0, 1), p.critJudgement(0, 2), p.critJudgement(1, 2), p.altJudgement(0, 1, 0),
                        p.altJudgement(1, 2, 2), p.altJudgement(0, 2, 0), p.altJudgement(0, 1, 1)}),
            (QList<int>{-3, 1, 12, 5, -9, 1, 1}));
    }

    // "Count" of either list outside 0 to 30 reads as the nearer end, text or nothing as 0; a problem made with
    // counts keeps them within the same bounds. A file that does not exist is an empty problem, not made.
    void testLoadCounts()
    {
        const std::pair<QByteArray, int> rows[] = {{QByteArray(), 0}, {"1", 1},           {"11", 11}, {"30", 30},
                                                   {"31", 30},        {"2000000000", 30}, {"-4", 0},  {"abc", 0}};
        for (const auto& [count, expected] : rows) {
            const QByteArray line = count.isNull() ? QByteArray() : "Count=" + count + "\r\n";
            const ProblemData p = ProblemData::load(IniDocument::fromBytes("[Qual]\r\n" + line + "[Alt]\r\n" + line));
            QCOMPARE(QList<int>({p.critTotal(), p.altTotal(), ProblemData(count.toInt(), 1).critTotal()}),
                     QList<int>({expected, expected, expected}));
            QCOMPARE(p.altNames(), QStringList(expected, u"?"_s));
            QCOMPARE(Evaluation::EvaluateProblem(p).Bars.size(), expected);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Нет такой.qzr"_s);
        const ProblemData p = ProblemData::load(IniFile(path));
        QCOMPARE(p.critTotal() + p.altTotal(), 0);
        QVERIFY(!QFile::exists(path));
    }

    // ---- The results text

    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // "fixed" is "%4.2f" (spaced: " %4.2f"), "W.D" fixed-point of width W with D decimals, "mark" the chart's
    // "##0.## %"; the locale's separator, never grouping.
    void testNumberFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        const QLocale ru = russian, en = english, de(QLocale::German), c = QLocale::c();
        const double fiveTwelfths = 500.0 / 12, sevenTwelfths = 700.0 / 12, third = 100.0 / 3;
        const std::tuple<QString, double, QLocale, QString> rows[] = {
            {u"fixed"_s, 0.0, ru, u"0,00"_s},           {u"fixed"_s, 0.5, ru, u"0,50"_s},
            {u"fixed"_s, fiveTwelfths, ru, u"41,67"_s}, {u"fixed"_s, sevenTwelfths, en, u"58.33"_s},
            {u"fixed"_s, 1250.0, ru, u"1250,00"_s},     {u"fixed"_s, 1234567.891, de, u"1234567,89"_s},
            {u"fixed"_s, 613.0268, c, u"613.03"_s},     {u"fixed"_s, -3.14159, en, u"-3.14"_s},
            {u"8.2"_s, 3.14159, ru, u"    3,14"_s},     {u"4.2"_s, 12345.678, ru, u"12345,68"_s},
            {u"6.0"_s, 2.5e3, ru, u"  2500"_s},         {u"0.3"_s, 0.1234, ru, u"0,123"_s},
            {u"mark"_s, 50.0, ru, u"50 %"_s},           {u"mark"_s, third, ru, u"33,33 %"_s},
            {u"mark"_s, third, en, u"33.33 %"_s},       {u"mark"_s, 28.1, ru, u"28,1 %"_s},
            {u"mark"_s, 29.9999, ru, u"30 %"_s},        {u"mark"_s, 0.5, ru, u"0,5 %"_s},
            {u"mark"_s, -0.001, ru, u"0 %"_s},          {u"mark"_s, 10.0, ru, u"10 %"_s},
            {u"mark"_s, 100.0, en, u"100 %"_s}};
        for (const auto& [format, value, locale, text] : rows)
            QTest::addRow("%s %s", qPrintable(format), qPrintable(text)) << format << value << locale << text;
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
        const double below1 = std::nextafter(0.1, 0.0), above1 = std::nextafter(0.1, 1.0);
        const double below2 = std::nextafter(0.2, 0.0), above2 = std::nextafter(0.2, 1.0);
        const std::tuple<Judgements, double, QLocale, int, QString> rows[] = {
            {c, 0.0, russian, 0, QString()},       {c, -1e-17, russian, 0, QString()},
            {a, 0.0999, russian, 0, QString()},    {c, below1, russian, 0, QString()},
            {c, 0.1, russian, 1, u"10,00"_s},      {a, above1, russian, 1, u"10,00"_s},
            {c, 0.1534, russian, 1, u"15,34"_s},   {a, 0.1874, english, 1, u"18.74"_s},
            {c, below2, russian, 1, u"20,00"_s},   {a, 0.2, russian, 2, u"20,00"_s},
            {c, above2, russian, 2, u"20,00"_s},   {a, 0.2213, russian, 2, u"22,13"_s},
            {c, 6.130268, russian, 2, u"613,03"_s}};
        for (const auto& [judgements, ratio, locale, band, number] : rows)
            QTest::addRow("%.17g", ratio) << judgements << ratio << locale << band << number;
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
        ProblemData p = problem(3, 3,
                                u"Q_0*Q_1=-3 Q_0*Q_2=-2 Q_1*Q_2=-3 A_0*A_1&Q_0=2 A_1*A_2&Q_0=2 A_0*A_1&Q_1=-2 "
                                "A_1*A_2&Q_1=-2 A_0*A_1&Q_2=-2 A_1*A_2&Q_2=-2"_s);
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
        ProblemData p = problem(2, 2, u"Q_0*Q_1=-3 A_0*A_1&Q_1=5"_s);
        p.setAltName(0, u"Квартира в центре"_s);
        p.setAltName(1, u"Дом за городом"_s);
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
        QVERIFY(near({r.Bars[0].value, r.Bars[1].value}, {100.0 * 5 / 12, 100.0 * 7 / 12}, 1e-12));
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

QTEST_GUILESS_MAIN(TestEvaluate)
#include "test_evaluate.moc"
