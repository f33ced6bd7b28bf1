#include "storage/ProblemDirectory.h"

#include "storage/AtomicFile.h"
#include "storage/ComUnit.h"
#include "storage/FileNames.h"
#include "storage/OptivarError.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace ProblemDirectory {

QString extension(Kind kind)
{
    return kind == Kind::Problems ? u".qzr"_s : u".qzp"_s;
}

QString filePath(const QString& datDir, const QString& name, Kind kind)
{
    return datDir + u'/' + name + extension(kind);
}

void ensureFolder(const QString& datDir)
{
    if (QFileInfo(datDir).isDir())
        return;
    if (!QDir().mkpath(datDir))
        throw OptivarError(OptivarError::Code::IoError, u"Не удалось создать папку "_s + datDir);
}

QStringList names(const QString& datDir, Kind kind)
{
    ensureFolder(datDir);
    AtomicFile::removeLeftovers(datDir);
    const QString ext = extension(kind);
    const QStringList files =
        QDir(datDir).entryList({u"*"_s + ext}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    QStringList result;
    result.reserve(files.size());
    for (const QString& file : files) {
        // The wildcard also matches case-blind on some systems: keep exact endings only.
        if (file.endsWith(ext, Qt::CaseSensitive))
            result.append(file.chopped(ext.size()));
    }
    QCollator collator;
    std::sort(result.begin(), result.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return result;
}

QString trimmedName(const QString& text)
{
    return ComUnit::trimName(text).left(ComUnit::MaxNameLength);
}

QString nameProblem(const QString& name, Kind kind)
{
    if (trimmedName(name).isEmpty())
        return u"Имя не может быть пустым."_s;
    if (name == u"." || name == u"..")
        return u"Имя не может состоять из одних точек."_s;
    if (std::any_of(name.begin(), name.end(), FileNames::isReserved))
        return u"Имя не может содержать символы \\ / : * ? \" < > |."_s;
    if (std::any_of(name.begin(), name.end(), FileNames::isControl))
        return u"Имя не может содержать управляющие символы."_s;
    if (name.back().isSpace() || name.back() == u'.')
        return u"Имя не может оканчиваться пробелом или точкой."_s;
    if (name.size() > ComUnit::MaxNameLength || QFile::encodeName(name + extension(kind)).size() > FileNames::MaxBytes)
        return u"Имя слишком длинное для имени файла."_s;
    return QString();
}

void checkName(const QString& name, Kind kind)
{
    const QString why = nameProblem(name, kind);
    if (!why.isEmpty())
        throw OptivarError(OptivarError::Code::BadName, why);
}

QString existsMessage(const QString& name, Kind kind)
{
    if (kind == Kind::Problems)
        return u"Задача с именем \""_s + name + u"\" уже существует."_s;
    return u"Шаблон с именем \""_s + name + u"\" уже существует."_s;
}

bool exists(const QString& datDir, const QString& name, Kind kind)
{
    return QFileInfo::exists(filePath(datDir, name, kind)) || QFileInfo(filePath(datDir, name, kind)).isSymLink();
}

QString freeName(const QString& datDir, const QString& base, Kind kind)
{
    QString name = base;
    for (int n = 2; exists(datDir, name, kind); ++n)
        name = base + u" ("_s + QString::number(n) + u')';
    return name;
}

void create(const QString& datDir, const QString& name, Kind kind)
{
    checkName(name, kind);
    ensureFolder(datDir);
    const QByteArray path = QFile::encodeName(filePath(datDir, name, kind));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST)
            throw OptivarError(OptivarError::Code::NameExists, existsMessage(name, kind));
        throw OptivarError::fileError(errno);
    }
    ::close(fd);
}

void rename(const QString& datDir, const QString& oldName, const QString& newName, Kind kind)
{
    checkName(newName, kind);
    const QByteArray from = QFile::encodeName(filePath(datDir, oldName, kind));
    const QByteArray to = QFile::encodeName(filePath(datDir, newName, kind));
    // A plain rename would silently replace another problem of that name.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return;
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // A file system without the no-replace rename: a hard link fails on an existing target too.
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return;
        }
        error = errno;
    }
    if (error == EEXIST)
        throw OptivarError(OptivarError::Code::NameExists, existsMessage(newName, kind));
    throw OptivarError::fileError(error);
}

void remove(const QString& datDir, const QString& name, Kind kind)
{
    const QByteArray path = QFile::encodeName(filePath(datDir, name, kind));
    if (::unlink(path.constData()) != 0)
        throw OptivarError::fileError(errno);
}

} // namespace ProblemDirectory
