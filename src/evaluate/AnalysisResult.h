#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/// A judgement that disagrees with the priorities of its matrix, and the value the other judgements ask for.
struct RevisitJudgement
{
    int first = 0;  // position of the pair's first element (the lower one) within its matrix
    int second = 0; // position of the second element, second > first
    /// The pair's key in the problem file: "Q_i*Q_j" or "A_i*A_j&Q_k".
    QString key;
    /// Index of the pair's line in the comparison step list, so that the dialog can open on it.
    int step = 0;
    /// The stored value as the dialog would store it back: anything off the scale reads as 1.
    int presentValue = 1;
    /// The scale value nearest to agreeingRatio, decided exactly: at a midpoint between two grades the milder.
    int suggestedValue = 1;
    /// a[first][second] x w[second] / w[first]: 1 when the judgement agrees with the priorities.
    double e = 1.0;
    /// max(e, 1/e), by which the judgements of a matrix are ranked.
    double deviation = 1.0;
    /// How many times the first element outweighs the second according to the rest of the matrix.
    double agreeingRatio = 1.0;
    /// The judgement in the dialog's words, before and after the suggested change, each followed by its ratio
    /// in the sentence's order: "Площадь немного важнее, чем Район [3/1]".
    QString presentSentence;
    QString suggestedSentence;
};

/// One judgement matrix: the criteria, or the alternatives under one criterion.
struct AnalysisMatrix
{
    /// -1 for the criteria matrix, otherwise the criterion whose alternatives are compared.
    int criterion = -1;
    int order = 0;
    std::vector<double> weights;
    double lambda = 0.0;
    double consistencyIndex = 0.0;
    /// CI over the random index of the order; 0 where the order has none.
    double consistencyRatio = 0.0;
    /// The ratio is above 0.1 by the same rule as the warnings of the results text.
    bool inconsistent = false;
    /// At most three, the worst first; empty for a consistent enough matrix.
    QList<RevisitJudgement> revisit;

    bool isCriteria() const { return criterion < 0; }
};

/// The global priority of one alternative as a line in the weight t of one criterion.
struct PriorityLine
{
    double intercept = 0.0; // at t = 0
    double slope = 0.0;

    double at(double t) const { return intercept + slope * t; }
};

/// How far the weight of one criterion may move, the others keeping their proportions, before the best
/// choice changes.
struct CriterionSensitivity
{
    int criterion = 0;
    /// The present weight.
    double weight = 0.0;
    /// False for the only criterion: its weight is always 1.
    bool canVary = true;
    /// The best choice stays on [low, high]; an end not included belongs to the alternative taking over.
    double low = 0.0;
    double high = 1.0;
    bool lowIncluded = true;
    bool highIncluded = true;
    /// Who is best just beyond each end; -1 where the best choice holds up to 0 or to 1.
    int winnerBelow = -1;
    int winnerAbove = -1;
    /// One line per alternative, in file order.
    std::vector<PriorityLine> lines;
};

/// The smallest change of one criterion's weight that gives another best choice.
struct WinnerChange
{
    int criterion = 0;
    double newWeight = 0.0;
    int newWinner = 0;
    /// |newWeight - present weight|
    double change = 0.0;
};

/// What the decision analysis finds: weights, the consistency of every matrix, the judgements to revisit
/// and what would change the best choice.
struct AnalysisResult
{
    int critTotal = 0;
    int altTotal = 0;
    QStringList critNames;
    QStringList altNames;
    /// The criteria weights, as CritPriority.
    std::vector<double> weights;
    /// [alternative][criterion], as AltLocalPriority.
    std::vector<std::vector<double>> localPriorities;
    /// The global priorities, as AltPriority.
    std::vector<double> priorities;
    /// The best choice, -1 without alternatives.
    int winner = -1;
    /// The criteria matrix first, then the alternatives matrix of each criterion in file order; empty
    /// without criteria.
    std::vector<AnalysisMatrix> matrices;
    /// One per criterion, in file order.
    std::vector<CriterionSensitivity> sensitivity;
    /// Nothing when no single weight can change the best choice.
    std::optional<WinnerChange> smallestChange;
};
