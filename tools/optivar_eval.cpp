// optivar-eval: evaluates a problem file and prints the results text, or every
// result field as JSON, or writes a report or the questionnaire as the screens
// would; or stores a respondent's questionnaire answers in the problem file, the
// only thing it ever writes there.
#include "compare/CompareStepsBuild.h"
#include "evaluate/Evaluation.h"
#include "evaluate/GroupEvaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsJson.h"
#include "evaluate/chart/ResultChart.h"
#include "report/Questionnaire.h"
#include "report/ResultReports.h"
#include "report/TFormWord.h"
#include "storage/AtomicFile.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"
#include "storage/OptivarError.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"
#include "storage/QuestionnaireAnswers.h"
#include "storage/Respondents.h"

#include <QApplication>
#include <QByteArray>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

enum ExitCode { Ok = 0, Failed = 1, Usage = 2 };

// The manual page is made from this text by help2man: GNU's layout of a help
// text (usage lines, an "Options:" list, "Title:" sections) keeps it readable.
const char usageText[] = "Usage: optivar-eval [--json] FILE.qzr\n"
                         "  or:  optivar-eval --report short|full|questionnaire OUT.docx FILE.qzr\n"
                         "  or:  optivar-eval --add-respondent NAME ANSWERS.txt FILE.qzr\n"
                         "\n"
                         "Evaluates an Optivar problem file by the Analytic Hierarchy Process and\n"
                         "prints the results text as the results screen shows it: the consistency\n"
                         "warnings, the priority of every alternative in per cent and the best\n"
                         "choice, one line per line, in UTF-8, with the decimal separator of the\n"
                         "user's locale (LC_ALL, LC_NUMERIC, LANG).\n"
                         "\n"
                         "Options:\n"
                         "  --json      print every result field as JSON instead: the counts, the\n"
                         "              names of the alternatives, CritPriority, AltLocalPriority\n"
                         "              ([alternative][criterion]), AltConsistencyIndex, AltPriority,\n"
                         "              CritConsistencyRatio, AltConsistencyRatio and BestChoice\n"
                         "              (0-based, -1 without alternatives); then the analysis:\n"
                         "              Weights (name and weight of each criterion), Matrices\n"
                         "              (Lambda, CI and CR of the criteria matrix, then of the\n"
                         "              alternatives matrix of each criterion), Revisit (for each\n"
                         "              matrix with CR above 0.1, up to three judgements that\n"
                         "              disagree most: the pair's key, its step, the present and\n"
                         "              the suggested value, e), Sensitivity (for each criterion,\n"
                         "              Low and High of the weight in which the best choice holds,\n"
                         "              WinnerBelow and WinnerAbove, -1 for none) and\n"
                         "              SmallestChange (Criterion, NewWeight, NewWinner, or null);\n"
                         "              then how sure the choice is: Robustness (Draws, BestShare\n"
                         "              of each alternative and Stays: the shares of 10,000 draws,\n"
                         "              every answer moved one grade down, kept or moved up, in which\n"
                         "              it is best and in which the best choice stays best; null for\n"
                         "              fewer than two alternatives or no criteria) and Eigenvector\n"
                         "              (CritPriority, AltLocalPriority, AltPriority, BestChoice and\n"
                         "              Lambda of every matrix by the principal eigenvector);\n"
                         "              keys in alphabetical order, each number in the fewest\n"
                         "              digits that read back as the same double; when the file\n"
                         "              holds respondents, Group: the joint decision of the user\n"
                         "              and the respondents (Participants, \"Я\" first, then the\n"
                         "              respondents; the group's CritPriority, AltLocalPriority,\n"
                         "              AltPriority, BestChoice, CritConsistencyRatio and\n"
                         "              AltConsistencyRatio; Consensus with Criteria,\n"
                         "              PerCriterion and Overall, shares from 0 to 1 or null; and\n"
                         "              ParticipantBest, each participant's best choice)\n"
                         "  --report KIND OUT.docx\n"
                         "              write a document of KIND (see Reports) instead, as the\n"
                         "              program's export buttons make it, into OUT.docx (replaced\n"
                         "              whole or not at all)\n"
                         "  --add-respondent NAME ANSWERS.txt\n"
                         "              store the answers of a respondent called NAME to the\n"
                         "              printed questionnaire in FILE.qzr: ANSWERS.txt holds one\n"
                         "              line per question in question order, the number of the\n"
                         "              answer (1 to 17) or an empty line for no answer; lines\n"
                         "              missing at the end are not answered. A NAME already stored\n"
                         "              gets the file's answers in place of its own. Refused, with\n"
                         "              the problem file untouched: criteria outside 2 to 9, a NAME\n"
                         "              that is empty, longer than 255 characters or outside code\n"
                         "              page 1251, a line that is neither empty nor 1 to 17, more\n"
                         "              lines than questions. This is the only option that writes\n"
                         "              to the problem file.\n"
                         "  -h, --help  show this text\n"
                         "  --          end of options (for a file name that starts with \"-\")\n"
                         "\n"
                         "Reports:\n"
                         "  short          the short report of the results, with the chart\n"
                         "  full           the full report: the short one and every judgement\n"
                         "                 matrix as a table, then the decision analysis, which\n"
                         "                 ends in the participants when the file holds\n"
                         "                 respondents\n"
                         "  questionnaire  the blank questionnaire, one question per pair to\n"
                         "                 compare; needs 2 to 9 criteria\n"
                         "The chart is drawn offscreen at the size the results screen gives it; no\n"
                         "display is needed. Except with --add-respondent, the problem file is only\n"
                         "read, never written.\n"
                         "\n"
                         "Exit status:\n"
                         "  0  on success\n"
                         "  1  when the file cannot be read, the document cannot be written or a\n"
                         "     respondent is refused\n"
                         "  2  on wrong usage\n";

