// The decision analysis: judgements to revisit, the weights that would change the best choice, and the
// words for both. The expected numbers come from hand calculation.
#include "TestSupport.h"

#include "compare/CompareStepsBuild.h"
#include "evaluate/Analysis.h"
#include "evaluate/AnalysisText.h"
#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/ProblemData.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

#include <QDir>
#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);

bool near(double actual, double expected, double tolerance = 1e-12)
{
    return std::fabs(actual - expected) <= tolerance;
}

// Criteria stored so that a[i][j] = 2^(j - i): weights 8 : 4 : 2 : 1, every judgement in agreement.
void storeConsistentCriteria(ProblemData& problem)
{
    for (int i = 0; i < problem.critTotal(); ++i) {
        for (int j = i + 1; j < problem.critTotal(); ++j)
            problem.setCritJudgement(i, j, -(1 << (j - i)));
    }
}

ProblemData namedProblem(int n, int m)
{
    ProblemData problem(n, m);
    static const QStringList criteria{u"Цена"_s, u"Качество"_s, u"Срок"_s, u"Сервис"_s};
    static const QStringList alternatives{u"Первый"_s, u"Второй"_s, u"Третий"_s, u"Четвёртый"_s};
    for (int k = 0; k < n && k < criteria.size(); ++k)
        problem.setCritName(k, criteria.at(k));
    for (int i = 0; i < m && i < alternatives.size(); ++i)
        problem.setAltName(i, alternatives.at(i));
    return problem;
}

AnalysisResult analyse(const ProblemData& problem)
{
    return Analysis::analyse(problem, Evaluation::EvaluateProblem(problem, russian));
}

// Three equally weighted criteria and two alternatives; local priorities 0.75/0.25, 0.1/0.9 and 0.5/0.5 when
// the first alternative is ahead under criterion 0, the mirror image otherwise.
ProblemData crossingProblem(bool laterBest)
{
    ProblemData problem = namedProblem(3, 2);
    problem.setAltJudgement(0, 1, 0, laterBest ? -3 : 3);
    problem.setAltJudgement(0, 1, 1, laterBest ? 9 : -9);
    return problem;
}

// The winner found from scratch: the weights rescaled around t, the global priorities summed again, the
// first of equals winning. Independent of the lines the analysis draws.
int winnerAt(const AnalysisResult& r, int k, double t)
{
    std::vector<double> w = r.weights;
    double rest = 0.0;
    for (int q = 0; q < r.critTotal; ++q)
        rest += q == k ? 0.0 : w[std::size_t(q)];
    for (int q = 0; q < r.critTotal; ++q)
        w[std::size_t(q)] = q == k ? t : w[std::size_t(q)] * (1.0 - t) / rest;
    int best = -1;
    double bestPriority = 0.0;
    for (int i = 0; i < r.altTotal; ++i) {
        double p = 0.0;
        for (int q = 0; q < r.critTotal; ++q)
            p += w[std::size_t(q)] * r.localPriorities[std::size_t(i)][std::size_t(q)];
        if (best < 0 || p > bestPriority) {
            best = i;
            bestPriority = p;
        }
    }
    return best;
}

