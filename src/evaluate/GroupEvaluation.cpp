#include "evaluate/GroupEvaluation.h"

#include "evaluate/Consensus.h"
#include "evaluate/Evaluation.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/ProblemData.h"
#include "evaluate/RandomIndex.h"
#include "storage/Respondents.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

// One comparison of the step list, in the order of Respondents::stepKeys.
struct Step
{
    int criterion = -1; // -1: a pair of criteria
    int i = 0;
    int j = 0;
};

std::vector<Step> stepsOf(int n, int m)
{
    std::vector<Step> steps;
    steps.reserve(std::size_t(n * (n - 1) / 2 + n * m * (m - 1) / 2));
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j)
            steps.push_back({-1, i, j});
    }
    for (int q = 0; q < n; ++q) {
        for (int i = 0; i < m; ++i) {
            for (int j = i + 1; j < m; ++j)
                steps.push_back({q, i, j});
        }
    }
    return steps;
}

// A stored value as the scale knows it: everything read as equal becomes 1.
int onScale(int v)
{
    return (v >= -9 && v <= -2) || (v >= 2 && v <= 9) ? v : 1;
}

// ln a[i][j] of a value on the scale. ln 3 and ln 1/3 are taken as one number with two signs, so that answers
// that mirror each other cancel to exactly 0 (a group ratio of exactly 1).
double logRatio(int v)
{
    static const std::array<double, 10> logs = [] {
        std::array<double, 10> t{};
        for (std::size_t k = 0; k < t.size(); ++k)
            t[k] = k == 0 ? 0.0 : std::log(double(k));
        return t;
    }();
    if (v <= -2)
        return logs[std::size_t(-v)];
    if (v >= 2)
        return -logs[std::size_t(v)];
    return 0.0;
}

// The matrices of one participant, or of the group, filled step by step.
struct Matrices
{
    JudgementMatrix criteria;
    std::vector<JudgementMatrix> alternatives;

    Matrices(int n, int m) : criteria(n), alternatives(std::size_t(n), JudgementMatrix(m)) {}

    void set(const Step& s, double upper, double lower)
    {
        JudgementMatrix& a = s.criterion < 0 ? criteria : alternatives[std::size_t(s.criterion)];
        a.set(s.i, s.j, upper);
        a.set(s.j, s.i, lower);
    }
};

} // namespace

