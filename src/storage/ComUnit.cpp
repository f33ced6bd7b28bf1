#include "storage/ComUnit.h"

#include "storage/AtomicFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemKeys.h"

#include <cerrno>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace ComUnit {

IniFile ProblemIni;
QString DatDir;
QString ProblemFile;
QStringList CompareSteps;
qint32 CurrentStep = 0;
qint32 InterfaceMode = 0;
qint32 AltCount = 0;

void prepareSharedState(const QString& currentDir)
{
    // Paths are never cut: a cut path would name a folder outside DAT.
    DatDir = currentDir + u"/DAT"_s;
    ProblemFile = DatDir + u"/Задача.qzr"_s;
    CompareSteps.clear();
    CurrentStep = 0;
}

void bindProblemIni(const QString& path)
{
    ProblemIni = IniFile(path);
}

QString trimName(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() < 33)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() < 33)
        --end;
    return text.mid(begin, end - begin);
}

QString ReadQualName(int i)
{
    return trimName(
        ProblemIni.readString(ProblemKeys::QualSection, ProblemKeys::qualKey(i), QString()).left(MaxNameLength));
}

QString ReadAltName(int i)
{
    return trimName(
        ProblemIni.readString(ProblemKeys::AltSection, ProblemKeys::altKey(i), QString()).left(MaxNameLength));
}

int ReadQualM(int i, int j)
{
    return ProblemIni.readInteger(ProblemKeys::JudgementSection, ProblemKeys::qualPairKey(i, j), 1);
}

void WriteQualM(int i, int j, int v)
{
    ProblemIni.writeInteger(ProblemKeys::JudgementSection, ProblemKeys::qualPairKey(i, j), v);
}

int ReadAltM(int i, int j, int k)
{
    return ProblemIni.readInteger(ProblemKeys::JudgementSection, ProblemKeys::altPairKey(i, j, k), 1);
}

void WriteAltM(int i, int j, int k, int v)
{
    ProblemIni.writeInteger(ProblemKeys::JudgementSection, ProblemKeys::altPairKey(i, j, k), v);
}

QString stepLinePart(const QString& line, int kind)
{
    const qsizetype eq = line.indexOf(u'=');
    const QString key = eq < 0 ? line : line.left(eq);
    const qsizetype star = key.indexOf(u'*');
    const qsizetype amp = key.indexOf(u'&');
    switch (kind) {
    case StepParts::Key:
        return key;
    case StepParts::FirstItem:
    case StepParts::FirstAlternative:
        return star < 0 ? key : key.left(star);
    case StepParts::SecondCriterion:
        return star < 0 ? QString() : key.mid(star + 1);
    case StepParts::Criterion:
        return amp < 0 ? QString() : key.mid(amp + 1);
    case StepParts::SecondAlternative:
        if (star < 0)
            return QString();
        return amp < star ? key.mid(star + 1) : key.mid(star + 1, amp - star - 1);
    default:
        return QString();
    }
}

QString StepPartAt(int kind, int index)
{
    if (index < 0 || index >= CompareSteps.size())
        return QString();
    return stepLinePart(CompareSteps.at(index), kind);
}

QString StepPart(int kind)
{
    return StepPartAt(kind, CurrentStep);
}

QByteArray readDataFile(const QString& source, qint64* lastModifiedNs)
{
    const AtomicFile::Content c = AtomicFile::read(source, IniFile::MaxFileSize);
    switch (c.status) {
    case AtomicFile::ReadStatus::Ok:
        break;
    case AtomicFile::ReadStatus::Missing:
        throw OptivarError::fileError(ENOENT);
    case AtomicFile::ReadStatus::NotRegular:
        throw OptivarError::fileError(S_ISDIR(c.info.st_mode) ? EISDIR : EINVAL);
    case AtomicFile::ReadStatus::TooLarge:
        throw OptivarError::fileError(EFBIG);
    case AtomicFile::ReadStatus::Failed:
        throw OptivarError::fileError(c.error);
    }
    if (lastModifiedNs)
        *lastModifiedNs = qint64(c.info.st_mtim.tv_sec) * 1000000000 + c.info.st_mtim.tv_nsec;
    return c.bytes;
}

void CopyDataFile(const QString& source, const QString& target, bool replace)
{
    qint64 mtime = 0;
    const QByteArray bytes = readDataFile(source, &mtime);
    try {
        AtomicFile::write(target, bytes, replace ? AtomicFile::Mode::Replace : AtomicFile::Mode::NoReplace, mtime);
    } catch (const OptivarError& e) {
        if (e.code() == OptivarError::Code::NameExists)
            throw;
        throw OptivarError(OptivarError::Code::CopyFailed, u"Ошибка копирования файла."_s);
    }
}

} // namespace ComUnit
