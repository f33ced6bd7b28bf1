// The numbers of the evaluation: judgement matrices, priority vectors, consistency, synthesis, best choice,
// the reading of the problem file, and problems the screens would refuse.
#include "TestSupport.h"

#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/ProblemData.h"
#include "evaluate/RandomIndex.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <cmath>
#include <map>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

using Pairs = std::map<std::pair<int, int>, int>; // (i, j), i < j -> stored value

JudgementMatrix matrixOf(int order, const Pairs& stored)
{
    return JudgementMatrix::fromStored(order, [&stored](int i, int j) {
        const auto it = stored.find({i, j});
        return it == stored.end() ? 1 : it->second;
    });
}

ProblemData problemOf(int n, int m, const Pairs& criteria, const std::vector<Pairs>& alternatives)
{
    ProblemData problem(n, m);
    for (const auto& [pair, value] : criteria)
        problem.setCritJudgement(pair.first, pair.second, value);
    for (int q = 0; q < int(alternatives.size()); ++q) {
        for (const auto& [pair, value] : alternatives[std::size_t(q)])
            problem.setAltJudgement(pair.first, pair.second, q, value);
    }
    return problem;
}

bool near(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance;
}

double sum(const std::vector<double>& values)
{
    double s = 0.0;
    for (const double v : values)
        s += std::isfinite(v) ? v : 1e9; // whatever is not finite spoils the sum
    return s;
}

// Every stored value cycles through the whole scale and beyond, so each matrix is full and (for three or more
// elements) inconsistent.
ProblemData busyProblem(int n, int m)
{
    static constexpr int values[] = {-9, 7, -4, 2, 9, -2, 5, -7, 3, 10, 0, -1, 1};
    ProblemData problem(n, m);
    int next = 0;
    for (int i = 0; i < problem.critTotal(); ++i) {
        for (int j = i + 1; j < problem.critTotal(); ++j)
            problem.setCritJudgement(i, j, values[next++ % 13]);
    }
    for (int q = 0; q < problem.critTotal(); ++q) {
        for (int i = 0; i < problem.altTotal(); ++i) {
            for (int j = i + 1; j < problem.altTotal(); ++j)
                problem.setAltJudgement(i, j, q, values[next++ % 13]);
        }
    }
    return problem;
}

} // namespace

