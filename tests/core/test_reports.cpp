// The documents the program exports, read back from the .docx: the short and the full report with its section
// "Анализ решения", and the questionnaire; their paragraphs, tables and what they carry for print, on problems
// and results given by hand.
#include "report/AnalysisReport.h"
#include "report/Questionnaire.h"
#include "report/ResultReports.h"

#include "compare/CompareStepsBuild.h"
#include "evaluate/AnalysisResult.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "report/TFormWord.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"
#include "storage/OptivarError.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace DocxReader;

namespace {

const QLocale Russian(QLocale::Russian, QLocale::Russia);
const QString Title = QString::fromUtf16(AnalysisReport::Title);

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

// Criteria weigh 4 : 2 : 1; under Качество Налево counts twice each other one; under Срок Назад three times each
// other one; under Цена all are equal. By hand: Налево wins with 28,10%; it stays best while Качество weighs from
// 25% (below, Назад) and while Срок weighs up to 1/6 (above, Назад); Цена cannot change it.
const QString Road = u"[Alt]\nA_0=Налево\nA_1=Направо\nA_2=Прямо\nA_3=Назад\nCount=4\n"
                     "[Qual]\nQ_0=Цена\nQ_1=Качество\nQ_2=Срок\nCount=3\n"
                     "[QualM]\nQ_0*Q_1=-2\nQ_0*Q_2=-4\nQ_1*Q_2=-2\n"
                     "A_0*A_1&Q_1=-2\nA_0*A_2&Q_1=-2\nA_0*A_3&Q_1=-2\n"
                     "A_0*A_3&Q_2=3\nA_1*A_3&Q_2=3\nA_2*A_3&Q_2=3\n"_s;

// Under Цена 8 : 4 : 2 : 1, with Налево and Назад judged the wrong way round.
const QString Reversed = u"A_0*A_1&Q_0=-2\nA_0*A_2&Q_0=-4\nA_0*A_3&Q_0=8\n"
                         "A_1*A_2&Q_0=-2\nA_1*A_3&Q_0=-4\nA_2*A_3&Q_0=-2\n"_s;

EvaluationResult resultOf(const std::vector<double>& priorities, double critRatio = 0.0, double altRatio = 0.0)
{
    EvaluationResult r;
    r.AltTotal = int(priorities.size());
    r.AltPriority = priorities;
    r.CritConsistencyRatio = critRatio;
    r.AltConsistencyRatio = altRatio;
    return r;
}

enum class Doc { Short, Full, Questionnaire };

struct Written
{
    Package package;
    QStringList outline; // as bodyOutline, a paragraph holding a picture as "#picture"
    Node body;
};

// A document of the problem: a report of the result given (else the problem's own evaluation) with a chart whose
// first bytes make it a bitmap, the full one ending in the section "Анализ решения"; or the questionnaire of the
// steps given (else the problem's own).
Written write(Doc doc, const QString& ini, std::optional<EvaluationResult> result = {}, const QStringList& steps = {})
{
    QTemporaryDir dir;
    const IniDocument problem = problemOf(ini);
    const QString chart = dir.filePath(u"graf.bmp"_s);
    TestSupport::writeBytes(chart, QByteArray("BM") + QByteArray(60, '\x20'));
    if (!result)
        result = Evaluation::EvaluateProblem(ProblemData::load(problem), Russian);
    const TFormWord::Kind kinds[] = {TFormWord::Kind::ShortReport, TFormWord::Kind::FullReport,
                                     TFormWord::Kind::Questionnaire};
    TFormWord w({dir.path(), u"Задача"_s, kinds[int(doc)], {}, {}});
    if (doc == Doc::Short)
        ResultReports::writeShort(w, problem, *result, chart, Russian);
    else if (doc == Doc::Questionnaire)
        Questionnaire::write(w, problem, steps.isEmpty() ? CompareStepsBuild::stepLines(problem) : steps);
    else
        ResultReports::writeFull(w, problem, *result, chart, Russian);
    Written out{unzip(w.documentBytes(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)))), {}, {}};
    out.body = out.package.body();
    for (const Node& c : out.body.children) {
        if (c.name != u"w:sectPr"_s)
            out.outline << (c.all(u"w:drawing"_s, true).empty() ? outline(c) : u"#picture"_s);
    }
    return out;
}

