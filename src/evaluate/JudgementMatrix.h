#pragma once

#include <functional>
#include <utility>
#include <vector>

/// A reciprocal judgement matrix of order k: a[i][i] = 1, and row i holds how
/// strongly element i dominates each other element.
class JudgementMatrix
{
public:
    /// The stored value of the pair (i, j), i < j, as the problem file holds it.
    using StoredValue = std::function<int(int i, int j)>;

    /// The matrix of order k (negative reads as 0) with every cell 1.
    explicit JudgementMatrix(int order = 0);

    /// Fills a[i][j] and a[j][i] of every pair i < j from its stored value.
    static JudgementMatrix fromStored(int order, const StoredValue& storedValue);

    /// The cells (a[i][j], a[j][i]) of a stored value v of the pair i < j:
    /// -9..-2 give (|v|, 1/|v|), 2..9 give (1/v, v), everything else (1, 1).
    static std::pair<double, double> cellsOf(int storedValue);

    int order() const { return m_order; }
    double at(int i, int j) const { return m_cells[std::size_t(i) * std::size_t(m_order) + std::size_t(j)]; }
    void set(int i, int j, double value) { m_cells[std::size_t(i) * std::size_t(m_order) + std::size_t(j)] = value; }

private:
    int m_order = 0;
    std::vector<double> m_cells; // row-major
};
