// The problem file through the operations the screens use: lists, judgements,
// the rebuild of the step list, file copies, defaults and damaged files.
#include "compare/CompareStepsBuild.h"
#include "storage/ComUnit.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"

#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

QStringList names(const QList<TLElem>& items)
{
    QStringList out;
    for (const TLElem& e : items)
        out << u"%1:%2"_s.arg(e.Num).arg(e.Name);
    return out;
}

QByteArray section(const QByteArray& file, const QByteArray& header)
{
    const qsizetype at = file.indexOf(header);
    if (at < 0)
        return {};
    const qsizetype next = file.indexOf("\n[", at + 1);
    return file.mid(at, next < 0 ? -1 : next + 1 - at);
}

} // namespace

class TestProblemFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void testNewFileReadsAsEmpty();
    void testSharedStateAtStart();
    void testListLoading();
    void testListSaveRenumbers();
    void testJudgementAccess();
    void testNameReadersTrim();
    void testStepOrderAndRebuild();
    void testRebuildAfterDeletingAnAlternative();
    void testRemapJudgements_data();
    void testRemapJudgements();
    void testRebuildKeepsOddValues();
    void testStepParts_data();
    void testStepParts();
    void testCopyDataFile_data();
    void testCopyDataFile();
    void testCopyFailures();
    void testCounts_data();
    void testCounts();
    void testDamagedFiles();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestProblemFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"Задача.qzr"_s);
    ComUnit::bindProblemIni(m_path);
    ComUnit::CompareSteps.clear();
    ComUnit::CurrentStep = 0;
}

void TestProblemFile::cleanup()
{
    ComUnit::bindProblemIni(QString());
}

void TestProblemFile::testNewFileReadsAsEmpty()
{
    const auto snapshot = ComUnit::ProblemIni.snapshot();
    const IniDocument& doc = *snapshot;
    QCOMPARE(ProblemKeys::readCount(doc, ProblemKeys::AltSection), 0);
    QCOMPARE(ProblemKeys::readCount(doc, ProblemKeys::QualSection), 0);
    QCOMPARE(ComUnit::ReadQualM(0, 1), 1);
    QCOMPARE(ComUnit::ReadAltM(0, 1, 2), 1);
    QCOMPARE(ComUnit::ReadAltName(0), QString());
    QVERIFY(ProblemLists::load(ComUnit::ProblemIni, ProblemLists::Kind::Criteria).isEmpty());
    QVERIFY(CompareStepsBuild::stepLines(doc).isEmpty());
    QVERIFY(!QFileInfo::exists(m_path)); // reading created nothing
}

void TestProblemFile::testSharedStateAtStart()
{
    ComUnit::CompareSteps = QStringList{u"Q_0*Q_1=1"_s};
    ComUnit::CurrentStep = 4;
    ComUnit::prepareSharedState(m_dir->path());
    QCOMPARE(ComUnit::DatDir, m_dir->path() + u"/DAT"_s);
    QCOMPARE(ComUnit::ProblemFile, m_dir->path() + u"/DAT/Задача.qzr"_s);
    QVERIFY(ComUnit::CompareSteps.isEmpty());
    QCOMPARE(ComUnit::CurrentStep, 0);
    QVERIFY(!QFileInfo::exists(ComUnit::DatDir));
}

void TestProblemFile::testListLoading()
{
    writeBytes(m_path, cp1251("[Alt]\r\nA_0=Дом\r\nA_2=Дача\r\nCount=3\r\nA_1=***НЕТ***\r\nA_11=далеко\r\n"
                              "A_10=последняя\r\n[Qual]\r\nQ_0=Цена\r\n"));
    QCOMPARE(names(ProblemLists::load(ComUnit::ProblemIni, ProblemLists::Kind::Alternatives)),
             (QStringList{u"0:Дом"_s, u"2:Дача"_s, u"10:последняя"_s}));
    QCOMPARE(names(ProblemLists::load(ComUnit::ProblemIni, ProblemLists::Kind::Criteria)), QStringList{u"0:Цена"_s});

    // A name longer than 255 characters loads cut.
    ComUnit::ProblemIni.writeString(u"Qual", u"Q_1", QString(300, u'д'));
    QCOMPARE(ProblemLists::load(ComUnit::ProblemIni, ProblemLists::Kind::Criteria).at(1).Name, QString(255, u'д'));
}

