#include "evaluate/JudgementMatrix.h"

#include <algorithm>

JudgementMatrix::JudgementMatrix(int order)
    : m_order(std::max(order, 0)), m_cells(std::size_t(m_order) * std::size_t(m_order), 1.0)
{
}

std::pair<double, double> JudgementMatrix::cellsOf(int storedValue)
{
    if (storedValue >= -9 && storedValue <= -2)
        return {double(-storedValue), 1.0 / double(-storedValue)};
    if (storedValue >= 2 && storedValue <= 9)
        return {1.0 / double(storedValue), double(storedValue)};
    // 1, 0, -1, anything out of range and a missing key all mean "equal".
    return {1.0, 1.0};
}

JudgementMatrix JudgementMatrix::fromStored(int order, const StoredValue& storedValue)
{
    JudgementMatrix a(order);
    for (int i = 0; i < a.m_order; ++i) {
        for (int j = i + 1; j < a.m_order; ++j) {
            const auto [upper, lower] = cellsOf(storedValue(i, j));
            a.set(i, j, upper);
            a.set(j, i, lower);
        }
    }
    return a;
}
