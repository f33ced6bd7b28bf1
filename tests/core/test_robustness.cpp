// How sure the choice is: draws of the judgements one grade off, the eigenvector method beside the program's
// own, and the consistency of one matrix while it is being answered.
#include "evaluate/AnalysisResult.h"
#include "evaluate/Eigenvector.h"
#include "evaluate/Evaluation.h"
#include "evaluate/HowSureText.h"
#include "evaluate/LiveConsistency.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsJson.h"
#include "evaluate/Robustness.h"

#include "compare/Scale.h"
#include "report/AnalysisReport.h"
#include "report/ResultReports.h"
#include "report/TFormWord.h"
#include "storage/IniDocument.h"

#include "DocxReader.h"

#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

namespace {

using Pairs = std::vector<std::tuple<int, int, int>>; // i < j, stored value

// f(q, i, j) for every pair in step order: the criteria (q = -1), then the alternatives under each criterion q.
template <typename F> void forEachPair(const ProblemData& problem, F f)
{
    for (int q = -1; q < problem.critTotal(); ++q) {
        const int k = q < 0 ? problem.critTotal() : problem.altTotal();
        for (int i = 0; i < k; ++i) {
            for (int j = i + 1; j < k; ++j)
                f(q, i, j);
        }
    }
}

void set(ProblemData& problem, int q, int i, int j, int value)
{
    q < 0 ? problem.setCritJudgement(i, j, value) : problem.setAltJudgement(i, j, q, value);
}

// alternatives are stored under every criterion, or only under onlyCriterion.
ProblemData problemOf(int n, int m, const Pairs& criteria, const Pairs& alternatives, int onlyCriterion = -1)
{
    ProblemData problem(n, m);
    for (const auto& [i, j, v] : criteria)
        set(problem, -1, i, j, v);
    for (int q = 0; q < n; ++q) {
        for (const auto& [i, j, v] : alternatives) {
            if (onlyCriterion < 0 || q == onlyCriterion)
                set(problem, q, i, j, v);
        }
    }
    return problem;
}

// Every pair of every matrix judged, the values running through the scale and beyond it.
ProblemData busyProblem(int n, int m)
{
    static constexpr int values[] = {-9, 7, -4, 2, 9, -2, 5, -7, 3, 10, 0, -1, 1, 4, -5, 8};
    ProblemData problem(n, m);
    int next = 0;
    forEachPair(problem, [&](int q, int i, int j) { set(problem, q, i, j, values[next++ % 16]); });
    return problem;
}

// |count - draws p| within five standard deviations of the binomial.
bool withinBinomial(double count, double draws, double p)
{
    return std::fabs(count - draws * p) <= 5.0 * std::sqrt(draws * p * (1.0 - p));
}

// 4 x 4, inconsistent (CR about 0,18): principal eigenvector and λ by a power iteration in Python's decimal
// arithmetic at 50 digits, not by this program. Its first is element 1, the geometric means' is element 2.
const Pairs Inconsistent4{{0, 1, 4}, {0, 2, 7}, {0, 3, 9}, {1, 2, 1}, {1, 3, -4}, {2, 3, -3}};
const std::vector<double> Inconsistent4Eigenvector{0.04921386932332888, 0.38467972965853051, 0.37495489458874262,
                                                   0.19115150642939799};
constexpr double Inconsistent4Lambda = 4.47410142662299824;

} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testNoFigures()
    {
        QVERIFY(!Robustness::of(ProblemData(0, 3)));
        QVERIFY(!Robustness::of(ProblemData(2, 1)));
    }

    // Alternative 1 is preferred by 9 to both others under every criterion: one grade off it still wins.
    void testDominantWinsEveryDraw()
    {
        const ProblemData problem = problemOf(3, 3, {{0, 1, -5}, {1, 2, 3}}, {{0, 1, 9}, {1, 2, -9}, {0, 2, 4}});
        const std::optional<RobustnessResult> r = Robustness::of(problem);
        QVERIFY(r);
        QCOMPARE(r->BestChoice, 1);
        QCOMPARE(r->BestShare, (std::vector<double>{0.0, 1.0, 0.0}));
        QCOMPARE(r->Stays, 1.0);
    }

    // One criterion, two alternatives judged equal (or unusable, which reads as equal): a draw leaves them equal
    // (a tie, the first wins) or moves one grade either way, so the first is best in 2/3 of the draws.
    void testEqualPair_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("1 equal") << 1;
        QTest::newRow("0 unusable") << 0;
    }
    void testEqualPair()
    {
        QFETCH(int, stored);
        const ProblemData problem = problemOf(1, 2, {}, {{0, 1, stored}});
        const std::optional<RobustnessResult> r = Robustness::of(problem, 1);
        QVERIFY(r);
        QCOMPARE(r->BestChoice, 0);
        QVERIFY2(withinBinomial(r->BestShare[0] * r->Draws, r->Draws, 2.0 / 3),
                 qPrintable(QString::number(r->BestShare[0])));
        QCOMPARE(Robustness::of(problem, 1)->BestShare, r->BestShare); // the same seeds, the same figures
    }

    // Each judgement moves down, stays or moves up with probability 1/3; at an end the move off the scale stays.
    void testMoves_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QList<int>>("positions"); // where it can land; at an end the first twice as often
        QTest::newRow("-9 at the left end") << -9 << QList<int>{-8, -7};
        QTest::newRow("9 at the right end") << 9 << QList<int>{8, 7};
        QTest::newRow("1") << 1 << QList<int>{-1, 0, 1};
    }
    void testMoves()
    {
        QFETCH(int, stored);
        QFETCH(QList<int>, positions);
        ProblemData problem(3, 9);
        forEachPair(problem, [&](int q, int i, int j) { set(problem, q, i, j, stored); });
        std::map<int, int> landed;
        int samples = 0;
        for (int draw = 0; draw < Robustness::Draws; draw += 101) { // across the blocks
            const ProblemData d = Robustness::drawnProblem(problem, draw);
            forEachPair(d, [&](int q, int i, int j) {
                ++samples;
                ++landed[Scale::JudgementToPosition(q < 0 ? d.critJudgement(i, j) : d.altJudgement(i, j, q))];
            });
        }
        QCOMPARE(qsizetype(landed.size()), positions.size());
        for (int n = 0; n < positions.size(); ++n) {
            const double p = positions.size() == 2 ? (n == 0 ? 2.0 / 3 : 1.0 / 3) : 1.0 / 3;
            QVERIFY2(withinBinomial(landed[positions[n]], samples, p), qPrintable(QString::number(positions[n])));
        }
    }

    // The fast evaluation of a draw picks what the evaluation itself picks for the problem so moved.
    void testDrawsEvaluatedAsUsual_data()
    {
        QTest::addColumn<ProblemData>("problem");
        QTest::addColumn<int>("every"); // every how many draws are checked
        QTest::newRow("busy 9 x 9") << busyProblem(9, 9) << 97;
        // Rows 0 and 1 of equal products made of other factors, 1 x 6 x 1/2 and 1 x 1 x 3, above rows 2 and 3:
        // a tie that summing logarithms of the cells would break, for alternative 1.
        QTest::newRow("tie of other factors")
            << problemOf(1, 4, {}, {{0, 1, 1}, {0, 2, -6}, {0, 3, 2}, {1, 2, 1}, {1, 3, -3}, {2, 3, -2}}) << 1;
    }
    void testDrawsEvaluatedAsUsual()
    {
        QFETCH(ProblemData, problem);
        QFETCH(int, every);
        std::vector<double> shares(std::size_t(problem.altTotal()), 0.0);
        for (int draw = 0; draw < Robustness::Draws; draw += every) {
            const int expected = Evaluation::EvaluateProblem(Robustness::drawnProblem(problem, draw)).BestChoice;
            QCOMPARE(Robustness::bestChoiceOfDraw(problem, draw), expected);
            shares[std::size_t(expected)] += 1.0 / Robustness::Draws;
        }
        const std::optional<RobustnessResult> r = Robustness::of(problem, 1);
        QCOMPARE(r->BestChoice, Evaluation::EvaluateProblem(problem).BestChoice);
        QCOMPARE(r->Stays, r->BestShare[std::size_t(r->BestChoice)]);
        if (every == 1) { // every draw evaluated as usual: the same figures
            for (std::size_t i = 0; i < shares.size(); ++i)
                QVERIFY(std::fabs(r->BestShare[i] - shares[i]) < 1e-9);
        }
        // The blocks spread over any number of threads give the same figures.
        for (const int threads : {2, 3, 0}) {
            const std::optional<RobustnessResult> spread = Robustness::of(problem, threads);
            QCOMPARE(spread->BestShare, r->BestShare);
            QCOMPARE(spread->Stays, r->Stays);
        }
    }

    // By the eigenvector beside the program's own geometric means: alternatives under one criterion judged as the
    // matrix of a published or independently computed case, and two criteria to check the synthesis.
    void testEigenvector_data()
    {
        QTest::addColumn<ProblemData>("problem");
        QTest::addColumn<std::vector<double>>("priorities");
        QTest::addColumn<double>("lambda"); // of the last matrix
        QTest::addColumn<int>("best");
        QTest::addColumn<bool>("methodsAgree");
        // 1 : 2 : 4, consistent: every column is proportional to the weights 4/7, 2/7, 1/7, and λ = 3.
        QTest::newRow("consistent 3 x 3") << problemOf(1, 3, {}, {{0, 1, -2}, {0, 2, -4}, {1, 2, -2}})
                                          << std::vector<double>{4.0 / 7, 2.0 / 7, 1.0 / 7} << 3.0 << 0 << true;
        QTest::newRow("inconsistent 4 x 4")
            << problemOf(1, 4, {}, Inconsistent4) << Inconsistent4Eigenvector << Inconsistent4Lambda << 1 << false;
        // Criteria 3 : 1, alternatives 1 : 1 under the first and 1 : 5 under the second.
        QTest::newRow("two criteria") << problemOf(2, 2, {{0, 1, -3}}, {{0, 1, 5}}, 1)
                                      << std::vector<double>{0.75 * 0.5 + 0.25 / 6, 0.75 * 0.5 + 0.25 * 5 / 6} << 2.0
                                      << 1 << true;
    }
    void testEigenvector()
    {
        QFETCH(ProblemData, problem);
        QFETCH(std::vector<double>, priorities);
        QFETCH(double, lambda);
        QFETCH(int, best);
        QFETCH(bool, methodsAgree);
        const EvaluationResult own = Evaluation::EvaluateProblem(problem);
        const EigenvectorResult r = Eigenvector::evaluate(problem, own.BestChoice);
        QCOMPARE(r.Lambda.size(), std::size_t(problem.critTotal() + 1)); // criteria first, then each criterion's
        QVERIFY2(std::fabs(r.Lambda.back() - lambda) < 1e-11, qPrintable(QString::number(r.Lambda.back(), 'g', 17)));
        double apart = 0.0;
        for (std::size_t i = 0; i < priorities.size(); ++i) {
            QVERIFY2(std::fabs(r.AltPriority[i] - priorities[i]) < 1e-11, qPrintable(QString::number(i)));
            apart = std::max(apart, std::fabs(own.AltPriority[i] - priorities[i]));
        }
        QVERIFY2(methodsAgree ? apart < 1e-12 : apart > 1e-3, qPrintable(QString::number(apart)));
        QCOMPARE(r.BestChoice, best);
        QCOMPARE(r.SameBestChoice, methodsAgree); // for the 4 x 4 the program's own best is element 2
    }

    // Worked by hand, three elements: -2, 1, -2 give row products 2, 1, 1/2, weights 0,4126 0,3275 0,2599,
    // λ 3,2174, CR 0,1874; -3, -2, -3 give products 6, 1, 1/6 and CR 0,2213. The pair (0, 2) agrees with the
    // others at a[0][1] a[1][2]: 4 and 9.
    void testLiveRatio_data()
    {
        QTest::addColumn<int>("criterion");
        QTest::addColumn<Pairs>("stored");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("suggested02");
        QTest::addColumn<QString>("label");
        const Pairs mild{{0, 1, -2}, {0, 2, 1}, {1, 2, -2}};
        const Pairs strong{{0, 1, -3}, {0, 2, -2}, {1, 2, -3}};
        QTest::newRow("criteria 18,74") << -1 << mild << 0.1874 << -4 << u"18,7% — ответы немного противоречивы"_s;
        QTest::newRow("alternatives of criterion 2, 22,13")
            << 2 << strong << 0.2213 << -9 << u"22,1% — ответы противоречивы"_s;
    }
    void testLiveRatio()
    {
        QFETCH(int, criterion);
        QFETCH(Pairs, stored);
        QFETCH(double, ratio);
        QFETCH(int, suggested02);
        QFETCH(QString, label);
        // Three criteria and three alternatives; only the matrix under test is judged.
        const ProblemData problem =
            criterion < 0 ? problemOf(3, 3, stored, {}) : problemOf(3, 3, {}, stored, criterion);
        for (int q = -1; q < 3; ++q) {
            const double expected = q == criterion ? ratio : 0.0;
            QVERIFY2(std::fabs(LiveConsistency::ratioOf(problem, q) - expected) < 5e-5, qPrintable(QString::number(q)));
        }
        QCOMPARE(LiveConsistency::suggestedJudgement(problem, criterion, 0, 2), suggested02);
        QCOMPARE(LiveConsistency::label(LiveConsistency::ratioOf(problem, criterion), QLocale(QLocale::Russian)),
                 u"Согласованность ответов по этой матрице: ОС "_s + label);
    }

    // The JSON optivar-eval prints carries the figures as the program computes them, and null where there are none.
    void testJson_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("three alternatives") << TestSupport::cp1251(
            "[Alt]\r\nA_0=Дом\r\nA_1=Квартира\r\nA_2=Дача\r\nCount=3\r\n[Qual]\r\nQ_0=Цена\r\n"
            "Q_1=Район\r\nCount=2\r\n[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=2\r\nA_0*A_2&Q_0=-5\r\n"
            "A_1*A_2&Q_0=4\r\nA_0*A_1&Q_1=3\r\nA_1*A_2&Q_1=-2\r\n");
        QTest::newRow("one alternative") << TestSupport::cp1251(
            "[Alt]\r\nA_0=Дом\r\nCount=1\r\n[Qual]\r\nQ_0=Цена\r\nCount=1\r\n");
    }
    void testJson()
    {
        QFETCH(QByteArray, file);
        const ProblemData problem = ProblemData::load(IniDocument::fromBytes(file));
        const QJsonObject json =
            QJsonDocument::fromJson(ResultsJson::toJson(problem, Evaluation::EvaluateProblem(problem))).object();
        const auto numbers = [](const QJsonValue& v) {
            std::vector<double> out;
            for (const QJsonValue& x : v.toArray())
                out.push_back(x.toDouble());
            return out;
        };
        const std::optional<RobustnessResult> r = Robustness::of(problem);
        const QJsonValue robustness = json[u"Robustness"_s];
        QCOMPARE(robustness.isNull(), !r);
        if (r) {
            QCOMPARE(robustness[u"Draws"_s].toInt(), r->Draws);
            QCOMPARE(numbers(robustness[u"BestShare"_s]), r->BestShare);
            QCOMPARE(robustness[u"Stays"_s].toDouble(), r->Stays);
        }
        const EigenvectorResult e = Eigenvector::evaluate(problem, json[u"BestChoice"_s].toInt());
        const QJsonValue eigenvector = json[u"Eigenvector"_s];
        QCOMPARE(numbers(eigenvector[u"AltPriority"_s]), e.AltPriority);
        QCOMPARE(numbers(eigenvector[u"Lambda"_s]), e.Lambda);
        QCOMPARE(eigenvector[u"BestChoice"_s].toInt(), e.BestChoice);
    }

    // The full report ends with the robustness sentence, whole even with a name of 255 characters, the shares,
    // and the eigenvector method's verdict.
    void testReport_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("255 characters") << QString(255, u'Ж');
    }
    void testReport()
    {
        QFETCH(QString, name);
        const QByteArray file = TestSupport::cp1251("[Alt]\r\nA_0=Квартира\r\nA_1=") +
                                TestSupport::cp1251(name.toUtf8().constData()) +
                                TestSupport::cp1251("\r\nCount=2\r\n[Qual]\r\nQ_0=Цена\r\nQ_1=Район\r\nCount=2\r\n"
                                                    "[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=2\r\nA_0*A_1&Q_1=5\r\n");
        const IniDocument doc = IniDocument::fromBytes(file);
        const ProblemData problem = ProblemData::load(doc);
        const EvaluationResult result = Evaluation::EvaluateProblem(problem);
        QTemporaryDir dir;
        TFormWord word({dir.path(), u"Задача"_s, TFormWord::Kind::FullReport, {}, {}});
        TestSupport::writeBytes(dir.filePath(u"graf.bmp"_s), QByteArray("BM") + QByteArray(60, ' '));
        ResultReports::writeFull(word, doc, result, dir.filePath(u"graf.bmp"_s));
        const QStringList outline = DocxReader::bodyOutline(DocxReader::unzip(word.documentBytes({})));

        const AnalysisResult a = AnalysisReport::analysisOf(doc, result);
        const std::optional<RobustnessResult> r = Robustness::of(problem);
        QVERIFY(r && r->BestChoice == 1);
        const qsizetype at = outline.indexOf(HowSureText::robustnessLine(a, *r));
        QVERIFY2(at > outline.indexOf(QString::fromUtf16(AnalysisReport::Title)), qPrintable(outline.join(u'\n')));
        QCOMPARE(outline.value(at + 2), u"[Альтернатива|Лучший выбор в доле случаев;Квартира|"_s +
                                            HowSureText::share(r->BestShare[0]) + u';' + name + u'|' +
                                            HowSureText::share(r->BestShare[1]) + u']');
        const EigenvectorResult e = Eigenvector::evaluate(problem, result.BestChoice);
        QVERIFY(outline.mid(at).contains(HowSureText::eigenvectorVerdict(a, e)));
    }
};

QTEST_GUILESS_MAIN(TestRobustness)
#include "test_robustness.moc"
