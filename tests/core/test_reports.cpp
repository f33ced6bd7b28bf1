#include "report/ResultReports.h"

#include "evaluate/Evaluation.h"
#include "evaluate/EvaluationResult.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/ProblemData.h"
#include "report/AnalysisReport.h"
#include "report/TFormWord.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"
#include "storage/OptivarError.h"
#include "storage/ProblemKeys.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace DocxReader;

namespace {

const QLocale Russian(QLocale::Russian, QLocale::Russia);
const QDateTime Stamp(QDate(2024, 3, 5), QTime(14, 7, 9));

// Only its first bytes tell the writer what an image is.
const QByteArray Bitmap = QByteArray("BM") + QByteArray(60, '\x20');

IniDocument problemOf(const QString& ini)
{
    return IniDocument::fromBytes(CodePage::encode(ini));
}

// Two alternatives and two criteria; one judgement of each kind stored, one missing.
const QString TwoByTwo = u"[Alt]\nA_0=Квартира на Ленина\nA_1=Дом\nCount=2\n"
                         "[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n"
                         "[QualM]\nQ_0*Q_1=-3\nA_0*A_1&Q_0=4\n"_s;

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
    Node body;           // the body, up to the title of a full report's section "Анализ решения"
};

class Reports
{
public:
    Reports() : m_chart(m_dir.filePath(u"graf.bmp"_s)) { TestSupport::writeBytes(m_chart, Bitmap); }

    const QString& chart() const { return m_chart; }

    Written write(bool full, const IniDocument& problem, const EvaluationResult& result) const
    {
        TFormWord w(
            {m_dir.path(), u"Задача"_s, full ? TFormWord::Kind::FullReport : TFormWord::Kind::ShortReport, {}, {}});
        if (full)
            ResultReports::writeFull(w, problem, result, m_chart, Russian);
        else
            ResultReports::writeShort(w, problem, result, m_chart, Russian);
        Written out{unzip(w.documentBytes(Stamp)), {}, {}};
        // The section "Анализ решения" that closes a full report has tests of its own: these stop at its title.
        out.body = out.package.body();
        std::vector<Node>& blocks = out.body.children;
        blocks.erase(std::find_if(blocks.begin(), blocks.end(),
                                  [](const Node& c) { return outline(c) == QStringView(AnalysisReport::Title); }),
                     blocks.end());
        for (const Node& c : out.body.children) {
            if (c.name == u"w:sectPr"_s)
                continue;
            out.outline << (c.all(u"w:drawing"_s, true).empty() ? DocxReader::outline(c) : u"#picture"_s);
        }
        return out;
    }

private:
    QTemporaryDir m_dir;
    QString m_chart;
};

// The paragraphs after the first one equal to heading and the empty line under it, up to the next empty one.
QStringList block(const QStringList& outline, const QString& heading)
{
    qsizetype i = outline.indexOf(heading);
    if (i < 0)
        return {u"no heading "_s + heading};
    QStringList lines;
    for (i += 2; i < outline.size() && !outline.at(i).isEmpty(); ++i)
        lines << outline.at(i);
    return lines;
}

std::vector<const Node*> tables(const Node& body)
{
    return body.all(u"w:tbl"_s);
}

QStringList cellDirections(const Node& table)
{
    QStringList out;
    for (const Node* tc : table.all(u"w:tc"_s, true)) {
        const Node* d = tc->child(u"w:tcPr"_s) ? tc->child(u"w:tcPr"_s)->child(u"w:textDirection"_s) : nullptr;
        out << (d ? d->attr(u"w:val"_s) : QString());
    }
    return out;
}

// A fraction "p/q" of a table cell as a number.
double fractionValue(const QString& text)
{
    const QStringList parts = text.split(u'/');
    if (parts.size() != 2)
        return -1.0;
    return parts[0].toDouble() / parts[1].toDouble();
}

} // namespace

class TestReports final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testShortReport();
    void testFullReportAddsTheMatrices();
    void testMatrixCells_data();
    void testMatrixCells();
    void testUpwardHeadingsOnlyInCriteriaMatrix();
    void testMatrixTitlesKeepWithTheirTables();
    void testTablesShowTheEvaluatedMatrices_data();
    void testTablesShowTheEvaluatedMatrices();
    void testLists_data();
    void testLists();
    void testPriorityLines_data();
    void testPriorityLines();
    void testBestChoice_data();
    void testBestChoice();
    void testWarnings_data();
    void testWarnings();
    void testMissingChartFails();
};

