#pragma once

#include "compare/Scale.h"

#include <QString>
#include <QStringList>

class IniDocument;
class TFormWord;

/// The blank questionnaire: one numbered question per comparison step, each
/// followed by every answer the scale allows, for judging on paper.
///
/// The builder writes a new document on the writer and leaves it open; the
/// caller closes it or takes its bytes. It reads only names: the steps come in
/// as the caller holds them (the screen's rebuilt list, or the list the rebuild
/// would make, taken in memory).
namespace Questionnaire {

/// Answers per question, from "9/1" down to "1/9".
inline constexpr int AnswerCount = 17;

/// Answer number (1 to 17) of the importance (criteria) or preference
/// (alternatives) column, with its number and ratio, without a line end.
QString answerLine(Scale::PairKind kind, int number);

/// The question of step line number position (from 0): criteria pairs by
/// importance, alternatives pairs under their criterion; names the problem
/// lacks read "?". Empty for a line that is neither.
QString questionLine(const IniDocument& problem, const QString& stepLine, int position);

/// The sentence of answer number (1 to 17) to the question of stepLine, with the pair's names filled in as the
/// question names them, in the comparison dialog's words and with its ratio, so that a person typing answers
/// back can check them against the paper. Empty for a number outside 1 to 17 or a line that is no question.
QString answerSentence(const IniDocument& problem, const QString& stepLine, int number);

/// The title, then each step's question and its answers, in step order: the
/// question in bold, and on paper on one page with its answers.
void write(TFormWord& word, const IniDocument& problem, const QStringList& steps);

} // namespace Questionnaire