namespace GroupEvaluation {

EvaluationResult evaluateMatrices(int altTotal, const JudgementMatrix& criteria,
                                  const std::vector<JudgementMatrix>& alternatives)
{
    EvaluationResult r;
    const int n = criteria.order();
    const int m = std::max(altTotal, 0);
    r.CritTotal = n;
    r.AltTotal = m;
    MatrixPriorities crit = MatrixPriorities::of(criteria);
    r.CritPriority = std::move(crit.weights);
    r.CritConsistencyRatio = RandomIndex::consistencyRatio(crit.consistencyIndex, n);

    r.AltLocalPriority.assign(std::size_t(m), std::vector<double>(std::size_t(n), 0.0));
    r.AltConsistencyIndex.assign(std::size_t(n), 0.0);
    for (int q = 0; q < n && q < int(alternatives.size()); ++q) {
        const MatrixPriorities local = MatrixPriorities::of(alternatives[std::size_t(q)]);
        for (int i = 0; i < m && i < int(local.weights.size()); ++i)
            r.AltLocalPriority[std::size_t(i)][std::size_t(q)] = local.weights[std::size_t(i)];
        r.AltConsistencyIndex[std::size_t(q)] = local.consistencyIndex;
    }

    // Synthesis and the aggregated index exactly as the single evaluation makes them.
    Evaluation::synthesise(r);
    return r;
}

GroupResult evaluate(const ProblemData& problem, const QList<Respondent>& respondents)
{
    const int n = problem.critTotal();
    const int m = problem.altTotal();
    const std::vector<Step> steps = stepsOf(n, m);
    const std::size_t stepCount = steps.size();
    const std::size_t k = std::size_t(respondents.size()) + 1;

    GroupResult result;
    result.Participants.append(UserName.toString());
    for (const Respondent& r : respondents)
        result.Participants.append(r.name);

    // Every participant's stored values, participant by participant in step order, and their logarithms.
    const QStringList keys = Respondents::stepKeys(n, m);
    std::vector<int> values(k * stepCount, 1);
    for (std::size_t s = 0; s < stepCount; ++s) {
        const Step& step = steps[s];
        values[s] = onScale(step.criterion < 0 ? problem.critJudgement(step.i, step.j)
                                               : problem.altJudgement(step.i, step.j, step.criterion));
    }
    for (std::size_t p = 1; p < k; ++p) {
        // A respondent with fewer answers than steps (read for smaller counts) has the rest unanswered.
        const std::vector<int>& answers = respondents[qsizetype(p - 1)].answers;
        for (std::size_t s = 0; s < stepCount && s < answers.size(); ++s)
            values[p * stepCount + s] = onScale(answers[s]);
    }
    std::vector<double> logs(values.size());
    std::transform(values.cbegin(), values.cend(), logs.begin(), logRatio);

    // The group: the geometric mean of the ratios is exp of the mean of their logarithms.
    Matrices group(n, m);
    for (std::size_t s = 0; s < stepCount; ++s) {
        double sum = 0.0;
        for (std::size_t p = 0; p < k; ++p)
            sum += logs[p * stepCount + s];
        const double ratio = std::exp(sum / double(k));
        group.set(steps[s], ratio, 1.0 / ratio);
    }
    result.Group = evaluateMatrices(m, group.criteria, group.alternatives);

    // Each participant alone, with the cells the single evaluation builds.
    std::vector<std::vector<double>> critWeights(k);
    // localWeights[q][p]: participant p's priorities of the alternatives under criterion q.
    std::vector<std::vector<std::vector<double>>> localWeights(static_cast<std::size_t>(n));
    for (auto& perCriterion : localWeights)
        perCriterion.resize(k);
    result.ParticipantPriority.resize(k);
    result.ParticipantBest.resize(k);
    for (std::size_t p = 0; p < k; ++p) {
        Matrices own(n, m);
        for (std::size_t s = 0; s < stepCount; ++s) {
            const auto [upper, lower] = JudgementMatrix::cellsOf(values[p * stepCount + s]);
            own.set(steps[s], upper, lower);
        }
        EvaluationResult alone = evaluateMatrices(m, own.criteria, own.alternatives);
        for (int q = 0; q < n; ++q) {
            std::vector<double>& column = localWeights[std::size_t(q)][p];
            column.resize(std::size_t(m));
            for (int i = 0; i < m; ++i)
                column[std::size_t(i)] = alone.AltLocalPriority[std::size_t(i)][std::size_t(q)];
        }
        critWeights[p] = std::move(alone.CritPriority);
        result.ParticipantPriority[p] = std::move(alone.AltPriority);
        result.ParticipantBest[p] = alone.BestChoice;
    }

    result.Consensus.Criteria = Consensus::of(critWeights);
    for (int q = 0; q < n; ++q)
        result.Consensus.PerCriterion.push_back(Consensus::of(localWeights[std::size_t(q)]));
    // Without criteria the overall priorities are all 0: no distribution to compare.
    if (n > 0)
        result.Consensus.Overall = Consensus::of(result.ParticipantPriority);

    // The largest ranges of the participants' log ratios; a stable sort keeps ties in step order.
    std::vector<double> ranges(stepCount, 0.0);
    for (std::size_t s = 0; s < stepCount; ++s) {
        double low = logs[s], high = logs[s];
        for (std::size_t p = 1; p < k; ++p) {
            low = std::min(low, logs[p * stepCount + s]);
            high = std::max(high, logs[p * stepCount + s]);
        }
        ranges[s] = high - low;
    }
    std::vector<std::size_t> order(stepCount);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&ranges](std::size_t a, std::size_t b) { return ranges[a] > ranges[b]; });
    for (std::size_t s : order) {
        if (result.Disagreements.size() >= DisagreementCount || ranges[s] <= 0.0)
            break;
        Disagreement d;
        d.step = int(s);
        d.key = keys[qsizetype(s)];
        d.criterion = steps[s].criterion;
        d.first = steps[s].i;
        d.second = steps[s].j;
        d.range = ranges[s];
        d.values.reserve(k);
        for (std::size_t p = 0; p < k; ++p)
            d.values.push_back(values[p * stepCount + s]);
        result.Disagreements.append(std::move(d));
    }
    return result;
}

} // namespace GroupEvaluation
