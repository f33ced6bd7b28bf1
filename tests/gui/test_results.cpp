// The whole road of a decision in both interfaces, and the results screen: the
// memo line by line, the chart's bars and marks, showing again, going back.
#include "compare/Scale.h"
#include "compare/ui/TFormMain.h"
#include "compare/ui/TFormSolQ.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ui/TFormFinal.h"
#include "lists/ui/NameEdit.h"
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

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLegend>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;
using TestSupport::writeBytes;

namespace {

const char* const HouseProblem = "[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_2=Прямо\r\nA_3=Назад\r\nCount=4\r\n"
                                 "[Qual]\r\nQ_0=Цена\r\nQ_1=Качество\r\nQ_2=Срок\r\nCount=3\r\n";

// The judgements both roads make, all of them consistent, so that the outcome can
// be worked out by hand. Criteria weigh 4 : 2 : 1; under Цена the alternatives
// are equal; under Качество Налево counts twice each other one; under Срок Назад
// counts three times each other one. Unlisted pairs stay equal.
const QMap<QString, int> RoadPositions = {
    {u"Q_0*Q_1"_s, -1},     {u"Q_0*Q_2"_s, -3},     {u"Q_1*Q_2"_s, -1},
    {u"A_0*A_1&Q_1"_s, -1}, {u"A_0*A_2&Q_1"_s, -1}, {u"A_0*A_3&Q_1"_s, -1},
    {u"A_0*A_3&Q_2"_s, 2},  {u"A_1*A_3&Q_2"_s, 2},  {u"A_2*A_3&Q_2"_s, 2},
};

// Worked out by hand: criteria 4/7, 2/7, 1/7; local priorities (1/4 each),
// (2/5, 1/5, 1/5, 1/5), (1/6, 1/6, 1/6, 1/2).
const double RoadPriorities[] = {(1.0 + 0.8 + 1.0 / 6) / 7, (1.0 + 0.4 + 1.0 / 6) / 7, (1.0 + 0.4 + 1.0 / 6) / 7,
                                 (1.0 + 0.4 + 0.5) / 7};

const QStringList RoadMemo = {
    u"Альтернативы имеют следующие приоритеты :"_s,
    QString(),
    u"Налево 28,10%"_s,
    u"Направо 22,38%"_s,
    u"Прямо 22,38%"_s,
    u"Назад 27,14%"_s,
    QString(),
    u"Лучший выбор - Налево"_s,
    QString(),
};

const QStringList RoadMarks = {u"28,1 %"_s, u"22,38 %"_s, u"22,38 %"_s, u"27,14 %"_s};

} // namespace

using GuiTest::click;

