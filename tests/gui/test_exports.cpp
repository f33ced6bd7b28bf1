// The three export buttons driven through the real screens: the document saved
// into "Отчеты" and handed over, the chart picture beside the problem, the notice
// when nothing opens the document, and failures that leave no document.
#include "compare/CompareStepsBuild.h"
#include "evaluate/chart/ResultChart.h"
#include "evaluate/ui/TFormFinal.h"
#include "lists/ui/NameEdit.h"
#include "lists/ui/TFormListAlt.h"
#include "lists/ui/TFormListQuality.h"
#include "lists/ui/TStGCollect.h"
#include "report/Questionnaire.h"
#include "report/ui/DocumentOpener.h"
#include "report/ui/ExportNotice.h"
#include "shell/ui/ErrorBox.h"
#include "shell/ui/TFormInit.h"
#include "shell/ui/Wizard.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/ui/TFormListProblem.h"

#include "DocxReader.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QImage>
#include <QImageReader>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;

namespace {

// Three criteria, two alternatives; the criteria judged inconsistently (Цена over
// Качество over Срок over Цена), so the report warns about them.
const char* const HouseProblem = "[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nCount=2\r\n"
                                 "[Qual]\r\nQ_0=Цена\r\nQ_1=Качество\r\nQ_2=Срок\r\nCount=3\r\n"
                                 "[QualM]\r\nQ_0*Q_1=-5\r\nQ_1*Q_2=-5\r\nQ_0*Q_2=5\r\nA_0*A_1&Q_0=-3\r\n";

// A paragraph holding a picture reads "#picture"; the section properties are left out.
QStringList outlineOf(const DocxReader::Package& package)
{
    QStringList lines;
    const DocxReader::Node body = package.body();
    for (const DocxReader::Node& block : body.children) {
        if (block.name == u"w:sectPr"_s)
            continue;
        lines << (block.all(u"w:drawing"_s, true).empty() ? DocxReader::outline(block) : u"#picture"_s);
    }
    return lines;
}

} // namespace

using GuiTest::click;

class TestExports : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GuiTest::Session> m_session;
    std::unique_ptr<InterceptedOpener> m_opener;
    std::unique_ptr<Wizard> m_wizard;

    QString problemPath() const { return m_session->problemPath(u"Дом"_s); }
    QString reportsDir() const { return m_session->datDir() + u"/Отчеты"_s; }
    QString chartPath() const { return m_session->datDir() + u"/graf.bmp"_s; }
    TFormFinal* results() const { return m_wizard->FormFinal; }
    QStringList documents() const { return QDir(reportsDir()).entryList(QDir::Files | QDir::Hidden); }

    void openCriteria(const QByteArray& problem)
    {
        GuiTest::openCriteria(*m_session, *m_wizard, problemPath(), problem);
    }

    void showResults(const QByteArray& problem)
    {
        openCriteria(problem);
        click(m_wizard->FormListQuality, u"ButNext"_s);
        auto* box = GuiTest::child<QComboBox>(m_wizard->FormMain, u"CBoxStep"_s);
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_End);
        click(m_wizard->FormMain, u"ButNext"_s);
        QCOMPARE(m_wizard->current(), results());
        QVERIFY(QTest::qWaitForWindowExposed(results()));
    }

    /// The one document the export made: in "Отчеты", handed to the opener, whole.
    DocxReader::Package onlyDocument(const QString& kindText)
    {
        const QStringList names = documents();
        if (names.size() != 1)
            return {};
        const QString path = QDir(reportsDir()).filePath(names.first());
        if (!names.first().startsWith(u"Дом "_s + kindText + u' ') || !names.first().endsWith(u".docx"_s))
            return {};
        if (m_opener->opened() != QList<QString>{path})
            return {};
        return DocxReader::unzipFile(path);
    }

    void checkErrorBoxOnly()
    {
        const QList<ScriptedDialogs::Call>& calls = m_session->dialogs().calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).kind, Dialogs::Kind::Error);
        QCOMPARE(calls.at(0).title, QStringView(ErrorBox::Caption).toString());
        QVERIFY(m_opener->opened().isEmpty());
        QCOMPARE(notice(results())->text(), QString());
    }

    ExportNotice* notice(QWidget* screen) const { return GuiTest::child<ExportNotice>(screen, u"STextSaved"_s); }

    /// The line on the screen names the saved document, readable whole, and its link opens the folder.
    void checkNotice(QWidget* screen, const QString& path)
    {
        ExportNotice* line = notice(screen);
        QVERIFY(line && line->isVisible());
        QVERIFY2(line->text().contains(QFileInfo(path).fileName()), qPrintable(line->text()));
        QVERIFY2(line->sizeHint().width() <= line->width(), qPrintable(line->text()));
        QCOMPARE(line->toolTip(), QDir::toNativeSeparators(path));
        Q_EMIT line->linkActivated(u"folder"_s);
        QCOMPARE(m_opener->opened().last(), QFileInfo(path).absolutePath());
    }