// Each piece of text ends its own paragraphs: "\n\r" after a title leaves one
// empty line, after a list (whose items end in "\r") two.
const QStringList ShortTwoByTwo{
    u"Результаты анализа альтернатив для принятия решения."_s,
    QString(),
    u"Список альтернатив:"_s,
    QString(),
    u"1. Квартира на Ленина"_s,
    u"2. Дом"_s,
    QString(),
    QString(),
    u"Список критериев принятия решения:"_s,
    QString(),
    u"1. Цена"_s,
    u"2. Район"_s,
    QString(),
    QString(),
    u"Альтернативы имеют следующие приоритеты:"_s,
    QString(),
    u"1. Квартира на Ленина 45,67%"_s,
    u"2. Дом 54,33%"_s,
    QString(),
    QString(),
    u"Лучший выбор - Дом"_s,
    QString(),
    u"#picture"_s,
    QString(),
    QString(),
};

void TestReports::testShortReport()
{
    const Reports reports;
    const Written w = reports.write(false, problemOf(TwoByTwo), resultOf({0.4567, 0.5433}, 0.05, 0.1 - 1e-9));
    QCOMPARE(w.outline, ShortTwoByTwo);
    QCOMPARE(packageFaults(w.package), QStringList());

    // Everything in size 12; the chart embedded once at 15 x 15 cm.
    const Node body = w.body;
    for (const Node* sz : body.all(u"w:sz"_s, true))
        QCOMPARE(sz->attr(u"w:val"_s), u"24"_s);
    const std::vector<const Node*> extents = body.all(u"wp:extent"_s, true);
    QCOMPARE(extents.size(), size_t(1));
    QCOMPARE(extents[0]->attr(u"cx"_s), u"5400000"_s);
    QCOMPARE(extents[0]->attr(u"cy"_s), u"5400000"_s);
    QCOMPARE(w.package.order.filter(u"word/media/"_s).size(), 1);
    QVERIFY(tables(body).empty());
    // No table, so nothing kept with the next paragraph; nothing bold.
    for (const QString& name : {u"w:keepNext"_s, u"w:keepLines"_s, u"w:b"_s})
        QVERIFY2(body.all(name, true).empty(), qPrintable(name));
}

