#pragma once

#include "evaluate/EvaluationResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/// The consensus of the participants, shares from 0 to 1; nothing where there is no figure (fewer than two
/// participants, or fewer than two elements in the vectors compared).
struct GroupConsensus
{
    /// Over the criteria weights.
    std::optional<double> Criteria;
    /// Over the local priorities of the alternatives under each criterion, in criterion order.
    std::vector<std::optional<double>> PerCriterion;
    /// Over the overall priorities of the alternatives; nothing without criteria.
    std::optional<double> Overall;
};

/// A comparison on which the participants disagree.
struct Disagreement
{
    /// Index of the pair's line in the comparison step list.
    int step = 0;
    /// The pair's key: "Q_i*Q_j" or "A_i*A_j&Q_k".
    QString key;
    /// -1 for a pair of criteria, otherwise the criterion under which two alternatives are compared.
    int criterion = -1;
    int first = 0; // the pair's elements, first < second
    int second = 0;
    /// The largest minus the smallest of the participants' ln a[first][second].
    double range = 0.0;
    /// Each participant's stored value, in the order of the participants; anything off the scale reads as 1.
    std::vector<int> values;
};

/// A joint decision: the user and every respondent, their answers combined by geometric mean.
struct GroupResult
{
    /// "Я" first, then the respondents in section order.
    QStringList Participants;
    /// The group's matrices evaluated as one person's: CritTotal, AltTotal, CritPriority, AltLocalPriority,
    /// AltConsistencyIndex, AltPriority, both consistency ratios and BestChoice. Memo and Bars stay empty.
    EvaluationResult Group;
    /// Each participant's own overall priorities, [participant][alternative].
    std::vector<std::vector<double>> ParticipantPriority;
    /// Each participant's own best choice (0-based, the first of equals), -1 without alternatives.
    std::vector<int> ParticipantBest;
    GroupConsensus Consensus;
    /// The comparisons with the largest range, at most three, the largest first, ties in step order; only
    /// comparisons on which someone differs.
    QList<Disagreement> Disagreements;
};
