// The list grid: ordered insertion, filling the rows, and its in-place editor.
#include "GuiFixture.h"

using namespace Qt::Literals::StringLiterals;

class TestGrid : public GuiFixture
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    TStGCollect* m_grid = nullptr;
    QStringList m_commits;

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
    // The grid as the list screens set it up: ordered by Num, number and name columns, names edited in place.
    void init()
    {
        GuiFixture::init();
        m_window = std::make_unique<QWidget>();
        m_window->resize(480, 300);
        m_grid = new TStGCollect(m_window.get());
        m_grid->setGeometry(0, 0, 480, 300);
        m_grid->Comp = [](const TLElem& a, const TLElem& b) { return a.Num > b.Num ? 1 : -1; };
        m_grid->AsString = [this](int col, int row) {
            const TLElem* item = m_grid->Items(row);
            return !item ? QString() : col == 0 ? u"  "_s + QString::number(item->Num + 1) : item->Name;
        };
        m_grid->TestEdit = [](int col, int) { return col == 1; };
        m_commits.clear();
        m_grid->InGrid = [this](int col, int row, const QString& text) {
            m_commits << u"%1/%2 %3"_s.arg(col).arg(row).arg(text);
        };
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        GuiFixture::cleanup();
    }

    // Descending, an equal Num after the one there, gaps.
    void testAddKeepsNumOrder()
    {
        const std::pair<QList<int>, QString> rows[] = {
            {{2, 1, 0}, u"0:n2 1:n1 2:n0"_s}, {{1, 0, 1}, u"0:n1 1:n0 1:n2"_s}, {{5, 0, 2}, u"0:n1 2:n2 5:n0"_s}};
        for (const auto& [nums, order] : rows) {
            m_grid->FreeAll();
            for (int i = 0; i < nums.size(); ++i)
                QVERIFY(m_grid->Add(std::make_unique<TLElem>(nums.at(i), u"n"_s + QString::number(i))));
            QCOMPARE(items().join(u' '), order);
        }
    }

    // An item its compare calls equal is refused; without a compare, Add appends.
    void testAddRefusesAnEqualItem()
    {
        m_grid->Comp = [](const TLElem& a, const TLElem& b) { return a.Name.compare(b.Name); };
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(0, u"b"_s)));
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(1, u"a"_s)));
        QVERIFY(!m_grid->Add(std::make_unique<TLElem>(2, u"b"_s)));
        QCOMPARE(items(), (QStringList{u"1:a"_s, u"0:b"_s}));
        m_grid->Comp = nullptr;
        QVERIFY(m_grid->Add(std::make_unique<TLElem>(0, u"b"_s)));
        QCOMPARE(items(), (QStringList{u"1:a"_s, u"0:b"_s, u"0:b"_s}));
    }

    // An empty list shows one blank row under the header, which the grid never writes;
    // of 200 items only the rows in view are written; names are cut to 255.
    void testRows()
    {
        addNames({u"Дом"_s});
        m_grid->setCells(1, 0, u"Header"_s);
        m_grid->FreeAll();
        m_grid->FillGrid();
        QCOMPARE(column(m_grid, 1) << m_grid->Cells(1, 0), (QStringList{QString(), u"Header"_s}));
        QVERIFY(m_grid->RowCount() == TStGCollect::FixedRows + 1 && !m_grid->CurrentItem());

        for (int i = 0; i < 200; ++i)
            m_grid->Add(std::make_unique<TLElem>(i, i == 1 ? QString(300, u'ж') : u"n"_s + QString::number(i)));
        m_grid->FillVisibleRows();
        QCOMPARE(m_grid->RowCount(), 201);
        QCOMPARE((QStringList{m_grid->Cells(1, 2), m_grid->Cells(1, 51), m_grid->Cells(0, 51), m_grid->Cells(1, 52),
                              m_grid->Cells(1, 200)}),
                 (QStringList{QString(255, u'ж'), u"n50"_s, u"  51"_s, QString(), QString()}));
    }

    void testTypedCharacterOpensTheEditor_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Cyrillic capital") << u"Ж"_s << 1 << true;
        QTest::newRow("Cyrillic first") << u"А"_s << 1 << true;
        QTest::newRow("Cyrillic last") << u"я"_s << 1 << true;
        QTest::newRow("capital Yo") << u"Ё"_s << 1 << false;
        QTest::newRow("small yo") << u"ё"_s << 1 << false;
        QTest::newRow("Latin") << u"q"_s << 1 << true;
        QTest::newRow("digit") << u"7"_s << 1 << true;
        QTest::newRow("blank") << u" "_s << 1 << true;
        QTest::newRow("quote") << u"\""_s << 1 << true;
        QTest::newRow("slash") << u"/"_s << 1 << true;
        QTest::newRow("exclamation") << u"!"_s << 1 << false;
        QTest::newRow("underscore") << u"_"_s << 1 << false;
        QTest::newRow("number column, even with F2") << u"Ж"_s << 0 << false;
        QTest::newRow("grid without edit events, even with F2") << u"Ж"_s << -1 << false;
    }

    void testTypedCharacterOpensTheEditor()
    {
        QFETCH(QString, typed);
        QFETCH(int, col);
        QFETCH(bool, opens);
        if (col < 0)
            m_grid->TestEdit = nullptr;
        addNames({u"Старое"_s});
        m_grid->setCol(std::abs(col));
        if (col != 1)
            QTest::keyClick(m_grid, Qt::Key_F2);
        typeText(m_grid, typed);
        QCOMPARE(m_grid->editor() ? m_grid->editor()->text() : QString(), opens ? typed : QString());
    }

    // F2 opens the editor with the name selected; Enter commits, and leaving commits
    // the same way, once; comma and dot become the decimal separator.
    void testEditorCommits()
    {
        addNames({u"a"_s, u"Старое"_s});
        m_grid->setRow(2);
        m_grid->setCol(1);
        QTest::keyClick(m_grid, Qt::Key_F2);
        QPointer<NameEdit> editor = m_grid->editor();
        QCOMPARE(editor->selectedText(), u"Старое"_s);
        typeText(editor, u"Новое"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!m_grid->editor());
        QTRY_VERIFY(!editor); // freed once control is back in the event loop

        typeText(m_grid, u"Н"_s);
        typeText(m_grid->editor(), u"ов1.5,2"_s);
        m_grid->finishEditing(); // what losing the focus does
        m_grid->finishEditing();
        const QString sep = QLocale().decimalPoint();
        QCOMPARE(m_commits, (QStringList{u"1/1 Новое"_s, u"1/1 Нов1"_s + sep + u"5"_s + sep + u"2"_s}));
    }

    // Only what code page 1251 can store, at most 255 characters.
    void testNameEditHoldsWhatTheFileCanStore()
    {
        NameEdit edit;
        typeText(&edit, u"Дом☺ 中№€"_s);
        QCOMPARE(edit.text(), u"Дом №€"_s);
        edit.setText(u"Ω Дом"_s); // a file name from disk may hold one already
        edit.setCursorPosition(5);
        typeText(&edit, u"аΩ"_s);
        QCOMPARE(edit.text(), u"Ω Дома"_s);
        edit.setText(QString(254, u'a'));
        edit.end(false);
        typeText(&edit, u"bcd"_s);
        QCOMPARE(edit.text(), QString(254, u'a') + u"b"_s);
    }
};

GUITEST_MAIN(TestGrid)
#include "test_grid.moc"
