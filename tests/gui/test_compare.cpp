// The two comparison screens. Step by step: what a step shows, the bar and its
// words, the numeric comparison, storing on every way off a step, the step list.
// Compact: the pages and their dashed rows, the end numbers, storing exactly what
// the user moves and nothing on display. Both: the ways to the criteria and to
// the results and back.
#include "compare/Scale.h"
#include "storage/CodePage.h"

#include "GuiFixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList AllRows = {u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"12"_s, u"13"_s, u"14"_s, u"23"_s, u"24"_s, u"34"_s};

// The file's identity and time: a store replaces the file, so both change.
QString fileStamp(const QString& path)
{
    struct stat st = {};
    const bool found = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    return found ? u"%1/%2.%3"_s.arg(st.st_ino).arg(st.st_mtim.tv_sec).arg(st.st_mtim.tv_nsec) : u"missing"_s;
}

} // namespace

class TestCompare : public GuiFixture
{
    Q_OBJECT

    TFormMain* dialog() const { return m_wizard->FormMain; }
    TFormSolQ* compact() const { return m_wizard->FormSolQ; }
    QSlider* bar(const QString& row = QString()) const
    {
        return child<QSlider>(row.isNull() ? static_cast<QWidget*>(dialog()) : compact(), u"TBarMera"_s + row);
    }
    QComboBox* steps() const { return child<QComboBox>(dialog(), u"CBoxStep"_s); }
    QString words() const { return texts(dialog(), {u"STMera"_s, u"PanA"_s, u"PanB"_s}).join(u'|'); }
    // The sentence of a compact row and the numbers at its two ends.
    QString row(const QString& d) const
    {
        return texts(compact(), {u"SText"_s + d, u"SText%1_%2"_s.arg(d, d.at(0)), u"SText%1_%2"_s.arg(d, d.at(1))})
            .join(u'|');
    }
    QStringList activeRows() const
    {
        QStringList rows;
        for (const QString& d : AllRows) {
            if (bar(d) && bar(d)->isEnabled())
                rows << d;
        }
        return rows;
    }

    /// Moves the step dialog's bar as a user would: to the left end, then step by step to p.
    void moveBar(int p)
    {
        QTest::keyClick(bar(), Qt::Key_Home);
        for (int at = Scale::MinPosition; at < p; ++at)
            QTest::keyClick(bar(), Qt::Key_Right);
        QCOMPARE(bar()->value(), p);
    }

    /// One move of a compact row's bar: one key press.
    void press(const QString& d, Qt::Key key)
    {
        QVERIFY2(bar(d) && bar(d)->isEnabled(), qPrintable(d));
        QTest::keyClick(bar(d), key);
    }

    /// Picks a row of the step list with the mouse, as a user would.
    void pickStep(int index)
    {
        steps()->showPopup();
        QAbstractItemView* view = steps()->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QModelIndex row = view->model()->index(index, 0);
        view->scrollTo(row);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(row).center());
        QTRY_VERIFY(!view->window()->isVisible());
    }