// The part of the report that shows how sure the choice is follows the analysis; test_robustness reads it.
const QString HowSure = u"Надёжность лучшего выбора:"_s;

// The blocks of the analysis section, its title first, up to how sure the choice is, empty paragraphs left out.
QStringList section(const Written& w)
{
    const qsizetype at = w.outline.indexOf(Title);
    const qsizetype end = w.outline.indexOf(HowSure);
    return at < 0 || end < at ? QStringList{u"no section"_s}
                              : w.outline.mid(at, end - at).filter(QRegularExpression(u"."_s));
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

// The answers as the paper form lists them, transcribed apart from the program's own table. The preferences
// read "лучше" for "важнее" and "одинаково предпочтительны" for "одинаково важны", and their line 10 has no
// comma before "или".
const QStringList Importance{u"1. (A) очень намного важнее, чем (B) [9/1]"_s,
                             u"2. (A) очень намного или значительно важнее, чем (B) [8/1]"_s,
                             u"3. (A) значительно важнее, чем (B) [7/1]"_s,
                             u"4. (A) значительно или существенно важнее, чем (B) [6/1]"_s,
                             u"5. (A) существенно важнее, чем (B) [5/1]"_s,
                             u"6. (A) существенно или немного важнее, чем (B) [4/1]"_s,
                             u"7. (A) немного важнее, чем (B) [3/1]"_s,
                             u"8. (A) немного важнее, чем (B), или они одинаково важны [2/1]"_s,
                             u"9. (A) и (B) одинаково важны [1/1]"_s,
                             u"10. (B) немного важнее, чем (A), или они одинаково важны [1/2]"_s,
                             u"11. (B) немного важнее, чем (A) [1/3]"_s,
                             u"12. (B) существенно или немного важнее, чем (A) [1/4]"_s,
                             u"13. (B) существенно важнее, чем (A) [1/5]"_s,
                             u"14. (B) значительно или существенно важнее, чем (A) [1/6]"_s,
                             u"15. (B) значительно важнее, чем (A) [1/7]"_s,
                             u"16. (B) очень намного или значительно важнее, чем (A) [1/8]"_s,
                             u"17. (B) очень намного важнее, чем (A) [1/9]"_s};

QStringList preference()
{
    QStringList out;
    for (const QString& line : Importance) {
        out << QString(line)
                   .replace(u"важнее"_s, u"лучше"_s)
                   .replace(u"одинаково важны"_s, u"одинаково предпочтительны"_s)
                   .replace(u"(A), или"_s, u"(A) или"_s);
    }
    return out;
}

// The title and its two empty lines, then per question: the question in bold, an empty line, the answers, all
// kept on one page up to the last answer, and an empty line free to break; the document ends in an empty
// paragraph.
QStringList expectedOutline(const QStringList& questions)
{
    QStringList out{u"Анкета для принятия управленческого решения.|"_s, u"|"_s, u"|"_s, u"|"_s};
    for (const QString& q : questions) {
        out << q + u"|bNL"_s << u"|NL"_s;
        for (const QString& answer : q.contains(u"критерии"_s) ? Importance : preference())
            out << answer + (answer.startsWith(u"17. "_s) ? u"|L"_s : u"|NL"_s);
        out << u"|"_s;
    }
    return out << u"|"_s;
}

const QString ThreeByTwo = u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nQ_1=Район\nQ_2=Этаж\nCount=3\n"_s;

} // namespace

