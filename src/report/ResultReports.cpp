#include "report/ResultReports.h"

#include "evaluate/AnalysisResult.h"
#include "evaluate/Evaluation.h"
#include "evaluate/EvaluationResult.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/NumberFormat.h"
#include "evaluate/ProblemData.h"
#include "evaluate/ResultsText.h"
#include "report/AnalysisReport.h"
#include "report/TFormWord.h"
#include "storage/ComUnit.h"
#include "storage/IniDocument.h"
#include "storage/ProblemKeys.h"
#include "storage/ProblemLists.h"

#include <QtMath>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace ResultReports {

namespace {

// A line that holds a name goes through writeLine, which cuts the text and
// never its end; TFormWord::endLine() leaves an empty line under a line.
constexpr int FontSize = 12;
constexpr double HeadingColumnCm = 4.0;
constexpr double ValueColumnCm = 1.7;

enum class Report { Short, Full };

enum class Headings { Upward, Across };

// The names of a list as its list screen shows them: positions without a name
// keep their number, so the list can show gaps.
void writeList(TFormWord& word, const IniDocument& problem, ProblemLists::Kind kind)
{
    for (const TLElem& item : ProblemLists::load(problem, kind))
        word.writeLine(QString::number(item.Num + 1) + u". "_s + item.Name);
}

// The name a matrix gives an element: as its list screen reads it.
QString listName(const IniDocument& problem, QStringView section, const QString& key)
{
    return problem.readString(section, key, ComUnit::NoEntry.toString()).left(ComUnit::MaxNameLength);
}

// A matrix's title and the empty line under it stay on the page of its table's
// first row; the table and what follows it break where they fall.
void tableHeading(TFormWord& word, const QString& title)
{
    word.setParagraphFormat(true, false);
    word.writeLine(title, TFormWord::endLine());
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
    const auto critName = [&](int k) { return listName(problem, QualSection, qualKey(k)); };
    const auto altName = [&](int i) { return listName(problem, AltSection, altKey(i)); };

    word.WriteText(TFormWord::endLine());
    tableHeading(word, u"Матрица парных сравнений для критериев выбора."_s);
    writeMatrix(word, critTotal, Headings::Upward, critName,
                [&](int i, int j) { return problem.readInteger(JudgementSection, qualPairKey(i, j), 1); });

    for (int k = 0; k < critTotal; ++k) {
        const QString criterion = critName(k);
        word.GoToEnd();
        word.WriteText(TFormWord::endLine());
        tableHeading(word, u"Матрица парных сравнений альтернатив по критерию "_s + criterion);
        writeMatrix(word, altTotal, Headings::Across, altName,
                    [&](int i, int j) { return problem.readInteger(JudgementSection, altPairKey(i, j, k), 1); });
    }
}

// The warning lines of the results text, each its own paragraph; the empty line
// that closes them is, as everywhere in the report, a line end with an empty
// line under it.
void writeWarning(TFormWord& word, ResultsText::Judgements judgements, double ratio, const QLocale& locale)
{
    for (const QString& line : ResultsText::warningLines(judgements, ratio, locale))
        word.writeLine(line, line.isEmpty() ? TFormWord::endLine() : u"\r"_s);
}

void write(Report report, TFormWord& word, const IniDocument& problem, const EvaluationResult& result,
           const QString& chartPath, const QLocale& locale)
{
    using namespace ProblemKeys;
    word.NewDocument(true);
    word.SetFont(QString(), FontSize, 0, 0, 0);

    word.writeLine(report == Report::Full ? u"Протокол анализа альтернатив для принятия управленческого решения."_s
                                          : u"Результаты анализа альтернатив для принятия решения."_s,
                   TFormWord::endLine());
    word.writeLine(u"Список альтернатив:"_s, TFormWord::endLine());
    writeList(word, problem, ProblemLists::Kind::Alternatives);
    word.WriteText(TFormWord::endLine());
    word.writeLine(u"Список критериев принятия решения:"_s, TFormWord::endLine());
    writeList(word, problem, ProblemLists::Kind::Criteria);

    // The counts are read now, as the names are; the priorities are those the
    // evaluation left, and an alternative it did not know has none.
    const int altTotal = readCount(problem, AltSection);
    if (report == Report::Full)
        writeMatrices(word, problem, readCount(problem, QualSection), altTotal);

    word.GoToEnd();
    word.WriteText(TFormWord::endLine());
    word.writeLine(u"Альтернативы имеют следующие приоритеты:"_s, TFormWord::endLine());
    for (int i = 0; i < altTotal; ++i) {
        const double priority = i < int(result.AltPriority.size()) ? result.AltPriority[size_t(i)] : 0.0;
        word.writeLine(QString::number(i + 1) + u". "_s + readName(problem, AltSection, altKey(i)) +
                       NumberFormat::spacedHundredfold(priority, locale) + u'%');
    }
    word.WriteText(TFormWord::endLine());
    // With no alternative counted the line names the one at the first position, or "?".
    const int best = std::max(Evaluation::bestChoice(result.AltPriority, altTotal), 0);
    word.writeLine(ResultsText::bestChoiceLine(readName(problem, AltSection, altKey(best))), TFormWord::endLine());

    word.GoToEnd();
    word.InsertPicture(chartPath, ChartSideCm, ChartSideCm);
    word.GoToEnd();
    word.WriteText(TFormWord::endLine());

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
               const QLocale& locale)
{
    write(Report::Full, word, problem, result, chartPath, locale);
    const AnalysisResult analysis = AnalysisReport::analysisOf(problem, result);
    AnalysisReport::write(word, analysis, locale);
    AnalysisReport::writeHowSure(word, ProblemData::load(problem), analysis, locale);
    AnalysisReport::writeParticipants(word, problem, locale);
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
