#pragma once

#include <span>

/// The best choice among priorities: the highest, the first of equals (ties go to the alternative that comes
/// first in the problem file).
namespace BestChoice {

/// The index of the first strictly highest priority; -1 for no priorities.
int of(std::span<const double> priorities);

} // namespace BestChoice
