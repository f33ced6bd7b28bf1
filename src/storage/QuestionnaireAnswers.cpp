#include "storage/QuestionnaireAnswers.h"

#include <QStringList>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace QuestionnaireAnswers {

int storedValue(int answer)
{
    if (answer >= FirstAnswer && answer < EqualAnswer)
        return -(10 - answer);
    if (answer > EqualAnswer && answer <= LastAnswer)
        return answer - 8;
    return 1;
}

std::optional<int> answerNumber(int storedValue)
{
    if (storedValue >= -9 && storedValue <= -2)
        return 10 + storedValue;
    if (storedValue == 1)
        return EqualAnswer;
    if (storedValue >= 2 && storedValue <= 9)
        return storedValue + 8;
    return std::nullopt;
}

AnswerText readAnswer(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return {};
    // Digits only: no sign, no decimal point. A number too long for toInt reads as 0, which is refused too.
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return {AnswerText::Kind::Refused, 0};
    }
    const int a = t.toInt();
    if (a < FirstAnswer || a > LastAnswer)
        return {AnswerText::Kind::Refused, 0};
    return {AnswerText::Kind::Answer, a};
}

AnswersFile readAnswersFile(const QByteArray& bytes, int questionCount)
{
    AnswersFile result;
    const int questions = std::max(questionCount, 0);
    // fromUtf8 drops a byte order mark; a CR before the LF goes with the blanks around the number.
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    // A line end closes its line; it does not open one more.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const int count = int(std::min<qsizetype>(lines.size(), std::numeric_limits<int>::max()));
    if (count > questions) {
        result.errorLine = questions + 1;
        result.error = u"Строк в файле ответов: %1, а вопросов в анкете: %2."_s.arg(count).arg(questions);
        return result;
    }
    result.answers.assign(std::size_t(questions), std::nullopt);
    for (int p = 0; p < count; ++p) {
        const QStringView line = lines[p];
        const AnswerText answer = readAnswer(line);
        if (answer.kind == AnswerText::Kind::Refused) {
            result.answers.clear();
            result.errorLine = p + 1;
            result.error =
                u"Строка %1 файла ответов: «%2» — ответ должен быть числом от 1 до 17 или пустой строкой."_s.arg(p + 1)
                    .arg(line.trimmed().left(40).toString());
            return result;
        }
        if (answer.kind == AnswerText::Kind::Answer)
            result.answers[std::size_t(p)] = answer.answer;
    }
    return result;
}

std::optional<QString> criteriaCountRefusal(int critTotal)
{
    if (critTotal >= MinCriteria && critTotal <= MaxCriteria)
        return std::nullopt;
    return u"Количество критериев должно быть в интервале от 2 до 9."_s;
}

} // namespace QuestionnaireAnswers
