// The list grid: ordered insertion, filling the rows, and its in-place editor.
#include "lists/ui/NameEdit.h"
#include "lists/ui/TStGCollect.h"

#include "GuiTestSupport.h"

#include <QLocale>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QString numberCell(int num)
{
    return u"  "_s + QString::number(num + 1);
}

// The grid as the list screens set it up: ordered by Num, number and name columns.
void setUpLikeAListScreen(TStGCollect& grid)
{
    grid.Comp = [](const TLElem& a, const TLElem& b) { return a.Num > b.Num ? 1 : -1; };
    grid.AsString = [&grid](int col, int row) {
        const TLElem* item = grid.Items(row);
        if (!item)
            return QString();
        return col == 0 ? numberCell(item->Num) : col == 1 ? item->Name : QString();
    };
}

QStringList names(const TStGCollect& grid)
{
    QStringList out;
    for (int i = 0; i < grid.Count(); ++i)
        out << u"%1:%2"_s.arg(grid.Items(i)->Num).arg(grid.Items(i)->Name);
    return out;
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    TStGCollect* m_grid = nullptr;
    QList<std::tuple<int, int, QString>> m_commits;

    void makeEditable()
    {
        m_grid->TestEdit = [](int col, int) { return col == 1; };
        m_grid->InGrid = [this](int col, int row, const QString& text) { m_commits.append({col, row, text}); };
    }

    void addNames(std::initializer_list<const char16_t*> list)
    {
        int n = m_grid->Count();
        for (const char16_t* name : list)
            m_grid->Add(std::make_unique<TLElem>(n++, QString::fromUtf16(name)));
        m_grid->FillGrid();
    }

private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(480, 300);
        m_grid = new TStGCollect(m_window.get());
        m_grid->setGeometry(0, 0, 480, 300);
        setUpLikeAListScreen(*m_grid);
        m_commits.clear();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void testAddKeepsNumOrder_data()
    {
        QTest::addColumn<QList<int>>("nums");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("ascending") << QList<int>{0, 1, 2} << QStringList{u"0:n0"_s, u"1:n1"_s, u"2:n2"_s};
        QTest::newRow("descending") << QList<int>{2, 1, 0} << QStringList{u"0:n2"_s, u"1:n1"_s, u"2:n0"_s};
        QTest::newRow("equal goes after") << QList<int>{1, 0, 1} << QStringList{u"0:n1"_s, u"1:n0"_s, u"1:n2"_s};
        QTest::newRow("gaps") << QList<int>{5, 0, 2} << QStringList{u"0:n1"_s, u"2:n2"_s, u"5:n0"_s};
    }

    void testAddKeepsNumOrder()
    {
        QFETCH(QList<int>, nums);
        QFETCH(QStringList, order);
        for (int i = 0; i < nums.size(); ++i)
            QVERIFY(m_grid->Add(std::make_unique<TLElem>(nums.at(i), u"n"_s + QString::number(i))));
        QCOMPARE(names(*m_grid), order);
    }

    void testAddRefusesAnItemItsCompareCallsEqual()
    {
        m_grid->Comp = [](const TLElem& a, const TLElem& b) { return a.Name.compare(b.Name); };
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(0, u"b"_s)));
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(1, u"a"_s)));
        QVERIFY(!m_grid->Add(std::make_unique<TLElem>(2, u"b"_s)));
        QCOMPARE(names(*m_grid), (QStringList{u"1:a"_s, u"0:b"_s}));
        int index = -1;
        QVERIFY(m_grid->Find(TLElem(9, u"b"_s), index));
        QCOMPARE(index, 1);
        QVERIFY(!m_grid->Find(TLElem(9, u"c"_s), index));
        QCOMPARE(index, 2);
        QVERIFY(!m_grid->Find(TLElem(9, u"0"_s), index));
        QCOMPARE(index, 0);
    }

    void testAddWithoutCompareAppends()
    {
        m_grid->Comp = nullptr;
        addNames({u"c", u"a"});
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(0, u"c"_s)));
        QCOMPARE(names(*m_grid), (QStringList{u"0:c"_s, u"1:a"_s, u"0:c"_s}));
    }

    void testEmptyListShowsOneBlankRow()
    {
        addNames({u"Дом"});
        m_grid->setCells(1, 0, u"Header"_s);
        m_grid->FreeAll();
        m_grid->FillGrid();
        QCOMPARE(m_grid->RowCount(), TStGCollect::FixedRows + 1);
        QCOMPARE(m_grid->Cells(0, 1), QString());
        QCOMPARE(m_grid->Cells(1, 1), QString());
        QCOMPARE(m_grid->Cells(1, 0), u"Header"_s); // the grid never writes the header
        QCOMPARE(m_grid->Cells(0, 0), QString());
        QCOMPARE(m_grid->model()->headerData(0, Qt::Horizontal).toString(), QString());
        QCOMPARE(m_grid->CurrentItem(), nullptr);
    }

    void testDeleteAtHandsTheItemBackAndNeedsFill()
    {
        addNames({u"a", u"b", u"c"});
        QVERIFY(!m_grid->needsFill());
        TLElem* middle = m_grid->Items(1);
        std::unique_ptr<TLElem> taken = m_grid->Remove(middle);
        QCOMPARE(taken.get(), middle);
        QVERIFY(m_grid->needsFill());
        QCOMPARE(m_grid->IndexOf(middle), -1);
        QCOMPARE(m_grid->Remove(middle), nullptr);
        m_grid->FillGrid();
        QCOMPARE(m_grid->RowCount(), 3);
        QCOMPARE(m_grid->Cells(1, 2), u"c"_s);
        QCOMPARE(m_grid->Cells(0, 2), numberCell(2)); // Num is the screens' to renumber
    }

    void testFillVisibleRowsWritesOnlyTheRowsInView()
    {
        for (int i = 0; i < 200; ++i)
            m_grid->Add(std::make_unique<TLElem>(i, u"n"_s + QString::number(i)));
        m_grid->FillVisibleRows();
        QCOMPARE(m_grid->RowCount(), 201);
        QVERIFY(m_grid->needsFill()); // only FillGrid clears it
        QCOMPARE(m_grid->Cells(1, 1), u"n0"_s);
        QCOMPARE(m_grid->Cells(1, 51), u"n50"_s);
        QCOMPARE(m_grid->Cells(0, 51), u"  51"_s);
        QCOMPARE(m_grid->Cells(1, 52), QString());
        QCOMPARE(m_grid->Cells(1, 200), QString());
    }

    void testRefreshRowsAfterARename()
    {
        addNames({u"a", u"b", u"c"});
        m_grid->setRow(2);
        m_grid->Items(1)->Name = u"B"_s;
        m_grid->Items(2)->Name = u"C"_s;
        m_grid->RefreshRows();
        QCOMPARE(m_grid->Cells(1, 2), u"B"_s);
        QCOMPARE(m_grid->Cells(1, 3), u"c"_s); // only the current row is refilled

        m_grid->InsertAt(3, std::make_unique<TLElem>(3, u"d"_s));
        m_grid->RefreshRows(); // after an insert the rows in view are refilled
        QCOMPARE(m_grid->Cells(1, 3), u"C"_s);
        QCOMPARE(m_grid->Cells(1, 4), u"d"_s);
    }

    void testSelectLastRow()
    {
        addNames({u"a", u"b", u"c"});
        m_grid->setRow(1);
        m_grid->SelectLastRow();
        QCOMPARE(m_grid->Row(), 3);
        QCOMPARE(m_grid->CurrentItem()->Name, u"c"_s);
    }

    void testNamesAreCutTo255()
    {
        addNames({u""});
        m_grid->Items(0)->Name = QString(300, u'ж');
        m_grid->FillGrid();
        QCOMPARE(m_grid->Cells(1, 1).size(), 255);
    }

    void testTypedCharacterOpensTheEditor_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Cyrillic capital") << u"Ж"_s << true;
        QTest::newRow("Cyrillic first") << u"А"_s << true;
        QTest::newRow("Cyrillic last") << u"я"_s << true;
        QTest::newRow("capital Yo") << u"Ё"_s << false;
        QTest::newRow("small yo") << u"ё"_s << false;
        QTest::newRow("Latin") << u"q"_s << true;
        QTest::newRow("digit") << u"7"_s << true;
        QTest::newRow("blank") << u" "_s << true;
        QTest::newRow("quote") << u"\""_s << true;
        QTest::newRow("slash") << u"/"_s << true;
        QTest::newRow("exclamation") << u"!"_s << false;
        QTest::newRow("underscore") << u"_"_s << false;
    }

    void testTypedCharacterOpensTheEditor()
    {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        makeEditable();
        addNames({u"Старое"});
        m_grid->setCol(1);
        GuiTest::typeText(m_grid, typed);
        QCOMPARE(m_grid->editor() != nullptr, opens);
        if (opens)
            QCOMPARE(m_grid->editor()->text(), typed);
    }

    void testTypingInTheNumberColumnDoesNothing()
    {
        makeEditable();
        addNames({u"Старое"});
        m_grid->setCol(0);
        QTest::keyClick(m_grid, Qt::Key_F2);
        GuiTest::typeText(m_grid, u"Ж"_s);
        QVERIFY(!m_grid->editor());
    }

    void testGridWithoutEditEventsNeverOpensTheEditor()
    {
        addNames({u"Старое"});
        m_grid->setCol(1);
        QTest::keyClick(m_grid, Qt::Key_F2);
        GuiTest::typeText(m_grid, u"Ж"_s);
        QVERIFY(!m_grid->editor());
    }

    void testF2EditsAndEnterCommits()
    {
        makeEditable();
        addNames({u"a", u"Старое"});
        m_grid->setRow(2);
        m_grid->setCol(1);
        QTest::keyClick(m_grid, Qt::Key_F2);
        QPointer<NameEdit> editor = m_grid->editor();
        QVERIFY(editor);
        QCOMPARE(editor->selectedText(), u"Старое"_s); // typing replaces it
        GuiTest::typeText(editor, u"Новое"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_commits.size(), 1);
        QCOMPARE(m_commits.at(0), std::make_tuple(1, 1, u"Новое"_s));
        QVERIFY(!m_grid->editor());
        QTRY_VERIFY(!editor); // freed once control is back in the event loop
    }

    void testLeavingTheEditorCommitsLikeEnter()
    {
        makeEditable();
        addNames({u"Старое"});
        m_grid->setCol(1);
        GuiTest::typeText(m_grid, u"Н"_s);
        QVERIFY(m_grid->editor());
        GuiTest::typeText(m_grid->editor(), u"овое"_s);
        m_grid->finishEditing(); // what losing the focus does
        QCOMPARE(m_commits.size(), 1);
        QCOMPARE(std::get<2>(m_commits.at(0)), u"Новое"_s);
        m_grid->finishEditing();
        QCOMPARE(m_commits.size(), 1); // committed once only
    }

    void testEditorTurnsCommaAndDotIntoTheDecimalSeparator()
    {
        makeEditable();
        addNames({u"x"});
        m_grid->setCol(1);
        GuiTest::typeText(m_grid, u"1"_s);
        GuiTest::typeText(m_grid->editor(), u".5,2"_s);
        const QString sep = QLocale().decimalPoint();
        QCOMPARE(m_grid->editor()->text(), u"1"_s + sep + u"5"_s + sep + u"2"_s);
    }

    void testEditorRefusesCharactersTheCodePageCannotStore()
    {
        NameEdit edit;
        GuiTest::typeText(&edit, u"Дом☺ 中№€"_s);
        QCOMPARE(edit.text(), u"Дом №€"_s);
        edit.setText(u"Ω Дом"_s); // a file name from disk may hold one already
        edit.setCursorPosition(5);
        GuiTest::typeText(&edit, u"аΩ"_s);
        QCOMPARE(edit.text(), u"Ω Дома"_s);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), u"Ω Дом"_s);
    }

    void testEditorHoldsAtMost255Characters()
    {
        NameEdit edit;
        edit.setText(QString(254, u'a'));
        edit.end(false);
        GuiTest::typeText(&edit, u"bcd"_s);
        QCOMPARE(edit.text(), QString(254, u'a') + u"b"_s);
    }
};

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
