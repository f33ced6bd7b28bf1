#include "evaluate/BestChoice.h"

namespace BestChoice {

int of(std::span<const double> priorities)
{
    if (priorities.empty())
        return -1;
    std::size_t best = 0;
    for (std::size_t i = 1; i < priorities.size(); ++i) {
        // Only a strictly higher priority takes over.
        if (priorities[i] > priorities[best])
            best = i;
    }
    return int(best);
}

} // namespace BestChoice
