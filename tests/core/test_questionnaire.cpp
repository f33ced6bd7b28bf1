#include "report/Questionnaire.h"

#include "compare/CompareStepsBuild.h"
#include "report/TFormWord.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemLists.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace DocxReader;

namespace {

const QDateTime Stamp(QDate(2024, 3, 5), QTime(14, 7, 9));

IniDocument problemOf(const QString& ini)
{
    return IniDocument::fromBytes(CodePage::encode(ini));
}

Package written(const IniDocument& problem, const QStringList& steps)
{
    TFormWord w({QString(), u"Задача"_s, TFormWord::Kind::Questionnaire, {}, {}});
    Questionnaire::write(w, problem, steps);
    return unzip(w.documentBytes(Stamp));
}

// The answers as the paper form lists them, transcribed apart from the program's own table.
const QStringList Importance{
    u"1. (A) очень намного важнее, чем (B) [9/1]"_s,
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
    u"17. (B) очень намного важнее, чем (A) [1/9]"_s,
};
const QStringList Preference{
    u"1. (A) очень намного лучше, чем (B) [9/1]"_s,
    u"2. (A) очень намного или значительно лучше, чем (B) [8/1]"_s,
    u"3. (A) значительно лучше, чем (B) [7/1]"_s,
    u"4. (A) значительно или существенно лучше, чем (B) [6/1]"_s,
    u"5. (A) существенно лучше, чем (B) [5/1]"_s,
    u"6. (A) существенно или немного лучше, чем (B) [4/1]"_s,
    u"7. (A) немного лучше, чем (B) [3/1]"_s,
    u"8. (A) немного лучше, чем (B), или они одинаково предпочтительны [2/1]"_s,
    u"9. (A) и (B) одинаково предпочтительны [1/1]"_s,
    u"10. (B) немного лучше, чем (A) или они одинаково предпочтительны [1/2]"_s,
    u"11. (B) немного лучше, чем (A) [1/3]"_s,
    u"12. (B) существенно или немного лучше, чем (A) [1/4]"_s,
    u"13. (B) существенно лучше, чем (A) [1/5]"_s,
    u"14. (B) значительно или существенно лучше, чем (A) [1/6]"_s,
    u"15. (B) значительно лучше, чем (A) [1/7]"_s,
    u"16. (B) очень намного или значительно лучше, чем (A) [1/8]"_s,
    u"17. (B) очень намного лучше, чем (A) [1/9]"_s,
};

// The title and its two empty lines, then per question: the question in bold, an
// empty line, the answers, all kept on one page up to the last answer, and an
// empty line free to break; the document ends in an empty paragraph.
QStringList expectedOutline(const QStringList& questions)
{
    QStringList out{u"Анкета для принятия управленческого решения.|"_s, u"|"_s, u"|"_s, u"|"_s};
    for (const QString& q : questions) {
        out << q + u"|bNL"_s << u"|NL"_s;
        for (const QString& answer : q.contains(u"критерии"_s) ? Importance : Preference)
            out << answer + (answer.startsWith(u"17. "_s) ? u"|L"_s : u"|NL"_s);
        out << u"|"_s;
    }
    return out << u"|"_s;
}

const QString ThreeByTwo = u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n"
                           "[Qual]\nQ_0=Цена\nQ_1=Район\nQ_2=Этаж\nCount=3\n"_s;

} // namespace

class TestQuestionnaire final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testDocument_data();
    void testDocument();
    void testAnswerLines();
    void testLongQuestionKeepsItsLineEnd();
    void testRebuiltStepsOfTheScreen();
};

