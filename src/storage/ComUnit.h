#pragma once

#include "storage/IniFile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

/// An item of every list grid: its 0-based number (shown as Num + 1) and its name.
struct TLElem
{
    qint32 Num = 0;
    QString Name;
    TLElem(qint32 num, const QString& name) : Num(num), Name(name) {}
};

/// The state the screens share and the operations through which they reach the
/// open problem file.
namespace ComUnit {

/// Names, in every list and in the file, hold at most this many characters.
constexpr int MaxNameLength = 255;
/// The list screens read positions 0 to 10 of a list.
constexpr int ListPositions = 11;
/// The name a list screen reads for an empty position.
inline constexpr QStringView NoEntry = u"***НЕТ***";

extern IniFile ProblemIni;       // the open problem file
extern QString DatDir;           // the data folder, current folder + "/DAT"
extern QString ProblemFile;      // path of the current problem file
extern QStringList CompareSteps; // one line per pair: key "=" value
extern qint32 CurrentStep;       // index of the step on screen
extern qint32 InterfaceMode;     // 0 step by step, 1 compact
extern qint32 AltCount;          // number of alternatives as last saved

/// Sets DatDir, ProblemFile, CompareSteps and CurrentStep as at start-up, from the current folder.
void prepareSharedState(const QString& currentDir);
/// Binds ProblemIni to a file; touches nothing on disk.
void bindProblemIni(const QString& path);

/// text without the characters below code 33 at either end (QString::trimmed()
/// keeps most control characters).
QString trimName(const QString& text);

QString ReadQualName(int i);
QString ReadAltName(int i);
int ReadQualM(int i, int j);
void WriteQualM(int i, int j, int v);
int ReadAltM(int i, int j, int k);
void WriteAltM(int i, int j, int k, int v);

/// The parts of a step line "key=value" that StepPart and StepPartAt return, by kind.
namespace StepParts {
constexpr int Key = 0;               // the text before the first "=": the pair's key
constexpr int FirstItem = 1;         // before the first "*": Q_i of a criteria pair
constexpr int SecondCriterion = 2;   // between the first "*" and the first "=": Q_j of a criteria pair
constexpr int Criterion = 3;         // between the first "&" and the first "=": Q_k of an alternatives pair
constexpr int FirstAlternative = 4;  // before the first "*" (as FirstItem): A_i of an alternatives pair
constexpr int SecondAlternative = 5; // between the first "*" and the first "&": A_j of an alternatives pair
} // namespace StepParts

/// A part of line CurrentStep of CompareSteps (kinds 0 to 5; others give "").
QString StepPart(int kind);
/// A part of line index of CompareSteps ("" for an index outside the list).
QString StepPartAt(int kind, int index);
/// A part of one step line.
QString stepLinePart(const QString& line, int kind);

/// The whole content of a file (and its last-write time); OptivarError "File
/// not found" or "I/O error N" when it cannot be read, is not a regular file
/// (a FIFO or device is never read) or is larger than IniFile::MaxFileSize.
QByteArray readDataFile(const QString& source, qint64* lastModifiedNs = nullptr);

/// Copies a file with its content and last-write time. The target is replaced
/// atomically; a copy that fails part-way leaves no partial target and throws
/// OptivarError "Ошибка копирования файла.". With replace false an existing
/// target is never replaced (OptivarError NameExists).
void CopyDataFile(const QString& source, const QString& target, bool replace = true);

} // namespace ComUnit