void TestProblemFile::testListSaveRenumbers()
{
    writeBytes(m_path,
               cp1251("; notes\r\n[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nA_7=old\r\nCount=4\r\n[Qual]\r\nQ_0=q\r\n"));
    QList<TLElem> items;
    for (int i = 0; i < 12; ++i)
        items.append(TLElem(i + 5, u"имя %1"_s.arg(i)));
    ProblemLists::save(ComUnit::ProblemIni, ProblemLists::Kind::Alternatives, items);
    const QByteArray file = readBytes(m_path);
    QVERIFY(file.startsWith(cp1251("; notes\r\n[Qual]\r\nQ_0=q\r\n[Alt]\r\nA_0=имя 0\r\n")));
    QVERIFY(!file.contains("A_7=old"));
    QCOMPARE(ComUnit::ProblemIni.readInteger(u"Alt", u"Count", 0), 12);
    // Only positions 0 to 10 come back.
    const QList<TLElem> loaded = ProblemLists::load(ComUnit::ProblemIni, ProblemLists::Kind::Alternatives);
    QCOMPARE(loaded.size(), 11);
    QCOMPARE(loaded.last().Num, 10);
    QCOMPARE(loaded.last().Name, u"имя 10"_s);

    ProblemLists::save(ComUnit::ProblemIni, ProblemLists::Kind::Alternatives, {});
    QCOMPARE(section(readBytes(m_path), "[Alt]"), QByteArray("[Alt]\r\nCount=0\r\n"));
}

void TestProblemFile::testJudgementAccess()
{
    ComUnit::WriteQualM(0, 2, -5);
    ComUnit::WriteAltM(1, 3, 2, 7);
    QCOMPARE(ComUnit::ReadQualM(0, 2), -5);
    QCOMPARE(ComUnit::ReadAltM(1, 3, 2), 7);
    QCOMPARE(ComUnit::ReadAltM(1, 3, 1), 1);
    QCOMPARE(section(readBytes(m_path), "[QualM]"), QByteArray("[QualM]\r\nQ_0*Q_2=-5\r\nA_1*A_3&Q_2=7\r\n"));
}

void TestProblemFile::testNameReadersTrim()
{
    writeBytes(m_path, "[Qual]\r\nQ_0=\"\x01 Price\t \"\r\nQ_1=***\r\n[Alt]\r\nA_0=' x '\r\n");
    QCOMPARE(ComUnit::ReadQualName(0), u"Price"_s);
    QCOMPARE(ComUnit::ReadQualName(1), u"***"_s);
    QCOMPARE(ComUnit::ReadQualName(2), QString());
    QCOMPARE(ComUnit::ReadAltName(0), u"x"_s);
}

void TestProblemFile::testStepOrderAndRebuild()
{
    writeBytes(m_path, "[Alt]\r\nCount=2\r\n[Qual]\r\nCount=3\r\n[QualM]\r\nA_0*A_1&Q_2=4\r\nQ_1*Q_2=-3\r\n"
                       "Q_5*Q_6=9\r\nA_0*A_3&Q_0=2\r\n[After]\r\nx=1\r\n");
    const QStringList steps = CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni);
    QCOMPARE(steps, (QStringList{u"Q_0*Q_1=1"_s, u"Q_0*Q_2=1"_s, u"Q_1*Q_2=-3"_s, u"A_0*A_1&Q_0=1"_s,
                                 u"A_0*A_1&Q_1=1"_s, u"A_0*A_1&Q_2=4"_s}));
    const QByteArray file = readBytes(m_path);
    QCOMPARE(section(file, "[QualM]"), QByteArray("[QualM]\r\nQ_0*Q_1=1\r\nQ_0*Q_2=1\r\nQ_1*Q_2=-3\r\n"
                                                  "A_0*A_1&Q_0=1\r\nA_0*A_1&Q_1=1\r\nA_0*A_1&Q_2=4\r\n"));
    QVERIFY(file.startsWith("[Alt]\r\nCount=2\r\n[Qual]\r\nCount=3\r\n[After]\r\nx=1\r\n"));

    // 9 criteria and 9 alternatives: the largest step list.
    writeBytes(m_path, "[Alt]\r\nCount=9\r\n[Qual]\r\nCount=9\r\n");
    QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni).size(), 36 + 9 * 36);
}

