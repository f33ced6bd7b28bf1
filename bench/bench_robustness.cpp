// How sure the choice is, on the largest problem the screens allow (9 criteria, 9 alternatives, every pair
// judged): 10,000 draws of the judgements one grade off on one thread and spread over the cores, the eigenvector
// method over every matrix, and the consistency of one matrix as the comparison screens show it at every move
// of a bar.
#include "evaluate/Eigenvector.h"
#include "evaluate/Evaluation.h"
#include "evaluate/LiveConsistency.h"
#include "evaluate/ProblemData.h"
#include "evaluate/Robustness.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

#include <QLocale>
#include <QTemporaryDir>

#include "LargestProblem.h"

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using LargestProblem::Largest;

// The arguments are the number of threads (0: the application's pool, one thread per core) and the number of
// criteria and of alternatives: 9, the most the screens allow, or 30, the most a file made by hand is read
// with. Wall time is what the user waits for, so it is the time measured; the CPU time is the calling
// thread's only.
void robustness(benchmark::State& state)
{
    const ProblemData problem = LargestProblem::problem(int(state.range(1)));
    const int threads = int(state.range(0));
    double stays = 0.0;
    for (auto _ : state) {
        const std::optional<RobustnessResult> r = Robustness::of(problem, threads);
        stays = r ? r->Stays : -1.0;
        benchmark::DoNotOptimize(stays);
    }
    state.counters["stays"] = stays;
}
BENCHMARK(robustness)
    ->Args({1, Largest})
    ->Args({2, Largest})
    ->Args({0, Largest})
    ->Args({0, ProblemKeys::MaxItemCount})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void eigenvectorProblem(benchmark::State& state)
{
    const ProblemData problem = LargestProblem::problem();
    const int own = Evaluation::EvaluateProblem(problem).BestChoice;
    for (auto _ : state) {
        EigenvectorResult r = Eigenvector::evaluate(problem, own);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(eigenvectorProblem)->Unit(benchmark::kMicrosecond);

// The consistency ratio and the label of one 9 x 9 matrix from values already read.
void liveConsistency(benchmark::State& state)
{
    const ProblemData problem = LargestProblem::problem();
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    for (auto _ : state) {
        QString label = LiveConsistency::label(LiveConsistency::ratioOf(problem, 4), locale);
        benchmark::DoNotOptimize(label);
    }
}
BENCHMARK(liveConsistency)->Unit(benchmark::kMicrosecond);

// The same from the problem file on disk, read anew, as a screen does after it stored the moved bar.
void liveConsistencyFromDisk(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const QString path = dir.filePath(u"Задача.qzr"_s);
    const ProblemData problem = LargestProblem::problem();
    IniFile(path).update([](IniDocument& doc) { doc = LargestProblem::document(); });
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    const double expected = LiveConsistency::ratioOf(problem, 4);
    double ratio = 0.0;
    for (auto _ : state) {
        ratio = LiveConsistency::ratioOf(ProblemData::load(IniFile(path)), 4);
        QString label = LiveConsistency::label(ratio, locale);
        benchmark::DoNotOptimize(label);
    }
    if (ratio != expected)
        state.SkipWithError("the problem file did not read back");
}
BENCHMARK(liveConsistencyFromDisk)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
