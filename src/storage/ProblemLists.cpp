#include "storage/ProblemLists.h"

#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString section(ProblemLists::Kind kind)
{
    return kind == ProblemLists::Kind::Alternatives ? ProblemKeys::AltSection.toString()
                                                    : ProblemKeys::QualSection.toString();
}

QString key(ProblemLists::Kind kind, int p)
{
    return kind == ProblemLists::Kind::Alternatives ? ProblemKeys::AltName(p) : ProblemKeys::QualName(p);
}

} // namespace

namespace ProblemLists {

QList<TLElem> Load(const IniDocument& doc, Kind kind)
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

QList<TLElem> Load(const IniFile& file, Kind kind) { return Load(*file.snapshot(), kind); }

void Save(IniFile& file, Kind kind, const QList<TLElem>& items)
{
    QList<IniDocument::Entry> entries;
    entries.reserve(items.size() + 1);
    for (int p = 0; p < items.size(); ++p)
        entries.append({key(kind, p), items[p].Name.left(ComUnit::MaxNameLength)});
    entries.append({ProblemKeys::CountKey.toString(), QString::number(items.size())});
    const QString s = section(kind);
    file.update([&](IniDocument& doc) { doc.replaceSection(s, entries); });
}

} // namespace ProblemLists
