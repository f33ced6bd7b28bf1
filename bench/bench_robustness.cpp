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

ProblemData largestProblem(int size = Largest)
{
    ProblemData problem(size, size);
    int serial = 0;
    for (int i = 0; i < size; ++i) {
        for (int j = i + 1; j < size; ++j)
            problem.setCritJudgement(i, j, judgement(serial++));
    }
    for (int q = 0; q < size; ++q) {
        for (int i = 0; i < size; ++i) {
            for (int j = i + 1; j < size; ++j)
                problem.setAltJudgement(i, j, q, judgement(serial++));
        }
    }
    return problem;
}

// The arguments are the number of threads (0: the application's pool, one thread per core) and the number of
// criteria and of alternatives: 9, the most the screens allow, or 30, the most a file made by hand is read
// with. Wall time is what the user waits for, so it is the time measured; the CPU time is the calling
// thread's only.
void robustness(benchmark::State& state)
{
    const ProblemData problem = largestProblem(int(state.range(1)));
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
    const ProblemData problem = largestProblem();
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
    const ProblemData problem = largestProblem();
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
    const ProblemData problem = largestProblem();
    IniFile(path).update([&problem](IniDocument& doc) {
        using namespace ProblemKeys;
        QList<IniDocument::Entry> judgements;
        for (int i = 0; i < Largest; ++i) {
            for (int j = i + 1; j < Largest; ++j)
                judgements.append({qualPairKey(i, j), QString::number(problem.critJudgement(i, j))});
        }
        for (int q = 0; q < Largest; ++q) {
            for (int i = 0; i < Largest; ++i) {
                for (int j = i + 1; j < Largest; ++j)
                    judgements.append({altPairKey(i, j, q), QString::number(problem.altJudgement(i, j, q))});
            }
        }
        doc.replaceSection(AltSection, {{CountKey.toString(), QString::number(Largest)}});
        doc.replaceSection(QualSection, {{CountKey.toString(), QString::number(Largest)}});
        doc.replaceSection(JudgementSection, judgements);
    });
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
