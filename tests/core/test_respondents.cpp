// The joint decision: answers typed back by number, the respondents' sections of the problem file, the group's
// evaluation, its consensus and the comparisons the participants disagree on. Expected numbers are worked by
// hand (or taken from the single evaluation's published cases), never copied from the program.
#include "evaluate/Consensus.h"
#include "evaluate/GroupEvaluation.h"
#include "evaluate/ProblemData.h"
#include "storage/CodePage.h"
#include "storage/IniFile.h"
#include "storage/ProblemLists.h"
#include "storage/QuestionnaireAnswers.h"
#include "storage/Respondents.h"

#include "DocxReader.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
namespace QA = QuestionnaireAnswers;

namespace {

// Two criteria and two alternatives: the steps Q_0*Q_1, A_0*A_1&Q_0, A_0*A_1&Q_1.
constexpr char TwoByTwo[] = "[Qual]\nCount=2\n[Alt]\nCount=2\n";
constexpr char ThreeByTwo[] = "[Qual]\nCount=3\n[Alt]\nCount=2\n";

IniDocument document(const QByteArray& utf8)
{
    return IniDocument::fromBytes(CodePage::encode(QString::fromUtf8(utf8)));
}

template <class Numbers> QString joined(const Numbers& numbers)
{
    QStringList out;
    for (auto n : numbers)
        out << QString::number(n);
    return out.join(u',');
}

// "number:name:value,value,..." per respondent, joined by "|"; 0 is a comparison not answered.
QString summary(const QList<Respondent>& respondents)
{
    QStringList out;
    for (const Respondent& r : respondents)
        out << u"%1:%2:%3"_s.arg(r.number).arg(r.name, joined(r.answers));
    return out.join(u'|');
}

QString sectionText(const IniDocument& doc, const QString& section)
{
    QStringList out;
    for (const QString& key : doc.keys(section))
        out << key + u'=' + doc.value(section, key).value_or(QString());
    return out.join(u';');
}

} // namespace

