// The short and the full report, read back from the .docx: their paragraphs, tables and what they carry for
// print, on problems and results given by hand.
#include "report/ResultReports.h"

#include "evaluate/EvaluationResult.h"
#include "report/TFormWord.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"
#include "storage/OptivarError.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace DocxReader;

namespace {

const QLocale Russian(QLocale::Russian, QLocale::Russia);

IniDocument problemOf(const QString& ini)
{
    return IniDocument::fromBytes(CodePage::encode(ini));
}

QStringList lines(const QString& text)
{
    return text.split(u'\n');
}

// Two alternatives and two criteria; one judgement of each kind stored, one missing.
const QString TwoByTwo = u"[Alt]\nA_0=Квартира на Ленина\nA_1=Дом\nCount=2\n[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n"
                         "[QualM]\nQ_0*Q_1=-3\nA_0*A_1&Q_0=4\n"_s;
const QString Heading = u"Альтернативы имеют следующие приоритеты:"_s;

EvaluationResult resultOf(const std::vector<double>& priorities, double critRatio = 0.0, double altRatio = 0.0)
{
    EvaluationResult r;
    r.AltTotal = int(priorities.size());
    r.AltPriority = priorities;
    r.CritConsistencyRatio = critRatio;
    r.AltConsistencyRatio = altRatio;
    return r;
}

struct Written
{
    Package package;
    QStringList outline; // as bodyOutline, a paragraph holding a picture as "#picture"
    Node body;
};

// A report written with a chart whose first bytes make it a bitmap.
Written write(bool full, const QString& ini, const EvaluationResult& result)
{
    QTemporaryDir dir;
    const QString chart = dir.filePath(u"graf.bmp"_s);
    TestSupport::writeBytes(chart, QByteArray("BM") + QByteArray(60, '\x20'));
    TFormWord w({dir.path(), u"Задача"_s, full ? TFormWord::Kind::FullReport : TFormWord::Kind::ShortReport, {}, {}});
    if (full)
        ResultReports::writeFull(w, problemOf(ini), result, chart, Russian);
    else
        ResultReports::writeShort(w, problemOf(ini), result, chart, Russian);
    Written out{unzip(w.documentBytes(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)))), {}, {}};
    out.body = out.package.body();
    for (const Node& c : out.body.children) {
        if (c.name != u"w:sectPr"_s)
            out.outline << (c.all(u"w:drawing"_s, true).empty() ? outline(c) : u"#picture"_s);
    }
    return out;
}

// The paragraphs after the first one equal to heading and the empty line under it, up to the next empty one.
QStringList block(const QStringList& outline, const QString& heading)
{
    qsizetype i = outline.indexOf(heading);
    if (i < 0)
        return {u"no heading "_s + heading};
    QStringList found;
    for (i += 2; i < outline.size() && !outline.at(i).isEmpty(); ++i)
        found << outline.at(i);
    return found;
}

// Each piece of text ends its own paragraphs: "\n\r" after a title leaves one empty line, after a list (whose
// items end in "\r") two.
const QString ShortTwoByTwo = u"Результаты анализа альтернатив для принятия решения.\n\nСписок альтернатив:\n\n"
                              "1. Квартира на Ленина\n2. Дом\n\n\nСписок критериев принятия решения:\n\n1. Цена\n"
                              "2. Район\n\n\nАльтернативы имеют следующие приоритеты:\n\n1. Квартира на Ленина 45,67%\n"
                              "2. Дом 54,33%\n\n\nЛучший выбор - Дом\n\n#picture\n\n"_s;

} // namespace