enum class Report { None, Short, Full, Questionnaire };

std::optional<Report> reportKind(const QString& name)
{
    if (name == u"short"_s)
        return Report::Short;
    if (name == u"full"_s)
        return Report::Full;
    if (name == u"questionnaire"_s)
        return Report::Questionnaire;
    return std::nullopt;
}

bool writeAll(std::FILE* stream, const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) == std::size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}

void error(const QString& message)
{
    writeAll(stderr, (u"optivar-eval: "_s + message + u'\n').toUtf8());
}

int usageError(const QString& message)
{
    error(message);
    writeAll(stderr, QByteArray(usageText));
    return Usage;
}

// The document of one export, in memory. The chart needs a GUI application,
// which must exist before this is called for a report with the chart.
QByteArray reportBytes(Report report, const IniDocument& doc)
{
    TFormWord word({QString(),
                    QString(),
                    report == Report::Short  ? TFormWord::Kind::ShortReport
                    : report == Report::Full ? TFormWord::Kind::FullReport
                                             : TFormWord::Kind::Questionnaire,
                    {},
                    {}});
    if (report == Report::Questionnaire) {
        // The steps the criteria screen would rebuild, taken in memory: the problem file stays as it is.
        Questionnaire::write(word, doc, CompareStepsBuild::stepLines(doc));
        return word.documentBytes(QDateTime::currentDateTime());
    }

    const QLocale locale = QLocale::system();
    const EvaluationResult result = Evaluation::EvaluateProblem(ProblemData::load(doc), locale);
    // The picture is needed only while the document is written; the data folder
    // of the program is not this tool's to write into.
    QTemporaryDir pictures;
    if (!pictures.isValid())
        throw OptivarError(OptivarError::Code::IoError, u"cannot make a temporary folder for the chart"_s);
    const QString chartPath = pictures.filePath(u"graf.bmp"_s);
    ResultChart chart;
    chart.fill(result.Bars);
    chart.saveBitmap(chartPath);
    if (report == Report::Full)
        ResultReports::writeFull(word, doc, result, chartPath, locale);
    else
        ResultReports::writeShort(word, doc, result, chartPath, locale);
    return word.documentBytes(QDateTime::currentDateTime());
}

// Why a file named on the command line cannot be read; empty when it is read. The storage layer reads a
// missing or unreadable file as an empty problem, which is right for the screens; here the user named the file
// and must hear what is wrong with it. A FIFO or device is never read: /dev/zero would never end.
QString whyUnread(const AtomicFile::Content& content)
{
    switch (content.status) {
    case AtomicFile::ReadStatus::Ok:
        return {};
    case AtomicFile::ReadStatus::Missing:
        return u"no such file"_s;
    case AtomicFile::ReadStatus::NotRegular:
        return S_ISDIR(content.info.st_mode) ? u"it is a folder"_s : u"not a regular file"_s;
    case AtomicFile::ReadStatus::TooLarge:
        return u"too large"_s;
    case AtomicFile::ReadStatus::Failed:
        return qt_error_string(content.error);
    }
    return {};
}

// --add-respondent: every check comes before the one replacement of the problem file, so a refusal leaves it
// as it was. The questions are numbered as the questionnaire the program prints now would number them.
int addRespondent(const QString& path, const QByteArray& problemBytes, const QString& name, const QString& answersPath)
{
    const IniDocument doc = IniDocument::fromBytes(problemBytes);
    if (const auto why =
            QuestionnaireAnswers::criteriaCountRefusal(ProblemKeys::readCount(doc, ProblemKeys::QualSection)))
        return error(*why), Failed;
    if (const auto why = Respondents::nameRefusal(name))
        return error(*why), Failed;
    const AtomicFile::Content answers = AtomicFile::read(answersPath, IniFile::MaxFileSize);
    if (const QString why = whyUnread(answers); !why.isEmpty())
        return error(u"cannot read "_s + answersPath + u": "_s + why), Failed;
    const QStringList steps = CompareStepsBuild::stepLines(doc);
    const QuestionnaireAnswers::AnswersFile read =
        QuestionnaireAnswers::readAnswersFile(answers.bytes, int(steps.size()));
    if (!read.ok())
        return error(answersPath + u": "_s + read.error), Failed; // the message names the line
    try {
        IniFile file(path);
        if (Respondents::store(file, name, Respondents::answerList(steps, read.answers)) < 0)
            return error(u"the problem holds "_s + QString::number(Respondents::MaxCount) +
                         u" respondents already: no new name is taken"_s),
                   Failed;
    } catch (const OptivarError& e) {
        return error(e.message()), Failed;
    }
    return Ok;
}

} // namespace

