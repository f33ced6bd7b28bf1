// The alternatives and criteria screens: loading, editing, the count checks of
// each forward button, saving when left, and the rebuild of the judgements.
#include "lists/ui/NameEdit.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "lists/ui/TStGCollect.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"
#include "storage/ui/TFormListProblem.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;
using Dialogs::Kind;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

QByteArray listSection(const char* section, const char* prefix, int count, bool withCount = true)
{
    QByteArray out = QByteArray("[") + section + "]\r\n";
    for (int i = 0; i < count; ++i)
        out += prefix + QByteArray::number(i) + "=" + cp1251("Элемент ") + QByteArray::number(i) + "\r\n";
    if (withCount)
        out += "Count=" + QByteArray::number(count) + "\r\n";
    return out;
}

QByteArray problemWith(int alternatives, int criteria)
{
    return listSection("Alt", "A_", alternatives) + listSection("Qual", "Q_", criteria);
}

} // namespace

using GuiTest::click;

class TestItemLists : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;

    ScriptedDialogs& dialogs() { return m_session->dialogs(); }
    QString problemPath() const { return m_session->problemPath(u"Дом"_s); }

    static TStGCollect* grid(QWidget* screen) { return GuiTest::child<TStGCollect>(screen, u"StGList"_s); }

    static QStringList column(QWidget* screen, int col)
    {
        QStringList out;
        TStGCollect* g = grid(screen);
        for (int row = 1; row < g->RowCount(); ++row)
            out << g->Cells(col, row);
        return out;
    }

    QStringList savedNames(ProblemLists::Kind kind)
    {
        QStringList out;
        for (const TLElem& item : ProblemLists::load(IniFile(problemPath()), kind))
            out << u"%1=%2"_s.arg(item.Num).arg(item.Name);
        return out;
    }

    /// Intro, problem list with the one problem "Дом", and on to its alternatives.
    void openAlternatives(const QByteArray& problem)
    {
        QDir().mkpath(m_session->datDir());
        writeBytes(problemPath(), problem);
        click(m_wizard->FormInit, u"ButNext"_s);
        click(m_wizard->FormListProblem, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QVERIFY(QTest::qWaitForWindowExposed(m_wizard->FormListAlt));
    }

    void openCriteria(const QByteArray& problem)
    {
        openAlternatives(problem);
        const int n = grid(m_wizard->FormListAlt)->Count();
        if (n > ProblemLists::MaxCompactCount)
            dialogs().answer(Button::Ok);
        click(m_wizard->FormListAlt, u"ButNext"_s);
        dialogs().clearCalls();
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
    }

    void addItem(QWidget* screen, const QString& name)
    {
        click(screen, u"ButInsert"_s);
        auto* gedit = GuiTest::child<NameEdit>(screen, u"GEdit"_s);
        QVERIFY(gedit && gedit->isVisible());
        GuiTest::typeText(gedit, name); // replaces the proposed name, which is selected
        QTest::keyClick(gedit, Qt::Key_Return);
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init()
    {
        m_session = std::make_unique<GuiTest::Session>();
        QVERIFY(m_session->isValid());
        ComUnit::AltCount = 0;
        ComUnit::InterfaceMode = 0;
        m_wizard = std::make_unique<Wizard>();
        m_wizard->start();
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && m_wizard)
            m_session->keepScreenshot(m_wizard->current(), u"failed"_s);
        GUITEST_CHECK_DIALOGS(*m_session);
        m_wizard.reset();
        m_session.reset();
    }

    void testLoadKeepsPositionsAndLeavingRenumbers()
    {
        openAlternatives(cp1251("[Alt]\r\nA_0=Налево\r\nA_2=Направо\r\nA_5=Прямо\r\nA_3=***НЕТ***\r\nCount=9\r\n"));
        QWidget* screen = m_wizard->FormListAlt;
        QCOMPARE(column(screen, 0), (QStringList{u"  1"_s, u"  3"_s, u"  6"_s}));
        QCOMPARE(column(screen, 1), (QStringList{u"Налево"_s, u"Направо"_s, u"Прямо"_s}));
        QCOMPARE(grid(screen)->Cells(1, 0), u"     Альтернативы"_s);

        click(screen, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        QCOMPARE(savedNames(ProblemLists::Kind::Alternatives),
                 (QStringList{u"0=Налево"_s, u"1=Направо"_s, u"2=Прямо"_s}));
        IniFile file(problemPath());
        QCOMPARE(file.readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, -1), 3);
        QCOMPARE(file.readString(ProblemKeys::AltSection, u"A_5", u"-"_s), u"-"_s);
    }

    void testOnlyElevenPositionsAreRead()
    {
        openAlternatives(listSection("Alt", "A_", 12));
        QCOMPARE(grid(m_wizard->FormListAlt)->Count(), 11);
        QCOMPARE(column(m_wizard->FormListAlt, 1).last(), u"Элемент 10"_s);
    }

    void testAddAlternativesAndGoOn()
    {
        openAlternatives(QByteArray());
        QWidget* screen = m_wizard->FormListAlt;
        click(screen, u"ButInsert"_s);
        auto* gedit = GuiTest::child<NameEdit>(screen, u"GEdit"_s);
        QCOMPARE(gedit->text(), u"Альтернатива номер 1"_s);
        QTest::keyClick(gedit, Qt::Key_Return);
        addItem(screen, u"Направо"_s);
        addItem(screen, u"Прямо"_s);
        QCOMPARE(column(screen, 1), (QStringList{u"Альтернатива номер 1"_s, u"Направо"_s, u"Прямо"_s}));
        QCOMPARE(readBytes(problemPath()), QByteArray()); // nothing written before the screen is left

        click(screen, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QCOMPARE(savedNames(ProblemLists::Kind::Alternatives),
                 (QStringList{u"0=Альтернатива номер 1"_s, u"1=Направо"_s, u"2=Прямо"_s}));
        QCOMPARE(ComUnit::AltCount, 3);
    }

    void testRenameAndDelete()
    {
        openAlternatives(problemWith(3, 0));
        QWidget* screen = m_wizard->FormListAlt;
        TStGCollect* g = grid(screen);
        g->setRow(2);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_F2);
        auto* gedit = GuiTest::child<NameEdit>(screen, u"GEdit"_s);
        QCOMPARE(gedit->selectedText(), u"Элемент 1"_s);
        GuiTest::typeText(gedit, u"Прямо"_s);
        QTest::keyClick(gedit, Qt::Key_Return);
        QCOMPARE(g->Cells(1, 2), u"Прямо"_s);

        click(screen, u"ButDelete"_s); // no question for an item without judgements
        QCOMPARE(column(screen, 0), (QStringList{u"  1"_s, u"  2"_s}));
        QCOMPARE(column(screen, 1), (QStringList{u"Элемент 0"_s, u"Элемент 2"_s}));
        click(screen, u"ButPrev"_s);
        QCOMPARE(savedNames(ProblemLists::Kind::Alternatives), (QStringList{u"0=Элемент 0"_s, u"1=Элемент 2"_s}));
    }

    void testAlternativesCountCheck_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("notice");
        QTest::newRow("none") << 0 << false << false;
        QTest::newRow("one") << 1 << false << false;
        QTest::newRow("two") << 2 << true << false;
        QTest::newRow("five") << 5 << true << false;
        QTest::newRow("six") << 6 << true << true;
        QTest::newRow("nine") << 9 << true << true;
        QTest::newRow("ten") << 10 << false << false;
    }

    void testAlternativesCountCheck()
    {
        QFETCH(int, count);
        QFETCH(bool, goesOn);
        QFETCH(bool, notice);
        const QByteArray unsaved = listSection("Alt", "A_", count, false); // "Count" is written by a save only
        openAlternatives(unsaved);
        if (!goesOn || notice)
            dialogs().answer(Button::Ok);
        click(m_wizard->FormListAlt, u"ButNext"_s);
        if (!goesOn) {
            QCOMPARE(dialogs().calls().at(0).kind, Kind::Warning);
            QCOMPARE(dialogs().calls().at(0).title, u"Ошибка"_s);
            QCOMPARE(dialogs().calls().at(0).text, u"Количество альтернатив должно быть в интервале от 2 до 9."_s);
            QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
            QCOMPARE(readBytes(problemPath()), unsaved);
            return;
        }
        if (notice) {
            QCOMPARE(dialogs().calls().at(0).kind, Kind::Information);
            QCOMPARE(dialogs().calls().at(0).title, u"Сообщение"_s);
            QCOMPARE(dialogs().calls().at(0).text,
                     u"Для решения задачи с количеством альтернатив больше 5 может быть использован только "
                     u"пошаговый интерфейс !"_s);
        } else {
            QVERIFY(dialogs().calls().isEmpty());
        }
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QCOMPARE(IniFile(problemPath()).readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, -1), count);
        QCOMPARE(ComUnit::AltCount, count);
    }

    void testGoingBackNeedsNoCheck_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("one") << 1;
        QTest::newRow("twelve read as eleven") << 12;
    }

    void testGoingBackNeedsNoCheck()
    {
        QFETCH(int, count);
        openAlternatives(listSection("Alt", "A_", count));
        click(m_wizard->FormListAlt, u"ButPrev"_s);
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        QCOMPARE(IniFile(problemPath()).readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, -1),
                 std::min(count, 11));
    }

    void testCriteriaForwardButtons_data()
    {
        QTest::addColumn<int>("alternatives");
        QTest::addColumn<int>("criteria");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<QString>("refusal");
        const QString step = u"Количество критериев должно быть в интервале от 2 до 9."_s;
        const QString compact = u"Количество критериев и альтернатив должно быть в интервале от 2 до 5."_s;
        QTest::newRow("one criterion, step") << 3 << 1 << false << step;
        QTest::newRow("one criterion, compact") << 3 << 1 << true << compact;
        QTest::newRow("ten criteria, step") << 3 << 10 << false << step;
        QTest::newRow("ten criteria, compact") << 3 << 10 << true << compact;
        QTest::newRow("nine criteria, step") << 3 << 9 << false << QString();
        QTest::newRow("nine criteria, compact") << 3 << 9 << true << compact;
        QTest::newRow("six alternatives, compact") << 6 << 3 << true << compact;
        QTest::newRow("two and two, step") << 2 << 2 << false << QString();
        QTest::newRow("five and five, compact") << 5 << 5 << true << QString();
    }

    void testCriteriaForwardButtons()
    {
        QFETCH(int, alternatives);
        QFETCH(int, criteria);
        QFETCH(bool, compact);
        QFETCH(QString, refusal);
        openCriteria(problemWith(alternatives, criteria) + "[QualM]\r\nQ_0*Q_1=4\r\nQ_7*Q_8=3\r\n");
        QWidget* screen = m_wizard->FormListQuality;
        const QByteArray before = readBytes(problemPath());
        if (!refusal.isEmpty())
            dialogs().answer(Button::Ok);
        click(screen, compact ? u"ButNextCompact"_s : u"ButNext"_s);
        if (!refusal.isEmpty()) {
            QCOMPARE(dialogs().calls().size(), 1);
            QCOMPARE(dialogs().calls().at(0).kind, Kind::Warning);
            QCOMPARE(dialogs().calls().at(0).title, u"Ошибка"_s);
            QCOMPARE(dialogs().calls().at(0).text, refusal);
            QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
            QCOMPARE(readBytes(problemPath()), before);
            return;
        }
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(m_wizard->current(), compact ? static_cast<WizardScreen*>(m_wizard->FormSolQ) : m_wizard->FormMain);
        QCOMPARE(ComUnit::InterfaceMode, compact ? 1 : 0);
        QCOMPARE(ComUnit::CurrentStep, 0);
        const int pairsQ = criteria * (criteria - 1) / 2;
        const int pairsA = criteria * alternatives * (alternatives - 1) / 2;
        QCOMPARE(ComUnit::CompareSteps.size(), pairsQ + pairsA);
        QCOMPARE(ComUnit::CompareSteps.first(), u"Q_0*Q_1=4"_s);
        IniFile file(problemPath());
        QCOMPARE(file.snapshot()->keys(ProblemKeys::JudgementSection).size(), pairsQ + pairsA);
        QCOMPARE(file.readInteger(ProblemKeys::JudgementSection, u"Q_7*Q_8", -1), criteria > 8 ? 3 : -1);
    }

    // Deleting an item with judgements asks first; saved, its judgements are gone and
    // those of the other items have followed them to their new positions.
    void testDeletionTakesItsJudgementsOnly_data()
    {
        QTest::addColumn<bool>("criteria");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QByteArray>("judgements");
        QTest::newRow("criterion") << true
                                   << u"Удалить критерий \"Элемент 1\" ? Его сравнения с другими критериями и "
                                      u"сравнения альтернатив по нему будут потеряны."_s
                                   << QByteArray("[QualM]\r\nQ_0*Q_1=5\r\nA_0*A_1&Q_0=2\r\nA_0*A_2&Q_0=4\r\n"
                                                 "A_1*A_2&Q_0=-5\r\nA_0*A_1&Q_1=-6\r\n");
        QTest::newRow("alternative")
            << false << u"Удалить альтернативу \"Элемент 1\" ? Ее сравнения с другими альтернативами будут потеряны."_s
            << QByteArray("[QualM]\r\nQ_0*Q_1=3\r\nQ_0*Q_2=5\r\nQ_1*Q_2=7\r\nA_0*A_1&Q_0=4\r\n");
    }

    void testDeletionTakesItsJudgementsOnly()
    {
        QFETCH(bool, criteria);
        QFETCH(QString, question);
        QFETCH(QByteArray, judgements);
        const QByteArray problem = problemWith(3, 3) + "[QualM]\r\nQ_0*Q_1=3\r\nQ_0*Q_2=5\r\nQ_1*Q_2=7\r\n"
                                                       "A_0*A_1&Q_0=2\r\nA_0*A_2&Q_0=4\r\nA_1*A_2&Q_0=-5\r\n"
                                                       "A_0*A_1&Q_1=-3\r\nA_0*A_1&Q_2=-6\r\n";
        criteria ? openCriteria(problem) : openAlternatives(problem);
        QWidget* screen = criteria ? static_cast<QWidget*>(m_wizard->FormListQuality) : m_wizard->FormListAlt;
        grid(screen)->setRow(2);
        dialogs().answer(Button::No);
        click(screen, u"ButDelete"_s);
        QCOMPARE(grid(screen)->Count(), 3);
        dialogs().answer(Button::Yes);
        click(screen, u"ButDelete"_s);
        QCOMPARE(dialogs().calls().size(), 2);
        QCOMPARE(dialogs().calls().at(1).kind, Kind::Question);
        QCOMPARE(dialogs().calls().at(1).title, u"Вопрос"_s);
        QCOMPARE(dialogs().calls().at(1).text, question);
        click(screen, u"ButPrev"_s);
        const QByteArray file = readBytes(problemPath());
        const qsizetype at = file.indexOf("[QualM]");
        QCOMPARE(file.mid(at, file.indexOf("\r\n[", at) + 2 - at), judgements);
        QCOMPARE(savedNames(criteria ? ProblemLists::Kind::Criteria : ProblemLists::Kind::Alternatives),
                 (QStringList{u"0=Элемент 0"_s, u"1=Элемент 2"_s}));
    }

    void testCriteriaBackSavesAndReturns()
    {
        openCriteria(problemWith(2, 0));
        QWidget* screen = m_wizard->FormListQuality;
        addItem(screen, u"Цена"_s);
        click(screen, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QCOMPARE(savedNames(ProblemLists::Kind::Criteria), QStringList{u"0=Цена"_s});
        QVERIFY(!IniFile(problemPath()).snapshot()->hasSection(ProblemKeys::JudgementSection));
    }

    void testFailedSaveIsShownAndTheScreenStays()
    {
        openAlternatives(problemWith(3, 0));
        // A folder where the problem file was: the file can no longer be replaced.
        QVERIFY(QFile::remove(problemPath()));
        QVERIFY(QDir().mkdir(problemPath()));
        dialogs().answer(Button::Ok);
        click(m_wizard->FormListAlt, u"ButPrev"_s);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().calls().at(0).kind, Kind::Error);
        QCOMPARE(dialogs().calls().at(0).title, u"Оптивар"_s);
        QCOMPARE(dialogs().calls().at(0).text, u"Unable to write to "_s + problemPath() + u'.');
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QVERIFY(m_wizard->FormListAlt->isVisible());
        QCOMPARE(grid(m_wizard->FormListAlt)->Count(), 3);
    }

    void testScreenTexts()
    {
        openCriteria(problemWith(2, 0));
        auto* memo = GuiTest::child<QPlainTextEdit>(m_wizard->FormListQuality, u"MemoInf"_s);
        QVERIFY(memo);
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.at(7), u"Вы должны задать не мение 2-х "_s);
        QCOMPARE(lines.at(19), u"критерий при помощи кнопк "_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_wizard->FormListQuality, u"ButNext"_s)->text(),
                 u"Продолжить ( пошаговый интерфейс)"_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_wizard->FormListQuality, u"ButNextCompact"_s)->text(),
                 u"Продолжить ( компактный интерфейс)"_s);
        QCOMPARE(GuiTest::child<QPushButton>(m_wizard->FormListQuality, u"ButExpToWord"_s)->text(),
                 u"Экспорт анкеты в Word"_s);
        QCOMPARE(grid(m_wizard->FormListQuality)->Cells(1, 0), u"   Критерии"_s);
        // Two rows of buttons: the bottom panel is taller here and every button lies inside it.
        auto* move = GuiTest::child<QWidget>(m_wizard->FormListQuality, u"PMove"_s);
        QCOMPARE(move->geometry(), QRect(0, 493, 792, 80));
        QCOMPARE(grid(m_wizard->FormListQuality)->height(), 493);
        for (auto* button : move->findChildren<QPushButton*>())
            QVERIFY2(move->rect().contains(button->geometry()), qPrintable(button->objectName()));
        QCOMPARE(GuiTest::child<QWidget>(m_wizard->FormListAlt, u"PMove"_s)->geometry(), QRect(0, 523, 792, 50));

        auto* altMemo = GuiTest::child<QPlainTextEdit>(m_wizard->FormListAlt, u"MemoInf"_s);
        const QStringList altLines = altMemo->toPlainText().split(u'\n');
        QCOMPARE(altLines.size(), 26);
        QCOMPARE(altLines.at(3), u"У \"доброго молодца\" на развилке дорог "_s);
        QCOMPARE(altLines.at(13), QString());
        QCOMPARE(altLines.last(), u"\"Продолжить\"."_s);
    }
};

QTEST_MAIN(TestItemLists)
#include "test_item_lists.moc"
