#include "storage/ComUnit.h"

#include "storage/AtomicFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemKeys.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace ComUnit {

IniFile ProblemIni;
QString DatDir;
QString ProblemFile;
QStringList CompareSteps;
qint32 CurrentStep = 0;
qint32 InterfaceMode = 0;
qint32 AltCount = 0;

void PrepareSharedState(const QString& currentDir)
{
    DatDir = (currentDir + u"/DAT"_s).left(MaxNameLength);
    ProblemFile = (DatDir + u"/Задача.qzr"_s).left(MaxNameLength);
    CompareSteps.clear();
    CurrentStep = 0;
}

void BindProblemIni(const QString& path) { ProblemIni = IniFile(path); }

namespace {

// Names come back without leading and trailing characters below code 33
// (QString::trimmed() keeps most control characters).
QString trimControls(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() < 33)
        ++b;
    while (e > b && s.at(e - 1).unicode() < 33)
        --e;
    return s.mid(b, e - b);
}

} // namespace

QString ReadQualName(int i)
{
    return trimControls(ProblemIni.readString(ProblemKeys::QualSection, ProblemKeys::QualName(i), QString())
                            .left(MaxNameLength));
}

QString ReadAltName(int i)
{
    return trimControls(
        ProblemIni.readString(ProblemKeys::AltSection, ProblemKeys::AltName(i), QString()).left(MaxNameLength));
}

int ReadQualM(int i, int j)
{
    return ProblemIni.readInteger(ProblemKeys::JudgementSection, ProblemKeys::QualPair(i, j), 1);
}

void WriteQualM(int i, int j, int v)
{
    ProblemIni.writeInteger(ProblemKeys::JudgementSection, ProblemKeys::QualPair(i, j), v);
}

int ReadAltM(int i, int j, int k)
{
    return ProblemIni.readInteger(ProblemKeys::JudgementSection, ProblemKeys::AltPair(i, j, k), 1);
}

void WriteAltM(int i, int j, int k, int v)
{
    ProblemIni.writeInteger(ProblemKeys::JudgementSection, ProblemKeys::AltPair(i, j, k), v);
}

QString StepLinePart(const QString& line, int kind)
{
    const qsizetype eq = line.indexOf(u'=');
    const QString key = eq < 0 ? line : line.left(eq);
    const qsizetype star = key.indexOf(u'*');
    const qsizetype amp = key.indexOf(u'&');
    switch (kind) {
    case 0:
        return key;
    case 1:
    case 4:
        return star < 0 ? key : key.left(star);
    case 2:
        return star < 0 ? QString() : key.mid(star + 1);
    case 3:
        return amp < 0 ? QString() : key.mid(amp + 1);
    case 5:
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
    return StepLinePart(CompareSteps.at(index), kind);
}

QString StepPart(int kind) { return StepPartAt(kind, CurrentStep); }

void CopyDataFile(const QString& source, const QString& target, bool replace)
{
    const QByteArray name = QFile::encodeName(source);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            throw OptivarError(OptivarError::Code::NotFound, u"File not found"_s);
        throw OptivarError(OptivarError::Code::IoError, u"I/O error %1"_s.arg(errno));
    }
    struct stat st {};
    QByteArray bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    int error = ok ? 0 : (errno ? errno : EISDIR);
    char block[32768];
    while (ok) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            error = errno;
        }
        if (n <= 0)
            break;
        bytes.append(block, n);
    }
    ::close(fd);
    if (!ok)
        throw OptivarError(OptivarError::Code::IoError, u"I/O error %1"_s.arg(error));

    const qint64 mtime = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    try {
        AtomicFile::write(target, bytes, replace ? AtomicFile::Mode::Replace : AtomicFile::Mode::NoReplace, mtime);
    } catch (const OptivarError& e) {
        if (e.code() == OptivarError::Code::NameExists)
            throw;
        throw OptivarError(OptivarError::Code::CopyFailed, u"Ошибка копирования файла."_s);
    }
}

} // namespace ComUnit
