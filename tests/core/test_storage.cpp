// The problem file and the data folder: the INI format as the Windows private-profile functions read and write
// it; the operations the screens use (lists, judgements, the step list with its rebuild and captions, copies,
// damaged files); the folder's listing, names, flows and templates.
#include "compare/CompareStepsBuild.h"
#include "storage/CodePage.h"
#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemDirectory.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"
#include "storage/ProblemTemplates.h"

#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <type_traits>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;
using TestSupport::readBytes;
using TestSupport::writeBytes;
using List = ProblemLists::Kind;
using Folder = ProblemDirectory::Kind;

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

// What a call returns, as "=" and its text, or how it fails: the name of the error's code, a blank and its message.
template <typename F> QString outcome(F&& f)
{
    try {
        if constexpr (std::is_void_v<decltype(f())>) {
            f();
            return u"="_s;
        } else {
            return u'=' + f();
        }
    } catch (const OptivarError& e) {
        static const char* const codes[] = {"WriteFailed", "CopyFailed", "NotFound",
                                            "IoError",     "BadName",    "NameExists"};
        return QLatin1String(codes[int(e.code())]) + u' ' + e.message();
    }
}

const QString BadChars = u"BadName Имя не может содержать символы \\ / : * ? \" < > |."_s;

} // namespace

