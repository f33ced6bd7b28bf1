// The problem list and the templates, driven as a user would, with the data
// folder checked after every step.
#include "GuiFixture.h"

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;

class TestProblemList : public GuiFixture
{
    Q_OBJECT

    TFormListProblem* m_screen = nullptr;
    TStGCollect* m_problems = nullptr;
    TStGCollect* m_templates = nullptr;
    NameEdit* m_gedit = nullptr;

    void openScreen(const QStringList& files = {}, const QByteArray& bytes = "other")
    {
        for (const QString& name : files)
            writeDat(name, bytes);
        click(m_wizard->FormInit, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_screen);
        QVERIFY(QTest::qWaitForWindowExposed(m_screen));
        m_screen->activateWindow();
    }

    QStringList filesInDat() const { return QDir(datDir()).entryList(QDir::Files, QDir::Name); }
    QByteArray bytes(const QString& file) const { return TestSupport::readBytes(datDir() + u'/' + file); }

    void select(TStGCollect* grid, const QString& name)
    {
        for (int i = 0; i < grid->Count(); ++i) {
            if (grid->Items(i)->Name == name)
                return grid->setRow(i + TStGCollect::FixedRows);
        }
        QFAIL(qPrintable(u"no entry "_s + name));
    }

private Q_SLOTS:
    void init()
    {
        GuiFixture::init();
        m_screen = m_wizard->FormListProblem;
        m_problems = grid(m_screen);
        m_templates = grid(m_screen, u"StGPrimer"_s);
        m_gedit = child<NameEdit>(m_screen, u"GEdit"_s);
    }

    // Nothing to act on: every button does nothing, "Продолжить" refuses.
    void testEmptyFolder()
    {
        openScreen();
        QCOMPARE(column(m_problems, 1) + column(m_templates, 1), (QStringList{QString(), QString()}));
        QCOMPARE(m_problems->Cells(1, 0) + u'|' + m_templates->Cells(1, 0), u"     Задачи| Шаблоны задач"_s);
        QVERIFY(QFileInfo(datDir()).isDir());
        for (const QString& button : {u"ButDelete"_s, u"ButEdit"_s, u"ButSavePrimer"_s, u"ButLoadPrimer"_s,
                                      u"ButEditPrimer"_s, u"ButDelPrimer"_s})
            click(m_screen, button);
        QVERIFY(filesInDat().isEmpty());
        QVERIFY(!m_gedit->isVisible());
        answer(Button::Ok);
        click(m_screen, u"ButNext"_s);
        QCOMPARE(boxes(), QStringList{u"plain | Ошибка | Список задач не может быть пустым."_s});
        QCOMPARE(m_wizard->current(), m_screen);
    }

