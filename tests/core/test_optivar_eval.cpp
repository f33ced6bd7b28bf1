// The command-line evaluator, run as a separate process, and the example
// problems it is shown with.
#include "DocxReader.h"
#include "TestSupport.h"

#include "compare/CompareStepsBuild.h"
#include "evaluate/Analysis.h"
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsJson.h"
#include "report/AnalysisReport.h"
#include "report/Questionnaire.h"
#include "report/ResultReports.h"
#include "report/TFormWord.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/ProblemKeys.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

#ifdef OPTIVAR_EVAL_EXE
const QString evalExe = QString::fromUtf8(OPTIVAR_EVAL_EXE);
#else
const QString evalExe;
#endif

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The locale comes only from the environment given here, whatever the machine's.
// There is never a display: whatever the tool draws, it draws offscreen by itself.
Run runEval(const QStringList& arguments, const QString& locale = u"ru_RU.UTF-8"_s, const QString& workDir = {})
{
    Run run;
    QProcess process;
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"LC_NUMERIC"_s);
    env.insert(u"LC_ALL"_s, locale);
    env.insert(u"LANG"_s, locale);
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    process.setProcessEnvironment(env);
    process.start(evalExe, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QStringList linesOf(const QByteArray& utf8)
{
    QStringList lines = QString::fromUtf8(utf8).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // after the newline that ends the last line
    return lines;
}

const QLocale russian(QLocale::Russian, QLocale::Russia);

// The two-by-two problem: criteria 3:1, alternatives equal, then 1:5.
const char sampleProblem[] = "[Alt]\r\n"
                             "A_0=Квартира в центре\r\n"
                             "A_1=Дом за городом\r\n"
                             "Count=2\r\n"
                             "[Qual]\r\n"
                             "Q_0=Цена\r\n"
                             "Q_1=Площадь\r\n"
                             "Count=2\r\n"
                             "[QualM]\r\n"
                             "Q_0*Q_1=-3\r\n"
                             "A_0*A_1&Q_0=1\r\n"
                             "A_0*A_1&Q_1=5\r\n";

QString examplePath(const QString& name)
{
    return QDir(TestSupport::examplesDir()).filePath(name);
}

void addExampleRows()
{
    QTest::addColumn<QString>("path");
    for (const QString& name : {u"Квартира.qzr"_s, u"Машина.qzr"_s, u"Банк.qzr"_s})
        QTest::newRow(name.toUtf8().constData()) << examplePath(name);
}

// Compares a JSON array of numbers with the evaluation's doubles bit for bit.
bool sameDoubles(const QJsonValue& json, const std::vector<double>& expected)
{
    const QJsonArray array = json.toArray();
    if (!json.isArray() || array.size() != qsizetype(expected.size()))
        return false;
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array.at(i).isDouble() || array.at(i).toDouble() != expected[std::size_t(i)])
            return false;
    }
    return true;
}

// Width and height from a Windows bitmap's header; an empty size for anything else.
QSize bitmapSize(const QByteArray& bytes)
{
    if (!bytes.startsWith("BM") || bytes.size() < 26)
        return {};
    const auto le32 = [&](int at) {
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | quint8(bytes.at(at + i));
        return qint32(v);
    };
    return QSize(le32(18), qAbs(le32(22))); // a negative height is a top-down bitmap
}

// The body as its outline, a paragraph holding a picture as "#picture".
QStringList outlineOf(const DocxReader::Package& package)
{
    QStringList lines;
    const DocxReader::Node body = package.body();
    for (const DocxReader::Node& block : body.children) {
        if (block.name == u"w:sectPr"_s)
            continue;
        lines << (block.all(u"w:drawing"_s, true).empty() ? DocxReader::outline(block) : u"#picture"_s);
    }
    return lines;
}

