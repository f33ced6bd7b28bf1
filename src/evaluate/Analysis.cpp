#include "evaluate/Analysis.h"

#include "compare/Scale.h"
#include "evaluate/EvaluationResult.h"
#include "evaluate/JudgementMatrix.h"
#include "evaluate/MatrixPriorities.h"
#include "evaluate/ProblemData.h"
#include "evaluate/RandomIndex.h"
#include "evaluate/ResultsText.h"
#include "storage/ProblemKeys.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace Analysis {

namespace {

constexpr int MaxRevisit = 3;

// A judgement within this of perfect agreement differs from its priorities only by rounding; offering to
// change it would be noise.
constexpr double AgreementTolerance = 1e-9;

// One side of the interval in which the present best choice holds.
struct End
{
    double at = 0.0;
    bool included = true;
    int winner = -1;
};

// The crossing points of the other alternatives' lines with the best one's, on one side: upper == true
// looks at lines rising faster than the best (they overtake it as t grows), otherwise at lines rising
// slower (they overtake it as t falls). bound is the end of the weight's range on that side.
End endOf(const std::vector<PriorityLine>& lines, int best, bool upper)
{
    const double bound = upper ? 1.0 : 0.0;
    const PriorityLine& b = lines[std::size_t(best)];
    bool found = false;
    double nearest = 0.0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double slope = lines[i].slope - b.slope;
        if (int(i) == best || slope == 0.0 || (slope > 0.0) != upper)
            continue;
        // Parallel lines never cross: a line the same as the best one's stays behind it by the tie rule.
        const double t = -(lines[i].intercept - b.intercept) / slope;
        if (!found || (upper ? t < nearest : t > nearest)) {
            nearest = t;
            found = true;
        }
    }
    if (!found || (upper ? nearest > bound : nearest < bound))
        return {bound, true, -1};

    // Every line crossing at that point ties with the best there. An earlier one in the file wins the tie,
    // so the point itself is lost; just beyond it the steepest one leads, the first of equals.
    End end{nearest, true, -1};
    int firstTaker = -1;
    double steepest = 0.0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double slope = lines[i].slope - b.slope;
        if (int(i) == best || slope == 0.0 || (slope > 0.0) != upper)
            continue;
        if (-(lines[i].intercept - b.intercept) / slope != nearest)
            continue;
        if (int(i) < best)
            end.included = false;
        if (firstTaker < 0)
            firstTaker = int(i);
        if (end.winner < 0 || std::fabs(slope) > steepest) {
            end.winner = int(i);
            steepest = std::fabs(slope);
        }
    }
    if (nearest == bound) {
        // Nothing lies beyond 0 or 1: the best choice loses only the end point, and only to an earlier one.
        end.winner = end.included ? -1 : firstTaker;
    }
    return end;
}

// A judgement as a sentence with its ratio. The ratio follows the sentence, which names the preferred element
// first: "Площадь немного важнее, чем Район [3/1]" whichever of the two comes first in the file. (The dialog's
// tag keeps A's digit first, as its digits stand under A and B.)
QString judgementSentence(Scale::PairKind kind, const QString& nameA, const QString& nameB, int value)
{
    const int p = Scale::JudgementToPosition(value);
    const QString ratio =
        p > 0 ? Scale::bDigit(p) + u'/' + Scale::aDigit(p) : Scale::aDigit(p) + u'/' + Scale::bDigit(p);
    return Scale::sentence(kind, nameA, nameB, p) + u" ["_s + ratio + u']';
}

using Wide = unsigned __int128;

// x := x y; false when the product does not fit.
bool multiply(Wide& x, Wide y)
{
    return !__builtin_mul_overflow(x, y, &x);
}

Wide greatestCommonDivisor(Wide a, Wide b)
{
    while (b != 0) {
        a %= b;
        std::swap(a, b);
    }
    return a;
}

// n for a cell holding the scale ratio n or 1/n, n from 1 to 9; 0 for any other cell.
unsigned scaleNumber(double cell)
{
    if (!(cell > 0.0) || !std::isfinite(cell))
        return 0;
    const double whole = cell < 1.0 ? 1.0 / cell : cell;
    const long long n = std::llround(whole);
    return n >= 1 && n <= 9 && std::fabs(whole - double(n)) <= 1e-12 ? unsigned(n) : 0;
}