void TestProblemFile::testRebuildAfterDeletingAnAlternative()
{
    writeBytes(m_path, "[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=q\r\nQ_1=r\r\nCount=2\r\n"
                       "[QualM]\r\nQ_0*Q_1=2\r\nA_0*A_1&Q_0=-4\r\nA_0*A_2&Q_0=5\r\nA_1*A_2&Q_0=6\r\n"
                       "A_0*A_1&Q_1=3\r\nA_0*A_2&Q_1=7\r\nA_1*A_2&Q_1=8\r\n");
    // Alternative 0 is deleted on the list screen: the rest move up one position, their judgements with them.
    ProblemLists::save(ComUnit::ProblemIni, ProblemLists::Kind::Alternatives, {TLElem(0, u"b"_s), TLElem(1, u"c"_s)},
                       {1, 2});
    const QStringList steps = CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni);
    QCOMPARE(steps, (QStringList{u"Q_0*Q_1=2"_s, u"A_0*A_1&Q_0=6"_s, u"A_0*A_1&Q_1=8"_s}));
    // Adding an item keeps every key where it is.
    const QByteArray before = section(readBytes(m_path), "[QualM]");
    ProblemLists::save(ComUnit::ProblemIni, ProblemLists::Kind::Alternatives,
                       {TLElem(0, u"b"_s), TLElem(1, u"c"_s), TLElem(2, u"d"_s)}, {0, 1, -1});
    QCOMPARE(section(readBytes(m_path), "[QualM]"), before);
}

void TestProblemFile::testRemapJudgements_data()
{
    QTest::addColumn<bool>("criteria");
    QTest::addColumn<QList<int>>("map");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QList<int>>("judged"); // positions hasJudgements finds in "before"
    QTest::newRow("criterion 1 of 3 deleted")
        << true << QList<int>{0, -1, 1} << u"Q_0*Q_1=3 Q_0*Q_2=5 Q_1*Q_2=7 A_0*A_1&Q_0=2 A_0*A_1&Q_1=4 A_0*A_1&Q_2=-6"_s
        << u"Q_0*Q_1=5 A_0*A_1&Q_0=2 A_0*A_1&Q_1=-6"_s << QList<int>{0, 1, 2};
    QTest::newRow("alternative 0 of 3 deleted")
        << false << QList<int>{-1, 0, 1} << u"Q_0*Q_1=3 A_0*A_1&Q_0=2 A_0*A_2&Q_0=4 A_1*A_2&Q_0=-5 A_1*A_2&Q_1=9"_s
        << u"Q_0*Q_1=3 A_0*A_1&Q_0=-5 A_0*A_1&Q_1=9"_s << QList<int>{0, 1, 2};
    QTest::newRow("order turned round") << true << QList<int>{1, 0} << u"Q_0*Q_1=4 A_0*A_1&Q_0=2 A_0*A_1&Q_1=3"_s
                                        << u"Q_0*Q_1=-4 A_0*A_1&Q_1=2 A_0*A_1&Q_0=3"_s << QList<int>{0, 1};
    QTest::newRow("turned round, equal and unusable values stay")
        << false << QList<int>{2, 1, 0} << u"A_0*A_1&Q_0=1 A_0*A_2&Q_0=-9 A_1*A_2&Q_0=abc A_0*A_1&Q_1=12"_s
        << u"A_1*A_2&Q_0=1 A_0*A_2&Q_0=9 A_0*A_1&Q_0=abc A_1*A_2&Q_1=12"_s << QList<int>{0, 1, 2};
    QTest::newRow("beyond the map gone, keys never read as judgements kept")
        << false << QList<int>{0, 1} << u"A_0*A_1&Q_7=3 A_1*A_4&Q_0=1 a_0*a_1&q_1=5 A_01*A_2&Q_0=5 A_1*A_0&Q_0=5 x=1"_s
        << u"A_0*A_1&Q_7=3 A_0*A_1&Q_1=5 A_01*A_2&Q_0=5 A_1*A_0&Q_0=5 x=1"_s << QList<int>{0, 1, 4};
    QTest::newRow("a criterion deleted keeps the alternatives of others")
        << true << QList<int>{-1, 0} << u"A_3*A_4&Q_1=7 A_0*A_1&Q_0=2 Q_0*Q_1=6"_s << u"A_3*A_4&Q_0=7"_s
        << QList<int>{0, 1};
}

