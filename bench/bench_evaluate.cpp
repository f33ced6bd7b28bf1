// Evaluation of the largest problem the screens allow (9 criteria, 9
// alternatives, every pair judged): from a problem already read, and from its
// file on disk.
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

#include <QLocale>
#include <QTemporaryDir>

#include "LargestProblem.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

using LargestProblem::Largest;

void evaluateReadProblem(benchmark::State& state)
{
    const ProblemData problem = ProblemData::load(LargestProblem::document());
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    for (auto _ : state) {
        EvaluationResult result = Evaluation::EvaluateProblem(problem, locale);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(evaluateReadProblem)->Unit(benchmark::kMicrosecond);

// Taking counts, names and judgements out of a file already parsed.
void loadParsedProblem(benchmark::State& state)
{
    const IniDocument doc = LargestProblem::document();
    for (auto _ : state) {
        ProblemData problem = ProblemData::load(doc);
        benchmark::DoNotOptimize(problem);
    }
}
BENCHMARK(loadParsedProblem)->Unit(benchmark::kMicrosecond);

// What the results screen does on every showing: read the file, load, evaluate.
void evaluateFromDisk(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const QString path = dir.filePath(u"Задача.qzr"_s);
    IniFile writer(path);
    const IniDocument doc = LargestProblem::document();
    writer.update([&doc](IniDocument& target) { target = doc; });
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    for (auto _ : state) {
        // A new accessor each time, so that nothing read before is reused.
        const IniFile file(path);
        EvaluationResult result = Evaluation::EvaluateProblem(ProblemData::load(file), locale);
        benchmark::DoNotOptimize(result);
    }
    if (ProblemData::load(IniFile(path)).altTotal() != Largest)
        state.SkipWithError("the problem file did not read back");
}
BENCHMARK(evaluateFromDisk)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
