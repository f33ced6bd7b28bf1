// The alternatives and criteria screens: loading, editing, the count checks of
// each forward button, saving when left, the rebuild of the judgements, and the
// questionnaire export.

#include "GuiFixture.h"

#include <QPlainTextEdit>

using namespace Qt::Literals::StringLiterals;
using Dialogs::Button;

class TestItemLists : public GuiFixture
{
    Q_OBJECT

    QString reportsDir() const { return datDir() + u"/Отчеты"_s; }

private Q_SLOTS:
    void testLoadKeepsPositionsAndLeavingRenumbers()
    {
        openAlternatives(TestSupport::cp1251("[Alt]\r\nA_0=Налево\r\nA_2=Направо\r\nA_5=Прямо\r\nA_3=***НЕТ***\r\n"
                                             "Count=9\r\n"));
        TStGCollect* g = grid(m_wizard->FormListAlt);
        QCOMPARE(column(g, 0) + column(g, 1),
                 (QStringList{u"  1"_s, u"  3"_s, u"  6"_s, u"Налево"_s, u"Направо"_s, u"Прямо"_s}));
        QCOMPARE(g->Cells(1, 0), u"     Альтернативы"_s);
        click(m_wizard->FormListAlt, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListProblem);
        QCOMPARE(section("Alt"), TestSupport::cp1251("[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_2=Прямо\r\nCount=3\r\n"));
    }

    // Added, renamed with F2, deleted (no question without judgements): nothing is
    // written before the screen is left, and then the positions are renumbered.
    void testEditAndGoOn()
    {
        openAlternatives(problemWith(2, 0));
        QWidget* screen = m_wizard->FormListAlt;
        TStGCollect* g = grid(screen);
        click(screen, u"ButInsert"_s);
        auto* gedit = child<NameEdit>(screen, u"GEdit"_s);
        QCOMPARE(gedit->text(), u"Альтернатива номер 3"_s);
        QTest::keyClick(gedit, Qt::Key_Return);
        addItem(screen, u"Прямо"_s);
        g->setRow(2);
        g->setFocus();
        QTest::keyClick(g, Qt::Key_F2);
        QCOMPARE(gedit->selectedText(), u"Элемент 1"_s);
        typeText(gedit, u"Направо"_s);
        QTest::keyClick(gedit, Qt::Key_Return);
        g->setRow(1);
        click(screen, u"ButDelete"_s);
        QCOMPARE(column(g, 0) + column(g, 1),
                 (QStringList{u"  1"_s, u"  2"_s, u"  3"_s, u"Направо"_s, u"Альтернатива номер 3"_s, u"Прямо"_s}));
        QCOMPARE(problemBytes(), problemWith(2, 0));

        click(screen, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QCOMPARE(section("Alt"), TestSupport::cp1251("[Alt]\r\nA_0=Направо\r\nA_1=Альтернатива номер 3\r\n"
                                                     "A_2=Прямо\r\nCount=3\r\n"));
        QCOMPARE(ComUnit::AltCount, 3);
    }

    // Forward checks the count (and tells that more than five leave only the step-by-step interface), a refusal
    // stores nothing; back needs no check. The list is saved as it is, at most eleven positions read.
    void testLeavingTheAlternatives_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("shown");
        const QString refusal = u"warning | Ошибка | Количество альтернатив должно быть в интервале от 2 до 9."_s;
        const QString notice = u"information | Сообщение | Для решения задачи с количеством альтернатив больше 5 "
                               u"может быть использован только пошаговый интерфейс !"_s;
        QTest::newRow("one") << 1 << u"ButNext"_s << refusal;
        QTest::newRow("two") << 2 << u"ButNext"_s << QString();
        QTest::newRow("five") << 5 << u"ButNext"_s << QString();
        QTest::newRow("six") << 6 << u"ButNext"_s << notice;
        QTest::newRow("nine") << 9 << u"ButNext"_s << notice;
        QTest::newRow("ten") << 10 << u"ButNext"_s << refusal;
        QTest::newRow("ten, back") << 10 << u"ButPrev"_s << QString();
        QTest::newRow("twelve read as eleven, back") << 12 << u"ButPrev"_s << QString();
    }

