// The command-line evaluator run as a separate process: that it is wired to the evaluation, the reports and
// the refusals, shown on the sample problem worked out by hand (criteria 3:1, alternatives equal, then 1:5).
#include "DocxReader.h"
#include "TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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

// The locale comes only from the environment given here; there is never a display.
Run runEval(const QStringList& arguments, const QString& locale = u"ru_RU.UTF-8"_s)
{
    QProcess process;
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
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

const QByteArray sample = TestSupport::cp1251("[Alt]\r\nA_0=Квартира в центре\r\nA_1=Дом за городом\r\nCount=2\r\n"
                                              "[Qual]\r\nQ_0=Цена\r\nQ_1=Площадь\r\nCount=2\r\n"
                                              "[QualM]\r\nQ_0*Q_1=-3\r\nA_0*A_1&Q_0=1\r\nA_0*A_1&Q_1=5\r\n");

} // namespace

class TestOptivarEval final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_problem;

    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

private Q_SLOTS:
    void initTestCase()
    {
        if (evalExe.isEmpty())
            QSKIP("optivar-eval is not built");
        QVERIFY(m_dir.isValid());
        m_problem = m_dir.filePath(u"Задача.qzr"_s);
        TestSupport::writeBytes(m_problem, sample);
        TestSupport::writeBytes(m_dir.filePath(u"one.qzr"_s), "[Qual]\r\nCount=1\r\n");
        TestSupport::writeBytes(m_dir.filePath(u"ten.qzr"_s), "[Qual]\r\nCount=10\r\n");
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath(u"fifo.qzr"_s)).constData(), 0600) == 0);
    }

    // 0 done, 1 refused (a message on the error stream), 2 misused; nothing is ever written beside the files. "@"
    // stands for the sample's path, "~" for its folder.
    void testExitCodes_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        const std::pair<const char*, int> rows[] = {{"@", 0},
                                                    {"--help", 0},
                                                    {"", 2},
                                                    {"--xml @", 2},
                                                    {"--report long ~/o.docx @", 2},
                                                    {"~/нет.qzr", 1},
                                                    {"~/fifo.qzr", 1},
                                                    {"--report short @ @", 1},
                                                    {"--report questionnaire ~/анкета.docx ~/one.qzr", 1},
                                                    {"--report questionnaire ~/анкета.docx ~/ten.qzr", 1}};
        for (const auto& [arguments, exitCode] : rows)
            QTest::newRow(arguments) << QString::fromUtf8(arguments) << exitCode;
    }
    void testExitCodes()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        const QStringList before = entries();
        const Run run =
            runEval(arguments.replace(u'@', m_problem).replace(u'~', m_dir.path()).split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(TestSupport::readBytes(m_problem), sample);
        QCOMPARE(entries(), before);
        QVERIFY(exitCode == 0 || run.out.isEmpty());
        QVERIFY2(exitCode != 1 || run.err.startsWith("optivar-eval: "), run.err.constData());
        if (arguments.contains(u"questionnaire"_s)) // the criteria screen's refusal, in its words
            QCOMPARE(QString::fromUtf8(run.err),
                     u"optivar-eval: Количество критериев должно быть в интервале от 2 до 9.\n"_s);
    }

    void testTextJsonAndReport()
    {
        // The results text in the locale of the environment.
        for (const auto& [locale, separator] : {std::pair{u"ru_RU.UTF-8"_s, u","_s}, std::pair{u"C"_s, u"."_s}}) {
            const QString expected = u"Альтернативы имеют следующие приоритеты :\n\nКвартира в центре 41,67%\n"
                                     "Дом за городом 58,33%\n\nЛучший выбор - Дом за городом\n\n"_s;
            QCOMPARE(QString::fromUtf8(runEval({m_problem}, locale).out), QString(expected).replace(u',', separator));
        }

        const Run json = runEval({u"--json"_s, m_problem});
        QCOMPARE(json.exitCode, 0);
        QJsonParseError error{};
        const QJsonObject o = QJsonDocument::fromJson(json.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o.value(u"BestChoice"_s).toInt(-2), 1);
        QCOMPARE(o.value(u"AltNames"_s).toArray(), (QJsonArray{u"Квартира в центре"_s, u"Дом за городом"_s}));
        const auto near = [&](const char* field, int i, double expected) {
            return std::fabs(o.value(QLatin1String(field)).toArray().at(i).toDouble(-1) - expected) < 1e-15;
        };
        QVERIFY(near("CritPriority", 0, 0.75) && near("CritPriority", 1, 0.25));
        QVERIFY(near("AltPriority", 0, 5.0 / 12) && near("AltPriority", 1, 7.0 / 12));

        const QString out = m_dir.filePath(u"отчет.docx"_s);
        const Run report = runEval({u"--report"_s, u"full"_s, out, m_problem});
        QCOMPARE(report.exitCode, 0);
        QCOMPARE(report.out, QByteArray());
        QCOMPARE(TestSupport::readBytes(m_problem), sample);
        const DocxReader::Package package = DocxReader::unzipFile(out);
        QCOMPARE(DocxReader::packageFaults(package), QStringList());
        const QStringList body = DocxReader::bodyOutline(package);
        QCOMPARE(body.first(), u"Протокол анализа альтернатив для принятия управленческого решения."_s);
        QVERIFY(body.contains(u"2. Дом за городом 58,33%"_s));
        QVERIFY(body.contains(u"Анализ решения"_s));
        QCOMPARE(package.order.filter(u"word/media/"_s).size(), 1); // the chart
        QVERIFY(QFile::remove(out));
    }
};

QTEST_GUILESS_MAIN(TestOptivarEval)
#include "test_optivar_eval.moc"
