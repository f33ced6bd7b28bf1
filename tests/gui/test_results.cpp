// The whole road of a decision in both interfaces, the results screen (the memo
// and the chart show what the evaluation computed; showing again; the chart's own
// settings, marks and geometry), and the decision analysis opened from it.
#include "compare/Scale.h"
#include "evaluate/AnalysisText.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ui/TFormAnalysis.h"

#include "GuiFixture.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFrame>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;

namespace {

// The judgements of the road, all consistent: criteria weigh 4 : 2 : 1 (Цена,
// Качество, Срок); under Цена the alternatives are equal; under Качество Налево
// counts twice each other one; under Срок Назад three times each other one.
const QMap<QString, int> RoadPositions = {
    {u"Q_0*Q_1"_s, -1},     {u"Q_0*Q_2"_s, -3},     {u"Q_1*Q_2"_s, -1},
    {u"A_0*A_1&Q_1"_s, -1}, {u"A_0*A_2&Q_1"_s, -1}, {u"A_0*A_3&Q_1"_s, -1},
    {u"A_0*A_3&Q_2"_s, 2},  {u"A_1*A_3&Q_2"_s, 2},  {u"A_2*A_3&Q_2"_s, 2},
};

// The road's judgements as stored, and under Цена Назад eight times better than
// Налево (step 5), against all the other judgements under Цена.
QByteArray roadJudgements(bool reversed)
{
    QByteArray out = "[QualM]\r\n";
    for (auto it = RoadPositions.begin(); it != RoadPositions.end(); ++it)
        out += it.key().toLatin1() + '=' + QByteArray::number(Scale::PositionToJudgement(it.value())) + "\r\n";
    if (reversed)
        out += "A_0*A_1&Q_0=-2\r\nA_0*A_2&Q_0=-4\r\nA_0*A_3&Q_0=8\r\nA_1*A_2&Q_0=-2\r\nA_1*A_3&Q_0=-4\r\n"
               "A_2*A_3&Q_0=-2\r\n";
    return out;
}
constexpr int ReversedStep = 5;

} // namespace

class TestResults : public GuiFixture
{
    Q_OBJECT

    TFormFinal* results() const { return m_wizard->FormFinal; }
    QChart* chart() const { return results()->chartView()->chart(); }
    QBarSet* bars() const
    {
        auto* series = qobject_cast<QBarSeries*>(chart()->series().value(0));
        return series && series->count() == 1 ? series->barSets().at(0) : nullptr;
    }
    QStringList memo() const { return child<QPlainTextEdit>(results(), u"MResult"_s)->toPlainText().split(u'\n'); }
    TFormAnalysis* analysis() const { return results()->findChild<TFormAnalysis*>(); }

    /// The memo and the chart show the evaluation of the file as it is now.
    void checkShowsTheEvaluation()
    {
        QCOMPARE(m_wizard->current(), results());
        const EvaluationResult expected =
            Evaluation::EvaluateProblem(ProblemData::load(IniFile(problemPath())), QLocale());
        QCOMPARE(memo(), expected.Memo.join(u'\n').split(u'\n'));
        QVERIFY(bars());
        QCOMPARE(bars()->count(), expected.Bars.size());
        QStringList labels;
        for (int i = 0; i < bars()->count(); ++i) {
            QCOMPARE(bars()->at(i), expected.Bars.at(i).value);
            labels << expected.Bars.at(i).label;
        }
        QCOMPARE(qobject_cast<QBarCategoryAxis*>(chart()->axes(Qt::Horizontal).value(0))->categories(), labels);
    }

    void openAnalysis(const QByteArray& problem, bool compact = false)
    {
        showResults(problem, compact);
        QVERIFY(!analysis());
        click(results(), u"ButAnalysis"_s);
        QVERIFY(analysis());
        QVERIFY(QTest::qWaitForWindowExposed(analysis()));
    }

    void showPage(const QString& title)
    {
        auto* pages = child<QTabWidget>(analysis(), u"Pages"_s);
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->tabText(i) == title) {
                QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(i).center());
                QCOMPARE(pages->currentIndex(), i);
                return;
            }
        }
        QFAIL(qPrintable(u"no page "_s + title));
    }