    void testLeavingTheAlternatives()
    {
        QFETCH(int, count);
        QFETCH(QString, button);
        QFETCH(QString, shown);
        const QByteArray unsaved = listSection("Alt", "A_", count, false); // "Count" is written by a save only
        openAlternatives(unsaved);
        QCOMPARE(grid(m_wizard->FormListAlt)->Count(), std::min(count, 11));
        if (!shown.isEmpty())
            answer(Button::Ok);
        click(m_wizard->FormListAlt, button);
        QCOMPARE(boxes(), shown.isEmpty() ? QStringList() : QStringList{shown});
        if (shown.startsWith(u"warning"_s)) {
            QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
            QCOMPARE(problemBytes(), unsaved);
            return;
        }
        QCOMPARE(m_wizard->current(), button == u"ButNext"_s ? static_cast<WizardScreen*>(m_wizard->FormListQuality)
                                                             : m_wizard->FormListProblem);
        QCOMPARE(section("Alt"), listSection("Alt", "A_", std::min(count, 11)));
        if (button == u"ButNext"_s)
            QCOMPARE(ComUnit::AltCount, count);
    }

    void testCriteriaForward_data()
    {
        QTest::addColumn<int>("alternatives");
        QTest::addColumn<int>("criteria");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("refusal");
        const QString step = u"warning | Ошибка | Количество критериев должно быть в интервале от 2 до 9."_s;
        const QString compact =
            u"warning | Ошибка | Количество критериев и альтернатив должно быть в интервале от 2 до 5."_s;
        const QString questionnaire = u"plain | Ошибка | Количество критериев должно быть в интервале от 2 до 9."_s;
        QTest::newRow("one criterion, step") << 3 << 1 << u"ButNext"_s << step;
        QTest::newRow("one criterion, compact") << 3 << 1 << u"ButNextCompact"_s << compact;
        QTest::newRow("one criterion, questionnaire") << 3 << 1 << u"ButExpToWord"_s << questionnaire;
        QTest::newRow("ten criteria, step") << 3 << 10 << u"ButNext"_s << step;
        QTest::newRow("ten criteria, questionnaire") << 3 << 10 << u"ButExpToWord"_s << questionnaire;
        QTest::newRow("nine criteria, step") << 3 << 9 << u"ButNext"_s << QString();
        QTest::newRow("nine criteria, compact") << 3 << 9 << u"ButNextCompact"_s << compact;
        QTest::newRow("six alternatives, compact") << 6 << 3 << u"ButNextCompact"_s << compact;
        QTest::newRow("two and two, step") << 2 << 2 << u"ButNext"_s << QString();
        QTest::newRow("five and five, compact") << 5 << 5 << u"ButNextCompact"_s << QString();
    }

    // A refusal stores nothing; going on saves, rebuilds the judgements and the steps.
    void testCriteriaForward()
    {
        QFETCH(int, alternatives);
        QFETCH(int, criteria);
        QFETCH(QString, button);
        QFETCH(QString, refusal);
        openCriteria(problemWith(alternatives, criteria) + "[QualM]\r\nQ_0*Q_1=4\r\nQ_7*Q_8=3\r\n");
        const QByteArray before = problemBytes();
        if (!refusal.isEmpty())
            answer(Button::Ok);
        click(m_wizard->FormListQuality, button);
        if (!refusal.isEmpty()) {
            QCOMPARE(boxes(), QStringList{refusal});
            QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
            QCOMPARE(problemBytes(), before);
            QVERIFY(!QFileInfo::exists(reportsDir()));
            return;
        }
        const bool compact = button == u"ButNextCompact"_s;
        QVERIFY(boxes().isEmpty());
        QCOMPARE(m_wizard->current(), compact ? static_cast<WizardScreen*>(m_wizard->FormSolQ) : m_wizard->FormMain);
        const int steps = criteria * (criteria - 1) / 2 + criteria * alternatives * (alternatives - 1) / 2;
        QCOMPARE(ComUnit::CompareSteps.first(), u"Q_0*Q_1=4"_s);
        // the mode, the step, the steps, the judgements stored, one kept only while its criteria are there
        QCOMPARE((QList<qsizetype>{ComUnit::InterfaceMode, ComUnit::CurrentStep, ComUnit::CompareSteps.size(),
                                   IniFile(problemPath()).snapshot()->keys(ProblemKeys::JudgementSection).size(),
                                   stored(u"Q_7*Q_8"_s)}),
                 (QList<qsizetype>{compact, 0, steps, steps, criteria > 8 ? 3 : -100}));
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
        answer(Button::No);
        click(screen, u"ButDelete"_s);
        QCOMPARE(grid(screen)->Count(), 3);
        answer(Button::Yes);
        click(screen, u"ButDelete"_s);
        QCOMPARE(boxes(), QStringList(2, u"question | Вопрос | "_s + question));
        click(screen, u"ButPrev"_s);
        QCOMPARE(section("QualM"), judgements);
        const char* list = criteria ? "[Qual]\r\nQ_0=Элемент 0\r\nQ_1=Элемент 2\r\nCount=2\r\n"
                                    : "[Alt]\r\nA_0=Элемент 0\r\nA_1=Элемент 2\r\nCount=2\r\n";
        QCOMPARE(section(criteria ? "Qual" : "Alt"), TestSupport::cp1251(list));
    }

