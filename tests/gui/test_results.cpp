// The road of a decision to the results; the results screen shows what the
// evaluation computed, with its chart's own settings, marks and geometry; the
// decision analysis opened from it; the reports saved from it.
#include "evaluate/AnalysisText.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/chart/ResultChart.h"
#include "evaluate/ui/TFormAnalysis.h"
#include "report/ui/ExportNotice.h"

#include "DocxReader.h"
#include "GuiFixture.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QImageReader>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;

namespace {

// All consistent: criteria weigh 4 : 2 : 1 (Цена, Качество, Срок); under Цена the alternatives are
// equal; under Качество Налево counts twice each other one; under Срок Назад three times each other one.
const QByteArray Consistent =
    "[QualM]\r\nQ_0*Q_1=-2\r\nQ_0*Q_2=-4\r\nQ_1*Q_2=-2\r\nA_0*A_1&Q_1=-2\r\nA_0*A_2&Q_1=-2\r\n"
    "A_0*A_3&Q_1=-2\r\nA_0*A_3&Q_2=3\r\nA_1*A_3&Q_2=3\r\nA_2*A_3&Q_2=3\r\n";
// Under Цена, Назад eight times better than Налево (step 5), against all the other judgements under Цена.
const QByteArray Reversed = Consistent + "A_0*A_1&Q_0=-2\r\nA_0*A_2&Q_0=-4\r\nA_0*A_3&Q_0=8\r\nA_1*A_2&Q_0=-2\r\n"
                                         "A_1*A_3&Q_0=-4\r\nA_2*A_3&Q_0=-2\r\n";
constexpr int ReversedStep = 5;

} // namespace

class TestResults : public GuiFixture
{
    Q_OBJECT

    TFormFinal* results() const { return m_wizard->FormFinal; }
    QChart* chart() const { return results()->chartView()->chart(); }
    QBarSet* bars() const { return qobject_cast<QBarSeries*>(chart()->series().value(0))->barSets().value(0); }
    QStringList memo() const { return child<QPlainTextEdit>(results(), u"MResult"_s)->toPlainText().split(u'\n'); }
    TFormAnalysis* analysis() const { return results()->findChild<TFormAnalysis*>(); }
    QString reportsDir() const { return datDir() + u"/Отчеты"_s; }
    QStringList documents() const { return QDir(reportsDir()).entryList(QDir::Files | QDir::Hidden); }
    ExportNotice* notice() const { return child<ExportNotice>(results(), u"STextSaved"_s); }

    void openAnalysis(const QByteArray& problem, bool compact = false)
    {
        showResults(problem, compact);
        click(results(), u"ButAnalysis"_s);
        QVERIFY(analysis());
        QVERIFY(QTest::qWaitForWindowExposed(analysis()));
    }

