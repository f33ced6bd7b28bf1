#pragma once

#include <QLocale>
#include <QString>

#include <utility>

class IniDocument;
class TFormWord;
struct EvaluationResult;

/// The short and the full result report of a problem, written through the
/// document writer. The builders compute nothing: the priorities and ratios
/// come from the evaluation the results screen holds, the names, counts and
/// judgements from the problem file as read at the moment of the export.
///
/// Each builder opens a new document on the writer and writes it to the end,
/// leaving it open: the caller closes it (saved in "Отчеты" and opened) or
/// takes its bytes. Failures of the writer (a chart picture that is missing or
/// not an image) propagate as they are.
namespace ResultReports {

/// Width and height of the chart picture in the document, in centimetres.
inline constexpr int ChartSideCm = 15;

/// The lists, the priorities, the best choice, the chart and the warnings.
void writeShort(TFormWord& word, const IniDocument& problem, const EvaluationResult& result, const QString& chartPath,
                const QLocale& locale = QLocale());

/// The full report as the program exports it: the short report's content
/// under its own title, with the criteria matrix and one alternatives matrix
/// per criterion after the lists, each title kept on the page of its table;
/// then the section "Анализ решения" (AnalysisReport) of the problem as the
/// file holds it now, from the same evaluation. The results screen and
/// optivar-eval both write it through this.
void writeFull(TFormWord& word, const IniDocument& problem, const EvaluationResult& result, const QString& chartPath,
               const QLocale& locale = QLocale());

/// The texts of cell (i, j) and of its mirror (j, i), i < j, for the stored
/// judgement of the pair: how strongly the row element dominates the column
/// element, as the evaluation's matrix has it ("3/1" and "1/3" for -3; "1/1"
/// for everything read as equal).
std::pair<QString, QString> matrixCellTexts(int storedValue);

} // namespace ResultReports
