// The captions of the step list: which names a step line shows, "?" for a name
// the file lacks, and the cut at 255 characters.
#include "compare/CompareStepsBuild.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include "TestSupport.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using TestSupport::cp1251;

namespace {

IniDocument document(const QByteArray& bytes)
{
    return IniDocument::fromBytes(bytes);
}

} // namespace

class TestStepCaptions final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QTest::newRow("missing criterion of an alternatives step")
            << named << u"A_0*A_1&Q_1=1"_s << u"Налево и Направо [?]."_s;
        QTest::newRow("missing alternative") << named << u"A_2*A_3&Q_0=1"_s << u"? и Прямо [Цена]."_s;
        QTest::newRow("empty file") << QByteArray() << u"A_0*A_1&Q_0=1"_s << u"? и ? [?]."_s;
        // The names are read as the file holds them: an empty value is a name, not a missing one.
        QTest::newRow("empty name stays empty")
            << QByteArray("[Qual]\r\nQ_0=\r\nQ_1=b\r\n") << u"Q_0*Q_1=1"_s << u" и b"_s;
        QTest::newRow("value does not matter") << named << u"Q_0*Q_2=abc"_s << u"Цена и Качество"_s;
    }

    void testCaption()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, line);
        QFETCH(QString, caption);
        QCOMPARE(CompareStepsBuild::stepCaption(document(file), line), caption);
    }

    // Names hold at most 255 characters each; the caption is cut after its 255th.
    void testLongNames_data()
    {
        QTest::addColumn<int>("lengthA");
        QTest::addColumn<int>("lengthB");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("expectedLength");
        QTest::addColumn<bool>("endsWithB");
        // "A и B" is 3 characters longer than the two names.
        QTest::newRow("fits exactly") << 100 << 152 << u"Q_0*Q_1=1"_s << 255 << true;
        QTest::newRow("one over") << 100 << 153 << u"Q_0*Q_1=1"_s << 255 << false;
        QTest::newRow("one short") << 100 << 151 << u"Q_0*Q_1=1"_s << 254 << true;
        QTest::newRow("two long names") << 255 << 255 << u"Q_0*Q_1=1"_s << 255 << false;
        QTest::newRow("alternatives with long names") << 200 << 200 << u"A_0*A_1&Q_0=1"_s << 255 << false;
    }

    void testLongNames()
    {
        QFETCH(int, lengthA);
        QFETCH(int, lengthB);
        QFETCH(QString, line);
        QFETCH(int, expectedLength);
        QFETCH(bool, endsWithB);
        IniDocument doc;
        const QString a(lengthA, u'а');
        const QString b = QString(lengthB - 1, u'б') + u'Z';
        const QString section = line.startsWith(u'Q') ? u"Qual"_s : u"Alt"_s;
        const QString prefix = line.startsWith(u'Q') ? u"Q_"_s : u"A_"_s;
        doc.writeString(section, prefix + u'0', a);
        doc.writeString(section, prefix + u'1', b);
        const QString caption = CompareStepsBuild::stepCaption(doc, line);
        QCOMPARE(caption.size(), expectedLength);
        QVERIFY(caption.startsWith(a.left(expectedLength)));
        QCOMPARE(caption.endsWith(u'Z'), endsWithB);
    }

    // A name longer than 255 characters in the file (written by hand) is shown cut.
    void testItemNameCut()
    {
        IniDocument doc;
        doc.writeString(u"Alt", u"A_0", QString(300, u'x'));
        QCOMPARE(ProblemKeys::readName(doc, u"Alt", u"A_0"), QString(255, u'x'));
        QCOMPARE(ProblemKeys::readName(doc, u"Alt", u"A_1"), u"?"_s);
    }

    // The list of captions follows the step lines one for one, in their order.
    void testCaptionsOfRebuiltSteps()
    {
        const IniDocument doc = document(cp1251("[Alt]\r\nA_0=x\r\nA_1=y\r\nCount=2\r\n"
                                                "[Qual]\r\nQ_0=p\r\nQ_1=q\r\nQ_2=r\r\nCount=3\r\n"));
        const QStringList lines = CompareStepsBuild::stepLines(doc);
        QCOMPARE(CompareStepsBuild::stepCaptions(doc, lines),
                 (QStringList{u"p и q"_s, u"p и r"_s, u"q и r"_s, u"x и y [p]."_s, u"x и y [q]."_s, u"x и y [r]."_s}));
        QVERIFY(CompareStepsBuild::stepCaptions(doc, {}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStepCaptions)
#include "test_step_captions.moc"
