#pragma once

#include <QStringList>

class IniDocument;
class IniFile;

/// The list of comparison steps of a problem and the rebuild of its judgements.
namespace CompareStepsBuild {

/// The step lines of the problem as it stands: every criteria pair (i, then j
/// ascending), then every alternatives pair grouped by criterion; each line is
/// the pair's key, "=" and its stored value (1 where it has none or is not a
/// number). Counts are read from "Count" (default 0).
QStringList StepLines(const IniDocument& doc);

/// Rebuilds section "QualM" so that it holds exactly one key per step line, in
/// step order, and returns the lines. One replacement of the file. Throws
/// OptivarError when the file cannot be written.
QStringList RebuildJudgements(IniFile& file);

} // namespace CompareStepsBuild
