// The evaluation (matrices, priorities, consistency, synthesis, best choice, the problem file, refused problems),
// the results text (number formats, thresholds, warnings, whole texts) and the decision analysis (judgements to
// revisit, the weights that would change the best choice, their words). The numbers come from hand calculation.
#include "TestSupport.h"

#include "evaluate/Analysis.h"
#include "evaluate/AnalysisText.h"
#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/RandomIndex.h"
#include "evaluate/ResultsText.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

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

// Stored values cycle through the scale and beyond: every matrix full, from order 3 inconsistent.
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

bool near(double actual, double expected, double tolerance = 1e-12)
{
    return std::fabs(actual - expected) <= tolerance;
}

// The judgements of a matrix of order 4 with a[i][j] = 2^(j - i) (weights 8 : 4 : 2 : 1, every judgement in
// agreement): the criteria's (criterion -1) or the alternatives' under criterion; pair (ri, rj) turned round.
QString consistentFour(int criterion, int ri = -1, int rj = -1)
{
    QString out;
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            const int v = (i == ri && j == rj ? 1 : -1) * (1 << (j - i));
            out += (criterion < 0 ? ProblemKeys::qualPairKey(i, j) : ProblemKeys::altPairKey(i, j, criterion)) + u'=' +
                   QString::number(v) + u' ';
        }
    }
    return out;
}

AnalysisResult analyse(const ProblemData& problem)
{
    return Analysis::analyse(problem, Evaluation::EvaluateProblem(problem, russian));
}

