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

    void openScreen()
    {
        click(m_wizard->FormInit, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_screen);
        QVERIFY(QTest::qWaitForWindowExposed(m_screen));
        m_screen->activateWindow();
    }

    QStringList filesInDat() const { return QDir(datDir()).entryList(QDir::Files, QDir::Name); }

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
        QVERIFY(m_problems && m_templates && m_gedit);
    }

    void testEmptyFolderShowsTwoBlankGridsAndRefusesToGoOn()
    {
        openScreen();
        QCOMPARE(m_problems->RowCount(), 2);
        QCOMPARE(m_templates->RowCount(), 2);
        QCOMPARE(m_problems->Cells(1, 0), u"     Задачи"_s);
        QCOMPARE(m_templates->Cells(1, 0), u" Шаблоны задач"_s);
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

    void testListsAreSortedAndShowExactEndings()
    {
        for (const QString& name : {u"Яхта.qzr"_s, u"Дом.qzr"_s, u"Поездка.qzr.qzr"_s, u"Машина.QZR"_s,
                                    u"Шаблон Дом.qzp"_s, u"Квартира.qzp"_s})
            writeDat(name, QByteArray());
        openScreen();
        QCOMPARE(column(m_problems, 1), (QStringList{u"Дом"_s, u"Поездка.qzr"_s, u"Яхта"_s}));
        QCOMPARE(column(m_problems, 0), (QStringList{u"  1"_s, u"  2"_s, u"  3"_s}));
        QCOMPARE(column(m_templates, 1), (QStringList{u"Квартира"_s, u"Шаблон Дом"_s}));

        // The listed name opens that very file; back from it, the list stands on it again.
        select(m_problems, u"Поездка.qzr"_s);
        click(m_screen, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QCOMPARE(ComUnit::ProblemIni.path(), problemPath(u"Поездка.qzr"_s));
        click(m_wizard->FormListAlt, u"ButPrev"_s);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Поездка.qzr"_s);
    }

    // A new entry: proposed name, typed name, the ways of leaving the box; a refused
    // name is given back to be mended, and a commit that another action forces
    // gives the entry its proposed name or, when that is taken too, drops it.
    void testAddProblem_data()
    {
        QTest::addColumn<QStringList>("seeded");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("files");
        const QString taken = u"warning | Ошибка | Задача с именем \"%1\" уже существует."_s;
        QTest::newRow("typed, Enter") << QStringList() << false << u"Задача номер 1"_s << u"  Покупка дома  "_s
                                      << u"enter"_s << QStringList() << QStringList{u"Покупка дома"_s};
        QTest::newRow("Insert key, unchanged")
            << QStringList{u"Дом"_s} << true << u"Задача номер 2"_s << QString() << u"enter"_s << QStringList()
            << QStringList{u"Дом"_s, u"Задача номер 2"_s};
        QTest::newRow("typed, Продолжить commits first") << QStringList() << false << u"Задача номер 1"_s << u"Дача"_s
                                                         << u"next"_s << QStringList() << QStringList{u"Дача"_s};
        QTest::newRow("typed, a click on the grid")
            << QStringList{u"Дом"_s} << false << u"Задача номер 2"_s << u"Баня"_s << u"grid"_s << QStringList()
            << QStringList{u"Баня"_s, u"Дом"_s};
        QTest::newRow("taken name, then forced")
            << QStringList{u"Дача"_s} << false << u"Задача номер 2"_s << u"Дача"_s << u"enter"_s
            << QStringList(2, taken.arg(u"Дача"_s)) << QStringList{u"Дача"_s, u"Задача номер 2"_s};
        // Two added, the first deleted: the next proposal repeats the name still on disk.
        QTest::newRow("proposed name taken")
            << QStringList{u"Задача номер 2"_s} << false << u"Задача номер 2"_s << QString() << u"enter"_s
            << QStringList(2, taken.arg(u"Задача номер 2"_s)) << QStringList{u"Задача номер 2"_s};
    }

    void testAddProblem()
    {
        QFETCH(QStringList, seeded);
        QFETCH(bool, byKey);
        QFETCH(QString, proposed);
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, files);
        for (const QString& name : seeded)
            writeDat(name + u".qzr"_s, "other");
        openScreen();
        QVERIFY(QTest::qWaitForWindowActive(m_screen));
        if (byKey) {
            m_problems->setFocus();
            QTest::keyClick(m_problems, Qt::Key_Insert);
        } else {
            click(m_screen, u"ButInsert"_s);
        }
        QVERIFY(m_gedit->isVisible());
        QCOMPARE(m_gedit->selectedText(), proposed);
        QCOMPARE(filesInDat().size(), seeded.size()); // no file until the name is committed
        for (qsizetype i = 0; i < shown.size(); ++i)
            answer(Button::Ok);
        typeText(m_gedit, typed);
        if (leave == u"enter"_s) {
            QTest::keyClick(m_gedit, Qt::Key_Return);
        } else if (leave == u"next"_s) {
            click(m_screen, u"ButNext"_s);
        } else {
            const QRect first = m_problems->visualRect(m_problems->model()->index(0, 1));
            QTest::mouseClick(m_problems->viewport(), Qt::LeftButton, {}, first.center());
        }
        if (!shown.isEmpty()) {
            QVERIFY(m_gedit->isVisible());
            QCOMPARE(m_gedit->selectedText(), typed.isNull() ? proposed : typed);
            m_screen->finishEditing();
        }
        QTRY_VERIFY(!m_gedit->isVisible());
        QCOMPARE(boxes(), shown);
        QStringList listed = files;
        for (QString& name : listed)
            name += u".qzr"_s;
        QCOMPARE(filesInDat(), listed);
        for (const QString& name : files)
            QCOMPARE(TestSupport::readBytes(problemPath(name)), seeded.contains(name) ? "other" : QByteArray());
        QCOMPARE(m_problems->Count(), files.size());
        if (leave == u"next"_s) {
            QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
            QCOMPARE(ComUnit::ProblemFile, problemPath(files.first()));
            QCOMPARE(ComUnit::ProblemIni.path(), ComUnit::ProblemFile);
        }
    }

    // Renames of a problem or a template; a refused name opens the box again with
    // it, to be mended (here the old name is typed back), and nothing changes.
    void testRename_data()
    {
        QTest::addColumn<bool>("templates");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        const QString chars = u"Имя не может содержать символы \\ / : * ? \" < > |."_s;
        QTest::newRow("problem, F2") << false << u"F2"_s << u"Баня"_s << QString();
        QTest::newRow("problem, blanks cut") << false << u"button"_s << u"  Баня  "_s << QString();
        // One row per kind of refusal; every character and limit is covered by the core tests.
        QTest::newRow("path") << false << u"button"_s << u"../Дом"_s << chars;
        QTest::newRow("empty") << false << u"button"_s << u"   "_s << u"Имя не может быть пустым."_s;
        QTest::newRow("dots") << false << u"button"_s << u".."_s << u"Имя не может состоять из одних точек."_s;
        QTest::newRow("trailing dot") << false << u"F2"_s << u"Дом."_s
                                      << u"Имя не может оканчиваться пробелом или точкой."_s;
        QTest::newRow("too long") << false << u"button"_s << QString(126, u'ж')
                                  << u"Имя слишком длинное для имени файла."_s;
        QTest::newRow("taken") << false << u"button"_s << u"Дача"_s << u"Задача с именем \"Дача\" уже существует."_s;
        QTest::newRow("template, typed") << true << u"type"_s << u"Жилье"_s << QString();
        QTest::newRow("template, button") << true << u"button"_s << u"Баня"_s << QString();
        QTest::newRow("template, taken") << true << u"button"_s << u"Дача"_s
                                         << u"Шаблон с именем \"Дача\" уже существует."_s;
    }

    void testRename()
    {
        QFETCH(bool, templates);
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        const QString ending = templates ? u".qzp"_s : u".qzr"_s;
        writeDat(u"Дом"_s + ending, "house");
        writeDat(u"Дача"_s + ending, "other");
        openScreen();
        TStGCollect* grid = templates ? m_templates : m_problems;
        select(grid, u"Дом"_s);
        const auto editor = [&]() -> NameEdit* { return templates ? grid->editor() : m_gedit; };
        if (start == u"F2"_s) {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_F2);
        } else if (start == u"button"_s) {
            click(m_screen, templates ? u"ButEditPrimer"_s : u"ButEdit"_s);
        } else {
            grid->setFocus();
            grid->setCol(1);
            typeText(grid, typed.first(1));
        }
        QVERIFY(editor() && editor()->isVisible());
        QCOMPARE(start == u"type"_s ? editor()->text() : editor()->selectedText(),
                 start == u"type"_s ? typed.first(1) : u"Дом"_s);
        typeText(editor(), start == u"type"_s ? typed.mid(1) : typed);
        if (!refusal.isEmpty())
            answer(Button::Ok);
        QTest::keyClick(editor(), Qt::Key_Return);
        const QString name = refusal.isEmpty() ? typed.trimmed() : u"Дом"_s;
        if (!refusal.isEmpty()) {
            QVERIFY(editor() && editor()->isVisible());
            QCOMPARE(editor()->selectedText(), typed);
            typeText(editor(), u"Дом"_s);
            QTest::keyClick(editor(), Qt::Key_Return);
            QCOMPARE(boxes(), QStringList{u"warning | Ошибка | "_s + refusal});
        }
        QVERIFY(!editor() || !editor()->isVisible());
        QStringList expected{u"Дача"_s + ending, name + ending};
        expected.sort();
        QCOMPARE(filesInDat(), expected);
        QCOMPARE(TestSupport::readBytes(datDir() + u'/' + name + ending), QByteArray("house"));
        QCOMPARE(TestSupport::readBytes(datDir() + u"/Дача"_s + ending), QByteArray("other"));
        QCOMPARE(grid->CurrentItem()->Name, name);
        QVERIFY(QDir::current().entryList(QDir::Files).isEmpty()); // nothing outside the folder
    }

    void testDelete_data()
    {
        QTest::addColumn<bool>("templates");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<Button>("answer");
        QTest::addColumn<QStringList>("left");
        const QStringList both = {u"Дача"_s, u"Дом"_s};
        QTest::newRow("problem, button, no") << false << false << Button::No << both;
        QTest::newRow("problem, Del, yes") << false << true << Button::Yes << QStringList{u"Дача"_s};
        QTest::newRow("template, button, yes") << true << false << Button::Yes << QStringList{u"Дача"_s};
        QTest::newRow("template, Del, no") << true << true << Button::No << both;
    }

    void testDelete()
    {
        QFETCH(bool, templates);
        QFETCH(bool, byKey);
        QFETCH(Button, answer);
        QFETCH(QStringList, left);
        const QString ending = templates ? u".qzp"_s : u".qzr"_s;
        writeDat(u"Дом"_s + ending, QByteArray());
        writeDat(u"Дача"_s + ending, QByteArray());
        openScreen();
        TStGCollect* grid = templates ? m_templates : m_problems;
        select(grid, u"Дом"_s);
        this->answer(answer);
        if (byKey) {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Delete);
        } else {
            click(m_screen, templates ? u"ButDelPrimer"_s : u"ButDelete"_s);
        }
        QCOMPARE(boxes(), QStringList{templates ? u"question | Вопрос | Удалить шаблон задачи ?"_s
                                                : u"question | Вопрос | Удалить задачу ?"_s});
        QCOMPARE(column(grid, 1), left);
        for (QString& name : left)
            name += ending;
        QCOMPARE(filesInDat(), left);
        QCOMPARE(column(grid, 0).last(), u"  "_s + QString::number(left.size()));
    }

    void testDeleteOfAVanishedFileShowsTheErrorAndKeepsTheEntry()
    {
        writeDat(u"Дом.qzr"_s, QByteArray());
        openScreen();
        QVERIFY(QFile::remove(problemPath()));
        answer(Button::Yes);
        answer(Button::Ok);
        click(m_screen, u"ButDelete"_s);
        QCOMPARE(boxes(),
                 (QStringList{u"question | Вопрос | Удалить задачу ?"_s, u"error | Оптивар | File not found."_s}));
        QCOMPARE(column(m_problems, 1), QStringList{u"Дом"_s});
        QCOMPARE(m_wizard->current(), m_screen);
    }

    void testSaveAsTemplateAndAddFromIt()
    {
        const QByteArray house = TestSupport::cp1251("[Alt]\r\nA_0=Кирпич\r\nA_1=Панель\r\nCount=2\r\n"
                                                     "[Qual]\r\nQ_0=Цена\r\nQ_1=Площадь\r\nCount=2\r\n"
                                                     "[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=5\r\n");
        writeDat(u"Дом.qzr"_s, house);
        openScreen();
        click(m_screen, u"ButSavePrimer"_s);
        QCOMPARE(filesInDat(), (QStringList{u"Дом.qzr"_s, u"Шаблон Дом.qzp"_s}));
        QCOMPARE(column(m_templates, 1), QStringList{u"Шаблон Дом"_s});
        const QString made = datDir() + u"/Шаблон Дом.qzp"_s;
        IniFile file(made);
        QCOMPARE(file.readString(ProblemKeys::AltSection, u"A_2", QString()), u"Третий вариант"_s);
        QCOMPARE(file.readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, 0), 3);
        QCOMPARE(file.readString(ProblemKeys::QualSection, u"Q_1", QString()), u"Площадь"_s);
        QVERIFY(!file.snapshot()->hasSection(ProblemKeys::JudgementSection));

        // "Дом" is taken: the new problem gets the first free name.
        click(m_screen, u"ButLoadPrimer"_s);
        QCOMPARE(filesInDat(), (QStringList{u"Дом (2).qzr"_s, u"Дом.qzr"_s, u"Шаблон Дом.qzp"_s}));
        QCOMPARE(TestSupport::readBytes(problemPath(u"Дом (2)"_s)), TestSupport::readBytes(made));
        QCOMPARE(problemBytes(), house);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Дом (2)"_s);

        // Once the problem is gone, from the template comes "Дом" again.
        QVERIFY(QFile::remove(problemPath()));
        click(m_screen, u"ButLoadPrimer"_s);
        QCOMPARE(TestSupport::readBytes(problemPath()), TestSupport::readBytes(made));
        QCOMPARE(column(m_problems, 1), (QStringList{u"Дом"_s, u"Дом (2)"_s}));
        QCOMPARE(m_problems->CurrentItem()->Name, u"Дом"_s);
    }

    void testFailedTemplateCopyIsShownAndLeavesNoPartialFile()
    {
        writeDat(u"Дом.qzr"_s, "house");
        // A folder where the template would go: the copy cannot be put in place.
        QVERIFY(QDir().mkpath(datDir() + u"/Шаблон Дом.qzp"_s));
        openScreen();
        answer(Button::Ok);
        click(m_screen, u"ButSavePrimer"_s);
        QCOMPARE(boxes(), QStringList{u"error | Оптивар | Ошибка копирования файла."_s});
        QCOMPARE(filesInDat(), QStringList{u"Дом.qzr"_s});
        const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(datDir()).entryList(everything).size(), 2); // no temporary file left
        QCOMPARE(m_templates->Count(), 0);
        QCOMPARE(m_wizard->current(), m_screen);
    }
};

GUITEST_MAIN(TestProblemList)
#include "test_problem_list.moc"
