#include "cli/analysis/Statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "cli/text/Numbers.h"

namespace {

TEST(Summarize, SampleDeviationAndExactZeroSpread) {
    Summary s = Summarize({9, 2, 4, 4, 4, 5, 5, 7});
    EXPECT_EQ(s.Min + s.Max + s.Median + s.Mean, 2 + 9 + 4.5 + 5);
    EXPECT_DOUBLE_EQ(*s.StdDev, std::sqrt(32.0 / 7));  // n - 1, not n
    EXPECT_EQ(*Summarize({0.1, 0.1, 0.1}).Cv, 0);
    EXPECT_FALSE(Summarize({0.25}).StdDev || Summarize({0, 0}).Cv);  // one sample; no mean to divide by
}

// The ranks of the exact interval: one past the two-sided 5% critical values of U in the tables.
TEST(CompareSamples, ExactRanksPValuesAndTooFewPasses) {
    // For m = 1, U is uniform on 0..n: the first 2.5% of its values.
    const std::size_t ranks[][3] = {{2, 2, 0},  {3, 3, 0},   {4, 4, 1},     {5, 5, 3},     {2, 7, 0},
                                    {2, 8, 1},  {6, 9, 11},  {10, 10, 24},  {20, 20, 128}, {1, 40001, 1000}};
    for (const auto& r : ranks) EXPECT_EQ(IntervalRank(r[0], r[1]), r[2]) << r[0] << " x " << r[1];
    // The normal approximation takes over from the exact count past 464 x 464 and runs on without a step.
    const auto step = [](std::size_t n) { return 1.0 * IntervalRank(n + 1, n + 1) - 1.0 * IntervalRank(n, n); };
    EXPECT_NEAR(step(464), (step(463) + step(465)) / 2, 2);
    EXPECT_GT(IntervalRank(1, 100000000), 0u);  // too many terms to count, and a normal rank below 0
    EXPECT_EQ(PassesNeeded(), 4u);
    const std::optional<Comparison> few = CompareSamples({1, 1.1, 1.2}, {2, 2.1, 2.2}, 0.02);
    EXPECT_EQ(VerdictName(*few), "too few passes (n = 3; at least 4 needed)");
    EXPECT_EQ(IntervalText(few->Low, few->High), "-");
    // Complete separation of 5 and 5: exactly 2 of the 252 arrangements are as extreme.
    EXPECT_NEAR(CompareSamples({1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, 0)->P, 2.0 / 252, 1e-12);
    EXPECT_EQ(CompareSamples({1, 1}, {1, 1}, 0)->P, 1);  // all tied
    EXPECT_FALSE(CompareSamples({}, {1}, 0) || CompareSamples({1, std::nan("")}, {1}, 0));
}

// Whatever the samples, the estimate and interval are those of all pairwise log ratios sorted,
// and the verdict is the one the printed interval and the margin give.
TEST(CompareSamples, AsAllPairsSortedAndNeverAtOddsWithTheVerdict) {
    std::mt19937 random(18);
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<double> a(2 + random() % 12), b(2 + random() % 12);
        const double shift = std::uniform_real_distribution<double>(0.8, 1.25)(random);
        std::lognormal_distribution<double> spread(0, trial % 3 ? 0.05 : 0.0004);
        for (double& x : a) x = std::round(spread(random) * 1000) / 1000;  // rounded, so ties happen
        for (double& y : b) y = std::round(spread(random) * shift * 1000) / 1000;
        const double margin = trial % 2 ? 0.02 : 0;
        const Comparison c = *CompareSamples(a, b, margin);
        std::vector<double> logs;
        for (double x : a)
            for (double y : b) logs.push_back(std::log(y / x));
        std::sort(logs.begin(), logs.end());
        const std::size_t pairs = logs.size(), k = IntervalRank(a.size(), b.size());
        EXPECT_EQ(c.Ratio, std::exp(pairs % 2 ? logs[pairs / 2] : (logs[pairs / 2 - 1] + logs[pairs / 2]) / 2));
        EXPECT_TRUE(k ? c.Low == std::exp(logs[k - 1]) && c.High == std::exp(logs[pairs - k]) : std::isnan(c.Low));
        const std::string interval = IntervalText(c.Low, c.High), verdict = VerdictName(c);
        if (interval == "-") {
            EXPECT_EQ(verdict.rfind("too few passes", 0), 0u) << interval;
            continue;
        }
        EXPECT_EQ(c.Low > 1 || c.High < 1, c.P < 1 - kConfidence) << interval << " p " << c.P;
        EXPECT_EQ(verdict, c.High < 1 - margin  ? "faster"
                           : c.Low > 1 + margin ? "slower"
                           : c.Low >= 1 - margin && c.High <= 1 + margin ? "within margin"
                                                                         : "no clear difference") << interval;
    }
}

// The sign test's order statistics x_(k) and x_(n + 1 - k) miss the median with probability
// 2 P(B < k), B ~ Binomial(n, 1/2): the narrowest pair within alpha, none when min..max is not.
TEST(MedianWithInterval, NarrowestOrderStatisticsCoveringTheMedian) {
    std::vector<double> values, binomial = {1};
    std::vector<int> lows = {0};
    for (int n = 1; n <= 60; ++n) {
        values.insert(values.begin(), n);
        binomial.push_back(0);
        for (int i = n; i > 0; --i) binomial[i] += binomial[i - 1];
        const auto miss = [&](int k) { return std::ldexp(2 * std::accumulate(&binomial[0], &binomial[k], 0.0), -n); };
        for (double alpha : {0.05, 0.01}) {
            const MedianInterval m = MedianWithInterval(values, 1 - alpha);
            const int k = std::isnan(m.Low) ? 0 : static_cast<int>(m.Low);
            if (alpha == 0.05) lows.push_back(k);
            EXPECT_TRUE((k ? m.High == n + 1 - k : std::isnan(m.High)) && miss(k) <= alpha && miss(k + 1) > alpha) << n;
        }
    }
    EXPECT_TRUE(lows[5] == 0 && lows[6] == 1 && lows[20] == 6 && lows[51] == 19);  // none at 5; min..max at 6
}

}  // namespace
