// optivar-eval: evaluates a problem file and prints the results text, or every
// result field as JSON. It only reads the file.
#include "evaluate/Evaluation.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsJson.h"
#include "storage/IniDocument.h"
#include "storage/IniFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

enum ExitCode { Ok = 0, Failed = 1, Usage = 2 };

const char usageText[] =
    "Usage: optivar-eval [--json] FILE.qzr\n"
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
    "              numbers with 17 significant digits\n"
    "  -h, --help  show this text\n"
    "  --          end of options (for a file name that starts with \"-\")\n"
    "\n"
    "The file is only read, never written.\n"
    "Exit status: 0 on success, 1 when the file cannot be read, 2 on wrong usage.\n";

bool writeAll(std::FILE* stream, const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) == std::size_t(bytes.size())
           && std::fflush(stream) == 0;
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

} // namespace

int main(int argc, char* argv[])
{
    // No QCoreApplication: it would switch the C library to the user's locale,
    // and nothing here needs an event loop.
    QStringList files;
    bool json = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!optionsEnded && arg == u"--"_s) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == u"--help"_s || arg == u"-h"_s)) {
            return writeAll(stdout, QByteArray(usageText)) ? Ok : Failed;
        } else if (!optionsEnded && arg == u"--json"_s) {
            json = true;
        } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            return usageError(u"unknown option "_s + arg);
        } else {
            files.append(arg);
        }
    }
    if (files.size() != 1)
        return usageError(files.isEmpty() ? u"no problem file given"_s : u"more than one problem file given"_s);

    // The storage layer reads a missing or unreadable file as an empty problem,
    // which is right for the screens; here the user named the file and must hear
    // that it is not there.
    const QString path = files.first();
    const QFileInfo info(path);
    if (!info.exists())
        return error(u"cannot read "_s + path + u": no such file"_s), Failed;
    if (info.isDir())
        return error(u"cannot read "_s + path + u": it is a folder"_s), Failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return error(u"cannot read "_s + path + u": "_s + file.errorString()), Failed;
    if (file.size() > IniFile::MaxFileSize)
        return error(u"cannot read "_s + path + u": too large for a problem file"_s), Failed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return error(u"cannot read "_s + path + u": "_s + file.errorString()), Failed;
    file.close();

    const ProblemData problem = ProblemData::load(IniDocument::fromBytes(bytes));
    const EvaluationResult result = Evaluation::EvaluateProblem(problem, QLocale::system());
    QByteArray out;
    if (json) {
        out = ResultsJson::toJson(problem, result);
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