void TestReports::testFullReportAddsTheMatrices()
{
    const Reports reports;
    const Written w = reports.write(true, problemOf(TwoByTwo), resultOf({0.4567, 0.5433}));

    QStringList expected = ShortTwoByTwo;
    expected[0] = u"Протокол анализа альтернатив для принятия управленческого решения."_s;
    const QStringList matrices{
        u"Матрица парных сравнений для критериев выбора."_s,
        QString(),
        u"[|Цена|Район;Цена|-|3/1;Район|1/3|-]"_s,
        QString(),
        QString(),
        u"Матрица парных сравнений альтернатив по критерию Цена"_s,
        QString(),
        u"[|Квартира на Ленина|Дом;Квартира на Ленина|-|1/4;Дом|4/1|-]"_s,
        QString(),
        QString(),
        u"Матрица парных сравнений альтернатив по критерию Район"_s,
        QString(),
        u"[|Квартира на Ленина|Дом;Квартира на Ленина|-|1/1;Дом|1/1|-]"_s,
        QString(),
        QString(),
    };
    for (qsizetype i = 0; i < matrices.size(); ++i)
        expected.insert(14 + i, matrices.at(i));
    expected.removeLast(); // the empty paragraph the section's title is written into
    QCOMPARE(w.outline, expected);
    QCOMPARE(packageFaults(w.package), QStringList());

    // A first column of 4 cm and value columns of 1.7 cm, stretched over the text width.
    const Node body = w.body;
    for (const Node* tbl : tables(body)) {
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

void TestReports::testMatrixCells_data()
{
    QTest::addColumn<QString>("stored"); // the line of Q_0*Q_1 in "QualM"; empty: no such key
    QTest::addColumn<QString>("cell");   // row of Цена, column of Район
    QTest::addColumn<QString>("mirror");

    QTest::newRow("-3: the row element three times as important") << u"-3"_s << u"3/1"_s << u"1/3"_s;
    QTest::newRow("-9") << u"-9"_s << u"9/1"_s << u"1/9"_s;
    QTest::newRow("-2") << u"-2"_s << u"2/1"_s << u"1/2"_s;
    QTest::newRow("2") << u"2"_s << u"1/2"_s << u"2/1"_s;
    QTest::newRow("4: the column element four times") << u"4"_s << u"1/4"_s << u"4/1"_s;
    QTest::newRow("9") << u"9"_s << u"1/9"_s << u"9/1"_s;
    QTest::newRow("1 is equal") << u"1"_s << u"1/1"_s << u"1/1"_s;
    QTest::newRow("0 is equal") << u"0"_s << u"1/1"_s << u"1/1"_s;
    QTest::newRow("-1 is equal") << u"-1"_s << u"1/1"_s << u"1/1"_s;
    QTest::newRow("10 is off the scale") << u"10"_s << u"1/1"_s << u"1/1"_s;
    QTest::newRow("-10 is off the scale") << u"-10"_s << u"1/1"_s << u"1/1"_s;
    QTest::newRow("missing") << QString() << u"1/1"_s << u"1/1"_s;
    QTest::newRow("not a number") << u"три"_s << u"1/1"_s << u"1/1"_s;
}

void TestReports::testMatrixCells()
{
    QFETCH(QString, stored);
    QFETCH(QString, cell);
    QFETCH(QString, mirror);

    QString ini = u"[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n[QualM]\n"_s;
    if (!stored.isEmpty())
        ini += u"Q_0*Q_1="_s + stored + u'\n';
    const Reports reports;
    const Written w = reports.write(true, problemOf(ini), resultOf({}));
    QCOMPARE(block(w.outline, u"Матрица парных сравнений для критериев выбора."_s).value(0),
             u"[|Цена|Район;Цена|-|"_s + cell + u";Район|"_s + mirror + u"|-]"_s);

    // The same reading of the value under a criterion.
    const QString alternatives = u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nCount=1\n[QualM]\n"_s +
                                 (stored.isEmpty() ? QString() : u"A_0*A_1&Q_0="_s + stored + u'\n');
    const Written a = reports.write(true, problemOf(alternatives), resultOf({0.5, 0.5}));
    QCOMPARE(block(a.outline, u"Матрица парных сравнений альтернатив по критерию Цена"_s).value(0),
             u"[|Дом|Дача;Дом|-|"_s + cell + u";Дача|"_s + mirror + u"|-]"_s);
}

void TestReports::testUpwardHeadingsOnlyInCriteriaMatrix()
{
    const QString ini = u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nQ_1=Район\nQ_2=Этаж\nCount=3\n"_s;
    const Reports reports;
    const Written w = reports.write(true, problemOf(ini), resultOf({0.5, 0.5}));
    const Node body = w.body;
    const std::vector<const Node*> all = tables(body);
    QCOMPARE(all.size(), size_t(4));

    QStringList criteria(16);
    criteria[1] = criteria[2] = criteria[3] = u"btLr"_s; // row 1, columns 2 to 4
    QCOMPARE(cellDirections(*all[0]), criteria);
    QCOMPARE(outline(*all[0]), u"[|Цена|Район|Этаж;Цена|-|1/1|1/1;Район|1/1|-|1/1;Этаж|1/1|1/1|-]"_s);
    for (size_t k = 1; k < all.size(); ++k) {
        QCOMPARE(cellDirections(*all[k]), QStringList(9));
        QCOMPARE(outline(*all[k]), u"[|Дом|Дача;Дом|-|1/1;Дача|1/1|-]"_s);
    }
}

// A title stays on the page of its table; a title of more than 255 characters
// is cut, and still ends in its empty line before the table.
void TestReports::testMatrixTitlesKeepWithTheirTables()
{
    const QString name(300, u'Ж');
    const Reports reports;
    const Written w = reports.write(true, problemOf(QString(TwoByTwo).replace(u"Q_1=Район"_s, u"Q_1="_s + name)),
                                    resultOf({0.5, 0.5}));
    const QString title = u"Матрица парных сравнений альтернатив по критерию "_s;
    const QStringList expected{
        u"Матрица парных сравнений для критериев выбора.|N"_s,
        u"|N"_s,
        u"[table]"_s,
        u"|"_s,
        u"|"_s,
        title + u"Цена|N"_s,
        u"|N"_s,
        u"[table]"_s,
        u"|"_s,
        u"|"_s,
        (title + name).left(255) + u"|N"_s,
        u"|N"_s,
        u"[table]"_s,
        u"|"_s,
    };
    const QStringList lines = flaggedOutline(w.package);
    QCOMPARE(lines.mid(lines.indexOf(expected.first()), expected.size()), expected);
    // Nowhere else, not in a cell either; nothing kept together, nothing bold.
    const Node body = w.body;
    QCOMPARE(body.all(u"w:keepNext"_s, true).size(), size_t(6));
    QVERIFY(body.all(u"w:keepLines"_s, true).empty());
    QVERIFY(body.all(u"w:b"_s, true).empty());
}

void TestReports::testTablesShowTheEvaluatedMatrices_data()
{
    QTest::addColumn<QString>("file");
    for (const QString& name : QDir(TestSupport::examplesDir()).entryList({u"*.qzr"_s}, QDir::Files))
        QTest::newRow(qPrintable(name)) << QDir(TestSupport::examplesDir()).filePath(name);
    QTest::newRow("largest") << QString();
}

// Every table of the full report, against the matrix the evaluation computes from.
void TestReports::testTablesShowTheEvaluatedMatrices()
{
    QFETCH(QString, file);
    using namespace ProblemKeys;

    IniDocument problem;
    if (file.isEmpty()) {
        // Nine and nine, with every stored value of the scale and some off it.
        for (int i = 0; i < 9; ++i) {
            problem.writeString(AltSection, altKey(i), u"Вариант "_s + QString::number(i + 1));
            problem.writeString(QualSection, qualKey(i), u"Критерий "_s + QString::number(i + 1));
        }
        problem.writeInteger(AltSection, CountKey, 9);
        problem.writeInteger(QualSection, CountKey, 9);
        int v = 0;
        for (int i = 0; i < 9; ++i) {
            for (int j = i + 1; j < 9; ++j) {
                problem.writeInteger(JudgementSection, qualPairKey(i, j), (v++ % 23) - 11);
                for (int k = 0; k < 9; ++k)
                    problem.writeInteger(JudgementSection, altPairKey(i, j, k), (v++ % 21) - 10);
            }
        }
    } else {
        problem = IniDocument::fromBytes(TestSupport::readBytes(file));
    }
    const ProblemData data = ProblemData::load(problem);
    const EvaluationResult result = Evaluation::EvaluateProblem(data, Russian);
    const int n = data.critTotal();
    const int m = data.altTotal();
    QVERIFY(n >= 2 && m >= 2);

    const Reports reports;
    const Written w = reports.write(true, problem, result);
    QCOMPARE(packageFaults(w.package), QStringList());
    const Node body = w.body;
    const std::vector<const Node*> all = tables(body);
    QCOMPARE(all.size(), size_t(n + 1));

    for (int t = 0; t <= n; ++t) {
        const int order = t == 0 ? n : m;
        const JudgementMatrix a =
            t == 0 ? JudgementMatrix::fromStored(n, [&](int i, int j) { return data.critJudgement(i, j); })
                   : JudgementMatrix::fromStored(m, [&](int i, int j) { return data.altJudgement(i, j, t - 1); });
        const std::vector<const Node*> rows = all[size_t(t)]->all(u"w:tr"_s);
        QCOMPARE(rows.size(), size_t(order + 1));
        for (int r = 0; r <= order; ++r) {
            const std::vector<const Node*> cells = rows[size_t(r)]->all(u"w:tc"_s);
            QCOMPARE(cells.size(), size_t(order + 1));
            for (int c = 0; c <= order; ++c) {
                const QString text = outline(*cells[size_t(c)]->child(u"w:p"_s));
                if (r == 0 && c == 0)
                    QCOMPARE(text, QString());
                else if (r == 0 || c == 0)
                    QCOMPARE(text, problem.readString(t == 0 ? QualSection : AltSection,
                                                      t == 0 ? qualKey(r + c - 1) : altKey(r + c - 1), u"***НЕТ***"_s));
                else if (r == c)
                    QCOMPARE(text, u"-"_s);
                else
                    QVERIFY2(qFuzzyCompare(fractionValue(text), a.at(r - 1, c - 1)),
                             qPrintable(u"table %1 cell %2,%3: %4"_s.arg(t).arg(r + 1).arg(c + 1).arg(text)));
            }
        }
    }
    // The priorities as the evaluation left them.
    const QStringList lines = block(w.outline, u"Альтернативы имеют следующие приоритеты:"_s);
    QCOMPARE(lines.size(), m);
    QVERIFY(lines.last().endsWith(u"%"_s));
}

void TestReports::testLists_data()
{
    QTest::addColumn<QString>("names"); // lines of section "Alt"
    QTest::addColumn<QStringList>("list");

    QTest::newRow("a missing name keeps its number")
        << u"A_0=Дом\nA_2=Дача\n"_s << QStringList{u"1. Дом"_s, u"3. Дача"_s};
    QTest::newRow("the empty marker counts as no name") << u"A_0=***НЕТ***\nA_1=Дом\n"_s << QStringList{u"2. Дом"_s};
    QTest::newRow("positions up to 10") << u"A_10=Десятый\nA_11=Одиннадцатый\n"_s << QStringList{u"11. Десятый"_s};
    QTest::newRow("listed whatever the count")
        << u"A_0=Дом\nA_1=Дача\nA_2=Офис\nCount=1\n"_s << QStringList{u"1. Дом"_s, u"2. Дача"_s, u"3. Офис"_s};
    QTest::newRow("blanks around a name are not part of it") << u"A_0 =  Дом  \n"_s << QStringList{u"1. Дом"_s};
    QTest::newRow("a line past 255 is cut, the next one is its own")
        << u"A_0="_s + QString(300, u'Ж') + u"\nA_1=Дом\n"_s << QStringList{u"1. "_s + QString(252, u'Ж'), u"2. Дом"_s};
}

void TestReports::testLists()
{
    QFETCH(QString, names);
    QFETCH(QStringList, list);

    const Reports reports;
    const Written w = reports.write(false, problemOf(u"[Alt]\n"_s + names), resultOf({}));
    QCOMPARE(block(w.outline, u"Список альтернатив:"_s), list);
}

void TestReports::testPriorityLines_data()
{
    QTest::addColumn<double>("priority");
    QTest::addColumn<QString>("line");

    QTest::newRow("0.4567") << 0.4567 << u"1. Дом 45,67%"_s;
    QTest::newRow("0.05 keeps two decimals") << 0.05 << u"1. Дом 5,00%"_s;
    QTest::newRow("zero") << 0.0 << u"1. Дом 0,00%"_s;
    QTest::newRow("all of it") << 1.0 << u"1. Дом 100,00%"_s;
    // The doubles nearest to these lie just below and just above a half of a
    // hundredth of a per cent; the line rounds as the stored value does.
    QTest::newRow("stored just below a half") << 0.00065 << u"1. Дом 0,06%"_s;
    QTest::newRow("stored just above a half") << 0.00075 << u"1. Дом 0,08%"_s;
}

void TestReports::testPriorityLines()
{
    QFETCH(double, priority);
    QFETCH(QString, line);

    const Reports reports;
    const Written w = reports.write(false, problemOf(u"[Alt]\nA_0=Дом\nCount=1\n"_s), resultOf({priority}));
    QCOMPARE(block(w.outline, u"Альтернативы имеют следующие приоритеты:"_s), QStringList{line});
}

void TestReports::testBestChoice_data()
{
    QTest::addColumn<QString>("alternatives"); // lines of section "Alt"
    QTest::addColumn<std::vector<double>>("priorities");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("best");

    const QString three = u"A_0=Дом\nA_1=Дача\nA_2=Офис\nCount=3\n"_s;
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

void TestReports::testBestChoice()
{
    QFETCH(QString, alternatives);
    QFETCH(std::vector<double>, priorities);
    QFETCH(QStringList, lines);
    QFETCH(QString, best);

    const Reports reports;
    const Written w = reports.write(false, problemOf(u"[Alt]\n"_s + alternatives), resultOf(priorities));
    const QString heading = u"Альтернативы имеют следующие приоритеты:"_s;
    QCOMPARE(block(w.outline, heading), lines);
    // The best choice follows the priorities after two empty lines.
    const qsizetype at = w.outline.indexOf(heading) + 2 + lines.size() + 2;
    QCOMPARE(w.outline.value(at), u"Лучший выбор - "_s + best);
}

void TestReports::testWarnings_data()
{
    QTest::addColumn<double>("criteria");
    QTest::addColumn<double>("alternatives");
    QTest::addColumn<QStringList>("tail"); // what follows the picture

    const QString first = u"Для получения более точных результатов, возможно, следует пересмотреть ответы."_s;
    const QString second = u"Для получения правильных результатов необходимо пересмотреть ответы."_s;
    const QString critFirst = u"При сравнении критериев по степени важности, Ваши ответы противоречивы! (ОС="_s;
    const QString critSecond = u"При сравнении критериев по степени важности, Ваши ответы очень противоречивы!(ОС="_s;
    const QString altFirst = u"При сравнении альтернатив, Ваши ответы протеворечивы! (ОС="_s;
    const QString altSecond = u"При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС="_s;
    const QString none;
    const double belowTenth = std::nextafter(0.1, 0.0);
    const double belowFifth = std::nextafter(0.2, 0.0);

    QTest::newRow("0.05: none") << 0.05 << 0.05 << QStringList{none, none};
    QTest::newRow("below the double 0.1: none") << belowTenth << belowTenth << QStringList{none, none};
    QTest::newRow("criteria at the double 0.1: first band")
        << 0.1 << 0.0 << QStringList{none, u"Внимание!"_s, critFirst + u"10,00%)"_s, first, none, none, none};
    QTest::newRow("criteria 0.15: first band")
        << 0.15 << 0.0 << QStringList{none, u"Внимание!"_s, critFirst + u"15,00%)"_s, first, none, none, none};
    QTest::newRow("criteria just below 0.2: still the first band")
        << belowFifth << 0.0 << QStringList{none, u"Внимание!"_s, critFirst + u"20,00%)"_s, first, none, none, none};
    QTest::newRow("criteria 0.2: second band")
        << 0.2 << 0.0 << QStringList{none, u"Внимание!"_s, critSecond + u"20,00%)"_s, second, none, none, none};
    QTest::newRow("alternatives at the double 0.1: first band")
        << 0.0 << 0.1 << QStringList{none, u"Внимание!"_s, altFirst + u"10,00%)"_s, first, none, none, none};
    QTest::newRow("alternatives 1.5: second band, three digits")
        << 0.0 << 1.5 << QStringList{none, u"Внимание!"_s, altSecond + u"150,00%)"_s, second, none, none, none};
    QTest::newRow("both, criteria first") << 0.15 << 0.25
                                          << QStringList{none,
                                                         u"Внимание!"_s,
                                                         critFirst + u"15,00%)"_s,
                                                         first,
                                                         none,
                                                         none,
                                                         u"Внимание!"_s,
                                                         altSecond + u"25,00%)"_s,
                                                         second,
                                                         none,
                                                         none,
                                                         none};
}

void TestReports::testWarnings()
{
    QFETCH(double, criteria);
    QFETCH(double, alternatives);
    QFETCH(QStringList, tail);

    const Reports reports;
    const Written w = reports.write(false, problemOf(TwoByTwo), resultOf({0.5, 0.5}, criteria, alternatives));
    const qsizetype picture = w.outline.indexOf(u"#picture"_s);
    QVERIFY(picture > 0);
    QCOMPARE(w.outline.mid(picture + 1), tail);
}

void TestReports::testMissingChartFails()
{
    QTemporaryDir dir;
    TFormWord w({dir.path(), u"Задача"_s, TFormWord::Kind::ShortReport, {}, {}});
    try {
        ResultReports::writeShort(w, problemOf(TwoByTwo), resultOf({0.5, 0.5}), dir.filePath(u"graf.bmp"_s), Russian);
        QFAIL("a report without its chart was written");
    } catch (const OptivarError& e) {
        QCOMPARE(e.code(), OptivarError::Code::NotFound);
    }
}

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