class TestReports final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testShortReport()
    {
        const Written w = write(Doc::Short, TwoByTwo, resultOf({0.4567, 0.5433}, 0.05, 0.1 - 1e-9));
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
        const Written w = write(Doc::Full, TwoByTwo, resultOf({0.4567, 0.5433}));
        QString expected = ShortTwoByTwo;
        expected.replace(u"Результаты анализа альтернатив для принятия решения."_s,
                         u"Протокол анализа альтернатив для принятия управленческого решения."_s);
        expected.replace(u"\n\n\nАльтернативы"_s,
                         u"\n\n\nМатрица парных сравнений для критериев выбора.\n\n[|Цена|Район;Цена|-|3/1;Район|1/3|-]"
                         "\n\n\nМатрица парных сравнений альтернатив по критерию Цена\n\n"
                         "[|Квартира на Ленина|Дом;Квартира на Ленина|-|1/4;Дом|4/1|-]\n\n\n"
                         "Матрица парных сравнений альтернатив по критерию Район\n\n"
                         "[|Квартира на Ленина|Дом;Квартира на Ленина|-|1/1;Дом|1/1|-]\n\n\nАльтернативы"_s);
        QCOMPARE(w.outline.mid(0, w.outline.indexOf(Title)), lines(expected).mid(0, lines(expected).size() - 1));
        QCOMPARE(packageFaults(w.package), QStringList());
        const std::vector<const Node*> tables = w.body.all(u"w:tbl"_s);
        for (const Node* tbl : std::vector(tables.begin(), tables.begin() + 3)) {
            QString upward; // names written upward only in the heading row of the criteria matrix
            for (const Node* tc : tbl->all(u"w:tc"_s, true))
                upward += tc->all(u"w:textDirection"_s, true).empty() ? u'-' : u'^';
            QCOMPARE(upward, tbl == tables[0] ? u"-^^------"_s : u"---------"_s);
            QList<double> grid;
            for (const Node* col : tbl->child(u"w:tblGrid"_s)->all(u"w:gridCol"_s))
                grid << col->attr(u"w:w"_s).toDouble();
            QVERIFY(grid.size() == 3 && grid[1] == grid[2] && qAbs(grid[0] / grid[1] - 4.0 / 1.7) < 0.01);
            const Node* width = tbl->child(u"w:tblPr"_s)->child(u"w:tblW"_s);
            QCOMPARE(width->attr(u"w:type"_s) + width->attr(u"w:w"_s), u"pct5000"_s);
        }
    }

    // The priority lines (their numbers are the results text's), with "?" for a missing name, and the best choice
    // two empty lines after them: the first of equal highest priorities, "?" or the name in position 0 when there
    // are none.
    void testPrioritiesAndBestChoice_data()
    {
        QTest::addColumn<QString>("alternatives"); // lines of section "Alt"
        QTest::addColumn<std::vector<double>>("priorities");
        QTest::addColumn<QString>("lines"); // joined by "|", then the best choice
        const QString three = u"A_0=Дом\nA_1=Дача\nA_2=Офис\nCount=3\n"_s;
        const auto row = [](const char* name, const QString& alternatives, std::vector<double> priorities,
                            const QString& lines) { QTest::newRow(name) << alternatives << priorities << lines; };
        row("equal highest: the first listed", three, {0.4, 0.4, 0.2},
            u"1. Дом 40,00%|2. Дача 40,00%|3. Офис 20,00%|Дом"_s);
        row("a missing name reads ?", u"A_0=Дом\nCount=2\n"_s, {0.3, 0.7}, u"1. Дом 30,00%|2. ? 70,00%|?"_s);
        row("the empty marker is a name here", u"A_0=***НЕТ***\nA_1=Дом\nCount=2\n"_s, {0.6, 0.4},
            u"1. ***НЕТ*** 60,00%|2. Дом 40,00%|***НЕТ***"_s);
        row("no alternatives: the name in position 0", u"A_0=Дом\nCount=0\n"_s, {}, u"Дом"_s);
        row("no alternatives and no name", QString(), {}, u"?"_s);
        row("one the evaluation did not know has no priority", three, {0.3, 0.7},
            u"1. Дом 30,00%|2. Дача 70,00%|3. Офис 0,00%|Дача"_s);
    }
    void testPrioritiesAndBestChoice()
    {
        QFETCH(QString, alternatives);
        QFETCH(std::vector<double>, priorities);
        QFETCH(QString, lines);
        const Written w = write(Doc::Short, u"[Alt]\n"_s + alternatives, resultOf(priorities));
        const QStringList priorityLines = block(w.outline, Heading);
        // The best choice follows the priorities after two empty lines.
        QCOMPARE((priorityLines + QStringList{w.outline.value(w.outline.indexOf(Heading) + 2 + priorityLines.size() + 2)
                                                  .remove(u"Лучший выбор - "_s)})
                     .join(u'|'),
                 lines);
    }

    // What follows the picture: nothing below the limit; else the criteria warning before the alternatives one,
    // each in its band (the bands themselves are the results text's).
    void testWarnings()
    {
        const auto tail = [](double criteria, double alternatives) {
            const QStringList outline =
                write(Doc::Short, TwoByTwo, resultOf({0.5, 0.5}, criteria, alternatives)).outline;
            return outline.mid(outline.indexOf(u"#picture"_s) + 1).join(u'\n');
        };
        QCOMPARE(tail(0.05, std::nextafter(0.1, 0.0)), u"\n"_s);
        QCOMPARE(tail(0.15, 1.5),
                 u"\nВнимание!\nПри сравнении критериев по степени важности, Ваши ответы противоречивы! (ОС=15,00%)\n"
                 "Для получения более точных результатов, возможно, следует пересмотреть ответы.\n\n\nВнимание!\n"
                 "При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС=150,00%)\n"
                 "Для получения правильных результатов необходимо пересмотреть ответы.\n\n\n"_s);
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

    // ---- The section "Анализ решения" of the full report

    void testSectionOfAConsistentProblem()
    {
        const Written w = write(Doc::Full, Road);
        QCOMPARE(packageFaults(w.package), QStringList());
        const QString expected =
            u"Анализ решения\nВеса критериев:\n[Критерий|Вес;Цена|57,14%;Качество|28,57%;Срок|14,29%]\n"
            "Локальные приоритеты альтернатив по критериям:\n"
            "[|Цена|Качество|Срок|Приоритет;Налево|25,00%|40,00%|16,67%|28,10%;Направо|25,00%|20,00%|16,67%|22,38%;"
            "Прямо|25,00%|20,00%|16,67%|22,38%;Назад|25,00%|20,00%|50,00%|27,14%]\n"
            "Согласованность ответов:\n"
            "[Сравнения|λ max|ИС|ОС|Оценка;Критерии|3,000|0,000|0,00%|согласованы;"
            "Альтернативы по критерию «Цена»|4,000|0,000|0,00%|согласованы;"
            "Альтернативы по критерию «Качество»|4,000|0,000|0,00%|согласованы;"
            "Альтернативы по критерию «Срок»|4,000|0,000|0,00%|согласованы]\n"
            "Ответы, которые стоит пересмотреть:\n"
            "Пересматривать нечего: ответы в каждой матрице достаточно согласованы.\n"
            "Чувствительность лучшего выбора к весам критериев:\n"
            "[Критерий|Вес|Лучший выбор сохраняется при весе от|до;Цена|57,14%|0,00%|100,00%;"
            "Качество|28,57%|25,00%|100,00%;Срок|14,29%|0,00%|16,67%]\n"
            "При любом весе критерия «Цена» лучшим выбором остаётся «Налево».\n"
            "«Налево» остаётся лучшим выбором, пока вес критерия «Качество» (сейчас 28,57%) не меньше 25,00%: если он "
            "станет меньше 25,00%, лучшим станет «Назад».\n"
            "«Налево» остаётся лучшим выбором, пока вес критерия «Срок» (сейчас 14,29%) не больше 16,67%: если он "
            "превысит 16,67%, лучшим станет «Назад».\n"
            "Лучший выбор сильнее всего зависит от веса «Срок»: если он вырастет с 14,29% до значения больше 16,67%, "
            "лучшим станет «Назад»."_s;
        const QStringList written = section(w);
        const QStringList lines = expected.split(u'\n');
        for (qsizetype i = 0; i < qMax(written.size(), lines.size()); ++i)
            QCOMPARE(written.value(i), lines.value(i));
    }

    // Only the inconsistent matrix has judgements to revisit, at most three, the reversed one first: as given
    // Назад is eight times better, the other judgements ask for Налево eight times better.
    void testJudgementsToRevisit()
    {
        const QStringList written = section(write(Doc::Full, Road + Reversed));
        const qsizetype at = written.indexOf(u"Согласованность ответов:"_s);
        const QStringList rows = written.value(at + 1).split(u';');
        QCOMPARE(rows.size(), 5);
        QVERIFY(rows[1].endsWith(u"|согласованы"_s) && rows[2].endsWith(u"|противоречивы"_s));
        QCOMPARE(written.value(at + 2), u"Ответы, которые стоит пересмотреть:"_s);
        const QStringList lines = written.value(at + 3).split(u';');
        QVERIFY(lines.size() >= 2 && lines.size() <= 4);
        const QString matrix = u"Альтернативы по критерию «Цена»|"_s;
        QCOMPARE(lines.mid(0, 2),
                 (QStringList{u"[Сравнения|Ваш ответ|С остальными ответами согласуется"_s,
                              matrix + u"Назад очень намного или значительно лучше, чем Налево [8/1]|"
                                       "Налево очень намного или значительно лучше, чем Назад [8/1]"_s}));
        for (const QString& line : lines.mid(2))
            QVERIFY2(line.startsWith(matrix), qPrintable(line));

        // In a matrix of three, changing one judgement is enough; the report says so under the table.
        const QStringList cycle = section(
            write(Doc::Full,
                  u"[Qual]\nQ_0=Цена\nQ_1=Район\nQ_2=Срок\nCount=3\n[QualM]\nQ_0*Q_1=-9\nQ_1*Q_2=-9\nQ_0*Q_2=9\n"_s));
        const qsizetype under = cycle.indexOf(u"Ответы, которые стоит пересмотреть:"_s) + 2;
        QVERIFY2(cycle.value(under).startsWith(u"Критерии: из трёх ответов"_s), qPrintable(cycle.value(under)));
    }

    // Each title, of a matrix (one of more than 255 characters cut, and still ending in its empty line) or of the
    // section "Анализ решения" and its tables, stays on the page of its table; nothing else is kept with the next
    // paragraph, kept together or bold. The section comes after the last warning.
    void testPlaceAndKeeping()
    {
        const QString name(300, u'Ж'), matrix = u"Матрица парных сравнений альтернатив по критерию "_s;
        const Written w = write(Doc::Full, QString(Road).replace(u"Q_2=Срок"_s, u"Q_2="_s + name) + Reversed);
        QStringList expected{u"Матрица парных сравнений для критериев выбора.|N"_s, u"|N"_s, u"[table]"_s};
        for (const QString& title : {matrix + u"Цена"_s, matrix + u"Качество"_s, (matrix + name).left(255)})
            expected << u"|"_s << u"|"_s << title + u"|N"_s << u"|N"_s << u"[table]"_s;
        const QStringList lines = flaggedOutline(w.package);
        QCOMPARE(lines.mid(lines.indexOf(expected.first()), expected.size()), expected);
        expected = QStringList{Title + u"|N"_s, u"|N"_s};
        for (const QString& title :
             {u"Веса критериев:"_s, u"Локальные приоритеты альтернатив по критериям:"_s, u"Согласованность ответов:"_s,
              u"Ответы, которые стоит пересмотреть:"_s, u"Чувствительность лучшего выбора к весам критериев:"_s})
            expected << (expected.size() > 2 ? QStringList{u"|"_s, u"|"_s} : QStringList()) << title + u"|N"_s
                     << u"|N"_s << u"[table]"_s;
        QCOMPARE(lines.mid(lines.indexOf(expected.first()), expected.size()), expected);
        // and none after the last table, up to how sure the choice is
        QCOMPARE(lines.mid(0, lines.indexOf(HowSure + u"|N"_s)).filter(u"|N"_s).size(), 8 + 12);
        QVERIFY(lines.filter(u"|b"_s).isEmpty() && w.body.all(u"w:keepLines"_s, true).empty());

        // The last warning, its advice and its empty lines just before.
        QStringList before = w.outline.mid(w.outline.indexOf(Title) - 5, 5);
        QVERIFY(before.value(1).startsWith(u"При сравнении альтернатив, Ваши ответы очень протеворечивы!(ОС="_s));
        before[1].clear();
        QCOMPARE(before, (QStringList{u"Внимание!"_s, QString(),
                                      u"Для получения правильных результатов необходимо пересмотреть ответы."_s,
                                      QString(), QString()}));
    }

    // The analysis always describes the file: an evaluation that no longer fits it is made anew, never read past
    // its end.
    void testAnalysisOfTheFileAsItIs()
    {
        const IniDocument problem = problemOf(Road);
        const EvaluationResult own = Evaluation::EvaluateProblem(ProblemData::load(problem));
        for (const auto& [n, m] : {std::pair{-1, -1}, {2, 4}, {3, 5}, {0, 0}}) {
            EvaluationResult shown = own;
            if (n >= 0) { // a criterion added since, an alternative removed since, no evaluation at all
                shown = Evaluation::EvaluateProblem(ProblemData(n, m));
            } else { // numbers the file alone would not give: proof they are the ones taken
                shown.AltPriority = {0.1, 0.2, 0.3, 0.4};
                shown.BestChoice = 3;
            }
            const AnalysisResult a = AnalysisReport::analysisOf(problem, shown);
            QCOMPARE(a.critTotal * 10 + a.altTotal, 34);
            QCOMPARE(a.critNames, (QStringList{u"Цена"_s, u"Качество"_s, u"Срок"_s}));
            QCOMPARE(a.weights, own.CritPriority);
            QCOMPARE(a.sensitivity.size(), std::size_t(3));
            QCOMPARE(a.priorities, n >= 0 ? own.AltPriority : shown.AltPriority);
            QCOMPARE(a.winner, n >= 0 ? 0 : 3);
        }
    }

    // With nothing to analyse the section is still whole (the explanations are the analysis text's).
    void testEmptyProblem()
    {
        const Written w = write(Doc::Full, QString());
        QCOMPARE(packageFaults(w.package), QStringList());
        QCOMPARE(section(w).last(), u"Альтернатив нет, выбирать не из чего."_s);
    }

    // ---- The questionnaire

    void testQuestionnaire_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QStringList>("steps"); // empty: the list the rebuild would make
        QTest::addColumn<QStringList>("questions");
        const QString crit = u". Сравните критерии (A)%1 и (B)%2 по степени важности."_s;
        const QString alt = u". Сравните альтернативы (A)%1 и (B)%2 по критерию %3."_s;
        QTest::newRow("three criteria, two alternatives: one numbering")
            << ThreeByTwo << QStringList{}
            << QStringList{
                   u"1"_s + crit.arg(u"Цена"_s, u"Район"_s),          u"2"_s + crit.arg(u"Цена"_s, u"Этаж"_s),
                   u"3"_s + crit.arg(u"Район"_s, u"Этаж"_s),          u"4"_s + alt.arg(u"Дом"_s, u"Дача"_s, u"Цена"_s),
                   u"5"_s + alt.arg(u"Дом"_s, u"Дача"_s, u"Район"_s), u"6"_s + alt.arg(u"Дом"_s, u"Дача"_s, u"Этаж"_s)};
        QTest::newRow("the steps as given, values ignored")
            << ThreeByTwo << QStringList{u"A_1*A_0&Q_2=-7"_s, u"Q_2*Q_0=5"_s}
            << QStringList{u"1"_s + alt.arg(u"Дача"_s, u"Дом"_s, u"Этаж"_s), u"2"_s + crit.arg(u"Этаж"_s, u"Цена"_s)};
        QTest::newRow("a line of neither kind keeps its number")
            << ThreeByTwo << QStringList{u"Q_0*Q_1=1"_s, u"X"_s, u"A_0*A_1&Q_0=1"_s}
            << QStringList{u"1"_s + crit.arg(u"Цена"_s, u"Район"_s), u"3"_s + alt.arg(u"Дом"_s, u"Дача"_s, u"Цена"_s)};
        QTest::newRow("no steps") << u"[Qual]\nQ_0=Цена\nCount=1\n"_s << QStringList{} << QStringList{};
        // Names are cut to 255 characters and so is the question, but not its line end.
        const QString name(300, u'Ж');
        QTest::newRow("a long name") << u"[Qual]\nQ_0="_s + name + u"\nQ_1=Район\nCount=2\n"_s << QStringList{}
                                     << QStringList{(u"1"_s + crit.arg(name, u"Район"_s)).left(255)};
    }
    void testQuestionnaire()
    {
        QFETCH(QString, ini);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, questions);
        const Written w = write(Doc::Questionnaire, ini, {}, steps);
        QCOMPARE(flaggedOutline(w.package), expectedOutline(questions));
        QCOMPARE(packageFaults(w.package), QStringList());
        // Running text in size 11: no tables, no pictures.
        const Node& body = w.body;
        QVERIFY(body.all(u"w:tbl"_s, true).empty() && body.all(u"w:drawing"_s, true).empty());
        const std::vector<const Node*> sizes = body.all(u"w:sz"_s, true);
        QVERIFY(!sizes.empty());
        for (const Node* sz : sizes)
            QCOMPARE(sz->attr(u"w:val"_s), u"22"_s);
    }
};

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