    // Sorted by name, endings shown exactly; the listed name opens that very file, and
    // back from it the list stands on it again.
    void testListsShowTheFolder()
    {
        openScreen({u"Яхта.qzr"_s, u"Дом.qzr"_s, u"Поездка.qzr.qzr"_s, u"Машина.QZR"_s, u"Шаблон Дом.qzp"_s,
                    u"Квартира.qzp"_s});
        QCOMPARE(column(m_problems, 1) + column(m_problems, 0),
                 (QStringList{u"Дом"_s, u"Поездка.qzr"_s, u"Яхта"_s, u"  1"_s, u"  2"_s, u"  3"_s}));
        QCOMPARE(column(m_templates, 1), (QStringList{u"Квартира"_s, u"Шаблон Дом"_s}));
        select(m_problems, u"Поездка.qzr"_s);
        click(m_screen, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QCOMPARE(ComUnit::ProblemIni.path(), problemPath(u"Поездка.qzr"_s));
        click(m_wizard->FormListAlt, u"ButPrev"_s);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Поездка.qzr"_s);
    }

    // A new entry gets its file when its name is committed: by Enter, by "Продолжить"
    // or by a click elsewhere. A refused name is given back to be mended; a commit that
    // another action forces gives the entry its proposed name or, when that is taken
    // too, drops it. The proposal is "Задача номер " and the count of entries.
    void testAddProblem_data()
    {
        QTest::addColumn<QString>("seededFiles"); // "|" between
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filesAfter");
        QTest::addColumn<int>("refusals");
        QTest::newRow("button, Enter") << QString() << u"  Покупка дома  "_s << u"Покупка дома.qzr"_s << 0;
        QTest::newRow("Insert key, Enter, unchanged")
            << u"Дом.qzr"_s << QString() << u"Дом.qzr|Задача номер 2.qzr"_s << 0;
        QTest::newRow("button, Продолжить") << QString() << u"Дача"_s << u"Дача.qzr"_s << 0;
        QTest::newRow("button, a click on the grid") << u"Дом.qzr"_s << u"Баня"_s << u"Баня.qzr|Дом.qzr"_s << 0;
        QTest::newRow("button, Enter, taken") << u"Дача.qzr"_s << u"Дача"_s << u"Дача.qzr|Задача номер 2.qzr"_s << 2;
        // Two added, the first deleted: the next proposal repeats the name still on disk.
        QTest::newRow("button, Enter, proposal taken")
            << u"Задача номер 2.qzr"_s << QString() << u"Задача номер 2.qzr"_s << 2;
    }

    void testAddProblem()
    {
        QFETCH(QString, seededFiles);
        QFETCH(QString, typed);
        QFETCH(QString, filesAfter);
        QFETCH(int, refusals);
        const QStringList seeded = seededFiles.split(u'|', Qt::SkipEmptyParts), files = filesAfter.split(u'|');
        const QString how = QString::fromLatin1(QTest::currentDataTag());
        openScreen(seeded);
        QVERIFY(QTest::qWaitForWindowActive(m_screen));
        if (how.startsWith(u"Insert"_s)) {
            m_problems->setFocus();
            QTest::keyClick(m_problems, Qt::Key_Insert);
        } else {
            click(m_screen, u"ButInsert"_s);
        }
        const QString proposed = u"Задача номер "_s + QString::number(seeded.size() + 1);
        QVERIFY(m_gedit->isVisible());
        QCOMPARE(m_gedit->selectedText(), proposed);
        QCOMPARE(filesInDat(), seeded); // no file until the name is committed
        for (int i = 0; i < refusals; ++i)
            answer(Button::Ok);
        typeText(m_gedit, typed);
        if (how.contains(u"Продолжить"_s)) {
            click(m_screen, u"ButNext"_s);
        } else if (how.contains(u"grid"_s)) {
            const QRect first = m_problems->visualRect(m_problems->model()->index(0, 1));
            QTest::mouseClick(m_problems->viewport(), Qt::LeftButton, {}, first.center());
        } else {
            QTest::keyClick(m_gedit, Qt::Key_Return);
        }
        if (refusals > 0) {
            QVERIFY(m_gedit->isVisible());
            QCOMPARE(m_gedit->selectedText(), typed.isNull() ? proposed : typed);
            m_screen->finishEditing();
        }
        QTRY_VERIFY(!m_gedit->isVisible());
        const QString name = typed.isNull() ? proposed : typed;
        QCOMPARE(boxes(),
                 QStringList(refusals, u"warning | Ошибка | Задача с именем \"%1\" уже существует."_s.arg(name)));
        QCOMPARE(filesInDat(), files);
        for (const QString& file : files)
            QCOMPARE(bytes(file), seeded.contains(file) ? "other" : QByteArray());
        QCOMPARE(m_problems->Count(), files.size());
        if (how.contains(u"Продолжить"_s)) {
            QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
            QCOMPARE(QStringList({ComUnit::ProblemFile, ComUnit::ProblemIni.path()}),
                     QStringList(2, problemPath(u"Дача"_s)));
        }
    }

    // Renames of a problem or a template; a refused name opens the box again with it,
    // to be mended (here the old name is typed back), and nothing changes.
    void testRename_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("problem, F2") << u".qzr"_s << u"Баня"_s << QString();
        QTest::newRow("problem, button, blanks cut") << u".qzr"_s << u"  Баня  "_s << QString();
        // Every refusal of a name and its text is the storage tests' part: here that one comes in a box.
        QTest::newRow("path, F2") << u".qzr"_s << u"../Дом"_s
                                  << u"Имя не может содержать символы \\ / : * ? \" < > |."_s;
        QTest::newRow("taken") << u".qzr"_s << u"Дача"_s << u"Задача с именем \"Дача\" уже существует."_s;
        QTest::newRow("template, typed") << u".qzp"_s << u"Жилье"_s << QString();
        QTest::newRow("template, button") << u".qzp"_s << u"Баня"_s << QString();
        QTest::newRow("template, taken") << u".qzp"_s << u"Дача"_s << u"Шаблон с именем \"Дача\" уже существует."_s;
    }

