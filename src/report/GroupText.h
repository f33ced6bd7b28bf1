#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

struct GroupResult;
class IniDocument;
class ProblemData;

/// The joint decision in words, shared by the analysis window's page "Участники" and the full report: tables as
/// rows of cells, priorities and shares in per cent.
namespace GroupText {

/// The headings of the participants' table: "Участник", "Лучший выбор", then each alternative by name.
QStringList participantColumns(const ProblemData& problem);
/// The group ("Группа") first, then each participant in the order of the result: name, best choice, and the
/// overall priority of every alternative.
QList<QStringList> participantRows(const ProblemData& problem, const GroupResult& group,
                                   const QLocale& locale = QLocale());

/// "Что сравнивается", "Согласие", "Оценка".
QStringList consensusColumns();
/// The criteria weights, the alternatives under each criterion, and the overall priorities: the share of
/// consensus in per cent and its word, "—" where there is no figure.
QList<QStringList> consensusRows(const ProblemData& problem, const GroupResult& group,
                                 const QLocale& locale = QLocale());

/// "Вопрос анкеты", "Ответы участников".
QStringList disagreementColumns();
/// The comparisons disagreed on most: the question as the questionnaire prints it, and each participant's
/// answer number (no answer counts as 9, equal); after ten participants, how many more there are.
QList<QStringList> disagreementRows(const IniDocument& problem, const GroupResult& group);

/// One line on how the group's result is made, for the top of the page and of the report's part.
QString introLine(const GroupResult& group);

} // namespace GroupText
