#pragma once

#include "storage/ComUnit.h"
#include "storage/IniDocument.h"

#include <QList>

class IniFile;

/// Loading and saving the alternatives and criteria lists of a problem file.
namespace ProblemLists {

enum class Kind { Alternatives, Criteria }; // section "Alt" with "A_", "Qual" with "Q_"

/// A problem goes on to its comparisons, and the questionnaire is made, with
/// MinCount to MaxCount alternatives and criteria.
constexpr int MinCount = 2;
constexpr int MaxCount = 9;
/// The compact comparison screen holds at most this many of each.
constexpr int MaxCompactCount = 5;

/// Positions 0 to 10 whose name is present (and not "***НЕТ***"), in position
/// order, each with Num = its position; names cut to 255 characters.
QList<TLElem> load(const IniDocument& doc, Kind kind);
QList<TLElem> load(const IniFile& file, Kind kind);

/// Rewrites the list's section in one replacement: prefix + p = name for p = 0,
/// 1, ... in list order, then "Count"; "QualM" stays as it is. Throws
/// OptivarError when the file cannot be written.
void save(IniFile& file, Kind kind, const QList<TLElem>& items);

/// The same for the list of a list screen, whose items may have left the
/// positions they were loaded from: origins[i] is the position in the file item i was loaded
/// from (-1 for an item added since). When an item of the file no longer stands
/// at its position (one was deleted), the judgements in "QualM" follow their
/// items (remapJudgements), and so do the respondents' answers
/// (Respondents::remapKeys); list and judgements reach the disk as one
/// replacement. Throws OptivarError when the file cannot be written.
void save(IniFile& file, Kind kind, const QList<TLElem>& items, const QList<int>& origins);

/// Where the items of one list went: entry p is the new position of the item
/// that stood at position p, or -1 when it is gone.
using PositionMap = QList<int>;

/// The entries of a section keyed by pairs ("QualM", or any section keyed the
/// same way) after the items of one list moved as map says. A pair key that
/// names a position of that list is renumbered: criteria pairs Q_i*Q_j and the
/// criterion k of A_i*A_j&Q_k for the criteria, the alternatives i and j of
/// A_i*A_j&Q_k for the alternatives. A key naming a position that is gone, or
/// one beyond the map, is dropped. Two items that changed order are written
/// lower position first, with the preference turned round (v and -v). Keys of
/// the other list and every other key stay as they are, in their order.
QList<IniDocument::Entry> remapJudgements(const QList<IniDocument::Entry>& entries, Kind kind, const PositionMap& map);

/// Whether section "QualM" holds any key that names position p of the list.
bool hasJudgements(const IniDocument& doc, Kind kind, int p);

} // namespace ProblemLists
