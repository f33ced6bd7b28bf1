#include "report/AnalysisReport.h"

#include "evaluate/Analysis.h"
#include "evaluate/AnalysisResult.h"
#include "evaluate/AnalysisText.h"
#include "evaluate/Eigenvector.h"
#include "evaluate/Evaluation.h"
#include "evaluate/EvaluationResult.h"
#include "evaluate/GroupEvaluation.h"
#include "evaluate/HowSureText.h"
#include "evaluate/ProblemData.h"
#include "evaluate/Robustness.h"
#include "report/GroupText.h"
#include "report/TFormWord.h"
#include "storage/Respondents.h"

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace AnalysisReport {

namespace {

constexpr double NameColumnCm = 4.0;

// A title with an empty line under it, after an empty line that parts it from what came before. The title
// and its empty line stay on the page of what comes under them, up to the next table.
void heading(TFormWord& word, const QString& title)
{
    word.GoToEnd();
    word.WriteText(TFormWord::endLine());
    word.setParagraphFormat(true, false);
    word.WriteText(title + TFormWord::endLine());
}

// A table whose first row names its columns; rows() fills one row of cells at a time from the second row on.
// The table and what follows it break where they fall.
// A cell of any length: the writer cuts each text at 255 characters, and typing goes on in the cell last
// written, so the rest follows in pieces that short (a row naming ten participants keeps every one).
void cell(TFormWord& word, int row, int column, const QString& text)
{
    word.WriteCell(row, column, text.left(TFormWord::MaxTextLength));
    for (qsizetype at = TFormWord::MaxTextLength; at < text.size(); at += TFormWord::MaxTextLength)
        word.WriteText(text.mid(at, TFormWord::MaxTextLength));
}

void table(TFormWord& word, const QStringList& columns, int rows, const std::function<QStringList(int)>& row)
{
    word.setParagraphFormat(false, false);
    word.AddTable(rows + 1, qint32(columns.size()), 1, 1, 1);
    word.SetColumnWidth(1, NameColumnCm);
    for (int c = 0; c < columns.size(); ++c)
        word.WriteCell(1, c + 1, columns.at(c));
    for (int r = 0; r < rows; ++r) {
        const QStringList cells = row(r);
        for (int c = 0; c < cells.size(); ++c)
            cell(word, r + 2, c + 1, cells.at(c));
    }
    word.StretchTable();
}

// A paragraph of any length: the writer cuts each text at 255 characters, so the text goes in pieces that short,
// and a sentence naming an alternative of 255 characters keeps its end.
void paragraph(TFormWord& word, const QString& text)
{
    for (qsizetype at = 0; at < text.size(); at += TFormWord::MaxTextLength)
        word.WriteText(text.mid(at, TFormWord::MaxTextLength));
    word.WriteText(u"\r"_s);
}

bool matches(const ProblemData& data, const EvaluationResult& shown)
{
    const auto n = std::size_t(data.critTotal());
    const auto m = std::size_t(data.altTotal());
    if (shown.CritTotal != data.critTotal() || shown.AltTotal != data.altTotal() || shown.CritPriority.size() != n ||
        shown.AltPriority.size() != m || shown.AltLocalPriority.size() != m)
        return false;
    for (const std::vector<double>& row : shown.AltLocalPriority) {
        if (row.size() != n)
            return false;
    }
    return true;
}

} // namespace

AnalysisResult analysisOf(const IniDocument& problem, const EvaluationResult& shown)
{
    const ProblemData data = ProblemData::load(problem);
    if (matches(data, shown))
        return Analysis::analyse(data, shown);
    return Analysis::analyse(data, Evaluation::EvaluateProblem(data));
}

void write(TFormWord& word, const AnalysisResult& analysis, const QLocale& locale)
{
    using AnalysisText::percent;
    const int n = analysis.critTotal;
    const int m = analysis.altTotal;

    word.GoToEnd();
    word.setParagraphFormat(true, false);
    word.WriteText(QString::fromUtf16(Title) + TFormWord::endLine());

    word.WriteText(u"Веса критериев:"_s + TFormWord::endLine());
    table(word, {u"Критерий"_s, u"Вес"_s}, n, [&](int k) {
        return QStringList{analysis.critNames.at(k), percent(analysis.weights.at(std::size_t(k)), locale)};
    });

    heading(word, u"Локальные приоритеты альтернатив по критериям:"_s);
    QStringList columns{QString()};
    columns << analysis.critNames.mid(0, n) << u"Приоритет"_s;
    table(word, columns, m, [&](int i) {
        const std::vector<double>& local = analysis.localPriorities.at(std::size_t(i));
        QStringList cells{analysis.altNames.at(i)};
        for (int k = 0; k < n; ++k)
            cells << percent(local.at(std::size_t(k)), locale);
        cells << percent(analysis.priorities.at(std::size_t(i)), locale);
        return cells;
    });

    heading(word, u"Согласованность ответов:"_s);
    table(word, {u"Сравнения"_s, u"λ max"_s, u"ИС"_s, u"ОС"_s, u"Оценка"_s}, int(analysis.matrices.size()), [&](int x) {
        const AnalysisMatrix& matrix = analysis.matrices.at(std::size_t(x));
        return QStringList{AnalysisText::matrixTitle(analysis, matrix)} +
               AnalysisText::consistencyCells(matrix, locale);
    });

    heading(word, u"Ответы, которые стоит пересмотреть:"_s);
    struct Row
    {
        const AnalysisMatrix* matrix;
        const RevisitJudgement* judgement;
    };
    QList<Row> revisit;
    for (const AnalysisMatrix& matrix : analysis.matrices) {
        for (const RevisitJudgement& j : matrix.revisit)
            revisit.append({&matrix, &j});
    }
    if (revisit.isEmpty()) {
        word.WriteText(u"Пересматривать нечего: ответы в каждой матрице достаточно согласованы."_s);
        word.setParagraphFormat(false, false);
        word.WriteText(u"\r"_s);
    } else {
        table(word, {u"Сравнения"_s, u"Ваш ответ"_s, u"С остальными ответами согласуется"_s}, int(revisit.size()),
              [&](int r) {
                  const Row& row = revisit.at(r);
                  return QStringList{AnalysisText::matrixTitle(analysis, *row.matrix), row.judgement->presentSentence,
                                     row.judgement->suggestedSentence};
              });
        word.GoToEnd();
        for (const AnalysisMatrix& matrix : analysis.matrices) {
            if (const QString note = AnalysisText::revisitNote(analysis, matrix); !note.isEmpty()) {
                // The text and its paragraph end written apart: a line cut at 255 characters keeps its end.
                word.WriteText(note);
                word.WriteText(u"\r"_s);
            }
        }
    }

    heading(word, u"Чувствительность лучшего выбора к весам критериев:"_s);
    table(word, {u"Критерий"_s, u"Вес"_s, u"Лучший выбор сохраняется при весе от"_s, u"до"_s}, n, [&](int k) {
        const CriterionSensitivity& s = analysis.sensitivity.at(std::size_t(k));
        return QStringList{analysis.critNames.at(k), percent(s.weight, locale), percent(s.low, locale),
                           percent(s.high, locale)};
    });
    word.GoToEnd();
    word.WriteText(TFormWord::endLine());
    for (int k = 0; k < n; ++k)
        word.writeLine(AnalysisText::sensitivityLine(analysis, k, locale));
    word.WriteText(TFormWord::endLine());
    word.writeLine(AnalysisText::smallestChangeLine(analysis, locale));
}

void writeParticipants(TFormWord& word, const IniDocument& problem, const QLocale& locale)
{
    const QList<Respondent> respondents = Respondents::load(problem);
    if (respondents.isEmpty())
        return;
    const ProblemData data = ProblemData::load(problem);
    const GroupResult group = GroupEvaluation::evaluate(data, respondents);

    heading(word, u"Участники:"_s);
    // The text and its paragraph end written apart: a line cut at 255 characters keeps its end.
    word.WriteText(GroupText::introLine(group));
    word.WriteText(u"\r"_s);
    const QList<QStringList> participants = GroupText::participantRows(data, group, locale);
    table(word, GroupText::participantColumns(data), int(participants.size()),
          [&](int r) { return participants.at(r); });

    heading(word, u"Согласие участников:"_s);
    const QList<QStringList> consensus = GroupText::consensusRows(data, group, locale);
    table(word, GroupText::consensusColumns(), int(consensus.size()), [&](int r) { return consensus.at(r); });

    heading(word, u"Вопросы, в ответах на которые участники расходятся больше всего:"_s);
    const QList<QStringList> disagreements = GroupText::disagreementRows(problem, group);
    if (disagreements.isEmpty()) {
        word.WriteText(u"Все участники ответили на каждый вопрос одинаково."_s);
        word.setParagraphFormat(false, false);
        word.WriteText(u"\r"_s);
    } else {
        table(word, GroupText::disagreementColumns(), int(disagreements.size()),
              [&](int r) { return disagreements.at(r); });
    }
}

void writeHowSure(TFormWord& word, const ProblemData& problem, const AnalysisResult& analysis, const QLocale& locale)
{
    using AnalysisText::percent;
    heading(word, u"Надёжность лучшего выбора:"_s);
    word.setParagraphFormat(false, false);
    if (const std::optional<RobustnessResult> r = Robustness::of(problem)) {
        paragraph(word, HowSureText::robustnessLine(analysis, *r));
        word.WriteText(u"\r"_s);
        table(word, {u"Альтернатива"_s, u"Лучший выбор в доле случаев"_s}, analysis.altTotal, [&](int i) {
            return QStringList{analysis.altNames.at(i), HowSureText::share(r->BestShare.at(std::size_t(i)))};
        });
    } else {
        paragraph(word, HowSureText::noRobustnessLine());
    }

    if (analysis.critTotal == 0 || analysis.altTotal == 0)
        return; // no priorities by either method
    const EigenvectorResult e = Eigenvector::evaluate(problem, analysis.winner);
    heading(word, u"Приоритеты по главному собственному вектору:"_s);
    table(word, {u"Критерий"_s, u"Вес"_s, u"Вес по собственному вектору"_s}, analysis.critTotal, [&](int k) {
        return QStringList{analysis.critNames.at(k), percent(analysis.weights.at(std::size_t(k)), locale),
                           percent(e.CritPriority.at(std::size_t(k)), locale)};
    });
    word.GoToEnd();
    word.WriteText(u"\r"_s);
    table(word, {u"Альтернатива"_s, u"Приоритет"_s, u"Приоритет по собственному вектору"_s}, analysis.altTotal,
          [&](int i) {
              return QStringList{analysis.altNames.at(i), percent(analysis.priorities.at(std::size_t(i)), locale),
                                 percent(e.AltPriority.at(std::size_t(i)), locale)};
          });
    word.GoToEnd();
    word.WriteText(u"\r"_s);
    paragraph(word, u"Справа — "_s + HowSureText::eigenvectorLegend());
    paragraph(word, HowSureText::eigenvectorVerdict(analysis, e));
}

} // namespace AnalysisReport
