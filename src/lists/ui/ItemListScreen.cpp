#include "lists/ui/ItemListScreen.h"

#include "lists/ui/TStGCollect.h"
#include "shell/ui/HelpMemo.h"
#include "storage/ComUnit.h"

#include <QFrame>
#include <QPlainTextEdit>

using namespace Qt::Literals::StringLiterals;

ItemListScreen::ItemListScreen(const Texts& texts, QWidget* parent)
    : TFormStart(texts.caption, parent)
    , m_texts(texts)
{
    setNewItemPrefix(texts.newItem);
    MemoInf = new HelpMemo(texts.memo, 11, Panel2);
    MemoInf->setGeometry(Panel2->contentsRect());
    StGList->setCells(1, 0, texts.header);
}

void ItemListScreen::load()
{
    LoadList();
    StGList->setCells(1, 0, m_texts.header);
}

void ItemListScreen::LoadList()
{
    const QList<TLElem> items = ProblemLists::Load(ComUnit::ProblemIni, m_texts.kind);
    StGList->FreeAll();
    for (const TLElem& item : items)
        StGList->Add(std::make_unique<TLElem>(item));
    StGList->FillGrid();
}

void ItemListScreen::SaveList()
{
    QList<TLElem> items;
    items.reserve(StGList->Count());
    for (int i = 0; i < StGList->Count(); ++i)
        items.append(*StGList->Items(i));
    ProblemLists::Save(ComUnit::ProblemIni, m_texts.kind, items);
    if (m_texts.kind == ProblemLists::Kind::Alternatives)
        ComUnit::AltCount = static_cast<qint32>(items.size());
}

void ItemListScreen::PrevExecute()
{
    finishEditing();
    SaveList();
    Q_EMIT back();
}
