// The joint decision on screen: a respondent's answers typed back by number on the criteria screen, the
// participants in the decision analysis, and the group's result on the results screen.
#include "evaluate/ui/TFormAnalysis.h"
#include "report/ui/TFormAnswers.h"

#include "GuiFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;

class TestJointDecision : public GuiFixture
{
    Q_OBJECT

    TFormAnswers* openAnswers()
    {
        click(m_wizard->FormListQuality, u"ButAnswers"_s);
        auto* window = m_wizard->FormListQuality->findChild<TFormAnswers*>();
        return window && window->isVisible() ? window : nullptr;
    }

    // Types an answer into the open cell and presses Enter; the table takes it when the event loop runs.
    static void typeAnswer(TFormAnswers* window, const QString& text)
    {
        QLineEdit* editor = window->answerEditor();
        QVERIFY(editor);
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    static QStringList column(QTableWidget* table, int c)
    {
        QStringList out;
        for (int r = 0; r < table->rowCount(); ++r)
            out << table->item(r, c)->text();
        return out;
    }

    int storedAnswer(const QString& key) const { return IniFile(problemPath()).readInteger(u"Resp_0", key, -100); }

private Q_SLOTS:
    // The house problem asks 3 + 3 × 6 = 21 questions; question 1 compares Цена with Качество.
    void testTypeAnswersBack()
    {
        openCriteria(houseProblem());
        TFormAnswers* window = openAnswers();
        QVERIFY(window);
        auto* table = child<QTableWidget>(window, u"TableAnswers"_s);
        auto* name = child<QComboBox>(window, u"CBoxName"_s);
        QVERIFY(table && name);
        QCOMPARE(table->rowCount(), 21);
        typeText(name->lineEdit(), u"Маша"_s);
        QTest::keyClick(name->lineEdit(), Qt::Key_Return);
        QTRY_VERIFY(window->answerEditor());

        typeAnswer(window, u"3"_s);
        QTRY_COMPARE(table->currentRow(), 1);
        // Answer 3 is printed as [7/1]: the sentence names both criteria and gives that ratio.
        const QString sentence = table->item(0, TFormAnswers::SentenceColumn)->text();
        QVERIFY2(sentence.contains(u"Цена"_s) && sentence.contains(u"Качество"_s) && sentence.endsWith(u"[7/1]"_s),
                 qPrintable(sentence));
        typeAnswer(window, u"17"_s);
        QTRY_COMPARE(table->currentRow(), 2);
        // 18 is refused as it is typed, and Enter does not take it.
        typeAnswer(window, u"18"_s);
        QVERIFY(textOf(window, u"LabelHint"_s).contains(u"«18»"_s));
        QTest::qWait(20);
        QCOMPARE(table->currentRow(), 2);
        QCOMPARE(table->item(2, TFormAnswers::AnswerColumn)->text(), QString());
        QTest::keyClick(window->answerEditor(), Qt::Key_Backspace);
        QTest::keyClick(window->answerEditor(), Qt::Key_Backspace);
        typeAnswer(window, u"9"_s);
        QTRY_COMPARE(table->currentRow(), 3);
        QVERIFY(textOf(window, u"LabelCount"_s).startsWith(u"Отвечено: 3 из 21"_s));

        click(window, u"ButSave"_s);
        QCOMPARE(storedAnswer(u"Q_0*Q_1"_s), -7);
        QCOMPARE(storedAnswer(u"Q_0*Q_2"_s), 9);
        QCOMPARE(storedAnswer(u"Q_1*Q_2"_s), 1);
        QCOMPARE(storedAnswer(u"A_0*A_1&Q_0"_s), -100); // not answered: no key
        click(window, u"ButClose"_s);
        QTRY_VERIFY(!m_wizard->FormListQuality->findChild<TFormAnswers*>());

        // Reopened, the name brings back the answers; a correction not stored makes closing ask.
        window = openAnswers();
        QVERIFY(window);
        table = child<QTableWidget>(window, u"TableAnswers"_s);
        name = child<QComboBox>(window, u"CBoxName"_s);
        QCOMPARE(name->count(), 1);
        name->setCurrentIndex(0);
        Q_EMIT name->activated(0);
        QCOMPARE(table->item(1, TFormAnswers::AnswerColumn)->text(), u"17"_s);
        window->editAnswer(0);
        typeAnswer(window, u"5"_s);
        QTRY_COMPARE(table->currentRow(), 1);
        answer(Dialogs::Button::No);
        click(window, u"ButClose"_s);
        QVERIFY(window->isVisible());
        QVERIFY(boxes().last().contains(u"не сохранены"_s));
        click(window, u"ButSave"_s);
        QCOMPARE(storedAnswer(u"Q_0*Q_1"_s), -5);
        QCOMPARE(storedAnswer(u"Q_0*Q_2"_s), 9);
        QCOMPARE(IniFile(problemPath()).readInteger(u"Resp", u"Count", 0), 1);
        // A new name after Маша's answers starts from an empty paper: nothing of hers is stored under it.
        name->lineEdit()->selectAll();
        typeText(name->lineEdit(), u"Петя"_s);
        QTest::keyClick(name->lineEdit(), Qt::Key_Return);
        QCOMPARE(table->item(1, TFormAnswers::AnswerColumn)->text(), QString());
        click(window, u"ButSave"_s);
        QCOMPARE(IniFile(problemPath()).readString(u"Resp_1", u"Name", QString()), u"Петя"_s);
        QCOMPARE(IniFile(problemPath()).snapshot()->keys(u"Resp_1"), QStringList{u"Name"_s});
        click(window, u"ButClose"_s);
        QTRY_VERIFY(!m_wizard->FormListQuality->findChild<TFormAnswers*>());
    }

    // The user judges nothing (everything equal: Налево, the first, is the best choice); Маша prefers Направо to
    // Налево 9 to 1 under every criterion, Петя Прямо to Назад. Row means of Маша's matrices: Налево 9^(-1/4),
    // Направо 9^(1/4), the others 1; the group's ratio is 3, and Направо leads there too.
    void testParticipantsPage()
    {
        QByteArray answers = "[Resp]\r\nCount=2\r\n[Resp_0]\r\nName=" + TestSupport::cp1251("Маша") + "\r\n";
        for (const char* k : {"0", "1", "2"})
            answers += QByteArray("A_0*A_1&Q_") + k + "=9\r\n";
        answers += "[Resp_1]\r\nName=" + TestSupport::cp1251("Петя") + "\r\n";
        for (const char* k : {"0", "1", "2"})
            answers += QByteArray("A_2*A_3&Q_") + k + "=-9\r\n";
        showResults(houseProblem() + answers);
        // The results screen shows the user's own result, and the group's on demand.
        auto* memo = child<QPlainTextEdit>(m_wizard->FormFinal, u"MResult"_s);
        auto* group = child<QCheckBox>(m_wizard->FormFinal, u"CheckGroup"_s);
        QVERIFY(memo && group && group->isVisible());
        QVERIFY(memo->toPlainText().contains(u"Лучший выбор - Налево"_s));
        group->click();
        QVERIFY(memo->toPlainText().contains(u"Лучший выбор - Направо"_s));
        group->click();
        QVERIFY(memo->toPlainText().contains(u"Лучший выбор - Налево"_s));
        click(m_wizard->FormFinal, u"ButAnalysis"_s);
        auto* window = m_wizard->FormFinal->findChild<TFormAnalysis*>();
        QVERIFY(window);
        auto* pages = child<QTabWidget>(window, u"Pages"_s);
        QCOMPARE(pages->tabText(pages->count() - 1), u"Участники"_s);
        pages->setCurrentIndex(pages->count() - 1);
        auto* table = child<QTableWidget>(window, u"TableParticipants"_s);
        QCOMPARE(column(table, 0), QStringList({u"Группа"_s, u"Я"_s, u"Маша"_s, u"Петя"_s}));
        QCOMPARE(column(table, 1), QStringList({u"Направо"_s, u"Налево"_s, u"Направо"_s, u"Прямо"_s}));

        // Петя goes after the question; the window shows the rest at once.
        table->setCurrentCell(3, 0);
        answer(Dialogs::Button::Yes);
        click(window, u"ButDeleteRespondent"_s);
        QCOMPARE(column(table, 0), QStringList({u"Группа"_s, u"Я"_s, u"Маша"_s}));
        const IniFile file(problemPath());
        QCOMPARE(file.readInteger(u"Resp", u"Count", -1), 1);
        QCOMPARE(file.readString(u"Resp_0", u"Name", QString()), u"Маша"_s);
        // The last respondent gone, the page goes too.
        table->setCurrentCell(2, 0);
        answer(Dialogs::Button::Yes);
        click(window, u"ButDeleteRespondent"_s);
        QTRY_VERIFY(pages->tabText(pages->count() - 1) != u"Участники"_s);
        window->close();
        QTRY_VERIFY(!group->isVisible());
    }
};

GUITEST_MAIN(TestJointDecision)
#include "test_joint_decision.moc"
