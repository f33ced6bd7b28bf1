// The window in which a respondent's questionnaire answers are typed back, on the largest problem the
// questionnaire asks about: 9 criteria and 9 alternatives, 36 + 9 × 36 = 360 questions. One keystroke in an
// answer cell, and one answer taken with Enter (which moves on and opens the next cell).
#include "ScreenBench.h"

#include "compare/CompareStepsBuild.h"
#include "report/ui/TFormAnswers.h"
#include "storage/CodePage.h"
#include "storage/IniFile.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;
using ScreenBench::Folder;

namespace {

QString namedList(const QString& section, const QString& prefix, const QString& names)
{
    QString out = u'[' + section + u"]\r\n"_s;
    const QStringList list = names.split(u',');
    for (int i = 0; i < list.size(); ++i)
        out += prefix + QString::number(i) + u'=' + list.at(i) + u"\r\n"_s;
    return out + u"Count="_s + QString::number(list.size()) + u"\r\n"_s;
}

struct Window
{
    Folder folder;
    IniFile file;
    std::unique_ptr<TFormAnswers> window;
    QTableWidget* table = nullptr;

    Window()
    {
        const QString problem =
            namedList(u"Alt"_s, u"A_"_s,
                      u"Квартира на Ленина,Дом в Заречье,Студия у метро,Двушка в центре,Таунхаус,Квартира у парка,"
                      u"Дом на даче,Пентхаус,Комната в общежитии"_s) +
            namedList(u"Qual"_s, u"Q_"_s, u"Цена,Площадь,Район,Транспорт,Школа рядом,Ремонт,Этаж,Шум,Сроки"_s);
        folder.write(u"Бенч.qzr"_s, CodePage::encode(problem));
        file = IniFile(u"DAT/Бенч.qzr"_s);
        window = std::make_unique<TFormAnswers>(file, CompareStepsBuild::stepLines(*file.snapshot()));
        window->show();
        table = window->findChild<QTableWidget*>(u"TableAnswers"_s);
        window->editAnswer(0);
        QCoreApplication::processEvents();
    }

    void key(Qt::Key k, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(window->answerEditor(), &press);
        QApplication::sendEvent(window->answerEditor(), &release);
        // The queued work of the key (Enter commits on the next turn of the loop) and the repaint it asks for.
        QCoreApplication::processEvents();
    }
};

// A digit typed into the open cell: the sentence of its row and the hint follow it.
void BM_AnswerKeystroke(benchmark::State& state)
{
    Window w;
    if (!w.window->answerEditor()) {
        state.SkipWithError("no answer cell is open");
        return;
    }
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            w.key(Qt::Key_Backspace, QString());
        else
            w.key(Qt::Key_7, u"7"_s);
        typed = !typed;
    }
}
BENCHMARK(BM_AnswerKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime();

// Enter on a typed answer: it is taken, counted, and the next question's cell opens.
void BM_AnswerEnter(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        if (w.table->currentRow() >= w.table->rowCount() - 1)
            w.window->editAnswer(0);
        QCoreApplication::processEvents();
        if (!w.window->answerEditor()) {
            state.SkipWithError("no answer cell is open");
            return;
        }
        w.key(Qt::Key_5, u"5"_s);
        state.ResumeTiming();
        w.key(Qt::Key_Return, QString());
    }
}
BENCHMARK(BM_AnswerEnter)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return ScreenBench::run(argc, argv);
}
