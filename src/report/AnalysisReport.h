#pragma once

#include <QLocale>

class IniDocument;
class ProblemData;
class TFormWord;
struct AnalysisResult;
struct EvaluationResult;

/// The section "Анализ решения" that closes the full report (ResultReports::writeFull): the weights, the local
/// priorities, the consistency of every matrix, the judgements to revisit and how far each weight may move before the
/// best choice changes. Written through the same writer operations as the rest of the report.
namespace AnalysisReport {

/// The section's title, the first paragraph it writes.
inline constexpr char16_t Title[] = u"Анализ решения";

/// The analysis of the problem as the file holds it now, from the evaluation the results screen holds. When
/// the counts in the file no longer match that evaluation (the file changed since), the problem is evaluated
/// anew, so the analysis never reads priorities of elements the file does not have.
AnalysisResult analysisOf(const IniDocument& problem, const EvaluationResult& shown);

/// Writes the section at the end of the open document.
void write(TFormWord& word, const AnalysisResult& analysis, const QLocale& locale = QLocale());

/// The participants' part of the section, at the end of the open document, when problem holds respondents
/// (nothing otherwise): each participant's best choice and overall priorities under the group's, the consensus
/// of every matrix and of the overall priorities, and the questions disagreed on most.
void writeParticipants(TFormWord& word, const IniDocument& problem, const QLocale& locale = QLocale());
/// Writes, at the end of the section, how sure the choice is: the robustness of the best choice to answers one
/// grade off, and the priorities by the principal eigenvector beside the program's own. problem is the problem
/// analysed.
void writeHowSure(TFormWord& word, const ProblemData& problem, const AnalysisResult& analysis,
                  const QLocale& locale = QLocale());

} // namespace AnalysisReport
