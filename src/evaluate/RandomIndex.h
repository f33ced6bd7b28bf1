#pragma once

#include <optional>

/// The random index of the Analytic Hierarchy Process and the consistency ratio built on it.
namespace RandomIndex {

/// RI of a matrix of order 3 to 10; no value for any other order.
std::optional<double> forOrder(int order);

/// CI / RI(order), or 0 when the order has no random index.
double consistencyRatio(double consistencyIndex, int order);

} // namespace RandomIndex
