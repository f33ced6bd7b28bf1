#include "storage/FileNames.h"

namespace FileNames {

bool isReserved(QChar c)
{
    return QStringView(u"\\/:*?\"<>|").contains(c);
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

bool isUnsafeAt(QStringView name, qsizetype i)
{
    const QChar c = name.at(i);
    if (c.isHighSurrogate())
        return i + 1 == name.size() || !name.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !name.at(i - 1).isHighSurrogate();
    return c.unicode() < 0x20 || c.unicode() == 0x7F || isReserved(c);
}

QString trimBlanksAndDots(const QString& name)
{
    qsizetype b = 0, e = name.size();
    while (b < e && (name.at(b) == u' ' || name.at(b) == u'.'))
        ++b;
    while (e > b && (name.at(e - 1) == u' ' || name.at(e - 1) == u'.'))
        --e;
    return name.mid(b, e - b);
}

} // namespace FileNames
