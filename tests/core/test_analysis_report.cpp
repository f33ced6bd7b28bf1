// The section "Анализ решения" at the end of the full report, read back from the .docx: its paragraphs and
// tables on problems worked out by hand, and the analysis it is given when the file has changed since.
#include "report/AnalysisReport.h"

#include "evaluate/AnalysisResult.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "report/ResultReports.h"
#include "report/TFormWord.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QLocale Russian(QLocale::Russian, QLocale::Russia);
const QString Title = QString::fromUtf16(AnalysisReport::Title);

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

IniDocument problemOf(const QString& ini)
{
    return IniDocument::fromBytes(CodePage::encode(ini));
}

// The full report of the problem as the results screen would have it, with the analysis or without.
DocxReader::Package write(const QString& ini, bool withAnalysis = true)
{
    QTemporaryDir dir;
    const IniDocument problem = problemOf(ini);
    const EvaluationResult result = Evaluation::EvaluateProblem(ProblemData::load(problem), Russian);
    const AnalysisResult analysis = AnalysisReport::analysisOf(problem, result);
    const QString chart = dir.filePath(u"graf.bmp"_s);
    TestSupport::writeBytes(chart, QByteArray("BM") + QByteArray(60, ' '));
    TFormWord word({dir.path(), u"Задача"_s, TFormWord::Kind::FullReport, {}, {}});
    ResultReports::writeFull(word, problem, result, chart, Russian, withAnalysis ? &analysis : nullptr);
    return DocxReader::unzip(word.documentBytes(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))));
}

// The blocks of the body from the section's title on, empty paragraphs left out.
QStringList section(const DocxReader::Package& package)
{
    const QStringList all = DocxReader::bodyOutline(package);
    const qsizetype at = all.indexOf(Title);
    return at < 0 ? QStringList{u"no section"_s} : all.mid(at).filter(QRegularExpression(u"."_s));
}

} // namespace