private Q_SLOTS:
    // The first step as the criteria screen opens it; the words and digits follow
    // the bar at once, the file waits for the step to be left.
    void testStepShowsThePairAndTheBarItsWords()
    {
        openStepDialog(houseProblem() + "[QualM]\r\nQ_0*Q_1=-3\r\nQ_0*Q_2=12\r\n");
        QCOMPARE(texts(dialog(), {u"STextTop"_s, u"STextA"_s, u"STextB"_s, u"STextStep"_s, u"Label1"_s,
                                  u"ButRunNumer"_s, u"ChBLowerBetter"_s}),
                 (QStringList{u"Сравнение критериев Цена и Качество по степени важности."_s, u"(A) Цена"_s,
                              u"(B) Качество"_s, u"Шаг 1 из 21"_s, u"ПОЛОСА СРАВНЕНИЯ"_s,
                              u"Сравнить числовые значения"_s, u"меньше — лучше"_s}));
        QCOMPARE(child<QLineEdit>(dialog(), u"EdA"_s)->placeholderText() + u'|' +
                     child<QLineEdit>(dialog(), u"EdB"_s)->placeholderText(),
                 u"значение A|значение B"_s);
        QCOMPARE(dialog()->StepKind(), QChar(u'Q'));
        QCOMPARE((QList<int>{bar()->minimum(), bar()->maximum(), bar()->value()}), (QList<int>{-8, 8, -2}));
        QCOMPARE(words(), u"Цена немного важнее, чем Качество  [3/1]|3|1"_s);
        QVERIFY(steps()->count() == 3 + 3 * 6 && steps()->currentIndex() == 0 && !steps()->isEditable());
        QCOMPARE((QStringList{steps()->itemText(0), steps()->itemText(2), steps()->itemText(3), steps()->itemText(20)}),
                 (QStringList{u"Цена и Качество"_s, u"Качество и Срок"_s, u"Налево и Направо [Цена]."_s,
                              u"Прямо и Назад [Срок]."_s}));

        const QByteArray before = problemBytes();
        moveBar(-8);
        QCOMPARE(words(), u"Цена очень намного важнее, чем Качество  [9/1]|9|1"_s);
        QCOMPARE(problemBytes(), before);
        // A stored value off the scale shows as equal and goes back as 1.
        click(dialog(), u"ButNext"_s);
        QCOMPARE(bar()->value(), 0);
        QCOMPARE(words(), u"Цена и Срок одинаково важны  [1/1]|1|1"_s);
        click(dialog(), u"ButNext"_s);
        QCOMPARE(stored(u"Q_0*Q_2"_s), 1);
    }

    // What the numeric comparison takes from the fields ("меньше — лучше" ticked, Enter in a
    // field instead of the button, as the row says); the rule itself is the scale's.
    void testNumericComparison_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimals with the key filter") << u"0.1"_s << u"0,251"_s << 0 << 8;
        QTest::newRow("point in B, Enter in EdA") << u"1"_s << u"2.5"_s << 4 << 7;
        QTest::newRow("letters: bar stays") << u"abc"_s << u"100"_s << 3 << 3;
        QTest::newRow("empty field: bar stays") << QString() << u"100"_s << -3 << -3;
        QTest::newRow("lower is better, Enter in EdB") << u"150"_s << u"100"_s << 0 << 4;
    }

    void testNumericComparison()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, start);
        QFETCH(int, expected);
        const QString how = QString::fromLatin1(QTest::currentDataTag());
        openStepDialog(houseProblem());
        moveBar(start);
        const QByteArray before = problemBytes();
        typeText(child<QLineEdit>(dialog(), u"EdA"_s), a);
        typeText(child<QLineEdit>(dialog(), u"EdB"_s), b);
        if (how.startsWith(u"lower"_s))
            QTest::mouseClick(child<QCheckBox>(dialog(), u"ChBLowerBetter"_s), Qt::LeftButton);
        if (how.contains(u"Enter"_s))
            QTest::keyClick(child<QLineEdit>(dialog(), how.right(3)), Qt::Key_Return);
        else
            click(dialog(), u"ButRunNumer"_s);
        QCOMPARE(bar()->value(), expected);
        QCOMPARE(textOf(dialog(), u"PanA"_s) + textOf(dialog(), u"PanB"_s),
                 Scale::aDigit(expected) + Scale::bDigit(expected));
        QCOMPARE(problemBytes(), before); // proposed, not stored
        // Stored with the step like a move by hand; the next step starts with empty fields.
        click(dialog(), u"ButNext"_s);
        QCOMPARE(stored(u"Q_0*Q_1"_s), Scale::PositionToJudgement(expected));
        QCOMPARE(child<QLineEdit>(dialog(), u"EdA"_s)->text() + child<QLineEdit>(dialog(), u"EdB"_s)->text(),
                 QString());
    }

    // Forward through every step judging each, past the last to the results and back,
    // which is the last step whatever was reached before, back over some: every step left
    // holds the position it was left at; back on the first step, the criteria.
    void testEveryStepLeftIsStored()
    {
        openStepDialog(houseProblem());
        const QStringList keys = ComUnit::CompareSteps;
        QCOMPARE(keys.size(), 21);
        for (int step = 0; step < keys.size(); ++step) {
            QCOMPARE(ComUnit::CurrentStep, step);
            moveBar(step % 17 - 8);
            click(dialog(), u"ButNext"_s);
        }
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(ComUnit::CurrentStep, 20);
        ComUnit::CurrentStep = 4; // wherever the user had been
        click(m_wizard->FormFinal, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), dialog());
        QCOMPARE(textOf(dialog(), u"STextTop"_s), u"Сравнение альтернатив Прямо и Назад по критерию Срок."_s);
        QCOMPARE(bar()->value(), 20 % 17 - 8);
        for (int i = 0; i < 3; ++i)
            click(dialog(), u"ButPrev"_s);
        QCOMPARE((QList<int>{ComUnit::CurrentStep, steps()->currentIndex(), bar()->value()}), (QList<int>{17, 17, -8}));
        for (int step = 0; step < keys.size(); ++step)
            QCOMPARE(stored(ComUnit::stepLinePart(keys.at(step), 0)), Scale::PositionToJudgement(step % 17 - 8));

        pickStep(0);
        moveBar(7);
        click(dialog(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QVERIFY(!dialog()->isVisible());
        QCOMPARE((QList<int>{stored(u"Q_0*Q_1"_s), ComUnit::CurrentStep}), (QList<int>{8, 0}));
    }

    // A jump stores the step left; picking the step on screen stores it and shows it unchanged.
    void testJumpWithTheStepList()
    {
        openStepDialog(houseProblem() + "[QualM]\r\nA_1*A_3&Q_2=5\r\n");
        moveBar(-5);
        pickStep(19); // A_1*A_3&Q_2: the fifth pair of the third criterion
        QCOMPARE(stored(u"Q_0*Q_1"_s), -6);
        QCOMPARE(ComUnit::CurrentStep, 19);
        QCOMPARE(dialog()->StepKind(), QChar(u'A'));
        QCOMPARE(texts(dialog(), {u"STextA"_s, u"STextB"_s, u"STextStep"_s}),
                 (QStringList{u"(A) Направо"_s, u"(B) Назад"_s, u"Шаг 20 из 21"_s}));
        QCOMPARE(words(), u"Назад существенно лучше, чем Направо  [1/5]|1|5"_s);
        moveBar(3);
        pickStep(19);
        QCOMPARE((QList<int>{ComUnit::CurrentStep, steps()->currentIndex(), stored(u"A_1*A_3&Q_2"_s), bar()->value()}),
                 (QList<int>{19, 19, 4, 3}));
        pickStep(0);
        QCOMPARE(bar()->value(), -5);
    }

    void testDropDownRows_data()
    {
        QTest::addColumn<int>("criteria");
        QTest::addColumn<int>("alternatives");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rows");
        QTest::newRow("6 steps") << 3 << 2 << 6 << 6;
        QTest::newRow("25 steps") << 5 << 3 << 25 << 24;
        QTest::newRow("360 steps") << 9 << 9 << 360 << 24;
    }

    void testDropDownRows()
    {
        QFETCH(int, criteria);
        QFETCH(int, alternatives);
        QFETCH(int, count);
        QFETCH(int, rows);
        openStepDialog(problemWith(alternatives, criteria));
        QCOMPARE(steps()->count(), count);
        // The open list shows that many rows, whatever the style.
        steps()->showPopup();
        QAbstractItemView* view = steps()->view();
        QTRY_VERIFY(view->isVisible());
        const int rowHeight = view->visualRect(steps()->model()->index(0, 0)).height();
        QVERIFY(rowHeight > 0);
        QCOMPARE(view->viewport()->height() / rowHeight, rows);
        steps()->hidePopup();
    }

    // A store that fails keeps the user on the step, and says why.
    void testFailedStoreStaysOnTheStep()
    {
        openStepDialog(houseProblem());
        moveBar(2);
        makeStoresFail();
        click(dialog(), u"ButNext"_s);
        QCOMPARE(boxes(), QStringList{u"error | Оптивар | Unable to write to "_s + problemPath() + u'.'});
        QCOMPARE(m_wizard->current(), dialog());
        QCOMPARE((QList<int>{ComUnit::CurrentStep, bar()->value()}), (QList<int>{0, 2}));
    }

    // Every word of a row's sentence can be read: a long one wraps onto a second
    // line within the row; one that two lines cannot hold ends in "…", whole in its tooltip.
    void testSentencesFitTheirRows_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("15 characters") << QStringList{u"Дом на Соколе 7"_s, u"Квартира в Сити"_s, u"Дача под Клином"_s};
        QStringList longest;
        for (const QString& start : {u"Дом на Соколе, "_s, u"Квартира в Сити, "_s, u"Дача под Клином, "_s})
            longest << (start + u"кирпичный, с балконом и видом на парк, "_s.repeated(8)).left(255);
        QTest::newRow("255 characters") << longest;
    }

    void testSentencesFitTheirRows()
    {
        QFETCH(QStringList, names);
        QString problem = u"[Qual]\r\nQ_0=Цена\r\nQ_1=Район\r\nCount=2\r\n[Alt]\r\n"_s;
        for (int i = 0; i < names.size(); ++i)
            problem += u"A_%1=%2\r\n"_s.arg(i).arg(names[i]);
        openCompact(CodePage::encode(problem + u"Count=3\r\n[QualM]\r\nA_0*A_1&Q_0=2\r\n"_s));
        click(compact(), u"ButNext"_s);
        for (const QString& d : {u"01"_s, u"02"_s, u"12"_s}) {
            auto* label = child<QLabel>(compact(), u"SText"_s + d);
            const QRect room = label->contentsRect();
            const QRect need = QFontMetrics(label->font()).boundingRect(room, int(label->alignment()), label->text());
            QVERIFY2(room.contains(need), qPrintable(label->text()));
            QVERIFY(bar(d)->height() >= bar(d)->minimumSizeHint().height());
        }
        auto* label = child<QLabel>(compact(), u"SText01"_s);
        const QString sentence =
            names[1] + u" немного лучше, чем "_s + names[0] + u" или они одинаково предпочтительны"_s;
        const QString shown = QString(label->text()).replace(u'\n', u' ');
        if (names[0].size() < 255) {
            QCOMPARE(shown, sentence);
            QVERIFY(label->toolTip().isEmpty());
        } else {
            QVERIFY(shown.endsWith(u'…'));
            QVERIFY(sentence.startsWith(shown.chopped(1)));
            QCOMPARE(label->toolTip(), sentence);
        }
    }

    // Three criteria, four alternatives: which rows are live on each page, captions
    // and help lines; showing pages stores nothing, the file is not even replaced.
    void testCompactPagesInOrderWithDashedRows()
    {
        openCompact(houseProblem() + "[QualM]\r\nQ_0*Q_1=0\r\nQ_0*Q_2=-4\r\nA_1*A_2&Q_1=6\r\n");
        const QByteArray bytes = problemBytes();
        const QString stamp = fileStamp(problemPath());
        auto* memo = child<QPlainTextEdit>(compact(), u"MemoInf"_s);
        QCOMPARE(QString::number(compact()->Page) + compact()->windowTitle(),
                 u"-1Оптивар 2009 R2 | сравнение критериев по степени важности"_s);
        QCOMPARE(memo->toPlainText(), u"На этом шаге Вам необходимо сравнить критериии между собой по степени "
                                      u"важности.\nСравнение осуществляется путем перемещения соответствующих "
                                      u"указателей."_s);
        QCOMPARE(activeRows(), (QStringList{u"01"_s, u"02"_s, u"12"_s}));
        QCOMPARE(row(u"02"_s) + QString::number(bar(u"02"_s)->value()),
                 u"Цена существенно или немного важнее, чем Срок|4|1-3"_s);
        QCOMPARE(row(u"01"_s), u"Цена и Качество одинаково важны|1|1"_s); // unusable, so equal
        for (const QString& d : {u"03"_s, u"04"_s, u"13"_s, u"14"_s, u"23"_s, u"24"_s, u"34"_s})
            QCOMPARE(row(d) + QString::number(bar(d)->value()), u"-|-|-0"_s);
        const QStringList criteria = {u"Цена"_s, u"Качество"_s, u"Срок"_s};
        for (int k = 0; k < 3; ++k) {
            click(compact(), u"ButNext"_s);
            QCOMPARE(QString::number(compact()->Page) + compact()->windowTitle() +
                         memo->toPlainText().section(u'\n', 0, 0),
                     QString::number(k) + u"Оптивар 2009 R2 | сравнение альтернатив по критерию "_s + criteria[k] +
                         u"На этом шаге Вам необходимо сравнить альтернативы между собой по критерию "_s + criteria[k] +
                         u'.');
            QCOMPARE(activeRows(), (QStringList{u"01"_s, u"02"_s, u"03"_s, u"12"_s, u"13"_s, u"23"_s}));
            QCOMPARE(row(u"34"_s), u"-|-|-"_s);
        }
        QCOMPARE(row(u"12"_s), u"Направо и Прямо одинаково предпочтительны|1|1"_s); // the 6 is page 1's
        click(compact(), u"ButPrev"_s);
        QCOMPARE(compact()->Page, 1);
        QCOMPARE(row(u"12"_s), u"Прямо значительно или существенно лучше, чем Направо|1|6"_s);
        for (int page = 1; page >= -1; --page)
            click(compact(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QCOMPARE(fileStamp(problemPath()), stamp);
        QCOMPARE(problemBytes(), bytes);
        click(m_wizard->FormListQuality, u"ButNextCompact"_s);
        for (int page = -1; page < 3; ++page)
            click(compact(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(compact()->Page, 2);
    }

    // Each move stores that pair's value at once and only that; no key of a pair the problem lacks appears.
    void testMoveStoresExactlyThatPair_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("storedKey");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("ends");
        QTest::newRow("criteria 02 fully left") << -1 << u"02"_s << int(Qt::Key_Home) << u"Q_0*Q_2"_s << -9 << u"9|1"_s;
        QTest::newRow("criteria 12 fully right") << -1 << u"12"_s << int(Qt::Key_End) << u"Q_1*Q_2"_s << 9 << u"1|9"_s;
        QTest::newRow("criteria 01 one left") << -1 << u"01"_s << int(Qt::Key_Left) << u"Q_0*Q_1"_s << -2 << u"2|1"_s;
        QTest::newRow("alternatives 23, criterion 2")
            << 2 << u"23"_s << int(Qt::Key_Right) << u"A_2*A_3&Q_2"_s << 2 << u"1|2"_s;
        QTest::newRow("alternatives 03, criterion 0")
            << 0 << u"03"_s << int(Qt::Key_Home) << u"A_0*A_3&Q_0"_s << -9 << u"9|1"_s;
    }

    void testMoveStoresExactlyThatPair()
    {
        QFETCH(int, page);
        QFETCH(QString, row);
        QFETCH(int, key);
        QFETCH(QString, storedKey);
        QFETCH(int, value);
        QFETCH(QString, ends);
        openCompact(houseProblem());
        for (int p = -1; p < page; ++p)
            click(compact(), u"ButNext"_s);
        QCOMPARE(compact()->Page, page);
        // Every pair of the problem is in the file, as equal; the move changes that one line.
        const QByteArray line = "\n" + storedKey.toLatin1() + '=';
        QByteArray expected = section("QualM");
        QVERIFY(expected.count('\n') == 22 && expected.contains(line + "1\r"));
        expected.replace(line + "1\r", line + QByteArray::number(value) + '\r');
        press(row, Qt::Key(key));
        QCOMPARE(section("QualM"), expected);
        QCOMPARE(bar(row)->value(), Scale::JudgementToPosition(value));
        QCOMPARE(this->row(row).section(u'|', 1), ends);
        QCOMPARE(compact()->Page, page);
    }

    // Five criteria and five alternatives fill every row of every page, top to bottom in
    // pair order; the fifth criterion has its page, the last before the results.
    void testFiveByFiveFillsEveryRow()
    {
        openCompact(
            TestSupport::cp1251("[Alt]\r\nA_0=Дом\r\nA_1=Дача\r\nA_2=Изба\r\nA_3=Терем\r\nA_4=Юрта\r\nCount=5\r\n"
                                "[Qual]\r\nQ_0=Цена\r\nQ_1=Площадь\r\nQ_2=Район\r\nQ_3=Срок\r\nQ_4=Вид\r\n"
                                "Count=5\r\n[QualM]\r\nQ_3*Q_4=-4\r\nA_3*A_4&Q_4=6\r\n"));
        QCOMPARE(activeRows(), AllRows);
        int lastTop = -1;
        for (const QString& d : AllRows) {
            QCOMPARE(u"%1 %2 %3"_s.arg(bar(d)->toolTip()).arg(bar(d)->minimum()).arg(bar(d)->maximum()),
                     d + u" -8 8"_s);
            // The last row's panel keeps its designed name.
            auto* panel = child<QWidget>(compact(), d == u"34"_s ? u"Panel25"_s : u"Panel"_s + d);
            QVERIFY2(panel && panel->isAncestorOf(bar(d)) && panel->y() > lastTop, qPrintable(d));
            QCOMPARE(panel->height(), 51);
            lastTop = panel->y();
        }
        QCOMPARE(row(u"34"_s), u"Срок существенно или немного важнее, чем Вид|4|1"_s);
        press(u"34"_s, Qt::Key_End);
        QCOMPARE(stored(u"Q_3*Q_4"_s), 9);
        QCOMPARE(row(u"34"_s), u"Вид очень намного важнее, чем Срок|1|9"_s);
        for (int page = -1; page < 4; ++page)
            click(compact(), u"ButNext"_s);
        QCOMPARE(compact()->Page, 4);
        QCOMPARE(compact()->windowTitle(), u"Оптивар 2009 R2 | сравнение альтернатив по критерию Вид"_s);
        QCOMPARE(activeRows(), AllRows);
        QCOMPARE(row(u"34"_s), u"Юрта значительно или существенно лучше, чем Терем|1|6"_s);
        press(u"34"_s, Qt::Key_Home);
        QCOMPARE(stored(u"A_3*A_4&Q_4"_s), -9);
        QCOMPARE(stored(u"A_3*A_4&Q_3"_s), 1);
        QCOMPARE(row(u"34"_s), u"Терем очень намного лучше, чем Юрта|9|1"_s);
        click(compact(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(compact()->Page, 4);
    }

    // Two criteria: the second alternatives page is the last; back from the results
    // comes back to it, with the names read again on showing.
    void testTwoCriteriaToTheResultsAndBack()
    {
        openCompact(
            TestSupport::cp1251("[Alt]\r\nA_0=x\r\nA_1=y\r\nCount=2\r\n[Qual]\r\nQ_0=p\r\nQ_1=q\r\nCount=2\r\n"));
        QCOMPARE(activeRows(), QStringList{u"01"_s});
        click(compact(), u"ButNext"_s);
        click(compact(), u"ButNext"_s);
        press(u"01"_s, Qt::Key_End);
        click(compact(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(compact()->Page, 1);
        QCOMPARE(ComUnit::InterfaceMode, 1);

        IniFile(problemPath()).writeString(ProblemKeys::QualSection, u"Q_1", u"Удобство"_s);
        IniFile(problemPath()).writeString(ProblemKeys::AltSection, u"A_0", u"Вверх"_s);
        click(m_wizard->FormFinal, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), compact());
        QCOMPARE(compact()->Page, 1);
        QCOMPARE(compact()->windowTitle(), u"Оптивар 2009 R2 | сравнение альтернатив по критерию Удобство"_s);
        QCOMPARE(row(u"01"_s), u"y очень намного лучше, чем Вверх|1|9"_s);
        QCOMPARE(ComUnit::CurrentStep, ComUnit::CompareSteps.size() - 1);
    }

    // A failed store is told; the row then shows what the file holds.
    void testFailedCompactStoreShowsTheFile()
    {
        openCompact(houseProblem() + "[QualM]\r\nQ_0*Q_1=-3\r\n");
        makeStoresFail();
        press(u"01"_s, Qt::Key_End);
        QCOMPARE(boxes(), QStringList{u"error | Оптивар | Unable to write to "_s + problemPath() + u'.'});
        QCOMPARE(m_wizard->current(), compact());
        // Not the moved position: what the file holds now, which reads as nothing, so equal.
        QCOMPARE(bar(u"01"_s)->value(), 0);
        QCOMPARE(row(u"01"_s), u"Цена и Качество одинаково важны|1|1"_s);
        QVERIFY(QFileInfo(problemPath()).isDir());
    }
};

GUITEST_MAIN(TestCompare)
#include "test_compare.moc"
