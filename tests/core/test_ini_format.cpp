// The problem file as the Windows private-profile functions read and write it.
#include "storage/CodePage.h"
#include "storage/IniDocument.h"

#include "TestSupport.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;

class TestIniFormat final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

    void testIntegers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected"); // the default is 1
        QTest::newRow("plain") << QByteArray("5") << 5;
        QTest::newRow("negative with blanks") << QByteArray("  -9 ") << -9;
        QTest::newRow("plus sign") << QByteArray("+3") << 3;
        QTest::newRow("quoted") << QByteArray("\"7\"") << 7;
        QTest::newRow("text") << QByteArray("abc") << 1;
        QTest::newRow("trailing text") << QByteArray("12abc") << 1;
        QTest::newRow("fraction") << QByteArray("3.5") << 1;
        QTest::newRow("empty") << QByteArray("") << 1;
        QTest::newRow("above 32 bits") << QByteArray("99999999999") << 1;
        QTest::newRow("one above the largest") << QByteArray("2147483648") << 1;
        QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483648LL);
    }
    void testIntegers()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        const IniDocument doc = IniDocument::fromBytes("[QualM]\r\nQ_0*Q_1=" + text + "\r\n");
        QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_1", 1), expected);
        QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_2", 1), 1);
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
    void testNamesRoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name :
             {u"Квартира в центре"_s, u"  Дом  "_s, u"\tДом\t"_s, u"a   b"_s, u"\"Дом\""_s, u"'Дом'"_s,
              u"Дом \"у реки\""_s, u"\"Дом"_s, u"\"\""_s, u"'"_s, u" \" x \" "_s, u"a=b"_s, u"=x"_s,
              u";не комментарий"_s, u"[Qual]"_s, QString(), u"   "_s, u"ЁёЎўЄєІіЇїҐґ№€‰«»—"_s})
            QTest::newRow(qPrintable(u'<' + name + u'>')) << name;
    }
    void testNamesRoundTrip()
    {
        QFETCH(QString, name);
        IniDocument doc;
        doc.writeString(u"Alt", u"A_0", u"before"_s);
        doc.writeString(u"Alt", u"A_0", name);
        doc.writeString(u"Alt", u"A_1", name);
        const IniDocument reread = IniDocument::fromBytes(doc.toBytes());
        QCOMPARE(reread.readString(u"Alt", u"A_0", u"<missing>"_s), name);
        QCOMPARE(reread.readString(u"Alt", u"A_1", u"<missing>"_s), name);
        QCOMPARE(reread.keys(u"Alt"), (QStringList{u"A_0"_s, u"A_1"_s}));
    }

    void testSectionsAndKeys()
    {
        const IniDocument doc =
            IniDocument::fromBytes("[Alt]\r\nA_0=x\r\nno equals\r\na_0=dup\r\nCount=1\r\n[Qual]\r\n");
        QCOMPARE(doc.keys(u"ALT"), (QStringList{u"A_0"_s, u"Count"_s}));
        QVERIFY(doc.keys(u"Qual").isEmpty());
        QVERIFY(doc.hasSection(u"qual"));
        QVERIFY(!doc.hasSection(u"QualM"));
        // Only ASCII letters fold.
        QVERIFY(!IniDocument::fromBytes(cp1251("[Раздел]\r\nключ=x\r\n")).value(u"Раздел", u"КЛЮЧ"));
        QVERIFY(!CodePage::canEncode(QString::fromUtf8("中")));
        QVERIFY(CodePage::canEncode(u"Ёё№€"_s));
    }
};

QTEST_GUILESS_MAIN(TestIniFormat)
#include "test_ini_format.moc"