class TestResults : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;

    QString problemPath() const { return m_session->problemPath(u"Дом"_s); }
    TFormFinal* results() const { return m_wizard->FormFinal; }
    QChart* chart() const
    {
        auto* view = GuiTest::child<QChartView>(results(), u"ChartResult"_s);
        return view ? view->chart() : nullptr;
    }
    QBarSet* bars() const
    {
        auto* series = chart() ? qobject_cast<QBarSeries*>(chart()->series().value(0)) : nullptr;
        return series && series->count() == 1 ? series->barSets().at(0) : nullptr;
    }
    QStringList memo() const
    {
        auto* m = GuiTest::child<QPlainTextEdit>(results(), u"MResult"_s);
        return m ? m->toPlainText().split(u'\n') : QStringList{u"<no memo>"_s};
    }
    int stored(const QString& key) const
    {
        return IniFile(problemPath()).readInteger(ProblemKeys::JudgementSection, key, -100);
    }

    void addItem(QWidget* screen, const QString& name)
    {
        click(screen, u"ButInsert"_s);
        auto* gedit = GuiTest::child<NameEdit>(screen, u"GEdit"_s);
        QVERIFY(gedit && gedit->isVisible());
        gedit->selectAll();
        GuiTest::typeText(gedit, name);
        QTest::keyClick(gedit, Qt::Key_Return);
    }

    /// From the intro to the criteria screen of the problem "Дом" as it is in the file.
    void openCriteria(const QByteArray& problem)
    {
        GuiTest::openCriteria(*m_session, *m_wizard, problemPath(), problem);
    }

    /// Straight to the results through the step-by-step dialog's step list, changing nothing.
    void showResults(const QByteArray& problem)
    {
        openCriteria(problem);
        click(m_wizard->FormListQuality, u"ButNext"_s);
        auto* box = GuiTest::child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s);
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(ComUnit::CurrentStep, ComUnit::CompareSteps.size() - 1);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), results());
        QVERIFY(QTest::qWaitForWindowExposed(results()));
    }

    /// The memo and the chart show the evaluation the screen holds, which is the
    /// evaluation of the file, and that is the outcome worked out by hand.
    void checkRoadResults()
    {
        QCOMPARE(m_wizard->current(), results());
        QVERIFY(QTest::qWaitForWindowExposed(results()));
        const EvaluationResult expected =
            Evaluation::EvaluateProblem(ProblemData::load(IniFile(problemPath())), QLocale());
        QCOMPARE(results()->result().Memo, expected.Memo);
        QCOMPARE(results()->result().AltPriority, expected.AltPriority);
        QCOMPARE(memo(), RoadMemo);
        QCOMPARE(results()->result().AltTotal, 4);
        QCOMPARE(results()->result().CritTotal, 3);
        QCOMPARE(results()->result().BestChoice, 0);
        QVERIFY(results()->result().CritConsistencyRatio < 1e-9);
        QVERIFY(results()->result().AltConsistencyRatio < 1e-9);

        QVERIFY(bars());
        QCOMPARE(bars()->count(), 4);
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(qAbs(bars()->at(i) - 100.0 * RoadPriorities[i]) < 1e-9, qPrintable(QString::number(i)));
            QCOMPARE(bars()->at(i), expected.Bars.at(i).value);
        }
        auto* labels = qobject_cast<QBarCategoryAxis*>(chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(labels);
        QCOMPARE(labels->categories(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
        QCOMPARE(results()->markTexts(), RoadMarks);
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init() { GuiTest::startRoad(m_session, m_wizard); }

    void cleanup() { GuiTest::endRoad(m_session, m_wizard); }

    // The lists typed in, every pair judged with the bar or the numeric comparison.
    void testStepByStepRoad()
    {
        QDir().mkpath(m_session->datDir());
        writeBytes(problemPath(), QByteArray());
        click(m_wizard->FormInit, u"ButNext"_s);
        click(m_wizard->FormListProblem, u"ButNext"_s);
        for (const QString& name : {u"Налево"_s, u"Направо"_s, u"Прямо"_s, u"Назад"_s})
            addItem(m_wizard->FormListAlt, name);
        click(m_wizard->FormListAlt, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
        for (const QString& name : {u"Цена"_s, u"Качество"_s, u"Срок"_s})
            addItem(m_wizard->FormListQuality, name);
        click(m_wizard->FormListQuality, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormMain);
        QCOMPARE(ComUnit::CompareSteps.size(), 21);

        QWidget* dialog = m_wizard->FormMain;
        auto* bar = GuiTest::child<QSlider>(dialog, u"TBarMera"_s);
        auto* edA = GuiTest::child<QLineEdit>(dialog, u"EdA"_s);
        auto* edB = GuiTest::child<QLineEdit>(dialog, u"EdB"_s);
        QVERIFY(bar && edA && edB);
        for (int step = 0; step < 21; ++step) {
            QCOMPARE(ComUnit::CurrentStep, step);
            QCOMPARE(bar->value(), 0); // never judged: shown as equal
            const int p = RoadPositions.value(ComUnit::StepPart(0), 0);
            if (p == 2) {
                // 15 % more of B: step 2 towards B.
                GuiTest::typeText(edA, u"100"_s);
                GuiTest::typeText(edB, u"115"_s);
                click(dialog, u"ButRunNumer"_s);
            } else if (p == -1 && step >= 3) {
                // 10 % more of A, typed with a point: step 1 towards A.
                GuiTest::typeText(edA, u"1.1"_s);
                GuiTest::typeText(edB, u"1"_s);
                click(dialog, u"ButRunNumer"_s);
            } else {
                for (int at = 0; at > p; --at)
                    QTest::keyClick(bar, Qt::Key_Left);
            }
            QCOMPARE(bar->value(), p);
            click(dialog, u"ButNext"_s);
        }
        checkRoadResults();

        // Back to the last step, over a few, and forward again: every judgement is in the file.
        click(results(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), m_wizard->FormMain);
        QCOMPARE(ComUnit::CurrentStep, 20);
        QCOMPARE(bar->value(), 2);
        for (int i = 0; i < 5; ++i)
            click(dialog, u"ButPrev"_s);
        QCOMPARE(ComUnit::CurrentStep, 15);
        QCOMPARE(bar->value(), RoadPositions.value(ComUnit::StepPart(0), 0));
        for (const QString& line : std::as_const(ComUnit::CompareSteps)) {
            const QString key = ComUnit::stepLinePart(line, 0);
            QCOMPARE(stored(key), Scale::PositionToJudgement(RoadPositions.value(key, 0)));
        }
        for (int i = 0; i < 6; ++i)
            click(dialog, u"ButNext"_s);
        checkRoadResults();
    }

    // The same problem and judgements on the compact screen give the same results.
    void testCompactRoad()
    {
        openCriteria(cp1251(HouseProblem));
        click(m_wizard->FormListQuality, u"ButNextCompact"_s);
        TFormSolQ* compact = m_wizard->FormSolQ;
        QCOMPARE(m_wizard->current(), compact);
        const auto move = [&](const QString& d, Qt::Key key, int times) {
            auto* bar = GuiTest::child<QSlider>(compact, u"TBarMera"_s + d);
            QVERIFY2(bar, qPrintable(d));
            for (int i = 0; i < times; ++i)
                QTest::keyClick(bar, key);
        };
        move(u"01"_s, Qt::Key_Left, 1);
        move(u"02"_s, Qt::Key_Left, 3);
        move(u"12"_s, Qt::Key_Left, 1);
        click(compact, u"ButNext"_s); // Цена: all equal
        click(compact, u"ButNext"_s);
        QCOMPARE(compact->Page, 1);
        for (const QString& d : {u"01"_s, u"02"_s, u"03"_s})
            move(d, Qt::Key_Left, 1);
        click(compact, u"ButNext"_s);
        for (const QString& d : {u"03"_s, u"13"_s, u"23"_s})
            move(d, Qt::Key_Right, 2);
        click(compact, u"ButNext"_s);
        checkRoadResults();
        QCOMPARE(ComUnit::InterfaceMode, 1);

        // Back to the page last shown, back one more, then on again to the same results.
        click(results(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), compact);
        QCOMPARE(compact->Page, 2);
        QCOMPARE(GuiTest::child<QSlider>(compact, u"TBarMera13"_s)->value(), 2);
        click(compact, u"ButPrev"_s);
        QCOMPARE(GuiTest::child<QSlider>(compact, u"TBarMera02"_s)->value(), -1);
        for (const QString& line : std::as_const(ComUnit::CompareSteps)) {
            const QString key = ComUnit::stepLinePart(line, 0);
            QCOMPARE(stored(key), Scale::PositionToJudgement(RoadPositions.value(key, 0)));
        }
        click(compact, u"ButNext"_s);
        click(compact, u"ButNext"_s);
        checkRoadResults();
    }

    void testScreenParts()
    {
        showResults(cp1251(HouseProblem));
        QCOMPARE(results()->windowTitle(), u"Оптивар 2009 R2 | результаты расчетов"_s);
        for (const QString& name : {u"ButExpToWordShort"_s, u"ButExpToWordFull"_s}) {
            auto* button = GuiTest::child<QPushButton>(results(), name);
            QVERIFY2(button && button->isEnabled(), qPrintable(name));
        }
        QCOMPARE(GuiTest::child<QPushButton>(results(), u"ButExpToWordShort"_s)->text(),
                 u"Экспорт в Word (короткий отчет)"_s);
        QCOMPARE(GuiTest::child<QPushButton>(results(), u"ButExpToWordFull"_s)->text(),
                 u"Экспорт в Word (полный отчет)"_s);
        auto* memoEdit = GuiTest::child<QPlainTextEdit>(results(), u"MResult"_s);
        QVERIFY(memoEdit && memoEdit->isReadOnly());
        QCOMPARE(memoEdit->width(), 384);

        QVERIFY(chart());
        QCOMPARE(chart()->title(), u"Результаты выбора"_s);
        QVERIFY(!chart()->legend()->isVisible());
        QCOMPARE(chart()->backgroundBrush().color(), QColor(Qt::white));
        auto* values = qobject_cast<QValueAxis*>(chart()->axes(Qt::Vertical).value(0));
        QVERIFY(values);
        QCOMPARE(values->min(), 0.0);
        QCOMPARE(values->max(), 100.0);
        QVERIFY(bars());
        // Red bars, drawn with a gradient that ends in the series colour.
        const QGradient* gradient = bars()->brush().gradient();
        QVERIFY(gradient);
        QCOMPARE(gradient->stops().last().second, QColor(Qt::red));
        QCOMPARE(gradient->stops().first().second.hue(), QColor(Qt::red).hue());
        QCOMPARE(bars()->label(), u"SAlt"_s);
    }

    // Both warnings of an inconsistent problem and a name of 255 letters wrap at the memo's width: no line
    // runs off its edge behind a horizontal scroll bar.
    void testMemoWrapsLongLines()
    {
        QByteArray problem = TestSupport::readBytes(QDir(TestSupport::examplesDir()).filePath(u"Банк.qzr"_s));
        problem.replace(cp1251("Вклад в Сбербанке"), QByteArray(255, '\xC6')); // Ж
        showResults(problem);
        QCOMPARE(memo().count(u"Внимание!"_s), 2);
        QVERIFY(memo().contains(QString(255, u'Ж') + u" 30,46%"_s));
        auto* memoEdit = GuiTest::child<QPlainTextEdit>(results(), u"MResult"_s);
        QCOMPARE(memoEdit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!memoEdit->horizontalScrollBar()->isVisible());
        QCOMPARE(memoEdit->horizontalScrollBar()->maximum(), 0);
    }

    // Each mark stands above its own bar, its pointer's length away.
    void testMarksStandAboveTheirBars()
    {
        showResults(cp1251(HouseProblem) + "[QualM]\r\nA_0*A_1&Q_0=3\r\nA_0*A_2&Q_0=-7\r\n");
        QTRY_VERIFY(chart()->plotArea().height() > 100);
        const QList<QRectF> rects = results()->markRects();
        QCOMPARE(rects.size(), 4);
        auto* series = qobject_cast<QBarSeries*>(chart()->series().value(0));
        for (int i = 0; i < 4; ++i) {
            const QPointF top = chart()->mapToPosition(QPointF(i, bars()->at(i)), series);
            QVERIFY2(qAbs(rects[i].center().x() - top.x()) < 1.0, qPrintable(QString::number(i)));
            QVERIFY2(qAbs(rects[i].bottom() - (top.y() - TFormFinal::MarkPointerLength)) < 1.0,
                     qPrintable(QString::number(i)));
        }
        for (int i = 1; i < 4; ++i)
            QVERIFY(rects[i].center().x() > rects[i - 1].center().x());
    }

    // Marks give each bar's share of all bars: alternatives at 2 : 1 : 1 under both criteria.
    void testMarksAreShares()
    {
        showResults(cp1251("[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=p\r\nQ_1=q\r\nCount=2\r\n"
                           "[QualM]\r\nA_0*A_1&Q_0=-2\r\nA_0*A_2&Q_0=-2\r\nA_0*A_1&Q_1=-2\r\nA_0*A_2&Q_1=-2\r\n"));
        QCOMPARE(bars()->count(), 3);
        QCOMPARE(bars()->at(0), 50.0);
        QCOMPARE(bars()->at(1), 25.0);
        QCOMPARE(bars()->at(2), 25.0);
        QCOMPARE(results()->markTexts(), (QStringList{u"50 %"_s, u"25 %"_s, u"25 %"_s}));
        QCOMPARE(memo().mid(2, 3), (QStringList{u"a 50,00%"_s, u"b 25,00%"_s, u"c 25,00%"_s}));
    }

    // Showing again refills, never appends: back, forward, the same memo and bars; a change shows.
    void testShowingAgainReplacesEverything()
    {
        showResults(cp1251(HouseProblem));
        const QStringList first = memo();
        QCOMPARE(first.size(), 9);
        click(results(), u"ButPrev"_s);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(memo(), first);
        QCOMPARE(bars()->count(), 4);
        QCOMPARE(results()->markTexts().size(), 4);

        // Fewer alternatives after a change of the lists: fewer bars and marks.
        click(results(), u"ButPrev"_s);
        IniFile(problemPath()).writeInteger(ProblemKeys::AltSection, u"Count", 2);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(bars()->count(), 2);
        QCOMPARE(results()->markTexts(), (QStringList{u"50 %"_s, u"50 %"_s}));
        QCOMPARE(memo().size(), 7);
    }

    void testClosingRefusedKeepsTheResults()
    {
        showResults(cp1251(HouseProblem));
        const QStringList before = memo();
        m_session->dialogs().answer(Dialogs::Button::No);
        QVERIFY(!results()->close());
        QVERIFY(results()->isVisible());
        QCOMPARE(m_session->dialogs().calls().size(), 1);
        QCOMPARE(m_session->dialogs().calls().at(0).text, u"Закончить работу с программой \"Оптивар\" ?"_s);
        QCOMPARE(memo(), before);
    }
};

QTEST_MAIN(TestResults)
#include "test_results.moc"
