#include "lists/ui/TFormStart.h"

#include "lists/ui/NameEdit.h"
#include "lists/ui/TStGCollect.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/ScreenParts.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>

using namespace Qt::Literals::StringLiterals;
using ScreenParts::makeAction;
using ScreenParts::makeBackButton;
using ScreenParts::makeButton;
using ScreenParts::makeOnButton;
using ScreenParts::makePanel;

TFormStart::TFormStart(const QString& caption, QWidget* parent) : WizardScreen(caption, parent)
{
    // Their places come from layOut.
    PMove = makePanel(this, u"PMove"_s);
    StGList = new TStGCollect(this);
    StGList->setObjectName(u"StGList"_s);
    StGList->horizontalHeader()->resizeSection(0, 25);
    StGList->horizontalHeader()->resizeSection(1, 394);
    StGList->Comp = [this](const TLElem& a, const TLElem& b) { return StGListComp(a, b); };
    StGList->AsString = [this](int column, int index) { return StGListAsString(column, index); };
    Panel2 = makePanel(this, u"Panel2"_s);
    Panel1 = makePanel(this, u"Panel1"_s);

    ButInsert = makeButton(Panel1, u"ButInsert"_s, u"Добавить"_s, QRect(12, 25, 85, 25));
    ButEdit = makeButton(Panel1, u"ButEdit"_s, u"Изменить"_s, QRect(12, 65, 85, 25));
    ButDelete = makeButton(Panel1, u"ButDelete"_s, u"Удалить"_s, QRect(12, 105, 85, 25));
    ButPrev = makeBackButton(PMove, {48, 8}, ScreenParts::BackTip);
    ButNext = makeOnButton(PMove, {648, 8}, ScreenParts::OnTip);

    // Each action with its handler and its button; the grid's keys act on the
    // grid that has the focus, not on the whole window.
    const struct
    {
        QAction*& action;
        QString name, caption;
        QKeySequence key;
        void (TFormStart::*handler)();
        QPushButton* button;
    } actions[] = {
        {Prev, u"Prev"_s, u"Вернуться"_s, {}, &TFormStart::PrevExecute, ButPrev},
        {Next, u"Next"_s, u"Продолжить"_s, {}, &TFormStart::NextExecute, ButNext},
        {Insert, u"Insert"_s, u"Добавить"_s, Qt::Key_Insert, &TFormStart::InsertExecute, ButInsert},
        {Edit, u"Edit"_s, u"Изменить"_s, Qt::Key_F2, &TFormStart::EditExecute, ButEdit},
        {Delete, u"Delete"_s, u"Удалить"_s, Qt::Key_Delete, &TFormStart::DeleteExecute, ButDelete},
    };
    for (const auto& a : actions) {
        a.action = makeAction(this, a.name, a.caption, a.key);
        if (!a.key.isEmpty()) {
            a.action->setShortcutContext(Qt::WidgetShortcut);
            StGList->addAction(a.action);
        }
        connect(a.action, &QAction::triggered, this, [this, handler = a.handler] { runGuarded(handler); });
        connect(a.button, &QPushButton::clicked, a.action, &QAction::trigger);
    }

    PMenuList = new QMenu(this);
    PMenuList->setObjectName(u"PMenuList"_s);
    PMenuList->addAction(Insert);
    PMenuList->addAction(Edit);
    PMenuList->addSeparator()->setObjectName(u"N4"_s);
    PMenuList->addAction(Delete);
    StGList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StGList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PMenuList->popup(StGList->viewport()->mapToGlobal(at)); });

    GEdit = new NameEdit(this);
    GEdit->setObjectName(u"GEdit"_s);
    GEdit->hide();
    connect(GEdit, &NameEdit::left, this, &TFormStart::GEditExit);

    layOut();
    StGList->FillGrid();
    setReadingOrder({StGList, ButInsert, ButEdit, ButDelete, ButPrev, ButNext});
}

TFormStart::~TFormStart() = default;

void TFormStart::setMoveHeight(int height)
{
    m_moveHeight = height;
    layOut();
}

void TFormStart::layOut()
{
    const int top = ClientHeight - m_moveHeight;
    PMove->setGeometry(0, top, ClientWidth, m_moveHeight);
    Panel2->setGeometry(ClientWidth - InfoPanelWidth, 0, InfoPanelWidth, top);
    Panel1->setGeometry(ClientWidth - InfoPanelWidth - ButtonPanelWidth, 0, ButtonPanelWidth, top);
    StGList->setGeometry(0, 0, ClientWidth - InfoPanelWidth - ButtonPanelWidth, top);
}

void TFormStart::runGuarded(void (TFormStart::*handler)())
{
    ErrorBox::guarded(this, [&] { (this->*handler)(); });
}

int TFormStart::StGListComp(const TLElem& key1, const TLElem& key2) const
{
    return key1.Num > key2.Num ? 1 : -1;
}

QString TFormStart::StGListAsString(int column, int index) const
{
    const TLElem* item = StGList->Items(index);
    if (!item)
        return QString();
    if (column == 0)
        return u"  "_s + QString::number(item->Num + 1);
    if (column == 1)
        return item->Name;
    return QString();
}

void TFormStart::InsertExecute()
{
    finishEditing();
    const int n = StGList->Count();
    StGList->Add(std::make_unique<TLElem>(n, m_newItemPrefix + QString::number(n + 1)));
    StGList->FillGrid();
    StGList->SelectLastRow();
    EditExecute();
}

void TFormStart::EditExecute()
{
    // On the blank row of an empty list there is nothing to rename.
    if (!StGList->CurrentItem())
        return;
    StGList->finishEditing();
    editName(StGList->Cells(1, StGList->Row()));
}

void TFormStart::editName(const QString& text)
{
    StGList->setCol(1);
    StGList->scrollToItem(StGList->item(StGList->Row() - TStGCollect::FixedRows, 1));
    GEdit->setText(text);
    // Selected, so that typing replaces the proposed name rather than adding to it.
    GEdit->selectAll();
    const QRect cell = StGList->visualRect(StGList->model()->index(StGList->Row() - TStGCollect::FixedRows, 1));
    const QPoint topLeft = StGList->viewport()->mapTo(this, cell.topLeft());
    GEdit->setGeometry(QRect(topLeft, cell.size()).adjusted(1, 1, -1, -1));
    GEdit->show();
    GEdit->raise();
    GEdit->setFocus(Qt::OtherFocusReason);
}

void TFormStart::GEditExit()
{
    if (GEdit->isHidden())
        return;
    GEdit->hide();
    StGList->setFocus(Qt::OtherFocusReason);
    const QScopedValueRollback again(m_mayEditAgain, !m_finishing && !GEdit->leftWithWindow());
    ErrorBox::guarded(this, [this] { StoreEditedName(StGList->Col(), StGList->Row() - TStGCollect::FixedRows); });
    StGList->RefreshRows();
}

void TFormStart::StoreEditedName(int, int index)
{
    if (TLElem* item = StGList->Items(index))
        item->Name = GEdit->text().left(ComUnit::MaxNameLength);
}

void TFormStart::DeleteExecute()
{
    finishEditing();
    TLElem* current = StGList->CurrentItem();
    if (!current)
        return;
    StGList->Remove(current);
    for (int i = 0; i < StGList->Count(); ++i)
        StGList->Items(i)->Num = i;
    StGList->FillGrid();
}

void TFormStart::finishEditing()
{
    const QScopedValueRollback finishing(m_finishing, true);
    GEditExit();
    StGList->finishEditing();
}
