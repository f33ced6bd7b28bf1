#include "report/TFormWord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;

namespace {

void putLe(QByteArray& b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A 24-bit bitmap the size of the results chart: white, with nine bars.
QByteArray chartBitmap(int width, int height)
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
    const int slot = width / 9;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int bar = x / slot;
            const bool inBar = x % slot > slot / 4 && x % slot < 3 * slot / 4 && y < (bar + 1) * height / 10;
            b.append(inBar ? QByteArray("\xC0\x40\x20", 3) : QByteArray("\xFF\xFF\xFF", 3));
        }
        b.append(QByteArray(stride - width * 3, '\0'));
    }
    return b;
}

void matrix(TFormWord& w, int order, bool upward)
{
    w.AddTable(order + 1, order + 1, 1, 1, 0);
    w.SetColumnWidth(1, 4.0);
    for (int c = 2; c <= order + 1; ++c) {
        w.SetColumnWidth(c, 1.7);
        const QString name = u"Элемент номер "_s + QString::number(c - 1);
        if (upward)
            w.WriteCellUpward(1, c, name);
        else
            w.WriteCell(1, c, name);
        w.WriteCell(c, 1, name);
    }
    for (int r = 2; r <= order + 1; ++r) {
        for (int c = r; c <= order + 1; ++c) {
            if (c == r) {
                w.WriteCell(r, r, u"-"_s);
            } else {
                w.WriteCell(r, c, u"1/"_s + QString::number(c - r + 1));
                w.WriteCell(c, r, QString::number(c - r + 1) + u"/1"_s);
            }
        }
    }
    w.StretchTable();
}

// The operations of the full report of the largest problem: 9 criteria, 9
// alternatives, the criteria matrix and nine alternatives matrices, the chart.
void fullReport(TFormWord& w, const QString& chart)
{
    w.NewDocument(true);
    w.SetFont(QString(), 12, 0, 0, 0);
    w.WriteText(u"Протокол анализа альтернатив для принятия управленческого решения.\n\r"_s);
    w.WriteText(u"Список альтернатив:\n\r"_s);
    for (int i = 0; i < 9; ++i)
        w.WriteText(QString::number(i + 1) + u". Альтернатива номер "_s + QString::number(i + 1) + u'\r');
    w.WriteText(u"\n\r"_s);
    w.WriteText(u"Список критериев принятия решения:\n\r"_s);
    for (int i = 0; i < 9; ++i)
        w.WriteText(QString::number(i + 1) + u". Критерий номер "_s + QString::number(i + 1) + u'\r');
    w.WriteText(u"\n\r"_s);
    w.WriteText(u"Матрица парных сравнений для критериев выбора.\n\r"_s);
    matrix(w, 9, true);
    for (int k = 0; k < 9; ++k) {
        w.GoToEnd();
        w.WriteText(u"\n\r"_s);
        w.WriteText(u"Матрица парных сравнений альтернатив по критерию Критерий номер "_s + QString::number(k + 1) +
                    u"\n\r"_s);
        matrix(w, 9, false);
    }
    w.GoToEnd();
    w.WriteText(u"\n\r"_s);
    w.WriteText(u"Альтернативы имеют следующие приоритеты:\n\r"_s);
    for (int i = 0; i < 9; ++i) {
        w.WriteText(QString::number(i + 1) + u". Альтернатива номер "_s + QString::number(i + 1) + u" 11,11%"_s);
        w.WriteText(u"\r"_s);
    }
    w.WriteText(u"\n\r"_s);
    w.WriteText(u"Лучший выбор - Альтернатива номер 1"_s);
    w.WriteText(u"\n\r"_s);
    w.GoToEnd();
    w.InsertPicture(chart, 15, 15);
    w.GoToEnd();
    w.WriteText(u"\n\r"_s);
}

struct Fixture
{
    QTemporaryDir dir;
    QString chart;
    Fixture() : chart(dir.filePath(u"graf.bmp"_s))
    {
        QFile f(chart);
        if (!f.open(QIODevice::WriteOnly) || f.write(chartBitmap(640, 400)) <= 0)
            std::abort();
    }
};

void BM_FullReportInMemory(benchmark::State& state)
{
    Fixture fx;
    const QDateTime stamp = QDateTime::currentDateTime();
    qint64 size = 0;
    for (auto _ : state) {
        TFormWord w({fx.dir.path(), u"Бенчмарк"_s, TFormWord::Kind::FullReport, {}, {}});
        fullReport(w, fx.chart);
        const QByteArray bytes = w.documentBytes(stamp);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.counters["docx_bytes"] = double(size);
}
BENCHMARK(BM_FullReportInMemory)->Unit(benchmark::kMillisecond);

// The whole export as the user waits for it: written, saved into "Отчеты" and flushed to disk.
void BM_FullReportSaved(benchmark::State& state)
{
    Fixture fx;
    for (auto _ : state) {
        TFormWord w({fx.dir.path(), u"Бенчмарк"_s, TFormWord::Kind::FullReport, {}, {}});
        fullReport(w, fx.chart);
        const QString path = w.Close();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FullReportSaved)->Unit(benchmark::kMillisecond);

// The longest questionnaire: 36 criteria pairs and 9 x 36 alternatives pairs, 18 lines each.
void BM_LargestQuestionnaire(benchmark::State& state)
{
    const QDateTime stamp = QDateTime::currentDateTime();
    for (auto _ : state) {
        TFormWord w({QString(), u"Бенчмарк"_s, TFormWord::Kind::Questionnaire, {}, {}});
        w.NewDocument(true);
        w.SetFont(QString(), 11, 0, 0, 0);
        w.WriteText(u"Анкета для принятия управленческого решения.\n\r"_s);
        w.WriteText(u"\n\r"_s);
        for (int q = 0; q < 360; ++q) {
            w.WriteText(QString::number(q + 1) +
                        u". Сравните альтернативы (A)Альтернатива номер 1 и (B)Альтернатива номер 2 по критерию "
                        "Критерий номер 3.\n\r"_s);
            for (int a = 1; a <= 17; ++a)
                w.WriteText(QString::number(a) + u". (A) немного лучше, чем (B) [3/1]"_s +
                            (a == 17 ? u"\n\r"_s : u"\r"_s));
        }
        benchmark::DoNotOptimize(w.documentBytes(stamp).constData());
    }
}
BENCHMARK(BM_LargestQuestionnaire)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
