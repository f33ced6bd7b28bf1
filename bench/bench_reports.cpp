#include "compare/CompareStepsBuild.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "report/Questionnaire.h"
#include "report/ResultReports.h"
#include "report/TFormWord.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

void putLe(QByteArray& b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A white 24-bit bitmap of the given size, as the chart is saved.
QByteArray whiteBitmap(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    QByteArray b("BM");
    putLe(b, quint32(54 + stride * height), 4);
    putLe(b, 0, 4);
    putLe(b, 54, 4);
    for (quint32 v : {40u, quint32(width), quint32(height)})
        putLe(b, v, 4);
    putLe(b, 1, 2);
    putLe(b, 24, 2);
    for (quint32 v : {0u, quint32(stride * height), 2835u, 2835u, 0u, 0u})
        putLe(b, v, 4);
    b.append(QByteArray(stride * height, '\xFF'));
    return b;
}

// The largest problem the screens allow: nine alternatives, nine criteria, every pair judged.
IniDocument largestProblem()
{
    using namespace ProblemKeys;
    IniDocument doc;
    for (int i = 0; i < 9; ++i) {
        doc.writeString(AltSection, altKey(i), u"Альтернатива номер "_s + QString::number(i + 1));
        doc.writeString(QualSection, qualKey(i), u"Критерий номер "_s + QString::number(i + 1));
    }
    doc.writeInteger(AltSection, CountKey, 9);
    doc.writeInteger(QualSection, CountKey, 9);
    int v = 0;
    for (int i = 0; i < 9; ++i) {
        for (int j = i + 1; j < 9; ++j) {
            doc.writeInteger(JudgementSection, qualPairKey(i, j), (v++ % 17) - 8);
            for (int k = 0; k < 9; ++k)
                doc.writeInteger(JudgementSection, altPairKey(i, j, k), (v++ % 17) - 8);
        }
    }
    return doc;
}

struct Fixture
{
    QTemporaryDir dir;
    QString chart = dir.filePath(u"graf.bmp"_s);
    IniDocument problem = largestProblem();
    EvaluationResult result = Evaluation::EvaluateProblem(ProblemData::load(problem));

    Fixture()
    {
        QFile f(chart);
        if (!f.open(QIODevice::WriteOnly) || f.write(whiteBitmap(700, 420)) <= 0)
            std::abort();
    }
};

void BM_FullReportLargestInMemory(benchmark::State& state)
{
    Fixture fx;
    const QDateTime stamp = QDateTime::currentDateTime();
    for (auto _ : state) {
        TFormWord w({fx.dir.path(), u"Бенчмарк"_s, TFormWord::Kind::FullReport, {}, {}});
        ResultReports::writeFull(w, fx.problem, fx.result, fx.chart); // as the button writes it
        benchmark::DoNotOptimize(w.documentBytes(stamp).constData());
    }
}
BENCHMARK(BM_FullReportLargestInMemory)->Unit(benchmark::kMillisecond);

// What the user waits for after pressing the button: written, saved into "Отчеты", flushed.
void BM_FullReportLargestSaved(benchmark::State& state)
{
    Fixture fx;
    for (auto _ : state) {
        TFormWord w({fx.dir.path(), u"Бенчмарк"_s, TFormWord::Kind::FullReport, {}, {}});
        ResultReports::writeFull(w, fx.problem, fx.result, fx.chart); // as the button writes it
        const QString path = w.Close();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FullReportLargestSaved)->Unit(benchmark::kMillisecond);

void BM_ShortReportLargestSaved(benchmark::State& state)
{
    Fixture fx;
    for (auto _ : state) {
        TFormWord w({fx.dir.path(), u"Бенчмарк"_s, TFormWord::Kind::ShortReport, {}, {}});
        ResultReports::writeShort(w, fx.problem, fx.result, fx.chart);
        const QString path = w.Close();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShortReportLargestSaved)->Unit(benchmark::kMillisecond);

// 36 criteria pairs and 9 x 36 alternatives pairs, 17 answers each.
void BM_QuestionnaireLargestSaved(benchmark::State& state)
{
    Fixture fx;
    const QStringList steps = CompareStepsBuild::stepLines(fx.problem);
    for (auto _ : state) {
        TFormWord w({fx.dir.path(), u"Бенчмарк"_s, TFormWord::Kind::Questionnaire, {}, {}});
        Questionnaire::write(w, fx.problem, steps);
        const QString path = w.Close();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.counters["questions"] = double(steps.size());
}
BENCHMARK(BM_QuestionnaireLargestSaved)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