private Q_SLOTS:
    void testRoad_data()
    {
        QTest::addColumn<bool>("compact");
        QTest::newRow("step by step, with the bar and the numeric comparison") << false;
        QTest::newRow("compact") << true;
    }

    // The lists typed in, every pair judged; the results; back to the last step or
    // page, over a few, and forward again: every judgement is in the file.
    void testRoad()
    {
        QFETCH(bool, compact);
        writeDat(u"Дом.qzr"_s, QByteArray());
        click(m_wizard->FormInit, u"ButNext"_s);
        click(m_wizard->FormListProblem, u"ButNext"_s);
        for (const QString& name : {u"Налево"_s, u"Направо"_s, u"Прямо"_s, u"Назад"_s})
            addItem(m_wizard->FormListAlt, name);
        click(m_wizard->FormListAlt, u"ButNext"_s);
        for (const QString& name : {u"Цена"_s, u"Качество"_s, u"Срок"_s})
            addItem(m_wizard->FormListQuality, name);
        click(m_wizard->FormListQuality, compact ? u"ButNextCompact"_s : u"ButNext"_s);
        QCOMPARE(ComUnit::CompareSteps.size(), 21);
        QWidget* screen = compact ? static_cast<QWidget*>(m_wizard->FormSolQ) : m_wizard->FormMain;
        if (compact) {
            for (int page = -1; page < 3; ++page) {
                for (const QString& line : std::as_const(ComUnit::CompareSteps)) {
                    const QString key = ComUnit::stepLinePart(line, 0);
                    const bool onPage =
                        page < 0 ? key.startsWith(u'Q') : key.endsWith(u"&Q_"_s + QString::number(page));
                    auto* bar = child<QSlider>(screen, u"TBarMera"_s + key.at(2) + key.at(6));
                    const int p = onPage ? RoadPositions.value(key, 0) : 0;
                    for (int at = 0; at != p; at += p < 0 ? -1 : 1)
                        QTest::keyClick(bar, p < 0 ? Qt::Key_Left : Qt::Key_Right);
                }
                click(screen, u"ButNext"_s);
            }
        } else {
            auto* bar = child<QSlider>(screen, u"TBarMera"_s);
            for (int step = 0; step < 21; ++step) {
                const int p = RoadPositions.value(ComUnit::StepPart(0), 0);
                QCOMPARE(bar->value(), 0); // never judged: shown as equal
                if (p == 2) {              // 15 % more of B: step 2 towards B
                    typeText(child<QLineEdit>(screen, u"EdA"_s), u"100"_s);
                    typeText(child<QLineEdit>(screen, u"EdB"_s), u"115"_s);
                    click(screen, u"ButRunNumer"_s);
                } else if (p == -1 && step >= 3) { // 10 % more of A, typed with a point: step 1 towards A
                    typeText(child<QLineEdit>(screen, u"EdA"_s), u"1.1"_s);
                    typeText(child<QLineEdit>(screen, u"EdB"_s), u"1"_s);
                    click(screen, u"ButRunNumer"_s);
                } else {
                    for (int at = 0; at > p; --at)
                        QTest::keyClick(bar, Qt::Key_Left);
                }
                QCOMPARE(bar->value(), p);
                click(screen, u"ButNext"_s);
            }
        }
        for (const QString& line : std::as_const(ComUnit::CompareSteps)) {
            const QString key = ComUnit::stepLinePart(line, 0);
            QCOMPARE(stored(key), Scale::PositionToJudgement(RoadPositions.value(key, 0)));
        }
        checkShowsTheEvaluation();
        QCOMPARE(memo().at(7), u"Лучший выбор - Налево"_s);
        QCOMPARE(ComUnit::InterfaceMode, compact ? 1 : 0);

        click(results(), u"ButPrev"_s);
        QCOMPARE(m_wizard->current(), screen);
        QCOMPARE(ComUnit::CurrentStep, 20);
        if (compact) {
            QCOMPARE(m_wizard->FormSolQ->Page, 2);
            QCOMPARE(child<QSlider>(screen, u"TBarMera13"_s)->value(), 2);
            click(screen, u"ButPrev"_s);
            QCOMPARE(child<QSlider>(screen, u"TBarMera02"_s)->value(), -1);
            for (int i = 0; i < 2; ++i)
                click(screen, u"ButNext"_s);
        } else {
            QCOMPARE(child<QSlider>(screen, u"TBarMera"_s)->value(), 2);
            for (int i = 0; i < 5; ++i)
                click(screen, u"ButPrev"_s);
            QCOMPARE(ComUnit::CurrentStep, 15);
            for (int i = 0; i < 6; ++i)
                click(screen, u"ButNext"_s);
        }
        checkShowsTheEvaluation();
    }

    void testScreenParts()
    {
        showResults(houseProblem());
        QCOMPARE(child<QPushButton>(results(), u"ButExpToWordShort"_s)->text(), u"Экспорт в Word (короткий отчет)"_s);
        QCOMPARE(child<QPushButton>(results(), u"ButExpToWordFull"_s)->text(), u"Экспорт в Word (полный отчет)"_s);
        auto* memoEdit = child<QPlainTextEdit>(results(), u"MResult"_s);
        QVERIFY(memoEdit->isReadOnly());
        QCOMPARE(memoEdit->width(), 384);
        // The analysis button sits in the strip beside the others, none moved, none overlapping, its caption whole.
        auto* strip = child<QFrame>(results(), u"Panel1"_s);
        const QStringList names{u"ButPrev"_s, u"ButAnalysis"_s, u"ButExpToWordShort"_s, u"ButExpToWordFull"_s};
        QList<QPushButton*> buttons;
        for (const QString& name : names) {
            buttons << child<QPushButton>(strip, name);
            QVERIFY2(buttons.last() && buttons.last()->isEnabled(), qPrintable(name));
            QVERIFY2(strip->rect().contains(buttons.last()->geometry()), qPrintable(name));
        }
        QCOMPARE(buttons[0]->geometry(), QRect(48, 8, 100, 25));
        QCOMPARE(buttons[2]->geometry(), QRect(260, 8, 200, 25));
        QCOMPARE(buttons[3]->geometry(), QRect(490, 8, 200, 25));
        QCOMPARE(buttons[1]->text(), u"Анализ решения"_s);
        QVERIFY(buttons[1]->sizeHint().width() <= buttons[1]->width());
        for (int i = 1; i < buttons.size(); ++i)
            QVERIFY(buttons[i - 1]->geometry().right() < buttons[i]->geometry().left());

        QCOMPARE(chart()->title(), u"Результаты выбора"_s);
        QVERIFY(!chart()->legend()->isVisible());
        QCOMPARE(chart()->backgroundBrush().color(), QColor(Qt::white));
        auto* values = qobject_cast<QValueAxis*>(chart()->axes(Qt::Vertical).value(0));
        QVERIFY(values);
        QCOMPARE(values->min(), 0.0);
        QCOMPARE(values->max(), 100.0);
        // Red bars, drawn with a gradient that ends in the series colour.
        const QGradient* gradient = bars()->brush().gradient();
        QVERIFY(gradient);
        QCOMPARE(gradient->stops().last().second, QColor(Qt::red));
        QCOMPARE(gradient->stops().first().second.hue(), QColor(Qt::red).hue());
        QCOMPARE(bars()->label(), u"SAlt"_s);
    }

    // Both warnings of an inconsistent problem and a name of 255 letters wrap at the
    // memo's width: no line runs off its edge behind a horizontal scroll bar.
    void testMemoWrapsLongLines()
    {
        QByteArray problem = TestSupport::readBytes(QDir(TestSupport::examplesDir()).filePath(u"Банк.qzr"_s));
        problem.replace(TestSupport::cp1251("Вклад в Сбербанке"), QByteArray(255, '\xC6')); // Ж
        showResults(problem);
        QCOMPARE(memo().count(u"Внимание!"_s), 2);
        QVERIFY(memo().filter(QString(255, u'Ж') + u' ').size() == 1);
        auto* memoEdit = child<QPlainTextEdit>(results(), u"MResult"_s);
        QCOMPARE(memoEdit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!memoEdit->horizontalScrollBar()->isVisible());
        QCOMPARE(memoEdit->horizontalScrollBar()->maximum(), 0);
    }

    // Each mark gives its bar's share of all bars and stands above it, its pointer's length away.
    void testMarks()
    {
        showResults(TestSupport::cp1251("[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=p\r\nQ_1=q\r\n"
                                        "Count=2\r\n[QualM]\r\nA_0*A_1&Q_0=-2\r\nA_0*A_2&Q_0=-2\r\nA_0*A_1&Q_1=-2\r\n"
                                        "A_0*A_2&Q_1=-2\r\n"));
        QCOMPARE(results()->markTexts(), (QStringList{u"50 %"_s, u"25 %"_s, u"25 %"_s}));
        QTRY_VERIFY(chart()->plotArea().height() > 100);
        const QList<QRectF> rects = results()->markRects();
        QCOMPARE(rects.size(), 3);
        auto* series = qobject_cast<QBarSeries*>(chart()->series().value(0));
        for (int i = 0; i < 3; ++i) {
            const QPointF top = chart()->mapToPosition(QPointF(i, bars()->at(i)), series);
            QVERIFY2(qAbs(rects[i].center().x() - top.x()) < 1.0, qPrintable(QString::number(i)));
            QVERIFY2(qAbs(rects[i].bottom() - (top.y() - TFormFinal::MarkPointerLength)) < 1.0,
                     qPrintable(QString::number(i)));
        }
    }

    // Showing again refills, never appends: back, forward, the same memo and bars; a change shows.
    void testShowingAgainReplacesEverything()
    {
        showResults(houseProblem() + roadJudgements(false));
        const QStringList first = memo();
        checkShowsTheEvaluation();
        click(results(), u"ButPrev"_s);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(memo(), first);
        QCOMPARE(bars()->count(), 4);
        QCOMPARE(results()->markTexts().size(), 4);

        // Fewer alternatives after a change of the lists: fewer bars and marks. Налево against Направо: equal
        // under Цена and Срок, twice under Качество: 4/7 x 1/2 + 2/7 x 2/3 + 1/7 x 1/2 = 23/42.
        click(results(), u"ButPrev"_s);
        IniFile(problemPath()).writeInteger(ProblemKeys::AltSection, u"Count", 2);
        click(m_wizard->FormMain, u"ButNext"_s);
        checkShowsTheEvaluation();
        QCOMPARE(bars()->count(), 2);
        QCOMPARE(results()->markTexts(), (QStringList{u"54,76 %"_s, u"45,24 %"_s}));
    }

    // The window in the program's style over the results; its pages show the analysis of the results shown.
    void testAnalysisWindow()
    {
        openAnalysis(houseProblem() + roadJudgements(false));
        TFormAnalysis* w = analysis();
        const AnalysisResult& a = w->analysis();
        QCOMPARE(w->windowTitle(), u"Оптивар 2009 R2 | анализ решения"_s);
        QCOMPARE(w->size(), QSize(792, 573));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // Placed by the program, so the window manager does not put it elsewhere: centred over the results.
        QVERIFY(w->testAttribute(Qt::WA_Moved));
        QCOMPARE(w->geometry().center(), results()->geometry().center());
        QCOMPARE(child<QTabWidget>(w, u"Pages"_s)->count(), 3);
        QCOMPARE(child<QPushButton>(w, u"ButClose"_s)->text(), u"Закрыть"_s);

        showPage(u"Веса и приоритеты"_s);
        // From the bottom up, so that the first criterion is on top.
        QChart* weights = child<QChartView>(w, u"ChartWeights"_s)->chart();
        QCOMPARE(qobject_cast<QBarCategoryAxis*>(weights->axes(Qt::Vertical).value(0))->categories(),
                 (QStringList{u"3. Срок — 14,29%"_s, u"2. Качество — 28,57%"_s, u"1. Цена — 57,14%"_s}));
        auto* table = child<QTableWidget>(w, u"TableLocal"_s);
        QCOMPARE(table->horizontalHeaderItem(1)->text(), u"2. Качество\n28,57%"_s);
        QCOMPARE(table->horizontalHeaderItem(3)->text(), u"Приоритет"_s);
        QCOMPARE(table->verticalHeaderItem(3)->text(), u"Назад"_s);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(table->item(i, 3)->text(), AnalysisText::percent(a.priorities.at(std::size_t(i))));
        // The best of each column in bold: none where all are equal, Налево under Качество, Назад under
        // Срок, the best choice overall.
        QStringList bold;
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 4; ++r) {
                if (table->item(r, c)->font().bold())
                    bold << QString::number(r) + u'/' + QString::number(c);
            }
        }
        QCOMPARE(bold, (QStringList{u"0/1"_s, u"3/2"_s, u"0/3"_s}));
        // No empty band under the last row.
        const int last = table->rowCount() - 1;
        QTRY_COMPARE(table->rowViewportPosition(last) + table->rowHeight(last), table->viewport()->height());

        showPage(u"Согласованность"_s);
        QVERIFY(!child<QTableWidget>(w, u"TableRevisit"_s)->isVisible());
        QCOMPARE(child<QLabel>(w, u"LabelRevisit"_s)->text(),
                 u"Пересматривать нечего: ответы в каждой матрице достаточно согласованы."_s);

        showPage(u"Чувствительность"_s);
        auto* box = child<QComboBox>(w, u"CBoxCriterion"_s);
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->currentText(), u"Срок"_s); // the nearest to changing the winner first
        QCOMPARE(child<QLabel>(w, u"LabelSmallest"_s)->text(), AnalysisText::smallestChangeLine(a));
        QChart* chart = child<QChartView>(w, u"ChartSensitivity"_s)->chart();
        QTest::keyClick(box, Qt::Key_Home);
        for (int k = 0; k < 3; ++k) {
            if (k > 0)
                QTest::keyClick(box, Qt::Key_Down);
            const CriterionSensitivity& s = a.sensitivity.at(std::size_t(k));
            QCOMPARE(child<QLabel>(w, u"LabelInterval"_s)->text(), AnalysisText::sensitivityLine(a, k));
            QList<QLineSeries*> lines;
            QLineSeries* marker = nullptr;
            QAreaSeries* area = nullptr;
            for (QAbstractSeries* x : chart->series()) {
                if (x->objectName() == u"MarkerWeight"_s)
                    marker = qobject_cast<QLineSeries*>(x);
                else if (x->objectName() == u"IntervalArea"_s)
                    area = qobject_cast<QAreaSeries*>(x);
                else if (auto* line = qobject_cast<QLineSeries*>(x))
                    lines << line;
            }
            QCOMPARE(lines.size(), 4);
            for (int i = 0; i < 4; ++i) {
                QVERIFY(qAbs(lines[i]->at(0).y() - 100.0 * s.lines.at(std::size_t(i)).at(0.0)) < 1e-9);
                QVERIFY(qAbs(lines[i]->at(1).y() - 100.0 * s.lines.at(std::size_t(i)).at(1.0)) < 1e-9);
                if (i > 0) // the winner's line has a colour of its own
                    QVERIFY(lines[i]->pen().color() != lines[0]->pen().color());
            }
            QVERIFY(marker && qAbs(marker->at(0).x() - 100.0 * s.weight) < 1e-9);
            QVERIFY(area && qAbs(area->upperSeries()->at(0).x() - 100.0 * s.low) < 1e-9);
            QVERIFY(qAbs(area->upperSeries()->at(1).x() - 100.0 * s.high) < 1e-9);
            // The band lies under the lines (drawn first); it and the weight line are in the legend.
            QVERIFY(chart->series().indexOf(area) < chart->series().indexOf(lines.first()));
            for (QAbstractSeries* extra :
                 {static_cast<QAbstractSeries*>(area), static_cast<QAbstractSeries*>(marker)}) {
                QCOMPARE(chart->legend()->markers(extra).size(), 1);
                QTRY_VERIFY(chart->legend()->markers(extra).first()->isVisible());
            }
        }
    }

    void testRevisitOpensTheDialogOnThatStep_data()
    {
        QTest::addColumn<bool>("compact");
        QTest::newRow("compared step by step") << false;
        QTest::newRow("compared on the compact screen") << true;
    }

    // Whatever interface was used, the dialog opens on the pair, showing it as
    // stored, and the way on from there is the dialog's own.
    void testRevisitOpensTheDialogOnThatStep()
    {
        QFETCH(bool, compact);
        openAnalysis(houseProblem() + roadJudgements(true), compact);
        showPage(u"Согласованность"_s);
        const AnalysisResult& a = analysis()->analysis();
        auto* consistency = child<QTableWidget>(analysis(), u"TableConsistency"_s);
        QCOMPARE(consistency->rowCount(), 4);
        for (int r = 0; r < 4; ++r) {
            const QStringList row = QStringList{AnalysisText::matrixTitle(a, a.matrices.at(r))} +
                                    AnalysisText::consistencyCells(a.matrices.at(r));
            for (int c = 0; c < row.size(); ++c)
                QCOMPARE(consistency->item(r, c)->text(), row.at(c));
        }
        QCOMPARE(consistency->item(1, 0)->text(), u"Альтернативы по критерию «Цена»"_s);
        QCOMPARE(consistency->item(1, 4)->text(), u"противоречивы"_s);
        QCOMPARE(consistency->item(1, 0)->foreground().color(), QColor(Qt::red));
        QVERIFY(consistency->item(1, 0)->font().bold() && !consistency->item(0, 0)->font().bold());
        auto* revisit = child<QTableWidget>(analysis(), u"TableRevisit"_s);
        QCOMPARE(revisit->rowCount(), a.matrices.at(1).revisit.size());
        for (int r = 0; r < revisit->rowCount(); ++r) {
            QCOMPARE(revisit->item(r, 0)->text(), u"Альтернативы по критерию «Цена»"_s);
            QCOMPARE(revisit->item(r, 1)->text(), a.matrices.at(1).revisit.at(r).presentSentence);
            QCOMPARE(revisit->item(r, 2)->text(), a.matrices.at(1).revisit.at(r).suggestedSentence);
        }
        QCOMPARE(a.matrices.at(1).revisit.value(0).step, ReversedStep);
        QPointer<TFormAnalysis> w = analysis();
        const QRect first = revisit->visualRect(revisit->model()->index(0, 1));
        // A double click as a mouse makes it: the first click selects, the second press opens.
        QTest::mouseClick(revisit->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(revisit->viewport(), Qt::LeftButton, {}, first.center());

        QTRY_VERIFY(w.isNull());
        QCOMPARE(m_wizard->current(), m_wizard->FormMain);
        QVERIFY(m_wizard->FormMain->isVisible() && !results()->isVisible());
        QCOMPARE(ComUnit::InterfaceMode, 0);
        QCOMPARE(ComUnit::CompareSteps.size(), 21);
        QCOMPARE(ComUnit::CurrentStep, ReversedStep);
        QCOMPARE(child<QLabel>(m_wizard->FormMain, u"STextTop"_s)->text(),
                 u"Сравнение альтернатив Налево и Назад по критерию Цена."_s);
        auto* bar = child<QSlider>(m_wizard->FormMain, u"TBarMera"_s);
        QCOMPARE(bar->value(), 7); // stored 8: seven steps towards B
        QCOMPARE(child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s)->currentIndex(), ReversedStep);

        // Put right, the judgement leads on through the remaining steps to results with nothing to revisit.
        for (int i = 0; i < 14; ++i)
            QTest::keyClick(bar, Qt::Key_Left);
        for (int step = ReversedStep; step < 21; ++step)
            click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), results());
        click(results(), u"ButAnalysis"_s);
        QVERIFY(!analysis()->analysis().matrices.at(1).inconsistent);
        QCOMPARE(child<QTableWidget>(analysis(), u"TableRevisit"_s)->rowCount(), 0);
        analysis()->close();
    }

    void testClosingReturnsToTheResults_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << u"close"_s;
        QTest::newRow("Закрыть") << u"button"_s;
        QTest::newRow("Escape") << u"escape"_s;
    }

    // No closing question: the script saw no box. And it opens again.
    void testClosingReturnsToTheResults()
    {
        QFETCH(QString, how);
        openAnalysis(houseProblem() + roadJudgements(true));
        const QStringList before = memo();
        QPointer<TFormAnalysis> w = analysis();
        if (how == u"close"_s)
            QVERIFY(w->close());
        else if (how == u"button"_s)
            click(w, u"ButClose"_s);
        else
            QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(w.isNull());
        QVERIFY(boxes().isEmpty());
        QCOMPARE(m_wizard->current(), results());
        QVERIFY(results()->isVisible());
        QCOMPARE(memo(), before);
        click(results(), u"ButAnalysis"_s);
        QVERIFY(analysis());
        analysis()->close();
    }
};

GUITEST_MAIN(TestResults)
#include "test_results.moc"
