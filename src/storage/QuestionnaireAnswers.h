#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

/// The answers of a printed questionnaire, typed back by number: answer a (1 to 17) of a question is the ratio
/// printed in its brackets, from [9/1] down to [1/9], and is stored as the comparison dialog stores that ratio.
namespace QuestionnaireAnswers {

inline constexpr int FirstAnswer = 1;
inline constexpr int EqualAnswer = 9; // [1/1]
inline constexpr int LastAnswer = 17;

/// The questionnaire is made for 2 to 9 criteria, as the step-by-step comparison is.
inline constexpr int MinCriteria = 2;
inline constexpr int MaxCriteria = 9;

/// The stored judgement value of answer a: 1..8 -> -(10 - a), 9 -> 1, 10..17 -> a - 8. Any other a is no
/// answer, which every reader takes as equal: 1.
int storedValue(int answer);

/// The answer number that shows a stored value: -9..-2 -> 1..8, 1 -> 9, 2..9 -> 10..17. Any other value (0, -1,
/// 10, ...) was never stored by an answer: it reads as not answered (and, like a missing key, as equal wherever
/// a judgement is used), so the person typing sees an empty cell rather than a number nobody gave.
std::optional<int> answerNumber(int storedValue);

/// One line of an answers file, or the text of an answer cell.
struct AnswerText
{
    enum class Kind { Empty, Answer, Refused };
    Kind kind = Kind::Empty;
    int answer = 0; // 1 .. 17 when kind is Answer
};

/// Blanks around the number do not count; nothing else is an empty line (not answered); a decimal number from
/// 1 to 17 (digits only) is that answer; anything else is refused.
AnswerText readAnswer(QStringView text);

/// The answers of one respondent read from a text file: one line per question in question order.
struct AnswersFile
{
    /// One per question; nothing for a question not answered. Empty when the file is refused.
    std::vector<std::optional<int>> answers;
    /// The line (from 1) that made the file refused, 0 when it is read.
    int errorLine = 0;
    /// Why the file is refused, in the words shown to the user; empty when it is read.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

/// Reads an answers file: UTF-8 text (a byte order mark at the start does not count), lines ending in LF or
/// CR LF, the last one with or without its end. An empty line, and every line missing at the end, is not
/// answered. Refused: a line that is neither empty nor 1 to 17, and more lines than questions.
AnswersFile readAnswersFile(const QByteArray& bytes, int questionCount);

/// The refusal of a problem whose criteria the questionnaire cannot ask about (outside 2 to 9), nothing when
/// the count is allowed.
std::optional<QString> criteriaCountRefusal(int critTotal);

} // namespace QuestionnaireAnswers
