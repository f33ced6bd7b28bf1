#pragma once

#include "lists/ui/TFormStart.h"
#include "storage/ProblemLists.h"

class HelpMemo;

/// A list screen over one list of the open problem file (the alternatives or the
/// criteria): loads the list when shown and writes it back when left.
class ItemListScreen : public TFormStart
{
    Q_OBJECT

public:
    struct Texts {
        ProblemLists::Kind kind;
        QString caption;   // after the caption prefix
        QString header;    // of the name column
        QString newItem;   // name of a new item before its number
        QStringList memo;  // the help text, line by line
    };

    ItemListScreen(const Texts& texts, QWidget* parent = nullptr);

    void load() override;

protected:
    void LoadList();
    /// Rewrites the list's section of the problem file from the grid.
    void SaveList();
    /// Moves back: saves the list without any check.
    void PrevExecute() override;

    HelpMemo* MemoInf = nullptr;

private:
    Texts m_texts;
};
