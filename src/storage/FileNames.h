#pragma once

#include <QString>
#include <QStringView>

/// What a name may hold when it becomes a file name: the problem and template
/// names the lists accept (which refuse a name that breaks a rule) and the names
/// the reports are saved under (made from the problem's name, which give the
/// character "_" for one that cannot stand).
namespace FileNames {

/// The longest file name the file systems we run on take, in bytes of the encoded name.
constexpr qsizetype MaxBytes = 255;

/// One of the characters no Windows file system takes in a name: \ / : * ? " < > |
bool isReserved(QChar c);

/// A control character of Unicode (category Cc): codes below 32, DEL and the
/// C1 controls U+0080 to U+009F.
bool isControl(QChar c);

/// A character a report's name cannot hold at position i of name: a reserved
/// character, a code below 32 or DEL, or half of a surrogate pair without its
/// other half. The C1 controls stay, as the system's file names take them.
bool isUnsafeAt(QStringView name, qsizetype i);

/// name without the blanks and dots at either end: leading dots would hide the
/// file, trailing dots and blanks are lost on Windows file systems.
QString trimBlanksAndDots(const QString& name);

} // namespace FileNames