int main(int argc, char* argv[])
{
    // No QCoreApplication: it would switch the C library to the user's locale,
    // and nothing here needs an event loop. Only a report's chart needs a GUI
    // application; it gets one further down.
    QStringList arguments{u"optivar-eval"_s}; // the parser passes over the first
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // The options are described once, in the help text above, which the manual page is made from.
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption json(u"json"_s);
    const QCommandLineOption reportOption(u"report"_s, QString(), u"KIND"_s);
    const QCommandLineOption respondentOption(u"add-respondent"_s, QString(), u"NAME"_s);
    QCommandLineParser parser;
    parser.addOptions({help, json, reportOption, respondentOption});
    // Help answers at once, as GNU's tools do: what follows it is not read.
    const auto optionsEnd = std::find(arguments.cbegin() + 1, arguments.cend(), u"--"_s);
    const auto helpAt = std::find_if(arguments.cbegin() + 1, optionsEnd,
                                     [](const QString& a) { return a == u"-h"_s || a == u"--help"_s; });
    if (helpAt != optionsEnd && parser.parse(QStringList(arguments.cbegin(), helpAt)))
        return writeAll(stdout, QByteArray(usageText)) ? Ok : Failed;
    if (!parser.parse(arguments))
        return usageError(parser.errorText());

    Report report = Report::None;
    for (const QString& name : parser.values(reportOption)) {
        const std::optional<Report> kind = reportKind(name);
        if (!kind)
            return usageError(u"unknown report "_s + name + u": short, full or questionnaire"_s);
        if (report != Report::None && report != *kind)
            return usageError(u"more than one report asked for"_s);
        report = *kind;
    }
    QStringList files = parser.positionalArguments();
    QString outPath;
    const bool adding = parser.isSet(respondentOption);
    if (adding) {
        if (parser.isSet(json) || report != Report::None)
            return usageError(u"--add-respondent goes with neither --json nor --report"_s);
        if (parser.values(respondentOption).size() > 1)
            return usageError(u"more than one respondent given"_s);
        if (files.size() < 2)
            return usageError(files.isEmpty() ? u"no answers file and no problem file given"_s
                                              : u"an answers file and a problem file are needed"_s);
        outPath = files.takeFirst(); // the answers file
    }
    if (report != Report::None) {
        if (parser.isSet(json))
            return usageError(u"--json and --report do not go together"_s);
        if (files.size() < 2)
            return usageError(files.isEmpty() ? u"no document and no problem file given"_s
                                              : u"a document and a problem file are needed"_s);
        outPath = files.takeFirst();
    }
    if (files.size() != 1)
        return usageError(files.isEmpty() ? u"no problem file given"_s : u"more than one problem file given"_s);

    const QString path = files.first();
    const QFileInfo info(path);
    const AtomicFile::Content content = AtomicFile::read(path, IniFile::MaxFileSize);
    if (const QString why = whyUnread(content); !why.isEmpty())
        return error(u"cannot read "_s + path + u": "_s + why), Failed;
    const QByteArray& bytes = content.bytes;
    if (adding)
        return addRespondent(path, bytes, parser.value(respondentOption), outPath);

    if (report != Report::None) {
        if (QFileInfo(outPath).absoluteFilePath() == info.absoluteFilePath())
            return error(u"the document would replace the problem file "_s + path), Failed;
        const IniDocument doc = IniDocument::fromBytes(bytes);
        const int criteria = ProblemKeys::readCount(doc, ProblemKeys::QualSection);
        if (report == Report::Questionnaire && (criteria < ProblemLists::MinCount || criteria > ProblemLists::MaxCount))
            return error(u"Количество критериев должно быть в интервале от 2 до 9."_s), Failed;

        // Only the chart needs a GUI application, and it never needs a display.
        std::optional<QApplication> app;
        if (report != Report::Questionnaire) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            app.emplace(argc, argv);
        }
        try {
            AtomicFile::write(outPath, reportBytes(report, doc));
        } catch (const OptivarError& e) {
            return error(e.message()), Failed;
        }
        return Ok;
    }

    const IniDocument doc = IniDocument::fromBytes(bytes);
    const ProblemData problem = ProblemData::load(doc);
    const EvaluationResult result = Evaluation::EvaluateProblem(problem, QLocale::system());
    QByteArray out;
    if (parser.isSet(json)) {
        const QList<Respondent> respondents = Respondents::load(doc);
        std::optional<GroupResult> group;
        if (!respondents.isEmpty())
            group = GroupEvaluation::evaluate(problem, respondents);
        out = ResultsJson::toJson(problem, result, group ? &*group : nullptr);
    } else {
        for (const QString& line : result.Memo)
            out += line.toUtf8() + '\n';
    }
    if (!writeAll(stdout, out)) {
        error(u"cannot write the results"_s);
        return Failed;
    }
    return Ok;
}
