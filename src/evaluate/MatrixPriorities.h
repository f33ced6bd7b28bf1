#pragma once

#include <vector>

class JudgementMatrix;

/// The priority vector of one judgement matrix (normalised geometric means of
/// its rows), the principal eigenvalue estimated from it, and the consistency index.
struct MatrixPriorities
{
    std::vector<double> weights; // sums to 1 for an order of 1 or more
    double lambda = 0.0;
    double consistencyIndex = 0.0; // never below 0, nor is any ratio made from it

    /// Orders 0 and 1 are consistent by definition: their index is 0, not 0/0.
    static MatrixPriorities of(const JudgementMatrix& a);
};