void TestQuestionnaire::testDocument_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QStringList>("steps"); // empty: the list the rebuild would make
    QTest::addColumn<QStringList>("questions");

    QTest::newRow("three criteria, two alternatives: one numbering")
        << ThreeByTwo << QStringList{}
        << QStringList{u"1. Сравните критерии (A)Цена и (B)Район по степени важности."_s,
                       u"2. Сравните критерии (A)Цена и (B)Этаж по степени важности."_s,
                       u"3. Сравните критерии (A)Район и (B)Этаж по степени важности."_s,
                       u"4. Сравните альтернативы (A)Дом и (B)Дача по критерию Цена."_s,
                       u"5. Сравните альтернативы (A)Дом и (B)Дача по критерию Район."_s,
                       u"6. Сравните альтернативы (A)Дом и (B)Дача по критерию Этаж."_s};
    QTest::newRow("one alternative: criteria only")
        << u"[Alt]\nA_0=Дом\nCount=1\n[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n"_s << QStringList{}
        << QStringList{u"1. Сравните критерии (A)Цена и (B)Район по степени важности."_s};
    QTest::newRow("missing names read ?") << u"[Alt]\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nCount=2\n"_s << QStringList{}
                                          << QStringList{u"1. Сравните критерии (A)Цена и (B)? по степени важности."_s,
                                                         u"2. Сравните альтернативы (A)? и (B)Дача по критерию Цена."_s,
                                                         u"3. Сравните альтернативы (A)? и (B)Дача по критерию ?."_s};
    QTest::newRow("the steps as given, values ignored")
        << ThreeByTwo << QStringList{u"A_1*A_0&Q_2=-7"_s, u"Q_2*Q_0=5"_s}
        << QStringList{u"1. Сравните альтернативы (A)Дача и (B)Дом по критерию Этаж."_s,
                       u"2. Сравните критерии (A)Этаж и (B)Цена по степени важности."_s};
    QTest::newRow("a line of neither kind keeps its number")
        << ThreeByTwo << QStringList{u"Q_0*Q_1=1"_s, u"X"_s, u"A_0*A_1&Q_0=1"_s}
        << QStringList{u"1. Сравните критерии (A)Цена и (B)Район по степени важности."_s,
                       u"3. Сравните альтернативы (A)Дом и (B)Дача по критерию Цена."_s};
    QTest::newRow("no steps") << u"[Qual]\nQ_0=Цена\nCount=1\n"_s << QStringList{} << QStringList{};
}

void TestQuestionnaire::testDocument()
{
    QFETCH(QString, ini);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, questions);

    const IniDocument problem = problemOf(ini);
    const Package p = written(problem, steps.isEmpty() ? CompareStepsBuild::stepLines(problem) : steps);
    QCOMPARE(flaggedOutline(p), expectedOutline(questions));
    QCOMPARE(packageFaults(p), QStringList());

    // Running text in size 11: no tables, no pictures.
    const Node body = p.body();
    QVERIFY(body.all(u"w:tbl"_s, true).empty());
    QVERIFY(body.all(u"w:drawing"_s, true).empty());
    const std::vector<const Node*> sizes = body.all(u"w:sz"_s, true);
    QVERIFY(!sizes.empty());
    for (const Node* sz : sizes)
        QCOMPARE(sz->attr(u"w:val"_s), u"22"_s);
}

void TestQuestionnaire::testAnswerLines()
{
    QStringList importance, preference;
    for (int n = 1; n <= Questionnaire::AnswerCount; ++n) {
        importance << Questionnaire::answerLine(Scale::PairKind::Criteria, n);
        preference << Questionnaire::answerLine(Scale::PairKind::Alternatives, n);
    }
    QCOMPARE(importance, Importance);
    QCOMPARE(preference, Preference);
}

// Names are cut to 255 characters and so is the question, but not its line end:
// the answers still begin after an empty line.
void TestQuestionnaire::testLongQuestionKeepsItsLineEnd()
{
    const QString name(300, u'Ж');
    const IniDocument problem = problemOf(u"[Qual]\nQ_0="_s + name + u"\nQ_1=Район\nCount=2\n"_s);
    const QString start = u"1. Сравните критерии (A)"_s;
    QCOMPARE(flaggedOutline(written(problem, CompareStepsBuild::stepLines(problem))),
             expectedOutline({start + name.left(255 - start.size())}));
}

// On the screen the list is saved and the judgements rebuilt before the
// questionnaire is written from the rebuilt steps.
void TestQuestionnaire::testRebuiltStepsOfTheScreen()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Задача.qzr"_s);
    TestSupport::writeBytes(path, CodePage::encode(u"[Alt]\nA_0=Дом\nA_1=Дача\nCount=2\n"
                                                   "[QualM]\nQ_0*Q_1=3\nQ_5*Q_6=2\n"_s));
    IniFile file(path);
    ProblemLists::save(file, ProblemLists::Kind::Criteria, {TLElem(0, u"Цена"_s), TLElem(1, u"Район"_s)});
    const QStringList steps = CompareStepsBuild::rebuildJudgements(file);

    QCOMPARE(flaggedOutline(written(*file.snapshot(), steps)),
             expectedOutline({u"1. Сравните критерии (A)Цена и (B)Район по степени важности."_s,
                              u"2. Сравните альтернативы (A)Дом и (B)Дача по критерию Цена."_s,
                              u"3. Сравните альтернативы (A)Дом и (B)Дача по критерию Район."_s}));
}

QTEST_GUILESS_MAIN(TestQuestionnaire)
#include "test_questionnaire.moc"
