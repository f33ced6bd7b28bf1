// A store either replaces the problem file whole or leaves it as it was.
#include "compare/CompareStepsBuild.h"
#include "storage/AtomicFile.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemDirectory.h"
#include "storage/ProblemLists.h"
#include "storage/ProblemTemplates.h"

#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::readBytes;
using TestSupport::writeBytes;
using Kind = ProblemDirectory::Kind;

namespace {

// Starts body in a child process, which exits with body's result and never
// returns into the test runner (101 when body throws).
template <typename Body> pid_t startChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 101;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    return pid;
}

// The exit code of a child, or 100 when it did not exit (killed by a signal).
int exitCodeOf(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

// Runs body in a child process that is killed when still busy after the given
// seconds and whose files may not grow beyond limit bytes, as on a full disk.
template <typename Body> int runInChild(unsigned seconds, rlim_t limit, Body body)
{
    return exitCodeOf(startChild([&] {
        ::alarm(seconds);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        return body();
    }));
}

// The hidden files of dir; the lock files and spares that stores keep only with kept.
QStringList hiddenFiles(const QString& dir, bool kept = false)
{
    QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(u"^\\."_s));
    if (!kept)
        files.removeIf([](const QString& file) { return file.endsWith(u".lock"_s) || file.endsWith(u".spare"_s); });
    return files;
}

// Whether another process holds the file at path: a lock on it, or a lease
// that keeps it from being opened at once.
bool lockedElsewhere(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    const bool busy = fd < 0 ? errno == EWOULDBLOCK : ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (fd >= 0)
        ::close(fd);
    return busy;
}

// What changes at every replacement of the file at path, though two files take turns: its file and change time.
std::pair<ino_t, qint64> versionOf(const QString& path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_ino, st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec};
}

ino_t inodeOf(const QString& path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// 0 when the call fails with this message and code (either, when not given), 1 when it succeeds, 2 when it fails
// otherwise.
template <typename F> int refused(F&& f, const QString& message, int code = -1)
{
    try {
        f();
    } catch (const OptivarError& e) {
        return (message.isNull() || e.message() == message) && (code < 0 || int(e.code()) == code) ? 0 : 2;
    }
    return 1;
}

QByteArray bigProblem(int extraKeys)
{
    QByteArray b = "[Alt]\r\nA_0=x\r\nCount=1\r\n[QualM]\r\n";
    for (int i = 0; i < extraKeys; ++i)
        b += "K_" + QByteArray::number(i) + "=" + QByteArray(40, 'v') + "\r\n";
    return b;
}

} // namespace

