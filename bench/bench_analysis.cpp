// The decision analysis of the largest problem the screens allow (9 criteria, 9 alternatives, every pair
// judged, the matrices inconsistent so that every one has judgements to revisit).
#include "evaluate/Analysis.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"

#include <QLocale>

#include "LargestProblem.h"

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using LargestProblem::Largest;

// The analysis alone, on the evaluation the results screen already holds.
void analyseEvaluated(benchmark::State& state)
{
    const ProblemData problem = LargestProblem::problem();
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
    const ProblemData problem = LargestProblem::problem();
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
