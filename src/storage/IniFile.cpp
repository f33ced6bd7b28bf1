#include "storage/IniFile.h"

#include "storage/AtomicFile.h"
#include "storage/OptivarError.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class ReadStatus { Ok, Missing, Unusable };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
};

// What tells one version of the file from another: a store makes a new file
// (new inode); an edit in place changes the times or the size.
template <typename Stamp>
Stamp stampOf(const struct stat& st)
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

// Reads the whole file through one descriptor, so that the stamp and the bytes
// belong to the same file even while another copy replaces it.
template <typename Stamp>
ReadResult readFile(const QString& path, Stamp& stamp)
{
    stamp = Stamp{};
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unusable, {}};
    struct stat st {};
    ReadResult result{ReadStatus::Unusable, {}};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= IniFile::MaxFileSize) {
        stamp = stampOf<Stamp>(st);
        QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
        qsizetype got = 0;
        bool ok = true;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0; // the file shrank while being read: keep what is there
                break;
            }
            got += n;
        }
        if (ok) {
            bytes.truncate(got);
            result = {ReadStatus::Ok, std::move(bytes)};
        }
    }
    ::close(fd);
    return result;
}

} // namespace

IniFile::IniFile(const QString& path)
    : m_path(path)
{
}

std::shared_ptr<const IniDocument> IniFile::snapshot() const
{
    struct stat st {};
    Stamp now;
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0)
        now = stampOf<Stamp>(st);
    if (m_cache && now.exists && now == m_stamp)
        return m_cache;

    Stamp stamp;
    ReadResult r = readFile(m_path, stamp);
    auto doc = std::make_shared<IniDocument>(r.status == ReadStatus::Ok ? IniDocument::fromBytes(r.bytes) : IniDocument());
    m_stamp = stamp;
    m_cache = stamp.exists ? doc : nullptr;
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
    Stamp stamp;
    ReadResult r = readFile(m_path, stamp);
    // A file that exists but cannot be read (too large, a folder, no access)
    // is not ours to replace.
    if (r.status == ReadStatus::Unusable || m_path.isEmpty())
        throw OptivarError::writeFailed(m_path);
    IniDocument doc = r.status == ReadStatus::Ok ? IniDocument::fromBytes(r.bytes) : IniDocument();
    edit(doc);
    const QByteArray bytes = doc.toBytes();
    if (r.status == ReadStatus::Ok ? bytes == r.bytes : bytes.isEmpty())
        return; // nothing changed: the file stays as it is (or absent)
    AtomicFile::write(m_path, bytes);
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