class TestStorage final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path; // the problem file bound to the shared state
    QString m_dat;  // a data folder beside it

    QString problem(const QString& name) const { return ProblemDirectory::filePath(m_dat, name, Folder::Problems); }
    QString templ(const QString& name) const { return ProblemDirectory::filePath(m_dat, name, Folder::Templates); }

    // The entries of the data folder as "name=content", a folder as "name/".
    QStringList entries() const
    {
        QStringList out;
        for (const QFileInfo& e :
             QDir(m_dat).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
            out << e.fileName() + (e.isDir() ? u"/"_s : u'=' + QString::fromUtf8(readBytes(e.filePath())));
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(u"Задача.qzr"_s);
        m_dat = m_dir->filePath(u"DAT"_s);
        QVERIFY(QDir().mkpath(m_dat));
        ComUnit::bindProblemIni(m_path);
        ComUnit::CompareSteps.clear();
        ComUnit::CurrentStep = 0;
    }
    void cleanup() { ComUnit::bindProblemIni(QString()); }

    // ---- The INI format

    void testReading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected"); // of key A_0 in section Alt; "<missing>" when there is none
        const auto row = [](const char* name, const QByteArray& file, const QString& expected) {
            QTest::newRow(name) << file << expected;
        };
        row("cp1251", cp1251("[Alt]\r\nA_0=Квартира в центре\r\n"), u"Квартира в центре"_s);
        row("section case", "[ALT]\r\nA_0=x\r\n", u"x"_s);
        row("key case", "[alt]\r\na_0=x\r\n", u"x"_s);
        row("first of two keys", "[Alt]\r\nA_0=first\r\nA_0=second\r\n", u"first"_s);
        row("first across repeated sections", "[Alt]\r\nA_0=first\r\n[Qual]\r\n[alt]\r\nA_0=second\r\n", u"first"_s);
        row("in a repeated section", "[Alt]\r\nA_1=x\r\n[Qual]\r\n[alt]\r\nA_0=later\r\n", u"later"_s);
        row("blanks around key and value", "[Alt]\r\n  A_0 \t=  \tx y \t \r\n", u"x y"_s);
        row("blanks around header", "  [ Alt ]  \r\nA_0=x\r\n", u"x"_s);
        row("line without =", "[Alt]\r\nA_0\r\nA_0=y\r\n", u"y"_s);
        row("value with =", "[Alt]\r\nA_0=a=b==c\r\n", u"a=b==c"_s);
        row("LF only, no end", "[Alt]\nA_1=x\nA_0=y", u"y"_s);
        row("mixed ends", "[Alt]\r\nA_1=x\nA_0=y\r\n", u"y"_s);
        row("double quotes", "[Alt]\r\nA_0=\" x \"\r\n", u" x "_s);
        row("single quotes", "[Alt]\r\nA_0='x'\r\n", u"x"_s);
        row("empty in quotes", "[Alt]\r\nA_0=\"\"\r\n", QString());
        row("only one pair of quotes", "[Alt]\r\nA_0=\"\"x\"\"\r\n", u"\"x\""_s);
        row("unmatched quotes", "[Alt]\r\nA_0=\"x'\r\n", u"\"x'"_s);
        row("lone quote", "[Alt]\r\nA_0=\"\r\n", u"\""_s);
        row("empty value", "[Alt]\r\nA_0=\r\n", QString());
        row("key before any section", "A_0=x\r\n[Alt]\r\n", u"<missing>"_s);
        row("other section", "[Qual]\r\nA_0=x\r\n", u"<missing>"_s);
        row("NUL inside a value", QByteArray("[Alt]\r\nA_0=a\0b\r\n", 14), u"a\0b"_s);
        row("empty file", QByteArray(), u"<missing>"_s);
    }
    void testReading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        const IniDocument doc = IniDocument::fromBytes(file);
        QCOMPARE(doc.value(u"Alt", u"A_0").value_or(u"<missing>"_s), expected);
        QCOMPARE(doc.toBytes(), file); // reading changes nothing
    }

    // A decimal integer of 32 bits with its sign, blanks and quotes around it; anything else reads as the default.
    void testIntegers()
    {
        const QList<QByteArray> numbers{"5", "  -9 ", "+3", "\"7\"", "2147483647", "-2147483648"};
        const QList<int> values{5, -9, 3, 7, INT_MAX, INT_MIN};
        const QList<QByteArray> others{"abc", "12abc", "3.5", "", "99999999999", "2147483648"}; // read as 1
        for (const QByteArray& text : numbers + others) {
            const IniDocument doc = IniDocument::fromBytes("[QualM]\r\nQ_0*Q_1=" + text + "\r\n");
            QVERIFY2(doc.readInteger(u"QualM", u"Q_0*Q_1", 1) == values.value(numbers.indexOf(text), 1),
                     text.constData());
            QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_2", 1), 1);
        }
    }

    // Edits as a script, one step a line: "w|section|key|text" writes a string, "i|section|key|number" an
    // integer, "e|section" erases a section, "r|section|key=value|..." replaces it. Every byte the edits do
    // not touch stays as it was.
    void testEdits_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replaced in place, the rest kept")
            << cp1251("; my notes\n[Alt]\nA_0 = Дом  \nX_extra=keep me\r\n\n[Qual]\r\nQ_0=Цена\r\nCount=1")
            << QStringList{u"w|alt|A_0|Квартира"_s, u"i|Qual|count|2"_s}
            << cp1251("; my notes\n[Alt]\nA_0=Квартира\r\nX_extra=keep me\r\n\n[Qual]\r\nQ_0=Цена\r\ncount=2\r\n");
        QTest::newRow("a new key after the last key of its section")
            << QByteArray("[Alt]\r\nA_0=x\r\n\r\n; about Qual\r\n[Qual]\r\nQ_0=y\r\n")
            << QStringList{u"w|Alt|A_1|z"_s, u"w|Qual|Q_1|w"_s}
            << QByteArray("[Alt]\r\nA_0=x\r\nA_1=z\r\n\r\n; about Qual\r\n[Qual]\r\nQ_0=y\r\nQ_1=w\r\n");
        QTest::newRow("a new key in an empty section")
            << QByteArray("[Alt]\r\n[Qual]\r\n") << QStringList{u"w|Alt|A_0|x"_s}
            << QByteArray("[Alt]\r\nA_0=x\r\n[Qual]\r\n");
        QTest::newRow("a new section at the end") << QByteArray("[Alt]\nA_0=x") << QStringList{u"i|QualM|Q_0*Q_1|-3"_s}
                                                  << QByteArray("[Alt]\nA_0=x\r\n[QualM]\r\nQ_0*Q_1=-3\r\n");
        QTest::newRow("a new file") << QByteArray() << QStringList{u"w|Alt|A_0|x"_s}
                                    << QByteArray("[Alt]\r\nA_0=x\r\n");
        QTest::newRow("erase every section of the name")
            << QByteArray(
                   "[Alt]\r\nA_0=x\r\n; c\r\n[QualM]\r\nQ_0*Q_1=2\r\n\r\n[Qual]\r\nQ_0=y\r\n[qualm]\r\nQ_0=3\r\n")
            << QStringList{u"e|QUALM"_s, u"e|Missing"_s} << QByteArray("[Alt]\r\nA_0=x\r\n; c\r\n[Qual]\r\nQ_0=y\r\n");
        QTest::newRow("replace a section")
            << QByteArray("[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=y\r\n")
            << QStringList{u"r|Alt|A_0=b|A_1= c|Count=2"_s}
            << QByteArray("[Qual]\r\nQ_0=y\r\n[Alt]\r\nA_0=b\r\nA_1=\" c\"\r\nCount=2\r\n");
        QTest::newRow("quoted only when the reader would change it")
            << QByteArray() << QStringList{u"w|Alt|A_0|Дом у \"реки\""_s, u"w|Alt|A_1| Дом"_s, u"w|Alt|A_2|'Дом'"_s}
            << cp1251("[Alt]\r\nA_0=Дом у \"реки\"\r\nA_1=\" Дом\"\r\nA_2=\"'Дом'\"\r\n");
        QTest::newRow("characters outside code page 1251")
            << QByteArray() << QStringList{u"w|Alt|A_0|中a"_s + QString::fromUtf8("\xF0\x9F\x98\x80") + u"b"_s}
            << QByteArray("[Alt]\r\nA_0=?a?b\r\n");
        QTest::newRow("section of step lines, each written as a reader gives it back")
            << QByteArray("[S]\r\nold=1\r\n") << QStringList{u"l|S|A_0*A_1&Q_0=-3|A_0= Дом||Count|B=Дом|C=x\ny|D=中"_s}
            << cp1251("[S]\r\nA_0*A_1&Q_0=-3\r\nA_0=\" Дом\"\r\n=\r\nCount=\r\nB=Дом\r\nC=x y\r\nD=?\r\n");
        QTest::newRow("line breaks never reach the file")
            << QByteArray() << QStringList{u"w|Alt|A_0|x\r\n[QualM]\r\nQ_0*Q_1=9\nend"_s, u"w|Alt|A_1|x\n"_s}
            << QByteArray("[Alt]\r\nA_0=x  [QualM]  Q_0*Q_1=9 end\r\nA_1=\"x \"\r\n");
    }
    void testEdits()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, script);
        QFETCH(QByteArray, after);
        IniDocument doc = IniDocument::fromBytes(before);
        for (const QString& step : script) {
            const QStringList f = step.split(u'|');
            if (f[0] == u"w"_s) {
                doc.writeString(f[1], f[2], f[3]);
            } else if (f[0] == u"i"_s) {
                doc.writeInteger(f[1], f[2], f[3].toInt());
            } else if (f[0] == u"e"_s) {
                doc.eraseSection(f[1]);
            } else if (f[0] == u"l"_s) {
                doc.replaceSectionLines(f[1], f.mid(2));
            } else {
                QList<IniDocument::Entry> entries;
                for (const QString& e : f.mid(2))
                    entries.append({e.section(u'=', 0, 0), e.section(u'=', 1)});
                doc.replaceSection(f[1], entries);
            }
        }
        QCOMPARE(doc.toBytes(), after);
    }

    // Whatever a name holds, it reads back the same from the bytes, as another copy of the program would.
    void testNamesRoundTrip()
    {
        for (const QString& name :
             {u"Квартира в центре"_s, u"  Дом  "_s, u"\tДом\t"_s, u"a   b"_s, u"\"Дом\""_s, u"'Дом'"_s,
              u"Дом \"у реки\""_s, u"\"Дом"_s, u"\"\""_s, u"'"_s, u" \" x \" "_s, u"a=b"_s, u"=x"_s,
              u";не комментарий"_s, u"[Qual]"_s, QString(), u"   "_s, u"ЁёЎўЄєІіЇїҐґ№€‰«»—"_s}) {
            IniDocument doc;
            doc.writeString(u"Alt", u"A_0", u"before"_s);
            doc.writeString(u"Alt", u"A_0", name);
            doc.writeString(u"Alt", u"A_1", name);
            const IniDocument reread = IniDocument::fromBytes(doc.toBytes());
            QCOMPARE(reread.readString(u"Alt", u"A_0", u"<missing>"_s) + u'|' + reread.readString(u"Alt", u"A_1", {}),
                     name + u'|' + name);
            QCOMPARE(reread.keys(u"Alt"), (QStringList{u"A_0"_s, u"A_1"_s}));
        }
    }

    void testSectionsAndKeys()
    {
        const IniDocument doc =
            IniDocument::fromBytes("[Alt]\r\nA_0=x\r\nno equals\r\na_0=dup\r\nCount=1\r\n[Qual]\r\n");
        QCOMPARE(doc.keys(u"ALT"), (QStringList{u"A_0"_s, u"Count"_s}));
        QVERIFY(doc.keys(u"Qual").isEmpty() && doc.hasSection(u"qual") && !doc.hasSection(u"QualM"));
        // Only ASCII letters fold.
        QVERIFY(!IniDocument::fromBytes(cp1251("[Раздел]\r\nключ=x\r\n")).value(u"Раздел", u"КЛЮЧ"));
        QVERIFY(!CodePage::canEncode(QString::fromUtf8("中")) && CodePage::canEncode(u"Ёё№€"_s));
    }

    // ---- The problem file through the operations of the screens

    void testNewFileReadsAsEmpty()
    {
        const auto snapshot = ComUnit::ProblemIni.snapshot();
        const IniDocument& doc = *snapshot;
        QCOMPARE((QList<int>{ProblemKeys::readCount(doc, ProblemKeys::AltSection),
                             ProblemKeys::readCount(doc, ProblemKeys::QualSection), ComUnit::ReadQualM(0, 1),
                             ComUnit::ReadAltM(0, 1, 2)}),
                 (QList<int>{0, 0, 1, 1}));
        QCOMPARE(ComUnit::ReadAltName(0), QString());
        QVERIFY(ProblemLists::load(ComUnit::ProblemIni, List::Criteria).isEmpty());
        QVERIFY(CompareStepsBuild::stepLines(doc).isEmpty());
        QVERIFY(!QFileInfo::exists(m_path)); // reading created nothing

        ComUnit::CompareSteps = QStringList{u"Q_0*Q_1=1"_s};
        ComUnit::CurrentStep = 4;
        const QString start = m_dir->filePath(u"start"_s);
        ComUnit::prepareSharedState(start);
        QCOMPARE(ComUnit::DatDir + u'|' + ComUnit::ProblemFile, start + u"/DAT|"_s + start + u"/DAT/Задача.qzr"_s);
        QVERIFY(ComUnit::CompareSteps.isEmpty() && ComUnit::CurrentStep == 0);
        QVERIFY(!QFileInfo::exists(ComUnit::DatDir));
    }

    void testListLoading()
    {
        writeBytes(m_path, cp1251("[Alt]\r\nA_0=Дом\r\nA_2=Дача\r\nCount=3\r\nA_1=***НЕТ***\r\nA_11=далеко\r\n"
                                  "A_10=последняя\r\n[Qual]\r\nQ_0=Цена\r\nQ_1=") +
                               QByteArray(300, 'x') + "\r\n");
        QCOMPARE(names(ProblemLists::load(ComUnit::ProblemIni, List::Alternatives)),
                 (QStringList{u"0:Дом"_s, u"2:Дача"_s, u"10:последняя"_s}));
        QCOMPARE(names(ProblemLists::load(ComUnit::ProblemIni, List::Criteria)),
                 (QStringList{u"0:Цена"_s, u"1:"_s + QString(255, u'x')}));
    }

    void testListSaveRenumbers()
    {
        writeBytes(m_path, "; notes\r\n[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nA_7=old\r\nCount=4\r\n[Qual]\r\nQ_0=q\r\n");
        QList<TLElem> items;
        for (int i = 0; i < 12; ++i)
            items.append(TLElem(i + 5, u"имя %1"_s.arg(i)));
        ProblemLists::save(ComUnit::ProblemIni, List::Alternatives, items);
        const QByteArray file = readBytes(m_path);
        QVERIFY(file.startsWith(cp1251("; notes\r\n[Qual]\r\nQ_0=q\r\n[Alt]\r\nA_0=имя 0\r\nA_1=имя 1\r\n")));
        QVERIFY(!file.contains("A_7=old"));
        QCOMPARE(ComUnit::ProblemIni.readInteger(u"Alt", u"Count", 0), 12);
        // Only positions 0 to 10 come back.
        const QList<TLElem> loaded = ProblemLists::load(ComUnit::ProblemIni, List::Alternatives);
        QCOMPARE(names(loaded).mid(9), (QStringList{u"9:имя 9"_s, u"10:имя 10"_s})); // of 11

        ProblemLists::save(ComUnit::ProblemIni, List::Alternatives, {});
        QCOMPARE(section(readBytes(m_path), "[Alt]"), QByteArray("[Alt]\r\nCount=0\r\n"));
    }

    void testJudgementsAndNames()
    {
        ComUnit::WriteQualM(0, 2, -5);
        ComUnit::WriteAltM(1, 3, 2, 7);
        QCOMPARE((QList<int>{ComUnit::ReadQualM(0, 2), ComUnit::ReadAltM(1, 3, 2), ComUnit::ReadAltM(1, 3, 1)}),
                 (QList<int>{-5, 7, 1}));
        QCOMPARE(section(readBytes(m_path), "[QualM]"), QByteArray("[QualM]\r\nQ_0*Q_2=-5\r\nA_1*A_3&Q_2=7\r\n"));

        // The name readers drop what lies around a name up to the blank.
        writeBytes(m_path, "[Qual]\r\nQ_0=\"\x01 Price\t \"\r\nQ_1=***\r\n[Alt]\r\nA_0=' x '\r\n");
        QCOMPARE((QStringList{ComUnit::ReadQualName(0), ComUnit::ReadQualName(1), ComUnit::ReadQualName(2),
                              ComUnit::ReadAltName(0)}),
                 (QStringList{u"Price"_s, u"***"_s, QString(), u"x"_s}));
    }

    // The rebuild leaves in "QualM" exactly the step lines, in step order, and every other section as it was.
    void testRebuild()
    {
        const std::tuple<QByteArray, QString> rows[] = {
            {QByteArray("[Alt]\nCount=2\n[Qual]\nCount=3\n[QualM]\nA_0*A_1&Q_2=4\nQ_1*Q_2=-3\nQ_5*Q_6=9\n"
                        "A_0*A_3&Q_0=2\n[After]\nx=1\n"),
             u"Q_0*Q_1=1 Q_0*Q_2=1 Q_1*Q_2=-3 A_0*A_1&Q_0=1 A_0*A_1&Q_1=1 A_0*A_1&Q_2=4"_s},
            // Text reads as 1; every whole number stays as stored, though only -9..-2 and 2..9 weigh.
            {QByteArray("[Qual]\nCount=4\n[QualM]\nQ_0*Q_1=abc\nQ_0*Q_2=12\nq_1*q_2= -9 \nQ_0*Q_3=10\nQ_1*Q_3=0\n"
                        "Q_2*Q_3=-10\n"),
             u"Q_0*Q_1=1 Q_0*Q_2=12 Q_0*Q_3=10 Q_1*Q_2=-9 Q_1*Q_3=0 Q_2*Q_3=-10"_s},
            {QByteArray("[Alt]\nCount=1\n[Qual]\nCount=2\n[QualM]\nQ_0*Q_1=9\n"), u"Q_0*Q_1=9"_s},
        };
        for (const auto& [file, steps] : rows) {
            writeBytes(m_path, file);
            QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni).join(u' '), steps);
            const QByteArray after = readBytes(m_path);
            QCOMPARE(section(after, "[QualM]"), "[QualM]\r\n" + steps.toLatin1().replace(' ', "\r\n") + "\r\n");
            QCOMPARE(QByteArray(after).replace(section(after, "[QualM]"), ""),
                     QByteArray(file).replace(section(file, "[QualM]"), ""));
        }
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
        ProblemLists::save(ComUnit::ProblemIni, List::Alternatives, {TLElem(0, u"b"_s), TLElem(1, u"c"_s)}, {1, 2});
        QCOMPARE(CompareStepsBuild::rebuildJudgements(ComUnit::ProblemIni),
                 (QStringList{u"Q_0*Q_1=2"_s, u"A_0*A_1&Q_0=6"_s, u"A_0*A_1&Q_1=8"_s}));
        const QByteArray before = section(readBytes(m_path), "[QualM]");
        ProblemLists::save(ComUnit::ProblemIni, List::Alternatives,
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
        const List kind = criteria ? List::Criteria : List::Alternatives;
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

    // The parts of a line by kind, -1 to 6, of the line on screen and of a line by its index.
    void testStepParts()
    {
        const std::pair<QString, QStringList> rows[] = {
            {u"A_0*A_2&Q_1=5"_s, {{}, u"A_0*A_2&Q_1"_s, u"A_0"_s, u"A_2&Q_1"_s, u"Q_1"_s, u"A_0"_s, u"A_2"_s, {}}},
            {u"Q_0*Q_1=-3"_s, {{}, u"Q_0*Q_1"_s, u"Q_0"_s, u"Q_1"_s, {}, u"Q_0"_s, u"Q_1"_s, {}}}};
        for (const auto& [line, parts] : rows) {
            for (int kind = -1; kind <= 6; ++kind)
                QCOMPARE(ComUnit::stepLinePart(line, kind), parts.at(kind + 1));
        }
        ComUnit::CompareSteps =
            QStringList{u"Q_0*Q_1=1"_s, u"A_0*A_2&Q_1=5"_s}; // the current step's, none past the ends
        ComUnit::CurrentStep = 1;
        const int k = ComUnit::StepParts::Criterion;
        QCOMPARE(ComUnit::StepPart(k) + ComUnit::StepPartAt(k, 2) + ComUnit::StepPartAt(k, -1), u"Q_1"_s);
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

    // A copy takes the source's bytes and date, in blocks of 32768.
    void testCopyDataFile()
    {
        for (const int size : {0, 32767, 32768, 100001}) {
            QByteArray content(size, Qt::Uninitialized);
            for (char& c : content)
                c = char(QRandomGenerator::global()->bounded(256));
            const QString source = m_dir->filePath(u"Квартира.qzr"_s);
            writeBytes(source, content);
            const QDateTime when(QDate(2009, 3, 14), QTime(15, 9, 26, 535), Qt::UTC);
            QFile f(source);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime));
            f.close();
            const QString target = m_dir->filePath(u"Шаблон Квартира.qzp"_s);
            writeBytes(target, "an older template");
            ComUnit::CopyDataFile(source, target);
            QCOMPARE(readBytes(target), content);
            QCOMPARE(QFileInfo(target).lastModified().toUTC(), when);
        }
    }

    void testCopyFailures()
    {
        const QString target = m_dir->filePath(u"t.qzp"_s);
        QCOMPARE(outcome([&] { ComUnit::CopyDataFile(m_dir->filePath(u"нет.qzr"_s), target); }),
                 u"NotFound File not found"_s);
        QVERIFY(QDir(m_dir->path()).mkdir(u"папка.qzr"_s));
        QVERIFY(outcome([&] {
                    ComUnit::CopyDataFile(m_dir->filePath(u"папка.qzr"_s), target);
                }).startsWith(u"IoError I/O error "_s));
        QVERIFY(!QFileInfo::exists(target));

        writeBytes(m_path, "new");
        writeBytes(target, "keep");
        QVERIFY(outcome([&] { ComUnit::CopyDataFile(m_path, target, false); }).startsWith(u"NameExists"_s));
        QCOMPARE(readBytes(target), QByteArray("keep"));
        QCOMPARE(outcome([&] { ComUnit::CopyDataFile(m_path, m_dir->filePath(u"нет/t.qzp"_s)); }),
                 u"CopyFailed Ошибка копирования файла."_s);
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

    // ---- The data folder

    // Each name with what is wrong with it, none for a fit one. The file system counts bytes: a Cyrillic letter
    // takes two, ".qzr" four.
    void testNameProblem()
    {
        const QString chars = BadChars.mid(8);
        const std::pair<QString, QStringList> rows[] = {
            {QString(), {u"Дом"_s, u"Дом у реки. Вариант 2"_s, QString(251, u'x'), QString(125, u'ж')}},
            {u"Имя не может быть пустым."_s, {QString(), u"   "_s}},
            {u"Имя не может состоять из одних точек."_s, {u"."_s, u".."_s}},
            {u"Имя не может содержать управляющие символы."_s, {u"a\tb"_s, u"a\u007fb"_s}},
            {u"Имя не может оканчиваться пробелом или точкой."_s, {u"Дом."_s, u"Дом\u00a0"_s}},
            {u"Имя слишком длинное для имени файла."_s, {QString(252, u'x'), QString(126, u'ж')}},
            {chars,
             {u"../x"_s, u"a/b"_s, u"a\\b"_s, u"a:b"_s, u"a*b"_s, u"a?b"_s, u"a\"b"_s, u"a<b"_s, u"a>b"_s, u"a|b"_s}}};
        for (const auto& [reason, names] : rows) {
            for (const QString& name : names) {
                QCOMPARE(ProblemDirectory::nameProblem(name, Folder::Problems), reason);
                QCOMPARE(outcome([&] { ProblemDirectory::checkName(name, Folder::Problems); }),
                         reason.isEmpty() ? u"="_s : u"BadName "_s + reason);
            }
        }
    }

    void testTrimmedName()
    {
        QCOMPARE(ProblemDirectory::trimmedName(u"Дом"_s), u"Дом"_s);
        QCOMPARE(ProblemDirectory::trimmedName(u" \t\x01Дом у реки \r\n"_s), u"Дом у реки"_s);
        QCOMPARE(ProblemDirectory::trimmedName(u"\u00a0Дом"_s), u"\u00a0Дом"_s); // a no-break space stays
        QCOMPARE(ProblemDirectory::trimmedName(QString(300, u'я')), QString(255, u'я'));
        QCOMPARE(ProblemDirectory::trimmedName(u"  "_s + QString(255, u'я') + u"z"_s), QString(255, u'я'));
    }

    // Exact endings only, in the order of the collation, not of the codes; the folder is made when missing.
    void testListing()
    {
        for (const QString& file : {u"cherry.qzr"_s, u"Banana.qzr"_s, u"apple.qzr"_s, u"Поездка.qzr.qzr"_s,
                                    u"Дом.QZR"_s, u"Шаблон Дом.qzp"_s, u"qzr"_s, u"notes.qzr.bak"_s})
            writeBytes(m_dat + u'/' + file, QByteArray());
        QVERIFY(QDir(m_dat).mkdir(u"folder.qzr"_s));
        QStringList problems = ProblemDirectory::names(m_dat, Folder::Problems);
        QCOMPARE(problems.size(), 4);
        QVERIFY(problems.removeAll(u"Поездка.qzr"_s) == 1);
        QCOMPARE(problems, (QStringList{u"apple"_s, u"Banana"_s, u"cherry"_s}));
        QCOMPARE(ProblemDirectory::names(m_dat, Folder::Templates), QStringList{u"Шаблон Дом"_s});

        QVERIFY(QDir(m_dat).removeRecursively());
        QVERIFY(ProblemDirectory::names(m_dat, Folder::Templates).isEmpty());
        QVERIFY(QFileInfo(m_dat).isDir());
        QVERIFY(QDir(m_dat).removeRecursively());
        writeBytes(m_dat, "not a folder");
        QVERIFY(outcome([&] {
                    return ProblemDirectory::names(m_dat, Folder::Problems).join(u' ');
                }).startsWith(u"IoError"_s));
    }

    // Creating, renaming and erasing as the problem screen does, each refused whole when it would replace another
    // file or meets a bad name: the folder before (a name ending in "/" is a folder), the call, how it ends and
    // the folder after.
    void testFlows_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("call"); // the operation and its names, separated by "|"
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("after"); // empty: as before
        const QStringList two{u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzp=1"_s, u"Первый.qzr=1"_s};
        const QString exists = u"NameExists %1 с именем \"%2\" уже существует."_s;
        const QString missing = u"NotFound File not found"_s;
        const auto row = [](const char* name, const QStringList& before, const QString& call, const QString& outcome,
                            const QStringList& after = {}) {
            QTest::newRow(name) << before << call << outcome << after;
        };
        row("create", {}, u"create|Новая"_s, u"="_s, {u"Новая.qzr="_s});
        row("create over a problem", {u"Дом.qzr=x"_s}, u"create|Дом"_s, exists.arg(u"Задача"_s, u"Дом"_s));
        row("create with a bad name", {}, u"create|../Дом"_s, BadChars);
        row("rename a problem", two, u"rename|Первый|Третий"_s, u"="_s,
            {u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzp=1"_s, u"Третий.qzr=1"_s});
        row("rename a template", two, u"renameTemplate|Первый|Третий"_s, u"="_s,
            {u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzr=1"_s, u"Третий.qzp=1"_s});
        row("rename onto a problem", two, u"rename|Первый|Второй"_s, exists.arg(u"Задача"_s, u"Второй"_s));
        row("rename onto a template", two, u"renameTemplate|Первый|Второй"_s, exists.arg(u"Шаблон"_s, u"Второй"_s));
        row("rename a missing one", two, u"rename|Нет|Четвёртый"_s, missing);
        row("rename to a bad name", two, u"rename|Первый|a|b"_s, BadChars);
        row("erase a problem, not its template", two, u"remove|Первый"_s, u"="_s,
            {u"Второй.qzp=2"_s, u"Второй.qzr=2"_s, u"Первый.qzp=1"_s});
        row("erase a missing one", {}, u"remove|Дом"_s, missing);
        row("a free name", {}, u"freeName|Дом"_s, u"=Дом"_s);
        row("a free name beside a problem and a template", {u"Дом (2).qzp="_s, u"Дом.qzr="_s}, u"freeName|Дом"_s,
            u"=Дом (2)"_s);
        row("the next free name", {u"Дом (2).qzr="_s, u"Дом.qzr="_s}, u"freeName|Дом"_s, u"=Дом (3)"_s);
        // A template from the file of a problem: a new problem that never replaces one.
        row("add from a template", {u"Шаблон Дом.qzp=t"_s, u"Дом.qzr=mine"_s, u"Дом (2).qzr=mine too"_s},
            u"loadTemplate|Шаблон Дом"_s, u"=Дом (3)"_s,
            {u"Дом (2).qzr=mine too"_s, u"Дом (3).qzr=t"_s, u"Дом.qzr=mine"_s, u"Шаблон Дом.qzp=t"_s});
        row("add from a template of a free name", {u"Шаблон Дом.qzp=t"_s}, u"loadTemplate|Шаблон Дом"_s, u"=Дом"_s,
            {u"Дом.qzr=t"_s, u"Шаблон Дом.qzp=t"_s});
        row("a template of a missing problem", {}, u"saveTemplate|Нет"_s, missing);
    }
    void testFlows()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, call);
        QFETCH(QString, outcome);
        QFETCH(QStringList, after);
        for (const QString& e : before)
            writeBytes(m_dat + u'/' + e.section(u'=', 0, 0), e.section(u'=', 1).toUtf8());
        const QStringList c = call.split(u'|');
        const QString op = c[0];
        const QString name = c.value(1);
        const QString other = c.mid(2).join(u'|');
        const Folder kind = op.endsWith(u"Template"_s) ? Folder::Templates : Folder::Problems;
        QCOMPARE(::outcome([&]() -> QString {
                     if (op == u"create"_s)
                         ProblemDirectory::create(m_dat, name, kind);
                     else if (op.startsWith(u"rename"_s))
                         ProblemDirectory::rename(m_dat, name, other, kind);
                     else if (op == u"remove"_s)
                         ProblemDirectory::remove(m_dat, name, kind);
                     else if (op == u"freeName"_s)
                         return ProblemDirectory::freeName(m_dat, name, kind);
                     else if (op == u"loadTemplate"_s)
                         return ProblemTemplates::LoadPrimer(m_dat, name);
                     else
                         return ProblemTemplates::SaveAsPrimer(m_dat, name);
                     return QString();
                 }),
                 outcome);
        QCOMPARE(entries(), after.isEmpty() ? before : after);
        QVERIFY(!QFileInfo::exists(m_dir->path() + u"/Дом.qzr"_s));
    }

    // A folder in the file's place is neither erased nor read as a problem.
    void testFolderInPlaceOfAFile()
    {
        QVERIFY(QDir(m_dat).mkdir(u"Папка.qzr"_s));
        QVERIFY(outcome([&] {
                    ProblemDirectory::remove(m_dat, u"Папка"_s, Folder::Problems);
                }).startsWith(u"IoError I/O error "_s));
        QVERIFY(QFileInfo(problem(u"Папка"_s)).isDir());
    }

    void testTemplateNames()
    {
        for (const QString& row : {u"Шаблон Дом|Дом"_s, u"Мой Шаблон Дом|Мой Дом"_s, u"Шаблон Шаблон Дом|Шаблон Дом"_s,
                                   u"Квартира|Квартира"_s, u"ШаблонДом|ШаблонДом"_s})
            QCOMPARE(ProblemTemplates::problemNameFor(row.section(u'|', 0, 0)), row.section(u'|', 1));
    }

    // A template keeps the criteria of its problem, three placeholder alternatives and no judgements; the problem
    // stays as it was. A name that fits as a problem but not with "Шаблон " before it is refused.
    void testSaveAsTemplate()
    {
        writeBytes(problem(u"Дом"_s), cp1251("[Alt]\r\nA_0=Кирпич\r\nA_1=Панель\r\nCount=2\r\n[Qual]\r\nQ_0=Цена\r\n"
                                             "Q_1=Площадь\r\nCount=2\r\n[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=5\r\n"));
        const QByteArray before = readBytes(problem(u"Дом"_s));
        writeBytes(templ(u"Шаблон Дом"_s), "old template");
        QCOMPARE(ProblemTemplates::SaveAsPrimer(m_dat, u"Дом"_s), u"Шаблон Дом"_s);
        IniFile made(templ(u"Шаблон Дом"_s));
        QStringList names;
        for (const auto kind : {List::Alternatives, List::Criteria}) {
            for (const TLElem& e : ProblemLists::load(made, kind))
                names << e.Name;
        }
        QCOMPARE(names,
                 (QStringList{u"Первый вариант"_s, u"Второй вариант"_s, u"Третий вариант"_s, u"Цена"_s, u"Площадь"_s}));
        QCOMPARE(made.readInteger(ProblemKeys::AltSection, ProblemKeys::CountKey, 0), 3);
        QCOMPARE(made.readInteger(ProblemKeys::QualSection, ProblemKeys::CountKey, 0), 2);
        QVERIFY(!made.snapshot()->hasSection(ProblemKeys::JudgementSection));
        QCOMPARE(readBytes(problem(u"Дом"_s)), before);

        const QString name(124, u'ж');
        writeBytes(problem(name), "");
        QVERIFY(outcome([&] { return ProblemTemplates::SaveAsPrimer(m_dat, name); }).startsWith(u"BadName"_s));
        QCOMPARE(ProblemDirectory::names(m_dat, Folder::Templates), QStringList{u"Шаблон Дом"_s});
    }
};

QTEST_GUILESS_MAIN(TestStorage)
#include "test_storage.moc"
