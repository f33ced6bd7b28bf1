#include "storage/AtomicFile.h"

#include "storage/OptivarError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Closes a descriptor and, unless released, removes the temporary file.
class TempFile
{
public:
    TempFile(int fd, QByteArray path)
        : m_fd(fd)
        , m_path(std::move(path))
    {
    }
    ~TempFile()
    {
        closeFd();
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return m_fd; }
    const QByteArray& path() const { return m_path; }
    bool closeFd()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }
    void release() { m_path.clear(); }

private:
    int m_fd;
    QByteArray m_path;
};

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

namespace AtomicFile {

void write(const QString& path, const QByteArray& bytes, Mode mode, std::optional<qint64> lastModifiedNs)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const QByteArray name = QFile::encodeName(QFileInfo(path).fileName());

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && (mode == Mode::NoReplace))
        throw OptivarError(OptivarError::Code::NameExists, u"Unable to write to "_s + path);
    if (exists && !S_ISREG(old.st_mode))
        throw OptivarError::writeFailed(path);

    QByteArray tmpl = folder + "/." + name.left(100) + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw OptivarError::writeFailed(path);
    TempFile temp(fd, tmpl);

    mode_t perms = 0;
    if (exists) {
        perms = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        perms = 0666 & ~mask;
    }
    if (::fchmod(temp.fd(), perms) != 0 || !writeAll(temp.fd(), bytes.constData(), bytes.size())
        || ::fsync(temp.fd()) != 0)
        throw OptivarError::writeFailed(path);
    if (lastModifiedNs) {
        const timespec t{time_t(*lastModifiedNs / 1000000000), long(*lastModifiedNs % 1000000000)};
        const timespec times[2] = {t, t};
        if (::futimens(temp.fd(), times) != 0)
            throw OptivarError::writeFailed(path);
    }
    if (!temp.closeFd())
        throw OptivarError::writeFailed(path);

    if (mode == Mode::Replace) {
        if (::rename(temp.path().constData(), target.constData()) != 0)
            throw OptivarError::writeFailed(path);
    } else {
        // link() fails when the target exists, so a file made in between by
        // someone else is never replaced.
        bool linked = ::link(temp.path().constData(), target.constData()) == 0;
        if (!linked && (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS)) {
            // A file system without hard links (FAT, some network and FUSE
            // folders): the rename that refuses an existing target instead.
            linked = ::renameat2(AT_FDCWD, temp.path().constData(), AT_FDCWD, target.constData(),
                                 RENAME_NOREPLACE) == 0;
        }
        if (!linked) {
            if (errno == EEXIST)
                throw OptivarError(OptivarError::Code::NameExists, u"Unable to write to "_s + path);
            throw OptivarError::writeFailed(path);
        }
        ::unlink(temp.path().constData()); // after a rename there is nothing left to unlink
    }
    // The folder is not flushed after the rename: should the machine stop before
    // the rename reaches the disk, the old file is still whole, which is all
    // that is promised; a second flush would double the time of every store.
    temp.release();
}

} // namespace AtomicFile