class TestEvaluate final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A stored value fills the pair's two cells; row i says how strongly i dominates.
    void testMatrixCells_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<double>("upper"); // a[i][j]
        QTest::addColumn<double>("lower"); // a[j][i]
        QTest::newRow("-9: first nine times") << -9 << 9.0 << 1.0 / 9;
        QTest::newRow("-2: first twice") << -2 << 2.0 << 0.5;
        QTest::newRow("2: second twice") << 2 << 0.5 << 2.0;
        QTest::newRow("9: second nine times") << 9 << 1.0 / 9 << 9.0;
        for (const int v : {1, 0, -1, 10, -10, INT_MIN, INT_MAX})
            QTest::addRow("%d: equal", v) << v << 1.0 << 1.0;
    }
    void testMatrixCells()
    {
        QFETCH(int, stored);
        QFETCH(double, upper);
        QFETCH(double, lower);
        const JudgementMatrix a = matrixOf(3, {{{0, 2}, stored}});
        QCOMPARE(a.at(0, 2), upper);
        QCOMPARE(a.at(2, 0), lower);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(a.at(i, i), 1.0);
        QCOMPARE(a.at(0, 1), 1.0);
        QCOMPARE(a.at(2, 1), 1.0);
    }

    void testMatrixPriorities_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<Pairs>("stored");
        QTest::addColumn<std::vector<double>>("weights");
        QTest::addColumn<double>("lambda");
        QTest::addColumn<double>("index");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("order 0") << 0 << Pairs{} << std::vector<double>{} << 0.0 << 0.0 << 0.0;
        QTest::newRow("order 1") << 1 << Pairs{} << std::vector<double>{1.0} << 1.0 << 0.0 << 0.0;
        QTest::newRow("uniform 4") << 4 << Pairs{} << std::vector<double>(4, 0.25) << 4.0 << 0.0 << 1e-15;
        QTest::newRow("3:1") << 2 << Pairs{{{0, 1}, -3}} << std::vector<double>{0.75, 0.25} << 2.0 << 0.0 << 1e-15;
        QTest::newRow("1:5") << 2 << Pairs{{{0, 1}, 5}} << std::vector<double>{1.0 / 6, 5.0 / 6} << 2.0 << 0.0 << 1e-15;
        // a[0][1] = 2, a[1][2] = 2, a[0][2] = 4: weights 4:2:1, lambda = n.
        QTest::newRow("consistent 2 2 4") << 3 << Pairs{{{0, 1}, -2}, {{1, 2}, -2}, {{0, 2}, -4}}
                                          << std::vector<double>{4.0 / 7, 2.0 / 7, 1.0 / 7} << 3.0 << 0.0 << 1e-14;
        // 0 over 1 by 9, 1 over 2 by 9, 2 over 0 by 9: every row product is 1 and every row holds 1, 9 and 1/9,
        // so lambda = 1 + 9 + 1/9.
        QTest::newRow("cyclic nines") << 3 << Pairs{{{0, 1}, -9}, {{1, 2}, -9}, {{0, 2}, 9}}
                                      << std::vector<double>(3, 1.0 / 3) << 1.0 + 9.0 + 1.0 / 9
                                      << (9.0 + 1.0 / 9 - 2.0) / 2 << 1e-13;
        QTest::newRow("-2 1 -2") << 3 << Pairs{{{0, 1}, -2}, {{0, 2}, 1}, {{1, 2}, -2}}
                                 << std::vector<double>{0.4126, 0.3275, 0.2599} << 3.2174 << 0.1087 << 1e-4;
    }
    void testMatrixPriorities()
    {
        QFETCH(int, order);
        QFETCH(Pairs, stored);
        QFETCH(std::vector<double>, weights);
        QFETCH(double, lambda);
        QFETCH(double, index);
        QFETCH(double, tolerance);
        const MatrixPriorities p = MatrixPriorities::of(matrixOf(order, stored));
        QCOMPARE(p.weights.size(), weights.size());
        for (std::size_t i = 0; i < weights.size(); ++i)
            QVERIFY2(near(p.weights[i], weights[i], tolerance), qPrintable(QString::number(p.weights[i], 'g', 17)));
        QVERIFY2(near(p.lambda, lambda, tolerance), qPrintable(QString::number(p.lambda, 'g', 17)));
        QVERIFY2(near(p.consistencyIndex, index, tolerance), qPrintable(QString::number(p.consistencyIndex, 'g', 17)));
    }

    void testRandomIndex_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<std::optional<double>>("expected");
        const double table[] = {0.58, 0.90, 1.12, 1.24, 1.32, 1.41, 1.45, 1.49};
        for (int order = 3; order <= 10; ++order)
            QTest::addRow("%d", order) << order << std::optional<double>(table[order - 3]);
        for (const int order : {-1, 0, 1, 2, 11, 30})
            QTest::addRow("%d: none", order) << order << std::optional<double>();
    }
    void testRandomIndex()
    {
        QFETCH(int, order);
        QFETCH(std::optional<double>, expected);
        QCOMPARE(RandomIndex::forOrder(order), expected);
        QCOMPARE(RandomIndex::consistencyRatio(0.29, order), expected ? 0.29 / *expected : 0.0);
    }

    void testNothingJudgedIsUniform()
    {
        for (const auto& [n, m] : {std::pair{3, 4}, std::pair{9, 9}}) {
            const EvaluationResult r = Evaluation::EvaluateProblem(ProblemData(n, m));
            for (double w : r.CritPriority)
                QVERIFY(near(w, 1.0 / n, 1e-15));
            for (const auto& row : r.AltLocalPriority) {
                for (double w : row)
                    QVERIFY(near(w, 1.0 / m, 1e-15));
            }
            for (double w : r.AltPriority)
                QVERIFY(near(w, 1.0 / m, 1e-15));
            QVERIFY(near(r.CritConsistencyRatio, 0.0, 1e-14));
            QVERIFY(near(r.AltConsistencyRatio, 0.0, 1e-14));
            QCOMPARE(r.BestChoice, 0);
        }
    }

    // The sample problem of the file format: criteria 3:1, alternatives equal under the first criterion and
    // 1:5 under the second.
    void testSampleProblem()
    {
        const EvaluationResult r =
            Evaluation::EvaluateProblem(problemOf(2, 2, {{{0, 1}, -3}}, {{{{0, 1}, 1}}, {{{0, 1}, 5}}}));
        QCOMPARE(r.CritTotal, 2);
        QCOMPARE(r.AltTotal, 2);
        QVERIFY(near(r.CritPriority[0], 0.75, 1e-15));
        QVERIFY(near(r.CritPriority[1], 0.25, 1e-15));
        QVERIFY(near(r.AltLocalPriority[0][0], 0.5, 1e-15));
        QVERIFY(near(r.AltLocalPriority[1][0], 0.5, 1e-15));
        QVERIFY(near(r.AltLocalPriority[0][1], 1.0 / 6, 1e-15));
        QVERIFY(near(r.AltLocalPriority[1][1], 5.0 / 6, 1e-15));
        QVERIFY(near(r.AltPriority[0], 5.0 / 12, 1e-15));
        QVERIFY(near(r.AltPriority[1], 7.0 / 12, 1e-15));
        QCOMPARE(r.CritConsistencyRatio, 0.0);
        QCOMPARE(r.AltConsistencyRatio, 0.0);
        QCOMPARE(r.BestChoice, 1);
    }

    void testCriteriaRatio_data()
    {
        QTest::addColumn<Pairs>("stored");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("consistent 2 2 4") << Pairs{{{0, 1}, -2}, {{1, 2}, -2}, {{0, 2}, -4}} << 0.0 << 1e-14;
        QTest::newRow("cyclic nines") << Pairs{{{0, 1}, -9}, {{1, 2}, -9}, {{0, 2}, 9}}
                                      << (9.0 + 1.0 / 9 - 2.0) / 2 / 0.58 << 1e-12;
        QTest::newRow("-2 1 -2") << Pairs{{{0, 1}, -2}, {{0, 2}, 1}, {{1, 2}, -2}} << 0.1874 << 1e-4;
        QTest::newRow("-3 -2 -3") << Pairs{{{0, 1}, -3}, {{0, 2}, -2}, {{1, 2}, -3}} << 0.2213 << 1e-4;
    }
    void testCriteriaRatio()
    {
        QFETCH(Pairs, stored);
        QFETCH(double, ratio);
        QFETCH(double, tolerance);
        const EvaluationResult r = Evaluation::EvaluateProblem(problemOf(3, 2, stored, {}));
        QVERIFY2(near(r.CritConsistencyRatio, ratio, tolerance),
                 qPrintable(QString::number(r.CritConsistencyRatio, 'g', 17)));
        QCOMPARE(r.AltConsistencyRatio, 0.0); // two alternatives are always consistent
    }

    // The alternatives' ratio weighs each criterion's index by that criterion's priority and divides by the
    // random index of the alternatives' order.
    void testAlternativesRatioIsWeighted()
    {
        const Pairs inconsistent{{{0, 1}, -2}, {{0, 2}, 1}, {{1, 2}, -2}}; // CI about 0.1087
        const EvaluationResult a = Evaluation::EvaluateProblem(problemOf(2, 3, {{{0, 1}, -3}}, {inconsistent, {}}));
        const EvaluationResult b = Evaluation::EvaluateProblem(problemOf(2, 3, {{{0, 1}, -3}}, {{}, inconsistent}));
        QVERIFY(near(a.AltConsistencyIndex[0], 0.1087, 1e-4));
        QVERIFY(near(a.AltConsistencyIndex[1], 0.0, 1e-15));
        QVERIFY(near(a.AltConsistencyRatio, 0.75 * 0.1087 / 0.58, 1e-3));
        QVERIFY(near(b.AltConsistencyRatio, 0.25 * 0.1087 / 0.58, 1e-3));
        QCOMPARE(a.CritConsistencyRatio, 0.0);
    }

    // One criterion, three alternatives; of equal priorities the first wins.
    void testBestChoice_data()
    {
        QTest::addColumn<Pairs>("alternatives");
        QTest::addColumn<int>("best");
        QTest::newRow("all equal: the first") << Pairs{} << 0;
        QTest::newRow("1 and 2 tie above 0") << Pairs{{{0, 1}, 3}, {{0, 2}, 3}, {{1, 2}, 1}} << 1;
        QTest::newRow("0 and 2 tie above 1") << Pairs{{{0, 1}, -4}, {{0, 2}, 1}, {{1, 2}, 4}} << 0;
        QTest::newRow("the last one clearly") << Pairs{{{0, 1}, 1}, {{0, 2}, 7}, {{1, 2}, 7}} << 2;
        QTest::newRow("the middle one") << Pairs{{{0, 1}, 5}, {{0, 2}, 1}, {{1, 2}, -5}} << 1;
    }
    void testBestChoice()
    {
        QFETCH(Pairs, alternatives);
        QFETCH(int, best);
        const EvaluationResult r = Evaluation::EvaluateProblem(problemOf(1, 3, {}, {alternatives}));
        QCOMPARE(r.BestChoice, best);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(r.AltPriority[std::size_t(i)] <= r.AltPriority[std::size_t(best)]);
            if (i < best)
                QVERIFY(r.AltPriority[std::size_t(i)] < r.AltPriority[std::size_t(best)]);
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
        QCOMPARE(r.CritTotal, n);
        QCOMPARE(r.AltTotal, m);
        QCOMPARE(int(r.CritPriority.size()), n);
        QCOMPARE(int(r.AltConsistencyIndex.size()), n);
        QCOMPARE(int(r.AltPriority.size()), m);
        QCOMPARE(int(r.AltLocalPriority.size()), m);
        QCOMPARE(r.Bars.size(), m);
        QVERIFY(near(sum(r.CritPriority), n > 0 ? 1.0 : 0.0, 1e-14));
        QVERIFY(near(sum(r.AltPriority), n > 0 && m > 0 ? 1.0 : 0.0, 1e-14));
        QVERIFY(sum(r.AltConsistencyIndex) < 1e9);
        for (int q = 0; q < n; ++q) {
            std::vector<double> column;
            for (const auto& row : r.AltLocalPriority)
                column.push_back(row.at(std::size_t(q)));
            QVERIFY(near(sum(column), m > 0 ? 1.0 : 0.0, 1e-14));
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
        QCOMPARE(p.critTotal(), 3);
        QCOMPARE(p.altTotal(), 3);
        QCOMPARE(p.altNames(), (QStringList{u"Квартира в центре"_s, u"?"_s, u"Дом"_s}));
        QCOMPARE(p.critNames(), (QStringList{u"Цена"_s, u"?"_s, QString(255, u'x')}));
        QCOMPARE(p.critJudgement(0, 1), -3);
        QCOMPARE(p.critJudgement(0, 2), 1);  // not a number
        QCOMPARE(p.critJudgement(1, 2), 12); // kept as stored, weighs as equal
        QCOMPARE(p.altJudgement(0, 1, 0), 5);
        QCOMPARE(p.altJudgement(1, 2, 2), -9);
        QCOMPARE(p.altJudgement(0, 2, 0), 1);
        QCOMPARE(p.altJudgement(0, 1, 1), 1);
    }

    void testLoadCounts_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QByteArray() << 0;
        QTest::newRow("1") << QByteArray("1") << 1;
        QTest::newRow("11") << QByteArray("11") << 11;
        QTest::newRow("30") << QByteArray("30") << 30;
        QTest::newRow("31 reads as 30") << QByteArray("31") << 30;
        QTest::newRow("huge reads as 30") << QByteArray("2000000000") << 30;
        QTest::newRow("negative reads as 0") << QByteArray("-4") << 0;
        QTest::newRow("text reads as 0") << QByteArray("abc") << 0;
    }
    void testLoadCounts()
    {
        QFETCH(QByteArray, count);
        QFETCH(int, expected);
        const QByteArray line = count.isNull() ? QByteArray() : "Count=" + count + "\r\n";
        const ProblemData p = ProblemData::load(IniDocument::fromBytes("[Qual]\r\n" + line + "[Alt]\r\n" + line));
        QCOMPARE(p.critTotal(), expected);
        QCOMPARE(p.altTotal(), expected);
        QCOMPARE(p.altNames(), QStringList(expected, u"?"_s));
        QCOMPARE(Evaluation::EvaluateProblem(p).Bars.size(), expected);
        QCOMPARE(ProblemData(count.toInt(), 1).critTotal(), expected); // the counts a problem is made with too
    }

    // A file that does not exist is an empty problem; reading it creates nothing.
    void testLoadMissingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Нет такой.qzr"_s);
        const ProblemData p = ProblemData::load(IniFile(path));
        QCOMPARE(p.critTotal() + p.altTotal(), 0);
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestEvaluate)
#include "test_evaluate.moc"
