#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/// Code page 1251, the encoding of every problem and template file.
namespace CodePage {

/// The bytes of text in code page 1251; a character the code page cannot hold becomes "?".
QByteArray encode(QStringView text);

/// The text of bytes in code page 1251.
QString decode(QByteArrayView bytes);

/// True when code page 1251 holds the character (a surrogate half never is).
bool canEncode(QChar c);

/// True when code page 1251 holds every character of text.
bool canEncode(QStringView text);

} // namespace CodePage
