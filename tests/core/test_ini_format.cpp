// The problem file as the Windows private-profile functions read and write it.
#include "storage/CodePage.h"
#include "storage/IniDocument.h"

#include "TestSupport.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;

class TestIniFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testReading_data();
    void testReading();
    void testIntegers_data();
    void testIntegers();
    void testReplaceKeepsEveryOtherByte();
    void testNewKeyGoesAfterLastKeyOfSection();
    void testNewSectionAtEnd();
    void testEraseSection();
    void testReplaceSection();
    void testNamesRoundTrip_data();
    void testNamesRoundTrip();
    void testQuotingOnlyWhenNeeded();
    void testUnencodableCharacters();
    void testLineBreaksNeverReachTheFile();
    void testKeysListing();
};

void TestIniFormat::testReading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<missing>" when there is no value

    const QByteArray cyr = cp1251("[Alt]\r\nA_0=Квартира в центре\r\n");
    QTest::newRow("cp1251") << cyr << u"Alt"_s << u"A_0"_s << u"Квартира в центре"_s;
    QTest::newRow("section case") << QByteArray("[ALT]\r\nA_0=x\r\n") << u"alt"_s << u"A_0"_s << u"x"_s;
    QTest::newRow("key case") << QByteArray("[Alt]\r\na_0=x\r\n") << u"Alt"_s << u"A_0"_s << u"x"_s;
    QTest::newRow("cyrillic case does not fold")
        << cp1251("[Раздел]\r\nключ=x\r\n") << u"Раздел"_s << u"КЛЮЧ"_s << u"<missing>"_s;
    QTest::newRow("first of two keys") << QByteArray("[Alt]\r\nA_0=first\r\nA_0=second\r\n") << u"Alt"_s << u"A_0"_s
                                       << u"first"_s;
    QTest::newRow("first across repeated sections")
        << QByteArray("[Alt]\r\nA_0=first\r\n[Qual]\r\n[alt]\r\nA_0=second\r\nA_1=later\r\n") << u"Alt"_s << u"A_1"_s
        << u"later"_s;
    QTest::newRow("blanks around key and value")
        << QByteArray("[Alt]\r\n  A_0 \t=  \tx y \t \r\n") << u"Alt"_s << u"A_0"_s << u"x y"_s;
    QTest::newRow("blanks around header") << QByteArray("  [ Alt ]  \r\nA_0=x\r\n") << u"Alt"_s << u"A_0"_s << u"x"_s;
    QTest::newRow("line without =") << QByteArray("[Alt]\r\nA_0\r\nA_0=y\r\n") << u"Alt"_s << u"A_0"_s << u"y"_s;
    QTest::newRow("value with =") << QByteArray("[Alt]\r\nA_0=a=b==c\r\n") << u"Alt"_s << u"A_0"_s << u"a=b==c"_s;
    QTest::newRow("LF only") << QByteArray("[Alt]\nA_0=x\nA_1=y") << u"Alt"_s << u"A_1"_s << u"y"_s;
    QTest::newRow("mixed ends") << QByteArray("[Alt]\r\nA_0=x\nA_1=y\r\n") << u"Alt"_s << u"A_0"_s << u"x"_s;
    QTest::newRow("double quotes") << QByteArray("[Alt]\r\nA_0=\" x \"\r\n") << u"Alt"_s << u"A_0"_s << u" x "_s;
    QTest::newRow("single quotes") << QByteArray("[Alt]\r\nA_0='x'\r\n") << u"Alt"_s << u"A_0"_s << u"x"_s;
    QTest::newRow("only one pair of quotes")
        << QByteArray("[Alt]\r\nA_0=\"\"x\"\"\r\n") << u"Alt"_s << u"A_0"_s << u"\"x\""_s;
    QTest::newRow("unmatched quotes") << QByteArray("[Alt]\r\nA_0=\"x'\r\n") << u"Alt"_s << u"A_0"_s << u"\"x'"_s;
    QTest::newRow("lone quote") << QByteArray("[Alt]\r\nA_0=\"\r\n") << u"Alt"_s << u"A_0"_s << u"\""_s;
    QTest::newRow("empty value") << QByteArray("[Alt]\r\nA_0=\r\n") << u"Alt"_s << u"A_0"_s << u""_s;
    QTest::newRow("key before any section")
        << QByteArray("A_0=x\r\n[Alt]\r\n") << u"Alt"_s << u"A_0"_s << u"<missing>"_s;
    QTest::newRow("other section") << QByteArray("[Qual]\r\nA_0=x\r\n") << u"Alt"_s << u"A_0"_s << u"<missing>"_s;
    QTest::newRow("NUL inside a value") << QByteArray("[Alt]\r\nA_0=a\0b\r\n", 14) << u"Alt"_s << u"A_0"_s << u"a\0b"_s;
    QTest::newRow("empty file") << QByteArray() << u"Alt"_s << u"A_0"_s << u"<missing>"_s;
}

