#pragma once

#include "evaluate/JudgementMatrix.h"

class ProblemData;

/// The judgement matrices of a problem from its present values, as the evaluation builds them.
namespace ProblemMatrices {

/// criterion -1: the criteria matrix; 0 .. n-1: the alternatives matrix of that criterion.
JudgementMatrix of(const ProblemData& problem, int criterion);

} // namespace ProblemMatrices
