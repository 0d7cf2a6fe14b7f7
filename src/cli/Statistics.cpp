#include "cli/Statistics.h"

#include <algorithm>
#include <cmath>

Summary Summarize(std::vector<double> samples) {
    Summary s;
    s.N = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.Min = samples.front();
    const std::size_t mid = s.N / 2;
    s.Median = s.N % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;

    // Summing offsets from the minimum keeps equal samples exactly equal to
    // their mean, so zero spread comes out as exactly zero.
    double offsets = 0;
    for (double x : samples) offsets += x - s.Min;
    s.Mean = s.Min + offsets / static_cast<double>(s.N);
    if (s.N < 2) return s;

    double squares = 0;
    for (double x : samples) squares += (x - s.Mean) * (x - s.Mean);
    s.StdDev = std::sqrt(squares / static_cast<double>(s.N - 1));
    if (s.Mean != 0) s.Cv = *s.StdDev / s.Mean;
    return s;
}