// One section's entries, written "key=value" with blanks between.
void TestProblemFile::testRemapJudgements()
{
    QFETCH(bool, criteria);
    QFETCH(QList<int>, map);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QList<int>, judged);
    const auto kind = criteria ? ProblemLists::Kind::Criteria : ProblemLists::Kind::Alternatives;
    IniDocument doc;
    QList<IniDocument::Entry> entries;
    for (const QString& e : before.split(u' ')) {
        entries.append({e.section(u'=', 0, 0), e.section(u'=', 1)});
        doc.writeString(u"QualM", entries.last().first, entries.last().second);
    }
    QStringList out;
    for (const auto& [key, value] : ProblemLists::remapJudgements(entries, kind, map))
        out << key + u'=' + value;
    QCOMPARE(out.join(u' '), after);
    QList<int> found;
    for (int p = 0; p < 6; ++p) {
        if (ProblemLists::hasJudgements(doc, kind, p))
            found << p;
    }
    QCOMPARE(found, judged);
}

void TestProblemFile::testRebuildKeepsOddValues()
{
    writeBytes(m_path, "[Qual]\r\nCount=3\r\n[QualM]\r\nQ_0*Q_1=abc\r\nQ_0*Q_2=12\r\nq_1*q_2= -9 \r\n");
    QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni),
             (QStringList{u"Q_0*Q_1=1"_s, u"Q_0*Q_2=12"_s, u"Q_1*Q_2=-9"_s}));
    QCOMPARE(section(readBytes(m_path), "[QualM]"), QByteArray("[QualM]\r\nQ_0*Q_1=1\r\nQ_0*Q_2=12\r\nQ_1*Q_2=-9\r\n"));
}

void TestProblemFile::testStepParts_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("part");
    const QString a = u"A_0*A_2&Q_1=5"_s;
    const QString q = u"Q_0*Q_1=-3"_s;
    QTest::newRow("alt key") << a << 0 << u"A_0*A_2&Q_1"_s;
    QTest::newRow("alt first") << a << 1 << u"A_0"_s;
    QTest::newRow("alt kind 2 runs to =") << a << 2 << u"A_2&Q_1"_s;
    QTest::newRow("alt criterion") << a << 3 << u"Q_1"_s;
    QTest::newRow("alt first again") << a << 4 << u"A_0"_s;
    QTest::newRow("alt second") << a << 5 << u"A_2"_s;
    QTest::newRow("alt other kind") << a << 6 << QString();
    QTest::newRow("crit key") << q << 0 << u"Q_0*Q_1"_s;
    QTest::newRow("crit first") << q << 1 << u"Q_0"_s;
    QTest::newRow("crit second") << q << 2 << u"Q_1"_s;
    QTest::newRow("crit no criterion") << q << 3 << QString();
    QTest::newRow("crit second by 5") << q << 5 << u"Q_1"_s;
    QTest::newRow("negative kind") << q << -1 << QString();
}

void TestProblemFile::testStepParts()
{
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(QString, part);
    QCOMPARE(ComUnit::stepLinePart(line, kind), part);
    ComUnit::CompareSteps = QStringList{u"Q_0*Q_1=1"_s, line};
    ComUnit::CurrentStep = 1;
    QCOMPARE(ComUnit::StepPart(kind), part);
    QCOMPARE(ComUnit::StepPartAt(kind, 1), part);
    QCOMPARE(ComUnit::StepPartAt(kind, 2), QString());
    QCOMPARE(ComUnit::StepPartAt(kind, -1), QString());
}

void TestProblemFile::testCopyDataFile_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one block less one") << 32767;
    QTest::newRow("exactly one block") << 32768;
    QTest::newRow("several blocks") << 100001;
}

