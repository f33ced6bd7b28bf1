// The list grid: ordered insertion, filling the rows, and its in-place editor.

#include "GuiFixture.h"

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

class TestGrid : public GuiFixture
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    TStGCollect* m_grid = nullptr;
    QList<std::tuple<int, int, QString>> m_commits;

    // Ordered by Num with number and name columns, as the list screens set it up.
    void setUpLikeAListScreen(bool editable)
    {
        m_grid->Comp = [](const TLElem& a, const TLElem& b) { return a.Num > b.Num ? 1 : -1; };
        m_grid->AsString = [this](int col, int row) {
            const TLElem* item = m_grid->Items(row);
            return !item ? QString() : col == 0 ? u"  "_s + QString::number(item->Num + 1) : item->Name;
        };
        if (editable) {
            m_grid->TestEdit = [](int col, int) { return col == 1; };
            m_grid->InGrid = [this](int col, int row, const QString& text) { m_commits.append({col, row, text}); };
        }
    }

    void addNames(const QStringList& list)
    {
        for (const QString& name : list)
            m_grid->Add(std::make_unique<TLElem>(m_grid->Count(), name));
        m_grid->FillGrid();
    }

    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < m_grid->Count(); ++i)
            out << u"%1:%2"_s.arg(m_grid->Items(i)->Num).arg(m_grid->Items(i)->Name);
        return out;
    }

