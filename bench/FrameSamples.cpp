#include "FrameSamples.h"

#include <algorithm>
#include <cmath>

double FrameSamples::percentile(double p) const {
    if (values.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const double rank = std::ceil(p / 100.0 * static_cast<double>(sorted.size()));
    const std::size_t index = static_cast<std::size_t>(std::max(1.0, rank)) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

double FrameSamples::largest() const {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

int FrameSamples::countAbove(double milliseconds) const {
    return static_cast<int>(
        std::count_if(values.begin(), values.end(), [&](double value) { return value > milliseconds; }));
}
