// The decision analysis from the results screen: its window and pages against answers worked out by hand, the
// way from a judgement to revisit into the comparison dialog, and closing back to the results.
#include "evaluate/ui/TFormAnalysis.h"

#include "compare/ui/TFormMain.h"
#include "compare/ui/TFormSolQ.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ui/TFormFinal.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/ui/TFormListProblem.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;

namespace {

// Criteria weigh 4 : 2 : 1 (Цена, Качество, Срок). Under Качество Налево counts twice each other one; under
// Срок Назад three times each other one; under Цена all are equal. Worked out by hand: global priorities
// 28,10%, 22,38%, 22,38%, 27,14%; Налево stays best while Качество weighs at least 25% (below, Назад takes
// over) and while Срок weighs at most 1/6 (above, Назад); Цена cannot change the winner, since at 100% all tie
// and the first in the file wins.
const char* const Road = "[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_2=Прямо\r\nA_3=Назад\r\nCount=4\r\n"
                         "[Qual]\r\nQ_0=Цена\r\nQ_1=Качество\r\nQ_2=Срок\r\nCount=3\r\n"
                         "[QualM]\r\nQ_0*Q_1=-2\r\nQ_0*Q_2=-4\r\nQ_1*Q_2=-2\r\n"
                         "A_0*A_1&Q_1=-2\r\nA_0*A_2&Q_1=-2\r\nA_0*A_3&Q_1=-2\r\n"
                         "A_0*A_3&Q_2=3\r\nA_1*A_3&Q_2=3\r\nA_2*A_3&Q_2=3\r\n";

// Under Цена the alternatives weigh 8 : 4 : 2 : 1, but Налево and Назад are judged the wrong way round:
// Назад eight times better instead of Налево. That pair is step 5 (after the three criteria pairs, the
// third pair under Цена); the other judgements ask for Налево eight times better.
const char* const Reversed = "A_0*A_1&Q_0=-2\r\nA_0*A_2&Q_0=-4\r\nA_0*A_3&Q_0=8\r\n"
                             "A_1*A_2&Q_0=-2\r\nA_1*A_3&Q_0=-4\r\nA_2*A_3&Q_0=-2\r\n";
constexpr int ReversedStep = 5;

QStringList columnTexts(const QTableWidget* table, int column)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << (table->item(r, column) ? table->item(r, column)->text() : u"<none>"_s);
    return texts;
}

// Where two lines given by their ends at x = 0 and x = 100 meet.
double crossing(const QLineSeries* a, const QLineSeries* b)
{
    const double da = a->at(1).y() - a->at(0).y();
    const double db = b->at(1).y() - b->at(0).y();
    return 100.0 * (b->at(0).y() - a->at(0).y()) / (da - db);
}

} // namespace

using GuiTest::click;

class TestAnalysisWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<Wizard> m_wizard;

    TFormFinal* results() const { return m_wizard->FormFinal; }
    TFormAnalysis* window() const { return results()->findChild<TFormAnalysis*>(); }

    template <typename T> T* part(const QString& name) const { return GuiTest::child<T>(window(), name); }

    /// The results of the problem, reached through the step-by-step dialog or the compact screen, changing
    /// nothing on the way; then the analysis opened.
    void openAnalysis(const QByteArray& problem, bool compact = false)
    {
        GuiTest::openCriteria(*m_session, *m_wizard, m_session->problemPath(u"Дом"_s), problem);
        if (compact) {
            click(m_wizard->FormListQuality, u"ButNextCompact"_s);
            for (int page = -1; page < 3; ++page)
                click(m_wizard->FormSolQ, u"ButNext"_s);
        } else {
            click(m_wizard->FormListQuality, u"ButNext"_s);
            auto* box = GuiTest::child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s);
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_End);
            click(m_wizard->FormMain, u"ButNext"_s);
        }
        QCOMPARE(m_wizard->current(), results());
        QCOMPARE(ComUnit::InterfaceMode, compact ? 1 : 0);
        QVERIFY(QTest::qWaitForWindowExposed(results()));
        QVERIFY(!window());
        click(results(), u"ButAnalysis"_s);
        QVERIFY(window());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }

    void showPage(const QString& title)
    {
        auto* pages = part<QTabWidget>(u"Pages"_s);
        QVERIFY(pages);
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->tabText(i) == title) {
                // As the user does: a click on the tab.
                QTabBar* bar = pages->tabBar();
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
                QCOMPARE(pages->currentIndex(), i);
                return;
            }
        }
        QFAIL(qPrintable(u"no page "_s + title));
    }

    QList<QLineSeries*> alternativeLines(QChart* chart) const
    {
        QList<QLineSeries*> lines;
        for (QAbstractSeries* s : chart->series()) {
            auto* line = qobject_cast<QLineSeries*>(s);
            if (line && line->objectName().isEmpty())
                lines << line;
        }
        return lines;
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init() { GuiTest::startRoad(m_session, m_wizard); }

    void cleanup()
    {
        QList<QWidget*> extra;
        if (m_wizard && window())
            extra << window();
        GuiTest::endRoad(m_session, m_wizard, extra);
    }

    // The new button sits in the strip beside the others, none moved, none overlapping, its caption whole.
    void testButtonBesideTheExports()
    {
        auto* strip = GuiTest::child<QFrame>(results(), u"Panel1"_s);
        QVERIFY(strip);
        const QStringList names{u"ButPrev"_s, u"ButAnalysis"_s, u"ButExpToWordShort"_s, u"ButExpToWordFull"_s};
        QList<QPushButton*> buttons;
        for (const QString& name : names) {
            auto* b = GuiTest::child<QPushButton>(strip, name);
            QVERIFY2(b, qPrintable(name));
            buttons << b;
        }
        QCOMPARE(buttons[0]->geometry(), QRect(48, 8, 100, 25));
        QCOMPARE(buttons[2]->geometry(), QRect(260, 8, 200, 25));
        QCOMPARE(buttons[3]->geometry(), QRect(490, 8, 200, 25));
        QCOMPARE(buttons[1]->text(), u"Анализ решения"_s);
        for (int i = 0; i < buttons.size(); ++i) {
            QVERIFY2(strip->rect().contains(buttons[i]->geometry()), qPrintable(names[i]));
            for (int j = i + 1; j < buttons.size(); ++j)
                QVERIFY2(!buttons[i]->geometry().intersects(buttons[j]->geometry()),
                         qPrintable(names[i] + u" and "_s + names[j]));
        }
        QVERIFY2(buttons[1]->sizeHint().width() <= buttons[1]->width(),
                 qPrintable(QString::number(buttons[1]->sizeHint().width())));
    }

    // The window in the program's style over the results, and its first page, worked out by hand.
    void testWeightsAndPriorities()
    {
        openAnalysis(cp1251(Road));
        TFormAnalysis* w = window();
        QCOMPARE(w->windowTitle(), u"Оптивар 2009 R2 | анализ решения"_s);
        QCOMPARE(w->size(), QSize(792, 573));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // Placed by the program, so the window manager does not put it elsewhere: centred over the results.
        QVERIFY(w->testAttribute(Qt::WA_Moved));
        QCOMPARE(w->geometry().center(), results()->geometry().center());
        QCOMPARE(part<QTabWidget>(u"Pages"_s)->count(), 3);
        QCOMPARE(part<QPushButton>(u"ButClose"_s)->text(), u"Закрыть"_s);
        showPage(u"Веса и приоритеты"_s);
        auto* view = part<QChartView>(u"ChartWeights"_s);
        QVERIFY(view && view->isVisible());
        auto* series = qobject_cast<QHorizontalBarSeries*>(view->chart()->series().value(0));
        QVERIFY(series && series->count() == 1);
        const QBarSet* bars = series->barSets().at(0);
        // From the bottom up, so that the first criterion is on top.
        const double weights[] = {400.0 / 7, 200.0 / 7, 100.0 / 7};
        QCOMPARE(bars->count(), 3);
        for (int k = 0; k < 3; ++k)
            QVERIFY2(qAbs(bars->at(2 - k) - weights[k]) < 1e-9, qPrintable(QString::number(k)));
        auto* names = qobject_cast<QBarCategoryAxis*>(view->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(names);
        QCOMPARE(names->categories(),
                 (QStringList{u"3. Срок — 14,29%"_s, u"2. Качество — 28,57%"_s, u"1. Цена — 57,14%"_s}));

        auto* table = part<QTableWidget>(u"TableLocal"_s);
        QVERIFY(table && table->isVisible());
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->columnCount(), 4);
        QCOMPARE(table->horizontalHeaderItem(1)->text(), u"2. Качество\n28,57%"_s);
        QCOMPARE(table->horizontalHeaderItem(3)->text(), u"Приоритет"_s);
        QCOMPARE(table->verticalHeaderItem(3)->text(), u"Назад"_s);
        QCOMPARE(columnTexts(table, 0), QStringList(4, u"25,00%"_s));
        QCOMPARE(columnTexts(table, 1), (QStringList{u"40,00%"_s, u"20,00%"_s, u"20,00%"_s, u"20,00%"_s}));
        QCOMPARE(columnTexts(table, 2), (QStringList{u"16,67%"_s, u"16,67%"_s, u"16,67%"_s, u"50,00%"_s}));
        QCOMPARE(columnTexts(table, 3), (QStringList{u"28,10%"_s, u"22,38%"_s, u"22,38%"_s, u"27,14%"_s}));
        // The best of each column in bold: none where all are equal, Налево under Качество, Назад under Срок,
        // the best choice overall.
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
        QVERIFY(!part<QTableWidget>(u"TableRevisit"_s)->isVisible());
        QCOMPARE(part<QLabel>(u"LabelRevisit"_s)->text(),
                 u"Пересматривать нечего: ответы в каждой матрице достаточно согласованы."_s);
    }

    void testConsistency()
    {
        openAnalysis(cp1251(Road) + cp1251(Reversed));
        showPage(u"Согласованность"_s);
        auto* table = part<QTableWidget>(u"TableConsistency"_s);
        QVERIFY(table && table->isVisible());
        QCOMPARE(columnTexts(table, 0),
                 (QStringList{u"Критерии"_s, u"Альтернативы по критерию «Цена»"_s,
                              u"Альтернативы по критерию «Качество»"_s, u"Альтернативы по критерию «Срок»"_s}));
        QCOMPARE(columnTexts(table, 4),
                 (QStringList{u"согласованы"_s, u"противоречивы"_s, u"согласованы"_s, u"согласованы"_s}));
        // A consistent matrix: λ equals its order, nothing to index.
        QCOMPARE(table->item(0, 1)->text(), u"3,000"_s);
        QCOMPARE(table->item(0, 2)->text(), u"0,000"_s);
        QCOMPARE(table->item(0, 3)->text(), u"0,00%"_s);
        const AnalysisMatrix& price = window()->analysis().matrices.at(1);
        QVERIFY(price.consistencyRatio > 0.1);
        QCOMPARE(table->item(1, 3)->text(), NumberFormat::hundredfold(price.consistencyRatio).trimmed() + u'%');
        QCOMPARE(table->item(1, 0)->foreground().color(), QColor(Qt::red));
        QVERIFY(table->item(1, 0)->font().bold() && !table->item(0, 0)->font().bold());

        auto* revisit = part<QTableWidget>(u"TableRevisit"_s);
        QVERIFY(revisit && revisit->isVisible());
        QVERIFY(price.inconsistent);
        QCOMPARE(revisit->rowCount(), price.revisit.size());
        QCOMPARE(columnTexts(revisit, 0), QStringList(revisit->rowCount(), u"Альтернативы по критерию «Цена»"_s));
        // The reversed judgement first: Назад eight times better as given, Налево eight times as the rest asks.
        // The ratio follows the sentence: its first number belongs to the element named first.
        QVERIFY2(revisit->item(0, 1)->text().startsWith(u"Назад"_s), qPrintable(revisit->item(0, 1)->text()));
        QVERIFY2(revisit->item(0, 1)->text().endsWith(u" [8/1]"_s), qPrintable(revisit->item(0, 1)->text()));
        QVERIFY2(revisit->item(0, 2)->text().startsWith(u"Налево"_s), qPrintable(revisit->item(0, 2)->text()));
        QVERIFY2(revisit->item(0, 2)->text().endsWith(u" [8/1]"_s), qPrintable(revisit->item(0, 2)->text()));
        for (int r = 0; r < revisit->rowCount(); ++r) {
            QCOMPARE(revisit->item(r, 1)->text(), price.revisit.at(r).presentSentence);
            QCOMPARE(revisit->item(r, 2)->text(), price.revisit.at(r).suggestedSentence);
        }
    }

    void testRevisitOpensTheDialogOnThatStep_data()
    {
        QTest::addColumn<bool>("compact");
        QTest::newRow("compared step by step") << false;
        QTest::newRow("compared on the compact screen") << true;
    }

    // Whatever interface was used, the dialog opens on the pair, showing it as stored, and the way on from
    // there is the dialog's own.
    void testRevisitOpensTheDialogOnThatStep()
    {
        QFETCH(bool, compact);
        openAnalysis(cp1251(Road) + cp1251(Reversed), compact);
        showPage(u"Согласованность"_s);
        auto* revisit = part<QTableWidget>(u"TableRevisit"_s);
        QVERIFY(revisit && revisit->rowCount() > 0);
        QPointer<TFormAnalysis> w = window();
        const QRect first = revisit->visualRect(revisit->model()->index(0, 1));
        // A double click as a mouse makes it: the first click selects, the second press opens.
        QTest::mouseClick(revisit->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(revisit->viewport(), Qt::LeftButton, {}, first.center());

        QTRY_VERIFY(w.isNull());
        QCOMPARE(m_wizard->current(), m_wizard->FormMain);
        QVERIFY(m_wizard->FormMain->isVisible());
        QVERIFY(!results()->isVisible());
        QCOMPARE(ComUnit::InterfaceMode, 0);
        QCOMPARE(ComUnit::CompareSteps.size(), 21);
        QCOMPARE(ComUnit::CurrentStep, ReversedStep);
        QCOMPARE(GuiTest::child<QLabel>(m_wizard->FormMain, u"STextTop"_s)->text(),
                 u"Сравнение альтернатив Налево и Назад по критерию Цена."_s);
        // Stored 8: seven steps towards B.
        auto* bar = GuiTest::child<QSlider>(m_wizard->FormMain, u"TBarMera"_s);
        QCOMPARE(bar->value(), 7);
        QCOMPARE(GuiTest::child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s)->currentIndex(), ReversedStep);
        QVERIFY(m_session->dialogs().calls().isEmpty());

        // Put right, the judgement leads on through the remaining steps to results with nothing to revisit.
        for (int i = 0; i < 14; ++i)
            QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(bar->value(), -7);
        for (int step = ReversedStep; step < 21; ++step)
            click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), results());
        click(results(), u"ButAnalysis"_s);
        QVERIFY(window());
        QVERIFY(!window()->analysis().matrices.at(1).inconsistent);
        QCOMPARE(part<QTableWidget>(u"TableRevisit"_s)->rowCount(), 0);
        window()->close();
    }

    void testSensitivity()
    {
        openAnalysis(cp1251(Road));
        showPage(u"Чувствительность"_s);
        auto* box = part<QComboBox>(u"CBoxCriterion"_s);
        auto* view = part<QChartView>(u"ChartSensitivity"_s);
        auto* interval = part<QLabel>(u"LabelInterval"_s);
        auto* smallest = part<QLabel>(u"LabelSmallest"_s);
        QVERIFY(box && view && interval && smallest);
        QCOMPARE(box->count(), 3);
        // Срок is nearest to changing the winner, so it is shown first.
        QCOMPARE(box->currentText(), u"Срок"_s);
        QVERIFY2(smallest->text().contains(u"«Срок»"_s) && smallest->text().contains(u"16,67%"_s) &&
                     smallest->text().contains(u"«Назад»"_s),
                 qPrintable(smallest->text()));

        struct Expected
        {
            QString criterion;
            double weight; // per cent
            double low;
            double high;
            double crossing; // of Налево and Назад, -1 where they meet only at 100
        };
        const QList<Expected> rows{
            {u"Цена"_s, 400.0 / 7, 0.0, 100.0, -1.0},
            {u"Качество"_s, 200.0 / 7, 25.0, 100.0, 25.0},
            {u"Срок"_s, 100.0 / 7, 0.0, 100.0 / 6, 100.0 / 6},
        };
        QTest::keyClick(box, Qt::Key_Home);
        for (int k = 0; k < 3; ++k) {
            if (k > 0)
                QTest::keyClick(box, Qt::Key_Down);
            const Expected& e = rows.at(k);
            QCOMPARE(box->currentText(), e.criterion);
            QChart* chart = view->chart();
            const QList<QLineSeries*> lines = alternativeLines(chart);
            QCOMPARE(lines.size(), 4);
            const CriterionSensitivity& s = window()->analysis().sensitivity.at(std::size_t(k));
            for (int i = 0; i < 4; ++i) {
                QVERIFY(qAbs(lines[i]->at(0).y() - 100.0 * s.lines.at(std::size_t(i)).at(0.0)) < 1e-9);
                QVERIFY(qAbs(lines[i]->at(1).y() - 100.0 * s.lines.at(std::size_t(i)).at(1.0)) < 1e-9);
            }
            // At 100% of the weight every line gives the local priority under this criterion.
            if (k == 0) {
                for (QLineSeries* line : lines)
                    QVERIFY(qAbs(line->at(1).y() - 25.0) < 1e-9);
            } else {
                QVERIFY(qAbs(crossing(lines[0], lines[3]) - e.crossing) < 1e-9);
            }

            const QList<QAbstractSeries*> all = chart->series();
            const auto found = std::find_if(all.begin(), all.end(),
                                            [](QAbstractSeries* x) { return x->objectName() == u"MarkerWeight"_s; });
            QVERIFY(found != all.end());
            auto* marker = qobject_cast<QLineSeries*>(*found);
            QVERIFY(marker && qAbs(marker->at(0).x() - e.weight) < 1e-9 && marker->at(1).x() == marker->at(0).x());

            const auto area = std::find_if(all.begin(), all.end(),
                                           [](QAbstractSeries* x) { return x->objectName() == u"IntervalArea"_s; });
            QVERIFY(area != all.end());
            const QLineSeries* upper = qobject_cast<QAreaSeries*>(*area)->upperSeries();
            QVERIFY(qAbs(upper->at(0).x() - e.low) < 1e-9);
            QVERIFY(qAbs(upper->at(1).x() - e.high) < 1e-9);
            // The band lies under the lines (drawn first), and it and the weight line are in the legend.
            QVERIFY(all.indexOf(*area) < all.indexOf(lines.first()));
            for (QAbstractSeries* extra : {*area, *found}) {
                const QList<QLegendMarker*> legend = chart->legend()->markers(extra);
                QCOMPARE(legend.size(), 1);
                QTRY_VERIFY(legend.first()->isVisible());
            }
            // The winner's line has a colour of its own.
            for (int i = 1; i < 4; ++i)
                QVERIFY(lines[i]->pen().color() != lines[0]->pen().color());

            QVERIFY2(interval->text().contains(u'«' + e.criterion + u'»'), qPrintable(interval->text()));
            if (k == 0)
                QVERIFY2(interval->text().startsWith(u"При любом весе"_s), qPrintable(interval->text()));
            else
                QVERIFY2(interval->text().contains(u"станет «Назад»"_s), qPrintable(interval->text()));
        }
    }

    void testClosingReturnsToTheResults_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << u"close"_s;
        QTest::newRow("Закрыть") << u"button"_s;
        QTest::newRow("Escape") << u"escape"_s;
    }

    void testClosingReturnsToTheResults()
    {
        QFETCH(QString, how);
        openAnalysis(cp1251(Road) + cp1251(Reversed));
        const QStringList memo = results()->result().Memo;
        QPointer<TFormAnalysis> w = window();
        if (how == u"close"_s)
            QVERIFY(w->close());
        else if (how == u"button"_s)
            click(w, u"ButClose"_s);
        else
            QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(w.isNull());
        // No closing question: the scripted dialogs saw nothing.
        QVERIFY2(m_session->dialogs().calls().isEmpty(), qPrintable(GuiTest::describe(m_session->dialogs().calls())));
        QCOMPARE(m_wizard->current(), results());
        QVERIFY(results()->isVisible());
        QCOMPARE(results()->result().Memo, memo);
        // And it opens again.
        click(results(), u"ButAnalysis"_s);
        QVERIFY(window());
        window()->close();
    }
};

QTEST_MAIN(TestAnalysisWindow)
#include "test_analysis_window.moc"