    void testFailedSaveIsShownAndTheScreenStays()
    {
        openAlternatives(problemWith(3, 0));
        makeStoresFail();
        click(m_wizard->FormListAlt, u"ButPrev"_s);
        QCOMPARE(boxes(), QStringList{u"error | Оптивар | Unable to write to "_s + problemPath() + u'.'});
        QCOMPARE(m_wizard->current(), m_wizard->FormListAlt);
        QVERIFY(m_wizard->FormListAlt->isVisible() && grid(m_wizard->FormListAlt)->Count() == 3);
    }

    // The questionnaire asks about the list on screen, stored and rebuilt first, even
    // a name still in its editor; the document goes to "Отчеты" and is named on the screen.
    void testQuestionnaire()
    {
        openCriteria(houseProblem() + "[QualM]\r\nQ_0*Q_1=-5\r\n");
        TFormListQuality* screen = m_wizard->FormListQuality;
        click(screen, u"ButInsert"_s);
        typeText(child<NameEdit>(screen, u"GEdit"_s), u"Вид"_s);
        click(screen, u"ButExpToWord"_s);
        QVERIFY(boxes().isEmpty());
        QVERIFY(section("Qual").endsWith(TestSupport::cp1251("Q_3=Вид\r\nCount=4\r\n")));
        QCOMPARE(ComUnit::CompareSteps.size(), 6 + 4 * 6);
        QCOMPARE(stored(u"Q_0*Q_1"_s), -5); // the rebuild keeps the judgements that still belong

        const QStringList documents = QDir(reportsDir()).entryList(QDir::Files);
        QCOMPARE(documents.size(), 1);
        QVERIFY2(documents.first().startsWith(u"Дом анкета "_s) && documents.first().endsWith(u".docx"_s),
                 qPrintable(documents.first()));
        const QString path = QDir(reportsDir()).filePath(documents.first());
        QCOMPARE(opener().opened(), QList<QString>{path});
        checkNotice(screen, path);
        // Named on the screen until the next click in it.
        QTest::mouseClick(screen->grid()->viewport(), Qt::LeftButton);
        QCOMPARE(textOf(screen, u"STextSaved"_s), QString());
    }

    void testScreenTexts()
    {
        openCriteria(problemWith(2, 0));
        QWidget* criteria = m_wizard->FormListQuality;
        const QStringList lines = child<QPlainTextEdit>(criteria, u"MemoInf"_s)->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.at(7), u"Вы должны задать не мение 2-х "_s);
        QCOMPARE(lines.at(19), u"критерий при помощи кнопк "_s);
        QCOMPARE(texts(criteria, {u"ButNext"_s, u"ButNextCompact"_s, u"ButExpToWord"_s}) << grid(criteria)->Cells(1, 0),
                 (QStringList{u"Продолжить ( пошаговый интерфейс)"_s, u"Продолжить ( компактный интерфейс)"_s,
                              u"Экспорт анкеты в Word"_s, u"   Критерии"_s}));
        // Two rows of buttons: the bottom panel is taller here and every button lies inside it.
        auto* move = child<QWidget>(criteria, u"PMove"_s);
        QCOMPARE(move->geometry(), QRect(0, 493, 792, 80));
        QCOMPARE(grid(criteria)->height(), 493);
        for (auto* button : move->findChildren<QPushButton*>())
            QVERIFY2(move->rect().contains(button->geometry()), qPrintable(button->objectName()));
        QCOMPARE(child<QWidget>(m_wizard->FormListAlt, u"PMove"_s)->geometry(), QRect(0, 523, 792, 50));

        const QStringList alt = child<QPlainTextEdit>(m_wizard->FormListAlt, u"MemoInf"_s)->toPlainText().split(u'\n');
        QCOMPARE(alt.size(), 26);
        QCOMPARE(alt.at(3), u"У \"доброго молодца\" на развилке дорог "_s);
        QCOMPARE(alt.at(13), QString());
        QCOMPARE(alt.last(), u"\"Продолжить\"."_s);
    }
};

GUITEST_MAIN(TestItemLists)
#include "test_item_lists.moc"
