#pragma once

#include "lists/ui/TFormStart.h"
#include "storage/ProblemLists.h"

#include <QHash>

class HelpMemo;

/// A list screen over one list of the open problem file (the alternatives or the
/// criteria): loads the list when shown and writes it back when left.
class ItemListScreen : public TFormStart
{
    Q_OBJECT

public:
    struct Texts
    {
        ProblemLists::Kind kind;
        QString caption;        // after the caption prefix
        QString header;         // of the name column
        QString newItem;        // name of a new item before its number
        QStringList memo;       // the help text, line by line
        QString deleteQuestion; // asked before an item with judgements is deleted; %1 is its name
    };

    ItemListScreen(const Texts& texts, QWidget* parent = nullptr);

    void load() override;

protected:
    void LoadList();
    /// Rewrites the list's section of the problem file from the grid.
    void SaveList();
    /// Moves back: saves the list without any check.
    void PrevExecute() override;
    /// Asks first when the item has judgements, which go with it.
    void DeleteExecute() override;

    HelpMemo* MemoInf = nullptr;

private:
    Texts m_texts;
    // The position in the file of each item loaded or saved; items added since
    // have none. Saving makes the judgements follow their items from there.
    QHash<const TLElem*, int> m_positions;
};