class TestAnalysisReport final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testSectionOfAConsistentProblem()
    {
        const DocxReader::Package package = write(Road);
        QCOMPARE(DocxReader::packageFaults(package), QStringList());
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
        const QStringList written = section(package);
        const QStringList lines = expected.split(u'\n');
        for (qsizetype i = 0; i < qMax(written.size(), lines.size()); ++i)
            QCOMPARE(written.value(i), lines.value(i));
    }

    void testJudgementsToRevisit()
    {
        const QStringList written = section(write(Road + Reversed));
        const qsizetype consistency = written.indexOf(u"Согласованность ответов:"_s);
        const QStringList rows = written.value(consistency + 1).split(u';');
        QCOMPARE(rows.size(), 5);
        QVERIFY2(rows[2].startsWith(u"Альтернативы по критерию «Цена»|"_s) && rows[2].endsWith(u"|противоречивы"_s),
                 qPrintable(rows[2]));
        QVERIFY2(rows[1].endsWith(u"|согласованы"_s), qPrintable(rows[1]));

        QCOMPARE(written.value(consistency + 2), u"Ответы, которые стоит пересмотреть:"_s);
        const QString table = written.value(consistency + 3);
        QVERIFY2(table.startsWith(u'[') && table.endsWith(u']'), qPrintable(table));
        const QStringList lines = table.mid(1, table.size() - 2).split(u';');
        QCOMPARE(lines.value(0), u"Сравнения|Ваш ответ|С остальными ответами согласуется"_s);
        // Only the inconsistent matrix has judgements to revisit, at most three, the reversed one first: as
        // given Назад is eight times better, the other judgements ask for Налево eight times better.
        QVERIFY(lines.size() >= 2 && lines.size() <= 4);
        const QStringList first = lines.value(1).split(u'|');
        QCOMPARE(first.size(), 3);
        QCOMPARE(first[0], u"Альтернативы по критерию «Цена»"_s);
        QVERIFY2(first[1].startsWith(u"Назад"_s) && first[1].endsWith(u" [8/1]"_s), qPrintable(first[1]));
        QVERIFY2(first[2].startsWith(u"Налево"_s) && first[2].endsWith(u" [8/1]"_s), qPrintable(first[2]));
        for (qsizetype i = 2; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(u"Альтернативы по критерию «Цена»|"_s), qPrintable(lines[i]));

        // In a matrix of three, changing one judgement is enough; the report says so under the table.
        const QStringList cycle = section(
            write(u"[Qual]\nQ_0=Цена\nQ_1=Район\nQ_2=Срок\nCount=3\n[QualM]\nQ_0*Q_1=-9\nQ_1*Q_2=-9\nQ_0*Q_2=9\n"_s));
        const qsizetype under = cycle.indexOf(u"Ответы, которые стоит пересмотреть:"_s) + 2;
        QVERIFY2(cycle.value(under).startsWith(u"Критерии: из трёх ответов"_s), qPrintable(cycle.value(under)));
    }

    // Each title of the section, and the section's own title, stays on the page of its table; the section
    // comes after the last warning, and everything before it is the full report as it was.
    void testPlaceAndKeeping()
    {
        const DocxReader::Package package = write(Road + Reversed);
        QStringList expected{Title + u"|N"_s, u"|N"_s};
        for (const QString& title :
             {u"Веса критериев:"_s, u"Локальные приоритеты альтернатив по критериям:"_s, u"Согласованность ответов:"_s,
              u"Ответы, которые стоит пересмотреть:"_s, u"Чувствительность лучшего выбора к весам критериев:"_s})
            expected << (expected.size() > 2 ? QStringList{u"|"_s, u"|"_s} : QStringList()) << title + u"|N"_s
                     << u"|N"_s << u"[table]"_s;
        const QStringList lines = DocxReader::flaggedOutline(package);
        const QStringList written = lines.mid(lines.indexOf(expected.first()));
        QCOMPARE(written.mid(0, expected.size()), expected);
        QCOMPARE(written.filter(u"|N"_s).size(), 12); // and none after the last table
        const DocxReader::Node body = package.body();
        QVERIFY(body.all(u"w:keepLines"_s, true).empty());

        const QStringList plain = DocxReader::bodyOutline(write(Road + Reversed, false));
        const QStringList with = DocxReader::bodyOutline(package);
        QVERIFY(!plain.contains(Title) && plain.contains(u"Внимание!"_s));
        // The report without the section ends in the empty paragraph the title is written into.
        QCOMPARE(plain.last(), QString());
        QCOMPARE(with.mid(0, with.indexOf(Title)), plain.mid(0, plain.size() - 1));
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

    // Sound, explained answers where there is little to analyse: nothing missing, nothing that is not a number.
    void testSmallProblems_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("explanation"); // the last paragraph of the section
        QTest::newRow("one criterion")
            << u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nCount=1\n[QualM]\nA_0*A_1&Q_0=3\n"_s
            << u"Критерий единственный: его вес нельзя изменить, и лучший выбор не изменится."_s;
        QTest::newRow("one alternative")
            << u"[Alt]\nA_0=Дом\nCount=1\n[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n[QualM]\nQ_0*Q_1=5\n"_s
            << u"Альтернатива единственная: лучший выбор не может измениться."_s;
        QTest::newRow("equal priorities")
            << u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n"_s
            << u"Никакое изменение веса одного критерия не меняет лучший выбор."_s;
        QTest::newRow("no criteria") << u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n"_s << u"Критериев нет: менять нечего."_s;
        QTest::newRow("nothing at all") << QString() << u"Альтернатив нет, выбирать не из чего."_s;
    }
    void testSmallProblems()
    {
        QFETCH(QString, ini);
        QFETCH(QString, explanation);
        const DocxReader::Package package = write(ini);
        QCOMPARE(DocxReader::packageFaults(package), QStringList());
        const QStringList written = section(package);
        QCOMPARE(written.value(0), Title);
        QCOMPARE(written.last(), explanation);
        for (const QString& block : written)
            QVERIFY2(!block.contains(u"nan"_s, Qt::CaseInsensitive) && !block.contains(u"inf"_s), qPrintable(block));
    }
};

QTEST_GUILESS_MAIN(TestAnalysisReport)
#include "test_analysis_report.moc"