void TestProblemFile::testCopyDataFile()
{
    QFETCH(int, size);
    QByteArray content(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        content[i] = char(QRandomGenerator::global()->bounded(256));
    const QString source = m_dir->filePath(u"Квартира.qzr"_s);
    writeBytes(source, content);
    const QDateTime when(QDate(2009, 3, 14), QTime(15, 9, 26, 535), Qt::UTC);
    {
        QFile f(source);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    const QString target = m_dir->filePath(u"Шаблон Квартира.qzp"_s);
    writeBytes(target, "an older template");
    ComUnit::CopyDataFile(source, target);
    QCOMPARE(readBytes(target), content);
    QCOMPARE(QFileInfo(target).lastModified().toUTC(), when);
}

void TestProblemFile::testCopyFailures()
{
    const QString target = m_dir->filePath(u"t.qzp"_s);
    try {
        ComUnit::CopyDataFile(m_dir->filePath(u"нет.qzr"_s), target);
        QFAIL("copied a missing file");
    } catch (const OptivarError& e) {
        QCOMPARE(e.message(), u"File not found"_s);
    }
    QVERIFY(QDir(m_dir->path()).mkdir(u"папка.qzr"_s));
    try {
        ComUnit::CopyDataFile(m_dir->filePath(u"папка.qzr"_s), target);
        QFAIL("copied a folder");
    } catch (const OptivarError& e) {
        QVERIFY2(e.message().startsWith(u"I/O error "_s), qPrintable(e.message()));
    }
    QVERIFY(!QFileInfo::exists(target));

    writeBytes(m_path, "new");
    writeBytes(target, "keep");
    try {
        ComUnit::CopyDataFile(m_path, target, false);
        QFAIL("replaced a file it must keep");
    } catch (const OptivarError& e) {
        QCOMPARE(e.code(), OptivarError::Code::NameExists);
    }
    QCOMPARE(readBytes(target), QByteArray("keep"));
    try {
        ComUnit::CopyDataFile(m_path, m_dir->filePath(u"нет/t.qzp"_s));
        QFAIL("copied into a missing folder");
    } catch (const OptivarError& e) {
        QCOMPARE(e.message(), u"Ошибка копирования файла."_s);
    }
}

void TestProblemFile::testCounts_data()
{
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("normal") << QByteArray("4") << 4;
    QTest::newRow("negative") << QByteArray("-5") << 0;
    QTest::newRow("huge") << QByteArray("2000000000") << ProblemKeys::MaxItemCount;
    QTest::newRow("at bound") << QByteArray::number(ProblemKeys::MaxItemCount) << ProblemKeys::MaxItemCount;
    QTest::newRow("beyond 32 bits") << QByteArray("99999999999") << 0;
    QTest::newRow("text") << QByteArray("много") << 0;
}

void TestProblemFile::testCounts()
{
    QFETCH(QByteArray, count);
    QFETCH(int, expected);
    writeBytes(m_path, "[Qual]\r\nCount=" + count + "\r\n[Alt]\r\nCount=" + count + "\r\n");
    QCOMPARE(ProblemKeys::readCount(*ComUnit::ProblemIni.snapshot(), u"Qual"), expected);
    QElapsedTimer t;
    t.start();
    const QStringList steps = CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni);
    QCOMPARE(steps.size(), expected * (expected - 1) / 2 * (1 + expected));
    QVERIFY(t.elapsed() < 2000);
}

void TestProblemFile::testDamagedFiles()
{
    // Binary noise with a NUL byte and no line ends reads as defaults.
    QByteArray noise(4096, Qt::Uninitialized);
    for (char& c : noise)
        c = char(QRandomGenerator::global()->bounded(256));
    noise[10] = '\0';
    writeBytes(m_path, noise);
    QCOMPARE(ComUnit::ReadQualM(0, 1), 1);
    ComUnit::WriteQualM(0, 1, 3); // a store keeps the noise and adds its section
    QVERIFY(readBytes(m_path).startsWith(noise));
    QCOMPARE(ComUnit::ReadQualM(0, 1), 3);

    // A line of a million characters.
    writeBytes(m_path, "[Alt]\r\nA_0=" + QByteArray(1000000, 'x') + "\r\nCount=1\r\n");
    QCOMPARE(ComUnit::ReadAltName(0).size(), ComUnit::MaxNameLength);
    QCOMPARE(ProblemKeys::readCount(*ComUnit::ProblemIni.snapshot(), u"Alt"), 1);

    // A file too large to be a problem: read as empty, never rewritten.
    QByteArray huge = "[Alt]\r\nCount=5\r\n" + QByteArray(IniFile::MaxFileSize, ';');
    writeBytes(m_path, huge);
    QCOMPARE(ProblemKeys::readCount(*ComUnit::ProblemIni.snapshot(), u"Alt"), 0);
    QVERIFY_THROWS_EXCEPTION(OptivarError, ComUnit::WriteQualM(0, 1, 2));
    QCOMPARE(QFileInfo(m_path).size(), huge.size());
}

QTEST_GUILESS_MAIN(TestProblemFile)
#include "test_problem_file.moc"
