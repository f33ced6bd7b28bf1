#include "report/Questionnaire.h"

#include "report/TFormWord.h"
#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include <array>
#include <optional>

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

// Answer 1 is the left end of the comparison bar, answer 17 its right end.
int positionOf(int number)
{
    return number - 1 + Scale::MinPosition;
}

} // namespace

QString answerLine(Scale::PairKind kind, int number)
{
    if (number < 1 || number > AnswerCount)
        return {};
    const Answer& answer = Answers[size_t(number - 1)];
    const int position = positionOf(number);
    return QString::number(number) + u". "_s +
           (kind == Scale::PairKind::Criteria ? answer.importance : answer.preference).toString() + u" ["_s +
           Scale::aDigit(position) + u'/' + Scale::bDigit(position) + u']';
}

namespace {

// The two elements a step line compares, and the criterion of a pair of alternatives, as the file names them.
struct PairNames
{
    Scale::PairKind kind = Scale::PairKind::Criteria;
    QString a;
    QString b;
    QString criterion;
};

std::optional<PairNames> pairNames(const IniDocument& problem, const QString& stepLine)
{
    using namespace ProblemKeys;
    const auto part = [&stepLine](int p) { return ComUnit::stepLinePart(stepLine, p); };
    if (stepLine.startsWith(u'Q'))
        return PairNames{Scale::PairKind::Criteria, readName(problem, QualSection, part(ComUnit::StepParts::FirstItem)),
                         readName(problem, QualSection, part(ComUnit::StepParts::SecondCriterion)), QString()};
    if (stepLine.startsWith(u'A'))
        return PairNames{Scale::PairKind::Alternatives,
                         readName(problem, AltSection, part(ComUnit::StepParts::FirstAlternative)),
                         readName(problem, AltSection, part(ComUnit::StepParts::SecondAlternative)),
                         readName(problem, QualSection, part(ComUnit::StepParts::Criterion))};
    return std::nullopt;
}

} // namespace

QString questionLine(const IniDocument& problem, const QString& stepLine, int position)
{
    const std::optional<PairNames> names = pairNames(problem, stepLine);
    if (!names)
        return {};
    const QString number = QString::number(position + 1);
    if (names->kind == Scale::PairKind::Criteria)
        return number + u". Сравните критерии (A)"_s + names->a + u" и (B)"_s + names->b + u" по степени важности."_s;
    return number + u". Сравните альтернативы (A)"_s + names->a + u" и (B)"_s + names->b + u" по критерию "_s +
           names->criterion + u'.';
}

QString answerSentence(const IniDocument& problem, const QString& stepLine, int number)
{
    const std::optional<PairNames> names = pairNames(problem, stepLine);
    if (!names || number < 1 || number > AnswerCount)
        return {};
    return Scale::dialogSentence(names->kind, names->a, names->b, positionOf(number));
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
