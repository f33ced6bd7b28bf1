#include "storage/ProblemKeys.h"

#include "storage/IniDocument.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace ProblemKeys {

int ReadCount(const IniDocument& doc, QStringView section)
{
    return std::clamp(doc.readInteger(section, CountKey, 0), 0, MaxItemCount);
}

QString AltName(int i) { return u"A_"_s + QString::number(i); }
QString QualName(int k) { return u"Q_"_s + QString::number(k); }
QString QualPair(int i, int j) { return QualName(i) + u'*' + QualName(j); }
QString AltPair(int i, int j, int k) { return AltName(i) + u'*' + AltName(j) + u'&' + QualName(k); }

} // namespace ProblemKeys
