#include "storage/ui/TFormListProblem.h"

#include "lists/ui/NameEdit.h"
#include "lists/ui/TStGCollect.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/HelpMemo.h"
#include "shell/ui/ScreenParts.h"
#include "storage/ComUnit.h"
#include "storage/OptivarError.h"
#include "storage/ProblemDirectory.h"
#include "storage/ProblemTemplates.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using ProblemDirectory::Kind;
using ScreenParts::makeAction;
using ScreenParts::makeButton;

namespace {

const QString ProblemsHeader = u"     Задачи"_s;
const QString TemplatesHeader = u" Шаблоны задач"_s;

QStringList memoLines()
{
    return {
        u"В левой части окна Вы видите список "_s,
        u"задач, то есть своих проблем, которые "_s,
        u"Вы пытались решить при помощи "_s,
        u"программы."_s,
        u"Для того, чтобы начать решение новой "_s,
        u"задачи необходимо нажать кнопку "_s,
        u"\"Добавить\", внести название новой "_s,
        u"задачи в список, а затем  нажать "_s,
        u"кнопку  \"Продолжить\"."_s,
        u"Для того, чтобы вернуться к старой "_s,
        u"задаче необходимо выбрать ее из "_s,
        u"списка и нажать кнопку \"Продолжить\"."_s,
        u"Вы можете переименовать или удалить "_s,
        u"старую задачу при помощи кнопок "_s,
        u"\"Изменить\" и \"Удалить\"."_s,
        u"Любую задачу можно сохранить, как"_s,
        u"шаблон при помощи кнопки \"Сохранить"_s,
        u"как шаблон\". Можно так  же "_s,
        u"использовать готовые шаблоны для "_s,
        u"решения задач при помощи кнопки "_s,
        u"\"Добавить по  шаблону\""_s,
    };
}

} // namespace

TFormListProblem::TFormListProblem(QWidget* parent) : TFormStart(u"список задач"_s, parent)
{
    StGList->setGeometry(0, 0, 468, 240);
    StGList->horizontalHeader()->resizeSection(1, 400);
    StGList->setCells(1, 0, ProblemsHeader);
    ButInsert->setToolTip(u"Добавить новую пустую задачу в список"_s);
    ButDelete->setToolTip(u"Удалить задачу из списка"_s);
    ButEdit->setToolTip(u"Изменить наименование задачи"_s);

    buildTemplateGrid();
    buildTemplateCommands();

    PMenuList->addSeparator();
    PMenuList->addAction(SaveAsPrimer);
    PMenuPrimer = new QMenu(this);
    PMenuPrimer->setObjectName(u"PMenuPrimer"_s);
    PMenuPrimer->addAction(EditPrimer);
    PMenuPrimer->addAction(LoadPrimer);
    PMenuPrimer->addSeparator();
    PMenuPrimer->addAction(DelPrimer);
    StGPrimer->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StGPrimer, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PMenuPrimer->popup(StGPrimer->viewport()->mapToGlobal(at)); });

    MemoInf = new HelpMemo(memoLines(), 11, Panel2);
    MemoInf->setGeometry(Panel2->contentsRect());
    // The problems with their buttons, then the templates with theirs, then the help.
    setReadingOrder({StGList, ButInsert, ButEdit, ButDelete, ButSavePrimer, ButLoadPrimer, StGPrimer, ButEditPrimer,
                     ButDelPrimer, MemoInf, ButPrev, ButNext});
}

// The template actions, each with its handler, and their buttons: two between
// the grids, two in the group "Шаблоны" under the frame's buttons.
void TFormListProblem::buildTemplateCommands()
{
    // Each template action with its handler; the grid's keys act on the template grid alone.
    const struct
    {
        QAction*& action;
        QString name, caption;
        QKeySequence key;
        void (TFormListProblem::*handler)();
    } actions[] = {
        {SaveAsPrimer, u"SaveAsPrimer"_s, u"Сохранить как шаблон"_s, {}, &TFormListProblem::SaveAsPrimerExecute},
        {LoadPrimer, u"LoadPrimer"_s, u"Добавить по шаблону"_s, {}, &TFormListProblem::LoadPrimerExecute},
        {EditPrimer, u"EditPrimer"_s, u"Изменить"_s, Qt::Key_F2, &TFormListProblem::EditPrimerExecute},
        {DelPrimer, u"DelPrimer"_s, u"Удалить"_s, Qt::Key_Delete, &TFormListProblem::DelPrimerExecute},
    };
    for (const auto& a : actions) {
        a.action = makeAction(this, a.name, a.caption, a.key);
        if (!a.key.isEmpty()) {
            a.action->setShortcutContext(Qt::WidgetShortcut);
            StGPrimer->addAction(a.action);
        }
        connect(a.action, &QAction::triggered, this,
                [this, handler = a.handler] { ErrorBox::guarded(this, [&] { (this->*handler)(); }); });
    }

    GroupPrimer = new QGroupBox(u"Шаблоны"_s, Panel1);
    GroupPrimer->setObjectName(u"GroupPrimer"_s);
    GroupPrimer->setGeometry(4, 280, 97, 110);
    const struct
    {
        QPushButton*& button;
        QWidget* parent;
        QString name, caption;
        QRect geometry;
        QAction* action;
    } buttons[] = {
        {ButSavePrimer, this, u"ButSavePrimer"_s, u"Сохранить как шаблон"_s, {24, 252, 190, 25}, SaveAsPrimer},
        {ButLoadPrimer, this, u"ButLoadPrimer"_s, u"Добавить по шаблону"_s, {254, 252, 190, 25}, LoadPrimer},
        {ButEditPrimer, GroupPrimer, u"ButEditPrimer"_s, u"Изменить"_s, {6, 30, 85, 25}, EditPrimer},
        {ButDelPrimer, GroupPrimer, u"ButDelPrimer"_s, u"Удалить"_s, {6, 70, 85, 25}, DelPrimer},
    };
    for (const auto& b : buttons) {
        b.button = makeButton(b.parent, b.name, b.caption, b.geometry);
        connect(b.button, &QPushButton::clicked, b.action, &QAction::trigger);
    }
}

