#pragma once

#include "lists/ui/NameEdit.h"
#include "storage/ComUnit.h"

#include <QPointer>
#include <QTableWidget>

#include <functional>
#include <memory>
#include <vector>

/// A two-column string grid that owns one TLElem per data row and asks its owner
/// for every cell's text. Grid rows count the header: data row i is grid row
/// FixedRows + i, and the header row 0 is written by the screens, never by the grid.
class TStGCollect final : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int FixedRows = 1;
    /// FillVisibleRows writes at most this many rows past the first visible one.
    static constexpr int VisibleRowSpan = 50;

    /// < 0: Key1 sorts before Key2; 0: equal; > 0: after.
    using TCompareEvent = std::function<int(const TLElem& Key1, const TLElem& Key2)>;
    /// The text of column ACol of item ARow.
    using TAsStringEvent = std::function<QString(int ACol, int ARow)>;
    /// The grid's own editor was left with text St over column ACol of item ARow.
    using TInGridEvent = std::function<void(int ACol, int ARow, const QString& St)>;
    /// Whether typing may open the grid's own editor over column ACol of item ARow.
    using TTestEditEvent = std::function<bool(int ACol, int ARow)>;

    TCompareEvent Comp;
    TAsStringEvent AsString;
    TInGridEvent InGrid;
    TTestEditEvent TestEdit;

    explicit TStGCollect(QWidget* parent = nullptr);
    ~TStGCollect() override;

    int Count() const { return static_cast<int>(m_items.size()); }
    TLElem* Items(int index) const;
    void InsertAt(int index, std::unique_ptr<TLElem> item);
    /// Takes the item out of the list and hands it back.
    std::unique_ptr<TLElem> DeleteAt(int index);
    std::unique_ptr<TLElem> Remove(const TLElem* item);
    int IndexOf(const TLElem* item) const;
    /// Inserts in Comp's order, or appends without Comp. An item that Comp finds
    /// equal to one in the list is not inserted (and is freed); false then.
    bool Add(std::unique_ptr<TLElem> item);
    /// Halving search with Comp: index is where key is or would go.
    bool Find(const TLElem& key, int& index) const;
    /// Frees every item; neither refills the grid nor touches the needs-fill flag.
    void FreeAll();

    void FillGrid();
    void FillVisibleRows();
    void RefreshRows();
    void SelectLastRow();
    /// The item of the current row, or null on the blank row of an empty list.
    TLElem* CurrentItem() const;
    /// Opens the grid's own editor over the current cell, the caret after the
    /// text, or with the whole text selected (F2: typing then replaces it).
    void StartEdit(const QString& text, bool selected = false);
    /// Commits the grid's own editor if one is open.
    void finishEditing();
    /// While InGrid runs: true when the user left the editor within the window
    /// (not when another action or a change of window closed it), so that a
    /// refused text may be given back to the user in a new editor.
    bool mayEditAgain() const { return m_mayEditAgain; }

    /// Grid geometry, header row included.
    int RowCount() const { return rowCount() + FixedRows; }
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    /// The first data row in view (grid numbering).
    int TopRow() const;
    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& text);

    bool needsFill() const { return m_needsFill; }
    NameEdit* editor() const { return m_editor; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setRowCountWithFixed(int rows);
    void fillRow(int row);
    void clearBlankRow();
    void commitEdit();

    std::vector<std::unique_ptr<TLElem>> m_items;
    bool m_needsFill = true;
    bool m_finishing = false;
    bool m_mayEditAgain = false;
    QPointer<NameEdit> m_editor;
};
