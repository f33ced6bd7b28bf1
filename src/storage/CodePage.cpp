#include "storage/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace {

// The 256 characters of the code page, as Qt's own decoder reads them; a
// character of text is encodable exactly when it is one of these.
struct Table
{
    std::array<char16_t, 256> chars{};
    std::array<quint64, 1024> encodable{}; // bit set over the Basic Multilingual Plane

    Table()
    {
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString c = decoder.decode(QByteArrayView(&byte, 1));
            chars[b] = c.size() == 1 ? c.at(0).unicode() : u'\uFFFD';
            if (c.size() == 1 && c.at(0).unicode() != 0xFFFD)
                encodable[chars[b] / 64] |= quint64(1) << (chars[b] % 64);
        }
    }
};

const Table& table()
{
    static const Table t;
    return t;
}

} // namespace

namespace CodePage {

bool canEncode(QChar c)
{
    const char16_t u = c.unicode();
    return (table().encodable[u / 64] >> (u % 64)) & 1;
}

bool canEncode(QStringView text)
{
    for (QChar c : text) {
        if (!canEncode(c))
            return false;
    }
    return true;
}

namespace {

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QByteArray encode(QStringView text)
{
    // Keys, numbers and most lines are plain ASCII, the same in both encodings.
    if (isAscii(text))
        return text.toLatin1();
    // Qt's encoder writes its own substitute (0x1A) for a character it cannot
    // encode; the file must show "?" instead, one per character (a surrogate
    // pair is one character).
    QString clean;
    if (!canEncode(text)) {
        clean.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (canEncode(c)) {
                clean.append(c);
            } else {
                clean.append(u'?');
                if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                    ++i;
            }
        }
        text = clean;
    }
    thread_local QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QString decode(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    thread_local QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

} // namespace CodePage