    void showPage(int index)
    {
        QTabBar* tabs = child<QTabWidget>(analysis(), u"Pages"_s)->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        QCOMPARE(tabs->currentIndex(), index);
    }

private Q_SLOTS:
    void testScreenParts()
    {
        showResults(houseProblem());
        QCOMPARE(texts(results(), {u"ButPrev"_s, u"ButAnalysis"_s, u"ButExpToWordShort"_s, u"ButExpToWordFull"_s}),
                 (QStringList{u"Вернуться"_s, u"Анализ решения"_s, u"Экспорт в Word (короткий отчет)"_s,
                              u"Экспорт в Word (полный отчет)"_s}));
        auto* memoEdit = child<QPlainTextEdit>(results(), u"MResult"_s);
        QVERIFY(memoEdit->isReadOnly() && memoEdit->width() == 384);
        // The analysis button sits in the strip between the others, none moved, none overlapping, its caption whole.
        auto* strip = child<QWidget>(results(), u"Panel1"_s);
        QList<QRect> places;
        for (auto* button : strip->findChildren<QPushButton*>()) {
            QVERIFY2(strip->rect().contains(button->geometry()) && button->isEnabled(), qPrintable(button->text()));
            places << button->geometry();
        }
        std::sort(places.begin(), places.end(), [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
        QCOMPARE((QList<QRect>{places.value(0), places.value(2), places.value(3), places.value(4)}),
                 (QList<QRect>{QRect(48, 8, 100, 25), QRect(260, 8, 200, 25), QRect(490, 8, 200, 25), QRect()}));
        QVERIFY(places[0].right() < places[1].left() && places[1].right() < places[2].left());
        QVERIFY(child<QPushButton>(strip, u"ButAnalysis"_s)->sizeHint().width() <= places[1].width());

        auto* values = qobject_cast<QValueAxis*>(chart()->axes(Qt::Vertical).value(0));
        QCOMPARE((QStringList{chart()->title(), bars()->label(), u"%1 to %2"_s.arg(values->min()).arg(values->max())}),
                 (QStringList{u"Результаты выбора"_s, u"SAlt"_s, u"0 to 100"_s}));
        QVERIFY(!chart()->legend()->isVisible() && chart()->backgroundBrush().color() == QColor(Qt::white));
        // Red bars, drawn with a gradient that ends in the series colour.
        const QGradientStops stops = bars()->brush().gradient()->stops();
        QVERIFY(stops.last().second == QColor(Qt::red) && stops.first().second.hue() == QColor(Qt::red).hue());
    }

    // Both warnings of an inconsistent problem and a name of 255 letters wrap at the
    // memo's width: no line runs off its edge behind a horizontal scroll bar.
    void testMemoWrapsLongLines()
    {
        QByteArray problem = TestSupport::readBytes(QDir(TestSupport::examplesDir()).filePath(u"Банк.qzr"_s));
        problem.replace(TestSupport::cp1251("Вклад в Сбербанке"), QByteArray(255, '\xC6')); // Ж
        showResults(problem);
        QCOMPARE(memo().count(u"Внимание!"_s), 2);
        QCOMPARE(memo().filter(QString(255, u'Ж') + u' ').size(), 1);
        auto* memoEdit = child<QPlainTextEdit>(results(), u"MResult"_s);
        QCOMPARE(memoEdit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!memoEdit->horizontalScrollBar()->isVisible());
        QCOMPARE(memoEdit->horizontalScrollBar()->maximum(), 0);
    }

    // Each mark gives its bar's share of all bars and stands above it, its pointer's
    // length away. Showing again refills, never appends; a change of the lists shows.
    void testMarksAndShowingAgain()
    {
        showResults(TestSupport::cp1251("[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=p\r\nQ_1=q\r\n"
                                        "Count=2\r\n[QualM]\r\nA_0*A_1&Q_0=-2\r\nA_0*A_2&Q_0=-2\r\nA_0*A_1&Q_1=-2\r\n"
                                        "A_0*A_2&Q_1=-2\r\n"));
        QCOMPARE(results()->markTexts(), (QStringList{u"50 %"_s, u"25 %"_s, u"25 %"_s}));
        QTRY_VERIFY(chart()->plotArea().height() > 100);
        const QList<QRectF> rects = results()->markRects();
        QCOMPARE(rects.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QPointF top = chart()->mapToPosition(QPointF(i, bars()->at(i)), chart()->series().value(0));
            QVERIFY2(qAbs(rects[i].center().x() - top.x()) < 1.0, qPrintable(QString::number(i)));
            QVERIFY2(qAbs(rects[i].bottom() - (top.y() - TFormFinal::MarkPointerLength)) < 1.0,
                     qPrintable(QString::number(i)));
        }

        const QStringList first = memo();
        click(results(), u"ButPrev"_s);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(memo(), first);
        QCOMPARE(results()->markTexts().size(), 3);
        // a against b alone: twice under both criteria.
        click(results(), u"ButPrev"_s);
        IniFile(problemPath()).writeInteger(ProblemKeys::AltSection, u"Count", 2);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(results()->markTexts(), (QStringList{u"66,67 %"_s, u"33,33 %"_s}));
        // The memo and the bars, labelled 1, 2, are the evaluation of the file as it is now.
        const EvaluationResult expected =
            Evaluation::EvaluateProblem(ProblemData::load(IniFile(problemPath())), QLocale());
        QCOMPARE(memo(), expected.Memo.join(u'\n').split(u'\n'));
        QCOMPARE((QList<qreal>{bars()->at(0), bars()->at(1), qreal(bars()->count())}),
                 (QList<qreal>{expected.Bars.at(0).value, expected.Bars.at(1).value, 2}));
        QCOMPARE(qobject_cast<QBarCategoryAxis*>(chart()->axes(Qt::Horizontal).value(0))->categories(),
                 (QStringList{u"1"_s, u"2"_s}));
    }

    // The window in the program's style over the results; its pages show the analysis of the results shown.
    void testAnalysisWindow()
    {
        openAnalysis(houseProblem() + Consistent);
        TFormAnalysis* w = analysis();
        const AnalysisResult& a = w->analysis();
        QCOMPARE(w->windowTitle(), u"Оптивар 2009 R2 | анализ решения"_s);
        QVERIFY(w->minimumSize() == QSize(792, 573) && w->maximumSize() == QSize(792, 573));
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // Placed by the program, so the window manager does not put it elsewhere: centred over the results.
        QVERIFY(w->testAttribute(Qt::WA_Moved));
        QCOMPARE(w->geometry().center(), results()->geometry().center());
        auto* pages = child<QTabWidget>(w, u"Pages"_s);
        QCOMPARE((QStringList{pages->tabText(0), pages->tabText(1), pages->tabText(2), textOf(w, u"ButClose"_s)}),
                 (QStringList{u"Веса и приоритеты"_s, u"Согласованность"_s, u"Чувствительность"_s, u"Закрыть"_s}));

        auto* table = child<QTableWidget>(w, u"TableLocal"_s);
        QCOMPARE(table->horizontalHeaderItem(1)->text(), u"2. Качество\n28,57%"_s);
        QCOMPARE(table->verticalHeaderItem(3)->text(), u"Назад"_s);
        // The best of each column in bold: none where all are equal, Налево under Качество, Назад under
        // Срок, the best choice overall; the priorities are the evaluation's.
        QStringList bold;
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 4; ++r) {
                if (table->item(r, c)->font().bold())
                    bold << QString::number(r) + u'/' + QString::number(c);
                if (c == 3)
                    QCOMPARE(table->item(r, c)->text(),
                             AnalysisText::percent(results()->result().AltPriority.at(std::size_t(r))));
            }
        }
        QCOMPARE(bold, (QStringList{u"0/1"_s, u"3/2"_s, u"0/3"_s}));
        // No empty band under the last row.
        QTRY_COMPARE(table->rowViewportPosition(3) + table->rowHeight(3), table->viewport()->height());

        showPage(1);
        QVERIFY(!child<QTableWidget>(w, u"TableRevisit"_s)->isVisible());
        QCOMPARE(textOf(w, u"LabelRevisit"_s),
                 u"Пересматривать нечего: ответы в каждой матрице достаточно согласованы."_s);
        showPage(2);
        auto* box = child<QComboBox>(w, u"CBoxCriterion"_s);
        QCOMPARE(box->currentText(), u"Срок"_s); // the nearest to changing the winner first
        QCOMPARE(texts(w, {u"LabelSmallest"_s, u"LabelInterval"_s}),
                 (QStringList{AnalysisText::smallestChangeLine(a), AnalysisText::sensitivityLine(a, 2)}));
        QTest::keyClick(box, Qt::Key_Home);
        QCOMPARE(textOf(w, u"LabelInterval"_s), AnalysisText::sensitivityLine(a, 0));

        // Closed by its close box, "Закрыть" or Escape, without a question: the results as they were; it opens again.
        const QStringList before = memo();
        for (const QString& how : {u"close box"_s, u"Закрыть"_s, u"Escape"_s}) {
            QPointer<TFormAnalysis> shown = analysis();
            if (how == u"close box"_s)
                QVERIFY(shown->close());
            else if (how == u"Закрыть"_s)
                click(shown, u"ButClose"_s);
            else
                QTest::keyClick(shown, Qt::Key_Escape);
            QTRY_VERIFY2(shown.isNull(), qPrintable(how));
            QCOMPARE(m_wizard->current(), results());
            QVERIFY(results()->isVisible());
            QCOMPARE(memo(), before);
            click(results(), u"ButAnalysis"_s);
            QVERIFY(analysis());
        }
        analysis()->close();
    }

