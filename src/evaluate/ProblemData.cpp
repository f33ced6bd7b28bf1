#include "evaluate/ProblemData.h"

#include "storage/ComUnit.h"
#include "storage/ProblemKeys.h"

#include <QtGlobal>

#include <algorithm>

ProblemData::ProblemData(int critTotal, int altTotal)
    // The bound also keeps the row products of the evaluation (at most 9^(k-1))
    // far from overflow.
    : m_critTotal(std::clamp(critTotal, 0, ProblemKeys::MaxItemCount)),
      m_altTotal(std::clamp(altTotal, 0, ProblemKeys::MaxItemCount))
{
    for (int i = 0; i < m_altTotal; ++i)
        m_altNames.append(ProblemKeys::UnknownName.toString());
    for (int k = 0; k < m_critTotal; ++k)
        m_critNames.append(ProblemKeys::UnknownName.toString());
    m_critJudgements.assign(std::size_t(m_critTotal) * std::size_t(m_critTotal), 1);
    m_altJudgements.assign(std::size_t(m_critTotal) * std::size_t(m_altTotal) * std::size_t(m_altTotal), 1);
}

int ProblemData::critIndex(int i, int j) const
{
    Q_ASSERT(0 <= i && i < j && j < m_critTotal);
    return i * m_critTotal + j;
}

int ProblemData::altIndex(int i, int j, int q) const
{
    Q_ASSERT(0 <= i && i < j && j < m_altTotal && 0 <= q && q < m_critTotal);
    return (q * m_altTotal + i) * m_altTotal + j;
}

int ProblemData::critJudgement(int i, int j) const
{
    return m_critJudgements[critIndex(i, j)];
}

void ProblemData::setCritJudgement(int i, int j, int value)
{
    m_critJudgements[critIndex(i, j)] = value;
}

int ProblemData::altJudgement(int i, int j, int q) const
{
    return m_altJudgements[altIndex(i, j, q)];
}

void ProblemData::setAltJudgement(int i, int j, int q, int value)
{
    m_altJudgements[altIndex(i, j, q)] = value;
}

void ProblemData::setAltName(int i, const QString& name)
{
    m_altNames[i] = name.left(ComUnit::MaxNameLength);
}

void ProblemData::setCritName(int k, const QString& name)
{
    m_critNames[k] = name.left(ComUnit::MaxNameLength);
}
