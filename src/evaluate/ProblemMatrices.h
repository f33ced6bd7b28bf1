#pragma once

#include "evaluate/JudgementMatrix.h"

#include <vector>

class ProblemData;

/// The judgement matrices of a problem from its present values, as the evaluation builds them.
namespace ProblemMatrices {

/// criterion -1: the criteria matrix; 0 .. n-1: the alternatives matrix of that criterion.
JudgementMatrix of(const ProblemData& problem, int criterion);

/// The criteria matrix first, then the alternatives matrix of each criterion in file order; empty without
/// criteria. The order of the analysis's matrices.
std::vector<JudgementMatrix> all(const ProblemData& problem);

} // namespace ProblemMatrices
