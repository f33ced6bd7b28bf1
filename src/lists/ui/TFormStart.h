#pragma once

#include "shell/ui/WizardScreen.h"

class NameEdit;
struct TLElem;
class QAction;
class QMenu;
class QPushButton;
class TStGCollect;
class QFrame;

/// The frame of every list screen: the list grid on the left, the Add / Edit /
/// Delete buttons and an information panel on the right, Back and On at the
/// bottom, and the hidden box GEdit that renames the current item.
///
/// A base class, not a screen of its own: the problem list (TFormListProblem)
/// and, through ItemListScreen, the alternatives and criteria screens derive
/// from it. It keeps the name the program's description gives this frame.
class TFormStart : public WizardScreen
{
    Q_OBJECT

public:
    static constexpr int MoveHeight = 50;
    static constexpr int ButtonPanelWidth = 105;
    static constexpr int InfoPanelWidth = 216;

    explicit TFormStart(const QString& caption, QWidget* parent = nullptr);
    ~TFormStart() override;

    TStGCollect* grid() const { return StGList; }
    void finishEditing() override;

Q_SIGNALS:
    /// The screen did its work for "Продолжить" and hands over to the next screen.
    void forward();
    /// The screen did its work for "Вернуться" and hands over to the previous screen.
    void back();

protected:
    /// A new item named prefix + its number, whose name the user types at once.
    virtual void InsertExecute();
    virtual void EditExecute();
    virtual void DeleteExecute();
    /// Commits the name typed into GEdit for item index.
    virtual void StoreEditedName(int column, int index);
    /// Opens GEdit over the name of the current row with text, all of it selected.
    void editName(const QString& text);
    /// While StoreEditedName runs: true when the user left GEdit within the window
    /// (not when another action or a change of window closed it), so that a
    /// refused name may be given back to the user (editName).
    bool mayEditAgain() const { return m_mayEditAgain; }
    virtual void NextExecute() {}
    virtual void PrevExecute() {}

    int StGListComp(const TLElem& key1, const TLElem& key2) const;
    QString StGListAsString(int column, int index) const;

    /// Makes the bottom panel taller (the criteria screen holds two rows of buttons there).
    void setMoveHeight(int height);
    void setNewItemPrefix(const QString& prefix) { m_newItemPrefix = prefix; }
    /// Runs an action's handler; a failure goes to the error box.
    void runGuarded(void (TFormStart::*handler)());

    QFrame* PMove = nullptr;
    TStGCollect* StGList = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* ButInsert = nullptr;
    QPushButton* ButDelete = nullptr;
    QPushButton* ButNext = nullptr;
    QPushButton* ButPrev = nullptr;
    QAction* Prev = nullptr;
    QAction* Next = nullptr;
    QAction* Insert = nullptr;
    QAction* Delete = nullptr;
    QAction* Edit = nullptr;
    QPushButton* ButEdit = nullptr;
    NameEdit* GEdit = nullptr;
    QMenu* PMenuList = nullptr;

private:
    void GEditExit();
    void layOut();

    QString m_newItemPrefix;
    int m_moveHeight = MoveHeight;
    bool m_finishing = false;
    bool m_mayEditAgain = false;
};
