#pragma once

#include <QLocale>
#include <QString>

struct AnalysisResult;
struct EigenvectorResult;
struct RobustnessResult;

/// How sure the choice is, in words: the robustness to answers one grade off and the eigenvector method beside
/// the program's own. Shared by the analysis window and the full report.
namespace HowSureText {

/// A share of the draws as a whole per cent: "87%". Only a share of exactly 1 reads 100%, only 0 reads 0%.
QString share(double value);

/// "«Дом за городом» остаётся лучшим выбором в 87% случаев, если любой ответ сдвинуть на одну ступень."
QString robustnessLine(const AnalysisResult& analysis, const RobustnessResult& robustness);

/// Why there is no robustness figure (fewer than two alternatives or no criteria).
QString noRobustnessLine();

/// "приоритеты по главному собственному вектору …": how the eigenvector method is computed, and that λ max is
/// defined as for the program's own priorities; the caller says first where they stand.
QString eigenvectorLegend();

/// Whether the eigenvector method names the same best choice, in one sentence (empty without alternatives or
/// criteria, where neither method has priorities to tell); names longer than nameLength
/// (when above 0) are cut with "…".
QString eigenvectorVerdict(const AnalysisResult& analysis, const EigenvectorResult& eigenvector, int nameLength = 0);

} // namespace HowSureText
