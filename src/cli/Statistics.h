#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The spread of one configuration's per-call times. The standard deviation
// is the sample one (n - 1), so it needs two samples; the coefficient of
// variation also needs a mean that is not zero.
struct Summary {
    std::size_t N = 0;
    double Min = 0;
    double Max = 0;
    double Median = 0;
    double Mean = 0;
    std::optional<double> StdDev;
    std::optional<double> Cv;  // StdDev / Mean, a fraction
};

Summary Summarize(std::vector<double> samples);

enum class Verdict { None, Same, Faster, Slower, MachineChanged };
std::string VerdictName(Verdict verdict);

// How the times b stand against the times a: the ratio of their medians,
// a 95% interval for it (the one that goes with the rank test: from the
// pairwise ratios), and Mann-Whitney's two-sided p.
struct Comparison {
    double Ratio = 0;
    double Low = 0;
    double High = 0;
    double P = 1;
    Verdict Call = Verdict::None;
};

// None when either side has no positive time. A difference the test finds
// is called only when the ratio lies more than margin from 1.
std::optional<Comparison> CompareSamples(const std::vector<double>& a, const std::vector<double>& b, double margin);

// The median with a distribution-free 95% interval (order statistics of
// the sign test); values must not be empty.
struct MedianInterval {
    double Median = 0;
    double Low = 0;
    double High = 0;
};
MedianInterval MedianWithInterval(std::vector<double> values);