// The document the program's own export would write for this problem, read back.
QStringList expectedOutline(const QString& kind, const QByteArray& problemBytes, const QString& pictureDir)
{
    const IniDocument doc = IniDocument::fromBytes(problemBytes);
    const TFormWord::Kind k = kind == u"short"_s  ? TFormWord::Kind::ShortReport
                              : kind == u"full"_s ? TFormWord::Kind::FullReport
                                                  : TFormWord::Kind::Questionnaire;
    TFormWord word({pictureDir, u"x"_s, k, {}, {}});
    if (k == TFormWord::Kind::Questionnaire) {
        Questionnaire::write(word, doc, CompareStepsBuild::stepLines(doc));
    } else {
        const QString picture = QDir(pictureDir).filePath(u"chart.bmp"_s);
        TestSupport::writeBytes(picture, QByteArray("BM") + QByteArray(60, ' '));
        const EvaluationResult result = Evaluation::EvaluateProblem(ProblemData::load(doc), russian);
        if (k == TFormWord::Kind::FullReport)
            ResultReports::writeFull(word, doc, result, picture, russian);
        else
            ResultReports::writeShort(word, doc, result, picture, russian);
    }
    return outlineOf(DocxReader::unzip(word.documentBytes(QDateTime::currentDateTime())));
}

} // namespace

