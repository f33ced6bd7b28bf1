// Stores of the problem file against the yardstick of writing and flushing a
// file of the same size directly (opened with truncation, as a program that
// saves a file in place does).
#include "compare/CompareStepsBuild.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The largest problem the screens accept: 9 criteria, 9 alternatives, every judgement set.
QByteArray largestProblem()
{
    IniDocument doc;
    QList<IniDocument::Entry> alt, qual, judgements;
    for (int i = 0; i < 9; ++i) {
        alt.append({ProblemKeys::altKey(i), u"Альтернатива номер %1"_s.arg(i + 1)});
        qual.append({ProblemKeys::qualKey(i), u"Критерий номер %1"_s.arg(i + 1)});
    }
    alt.append({u"Count"_s, u"9"_s});
    qual.append({u"Count"_s, u"9"_s});
    doc.replaceSection(u"Alt", alt);
    doc.replaceSection(u"Qual", qual);
    int v = 0;
    for (int i = 0; i < 9; ++i)
        for (int j = i + 1; j < 9; ++j)
            judgements.append({ProblemKeys::qualPairKey(i, j), QString::number(++v % 17 - 8)});
    for (int k = 0; k < 9; ++k)
        for (int i = 0; i < 9; ++i)
            for (int j = i + 1; j < 9; ++j)
                judgements.append({ProblemKeys::altPairKey(i, j, k), QString::number(++v % 17 - 8)});
    doc.replaceSection(u"QualM", judgements);
    return doc.toBytes();
}

struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(u"Задача.qzr"_s);
    QByteArray bytes = largestProblem();
    Fixture()
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::abort();
    }
};

void BM_Yardstick_WriteAndFlush(benchmark::State& state)
{
    Fixture fx;
    const QByteArray name = QFile::encodeName(fx.dir.filePath(u"plain.bin"_s));
    for (auto _ : state) {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::write(fd, fx.bytes.constData(), size_t(fx.bytes.size())) != fx.bytes.size())
            state.SkipWithError("write failed");
        ::fsync(fd);
        ::close(fd);
    }
    state.SetLabel(std::to_string(fx.bytes.size()) + " bytes");
}
BENCHMARK(BM_Yardstick_WriteAndFlush)->Unit(benchmark::kMicrosecond);

void BM_StoreOneJudgement(benchmark::State& state)
{
    Fixture fx;
    IniFile file(fx.path);
    int v = 2;
    for (auto _ : state)
        file.writeInteger(u"QualM", u"A_3*A_7&Q_5", (v = v == 2 ? -2 : 2));
}
BENCHMARK(BM_StoreOneJudgement)->Unit(benchmark::kMicrosecond);

// The first store after the problem list was read, which removes the spare
// that the store after it writes over: it makes a new file instead.
void BM_StoreOneJudgementWithoutSpare(benchmark::State& state)
{
    Fixture fx;
    IniFile file(fx.path);
    int v = 2;
    const QByteArray spare = QFile::encodeName(fx.dir.filePath(u".Задача.qzr.spare"_s));
    for (auto _ : state) {
        state.PauseTiming();
        ::unlink(spare.constData());
        state.ResumeTiming();
        file.writeInteger(u"QualM", u"A_3*A_7&Q_5", (v = v == 2 ? -2 : 2));
    }
}
BENCHMARK(BM_StoreOneJudgementWithoutSpare)->Unit(benchmark::kMicrosecond);

void BM_SaveListOfNine(benchmark::State& state)
{
    Fixture fx;
    IniFile file(fx.path);
    QList<TLElem> items;
    QList<int> origins;
    for (int i = 0; i < 9; ++i) {
        items.append(TLElem(i, u"Критерий номер %1"_s.arg(i + 1)));
        origins.append(i);
    }
    for (auto _ : state) {
        items[0].Name = items[0].Name == u"a"_s ? u"b"_s : u"a"_s;
        ProblemLists::save(file, ProblemLists::Kind::Criteria, items, origins);
    }
}
BENCHMARK(BM_SaveListOfNine)->Unit(benchmark::kMicrosecond);

// Criterion 0 of nine deleted: the save drops its judgements and renumbers the rest.
void BM_SaveListAfterDeletion(benchmark::State& state)
{
    Fixture fx;
    QList<TLElem> items;
    QList<int> origins;
    for (int i = 1; i < 9; ++i) {
        items.append(TLElem(i - 1, u"Критерий номер %1"_s.arg(i + 1)));
        origins.append(i);
    }
    for (auto _ : state) {
        state.PauseTiming();
        QFile f(fx.path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(fx.bytes) != fx.bytes.size())
            state.SkipWithError("the problem could not be written");
        f.close();
        IniFile file(fx.path);
        state.ResumeTiming();
        ProblemLists::save(file, ProblemLists::Kind::Criteria, items, origins);
    }
}
BENCHMARK(BM_SaveListAfterDeletion)->Unit(benchmark::kMicrosecond);

void BM_RebuildJudgementsOnly9x9(benchmark::State& state)
{
    Fixture fx;
    IniFile file(fx.path);
    bool odd = false;
    for (auto _ : state) {
        state.PauseTiming();
        // A key that the rebuild drops, so that every rebuild rewrites the file.
        file.writeInteger(u"QualM", u"A_9*A_10&Q_0", (odd = !odd) ? 2 : 3);
        state.ResumeTiming();
        benchmark::DoNotOptimize(CompareStepsBuild::rebuildJudgements(file));
    }
}
BENCHMARK(BM_RebuildJudgementsOnly9x9)->Unit(benchmark::kMicrosecond);

void BM_ReadAndParseLargest(benchmark::State& state)
{
    Fixture fx;
    for (auto _ : state) {
        IniFile file(fx.path); // a fresh accessor has no cache
        benchmark::DoNotOptimize(file.readInteger(u"QualM", u"A_7*A_8&Q_8", 1));
    }
}
BENCHMARK(BM_ReadAndParseLargest)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
