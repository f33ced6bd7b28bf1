#pragma once

#include <vector>

class JudgementMatrix;
class ProblemData;

/// The problem's results by the principal eigenvector, the method most textbooks and many other programs
/// use, beside the program's own normalised geometric means. Field names as in the evaluation's results.
struct EigenvectorResult
{
    std::vector<double> CritPriority;                  // n, sums to 1
    std::vector<std::vector<double>> AltLocalPriority; // [alternative][criterion], m x n
    std::vector<double> AltPriority;                   // m; all 0 without criteria
    /// The first of the highest AltPriority; -1 without alternatives.
    int BestChoice = -1;
    /// Whether BestChoice is the evaluation's own best choice.
    bool SameBestChoice = true;
    /// λ max of every matrix: the criteria matrix first, then each criterion's alternatives matrix; empty
    /// without criteria.
    std::vector<double> Lambda;
};

/// The principal eigenvector of the judgement matrices by power iteration.
namespace Eigenvector {

/// The iteration stops when no component moves by this much or more.
inline constexpr double Tolerance = 1e-12;

/// The principal eigenvector of one matrix and its eigenvalue.
struct Principal
{
    std::vector<double> weights; // sums to 1
    /// Σ (a · w), as the program defines λ max for its own priorities.
    double lambda = 0.0;
    int iterations = 0;
    bool converged = true;
};

Principal of(const JudgementMatrix& a);

/// Every matrix of the problem by the eigenvector, the synthesis and the best choice as the evaluation makes
/// them; ownBestChoice is the evaluation's.
EigenvectorResult evaluate(const ProblemData& problem, int ownBestChoice);

} // namespace Eigenvector
