#include "evaluate/RandomIndex.h"

#include <array>

namespace RandomIndex {

std::optional<double> forOrder(int order)
{
    static constexpr std::array<double, 8> table{0.58, 0.90, 1.12, 1.24, 1.32, 1.41, 1.45, 1.49}; // orders 3 .. 10
    if (order < 3 || order > 10)
        return std::nullopt;
    return table[std::size_t(order - 3)];
}

double consistencyRatio(double consistencyIndex, int order)
{
    const std::optional<double> ri = forOrder(order);
    return ri ? consistencyIndex / *ri : 0.0;
}

} // namespace RandomIndex