private Q_SLOTS:
    void initTestCase() { Wizard::prepareApplication(); }

    void init()
    {
        GuiTest::startRoad(m_session, m_wizard);
        m_opener = std::make_unique<InterceptedOpener>();
    }

    void cleanup()
    {
        GuiTest::endRoad(m_session, m_wizard);
        m_opener.reset();
    }

    void testResultReport_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("kindText");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("tables");
        QTest::newRow("short") << u"ButExpToWordShort"_s << u"краткий отчет"_s
                               << u"Результаты анализа альтернатив для принятия решения."_s << 0;
        QTest::newRow("full") << u"ButExpToWordFull"_s << u"полный отчет"_s
                              << u"Протокол анализа альтернатив для принятия управленческого решения."_s << 4;
    }
    void testResultReport()
    {
        QFETCH(QString, button);
        QFETCH(QString, kindText);
        QFETCH(QString, title);
        QFETCH(int, tables);
        showResults(cp1251(HouseProblem));
        const QByteArray problemBefore = TestSupport::readBytes(problemPath());
        click(results(), button);
        QVERIFY2(m_session->dialogs().calls().isEmpty(), qPrintable(GuiTest::describe(m_session->dialogs().calls())));

        const DocxReader::Package package = onlyDocument(kindText);
        QVERIFY2(!package.order.isEmpty(), qPrintable(documents().join(u", "_s)));
        QCOMPARE(DocxReader::packageFaults(package), QStringList());
        const QStringList outline = outlineOf(package);
        const QStringList head = {title,       QString(),      u"Список альтернатив:"_s,
                                  QString(),   u"1. Налево"_s, u"2. Направо"_s,
                                  QString(),   QString(),      u"Список критериев принятия решения:"_s,
                                  QString(),   u"1. Цена"_s,   u"2. Качество"_s,
                                  u"3. Срок"_s};
        QCOMPARE(outline.mid(0, head.size()), head);
        // The tables of the report itself; the full report then ends with the
        // decision analysis, which brings tables of its own.
        const DocxReader::Node body = package.body();
        int reportTables = 0;
        bool analysis = false;
        for (const DocxReader::Node& block : body.children) {
            if (block.name == u"w:p"_s && DocxReader::outline(block) == u"Анализ решения"_s)
                analysis = true;
            else if (block.name == u"w:tbl"_s && !analysis)
                ++reportTables;
        }
        QCOMPARE(reportTables, tables);
        QCOMPARE(analysis, tables > 0);
        QVERIFY2(outline.contains(u"Внимание!"_s), qPrintable(outline.join(u'\n')));
        // The best choice is that of the screen's evaluation.
        QVERIFY(outline.contains(u"Лучший выбор - Налево"_s));
        QCOMPARE(results()->result().BestChoice, 0);

        // The chart: saved in the data folder as a bitmap of the chart's size, embedded as it is at 15 x 15 cm.
        QImageReader reader(chartPath());
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.size(), results()->chartView()->size());
        QCOMPARE(results()->chartView()->size(), ResultChart::ScreenSize);
        QCOMPARE(outline.count(u"#picture"_s), 1);
        const QStringList media = package.order.filter(u"word/media/"_s);
        QCOMPARE(media.size(), 1);
        QCOMPARE(package.parts.value(media.first()), TestSupport::readBytes(chartPath()));
        const std::vector<const DocxReader::Node*> extents = body.all(u"wp:extent"_s, true);
        QCOMPARE(extents.size(), size_t(1));
        QCOMPARE(extents[0]->attr(u"cx"_s), u"5400000"_s);
        QCOMPARE(extents[0]->attr(u"cy"_s), u"5400000"_s);

        // The picture shows the chart: white around it, red halfway up the first bar.
        const QImage picture(chartPath());
        QCOMPARE(picture.pixelColor(1, 1), QColor(Qt::white));
        QChart* chart = results()->chartView()->chart();
        auto* series = qobject_cast<QBarSeries*>(chart->series().value(0));
        QVERIFY(series && series->count() == 1);
        const QPointF inBar = chart->mapToPosition(QPointF(0, series->barSets().at(0)->at(0) / 2), series);
        const QColor barColour = picture.pixelColor(inBar.toPoint());
        QVERIFY2(barColour.red() > 200 && barColour.green() < 170 && barColour.blue() < 170,
                 qPrintable(barColour.name()));
        QCOMPARE(TestSupport::readBytes(problemPath()), problemBefore);

        // Each export makes a new document, even within the same second, and names it on the screen.
        click(results(), button);
        QCOMPARE(documents().size(), 2);
        QCOMPARE(m_opener->opened().size(), 2);
        checkNotice(results(), m_opener->opened().last());
        // The next key pressed takes the line away.
        QTest::keyClick(GuiTest::child<QWidget>(results(), u"MResult"_s), Qt::Key_Down);
        QCOMPARE(notice(results())->text(), QString());
    }

    // Nothing opens the document: it stays saved and the notice tells where.
    void testNoticeWhenNothingOpens()
    {
        showResults(cp1251(HouseProblem));
        m_opener->setOpens(false);
        m_session->dialogs().answer(Dialogs::Button::Ok);
        click(results(), u"ButExpToWordShort"_s);
        QCOMPARE(m_opener->opened().size(), 1);
        const QString path = m_opener->opened().first();
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(reportsDir()).absoluteFilePath());
        const QList<ScriptedDialogs::Call>& calls = m_session->dialogs().calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).kind, Dialogs::Kind::Information);
        QCOMPARE(calls.at(0).title, u"Сообщение"_s);
        QVERIFY2(calls.at(0).text.contains(QDir::toNativeSeparators(path)), qPrintable(calls.at(0).text));
        QCOMPARE(calls.at(0).text, DocumentOpener::notOpenedText(path));
        // The screen names it too, after the box.
        m_opener->setOpens(true);
        checkNotice(results(), path);
    }

    // A picture that cannot be saved ends the export in the error box before any document exists.
    void testChartPictureFailure()
    {
        showResults(cp1251(HouseProblem));
        QVERIFY(QDir().mkpath(chartPath())); // a folder where the picture goes
        m_session->dialogs().answer(Dialogs::Button::Ok);
        click(results(), u"ButExpToWordFull"_s);
        checkErrorBoxOnly();
        QVERIFY(documents().isEmpty());
        QVERIFY(QFileInfo(chartPath()).isDir());
    }

    // "Отчеты" cannot be made: the error box, no document, and the screen goes on.
    void testReportsFolderFailure()
    {
        showResults(cp1251(HouseProblem));
        TestSupport::writeBytes(reportsDir(), "not a folder");
        m_session->dialogs().answer(Dialogs::Button::Ok);
        click(results(), u"ButExpToWordShort"_s);
        checkErrorBoxOnly();
        QCOMPARE(TestSupport::readBytes(reportsDir()), QByteArray("not a folder"));
        QCOMPARE(QDir(m_session->datDir()).entryList({u"*.docx"_s, u"*.tmp"_s}, QDir::Files), QStringList());
        QCOMPARE(m_wizard->current(), results());

        // Once the way is clear the same screen exports.
        QVERIFY(QFile::remove(reportsDir()));
        click(results(), u"ButExpToWordShort"_s);
        QCOMPARE(documents().size(), 1);
    }

    // The chart drawn by itself, as the headless reports draw it, is the chart on the screen.
    void testChartDrawnOffscreenMatchesTheScreen()
    {
        showResults(cp1251(HouseProblem));
        auto* onScreen = qobject_cast<ResultChart*>(results()->chartView());
        QVERIFY(onScreen);
        ResultChart alone;
        alone.fill(results()->result().Bars);
        QCOMPARE(alone.markTexts(), onScreen->markTexts());
        const QImage a = alone.picture();
        const QImage b = onScreen->picture();
        QCOMPARE(a.size(), ResultChart::ScreenSize);
        QCOMPARE(a, b);
    }

    // The questionnaire asks about the list on screen, stored and rebuilt first,
    // even a name still in its editor.
    void testQuestionnaire()
    {
        openCriteria(cp1251(HouseProblem));
        TFormListQuality* screen = m_wizard->FormListQuality;
        click(screen, u"ButInsert"_s);
        auto* gedit = GuiTest::child<NameEdit>(screen, u"GEdit"_s);
        QVERIFY(gedit && gedit->isVisible());
        gedit->selectAll();
        GuiTest::typeText(gedit, u"Вид"_s);
        click(screen, u"ButExpToWord"_s);
        QVERIFY2(m_session->dialogs().calls().isEmpty(), qPrintable(GuiTest::describe(m_session->dialogs().calls())));

        const IniFile file(problemPath());
        QCOMPARE(file.readInteger(ProblemKeys::QualSection, ProblemKeys::CountKey, 0), 4);
        QCOMPARE(file.readString(ProblemKeys::QualSection, ProblemKeys::qualKey(3), QString()), u"Вид"_s);
        const QStringList steps = CompareStepsBuild::stepLines(*file.snapshot());
        QCOMPARE(steps.size(), 6 + 4); // 4 criteria pairs, then one alternatives pair per criterion
        QCOMPARE(ComUnit::CompareSteps, steps);
        // The rebuild keeps the judgements that still belong.
        QCOMPARE(file.readInteger(ProblemKeys::JudgementSection, u"Q_0*Q_1", 1), -5);

        const DocxReader::Package package = onlyDocument(u"анкета"_s);
        QVERIFY2(!package.order.isEmpty(), qPrintable(documents().join(u", "_s)));
        QCOMPARE(DocxReader::packageFaults(package), QStringList());
        const QStringList outline = outlineOf(package);
        QCOMPARE(outline.value(0), u"Анкета для принятия управленческого решения."_s);
        QStringList questions;
        for (const QString& line : outline) {
            if (line.contains(u". Сравните "_s))
                questions << line;
        }
        QCOMPARE(questions.size(), steps.size());
        QCOMPARE(questions.first(), u"1. Сравните критерии (A)Цена и (B)Качество по степени важности."_s);
        QCOMPARE(questions.at(2), u"3. Сравните критерии (A)Цена и (B)Вид по степени важности."_s);
        QCOMPARE(questions.last(), u"10. Сравните альтернативы (A)Налево и (B)Направо по критерию Вид."_s);
        QCOMPARE(outline.count(Questionnaire::answerLine(Scale::PairKind::Criteria, 17)), 6);
        QCOMPARE(outline.count(Questionnaire::answerLine(Scale::PairKind::Alternatives, 17)), 4);

        // Named on the screen until the next click in it.
        checkNotice(screen, QDir(reportsDir()).filePath(documents().first()));
        QTest::mouseClick(m_wizard->FormListQuality->grid()->viewport(), Qt::LeftButton);
        QCOMPARE(notice(screen)->text(), QString());
    }

    void testQuestionnaireCountCheck_data()
    {
        QTest::addColumn<int>("criteria");
        QTest::newRow("one") << 1;
        QTest::newRow("ten") << 10;
    }
    void testQuestionnaireCountCheck()
    {
        QFETCH(int, criteria);
        QByteArray problem = "[Alt]\r\nA_0=a\r\nA_1=b\r\nCount=2\r\n[Qual]\r\n";
        for (int k = 0; k < criteria; ++k)
            problem += "Q_" + QByteArray::number(k) + "=q" + QByteArray::number(k) + "\r\n";
        problem += "Count=" + QByteArray::number(criteria) + "\r\n[QualM]\r\nA_0*A_1&Q_5=3\r\n";
        openCriteria(problem);
        const QByteArray before = TestSupport::readBytes(problemPath());
        m_session->dialogs().answer(Dialogs::Button::Ok);
        click(m_wizard->FormListQuality, u"ButExpToWord"_s);

        const QList<ScriptedDialogs::Call>& calls = m_session->dialogs().calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).kind, Dialogs::Kind::Plain);
        QCOMPARE(calls.at(0).title, u"Ошибка"_s);
        QCOMPARE(calls.at(0).text, u"Количество критериев должно быть в интервале от 2 до 9."_s);
        // Nothing stored, nothing rebuilt, nothing written.
        QCOMPARE(TestSupport::readBytes(problemPath()), before);
        QVERIFY(!QFileInfo::exists(reportsDir()));
        QVERIFY(m_opener->opened().isEmpty());
        QCOMPARE(m_wizard->current(), m_wizard->FormListQuality);
    }
};

QTEST_MAIN(TestExports)
#include "test_exports.moc"
