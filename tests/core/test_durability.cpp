// A store either replaces the problem file whole or leaves it as it was.
#include "compare/CompareStepsBuild.h"
#include "storage/AtomicFile.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemLists.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

// Runs body in a child process whose files may not grow beyond limit bytes, as
// on a full disk; returns the child's exit code.
template <typename Body>
int runWithFileSizeLimit(rlim_t limit, Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

QStringList hiddenFiles(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(u"^\\."_s));
}

QByteArray bigProblem(int extraKeys)
{
    QByteArray b = "[Alt]\r\nA_0=x\r\nCount=1\r\n[QualM]\r\n";
    for (int i = 0; i < extraKeys; ++i)
        b += "K_" + QByteArray::number(i) + "=" + QByteArray(40, 'v') + "\r\n";
    return b;
}

} // namespace

class TestDurability : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void testFullDiskLeavesOldFile();
    void testFullDiskOnCopyLeavesNoTarget();
    void testKilledWriterLeavesOldOrNew();
    void testStoreIntoFolderThatIsAFile();
    void testMissingFolder();
    void testNoReplace();
    void testPermissionsKept();
    void testStoreKeepsWhatAnotherCopyWrote();
    void testReadsFollowTheDisk();
    void testSectionRewriteIsOneReplacement();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestDurability::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"Задача.qzr"_s);
}

void TestDurability::testFullDiskLeavesOldFile()
{
    const QByteArray old = bigProblem(10);
    writeBytes(m_path, old);
    const int code = runWithFileSizeLimit(old.size() + 100, [&] {
        IniFile file(m_path);
        try {
            file.update([](IniDocument& doc) {
                for (int i = 0; i < 200; ++i)
                    doc.writeString(u"QualM", u"N_%1"_s.arg(i), QString(50, u'ж'));
            });
        } catch (const OptivarError& e) {
            return e.message() == u"Unable to write to "_s + m_path && e.code() == OptivarError::Code::WriteFailed
                       ? 0
                       : 2;
        }
        return 1; // the store claimed success
    });
    QCOMPARE(code, 0);
    QCOMPARE(readBytes(m_path), old);
    QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
}

void TestDurability::testFullDiskOnCopyLeavesNoTarget()
{
    const QString source = m_dir->filePath(u"source.qzr"_s);
    writeBytes(source, QByteArray(100000, 'x'));
    const QString target = m_dir->filePath(u"target.qzp"_s);
    const int code = runWithFileSizeLimit(50000, [&] {
        try {
            ComUnit::CopyDataFile(source, target);
        } catch (const OptivarError& e) {
            return e.message() == u"Ошибка копирования файла."_s ? 0 : 2;
        }
        return 1;
    });
    QCOMPARE(code, 0);
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
}

void TestDurability::testKilledWriterLeavesOldOrNew()
{
    // A writer killed at random moments: the file is always one whole version.
    const QByteArray first = bigProblem(3000);
    writeBytes(m_path, first);
    QByteArray second;
    {
        IniDocument doc = IniDocument::fromBytes(first);
        doc.writeString(u"Alt", u"A_0", u"second"_s);
        second = doc.toBytes();
    }
    for (int round = 0; round < 12; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            IniFile file(m_path);
            for (int i = 0;; ++i)
                file.writeString(u"Alt", u"A_0", i % 2 ? u"x"_s : u"second"_s);
        }
        ::usleep(useconds_t(2000 + round * 1500));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const QByteArray now = readBytes(m_path);
        const IniDocument doc = IniDocument::fromBytes(now);
        const QString a0 = doc.readString(u"Alt", u"A_0", {});
        QVERIFY2(a0 == u"x"_s || a0 == u"second"_s, qPrintable(a0));
        QCOMPARE(now.size(), a0 == u"x"_s ? second.size() - 5 : second.size());
        QCOMPARE(doc.readString(u"QualM", u"K_2999", {}), QString(40, u'v'));
    }
}

