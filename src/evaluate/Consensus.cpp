#include "evaluate/Consensus.h"

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

double entropy(const std::vector<double>& p)
{
    double h = 0.0;
    for (double x : p) {
        if (x > 0.0)
            h -= x * std::log(x);
    }
    return h;
}

} // namespace

namespace Consensus {

std::optional<double> of(const std::vector<std::vector<double>>& priorities)
{
    const std::size_t k = priorities.size();
    if (k < 2)
        return std::nullopt;
    const std::size_t n = priorities.front().size();
    if (n < 2)
        return std::nullopt;
    double alpha = 0.0;
    std::vector<double> mean(n, 0.0);
    for (const std::vector<double>& p : priorities) {
        if (p.size() != n)
            return std::nullopt;
        alpha += entropy(p);
        for (std::size_t i = 0; i < n; ++i)
            mean[i] += p[i];
    }
    alpha /= double(k);
    for (double& x : mean)
        x /= double(k);
    const double s = std::exp(alpha) / std::exp(entropy(mean));

    std::vector<double> sharpest(n, 1.0 / double(n + 8));
    sharpest.front() = 9.0 / double(n + 8);
    const double lowest = std::exp(entropy(sharpest)) / double(n);
    return std::clamp((s - lowest) / (1.0 - lowest), 0.0, 1.0);
}

QString word(double share)
{
    if (share < 0.5)
        return u"очень низкий"_s;
    if (share < 0.625)
        return u"низкий"_s;
    if (share < 0.75)
        return u"умеренный"_s;
    if (share < 0.875)
        return u"высокий"_s;
    return u"очень высокий"_s;
}

} // namespace Consensus
