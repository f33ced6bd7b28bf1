// The compact comparison: page order, the dashed rows of positions the problem
// lacks, the end numbers, storing exactly what the user moves and nothing on
// display, and the moves to the criteria and to the results and back.
#include "compare/Scale.h"
#include "compare/ui/TFormSolQ.h"
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

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

const char* const HouseProblem = "[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_2=Прямо\r\nA_3=Назад\r\nCount=4\r\n"
                                 "[Qual]\r\nQ_0=Цена\r\nQ_1=Качество\r\nQ_2=Срок\r\nCount=3\r\n";

const QStringList AllRows = {u"01"_s, u"02"_s, u"03"_s, u"04"_s, u"12"_s, u"13"_s, u"14"_s, u"23"_s, u"24"_s, u"34"_s};

// The file's identity and time: a store replaces the file, so both change.
QString fileStamp(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return u"missing"_s;
    return u"%1/%2.%3"_s.arg(st.st_ino).arg(st.st_mtim.tv_sec).arg(st.st_mtim.tv_nsec);
}

} // namespace

using GuiTest::click;

class TestCompareCompact : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;

    QString problemPath() const { return m_session->problemPath(u"Дом"_s); }
    TFormSolQ* screen() const { return m_wizard->FormSolQ; }

    QSlider* bar(const QString& d) const { return GuiTest::child<QSlider>(screen(), u"TBarMera"_s + d); }
    QString text(const QString& name) const
    {
        auto* l = GuiTest::child<QLabel>(screen(), name);
        return l ? l->text() : u"<no %1>"_s.arg(name);
    }
    QStringList memo() const
    {
        auto* m = GuiTest::child<QPlainTextEdit>(screen(), u"MemoInf"_s);
        return m ? m->toPlainText().split(u'\n') : QStringList();
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
    QStringList judgementKeys() const { return IniFile(problemPath()).snapshot()->keys(ProblemKeys::JudgementSection); }
    int stored(const QString& key) const
    {
        return IniFile(problemPath()).readInteger(ProblemKeys::JudgementSection, key, -100);
    }

    void openCompact(const QByteArray& problem)
    {
        GuiTest::openCriteria(*m_session, *m_wizard, problemPath(), problem);
        click(m_wizard->FormListQuality, u"ButNextCompact"_s);
        QCOMPARE(m_wizard->current(), screen());
        QVERIFY(QTest::qWaitForWindowExposed(screen()));
    }

    /// One move of a bar by the user: one key press.
    void press(const QString& d, Qt::Key key)
    {
        QVERIFY2(bar(d), qPrintable(d));
        QVERIFY2(bar(d)->isEnabled(), qPrintable(d));
        QTest::keyClick(bar(d), key);
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init() { GuiTest::startRoad(m_session, m_wizard); }

    void cleanup() { GuiTest::endRoad(m_session, m_wizard); }

    void testRowsAreNamedAfterTheirPairs()
    {
        openCompact(cp1251(HouseProblem));
        for (const QString& d : AllRows) {
            QVERIFY2(bar(d), qPrintable(d));
            QCOMPARE(bar(d)->toolTip(), d);
            QCOMPARE(bar(d)->minimum(), -8);
            QCOMPARE(bar(d)->maximum(), 8);
            QVERIFY(GuiTest::child<QLabel>(screen(), u"SText"_s + d));
            QVERIFY(GuiTest::child<QLabel>(screen(), u"SText%1_%2"_s.arg(d).arg(d.at(0))));
            QVERIFY(GuiTest::child<QLabel>(screen(), u"SText%1_%2"_s.arg(d).arg(d.at(1))));
        }
        // Rows run top to bottom in pair order; the last one's panel keeps its designed name.
        int lastTop = -1;
        for (const QString& d : AllRows) {
            auto* panel = GuiTest::child<QWidget>(screen(), d == u"34"_s ? u"Panel25"_s : u"Panel"_s + d);
            QVERIFY2(panel, qPrintable(d));
            QVERIFY(panel->isAncestorOf(bar(d)));
            QCOMPARE(panel->height(), 51);
            QVERIFY(panel->y() > lastTop);
            lastTop = panel->y();
        }
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
        openCompact(cp1251(qPrintable(problem + u"Count=3\r\n[QualM]\r\nA_0*A_1&Q_0=2\r\n"_s)));
        click(screen(), u"ButNext"_s);
        for (const QString& d : {u"01"_s, u"02"_s, u"12"_s}) {
            auto* label = GuiTest::child<QLabel>(screen(), u"SText"_s + d);
            const QRect room = label->contentsRect();
            const QRect need = QFontMetrics(label->font()).boundingRect(room, int(label->alignment()), label->text());
            QVERIFY2(room.contains(need), qPrintable(label->text()));
            QVERIFY(bar(d)->height() >= bar(d)->minimumSizeHint().height());
        }
        auto* label = GuiTest::child<QLabel>(screen(), u"SText01"_s);
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

    // Three criteria, four alternatives: which rows are live on each page, captions and help lines.
    void testPagesInOrderWithDashedRows()
    {
        openCompact(cp1251(HouseProblem) + "[QualM]\r\nQ_0*Q_2=-4\r\nA_1*A_2&Q_1=6\r\n");
        QCOMPARE(screen()->Page, -1);
        QCOMPARE(screen()->windowTitle(), u"Оптивар 2009 R2 | сравнение критериев по степени важности"_s);
        QCOMPARE(memo(), (QStringList{u"На этом шаге Вам необходимо сравнить критериии между собой по степени "
                                      u"важности."_s,
                                      u"Сравнение осуществляется путем перемещения соответствующих указателей."_s}));
        QCOMPARE(activeRows(), (QStringList{u"01"_s, u"02"_s, u"12"_s}));
        QCOMPARE(text(u"SText02"_s), u"Цена существенно или немного важнее, чем Срок"_s);
        QCOMPARE(bar(u"02"_s)->value(), -3);
        QCOMPARE(text(u"SText02_0"_s), u"4"_s);
        QCOMPARE(text(u"SText02_2"_s), u"1"_s);
        QCOMPARE(text(u"SText01"_s), u"Цена и Качество одинаково важны"_s);
        for (const QString& d : {u"03"_s, u"04"_s, u"13"_s, u"14"_s, u"23"_s, u"24"_s, u"34"_s}) {
            QCOMPARE(text(u"SText"_s + d), u"-"_s);
            QCOMPARE(text(u"SText%1_%2"_s.arg(d).arg(d.at(0))), u"-"_s);
            QCOMPARE(text(u"SText%1_%2"_s.arg(d).arg(d.at(1))), u"-"_s);
            QCOMPARE(bar(d)->value(), 0);
        }

        const QStringList criteria = {u"Цена"_s, u"Качество"_s, u"Срок"_s};
        for (int k = 0; k < 3; ++k) {
            click(screen(), u"ButNext"_s);
            QCOMPARE(m_wizard->current(), screen());
            QCOMPARE(screen()->Page, k);
            QCOMPARE(screen()->windowTitle(), u"Оптивар 2009 R2 | сравнение альтернатив по критерию "_s + criteria[k]);
            QCOMPARE(memo().value(0), u"На этом шаге Вам необходимо сравнить альтернативы между собой по критерию "_s +
                                          criteria[k] + u'.');
            QCOMPARE(activeRows(), (QStringList{u"01"_s, u"02"_s, u"03"_s, u"12"_s, u"13"_s, u"23"_s}));
            for (const QString& d : {u"04"_s, u"14"_s, u"24"_s, u"34"_s})
                QCOMPARE(text(u"SText"_s + d), u"-"_s);
        }
        QCOMPARE(text(u"SText12"_s), u"Направо и Прямо одинаково предпочтительны"_s); // the 6 belongs to page 1
        click(screen(), u"ButPrev"_s);
        QCOMPARE(screen()->Page, 1);
        QCOMPARE(text(u"SText12"_s), u"Прямо значительно или существенно лучше, чем Направо"_s);
        QCOMPARE(text(u"SText12_1"_s), u"1"_s);
        QCOMPARE(text(u"SText12_2"_s), u"6"_s);
        click(screen(), u"ButNext"_s);
        click(screen(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(screen()->Page, 2);
    }

    // Showing pages stores nothing: the file is not even replaced.
    void testDisplayStoresNothing()
    {
        openCompact(cp1251(HouseProblem) + "[QualM]\r\nQ_0*Q_1=0\r\nQ_0*Q_2=12\r\n");
        // The first display moved every bar from where it stood, yet wrote nothing: the
        // unusable values are still there and no key of an absent pair appeared.
        QCOMPARE(stored(u"Q_0*Q_1"_s), 0);
        QCOMPARE(stored(u"Q_0*Q_2"_s), 12);
        QStringList rebuilt;
        for (const QString& line : std::as_const(ComUnit::CompareSteps))
            rebuilt << ComUnit::stepLinePart(line, 0);
        QCOMPARE(judgementKeys(), rebuilt);
        const QByteArray bytes = readBytes(problemPath());
        const QString stamp = fileStamp(problemPath());
        QCOMPARE(bar(u"01"_s)->value(), 0); // unusable values show as equal
        QCOMPARE(text(u"SText01_0"_s), u"1"_s);
        QCOMPARE(text(u"SText01_1"_s), u"1"_s);
        for (int i = 0; i < 3; ++i)
            click(screen(), u"ButNext"_s);
        for (int i = 0; i < 3; ++i)
            click(screen(), u"ButPrev"_s);
        QCOMPARE(screen()->Page, -1);
        click(screen(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        QCOMPARE(fileStamp(problemPath()), stamp);
        QCOMPARE(readBytes(problemPath()), bytes);
    }

    // Each move stores that pair's value at once and only that; rows of absent positions never write.
    void testMoveStoresExactlyThatPair_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("storedKey");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("criteria 02 fully left")
            << -1 << u"02"_s << int(Qt::Key_Home) << u"Q_0*Q_2"_s << -9 << u"9"_s << u"1"_s;
        QTest::newRow("criteria 12 fully right")
            << -1 << u"12"_s << int(Qt::Key_End) << u"Q_1*Q_2"_s << 9 << u"1"_s << u"9"_s;
        QTest::newRow("criteria 01 one step left")
            << -1 << u"01"_s << int(Qt::Key_Left) << u"Q_0*Q_1"_s << -2 << u"2"_s << u"1"_s;
        QTest::newRow("alternatives 23 of criterion 2")
            << 2 << u"23"_s << int(Qt::Key_Right) << u"A_2*A_3&Q_2"_s << 2 << u"1"_s << u"2"_s;
        QTest::newRow("alternatives 03 of criterion 0")
            << 0 << u"03"_s << int(Qt::Key_Home) << u"A_0*A_3&Q_0"_s << -9 << u"9"_s << u"1"_s;
    }

    void testMoveStoresExactlyThatPair()
    {
        QFETCH(int, page);
        QFETCH(QString, row);
        QFETCH(int, key);
        QFETCH(QString, storedKey);
        QFETCH(int, value);
        QFETCH(QString, left);
        QFETCH(QString, right);
        openCompact(cp1251(HouseProblem));
        for (int p = -1; p < page; ++p)
            click(screen(), u"ButNext"_s);
        QCOMPARE(screen()->Page, page);
        const auto before = IniFile(problemPath()).snapshot();
        const QStringList keys = judgementKeys();
        QCOMPARE(keys.size(), 3 + 3 * 6);

        press(row, Qt::Key(key));
        QCOMPARE(stored(storedKey), value);
        QCOMPARE(judgementKeys(), keys); // no key of a pair the problem lacks
        for (const QString& k : keys) {
            if (k != storedKey)
                QCOMPARE(stored(k), before->readInteger(ProblemKeys::JudgementSection, k, -100));
        }
        QCOMPARE(bar(row)->value(), Scale::JudgementToPosition(value));
        QCOMPARE(text(u"SText%1_%2"_s.arg(row).arg(row.at(0))), left);
        QCOMPARE(text(u"SText%1_%2"_s.arg(row).arg(row.at(1))), right);
        QCOMPARE(screen()->Page, page);
    }

    // Two criteria: the second alternatives page is the last; back from the results comes back to it.
    void testTwoCriteriaToTheResultsAndBack()
    {
        openCompact(cp1251("[Alt]\r\nA_0=x\r\nA_1=y\r\nCount=2\r\n[Qual]\r\nQ_0=p\r\nQ_1=q\r\nCount=2\r\n"));
        QCOMPARE(activeRows(), QStringList{u"01"_s});
        click(screen(), u"ButNext"_s);
        click(screen(), u"ButNext"_s);
        QCOMPARE(screen()->Page, 1);
        press(u"01"_s, Qt::Key_End);
        click(screen(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        QCOMPARE(screen()->Page, 1);
        QCOMPARE(ComUnit::InterfaceMode, 1);

        click(m_wizard->FormFinal, u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), screen());
        QCOMPARE(screen()->Page, 1);
        QCOMPARE(screen()->windowTitle(), u"Оптивар 2009 R2 | сравнение альтернатив по критерию q"_s);
        QCOMPARE(bar(u"01"_s)->value(), 8);
        QCOMPARE(ComUnit::CurrentStep, ComUnit::CompareSteps.size() - 1);
    }

    // Names are read on every showing: one changed while the results were shown is seen on the way back.
    void testNamesReadWhenShown()
    {
        openCompact(cp1251(HouseProblem));
        for (int i = 0; i < 4; ++i)
            click(screen(), u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormFinal);
        IniFile(problemPath()).writeString(ProblemKeys::QualSection, u"Q_2", u"Удобство"_s);
        IniFile(problemPath()).writeString(ProblemKeys::AltSection, u"A_0", u"Вверх"_s);
        click(m_wizard->FormFinal, u"ButPrev"_s);
        QCOMPARE(screen()->Page, 2);
        QCOMPARE(screen()->windowTitle(), u"Оптивар 2009 R2 | сравнение альтернатив по критерию Удобство"_s);
        QCOMPARE(text(u"SText01"_s), u"Вверх и Направо одинаково предпочтительны"_s);
    }

    // A failed store is told; the row then shows what the file holds.
    void testFailedStoreShowsTheFile()
    {
        openCompact(cp1251(HouseProblem) + "[QualM]\r\nQ_0*Q_1=-3\r\n");
        QVERIFY(QFile::remove(problemPath()));
        QVERIFY(QDir().mkdir(problemPath()));
        m_session->dialogs().answer(Dialogs::Button::Ok);
        press(u"01"_s, Qt::Key_End);
        QCOMPARE(m_session->dialogs().calls().size(), 1);
        QCOMPARE(m_session->dialogs().calls().at(0).kind, Dialogs::Kind::Error);
        QCOMPARE(m_wizard->current(), screen());
        // Not the moved position: what the file holds now, which reads as nothing, so equal.
        QCOMPARE(bar(u"01"_s)->value(), 0);
        QCOMPARE(text(u"SText01_0"_s), u"1"_s);
        QCOMPARE(text(u"SText01_1"_s), u"1"_s);
        QVERIFY(QFileInfo(problemPath()).isDir());
    }
};

QTEST_MAIN(TestCompareCompact)
#include "test_compare_compact.moc"
