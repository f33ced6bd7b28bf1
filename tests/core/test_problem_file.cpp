// The problem file through the operations the screens use: lists, judgements, the step list with its
// rebuild and captions, file copies, defaults and damaged files.
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

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;
using Kind = ProblemLists::Kind;

namespace {

QStringList names(const QList<TLElem>& items)
{
    QStringList out;
    for (const TLElem& e : items)
        out << u"%1:%2"_s.arg(e.Num).arg(e.Name);
    return out;
}

// One section of a file, its header line up to the next header.
QByteArray section(const QByteArray& file, const QByteArray& header)
{
    const qsizetype at = file.indexOf(header);
    const qsizetype next = file.indexOf("\n[", at + 1);
    return at < 0 ? QByteArray() : file.mid(at, next < 0 ? -1 : next + 1 - at);
}

// The failure a call ends in, as code and message; "none" when it succeeds.
template <typename F> QString failureOf(F&& f)
{
    try {
        f();
    } catch (const OptivarError& e) {
        return QString::number(int(e.code())) + u' ' + e.message();
    }
    return u"none"_s;
}

} // namespace

class TestProblemFile final : public QObject
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
        ComUnit::bindProblemIni(m_path);
        ComUnit::CompareSteps.clear();
        ComUnit::CurrentStep = 0;
    }
    void cleanup() { ComUnit::bindProblemIni(QString()); }

    void testNewFileReadsAsEmpty()
    {
        const auto snapshot = ComUnit::ProblemIni.snapshot();
        const IniDocument& doc = *snapshot;
        QCOMPARE((QList<int>{ProblemKeys::readCount(doc, ProblemKeys::AltSection),
                             ProblemKeys::readCount(doc, ProblemKeys::QualSection), ComUnit::ReadQualM(0, 1),
                             ComUnit::ReadAltM(0, 1, 2)}),
                 (QList<int>{0, 0, 1, 1}));
        QCOMPARE(ComUnit::ReadAltName(0), QString());
        QVERIFY(ProblemLists::load(ComUnit::ProblemIni, Kind::Criteria).isEmpty());
        QVERIFY(CompareStepsBuild::stepLines(doc).isEmpty());
        QVERIFY(!QFileInfo::exists(m_path)); // reading created nothing

        ComUnit::CompareSteps = QStringList{u"Q_0*Q_1=1"_s};
        ComUnit::CurrentStep = 4;
        ComUnit::prepareSharedState(m_dir->path());
        QCOMPARE(ComUnit::DatDir + u'|' + ComUnit::ProblemFile,
                 m_dir->path() + u"/DAT|"_s + m_dir->path() + u"/DAT/Задача.qzr"_s);
        QVERIFY(ComUnit::CompareSteps.isEmpty() && ComUnit::CurrentStep == 0);
        QVERIFY(!QFileInfo::exists(ComUnit::DatDir));
    }

    void testListLoading()
    {
        writeBytes(m_path, cp1251("[Alt]\r\nA_0=Дом\r\nA_2=Дача\r\nCount=3\r\nA_1=***НЕТ***\r\nA_11=далеко\r\n"
                                  "A_10=последняя\r\n[Qual]\r\nQ_0=Цена\r\nQ_1=") +
                               QByteArray(300, 'x') + "\r\n");
        QCOMPARE(names(ProblemLists::load(ComUnit::ProblemIni, Kind::Alternatives)),
                 (QStringList{u"0:Дом"_s, u"2:Дача"_s, u"10:последняя"_s}));
        QCOMPARE(names(ProblemLists::load(ComUnit::ProblemIni, Kind::Criteria)),
                 (QStringList{u"0:Цена"_s, u"1:"_s + QString(255, u'x')}));
    }

    void testListSaveRenumbers()
    {
        writeBytes(m_path, "; notes\r\n[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nA_7=old\r\nCount=4\r\n[Qual]\r\nQ_0=q\r\n");
        QList<TLElem> items;
        for (int i = 0; i < 12; ++i)
            items.append(TLElem(i + 5, u"имя %1"_s.arg(i)));
        ProblemLists::save(ComUnit::ProblemIni, Kind::Alternatives, items);
        const QByteArray file = readBytes(m_path);
        QVERIFY(file.startsWith(cp1251("; notes\r\n[Qual]\r\nQ_0=q\r\n[Alt]\r\nA_0=имя 0\r\nA_1=имя 1\r\n")));
        QVERIFY(!file.contains("A_7=old"));
        QCOMPARE(ComUnit::ProblemIni.readInteger(u"Alt", u"Count", 0), 12);
        // Only positions 0 to 10 come back.
        const QList<TLElem> loaded = ProblemLists::load(ComUnit::ProblemIni, Kind::Alternatives);
        QCOMPARE(loaded.size(), 11);
        QCOMPARE(names({loaded.last()}), QStringList{u"10:имя 10"_s});

        ProblemLists::save(ComUnit::ProblemIni, Kind::Alternatives, {});
        QCOMPARE(section(readBytes(m_path), "[Alt]"), QByteArray("[Alt]\r\nCount=0\r\n"));
    }

    void testJudgementsAndNames()
    {
        ComUnit::WriteQualM(0, 2, -5);
        ComUnit::WriteAltM(1, 3, 2, 7);
        QCOMPARE(ComUnit::ReadQualM(0, 2), -5);
        QCOMPARE(ComUnit::ReadAltM(1, 3, 2), 7);
        QCOMPARE(ComUnit::ReadAltM(1, 3, 1), 1);
        QCOMPARE(section(readBytes(m_path), "[QualM]"), QByteArray("[QualM]\r\nQ_0*Q_2=-5\r\nA_1*A_3&Q_2=7\r\n"));

        // The name readers drop what lies around a name up to the blank.
        writeBytes(m_path, "[Qual]\r\nQ_0=\"\x01 Price\t \"\r\nQ_1=***\r\n[Alt]\r\nA_0=' x '\r\n");
        QCOMPARE(ComUnit::ReadQualName(0), u"Price"_s);
        QCOMPARE(ComUnit::ReadQualName(1), u"***"_s);
        QCOMPARE(ComUnit::ReadQualName(2), QString());
        QCOMPARE(ComUnit::ReadAltName(0), u"x"_s);
    }

    // The rebuild leaves in "QualM" exactly the step lines, in step order, and every other section as it was.
    void testRebuild_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("steps");
        QTest::newRow("three criteria, two alternatives")
            << QByteArray("[Alt]\nCount=2\n[Qual]\nCount=3\n[QualM]\nA_0*A_1&Q_2=4\nQ_1*Q_2=-3\nQ_5*Q_6=9\n"
                          "A_0*A_3&Q_0=2\n[After]\nx=1\n")
            << u"Q_0*Q_1=1 Q_0*Q_2=1 Q_1*Q_2=-3 A_0*A_1&Q_0=1 A_0*A_1&Q_1=1 A_0*A_1&Q_2=4"_s;
        // Text reads as 1; every whole number stays as stored, though only -9..-2 and 2..9 weigh.
        QTest::newRow("values off the scale")
            << QByteArray("[Qual]\nCount=4\n[QualM]\nQ_0*Q_1=abc\nQ_0*Q_2=12\nq_1*q_2= -9 \nQ_0*Q_3=10\nQ_1*Q_3=0\n"
                          "Q_2*Q_3=-10\n")
            << u"Q_0*Q_1=1 Q_0*Q_2=12 Q_0*Q_3=10 Q_1*Q_2=-9 Q_1*Q_3=0 Q_2*Q_3=-10"_s;
        QTest::newRow("one alternative") << QByteArray("[Alt]\nCount=1\n[Qual]\nCount=2\n[QualM]\nQ_0*Q_1=9\n")
                                         << u"Q_0*Q_1=9"_s;
    }
    void testRebuild()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, steps);
        writeBytes(m_path, file);
        QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni).join(u' '), steps);
        const QByteArray after = readBytes(m_path);
        QCOMPARE(section(after, "[QualM]"), "[QualM]\r\n" + steps.toLatin1().replace(' ', "\r\n") + "\r\n");
        QCOMPARE(QByteArray(after).replace(section(after, "[QualM]"), ""),
                 QByteArray(file).replace(section(file, "[QualM]"), ""));
    }

    // "Count" is kept within 0 to 30; the longest step list is built at once.
    void testCounts()
    {
        const std::pair<QByteArray, int> rows[] = {{"9", 9},           {"-5", 0},          {"30", 30},
                                                   {"2000000000", 30}, {"99999999999", 0}, {"много", 0}};
        for (const auto& [count, expected] : rows) {
            writeBytes(m_path, "[Qual]\r\nCount=" + count + "\r\n[Alt]\r\nCount=" + count + "\r\n");
            QCOMPARE(ProblemKeys::readCount(*ComUnit::ProblemIni.snapshot(), u"Qual"), expected);
            QElapsedTimer t;
            t.start();
            QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni).size(),
                     expected * (expected - 1) / 2 * (1 + expected));
            QVERIFY(t.elapsed() < 2000);
        }
    }

    // Alternative 0 of three deleted on the list screen: the rest move up one position, their judgements with
    // them; adding an item keeps every key where it is.
    void testRebuildAfterDeletingAnAlternative()
    {
        writeBytes(m_path, "[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=q\r\nQ_1=r\r\nCount=2\r\n"
                           "[QualM]\r\nQ_0*Q_1=2\r\nA_0*A_1&Q_0=-4\r\nA_0*A_2&Q_0=5\r\nA_1*A_2&Q_0=6\r\n"
                           "A_0*A_1&Q_1=3\r\nA_0*A_2&Q_1=7\r\nA_1*A_2&Q_1=8\r\n");
        ProblemLists::save(ComUnit::ProblemIni, Kind::Alternatives, {TLElem(0, u"b"_s), TLElem(1, u"c"_s)}, {1, 2});
        QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni),
                 (QStringList{u"Q_0*Q_1=2"_s, u"A_0*A_1&Q_0=6"_s, u"A_0*A_1&Q_1=8"_s}));
        const QByteArray before = section(readBytes(m_path), "[QualM]");
        ProblemLists::save(ComUnit::ProblemIni, Kind::Alternatives,
                           {TLElem(0, u"b"_s), TLElem(1, u"c"_s), TLElem(2, u"d"_s)}, {0, 1, -1});
        QCOMPARE(section(readBytes(m_path), "[QualM]"), before);
    }

    // One section's entries, written "key=value" with blanks between.
    void testRemapJudgements_data()
    {
        QTest::addColumn<bool>("criteria");
        QTest::addColumn<QList<int>>("map");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<int>>("judged"); // positions hasJudgements finds in "before"
        QTest::newRow("criterion 1 of 3 deleted")
            << true << QList<int>{0, -1, 1}
            << u"Q_0*Q_1=3 Q_0*Q_2=5 Q_1*Q_2=7 A_0*A_1&Q_0=2 A_0*A_1&Q_1=4 A_0*A_1&Q_2=-6"_s
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
            << false << QList<int>{0, 1}
            << u"A_0*A_1&Q_7=3 A_1*A_4&Q_0=1 a_0*a_1&q_1=5 A_01*A_2&Q_0=5 A_1*A_0&Q_0=5 x=1"_s
            << u"A_0*A_1&Q_7=3 A_0*A_1&Q_1=5 A_01*A_2&Q_0=5 A_1*A_0&Q_0=5 x=1"_s << QList<int>{0, 1, 4};
        QTest::newRow("a criterion deleted keeps the alternatives of others")
            << true << QList<int>{-1, 0} << u"A_3*A_4&Q_1=7 A_0*A_1&Q_0=2 Q_0*Q_1=6"_s << u"A_3*A_4&Q_0=7"_s
            << QList<int>{0, 1};
    }
    void testRemapJudgements()
    {
        QFETCH(bool, criteria);
        QFETCH(QList<int>, map);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QList<int>, judged);
        const Kind kind = criteria ? Kind::Criteria : Kind::Alternatives;
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

    // The parts of a line by kind, -1 to 6.
    void testStepParts_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("alternatives") << u"A_0*A_2&Q_1=5"_s
                                      << QStringList{{},       u"A_0*A_2&Q_1"_s, u"A_0"_s, u"A_2&Q_1"_s,
                                                     u"Q_1"_s, u"A_0"_s,         u"A_2"_s, {}};
        QTest::newRow("criteria") << u"Q_0*Q_1=-3"_s
                                  << QStringList{{}, u"Q_0*Q_1"_s, u"Q_0"_s, u"Q_1"_s, {}, u"Q_0"_s, u"Q_1"_s, {}};
    }
    void testStepParts()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, parts);
        ComUnit::CompareSteps = QStringList{u"Q_0*Q_1=1"_s, line};
        ComUnit::CurrentStep = 1;
        for (int kind = -1; kind <= 6; ++kind) {
            const QString& part = parts.at(kind + 1);
            QCOMPARE(ComUnit::stepLinePart(line, kind), part);
            QCOMPARE(ComUnit::StepPart(kind), part);
            QCOMPARE(ComUnit::StepPartAt(kind, 1), part);
            QCOMPARE(ComUnit::StepPartAt(kind, 2), QString());
            QCOMPARE(ComUnit::StepPartAt(kind, -1), QString());
        }
    }

    // The caption of a step: "?" for a name the file lacks, an empty name as it stands, cut after 255.
    void testCaption_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("caption");
        const QByteArray named = cp1251("[Alt]\r\nA_0=Налево\r\nA_1=Направо\r\nA_3=Прямо\r\nCount=4\r\n"
                                        "[Qual]\r\nQ_0=Цена\r\nQ_2=Качество\r\nCount=3\r\n");
        QTest::newRow("criteria") << named << u"Q_0*Q_2=5"_s << u"Цена и Качество"_s;
        QTest::newRow("alternatives") << named << u"A_1*A_3&Q_2=-4"_s << u"Направо и Прямо [Качество]."_s;
        QTest::newRow("missing criterion") << named << u"Q_0*Q_1=1"_s << u"Цена и ?"_s;
        QTest::newRow("missing criterion of alternatives") << named << u"A_0*A_1&Q_1=1"_s << u"Налево и Направо [?]."_s;
        QTest::newRow("missing alternative") << named << u"A_2*A_3&Q_0=1"_s << u"? и Прямо [Цена]."_s;
        QTest::newRow("empty file") << QByteArray() << u"A_0*A_1&Q_0=1"_s << u"? и ? [?]."_s;
        QTest::newRow("empty name stays empty")
            << QByteArray("[Qual]\r\nQ_0=\r\nQ_1=b\r\n") << u"Q_0*Q_1=abc"_s << u" и b"_s;
        // "A и B" is 3 characters longer than the two names.
        const QByteArray a(100, 'a');
        for (const int b : {151, 152, 153}) {
            QTest::addRow("criteria caption of %d", b + 103)
                << "[Qual]\r\nQ_0=" + a + "\r\nQ_1=" + QByteArray(b, 'b') + "\r\n"
                << u"Q_0*Q_1=1"_s << (QString(100, u'a') + u" и "_s + QString(b, u'b')).left(255);
        }
    }
    void testCaption()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, line);
        QFETCH(QString, caption);
        QCOMPARE(CompareStepsBuild::stepCaption(IniDocument::fromBytes(file), line), caption);
    }

    void testCaptionsOfRebuiltSteps()
    {
        const IniDocument doc = IniDocument::fromBytes("[Alt]\r\nA_0=x\r\nA_1=y\r\nCount=2\r\n"
                                                       "[Qual]\r\nQ_0=p\r\nQ_1=" +
                                                       QByteArray(300, 'q') + "\r\nQ_2=r\r\nCount=3\r\n");
        QCOMPARE(CompareStepsBuild::stepCaptions(doc, CompareStepsBuild::stepLines(doc)),
                 (QStringList{u"p и "_s + QString(251, u'q'), u"p и r"_s, QString(255, u'q'), u"x и y [p]."_s,
                              u"x и y ["_s + QString(248, u'q'), u"x и y [r]."_s}));
        QVERIFY(CompareStepsBuild::stepCaptions(doc, {}).isEmpty());
    }

    // A copy takes the source's bytes and date, in blocks of 32768.
    void testCopyDataFile_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {0, 32767, 32768, 100001})
            QTest::addRow("%d bytes", size) << size;
    }
    void testCopyDataFile()
    {
        QFETCH(int, size);
        QByteArray content(size, Qt::Uninitialized);
        for (char& c : content)
            c = char(QRandomGenerator::global()->bounded(256));
        const QString source = m_dir->filePath(u"Квартира.qzr"_s);
        writeBytes(source, content);
        const QDateTime when(QDate(2009, 3, 14), QTime(15, 9, 26, 535), Qt::UTC);
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime));
        }
        const QString target = m_dir->filePath(u"Шаблон Квартира.qzp"_s);
        writeBytes(target, "an older template");
        ComUnit::CopyDataFile(source, target);
        QCOMPARE(readBytes(target), content);
        QCOMPARE(QFileInfo(target).lastModified().toUTC(), when);
    }

    void testCopyFailures()
    {
        const QString target = m_dir->filePath(u"t.qzp"_s);
        const auto code = [](OptivarError::Code c) { return QString::number(int(c)) + u' '; };
        QCOMPARE(failureOf([&] { ComUnit::CopyDataFile(m_dir->filePath(u"нет.qzr"_s), target); }),
                 code(OptivarError::Code::NotFound) + u"File not found"_s);
        QVERIFY(QDir(m_dir->path()).mkdir(u"папка.qzr"_s));
        QVERIFY(failureOf([&] {
                    ComUnit::CopyDataFile(m_dir->filePath(u"папка.qzr"_s), target);
                }).contains(u" I/O error "_s));
        QVERIFY(!QFileInfo::exists(target));

        writeBytes(m_path, "new");
        writeBytes(target, "keep");
        QVERIFY(failureOf([&] {
                    ComUnit::CopyDataFile(m_path, target, false);
                }).startsWith(code(OptivarError::Code::NameExists)));
        QCOMPARE(readBytes(target), QByteArray("keep"));
        QVERIFY(failureOf([&] {
                    ComUnit::CopyDataFile(m_path, m_dir->filePath(u"нет/t.qzp"_s));
                }).endsWith(u" Ошибка копирования файла."_s));
    }

    void testDamagedFiles()
    {
        // Binary noise with a NUL byte and no line ends reads as defaults; a store keeps it and adds its section.
        QByteArray noise(4096, Qt::Uninitialized);
        for (char& c : noise)
            c = char(QRandomGenerator::global()->bounded(256));
        noise[10] = '\0';
        writeBytes(m_path, noise);
        QCOMPARE(ComUnit::ReadQualM(0, 1), 1);
        ComUnit::WriteQualM(0, 1, 3);
        QVERIFY(readBytes(m_path).startsWith(noise));
        QCOMPARE(ComUnit::ReadQualM(0, 1), 3);

        writeBytes(m_path, "[Alt]\r\nA_0=" + QByteArray(1000000, 'x') + "\r\nCount=1\r\n");
        QCOMPARE(ComUnit::ReadAltName(0).size(), ComUnit::MaxNameLength);
        QCOMPARE(ProblemKeys::readCount(*ComUnit::ProblemIni.snapshot(), u"Alt"), 1);

        // A file too large to be a problem: read as empty, never rewritten.
        const QByteArray huge = "[Alt]\r\nCount=5\r\n" + QByteArray(IniFile::MaxFileSize, ';');
        writeBytes(m_path, huge);
        QCOMPARE(ProblemKeys::readCount(*ComUnit::ProblemIni.snapshot(), u"Alt"), 0);
        QVERIFY_THROWS_EXCEPTION(OptivarError, ComUnit::WriteQualM(0, 1, 2));
        QCOMPARE(QFileInfo(m_path).size(), huge.size());
    }
};

QTEST_GUILESS_MAIN(TestProblemFile)
#include "test_problem_file.moc"