    void testRename()
    {
        QFETCH(QString, ending);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        const QString how = QString::fromLatin1(QTest::currentDataTag());
        const bool templates = ending == u".qzp"_s;
        writeDat(u"Дом"_s + ending, "house");
        openScreen({u"Дача"_s + ending});
        TStGCollect* grid = templates ? m_templates : m_problems;
        select(grid, u"Дом"_s);
        const auto editor = [&]() -> NameEdit* { return templates ? grid->editor() : m_gedit; };
        if (how.contains(u"typed"_s)) {
            grid->setFocus();
            grid->setCol(1);
            typeText(grid, typed.first(1));
            QCOMPARE(editor()->text(), typed.first(1));
            typeText(editor(), typed.mid(1));
        } else {
            if (how.contains(u"F2"_s)) {
                grid->setFocus();
                QTest::keyClick(grid, Qt::Key_F2);
            } else {
                click(m_screen, templates ? u"ButEditPrimer"_s : u"ButEdit"_s);
            }
            QCOMPARE(editor()->selectedText(), u"Дом"_s);
            typeText(editor(), typed);
        }
        if (!refusal.isEmpty())
            answer(Button::Ok);
        QTest::keyClick(editor(), Qt::Key_Return);
        const QString name = refusal.isEmpty() ? typed.trimmed() : u"Дом"_s;
        if (!refusal.isEmpty()) {
            QCOMPARE(editor()->selectedText(), typed);
            typeText(editor(), u"Дом"_s);
            QTest::keyClick(editor(), Qt::Key_Return);
            QCOMPARE(boxes(), QStringList{u"warning | Ошибка | "_s + refusal});
        }
        QVERIFY(!editor() || !editor()->isVisible());
        QStringList expected{u"Дача"_s + ending, name + ending};
        expected.sort();
        QCOMPARE(filesInDat(), expected);
        QCOMPARE(bytes(name + ending) + bytes(u"Дача"_s + ending), QByteArray("houseother"));
        QCOMPARE(grid->CurrentItem()->Name, name);
        QVERIFY(QDir::current().entryList(QDir::Files).isEmpty()); // nothing outside the folder
    }

