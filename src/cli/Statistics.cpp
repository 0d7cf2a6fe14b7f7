#include "cli/Statistics.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kZ95 = 1.959964;

double MedianOfSorted(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size(), mid = n / 2;
    return n % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

}  // namespace

Summary Summarize(std::vector<double> samples) {
    Summary s;
    s.N = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.Min = samples.front();
    s.Max = samples.back();
    s.Median = MedianOfSorted(samples);

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

std::string VerdictName(Verdict verdict) {
    static const char* const kNames[] = {"-", "no clear difference", "faster", "slower", "machine changed"};
    return kNames[static_cast<int>(verdict)];
}

std::optional<Comparison> CompareSamples(const std::vector<double>& a, const std::vector<double>& b, double margin) {
    auto positive = [](const std::vector<double>& v) {
        return !v.empty() && std::all_of(v.begin(), v.end(), [](double x) { return x > 0 && std::isfinite(x); });
    };
    if (!positive(a) || !positive(b)) return std::nullopt;
    const double m = static_cast<double>(a.size()), n = static_cast<double>(b.size());

    // U counts the pairs in which b is the faster; ties count half.
    double u = 0;
    std::vector<double> logRatios;
    for (double x : a)
        for (double y : b) {
            u += y < x ? 1 : y == x ? 0.5 : 0;
            logRatios.push_back(std::log(y / x));
        }
    std::vector<double> all(a);
    all.insert(all.end(), b.begin(), b.end());
    double ties = 0;
    for (double x : all) {
        const auto t = static_cast<double>(std::count(all.begin(), all.end(), x));
        ties += (t * t * t - t) / t;  // each of a group of t adds its share
    }
    const double total = m + n;
    const double variance = m * n / 12 * (total + 1 - ties / (total * (total - 1)));
    Comparison c;
    if (variance > 0) {
        const double z = std::max(0.0, std::fabs(u - m * n / 2) - 0.5) / std::sqrt(variance);
        c.P = std::erfc(z / std::sqrt(2.0));
    }

    std::sort(logRatios.begin(), logRatios.end());
    const double rank = std::floor(m * n / 2 - kZ95 * std::sqrt(m * n * (total + 1) / 12));
    const auto k = static_cast<std::size_t>(std::max(1.0, rank) - 1);
    c.Low = std::exp(logRatios[k]);
    c.High = std::exp(logRatios[logRatios.size() - 1 - k]);
    c.Ratio = Summarize(b).Median / Summarize(a).Median;
    const bool called = c.P < 0.05 && std::fabs(c.Ratio - 1) > margin;
    c.Call = !called ? Verdict::Same : u > m * n / 2 ? Verdict::Faster : Verdict::Slower;
    return c;
}

MedianInterval MedianWithInterval(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const double n = static_cast<double>(values.size());
    const double spread = kZ95 * std::sqrt(n);
    MedianInterval r;
    r.Median = MedianOfSorted(values);
    r.Low = values[static_cast<std::size_t>(std::max(1.0, std::floor((n - spread) / 2)) - 1)];
    r.High = values[static_cast<std::size_t>(std::min(n, std::ceil(1 + (n + spread) / 2)) - 1)];
    return r;
}
