#include "lists/ui/TStGCollect.h"

#include "lists/ui/NameEdit.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

// The characters that open the editor when typed on an editable cell. Ё and ё lie
// outside А..я and so do not.
bool opensEditor(const QString& text)
{
    if (text.size() != 1)
        return false;
    const char16_t c = text.at(0).unicode();
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return true;
    if (c >= u'А' && c <= u'я')
        return true;
    return c == u' ' || c == u'"' || c == u'(' || c == u')' || c == u',' || c == u'-' || c == u'.' || c == u'/';
}

} // namespace

TStGCollect::TStGCollect(QWidget* parent) : QTableWidget(1, 2, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(17);
    verticalHeader()->setMinimumSectionSize(10);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setWordWrap(false);
    setCells(0, 0, QString());
    setCells(1, 0, QString());
    setCurrentCell(0, 1);
}

TStGCollect::~TStGCollect() = default;

TLElem* TStGCollect::Items(int index) const
{
    return index >= 0 && index < Count() ? m_items[static_cast<size_t>(index)].get() : nullptr;
}

void TStGCollect::InsertAt(int index, std::unique_ptr<TLElem> item)
{
    index = std::clamp(index, 0, Count());
    m_items.insert(m_items.begin() + index, std::move(item));
    m_needsFill = true;
}

std::unique_ptr<TLElem> TStGCollect::DeleteAt(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    std::unique_ptr<TLElem> item = std::move(m_items[static_cast<size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    m_needsFill = true;
    return item;
}

std::unique_ptr<TLElem> TStGCollect::Remove(const TLElem* item)
{
    return DeleteAt(IndexOf(item));
}

int TStGCollect::IndexOf(const TLElem* item) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[static_cast<size_t>(i)].get() == item)
            return i;
    }
    return -1;
}

bool TStGCollect::Find(const TLElem& key, int& index) const
{
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int i = (low + high) / 2;
        const int res = Comp(*m_items[static_cast<size_t>(i)], key);
        if (res < 0) {
            low = i + 1;
        } else {
            high = i - 1;
            if (res == 0) {
                found = true;
                low = i;
            }
        }
    }
    index = low;
    return found;
}

bool TStGCollect::Add(std::unique_ptr<TLElem> item)
{
    if (!Comp) {
        InsertAt(Count(), std::move(item));
        return true;
    }
    int index = 0;
    if (Find(*item, index))
        return false;
    InsertAt(index, std::move(item));
    return true;
}

void TStGCollect::FreeAll()
{
    m_items.clear();
}

void TStGCollect::setRowCountWithFixed(int rows)
{
    const int wanted = std::max(rows - FixedRows, 1);
    if (rowCount() != wanted)
        setRowCount(wanted);
}

void TStGCollect::clearBlankRow()
{
    setRowCountWithFixed(FixedRows + 1);
    for (int c = 0; c < columnCount(); ++c)
        setCells(c, FixedRows, QString());
}

void TStGCollect::fillRow(int row)
{
    for (int c = 0; c < columnCount(); ++c)
        setCells(c, row, AsString ? AsString(c, row - FixedRows).left(ComUnit::MaxNameLength) : QString());
}

void TStGCollect::FillGrid()
{
    setUpdatesEnabled(false);
    if (Count() < 1) {
        clearBlankRow();
    } else {
        setRowCountWithFixed(Count() + FixedRows);
        for (int r = 0; r < Count(); ++r)
            fillRow(r + FixedRows);
    }
    setUpdatesEnabled(true);
    m_needsFill = false;
}

void TStGCollect::FillVisibleRows()
{
    if (Count() < 1) {
        clearBlankRow();
        return;
    }
    setRowCountWithFixed(Count() + FixedRows);
    const int top = TopRow();
    const int last = std::min(top + VisibleRowSpan, Count() + FixedRows - 1);
    for (int r = top; r <= last; ++r)
        fillRow(r);
}

void TStGCollect::RefreshRows()
{
    if (m_needsFill)
        FillVisibleRows();
    else if (Count() < 1)
        clearBlankRow();
    else if (Row() - FixedRows < Count())
        fillRow(Row());
}

void TStGCollect::SelectLastRow()
{
    if (Row() != RowCount() - 1)
        setRow(RowCount() - 1);
}

TLElem* TStGCollect::CurrentItem() const
{
    return Items(Row() - FixedRows);
}

int TStGCollect::Row() const
{
    return std::max(currentRow(), 0) + FixedRows;
}

void TStGCollect::setRow(int row)
{
    setCurrentCell(std::max(row - FixedRows, 0), Col());
}

int TStGCollect::Col() const
{
    return currentColumn() < 0 ? 1 : currentColumn();
}

void TStGCollect::setCol(int col)
{
    setCurrentCell(Row() - FixedRows, col);
}

int TStGCollect::TopRow() const
{
    const int row = rowAt(0);
    return std::max(row, 0) + FixedRows;
}

QString TStGCollect::Cells(int col, int row) const
{
    const QTableWidgetItem* cell = row < FixedRows ? horizontalHeaderItem(col) : item(row - FixedRows, col);
    return cell ? cell->text() : QString();
}

void TStGCollect::setCells(int col, int row, const QString& text)
{
    if (row < FixedRows) {
        if (QTableWidgetItem* header = horizontalHeaderItem(col))
            header->setText(text);
        else
            setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem* cell = item(row - FixedRows, col)) {
        cell->setText(text);
        return;
    }
    auto* cell = new QTableWidgetItem(text);
    if (col == 0) {
        // The number column is the grid's fixed column: shaded, never selected.
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(palette().button());
    }
    setItem(row - FixedRows, col, cell);
}

void TStGCollect::StartEdit(const QString& text, bool selected)
{
    finishEditing();
    auto* editor = new NameEdit(viewport());
    editor->setObjectName(QStringLiteral("GridEditor"));
    editor->setDecimalSeparatorKeys(true);
    editor->setText(text.left(ComUnit::MaxNameLength));
    if (selected)
        editor->selectAll();
    else
        editor->setCursorPosition(static_cast<int>(editor->text().size()));
    const QRect cell = visualRect(model()->index(Row() - FixedRows, Col()));
    editor->setGeometry(cell.adjusted(1, 1, -1, -1));
    connect(editor, &NameEdit::left, this, &TStGCollect::commitEdit);
    m_editor = editor;
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
}

void TStGCollect::finishEditing()
{
    const QScopedValueRollback finishing(m_finishing, true);
    if (m_editor)
        commitEdit();
}

void TStGCollect::commitEdit()
{
    NameEdit* editor = m_editor;
    if (!editor)
        return;
    m_editor = nullptr;
    const QString text = editor->text().left(ComUnit::MaxNameLength);
    editor->hide();
    editor->deleteLater();
    setFocus(Qt::OtherFocusReason);
    const QScopedValueRollback again(m_mayEditAgain, !m_finishing && !editor->leftWithWindow());
    if (InGrid)
        InGrid(Col(), Row() - FixedRows, text);
    RefreshRows();
}

void TStGCollect::keyPressEvent(QKeyEvent* event)
{
    const bool plainKey = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (InGrid && TestEdit && !m_editor && plainKey && TestEdit(Col(), Row() - FixedRows)) {
        if (event->key() == Qt::Key_F2) {
            StartEdit(Cells(Col(), Row()), true);
            event->accept();
            return;
        }
        if (opensEditor(event->text())) {
            StartEdit(event->text());
            event->accept();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}
