#include "report/Questionnaire.h"

#include "report/TFormWord.h"
#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace Questionnaire {

namespace {

constexpr int FontSize = 11;

struct Answer
{
    QStringView importance;
    QStringView preference;
};

// The wording differs from the dialog's sentences: the paper form puts commas
// where the dialog has none, except in the tenth preference answer.
constexpr std::array<Answer, AnswerCount> Answers{{
    {u"(A) очень намного важнее, чем (B)", u"(A) очень намного лучше, чем (B)"},
    {u"(A) очень намного или значительно важнее, чем (B)", u"(A) очень намного или значительно лучше, чем (B)"},
    {u"(A) значительно важнее, чем (B)", u"(A) значительно лучше, чем (B)"},
    {u"(A) значительно или существенно важнее, чем (B)", u"(A) значительно или существенно лучше, чем (B)"},
    {u"(A) существенно важнее, чем (B)", u"(A) существенно лучше, чем (B)"},
    {u"(A) существенно или немного важнее, чем (B)", u"(A) существенно или немного лучше, чем (B)"},
    {u"(A) немного важнее, чем (B)", u"(A) немного лучше, чем (B)"},
    {u"(A) немного важнее, чем (B), или они одинаково важны",
     u"(A) немного лучше, чем (B), или они одинаково предпочтительны"},
    {u"(A) и (B) одинаково важны", u"(A) и (B) одинаково предпочтительны"},
    {u"(B) немного важнее, чем (A), или они одинаково важны",
     u"(B) немного лучше, чем (A) или они одинаково предпочтительны"},
    {u"(B) немного важнее, чем (A)", u"(B) немного лучше, чем (A)"},
    {u"(B) существенно или немного важнее, чем (A)", u"(B) существенно или немного лучше, чем (A)"},
    {u"(B) существенно важнее, чем (A)", u"(B) существенно лучше, чем (A)"},
    {u"(B) значительно или существенно важнее, чем (A)", u"(B) значительно или существенно лучше, чем (A)"},
    {u"(B) значительно важнее, чем (A)", u"(B) значительно лучше, чем (A)"},
    {u"(B) очень намного или значительно важнее, чем (A)", u"(B) очень намного или значительно лучше, чем (A)"},
    {u"(B) очень намного важнее, чем (A)", u"(B) очень намного лучше, чем (A)"},
}};

} // namespace

QString answerLine(Scale::PairKind kind, int number)
{
    if (number < 1 || number > AnswerCount)
        return {};
    const Answer& answer = Answers[size_t(number - 1)];
    // Answer 1 is the left end of the comparison bar, answer 17 its right end.
    const int position = number - 1 + Scale::MinPosition;
    return QString::number(number) + u". "_s +
           (kind == Scale::PairKind::Criteria ? answer.importance : answer.preference).toString() + u" ["_s +
           Scale::aDigit(position) + u'/' + Scale::bDigit(position) + u']';
}

QString questionLine(const IniDocument& problem, const QString& stepLine, int position)
{
    using namespace ProblemKeys;
    const QString number = QString::number(position + 1);
    if (stepLine.startsWith(u'Q')) {
        const QString a =
            readName(problem, QualSection, ComUnit::stepLinePart(stepLine, ComUnit::StepParts::FirstItem));
        const QString b =
            readName(problem, QualSection, ComUnit::stepLinePart(stepLine, ComUnit::StepParts::SecondCriterion));
        return number + u". Сравните критерии (A)"_s + a + u" и (B)"_s + b + u" по степени важности."_s;
    }
    if (stepLine.startsWith(u'A')) {
        const QString a =
            readName(problem, AltSection, ComUnit::stepLinePart(stepLine, ComUnit::StepParts::FirstAlternative));
        const QString b =
            readName(problem, AltSection, ComUnit::stepLinePart(stepLine, ComUnit::StepParts::SecondAlternative));
        const QString c =
            readName(problem, QualSection, ComUnit::stepLinePart(stepLine, ComUnit::StepParts::Criterion));
        return number + u". Сравните альтернативы (A)"_s + a + u" и (B)"_s + b + u" по критерию "_s + c + u'.';
    }
    return {};
}

void write(TFormWord& word, const IniDocument& problem, const QStringList& steps)
{
    word.NewDocument(true);
    word.SetFont(QString(), FontSize, 0, 0, 0);
    word.writeLine(u"Анкета для принятия управленческого решения."_s, TFormWord::endLine());
    word.WriteText(TFormWord::endLine());
    for (int p = 0; p < steps.size(); ++p) {
        const QString question = questionLine(problem, steps.at(p), p);
        if (question.isEmpty())
            continue; // keeps its number: the numbers are the positions in the step list
        const Scale::PairKind kind =
            steps.at(p).startsWith(u'Q') ? Scale::PairKind::Criteria : Scale::PairKind::Alternatives;
        // A question is printed on one page with its answers: every paragraph from the
        // question to the sixteenth answer keeps with the next, none breaks inside.
        // The question line alone is bold; as every line it is cut, never its end.
        word.setParagraphFormat(true, true);
        word.SetFont(QString(), 0, 1, 0, 0);
        word.WriteText(question);
        word.SetFont(QString(), 0, 0, 0, 0);
        word.WriteText(TFormWord::endLine());
        for (int a = 1; a < AnswerCount; ++a)
            word.writeLine(answerLine(kind, a));
        word.setParagraphFormat(false, true);
        word.writeLine(answerLine(kind, AnswerCount), u"\n");
        // The empty line that parts it from the next question is free to break.
        word.setParagraphFormat(false, false);
        word.WriteText(u"\r"_s);
    }
}

} // namespace Questionnaire
