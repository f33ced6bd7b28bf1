#include "storage/ProblemKeys.h"

#include "storage/ComUnit.h"
#include "storage/IniDocument.h"

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

namespace {

// Keys are built for every judgement a screen or the evaluation reads, so they
// are spelt into one buffer and made a string once.
class KeyBuilder
{
public:
    KeyBuilder& item(char16_t letter, int position)
    {
        put(letter);
        put(u'_');
        char16_t digits[12];
        int n = 0;
        unsigned v = position < 0 ? 0u - unsigned(position) : unsigned(position);
        do {
            digits[n++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v);
        if (position < 0)
            put(u'-');
        while (n)
            put(digits[--n]);
        return *this;
    }
    KeyBuilder& put(char16_t c)
    {
        m_buffer[m_size++] = c;
        return *this;
    }
    QString text() const { return QString(reinterpret_cast<const QChar*>(m_buffer), m_size); }

private:
    char16_t m_buffer[64]; // three items of at most 14 characters and two separators
    int m_size = 0;
};

} // namespace

QString altKey(int i)
{
    return KeyBuilder().item(u'A', i).text();
}
QString qualKey(int k)
{
    return KeyBuilder().item(u'Q', k).text();
}
QString qualPairKey(int i, int j)
{
    return KeyBuilder().item(u'Q', i).put(u'*').item(u'Q', j).text();
}
QString altPairKey(int i, int j, int k)
{
    return KeyBuilder().item(u'A', i).put(u'*').item(u'A', j).put(u'&').item(u'Q', k).text();
}

} // namespace ProblemKeys
