#include "shell/ui/TFormInit.h"

#include "shell/ui/ErrorBox.h"
#include "shell/ui/ForkPicture.h"
#include "shell/ui/HelpMemo.h"
#include "shell/ui/ScreenParts.h"
#include "storage/ComUnit.h"

#include <QDir>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

TFormInit::TFormInit(QWidget* parent) : WizardScreen(u"программа для поддержки принятия решений"_s, parent)
{
    ComUnit::prepareSharedState(QDir::currentPath());
    setBackgroundRole(QPalette::Base);

    m_picture = new ForkPicture(this);
    m_picture->setObjectName(u"Picture"_s);
    m_picture->move(0, 0);

    MemoInf = new HelpMemo(memoLines(), 13, this);
    MemoInf->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoInf->setGeometry(ClientWidth - 504, 0, 504, ClientHeight - 50);

    QFrame* bottom = ScreenParts::makePanel(this, u"PMove"_s, QRect(0, ClientHeight - 50, ClientWidth, 50));
    bottom->setAutoFillBackground(true);
    bottom->setBackgroundRole(QPalette::Window);
    ButNext = ScreenParts::makeOnButton(bottom, {648, 8});
    connect(ButNext, &QPushButton::clicked, this, [this] { ErrorBox::guarded(this, [this] { NextExecute(); }); });
}

QStringList TFormInit::memoLines()
{
    return {
        u"\"Оптивар 2009 R2\" - персональная система "_s,
        u"поддержки принятия решений."_s,
        QString(),
        u"Свободная программа; её можно распространять и изменять."_s,
        u"Замечания и предложения присылайте в трекер проекта."_s,
        QString(),
        u"    Программа \"Оптивар\" поможет Вам выбрать один из нескольких "_s,
        u"альтернативных вариантов действий. Классический пример подобного "_s,
        u"выбора, выбор \"доброго молодца\" на развилке трех  дорог : на лево "_s,
        u"пойдешь - ..., на право пойдешь - ..., прямо пойдешь - ... . "_s,
        u"    Современный пример подобного выбора, выбор одного из нескольких "_s,
        u"вариантов покупки квартиры или дома, что лучше купить маленькую "_s,
        u"квартиру в центре или большую далеко от центра, или лучше купить "_s,
        u"\"домик в деревне\" ? Другие примеры подобного выбора : выбор машины, "_s,
        u"выбор жениха или невесты, выбор банка для вложения денег и т.д. и т.п. "_s,
        u"Если перед Вами стоит подобная проблема - нажимайте кнопку "_s,
        u"\"Продолжить\".  "_s,
    };
}

void TFormInit::NextExecute()
{
    ComUnit::bindProblemIni(ComUnit::ProblemFile);
    Q_EMIT forward();
}
