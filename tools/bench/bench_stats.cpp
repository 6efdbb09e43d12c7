#include "bench_stats.h"

#include <algorithm>

namespace {

// Linear interpolation between the two nearest ranks, so the median of an
// even count is the mean of the middle two.
double Quantile(const std::vector<double> &sorted, double fraction) {
    double position = fraction * static_cast<double>(sorted.size() - 1);
    size_t below = static_cast<size_t>(position);
    if (below + 1 >= sorted.size())
        return sorted.back();
    double weight = position - static_cast<double>(below);
    return sorted[below] + (sorted[below + 1] - sorted[below]) * weight;
}

} // namespace

Summary Summarize(std::vector<double> samples, SpreadKind kind) {
    Summary summary = {0.0, 0.0, 0.0, static_cast<int>(samples.size())};
    if (samples.empty())
        return summary;
    std::sort(samples.begin(), samples.end());
    summary.median = Quantile(samples, 0.5);
    if (kind == SpreadKind::minToMax) {
        summary.low = samples.front();
        summary.high = samples.back();
    } else {
        summary.low = Quantile(samples, 0.25);
        summary.high = Quantile(samples, 0.75);
    }
    return summary;
}
