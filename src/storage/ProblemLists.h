#pragma once

#include "storage/ComUnit.h"

#include <QList>

class IniDocument;
class IniFile;

/// Loading and saving the alternatives and criteria lists of a problem file.
namespace ProblemLists {

enum class Kind { Alternatives, Criteria }; // section "Alt" with "A_", "Qual" with "Q_"

/// Positions 0 to 10 whose name is present (and not "***НЕТ***"), in position
/// order, each with Num = its position; names cut to 255 characters.
QList<TLElem> Load(const IniDocument& doc, Kind kind);
QList<TLElem> Load(const IniFile& file, Kind kind);

/// Rewrites the list's section in one replacement: prefix + p = name for p = 0,
/// 1, ... in list order, then "Count". Throws OptivarError when the file cannot
/// be written.
void Save(IniFile& file, Kind kind, const QList<TLElem>& items);

} // namespace ProblemLists
