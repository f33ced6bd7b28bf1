// The report buttons of the results screen: the document saved into "Отчеты" and
// handed over, the chart picture beside the problem and in the document, the
// notice when nothing opens it, and failures that leave no document.
#include "evaluate/ui/ResultChart.h"
#include "report/ui/ExportNotice.h"

#include "DocxReader.h"
#include "GuiFixture.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QImage>
#include <QImageReader>
#include <QPlainTextEdit>

using namespace Qt::Literals::StringLiterals;

class TestExports : public GuiFixture
{
    Q_OBJECT

    QString reportsDir() const { return datDir() + u"/Отчеты"_s; }
    QString chartPath() const { return datDir() + u"/graf.bmp"_s; }
    TFormFinal* results() const { return m_wizard->FormFinal; }
    QStringList documents() const { return QDir(reportsDir()).entryList(QDir::Files | QDir::Hidden); }
    ExportNotice* notice() const { return child<ExportNotice>(results(), u"STextSaved"_s); }

    /// The line on the screen names the saved document, readable whole, and its link opens the folder.
    void checkNotice(const QString& path)
    {
        QVERIFY(notice()->isVisible());
        QVERIFY2(notice()->text().contains(QFileInfo(path).fileName()), qPrintable(notice()->text()));
        QVERIFY2(notice()->sizeHint().width() <= notice()->width(), qPrintable(notice()->text()));
        QCOMPARE(notice()->toolTip(), QDir::toNativeSeparators(path));
        Q_EMIT notice()->linkActivated(u"folder"_s);
        QCOMPARE(opener().opened().last(), QFileInfo(path).absolutePath());
    }

private Q_SLOTS:
    void testResultReport_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("kindText");
        QTest::newRow("short") << u"ButExpToWordShort"_s << u"краткий отчет"_s;
        QTest::newRow("full") << u"ButExpToWordFull"_s << u"полный отчет"_s;
    }

    void testResultReport()
    {
        QFETCH(QString, button);
        QFETCH(QString, kindText);
        showResults(houseProblem() + "[QualM]\r\nQ_0*Q_1=-5\r\nA_0*A_1&Q_0=-3\r\n");
        const QByteArray problemBefore = problemBytes();
        click(results(), button);
        QVERIFY(boxes().isEmpty());
        QCOMPARE(documents().size(), 1);
        const QString name = documents().first();
        QVERIFY2(name.startsWith(u"Дом "_s + kindText + u' ') && name.endsWith(u".docx"_s), qPrintable(name));
        const QString path = QDir(reportsDir()).filePath(name);
        QCOMPARE(opener().opened(), QList<QString>{path});
        QCOMPARE(problemBytes(), problemBefore);

        // The chart: saved in the data folder as a bitmap of the chart's size, put into the document as it is.
        QImageReader reader(chartPath());
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.size(), ResultChart::ScreenSize);
        QCOMPARE(results()->chartView()->size(), ResultChart::ScreenSize);
        const DocxReader::Package package = DocxReader::unzipFile(path);
        const QStringList media = package.order.filter(u"word/media/"_s);
        QCOMPARE(media.size(), 1);
        QCOMPARE(package.parts.value(media.first()), TestSupport::readBytes(chartPath()));
        // The picture shows the chart: white around it, red halfway up the first bar.
        const QImage picture(chartPath());
        QCOMPARE(picture.pixelColor(1, 1), QColor(Qt::white));
        QChart* chart = results()->chartView()->chart();
        auto* series = qobject_cast<QBarSeries*>(chart->series().value(0));
        const QPointF inBar = chart->mapToPosition(QPointF(0, series->barSets().at(0)->at(0) / 2), series);
        const QColor barColour = picture.pixelColor(inBar.toPoint());
        QVERIFY2(barColour.red() > 200 && barColour.green() < 170 && barColour.blue() < 170,
                 qPrintable(barColour.name()));

        // Each export makes a new document, even within the same second, and names it on the screen.
        click(results(), button);
        QCOMPARE(documents().size(), 2);
        QCOMPARE(opener().opened().size(), 2);
        checkNotice(opener().opened().at(1));
        // The next key pressed takes the line away.
        QTest::keyClick(child<QWidget>(results(), u"MResult"_s), Qt::Key_Down);
        QCOMPARE(notice()->text(), QString());
    }

    // Nothing opens the document: it stays saved and the notice tells where.
    void testNoticeWhenNothingOpens()
    {
        showResults(houseProblem());
        opener().setOpens(false);
        answer(Dialogs::Button::Ok);
        click(results(), u"ButExpToWordShort"_s);
        QCOMPARE(opener().opened().size(), 1);
        const QString path = opener().opened().first();
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(reportsDir()).absoluteFilePath());
        QCOMPARE(boxes(), QStringList{u"information | Сообщение | "_s + DocumentOpener::notOpenedText(path)});
        QVERIFY2(boxes().at(0).contains(QDir::toNativeSeparators(path)), qPrintable(boxes().at(0)));
        // The screen names it too, after the box.
        opener().setOpens(true);
        checkNotice(path);
    }

    // The chart picture or "Отчеты" cannot be made: the error box before any document
    // exists, the screen goes on, and once the way is clear the same screen exports.
    void testExportFailures_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("button");
        QTest::newRow("a folder where the picture goes") << u"graf.bmp"_s << u"ButExpToWordFull"_s;
        QTest::newRow("a file where Отчеты goes") << u"Отчеты"_s << u"ButExpToWordShort"_s;
    }

    void testExportFailures()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, button);
        showResults(houseProblem());
        const QString path = datDir() + u'/' + blocked;
        if (blocked == u"graf.bmp"_s)
            QVERIFY(QDir().mkpath(path));
        else
            TestSupport::writeBytes(path, "not a folder");
        answer(Dialogs::Button::Ok);
        click(results(), button);
        QCOMPARE(boxes().size(), 1);
        QVERIFY2(boxes().at(0).startsWith(u"error | Оптивар | "_s), qPrintable(boxes().at(0)));
        QVERIFY(opener().opened().isEmpty());
        QCOMPARE(notice()->text(), QString());
        QCOMPARE(QDir(datDir()).entryList({u"*.docx"_s, u"*.tmp"_s}, QDir::Files), QStringList());
        QVERIFY(documents().isEmpty());
        QCOMPARE(m_wizard->current(), results());
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).isDir(), blocked == u"graf.bmp"_s);

        QVERIFY(blocked == u"graf.bmp"_s ? QDir(path).removeRecursively() : QFile::remove(path));
        click(results(), button);
        QCOMPARE(documents().size(), 1);
    }

    // The chart drawn by itself, as the headless reports draw it, is the chart on the screen.
    void testChartDrawnOffscreenMatchesTheScreen()
    {
        showResults(houseProblem() + "[QualM]\r\nA_0*A_1&Q_0=3\r\nA_0*A_2&Q_0=-7\r\n");
        auto* onScreen = qobject_cast<ResultChart*>(results()->chartView());
        QVERIFY(onScreen);
        ResultChart alone;
        alone.fill(results()->result().Bars);
        QCOMPARE(alone.markTexts(), onScreen->markTexts());
        const QImage a = alone.picture();
        QCOMPARE(a.size(), ResultChart::ScreenSize);
        QCOMPARE(a, onScreen->picture());
    }
};

GUITEST_MAIN(TestExports)
#include "test_exports.moc"
