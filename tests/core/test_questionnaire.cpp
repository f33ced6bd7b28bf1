// The blank questionnaire, read back from the .docx: one question per step, each with the 17 answers of the
// paper form, kept on one page.
#include "report/Questionnaire.h"

#include "compare/CompareStepsBuild.h"
#include "report/TFormWord.h"
#include "storage/CodePage.h"
#include "storage/IniDocument.h"

#include "DocxReader.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace DocxReader;

namespace {

IniDocument problemOf(const QString& ini)
{
    return IniDocument::fromBytes(CodePage::encode(ini));
}

Package written(const IniDocument& problem, const QStringList& steps)
{
    TFormWord w({QString(), u"Задача"_s, TFormWord::Kind::Questionnaire, {}, {}});
    Questionnaire::write(w, problem, steps);
    return unzip(w.documentBytes(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))));
}

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

class TestQuestionnaire final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testDocument_data()
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
        QTest::newRow("one alternative: criteria only")
            << u"[Alt]\nA_0=Дом\nCount=1\n[Qual]\nQ_0=Цена\nQ_1=Район\nCount=2\n"_s << QStringList{}
            << QStringList{u"1"_s + crit.arg(u"Цена"_s, u"Район"_s)};
        QTest::newRow("missing names read ?")
            << u"[Alt]\nA_1=Дача\nCount=2\n[Qual]\nQ_0=Цена\nCount=2\n"_s << QStringList{}
            << QStringList{u"1"_s + crit.arg(u"Цена"_s, u"?"_s), u"2"_s + alt.arg(u"?"_s, u"Дача"_s, u"Цена"_s),
                           u"3"_s + alt.arg(u"?"_s, u"Дача"_s, u"?"_s)};
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
    void testDocument()
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
        QVERIFY(body.all(u"w:tbl"_s, true).empty() && body.all(u"w:drawing"_s, true).empty());
        const std::vector<const Node*> sizes = body.all(u"w:sz"_s, true);
        QVERIFY(!sizes.empty());
        for (const Node* sz : sizes)
            QCOMPARE(sz->attr(u"w:val"_s), u"22"_s);
    }

    void testAnswerLines()
    {
        QStringList importance, preferences;
        for (int n = 1; n <= Questionnaire::AnswerCount; ++n) {
            importance << Questionnaire::answerLine(Scale::PairKind::Criteria, n);
            preferences << Questionnaire::answerLine(Scale::PairKind::Alternatives, n);
        }
        QCOMPARE(importance, Importance);
        QCOMPARE(preferences, preference());
    }
};

QTEST_GUILESS_MAIN(TestQuestionnaire)
#include "test_questionnaire.moc"