// The templates under the problems, in a grid of their own that edits a name in place.
void TFormListProblem::buildTemplateGrid()
{
    StGPrimer = new TStGCollect(this);
    StGPrimer->setObjectName(u"StGPrimer"_s);
    StGPrimer->setGeometry(0, 288, 469, 225);
    StGPrimer->horizontalHeader()->resizeSection(0, 25);
    StGPrimer->horizontalHeader()->resizeSection(1, 400);
    StGPrimer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StGPrimer->setCells(1, 0, TemplatesHeader);
    StGPrimer->Comp = [](const TLElem& a, const TLElem& b) { return a.Num > b.Num ? 1 : -1; };
    StGPrimer->AsString = [this](int column, int index) {
        const TLElem* item = StGPrimer->Items(index);
        if (!item)
            return QString();
        if (column == 0)
            return u"  "_s + QString::number(item->Num + 1);
        return column == 1 ? item->Name : QString();
    };
    StGPrimer->TestEdit = [](int column, int) { return column == 1; };
    StGPrimer->InGrid = [this](int column, int index, const QString& text) {
        ErrorBox::guarded(this, [&] { StGPrimerInGrid(column, index, text); });
    };
    StGPrimer->FillGrid();
}

void TFormListProblem::load()
{
    LoadProblemList();
    // Back from a problem, its row is the current one again.
    for (int i = 0; i < StGList->Count(); ++i) {
        if (ProblemDirectory::filePath(ComUnit::DatDir, StGList->Items(i)->Name, Kind::Problems) ==
            ComUnit::ProblemFile) {
            StGList->setRow(i + TStGCollect::FixedRows);
            break;
        }
    }
    StGList->setCells(1, 0, ProblemsHeader);
    LoadTemplateList();
    StGPrimer->setCells(1, 0, TemplatesHeader);
}

void TFormListProblem::finishEditing()
{
    TFormStart::finishEditing();
    StGPrimer->finishEditing();
}

void TFormListProblem::LoadProblemList()
{
    // Emptied first: a folder that cannot be read shows no list rather than an old one.
    m_unsaved.clear();
    StGList->FreeAll();
    StGList->FillGrid();
    const QStringList names = ProblemDirectory::names(ComUnit::DatDir, Kind::Problems);
    for (int i = 0; i < names.size(); ++i)
        StGList->Add(std::make_unique<TLElem>(i, names.at(i)));
    StGList->FillGrid();
}

void TFormListProblem::LoadTemplateList()
{
    StGPrimer->FreeAll();
    StGPrimer->FillGrid();
    const QStringList names = ProblemDirectory::names(ComUnit::DatDir, Kind::Templates);
    for (int i = 0; i < names.size(); ++i)
        StGPrimer->Add(std::make_unique<TLElem>(i, names.at(i)));
    StGPrimer->FillGrid();
}

void TFormListProblem::selectName(TStGCollect* grid, const QString& name)
{
    for (int i = 0; i < grid->Count(); ++i) {
        if (grid->Items(i)->Name == name) {
            grid->setRow(i + TStGCollect::FixedRows);
            return;
        }
    }
}

bool TFormListProblem::nameAccepted(const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const OptivarError& e) {
        if (e.code() != OptivarError::Code::BadName && e.code() != OptivarError::Code::NameExists)
            throw;
        Dialogs::warning(this, u"Ошибка"_s, e.message());
        return false;
    }
}

void TFormListProblem::InsertExecute()
{
    finishEditing();
    const int n = StGList->Count();
    auto item = std::make_unique<TLElem>(n, u"Задача номер "_s + QString::number(n + 1));
    m_unsaved.insert(item.get());
    StGList->Add(std::move(item));
    StGList->FillGrid();
    StGList->SelectLastRow();
    EditExecute();
}

