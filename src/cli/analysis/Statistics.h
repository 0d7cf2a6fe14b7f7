// Statistics of passes: summaries, the rank test of two samples and its interval, the median's interval.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The spread of one configuration's per-call times. The standard deviation
// is the sample one (n - 1), so it needs two samples; the coefficient of
// variation also needs a mean that is not zero.
struct Summary {
    std::size_t N = 0;
    double Min = 0, Max = 0, Median = 0, Mean = 0;
    std::optional<double> StdDev;
    std::optional<double> Cv;  // StdDev / Mean, a fraction
};

Summary Summarize(std::vector<double> samples);

// The confidence of every interval and verdict.
constexpr double kConfidence = 0.95;

// Within margin: the interval excludes 1, but the change is smaller than the margin.
// Unconfirmed: the change shows in one of a comparison's two views and not in the other.
enum class Verdict { None, Same, Faster, Slower, WithinMargin, TooFew, MachineChanged, Unconfirmed, ContextDiffers };

// How the times b stand against the times a, all from one method: the
// Hodges-Lehmann estimate of the ratio (the median of all pairwise ratios),
// the exact interval that inverts Mann-Whitney's U test, and the test's
// two-sided p, which is below 1 - kConfidence exactly when the interval
// leaves out 1. The verdict is read from the interval alone.
struct Comparison {
    double Ratio = 0;
    double Low = 0, High = 0;  // not numbers when too few passes give no interval
    double P = 1;
    Verdict Call = Verdict::None;
    std::size_t Passes = 0;  // on the smaller side
};

// What a comparison that could not be drawn shows: no figures.
inline const Comparison kNoComparison{NAN, NAN, NAN, NAN};

// None when either side has no positive time. A change the interval shows
// is called only when the estimate lies more than margin from 1.
std::optional<Comparison> CompareSamples(const std::vector<double>& a, const std::vector<double>& b, double margin);

// The rank k of the interval's ends among the m x n sorted pairwise
// ratios (the k-th from each end); 0 when no interval reaches kConfidence.
std::size_t IntervalRank(std::size_t m, std::size_t n);
// The fewest passes a side that can give a verdict.
std::size_t PassesNeeded();

// The verdict's words; too few passes name how many a verdict needs.
std::string VerdictName(const Comparison& comparison, std::size_t needed = PassesNeeded());

// The median with a distribution-free 95% interval (order statistics of
// the sign test); values must not be empty. Low and High are not numbers
// when too few values (five or fewer) give an interval.
struct MedianInterval {
    double Median = 0, Low = 0, High = 0;
};
MedianInterval MedianWithInterval(std::vector<double> values, double confidence = kConfidence);

// The smallest double in [low, high] at which atMost, a count that never falls as its argument
// rises and reaches r by high, reaches r: the r-th smallest of the values it counts. About 64
// calls of atMost, so the values need never all be stored.
double SmallestReaching(double low, double high, std::uint64_t r, const std::function<std::uint64_t(double)>& atMost);
