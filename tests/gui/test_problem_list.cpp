// The problem list and the templates, driven as a user would, with the data
// folder checked after every step.
#include "lists/ui/NameEdit.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TStGCollect.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "shell/ui/WizardScreen.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/ui/TFormListProblem.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;
using Dialogs::Kind;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

const QByteArray HouseProblem = cp1251("[Alt]\r\nA_0=Кирпич\r\nA_1=Панель\r\nCount=2\r\n"
                                       "[Qual]\r\nQ_0=Цена\r\nQ_1=Площадь\r\nCount=2\r\n"
                                       "[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=5\r\n");

} // namespace

class TestProblemList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;
    TFormListProblem* m_screen = nullptr;
    TStGCollect* m_problems = nullptr;
    TStGCollect* m_templates = nullptr;
    NameEdit* m_gedit = nullptr;

    ScriptedDialogs& dialogs() { return m_session->dialogs(); }

    void click(const QString& button)
    {
        auto* b = GuiTest::child<QPushButton>(m_screen, button);
        QVERIFY2(b, qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    }

    /// Opens the problem list from the intro screen, as the user does.
    void openScreen()
    {
        auto* next = GuiTest::child<QPushButton>(m_wizard->FormInit, u"ButNext"_s);
        QVERIFY(next);
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        QVERIFY(QTest::qWaitForWindowExposed(m_screen));
        m_screen->activateWindow();
    }

    void seed(const QString& file, const QByteArray& bytes = QByteArray())
    {
        QDir().mkpath(m_session->datDir());
        writeBytes(m_session->datDir() + u'/' + file, bytes);
    }

    QStringList column(TStGCollect* grid, int col)
    {
        QStringList out;
        for (int row = 1; row < grid->RowCount(); ++row)
            out << grid->Cells(col, row);
        return out;
    }

    QStringList filesInDat() { return QDir(m_session->datDir()).entryList(QDir::Files, QDir::Name); }

    void selectProblem(const QString& name)
    {
        for (int i = 0; i < m_problems->Count(); ++i) {
            if (m_problems->Items(i)->Name == name) {
                m_problems->setRow(i + 1);
                return;
            }
        }
        QFAIL(qPrintable(u"no problem "_s + name));
    }

    /// Replaces the text of the rename box and leaves it with Enter.
    void typeName(const QString& name)
    {
        QVERIFY(m_gedit->isVisible());
        m_gedit->selectAll();
        QTest::keyClick(m_gedit, Qt::Key_Delete);
        GuiTest::typeText(m_gedit, name);
        QTest::keyClick(m_gedit, Qt::Key_Return);
        QVERIFY(!m_gedit->isVisible());
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init()
    {
        m_session = std::make_unique<GuiTest::Session>();
        QVERIFY(m_session->isValid());
        m_wizard = std::make_unique<Wizard>();
        m_wizard->start();
        m_screen = m_wizard->FormListProblem;
        m_problems = GuiTest::child<TStGCollect>(m_screen, u"StGList"_s);
        m_templates = GuiTest::child<TStGCollect>(m_screen, u"StGPrimer"_s);
        m_gedit = GuiTest::child<NameEdit>(m_screen, u"GEdit"_s);
        QVERIFY(m_problems && m_templates && m_gedit);
    }

    void cleanup()
    {
        if (QTest::currentTestFailed())
            m_session->keepScreenshot(m_screen, u"failed"_s);
        GUITEST_CHECK_DIALOGS(*m_session);
        m_wizard.reset();
        m_session.reset();
    }

    void testEmptyFolderShowsTwoBlankGridsAndRefusesToGoOn()
    {
        openScreen();
        QCOMPARE(m_problems->RowCount(), 2);
        QCOMPARE(m_templates->RowCount(), 2);
        QCOMPARE(m_problems->Cells(1, 0), u"     Задачи"_s);
        QCOMPARE(m_templates->Cells(1, 0), u" Шаблоны задач"_s);
        QVERIFY(QFileInfo(m_session->datDir()).isDir());

        dialogs().answer(Button::Ok);
        click(u"ButNext"_s);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Plain);
        QCOMPARE(dialogs().calls().at(0).title, u"Ошибка"_s);
        QCOMPARE(dialogs().calls().at(0).text, u"Список задач не может быть пустым."_s);
        QCOMPARE(m_wizard->current(), m_screen);
    }

    void testOperationsOnEmptyGridsDoNothing()
    {
        openScreen();
        for (const QString& button : {u"ButDelete"_s, u"ButEdit"_s, u"ButSavePrimer"_s, u"ButLoadPrimer"_s,
                                      u"ButEditPrimer"_s, u"ButDelPrimer"_s})
            click(button);
        QVERIFY(dialogs().calls().isEmpty());
        QVERIFY(filesInDat().isEmpty());
        QVERIFY(!m_gedit->isVisible());
    }

    void testListsAreSortedAndShowExactEndings()
    {
        seed(u"Яхта.qzr"_s);
        seed(u"Дом.qzr"_s);
        seed(u"Поездка.qzr.qzr"_s);
        seed(u"Машина.QZR"_s);
        seed(u"Шаблон Дом.qzp"_s);
        seed(u"Квартира.qzp"_s);
        openScreen();
        QCOMPARE(column(m_problems, 1), (QStringList{u"Дом"_s, u"Поездка.qzr"_s, u"Яхта"_s}));
        QCOMPARE(column(m_problems, 0), (QStringList{u"  1"_s, u"  2"_s, u"  3"_s}));
        QCOMPARE(column(m_templates, 1), (QStringList{u"Квартира"_s, u"Шаблон Дом"_s}));

        // The listed name opens that very file.
        selectProblem(u"Поездка.qzr"_s);
        click(u"ButNext"_s);
        QCOMPARE(ComUnit::ProblemIni.path(), m_session->problemPath(u"Поездка.qzr"_s));
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        // Back from it, the list stands on it again.
        GuiTest::click(m_wizard->FormListAlt, u"ButPrev"_s);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Поездка.qzr"_s);
    }

    void testAddTypeNameAndGoOn()
    {
        openScreen();
        click(u"ButInsert"_s);
        QVERIFY(m_gedit->isVisible());
        QCOMPARE(m_gedit->text(), u"Задача номер 1"_s);
        QVERIFY(filesInDat().isEmpty()); // no file until the name is committed
        typeName(u"  Покупка дома  "_s);
        QCOMPARE(filesInDat(), QStringList{u"Покупка дома.qzr"_s});
        QCOMPARE(QFileInfo(m_session->problemPath(u"Покупка дома"_s)).size(), 0);
        QCOMPARE(column(m_problems, 1), QStringList{u"Покупка дома"_s});
        QCOMPARE(column(m_problems, 0), QStringList{u"  1"_s});

        click(u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QCOMPARE(ComUnit::ProblemFile, m_session->problemPath(u"Покупка дома"_s));
        QCOMPARE(ComUnit::ProblemIni.path(), ComUnit::ProblemFile);
    }

    void testAddWithTheKeyAndLeaveUnchanged()
    {
        seed(u"Дом.qzr"_s);
        openScreen();
        m_problems->setFocus();
        QTest::keyClick(m_problems, Qt::Key_Insert);
        QVERIFY(m_gedit->isVisible());
        QCOMPARE(m_gedit->text(), u"Задача номер 2"_s);
        QTest::keyClick(m_gedit, Qt::Key_Return);
        QCOMPARE(filesInDat(), (QStringList{u"Дом.qzr"_s, u"Задача номер 2.qzr"_s}));
    }

    void testLeavingTheBoxByClickingElsewhereCommits()
    {
        openScreen();
        click(u"ButInsert"_s);
        GuiTest::typeText(m_gedit, u"Дача"_s); // replaces the proposed name, which is selected
        // "Продолжить" commits the open name first and then goes on with it.
        click(u"ButNext"_s);
        QCOMPARE(filesInDat(), QStringList{u"Дача.qzr"_s});
        QCOMPARE(ComUnit::ProblemFile, m_session->problemPath(u"Дача"_s));
    }

    void testClickingTheGridLeavesTheBoxAndCommits()
    {
        seed(u"Дом.qzr"_s);
        openScreen();
        QVERIFY(QTest::qWaitForWindowActive(m_screen));
        click(u"ButInsert"_s);
        QVERIFY(m_gedit->isVisible());
        GuiTest::typeText(m_gedit, u"Баня"_s);
        const QRect first = m_problems->visualRect(m_problems->model()->index(0, 1));
        QTest::mouseClick(m_problems->viewport(), Qt::LeftButton, {}, first.center());
        QTRY_VERIFY(!m_gedit->isVisible());
        QCOMPARE(filesInDat(), (QStringList{u"Баня.qzr"_s, u"Дом.qzr"_s}));
    }

    void testRenameWithF2()
    {
        seed(u"Дом.qzr"_s, HouseProblem);
        openScreen();
        m_problems->setFocus();
        QTest::keyClick(m_problems, Qt::Key_F2);
        QCOMPARE(m_gedit->selectedText(), u"Дом"_s);
        typeName(u"Дача"_s);
        QCOMPARE(filesInDat(), QStringList{u"Дача.qzr"_s});
        QCOMPARE(readBytes(m_session->problemPath(u"Дача"_s)), HouseProblem);
        QCOMPARE(column(m_problems, 1), QStringList{u"Дача"_s});
    }

    void testRenameRefusals_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString chars = u"Имя не может содержать символы \\ / : * ? \" < > |."_s;
        // One row per kind of refusal; every character and limit is covered by the core tests.
        QTest::newRow("path") << u"../Дом"_s << chars;
        QTest::newRow("empty") << u"   "_s << u"Имя не может быть пустым."_s;
        QTest::newRow("dots") << u".."_s << u"Имя не может состоять из одних точек."_s;
        QTest::newRow("trailing dot") << u"Дом."_s << u"Имя не может оканчиваться пробелом или точкой."_s;
        QTest::newRow("too long") << QString(126, u'ж') << u"Имя слишком длинное для имени файла."_s;
        QTest::newRow("taken") << u"Дача"_s << u"Задача с именем \"Дача\" уже существует."_s;
    }

    void testRenameRefusals()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        seed(u"Дом.qzr"_s, HouseProblem);
        seed(u"Дача.qzr"_s, "other");
        openScreen();
        selectProblem(u"Дом"_s);
        dialogs().answer(Button::Ok);
        click(u"ButEdit"_s);
        GuiTest::typeText(m_gedit, typed); // replaces the name, which is selected
        QTest::keyClick(m_gedit, Qt::Key_Return);
        // The box opens again with the refused name, to be mended; the old one is typed back here.
        QVERIFY(m_gedit->isVisible());
        QCOMPARE(m_gedit->selectedText(), typed);
        typeName(u"Дом"_s);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Warning);
        QCOMPARE(dialogs().calls().at(0).title, u"Ошибка"_s);
        QCOMPARE(dialogs().calls().at(0).text, message);
        QCOMPARE(filesInDat(), (QStringList{u"Дача.qzr"_s, u"Дом.qzr"_s}));
        QCOMPARE(readBytes(m_session->problemPath(u"Дом"_s)), HouseProblem);
        QCOMPARE(readBytes(m_session->problemPath(u"Дача"_s)), QByteArray("other"));
        QCOMPARE(m_problems->CurrentItem()->Name, u"Дом"_s);
        QVERIFY(QDir(m_session->path()).entryList(QDir::Files).isEmpty()); // nothing outside the folder
    }

    // A refused name is given back to be mended; a commit that another action forces
    // gives the entry its proposed name instead.
    void testNewProblemWithRefusedName()
    {
        seed(u"Дача.qzr"_s, "other");
        openScreen();
        click(u"ButInsert"_s);
        dialogs().answer(Button::Ok);
        GuiTest::typeText(m_gedit, u"Дача"_s);
        QTest::keyClick(m_gedit, Qt::Key_Return);
        QCOMPARE(dialogs().calls().at(0).text, u"Задача с именем \"Дача\" уже существует."_s);
        QVERIFY(m_gedit->isVisible());
        QCOMPARE(m_gedit->selectedText(), u"Дача"_s);
        QCOMPARE(filesInDat(), QStringList{u"Дача.qzr"_s});
        dialogs().answer(Button::Ok);
        m_screen->finishEditing();
        QVERIFY(!m_gedit->isVisible());
        QCOMPARE(filesInDat(), (QStringList{u"Дача.qzr"_s, u"Задача номер 2.qzr"_s}));
        QCOMPARE(readBytes(m_session->problemPath(u"Дача"_s)), QByteArray("other"));
        QCOMPARE(m_problems->CurrentItem()->Name, u"Задача номер 2"_s);
    }

    void testNewProblemWhoseProposedNameIsTakenNeverTakesThatFile()
    {
        // Two added, the first deleted: the next proposal repeats the name still on disk.
        seed(u"Задача номер 2.qzr"_s, HouseProblem);
        openScreen();
        click(u"ButInsert"_s);
        QCOMPARE(m_gedit->text(), u"Задача номер 2"_s);
        dialogs().answer(Button::Ok);
        QTest::keyClick(m_gedit, Qt::Key_Return);
        QCOMPARE(dialogs().calls().at(0).text, u"Задача с именем \"Задача номер 2\" уже существует."_s);
        dialogs().answer(Button::Ok);
        m_screen->finishEditing();
        QCOMPARE(filesInDat(), QStringList{u"Задача номер 2.qzr"_s});
        QCOMPARE(readBytes(m_session->problemPath(u"Задача номер 2"_s)), HouseProblem);
        QCOMPARE(m_problems->Count(), 1);
    }

    void testDelete()
    {
        seed(u"Дом.qzr"_s);
        seed(u"Дача.qzr"_s);
        openScreen();
        selectProblem(u"Дом"_s);
        dialogs().answer(Button::No);
        click(u"ButDelete"_s);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Question);
        QCOMPARE(dialogs().calls().at(0).title, u"Вопрос"_s);
        QCOMPARE(dialogs().calls().at(0).text, u"Удалить задачу ?"_s);
        QCOMPARE(filesInDat().size(), 2);

        dialogs().answer(Button::Yes);
        m_problems->setFocus();
        QTest::keyClick(m_problems, Qt::Key_Delete);
        QCOMPARE(dialogs().calls().size(), 2);
        QCOMPARE(filesInDat(), QStringList{u"Дача.qzr"_s});
        QCOMPARE(column(m_problems, 1), QStringList{u"Дача"_s});
        QCOMPARE(column(m_problems, 0), QStringList{u"  1"_s});
    }

    void testDeleteOfAVanishedFileShowsTheErrorAndKeepsTheEntry()
    {
        seed(u"Дом.qzr"_s);
        openScreen();
        QVERIFY(QFile::remove(m_session->problemPath(u"Дом"_s)));
        dialogs().answer(Button::Yes);
        dialogs().answer(Button::Ok);
        click(u"ButDelete"_s);
        QCOMPARE(dialogs().calls().size(), 2);
        QCOMPARE(dialogs().calls().at(1).kind, Kind::Error);
        QCOMPARE(dialogs().calls().at(1).title, u"Оптивар"_s);
        QCOMPARE(dialogs().calls().at(1).text, u"File not found."_s);
        QCOMPARE(column(m_problems, 1), QStringList{u"Дом"_s});
        QCOMPARE(m_wizard->current(), m_screen);
    }

    void testSaveAsTemplateAndAddFromIt()
    {
        seed(u"Дом.qzr"_s, HouseProblem);
        openScreen();
        click(u"ButSavePrimer"_s);
        QCOMPARE(QDir(m_session->datDir()).entryList({u"*.qzp"_s}), QStringList{u"Шаблон Дом.qzp"_s});
        QCOMPARE(column(m_templates, 1), QStringList{u"Шаблон Дом"_s});
        IniFile made(m_session->templatePath(u"Шаблон Дом"_s));
        QCOMPARE(made.readString(ProblemKeys::AltSection, u"A_2", QString()), u"Третий вариант"_s);
        QCOMPARE(made.readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, 0), 3);
        QCOMPARE(made.readString(ProblemKeys::QualSection, u"Q_1", QString()), u"Площадь"_s);
        QVERIFY(!made.snapshot()->hasSection(ProblemKeys::JudgementSection));
        QCOMPARE(readBytes(m_session->problemPath(u"Дом"_s)), HouseProblem);

        // "Дом" is taken: the new problem gets the first free name.
        click(u"ButLoadPrimer"_s);
        QCOMPARE(QDir(m_session->datDir()).entryList({u"*.qzr"_s}, QDir::Files, QDir::Name),
                 (QStringList{u"Дом (2).qzr"_s, u"Дом.qzr"_s}));
        QCOMPARE(readBytes(m_session->problemPath(u"Дом (2)"_s)), readBytes(m_session->templatePath(u"Шаблон Дом"_s)));
        QCOMPARE(readBytes(m_session->problemPath(u"Дом"_s)), HouseProblem);
        QCOMPARE(m_problems->CurrentItem()->Name, u"Дом (2)"_s);
        QVERIFY(dialogs().calls().isEmpty());
    }

    void testFailedTemplateCopyIsShownAndLeavesNoPartialFile()
    {
        seed(u"Дом.qzr"_s, HouseProblem);
        // A folder where the template would go: the copy cannot be put in place.
        QVERIFY(QDir().mkpath(m_session->templatePath(u"Шаблон Дом"_s)));
        openScreen();
        dialogs().answer(Button::Ok);
        click(u"ButSavePrimer"_s);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Error);
        QCOMPARE(dialogs().calls().at(0).title, u"Оптивар"_s);
        QCOMPARE(dialogs().calls().at(0).text, u"Ошибка копирования файла."_s);
        QCOMPARE(filesInDat(), QStringList{u"Дом.qzr"_s});
        const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(m_session->datDir()).entryList(everything).size(), 2); // no temporary file left
        QCOMPARE(m_templates->Count(), 0);
        QCOMPARE(m_wizard->current(), m_screen);
    }

    void testAddFromTemplateWhenTheProblemIsGone()
    {
        seed(u"Шаблон Дом.qzp"_s, "[Qual]\r\nQ_0=x\r\nCount=1\r\n");
        openScreen();
        click(u"ButLoadPrimer"_s);
        QCOMPARE(column(m_problems, 1), QStringList{u"Дом"_s});
        QCOMPARE(readBytes(m_session->problemPath(u"Дом"_s)), QByteArray("[Qual]\r\nQ_0=x\r\nCount=1\r\n"));
    }

    void testRenameTemplateByTyping()
    {
        seed(u"Шаблон Дом.qzp"_s, "content");
        openScreen();
        m_templates->setFocus();
        m_templates->setCol(1);
        GuiTest::typeText(m_templates, u"Ж"_s);
        QVERIFY(m_templates->editor());
        QCOMPARE(m_templates->editor()->text(), u"Ж"_s);
        GuiTest::typeText(m_templates->editor(), u"илье"_s);
        QTest::keyClick(m_templates->editor(), Qt::Key_Return);
        QCOMPARE(QDir(m_session->datDir()).entryList(QDir::Files), QStringList{u"Жилье.qzp"_s});
        QCOMPARE(readBytes(m_session->templatePath(u"Жилье"_s)), QByteArray("content"));
        QCOMPARE(column(m_templates, 1), QStringList{u"Жилье"_s});
    }

    void testRenameTemplateToAnotherTemplatesNameIsRefused()
    {
        seed(u"А.qzp"_s, "first");
        seed(u"Б.qzp"_s, "second");
        openScreen();
        m_templates->setRow(1);
        click(u"ButEditPrimer"_s);
        QVERIFY(m_templates->editor());
        QCOMPARE(m_templates->editor()->text(), u"А"_s);
        GuiTest::typeText(m_templates->editor(), u"Б"_s);
        dialogs().answer(Button::Ok);
        QTest::keyClick(m_templates->editor(), Qt::Key_Return);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Warning);
        QCOMPARE(dialogs().calls().at(0).text, u"Шаблон с именем \"Б\" уже существует."_s);
        QVERIFY(m_templates->editor());
        QCOMPARE(m_templates->editor()->selectedText(), u"Б"_s);
        GuiTest::typeText(m_templates->editor(), u"А"_s);
        QTest::keyClick(m_templates->editor(), Qt::Key_Return);
        QCOMPARE(readBytes(m_session->templatePath(u"А"_s)), QByteArray("first"));
        QCOMPARE(readBytes(m_session->templatePath(u"Б"_s)), QByteArray("second"));
        QCOMPARE(column(m_templates, 1), (QStringList{u"А"_s, u"Б"_s}));
    }

    void testDeleteTemplate()
    {
        seed(u"Шаблон Дом.qzp"_s);
        seed(u"Дом.qzr"_s);
        openScreen();
        dialogs().answer(Button::No);
        click(u"ButDelPrimer"_s);
        QCOMPARE(dialogs().calls().at(0).text, u"Удалить шаблон задачи ?"_s);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Question);
        QCOMPARE(m_templates->Count(), 1);

        dialogs().answer(Button::Yes);
        m_templates->setFocus();
        QTest::keyClick(m_templates, Qt::Key_Delete);
        QCOMPARE(filesInDat(), QStringList{u"Дом.qzr"_s});
        QCOMPARE(m_templates->Count(), 0);
        QCOMPARE(m_problems->Count(), 1); // Del on the template grid leaves the problems alone
    }

    void testScreenTexts()
    {
        openScreen();
        auto* memo = GuiTest::child<QPlainTextEdit>(m_screen, u"MemoInf"_s);
        QVERIFY(memo);
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 21);
        QCOMPARE(lines.at(0), u"В левой части окна Вы видите список "_s);
        QCOMPARE(lines.at(7), u"задачи в список, а затем  нажать "_s);
        QCOMPARE(lines.at(20), u"\"Добавить по  шаблону\""_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_screen, u"ButInsert"_s)->toolTip(),
                 u"Добавить новую пустую задачу в список"_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_screen, u"ButDelete"_s)->toolTip(), u"Удалить задачу из списка"_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_screen, u"ButEdit"_s)->toolTip(), u"Изменить наименование задачи"_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_screen, u"ButPrev"_s)->text(), u"Вернуться"_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_screen, u"ButNext"_s)->text(), u"Продолжить"_s);
    }
};

QTEST_MAIN(TestProblemList)
#include "test_problem_list.moc"
