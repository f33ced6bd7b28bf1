#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

/// One bar of the results chart: 100 x the alternative's priority, labelled "1" .. "m".
struct ResultBar
{
    double value = 0.0;
    QString label;
};

/// Everything one evaluation of a problem yields. The field names are the ones
/// the results screen and the reports know them by.
struct EvaluationResult
{
    qint32 CritTotal = 0;                              // n
    qint32 AltTotal = 0;                               // m
    std::vector<double> CritPriority;                  // n, sums to 1
    std::vector<std::vector<double>> AltLocalPriority; // [alternative][criterion], m x n; each column sums to 1
    std::vector<double> AltConsistencyIndex;           // n
    std::vector<double> AltPriority;                   // m, sums to 1 when n >= 1, all 0 when n = 0
    double CritConsistencyRatio = 0.0;
    double AltConsistencyRatio = 0.0;

    /// Index of the alternative with the highest global priority (the first of
    /// equals); -1 when there is no alternative.
    int BestChoice = -1;
    /// The results text, one entry per line, empty lines included.
    QStringList Memo;
    /// One bar per alternative, in file order.
    QList<ResultBar> Bars;
};
