// Opening the decision analysis from the results of the largest problem (9 x 9), offscreen: the analysis,
// the three pages with their charts and tables, and the first painting.
#include "ScreenBench.h"

#include "evaluate/ui/TFormAnalysis.h"
#include "evaluate/ui/TFormFinal.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;
using ScreenBench::listOf;

namespace {

// Every pair judged, values spread over the scale, so that every matrix has judgements to revisit.
QByteArray problem(int n)
{
    QByteArray out = listOf("Alt", "A_", n) + listOf("Qual", "Q_", n) + "[QualM]\r\n";
    const int values[] = {-9, -5, -3, -2, 1, 2, 3, 5, 9};
    int next = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j)
            out += "Q_" + QByteArray::number(i) + "*Q_" + QByteArray::number(j) + "=" +
                   QByteArray::number(values[next++ % 9]) + "\r\n";
    }
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j)
                out += "A_" + QByteArray::number(i) + "*A_" + QByteArray::number(j) + "&Q_" + QByteArray::number(k) +
                       "=" + QByteArray::number(values[next++ % 9]) + "\r\n";
        }
    }
    return out;
}

// From the click on "Анализ решения" to the painted window.
void BM_OpenAnalysis9x9(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir().mkpath(u"DAT"_s);
    {
        QFile f(u"DAT/Дом.qzr"_s);
        if (f.open(QIODevice::WriteOnly))
            f.write(problem(9));
    }
    {
        Wizard wizard;
        ComUnit::prepareSharedState(QDir::currentPath());
        ComUnit::bindProblemIni(ComUnit::DatDir + u"/Дом.qzr"_s);
        wizard.start();
        wizard.switchTo(wizard.FormInit, wizard.FormFinal);
        QCoreApplication::processEvents();
        auto* button = wizard.FormFinal->findChild<QPushButton*>(u"ButAnalysis"_s);
        if (!button || wizard.FormFinal->result().AltTotal != 9) {
            state.SkipWithError("the results of nine alternatives did not show");
        } else {
            int revisit = 0;
            for (auto _ : state) {
                button->click();
                auto* window = wizard.FormFinal->findChild<TFormAnalysis*>();
                if (!window) {
                    state.SkipWithError("the analysis did not open");
                    break;
                }
                window->repaint();
                state.PauseTiming();
                revisit = 0;
                for (const AnalysisMatrix& m : window->analysis().matrices)
                    revisit += int(m.revisit.size());
                window->close();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                state.ResumeTiming();
            }
            state.counters["revisit"] = revisit;
        }
    }
    QDir::setCurrent(previous);
}
BENCHMARK(BM_OpenAnalysis9x9)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return ScreenBench::run(argc, argv);
}
