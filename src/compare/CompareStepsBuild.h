#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class IniDocument;
class IniFile;

/// The list of comparison steps of a problem and the rebuild of its judgements.
namespace CompareStepsBuild {

/// The step lines of the problem as it stands: every criteria pair (i, then j
/// ascending), then every alternatives pair grouped by criterion; each line is
/// the pair's key, "=" and its stored value (1 where it has none or is not a
/// number). Counts are read from "Count" (default 0).
QStringList stepLines(const IniDocument& doc);

/// Rebuilds section "QualM" so that it holds exactly one key per step line, in
/// step order, and returns the lines. One replacement of the file. Throws
/// OptivarError when the file cannot be written.
QStringList rebuildJudgements(IniFile& file);

/// Longest caption a row of the step list shows; longer ones are cut.
inline constexpr int MaxCaptionLength = 255;

/// The caption of a step line in the step list: "A и B" for a criteria pair,
/// "A и B [criterion]." for an alternatives pair, cut to 255 characters.
QString stepCaption(const IniDocument& doc, const QString& line);

/// The matrix and the pair a step line names.
struct StepPair
{
    int criterion = -1; // -1: the criteria matrix
    int first = -1;     // -1: the line names no pair
    int second = -1;
};

/// The pair of a step line "Q_i*Q_j=…" or "A_i*A_j&Q_k=…"; first -1 for anything else.
StepPair stepPair(const QString& line);

/// The captions of all lines, in order.
QStringList stepCaptions(const IniDocument& doc, const QStringList& lines);

} // namespace CompareStepsBuild