class TestOptivarEval : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (evalExe.isEmpty())
            QSKIP("optivar-eval is not built");
    }

    // The examples are what a person would have entered: 3 to 5 named
    // alternatives and criteria, every pair judged, in code page 1251 with CRLF.
    void testExampleFiles_data() { addExampleRows(); }
    void testExampleFiles()
    {
        QFETCH(QString, path);
        const QByteArray bytes = TestSupport::readBytes(path);
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString asUtf8 = utf8.decode(bytes);
        QVERIFY(!asUtf8.isEmpty());
        QVERIFY2(utf8.hasError(), "the Russian text is in UTF-8, not in code page 1251");
        const IniDocument doc = IniDocument::fromBytes(bytes);
        const int n = ProblemKeys::readCount(doc, ProblemKeys::QualSection);
        const int m = ProblemKeys::readCount(doc, ProblemKeys::AltSection);
        QVERIFY(n >= 3 && n <= 5);
        QVERIFY(m >= 3 && m <= 5);
        static const QRegularExpression cyrillic(u"[А-Яа-яЁё]"_s);
        for (int i = 0; i < m; ++i)
            QVERIFY(doc.readString(ProblemKeys::AltSection, ProblemKeys::altKey(i), {}).contains(cyrillic));
        for (int k = 0; k < n; ++k)
            QVERIFY(doc.readString(ProblemKeys::QualSection, ProblemKeys::qualKey(k), {}).contains(cyrillic));
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j)
                QVERIFY(doc.value(ProblemKeys::JudgementSection, ProblemKeys::qualPairKey(i, j)).has_value());
        }
        for (int q = 0; q < n; ++q) {
            for (int i = 0; i < m; ++i) {
                for (int j = i + 1; j < m; ++j)
                    QVERIFY(doc.value(ProblemKeys::JudgementSection, ProblemKeys::altPairKey(i, j, q)).has_value());
            }
        }
    }

    void testSomeExampleWarns()
    {
        int warnings = 0;
        for (const QString& name : {u"Квартира.qzr"_s, u"Машина.qzr"_s, u"Банк.qzr"_s}) {
            const EvaluationResult r =
                Evaluation::EvaluateProblem(ProblemData::load(IniFile(examplePath(name))), russian);
            warnings += r.Memo.count(u"Внимание!"_s);
        }
        QVERIFY(warnings > 0);
    }

    // The text is the results text of the evaluation, line for line, and the file stays as it was.
    void testTextOfExamples_data() { addExampleRows(); }
    void testTextOfExamples()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString copy = dir.filePath(QFileInfo(path).fileName());
        QVERIFY(QFile::copy(path, copy));
        const QByteArray before = TestSupport::readBytes(copy);
        const QDateTime modified = QFileInfo(copy).lastModified();

        const Run run = runEval({copy});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        const EvaluationResult r = Evaluation::EvaluateProblem(ProblemData::load(IniFile(copy)), russian);
        QCOMPARE(linesOf(run.out), r.Memo);

        QCOMPARE(TestSupport::readBytes(copy), before);
        QCOMPARE(QFileInfo(copy).lastModified(), modified);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    }

    void testSampleText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("ru_RU") << u"ru_RU.UTF-8"_s << u","_s;
        QTest::newRow("en_US") << u"en_US.UTF-8"_s << u"."_s;
        QTest::newRow("C") << u"C"_s << u"."_s;
    }
    void testSampleText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, separator);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Задача.qzr"_s);
        TestSupport::writeBytes(path, TestSupport::cp1251(sampleProblem));
        const Run run = runEval({path}, locale);
        QCOMPARE(run.exitCode, 0);
        const QStringList expected{
            u"Альтернативы имеют следующие приоритеты :"_s,
            QString(),
            u"Квартира в центре 41"_s + separator + u"67%"_s,
            u"Дом за городом 58"_s + separator + u"33%"_s,
            QString(),
            u"Лучший выбор - Дом за городом"_s,
            QString(),
        };
        QCOMPARE(linesOf(run.out), expected);
    }

    // A contradictory problem shows both warnings before the priorities.
    void testBankWarnings()
    {
        const Run run = runEval({examplePath(u"Банк.qzr"_s)});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = linesOf(run.out);
        QVERIFY(lines.size() > 8);
        QCOMPARE(lines.at(0), u"Внимание!"_s);
        QVERIFY(lines.at(1).startsWith(u"При сравнении критериев по степени важности"_s));
        QCOMPARE(lines.at(4), u"Внимание!"_s);
        QVERIFY(lines.at(5).startsWith(u"При сравнении альтернатив"_s));
        QCOMPARE(lines.at(8), u"Альтернативы имеют следующие приоритеты :"_s);
    }

    void testJson_data()
    {
        QTest::addColumn<QByteArray>("problem");
        QTest::addColumn<int>("best");
        QTest::newRow("sample") << TestSupport::cp1251(sampleProblem) << 1;
        QTest::newRow("bank") << TestSupport::readBytes(examplePath(u"Банк.qzr"_s)) << 2;
        QTest::newRow("car") << TestSupport::readBytes(examplePath(u"Машина.qzr"_s)) << 0;
        QTest::newRow("empty file") << QByteArray() << -1;
        QTest::newRow("criteria only") << QByteArray("[Qual]\r\nCount=3\r\n[QualM]\r\nQ_0*Q_1=9\r\n") << -1;
        QTest::newRow("one alternative, no criteria") << QByteArray("[Alt]\r\nCount=1\r\n") << 0;
    }
    void testJson()
    {
        QFETCH(QByteArray, problem);
        QFETCH(int, best);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"problem.qzr"_s);
        TestSupport::writeBytes(path, problem);

        const Run run = runEval({u"--json"_s, path});
        QCOMPARE(run.exitCode, 0);
        QJsonParseError error{};
        const QJsonDocument json = QJsonDocument::fromJson(run.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(json.isObject());
        const QJsonObject o = json.object();

        const ProblemData data = ProblemData::load(IniDocument::fromBytes(problem));
        const EvaluationResult r = Evaluation::EvaluateProblem(data, russian);
        QCOMPARE(o.value(u"CritTotal"_s).toInt(-1), r.CritTotal);
        QCOMPARE(o.value(u"AltTotal"_s).toInt(-1), r.AltTotal);
        QCOMPARE(o.value(u"BestChoice"_s).toInt(-2), best);
        QCOMPARE(o.value(u"AltNames"_s).toArray().toVariantList(), QVariant(data.altNames()).toList());
        QVERIFY(sameDoubles(o.value(u"CritPriority"_s), r.CritPriority));
        QVERIFY(sameDoubles(o.value(u"AltConsistencyIndex"_s), r.AltConsistencyIndex));
        QVERIFY(sameDoubles(o.value(u"AltPriority"_s), r.AltPriority));
        const QJsonArray local = o.value(u"AltLocalPriority"_s).toArray();
        QCOMPARE(local.size(), r.AltTotal);
        for (int i = 0; i < r.AltTotal; ++i)
            QVERIFY(sameDoubles(local.at(i), r.AltLocalPriority[std::size_t(i)]));
        QVERIFY(o.value(u"CritConsistencyRatio"_s).isDouble());
        QCOMPARE(o.value(u"CritConsistencyRatio"_s).toDouble(), r.CritConsistencyRatio);
        QCOMPARE(o.value(u"AltConsistencyRatio"_s).toDouble(), r.AltConsistencyRatio);
    }

    // The analysis in the JSON is the analysis of the same evaluation, number for number.
    void testJsonAnalysis_data()
    {
        QTest::addColumn<QByteArray>("problem");
        QTest::newRow("sample") << TestSupport::cp1251(sampleProblem);
        QTest::newRow("bank") << TestSupport::readBytes(examplePath(u"Банк.qzr"_s));
        QTest::newRow("flat") << TestSupport::readBytes(examplePath(u"Квартира.qzr"_s));
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("one criterion") << QByteArray("[Qual]\r\nCount=1\r\n[Alt]\r\nCount=3\r\n");
        QTest::newRow("alternatives only") << QByteArray("[Alt]\r\nCount=2\r\n");
        QTest::newRow("criteria only") << QByteArray("[Qual]\r\nCount=3\r\n[QualM]\r\nQ_0*Q_1=9\r\n");
    }
    void testJsonAnalysis()
    {
        QFETCH(QByteArray, problem);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"problem.qzr"_s);
        TestSupport::writeBytes(path, problem);
        const Run run = runEval({u"--json"_s, path});
        QCOMPARE(run.exitCode, 0);
        QJsonParseError error{};
        const QJsonObject o = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        // Nothing is ever not a number, which the writer would turn into null: the only null is the
        // smallest change when there is none.
        QCOMPARE(run.out.count("null"), o.value(u"SmallestChange"_s).isNull() ? 1 : 0);

        const ProblemData data = ProblemData::load(IniDocument::fromBytes(problem));
        const AnalysisResult a = Analysis::analyse(data, Evaluation::EvaluateProblem(data, russian));

        const QJsonArray weights = o.value(u"Weights"_s).toArray();
        QCOMPARE(weights.size(), a.critTotal);
        for (int k = 0; k < a.critTotal; ++k) {
            QCOMPARE(weights.at(k)[u"Name"_s].toString(), data.critName(k));
            QCOMPARE(weights.at(k)[u"Weight"_s].toDouble(), a.weights[std::size_t(k)]);
        }

        const QJsonArray matrices = o.value(u"Matrices"_s).toArray();
        QCOMPARE(matrices.size(), qsizetype(a.matrices.size()));
        QJsonArray expectedRevisit;
        for (qsizetype x = 0; x < matrices.size(); ++x) {
            const AnalysisMatrix& m = a.matrices[std::size_t(x)];
            const QJsonObject json = matrices.at(x).toObject();
            QCOMPARE(json[u"Criterion"_s].toInt(-2), m.criterion);
            QCOMPARE(json[u"Order"_s].toInt(-1), m.order);
            QVERIFY(json[u"Lambda"_s].isDouble() && json[u"CI"_s].isDouble() && json[u"CR"_s].isDouble());
            QCOMPARE(json[u"Lambda"_s].toDouble(), m.lambda);
            QCOMPARE(json[u"CI"_s].toDouble(), m.consistencyIndex);
            QCOMPARE(json[u"CR"_s].toDouble(), m.consistencyRatio);
            for (const RevisitJudgement& j : m.revisit) {
                expectedRevisit.append(QJsonObject{{u"Matrix"_s, int(x)},
                                                   {u"Key"_s, j.key},
                                                   {u"Step"_s, j.step},
                                                   {u"Present"_s, j.presentValue},
                                                   {u"Suggested"_s, j.suggestedValue},
                                                   {u"E"_s, j.e}});
            }
        }
        QCOMPARE(o.value(u"Revisit"_s).toArray(), expectedRevisit);

        const QJsonArray sensitivity = o.value(u"Sensitivity"_s).toArray();
        QCOMPARE(sensitivity.size(), a.critTotal);
        for (int k = 0; k < a.critTotal; ++k) {
            const CriterionSensitivity& s = a.sensitivity[std::size_t(k)];
            const QJsonObject json = sensitivity.at(k).toObject();
            QCOMPARE(json[u"Criterion"_s].toInt(-1), k);
            QCOMPARE(json[u"Weight"_s].toDouble(), s.weight);
            QCOMPARE(json[u"Low"_s].toDouble(), s.low);
            QCOMPARE(json[u"High"_s].toDouble(), s.high);
            QCOMPARE(json[u"WinnerBelow"_s].toInt(-2), s.winnerBelow);
            QCOMPARE(json[u"WinnerAbove"_s].toInt(-2), s.winnerAbove);
        }

        const QJsonValue smallest = o.value(u"SmallestChange"_s);
        QVERIFY(o.contains(u"SmallestChange"_s));
        QCOMPARE(smallest.isNull(), !a.smallestChange.has_value());
        if (a.smallestChange) {
            QCOMPARE(smallest[u"Criterion"_s].toInt(-1), a.smallestChange->criterion);
            QCOMPARE(smallest[u"NewWeight"_s].toDouble(), a.smallestChange->newWeight);
            QCOMPARE(smallest[u"NewWinner"_s].toInt(-1), a.smallestChange->newWinner);
        }
    }

    // Three equal criteria, two alternatives: the weight of the second criterion falling from 1/3 to 5/21
    // hands the choice to the first alternative (worked out by hand); matrices of order 2 have nothing to
    // revisit.
    void testJsonAnalysisByHand()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"problem.qzr"_s);
        TestSupport::writeBytes(path, QByteArray("[Qual]\r\nCount=3\r\n[Alt]\r\nCount=2\r\n[QualM]\r\n"
                                                 "A_0*A_1&Q_0=-3\r\nA_0*A_1&Q_1=9\r\n"));
        const Run run = runEval({u"--json"_s, path});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(o.value(u"BestChoice"_s).toInt(-1), 1);
        const QJsonObject smallest = o.value(u"SmallestChange"_s).toObject();
        QCOMPARE(smallest[u"Criterion"_s].toInt(-1), 1);
        QVERIFY(std::fabs(smallest[u"NewWeight"_s].toDouble() - 5.0 / 21.0) < 1e-12);
        QCOMPARE(smallest[u"NewWinner"_s].toInt(-1), 0);
        const QJsonObject first = o.value(u"Sensitivity"_s).toArray().at(0).toObject();
        QVERIFY(std::fabs(first[u"High"_s].toDouble() - 4.0 / 9.0) < 1e-12);
        QCOMPARE(first[u"WinnerAbove"_s].toInt(-2), 0);
        QCOMPARE(first[u"WinnerBelow"_s].toInt(-2), -1);
        QCOMPARE(o.value(u"Revisit"_s).toArray().size(), 0);
    }

    void testJsonEscapesNames()
    {
        ProblemData data(1, 2);
        data.setAltName(0, u"Дом \"у реки\"\\2"_s);
        data.setAltName(1, u"табуляция\tвнутри"_s);
        const QByteArray text = ResultsJson::toJson(data, Evaluation::EvaluateProblem(data, russian));
        QJsonParseError error{};
        const QJsonDocument json = QJsonDocument::fromJson(text, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray names = json.object().value(u"AltNames"_s).toArray();
        QCOMPARE(names.size(), 2);
        QCOMPARE(names.at(0).toString(), data.altName(0));
        QCOMPARE(names.at(1).toString(), data.altName(1));
    }

    void testUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no arguments") << QStringList{} << 2;
        QTest::newRow("only --json") << QStringList{u"--json"_s} << 2;
        QTest::newRow("two files") << QStringList{u"a.qzr"_s, u"b.qzr"_s} << 2;
        QTest::newRow("unknown option") << QStringList{u"--xml"_s, u"a.qzr"_s} << 2;
        QTest::newRow("--report without its kind") << QStringList{u"--report"_s} << 2;
        QTest::newRow("unknown report") << QStringList{u"--report"_s, u"long"_s, u"o.docx"_s, u"a.qzr"_s} << 2;
        QTest::newRow("report without its document") << QStringList{u"--report"_s, u"full"_s, u"a.qzr"_s} << 2;
        QTest::newRow("report and --json")
            << QStringList{u"--json"_s, u"--report"_s, u"short"_s, u"o.docx"_s, u"a.qzr"_s} << 2;
        QTest::newRow("two reports") << QStringList{u"--report"_s, u"short"_s,  u"--report"_s,
                                                    u"full"_s,     u"o.docx"_s, u"a.qzr"_s}
                                     << 2;
        QTest::newRow("--help") << QStringList{u"--help"_s} << 0;
        QTest::newRow("-h with a file") << QStringList{u"a.qzr"_s, u"-h"_s} << 0;
    }
    void testUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const Run run = runEval(arguments);
        QCOMPARE(run.exitCode, exitCode);
        // Help goes to the output; a usage error goes to the error stream with nothing on the output.
        const QByteArray& usage = exitCode == 0 ? run.out : run.err;
        QVERIFY2(usage.contains("Usage: optivar-eval [--json] FILE.qzr"), usage.constData());
        QVERIFY(usage.contains("--json"));
        QVERIFY(usage.contains("--report short|full|questionnaire OUT.docx FILE.qzr"));
        if (exitCode != 0)
            QCOMPARE(run.out, QByteArray());
    }

    void testUnreadable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << u"missing"_s;
        QTest::newRow("folder") << u"folder"_s;
        QTest::newRow("no permission") << u"no permission"_s;
        QTest::newRow("FIFO") << u"FIFO"_s;     // opening it would wait for a writer
        QTest::newRow("device") << u"device"_s; // reading it would never end
    }
    void testUnreadable()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = kind == u"device"_s ? u"/dev/zero"_s : dir.filePath(u"Нечитаемая задача.qzr"_s);
        if (kind == u"FIFO"_s) {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (kind == u"folder"_s) {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == u"no permission"_s) {
            TestSupport::writeBytes(path, TestSupport::cp1251(sampleProblem));
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
            QFile probe(path);
            if (probe.open(QIODevice::ReadOnly))
                QSKIP("this user reads files whatever their permissions");
        }
        const Run run = runEval({path});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        const QString message = QString::fromUtf8(run.err);
        QVERIFY2(message.startsWith(u"optivar-eval: cannot read "_s), qPrintable(message));
        QVERIFY2(message.contains(path), qPrintable(message));
        if (kind == u"missing"_s)
            QVERIFY(!QFileInfo::exists(path));
    }

    // Each document is the one the program's export writes, with no window, and
    // nothing is left beside it: the problem file as it was, no chart picture.
    void testReport_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("problem");
        QTest::addColumn<int>("tables");
        QTest::addColumn<int>("pictures");
        const QByteArray sample = TestSupport::cp1251(sampleProblem);
        const QByteArray bank = TestSupport::readBytes(examplePath(u"Банк.qzr"_s));
        QTest::newRow("short") << u"short"_s << sample << 0 << 1;
        QTest::newRow("full") << u"full"_s << sample << 3 << 1;
        QTest::newRow("full, warnings") << u"full"_s << bank << -1 << 1;
        QTest::newRow("questionnaire") << u"questionnaire"_s << sample << 0 << 0;
        // The file's judgements are out of step with its lists: the questions follow the lists.
        QTest::newRow("questionnaire, stale judgements")
            << u"questionnaire"_s << sample + "Q_0*Q_5=3\r\nA_0*A_1&Q_7=2\r\n"
            << 0 << 0;
    }
    void testReport()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, problem);
        QFETCH(int, tables);
        QFETCH(int, pictures);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Задача.qzr"_s);
        TestSupport::writeBytes(path, problem);
        const QDateTime modified = QFileInfo(path).lastModified();
        const QString out = dir.filePath(u"отчет.docx"_s);

        const Run run = runEval({u"--report"_s, kind, out, path}, u"ru_RU.UTF-8"_s, dir.path());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        // Qt may note things about the offscreen platform; the tool itself has nothing to say.
        QVERIFY2(!run.err.contains("optivar-eval"), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(TestSupport::readBytes(path), problem);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{u"Задача.qzr"_s, u"отчет.docx"_s}));

        const DocxReader::Package package = DocxReader::unzipFile(out);
        QCOMPARE(DocxReader::packageFaults(package), QStringList());
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QCOMPARE(outlineOf(package), expectedOutline(kind, problem, scratch.path()));
        // The report's own tables; a full report then closes with the decision
        // analysis and its tables, as the program's export does.
        const DocxReader::Node body = package.body();
        int reportTables = 0;
        bool analysis = false;
        for (const DocxReader::Node& block : body.children) {
            if (block.name == u"w:p"_s && DocxReader::outline(block) == QStringView(AnalysisReport::Title))
                analysis = true;
            else if (block.name == u"w:tbl"_s && !analysis)
                ++reportTables;
        }
        QCOMPARE(analysis, kind == u"full"_s);
        if (tables >= 0)
            QCOMPARE(reportTables, tables);

        // The chart, drawn at the results screen's size, embedded at 15 x 15 cm.
        const QStringList media = package.order.filter(u"word/media/"_s);
        QCOMPARE(media.size(), pictures);
        if (pictures == 1) {
            QCOMPARE(bitmapSize(package.parts.value(media.first())), QSize(408, 523));
            const std::vector<const DocxReader::Node*> extents = body.all(u"wp:extent"_s, true);
            QCOMPARE(extents.size(), std::size_t(1));
            QCOMPARE(extents[0]->attr(u"cx"_s), u"5400000"_s);
            QCOMPARE(extents[0]->attr(u"cy"_s), u"5400000"_s);
        }
    }

    // An existing document is replaced whole; one that cannot be written is not
    // begun, and the problem file is never the target.
    void testReportTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("replaces a document") << u"old.docx"_s << 0;
        QTest::newRow("folder missing") << u"нет/отчет.docx"_s << 1;
        QTest::newRow("a folder") << u"folder"_s << 1;
        QTest::newRow("the problem file") << u"Задача.qzr"_s << 1;
    }
    void testReportTarget()
    {
        QFETCH(QString, target);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Задача.qzr"_s);
        const QByteArray problem = TestSupport::cp1251(sampleProblem);
        TestSupport::writeBytes(path, problem);
        TestSupport::writeBytes(dir.filePath(u"old.docx"_s), "an older document");
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        const Run run = runEval({u"--report"_s, u"short"_s, dir.filePath(target), path});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(TestSupport::readBytes(path), problem);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        if (exitCode == 0) {
            QVERIFY2(!run.err.contains("optivar-eval"), run.err.constData());
            QCOMPARE(DocxReader::packageFaults(DocxReader::unzipFile(dir.filePath(target))), QStringList());
        } else {
            QVERIFY2(run.err.contains("optivar-eval: "), run.err.constData());
            QCOMPARE(TestSupport::readBytes(dir.filePath(u"old.docx"_s)), QByteArray("an older document"));
            QVERIFY(QFileInfo(dir.filePath(u"folder"_s)).isDir());
        }
    }

    // The criteria screen refuses a questionnaire outside 2 to 9 criteria, and so does the tool.
    void testQuestionnaireCriteriaCount_data()
    {
        QTest::addColumn<int>("criteria");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 0;
        QTest::newRow("9") << 9 << 0;
        QTest::newRow("10") << 10 << 1;
    }
    void testQuestionnaireCriteriaCount()
    {
        QFETCH(int, criteria);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"Задача.qzr"_s);
        TestSupport::writeBytes(path, "[Qual]\r\nCount=" + QByteArray::number(criteria) + "\r\n");
        const QString out = dir.filePath(u"анкета.docx"_s);
        const Run run = runEval({u"--report"_s, u"questionnaire"_s, out, path});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(QFileInfo::exists(out), exitCode == 0);
        if (exitCode != 0)
            QCOMPARE(QString::fromUtf8(run.err),
                     u"optivar-eval: Количество критериев должно быть в интервале от 2 до 9.\n"_s);
    }

    // After "--" a name that starts with "-" is a file.
    void testDashedFileName()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TestSupport::writeBytes(dir.filePath(u"-x.qzr"_s), TestSupport::cp1251(sampleProblem));
        const Run run = runEval({u"--"_s, u"-x.qzr"_s}, u"ru_RU.UTF-8"_s, dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("Лучший выбор - Дом за городом"));
    }
};

QTEST_GUILESS_MAIN(TestOptivarEval)
#include "test_optivar_eval.moc"
