#include "storage/ProblemKeys.h"

#include "storage/ComUnit.h"
#include "storage/IniDocument.h"

#include <QStringBuilder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace ProblemKeys {

int readCount(const IniDocument& doc, QStringView section)
{
    return std::clamp(doc.readInteger(section, CountKey, 0), 0, MaxItemCount);
}

QString readName(const IniDocument& doc, QStringView section, QStringView key)
{
    return doc.readString(section, key, UnknownName.toString()).left(ComUnit::MaxNameLength);
}

// Every judgement a screen or the evaluation reads is looked up by one of these
// keys: each is built in one piece.
QString altKey(int i)
{
    return u"A_"_s % QString::number(i);
}
QString qualKey(int k)
{
    return u"Q_"_s % QString::number(k);
}
QString qualPairKey(int i, int j)
{
    return u"Q_"_s % QString::number(i) % u"*Q_"_s % QString::number(j);
}
QString altPairKey(int i, int j, int k)
{
    return u"A_"_s % QString::number(i) % u"*A_"_s % QString::number(j) % u"&Q_"_s % QString::number(k);
}

} // namespace ProblemKeys
