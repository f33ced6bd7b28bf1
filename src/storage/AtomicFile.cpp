#include "storage/AtomicFile.h"

#include "storage/OptivarError.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The hidden files of a store start with "." and the target's name; a long name
// is cut to this many bytes (at a character boundary, its extension kept), so
// that the temporary file's name stays far below the 255 bytes of a file name.
constexpr qsizetype MaxStemBytes = 100;
// A store retries when the lock file it locked was removed meanwhile; more
// retries than this mean a file system whose inode numbers cannot be trusted.
constexpr int MaxLockAttempts = 1000;
// A read retries an open that a store's lease refuses (see SpareFile) this many
// times, a millisecond apart: a store holds its lease for well under that.
constexpr int MaxBusyOpens = 50;

QByteArray hiddenStem(const QByteArray& name)
{
    if (name.size() <= MaxStemBytes)
        return '.' + name;
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray ext = dot > 0 && name.size() - dot <= 8 ? name.mid(dot) : QByteArray();
    qsizetype cut = MaxStemBytes - ext.size();
    while (cut > 0 && (uchar(name.at(cut)) & 0xC0) == 0x80) // not inside a UTF-8 character
        --cut;
    return '.' + name.left(cut) + ext;
}

QByteArray hiddenStemFor(const QString& path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.absolutePath()) + '/' + hiddenStem(QFile::encodeName(info.fileName()));
}

// A name hiddenStem() gives a problem (.qzr) or template (.qzp), followed by the
// six characters of mkstemp(), by ".lock" or by ".spare". Problem and template
// files themselves never match: they end in their extension.
bool isLeftoverName(const QByteArray& name)
{
    qsizetype tail = 0;
    if (name.endsWith(".lock")) {
        tail = 5;
    } else if (name.endsWith(".spare")) {
        tail = 6;
    } else if (name.size() > 7 && name.at(name.size() - 7) == '.') {
        tail = 7;
        for (qsizetype i = name.size() - 6; i < name.size(); ++i) {
            const char c = name.at(i);
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return false;
        }
    } else {
        return false;
    }
    const QByteArray stem = name.chopped(tail);
    return stem.size() >= 5 && stem.startsWith('.') && (stem.endsWith(".qzr") || stem.endsWith(".qzp"));
}