// The grade g of a ratio r >= 1 given as (p / q)^(1/e): the smallest g from 1 to 8 with r <= sqrt(g (g+1)),
// that is p^2 <= q^2 (g (g+1))^e, or 9. Nothing when p^2 does not fit in 128 bits (q^2, with q <= p, fits
// whenever p^2 does); a bound that outgrows them is certainly above p^2.
std::optional<int> exactGrade(Wide p, Wide q, int e)
{
    Wide p2 = p;
    Wide q2 = q;
    if (!multiply(p2, p) || !multiply(q2, q))
        return std::nullopt;
    for (int g = 1; g < 9; ++g) {
        Wide bound = q2;
        bool fits = true;
        for (int x = 0; x < e && fits; ++x)
            fits = multiply(bound, Wide(g * (g + 1)));
        if (!fits || p2 <= bound)
            return g;
    }
    return 9;
}

// The same grade from log r >= 0 where the exact numbers may not fit (orders above 12) or a cell is off the
// scale. A sum of a few dozen logarithms is off by well under 1e-9: a ratio that near a midpoint is taken to sit
// on it, so the milder grade wins there too.
int gradeOfLog(double logRatio)
{
    constexpr double Tolerance = 1e-9;
    for (int g = 1; g < 9; ++g) {
        if (logRatio <= 0.5 * std::log(double(g * (g + 1))) + Tolerance)
            return g;
    }
    return 9;
}

} // namespace

int nearestJudgement(double ratio)
{
    if (!(ratio > 0.0) || !std::isfinite(ratio))
        return 1;
    // Nearness is measured as a factor, not a difference: the scale runs from 1/9 to 9 and is symmetric
    // under the reciprocal, and a judgement's disagreement max(e, 1/e) is a factor too. So grade g covers
    // the ratios from sqrt((g-1) g) to sqrt(g (g+1)): 2,45 lies nearer 3 than 2, and 1/2,45 nearer 1/3.
    // Beyond 9 the scale ends. At an exact midpoint the milder grade is taken.
    const bool firstPreferred = ratio >= 1.0;
    const double r = firstPreferred ? ratio : 1.0 / ratio;
    int grade = 9;
    for (int g = 1; g < 9; ++g) {
        if (r * r <= double(g * (g + 1))) {
            grade = g;
            break;
        }
    }
    if (grade == 1)
        return 1;
    return firstPreferred ? -grade : grade;
}

double agreeingRatio(const JudgementMatrix& a, const std::vector<double>& weights, int i, int j)
{
    // The priorities are the log least-squares fit of the judgements. Fitted without the pair (i, j), their
    // ratio for it is the geometric mean of the ratios a[i][l] a[l][j] through every other element l. With
    // the pair left in, the fit is pulled towards the judgement under question: one reversed judgement in
    // an otherwise consistent matrix of order 4 gives w[i] = w[j] exactly, which would suggest "equal"
    // instead of the value every other judgement agrees on.
    const int k = a.order();
    if (k < 3)
        return weights[std::size_t(i)] / weights[std::size_t(j)];
    double product = 1.0;
    for (int l = 0; l < k; ++l) {
        if (l != i && l != j)
            product *= a.at(i, l) * a.at(l, j);
    }
    return std::pow(product, 1.0 / double(k - 2));
}

int suggestedJudgement(const JudgementMatrix& a, int i, int j)
{
    const int k = a.order();
    // With no third element the rest of the matrix says nothing: w[i] / w[j] is the judgement itself.
    if (k < 3)
        return nearestJudgement(a.at(i, j));
    // The agreeing ratio is (P)^(1/e), P the product of 2e cells, each a scale ratio n or 1/n: P = p / q with
    // whole p and q, so its place against the midpoints sqrt(g (g+1)) of the grades can be decided exactly. In
    // doubles, a ratio such as sqrt 2 comes out a hair above or below it depending on the order of the items,
    // and so would the suggestion.
    const int e = k - 2;
    Wide p = 1;
    Wide q = 1;
    bool exact = true;
    for (int l = 0; l < k && exact; ++l) {
        if (l == i || l == j)
            continue;
        for (const double cell : {a.at(i, l), a.at(l, j)}) {
            const unsigned n = scaleNumber(cell);
            exact = exact && n > 0 && multiply(cell < 1.0 ? q : p, n);
        }
    }
    if (exact) {
        const Wide common = greatestCommonDivisor(p, q);
        p /= common;
        q /= common;
        const bool firstPreferred = p >= q;
        if (const std::optional<int> grade = firstPreferred ? exactGrade(p, q, e) : exactGrade(q, p, e))
            return *grade == 1 ? 1 : (firstPreferred ? -*grade : *grade);
    }
    double logProduct = 0.0;
    for (int l = 0; l < k; ++l) {
        if (l != i && l != j)
            logProduct += std::log(a.at(i, l)) + std::log(a.at(l, j));
    }
    if (!std::isfinite(logProduct))
        return 1;
    const double logRatio = logProduct / double(e);
    const int grade = gradeOfLog(std::fabs(logRatio));
    return grade == 1 ? 1 : (logRatio >= 0.0 ? -grade : grade);
}

