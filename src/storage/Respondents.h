#pragma once

#include "storage/IniDocument.h"
#include "storage/ProblemLists.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

class IniFile;

/// One person whose questionnaire answers a problem file keeps beside the user's own.
struct Respondent
{
    /// k of its section "Resp_k".
    int number = 0;
    QString name;
    /// The stored value of every comparison of the problem's present lists, in step order (question p + 1 of
    /// the questionnaire is step p): -9..-2, 1 or 2..9; NoAnswer where the section has no such key or a value
    /// off the scale, which every use of a judgement reads as equal.
    std::vector<int> answers;

    static constexpr int NoAnswer = 0;

    /// The answer number (1 to 17) of step p, nothing when it is not answered.
    std::optional<int> answerNumber(int step) const;
};

/// The respondents of a problem file. Section "Resp" holds "Count"; respondent k = 0 .. Count - 1 is section
/// "Resp_k" with "Name" and one key per answered comparison, named as in "QualM", with the stored value. A
/// section that is missing is no respondent; names may repeat, and the first section of a name is the one a
/// name finds. Earlier versions of the program ignore these sections.
namespace Respondents {

inline constexpr QStringView Section = u"Resp";
inline constexpr QStringView NameKey = u"Name";
/// "Count" of "Resp" is read as the lists' Count is (not a decimal integer, or negative: 0) and bounded to this.
constexpr int MaxCount = 1000;

/// The comparison keys answered, in the order written: a pair's key and its stored value.
using AnswerList = QList<std::pair<QString, int>>;

/// "Resp_" + k
QString sectionName(int k);
/// "Count" of "Resp", within 0 .. MaxCount.
int readCount(const IniDocument& doc);

/// The keys of the comparisons of n criteria and m alternatives in step order: every criteria pair (i, then j
/// ascending), then every alternatives pair grouped by criterion.
QStringList stepKeys(int critTotal, int altTotal);

/// Every respondent, in section order, with the answers to the comparisons of the counts in "Qual" and "Alt"
/// (keys matched in either case, as the readers of "QualM" match them); names cut to 255 characters, a missing
/// name read as "?".
QList<Respondent> load(const IniDocument& doc);
QList<Respondent> load(const IniFile& file);

/// The index in respondents of the first one named exactly name, -1 when there is none.
int indexOfName(const QList<Respondent>& respondents, const QString& name);

/// Why name cannot be a respondent's name, in the words shown to the user; nothing when it can: not empty (nor
/// blanks only), at most 255 characters, every character held by code page 1251 and none a control character
/// (the file would not give it back).
std::optional<QString> nameRefusal(const QString& name);

/// The answers of the questionnaire's questions as stored entries: question p is step line p (key "=" value);
/// answer numbers 1..17 become their stored values, unanswered questions are left out.
AnswerList answerList(const QStringList& stepLines, const std::vector<std::optional<int>>& answerNumbers);

/// Stores a respondent: the first section named name gets answers in place of its own and keeps its number; a
/// new name becomes section Resp_Count and Count grows by one. Returns the respondent's number, or -1 (and
/// leaves doc as it was) when the name is new and MaxCount respondents are stored already. name is taken as
/// given (see nameRefusal), cut to 255 characters.
int store(IniDocument& doc, const QString& name, const AnswerList& answers);
/// The same in one replacement of the file; a refusal changes nothing, so the file is not replaced. Throws
/// OptivarError when the file cannot be written.
int store(IniFile& file, const QString& name, const AnswerList& answers);

/// Deletes respondent number: the sections above it move down by one and Count shrinks by one. A number outside
/// 0 .. Count - 1 changes nothing.
void remove(IniDocument& doc, int number);
/// The same in one replacement of the file. Throws OptivarError when the file cannot be written.
void remove(IniFile& file, int number);

/// After the items of one list moved as map says (an alternative or criterion deleted), every respondent's keys
/// follow their items exactly as "QualM"'s do (ProblemLists::remapJudgements); Name stays.
void remapKeys(IniDocument& doc, ProblemLists::Kind kind, const ProblemLists::PositionMap& map);

} // namespace Respondents