int lockWait(int fd, int operation)
{
    int r = 0;
    while ((r = ::flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return r;
}

// True when the file of the locked descriptor fd is still in its folder. Whoever
// removes a leftover holds its lock while doing so, so a file that still has a
// name once the lock is granted keeps it while the lock is held; one removed
// before the lock was granted has none left (a link count of 0).
bool stillNamed(int fd, struct stat& st)
{
    return ::fstat(fd, &st) == 0 && st.st_nlink > 0;
}

// The temporary file of one replacement. It stays locked from its creation until
// it is renamed or removed, so that no other process takes it for a leftover;
// its descriptor stays open until then.
class TempFile
{
public:
    TempFile() = default;
    ~TempFile()
    {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool create(const QByteArray& stem)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            QByteArray path = stem + ".XXXXXX";
            const int fd = ::mkostemp(path.data(), O_CLOEXEC);
            if (fd < 0)
                return false;
            // Without locks on this file system nothing removes it either.
            struct stat st = {};
            if (lockWait(fd, LOCK_EX) != 0 || stillNamed(fd, st)) {
                m_fd = fd;
                m_path = path;
                return true;
            }
            // Another copy took it for a leftover before the lock was granted.
            ::close(fd);
        }
        return false;
    }

    int fd() const { return m_fd; }
    const QByteArray& path() const { return m_path; }
    void release() { m_path.clear(); }

private:
    int m_fd = -1;
    QByteArray m_path;
};

// The spare file of a problem, "." + name + ".spare": the previous version of
// the file, kept by the store that replaced it, so that the next store writes
// over its blocks and exchanges it with the file instead of making, and
// afterwards freeing, a new file (see replaceBySpare()).
//
// A version that has been replaced may still be open elsewhere: a reader of
// another copy, a backup or an editor. It must stay as it was for them, so the
// spare is written only under a write lease (F_SETLEASE), which the system
// grants only while no one else has the file open; whoever opens it meanwhile
// waits until the bytes are written. Only a store that holds the file's StoreLock
// uses the spare, and it also holds the spare's own lock, so that
// removeLeftovers() leaves it alone. A spare that is not a plain file of ours
// with one name (a link put in its place, a hard link to a file elsewhere,
// another user's file) or that more people may read than may read the problem
// now is never written: its name is removed and a new spare made.
class SpareFile
{
public:
    SpareFile() = default;
    ~SpareFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SpareFile(const SpareFile&) = delete;
    SpareFile& operator=(const SpareFile&) = delete;

    // Opens the spare at path for a problem of permissions perms, making it
    // when there is none; false when the store has to take the long way.
    bool open(const QByteArray& path, mode_t perms)
    {
        m_path = path;
        constexpr int flags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        for (int attempt = 0; attempt < 3; ++attempt) {
            struct stat st = {};
            if (::lstat(path.constData(), &st) == 0 && !fit(st, perms)) {
                if (::unlink(path.constData()) != 0)
                    return false;
            }
            int fd = ::open(path.constData(), flags);
            m_made = fd < 0 && errno == ENOENT;
            if (m_made)
                fd = ::open(path.constData(), flags | O_CREAT | O_EXCL, perms & 0600);
            if (fd < 0) {
                if (errno == ENOENT || errno == EEXIST || errno == ELOOP)
                    continue; // removed, made or replaced by someone else meanwhile
                return false;
            }
            // The lock keeps the removal of leftovers away. The lease is refused
            // while anyone else has the file open; its breaking is signalled
            // with SIGURG, which a process ignores unless it asks for it.
            if (onOverlay(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fcntl(fd, F_SETSIG, SIGURG) != 0 ||
                ::fcntl(fd, F_SETLEASE, F_WRLCK) != 0) {
                ::close(fd);
                return false;
            }
            // A spare just made has the access list any new file gets here.
            if (::fstat(fd, &st) == 0 && fit(st, perms) && (m_made || !hasOwnAccessList(fd))) {
                m_fd = fd;
                return true;
            }
            ::close(fd);
            if (::unlink(path.constData()) != 0 && errno != ENOENT)
                return false;
        }
        return false;
    }

    int fd() const { return m_fd; }
    const QByteArray& path() const { return m_path; }
    // Made by this store: it holds no version yet.
    bool made() const { return m_made; }
    // After a failed write: nobody may take the half-written spare for anything.
    void discard()
    {
        ::unlink(m_path.constData());
        ::close(m_fd);
        m_fd = -1;
    }

private:
    // Access lists give readers the mode bits do not show: such a spare might
    // let more people read than may read the problem.
    static bool hasOwnAccessList(int fd)
    {
        return ::fgetxattr(fd, "system.posix_acl_access", nullptr, 0) >= 0 || (errno != ENODATA && errno != ENOTSUP);
    }
    // On an overlay a lease does not see who has the file open below it.
    static bool onOverlay(int fd)
    {
        constexpr decltype(statfs::f_type) OverlayMagic = 0x794c7630;
        struct statfs fs = {};
        return ::fstatfs(fd, &fs) != 0 || fs.f_type == OverlayMagic;
    }
    static bool fit(const struct stat& st, mode_t perms)
    {
        return S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == ::geteuid() &&
               (st.st_mode & 07777 & ~perms) == 0;
    }

    int m_fd = -1;
    bool m_made = false;
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

// Whether the existing file target may be replaced: see write() for root.
bool writable(const QByteArray& target, const struct stat& st)
{
    if ((st.st_mode & 0222) == 0)
        return false;
    // The owner with the owner's write bit may write (the common case, and one
    // system call less in every store); anyone else asks the system.
    if (st.st_uid == ::geteuid() && (st.st_mode & S_IWUSR) != 0)
        return true;
    return ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

namespace AtomicFile {

Content read(const QString& path, qint64 limit)
{
    Content c;
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    // Refused for a moment: the name was looked up just before a store of another
    // copy took that version for its spare; looked up again, it gives the new one.
    for (int attempt = 0; fd < 0 && errno == EWOULDBLOCK && attempt < MaxBusyOpens; ++attempt) {
        ::usleep(attempt == 0 ? 0 : 1000);
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }
    if (fd < 0) {
        c.error = errno;
        c.status = c.error == ENOENT || c.error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        return c;
    }
    c.status = ReadStatus::Failed;
    if (::fstat(fd, &c.info) != 0) {
        c.error = errno;
    } else if (!S_ISREG(c.info.st_mode)) {
        c.status = ReadStatus::NotRegular;
    } else if (c.info.st_size > limit) {
        c.status = ReadStatus::TooLarge;
    } else {
        // The size is only a hint: the file may grow or shrink while it is read.
        QByteArray bytes(qsizetype(c.info.st_size) + 1, Qt::Uninitialized);
        qsizetype got = 0;
        while (got <= limit) {
            if (got == bytes.size())
                bytes.resize(qsizetype(qMin<qint64>(qint64(got) * 2, limit + 1)));
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                c.error = errno;
                break;
            }
            if (n == 0) {
                bytes.truncate(got);
                c.bytes = std::move(bytes);
                c.status = ReadStatus::Ok;
                break;
            }
            got += n;
        }
        if (got > limit)
            c.status = ReadStatus::TooLarge;
    }
    ::close(fd);
    return c;
}

namespace {

// Whether the file st of path may be replaced (see write()); throws when not.
void checkReplaceable(const QString& path, const QByteArray& target, const struct stat& st, Mode mode)
{
    if (mode == Mode::NoReplace)
        throw OptivarError(OptivarError::Code::NameExists, u"Unable to write to "_s + path);
    if (!S_ISREG(st.st_mode) || !writable(target, st))
        throw OptivarError::writeFailed(path);
}

// The store through a new temporary file, renamed over (or linked to) the target.
void replaceByTemp(const QString& path, const QByteArray& target, const QByteArray& bytes, const struct stat* old,
                   Mode mode, std::optional<qint64> lastModifiedNs)
{
    TempFile temp;
    if (!temp.create(hiddenStemFor(path)))
        throw OptivarError::writeFailed(path);

    mode_t perms = 0;
    if (old) {
        perms = old->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        perms = 0666 & ~mask;
    }
    if (::fchmod(temp.fd(), perms) != 0 || !writeAll(temp.fd(), bytes.constData(), bytes.size()) ||
        ::fsync(temp.fd()) != 0)
        throw OptivarError::writeFailed(path);
    if (lastModifiedNs) {
        const timespec t{time_t(*lastModifiedNs / 1000000000), long(*lastModifiedNs % 1000000000)};
        const timespec times[2] = {t, t};
        if (::futimens(temp.fd(), times) != 0)
            throw OptivarError::writeFailed(path);
    }
    // The descriptor stays open, and the temporary file locked, until it is
    // renamed: the flush above has reported any failure of the write.

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
            linked =
                ::renameat2(AT_FDCWD, temp.path().constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0;
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

// The store through the spare file: the bytes are written over it, flushed,
// and the spare and the file then exchange their names in one step, so that
// the old version becomes the spare of the next store. Before a version is
// written over, the folder is flushed: the exchange that made it the spare
// must be on disk, or a power failure could leave the name on a version half
// written over. (Flushed there rather than after the exchange, a first store,
// which makes its spare, costs no more than a new file renamed over the old
// one; a store made long after the one before finds nothing left to flush.)
// False when no spare can be had: the caller takes the long way.
//
// Against a new file renamed over the old one this spares the making of a file
// and the freeing of the old one's blocks: with the largest problem (5.9 KB) on
// ext4, stores one after another take about 1.4 times the time of writing and
// flushing a file of that size in place (truncated first) instead of 1.6 to 1.8.
bool replaceBySpare(const QString& path, const QByteArray& target, const QByteArray& bytes, const struct stat& old)
{
    const mode_t perms = old.st_mode & 07777;
    SpareFile spare;
    if (!spare.open(hiddenStemFor(path) + ".spare", perms))
        return false;
    const int folder =
        ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    const auto closeFolder = qScopeGuard([folder] { ::close(folder); });
    if (!spare.made() && ::fsync(folder) != 0)
        return false;
    struct stat st = {};
    // The group and permissions first: nobody who may not read the problem may
    // read the bytes. A group the user is not in: the long way, as before.
    if (::fstat(spare.fd(), &st) != 0 || (st.st_gid != old.st_gid && ::fchown(spare.fd(), uid_t(-1), old.st_gid) != 0))
        return false;
    if (((st.st_mode & 07777) != perms && ::fchmod(spare.fd(), perms) != 0) ||
        !writeAll(spare.fd(), bytes.constData(), bytes.size()) || ::ftruncate(spare.fd(), off_t(bytes.size())) != 0) {
        spare.discard();
        throw OptivarError::writeFailed(path);
    }
    // Written: whoever opens it from now on sees the whole new version and need
    // not wait for the flush, and nobody waits for it once it is the problem.
    ::fcntl(spare.fd(), F_SETLEASE, F_UNLCK);
    if (::fsync(spare.fd()) != 0) {
        spare.discard();
        throw OptivarError::writeFailed(path);
    }
    if (::renameat2(AT_FDCWD, spare.path().constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) == 0)
        return true;
    // A file system that cannot exchange two names, or a file removed meanwhile:
    // the spare is renamed over the file, or in its place, as a new file would be.
    if ((errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == ENOENT) &&
        ::rename(spare.path().constData(), target.constData()) == 0)
        return true;
    spare.discard();
    throw OptivarError::writeFailed(path);
}

} // namespace

void write(const QString& path, const QByteArray& bytes, Mode mode, std::optional<qint64> lastModifiedNs)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old
    {
    };
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists)
        checkReplaceable(path, target, old, mode);
    replaceByTemp(path, target, bytes, exists ? &old : nullptr, mode, lastModifiedNs);
}

void replace(const StoreLock& lock, const QString& path, const QByteArray& bytes, const struct stat* current)
{
    const QByteArray target = QFile::encodeName(path);
    if (current)
        checkReplaceable(path, target, *current, Mode::Replace);
    if (current && lock.held() && replaceBySpare(path, target, bytes, *current))
        return;
    replaceByTemp(path, target, bytes, current, Mode::Replace, std::nullopt);
}

StoreLock::StoreLock(const QString& path) : m_lockPath(hiddenStemFor(path) + ".lock")
{
    // O_NOFOLLOW: a link put in the lock file's place never makes a file elsewhere.
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    for (int attempt = 0; attempt < MaxLockAttempts; ++attempt) {
        int fd = ::open(m_lockPath.constData(), O_RDWR | O_CREAT | flags, 0666);
        if (fd < 0 && errno == EACCES) // another user's lock file: a local lock needs no write access
            fd = ::open(m_lockPath.constData(), O_RDONLY | flags);
        if (fd < 0)
            return;
        struct stat st = {};
        if (lockWait(fd, LOCK_EX) != 0) {
            ::close(fd);
            return;
        }
        if (!stillNamed(fd, st) || !S_ISREG(st.st_mode)) {
            ::close(fd);
            if (st.st_nlink > 0)
                return; // not a file to lock: go on unlocked
            continue;
        }
        m_fd = fd;
        return;
    }
}

bool StoreLock::held() const
{
    return m_fd >= 0;
}

StoreLock::~StoreLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void removeLeftovers(const QString& folder)
{
    DIR* entries = ::opendir(QFile::encodeName(folder).constData());
    if (!entries)
        return;
    const int dir = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        if (!isLeftoverName(QByteArray(entry->d_name)))
            continue;
        const int fd = ::openat(dir, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A shared lock is granted only when no store holds the file; it is held
        // while the file is removed, so a store that opened the file just before
        // sees it gone once its own lock is granted.
        struct stat mine = {}, now = {};
        if (::fstat(fd, &mine) == 0 && S_ISREG(mine.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) == 0 &&
            ::fstatat(dir, entry->d_name, &now, AT_SYMLINK_NOFOLLOW) == 0 && mine.st_dev == now.st_dev &&
            mine.st_ino == now.st_ino)
            ::unlinkat(dir, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(entries);
}

} // namespace AtomicFile