QList<RevisitJudgement> worstJudgements(const JudgementMatrix& a, const std::vector<double>& weights)
{
    // The ranking uses the priorities of the whole matrix. Within one matrix, log e is (k-2)/k times the log
    // of a[i][j] over the agreeing ratio, so the order is the same as if each pair were judged against the
    // rest alone.
    struct Candidate
    {
        long long rank;
        int i;
        int j;
        double e;
    };
    std::vector<Candidate> all;
    const int k = a.order();
    all.reserve(std::size_t(k) * std::size_t(k) / 2);
    for (int i = 0; i < k; ++i) {
        for (int j = i + 1; j < k; ++j) {
            const double e = a.at(i, j) * weights[std::size_t(j)] / weights[std::size_t(i)];
            const double deviation = std::max(e, 1.0 / e);
            if (!(deviation > 1.0 + AgreementTolerance))
                continue;
            // Deviations that are equal in exact arithmetic (in a matrix of order 3 all three always are)
            // differ in their last bits, so they are ranked on a grid of 1e-9 in log space; a grid, unlike a
            // tolerance, keeps the comparison a strict order.
            all.push_back({std::llround(std::log(deviation) * 1e9), i, j, e});
        }
    }
    // Pairs were added in step order; a stable sort keeps that order among equals.
    std::stable_sort(all.begin(), all.end(), [](const Candidate& x, const Candidate& y) { return x.rank > y.rank; });

    QList<RevisitJudgement> worst;
    for (std::size_t x = 0; x < all.size() && x < std::size_t(MaxRevisit); ++x) {
        RevisitJudgement r;
        r.first = all[x].i;
        r.second = all[x].j;
        r.e = all[x].e;
        r.deviation = std::max(r.e, 1.0 / r.e);
        // Every cell of a judgement matrix lies on the scale, so this gives back the stored value.
        r.presentValue = nearestJudgement(a.at(r.first, r.second));
        r.agreeingRatio = agreeingRatio(a, weights, r.first, r.second);
        r.suggestedValue = suggestedJudgement(a, r.first, r.second);
        worst.append(r);
    }
    return worst;
}

int stepIndex(int critTotal, int altTotal, int criterion, int i, int j)
{
    // Pairs (i, j) of k elements in step order: the rows before i hold (k-1) + ... + (k-i) pairs.
    const auto pairIndex = [](int k, int i, int j) { return i * (2 * k - i - 1) / 2 + (j - i - 1); };
    if (criterion < 0)
        return pairIndex(critTotal, i, j);
    const int critPairs = critTotal * (critTotal - 1) / 2;
    const int altPairs = altTotal * (altTotal - 1) / 2;
    return critPairs + criterion * altPairs + pairIndex(altTotal, i, j);
}

