#include "cli/Statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "cli/AutoCount.h"

namespace {

TEST(Summarize, SampleDeviationAndExactZeroSpread) {
    Summary s = Summarize({9, 2, 4, 4, 4, 5, 5, 7});
    EXPECT_EQ(s.Min + s.Max + s.Median + s.Mean, 2 + 9 + 4.5 + 5);
    EXPECT_DOUBLE_EQ(*s.StdDev, std::sqrt(32.0 / 7));  // n - 1, not n
    EXPECT_EQ(*Summarize({0.1, 0.1, 0.1}).Cv, 0);
    EXPECT_FALSE(Summarize({0.25}).StdDev || Summarize({0, 0}).Cv);  // one sample; no mean to divide by
}

TEST(CompareSamples, RankTestIntervalAndVerdict) {
    const std::vector<double> base = {1.00, 1.02, 0.99, 1.01, 1.03, 0.98, 1.00, 1.01, 0.995, 1.005};
    const struct {
        double factor, margin;
        Verdict call;
    } cases[] = {{1.10, 0.02, Verdict::Slower}, {0.90, 0.02, Verdict::Faster}, {1.0, 0.02, Verdict::Same},
                 {1.03, 0.05, Verdict::Same}};  // found, but within the margin
    for (const auto& c : cases) {
        std::vector<double> scaled;
        for (double x : base) scaled.push_back(x * c.factor);
        std::optional<Comparison> r = CompareSamples(base, scaled, c.margin);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Call, c.call) << c.factor;
        EXPECT_NEAR(r->Ratio, c.factor, 1e-9);
        EXPECT_TRUE(r->Low <= c.factor && c.factor <= r->High);
    }
    // Complete separation of 5 and 5: U = 0, z = 12 / sqrt(275 / 12).
    EXPECT_NEAR(CompareSamples({1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, 0)->P,
                std::erfc(12 / std::sqrt(275.0 / 12) / std::sqrt(2.0)), 1e-12);
    EXPECT_EQ(CompareSamples({1, 1}, {1, 1}, 0)->P, 1);  // all tied
    EXPECT_FALSE(CompareSamples({}, {1}, 0) || CompareSamples({1, std::nan("")}, {1}, 0));
}

TEST(MedianWithInterval, OrderStatisticsAroundTheMedian) {
    std::vector<double> values;
    for (int i = 51; i >= 1; --i) values.push_back(i);
    MedianInterval m = MedianWithInterval(values);
    EXPECT_EQ(m.Low + m.Median + m.High, 18 + 26 + 34);
    EXPECT_EQ(MedianWithInterval({2}).Low, 2);
}

TEST(AutoCount, RoundsUpToOneDigitAndReachesTheTarget) {
    const std::pair<std::int64_t, std::int32_t> rounding[] = {
        {-5, 1}, {11, 20}, {3456, 4000}, {9001, 10000}, {2000000001, kMaxAutoCount}, {INT64_MAX / 2, kMaxAutoCount}};
    for (const auto& [n, rounded] : rounding) EXPECT_EQ(RoundUpToOneDigit(n), rounded) << n;
    int passes = 0;
    auto pass = [&](std::int32_t count) { return ++passes, 0.02 + 0.005 * count; };
    EXPECT_EQ(FindAutoCount(pass, 500), 200000);  // 105,000 was timed last, then rounded up
    EXPECT_LE(passes, 8);
    EXPECT_EQ(FindAutoCount([](std::int32_t) { return 600.0; }, 500), 1);
    EXPECT_EQ(FindAutoCount([](std::int32_t) { return 0.0; }, 500), kMaxAutoCount);
}

}  // namespace
