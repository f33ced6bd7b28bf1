#include "lists/ui/ItemListScreen.h"

#include "lists/ui/TStGCollect.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/HelpMemo.h"
#include "storage/ComUnit.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

ItemListScreen::ItemListScreen(const Texts& texts, QWidget* parent) : TFormStart(texts.caption, parent), m_texts(texts)
{
    setNewItemPrefix(texts.newItem);
    MemoInf = new HelpMemo(texts.memo, 11, Panel2);
    MemoInf->setGeometry(Panel2->contentsRect());
    StGList->setCells(1, 0, texts.header);
    setReadingOrder({StGList, ButInsert, ButEdit, ButDelete, MemoInf, ButPrev, ButNext});
}

void ItemListScreen::load()
{
    LoadList();
    StGList->setCells(1, 0, m_texts.header);
}

void ItemListScreen::LoadList()
{
    const QList<TLElem> items = ProblemLists::load(ComUnit::ProblemIni, m_texts.kind);
    StGList->FreeAll();
    m_positions.clear();
    for (const TLElem& item : items) {
        auto added = std::make_unique<TLElem>(item);
        const TLElem* raw = added.get();
        if (StGList->Add(std::move(added)))
            m_positions.insert(raw, item.Num);
    }
    StGList->FillGrid();
}

void ItemListScreen::SaveList()
{
    QList<TLElem> items;
    QList<int> positions;
    items.reserve(StGList->Count());
    for (int i = 0; i < StGList->Count(); ++i) {
        items.append(*StGList->Items(i));
        positions.append(m_positions.value(StGList->Items(i), -1));
    }
    ProblemLists::save(ComUnit::ProblemIni, m_texts.kind, items, positions);
    for (int i = 0; i < StGList->Count(); ++i)
        m_positions.insert(StGList->Items(i), i);
    if (m_texts.kind == ProblemLists::Kind::Alternatives)
        ComUnit::AltCount = static_cast<qint32>(items.size());
}

void ItemListScreen::PrevExecute()
{
    finishEditing();
    SaveList();
    Q_EMIT back();
}

void ItemListScreen::DeleteExecute()
{
    finishEditing();
    const TLElem* current = StGList->CurrentItem();
    if (!current)
        return;
    const int position = m_positions.value(current, -1);
    if (position >= 0 && ProblemLists::hasJudgements(*ComUnit::ProblemIni.snapshot(), m_texts.kind, position) &&
        !Dialogs::question(this, u"Вопрос"_s, m_texts.deleteQuestion.arg(current->Name)))
        return;
    m_positions.remove(current);
    TFormStart::DeleteExecute();
}
