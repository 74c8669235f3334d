#pragma once

#include <vector>

// Durations of many frames of one kind, in milliseconds.
class FrameSamples {
public:
    void add(double milliseconds) { values.push_back(milliseconds); }
    int count() const { return static_cast<int>(values.size()); }
    // The nearest-rank percentile, 0 < p <= 100; 0 with no samples.
    double percentile(double p) const;
    double median() const { return percentile(50.0); }
    double largest() const;
    // How many samples took longer than `milliseconds`.
    int countAbove(double milliseconds) const;

private:
    std::vector<double> values;  // milliseconds, in the order measured
};