class TestRespondents final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testAnswerNumbers_data()
    {
        QTest::addColumn<int>("answer"); // -1: only the stored value is read back
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown"); // 0: not answered
        QTest::newRow("1 is 9/1") << 1 << -9 << 1;
        QTest::newRow("8 is 2/1") << 8 << -2 << 8;
        QTest::newRow("9 is equal") << 9 << 1 << 9;
        QTest::newRow("10 is 1/2") << 10 << 2 << 10;
        QTest::newRow("17 is 1/9") << 17 << 9 << 17;
        QTest::newRow("18 stores equal") << 18 << 1 << 9;
        for (int v : {0, -1, 10, -10})
            QTest::addRow("stored %d is no answer", v) << -1 << v << 0;
    }
    void testAnswerNumbers()
    {
        QFETCH(int, answer);
        QFETCH(int, stored);
        QFETCH(int, shown);
        if (answer >= 0)
            QCOMPARE(QA::storedValue(answer), stored);
        QCOMPARE(QA::answerNumber(stored).value_or(0), shown);
        for (int a = QA::FirstAnswer; a <= QA::LastAnswer; ++a)
            QCOMPARE(QA::answerNumber(QA::storedValue(a)), a);
    }

    void testAnswersFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("expected"); // answers ("-" not answered), or the refused line
        QTest::newRow("LF, a leading zero") << QByteArray("1\n09\n17\n") << 3 << u"1,9,17"_s;
        QTest::newRow("CR LF, last line without end") << QByteArray("1\r\n\r\n17") << 3 << u"1,-,17"_s;
        QTest::newRow("missing lines at the end") << QByteArray("5\n") << 3 << u"5,-,-"_s;
        QTest::newRow("byte order mark, blanks") << QByteArray("\xEF\xBB\xBF 3 \n\t4\n") << 2 << u"3,4"_s;
        QTest::newRow("empty file") << QByteArray() << 2 << u"-,-"_s;
        QTest::newRow("more lines than questions") << QByteArray("1\n2\n3\n") << 2 << u"line 3"_s;
        QTest::newRow("an empty line beyond them") << QByteArray("1\n2\n\n") << 2 << u"line 3"_s;
        for (const char* bad : {"0", "18", "-3", "+3", "3.0", "1 7", "пять", "99999999999"})
            QTest::addRow("'%s'", bad) << "1\r\n" + QByteArray(bad) + "\r\n" << 3 << u"line 2"_s;
    }
    void testAnswersFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, questions);
        QFETCH(QString, expected);
        const QA::AnswersFile file = QA::readAnswersFile(bytes, questions);
        QStringList got;
        for (const std::optional<int>& a : file.answers)
            got << (a ? QString::number(*a) : u"-"_s);
        QCOMPARE(file.ok() ? got.join(u',') : u"line "_s + QString::number(file.errorLine), expected);
        QCOMPARE(file.ok(), file.errorLine == 0);
    }

    void testRefusals_data()
    {
        QTest::addColumn<int>("criteria");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refused"); // "criteria", "name" or nothing
        QTest::newRow("1 criterion") << 1 << u"Маша"_s << u"criteria"_s;
        QTest::newRow("2 criteria") << 2 << u"Маша"_s << QString();
        QTest::newRow("9 criteria, 255 characters") << 9 << QString(255, u'я') << QString();
        QTest::newRow("10 criteria") << 10 << u"Маша"_s << u"criteria"_s;
        QTest::newRow("256 characters") << 2 << QString(256, u'я') << u"name"_s;
        QTest::newRow("empty name") << 2 << QString() << u"name"_s;
        QTest::newRow("blanks only") << 2 << u"   "_s << u"name"_s;
        QTest::newRow("outside code page 1251") << 2 << u"Ли 李"_s << u"name"_s;
        QTest::newRow("a line end") << 2 << u"Ма\nша"_s << u"name"_s;
        QTest::newRow("euro sign") << 2 << u"Маша €"_s << QString();
    }
    void testRefusals()
    {
        QFETCH(int, criteria);
        QFETCH(QString, name);
        QFETCH(QString, refused);
        QCOMPARE(QA::criteriaCountRefusal(criteria).value_or(QString()),
                 refused == u"criteria"_s ? u"Количество критериев должно быть в интервале от 2 до 9."_s : QString());
        QCOMPARE(Respondents::nameRefusal(name).has_value(), refused == u"name"_s);
    }

    void testLoad_data()
    {
        QTest::addColumn<QByteArray>("respondents");
        QTest::addColumn<QString>("expected");
        const QByteArray masha = "[Resp_0]\nName=Маша\nQ_0*Q_1=-3\nA_0*A_1&Q_1=5\n";
        QTest::newRow("two") << "[Resp]\nCount=2\n" + masha + "[Resp_1]\nName=Петя\n"
                             << u"0:Маша:-3,0,5|1:Петя:0,0,0"_s;
        QTest::newRow("a missing section")
            << "[Resp]\nCount=3\n[Resp_2]\nName=Оля\n" + masha << u"0:Маша:-3,0,5|2:Оля:0,0,0"_s;
        QTest::newRow("one name twice") << "[Resp]\nCount=2\n[Resp_1]\nName=Маша\n" + masha
                                        << u"0:Маша:-3,0,5|1:Маша:0,0,0"_s;
        QTest::newRow("beyond Count") << "[Resp]\nCount=1\n[Resp_1]\nName=Петя\n" + masha << u"0:Маша:-3,0,5"_s;
        QTest::newRow("huge Count") << "[Resp]\nCount=2000000\n[Resp_1000]\n" + masha << u"0:Маша:-3,0,5"_s;
        for (const char* count : {"-2", "abc", "99999999999", ""})
            QTest::addRow("Count '%s'", count) << "[Resp]\nCount=" + QByteArray(count) + '\n' + masha << QString();
        QTest::newRow("off the scale") << QByteArray("[Resp]\nCount=1\n[Resp_0]\nName=Ян\nQ_0*Q_1=12\n"
                                                     "A_0*A_1&Q_0=abc\nA_0*A_1&Q_1=0\n")
                                       << u"0:Ян:0,0,0"_s;
        QTest::newRow("keys in small letters, no name")
            << QByteArray("[Resp]\nCount=1\n[Resp_0]\nq_0*q_1=4\na_0*a_1&q_0=-9\n") << u"0:?:4,-9,0"_s;
    }
    void testLoad()
    {
        QFETCH(QByteArray, respondents);
        QFETCH(QString, expected);
        QCOMPARE(summary(Respondents::load(document(TwoByTwo + respondents))), expected);
    }

    // A script of stores ("+name:answer numbers") and deletions ("-k"); the numbers each returns, then the
    // respondents and Count.
    void testStoreAndRemove_data()
    {
        QTest::addColumn<QByteArray>("respondents");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const QByteArray three = "[Resp]\nCount=3\n[Resp_0]\nName=А\nQ_0*Q_1=2\n[Resp_1]\nName=Б\nQ_0*Q_1=3\n"
                                 "[Resp_2]\nName=В\nQ_0*Q_1=4\n";
        QTest::newRow("new, new, correct")
            << QByteArray() << u"+Маша:1,,17;+Петя:9;+Маша:,10"_s << u"0,1,0 => 0:Маша:0,2,0|1:Петя:1,0,0 Count=2"_s;
        QTest::newRow("delete the first") << three << u"-0"_s << u"_ => 0:Б:3,0,0|1:В:4,0,0 Count=2"_s;
        QTest::newRow("delete the last") << three << u"-2"_s << u"_ => 0:А:2,0,0|1:Б:3,0,0 Count=2"_s;
        QTest::newRow("delete outside") << three << u"-3"_s << u"_ => 0:А:2,0,0|1:Б:3,0,0|2:В:4,0,0 Count=3"_s;
        QTest::newRow("delete below a missing section")
            << QByteArray("[Resp]\nCount=3\n[Resp_0]\nName=А\n[Resp_2]\nName=В\nQ_0*Q_1=4\n") << u"-0;+Г:8"_s
            << u"_,2 => 1:В:4,0,0|2:Г:-2,0,0 Count=3"_s;
        QTest::newRow("the first of one name")
            << QByteArray("[Resp]\nCount=2\n[Resp_0]\nName=А\n[Resp_1]\nName=А\nQ_0*Q_1=4\n") << u"+А:2"_s
            << u"0 => 0:А:-8,0,0|1:А:4,0,0 Count=2"_s;
        QTest::newRow("full") << QByteArray("[Resp]\nCount=1000\n[Resp_0]\nName=А\n") << u"+Б:1;+А:17"_s
                              << u"-1,0 => 0:А:9,0,0 Count=1000"_s;
    }
    void testStoreAndRemove()
    {
        QFETCH(QByteArray, respondents);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        IniDocument doc = document(TwoByTwo + respondents);
        QStringList lines = Respondents::stepKeys(2, 2);
        for (QString& line : lines)
            line += u"=1"_s;
        QStringList returned;
        for (const QString& op : script.split(u';')) {
            if (op.startsWith(u'-')) {
                Respondents::remove(doc, op.mid(1).toInt());
                returned << u"_"_s;
                continue;
            }
            const QString name = op.mid(1).section(u':', 0, 0);
            std::vector<std::optional<int>> numbers;
            for (const QString& a : op.section(u':', 1).split(u','))
                numbers.push_back(a.isEmpty() ? std::nullopt : std::optional(a.toInt()));
            returned << QString::number(Respondents::store(doc, name, Respondents::answerList(lines, numbers)));
        }
        const QString got = returned.join(u',') + u" => "_s + summary(Respondents::load(doc)) + u" Count="_s +
                            QString::number(Respondents::readCount(doc));
        QCOMPARE(got, expected);
    }

    void testStoreAndRemoveInTheFile()
    {
        QTemporaryDir dir;
        IniFile file(dir.filePath(u"Задача.qzr"_s));
        file.update([](IniDocument& doc) { doc = document(QByteArray(TwoByTwo) + "[QualM]\nQ_0*Q_1=-3\n"); });
        QCOMPARE(Respondents::store(file, u"Маша"_s, {{u"Q_0*Q_1"_s, 5}}), 0);
        QCOMPARE(Respondents::store(file, u"Петя"_s, {}), 1);
        Respondents::remove(file, 0);
        QCOMPARE(summary(Respondents::load(IniFile(file.path()))), u"0:Петя:0,0,0"_s);
        QCOMPARE(file.readInteger(u"QualM", u"Q_0*Q_1", 1), -3);
        // Refused when full: the file is not replaced (a replacement would be a new file under the old name).
        file.writeInteger(u"Resp", u"Count", Respondents::MaxCount);
        struct stat before = {}, after = {};
        QCOMPARE(::stat(QFile::encodeName(file.path()).constData(), &before), 0);
        QCOMPARE(Respondents::store(file, u"Оля"_s, {}), -1);
        QCOMPARE(::stat(QFile::encodeName(file.path()).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    // Alternatives 0..2 and criteria 0..2; the list screen deletes the item at "deleted" and saves its list.
    void testRemapAfterDeletion_data()
    {
        QTest::addColumn<bool>("criterion");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first alternative") << false << 0 << u"Name=Маша;Q_0*Q_1=-3;Q_1*Q_2=5;A_0*A_1&Q_0=-4"_s;
        QTest::newRow("middle alternative") << false << 1 << u"Name=Маша;Q_0*Q_1=-3;Q_1*Q_2=5;A_0*A_1&Q_2=7"_s;
        QTest::newRow("middle criterion") << true << 1 << u"Name=Маша;A_0*A_1&Q_0=2;A_1*A_2&Q_0=-4;A_0*A_2&Q_1=7"_s;
    }
    void testRemapAfterDeletion()
    {
        QFETCH(bool, criterion);
        QFETCH(int, deleted);
        QFETCH(QString, expected);
        const QByteArray body = "Name=Маша\nQ_0*Q_1=-3\nQ_1*Q_2=5\nA_0*A_1&Q_0=2\nA_1*A_2&Q_0=-4\nA_0*A_2&Q_2=7\n";
        QTemporaryDir dir;
        IniFile file(dir.filePath(u"Задача.qzr"_s));
        file.update([&](IniDocument& doc) {
            doc = document("[Qual]\nQ_0=a\nQ_1=b\nQ_2=c\nCount=3\n[Alt]\nA_0=x\nA_1=y\nA_2=z\nCount=3\n[Resp]\n"
                           "Count=2\n[Resp_0]\n" +
                           body + "[Resp_1]\n" + body);
        });
        const auto kind = criterion ? ProblemLists::Kind::Criteria : ProblemLists::Kind::Alternatives;
        QList<TLElem> items = ProblemLists::load(file, kind);
        items.removeAt(deleted);
        QList<int> origins;
        for (const TLElem& item : items)
            origins << item.Num;
        ProblemLists::save(file, kind, items, origins);
        const IniFile reread(file.path());
        QCOMPARE(sectionText(*reread.snapshot(), u"Resp_0"_s), expected);
        QCOMPARE(sectionText(*reread.snapshot(), u"Resp_1"_s), expected);
    }

    void testConsensusWords_data()
    {
        QTest::addColumn<double>("share");
        QTest::addColumn<QString>("word");
        const QList<std::pair<double, QString>> rows{
            {0.0, u"очень низкий"_s},    {0.4999, u"очень низкий"_s}, {0.5, u"низкий"_s},   {0.6249, u"низкий"_s},
            {0.625, u"умеренный"_s},     {0.7499, u"умеренный"_s},    {0.75, u"высокий"_s}, {0.8749, u"высокий"_s},
            {0.875, u"очень высокий"_s}, {1.0, u"очень высокий"_s}};
        for (const auto& [share, word] : rows)
            QTest::addRow("%g", share) << share << word;
    }
    void testConsensusWords()
    {
        QFETCH(double, share);
        QFETCH(QString, word);
        QCOMPARE(Consensus::word(share), word);
    }

    // Hand computation for the row "reciprocal answers" (criteria 0.75/0.25 against 0.25/0.75):
    // Hα = -0.75 ln 0.75 - 0.25 ln 0.25 = 0.215762 + 0.346574 = 0.562335 for each, so their mean too;
    // p̄ = (0.5, 0.5), Hγ = ln 2 = 0.693147; S = e^0.562335 / e^0.693147 = e^-0.130812 = 0.877383.
    // H_min of (0.9, 0.1) = 0.094824 + 0.230259 = 0.325083, e^H_min / n = 1.384145 / 2 = 0.692073.
    // S* = (0.877383 - 0.692073) / (1 - 0.692073) = 0.185310 / 0.307927 = 0.6018: "низкий".
    // "equal beside 3 to 1" (0.5/0.5 and 0.75/0.25): Hα = (0.693147 + 0.562335) / 2 = 0.627741; p̄ = (0.625,
    // 0.375), Hγ = 0.293752 + 0.367811 = 0.661563; S = e^-0.033822 = 0.966744; S* = 0.274671 / 0.307927 = 0.8920.
    // "opposite extremes" (0.9/0.1 and 0.1/0.9): Hα = H_min and Hγ = ln 2, so S = e^H_min / 2 and S* = 0.
    // Group weights: "equal beside 3 to 1" has the ratio sqrt(1 x 3), w0 = sqrt 3 / (1 + sqrt 3) = 0.633975.
    // "each their own best", overall 2/3, 1/3 against 1/3, 2/3 (5/6 under Q_0, 1/2 under Q_1, weights 1/2):
    // Hα = 0.270310 + 0.366204 = 0.636514, Hγ = ln 2, S = e^-0.056633 = 0.944941, S* = 0.252868 / 0.307927 = 0.8212.
    void testGroupEvaluation_data()
    {
        QTest::addColumn<QByteArray>("problem");
        QTest::addColumn<QList<double>>("crit"); // the group's weights, then its criteria consistency ratio
        QTest::addColumn<QList<double>>("alt");
        QTest::addColumn<QList<double>>("consensus"); // criteria, each criterion, overall; -1: none
        QTest::addColumn<QString>("best");            // the group's, then each participant's
        using L = QList<double>;
        const QByteArray one = "[Resp]\nCount=1\n[Resp_0]\nName=Петя\n";
        const QByteArray two = "[Resp]\nCount=2\n[Resp_0]\nName=Петя\n";
        const QByteArray twoByTwo = TwoByTwo;
        QTest::newRow("reciprocal answers") << twoByTwo + "[QualM]\nQ_0*Q_1=-3\n" + one + "Q_0*Q_1=3\n"
                                            << L{0.5, 0.5, 0} << L{0.5, 0.5} << L{0.6018, 1, 1, 1} << u"0:0,0"_s;
        QTest::newRow("opposite extremes") << twoByTwo + "[QualM]\nQ_0*Q_1=-9\n" + one + "Q_0*Q_1=9\n"
                                           << L{0.5, 0.5, 0} << L{0.5, 0.5} << L{0, 1, 1, 1} << u"0:0,0"_s;
        QTest::newRow("equal beside 3 to 1")
            << twoByTwo + one + "Q_0*Q_1=-3\nA_0*A_1&Q_1=12\n"
            << L{0.633975, 0.366025, 0} << L{0.5, 0.5} << L{0.8920, 1, 1, 1} << u"0:0,0"_s;
        QTest::newRow("the user alone") << twoByTwo + "[QualM]\nQ_0*Q_1=-3\nA_0*A_1&Q_1=5\n"
                                        << L{0.75, 0.25, 0} << L{0.41667, 0.58333} << L{-1, -1, -1, -1} << u"1:1"_s;
        // The published cases of the single evaluation: the same answers two or three times give its numbers.
        const QByteArray sample = "Q_0*Q_1=-3\nA_0*A_1&Q_0=1\nA_0*A_1&Q_1=5\n";
        QTest::newRow("identical people")
            << twoByTwo + "[QualM]\n" + sample + two + sample + "[Resp_1]\nName=Оля\n" + sample << L{0.75, 0.25, 0}
            << L{0.41667, 0.58333} << L{1, 1, 1, 1} << u"1:1,1,1"_s;
        const QByteArray inconsistent = "Q_0*Q_1=-2\nQ_1*Q_2=-2\n";
        QTest::newRow("identical, inconsistent")
            << ThreeByTwo + QByteArray("[QualM]\n") + inconsistent + one + inconsistent
            << L{0.4126, 0.3275, 0.2599, 0.1874} << L{0.5, 0.5} << L{1, 1, 1, 1, 1} << u"0:0,0"_s;
        // Under Q_0 5/6, 1/6 against 1/6, 5/6: Hα = 0.151935 + 0.298627 = 0.450561, Hγ = ln 2, S = e^-0.242586 =
        // 0.784596, S* = 0.092523 / 0.307927 = 0.3005.
        QTest::newRow("each their own best") << twoByTwo + "[QualM]\nA_0*A_1&Q_0=-5\n" + one + "A_0*A_1&Q_0=5\n"
                                             << L{0.5, 0.5, 0} << L{0.5, 0.5} << L{1, 0.3005, 1, 0.8212} << u"0:0,1"_s;
        QTest::newRow("one criterion") << "[Qual]\nCount=1\n[Alt]\nCount=2\n[QualM]\nA_0*A_1&Q_0=-3\n" + one +
                                              "A_0*A_1&Q_0=3\n"
                                       << L{1, 0} << L{0.5, 0.5} << L{-1, 0.6018, 0.6018} << u"0:0,1"_s;
        QTest::newRow("no criteria") << "[Qual]\nCount=0\n[Alt]\nCount=2\n" + one << L{0} << L{0, 0} << L{-1, -1}
                                     << u"0:0,0"_s;
    }
    void testGroupEvaluation()
    {
        QFETCH(QByteArray, problem);
        QFETCH(QList<double>, crit);
        QFETCH(QList<double>, alt);
        QFETCH(QList<double>, consensus);
        QFETCH(QString, best);
        const IniDocument doc = document(problem);
        const QList<Respondent> respondents = Respondents::load(doc);
        const GroupResult r = GroupEvaluation::evaluate(ProblemData::load(doc), respondents);
        QCOMPARE(r.Participants.size(), respondents.size() + 1);
        QCOMPARE(r.Participants.front(), u"Я"_s);
        const auto near = [](const std::vector<double>& got, QList<double> expected) {
            return got.size() == std::size_t(expected.size()) &&
                   std::equal(got.cbegin(), got.cend(), expected.cbegin(),
                              [](double a, double b) { return std::abs(a - b) < 5e-5; });
        };
        std::vector<double> weights = r.Group.CritPriority;
        weights.push_back(r.Group.CritConsistencyRatio);
        QVERIFY(near(weights, crit));
        QVERIFY(near(r.Group.AltPriority, alt));
        std::vector<double> shares{r.Consensus.Criteria.value_or(-1.0)};
        for (const std::optional<double>& c : r.Consensus.PerCriterion)
            shares.push_back(c.value_or(-1.0));
        shares.push_back(r.Consensus.Overall.value_or(-1.0));
        QVERIFY(near(shares, consensus));
        QCOMPARE(QString::number(r.Group.BestChoice) + u':' + joined(r.ParticipantBest), best);
    }

    // Three criteria, two alternatives: steps 0..2 the criteria pairs, 3 and 4 the alternatives under Q_0, Q_1.
    // The range of a comparison is the largest minus the smallest participant's ln a[first][second].
    void testDisagreements_data()
    {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<QString>("expected");
        // Ranges: step 0 ln 9 - ln 1/9 = 4.39, step 3 ln 5 = 1.61, steps 1 and 2 ln 3 = 1.10 each (a tie).
        QTest::newRow("largest first, ties in step order")
            << ThreeByTwo + QByteArray("[QualM]\nQ_0*Q_1=-9\n[Resp]\nCount=2\n[Resp_0]\nQ_0*Q_1=9\nQ_0*Q_2=3\n"
                                       "A_0*A_1&Q_0=5\n[Resp_1]\nQ_1*Q_2=-3\n")
            << u"0:Q_0*Q_1:4.394:-9,9,1|3:A_0*A_1&Q_0:1.609:1,5,1|1:Q_0*Q_2:1.099:1,3,1"_s;
        QTest::newRow("one differs") << ThreeByTwo +
                                            QByteArray("[QualM]\nQ_0*Q_1=-9\n[Resp]\nCount=1\n[Resp_0]\nQ_0*Q_1=-9\n"
                                                       "A_0*A_1&Q_1=2\n")
                                     << u"4:A_0*A_1&Q_1:0.693:1,2"_s;
        QTest::newRow("nobody differs") << ThreeByTwo +
                                               QByteArray("[QualM]\nQ_0*Q_1=7\n[Resp]\nCount=1\n[Resp_0]\nQ_0*Q_1=7\n")
                                        << QString();
        // Everybody disagrees alike on all 30 comparisons of four criteria and four alternatives.
        QByteArray all = "[Qual]\nCount=4\n[Alt]\nCount=4\n[Resp]\nCount=1\n[Resp_0]\n";
        for (const QString& key : Respondents::stepKeys(4, 4))
            all += key.toLatin1() + "=9\n";
        QTest::newRow("all tied") << all << u"0:Q_0*Q_1:2.197:1,9|1:Q_0*Q_2:2.197:1,9|2:Q_0*Q_3:2.197:1,9"_s;
    }
    void testDisagreements()
    {
        QFETCH(QByteArray, answers);
        QFETCH(QString, expected);
        const IniDocument doc = document(answers);
        const GroupResult r = GroupEvaluation::evaluate(ProblemData::load(doc), Respondents::load(doc));
        QStringList got;
        for (const Disagreement& d : r.Disagreements)
            got << u"%1:%2:%3:%4"_s.arg(d.step).arg(d.key).arg(d.range, 0, 'f', 3).arg(joined(d.values));
        QCOMPARE(got.join(u'|'), expected);
    }
    // The tool run as a process: a respondent accepted, one refused leaving the file as it was, and the group
    // read back from --json. The user weighs criterion 1 three times criterion 2, Маша the other way round nine
    // times: the group's ratio is sqrt(3 / 9), so criterion 1 weighs 1 / (1 + sqrt 3).
    void testEvalTool()
    {
#ifndef OPTIVAR_EVAL_EXE
        QSKIP("optivar-eval is not built");
#else
        QTemporaryDir dir;
        const QString problem = dir.filePath(u"Задача.qzr"_s);
        const QString answers = dir.filePath(u"answers.txt"_s);
        TestSupport::writeBytes(problem, CodePage::encode(QString::fromUtf8(TwoByTwo) + u"[QualM]\nQ_0*Q_1=-3\n"_s));
        const auto run = [&](const QStringList& arguments) {
            QProcess process;
            process.start(QString::fromUtf8(OPTIVAR_EVAL_EXE), arguments);
            return process.waitForFinished(30000) ? std::pair(process.exitCode(), process.readAllStandardOutput())
                                                  : std::pair(-1, QByteArray());
        };
        TestSupport::writeBytes(answers, " 17 \r\n\r\n17\r\n");
        QCOMPARE(run({u"--add-respondent"_s, u"Маша"_s, answers, problem}).first, 0);
        const QByteArray stored = TestSupport::readBytes(problem);
        QCOMPARE(summary(Respondents::load(IniDocument::fromBytes(stored))), u"0:Маша:9,0,9"_s);

        TestSupport::writeBytes(answers, "9\n18\n");
        QCOMPARE(run({u"--add-respondent"_s, u"Петя"_s, answers, problem}).first, 1);
        QCOMPARE(TestSupport::readBytes(problem), stored);

        const QJsonObject group = QJsonDocument::fromJson(run({u"--json"_s, problem}).second)[u"Group"_s].toObject();
        QCOMPARE(group[u"Participants"_s].toVariant().toStringList(), QStringList({u"Я"_s, u"Маша"_s}));
        QCOMPARE(group[u"CritPriority"_s][0].toDouble(), 1.0 / (1.0 + std::sqrt(3.0)));
        // Nobody judged the alternatives under criterion 1: both see them equal, a full consensus.
        QCOMPARE(group[u"Consensus"_s][u"PerCriterion"_s][0].toDouble(), 1.0);
        QCOMPARE(group[u"ParticipantBest"_s].toVariant().toList(), QVariantList({0, 1}));

        // The full report ends in the participants' part, with Маша's row; a row of answers longer than the
        // writer's 255 characters keeps every participant.
        const QString longName(250, u'Ж');
        TestSupport::writeBytes(answers, "1\n");
        QCOMPARE(run({u"--add-respondent"_s, longName, answers, problem}).first, 0);
        const QString report = dir.filePath(u"отчет.docx"_s);
        QCOMPARE(run({u"--report"_s, u"full"_s, report, problem}).first, 0);
        const QStringList body = DocxReader::bodyOutline(DocxReader::unzipFile(report));
        QVERIFY(body.contains(u"Участники:"_s));
        QVERIFY(body.join(u'\n').contains(u"Маша — 17; "_s + longName + u" — 1"_s));
#endif
    }
};

QTEST_GUILESS_MAIN(TestRespondents)
#include "test_respondents.moc"
