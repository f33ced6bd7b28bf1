// The screens offscreen: start-up (all eight windows), one change of screen, and
// the problem list of a big data folder.
#include "ScreenBench.h"

#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/ui/TFormListProblem.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;
using ScreenBench::clickButton;
using ScreenBench::Folder;
using ScreenBench::listOf;

namespace {

void BM_CreateAllScreens(benchmark::State& state)
{
    Folder folder;
    for (auto _ : state) {
        auto wizard = std::make_unique<Wizard>();
        benchmark::DoNotOptimize(wizard.get());
        state.PauseTiming();
        wizard.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateAllScreens)->Unit(benchmark::kMillisecond)->UseRealTime();

// Alternatives to criteria and back: each change checks, saves the list, loads
// the next screen's list from the file and shows it.
void BM_ScreenChange(benchmark::State& state)
{
    Folder folder;
    folder.write(u"Дом.qzr"_s, listOf("Alt", "A_", 5) + listOf("Qual", "Q_", 5));
    Wizard wizard;
    wizard.start();
    clickButton(wizard.FormInit, u"ButNext"_s);
    clickButton(wizard.FormListProblem, u"ButNext"_s);
    QCoreApplication::processEvents();
    if (wizard.current() != wizard.FormListAlt) {
        state.SkipWithError("the alternatives screen did not open");
        return;
    }
    for (auto _ : state) {
        clickButton(wizard.FormListAlt, u"ButNext"_s);
        wizard.FormListQuality->repaint();
        clickButton(wizard.FormListQuality, u"ButPrev"_s);
        wizard.FormListAlt->repaint();
    }
    if (wizard.current() != wizard.FormListAlt)
        state.SkipWithError("the screens did not change");
    state.counters["per_change"] =
        benchmark::Counter(double(state.iterations()) * 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScreenChange)->Unit(benchmark::kMillisecond)->UseRealTime();

// Intro to a problem list of 2 000 problems and 20 templates, painted.
void BM_ProblemList2000(benchmark::State& state)
{
    Folder folder;
    for (int i = 0; i < 2000; ++i)
        folder.write(u"Задача %1.qzr"_s.arg(i), QByteArray());
    for (int i = 0; i < 20; ++i)
        folder.write(u"Шаблон %1.qzp"_s.arg(i), QByteArray());
    Wizard wizard;
    wizard.start();
    for (auto _ : state) {
        wizard.switchTo(wizard.FormInit, wizard.FormListProblem);
        wizard.FormListProblem->repaint();
        state.PauseTiming();
        wizard.switchTo(wizard.FormListProblem, wizard.FormInit);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ProblemList2000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return ScreenBench::run(argc, argv);
}
