#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

struct AnalysisMatrix;
struct AnalysisResult;

/// The decision analysis in words, shared by the analysis window and the full report. Numbers go through
/// NumberFormat, weights and priorities as per cent.
namespace AnalysisText {

/// A name in «»; «» within the name become „“, so that quotes of one kind never nest.
QString quoted(const QString& name);

/// "Критерии" for the criteria matrix, "Альтернативы по критерию «name»" for the others.
QString matrixTitle(const AnalysisResult& analysis, const AnalysisMatrix& matrix);

/// 100 x value as "%4.2f" and "%".
QString percent(double value, const QLocale& locale = QLocale());

/// λ max, CI, CR and the verdict of one matrix as the window and the report show them: λ and CI with three
/// decimals, CR in per cent, then "противоречивы" or "согласованы".
QStringList consistencyCells(const AnalysisMatrix& matrix, const QLocale& locale = QLocale());

/// What λ max, ИС and ОС mean, in one short paragraph.
QString consistencyLegend();

/// For a matrix of three with judgements to revisit, that changing any one of them is enough; otherwise empty.
QString revisitNote(const AnalysisResult& analysis, const AnalysisMatrix& matrix);

/// Where the best choice holds as the weight of criterion k moves, and who takes over beyond.
QString sensitivityLine(const AnalysisResult& analysis, int k, const QLocale& locale = QLocale());

/// The smallest change of one weight that changes the best choice, or why there is none.
QString smallestChangeLine(const AnalysisResult& analysis, const QLocale& locale = QLocale());

} // namespace AnalysisText