class TestDurability final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(u"Задача.qzr"_s);
    }
    void testFullDiskLeavesOldFile()
    {
        const QByteArray old = bigProblem(10);
        writeBytes(m_path, old);
        const auto store = [&] {
            IniFile(m_path).update([](IniDocument& doc) {
                for (int i = 0; i < 200; ++i)
                    doc.writeString(u"QualM", u"N_%1"_s.arg(i), QString(50, u'ж'));
            });
        };
        const int written = int(OptivarError::Code::WriteFailed);
        QCOMPARE(runInChild(30, old.size() + 100,
                            [&] { return refused(store, u"Unable to write to "_s + m_path, written); }),
                 0);
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
    }
    void testFullDiskOnCopyLeavesNoTarget()
    {
        const QString source = m_dir->filePath(u"source.qzr"_s);
        writeBytes(source, QByteArray(100000, 'x'));
        const QString target = m_dir->filePath(u"target.qzp"_s);
        const auto copy = [&] { ComUnit::CopyDataFile(source, target); };
        QCOMPARE(runInChild(30, 50000, [&] { return refused(copy, u"Ошибка копирования файла."_s); }), 0);
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
    }
    void testKilledWriterLeavesOldOrNew()
    {
        // A writer killed at random moments: the file is always one whole version,
        // and the next listing of the folder removes what the store left, but
        // nothing a store still running holds and nothing else that is hidden.
        const QStringList others = {u".notes.qzr.bak"_s, u".notes.txt.abc123"_s};
        for (const QString& name : others)
            writeBytes(m_dir->filePath(name), "x");
        const QString spare = m_dir->filePath(u".Задача.qzr.spare"_s);
        int held = 0; // stops inside a replacement, whose spare the listing left alone
        const QByteArray first = bigProblem(3000);
        writeBytes(m_path, first);
        QByteArray second;
        {
            IniDocument doc = IniDocument::fromBytes(first);
            doc.writeString(u"Alt", u"A_0", u"second"_s);
            second = doc.toBytes();
        }
        for (int round = 0; round < 12 || (held == 0 && round < 40); ++round) {
            const pid_t pid = startChild([&] {
                IniFile file(m_path);
                for (int i = 0;; ++i)
                    file.writeString(u"Alt", u"A_0", i % 2 ? u"x"_s : u"second"_s);
                return 0;
            });
            ::usleep(useconds_t(2000 + round * 1500));
            ::kill(pid, SIGSTOP);
            ::waitpid(pid, nullptr, WUNTRACED);
            const auto stoppedAt = versionOf(m_path);
            ProblemDirectory::names(m_dir->path(), Kind::Problems);
            held += lockedElsewhere(spare);
            ::kill(pid, SIGCONT); // the store it was stopped in goes on and replaces the file
            // Until a store has replaced the file (or the writer is gone): by the clock, not by counted waits.
            for (QDeadlineTimer deadline(10000); versionOf(m_path) == stoppedAt && !deadline.hasExpired();)
                ::usleep(1000);
            QVERIFY(versionOf(m_path) != stoppedAt);
            QCOMPARE(::waitpid(pid, nullptr, WNOHANG), 0);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            QCOMPARE(ProblemDirectory::names(m_dir->path(), Kind::Problems), QStringList(u"Задача"_s));
            QCOMPARE(hiddenFiles(m_dir->path(), true), others);
            const QByteArray now = readBytes(m_path);
            const IniDocument doc = IniDocument::fromBytes(now);
            const QString a0 = doc.readString(u"Alt", u"A_0", {});
            QVERIFY2(a0 == u"x"_s || a0 == u"second"_s, qPrintable(a0));
            QCOMPARE(now.size(), a0 == u"x"_s ? second.size() - 5 : second.size());
            QCOMPARE(doc.readString(u"QualM", u"K_2999", {}), QString(40, u'v'));
        }
        QVERIFY(held > 0); // some stops did land inside a replacement
    }
    void testStoreIntoFolderThatIsAFile()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(u"Задача.qzr"_s));
        IniFile file(m_path);
        QCOMPARE(file.readInteger(u"Alt", u"Count", 7), 7);
        QCOMPARE(refused([&] { file.writeString(u"Alt", u"A_0", u"x"_s); }, u"Unable to write to "_s + m_path), 0);
        QVERIFY(QFileInfo(m_path).isDir());
    }
    void testMissingFolder()
    {
        IniFile file(m_dir->filePath(u"DAT/Задача.qzr"_s));
        QVERIFY_THROWS_EXCEPTION(OptivarError, file.writeInteger(u"Alt", u"Count", 2));
        QVERIFY(!QFileInfo::exists(m_dir->filePath(u"DAT"_s)));
    }
    void testNoReplace()
    {
        writeBytes(m_path, "old");
        const auto write = [&] { AtomicFile::write(m_path, "new", AtomicFile::Mode::NoReplace); };
        QCOMPARE(refused(write, QString(), int(OptivarError::Code::NameExists)), 0);
        QCOMPARE(readBytes(m_path), QByteArray("old"));
        const QString other = m_dir->filePath(u"other.qzr"_s);
        AtomicFile::write(other, "new", AtomicFile::Mode::NoReplace);
        QCOMPARE(readBytes(other), QByteArray("new"));
        QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
    }
    void testPermissionsKept()
    {
        writeBytes(m_path, "[Alt]\r\n");
        for (const int mode : {0640, 0604, 0640}) { // the new file, then spares of other permissions
            QVERIFY(::chmod(QFile::encodeName(m_path).constData(), mode_t(mode)) == 0);
            IniFile(m_path).writeInteger(u"Alt", u"Count", mode);
            struct stat st = {};
            QVERIFY(::stat(QFile::encodeName(m_path).constData(), &st) == 0);
            QCOMPARE(int(st.st_mode & 0777), mode);
        }
    }
    void testReadOnlyFileStays_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("asAnotherUser");
        QTest::newRow("no write permission, even for root") << 0444 << false;
        QTest::newRow("another user's file") << 0644 << true;
    }
    void testReadOnlyFileStays()
    {
        QFETCH(int, mode);
        QFETCH(bool, asAnotherUser);
        if (asAnotherUser && ::geteuid() != 0)
            QSKIP("only root can store as another user");
        // The folder lets anyone replace the file: only the file's own permission refuses.
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777) == 0);
        const QByteArray old = "[Alt]\r\nA_0=old\r\n";
        writeBytes(m_path, old);
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), mode_t(mode)) == 0);
        const auto store = [&] { IniFile(m_path).writeString(u"Alt", u"A_0", u"new"_s); };
        QCOMPARE(runInChild(30, RLIM_INFINITY,
                            [&] {
                                if (asAnotherUser && (::setgid(65534) != 0 || ::setuid(65534) != 0)) // nobody
                                    return 3;
                                return refused(store, u"Unable to write to "_s + m_path);
                            }),
                 0);
        QCOMPARE(readBytes(m_path), old);
        QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
    }
    void testTwoCopiesKeepEachOthersKeys()
    {
        constexpr int Keys = 200;
        pid_t writers[2] = {};
        for (int w = 0; w < 2; ++w) {
            writers[w] = startChild([&] {
                IniFile file(m_path);
                for (int i = 0; i < Keys; ++i)
                    file.writeInteger(u"QualM", u"W%1_%2"_s.arg(w).arg(i), i);
                return 0;
            });
        }
        for (const pid_t pid : writers)
            QCOMPARE(exitCodeOf(pid), 0);
        const IniDocument doc = IniDocument::fromBytes(readBytes(m_path));
        for (int w = 0; w < 2; ++w)
            for (int i = 0; i < Keys; ++i)
                QCOMPARE(doc.readInteger(u"QualM", u"W%1_%2"_s.arg(w).arg(i), -1), i);
        ProblemDirectory::names(m_dir->path(), Kind::Problems);
        QCOMPARE(hiddenFiles(m_dir->path(), true), QStringList()); // the lock file goes with the next listing
    }
    void testFifoAndDeviceRefusedAtOnce_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("FIFO") << true;
        QTest::newRow("link to /dev/zero") << false;
    }
    void testFifoAndDeviceRefusedAtOnce()
    {
        // Named like a problem, it reads as an empty problem, and every store and copy is refused, each at once
        // and none waiting for a writer (which would wait for ever: the alarm leaves room for a busy machine).
        QFETCH(bool, fifo);
        const QByteArray path = QFile::encodeName(m_path);
        QVERIFY(fifo ? ::mkfifo(path.constData(), 0666) == 0 : ::symlink("/dev/zero", path.constData()) == 0);
        IniFile file(m_path);
        const auto store = [&] { file.writeInteger(u"Alt", u"Count", 2); };
        const auto copy = [&] { ProblemTemplates::SaveAsPrimer(m_dir->path(), u"Задача"_s); };
        QCOMPARE(runInChild(10, RLIM_INFINITY,
                            [&] {
                                return (file.readInteger(u"Alt", u"Count", 7) != 7) * 100 +
                                       refused(store, u"Unable to write to "_s + m_path) * 10 +
                                       refused(copy, QString());
                            }),
                 0);
        QCOMPARE(ProblemDirectory::names(m_dir->path(), Kind::Templates), QStringList());
        struct stat st = {};
        QVERIFY(::lstat(path.constData(), &st) == 0);
        QVERIFY(fifo ? S_ISFIFO(st.st_mode) : S_ISLNK(st.st_mode));
    }
    void testLinkReplacedNotWrittenThrough()
    {
        QTemporaryDir outside;
        const QString target = outside.filePath(u"elsewhere.qzr"_s);
        writeBytes(target, "[Alt]\r\nA_0=old\r\n");
        QVERIFY(QFile::link(target, m_path));
        IniFile(m_path).writeString(u"Alt", u"A_1", u"new"_s);
        QCOMPARE(readBytes(target), QByteArray("[Alt]\r\nA_0=old\r\n"));
        QVERIFY(!QFileInfo(m_path).isSymLink());
        QCOMPARE(IniDocument::fromBytes(readBytes(m_path)).readString(u"Alt", u"A_1", {}), u"new"_s);
    }
    // A store writes over the version the store before it replaced, and only
    // when that version is a file of its own that nobody reads: never a link,
    // another name of the same file, or a version another copy is reading.
    void testSpareWrittenOnlyWhenOurs_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("plain") << u"plain"_s;
        QTest::newRow("spare is a link to a file elsewhere") << u"link"_s;
        QTest::newRow("spare is another name of another problem") << u"hardlink"_s;
        QTest::newRow("problem is another name of another problem") << u"twin"_s;
        QTest::newRow("another program has the version replaced open") << u"reader"_s;
    }
    void testSpareWrittenOnlyWhenOurs()
    {
        QFETCH(QString, setup);
        QTemporaryDir outside;
        const QString other =
            setup == u"link"_s ? outside.filePath(u"elsewhere.qzr"_s) : m_dir->filePath(u"Другая.qzr"_s);
        const QByteArray otherBytes = "[Alt]\r\nA_0=other\r\n";
        const QByteArray original = "[Alt]\r\nA_0=original\r\n";
        writeBytes(other, otherBytes);
        writeBytes(m_path, original);
        const QByteArray spare = QFile::encodeName(m_dir->filePath(u".Задача.qzr.spare"_s));
        if (setup == u"link"_s)
            QVERIFY(::symlink(QFile::encodeName(other).constData(), spare.constData()) == 0);
        if (setup == u"hardlink"_s)
            QVERIFY(::link(QFile::encodeName(other).constData(), spare.constData()) == 0);
        if (setup == u"twin"_s) {
            QVERIFY(QFile::remove(other));
            QVERIFY(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(other).constData()) == 0);
        }
        const int reader = setup == u"reader"_s ? ::open(QFile::encodeName(m_path).constData(), O_RDONLY) : -1;
        QList<ino_t> inodes;
        IniFile file(m_path);
        for (int i = 1; i <= 4; ++i) {
            file.writeInteger(u"Alt", u"Count", i);
            inodes.append(inodeOf(m_path));
        }
        QByteArray seen(original.size() + 10, 0);
        if (reader >= 0) {
            seen.truncate(::pread(reader, seen.data(), size_t(seen.size()), 0));
            ::close(reader);
        }
        QCOMPARE(IniDocument::fromBytes(readBytes(m_path)).readInteger(u"Alt", u"Count", 0), 4);
        QCOMPARE(readBytes(other), setup == u"twin"_s ? original : otherBytes);
        if (setup == u"reader"_s)
            QCOMPARE(seen, original);
        if (setup == u"plain"_s) // two files take turns: no store made a new one
            QVERIFY(inodes[2] == inodes[0] && inodes[3] == inodes[1] && inodes[0] != inodes[1]);
    }
    // Two copies of one file each keep what the other stored, the last writer of a key winning; reads follow the
    // disk, through another program's edit in place of the same size and the file's removal.
    void testReadsFollowTheDisk()
    {
        IniFile mine(m_path);
        IniFile theirs(m_path);
        QCOMPARE(mine.readInteger(u"QualM", u"Q_0*Q_1", 1), 1); // mine has read the file once
        theirs.writeInteger(u"QualM", u"Q_0*Q_1", -3);
        mine.writeInteger(u"QualM", u"Q_0*Q_2", 5);
        theirs.writeInteger(u"QualM", u"Q_0*Q_1", 4);
        QCOMPARE(readBytes(m_path), QByteArray("[QualM]\r\nQ_0*Q_1=4\r\nQ_0*Q_2=5\r\n"));
        QCOMPARE(mine.readInteger(u"QualM", u"Q_0*Q_1", 1), 4);
        writeBytes(m_path, "[QualM]\r\nQ_0*Q_1=7\r\nQ_0*Q_2=5\r\n");
        QCOMPARE(mine.readInteger(u"QualM", u"Q_0*Q_1", 1), 7);
        QVERIFY(QFile::remove(m_path));
        QCOMPARE(mine.readInteger(u"QualM", u"Q_0*Q_1", 1), 1);
    }
    void testSectionRewriteIsOneReplacement()
    {
        writeBytes(m_path, "[Qual]\r\nCount=9\r\n[Alt]\r\nCount=9\r\n");
        IniFile file(m_path);
        const int fd = ::inotify_init1(IN_NONBLOCK);
        QVERIFY(fd >= 0);
        QVERIFY(::inotify_add_watch(fd, QFile::encodeName(m_dir->path()).constData(), IN_MOVED_TO | IN_CLOSE_WRITE) >=
                0);

        const QStringList steps = CompareStepsBuild::rebuildJudgements(file);
        QCOMPARE(steps.size(), 360);
        ProblemLists::save(file, ProblemLists::Kind::Criteria,
                           {TLElem(0, u"a"_s), TLElem(1, u"b"_s), TLElem(2, u"c"_s)});

        int replacements = 0;
        alignas(inotify_event) char buf[8192];
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) {
            for (char* p = buf; p < buf + n;) {
                const auto* ev = reinterpret_cast<const inotify_event*>(p);
                if ((ev->mask & IN_MOVED_TO) && ev->len && QFile::decodeName(ev->name) == u"Задача.qzr"_s)
                    ++replacements;
                p += sizeof(inotify_event) + ev->len;
            }
        }
        ::close(fd);
        QCOMPARE(replacements, 2);
    }
};

QTEST_GUILESS_MAIN(TestDurability)
#include "test_durability.moc"
