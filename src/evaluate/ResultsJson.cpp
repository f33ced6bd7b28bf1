#include "evaluate/ResultsJson.h"

#include "evaluate/Analysis.h"
#include "evaluate/Eigenvector.h"
#include "evaluate/EvaluationResult.h"
#include "evaluate/GroupResult.h"
#include "evaluate/ProblemData.h"
#include "evaluate/Robustness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

namespace ResultsJson {

namespace {

QJsonArray numbers(const std::vector<double>& values)
{
    QJsonArray out;
    for (const double v : values)
        out.append(v);
    return out;
}

QJsonObject analysisMembers(const AnalysisResult& analysis)
{
    QJsonArray weights;
    for (int k = 0; k < analysis.critTotal; ++k)
        weights.append(
            QJsonObject{{u"Name"_s, analysis.critNames.at(k)}, {u"Weight"_s, analysis.weights[std::size_t(k)]}});
    QJsonArray matrices;
    QJsonArray revisit;
    for (std::size_t x = 0; x < analysis.matrices.size(); ++x) {
        const AnalysisMatrix& m = analysis.matrices[x];
        matrices.append(QJsonObject{{u"Criterion"_s, m.criterion},
                                    {u"Order"_s, m.order},
                                    {u"Lambda"_s, m.lambda},
                                    {u"CI"_s, m.consistencyIndex},
                                    {u"CR"_s, m.consistencyRatio}});
        for (const RevisitJudgement& j : m.revisit)
            revisit.append(QJsonObject{{u"Matrix"_s, int(x)},
                                       {u"Key"_s, j.key},
                                       {u"Step"_s, j.step},
                                       {u"Present"_s, j.presentValue},
                                       {u"Suggested"_s, j.suggestedValue},
                                       {u"E"_s, j.e}});
    }
    QJsonArray sensitivity;
    for (const CriterionSensitivity& s : analysis.sensitivity)
        sensitivity.append(QJsonObject{{u"Criterion"_s, s.criterion},
                                       {u"Weight"_s, s.weight},
                                       {u"Low"_s, s.low},
                                       {u"High"_s, s.high},
                                       {u"WinnerBelow"_s, s.winnerBelow},
                                       {u"WinnerAbove"_s, s.winnerAbove}});
    QJsonValue smallest(QJsonValue::Null);
    if (const std::optional<WinnerChange>& c = analysis.smallestChange)
        smallest =
            QJsonObject{{u"Criterion"_s, c->criterion}, {u"NewWeight"_s, c->newWeight}, {u"NewWinner"_s, c->newWinner}};
    return {{u"Weights"_s, weights},
            {u"Matrices"_s, matrices},
            {u"Revisit"_s, revisit},
            {u"Sensitivity"_s, sensitivity},
            {u"SmallestChange"_s, smallest}};
}

// How sure the choice is: Robustness (null without a figure) and Eigenvector.
void addHowSure(QJsonObject& out, const ProblemData& problem, const EvaluationResult& result)
{
    QJsonValue robustness(QJsonValue::Null);
    if (const std::optional<RobustnessResult> r = Robustness::of(problem))
        robustness =
            QJsonObject{{u"Draws"_s, r->Draws}, {u"BestShare"_s, numbers(r->BestShare)}, {u"Stays"_s, r->Stays}};
    out.insert(u"Robustness"_s, robustness);

    const EigenvectorResult e = Eigenvector::evaluate(problem, result.BestChoice);
    QJsonArray local;
    for (const std::vector<double>& row : e.AltLocalPriority)
        local.append(numbers(row));
    out.insert(u"Eigenvector"_s, QJsonObject{{u"CritPriority"_s, numbers(e.CritPriority)},
                                             {u"AltLocalPriority"_s, local},
                                             {u"AltPriority"_s, numbers(e.AltPriority)},
                                             {u"BestChoice"_s, e.BestChoice},
                                             {u"Lambda"_s, numbers(e.Lambda)}});
}

} // namespace

QByteArray toJson(const ProblemData& problem, const EvaluationResult& result, const GroupResult* group)
{
    QJsonArray local;
    for (const std::vector<double>& row : result.AltLocalPriority)
        local.append(numbers(row));
    QJsonObject out = analysisMembers(Analysis::analyse(problem, result));
    out.insert(u"CritTotal"_s, result.CritTotal);
    out.insert(u"AltTotal"_s, result.AltTotal);
    out.insert(u"AltNames"_s, QJsonArray::fromStringList(problem.altNames()));
    out.insert(u"CritPriority"_s, numbers(result.CritPriority));
    out.insert(u"AltLocalPriority"_s, local);
    out.insert(u"AltConsistencyIndex"_s, numbers(result.AltConsistencyIndex));
    out.insert(u"AltPriority"_s, numbers(result.AltPriority));
    out.insert(u"CritConsistencyRatio"_s, result.CritConsistencyRatio);
    out.insert(u"AltConsistencyRatio"_s, result.AltConsistencyRatio);
    out.insert(u"BestChoice"_s, result.BestChoice);
    if (group)
        out.insert(u"Group"_s, groupObject(*group));
    addHowSure(out, problem, result);
    return QJsonDocument(out).toJson(QJsonDocument::Indented);
}

QJsonObject groupObject(const GroupResult& group)
{
    const auto share = [](const std::optional<double>& s) { return s ? QJsonValue(*s) : QJsonValue(QJsonValue::Null); };
    const EvaluationResult& g = group.Group;
    QJsonArray local;
    for (const std::vector<double>& row : g.AltLocalPriority)
        local.append(numbers(row));
    QJsonArray perCriterion;
    for (const std::optional<double>& s : group.Consensus.PerCriterion)
        perCriterion.append(share(s));
    QJsonArray best;
    for (const int b : group.ParticipantBest)
        best.append(b);
    return {{u"Participants"_s, QJsonArray::fromStringList(group.Participants)},
            {u"CritPriority"_s, numbers(g.CritPriority)},
            {u"AltLocalPriority"_s, local},
            {u"AltPriority"_s, numbers(g.AltPriority)},
            {u"BestChoice"_s, g.BestChoice},
            {u"CritConsistencyRatio"_s, g.CritConsistencyRatio},
            {u"AltConsistencyRatio"_s, g.AltConsistencyRatio},
            {u"Consensus"_s, QJsonObject{{u"Criteria"_s, share(group.Consensus.Criteria)},
                                         {u"PerCriterion"_s, perCriterion},
                                         {u"Overall"_s, share(group.Consensus.Overall)}}},
            {u"ParticipantBest"_s, best}};
}

} // namespace ResultsJson