bool allFinite(const AnalysisResult& r)
{
    const auto finite = [](const std::vector<double>& values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    bool ok = finite(r.weights) && finite(r.priorities);
    for (const auto& row : r.localPriorities)
        ok = ok && finite(row);
    for (const AnalysisMatrix& m : r.matrices) {
        ok = ok && finite(m.weights) && std::isfinite(m.lambda) && std::isfinite(m.consistencyIndex) &&
             std::isfinite(m.consistencyRatio);
        for (const RevisitJudgement& j : m.revisit)
            ok = ok && std::isfinite(j.e) && std::isfinite(j.deviation) && std::isfinite(j.agreeingRatio);
    }
    for (const CriterionSensitivity& s : r.sensitivity) {
        ok = ok && std::isfinite(s.weight) && std::isfinite(s.low) && std::isfinite(s.high);
        for (const PriorityLine& line : s.lines)
            ok = ok && std::isfinite(line.intercept) && std::isfinite(line.slope);
    }
    return ok && (!r.smallestChange || std::isfinite(r.smallestChange->newWeight));
}

QStringList exampleNames()
{
    return {u"Квартира.qzr"_s, u"Машина.qzr"_s, u"Банк.qzr"_s};
}

ProblemData example(const QString& name)
{
    return ProblemData::load(IniFile(QDir(TestSupport::examplesDir()).filePath(name)));
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Nearness is a factor: grade g reaches up to sqrt(g (g+1)), where a plain difference would stop at g + 0,5.
    void testNearestJudgement_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("value");
        QTest::newRow("equal") << 1.0 << 1;
        QTest::newRow("just below sqrt 2") << 1.41 << 1;
        QTest::newRow("just above sqrt 2") << 1.42 << -2;
        QTest::newRow("1,45: 2 in log space, 1 by difference") << 1.45 << -2;
        QTest::newRow("2,44: still 2") << 2.44 << -2;
        QTest::newRow("2,45: 3 in log space, 2 by difference") << 2.45 << -3;
        QTest::newRow("8,4: 8") << 8.4 << -8;
        QTest::newRow("8,6: 9") << 8.6 << -9;
        QTest::newRow("beyond the scale") << 40.0 << -9;
        QTest::newRow("mirrored 1/2,45") << 1.0 / 2.45 << 3;
        QTest::newRow("mirrored 1/1,42") << 1.0 / 1.42 << 2;
        QTest::newRow("mirrored 1/1,41") << 1.0 / 1.41 << 1;
        QTest::newRow("mirrored beyond the scale") << 1.0 / 40.0 << 9;
        QTest::newRow("zero") << 0.0 << 1;
        QTest::newRow("negative") << -3.0 << 1;
        QTest::newRow("not a number") << std::nan("") << 1;
        QTest::newRow("infinity") << HUGE_VAL << 1;
    }
    void testNearestJudgement()
    {
        QFETCH(double, ratio);
        QFETCH(int, value);
        QCOMPARE(Analysis::nearestJudgement(ratio), value);
    }

    // Each scale value's own cell is nearest to that value: a present judgement reads back unchanged.
    void testNearestJudgementOfEveryCell()
    {
        for (int v = -9; v <= 9; ++v) {
            if (v == 0 || v == -1)
                continue;
            QCOMPARE(Analysis::nearestJudgement(JudgementMatrix::cellsOf(v).first), v);
            QCOMPARE(Analysis::nearestJudgement(JudgementMatrix::cellsOf(v).second), v == 1 ? 1 : -v);
        }
    }

    // The step index must be the line of that very pair in the list the dialog walks.
    void testStepIndex_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        QTest::newRow("2 x 2") << 2 << 2;
        QTest::newRow("3 criteria, 5 alternatives") << 3 << 5;
        QTest::newRow("5 criteria, 3 alternatives") << 5 << 3;
        QTest::newRow("9 x 9") << 9 << 9;
        QTest::newRow("one alternative") << 4 << 1;
    }
    void testStepIndex()
    {
        QFETCH(int, n);
        QFETCH(int, m);
        IniDocument doc;
        doc.replaceSection(ProblemKeys::QualSection, {{u"Count"_s, QString::number(n)}});
        doc.replaceSection(ProblemKeys::AltSection, {{u"Count"_s, QString::number(m)}});
        const QStringList steps = CompareStepsBuild::stepLines(doc);
        int pairs = 0;
        const auto check = [&](int criterion, int i, int j, const QString& key) {
            const int step = Analysis::stepIndex(n, m, criterion, i, j);
            QVERIFY2(step >= 0 && step < steps.size(), qPrintable(key));
            QCOMPARE(steps.at(step).section(u'=', 0, 0), key);
            ++pairs;
        };
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j)
                check(-1, i, j, ProblemKeys::qualPairKey(i, j));
        }
        for (int q = 0; q < n; ++q) {
            for (int i = 0; i < m; ++i) {
                for (int j = i + 1; j < m; ++j)
                    check(q, i, j, ProblemKeys::altPairKey(i, j, q));
            }
        }
        QCOMPARE(pairs, steps.size());
    }

    void testConsistentHasNothingToRevisit_data()
    {
        QTest::addColumn<bool>("criteria");
        QTest::newRow("criteria 8:4:2:1") << true;
        QTest::newRow("alternatives 8:4:2:1") << false;
    }
    void testConsistentHasNothingToRevisit()
    {
        QFETCH(bool, criteria);
        ProblemData problem = namedProblem(4, 4);
        if (criteria) {
            storeConsistentCriteria(problem);
        } else {
            for (int i = 0; i < 4; ++i) {
                for (int j = i + 1; j < 4; ++j)
                    problem.setAltJudgement(i, j, 2, -(1 << (j - i)));
            }
        }
        const EvaluationResult e = Evaluation::EvaluateProblem(problem, russian);
        const AnalysisResult r = Analysis::analyse(problem, e);
        QCOMPARE(int(r.matrices.size()), 5);
        const AnalysisMatrix& m = r.matrices[criteria ? 0 : 3];
        QCOMPARE(m.criterion, criteria ? -1 : 2);
        QVERIFY(near(m.weights[0], 8.0 / 15.0));
        QVERIFY(near(m.weights[3], 1.0 / 15.0));
        // λ comes out a few units of rounding below 4 and stays so; the index and the ratios never go below 0,
        // so no consumer shows -0,00 or -5,9e-16. (QCOMPARE would take anything within 1e-12 of 0.)
        QVERIFY(near(m.lambda, 4.0));
        for (const double zero : {m.consistencyIndex, m.consistencyRatio, e.AltConsistencyRatio,
                                  criteria ? e.CritConsistencyRatio : e.AltConsistencyIndex[2]})
            QVERIFY2(zero == 0.0, qPrintable(QString::number(zero)));
        for (const AnalysisMatrix& each : r.matrices) {
            QVERIFY(!each.inconsistent);
            QVERIFY(each.revisit.isEmpty());
        }
    }

    // One judgement of the consistent 8:4:2:1 matrix turned round. With geometric means of order 4 the whole
    // matrix's priorities put the two elements level, so only the rest of the matrix can name the old value.
    void testReversedJudgement_data()
    {
        QTest::addColumn<bool>("criteria");
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        // Ties of the others (equal deviation) keep the step order.
        QTest::newRow("criteria 0-2 (CR 0,44)")
            << true << 0 << 2 << 0.4415954415954413 << 1 << u"Q_0*Q_1"_s << u"Q_0*Q_3"_s;
        QTest::newRow("criteria 1-3 (CR 0,30)")
            << true << 1 << 3 << 0.3042328042328038 << 4 << u"Q_0*Q_1"_s << u"Q_0*Q_3"_s;
        QTest::newRow("criteria 0-3 (CR 0,99)")
            << true << 0 << 3 << 0.9882054533129953 << 2 << u"Q_0*Q_1"_s << u"Q_0*Q_2"_s;
        QTest::newRow("criteria 0-1 (CR 0,12)")
            << true << 0 << 1 << 0.11811963743964789 << 0 << u"Q_0*Q_2"_s << u"Q_0*Q_3"_s;
        QTest::newRow("alternatives 0-2 under criterion 1")
            << false << 0 << 2 << 0.4415954415954413 << 6 + 6 + 1 << u"A_0*A_1&Q_1"_s << u"A_0*A_3&Q_1"_s;
    }
    void testReversedJudgement()
    {
        QFETCH(bool, criteria);
        QFETCH(int, i);
        QFETCH(int, j);
        QFETCH(double, ratio);
        QFETCH(int, step);
        QFETCH(QString, second);
        QFETCH(QString, third);
        ProblemData problem = namedProblem(4, 4);
        const int consistent = -(1 << (j - i));
        const int matrixIndex = criteria ? 0 : 2;
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                const int v = (a == i && b == j) ? -consistent : -(1 << (b - a));
                if (criteria)
                    problem.setCritJudgement(a, b, v);
                else
                    problem.setAltJudgement(a, b, 1, v);
            }
        }
        const AnalysisResult r = analyse(problem);
        const AnalysisMatrix& m = r.matrices[std::size_t(matrixIndex)];
        QVERIFY(near(m.consistencyRatio, ratio, 1e-12));
        QVERIFY(m.inconsistent);
        QCOMPARE(m.revisit.size(), 3);

        const RevisitJudgement& worst = m.revisit.first();
        QCOMPARE(worst.first, i);
        QCOMPARE(worst.second, j);
        QCOMPARE(worst.key, criteria ? ProblemKeys::qualPairKey(i, j) : ProblemKeys::altPairKey(i, j, 1));
        QCOMPARE(worst.step, step);
        QCOMPARE(worst.presentValue, -consistent);
        QCOMPARE(worst.suggestedValue, consistent);
        QVERIFY(near(worst.agreeingRatio, double(-consistent)));
        QVERIFY(near(worst.deviation, double(-consistent)));
        QVERIFY(near(worst.e, 1.0 / double(-consistent)));
        QCOMPARE(m.revisit.at(1).key, second);
        QCOMPARE(m.revisit.at(2).key, third);
        QVERIFY(m.revisit.at(1).deviation < worst.deviation);
        QCOMPARE(m.revisit.at(1).deviation, m.revisit.at(2).deviation);
    }

    // The sentences are the dialog's, with the names of the pair and the ratio tag.
    void testRevisitSentences()
    {
        ProblemData problem = namedProblem(4, 2);
        storeConsistentCriteria(problem);
        problem.setCritJudgement(0, 2, 4);
        const AnalysisResult r = analyse(problem);
        const RevisitJudgement& worst = r.matrices[0].revisit.first();
        // The ratio in the order of the sentence: its first number is the element named first.
        QCOMPARE(worst.presentSentence, u"Срок существенно или немного важнее, чем Цена [4/1]"_s);
        QCOMPARE(worst.suggestedSentence, u"Цена существенно или немного важнее, чем Срок [4/1]"_s);

        ProblemData alternatives = namedProblem(2, 3);
        alternatives.setAltJudgement(0, 1, 1, -9);
        alternatives.setAltJudgement(1, 2, 1, -9);
        alternatives.setAltJudgement(0, 2, 1, 9);
        const AnalysisResult cyclicResult = analyse(alternatives);
        const AnalysisMatrix& cyclic = cyclicResult.matrices[2];
        QVERIFY(cyclic.inconsistent);
        QCOMPARE(cyclic.revisit.size(), 3);
        const RevisitJudgement& first = cyclic.revisit.first();
        // A cycle of three 9s: every pair deviates alike, so the step order decides.
        QCOMPARE(first.key, u"A_0*A_1&Q_1"_s);
        QCOMPARE(first.step, 1 + 3 + 0);
        QCOMPARE(first.presentSentence, u"Первый очень намного лучше, чем Второй [9/1]"_s);
        QCOMPARE(first.suggestedValue, 9);
        QCOMPARE(first.suggestedSentence, u"Второй очень намного лучше, чем Первый [9/1]"_s);
        QCOMPARE(cyclic.revisit.at(1).key, u"A_0*A_2&Q_1"_s);
        QCOMPARE(cyclic.revisit.at(2).key, u"A_1*A_2&Q_1"_s);
        QCOMPARE(AnalysisText::revisitNote(cyclicResult, cyclic),
                 u"Альтернативы по критерию «Качество»: из трёх ответов каждый противоречит двум другим в равной мере, "
                 "поэтому достаточно изменить любой один из них."_s);
        QCOMPARE(AnalysisText::revisitNote(r, r.matrices[0]), QString()); // four criteria
    }

    // At a midpoint between two grades in log space the milder grade is suggested, whichever of the pair is
    // listed first. The items compared (the pair 0-1, judged 9 to 1 against the rest) are listed as given and
    // in reverse; judgements in step order. By hand, the rest agree on sqrt(P), P = a02 a21 a03 a31, for four
    // items, and on P^(1/4) for six.
    void testMidpointTakesTheMilderGrade_data()
    {
        QTest::addColumn<QList<int>>("judgements");
        QTest::addColumn<int>("suggested"); // for item 0 against item 1 as given
        QTest::newRow("4 items, sqrt 2: equal, not 2") << QList<int>{9, -2, 1, 1, 1, 1} << 1;
        QTest::newRow("4 items, sqrt 12: 3, not 4") << QList<int>{9, -4, 1, 3, 1, 1} << -3;
        QTest::newRow("4 items, sqrt 20: 4, not 5") << QList<int>{9, -4, 1, 5, 1, 1} << -4;
        QTest::newRow("4 items, sqrt 6 the other way: 2, not 3") << QList<int>{-9, 2, 1, -3, 1, 1} << 2;
        QTest::newRow("6 items, 4^(1/4) = sqrt 2: equal")
            << QList<int>{9, -2, -2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << 1;
    }
    void testMidpointTakesTheMilderGrade()
    {
        QFETCH(QList<int>, judgements);
        QFETCH(int, suggested);
        const int k = judgements.size() == 6 ? 4 : 6;
        for (const bool reversed : {false, true}) {
            ProblemData problem(k, 2);
            const auto at = [&](int item) { return reversed ? k - 1 - item : item; };
            int serial = 0;
            for (int i = 0; i < k; ++i) {
                for (int j = i + 1; j < k; ++j) {
                    const int v = judgements.at(serial++);
                    // Listed in reverse, the pair's first element is the other one: the judgement turns round.
                    problem.setCritJudgement(std::min(at(i), at(j)), std::max(at(i), at(j)),
                                             reversed && v != 1 ? -v : v);
                }
            }
            const AnalysisMatrix criteria = analyse(problem).matrices.at(0);
            QVERIFY(criteria.inconsistent);
            const RevisitJudgement& worst = criteria.revisit.first();
            QCOMPARE(worst.first, std::min(at(0), at(1)));
            QCOMPARE(worst.second, std::max(at(0), at(1)));
            QCOMPARE(worst.suggestedValue, reversed && suggested != 1 ? -suggested : suggested);
        }
    }

    // A single judgement off in a matrix that stays below the limit is not listed: the results text does
    // not warn about it either.
    void testBelowLimitListsNothing()
    {
        ProblemData problem = namedProblem(4, 2);
        storeConsistentCriteria(problem);
        problem.setCritJudgement(2, 3, 2);
        const AnalysisResult r = analyse(problem);
        QVERIFY(r.matrices[0].consistencyRatio > 0.05);
        QVERIFY(r.matrices[0].consistencyRatio < 0.1);
        QVERIFY(!r.matrices[0].inconsistent);
        QVERIFY(r.matrices[0].revisit.isEmpty());
    }

    // In the shipped examples, taking the first suggestion of each flagged matrix makes that matrix more
    // consistent, and the step of each judgement is its own key.
    void testSuggestionsHelpInExamples_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : exampleNames())
            QTest::newRow(name.toUtf8().constData()) << name;
    }
    void testSuggestionsHelpInExamples()
    {
        QFETCH(QString, name);
        const ProblemData problem = example(name);
        const AnalysisResult r = analyse(problem);
        const QStringList steps =
            CompareStepsBuild::stepLines(*IniFile(QDir(TestSupport::examplesDir()).filePath(name)).snapshot());
        for (const AnalysisMatrix& m : r.matrices) {
            QVERIFY(m.revisit.size() <= 3);
            QCOMPARE(m.inconsistent, m.consistencyRatio >= 0.1);
            for (qsizetype x = 1; x < m.revisit.size(); ++x)
                QVERIFY(m.revisit.at(x - 1).deviation >= m.revisit.at(x).deviation * (1.0 - 1e-9));
            for (const RevisitJudgement& j : m.revisit)
                QCOMPARE(steps.at(j.step).section(u'=', 0, 0), j.key);
            // In a matrix of order 3 every pair deviates alike, so the list follows the steps.
            for (qsizetype x = 1; m.order == 3 && x < m.revisit.size(); ++x)
                QVERIFY2(m.revisit.at(x - 1).step < m.revisit.at(x).step, qPrintable(m.revisit.at(x).key));
            if (m.revisit.isEmpty())
                continue;
            const RevisitJudgement& worst = m.revisit.first();
            QVERIFY(worst.suggestedValue != worst.presentValue);
            ProblemData changed = problem;
            if (m.isCriteria())
                changed.setCritJudgement(worst.first, worst.second, worst.suggestedValue);
            else
                changed.setAltJudgement(worst.first, worst.second, m.criterion, worst.suggestedValue);
            const AnalysisResult changedResult = analyse(changed);
            const AnalysisMatrix& after = changedResult.matrices[m.isCriteria() ? 0 : std::size_t(m.criterion + 1)];
            QVERIFY2(after.consistencyIndex < m.consistencyIndex, qPrintable(worst.key));
        }
    }

    // Three equal weights, two alternatives; the crossings by hand (R = the mean of the other two criteria):
    //   criterion 0: 0,3 + 0,45 t against 0,7 - 0,45 t, equal at t = 4/9;
    //   criterion 1: 0,625 - 0,525 t against 0,375 + 0,525 t, equal at t = 5/21;
    //   criterion 2: 0,425 + 0,075 t against 0,575 - 0,075 t, equal at t = 1.
    // Where the lines meet the first alternative wins the tie, so the point goes to whichever it is.
    void testCrossingByHand_data()
    {
        QTest::addColumn<bool>("laterBest");
        QTest::newRow("the later alternative is best") << true;
        QTest::newRow("the earlier alternative is best") << false;
    }
    void testCrossingByHand()
    {
        QFETCH(bool, laterBest);
        const AnalysisResult r = analyse(crossingProblem(laterBest));
        const int best = laterBest ? 1 : 0;
        const int other = 1 - best;
        QCOMPARE(r.winner, best);
        QCOMPARE(int(r.sensitivity.size()), 3);

        const CriterionSensitivity& s0 = r.sensitivity[0];
        QVERIFY(near(s0.weight, 1.0 / 3.0));
        QVERIFY(near(s0.low, 0.0));
        QVERIFY(near(s0.high, 4.0 / 9.0));
        QCOMPARE(s0.winnerBelow, -1);
        QCOMPARE(s0.winnerAbove, other);
        QCOMPARE(s0.highIncluded, !laterBest);
        QVERIFY(near(s0.lines[std::size_t(best)].at(4.0 / 9.0), s0.lines[std::size_t(other)].at(4.0 / 9.0)));

        const CriterionSensitivity& s1 = r.sensitivity[1];
        QVERIFY(near(s1.low, 5.0 / 21.0));
        QVERIFY(near(s1.high, 1.0));
        QCOMPARE(s1.winnerBelow, other);
        QCOMPARE(s1.winnerAbove, -1);
        QCOMPARE(s1.lowIncluded, !laterBest);
        QVERIFY(near(s1.lines[0].intercept, laterBest ? 0.625 : 0.375));
        QVERIFY(near(s1.lines[0].slope, laterBest ? -0.525 : 0.525));

        // At t = 1 the lines meet: a later best loses that very point, an earlier one keeps it.
        const CriterionSensitivity& s2 = r.sensitivity[2];
        QVERIFY(near(s2.high, 1.0));
        QCOMPARE(s2.highIncluded, !laterBest);
        QCOMPARE(s2.winnerAbove, laterBest ? 0 : -1);

        QVERIFY(r.smallestChange.has_value());
        QCOMPARE(r.smallestChange->criterion, 1);
        QVERIFY(near(r.smallestChange->newWeight, 5.0 / 21.0));
        QVERIFY(near(r.smallestChange->change, 2.0 / 21.0));
        QCOMPARE(r.smallestChange->newWinner, other);
    }

    void testCrossingInWords()
    {
        const AnalysisResult r = analyse(crossingProblem(true));
        // Where the later alternative is best, the earlier one wins the tie at the crossing itself.
        QCOMPARE(AnalysisText::sensitivityLine(r, 0, russian),
                 u"«Второй» остаётся лучшим выбором, пока вес критерия «Цена» (сейчас 33,33%) меньше 44,44%: если он"
                 " вырастет до 44,44%, лучшим станет «Первый»."_s);
        QCOMPARE(AnalysisText::smallestChangeLine(r, russian),
                 u"Лучший выбор сильнее всего зависит от веса «Качество»: если он снизится с 33,33% до 23,81%,"
                 " лучшим станет «Первый»."_s);
        const AnalysisResult earlier = analyse(crossingProblem(false));
        QCOMPARE(AnalysisText::sensitivityLine(earlier, 1, russian),
                 u"«Первый» остаётся лучшим выбором, пока вес критерия «Качество» (сейчас 33,33%) не меньше 23,81%:"
                 " если он станет меньше 23,81%, лучшим станет «Второй»."_s);
        QCOMPARE(AnalysisText::smallestChangeLine(earlier, russian),
                 u"Лучший выбор сильнее всего зависит от веса «Качество»: если он снизится с 33,33% до значения"
                 " меньше 23,81%, лучшим станет «Второй»."_s);
    }

    // Sensitivity against the winner recomputed from scratch inside the interval and just beyond its ends,
    // on the examples and on a problem of every criterion pulling another way.
    void testIntervalsAgreeWithRecomputation_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : exampleNames())
            QTest::newRow(name.toUtf8().constData()) << name;
        QTest::newRow("spread") << QString();
    }
    void testIntervalsAgreeWithRecomputation()
    {
        QFETCH(QString, name);
        ProblemData problem;
        if (name.isEmpty()) {
            problem = namedProblem(4, 4);
            static constexpr int values[] = {-9, -5, 3, 7, -2, 4, 1, -7, 9, 2, -3, 6};
            int serial = 0;
            for (int q = 0; q < 4; ++q) {
                for (int i = 0; i < 4; ++i) {
                    for (int j = i + 1; j < 4; ++j)
                        problem.setAltJudgement(i, j, q, values[serial++ % 12]);
                }
            }
            problem.setCritJudgement(0, 1, 2);
            problem.setCritJudgement(2, 3, -3);
        } else {
            problem = example(name);
        }
        const AnalysisResult r = analyse(problem);
        constexpr double step = 1e-7;
        int changes = 0;
        for (const CriterionSensitivity& s : r.sensitivity) {
            const int k = s.criterion;
            QVERIFY(s.low <= s.weight && s.weight <= s.high);
            QCOMPARE(winnerAt(r, k, s.weight), r.winner);
            QCOMPARE(winnerAt(r, k, (s.low + s.high) / 2), r.winner);
            if (s.winnerAbove >= 0) {
                ++changes;
                QCOMPARE(winnerAt(r, k, s.high < 1.0 ? s.high + step : 1.0), s.winnerAbove);
            } else {
                QCOMPARE(winnerAt(r, k, 1.0), r.winner);
            }
            if (s.winnerBelow >= 0) {
                ++changes;
                QCOMPARE(winnerAt(r, k, s.low > 0.0 ? s.low - step : 0.0), s.winnerBelow);
            } else {
                QCOMPARE(winnerAt(r, k, 0.0), r.winner);
            }
            if (r.smallestChange)
                QVERIFY(r.smallestChange->change <= std::max(s.weight - s.low, s.high - s.weight) + 1e-15);
        }
        QCOMPARE(r.smallestChange.has_value(), changes > 0);
        QVERIFY(allFinite(r));
    }

    // The first alternative best under every criterion stays best at any weight.
    void testWeightThatCannotChangeTheWinner()
    {
        ProblemData problem = namedProblem(3, 3);
        problem.setCritJudgement(0, 1, -5);
        problem.setCritJudgement(1, 2, 3);
        for (int q = 0; q < 3; ++q) {
            problem.setAltJudgement(0, 1, q, -(q + 2));
            problem.setAltJudgement(0, 2, q, -3);
            problem.setAltJudgement(1, 2, q, q == 1 ? 5 : -5);
        }
        const AnalysisResult r = analyse(problem);
        QCOMPARE(r.winner, 0);
        for (const CriterionSensitivity& s : r.sensitivity) {
            QVERIFY(s.canVary);
            QCOMPARE(s.low, 0.0);
            QCOMPARE(s.high, 1.0);
            QVERIFY(s.lowIncluded && s.highIncluded);
            QCOMPARE(s.winnerBelow, -1);
            QCOMPARE(s.winnerAbove, -1);
        }
        QVERIFY(!r.smallestChange);
        QCOMPARE(AnalysisText::smallestChangeLine(r, russian),
                 u"Никакое изменение веса одного критерия не меняет лучший выбор."_s);
        QCOMPARE(AnalysisText::sensitivityLine(r, 2, russian),
                 u"При любом весе критерия «Срок» лучшим выбором остаётся «Первый»."_s);
    }

    // Problems the screens would not let through still give whole, finite answers and say why.
    void testDegenerateProblems_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        QTest::addColumn<bool>("canVary");
        QTest::addColumn<QString>("smallest");
        QTest::newRow("no criteria, no alternatives") << 0 << 0 << true << u"Альтернатив нет"_s;
        QTest::newRow("no criteria") << 0 << 3 << true << u"Критериев нет"_s;
        QTest::newRow("no alternatives") << 3 << 0 << true << u"Альтернатив нет"_s;
        QTest::newRow("one criterion") << 1 << 3 << false << u"Критерий единственный"_s;
        QTest::newRow("one alternative") << 3 << 1 << true << u"Альтернатива единственная"_s;
        QTest::newRow("one of each") << 1 << 1 << false << u"Альтернатива единственная"_s;
        QTest::newRow("equal priorities") << 3 << 3 << true << u"Никакое изменение"_s;
    }
    void testDegenerateProblems()
    {
        QFETCH(int, n);
        QFETCH(int, m);
        QFETCH(bool, canVary);
        QFETCH(QString, smallest);
        ProblemData problem = namedProblem(n, m);
        // Lopsided but consistent criteria (9 : 3 : 1), so no answer rests on equal weights.
        if (n == 3) {
            problem.setCritJudgement(0, 1, -3);
            problem.setCritJudgement(1, 2, -3);
            problem.setCritJudgement(0, 2, -9);
        }
        const AnalysisResult r = analyse(problem);
        QVERIFY(allFinite(r));
        QCOMPARE(int(r.matrices.size()), n > 0 ? n + 1 : 0);
        QCOMPARE(int(r.sensitivity.size()), n);
        QCOMPARE(r.winner, m > 0 ? 0 : -1);
        QVERIFY(!r.smallestChange);
        for (const AnalysisMatrix& matrix : r.matrices)
            QVERIFY(matrix.revisit.isEmpty());
        for (const CriterionSensitivity& s : r.sensitivity) {
            QCOMPARE(s.canVary, canVary);
            QCOMPARE(s.winnerBelow, -1);
            QCOMPARE(s.winnerAbove, -1);
            QCOMPARE(int(s.lines.size()), m);
            if (canVary) {
                QCOMPARE(s.low, 0.0);
                QCOMPARE(s.high, 1.0);
            } else {
                // The one criterion's weight is 1 and has nowhere to go.
                QCOMPARE(s.low, 1.0);
                QCOMPARE(s.high, 1.0);
            }
            const QString line = AnalysisText::sensitivityLine(r, s.criterion, russian);
            QVERIFY(!line.contains(u"nan"_s, Qt::CaseInsensitive));
        }
        QVERIFY2(AnalysisText::smallestChangeLine(r, russian).startsWith(smallest),
                 qPrintable(AnalysisText::smallestChangeLine(r, russian)));
    }

    // Weights, local priorities and the criteria matrix are the evaluation's own numbers, bit for bit.
    void testSameNumbersAsEvaluation()
    {
        const ProblemData problem = example(u"Банк.qzr"_s);
        const EvaluationResult e = Evaluation::EvaluateProblem(problem, russian);
        const AnalysisResult r = Analysis::analyse(problem, e);
        QCOMPARE(r.weights, e.CritPriority);
        QCOMPARE(r.matrices[0].weights, e.CritPriority);
        QCOMPARE(r.matrices[0].consistencyRatio, e.CritConsistencyRatio);
        for (int q = 0; q < r.critTotal; ++q)
            QCOMPARE(r.matrices[std::size_t(q + 1)].consistencyIndex, e.AltConsistencyIndex[std::size_t(q)]);
        QCOMPARE(r.winner, e.BestChoice);
        QCOMPARE(r.critNames.size(), r.critTotal);
        QVERIFY(!r.critNames.contains(u"?"_s));
    }

    void testCriteriaNamesLoaded()
    {
        IniDocument doc;
        doc.replaceSection(ProblemKeys::QualSection,
                           {{u"Count"_s, u"3"_s}, {u"Q_0"_s, u"Цена"_s}, {u"Q_2"_s, QString(300, u'я')}});
        const ProblemData problem = ProblemData::load(doc);
        QCOMPARE(problem.critNames(), (QStringList{u"Цена"_s, u"?"_s, QString(255, u'я')}));
    }

    void testMatrixTitles()
    {
        const AnalysisResult r = analyse(namedProblem(2, 2));
        QCOMPARE(AnalysisText::matrixTitle(r, r.matrices[0]), u"Критерии"_s);
        QCOMPARE(AnalysisText::matrixTitle(r, r.matrices[2]), u"Альтернативы по критерию «Качество»"_s);
        // Quotes of one kind never nest.
        QCOMPARE(AnalysisText::quoted(u"Двушка у метро «Сокол»"_s), u"«Двушка у метро „Сокол“»"_s);
    }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "test_analysis.moc"