    // The judgements to revisit, in red where a matrix is inconsistent; a double click opens the step-by-step
    // dialog on the pair, as stored, and on from there (the way back from the compact screen: test_robustness_screens).
    void testRevisitOpensTheDialogOnThatStep()
    {
        openAnalysis(houseProblem() + Reversed);
        showPage(1);
        const AnalysisResult& a = analysis()->analysis();
        // The row of the inconsistent matrix, in bold red, and its first judgement to revisit, as analysed.
        auto* consistency = child<QTableWidget>(analysis(), u"TableConsistency"_s);
        const QTableWidgetItem* inconsistent = consistency->item(1, 0);
        QCOMPARE(inconsistent->text(), u"Альтернативы по критерию «Цена»"_s);
        QVERIFY(inconsistent->foreground().color() == Qt::red && inconsistent->font().bold() &&
                !consistency->item(0, 0)->font().bold());
        auto* revisit = child<QTableWidget>(analysis(), u"TableRevisit"_s);
        const RevisitJudgement& j = a.matrices.at(1).revisit.value(0);
        QCOMPARE((QStringList{revisit->item(0, 0)->text(), revisit->item(0, 1)->text(), revisit->item(0, 2)->text()}),
                 (QStringList{inconsistent->text(), j.presentSentence, j.suggestedSentence}));
        QPointer<TFormAnalysis> w = analysis();
        const QRect first = revisit->visualRect(revisit->model()->index(0, 1));
        // A double click as a mouse makes it: the first click selects, the second press opens.
        QTest::mouseClick(revisit->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(revisit->viewport(), Qt::LeftButton, {}, first.center());
        QTRY_VERIFY(w.isNull());
        QCOMPARE(m_wizard->current(), m_wizard->FormMain);
        QVERIFY(m_wizard->FormMain->isVisible() && !results()->isVisible());
        QCOMPARE(textOf(m_wizard->FormMain, u"STextTop"_s),
                 u"Сравнение альтернатив Налево и Назад по критерию Цена."_s);
        auto* bar = child<QSlider>(m_wizard->FormMain, u"TBarMera"_s); // stored 8: seven steps towards B
        QCOMPARE((QList<int>{ComUnit::InterfaceMode, ComUnit::CurrentStep, bar->value(),
                             child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s)->currentIndex()}),
                 (QList<int>{0, ReversedStep, 7, ReversedStep}));

        // Put right, the judgement leads on through the remaining steps to results with nothing to revisit.
        for (int i = 0; i < 14; ++i)
            QTest::keyClick(bar, Qt::Key_Left);
        for (int step = ReversedStep; step < 21; ++step)
            click(m_wizard->FormMain, u"ButNext"_s);
        click(results(), u"ButAnalysis"_s);
        QCOMPARE(child<QTableWidget>(analysis(), u"TableRevisit"_s)->rowCount(), 0);
        analysis()->close();
    }