class TestReports final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testShortReport()
    {
        const Written w = write(false, TwoByTwo, resultOf({0.4567, 0.5433}, 0.05, 0.1 - 1e-9));
        QCOMPARE(w.outline, lines(ShortTwoByTwo));
        QCOMPARE(packageFaults(w.package), QStringList());
        // Everything in size 12; the chart embedded once at 15 x 15 cm; no table, nothing kept, nothing bold.
        for (const Node* sz : w.body.all(u"w:sz"_s, true))
            QCOMPARE(sz->attr(u"w:val"_s), u"24"_s);
        const std::vector<const Node*> extents = w.body.all(u"wp:extent"_s, true);
        QCOMPARE(extents.size(), size_t(1));
        QCOMPARE(extents[0]->attr(u"cx"_s) + u'x' + extents[0]->attr(u"cy"_s), u"5400000x5400000"_s);
        QCOMPARE(w.package.order.filter(u"word/media/"_s).size(), 1);
        for (const QString& name : {u"w:tbl"_s, u"w:keepNext"_s, u"w:keepLines"_s, u"w:b"_s})
            QVERIFY2(w.body.all(name, true).empty(), qPrintable(name));
    }

    // The full report: the short one under its own title, with the matrices after the lists, in tables of a
    // first column of 4 cm and value columns of 1.7 cm stretched over the text width.
    void testFullReportAddsTheMatrices()
    {
        const Written w = write(true, TwoByTwo, resultOf({0.4567, 0.5433}));
        QString expected = ShortTwoByTwo;
        expected.replace(u"Результаты анализа альтернатив для принятия решения."_s,
                         u"Протокол анализа альтернатив для принятия управленческого решения."_s);
        expected.replace(u"\n\n\nАльтернативы"_s,
                         u"\n\n\nМатрица парных сравнений для критериев выбора.\n\n[|Цена|Район;Цена|-|3/1;Район|1/3|-]"
                         "\n\n\nМатрица парных сравнений альтернатив по критерию Цена\n\n"
                         "[|Квартира на Ленина|Дом;Квартира на Ленина|-|1/4;Дом|4/1|-]\n\n\n"
                         "Матрица парных сравнений альтернатив по критерию Район\n\n"
                         "[|Квартира на Ленина|Дом;Квартира на Ленина|-|1/1;Дом|1/1|-]\n\n\nАльтернативы"_s);
        QCOMPARE(w.outline, lines(expected));
        QCOMPARE(packageFaults(w.package), QStringList());
        for (const Node* tbl : w.body.all(u"w:tbl"_s)) {
            QStringList grid;
            for (const Node* col : tbl->child(u"w:tblGrid"_s)->all(u"w:gridCol"_s))
                grid << col->attr(u"w:w"_s);
            QCOMPARE(grid.size(), 3);
            QCOMPARE(grid[1], grid[2]);
            QVERIFY(qAbs(grid[0].toDouble() / grid[1].toDouble() - 4.0 / 1.7) < 0.01);
            const Node* width = tbl->child(u"w:tblPr"_s)->child(u"w:tblW"_s);
            QCOMPARE(width->attr(u"w:type"_s) + width->attr(u"w:w"_s), u"pct5000"_s);
        }
    }

    // The cells of a stored value, for criteria and under a criterion alike: how strongly the row element
    // dominates the column element.
    void testMatrixCells_data()
    {
        QTest::addColumn<QString>("stored"); // empty: no such key
        QTest::addColumn<QString>("cell");   // row of the first element, column of the second
        QTest::addColumn<QString>("mirror");
        QTest::newRow("-3: the row element three times") << u"-3"_s << u"3/1"_s << u"1/3"_s;
        QTest::newRow("-9") << u"-9"_s << u"9/1"_s << u"1/9"_s;
        QTest::newRow("2: the column element twice") << u"2"_s << u"1/2"_s << u"2/1"_s;
        QTest::newRow("9") << u"9"_s << u"1/9"_s << u"9/1"_s;
        for (const QString& equal : {u"1"_s, u"0"_s, u"-1"_s, u"10"_s, u"-10"_s, u"три"_s, QString()})
            QTest::newRow(qPrintable(u"equal: "_s + equal)) << equal << u"1/1"_s << u"1/1"_s;
    }
    void testMatrixCells()
    {
        QFETCH(QString, stored);
        QFETCH(QString, cell);
        QFETCH(QString, mirror);
        const QString value = stored.isEmpty() ? QString() : u"="_s + stored + u'\n';
        const QString names = u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n[QualM]\n"_s;
        const QString table = u"|-|"_s + cell + u';';
        const Written w =
            write(true, names + (value.isEmpty() ? QString() : u"Q_0*Q_1"_s + value + u"A_0*A_1&Q_1"_s + value),
                  resultOf({0.5, 0.5}));
        QCOMPARE(block(w.outline, u"Матрица парных сравнений для критериев выбора."_s),
                 QStringList{u"[|Цена|Район;Цена"_s + table + u"Район|"_s + mirror + u"|-]"_s});
        QCOMPARE(block(w.outline, u"Матрица парных сравнений альтернатив по критерию Район"_s),
                 QStringList{u"[|Дом|Дача;Дом"_s + table + u"Дача|"_s + mirror + u"|-]"_s});
    }

    // Names written upward only in the heading row of the criteria matrix.
    void testUpwardHeadingsOnlyInCriteriaMatrix()
    {
        const Written w =
            write(true, u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nQ_1=Район\nQ_2=Этаж\nCount=3\n"_s,
                  resultOf({0.5, 0.5}));
        const std::vector<const Node*> all = w.body.all(u"w:tbl"_s);
        QCOMPARE(all.size(), size_t(4));
        for (size_t k = 0; k < all.size(); ++k) {
            QStringList directions;
            for (const Node* tc : all[k]->all(u"w:tc"_s, true)) {
                const Node* d = tc->child(u"w:tcPr"_s) ? tc->child(u"w:tcPr"_s)->child(u"w:textDirection"_s) : nullptr;
                directions << (d ? d->attr(u"w:val"_s) : QString());
            }
            QStringList expected(k == 0 ? 16 : 9);
            if (k == 0)
                expected[1] = expected[2] = expected[3] = u"btLr"_s; // row 1, columns 2 to 4
            QCOMPARE(directions, expected);
            QCOMPARE(outline(*all[k]), k == 0 ? u"[|Цена|Район|Этаж;Цена|-|1/1|1/1;Район|1/1|-|1/1;Этаж|1/1|1/1|-]"_s
                                              : u"[|Дом|Дача;Дом|-|1/1;Дача|1/1|-]"_s);
        }
    }

    // A title stays on the page of its table; a title of more than 255 characters is cut, and still ends in its
    // empty line before the table. Nothing else is kept with the next paragraph, nothing kept together or bold.
    void testMatrixTitlesKeepWithTheirTables()
    {
        const QString name(300, u'Ж');
        const Written w =
            write(true, QString(TwoByTwo).replace(u"Q_1=Район"_s, u"Q_1="_s + name), resultOf({0.5, 0.5}));
        const QString title = u"Матрица парных сравнений альтернатив по критерию "_s;
        const QStringList expected =
            lines(u"Матрица парных сравнений для критериев выбора.|N\n|N\n[table]\n|\n|\n"_s + title +
                  u"Цена|N\n|N\n[table]\n|\n|\n"_s + (title + name).left(255) + u"|N\n|N\n[table]\n|"_s);
        const QStringList flagged = flaggedOutline(w.package);
        QCOMPARE(flagged.mid(flagged.indexOf(expected.first()), expected.size()), expected);
        QCOMPARE(w.body.all(u"w:keepNext"_s, true).size(), size_t(6));
        QVERIFY(w.body.all(u"w:keepLines"_s, true).empty());
        QVERIFY(w.body.all(u"w:b"_s, true).empty());
    }

    void testLists_data()
    {
        QTest::addColumn<QString>("names"); // lines of section "Alt"
        QTest::addColumn<QStringList>("list");
        QTest::newRow("a missing name keeps its number")
            << u"A_0=Дом\nA_2=Дача\n"_s << QStringList{u"1. Дом"_s, u"3. Дача"_s};
        QTest::newRow("the empty marker counts as no name")
            << u"A_0=***НЕТ***\nA_1=Дом\n"_s << QStringList{u"2. Дом"_s};
        QTest::newRow("positions up to 10") << u"A_10=Десятый\nA_11=Одиннадцатый\n"_s << QStringList{u"11. Десятый"_s};
        QTest::newRow("listed whatever the count")
            << u"A_0=Дом\nA_1=Дача\nA_2=Офис\nCount=1\n"_s << QStringList{u"1. Дом"_s, u"2. Дача"_s, u"3. Офис"_s};
        QTest::newRow("blanks around a name are not part of it") << u"A_0 =  Дом  \n"_s << QStringList{u"1. Дом"_s};
        QTest::newRow("a line past 255 is cut, the next one is its own")
            << u"A_0="_s + QString(300, u'Ж') + u"\nA_1=Дом\n"_s
            << QStringList{u"1. "_s + QString(252, u'Ж'), u"2. Дом"_s};
    }
    void testLists()
    {
        QFETCH(QString, names);
        QFETCH(QStringList, list);
        QCOMPARE(block(write(false, u"[Alt]\n"_s + names, resultOf({})).outline, u"Список альтернатив:"_s), list);
    }

    // The priority lines, with "?" for a missing name, and the best choice two empty lines after them: the
    // first of equal highest priorities, "?" or the name in position 0 when there are none.
    void testPrioritiesAndBestChoice_data()
    {
        QTest::addColumn<QString>("alternatives"); // lines of section "Alt"
        QTest::addColumn<std::vector<double>>("priorities");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("best");
        const QString one = u"A_0=Дом\nCount=1\n"_s;
        const QString three = u"A_0=Дом\nA_1=Дача\nA_2=Офис\nCount=3\n"_s;
        QTest::newRow("0.4567") << one << std::vector<double>{0.4567} << QStringList{u"1. Дом 45,67%"_s} << u"Дом"_s;
        QTest::newRow("0.05 keeps two decimals")
            << one << std::vector<double>{0.05} << QStringList{u"1. Дом 5,00%"_s} << u"Дом"_s;
        // The doubles nearest to these lie just below and just above a half of a hundredth of a per cent.
        QTest::newRow("stored just below a half")
            << one << std::vector<double>{0.00065} << QStringList{u"1. Дом 0,06%"_s} << u"Дом"_s;
        QTest::newRow("stored just above a half")
            << one << std::vector<double>{0.00075} << QStringList{u"1. Дом 0,08%"_s} << u"Дом"_s;
        QTest::newRow("equal highest: the first listed")
            << three << std::vector<double>{0.4, 0.4, 0.2}
            << QStringList{u"1. Дом 40,00%"_s, u"2. Дача 40,00%"_s, u"3. Офис 20,00%"_s} << u"Дом"_s;
        QTest::newRow("a later, strictly higher one")
            << three << std::vector<double>{0.2, 0.3, 0.5}
            << QStringList{u"1. Дом 20,00%"_s, u"2. Дача 30,00%"_s, u"3. Офис 50,00%"_s} << u"Офис"_s;
        QTest::newRow("a missing name reads ?") << u"A_0=Дом\nCount=2\n"_s << std::vector<double>{0.3, 0.7}
                                                << QStringList{u"1. Дом 30,00%"_s, u"2. ? 70,00%"_s} << u"?"_s;
        QTest::newRow("the empty marker is a name here")
            << u"A_0=***НЕТ***\nA_1=Дом\nCount=2\n"_s << std::vector<double>{0.6, 0.4}
            << QStringList{u"1. ***НЕТ*** 60,00%"_s, u"2. Дом 40,00%"_s} << u"***НЕТ***"_s;
        QTest::newRow("no alternatives: the name in position 0")
            << u"A_0=Дом\nCount=0\n"_s << std::vector<double>{} << QStringList{} << u"Дом"_s;
        QTest::newRow("no alternatives and no name") << QString() << std::vector<double>{} << QStringList{} << u"?"_s;
        QTest::newRow("one the evaluation did not know has no priority")
            << three << std::vector<double>{0.3, 0.7}
            << QStringList{u"1. Дом 30,00%"_s, u"2. Дача 70,00%"_s, u"3. Офис 0,00%"_s} << u"Дача"_s;
    }
    void testPrioritiesAndBestChoice()
    {
        QFETCH(QString, alternatives);
        QFETCH(std::vector<double>, priorities);
        QFETCH(QStringList, lines);
        QFETCH(QString, best);
        const Written w = write(false, u"[Alt]\n"_s + alternatives, resultOf(priorities));
        QCOMPARE(block(w.outline, Heading), lines);
        QCOMPARE(w.outline.value(w.outline.indexOf(Heading) + 2 + lines.size() + 2), u"Лучший выбор - "_s + best);
    }

    // What follows the picture: the criteria warning before the alternatives one, each in its band.
    void testWarnings_data()
    {
        QTest::addColumn<double>("criteria");
        QTest::addColumn<double>("alternatives");
        QTest::addColumn<QString>("tail");
        const QString first = u"Для получения более точных результатов, возможно, следует пересмотреть ответы."_s;
        const QString second = u"Для получения правильных результатов необходимо пересмотреть ответы."_s;
        const QString crit = u"\nВнимание!\nПри сравнении критериев по степени важности, Ваши ответы "_s;
        const QString alt = u"\nВнимание!\nПри сравнении альтернатив, Ваши ответы "_s;
        QTest::newRow("0.05: none") << 0.05 << 0.05 << u"\n"_s;
        QTest::newRow("below the double 0.1: none") << std::nextafter(0.1, 0.0) << std::nextafter(0.1, 0.0) << u"\n"_s;
        QTest::newRow("criteria at the double 0.1: first band")
            << 0.1 << 0.0 << crit + u"противоречивы! (ОС=10,00%)\n"_s + first + u"\n\n\n"_s;
        QTest::newRow("criteria just below 0.2: still the first band")
            << std::nextafter(0.2, 0.0) << 0.0 << crit + u"противоречивы! (ОС=20,00%)\n"_s + first + u"\n\n\n"_s;
        QTest::newRow("criteria 0.2: second band")
            << 0.2 << 0.0 << crit + u"очень противоречивы!(ОС=20,00%)\n"_s + second + u"\n\n\n"_s;
        QTest::newRow("alternatives at the double 0.1: first band")
            << 0.0 << 0.1 << alt + u"протеворечивы! (ОС=10,00%)\n"_s + first + u"\n\n\n"_s;
        QTest::newRow("both, criteria first") << 0.15 << 1.5
                                              << crit + u"противоречивы! (ОС=15,00%)\n"_s + first + u"\n\n"_s + alt +
                                                     u"очень протеворечивы!(ОС=150,00%)\n"_s + second + u"\n\n\n"_s;
    }
    void testWarnings()
    {
        QFETCH(double, criteria);
        QFETCH(double, alternatives);
        QFETCH(QString, tail);
        const Written w = write(false, TwoByTwo, resultOf({0.5, 0.5}, criteria, alternatives));
        const qsizetype picture = w.outline.indexOf(u"#picture"_s);
        QVERIFY(picture > 0);
        QCOMPARE(w.outline.mid(picture + 1), lines(tail));
    }

    void testMissingChartFails()
    {
        QTemporaryDir dir;
        TFormWord w({dir.path(), u"Задача"_s, TFormWord::Kind::ShortReport, {}, {}});
        try {
            ResultReports::writeShort(w, problemOf(TwoByTwo), resultOf({0.5, 0.5}), dir.filePath(u"graf.bmp"_s));
            QFAIL("a report without its chart was written");
        } catch (const OptivarError& e) {
            QCOMPARE(e.code(), OptivarError::Code::NotFound);
        }
    }
};

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
