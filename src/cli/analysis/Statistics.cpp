// Statistics of passes: summaries, the rank test of two samples and its interval, the median's interval.
#include "cli/analysis/Statistics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kZ95 = 1.959964;
constexpr double kAlpha = 1 - kConfidence;
// The exact null distribution costs min(m, n) passes over the terms it keeps: at most this many
// (4 MB), and none when the passes would cost more than this work (tens of milliseconds). The
// normal distribution covers the rest.
constexpr std::uint64_t kExactWork = 50000000;
constexpr std::uint64_t kExactTerms = std::uint64_t{1} << 19;
// Counts too large for a double are scaled down by a power of two, which rounds nothing.
constexpr int kRescaleBits = 600;
constexpr double kRescaleAbove = 0x1p600;

double MedianOfSorted(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size(), mid = n / 2;
    return n % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

// P(U <= u) for Mann-Whitney's U of m and n values with no difference between them.
class NullTail {
public:
    NullTail(std::size_t m, std::size_t n)
        : pairs_(std::uint64_t{m} * n),
          sigma_(std::sqrt(static_cast<double>(pairs_) * static_cast<double>(m + n + 1) / 12)) {
        // The arrangements with U = u are counted by the coefficients of the Gaussian binomial
        // [m + n over s] = prod over i = 1..s of (1 - q^(l + i)) / (1 - q^i), s and l the smaller
        // and larger of m and n. Each coefficient depends on the lower ones alone, so the tail
        // needs no more than the lower half, and the first terms are exact on their own.
        const std::uint64_t s = std::min(m, n), l = std::max(m, n);
        const std::uint64_t terms = std::min(pairs_ / 2 + 1, kExactTerms);
        if (s * terms > kExactWork) return;
        complete_ = terms == pairs_ / 2 + 1;
        cumulative_.assign(terms, 0);
        cumulative_[0] = 1;
        double arrangements = 1;
        for (std::uint64_t i = 1; i <= s; ++i) {
            for (std::uint64_t u = terms - 1; u >= l + i; --u) cumulative_[u] -= cumulative_[u - l - i];
            for (std::uint64_t u = i; u < terms; ++u) cumulative_[u] += cumulative_[u - i];
            arrangements = arrangements * static_cast<double>(l + i) / static_cast<double>(i);
            if (arrangements > kRescaleAbove) {
                for (double& c : cumulative_) c /= kRescaleAbove;
                arrangements /= kRescaleAbove;
            }
        }
        double sum = 0;
        for (double& p : cumulative_) p = (sum += p) / arrangements;
    }

    double operator()(std::uint64_t u) const {
        if (u < cumulative_.size()) return cumulative_[u];
        if (complete_) return 1;
        return std::erfc(-(static_cast<double>(u) + 0.5 - static_cast<double>(pairs_) / 2) /
                         (sigma_ * std::sqrt(2.0))) / 2;
    }

    // The interval's rank: one past the largest u whose two tails stay within kAlpha.
    std::uint64_t Rank() const {
        std::uint64_t k = 0;
        while (k < cumulative_.size() && 2 * cumulative_[k] <= kAlpha) ++k;
        if (k < cumulative_.size() || complete_) return k;
        // Past the exact terms, which all stay within kAlpha. Without any, both sides have more than
        // 95 values, where the normal rank is in the thousands, never 0.
        const double estimate = std::floor(static_cast<double>(pairs_) / 2 - 0.5 - kZ95 * sigma_) + 1;
        std::uint64_t normal = static_cast<std::uint64_t>(std::max(0.0, estimate));
        while (normal > 0 && 2 * (*this)(normal - 1) > kAlpha) --normal;
        while (2 * (*this)(normal) <= kAlpha) ++normal;
        return std::max(k, normal);
    }

private:
    std::uint64_t pairs_;
    double sigma_;
    bool complete_ = false;
    std::vector<double> cumulative_;
};

// Dividing rounds monotonically, so b_j / a_i, over a and b sorted, rises with j and falls with
// i; x87 registers would hold it wider than the double it is compared with and logged as.
double Quotient(double b, double a) {
    volatile double q = b / a;
    return q;
}

// How many of the pairwise b_j / a_i are at most t.
std::uint64_t PairsAtMost(const std::vector<double>& a, const std::vector<double>& b, double t) {
    std::uint64_t count = 0;
    std::size_t j = 0;
    for (double x : a) {
        while (j < b.size() && Quotient(b[j], x) <= t) ++j;
        count += j;
    }
    return count;
}

// Doubles order as these patterns do: the sign bit set on the positive ones, all bits flipped on the negative.
std::uint64_t OrderedBits(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits >> 63 ? ~bits : bits | std::uint64_t{1} << 63;
}

double FromOrderedBits(std::uint64_t key) {
    const std::uint64_t bits = key >> 63 ? key & ~(std::uint64_t{1} << 63) : ~key;
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// The r-th smallest b_j / a_i (from 1) of sorted positive a and b.
double PairQuotient(const std::vector<double>& a, const std::vector<double>& b, std::uint64_t r) {
    return SmallestReaching(Quotient(b.front(), a.back()), Quotient(b.back(), a.front()), r,
                            [&](double t) { return PairsAtMost(a, b, t); });
}

}  // namespace

// The smallest pattern with r values at or below it is one of the values.
double SmallestReaching(double low, double high, std::uint64_t r, const std::function<std::uint64_t(double)>& atMost) {
    std::uint64_t lowKey = OrderedBits(low), highKey = OrderedBits(high);
    while (lowKey < highKey) {
        const std::uint64_t mid = lowKey + (highKey - lowKey) / 2;
        if (atMost(FromOrderedBits(mid)) >= r) highKey = mid;
        else lowKey = mid + 1;
    }
    return FromOrderedBits(lowKey);
}

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

std::size_t IntervalRank(std::size_t m, std::size_t n) { return static_cast<std::size_t>(NullTail(m, n).Rank()); }

std::size_t PassesNeeded() {
    std::size_t n = 1;
    while (IntervalRank(n, n) == 0) ++n;
    return n;
}

std::string VerdictName(const Comparison& c, std::size_t needed) {
    static const char* const kNames[] = {"-",           "no clear difference", "faster",     "slower",
                                         "within margin", "",                  "machine changed", "unconfirmed",
                                         "runs differ"};
    if (c.Call == Verdict::TooFew)
        return "too few passes (n = " + std::to_string(c.Passes) + "; at least " + std::to_string(needed) + " needed)";
    return kNames[static_cast<int>(c.Call)];
}

std::optional<Comparison> CompareSamples(const std::vector<double>& a, const std::vector<double>& b, double margin) {
    auto positive = [](const std::vector<double>& v) {
        return !v.empty() && std::all_of(v.begin(), v.end(), [](double x) { return x > 0 && std::isfinite(x); });
    };
    if (!positive(a) || !positive(b)) return std::nullopt;
    // The pairwise log ratios are only ever needed at a few ranks, and the ratios order as their logs do.
    std::vector<double> x = a, y = b;
    std::sort(x.begin(), x.end());
    std::sort(y.begin(), y.end());
    const std::uint64_t pairs = std::uint64_t{x.size()} * y.size();
    const auto logRatio = [&](std::uint64_t rank) { return std::log(PairQuotient(x, y, rank)); };
    const std::uint64_t below = PairsAtMost(x, y, std::nextafter(1.0, 0.0));
    const std::uint64_t above = pairs - PairsAtMost(x, y, 1.0);

    const NullTail tail(a.size(), b.size());
    const std::uint64_t k = tail.Rank();
    Comparison c;
    c.Passes = std::min(a.size(), b.size());
    c.Ratio = std::exp(pairs % 2 ? logRatio(pairs / 2 + 1) : (logRatio(pairs / 2) + logRatio(pairs / 2 + 1)) / 2);
    // Ties count against a difference, so the test rejects exactly when the interval leaves out 1.
    c.P = std::min(1.0, 2 * tail(std::min(below, above) + pairs - below - above));
    if (k == 0) {
        c.Low = c.High = NAN;
        c.Call = Verdict::TooFew;
        return c;
    }
    c.Low = std::exp(logRatio(k));
    c.High = std::exp(logRatio(pairs - k + 1));
    const bool differs = c.Low > 1 || c.High < 1;
    c.Call = !differs                            ? Verdict::Same
             : std::fabs(c.Ratio - 1) <= margin ? Verdict::WithinMargin
             : c.High < 1                        ? Verdict::Faster
                                                 : Verdict::Slower;
    return c;
}

MedianInterval MedianWithInterval(std::vector<double> values, double confidence) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    MedianInterval r;
    r.Median = MedianOfSorted(values);
    // x_(k) and x_(n + 1 - k) miss the median with probability 2 P(B <= k - 1), B ~ Binomial(n, 1/2):
    // k counts the i whose 2 P(B <= i) stays within alpha. sum * 2^exponent is P(B <= i).
    const double alpha = 1 - confidence;
    std::size_t k = 0;
    double term = 1, sum = 1;
    int exponent = -static_cast<int>(n);
    while (k < n && 2 * std::ldexp(sum, exponent) <= alpha) {
        ++k;
        term = term * static_cast<double>(n - k + 1) / static_cast<double>(k);
        sum += term;
        if (sum > kRescaleAbove) sum /= kRescaleAbove, term /= kRescaleAbove, exponent += kRescaleBits;
    }
    r.Low = k ? values[k - 1] : NAN;
    r.High = k ? values[n - k] : NAN;
    return r;
}