void TestIniFormat::testReading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniDocument doc = IniDocument::fromBytes(file);
    const auto value = doc.value(section, key);
    QCOMPARE(value.value_or(u"<missing>"_s), expected);
    QCOMPARE(doc.toBytes(), file); // reading changes nothing
}

void TestIniFormat::testIntegers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("5") << 5;
    QTest::newRow("negative with blanks") << QByteArray("  -9 ") << -9;
    QTest::newRow("plus sign") << QByteArray("+3") << 3;
    QTest::newRow("quoted") << QByteArray("\"7\"") << 7;
    QTest::newRow("text") << QByteArray("abc") << 1;
    QTest::newRow("trailing text") << QByteArray("12abc") << 1;
    QTest::newRow("fraction") << QByteArray("3.5") << 1;
    QTest::newRow("empty") << QByteArray("") << 1;
    QTest::newRow("above 32 bits") << QByteArray("99999999999") << 1;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483648LL);
}

void TestIniFormat::testIntegers()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    const IniDocument doc = IniDocument::fromBytes("[QualM]\r\nQ_0*Q_1=" + text + "\r\n");
    QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_1", 1), expected);
    QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_2", 1), 1);
}

void TestIniFormat::testReplaceKeepsEveryOtherByte()
{
    const QByteArray before = "; my notes\n"
                              "[Alt]\n"
                              "A_0 = Дом  \n"
                              "X_extra=keep me\r\n"
                              "\n"
                              "[Qual]\r\n"
                              "Q_0=Цена\r\n"
                              "Count=1";
    IniDocument doc = IniDocument::fromBytes(cp1251(before.constData()));
    doc.writeString(u"alt", u"A_0", u"Квартира"_s);
    doc.writeInteger(u"Qual", u"count", 2);
    const QByteArray expected = "; my notes\n"
                                "[Alt]\n"
                                "A_0=Квартира\r\n"
                                "X_extra=keep me\r\n"
                                "\n"
                                "[Qual]\r\n"
                                "Q_0=Цена\r\n"
                                "count=2\r\n";
    QCOMPARE(doc.toBytes(), cp1251(expected.constData()));
}

void TestIniFormat::testNewKeyGoesAfterLastKeyOfSection()
{
    IniDocument doc = IniDocument::fromBytes("[Alt]\r\nA_0=x\r\n\r\n; about Qual\r\n[Qual]\r\nQ_0=y\r\n");
    doc.writeString(u"Alt", u"A_1", u"z"_s);
    doc.writeString(u"Qual", u"Q_1", u"w"_s);
    QCOMPARE(doc.toBytes(), QByteArray("[Alt]\r\nA_0=x\r\nA_1=z\r\n\r\n; about Qual\r\n[Qual]\r\nQ_0=y\r\nQ_1=w\r\n"));

    IniDocument empty = IniDocument::fromBytes("[Alt]\r\n[Qual]\r\n");
    empty.writeString(u"Alt", u"A_0", u"x"_s);
    QCOMPARE(empty.toBytes(), QByteArray("[Alt]\r\nA_0=x\r\n[Qual]\r\n"));
}

void TestIniFormat::testNewSectionAtEnd()
{
    IniDocument doc = IniDocument::fromBytes("[Alt]\nA_0=x"); // no line end at the end
    doc.writeInteger(u"QualM", u"Q_0*Q_1", -3);
    QCOMPARE(doc.toBytes(), QByteArray("[Alt]\nA_0=x\r\n[QualM]\r\nQ_0*Q_1=-3\r\n"));

    IniDocument fresh;
    fresh.writeString(u"Alt", u"A_0", u"x"_s);
    QCOMPARE(fresh.toBytes(), QByteArray("[Alt]\r\nA_0=x\r\n"));
}

void TestIniFormat::testEraseSection()
{
    IniDocument doc = IniDocument::fromBytes("[Alt]\r\nA_0=x\r\n; c\r\n[QualM]\r\nQ_0*Q_1=2\r\n\r\n[Qual]\r\n"
                                             "Q_0=y\r\n[qualm]\r\nQ_0*Q_2=3\r\n");
    doc.eraseSection(u"QUALM");
    QCOMPARE(doc.toBytes(), QByteArray("[Alt]\r\nA_0=x\r\n; c\r\n[Qual]\r\nQ_0=y\r\n"));
    QVERIFY(!doc.hasSection(u"QualM"));
    QCOMPARE(doc.readInteger(u"QualM", u"Q_0*Q_2", 1), 1);
    doc.eraseSection(u"Missing"); // nothing to do
    QCOMPARE(doc.toBytes(), QByteArray("[Alt]\r\nA_0=x\r\n; c\r\n[Qual]\r\nQ_0=y\r\n"));
}