void TestDurability::testStoreIntoFolderThatIsAFile()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"Задача.qzr"_s));
    IniFile file(m_path);
    QCOMPARE(file.readInteger(u"Alt", u"Count", 7), 7);
    try {
        file.writeString(u"Alt", u"A_0", u"x"_s);
        QFAIL("a store over a folder succeeded");
    } catch (const OptivarError& e) {
        QCOMPARE(e.message(), u"Unable to write to "_s + m_path);
    }
    QVERIFY(QFileInfo(m_path).isDir());
}

void TestDurability::testMissingFolder()
{
    const QString path = m_dir->filePath(u"DAT/Задача.qzr"_s);
    IniFile file(path);
    QVERIFY_THROWS_EXCEPTION(OptivarError, file.writeInteger(u"Alt", u"Count", 2));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(u"DAT"_s)));
}

void TestDurability::testNoReplace()
{
    writeBytes(m_path, "old");
    try {
        AtomicFile::write(m_path, "new", AtomicFile::Mode::NoReplace);
        QFAIL("an existing file was replaced");
    } catch (const OptivarError& e) {
        QCOMPARE(e.code(), OptivarError::Code::NameExists);
    }
    QCOMPARE(readBytes(m_path), QByteArray("old"));
    const QString other = m_dir->filePath(u"other.qzr"_s);
    AtomicFile::write(other, "new", AtomicFile::Mode::NoReplace);
    QCOMPARE(readBytes(other), QByteArray("new"));
    QCOMPARE(hiddenFiles(m_dir->path()), QStringList());
}

void TestDurability::testPermissionsKept()
{
    writeBytes(m_path, "[Alt]\r\n");
    QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0640) == 0);
    IniFile(m_path).writeString(u"Alt", u"A_0", u"x"_s);
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(m_path).constData(), &st) == 0);
    QCOMPARE(int(st.st_mode & 0777), 0640);
}

void TestDurability::testStoreKeepsWhatAnotherCopyWrote()
{
    IniFile mine(m_path);
    IniFile theirs(m_path);
    QCOMPARE(mine.readInteger(u"QualM", u"Q_0*Q_1", 1), 1); // mine has read the file once
    theirs.writeInteger(u"QualM", u"Q_0*Q_1", -3);
    mine.writeInteger(u"QualM", u"Q_0*Q_2", 5);
    theirs.writeInteger(u"QualM", u"Q_0*Q_1", 4); // the last writer of a key wins
    const IniDocument doc = IniDocument::fromBytes(readBytes(m_path));
    QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_1", 1), 4);
    QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_2", 1), 5);
}

void TestDurability::testReadsFollowTheDisk()
{
    IniFile file(m_path);
    file.writeString(u"Alt", u"A_0", u"one"_s);
    QCOMPARE(file.readString(u"Alt", u"A_0", {}), u"one"_s);
    // Another program edits the file in place, same size.
    writeBytes(m_path, "[Alt]\r\nA_0=two\r\n");
    QCOMPARE(file.readString(u"Alt", u"A_0", {}), u"two"_s);
    QVERIFY(QFile::remove(m_path));
    QCOMPARE(file.readString(u"Alt", u"A_0", u"gone"_s), u"gone"_s);
}

void TestDurability::testSectionRewriteIsOneReplacement()
{
    writeBytes(m_path, "[Qual]\r\nCount=9\r\n[Alt]\r\nCount=9\r\n");
    IniFile file(m_path);
    const int fd = ::inotify_init1(IN_NONBLOCK);
    QVERIFY(fd >= 0);
    QVERIFY(::inotify_add_watch(fd, QFile::encodeName(m_dir->path()).constData(), IN_MOVED_TO | IN_CLOSE_WRITE) >= 0);

    const QStringList steps = CompareStepsBuild::RebuildJudgements(file);
    QCOMPARE(steps.size(), 360);
    ProblemLists::Save(file, ProblemLists::Kind::Criteria,
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

QTEST_GUILESS_MAIN(TestDurability)
#include "test_durability.moc"