    void testReport_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("kindText");
        QTest::newRow("short") << u"ButExpToWordShort"_s << u"краткий отчет"_s;
        QTest::newRow("full") << u"ButExpToWordFull"_s << u"полный отчет"_s;
    }

    // The document goes to "Отчеты", is handed to the desktop and named on the screen;
    // the chart, saved beside the problem at its size, is the picture in it.
    void testReport()
    {
        QFETCH(QString, button);
        QFETCH(QString, kindText);
        showResults(houseProblem() + "[QualM]\r\nQ_0*Q_1=-5\r\nA_0*A_1&Q_0=-3\r\n");
        const QByteArray problemBefore = problemBytes();
        click(results(), button);
        QCOMPARE(documents().size(), 1);
        const QString name = documents().first();
        QVERIFY2(name.startsWith(u"Дом "_s + kindText + u' ') && name.endsWith(u".docx"_s), qPrintable(name));
        const QString path = QDir(reportsDir()).filePath(name);
        QCOMPARE(opener().opened(), QList<QString>{path});
        QCOMPARE(problemBytes(), problemBefore);

        const QString chartPath = datDir() + u"/graf.bmp"_s;
        QCOMPARE(QImageReader(chartPath).format(), QByteArray("bmp"));
        QCOMPARE(QImageReader(chartPath).size(), ResultChart::ScreenSize);
        const DocxReader::Package package = DocxReader::unzipFile(path);
        QCOMPARE(package.order.filter(u"word/media/"_s).size(), 1);
        QCOMPARE(package.parts.value(package.order.filter(u"word/media/"_s).value(0)),
                 TestSupport::readBytes(chartPath));
        // The picture shows the chart: white around it, red halfway up the first bar.
        const QImage picture(chartPath);
        QCOMPARE(picture.pixelColor(1, 1), QColor(Qt::white));
        const QPointF inBar = chart()->mapToPosition(QPointF(0, bars()->at(0) / 2), chart()->series().value(0));
        const QColor colour = picture.pixelColor(inBar.toPoint());
        QVERIFY2(colour.red() > 200 && colour.green() < 170 && colour.blue() < 170, qPrintable(colour.name()));

        // Each export makes a new document, even within the same second; the next key takes the line away.
        click(results(), button);
        QCOMPARE(documents().size(), 2);
        QCOMPARE(opener().opened().size(), 2);
        checkNotice(results(), opener().opened().at(1));
        QTest::keyClick(child<QWidget>(results(), u"MResult"_s), Qt::Key_Down);
        QCOMPARE(notice()->text(), QString());

        // Nothing opens the third: it stays saved, and a box and the screen tell where.
        opener().setOpens(false);
        answer(Dialogs::Button::Ok);
        click(results(), button);
        const QString third = opener().opened().last();
        QCOMPARE(documents().size(), 3);
        QCOMPARE(QFileInfo(third).absolutePath(), QFileInfo(reportsDir()).absoluteFilePath());
        QCOMPARE(boxes(), QStringList{u"information | Сообщение | "_s + DocumentOpener::notOpenedText(third)});
        QVERIFY2(boxes().at(0).contains(QDir::toNativeSeparators(third)), qPrintable(boxes().at(0)));
        opener().setOpens(true);
        checkNotice(results(), third);
    }

    void testExportFailures_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("a folder where the picture goes") << u"graf.bmp"_s;
        QTest::newRow("a file where Отчеты goes") << u"Отчеты"_s;
    }

    // The error box before any document exists; the screen goes on, and once the way is clear it exports.
    void testExportFailures()
    {
        QFETCH(QString, blocked);
        showResults(houseProblem());
        const QString path = datDir() + u'/' + blocked;
        const bool folder = blocked == u"graf.bmp"_s;
        QVERIFY(folder ? QDir().mkpath(path) : (TestSupport::writeBytes(path, "not a folder"), true));
        answer(Dialogs::Button::Ok);
        click(results(), u"ButExpToWordFull"_s);
        QCOMPARE(boxes().size(), 1);
        QVERIFY2(boxes().at(0).startsWith(u"error | Оптивар | "_s), qPrintable(boxes().at(0)));
        QVERIFY(opener().opened().isEmpty());
        QCOMPARE(notice()->text(), QString());
        QCOMPARE(QDir(datDir()).entryList({u"*.docx"_s, u"*.tmp"_s}, QDir::Files), QStringList());
        QVERIFY(documents().isEmpty());
        QCOMPARE(m_wizard->current(), results());
        QCOMPARE(QFileInfo(path).isDir(), folder);
        QVERIFY(folder ? QDir(path).removeRecursively() : QFile::remove(path));
        click(results(), u"ButExpToWordFull"_s);
        QCOMPARE(documents().size(), 1);
    }

    // The chart drawn by itself, as the headless reports draw it, is the chart on the screen.
    void testChartDrawnOffscreenMatchesTheScreen()
    {
        showResults(houseProblem() + "[QualM]\r\nA_0*A_1&Q_0=3\r\nA_0*A_2&Q_0=-7\r\n");
        ResultChart alone;
        alone.fill(results()->result().Bars);
        QCOMPARE(alone.markTexts(), results()->markTexts());
        QCOMPARE(alone.picture().size(), ResultChart::ScreenSize);
        QCOMPARE(alone.picture(), qobject_cast<ResultChart*>(results()->chartView())->picture());
    }
};

GUITEST_MAIN(TestResults)
#include "test_results.moc"
