#pragma once

#include "lists/ui/TFormStart.h"

#include <QSet>

class QGroupBox;
class HelpMemo;

/// The list of problems and the list of templates: two views of the data folder.
/// Every change here is a change of a file there.
class TFormListProblem final : public TFormStart
{
    Q_OBJECT

public:
    explicit TFormListProblem(QWidget* parent = nullptr);

    void load() override;
    void finishEditing() override;
    TStGCollect* templateGrid() const { return StGPrimer; }

protected:
    void InsertExecute() override;
    void DeleteExecute() override;
    void StoreEditedName(int column, int index) override;
    void NextExecute() override;
    void PrevExecute() override;

private:
    void buildTemplateGrid();
    void buildTemplateCommands();
    void LoadProblemList();
    void LoadTemplateList();
    void SaveAsPrimerExecute();
    void LoadPrimerExecute();
    void EditPrimerExecute();
    void DelPrimerExecute();
    void StGPrimerInGrid(int column, int index, const QString& text);
    /// Creates the file of a new entry under name, or under its proposed name when
    /// name is refused; an entry that gets no file leaves the list.
    void storeNewProblem(TLElem* item, const QString& name);
    /// Runs a file operation; a refused name is told in a warning box and false returned.
    bool nameAccepted(const std::function<void()>& operation);
    static void selectName(TStGCollect* grid, const QString& name);

    TStGCollect* StGPrimer = nullptr;
    QPushButton* ButSavePrimer = nullptr;
    QPushButton* ButLoadPrimer = nullptr;
    QGroupBox* GroupPrimer = nullptr;
    QPushButton* ButEditPrimer = nullptr;
    QPushButton* ButDelPrimer = nullptr;
    QAction* SaveAsPrimer = nullptr;
    QAction* LoadPrimer = nullptr;
    QAction* EditPrimer = nullptr;
    QAction* DelPrimer = nullptr;
    QMenu* PMenuPrimer = nullptr;
    HelpMemo* MemoInf = nullptr;

    // Entries added with "Добавить" whose file is made only when their name is first committed.
    QSet<const TLElem*> m_unsaved;
};
