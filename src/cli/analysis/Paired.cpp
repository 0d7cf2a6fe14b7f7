// Paired comparison of configurations timed in the same rounds, and when a run has seen enough rounds.
#include "cli/analysis/Paired.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Kept to a double as it is compared, so that it rises with either value on x87 too.
double Midpoint(double a, double b) {
    volatile double m = (a + b) / 2;
    return m;
}

// How many Walsh averages of sorted d are at most t: the j that pair with d_i shrink as i rises.
std::uint64_t WalshAtMost(const std::vector<double>& d, double t) {
    std::uint64_t count = 0;
    std::size_t j = d.size();
    for (std::size_t i = 0; i < j; ++i) {
        while (j > i && Midpoint(d[i], d[j - 1]) > t) --j;
        count += j - i;
    }
    return count;
}

// P(W <= w) for the signed-rank statistic W of n rounds with no difference: W is the sum of a
// random subset of 1..n, counted term by term in doubles (exact to 2^53, and 2^n stays finite
// for the n counted). The lower half of the distribution is all a tail needs.
class SignedRankTail {
public:
    SignedRankTail(std::size_t n, bool exact)
        : total_(std::uint64_t{n} * (n + 1) / 2),
          sigma_(std::sqrt(static_cast<double>(total_) * static_cast<double>(2 * n + 1) / 12)) {
        if (!exact) return;
        const std::uint64_t terms = total_ / 2 + 1;
        cumulative_.assign(terms, 0);
        cumulative_[0] = 1;
        for (std::uint64_t i = 1; i <= n; ++i)
            for (std::uint64_t w = std::min(terms - 1, i * (i + 1) / 2); w >= i; --w) cumulative_[w] += cumulative_[w - i];
        double sum = 0;
        for (double& p : cumulative_) p = std::ldexp(sum += p, -static_cast<int>(n));
    }

    double operator()(std::uint64_t w) const {
        if (cumulative_.empty())
            return std::erfc(-(static_cast<double>(w) + 0.5 - static_cast<double>(total_) / 2) /
                             (sigma_ * std::sqrt(2.0))) / 2;
        if (w < cumulative_.size()) return cumulative_[w];
        return w >= total_ ? 1 : 1 - cumulative_[total_ - w - 1];  // W and total - W share a distribution
    }

    // The fewest w whose two tails pass alpha: 2 P(W <= total / 2) >= 1 always does.
    std::uint64_t Rank(double alpha) const {
        std::uint64_t low = 0, high = total_ / 2;
        while (low < high) {
            const std::uint64_t mid = low + (high - low) / 2;
            if (2 * (*this)(mid) > alpha) high = mid;
            else low = mid + 1;
        }
        return low;
    }

    std::uint64_t Total() const { return total_; }

private:
    std::uint64_t total_;
    double sigma_;
    std::vector<double> cumulative_;
};

}  // namespace

std::size_t SignedRankIntervalRank(std::size_t rounds, double alpha) {
    return static_cast<std::size_t>(SignedRankTail(rounds, rounds <= kExactRounds).Rank(alpha));
}

std::size_t NormalSignedRankIntervalRank(std::size_t rounds, double alpha) {
    return static_cast<std::size_t>(SignedRankTail(rounds, false).Rank(alpha));
}

double WalshAverage(const std::vector<double>& sorted, std::uint64_t r) {
    return SmallestReaching(sorted.front(), sorted.back(), r, [&](double t) { return WalshAtMost(sorted, t); });
}

std::optional<Comparison> ComparePaired(const std::vector<double>& baseline, const std::vector<double>& other,
                                        double margin, double alpha) {
    const std::size_t n = std::min(baseline.size(), other.size());
    if (n == 0) return std::nullopt;
    std::vector<double> d(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double a = baseline[i], b = other[i];
        if (!(a > 0 && b > 0 && std::isfinite(a) && std::isfinite(b))) return std::nullopt;
        d[i] = std::log(b) - std::log(a);
    }
    std::sort(d.begin(), d.end());
    const SignedRankTail tail(n, n <= kExactRounds);
    const std::uint64_t walsh = tail.Total(), k = tail.Rank(alpha);
    const auto at = [&](std::uint64_t r) { return WalshAverage(d, r); };

    Comparison c;
    c.Passes = n;
    c.Ratio = std::exp(walsh % 2 ? at(walsh / 2 + 1) : (at(walsh / 2) + at(walsh / 2 + 1)) / 2);
    // Averages of 0 count against a difference, so the test rejects exactly when the interval leaves out 0.
    const std::uint64_t atMostZero = WalshAtMost(d, 0), belowZero = WalshAtMost(d, -std::numeric_limits<double>::denorm_min());
    c.P = std::min(1.0, 2 * tail(std::min(atMostZero, walsh - belowZero)));
    if (k == 0) {
        c.Low = c.High = NAN;
        c.Call = Verdict::TooFew;
        return c;
    }
    c.Low = std::exp(at(k));
    c.High = std::exp(at(walsh - k + 1));
    c.Call = IntervalCall(c.Low, c.High, margin);
    return c;
}

// Looks grow by about sqrt(2), so a run of n rounds has looked about 2 log2(n / 8) times and
// each look costs a fraction of the rounds already drawn. The first is at 8: below 7 rounds no
// alpha under 1/32 gives any interval, and 8 is the first with room for a few ranks.
std::vector<std::size_t> LookSchedule(std::size_t maxRounds) {
    std::vector<std::size_t> looks;
    if (maxRounds == 0) return looks;
    for (int k = 0;; ++k) {
        const double planned = std::round(8 * std::pow(2.0, k / 2.0));
        if (planned >= static_cast<double>(maxRounds)) break;
        looks.push_back(static_cast<std::size_t>(planned));
    }
    looks.push_back(maxRounds);
    return looks;
}

std::optional<int> LookAt(std::size_t rounds, std::size_t maxRounds) {
    const std::vector<std::size_t> looks = LookSchedule(maxRounds);
    const auto at = std::find(looks.begin(), looks.end(), rounds);
    if (at == looks.end()) return std::nullopt;
    return static_cast<int>(at - looks.begin()) + 1;
}

// 0.05 / (k (k + 1)) adds up to exactly 0.05 over any number of looks (the terms telescope), gives
// the first look half of it, where most configurations are decided, and falls only as 1 / k^2, so
// a run of thousands of rounds (some 20 looks) is judged at 1e-4, an interval under twice as wide
// as a single look's.
double LookAlpha(int look) { return (1 - kConfidence) / (static_cast<double>(look) * (look + 1)); }

bool Decided(Verdict call) { return call == Verdict::Faster || call == Verdict::Slower || call == Verdict::WithinMargin; }

bool MedianKnown(const std::vector<double>& passes, double alpha, double within) {
    if (passes.empty()) return false;
    const MedianInterval m = MedianWithInterval(passes, 1 - alpha);
    return m.Low >= m.Median * (1 - within) && m.High <= m.Median * (1 + within);  // false when NaN
}
