#include "storage/ProblemLists.h"

#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"
#include "storage/Respondents.h"

#include <optional>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

QString section(ProblemLists::Kind kind)
{
    return kind == ProblemLists::Kind::Alternatives ? ProblemKeys::AltSection.toString()
                                                    : ProblemKeys::QualSection.toString();
}

QString key(ProblemLists::Kind kind, int p)
{
    return kind == ProblemLists::Kind::Alternatives ? ProblemKeys::altKey(p) : ProblemKeys::qualKey(p);
}

QList<IniDocument::Entry> listEntries(ProblemLists::Kind kind, const QList<TLElem>& items)
{
    QList<IniDocument::Entry> entries;
    entries.reserve(items.size() + 1);
    for (int p = 0; p < items.size(); ++p)
        entries.append({key(kind, p), items[p].Name.left(ComUnit::MaxNameLength)});
    entries.append({ProblemKeys::CountKey.toString(), QString::number(items.size())});
    return entries;
}

// A key of a judgement, Q_i*Q_j or A_i*A_j&Q_k with i < j, as the readers look
// it up: letters in either case, positions in plain decimal. Other keys are never
// read as judgements.
struct PairKey
{
    bool alternatives = false;
    int i = 0, j = 0, k = 0;
};

bool readItem(QStringView& rest, char16_t letter, int& position)
{
    if (rest.size() < 3 || rest[0].toUpper() != QChar(letter) || rest[1] != u'_')
        return false;
    qsizetype end = 2;
    while (end < rest.size() && rest[end] >= u'0' && rest[end] <= u'9')
        ++end;
    const qsizetype digits = end - 2;
    if (digits == 0 || digits > 9 || (digits > 1 && rest[2] == u'0'))
        return false;
    position = rest.sliced(2, digits).toInt();
    rest = rest.sliced(end);
    return true;
}

std::optional<PairKey> parsePairKey(QStringView key)
{
    PairKey pair;
    pair.alternatives = !key.isEmpty() && key[0].toUpper() == u'A';
    const char16_t letter = pair.alternatives ? u'A' : u'Q';
    QStringView rest = key;
    if (!readItem(rest, letter, pair.i) || !rest.startsWith(u'*'))
        return std::nullopt;
    rest = rest.sliced(1);
    if (!readItem(rest, letter, pair.j))
        return std::nullopt;
    if (pair.alternatives) {
        if (!rest.startsWith(u'&'))
            return std::nullopt;
        rest = rest.sliced(1);
        if (!readItem(rest, u'Q', pair.k))
            return std::nullopt;
    }
    if (!rest.isEmpty() || pair.i >= pair.j)
        return std::nullopt;
    return pair;
}

// The positions of a pair key that belong to the list of kind.
bool involves(const PairKey& pair, ProblemLists::Kind kind, int p)
{
    if (kind == ProblemLists::Kind::Criteria)
        return pair.alternatives ? pair.k == p : pair.i == p || pair.j == p;
    return pair.alternatives && (pair.i == p || pair.j == p);
}

int movedTo(const ProblemLists::PositionMap& map, int p)
{
    return p < map.size() ? map[p] : -1;
}

// The same judgement seen from the other element: -9..-2 and 2..9 change sides;
// equal, and every value read as equal, stays as it is.
QString turnedRound(const QString& value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    return ok && v >= -9 && v <= 9 && (v >= 2 || v <= -2) ? QString::number(-v) : value;
}

QList<IniDocument::Entry> sectionEntries(const IniDocument& doc, QStringView name)
{
    QList<IniDocument::Entry> entries;
    for (const QString& k : doc.keys(name))
        entries.append({k, doc.value(name, k).value_or(QString())});
    return entries;
}

} // namespace

namespace ProblemLists {

QList<TLElem> load(const IniDocument& doc, Kind kind)
{
    const QString noEntry = ComUnit::NoEntry.toString();
    const QString s = section(kind);
    QList<TLElem> items;
    for (int p = 0; p < ComUnit::ListPositions; ++p) {
        const QString name = doc.readString(s, key(kind, p), noEntry);
        if (name != noEntry)
            items.append(TLElem(p, name.left(ComUnit::MaxNameLength)));
    }
    return items;
}

QList<TLElem> load(const IniFile& file, Kind kind)
{
    return load(*file.snapshot(), kind);
}

void save(IniFile& file, Kind kind, const QList<TLElem>& items)
{
    const QList<IniDocument::Entry> entries = listEntries(kind, items);
    const QString s = section(kind);
    file.update([&](IniDocument& doc) { doc.replaceSection(s, entries); });
}

void save(IniFile& file, Kind kind, const QList<TLElem>& items, const QList<int>& origins)
{
    PositionMap map(ComUnit::ListPositions, -1);
    for (int i = 0; i < items.size() && i < origins.size(); ++i) {
        if (origins[i] >= 0 && origins[i] < map.size())
            map[origins[i]] = i;
    }
    const QList<IniDocument::Entry> entries = listEntries(kind, items);
    const QString s = section(kind);
    file.update([&](IniDocument& doc) {
        bool moved = false;
        for (const TLElem& stored : load(doc, kind))
            moved = moved || map[stored.Num] != stored.Num;
        const QStringView judgements = ProblemKeys::JudgementSection;
        if (moved && doc.hasSection(judgements))
            doc.replaceSection(judgements, remapJudgements(sectionEntries(doc, judgements), kind, map));
        // The respondents' answers are keyed as "QualM" is, so they follow their items in the same replacement.
        if (moved)
            Respondents::remapKeys(doc, kind, map);
        doc.replaceSection(s, entries);
    });
}

QList<IniDocument::Entry> remapJudgements(const QList<IniDocument::Entry>& entries, Kind kind, const PositionMap& map)
{
    QList<IniDocument::Entry> out;
    out.reserve(entries.size());
    for (const IniDocument::Entry& entry : entries) {
        const std::optional<PairKey> from = parsePairKey(entry.first);
        if (!from) {
            out.append(entry);
            continue;
        }
        PairKey to = *from;
        if (kind == Kind::Criteria && to.alternatives) {
            to.k = movedTo(map, from->k);
        } else if (kind == Kind::Criteria || to.alternatives) { // both elements are items of this list
            to.i = movedTo(map, from->i);
            to.j = movedTo(map, from->j);
        }
        if (to.i < 0 || to.j < 0 || to.k < 0)
            continue;
        QString value = entry.second;
        if (to.i > to.j) {
            std::swap(to.i, to.j);
            value = turnedRound(value);
        }
        out.append({to.alternatives ? ProblemKeys::altPairKey(to.i, to.j, to.k) : ProblemKeys::qualPairKey(to.i, to.j),
                    value});
    }
    return out;
}

bool hasJudgements(const IniDocument& doc, Kind kind, int p)
{
    for (const QString& k : doc.keys(ProblemKeys::JudgementSection)) {
        const std::optional<PairKey> pair = parsePairKey(k);
        if (pair && involves(*pair, kind, p))
            return true;
    }
    return false;
}

} // namespace ProblemLists
