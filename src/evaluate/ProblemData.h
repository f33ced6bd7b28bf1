#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class IniDocument;
class IniFile;

/// A problem as the evaluation reads it: the counts, the names of the
/// alternatives and criteria and every stored judgement value, taken from the problem file
/// once so that the evaluation itself touches no file.
class ProblemData
{
public:
    /// No criteria, no alternatives.
    ProblemData() = default;
    /// Counts kept within 0 .. ProblemKeys::MaxItemCount, every judgement 1 (equal), every name
    /// ProblemKeys::UnknownName ("?").
    ProblemData(int critTotal, int altTotal);

    /// Reads "Qual"/"Count", "Alt"/"Count", the names "A_i" and "Q_k" and the judgements
    /// Q_i*Q_j and A_i*A_j&Q_q (i < j) with the readers' defaults; never fails.
    static ProblemData load(const IniDocument& doc);
    static ProblemData load(const IniFile& file);

    int critTotal() const { return m_critTotal; }
    int altTotal() const { return m_altTotal; }

    /// The stored value of criteria i and j, i < j, as the file holds it (any integer).
    int critJudgement(int i, int j) const;
    void setCritJudgement(int i, int j, int value);

    /// The stored value of alternatives i and j under criterion q, i < j.
    int altJudgement(int i, int j, int q) const;
    void setAltJudgement(int i, int j, int q, int value);

    const QString& altName(int i) const { return m_altNames.at(i); }
    /// Names longer than 255 characters are cut.
    void setAltName(int i, const QString& name);
    const QStringList& altNames() const { return m_altNames; }

    const QString& critName(int k) const { return m_critNames.at(k); }
    /// Names longer than 255 characters are cut.
    void setCritName(int k, const QString& name);
    const QStringList& critNames() const { return m_critNames; }

private:
    int critIndex(int i, int j) const;
    int altIndex(int i, int j, int q) const;

    int m_critTotal = 0;
    int m_altTotal = 0;
    QStringList m_altNames;
    QStringList m_critNames;
    std::vector<int> m_critJudgements; // n x n, only i < j used
    std::vector<int> m_altJudgements;  // n blocks of m x m, only i < j used
};
