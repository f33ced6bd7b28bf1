#include "report/ResultReports.h"

#include "evaluate/EvaluationResult.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ResultsText.h"
#include "report/AnalysisReport.h"
#include "report/TFormWord.h"
#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"

#include <QtMath>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace ResultReports {

namespace {

// The writer ends a paragraph at every carriage return and line feed, so
// "\n\r" leaves an empty line. A line that holds a name goes through
// writeLine, which cuts the text and never its end.
QString endLine()
{
    return u"\n\r"_s;
}

constexpr QStringView Unknown = u"?";
constexpr int FontSize = 12;
constexpr double HeadingColumnCm = 4.0;
constexpr double ValueColumnCm = 1.7;

enum class Report { Short, Full };

enum class Headings { Upward, Across };

QString readName(const IniDocument& problem, QStringView section, const QString& key, QStringView fallback)
{
    return problem.readString(section, key, fallback.toString()).left(ComUnit::MaxNameLength);
}

void type(TFormWord& word, const QString& text)
{
    word.WriteText(text);
}

// Positions without a name keep their number, so the list can show gaps; a
// name spelt as the empty marker counts as no name.
void writeList(TFormWord& word, const IniDocument& problem, QStringView section, const std::function<QString(int)>& key)
{
    for (int i = 0; i < ComUnit::ListPositions; ++i) {
        const QString name = readName(problem, section, key(i), ComUnit::NoEntry);
        if (name != ComUnit::NoEntry)
            word.writeLine(QString::number(i + 1) + u". "_s + name);
    }
}

// A matrix's title and the empty line under it stay on the page of its table's
// first row; the table and what follows it break where they fall.
void tableHeading(TFormWord& word, const QString& title)
{
    word.setParagraphFormat(true, false);
    word.writeLine(title, endLine());
    word.setParagraphFormat(false, false);
}

// One matrix as a table: names along the first row and column, "-" on the
// diagonal, each pair's cell written right before its mirror.
void writeMatrix(TFormWord& word, int order, Headings headings, const std::function<QString(int)>& name,
                 const std::function<int(int, int)>& stored)
{
    word.AddTable(order + 1, order + 1, 1, 1, 0);
    word.SetColumnWidth(1, HeadingColumnCm);
    for (int c = 2; c <= order + 1; ++c) {
        word.SetColumnWidth(c, ValueColumnCm);
        const QString heading = name(c - 2);
        if (headings == Headings::Upward)
            word.WriteCellUpward(1, c, heading);
        else
            word.WriteCell(1, c, heading);
        word.WriteCell(c, 1, heading);
    }
    for (int r = 2; r <= order + 1; ++r) {
        word.WriteCell(r, r, u"-"_s);
        for (int c = r + 1; c <= order + 1; ++c) {
            const auto [cell, mirror] = matrixCellTexts(stored(r - 2, c - 2));
            word.WriteCell(r, c, cell);
            word.WriteCell(c, r, mirror);
        }
    }
    word.StretchTable();
}

void writeMatrices(TFormWord& word, const IniDocument& problem, int critTotal, int altTotal)
{
    using namespace ProblemKeys;
    const auto critName = [&](int k) { return readName(problem, QualSection, qualKey(k), ComUnit::NoEntry); };
    const auto altName = [&](int i) { return readName(problem, AltSection, altKey(i), ComUnit::NoEntry); };

    type(word, endLine());
    tableHeading(word, u"Матрица парных сравнений для критериев выбора."_s);
    writeMatrix(word, critTotal, Headings::Upward, critName,
                [&](int i, int j) { return problem.readInteger(JudgementSection, qualPairKey(i, j), 1); });

    for (int k = 0; k < critTotal; ++k) {
        const QString criterion = critName(k);
        word.GoToEnd();
        type(word, endLine());
        tableHeading(word, u"Матрица парных сравнений альтернатив по критерию "_s + criterion);
        writeMatrix(word, altTotal, Headings::Across, altName,
                    [&](int i, int j) { return problem.readInteger(JudgementSection, altPairKey(i, j, k), 1); });
    }
}

void writeWarning(TFormWord& word, ResultsText::Judgements judgements, double ratio, const QLocale& locale)
{
    const ResultsText::Consistency consistency = ResultsText::consistencyOf(ratio);
    if (consistency == ResultsText::Consistency::Acceptable)
        return;
    type(word, u"Внимание!\r"_s);
    type(word,
         ResultsText::warningPrefix(judgements, consistency) + NumberFormat::hundredfold(ratio, locale) + u"%)\r"_s);
    type(word, ResultsText::advice(consistency) + u'\r');
    type(word, endLine());
}

void write(Report report, TFormWord& word, const IniDocument& problem, const EvaluationResult& result,
           const QString& chartPath, const QLocale& locale)
{
    using namespace ProblemKeys;
    word.NewDocument(true);
    word.SetFont(QString(), FontSize, 0, 0, 0);

    type(word, report == Report::Full ? u"Протокол анализа альтернатив для принятия управленческого решения.\n\r"_s
                                      : u"Результаты анализа альтернатив для принятия решения.\n\r"_s);
    type(word, u"Список альтернатив:\n\r"_s);
    writeList(word, problem, AltSection, altKey);
    type(word, endLine());
    type(word, u"Список критериев принятия решения:\n\r"_s);
    writeList(word, problem, QualSection, qualKey);

    // The counts are read now, as the names are; the priorities are those the
    // evaluation left, and an alternative it did not know has none.
    const int altTotal = readCount(problem, AltSection);
    if (report == Report::Full)
        writeMatrices(word, problem, readCount(problem, QualSection), altTotal);

    word.GoToEnd();
    type(word, endLine());
    type(word, u"Альтернативы имеют следующие приоритеты:\n\r"_s);
    const auto priority = [&](int i) {
        return i < int(result.AltPriority.size()) ? result.AltPriority[size_t(i)] : 0.0;
    };
    int best = 0;
    for (int i = 0; i < altTotal; ++i) {
        const QString name = readName(problem, AltSection, altKey(i), Unknown);
        word.writeLine(QString::number(i + 1) + u". "_s + name + NumberFormat::spacedHundredfold(priority(i), locale) +
                       u'%');
        if (priority(i) > priority(best))
            best = i;
    }
    type(word, endLine());
    word.writeLine(ResultsText::bestChoiceLine(readName(problem, AltSection, altKey(best), Unknown)), endLine());

    word.GoToEnd();
    word.InsertPicture(chartPath, ChartSideCm, ChartSideCm);
    word.GoToEnd();
    type(word, endLine());

    writeWarning(word, ResultsText::Judgements::Criteria, result.CritConsistencyRatio, locale);
    writeWarning(word, ResultsText::Judgements::Alternatives, result.AltConsistencyRatio, locale);
}

} // namespace

void writeShort(TFormWord& word, const IniDocument& problem, const EvaluationResult& result, const QString& chartPath,
                const QLocale& locale)
{
    write(Report::Short, word, problem, result, chartPath, locale);
}

void writeFull(TFormWord& word, const IniDocument& problem, const EvaluationResult& result, const QString& chartPath,
               const QLocale& locale, const AnalysisResult* analysis)
{
    write(Report::Full, word, problem, result, chartPath, locale);
    if (analysis)
        AnalysisReport::write(word, *analysis, locale);
}

std::pair<QString, QString> matrixCellTexts(int storedValue)
{
    // The same reading of a stored value as the evaluation's, so the table
    // shows the matrix the priorities were computed from.
    const auto [cell, mirror] = JudgementMatrix::cellsOf(storedValue);
    if (cell > 1.0) {
        const QString n = QString::number(qRound(cell));
        return {n + u"/1"_s, u"1/"_s + n};
    }
    if (mirror > 1.0) {
        const QString n = QString::number(qRound(mirror));
        return {u"1/"_s + n, n + u"/1"_s};
    }
    return {u"1/1"_s, u"1/1"_s};
}

} // namespace ResultReports
