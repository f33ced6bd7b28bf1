#pragma once

#include "storage/IniDocument.h"

#include <QString>

#include <functional>
#include <memory>

/// A problem or template file on disk, bound to one path.
///
/// Every read sees the file as it is on disk now (a missing, unreadable or
/// oversized file, and anything that is not a regular file, reads as empty, so
/// every reader gets its default). Every store first reads the file as it is on
/// disk now, applies its change, and replaces the file atomically: another file
/// in the same folder, flushed to disk, takes the old one's name (see
/// AtomicFile). The
/// read, change and replacement hold the file's AtomicFile::StoreLock, so two
/// running copies storing into one file keep each other's keys (the last writer
/// of a key wins). A failed store throws OptivarError "Unable to write to " +
/// path and leaves the file on disk as it was.
class IniFile
{
public:
    /// Files above this size are not problem files: they read as empty and are never rewritten.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    IniFile() = default;
    explicit IniFile(const QString& path);

    const QString& path() const { return m_path; }

    /// The file as it is on disk now (cached while the file is unchanged).
    std::shared_ptr<const IniDocument> snapshot() const;

    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    int readInteger(QStringView section, QStringView key, int defaultValue) const;

    void writeString(QStringView section, QStringView key, const QString& value);
    void writeInteger(QStringView section, QStringView key, int value);
    void eraseSection(QStringView section);
    /// Any number of changes that reach the disk as one replacement.
    void update(const std::function<void(IniDocument&)>& edit);

private:
    struct Stamp
    {
        bool exists = false;
        qint64 device = 0, inode = 0, size = 0, mtimeNs = 0, ctimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    QString m_path;
    mutable Stamp m_stamp;
    mutable std::shared_ptr<const IniDocument> m_cache;
    mutable QByteArray m_cacheBytes; // what m_cache was read from
};
