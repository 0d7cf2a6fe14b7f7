#pragma once
#include <cstddef>
#include <optional>
#include <vector>

// The spread of one configuration's per-call times. The standard deviation
// is the sample one (n - 1), so it needs two samples; the coefficient of
// variation also needs a mean that is not zero.
struct Summary {
    std::size_t N = 0;
    double Min = 0;
    double Median = 0;
    double Mean = 0;
    std::optional<double> StdDev;
    std::optional<double> Cv;  // StdDev / Mean, a fraction
};

// samples must not be empty.
Summary Summarize(std::vector<double> samples);