void TFormListProblem::StoreEditedName(int, int index)
{
    TLElem* item = StGList->Items(index);
    if (!item)
        return;
    const QString name = ProblemDirectory::trimmedName(GEdit->text());
    if (m_unsaved.contains(item)) {
        storeNewProblem(item, name);
        return;
    }
    if (name == item->Name)
        return;
    const QString old = item->Name;
    if (!nameAccepted([&] { ProblemDirectory::rename(ComUnit::DatDir, old, name, Kind::Problems); })) {
        // The name stays as it was; the user may mend the refused one.
        if (mayEditAgain())
            editName(GEdit->text());
        return;
    }
    LoadProblemList();
    selectName(StGList, name);
}

void TFormListProblem::storeNewProblem(TLElem* item, const QString& name)
{
    const QString proposed = item->Name;
    QString stored;
    if (nameAccepted([&] { ProblemDirectory::create(ComUnit::DatDir, name, Kind::Problems); })) {
        stored = name;
    } else if (mayEditAgain()) {
        // Still without a file: the user mends the refused name.
        editName(GEdit->text());
        return;
    } else if (name != proposed) {
        // The entry keeps the name it was given, as any refused rename does.
        try {
            ProblemDirectory::create(ComUnit::DatDir, proposed, Kind::Problems);
            stored = proposed;
        } catch (const OptivarError& e) {
            if (e.code() != OptivarError::Code::NameExists && e.code() != OptivarError::Code::BadName)
                throw;
        }
    }
    LoadProblemList();
    if (!stored.isEmpty())
        selectName(StGList, stored);
}

void TFormListProblem::DeleteExecute()
{
    finishEditing();
    TLElem* current = StGList->CurrentItem();
    if (!current)
        return;
    if (!Dialogs::question(this, u"Вопрос"_s, u"Удалить задачу ?"_s))
        return;
    if (!m_unsaved.remove(current))
        ProblemDirectory::remove(ComUnit::DatDir, current->Name, Kind::Problems);
    TFormStart::DeleteExecute();
}

void TFormListProblem::NextExecute()
{
    finishEditing();
    const TLElem* current = StGList->CurrentItem();
    if (!current) {
        Dialogs::plain(this, u"Ошибка"_s, u"Список задач не может быть пустым."_s);
        return;
    }
    ComUnit::ProblemFile = ProblemDirectory::filePath(ComUnit::DatDir, current->Name, Kind::Problems);
    ComUnit::bindProblemIni(ComUnit::ProblemFile);
    Q_EMIT forward();
}

void TFormListProblem::PrevExecute()
{
    finishEditing();
    Q_EMIT back();
}

void TFormListProblem::SaveAsPrimerExecute()
{
    finishEditing();
    const TLElem* current = StGList->CurrentItem();
    if (!current)
        return;
    QString name;
    if (!nameAccepted([&] { name = ProblemTemplates::SaveAsPrimer(ComUnit::DatDir, current->Name); }))
        return;
    LoadTemplateList();
    selectName(StGPrimer, name);
}

void TFormListProblem::LoadPrimerExecute()
{
    finishEditing();
    const TLElem* current = StGPrimer->CurrentItem();
    if (!current)
        return;
    QString name;
    if (!nameAccepted([&] { name = ProblemTemplates::LoadPrimer(ComUnit::DatDir, current->Name); }))
        return;
    LoadProblemList();
    selectName(StGList, name);
}

void TFormListProblem::EditPrimerExecute()
{
    finishEditing();
    if (!StGPrimer->CurrentItem())
        return;
    StGPrimer->setCol(1);
    StGPrimer->StartEdit(StGPrimer->Cells(1, StGPrimer->Row()), true);
}

void TFormListProblem::StGPrimerInGrid(int, int index, const QString& text)
{
    const TLElem* item = StGPrimer->Items(index);
    if (!item)
        return;
    const QString name = ProblemDirectory::trimmedName(text);
    if (name == item->Name)
        return;
    const QString old = item->Name;
    if (!nameAccepted([&] { ProblemDirectory::rename(ComUnit::DatDir, old, name, Kind::Templates); })) {
        if (StGPrimer->mayEditAgain())
            StGPrimer->StartEdit(text, true);
        return;
    }
    LoadTemplateList();
    selectName(StGPrimer, name);
}

void TFormListProblem::DelPrimerExecute()
{
    finishEditing();
    const TLElem* current = StGPrimer->CurrentItem();
    if (!current)
        return;
    if (!Dialogs::question(this, u"Вопрос"_s, u"Удалить шаблон задачи ?"_s))
        return;
    ProblemDirectory::remove(ComUnit::DatDir, current->Name, Kind::Templates);
    LoadTemplateList();
}
