#include "lists/ui/TFormListAlt.h"

#include "lists/ui/TStGCollect.h"
#include "shell/ui/Dialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace {

ItemListScreen::Texts altTexts()
{
    return {
        ProblemLists::Kind::Alternatives,
        u"cписок альтернатив"_s, // the first letter is a Latin c: the caption has always been so
        u"     Альтернативы"_s,
        u"Альтернатива номер "_s,
        {
            u"В левой части окна Вы видите список "_s,
            u"альтернатив, то есть вариантов Ваших "_s,
            u"действий."_s,
            u"У \"доброго молодца\" на развилке дорог "_s,
            u"три альтернативы : 1 - пойти налево, 2 - "_s,
            u"пойти направо, 3 - пойти прямо."_s,
            u"Вы должны задать не менее 2-х "_s,
            u"альтернатив, максимальное количество "_s,
            u"альтернатив 9 для пошагового "_s,
            u"интерфейса и 5 для компактного "_s,
            u"интерфейса. Вам следует помнить, "_s,
            u"что при 5-и и более альтернативах "_s,
            u"решение задачи осложняется."_s,
            QString(),
            u"Для того, чтобы добавить новую "_s,
            u"альтернативу необходимо нажать "_s,
            u"кнопку \"Добавить\", внести название "_s,
            u"новой альтернативы в список."_s,
            QString(),
            u"Вы можете переименовать или удалить "_s,
            u"альтернативу при помощи кнопок "_s,
            u"\"Изменить\" и \"Удалить\"."_s,
            QString(),
            u"После того, как Вы составите список "_s,
            u"альтернатив нажмите кнопку "_s,
            u"\"Продолжить\"."_s,
        },
        u"Удалить альтернативу \"%1\" ? Ее сравнения с другими альтернативами будут потеряны."_s,
    };
}

} // namespace

TFormListAlt::TFormListAlt(QWidget* parent) : ItemListScreen(altTexts(), parent) {}

void TFormListAlt::NextExecute()
{
    finishEditing();
    const int n = StGList->Count();
    if (n < ProblemLists::MinCount || n > ProblemLists::MaxCount) {
        Dialogs::warning(this, u"Ошибка"_s, u"Количество альтернатив должно быть в интервале от 2 до 9."_s);
        return;
    }
    if (n > ProblemLists::MaxCompactCount) {
        Dialogs::information(this, u"Сообщение"_s,
                             u"Для решения задачи с количеством альтернатив больше 5 может быть использован только "
                             u"пошаговый интерфейс !"_s);
    }
    SaveList();
    Q_EMIT forward();
}