void TestIniFormat::testReplaceSection()
{
    IniDocument doc = IniDocument::fromBytes("[Alt]\r\nA_0=a\r\nA_1=b\r\nA_2=c\r\nCount=3\r\n[Qual]\r\nQ_0=y\r\n");
    doc.replaceSection(u"Alt", {{u"A_0"_s, u"b"_s}, {u"A_1"_s, u" c"_s}, {u"Count"_s, u"2"_s}});
    QCOMPARE(doc.toBytes(), QByteArray("[Qual]\r\nQ_0=y\r\n[Alt]\r\nA_0=b\r\nA_1=\" c\"\r\nCount=2\r\n"));
    QCOMPARE(doc.readString(u"Alt", u"A_1", {}), u" c"_s);
    QCOMPARE(doc.readString(u"Alt", u"A_2", u"none"_s), u"none"_s);
}

void TestIniFormat::testNamesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("cyrillic") << u"Квартира в центре"_s;
    QTest::newRow("outer blanks") << u"  Дом  "_s;
    QTest::newRow("outer tabs") << u"\tДом\t"_s;
    QTest::newRow("inner blanks") << u"a   b"_s;
    QTest::newRow("double quoted") << u"\"Дом\""_s;
    QTest::newRow("single quoted") << u"'Дом'"_s;
    QTest::newRow("quotes inside") << u"Дом \"у реки\""_s;
    QTest::newRow("quote at start only") << u"\"Дом"_s;
    QTest::newRow("two quotes") << u"\"\""_s;
    QTest::newRow("one quote") << u"'"_s;
    QTest::newRow("quoted with blanks") << u" \" x \" "_s;
    QTest::newRow("equals") << u"a=b"_s;
    QTest::newRow("starts with equals") << u"=x"_s;
    QTest::newRow("semicolon") << u";не комментарий"_s;
    QTest::newRow("bracket") << u"[Qual]"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("only blanks") << u"   "_s;
    QTest::newRow("all of cp1251 letters") << u"ЁёЎўЄєІіЇїҐґ№€‰«»—"_s;
}

void TestIniFormat::testNamesRoundTrip()
{
    QFETCH(QString, name);
    IniDocument doc;
    doc.writeString(u"Alt", u"A_0", u"before"_s);
    doc.writeString(u"Alt", u"A_0", name);
    doc.writeString(u"Alt", u"A_1", name);
    // Read back from the bytes, as another copy of the program (or Windows) would.
    const IniDocument reread = IniDocument::fromBytes(doc.toBytes());
    QCOMPARE(reread.readString(u"Alt", u"A_0", u"<missing>"_s), name);
    QCOMPARE(reread.readString(u"Alt", u"A_1", u"<missing>"_s), name);
    QCOMPARE(reread.keys(u"Alt"), (QStringList{u"A_0"_s, u"A_1"_s}));
}

void TestIniFormat::testQuotingOnlyWhenNeeded()
{
    IniDocument doc;
    doc.writeString(u"Alt", u"A_0", u"Дом у \"реки\""_s);
    doc.writeString(u"Alt", u"A_1", u" Дом"_s);
    doc.writeString(u"Alt", u"A_2", u"'Дом'"_s);
    QCOMPARE(doc.toBytes(), cp1251("[Alt]\r\nA_0=Дом у \"реки\"\r\nA_1=\" Дом\"\r\nA_2=\"'Дом'\"\r\n"));
}

void TestIniFormat::testUnencodableCharacters()
{
    IniDocument doc;
    doc.writeString(u"Alt", u"A_0",
                    QString::fromUtf8("中a\xF0\x9F\x98\x80"
                                      "b"));
    QCOMPARE(doc.toBytes(), QByteArray("[Alt]\r\nA_0=?a?b\r\n"));
    QVERIFY(!CodePage::canEncode(QString::fromUtf8("中")));
    QVERIFY(CodePage::canEncode(u"Ёё№€"_s));
}

void TestIniFormat::testLineBreaksNeverReachTheFile()
{
    IniDocument doc;
    doc.writeString(u"Alt", u"A_0", u"x\r\n[QualM]\r\nQ_0*Q_1=9\nend"_s);
    const QByteArray bytes = doc.toBytes();
    QCOMPARE(bytes.count('\n'), 2);
    const IniDocument reread = IniDocument::fromBytes(bytes);
    QVERIFY(!reread.hasSection(u"QualM"));
    QCOMPARE(reread.readString(u"Alt", u"A_0", {}), u"x  [QualM]  Q_0*Q_1=9 end"_s);

    IniDocument trailing;
    trailing.writeString(u"Alt", u"A_0", u"x\n"_s); // becomes an outer blank, so it is quoted
    QCOMPARE(IniDocument::fromBytes(trailing.toBytes()).readString(u"Alt", u"A_0", {}), u"x "_s);
}

void TestIniFormat::testKeysListing()
{
    const IniDocument doc = IniDocument::fromBytes("[Alt]\r\nA_0=x\r\nno equals\r\na_0=dup\r\nCount=1\r\n");
    QCOMPARE(doc.keys(u"ALT"), (QStringList{u"A_0"_s, u"Count"_s}));
    QVERIFY(doc.keys(u"Qual").isEmpty());
}

QTEST_GUILESS_MAIN(TestIniFormat)
#include "test_ini_format.moc"