private Q_SLOTS:
    void init()
    {
        GuiFixture::init();
        m_window = std::make_unique<QWidget>();
        m_window->resize(480, 300);
        m_grid = new TStGCollect(m_window.get());
        m_grid->setGeometry(0, 0, 480, 300);
        setUpLikeAListScreen(true);
        m_commits.clear();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        GuiFixture::cleanup();
    }

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
        QCOMPARE(items(), order);
    }

    void testAddRefusesAnItemItsCompareCallsEqual()
    {
        m_grid->Comp = [](const TLElem& a, const TLElem& b) { return a.Name.compare(b.Name); };
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(0, u"b"_s)));
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(1, u"a"_s)));
        QVERIFY(!m_grid->Add(std::make_unique<TLElem>(2, u"b"_s)));
        QCOMPARE(items(), (QStringList{u"1:a"_s, u"0:b"_s}));
        int index = -1;
        QVERIFY(m_grid->Find(TLElem(9, u"b"_s), index));
        QCOMPARE(index, 1);
        QVERIFY(!m_grid->Find(TLElem(9, u"c"_s), index));
        QCOMPARE(index, 2);
        QVERIFY(!m_grid->Find(TLElem(9, u"0"_s), index));
        QCOMPARE(index, 0);

        m_grid->Comp = nullptr; // without a compare, Add appends
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(0, u"b"_s)));
        QCOMPARE(items(), (QStringList{u"1:a"_s, u"0:b"_s, u"0:b"_s}));
    }

    void testEmptyListShowsOneBlankRow()
    {
        addNames({u"Дом"_s});
        m_grid->setCells(1, 0, u"Header"_s);
        m_grid->FreeAll();
        m_grid->FillGrid();
        QCOMPARE(m_grid->RowCount(), TStGCollect::FixedRows + 1);
        QCOMPARE(m_grid->Cells(0, 1), QString());
        QCOMPARE(m_grid->Cells(1, 1), QString());
        QCOMPARE(m_grid->Cells(1, 0), u"Header"_s); // the grid never writes the header
        QCOMPARE(m_grid->Cells(0, 0), QString());
        QCOMPARE(m_grid->CurrentItem(), nullptr);
    }

    void testRemoveHandsTheItemBackAndRowsFollow()
    {
        addNames({u"a"_s, u"b"_s, u"c"_s});
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
        QCOMPARE(m_grid->Cells(0, 2), u"  3"_s); // Num is the screens' to renumber

        // After a rename only the current row is refilled; after an insert, the rows in view.
        m_grid->setRow(1);
        m_grid->Items(0)->Name = u"A"_s;
        m_grid->Items(1)->Name = u"C"_s;
        m_grid->RefreshRows();
        QCOMPARE(column(m_grid, 1), (QStringList{u"A"_s, u"c"_s}));
        m_grid->InsertAt(2, std::make_unique<TLElem>(3, QString(300, u'ж')));
        m_grid->RefreshRows();
        QCOMPARE(column(m_grid, 1), (QStringList{u"A"_s, u"C"_s, QString(255, u'ж')}));
        m_grid->SelectLastRow();
        QCOMPARE(m_grid->Row(), 3);
        QCOMPARE(m_grid->CurrentItem()->Num, 3);
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

    void testTypedCharacterOpensTheEditor_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Cyrillic capital") << u"Ж"_s << 1 << true << true;
        QTest::newRow("Cyrillic first") << u"А"_s << 1 << true << true;
        QTest::newRow("Cyrillic last") << u"я"_s << 1 << true << true;
        QTest::newRow("capital Yo") << u"Ё"_s << 1 << true << false;
        QTest::newRow("small yo") << u"ё"_s << 1 << true << false;
        QTest::newRow("Latin") << u"q"_s << 1 << true << true;
        QTest::newRow("digit") << u"7"_s << 1 << true << true;
        QTest::newRow("blank") << u" "_s << 1 << true << true;
        QTest::newRow("quote") << u"\""_s << 1 << true << true;
        QTest::newRow("slash") << u"/"_s << 1 << true << true;
        QTest::newRow("exclamation") << u"!"_s << 1 << true << false;
        QTest::newRow("underscore") << u"_"_s << 1 << true << false;
        QTest::newRow("number column") << u"Ж"_s << 0 << true << false;
        QTest::newRow("grid without edit events") << u"Ж"_s << 1 << false << false;
    }

    void testTypedCharacterOpensTheEditor()
    {
        QFETCH(QString, typed);
        QFETCH(int, col);
        QFETCH(bool, editable);
        QFETCH(bool, opens);
        if (!editable)
            m_grid->TestEdit = nullptr;
        addNames({u"Старое"_s});
        m_grid->setCol(col);
        if (col == 0 || !editable)
            QTest::keyClick(m_grid, Qt::Key_F2); // F2 opens no editor there either
        typeText(m_grid, typed);
        QCOMPARE(m_grid->editor() != nullptr, opens);
        if (opens)
            QCOMPARE(m_grid->editor()->text(), typed);
    }

    void testF2EditsAndEnterCommits()
    {
        addNames({u"a"_s, u"Старое"_s});
        m_grid->setRow(2);
        m_grid->setCol(1);
        QTest::keyClick(m_grid, Qt::Key_F2);
        QPointer<NameEdit> editor = m_grid->editor();
        QVERIFY(editor);
        QCOMPARE(editor->selectedText(), u"Старое"_s); // typing replaces it
        typeText(editor, u"Новое"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_commits, (QList<std::tuple<int, int, QString>>{{1, 1, u"Новое"_s}}));
        QVERIFY(!m_grid->editor());
        QTRY_VERIFY(!editor); // freed once control is back in the event loop
    }

    // Leaving commits as Enter does, once; the editor turns comma and dot into the decimal separator.
    void testLeavingTheEditorCommitsLikeEnter()
    {
        addNames({u"Старое"_s});
        m_grid->setCol(1);
        typeText(m_grid, u"Н"_s);
        QVERIFY(m_grid->editor());
        typeText(m_grid->editor(), u"ов1.5,2"_s);
        const QString sep = QLocale().decimalPoint();
        m_grid->finishEditing(); // what losing the focus does
        m_grid->finishEditing();
        QCOMPARE(m_commits, (QList<std::tuple<int, int, QString>>{{1, 0, u"Нов1"_s + sep + u"5"_s + sep + u"2"_s}}));
    }

    void testEditorRefusesWhatTheCodePageCannotStoreAndHolds255()
    {
        NameEdit edit;
        typeText(&edit, u"Дом☺ 中№€"_s);
        QCOMPARE(edit.text(), u"Дом №€"_s);
        edit.setText(u"Ω Дом"_s); // a file name from disk may hold one already
        edit.setCursorPosition(5);
        typeText(&edit, u"аΩ"_s);
        QCOMPARE(edit.text(), u"Ω Дома"_s);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), u"Ω Дом"_s);

        edit.setText(QString(254, u'a'));
        edit.end(false);
        typeText(&edit, u"bcd"_s);
        QCOMPARE(edit.text(), QString(254, u'a') + u"b"_s);
    }
};

GUITEST_MAIN(TestGrid)
#include "test_grid.moc"
