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

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Largest = 9;

// Judgements spread over the whole scale, so that no matrix is trivially uniform.
int judgement(int serial)
{
    static constexpr int scale[] = {-9, -7, -5, -3, -2, 1, 2, 3, 5, 7, 9, 4, -4, 6, -6, 8, -8};
    return scale[serial % 17];
}

IniDocument largestDocument()
{
    using namespace ProblemKeys;
    IniDocument doc;
    QList<IniDocument::Entry> alternatives;
    QList<IniDocument::Entry> criteria;
    for (int i = 0; i < Largest; ++i) {
        alternatives.append({altKey(i), u"Вариант номер "_s + QString::number(i + 1)});
        criteria.append({qualKey(i), u"Критерий номер "_s + QString::number(i + 1)});
    }
    alternatives.append({CountKey.toString(), QString::number(Largest)});
    criteria.append({CountKey.toString(), QString::number(Largest)});
    doc.replaceSection(AltSection, alternatives);
    doc.replaceSection(QualSection, criteria);
    QList<IniDocument::Entry> judgements;
    int serial = 0;
    for (int i = 0; i < Largest; ++i) {
        for (int j = i + 1; j < Largest; ++j)
            judgements.append({qualPairKey(i, j), QString::number(judgement(serial++))});
    }
    for (int q = 0; q < Largest; ++q) {
        for (int i = 0; i < Largest; ++i) {
            for (int j = i + 1; j < Largest; ++j)
                judgements.append({altPairKey(i, j, q), QString::number(judgement(serial++))});
        }
    }
    doc.replaceSection(JudgementSection, judgements);
    return doc;
}

void evaluateReadProblem(benchmark::State& state)
{
    const ProblemData problem = ProblemData::load(largestDocument());
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
    const IniDocument doc = largestDocument();
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
    const IniDocument doc = largestDocument();
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
