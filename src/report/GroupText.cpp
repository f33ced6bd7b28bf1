#include "report/GroupText.h"

#include "evaluate/AnalysisText.h"
#include "evaluate/Consensus.h"
#include "evaluate/GroupResult.h"
#include "evaluate/ProblemData.h"
#include "report/Questionnaire.h"
#include "storage/QuestionnaireAnswers.h"

using namespace Qt::Literals::StringLiterals;

namespace GroupText {

namespace {

// Past this many, a disagreement names no more participants: the row says how many it leaves out.
constexpr int NamedAnswers = 10;

QStringList shareCells(const QString& title, const std::optional<double>& share, const QLocale& locale)
{
    if (!share)
        return {title, u"—"_s, u"нет оценки"_s};
    return {title, AnalysisText::percent(*share, locale), Consensus::word(*share)};
}

} // namespace

QStringList participantColumns(const ProblemData& problem)
{
    return QStringList{u"Участник"_s, u"Лучший выбор"_s} + problem.altNames();
}

QList<QStringList> participantRows(const ProblemData& problem, const GroupResult& group, const QLocale& locale)
{
    const auto row = [&](const QString& name, int best, const std::vector<double>& priorities) {
        QStringList cells{name, best >= 0 && best < problem.altTotal() ? problem.altName(best) : u"—"_s};
        for (int i = 0; i < problem.altTotal(); ++i)
            cells << (std::size_t(i) < priorities.size() ? AnalysisText::percent(priorities[std::size_t(i)], locale)
                                                         : QString());
        return cells;
    };
    QList<QStringList> rows{row(u"Группа"_s, group.Group.BestChoice, group.Group.AltPriority)};
    for (int p = 0; p < group.Participants.size(); ++p)
        rows << row(group.Participants.at(p), group.ParticipantBest.at(std::size_t(p)),
                    group.ParticipantPriority.at(std::size_t(p)));
    return rows;
}

QStringList consensusColumns()
{
    return {u"Что сравнивается"_s, u"Согласие"_s, u"Оценка"_s};
}

QList<QStringList> consensusRows(const ProblemData& problem, const GroupResult& group, const QLocale& locale)
{
    QList<QStringList> rows{shareCells(u"Веса критериев"_s, group.Consensus.Criteria, locale)};
    for (int k = 0; k < problem.critTotal() && std::size_t(k) < group.Consensus.PerCriterion.size(); ++k)
        rows << shareCells(u"Альтернативы по критерию "_s + AnalysisText::quoted(problem.critName(k)),
                           group.Consensus.PerCriterion[std::size_t(k)], locale);
    rows << shareCells(u"Итоговые приоритеты альтернатив"_s, group.Consensus.Overall, locale);
    return rows;
}

QStringList disagreementColumns()
{
    return {u"Вопрос анкеты"_s, u"Ответы участников"_s};
}

QList<QStringList> disagreementRows(const IniDocument& problem, const GroupResult& group)
{
    QList<QStringList> rows;
    for (const Disagreement& d : group.Disagreements) {
        QStringList answers;
        const int k = int(d.values.size());
        for (int p = 0; p < k && p < NamedAnswers && p < group.Participants.size(); ++p) {
            const std::optional<int> number = QuestionnaireAnswers::answerNumber(d.values[std::size_t(p)]);
            answers << group.Participants.at(p) + u" — "_s +
                           QString::number(number.value_or(QuestionnaireAnswers::EqualAnswer));
        }
        QString text = answers.join(u"; "_s);
        if (k > NamedAnswers)
            text += u"; и ещё %1"_s.arg(k - NamedAnswers);
        rows << QStringList{Questionnaire::questionLine(problem, d.key + u"=1"_s, d.step), text};
    }
    return rows;
}

QString introLine(const GroupResult& group)
{
    return u"Участников: "_s + QString::number(group.Participants.size()) +
           u" (Я и те, чьи ответы анкеты введены). Результат группы получен из ответов всех участников (среднее "
           u"геометрическое каждого сравнения); согласие — от 0% (полное расхождение) до 100% (все ответили "
           u"одинаково)."_s;
}

} // namespace GroupText
