#include "storage/IniFile.h"

#include "storage/AtomicFile.h"
#include "storage/OptivarError.h"

#include <QFile>

#include <ctime>
#include <sys/stat.h>

namespace {

// What tells one version of the file from another: a store puts another file
// (another inode) in its place and changes the times; so does an edit in place,
// or the size.
template <typename Stamp> Stamp stampOf(const struct stat& st)
{
    Stamp stamp;
    stamp.exists = true;
    stamp.device = qint64(st.st_dev);
    stamp.inode = qint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.ctimeNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

// How long after a change a file's stamp is not trusted alone.
constexpr qint64 RecentSeconds = 2;

} // namespace

IniFile::IniFile(const QString& path) : m_path(path) {}

std::shared_ptr<const IniDocument> IniFile::snapshot() const
{
    struct stat st
    {
    };
    Stamp now;
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0)
        now = stampOf<Stamp>(st);
    // Stores take turns between two files (the problem and its spare), and file
    // times may be as coarse as a second: a version changed within the last
    // seconds may carry the stamp of the one before, so its bytes are compared.
    const bool recent = now.ctimeNs / 1000000000 + RecentSeconds >= qint64(::time(nullptr));
    if (m_cache && now.exists && now == m_stamp && !recent)
        return m_cache;

    const AtomicFile::Content r = AtomicFile::read(m_path, MaxFileSize);
    const bool ok = r.status == AtomicFile::ReadStatus::Ok;
    if (ok && m_cache && r.bytes == m_cacheBytes) {
        m_stamp = stampOf<Stamp>(r.info);
        return m_cache;
    }
    auto doc = std::make_shared<IniDocument>(ok ? IniDocument::fromBytes(r.bytes) : IniDocument());
    m_stamp = ok ? stampOf<Stamp>(r.info) : Stamp{};
    m_cache = ok ? doc : nullptr;
    m_cacheBytes = ok ? r.bytes : QByteArray();
    return doc;
}

QString IniFile::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    return snapshot()->readString(section, key, defaultValue);
}

int IniFile::readInteger(QStringView section, QStringView key, int defaultValue) const
{
    return snapshot()->readInteger(section, key, defaultValue);
}

void IniFile::update(const std::function<void(IniDocument&)>& edit)
{
    if (m_path.isEmpty())
        throw OptivarError::writeFailed(m_path);
    // Another running copy storing into this file between the read and the
    // replacement would lose its change: the lock keeps the two stores apart.
    const AtomicFile::StoreLock lock(m_path);
    const AtomicFile::Content r = AtomicFile::read(m_path, MaxFileSize);
    const bool ok = r.status == AtomicFile::ReadStatus::Ok;
    // A file that exists but cannot be read (too large, a folder, a FIFO or
    // device, no access) is not ours to replace.
    if (!ok && r.status != AtomicFile::ReadStatus::Missing)
        throw OptivarError::writeFailed(m_path);
    IniDocument doc = ok ? IniDocument::fromBytes(r.bytes) : IniDocument();
    edit(doc);
    const QByteArray bytes = doc.toBytes();
    if (ok ? bytes == r.bytes : bytes.isEmpty())
        return; // nothing changed: the file stays as it is (or absent)
    // Under the lock nothing else replaces the file: what was read is what is there.
    AtomicFile::replace(lock, m_path, bytes, ok ? &r.info : nullptr);
    m_cache.reset(); // the next read takes the stamp of the new file
}

void IniFile::writeString(QStringView section, QStringView key, const QString& value)
{
    update([&](IniDocument& doc) { doc.writeString(section, key, value); });
}

void IniFile::writeInteger(QStringView section, QStringView key, int value)
{
    update([&](IniDocument& doc) { doc.writeInteger(section, key, value); });
}

void IniFile::eraseSection(QStringView section)
{
    update([&](IniDocument& doc) { doc.eraseSection(section); });
}
