// The decision analysis of the largest problem the screens allow (9 criteria, 9 alternatives, every pair
// judged, the matrices inconsistent so that every one has judgements to revisit).
#include "evaluate/Analysis.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"

#include <QLocale>

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Largest = 9;

// Judgements spread over the whole scale, so that no matrix is trivially uniform.
int judgement(int serial)
{
    static constexpr int scale[] = {-9, -7, -5, -3, -2, 1, 2, 3, 5, 7, 9, 4, -4, 6, -6, 8, -8};
    return scale[serial % 17];
}

ProblemData largestProblem()
{
    ProblemData problem(Largest, Largest);
    for (int i = 0; i < Largest; ++i) {
        problem.setAltName(i, u"Вариант номер "_s + QString::number(i + 1));
        problem.setCritName(i, u"Критерий номер "_s + QString::number(i + 1));
    }
    int serial = 0;
    for (int i = 0; i < Largest; ++i) {
        for (int j = i + 1; j < Largest; ++j)
            problem.setCritJudgement(i, j, judgement(serial++));
    }
    for (int q = 0; q < Largest; ++q) {
        for (int i = 0; i < Largest; ++i) {
            for (int j = i + 1; j < Largest; ++j)
                problem.setAltJudgement(i, j, q, judgement(serial++));
        }
    }
    return problem;
}

// The analysis alone, on the evaluation the results screen already holds.
void analyseEvaluated(benchmark::State& state)
{
    const ProblemData problem = largestProblem();
    const EvaluationResult result = Evaluation::EvaluateProblem(problem, QLocale(QLocale::Russian, QLocale::Russia));
    int revisit = 0;
    for (auto _ : state) {
        AnalysisResult analysis = Analysis::analyse(problem, result);
        revisit = 0;
        for (const AnalysisMatrix& m : analysis.matrices)
            revisit += int(m.revisit.size());
        benchmark::DoNotOptimize(analysis);
    }
    state.counters["revisit"] = revisit;
}
BENCHMARK(analyseEvaluated)->Unit(benchmark::kMicrosecond);

// What opening the analysis costs when nothing is held: the evaluation and the analysis.
void evaluateAndAnalyse(benchmark::State& state)
{
    const ProblemData problem = largestProblem();
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    for (auto _ : state) {
        const EvaluationResult result = Evaluation::EvaluateProblem(problem, locale);
        AnalysisResult analysis = Analysis::analyse(problem, result);
        benchmark::DoNotOptimize(analysis);
    }
}
BENCHMARK(evaluateAndAnalyse)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