// The winner from scratch (not the analysis' lines): weights rescaled around t, priorities summed, first of equals.
int winnerAt(const AnalysisResult& r, int k, double t)
{
    double rest = 0.0;
    for (int q = 0; q < r.critTotal; ++q)
        rest += q == k ? 0.0 : r.weights[std::size_t(q)];
    int best = -1;
    double bestPriority = 0.0;
    for (int i = 0; i < r.altTotal; ++i) {
        double p = 0.0;
        for (int q = 0; q < r.critTotal; ++q)
            p += (q == k ? t : r.weights[std::size_t(q)] * (1.0 - t) / rest) *
                 r.localPriorities[std::size_t(i)][std::size_t(q)];
        if (best < 0 || p > bestPriority) {
            best = i;
            bestPriority = p;
        }
    }
    return best;
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

    // The weights, lambda, the index and the ratio of the criteria (with two alternatives, always consistent).
    void testMatrixPriorities()
    {
        // 0 over 1 by 9, 1 over 2 by 9, 2 over 0 by 9: every row product is 1 and every row holds 1, 9 and 1/9,
        // so lambda = 1 + 9 + 1/9, and the ratio is about 6.13.
        const double cyclic = (9.0 + 1.0 / 9 - 2.0) / 2;
        const std::tuple<int, QString, std::vector<double>, double> rows[] = {
            {0, QString(), {0.0, 0.0, 0.0}, 0.0},                           // order 0
            {1, QString(), {1.0, 1.0, 0.0, 0.0}, 0.0},                      // order 1
            {4, QString(), {0.25, 0.25, 0.25, 0.25, 4.0, 0.0, 0.0}, 1e-15}, // uniform 4
            // a[0][1] = 2, a[1][2] = 2, a[0][2] = 4: weights 4:2:1, lambda = n.
            {3,
             u"Q_0*Q_1=-2 Q_1*Q_2=-2 Q_0*Q_2=-4"_s,
             {4.0 / 7, 2.0 / 7, 1.0 / 7, 3.0, 0.0, 0.0},
             1e-14}, // consistent 2 2 4
            {3,
             u"Q_0*Q_1=-9 Q_1*Q_2=-9 Q_0*Q_2=9"_s,
             {1.0 / 3, 1.0 / 3, 1.0 / 3, 3.0 + 2 * cyclic, cyclic, cyclic / 0.58},
             1e-12}, // cyclic nines
            {3,
             u"Q_0*Q_1=-2 Q_0*Q_2=1 Q_1*Q_2=-2"_s,
             {0.4126, 0.3275, 0.2599, 3.2174, 0.1087, 0.1874},
             1e-4}, // -2 1 -2
            // Row products 6, 1 and 1/6: weights as their cube roots, lambda about 3.2567.
            {3,
             u"Q_0*Q_1=-3 Q_0*Q_2=-2 Q_1*Q_2=-3"_s,
             {0.5396, 0.2970, 0.1634, 3.2567, 0.1283, 0.2213},
             1e-3}, // -3 -2 -3
        };
        for (const auto& [order, judgements, expected, tolerance] : rows) {
            MatrixPriorities p = MatrixPriorities::of(criteriaMatrix(order, judgements));
            const EvaluationResult r = Evaluation::EvaluateProblem(problem(order, 2, judgements));
            p.weights.insert(p.weights.end(), {p.lambda, p.consistencyIndex, r.CritConsistencyRatio});
            QVERIFY(near(p.weights, expected, tolerance));
            QCOMPARE(r.AltConsistencyRatio, 0.0);
        }
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
    // under the second; its text in file order, the bars labelled from "1" with the priorities in per cent. Then
    // nothing judged: every vector uniform, no ratio, the first alternative best.
    void testSampleAndUniform()
    {
        ProblemData p = problem(2, 2, u"Q_0*Q_1=-3 A_0*A_1&Q_1=5"_s);
        p.setAltName(0, u"Квартира в центре"_s);
        p.setAltName(1, u"Дом за городом"_s);
        const EvaluationResult r = Evaluation::EvaluateProblem(p, russian);
        QCOMPARE(r.CritTotal * 10 + r.AltTotal, 22);
        QVERIFY(near(r.CritPriority, {0.75, 0.25}));
        QVERIFY(near(r.AltLocalPriority[0], {0.5, 1.0 / 6}));
        QVERIFY(near(r.AltLocalPriority[1], {0.5, 5.0 / 6}));
        QVERIFY(near(r.AltPriority, {5.0 / 12, 7.0 / 12}));
        QCOMPARE(r.CritConsistencyRatio + r.AltConsistencyRatio, 0.0);
        QCOMPARE(r.BestChoice, 1);
        QCOMPARE(r.Memo, (QStringList{heading, QString(), u"Квартира в центре 41,67%"_s, u"Дом за городом 58,33%"_s,
                                      QString(), u"Лучший выбор - Дом за городом"_s, QString()}));
        QCOMPARE(r.Bars.size(), 2);
        QCOMPARE(r.Bars[0].label + r.Bars[1].label, u"12"_s);
        QVERIFY(near({r.Bars[0].value, r.Bars[1].value}, {100.0 * 5 / 12, 100.0 * 7 / 12}, 1e-12));
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
    void testBestChoice()
    {
        const std::tuple<QString, int> rows[] = {
            {QString(), 0},                         // all equal: the first
            {u"A_0*A_1&Q_0=3 A_0*A_2&Q_0=3"_s, 1},  // 1 and 2 tie above 0
            {u"A_0*A_1&Q_0=-4 A_1*A_2&Q_0=4"_s, 0}, // 0 and 2 tie above 1
            {u"A_0*A_2&Q_0=7 A_1*A_2&Q_0=7"_s, 2},  // the last one clearly
            {u"A_0*A_1&Q_0=5 A_1*A_2&Q_0=-5"_s, 1}, // the middle one
        };
        for (const auto& [judgements, best] : rows) {
            const EvaluationResult r = Evaluation::EvaluateProblem(problem(1, 3, judgements));
            QCOMPARE(r.BestChoice, best);
            for (int i = 0; i < 3; ++i) {
                QVERIFY(r.AltPriority[std::size_t(i)] <= r.AltPriority[std::size_t(best)]);
                QVERIFY(i >= best || r.AltPriority[std::size_t(i)] < r.AltPriority[std::size_t(best)]);
            }
        }
    }

    // Any judgements and counts, even refused ones: results sized, vectors distributions, a ratio only for orders
    // 3 to 10, where the busy judgements show their contradictions.
    void testBusyProblems()
    {
        const std::pair<int, int> counts[] = {{0, 0}, {0, 1}, {0, 3}, {1, 0}, {1, 1}, {1, 3},   {3, 0},   {3, 1},
                                              {2, 2}, {5, 5}, {9, 9}, {3, 9}, {9, 3}, {10, 10}, {11, 11}, {30, 30}};
        for (const auto& [n, m] : counts) {
            const EvaluationResult r = Evaluation::EvaluateProblem(busyProblem(n, m));
            QCOMPARE(QList<qsizetype>({r.CritTotal, r.AltTotal, qsizetype(r.CritPriority.size()),
                                       qsizetype(r.AltConsistencyIndex.size()), qsizetype(r.AltPriority.size()),
                                       qsizetype(r.AltLocalPriority.size()), r.Bars.size()}),
                     QList<qsizetype>({n, m, n, n, m, m, m}));
            QVERIFY(near({sum(r.CritPriority), sum(r.AltPriority)}, {n > 0 ? 1.0 : 0.0, n > 0 && m > 0 ? 1.0 : 0.0},
                         1e-14));
            QCOMPARE(QList<bool>({(r.BestChoice < 0), (r.BestChoice < m), (r.CritConsistencyRatio > 0.1),
                                  (r.AltConsistencyRatio > 0.1)}),
                     QList<bool>({m == 0, true, n >= 3 && n <= 10, m >= 3 && m <= 10 && n > 0}));
            QVERIFY(r.CritConsistencyRatio >= 0 && r.AltConsistencyRatio >= 0 && r.AltConsistencyRatio < 1e9);
            for (const QString& line : r.Memo)
                QVERIFY2(!line.contains(u"nan"_s, Qt::CaseInsensitive) && !line.contains(u"inf"_s), qPrintable(line));
        }
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
        // Counts kept within 0 to 30 as "Count" is read; a missing file is an empty problem, and is not made.
        QCOMPARE(
            (QList<int>{ProblemData(31, 1).critTotal(), ProblemData(-4, 1).critTotal(), ProblemData(1, 30).altTotal()}),
            (QList<int>{30, 0, 30}));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Нет такой.qzr"_s);
        const ProblemData none = ProblemData::load(IniFile(path));
        QCOMPARE(none.critTotal() + none.altTotal(), 0);
        QVERIFY(!QFile::exists(path));
    }

    // ---- The results text

    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // "fixed" is "%4.2f" (spaced: " %4.2f"), "W.D" fixed-point of width W with D decimals, "mark" the chart's
    // "##0.## %"; the locale's separator, never grouping.
    void testNumberFormats()
    {
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
        for (const auto& [format, value, locale, text] : rows) {
            if (format == u"fixed"_s)
                QCOMPARE(NumberFormat::fixed(value, locale) + u'|' + NumberFormat::spacedFixed(value, locale),
                         text + u"| "_s + text);
            else if (format == u"mark"_s)
                QCOMPARE(NumberFormat::percentMark(value, locale), text);
            else
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
    void testWarnings()
    {
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
        for (const auto& [judgements, ratio, locale, band, number] : rows) { // band 0: none
            QVERIFY2(int(ResultsText::consistencyOf(ratio)) == band, qPrintable(QString::number(ratio, 'g', 17)));
            QCOMPARE(ResultsText::warningLines(judgements, ratio, locale),
                     (band == 0 ? QStringList()
                                : QStringList{attention, warnings[int(judgements)][band - 1] + number + u"%)"_s,
                                              advice[band - 1], QString()}));
        }
    }

    // Criteria stored -3, -2, -3 (ratio 0.2213); alternatives -2, 1, -2 under each (index 0.1087, weights 0.4126,
    // 0.3275, 0.2599), the first and last swapped under the first criterion, so that the last wins overall.
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

    // Problems the screens would refuse keep the shape of the text.
    void testDegenerateText()
    {
        const QString none = u"Лучший выбор - ?"_s;
        const auto memo = [](int n, int m) { return Evaluation::EvaluateProblem(ProblemData(n, m), russian).Memo; };
        QCOMPARE(memo(0, 0), (QStringList{heading, QString(), QString(), none, QString()}));
        QCOMPARE(memo(0, 2), (QStringList{heading, QString(), u"? 0,00%"_s, u"? 0,00%"_s, QString(), none, QString()}));
        QCOMPARE(memo(1, 1), (QStringList{heading, QString(), u"? 100,00%"_s, QString(), none, QString()}));
    }

    // ---- The decision analysis

    // Nearness is a factor: grade g reaches up to sqrt(g (g+1)), where a plain difference would stop at g + 0,5.
    void testNearestJudgement()
    {
        const std::pair<double, int> rows[] = {{1.0, 1},   {1.41, 1},         {1.42, -2},   {1.45, -2}, {2.44, -2},
                                               {2.45, -3}, {8.4, -8},         {8.6, -9},    {40.0, -9}, {0.0, 1},
                                               {-3.0, 1},  {std::nan(""), 1}, {HUGE_VAL, 1}};
        for (const auto& [ratio, value] : rows) {
            QVERIFY2(Analysis::nearestJudgement(ratio) == value, qPrintable(QString::number(ratio)));
            if (ratio > 0 && std::isfinite(ratio)) // mirrored
                QVERIFY2(Analysis::nearestJudgement(1.0 / ratio) == (value == 1 ? 1 : -value),
                         qPrintable(QString::number(ratio)));
        }
        // Each scale value's own cell is nearest to that value: a present judgement reads back unchanged.
        for (int v = -9; v <= 9; ++v) {
            if (v != 0 && v != -1) {
                QCOMPARE(Analysis::nearestJudgement(JudgementMatrix::cellsOf(v).first), v);
                QCOMPARE(Analysis::nearestJudgement(JudgementMatrix::cellsOf(v).second), v == 1 ? 1 : -v);
            }
        }
    }

    void testConsistentHasNothingToRevisit()
    {
        for (const bool criteria : {true, false}) {
            const ProblemData p = problem(4, 4, consistentFour(criteria ? -1 : 2));
            const EvaluationResult e = Evaluation::EvaluateProblem(p, russian);
            const AnalysisResult r = Analysis::analyse(p, e);
            QCOMPARE(int(r.matrices.size()), 5);
            const AnalysisMatrix& m = r.matrices[criteria ? 0 : 3];
            QVERIFY(near(m.weights[0], 8.0 / 15.0));
            QVERIFY(near(m.weights[3], 1.0 / 15.0));
            // λ comes out a hair below 4; index and ratios never go below 0, so none shows -0,00 (QCOMPARE would
            // take anything within 1e-12 of 0).
            QVERIFY(near(m.lambda, 4.0));
            for (const double zero : {m.consistencyIndex, m.consistencyRatio, e.AltConsistencyRatio,
                                      criteria ? e.CritConsistencyRatio : e.AltConsistencyIndex[2]})
                QVERIFY2(zero == 0.0, qPrintable(QString::number(zero)));
            for (const AnalysisMatrix& each : r.matrices)
                QVERIFY(!each.inconsistent && each.revisit.isEmpty());
        }
    }

    // One judgement of the consistent 8:4:2:1 matrix turned round. With geometric means of order 4 the whole
    // matrix's priorities put the two elements level, so only the rest of the matrix can name the old value.
    // Ties of the others (equal deviation) keep the step order.
    void testReversedJudgement()
    {
        const std::tuple<int, int, int, double, int, QString> rows[] = {
            // criterion -1: the criteria
            {-1, 0, 2, 0.44, 1, u"Q_0*Q_1 Q_0*Q_3"_s},                // criteria 0-2
            {-1, 1, 3, 0.30, 4, u"Q_0*Q_1 Q_0*Q_3"_s},                // criteria 1-3
            {-1, 0, 3, 0.99, 2, u"Q_0*Q_1 Q_0*Q_2"_s},                // criteria 0-3
            {-1, 0, 1, 0.12, 0, u"Q_0*Q_2 Q_0*Q_3"_s},                // criteria 0-1
            {1, 0, 2, 0.44, 6 + 6 + 1, u"A_0*A_1&Q_1 A_0*A_3&Q_1"_s}, // alternatives 0-2 under criterion 1
        };
        for (const auto& [criterion, i, j, ratio, step, others] : rows) {
            const AnalysisResult r = analyse(problem(4, 4, consistentFour(criterion, i, j)));
            const AnalysisMatrix& m = r.matrices[std::size_t(criterion + 1)];
            QVERIFY2(near(m.consistencyRatio, ratio, 0.005), qPrintable(QString::number(m.consistencyRatio)));
            QVERIFY(m.inconsistent);
            QCOMPARE(m.revisit.size(), 3);
            const RevisitJudgement& worst = m.revisit.first();
            const int stored = 1 << (j - i);
            QCOMPARE((QList<int>{worst.first, worst.second, worst.step, worst.presentValue, worst.suggestedValue}),
                     (QList<int>{i, j, step, stored, -stored}));
            QCOMPARE(worst.key,
                     criterion < 0 ? ProblemKeys::qualPairKey(i, j) : ProblemKeys::altPairKey(i, j, criterion));
            QVERIFY(near(worst.agreeingRatio, stored) && near(worst.deviation, stored) && near(worst.e, 1.0 / stored));
            QCOMPARE(m.revisit.at(1).key + u' ' + m.revisit.at(2).key, others);
            QVERIFY(m.revisit.at(1).deviation < worst.deviation);
            QCOMPARE(m.revisit.at(1).deviation, m.revisit.at(2).deviation);
        }
    }

    // The sentences are the dialog's, with the names of the pair and the ratio in the order of the sentence.
    void testRevisitSentences()
    {
        const AnalysisResult r = analyse(problem(4, 2, consistentFour(-1, 0, 2)));
        const RevisitJudgement& worst = r.matrices[0].revisit.first();
        QCOMPARE(worst.presentSentence, u"Срок существенно или немного важнее, чем Цена [4/1]"_s);
        QCOMPARE(worst.suggestedSentence, u"Цена существенно или немного важнее, чем Срок [4/1]"_s);
        QCOMPARE(AnalysisText::revisitNote(r, r.matrices[0]), QString()); // four criteria

        // A cycle of three 9s: every pair deviates alike, so the step order decides.
        const AnalysisResult cyclic = analyse(problem(2, 3, u"A_0*A_1&Q_1=-9 A_1*A_2&Q_1=-9 A_0*A_2&Q_1=9"_s));
        const AnalysisMatrix& m = cyclic.matrices[2];
        QCOMPARE(m.revisit.size(), 3);
        const RevisitJudgement& first = m.revisit.first();
        QCOMPARE(first.key + u' ' + m.revisit.at(1).key + u' ' + m.revisit.at(2).key,
                 u"A_0*A_1&Q_1 A_0*A_2&Q_1 A_1*A_2&Q_1"_s);
        QCOMPARE((QList<int>{first.step, first.suggestedValue}), (QList<int>{1 + 3 + 0, 9}));
        QCOMPARE(first.presentSentence, u"Первый очень намного лучше, чем Второй [9/1]"_s);
        QCOMPARE(first.suggestedSentence, u"Второй очень намного лучше, чем Первый [9/1]"_s);
        QCOMPARE(AnalysisText::revisitNote(cyclic, m),
                 u"Альтернативы по критерию «Качество»: из трёх ответов каждый противоречит двум другим в равной мере, "
                 "поэтому достаточно изменить любой один из них."_s);
    }

    // At a log-space midpoint between grades the milder is suggested, whichever of the pair (0-1, judged 9 to 1
    // against the rest) is listed first; judgements in step order. The rest agree on sqrt(a02 a21 a03 a31) for
    // four items, on the fourth root for six.
    void testMidpointTakesTheMilderGrade()
    {
        const std::tuple<QList<int>, int> rows[] = {
            // the suggestion for item 0 against item 1 as given
            {{9, -2, 1, 1, 1, 1}, 1},                             // 4 items, sqrt 2: equal, not 2
            {{9, -4, 1, 3, 1, 1}, -3},                            // 4 items, sqrt 12: 3, not 4
            {{9, -4, 1, 5, 1, 1}, -4},                            // 4 items, sqrt 20: 4, not 5
            {{-9, 2, 1, -3, 1, 1}, 2},                            // 4 items, sqrt 6 the other way: 2, not 3
            {{9, -2, -2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 1}, // 6 items, 4^(1/4) = sqrt 2: equal
        };
        for (const auto& [judgements, suggested] : rows) {
            const int k = judgements.size() == 6 ? 4 : 6;
            for (const bool reversed : {false, true}) {
                // Listed in reverse, the pair's first element is the other one: the judgement turns round.
                const auto at = [&](int item) { return reversed ? k - 1 - item : item; };
                QString stored;
                int serial = 0;
                for (int i = 0; i < k; ++i) {
                    for (int j = i + 1; j < k; ++j) {
                        const int v = judgements.at(serial++);
                        stored += ProblemKeys::qualPairKey(std::min(at(i), at(j)), std::max(at(i), at(j))) + u'=' +
                                  QString::number(reversed && v != 1 ? -v : v) + u' ';
                    }
                }
                const AnalysisMatrix criteria = analyse(problem(k, 2, stored)).matrices.at(0);
                QVERIFY(criteria.inconsistent);
                const RevisitJudgement& worst = criteria.revisit.first();
                QCOMPARE(worst.first, std::min(at(0), at(1)));
                QCOMPARE(worst.second, std::max(at(0), at(1)));
                QCOMPARE(worst.suggestedValue, reversed && suggested != 1 ? -suggested : suggested);
            }
        }
    }

    // A judgement off in a matrix below the limit is not listed (the results text does not warn either).
    void testBelowLimitListsNothing()
    {
        const AnalysisMatrix m =
            analyse(problem(4, 2, consistentFour(-1).replace(u"Q_2*Q_3=-2"_s, u"Q_2*Q_3=2"_s))).matrices.at(0);
        QVERIFY(m.consistencyRatio > 0.05 && m.consistencyRatio < 0.1);
        QVERIFY(!m.inconsistent && m.revisit.isEmpty());
    }

    // The interval of each weight in which the best choice holds, worked out by hand: per criterion its low and
    // high end and who wins beyond each (-1: nobody); then the smallest change (criterion, weight, winner). An
    // end is lost only to an earlier alternative, and the lines of the best and the winner meet at it.
    void testSensitivity_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        QTest::addColumn<QString>("judgements");
        QTest::addColumn<int>("winner");
        QTest::addColumn<QList<double>>("ends");
        QTest::addColumn<QList<double>>("smallest");
        // The sample problem: under criterion 0 the two meet only at t = 1, under criterion 1 only at t = 0; the
        // earlier one wins there. Both ends lie 0,25 from the present weights: the first criterion is named.
        QTest::newRow("the sample problem") << 2 << 2 << u"Q_0*Q_1=-3 A_0*A_1&Q_1=5"_s << 1
                                            << QList<double>{0, 1, -1, 0, 0, 1, 0, -1} << QList<double>{0, 1, 0};
        // Equal weights, locals 0,75/0,25, 0,1/0,9, 0,5/0,5, R the mean of the others. Criterion 0: 0,3 + 0,45 t
        // against 0,7 - 0,45 t, equal at t = 4/9; 1: 0,625 - 0,525 t against 0,375 + 0,525 t, at 5/21; 2: 0,425 +
        // 0,075 t against 0,575 - 0,075 t, at t = 1, where the earlier one wins.
        QTest::newRow("crossing, the later alternative best")
            << 3 << 2 << u"A_0*A_1&Q_0=-3 A_0*A_1&Q_1=9"_s << 1
            << QList<double>{0, 4.0 / 9, -1, 0, 5.0 / 21, 1, 0, -1, 0, 1, -1, 0} << QList<double>{1, 5.0 / 21, 0};
        QTest::newRow("crossing, the earlier alternative best")
            << 3 << 2 << u"A_0*A_1&Q_0=3 A_0*A_1&Q_1=-9"_s << 0
            << QList<double>{0, 4.0 / 9, -1, 1, 5.0 / 21, 1, 1, -1, 0, 1, -1, -1} << QList<double>{1, 5.0 / 21, 1};
        // Weights 1 : 1 : 3; locals 7/8 and 1/8, 1/8 and 7/8, equal: both 0,5, the first wins. The crossings lie
        // at the present weights, a hair to either side by rounding; the interval still holds the present weight.
        QTest::newRow("two alternatives tied")
            << 3 << 2 << u"Q_0*Q_2=3 Q_1*Q_2=3 A_0*A_1&Q_0=-7 A_0*A_1&Q_1=7"_s << 0
            << QList<double>{0.2, 1, 1, -1, 0, 0.2, -1, 1, 0, 1, -1, -1} << QList<double>{0, 0.2, 1};
        // Locals 1/7, 3/7, 3/7; then 9/11, 1/11, 1/11; then equal. Criterion 0: 19/33 - 32/231 t against
        // 7/33 + 50/231 t, equal at t = 0,56; criterion 1: 5/21 + 122/231 t against 8/21 - 67/231 t, equal at
        // t = 11/67. Beyond each crossing the two alike tie: the first of them leads.
        QTest::newRow("two alike beyond the crossing")
            << 3 << 3 << u"A_0*A_1&Q_0=3 A_0*A_2&Q_0=3 A_0*A_1&Q_1=-9 A_0*A_2&Q_1=-9"_s << 0
            << QList<double>{0, 0.56, -1, 1, 11.0 / 67, 1, 1, -1, 0, 1, -1, -1} << QList<double>{1, 11.0 / 67, 1};
        // The best and the next judged alike: their lines are one, and the second never takes over. Locals 1/5,
        // 1/5, 3/5; then 9/19, 9/19, 1/19; then equal. Criterion 0: equal at t = 10/29; criterion 1 at 19/59.
        QTest::newRow("the best and the next alike")
            << 3 << 3 << u"A_0*A_2&Q_0=3 A_1*A_2&Q_0=3 A_0*A_2&Q_1=-9 A_1*A_2&Q_1=-9"_s << 0
            << QList<double>{0, 10.0 / 29, -1, 2, 19.0 / 59, 1, 2, -1, 0, 1, -1, -1} << QList<double>{1, 19.0 / 59, 2};
    }
    void testSensitivity()
    {
        QFETCH(int, n);
        QFETCH(int, m);
        QFETCH(QString, judgements);
        QFETCH(int, winner);
        QFETCH(QList<double>, ends);
        QFETCH(QList<double>, smallest);
        const AnalysisResult r = analyse(problem(n, m, judgements));
        QCOMPARE(r.winner, winner);
        QCOMPARE(int(r.sensitivity.size()), n);
        for (const CriterionSensitivity& s : r.sensitivity) {
            const auto expected = ends.mid(4 * s.criterion, 4);
            QVERIFY2(near(s.low, expected[0]) && near(s.high, expected[1]),
                     qPrintable(u"%1: %2 to %3"_s.arg(s.criterion).arg(s.low, 0, 'g', 17).arg(s.high, 0, 'g', 17)));
            QVERIFY(s.low <= s.weight && s.weight <= s.high);
            QCOMPARE((QList<int>{s.winnerBelow, s.winnerAbove, s.lowIncluded, s.highIncluded}),
                     (QList<int>{int(expected[2]), int(expected[3]), s.winnerBelow < 0 || s.winnerBelow > winner,
                                 s.winnerAbove < 0 || s.winnerAbove > winner}));
            const PriorityLine& best = s.lines[std::size_t(winner)];
            for (const auto& [at, other] : {std::pair{s.low, s.winnerBelow}, std::pair{s.high, s.winnerAbove}})
                QVERIFY(other < 0 || near(best.at(at), s.lines[std::size_t(other)].at(at)));
        }
        QVERIFY(r.smallestChange.has_value());
        const WinnerChange& c = *r.smallestChange;
        QCOMPARE((QList<int>{c.criterion, c.newWinner}), (QList<int>{int(smallest[0]), int(smallest[2])}));
        QVERIFY(near(c.newWeight, smallest[1]) && near(c.change, std::fabs(c.newWeight - r.weights[c.criterion])));
    }

    void testSensitivityInWords()
    {
        // Where the later alternative is best, the earlier one wins the tie at the crossing itself.
        const AnalysisResult later = analyse(problem(3, 2, u"A_0*A_1&Q_0=-3 A_0*A_1&Q_1=9"_s));
        QCOMPARE(AnalysisText::sensitivityLine(later, 0, russian),
                 u"«Второй» остаётся лучшим выбором, пока вес критерия «Цена» (сейчас 33,33%) меньше 44,44%: если он"
                 " вырастет до 44,44%, лучшим станет «Первый»."_s);
        QCOMPARE(AnalysisText::smallestChangeLine(later, russian),
                 u"Лучший выбор сильнее всего зависит от веса «Качество»: если он снизится с 33,33% до 23,81%,"
                 " лучшим станет «Первый»."_s);
        const AnalysisResult earlier = analyse(problem(3, 2, u"A_0*A_1&Q_0=3 A_0*A_1&Q_1=-9"_s));
        QCOMPARE(AnalysisText::sensitivityLine(earlier, 1, russian),
                 u"«Первый» остаётся лучшим выбором, пока вес критерия «Качество» (сейчас 33,33%) не меньше 23,81%:"
                 " если он станет меньше 23,81%, лучшим станет «Второй»."_s);
        QCOMPARE(AnalysisText::smallestChangeLine(earlier, russian),
                 u"Лучший выбор сильнее всего зависит от веса «Качество»: если он снизится с 33,33% до значения"
                 " меньше 23,81%, лучшим станет «Второй»."_s);
    }

    // Sensitivity against the winner recomputed from scratch inside the interval and just beyond its ends, on a
    // problem of every criterion pulling another way.
    void testIntervalsAgreeWithRecomputation()
    {
        QString spread = u"Q_0*Q_1=2 Q_2*Q_3=-3 "_s;
        static constexpr int values[] = {-9, -5, 3, 7, -2, 4, 1, -7, 9, 2, -3, 6};
        for (int q = 0, serial = 0; q < 4; ++q) {
            for (int i = 0; i < 4; ++i) {
                for (int j = i + 1; j < 4; ++j)
                    spread += ProblemKeys::altPairKey(i, j, q) + u'=' + QString::number(values[serial++ % 12]) + u' ';
            }
        }
        const AnalysisResult r = analyse(problem(4, 4, spread));
        constexpr double step = 1e-7;
        int changes = 0;
        for (const CriterionSensitivity& s : r.sensitivity) {
            const int k = s.criterion;
            QVERIFY(s.low <= s.weight && s.weight <= s.high);
            QCOMPARE(winnerAt(r, k, s.weight), r.winner);
            QCOMPARE(winnerAt(r, k, (s.low + s.high) / 2), r.winner);
            changes += (s.winnerAbove >= 0) + (s.winnerBelow >= 0);
            QCOMPARE(winnerAt(r, k, s.winnerAbove < 0 ? 1.0 : std::min(s.high + step, 1.0)),
                     s.winnerAbove < 0 ? r.winner : s.winnerAbove);
            QCOMPARE(winnerAt(r, k, s.winnerBelow < 0 ? 0.0 : std::max(s.low - step, 0.0)),
                     s.winnerBelow < 0 ? r.winner : s.winnerBelow);
            if (r.smallestChange)
                QVERIFY(r.smallestChange->change <= std::max(s.weight - s.low, s.high - s.weight) + 1e-15);
        }
        QCOMPARE(r.smallestChange.has_value(), changes > 0);
    }

    // Problems the screens would not let through still give whole, finite answers and say why.
    void testDegenerateProblems()
    {
        const QString noAlternatives = u"Альтернатив нет, выбирать не из чего."_s;
        const QString oneAlternative = u"Альтернатива единственная: лучший выбор не может измениться."_s;
        const std::tuple<int, int, QString> rows[] = {
            {0, 0, noAlternatives},
            {0, 3, u"Критериев нет: менять нечего."_s},
            {3, 0, noAlternatives},
            {1, 3, u"Критерий единственный: его вес нельзя изменить, и лучший выбор не изменится."_s},
            {3, 1, oneAlternative},
            {1, 1, oneAlternative},
            {3, 3, u"Никакое изменение веса одного критерия не меняет лучший выбор."_s}};
        for (const auto& [n, m, smallest] : rows) { // and the line of the smallest change
            const bool canVary = n != 1;            // the one criterion's weight is 1 and has nowhere to go
            // Lopsided but consistent criteria (9 : 3 : 1), so no answer rests on equal weights.
            const AnalysisResult r = analyse(problem(n, m, n == 3 ? u"Q_0*Q_1=-3 Q_1*Q_2=-3 Q_0*Q_2=-9"_s : QString()));
            QCOMPARE(
                QList<int>({int(r.matrices.size()), int(r.sensitivity.size()), r.winner, r.smallestChange.has_value()}),
                QList<int>({n > 0 ? n + 1 : 0, n, m > 0 ? 0 : -1, 0}));
            for (const AnalysisMatrix& matrix : r.matrices)
                QVERIFY(matrix.revisit.isEmpty() && std::isfinite(matrix.lambda + matrix.consistencyRatio));
            for (const CriterionSensitivity& s : r.sensitivity) {
                QCOMPARE(QList<double>({double(s.canVary), double(s.winnerBelow), double(s.winnerAbove),
                                        double(s.lines.size()), s.low, s.high}),
                         QList<double>({double(canVary), -1, -1, double(m), canVary ? 0.0 : 1.0, 1.0}));
                for (const PriorityLine& line : s.lines)
                    QVERIFY(std::isfinite(line.intercept + line.slope));
                QVERIFY(
                    !AnalysisText::sensitivityLine(r, s.criterion, russian).contains(u"nan"_s, Qt::CaseInsensitive));
            }
            QCOMPARE(AnalysisText::smallestChangeLine(r, russian), smallest);
        }
    }

    // Quotes of one kind never nest.
    void testQuoted() { QCOMPARE(AnalysisText::quoted(u"Двушка у метро «Сокол»"_s), u"«Двушка у метро „Сокол“»"_s); }
};

QTEST_GUILESS_MAIN(TestEvaluate)
#include "test_evaluate.moc"
