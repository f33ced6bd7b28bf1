#include "storage/ProblemKeys.h"

#include "storage/IniDocument.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace ProblemKeys {

int ReadCount(const IniDocument& doc, QStringView section)
{
    return std::clamp(doc.readInteger(section, CountKey, 0), 0, MaxItemCount);
}

namespace {

// Keys are built for every judgement a screen or the evaluation reads: without
// the temporaries of QString::number and operator+.
void appendItem(QString& out, char16_t letter, int position)
{
    out.append(QChar(letter));
    out.append(u'_');
    char16_t digits[12];
    int n = 0;
    unsigned v = position < 0 ? 0u - unsigned(position) : unsigned(position);
    do {
        digits[n++] = char16_t(u'0' + v % 10);
        v /= 10;
    } while (v);
    if (position < 0)
        out.append(u'-');
    while (n)
        out.append(QChar(digits[--n]));
}

} // namespace

QString AltName(int i)
{
    QString k;
    k.reserve(8);
    appendItem(k, u'A', i);
    return k;
}

QString QualName(int k)
{
    QString key;
    key.reserve(8);
    appendItem(key, u'Q', k);
    return key;
}

QString QualPair(int i, int j)
{
    QString k;
    k.reserve(16);
    appendItem(k, u'Q', i);
    k.append(u'*');
    appendItem(k, u'Q', j);
    return k;
}

QString AltPair(int i, int j, int k)
{
    QString key;
    key.reserve(24);
    appendItem(key, u'A', i);
    key.append(u'*');
    appendItem(key, u'A', j);
    key.append(u'&');
    appendItem(key, u'Q', k);
    return key;
}

} // namespace ProblemKeys