    // Deleting asks first; a file gone meanwhile is told and its entry stays.
    void testDelete_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<Button>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("problem, button, no") << u".qzr"_s << Button::No << QStringList{u"Дача"_s, u"Дом"_s};
        QTest::newRow("problem, Del, yes") << u".qzr"_s << Button::Yes << QStringList{u"Дача"_s};
        QTest::newRow("problem, button, yes, gone") << u".qzr"_s << Button::Yes << QStringList{u"Дача"_s, u"Дом"_s};
        QTest::newRow("template, button, yes") << u".qzp"_s << Button::Yes << QStringList{u"Дача"_s};
        QTest::newRow("template, Del, no") << u".qzp"_s << Button::No << QStringList{u"Дача"_s, u"Дом"_s};
    }

    void testDelete()
    {
        QFETCH(QString, ending);
        QFETCH(Button, answer);
        QFETCH(QStringList, left);
        const QString how = QString::fromLatin1(QTest::currentDataTag());
        const bool templates = ending == u".qzp"_s;
        openScreen({u"Дом"_s + ending, u"Дача"_s + ending});
        TStGCollect* grid = templates ? m_templates : m_problems;
        select(grid, u"Дом"_s);
        this->answer(answer);
        QStringList shown{templates ? u"question | Вопрос | Удалить шаблон задачи ?"_s
                                    : u"question | Вопрос | Удалить задачу ?"_s};
        if (how.endsWith(u"gone"_s)) {
            QVERIFY(QFile::remove(problemPath()));
            this->answer(Button::Ok);
            shown << u"error | Оптивар | File not found."_s;
        }
        if (how.contains(u"Del"_s)) {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Delete);
        } else {
            click(m_screen, templates ? u"ButDelPrimer"_s : u"ButDelete"_s);
        }
        QCOMPARE(boxes(), shown);
        QCOMPARE(column(grid, 1), left);
        QCOMPARE(column(grid, 0).last(), u"  "_s + QString::number(left.size()));
        if (!how.endsWith(u"gone"_s))
            QCOMPARE(filesInDat().size(), left.size());
        QCOMPARE(m_wizard->current(), m_screen);
    }

    // A template is made of the problem chosen; a problem added from it takes its bytes under the first free name.
    void testTemplates()
    {
        const QByteArray house = TestSupport::cp1251("[Alt]\r\nA_0=Кирпич\r\nA_1=Панель\r\nCount=2\r\n"
                                                     "[Qual]\r\nQ_0=Цена\r\nQ_1=Площадь\r\nCount=2\r\n"
                                                     "[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=5\r\n");
        openScreen({u"Дом.qzr"_s}, house);
        click(m_screen, u"ButSavePrimer"_s);
        QCOMPARE(filesInDat(), (QStringList{u"Дом.qzr"_s, u"Шаблон Дом.qzp"_s}));
        QCOMPARE(column(m_templates, 1), QStringList{u"Шаблон Дом"_s});
        const QByteArray made = bytes(u"Шаблон Дом.qzp"_s); // what it holds, the storage tests check
        QVERIFY(made.contains(TestSupport::cp1251("Третий вариант")) && !made.contains("[QualM]"));

        click(m_screen, u"ButLoadPrimer"_s);
        QCOMPARE(filesInDat(), (QStringList{u"Дом (2).qzr"_s, u"Дом.qzr"_s, u"Шаблон Дом.qzp"_s}));
        QCOMPARE(bytes(u"Дом (2).qzr"_s), made);
        QCOMPARE(problemBytes(), house);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Дом (2)"_s);
        QVERIFY(QFile::remove(problemPath()));
        click(m_screen, u"ButLoadPrimer"_s);
        QCOMPARE(problemBytes(), made);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Дом"_s);

        // A folder where the template would go: the copy cannot be put in place, and leaves nothing.
        QVERIFY(QFile::remove(datDir() + u"/Шаблон Дом.qzp"_s) && QDir().mkpath(datDir() + u"/Шаблон Дом.qzp"_s));
        answer(Button::Ok);
        click(m_screen, u"ButSavePrimer"_s);
        QCOMPARE(boxes(), QStringList{u"error | Оптивар | Ошибка копирования файла."_s});
        const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(datDir()).entryList(everything),
                 (QStringList{u"Дом (2).qzr"_s, u"Дом.qzr"_s, u"Шаблон Дом.qzp"_s}));
        QCOMPARE(m_wizard->current(), m_screen);
    }
};

GUITEST_MAIN(TestProblemList)
#include "test_problem_list.moc"
