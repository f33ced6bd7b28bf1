#pragma once

#include <QString>

#include <optional>
#include <vector>

/// How far the participants of a joint decision agree on one set of priorities, measured by Shannon entropy.
///
/// From the participants' own priority vectors p_1 .. p_K of n elements: Hα = (1/K) Σ_k Σ_i -p_ki ln p_ki, the
/// mean vector p̄, Hγ = Σ_i -p̄_i ln p̄_i, S = exp Hα / exp Hγ. S is 1 when everybody agrees and smallest when
/// they are as far apart as the scale allows: each sure of another element by 9 to 1 (entropy H_min of the
/// vector 9/(n+8), 1/(n+8), ..., 1/(n+8)), spread evenly (Dγ = n). The share S* = (S - exp H_min / n) / (1 -
/// exp H_min / n) puts those two ends at 1 and 0.
namespace Consensus {

/// S* from 0 to 1 (clamped), one vector per participant; nothing for fewer than 2 vectors, fewer than 2
/// elements, or vectors of different lengths. A term 0 ln 0 counts as 0.
std::optional<double> of(const std::vector<std::vector<double>>& priorities);

/// The word for a share: below 0.5 "очень низкий", below 0.625 "низкий", below 0.75 "умеренный", below 0.875
/// "высокий", otherwise "очень высокий".
QString word(double share);

} // namespace Consensus
