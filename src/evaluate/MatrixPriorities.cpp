#include "evaluate/MatrixPriorities.h"

#include "evaluate/JudgementMatrix.h"

#include <cmath>

MatrixPriorities MatrixPriorities::of(const JudgementMatrix& a)
{
    // Sums and products run in index order from 0 and 1, so the results are
    // the same to the last bit wherever the program runs.
    const int k = a.order();
    MatrixPriorities result;
    result.weights.resize(std::size_t(k));
    for (int i = 0; i < k; ++i) {
        double product = 1.0;
        for (int l = 0; l < k; ++l)
            product *= a.at(i, l);
        result.weights[std::size_t(i)] = std::pow(product, 1.0 / double(k));
    }
    double sum = 0.0;
    for (double w : result.weights)
        sum += w;
    for (double& w : result.weights)
        w /= sum;

    // One running sum over i, then l: the sum of the components of a.w.
    double lambda = 0.0;
    for (int i = 0; i < k; ++i) {
        for (int l = 0; l < k; ++l)
            lambda += a.at(i, l) * result.weights[std::size_t(l)];
    }
    result.lambda = lambda;
    // λ max is never below the order, so the index is never below 0; a consistent matrix comes out a few units
    // of rounding under it (-2,2e-16 for 1 : 2 : 4), which every consumer would otherwise show or compare.
    // λ is left as computed.
    const double index = k > 1 ? (lambda - double(k)) / double(k - 1) : 0.0;
    result.consistencyIndex = index < 0.0 ? 0.0 : index;
    return result;
}
