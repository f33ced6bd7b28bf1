// The step-by-step comparison: what a step shows, the track bar and its words,
// the numeric comparison, storing on every way off a step, the step list, and
// the moves to the criteria and to the results and back.
#include "compare/Scale.h"
#include "compare/ui/TFormMain.h"
#include "evaluate/ui/TFormFinal.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/ui/TFormListProblem.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

// Three criteria and four alternatives: 3 criteria steps, then 6 per criterion.
const char* const HouseProblem = "[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_2=Прямо\r\nA_3=Назад\r\nCount=4\r\n"
                                 "[Qual]\r\nQ_0=Цена\r\nQ_1=Качество\r\nQ_2=Срок\r\nCount=3\r\n";

QByteArray namedList(const char* section, const char* prefix, int count)
{
    QByteArray out = QByteArray("[") + section + "]\r\n";
    for (int i = 0; i < count; ++i)
        out += prefix + QByteArray::number(i) + "=n" + QByteArray::number(i) + "\r\n";
    return out + "Count=" + QByteArray::number(count) + "\r\n";
}

} // namespace

using GuiTest::click;

class TestCompare : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;

    QString problemPath() const { return m_session->problemPath(u"Дом"_s); }
    TFormMain* dialog() const { return m_wizard->FormMain; }

    template <typename T> T* part(const QString& name) const { return GuiTest::child<T>(dialog(), name); }
    QString text(const QString& label) const
    {
        auto* l = part<QLabel>(label);
        return l ? l->text() : u"<no %1>"_s.arg(label);
    }
    QSlider* bar() const { return part<QSlider>(u"TBarMera"_s); }
    QComboBox* steps() const { return part<QComboBox>(u"CBoxStep"_s); }
    int stored(const QString& key) const
    {
        return IniFile(problemPath()).readInteger(ProblemKeys::JudgementSection, key, -100);
    }

    /// Intro, problem list, alternatives and criteria, then on step by step.
    void openDialog(const QByteArray& problem)
    {
        GuiTest::openCriteria(*m_session, *m_wizard, problemPath(), problem);
        click(m_wizard->FormListQuality, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), dialog());
        QVERIFY(QTest::qWaitForWindowExposed(dialog()));
    }

    /// Moves the bar as a user would: to the left end, then step by step to p.
    void moveBar(int p)
    {
        QVERIFY(bar());
        QTest::keyClick(bar(), Qt::Key_Home);
        for (int at = Scale::MinPosition; at < p; ++at)
            QTest::keyClick(bar(), Qt::Key_Right);
        QCOMPARE(bar()->value(), p);
    }

    /// Picks a row of the step list with the mouse, as a user would.
    void pickStep(int index)
    {
        QComboBox* box = steps();
        QVERIFY(box);
        box->showPopup();
        QAbstractItemView* view = box->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QModelIndex row = view->model()->index(index, 0);
        view->scrollTo(row);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(row).center());
        QTRY_VERIFY(!view->window()->isVisible());
    }

    void typeInto(const QString& field, const QString& typed)
    {
        auto* edit = part<QLineEdit>(field);
        QVERIFY(edit);
        edit->clear();
        GuiTest::typeText(edit, typed);
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init() { GuiTest::startRoad(m_session, m_wizard); }

    void cleanup() { GuiTest::endRoad(m_session, m_wizard); }

    void testFirstStepShownFromTheCriteria()
    {
        openDialog(cp1251(HouseProblem) + "[QualM]\r\nQ_0*Q_1=-3\r\n");
        QCOMPARE(dialog()->windowTitle(), u"Оптивар 2009 R2 | диалог сравнения"_s);
        QCOMPARE(ComUnit::CurrentStep, 0);
        QCOMPARE(dialog()->StepKind(), QChar(u'Q'));
        QCOMPARE(text(u"STextTop"_s), u"Сравнение критериев Цена и Качество по степени важности."_s);
        QCOMPARE(text(u"STextA"_s), u"(A) Цена"_s);
        QCOMPARE(text(u"STextB"_s), u"(B) Качество"_s);
        QCOMPARE(bar()->value(), -2);
        QCOMPARE(bar()->minimum(), -8);
        QCOMPARE(bar()->maximum(), 8);
        QCOMPARE(text(u"STMera"_s), u"Цена немного важнее, чем Качество  [3/1]"_s);
        QCOMPARE(text(u"PanA"_s), u"3"_s);
        QCOMPARE(text(u"PanB"_s), u"1"_s);
        QCOMPARE(steps()->count(), 3 + 3 * 6);
        QCOMPARE(steps()->currentIndex(), 0);
        QCOMPARE(steps()->itemText(0), u"Цена и Качество"_s);
        QCOMPARE(steps()->itemText(2), u"Качество и Срок"_s);
        QCOMPARE(steps()->itemText(3), u"Налево и Направо [Цена]."_s);
        QCOMPARE(steps()->itemText(20), u"Прямо и Назад [Срок]."_s);
        QVERIFY(!steps()->isEditable());
        QCOMPARE(part<QPushButton>(u"ButRunNumer"_s)->text(), u"Сравнить числовые значения"_s);
        QCOMPARE(text(u"Label1"_s), u"ПОЛОСА СРАВНЕНИЯ"_s);
        QCOMPARE(text(u"STextStep"_s), u"Шаг 1 из 21"_s);
        QCOMPARE(part<QLineEdit>(u"EdA"_s)->placeholderText(), u"значение A"_s);
        QCOMPARE(part<QLineEdit>(u"EdB"_s)->placeholderText(), u"значение B"_s);
        QCOMPARE(part<QCheckBox>(u"ChBLowerBetter"_s)->text(), u"меньше — лучше"_s);
    }

    // The words and digits follow the bar at once; the file waits for the step to be left.
    void testBarMovesTheWordsNotTheFile()
    {
        openDialog(cp1251(HouseProblem));
        const QByteArray before = readBytes(problemPath());
        moveBar(-8);
        QCOMPARE(text(u"STMera"_s), u"Цена очень намного важнее, чем Качество  [9/1]"_s);
        QCOMPARE(text(u"PanA"_s), u"9"_s);
        QCOMPARE(text(u"PanB"_s), u"1"_s);
        QTest::keyClick(bar(), Qt::Key_End);
        QCOMPARE(text(u"STMera"_s), u"Качество очень намного важнее, чем Цена  [1/9]"_s);
        QCOMPARE(text(u"PanA"_s), u"1"_s);
        QCOMPARE(text(u"PanB"_s), u"9"_s);
        moveBar(1);
        QCOMPARE(text(u"STMera"_s), u"Качество немного важнее, чем Цена или они одинаково важны  [1/2]"_s);
        QCOMPARE(readBytes(problemPath()), before);
    }

    void testNumericComparison_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("lowerIsBetter"); // "меньше — лучше" ticked
        QTest::addColumn<QString>("enterIn");    // the field Enter is pressed in, instead of the button
        QTest::newRow("within 2 %: equal") << u"100"_s << u"102"_s << 5 << 0 << false << QString();
        QTest::newRow("3 % more of A") << u"103"_s << u"100"_s << 0 << -1 << false << QString();
        QTest::newRow("3 % more of B, Enter in B") << u"100"_s << u"103"_s << 0 << 1 << false << u"EdB"_s;
        QTest::newRow("sign ignored") << u"-50"_s << u"100"_s << 0 << 6 << false << QString();
        QTest::newRow("decimals with the key filter") << u"0.1"_s << u"0,251"_s << 0 << 8 << false << QString();
        QTest::newRow("equal values from elsewhere") << u"7"_s << u"7"_s << -6 << 0 << false << QString();
        QTest::newRow("letters: bar stays") << u"abc"_s << u"100"_s << 3 << 3 << false << QString();
        QTest::newRow("empty field: bar stays") << QString() << u"100"_s << -3 << -3 << false << QString();
        QTest::newRow("zero: bar stays") << u"0"_s << u"100"_s << 2 << 2 << false << QString();
        QTest::newRow("point in B, Enter in A") << u"1"_s << u"2.5"_s << 4 << 7 << false << u"EdA"_s;
        QTest::newRow("lower is better: A") << u"100"_s << u"150"_s << 0 << -4 << true << QString();
        QTest::newRow("lower is better: B, Enter") << u"150"_s << u"100"_s << 0 << 4 << true << u"EdB"_s;
        QTest::newRow("lower is better: equal") << u"7"_s << u"7"_s << 3 << 0 << true << QString();
    }

    void testNumericComparison()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, start);
        QFETCH(int, expected);
        QFETCH(bool, lowerIsBetter);
        QFETCH(QString, enterIn);
        openDialog(cp1251(HouseProblem));
        moveBar(start);
        const QByteArray before = readBytes(problemPath());
        typeInto(u"EdA"_s, a);
        typeInto(u"EdB"_s, b);
        if (lowerIsBetter)
            QTest::mouseClick(part<QCheckBox>(u"ChBLowerBetter"_s), Qt::LeftButton);
        if (enterIn.isEmpty())
            click(dialog(), u"ButRunNumer"_s);
        else
            QTest::keyClick(part<QLineEdit>(enterIn), Qt::Key_Return);
        QCOMPARE(bar()->value(), expected);
        QCOMPARE(text(u"PanA"_s), Scale::aDigit(expected));
        QCOMPARE(text(u"PanB"_s), Scale::bDigit(expected));
        QCOMPARE(readBytes(problemPath()), before); // proposed, not stored
        // The proposal is stored with the step like a move by hand.
        click(dialog(), u"ButNext"_s);
        QCOMPARE(stored(u"Q_0*Q_1"_s), Scale::PositionToJudgement(expected));
        // A new step starts with both fields empty.
        QVERIFY(part<QLineEdit>(u"EdA"_s)->text().isEmpty());
        QVERIFY(part<QLineEdit>(u"EdB"_s)->text().isEmpty());
    }

    // Forward through every step judging each, back over some, then forward again:
    // every step left holds the position it was left at.
    void testEveryStepLeftIsStored()
    {
        openDialog(cp1251(HouseProblem));
        const QStringList keys = ComUnit::CompareSteps;
        QCOMPARE(keys.size(), 21);
        for (int step = 0; step < keys.size(); ++step) {
            QCOMPARE(ComUnit::CurrentStep, step);
            moveBar(step % 17 - 8);
            if (step + 1 < keys.size())
                click(dialog(), u"ButNext"_s);
        }
        // Back three steps: the last step is stored on the way.
        for (int i = 0; i < 3; ++i)
            click(dialog(), u"ButPrev"_s);
        QCOMPARE(ComUnit::CurrentStep, keys.size() - 4);
        QCOMPARE(bar()->value(), (keys.size() - 4) % 17 - 8);
        QCOMPARE(steps()->currentIndex(), keys.size() - 4);
        for (int step = 0; step < keys.size(); ++step) {
            const QString key = ComUnit::stepLinePart(keys.at(step), 0);
            QCOMPARE(stored(key), Scale::PositionToJudgement(step % 17 - 8));
        }
        QCOMPARE(m_wizard->current(), dialog());
    }

    void testStepOfAlternativesShowsTheCriterion()
    {
        openDialog(cp1251(HouseProblem) + "[QualM]\r\nA_1*A_3&Q_2=5\r\n");
        pickStep(20 - 1); // A_1*A_3&Q_2: the fifth pair of the third criterion
        QCOMPARE(ComUnit::CurrentStep, 19);
        QCOMPARE(text(u"STextStep"_s), u"Шаг 20 из 21"_s);
        QCOMPARE(ComUnit::StepPart(0), u"A_1*A_3&Q_2"_s);
        QCOMPARE(dialog()->StepKind(), QChar(u'A'));
        QCOMPARE(text(u"STextTop"_s), u"Сравнение альтернатив Направо и Назад по критерию Срок."_s);
        QCOMPARE(text(u"STextA"_s), u"(A) Направо"_s);
        QCOMPARE(text(u"STextB"_s), u"(B) Назад"_s);
        QCOMPARE(bar()->value(), 4);
        QCOMPARE(text(u"STMera"_s), u"Назад существенно лучше, чем Направо  [1/5]"_s);
    }

    // A jump stores the step left; picking the step on screen stores it and shows it unchanged.
    void testJumpWithTheStepList()
    {
        openDialog(cp1251(HouseProblem));
        moveBar(-5);
        pickStep(10);
        QCOMPARE(stored(u"Q_0*Q_1"_s), -6);
        QCOMPARE(ComUnit::CurrentStep, 10);
        QCOMPARE(steps()->currentIndex(), 10);
        QCOMPARE(stored(u"A_0*A_2&Q_1"_s), 1);
        moveBar(3);
        pickStep(10);
        QCOMPARE(ComUnit::CurrentStep, 10);
        QCOMPARE(stored(u"A_0*A_2&Q_1"_s), 4);
        QCOMPARE(bar()->value(), 3);
        pickStep(0);
        QCOMPARE(bar()->value(), -5);
        QCOMPARE(m_wizard->current(), dialog());
    }

    void testDropDownRows_data()
    {
        QTest::addColumn<int>("criteria");
        QTest::addColumn<int>("alternatives");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rows");
        QTest::newRow("6 steps") << 3 << 2 << 6 << 6;
        QTest::newRow("21 steps") << 2 << 5 << 21 << 21;
        QTest::newRow("25 steps") << 5 << 3 << 25 << 24;
        QTest::newRow("360 steps") << 9 << 9 << 360 << 24;
    }

    void testDropDownRows()
    {
        QFETCH(int, criteria);
        QFETCH(int, alternatives);
        QFETCH(int, count);
        QFETCH(int, rows);
        if (alternatives > 5)
            m_session->dialogs().answer(Dialogs::Button::Ok); // the notice about the step-by-step interface
        openDialog(namedList("Alt", "A_", alternatives) + namedList("Qual", "Q_", criteria));
        m_session->dialogs().clearCalls();
        QCOMPARE(steps()->count(), count);
        QCOMPARE(steps()->maxVisibleItems(), rows);
        // The open list shows that many rows, whatever the style.
        steps()->showPopup();
        QAbstractItemView* view = steps()->view();
        QTRY_VERIFY(view->isVisible());
        const int rowHeight = view->visualRect(steps()->model()->index(0, 0)).height();
        QVERIFY(rowHeight > 0);
        QCOMPARE(view->viewport()->height() / rowHeight, rows);
        steps()->hidePopup();
        QCOMPARE(steps()->itemText(count - 1),
                 u"n%1 и n%2 [n%3]."_s.arg(alternatives - 2).arg(alternatives - 1).arg(criteria - 1));
    }

    // A stored value off the scale shows as equal and goes back as 1.
    void testUnusableValueStoredAsEqual_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("0") << QByteArray("0");
        QTest::newRow("12") << QByteArray("12");
        QTest::newRow("-1") << QByteArray("-1");
        QTest::newRow("not a number") << QByteArray("abc");
    }

    void testUnusableValueStoredAsEqual()
    {
        QFETCH(QByteArray, value);
        openDialog(cp1251(HouseProblem));
        // Written by hand while the dialog is open: the next showing reads it.
        IniFile(problemPath()).writeString(ProblemKeys::JudgementSection, u"Q_0*Q_2", QString::fromLatin1(value));
        click(dialog(), u"ButNext"_s);
        QCOMPARE(ComUnit::CurrentStep, 1);
        QCOMPARE(bar()->value(), 0);
        QCOMPARE(text(u"STMera"_s), u"Цена и Срок одинаково важны  [1/1]"_s);
        QCOMPARE(text(u"PanA"_s), u"1"_s);
        QCOMPARE(text(u"PanB"_s), u"1"_s);
        click(dialog(), u"ButNext"_s);
        QCOMPARE(stored(u"Q_0*Q_2"_s), 1);
    }

    void testBackOnTheFirstStepReturnsToTheCriteria()
    {
        openDialog(cp1251(HouseProblem));
        moveBar(7);
        click(dialog(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QVERIFY(!dialog()->isVisible());
        QCOMPARE(stored(u"Q_0*Q_1"_s), 8);
        QCOMPARE(ComUnit::CurrentStep, 0);
    }

    // Past the last step come the results; back from there is the last step, whatever was reached before.
    void testLastStepToTheResultsAndBack()
    {
        openDialog(cp1251(HouseProblem));
        pickStep(20);
        moveBar(-4);
        click(dialog(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(ComUnit::CurrentStep, 20);
        QCOMPARE(stored(u"A_2*A_3&Q_2"_s), -5);

        ComUnit::CurrentStep = 4; // wherever the user had been
        click(m_wizard->FormFinal, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), dialog());
        QCOMPARE(ComUnit::CurrentStep, 20);
        QCOMPARE(steps()->currentIndex(), 20);
        QCOMPARE(bar()->value(), -4);
        QCOMPARE(text(u"STextTop"_s), u"Сравнение альтернатив Прямо и Назад по критерию Срок."_s);
    }

    // A store that fails keeps the user on the step, and says why.
    void testFailedStoreStaysOnTheStep()
    {
        openDialog(cp1251(HouseProblem));
        moveBar(2);
        // A folder where the problem file was: the file can no longer be replaced.
        QVERIFY(QFile::remove(problemPath()));
        QVERIFY(QDir().mkdir(problemPath()));
        m_session->dialogs().answer(Dialogs::Button::Ok);
        click(dialog(), u"ButNext"_s);
        QCOMPARE(m_session->dialogs().calls().size(), 1);
        QCOMPARE(m_session->dialogs().calls().at(0).kind, Dialogs::Kind::Error);
        QCOMPARE(m_session->dialogs().calls().at(0).text, u"Unable to write to "_s + problemPath() + u'.');
        QCOMPARE(m_wizard->current(), dialog());
        QCOMPARE(ComUnit::CurrentStep, 0);
        QCOMPARE(bar()->value(), 2);
    }
};

QTEST_MAIN(TestCompare)
#include "test_compare.moc"
