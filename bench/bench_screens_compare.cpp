// The comparison and results screens offscreen, with the largest problems they
// accept: a move of a compact-screen bar (5 x 5), a change of step in the dialog
// (9 x 9), showing the results of a 9 x 9 problem, each painted, and the exports
// of the results screen and of the criteria screen.
#include "ScreenBench.h"

#include "compare/ui/TFormMain.h"
#include "compare/ui/TFormSolQ.h"
#include "evaluate/chart/ResultChart.h"
#include "evaluate/ui/TFormFinal.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "report/ui/DocumentOpener.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/ProblemLists.h"
#include "storage/ui/TFormListProblem.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;
using ScreenBench::clickButton;
using ScreenBench::Folder;
using ScreenBench::listOf;

namespace {

// Every pair judged, with values spread over the scale.
QByteArray problem(int criteria, int alternatives)
{
    QByteArray out = listOf("Alt", "A_", alternatives) + listOf("Qual", "Q_", criteria) + "[QualM]\r\n";
    const int values[] = {-9, -5, -3, -2, 1, 2, 3, 5, 9};
    int next = 0;
    for (int i = 0; i < criteria; ++i) {
        for (int j = i + 1; j < criteria; ++j)
            out += "Q_" + QByteArray::number(i) + "*Q_" + QByteArray::number(j) + "=" +
                   QByteArray::number(values[next++ % 9]) + "\r\n";
    }
    for (int k = 0; k < criteria; ++k) {
        for (int i = 0; i < alternatives; ++i) {
            for (int j = i + 1; j < alternatives; ++j)
                out += "A_" + QByteArray::number(i) + "*A_" + QByteArray::number(j) + "&Q_" + QByteArray::number(k) +
                       "=" + QByteArray::number(values[next++ % 9]) + "\r\n";
        }
    }
    return out;
}

/// From the intro to the criteria screen of the one problem in the folder; with
/// more than five alternatives the notice about the step-by-step interface is answered.
bool openCriteria(Wizard& wizard, int alternatives)
{
    ScriptedDialogs notice;
    if (alternatives > ProblemLists::MaxCompactCount)
        notice.answer(Dialogs::Button::Ok);
    wizard.start();
    clickButton(wizard.FormInit, u"ButNext"_s);
    clickButton(wizard.FormListProblem, u"ButNext"_s);
    clickButton(wizard.FormListAlt, u"ButNext"_s);
    QCoreApplication::processEvents();
    return wizard.current() == wizard.FormListQuality && notice.pending() == 0 && notice.unexpected().isEmpty();
}

// One move of a bar by the user (the keyboard's step) stores the pair and redisplays the page.
void BM_CompactBarMove(benchmark::State& state)
{
    Folder folder;
    folder.write(u"Дом.qzr"_s, problem(5, 5));
    Wizard wizard;
    if (!openCriteria(wizard, 5)) {
        state.SkipWithError("the criteria screen did not open");
        return;
    }
    clickButton(wizard.FormListQuality, u"ButNextCompact"_s);
    const int page = int(state.range(0));
    for (int p = -1; p < page; ++p)
        clickButton(wizard.FormSolQ, u"ButNext"_s);
    auto* bar = wizard.FormSolQ->findChild<QSlider*>(u"TBarMera24"_s);
    if (wizard.current() != wizard.FormSolQ || wizard.FormSolQ->Page != page || !bar || !bar->isEnabled()) {
        state.SkipWithError("the compact page did not open");
        return;
    }
    bool right = true;
    for (auto _ : state) {
        bar->triggerAction(right ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
        wizard.FormSolQ->repaint();
        right = !right;
    }
}
BENCHMARK(BM_CompactBarMove)->Arg(-1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Продолжить" and "Вернуться" in turn: each stores the step on screen and shows the next.
// With argument 1 the bar is moved first, so that every store replaces the file;
// with 0 the stored value is already there and the file is left alone.
void BM_DialogStepChange(benchmark::State& state)
{
    Folder folder;
    folder.write(u"Дом.qzr"_s, problem(9, 9));
    Wizard wizard;
    if (!openCriteria(wizard, 9)) {
        state.SkipWithError("the criteria screen did not open");
        return;
    }
    clickButton(wizard.FormListQuality, u"ButNext"_s);
    clickButton(wizard.FormMain, u"ButNext"_s);
    auto* bar = wizard.FormMain->findChild<QSlider*>(u"TBarMera"_s);
    if (wizard.current() != wizard.FormMain || ComUnit::CompareSteps.size() != 360 || ComUnit::CurrentStep != 1 ||
        !bar) {
        state.SkipWithError("the dialog did not open on step 1");
        return;
    }
    const bool move = state.range(0) != 0;
    qint64 n = 0;
    for (auto _ : state) {
        // On each of the two steps in turn, a position other than the one stored there last.
        if (move)
            bar->triggerAction((n / 2) % 2 ? QAbstractSlider::SliderToMinimum : QAbstractSlider::SliderToMaximum);
        clickButton(wizard.FormMain, n % 2 ? u"ButPrev"_s : u"ButNext"_s);
        wizard.FormMain->repaint();
        ++n;
    }
    if (wizard.current() != wizard.FormMain)
        state.SkipWithError("the dialog was left");
}
BENCHMARK(BM_DialogStepChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the dialog's last step to the painted results: evaluation, memo and chart.
void BM_ShowResults9x9(benchmark::State& state)
{
    Folder folder;
    folder.write(u"Дом.qzr"_s, problem(9, 9));
    Wizard wizard;
    if (!openCriteria(wizard, 9)) {
        state.SkipWithError("the criteria screen did not open");
        return;
    }
    clickButton(wizard.FormListQuality, u"ButNext"_s);
    ComUnit::CurrentStep = int(ComUnit::CompareSteps.size()) - 1;
    wizard.switchTo(wizard.FormMain, wizard.FormMain);
    for (auto _ : state) {
        wizard.switchTo(wizard.FormMain, wizard.FormFinal);
        wizard.FormFinal->repaint();
        state.PauseTiming();
        wizard.switchTo(wizard.FormFinal, wizard.FormMain);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (wizard.FormFinal->result().AltTotal != 9 || wizard.FormFinal->markTexts().size() != 9)
        state.SkipWithError("the results did not show nine alternatives");
}
BENCHMARK(BM_ShowResults9x9)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the user waits for after pressing an export button of the results screen
// of a 9 x 9 problem: the chart saved as graf.bmp, the report (with argument 1
// the full one: ten tables) written, saved into "Отчеты" and handed to the
// opener, which a benchmark only records.
void BM_ExportReport9x9(benchmark::State& state)
{
    Folder folder;
    folder.write(u"Дом.qzr"_s, problem(9, 9));
    Wizard wizard;
    if (!openCriteria(wizard, 9)) {
        state.SkipWithError("the criteria screen did not open");
        return;
    }
    clickButton(wizard.FormListQuality, u"ButNext"_s);
    ComUnit::CurrentStep = int(ComUnit::CompareSteps.size()) - 1;
    wizard.switchTo(wizard.FormMain, wizard.FormFinal);
    QCoreApplication::processEvents();
    const QString button = state.range(0) ? u"ButExpToWordFull"_s : u"ButExpToWordShort"_s;
    InterceptedOpener opener;
    for (auto _ : state) {
        clickButton(wizard.FormFinal, button);
        state.PauseTiming();
        if (!opener.opened().isEmpty())
            QFile::remove(opener.opened().last());
        state.ResumeTiming();
    }
    if (opener.opened().size() != state.iterations())
        state.SkipWithError("not every click made a document");
}
BENCHMARK(BM_ExportReport9x9)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The chart picture alone, of nine bars, by a chart never shown, as the
// command-line reports draw it.
void BM_ChartPicture(benchmark::State& state)
{
    Folder folder;
    QList<ResultBar> bars;
    for (int i = 0; i < 9; ++i)
        bars.append({100.0 / 9, QString::number(i + 1)});
    ResultChart chart;
    chart.fill(bars);
    const QString path = QDir::current().filePath(u"DAT/graf.bmp"_s);
    for (auto _ : state)
        chart.saveBitmap(path);
    if (QFileInfo(path).size() < 408 * 523 * 3)
        state.SkipWithError("no picture of the chart's size");
}
BENCHMARK(BM_ChartPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Экспорт анкеты в Word" on the criteria screen of a 9 x 9 problem: the list
// stored, the 360 steps rebuilt, the questionnaire written and saved.
void BM_ExportQuestionnaire9x9(benchmark::State& state)
{
    Folder folder;
    folder.write(u"Дом.qzr"_s, problem(9, 9));
    Wizard wizard;
    if (!openCriteria(wizard, 9)) {
        state.SkipWithError("the criteria screen did not open");
        return;
    }
    InterceptedOpener opener;
    for (auto _ : state) {
        clickButton(wizard.FormListQuality, u"ButExpToWord"_s);
        state.PauseTiming();
        if (!opener.opened().isEmpty())
            QFile::remove(opener.opened().last());
        state.ResumeTiming();
    }
    if (opener.opened().size() != state.iterations() || ComUnit::CompareSteps.size() != 360)
        state.SkipWithError("not every click made a questionnaire of 360 questions");
}
BENCHMARK(BM_ExportQuestionnaire9x9)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return ScreenBench::run(argc, argv);
}
