#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/stat.h>

/// Whole-file reading and replacement of the data files. A replacement never
/// leaves a half-written file: the bytes go to another file in the same folder,
/// are flushed to disk, and that file then takes the target's name in one step.
/// That file is a new temporary file, "." + name + "." + six letters or digits
/// (a long name is cut to 100 bytes, its extension kept), renamed over (or,
/// without replace, linked to) the target; or, for a store under the file's
/// StoreLock, the spare "." + name + ".spare", which holds the version the
/// previous store replaced, is written over and exchanges its name with the
/// target's, so that the replaced version becomes the next spare (the folder is
/// flushed before a version is written over).
namespace AtomicFile {

enum class ReadStatus {
    Ok,
    Missing,    // nothing at the path (or a part of the path is not a folder)
    NotRegular, // a folder, FIFO, device or socket: never opened for reading data
    TooLarge,   // more than the limit
    Failed,     // could not be opened or read (error holds why)
};

struct Content
{
    ReadStatus status = ReadStatus::Missing;
    int error = 0;         // the system's error number of a Missing or Failed read
    QByteArray bytes;      // the whole file when Ok
    struct stat info = {}; // the file read, when it could be opened
};

/// Reads the whole file at path through one descriptor, so that bytes and info
/// belong to one version of the file even while another copy replaces it (no
/// store writes over a version someone has open: see the spare). Never
/// blocks on a FIFO or device (they are NotRegular and not read) and never holds
/// more than limit + 1 bytes: a file that grows beyond limit while read is TooLarge.
Content read(const QString& path, qint64 limit);

enum class Mode { Replace, NoReplace };

/// Writes bytes as the whole content of path. On failure nothing at path has
/// changed, no temporary file is left, and OptivarError "Unable to write to " +
/// path is thrown (code NameExists when Mode::NoReplace finds path taken).
///
/// Only a regular file the user may write is replaced. A file without any write
/// permission (chmod a-w) is read-only for everyone, root included: as the
/// read-only attribute on Windows, which refuses the write to an administrator
/// too. A symbolic link is replaced by a regular file; its target is never written.
/// The new file keeps the permissions of the file it replaces; with
/// lastModifiedNs (nanoseconds since 1970) it carries that last-write time.
void write(const QString& path, const QByteArray& bytes, Mode mode = Mode::Replace,
           std::optional<qint64> lastModifiedNs = std::nullopt);

/// Keeps the read-change-replace of one file by one process apart from that of
/// every other process that takes the same lock: an advisory lock (flock) on the
/// hidden file "." + name + ".lock" beside the file, held only for the store.
/// The lock file stays after the store for the stores that follow: making and
/// removing it at every store cost some 50 of a 400 microseconds store on ext4
/// (a bare write and flush: 250). removeLeftovers() removes every lock file no
/// store holds, those of renamed and erased problems included, and a store that
/// finds its lock file removed takes the one now at the path. Where no lock file
/// can be made or locked (a folder that is not writable, a file system without
/// locks) the store goes on unlocked.
class StoreLock final
{
public:
    /// Waits until the lock of the file at path is held.
    explicit StoreLock(const QString& path);
    ~StoreLock();
    /// False where the store goes on unlocked.
    bool held() const;
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    QByteArray m_lockPath;
    int m_fd = -1;
};

/// As write() with Mode::Replace, for a caller that has just read the file at
/// path under its StoreLock lock: current is what read() found there (null when
/// nothing was), so the file need not be looked up again. While the lock is
/// held the store goes through the spare when it can.
void replace(const StoreLock& lock, const QString& path, const QByteArray& bytes, const struct stat* current);

/// Removes from folder the hidden files of stores of problems and templates:
/// temporary files "." + name + "." + six letters or digits that interrupted
/// stores left, lock files "." + name + ".lock" and spares "." + name + ".spare"
/// (of the problems still there, too: the next store makes a new one), of names
/// ending in ".qzr" or ".qzp", and only those that no running store holds (a
/// store locks each until it is done; a process that dies lets go of its
/// locks). Nothing else in the folder is touched.
void removeLeftovers(const QString& folder);

} // namespace AtomicFile