CriterionSensitivity sensitivityOf(const std::vector<double>& weights,
                                   const std::vector<std::vector<double>>& localPriorities, int best, int k)
{
    const std::size_t n = weights.size();
    const std::size_t m = localPriorities.size();
    const auto kk = std::size_t(k);
    CriterionSensitivity s;
    s.criterion = k;
    s.weight = weights[kk];
    s.lines.resize(m);

    // With t the weight of criterion k and the others scaled by (1 - t) / (1 - w[k]), each global priority is
    // t L[i][k] + (1 - t) R[i], R[i] being the others' weighted mean. The mean is taken over their own sum
    // rather than 1 - w[k], which keeps it exact when w[k] is the rounded rest of the weights.
    double rest = 0.0;
    for (std::size_t q = 0; q < n; ++q) {
        if (q != kk)
            rest += weights[q];
    }
    if (!(rest > 0.0)) {
        // The only criterion carries the whole weight, and there is nothing to move it against.
        s.canVary = false;
        s.low = s.high = s.weight;
        for (std::size_t i = 0; i < m; ++i)
            s.lines[i] = {localPriorities[i][kk], 0.0};
        return s;
    }
    for (std::size_t i = 0; i < m; ++i) {
        double sum = 0.0;
        for (std::size_t q = 0; q < n; ++q) {
            if (q != kk)
                sum += weights[q] * localPriorities[i][q];
        }
        const double others = sum / rest;
        s.lines[i] = {others, localPriorities[i][kk] - others};
    }
    if (best < 0)
        return s; // nothing to choose from: nobody can take over

    const End below = endOf(s.lines, best, false);
    const End above = endOf(s.lines, best, true);
    // The best choice was found from the same numbers summed in another order; where that rounding puts a
    // crossing a hair on the wrong side of the present weight, the interval still holds it.
    s.low = std::min(below.at, s.weight);
    s.high = std::max(above.at, s.weight);
    s.lowIncluded = below.included;
    s.highIncluded = above.included;
    s.winnerBelow = below.winner;
    s.winnerAbove = above.winner;
    return s;
}

AnalysisResult analyse(const ProblemData& problem, const EvaluationResult& result)
{
    AnalysisResult r;
    const int n = problem.critTotal();
    const int m = problem.altTotal();
    r.critTotal = n;
    r.altTotal = m;
    r.critNames = problem.critNames();
    r.altNames = problem.altNames();
    r.weights = result.CritPriority;
    r.localPriorities = result.AltLocalPriority;
    r.priorities = result.AltPriority;
    r.winner = result.BestChoice;

    const auto addMatrix = [&](int criterion, const JudgementMatrix& a) {
        const MatrixPriorities priorities = MatrixPriorities::of(a);
        AnalysisMatrix matrix;
        matrix.criterion = criterion;
        matrix.order = a.order();
        matrix.weights = priorities.weights;
        matrix.lambda = priorities.lambda;
        matrix.consistencyIndex = priorities.consistencyIndex;
        matrix.consistencyRatio = RandomIndex::consistencyRatio(priorities.consistencyIndex, a.order());
        // Flagged exactly when the results text warns, so the two never disagree about a matrix.
        matrix.inconsistent =
            ResultsText::consistencyOf(matrix.consistencyRatio) != ResultsText::Consistency::Acceptable;
        if (matrix.inconsistent) {
            const bool criteria = criterion < 0;
            const QStringList& names = criteria ? r.critNames : r.altNames;
            const Scale::PairKind kind = criteria ? Scale::PairKind::Criteria : Scale::PairKind::Alternatives;
            matrix.revisit = worstJudgements(a, matrix.weights);
            for (RevisitJudgement& j : matrix.revisit) {
                j.key = criteria ? ProblemKeys::qualPairKey(j.first, j.second)
                                 : ProblemKeys::altPairKey(j.first, j.second, criterion);
                j.step = stepIndex(n, m, criterion, j.first, j.second);
                const QString& nameA = names.at(j.first);
                const QString& nameB = names.at(j.second);
                j.presentSentence = judgementSentence(kind, nameA, nameB, j.presentValue);
                j.suggestedSentence = judgementSentence(kind, nameA, nameB, j.suggestedValue);
            }
        }
        r.matrices.push_back(std::move(matrix));
    };
    if (n > 0) {
        addMatrix(-1, JudgementMatrix::fromStored(n, [&problem](int i, int j) { return problem.critJudgement(i, j); }));
        for (int q = 0; q < n; ++q) {
            addMatrix(q, JudgementMatrix::fromStored(
                             m, [&problem, q](int i, int j) { return problem.altJudgement(i, j, q); }));
        }
    }

    for (int k = 0; k < n; ++k) {
        r.sensitivity.push_back(sensitivityOf(r.weights, r.localPriorities, r.winner, k));
        const CriterionSensitivity& s = r.sensitivity.back();
        // The crossing point nearest to the present weight, over every criterion; the first criterion in the
        // file, and its lower end, win a tie.
        const auto consider = [&](double at, int winner) {
            const double change = std::fabs(at - s.weight);
            if (winner >= 0 && (!r.smallestChange || change < r.smallestChange->change))
                r.smallestChange = WinnerChange{k, at, winner, change};
        };
        consider(s.low, s.winnerBelow);
        consider(s.high, s.winnerAbove);
    }
    return r;
}

} // namespace Analysis
