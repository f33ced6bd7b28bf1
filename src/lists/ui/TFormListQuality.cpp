#include "lists/ui/TFormListQuality.h"

#include "compare/CompareStepsBuild.h"
#include "lists/ui/TStGCollect.h"
#include "report/Questionnaire.h"
#include "report/TFormWord.h"
#include "report/ui/DocumentOpener.h"
#include "report/ui/ExportNotice.h"
#include "report/ui/TFormAnswers.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/HelpMemo.h"
#include "shell/ui/ScreenParts.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"

#include <QAction>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

using namespace Qt::Literals::StringLiterals;

namespace {

ItemListScreen::Texts qualityTexts()
{
    return {
        ProblemLists::Kind::Criteria,
        u"список критериев"_s,
        u"   Критерии"_s,
        u"Критерий номер "_s,
        {
            u"В левой части окна Вы видите список "_s,
            u"критериев, то есть качеств(свойств) по "_s,
            u"которым будет проводиться сравнение "_s,
            u"альтернатив."_s,
            u"Типичные критерии выборе квартиры: "_s,
            u"место расположения, тип дома, "_s,
            u"количество комнат, стоимость и т.п."_s,
            u"Вы должны задать не мение 2-х "_s,
            u"критериев, максимальное количество "_s,
            u"критериев 9 для пошагового "_s,
            u"интерфейса и 5 для компактного "_s,
            u"интерфейса."_s,
            QString(),
            u"Для того, чтобы добавить новый "_s,
            u"критерий необходимо нажать кнопку "_s,
            u"\"Добавить\", внести название нового "_s,
            u"критерия в список."_s,
            QString(),
            u"Вы можете переименовать или удалить "_s,
            u"критерий при помощи кнопк "_s,
            u"\"Изменить\" и \"Удалить\"."_s,
            QString(),
            u"После того, как Вы составите список "_s,
            u"критериев нажмите кнопку "_s,
            u"\"Продолжить\"."_s,
        },
        u"Удалить критерий \"%1\" ? Его сравнения с другими критериями и сравнения альтернатив по нему будут "
        u"потеряны."_s,
    };
}

// Both forward buttons share the bottom panel with "Вернуться" and the questionnaire export.
constexpr int TwoRowMoveHeight = 80;

} // namespace

TFormListQuality::TFormListQuality(QWidget* parent) : ItemListScreen(qualityTexts(), parent)
{
    setMoveHeight(TwoRowMoveHeight);
    MemoInf->setGeometry(Panel2->contentsRect());

    // "Продолжить" has no action here: each forward button runs its own check.
    ButNext->disconnect(Next);
    ButNext->setText(u"Продолжить ( пошаговый интерфейс)"_s);
    ButNext->setGeometry(520, 8, 250, 25);
    ButPrev->move(48, 28);
    connect(ButNext, &QPushButton::clicked, this, [this] { ErrorBox::guarded(this, [this] { ButNextClick(); }); });

    ButExpToWord = ScreenParts::makeButton(
        PMove, {u"ButExpToWord", u"Экспорт анкеты в Word", QRect(213, 28, 190, 25), {}, QStyle::SP_FileIcon, true});
    connect(ButExpToWord, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButExpToWordClick(); }); });

    // In the free row above the export, the same size: the two belong to the same paper.
    ButAnswers = ScreenParts::makeButton(PMove, {u"ButAnswers", u"Ввод ответов анкеты", QRect(213, 2, 190, 25),
                                                 u"Ввести ответы заполненной анкеты по номерам ответов",
                                                 QStyle::SP_FileDialogDetailedView, true});
    connect(ButAnswers, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButAnswersClick(); }); });

    // The free row under "Вернуться" and the export button, left of the forward buttons, in a small face.
    STextSaved = new ExportNotice(PMove);
    STextSaved->setObjectName(u"STextSaved"_s);
    STextSaved->setGeometry(8, 56, 520 - 8 - 8, 20);
    QFont small = STextSaved->font();
    small.setPointSize(8);
    STextSaved->setFont(small);

    ButNextCompact = ScreenParts::makeButton(PMove, {u"ButNextCompact",
                                                     u"Продолжить ( компактный интерфейс)",
                                                     QRect(520, 48, 250, 25),
                                                     {},
                                                     QStyle::SP_ArrowRight,
                                                     true});
    connect(ButNextCompact, &QPushButton::clicked, this,
            [this] { ErrorBox::guarded(this, [this] { ButNextCompactClick(); }); });
    // The bottom panel reads left to right: back, the questionnaire's two buttons, then the two ways on.
    setReadingOrder(
        {StGList, ButInsert, ButEdit, ButDelete, MemoInf, ButPrev, ButAnswers, ButExpToWord, ButNext, ButNextCompact});
}

void TFormListQuality::rebuildJudgements()
{
    SaveList();
    ComUnit::CompareSteps = CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni);
    ComUnit::CurrentStep = 0;
}

// The questions are those the comparison screens would ask now, so the list and
// the judgements are stored and rebuilt first, as going on would.
bool TFormListQuality::prepareQuestionnaire()
{
    finishEditing();
    const int n = StGList->Count();
    if (n < ProblemLists::MinCount || n > ProblemLists::MaxCount) {
        Dialogs::plain(this, u"Ошибка"_s, u"Количество критериев должно быть в интервале от 2 до 9."_s);
        return false;
    }
    rebuildJudgements();
    return true;
}

void TFormListQuality::ButExpToWordClick()
{
    if (!prepareQuestionnaire())
        return;
    TFormWord word(DocumentOpener::destination(this, TFormWord::Kind::Questionnaire));
    Questionnaire::write(word, *ComUnit::ProblemIni.snapshot(), ComUnit::CompareSteps);
    STextSaved->showSaved(word.Close());
}

void TFormListQuality::ButAnswersClick()
{
    if (!prepareQuestionnaire())
        return;
    auto* window = new TFormAnswers(ComUnit::ProblemIni, ComUnit::CompareSteps, this);
    window->open();
}

void TFormListQuality::ButNextClick()
{
    finishEditing();
    const int n = StGList->Count();
    if (n < ProblemLists::MinCount || n > ProblemLists::MaxCount) {
        Dialogs::warning(this, u"Ошибка"_s, u"Количество критериев должно быть в интервале от 2 до 9."_s);
        return;
    }
    rebuildJudgements();
    ComUnit::InterfaceMode = 0;
    Q_EMIT stepByStepChosen();
}

void TFormListQuality::ButNextCompactClick()
{
    finishEditing();
    const int n = StGList->Count();
    const auto fits = [](int count) {
        return count >= ProblemLists::MinCount && count <= ProblemLists::MaxCompactCount;
    };
    if (!fits(n) || !fits(ComUnit::AltCount)) {
        Dialogs::warning(this, u"Ошибка"_s, u"Количество критериев и альтернатив должно быть в интервале от 2 до 5."_s);
        return;
    }
    rebuildJudgements();
    ComUnit::InterfaceMode = 1;
    Q_EMIT compactChosen();
}
